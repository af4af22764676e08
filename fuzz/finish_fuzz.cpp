// The finisher over arbitrary bytes: the input is one source file; the run
// must write a module (a source it cannot read as FORTRAN still gives one,
// with that statement marked), begin it with its name and Option Explicit,
// keep every line within what VBA reads, and point every review note at a
// marked line of it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run.h"
#include "finish/finish.h"
#include "fuzz/check.h"

namespace {

using ftvb::fuzz::fail;

struct Notes : ftvb::RunObserver {
    std::vector<long long> lines;
    bool wantsReview() override { return true; }
    void reviewNoted(const ftvb::ReviewNote& note) override { lines.push_back(note.moduleLine); }
};

std::string folder() {
    static const std::string dir = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/ftvb-finish-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string source = folder() + "/in.f";
    const std::string module = folder() + "/out.bas";
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Notes notes;
    ftvb::NameList list({source});
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const ftvb::finish::FinishResult result = ftvb::finish::runFinish(module, list, notes);
    if (!result.moduleWritten) fail("no module written", {{"source", input}});
    if (result.modules.size() != 1) fail("a small source split into several modules", {{"source", input}});
    std::ifstream in(result.modules[0], std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line.back() != '\r') fail("a line not ended by CR LF", {{"source", input}});
        line.pop_back();
        if (line.size() > 1023) fail("a line longer than VBA reads", {{"source", input}, {"line", line}});
        lines.push_back(line);
    }
    if (lines.size() < 2 || lines[0] != "Attribute VB_Name = \"out\"" || lines[1] != "Option Explicit") {
        fail("the module does not begin with its name and Option Explicit", {{"source", input}});
    }
    for (const long long n : notes.lines) {
        if (n < 1 || static_cast<std::size_t>(n) > lines.size()) fail("a note outside the module", {{"source", input}});
        if (lines[static_cast<std::size_t>(n - 1)].find("' FTVB-TODO: ") == std::string::npos) {
            fail("a note that does not point at a marked line",
                 {{"source", input}, {"line", lines[static_cast<std::size_t>(n - 1)]}});
        }
    }
    return 0;
}
