// ftvb-convert as a user runs it: arguments, messages and exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/files.h"
#include "ftvb/version.h"
#include "tests/support/case_line.h"
#include "tests/support/program.h"
#include "tests/support/temp_folder.h"

namespace {

using ftvb::testing::caseLine;

namespace fs = std::filesystem;

using Outcome = ftvb::testing::ProgramOutcome;

// The system's own wording differs between POSIX systems and Windows (and
// Wine): the platform-neutral tests take it from a failing call.
#ifdef _WIN32
constexpr bool kPosix = false;
#else
constexpr bool kPosix = true;
#endif

class Cli : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }

    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    // Runs ftvb-convert with `args` in the temporary folder.
    Outcome run(std::vector<std::string> args, const std::string& stdinFile = "") {
        return ftvb::testing::runProgram({fs::absolute(FTVB_CONVERT), std::move(args), dir_, stdinFile});
    }

    // The system's wording of why `name` in the folder cannot be opened.
    std::string systemText(const std::string& name) const {
        ftvb::SourceReader reader;
        const ftvb::Status opened = reader.open(path(name));
        return opened.ok() ? "(it opens)" : ftvb::describe(opened.failure());
    }

    const ftvb::testing::TempFolder dir_{"ftvb-cli"};
};

TEST_F(Cli, VersionAndHelp) {
    EXPECT_EQ(run({"--version"}).out, std::string("ftvb-convert ") + ftvb::kVersionText + "\n");
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: ftvb-convert [-o MODULE] [-q] [--review[=FILE]] [--finish] FILE..."),
              std::string::npos);
}

TEST_F(Cli, UsageErrors) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"-x", "a.for"}, std::vector<std::string>{"-o"}}) {
        const Outcome o = run(args);
        EXPECT_EQ(o.status, 2) << args.size();
        EXPECT_EQ(o.err.rfind("ftvb-convert: ", 0), 0u) << o.err;
    }
}

TEST_F(Cli, ConvertsIntoModule1ByDefault) {
    write("a.for", "      x = 1\n      y = 2\n");
    const Outcome o = run({"a.for"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "2 lines\n");
    EXPECT_EQ(read(path("module1.bas")), "'       \r\nx = 1\r\ny = 2\r\n");
}

TEST_F(Cli, FinishNamesEachModuleItWrote) {
    write("a.f", "      x = 1\n      end\n");
    {
        const Outcome o = run({"--finish", "-o", "m.bas", "a.f"});
        EXPECT_EQ(o.status, 0);
        EXPECT_EQ(o.err, "m.bas\n2 lines\n");
        EXPECT_EQ(read(path("m.bas")).rfind("Attribute VB_Name = \"m\"\r\nOption Explicit\r\nPublic Sub main()\r\n", 0),
                  0u);
    }
    {
        const Outcome o = run({"-q", "--finish", "-o", "-", "a.f"});
        EXPECT_EQ(o.status, 0);
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(o.out.rfind("Attribute VB_Name = \"Module1\"\r\n", 0), 0u) << o.out;
    }
    {
        write("b.f", "      entry e\n      end\n");
        const Outcome o = run({"-q", "--finish", "--review", "-o", "b.bas", "b.f"});
        EXPECT_EQ(o.status, 0);
        EXPECT_EQ(o.err,
                  "b.f:1: note: statement left as a marked comment (ENTRY); translate it by hand [not-translated] "
                  "(b.bas:4)\nreview: 1 not-translated\n");
    }
    {
        const Outcome o = run({"--finish", "-o", "c.bas", "missing.f"});
        EXPECT_EQ(o.status, 1);
        EXPECT_FALSE(fs::exists(path("c.bas")));
    }
}

TEST_F(Cli, QuietStdinAndStdout) {
    write("a.for", "      x = 1\n");
    const Outcome o = run({"-q", "-o", "-", "-"}, path("a.for"));
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out, "'       \r\nx = 1\r\n");
}

