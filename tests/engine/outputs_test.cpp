// Where an output may go: the one rule for the module and the list of
// places, by the files' identities, and by folder and name before a file
// exists; and how names are shown in messages and the list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/files.h"
#include "engine/run.h"
#include "engine/shown_name.h"
#include "tests/support/case_line.h"
#include "tests/support/temp_folder.h"

namespace ftvb::testing {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

class Outputs : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir_ / "sub");
        std::ofstream(dir_ / "a.for") << "      x = 1\n";
        std::ofstream(dir_ / "m.bas") << "previous\r\n";
        // Names are taken in the test's folder, as a program takes them in
        // its current folder.
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override { fs::current_path(previous_); }

    const TempFolder dir_{"ftvb-outputs"};
    fs::path previous_;
};

TEST_F(Outputs, OneRuleForEveryOutput) {
    using With = OutputClash::With;
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::string output;
        std::string other;  // the other output; empty for none
        std::vector<std::string> sources;
        With with;
        std::string source = "";
        std::function<bool()> setup = nullptr;  // false: the platform cannot make it, skip
    };
    const std::string slash = kWindows ? "\\" : "/";
    const Case cases[] = {
        {__LINE__, "a new module", "new.bas", "", {"a.for"}, With::nothing},
        {__LINE__, "the module is a source", "a.for", "", {"m.bas", "a.for"}, With::source, "a.for"},
        {__LINE__,
         "the module is a source by another spelling",
         "." + slash + "a.for",
         "",
         {"a.for"},
         With::source,
         "a.for"},
        {__LINE__, "an existing module", "m.bas", "", {"a.for"}, With::nothing},
        {__LINE__, "two new names, one file", "r.bas", "." + slash + "r.bas", {"a.for"}, With::otherOutput},
        {__LINE__,
         "two new names through a folder detour",
         "sub" + slash + ".." + slash + "r.bas",
         "r.bas",
         {"a.for"},
         With::otherOutput},
        {__LINE__,
         "two new names, by the full path",
         (fs::current_path() / "r.bas").string(),
         "r.bas",
         {"a.for"},
         With::otherOutput},
        {__LINE__, "two new files", "r.bas", "s.bas", {"a.for"}, With::nothing},
        {__LINE__, "the same name in two folders", "sub" + slash + "r.bas", "r.bas", {"a.for"}, With::nothing},
        {__LINE__,
         "names that differ in case",
         "R.BAS",
         "r.bas",
         {"a.for"},
         kWindows ? With::otherOutput : With::nothing},
        {__LINE__, "an existing file by two names", "m.bas", "." + slash + "m.bas", {"a.for"}, With::otherOutput},
        {__LINE__,
         "a hard link",
         "h.bas",
         "m.bas",
         {"a.for"},
         With::otherOutput,
         "",
         [] {
             std::error_code ec;
             fs::create_hard_link("m.bas", "h.bas", ec);
             return !ec;
         }},
        {__LINE__,
         "a symbolic link to a source",
         "l.bas",
         "",
         {"a.for"},
         With::source,
         "a.for",
         [] {
             std::error_code ec;
             fs::create_symlink("a.for", "l.bas", ec);
             return !ec;
         }},
        {__LINE__,
         "a folder missing",
         "nowhere" + slash + "r.bas",
         "nowhere" + slash + "r.bas",
         {"a.for"},
         With::otherOutput},
        {__LINE__, "\"-\" twice", "-", "-", {"a.for"}, With::otherOutput},
        {__LINE__,
         "a source not there yet, by the output's name",
         "b.for",
         "",
         {"a.for", "b.for"},
         With::source,
         "b.for"},
        {__LINE__, "\"-\" as output and as source", "-", "", {"-"}, With::nothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        if (c.setup && !c.setup()) continue;
        const NameList sources(c.sources);
        const OutputClash clash = outputClash(c.output, sources, c.other.empty() ? nullptr : &c.other);
        EXPECT_EQ(clash.with, c.with);
        EXPECT_EQ(clash.source, c.source);
    }
}

TEST(ShownName, ControlCharactersAreEscaped) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {__LINE__, "plain.for", "plain.for"},
        {__LINE__, "", ""},
        {__LINE__, "x\033[31mRED\nfake", "x\\033[31mRED\\nfake"},
        {__LINE__, "\a\b\t\n\v\f\r", "\\a\\b\\t\\n\\v\\f\\r"},
        {__LINE__, std::string("nul\0x", 5), "nul\\000x"},
        {__LINE__, "del\x7F", "del\\177"},
        {__LINE__, "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80",
         "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80"},
        {__LINE__, "\xE9t\xE9", "\\351t\\351"},  // Latin-1, not UTF-8
        {__LINE__,
         "\xC2\x9B"
         "2J",
         "\\302\\2332J"},                                        // CSI as a UTF-8 C1 control
        {__LINE__, "\xC2\xA0", "\xC2\xA0"},                      // the first character past C1
        {__LINE__, "\xE0\x80\x80", "\\340\\200\\200"},           // overlong
        {__LINE__, "\xED\xA0\x80", "\\355\\240\\200"},           // a lone surrogate
        {__LINE__, "\xF4\x90\x80\x80", "\\364\\220\\200\\200"},  // past U+10FFFF
        {__LINE__, "cut\xE6\x97", "cut\\346\\227"},              // cut short at the end
        {__LINE__, "a\\b", kWindows ? "a\\b" : "a\\\\b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.shown);
        std::string storage;
        const std::string_view shown = shownName(c.name, storage);
        EXPECT_EQ(shown, c.shown);
        // A name shown as it is is not copied.
        if (c.name == c.shown) {
            EXPECT_EQ(shown.data(), c.name.data());
        }
        std::string appended = "<";
        appendShownName(appended, c.name);
        EXPECT_EQ(appended, "<" + c.shown);
    }
}

}  // namespace
}  // namespace ftvb::testing
