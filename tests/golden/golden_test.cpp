// Whole programs worked out by hand: each golden/NAME.for is converted (and,
// when golden/NAME.2.for exists, that file after it in the same run) and
// compared byte for byte with golden/NAME.bas. A mismatch prints the changed
// hunks with their CR LF shown. FTVB_UPDATE_GOLDEN=1 writes what the run gave
// over golden/NAME.bas instead (or makes it, for a new NAME.for), for a person
// to read with `git diff` before committing it; the .bas files are never
// changed otherwise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "engine/run.h"
#include "tests/support/case_line.h"
#include "tests/support/temp_folder.h"
#include "tests/support/text_diff.h"

namespace {

using ftvb::testing::caseLine;

namespace fs = std::filesystem;

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesByHand) {
    const fs::path dir = FTVB_GOLDEN_DIR;
    const std::string name = GetParam();
    std::vector<std::string> sources = {(dir / (name + ".for")).string()};
    if (fs::exists(dir / (name + ".2.for"))) sources.push_back((dir / (name + ".2.for")).string());
    const ftvb::testing::TempFolder folder("ftvb-golden");
    const std::string module = (folder / "out.bas").string();
    ftvb::NameList list(sources);
    ftvb::RunObserver quiet;
    const ftvb::RunResult r = ftvb::runConversion(module, list, quiet);
    ASSERT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
    const std::string got = read(module);
    const fs::path reference = dir / (name + ".bas");
    const char* update = std::getenv("FTVB_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        if (read(reference) != got) {
            std::ofstream(reference, std::ios::binary) << got;
            std::cout << "rewrote " << reference.string() << ": read it with git diff before committing\n";
        }
        return;
    }
    ASSERT_TRUE(fs::exists(reference)) << reference.string() << " is not there yet: FTVB_UPDATE_GOLDEN=1 makes it";
    const std::string want = read(reference);
    EXPECT_TRUE(got == want) << name << ".bas differs (- expected, + got):\n" << ftvb::testing::lineDiff(want, got);
}

// Every NAME.for but the second files of a run (NAME.2.for).
std::vector<std::string> goldenNames() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(FTVB_GOLDEN_DIR)) {
        const std::string stem = e.path().stem().string();
        if (e.path().extension() == ".for" && stem.find('.') == std::string::npos) names.push_back(stem);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The diff the failures print: one changed line is one hunk, a line end that
// lost its CR shows, and files that agree give nothing.
TEST(LineDiff, ShowsOnlyTheChangedHunks) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* want;
        const char* got;
        const char* diff;
    };
    const Case cases[] = {
        {__LINE__, "a\r\nb\r\n", "a\r\nb\r\n", ""},
        {__LINE__, "1\n2\n3\n4\n5\n6\n7\n8\n9\n", "1\n2\n3\n4\nX\n5\n6\n7\n8\n9\n",
         "@@ -2,6 +2,7 @@\n 2\\n\n 3\\n\n 4\\n\n+X\\n\n 5\\n\n 6\\n\n 7\\n\n"},
        {__LINE__, "a\r\nb\r\n", "a\r\nb\n", "@@ -1,2 +1,2 @@\n a\\r\\n\n-b\\r\\n\n+b\\n\n"},
        {__LINE__, "a\n", "", "@@ -1,1 +1,0 @@\n-a\\n\n"},
        {__LINE__, "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n", "x\n2\n3\n4\n5\n6\n7\n8\n9\ny\n",
         "@@ -1,4 +1,4 @@\n-1\\n\n+x\\n\n 2\\n\n 3\\n\n 4\\n\n@@ -7,4 +7,4 @@\n 7\\n\n 8\\n\n 9\\n\n-10\\n\n+y\\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(::testing::Message() << "want [" << c.want << "] got [" << c.got << "]");
        EXPECT_EQ(ftvb::testing::lineDiff(c.want, c.got), c.diff);
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, Golden, ::testing::ValuesIn(goldenNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