TEST_F(Cli, UnreadableFileGivesStatusOne) {
    write("a.for", "      x = 1\n");
    const Outcome o = run({"-o", "m.bas", "missing.for", "a.for"});
    EXPECT_EQ(o.status, 1);
    const std::string why = kPosix ? "No such file or directory" : systemText("missing.for");
    EXPECT_EQ(o.err, "ftvb-convert: cannot read 'missing.for': " + why + "\n1 lines\n");
    EXPECT_EQ(read(path("m.bas")), "'       \r\nx = 1\r\n");
}

TEST_F(Cli, ModuleThatCannotBeWrittenGivesStatusTwo) {
    write("a.for", "      x = 1\n");
    const Outcome o = run({"-o", "nowhere/m.bas", "a.for"});
    EXPECT_EQ(o.status, 2);
    const std::string why = kPosix ? "No such file or directory" : systemText("nowhere/m.bas");
    EXPECT_EQ(o.err, "ftvb-convert: cannot write 'nowhere/m.bas': " + why + "\n");
    if (!kPosix) return;
    const Outcome full = run({"-o", "/dev/full", "a.for"});
    EXPECT_EQ(full.status, 2);
    EXPECT_EQ(full.err, "ftvb-convert: cannot write '/dev/full': No space left on device\n");
}

TEST_F(Cli, ModuleNamedLikeASource) {
    const std::string source = write("a.for", "      x = 1\n");
    const Outcome o = run({"-o", "./a.for", "a.for"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("cannot write './a.for': it is also listed as a source ('a.for')"), std::string::npos)
        << o.err;
    EXPECT_EQ(read(source), "      x = 1\n");
}

TEST_F(Cli, ReviewListsThePlacesToStandardErrorOrToAFile) {
    write("a.for", "      x = 1\n      read(5,*) y\n  100 format(i5)\n");
    const Outcome plain = run({"-q", "-o", "plain.bas", "a.for"});
    ASSERT_EQ(plain.status, 0) << plain.err;

    const Outcome listed = run({"-q", "-o", "m.bas", "--review", "a.for"});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.err,
              "a.for:2: note: READ statement passed through unchanged; rewrite it with BASIC file input and output "
              "[io-unchanged] (m.bas:3)\n"
              "a.for:3: note: FORMAT statement left as a comment; rewrite the output it describes [format] (m.bas:4)\n"
              "review: 1 format, 1 io-unchanged\n");
    EXPECT_EQ(read(path("m.bas")), read(path("plain.bas")));

    const Outcome filed = run({"-o", "f.bas", "--review=a.review", "a.for"});
    EXPECT_EQ(filed.status, 0);
    EXPECT_EQ(filed.err, "3 lines\n");
    EXPECT_EQ(read(path("a.review")), std::string(listed.err)
                                          .replace(listed.err.find("(m.bas:3)"), 9, "(f.bas:3)")
                                          .replace(listed.err.find("(m.bas:4)"), 9, "(f.bas:4)"));
    EXPECT_EQ(read(path("f.bas")), read(path("plain.bas")));

    write("b.for", "      x = 1\n");
    const Outcome none = run({"-q", "-o", "b.bas", "--review", "b.for"});
    EXPECT_EQ(none.err, "review: nothing to finish by hand\n");
}

TEST_F(Cli, AReviewThatCannotBeWrittenLeavesTheModuleAsItWas) {
    write("a.for", "      pause\n");
    write("m.bas", "old module\r\n");
    const Outcome o = run({"-q", "-o", "m.bas", "--review=nowhere/a.review", "a.for"});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err.rfind("ftvb-convert: cannot write 'nowhere/a.review': ", 0), 0u) << o.err;
    EXPECT_EQ(read(path("m.bas")), "old module\r\n");

    // A module that cannot be written leaves no review behind either.
    const Outcome failed = run({"-q", "-o", "nowhere/m.bas", "--review=a.review", "a.for"});
    EXPECT_EQ(failed.status, 2);
    EXPECT_FALSE(fs::exists(path("a.review")));
    for (const auto& e : fs::directory_iterator(dir_)) {
        EXPECT_NE(e.path().filename().string().front(), '.') << e.path();  // no temporary file left
    }
}

