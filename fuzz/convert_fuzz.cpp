// A whole conversion run over arbitrary bytes.
//
// The input is split into source files at form feeds (so that what carries
// over from one file to the next is exercised) and each file into lines at
// LF. The lines go through the Converter into a recording sink, where each
// line is checked; then the same files, written out, go through the real run
// (SourceReader, ModuleWriter), whose module must hold exactly the recorded
// lines, each ended by CR LF, with no temporary file left beside it; last, a
// run stopped part-way must leave that module as it was.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/converter.h"
#include "engine/run.h"
#include "fuzz/check.h"

namespace {

using ftvb::fuzz::fail;

constexpr char kFileBreak = '\f';

struct Recorder : ftvb::LineSink {
    std::vector<std::string> lines;
    void writeLine(std::string_view line) override { lines.emplace_back(line); }
};

// Only a DATA statement may produce an empty line, and the routine shows
// every statement before it lower-cases it. Rules may drop blanks and
// punctuation between letters, so the test looks at the letters alone.
bool mayBeData(std::string_view statement) {
    std::string letters;
    for (const char ch : statement) {
        const char lower = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch;
        if (lower >= 'a' && lower <= 'z') letters.push_back(lower);
    }
    return letters.find("data") != std::string::npos;
}

struct Watcher : ftvb::RunObserver {
    long long counted = 0;
    bool inOrder = true;
    bool sawData = false;
    long long stopAfter = -1;  // lines; -1 never

    void lineCounted(long long lines) override {
        if (lines != counted + 1) inOrder = false;
        counted = lines;
    }
    void statementShown(std::string_view statement) override {
        if (!sawData && mayBeData(statement)) sawData = true;
    }
    bool stopRequested() override { return stopAfter >= 0 && counted >= stopAfter; }
};

// Lines as SourceReader returns them: split at LF, one CR before the LF
// dropped, a last line without LF kept.
std::vector<std::string_view> splitLines(std::string_view file) {
    std::vector<std::string_view> lines;
    while (!file.empty()) {
        const std::size_t lf = file.find('\n');
        std::string_view line = file.substr(0, lf);
        file.remove_prefix(lf == std::string_view::npos ? file.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string_view> splitFiles(std::string_view data) {
    std::vector<std::string_view> files;
    for (;;) {
        const std::size_t cut = data.find(kFileBreak);
        files.push_back(data.substr(0, cut));
        if (cut == std::string_view::npos) return files;
        data.remove_prefix(cut + 1);
    }
}

// One folder for the whole fuzzing process; FTVB_FUZZ_TMP (set by
// fuzz/run.sh) keeps it somewhere the script cleans up.
const std::string& workFolder() {
    static const std::string folder = [] {
        const char* base = std::getenv("FTVB_FUZZ_TMP");
        if (base == nullptr || *base == '\0') base = std::getenv("TMPDIR");
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/convert-XXXXXX";
        if (::mkdtemp(tmpl.data()) == nullptr) {
            std::perror("convert fuzzer: mkdtemp");
            std::abort();
        }
        return tmpl;
    }();
    return folder;
}

void removeWorkFolder() { ::rmdir(workFolder().c_str()); }

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(d);
    }
    return names;
}

void expectOnly(const std::string& folder, std::size_t sources, std::string_view input) {
    for (const std::string& name : folderEntries(folder)) {
        if (name == "m.bas") continue;
        if (name.size() > 4 && name[0] == 's' && name.substr(name.size() - 4) == ".for" &&
            std::strtoul(name.c_str() + 1, nullptr, 10) < sources) {
            continue;
        }
        fail("a file other than the sources and the module is left in the folder", {{"file", name}, {"input", input}});
    }
}

std::uint64_t hashOf(std::string_view s) {
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> files = splitFiles(input);

    Recorder recorder;
    Watcher watcher;
    long long lineCount = 0;
    {
        ftvb::Converter converter(recorder, watcher);
        for (const std::string_view file : files) {
            converter.beginFile();
            for (const std::string_view line : splitLines(file)) {
                converter.feedLine(line);
                ++lineCount;
            }
            converter.endFile();
        }
    }
    if (!watcher.inOrder || watcher.counted != lineCount) fail("the line count skipped or repeated", {{"input", input}});
    std::string expectedModule;
    for (const std::string& line : recorder.lines) {
        if (line.find('\n') != std::string::npos) fail("a module line holds an LF", {{"line", line}, {"input", input}});
        if (line.empty() && !watcher.sawData) fail("an empty module line without a DATA statement", {{"input", input}});
        expectedModule += line;
        expectedModule += "\r\n";
    }

    // The same files through the real run.
    const std::string& folder = workFolder();
    static const int registered = std::atexit(removeWorkFolder);
    (void)registered;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < files.size(); ++i) {
        names.push_back(folder + "/s" + std::to_string(i) + ".for");
        std::ofstream(names.back(), std::ios::binary).write(files[i].data(), static_cast<std::streamsize>(files[i].size()));
    }
    const std::string module = folder + "/m.bas";
    ::unlink(module.c_str());
    {
        Watcher quiet;
        const ftvb::RunResult result = ftvb::runConversion(module, ftvb::NameList(names), quiet);
        if (!result.moduleWritten || !result.skipped.empty() || result.stopped || result.lines != lineCount) {
            fail("the run over the written files did not complete", {{"error", describe(result.moduleFailure)}, {"input", input}});
        }
        const std::string written = readAll(module);
        if (written != expectedModule) {
            fail("the module differs from the lines the converter wrote",
                 {{"module", written}, {"expected", expectedModule}, {"input", input}});
        }
        expectOnly(folder, files.size(), input);
    }

    // A run stopped part-way leaves the previous module as it was.
    if (lineCount > 0) {
        Watcher stopping;
        stopping.stopAfter = 1 + static_cast<long long>(hashOf(input) % static_cast<std::uint64_t>(lineCount));
        const ftvb::RunResult result = ftvb::runConversion(module, ftvb::NameList(names), stopping);
        if (!result.stopped || result.moduleWritten) fail("a stopped run did not say so", {{"input", input}});
        if (readAll(module) != expectedModule) fail("a stopped run changed the module", {{"input", input}});
        expectOnly(folder, files.size(), input);
    }
    for (const std::string& name : names) ::unlink(name.c_str());
    ::unlink(module.c_str());
    return 0;
}
