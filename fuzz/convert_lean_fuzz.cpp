// The conversion, in memory and nothing else, for exploring: the input is
// split into source files at form feeds and into lines at LF, and fed to a
// Converter. Each module line is checked as it comes (no LF in it; an empty
// one only from a DATA statement), and every statement, when the routine is
// done with it, must still know every search text it holds. The porting
// checklist is asked for, so that the stages' looks at what they rewrite run
// too; each entry must name a line already read.
//
// What this target finds goes on to the full `convert` target, which also
// runs the real files through the real run (fuzz/run.sh replays it there).
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/converter.h"
#include "fuzz/check.h"
#include "fuzz/inputs.h"

namespace {

using ftvb::fuzz::fail;

struct Checker : ftvb::LineSink {
    std::string_view input;
    const ftvb::fuzz::DataWatch* watch = nullptr;
    void writeLine(std::string_view line) override {
        if (line.find('\n') != std::string_view::npos)
            fail("a module line holds an LF", {{"line", line}, {"input", input}});
        if (line.empty() && !watch->sawData) fail("an empty module line without a DATA statement", {{"input", input}});
    }
};

// Wants the checklist; an entry must point at a line read so far.
struct ReviewingWatch : ftvb::fuzz::DataWatch {
    std::string_view input;
    bool wantsReview() override { return true; }
    void reviewNoted(const ftvb::ReviewNote& note) override {
        if (note.sourceLine < 1 || note.sourceLine > counted || note.moduleLine < 1) {
            fail("a review entry points at no line read", {{"kind", ftvb::reviewTag(note.kind)}, {"input", input}});
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ReviewingWatch watch;
    watch.input = input;
    Checker checker;
    checker.input = input;
    checker.watch = &watch;
    ftvb::Converter converter(checker, watch);
    long long lines = 0;
    for (const std::string_view file : ftvb::fuzz::splitFiles(input)) {
        converter.beginFile();
        for (const std::string_view line : ftvb::fuzz::splitLines(file)) {
            converter.feedLine(line);
            ++lines;
        }
        converter.endFile();
    }
    if (!watch.inOrder || watch.counted != lines) fail("the line count skipped or repeated", {{"input", input}});
    return 0;
}
