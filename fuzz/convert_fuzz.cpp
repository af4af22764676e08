// A whole conversion run over arbitrary bytes.
//
// The input is split into source files at form feeds (so that what carries
// over from one file to the next is exercised) and each file into lines at
// LF. The lines go through the Converter into a recording sink, where each
// line is checked; then the same files, written out, go through the real run
// (SourceReader, ModuleWriter), whose module must hold exactly the recorded
// lines, each ended by CR LF, with no temporary file left beside it; last, a
// run stopped part-way must leave that module as it was. The first pass also
// asks for the porting checklist, so the module must not depend on it, and
// every entry must point at a line of its file and of the module.
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
#include "fuzz/inputs.h"

namespace {

using ftvb::fuzz::fail;

using ftvb::fuzz::splitFiles;
using ftvb::fuzz::splitLines;
using Watcher = ftvb::fuzz::DataWatch;

struct ReviewWatcher : Watcher {
    std::vector<ftvb::ReviewNote> notes;  // views into the statement: only the numbers are read
    std::vector<std::size_t> files;       // the file of each note
    std::size_t file = 0;
    bool wantsReview() override { return true; }
    void reviewNoted(const ftvb::ReviewNote& note) override {
        notes.push_back({note.kind, {}, {}, note.sourceLine, note.moduleLine});
        files.push_back(file);
    }
};

struct Recorder : ftvb::LineSink {
    std::vector<std::string> lines;
    void writeLine(std::string_view line) override { lines.emplace_back(line); }
};

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
    ReviewWatcher watcher;
    long long lineCount = 0;
    std::vector<long long> fileLines;
    {
        ftvb::Converter converter(recorder, watcher);
        for (const std::string_view file : files) {
            converter.beginFile();
            long long lines = 0;
            for (const std::string_view line : splitLines(file)) {
                converter.feedLine(line);
                ++lineCount;
                ++lines;
            }
            converter.endFile();
            fileLines.push_back(lines);
            ++watcher.file;
        }
    }
    for (std::size_t i = 0; i < watcher.notes.size(); ++i) {
        const ftvb::ReviewNote& note = watcher.notes[i];
        const long long moduleLines = static_cast<long long>(recorder.lines.size());
        if (note.sourceLine < 1 || note.sourceLine > fileLines[watcher.files[i]] || note.moduleLine < 1 ||
            note.moduleLine > moduleLines + 1) {
            fail("a review entry points outside its file or the module",
                 {{"kind", std::string(ftvb::reviewTag(note.kind))},
                  {"source line", std::to_string(note.sourceLine)},
                  {"module line", std::to_string(note.moduleLine)},
                  {"input", input}});
        }
    }
    if (!watcher.inOrder || watcher.counted != lineCount)
        fail("the line count skipped or repeated", {{"input", input}});
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
        std::ofstream(names.back(), std::ios::binary)
            .write(files[i].data(), static_cast<std::streamsize>(files[i].size()));
    }
    const std::string module = folder + "/m.bas";
    ::unlink(module.c_str());
    {
        Watcher quiet;
        const ftvb::RunResult result = ftvb::runConversion(module, ftvb::NameList(names), quiet);
        if (!result.moduleWritten || !result.skipped.empty() || result.stopped || result.lines != lineCount) {
            fail("the run over the written files did not complete",
                 {{"error", describe(result.moduleFailure)}, {"input", input}});
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