TEST_F(Cli, AReviewFileThatIsTheModuleOrASourceIsAUsageError) {
    const std::string source = write("a.for", "      pause\n");
    for (const std::string& review : {std::string("m.bas"), std::string("a.for"), std::string("./a.for")}) {
        const Outcome o = run({"-q", "-o", "m.bas", "--review=" + review, "a.for"});
        EXPECT_EQ(o.status, 2) << review;
        EXPECT_NE(o.err.find("cannot write the review to '" + review + "'"), std::string::npos) << o.err;
    }
    EXPECT_EQ(read(source), "      pause\n");
    EXPECT_FALSE(fs::exists(path("m.bas")));
}

// Comment marks in column 1, DO bounds with commas inside parentheses, the
// report's name and stepped loops, each beside a near miss, as the program
// writes them.
TEST_F(Cli, CommentsLoopsAndTheReportAsWritten) {
    const auto padded = [](std::string line) {
        line.resize(72, ' ');
        return line;
    };
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::string source;
        std::vector<std::string> module;  // after the file start's "'       "
    } cases[] = {
        {__LINE__, "star comment", "*     a note\n", {padded("'     a note")}},
        {__LINE__, "bang comment", "!     a note\n", {padded("'     a note")}},
        {__LINE__, "star in column 2", " *    x = 1\n", {"L*:", "x = 1"}},
        {__LINE__,
         "comma inside the start value",
         "      do 10 i = max(1,j-k), n\n   10 continue\n",
         {"for i=max(1,j-k)  to  n", "L10:", "next i"}},
        {__LINE__,
         "commas inside nested parentheses",
         "      do i=f(g(1,2),3),n\n      end do\n",
         {"stepi=1", "i=f(g(1,2) ,3) -stepi", "do while i<n", "i=i+stepi", "loop"}},
        {__LINE__, "the report", "      write(6,*) x\n", {"open \"report.txt\" for append as #1", "write#1, x"}},
        {__LINE__,
         "step 2",
         "      do i=1,10,2\n      end do\n",
         {"stepi=2", "i=1-stepi", "do while i+stepi<=10", "i=i+stepi", "loop"}},
        {__LINE__,
         "step 1",
         "      do i=1,n,1\n      end do\n",
         {"stepi=1", "i=1-stepi", "do while i<n", "i=i+stepi", "loop"}},
        {__LINE__,
         "step -1",
         "      do i=n,1,-1\n      end do\n",
         {"stepi=-1", "i=n-stepi", "do while i>1", "i=i+stepi", "loop"}},
        {__LINE__,
         "step -2",
         "      do i=n,1,-2\n      end do\n",
         {"stepi=-2", "i=n-stepi", "do while i+stepi>=1", "i=i+stepi", "loop"}},
        {__LINE__,
         "step by a name",
         "      do i=1,n,k\n      end do\n",
         {"stepi=k", "i=1-stepi", "do while i+stepi<=n", "i=i+stepi", "loop"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        write("a.for", c.source);
        const Outcome o = run({"-q", "-o", "m.bas", "a.for"});
        ASSERT_EQ(o.status, 0) << c.name << ": " << o.err;
        std::string want = "'       \r\n";
        for (const std::string& line : c.module) want += line + "\r\n";
        EXPECT_EQ(read(path("m.bas")), want) << c.name;
    }
}

TEST_F(Cli, BundledExamplesConvert) {
    std::vector<std::string> args = {"-q", "-o", "ex.bas"};
    for (const auto& e : fs::directory_iterator(fs::absolute(FTVB_EXAMPLES_DIR))) {
        if (e.path().extension() == ".for") args.push_back(e.path().string());
    }
    std::sort(args.begin() + 3, args.end());
    ASSERT_GT(args.size(), 3u);
    const Outcome o = run(args);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_FALSE(read(path("ex.bas")).empty());
}

}  // namespace
