// Whole programs worked out by hand: each golden/NAME.for is converted (and,
// when golden/NAME.2.for exists, that file after it in the same run) and
// compared byte for byte with golden/NAME.bas. A mismatch prints both
// modules line by line with their CR LF shown. The .bas files are only ever
// changed by hand, after reading such a diff.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/run.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> splitKeepingEnds(const std::string& s) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < s.size()) {
        std::size_t lf = s.find('\n', start);
        std::size_t end = lf == std::string::npos ? s.size() : lf + 1;
        out.push_back(s.substr(start, end - start));
        start = end;
    }
    return out;
}

std::string visible(const std::string& line) {
    std::string v;
    for (char c : line) {
        if (c == '\r') v += "\\r";
        else if (c == '\n') v += "\\n";
        else v += c;
    }
    return v;
}

std::string diff(const std::string& want, const std::string& got) {
    const auto w = splitKeepingEnds(want);
    const auto g = splitKeepingEnds(got);
    std::ostringstream out;
    for (std::size_t i = 0; i < std::max(w.size(), g.size()); ++i) {
        const std::string a = i < w.size() ? visible(w[i]) : "(none)";
        const std::string b = i < g.size() ? visible(g[i]) : "(none)";
        out << (a == b ? "   " : " ! ") << i + 1 << "\n";
        if (a == b) {
            out << "     " << a << "\n";
        } else {
            out << "     expected: [" << a << "]\n     got:      [" << b << "]\n";
        }
    }
    return out.str();
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesByHand) {
    const fs::path dir = FTVB_GOLDEN_DIR;
    const std::string name = GetParam();
    std::vector<std::string> sources = {(dir / (name + ".for")).string()};
    if (fs::exists(dir / (name + ".2.for"))) sources.push_back((dir / (name + ".2.for")).string());
    const fs::path folder = ftvb::testing::makeTempFolder("ftvb-golden");
    const std::string module = (folder / "out.bas").string();
    ftvb::NameList list(sources);
    ftvb::RunObserver quiet;
    const ftvb::RunResult r = ftvb::runConversion(module, list, quiet);
    ASSERT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
    const std::string got = read(module);
    fs::remove_all(folder);
    const std::string want = read(dir / (name + ".bas"));
    EXPECT_TRUE(got == want) << name << ":\n" << diff(want, got);
}

std::vector<std::string> goldenNames() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(FTVB_GOLDEN_DIR)) {
        const std::string file = e.path().filename().string();
        if (e.path().extension() == ".bas") names.push_back(e.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Programs, Golden, ::testing::ValuesIn(goldenNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
