// The conversion run over real files: the list, the counting, the module,
// and every way a file or the module can fail.
#include "engine/run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "engine/files.h"
#include "tests/support/capture.h"
#include "tests/support/case_line.h"
#include "tests/support/temp_folder.h"

namespace ftvb::testing {
namespace {

namespace fs = std::filesystem;

class RunTest : public ::testing::Test {
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

    RunResult run(const std::string& module, std::vector<std::string> files) {
        NameList list(std::move(files));
        return runConversion(module, list, observer_);
    }

    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    const TempFolder dir_{"ftvb-run"};
    ObserverCapture observer_;
};

std::string lines(std::initializer_list<const char*> ls) {
    std::string s;
    for (const char* l : ls) s += std::string(l) + "\r\n";
    return s;
}

TEST_F(RunTest, EmptyListCreatesAnEmptyModule) {
    const RunResult r = run(path("m.bas"), {});
    EXPECT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
    EXPECT_EQ(r.lines, 0);
    EXPECT_EQ(read(path("m.bas")), "");
}

TEST_F(RunTest, NamesAreUsedExactlyAndEmptyOnesSkipped) {
    // " a.for" is another file than "a.for"; blanks are part of a name.
    write("a.for", "      x = 1\n");
    write(" a.for", "      y = 2\n");
#ifdef _WIN32
    // Except at the end, where Windows drops them from every name.
    const RunResult r = run(path("m.bas"), {"", path(" a.for"), path("a.for ")});
    EXPECT_TRUE(r.moduleWritten);
    EXPECT_EQ(r.lines, 2);
    EXPECT_TRUE(r.skipped.empty());
    EXPECT_EQ(read(path("m.bas")), lines({"'       ", "y = 2", "'       ", "x = 1"}));
#else
    write("b.for ", "      z = 3\n");
    const RunResult r = run(path("m.bas"), {"", path(" a.for"), path("b.for "), path("a.for ")});
    EXPECT_TRUE(r.moduleWritten);
    EXPECT_EQ(r.lines, 2);
    ASSERT_EQ(r.skipped.size(), 1u);
    EXPECT_EQ(r.skipped[0].name, path("a.for "));
    EXPECT_EQ(read(path("m.bas")), lines({"'       ", "y = 2", "'       ", "z = 3"}));
#endif
}

TEST_F(RunTest, ModuleIsKeptWhenNoListedFileCouldBeRead) {
    const std::string module = write("m.bas", "finished by hand\r\n");
    fs::create_directory(path("folder.for"));
    const std::vector<std::vector<std::string>> lists = {
        {path("typo.for")},
        {path("typo.for"), path("folder.for"), ""},
    };
    for (const auto& list : lists) {
        const RunResult r = run(module, list);
        EXPECT_FALSE(r.moduleWritten);
        EXPECT_EQ(r.moduleFailure.reason, Reason::nothingRead);
        EXPECT_EQ(r.skipped.size(), list.size() - (list.back().empty() ? 1 : 0));
        EXPECT_EQ(read(module), "finished by hand\r\n");
        EXPECT_EQ(folderEntries(), (std::vector<std::string>{"folder.for", "m.bas"}));
    }
    // One readable file among them is enough, even an empty one.
    const RunResult r = run(module, {path("typo.for"), write("e.for", "")});
    EXPECT_TRUE(r.moduleWritten);
    EXPECT_EQ(read(module), lines({"'       "}));
}

TEST_F(RunTest, EmptyFileWritesTheEmptyStatementComment) {
    const RunResult r = run(path("m.bas"), {write("e.for", "")});
    EXPECT_EQ(r.lines, 0);
    EXPECT_EQ(read(path("m.bas")), lines({"'       "}));
}

TEST_F(RunTest, ReaderHandsOutEveryLineAsWritten) {
    // Lines of every length, some cut by a refill of the buffer, some far
    // longer than the buffer; CR before LF, CR elsewhere, no LF at the end.
    std::mt19937 rng(99);
    std::string content;
    std::vector<std::string> want;
    for (int i = 0; i < 6000; ++i) {
        std::size_t n = rng() % 100;
        if (i % 1000 == 999) n = 70000 + rng() % 1000;
        std::string line;
        for (std::size_t k = 0; k < n; ++k) line.push_back("ab \r\t\xE9"[rng() % 6]);
        if (rng() % 4 == 0) line += '\r';
        content += line;
        if (i + 1 < 6000) content += '\n';
        // One CR right before the LF goes; then only 72 bytes are kept.
        if (line.size() <= SourceReader::kKeep && !line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > SourceReader::kKeep) line.resize(SourceReader::kKeep);
        want.push_back(line);
    }
    const std::string file = write("lines.f", content);

    SourceReader viewed;
    ASSERT_TRUE(viewed.open(file).ok());
    SourceReader copied;
    ASSERT_TRUE(copied.open(file).ok());
    std::string_view v;
    std::string c;
    for (std::size_t i = 0; i < want.size(); ++i) {
        ASSERT_TRUE(viewed.nextLine(v)) << i;
        ASSERT_EQ(v, want[i]) << "line " << i;
        ASSERT_TRUE(copied.readLine(c)) << i;
        ASSERT_EQ(c, want[i]) << "line " << i;
    }
    EXPECT_FALSE(viewed.nextLine(v));
    EXPECT_FALSE(copied.readLine(c));
}

TEST_F(RunTest, SameFileTwiceIsTranslatedTwice) {
    const std::string a = write("a.for", "      subroutine s\n      x = 1\n");
    run(path("m.bas"), {a, a});
    const std::string once = lines({"'       ", "Sub  s", "x = 1", "end sub"});
    EXPECT_EQ(read(path("m.bas")), once + once);
}

TEST_F(RunTest, CountsAcrossFilesAndLineEnds) {
    std::string thirty, twenty;
    for (int i = 0; i < 30; ++i) thirty += "      x = 1\r\n";
    for (int i = 0; i < 19; ++i) twenty += "      y = 2\n";
    twenty += "      y = 2";  // no line end on the last line
    const RunResult r = run(path("m.bas"), {write("a.for", thirty), write("b.for", twenty)});
    EXPECT_EQ(r.lines, 50);
    ASSERT_EQ(observer_.counts.size(), 50u);
    EXPECT_EQ(observer_.counts.back(), 50);
    const std::string module = read(path("m.bas"));
    EXPECT_EQ(module.find("x = 1\r\r"), std::string::npos);  // the CR before LF is dropped
    EXPECT_NE(module.find("y = 2\r\n"), std::string::npos);
}

TEST_F(RunTest, KeepsEveryByte) {
    const RunResult r = run(path("m.bas"), {write("a.for", "      s = '\xE9t\xE9' ! \x80\n")});
    EXPECT_TRUE(r.moduleWritten);
    EXPECT_EQ(read(path("m.bas")), lines({"'       ", "s = \"\xE9t\xE9\" ' \x80"}));
}

TEST_F(RunTest, UnreadableFilesAreSkippedAndListed) {
    const std::string a = write("a.for", "      x = 1\n");
    fs::create_directory(path("folder.for"));
    const RunResult r = run(path("m.bas"), {path("missing.for"), a, path("folder.for")});
    EXPECT_TRUE(r.moduleWritten);
    ASSERT_EQ(r.skipped.size(), 2u);
    EXPECT_EQ(r.skipped[0].name, path("missing.for"));
    EXPECT_EQ(r.skipped[0].why.reason, Reason::noSuchFile);
#ifndef _WIN32
    EXPECT_EQ(describe(r.skipped[0].why), "No such file or directory");
#endif
    EXPECT_EQ(describe(r.skipped[0].why), r.skipped[0].why.systemText);
    EXPECT_EQ(r.skipped[1].why.reason, Reason::isAFolder);
    EXPECT_EQ(read(path("m.bas")), lines({"'       ", "x = 1"}));
}

TEST_F(RunTest, ModuleThatCannotBeCreatedReadsNothing) {
    const std::string a = write("a.for", "      x = 1\n");
    fs::create_directory(path("sub"));
    const struct {
        int line;  // where the case is written, for the failure to name
        std::string module;
        Reason reason;
    } cases[] = {
        {__LINE__, path("nowhere/m.bas"), Reason::noSuchFile},
        {__LINE__, "", Reason::noSuchFile},
        {__LINE__, path("sub"), Reason::isAFolder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        observer_.counts.clear();
        const RunResult r = run(c.module, {a});
        EXPECT_FALSE(r.moduleWritten) << c.module;
        EXPECT_EQ(r.moduleFailure.reason, c.reason) << c.module;
        EXPECT_EQ(r.lines, 0) << c.module;
        EXPECT_TRUE(observer_.counts.empty()) << c.module;
    }
}

TEST_F(RunTest, ModuleListedAsASourceIsRefused) {
    const std::string a = write("a.for", "      x = 1\n");
    const std::string precious = write("keep.bas", "precious\r\n");
#ifdef _WIN32
    // Links and other spellings on Windows: tests/windows.
    const std::vector<std::string> sources = {precious, dir_.string() + "/./keep.bas"};
#else
    fs::create_symlink(precious, path("link.for"));
    const std::vector<std::string> sources = {precious, dir_.string() + "/./keep.bas", path("link.for")};
#endif
    for (const std::string& source : sources) {
        const RunResult r = run(precious, {a, source});
        EXPECT_FALSE(r.moduleWritten) << source;
        EXPECT_EQ(r.moduleFailure.reason, Reason::sourceIsModule) << describe(r.moduleFailure);
        EXPECT_EQ(r.moduleFailure.other, source);
        EXPECT_EQ(r.lines, 0);
        EXPECT_EQ(read(precious), "precious\r\n");
    }
}

// A full disk, permission bits and symbolic links: POSIX only; tests/windows
// has what Windows has instead.
#ifndef _WIN32
TEST_F(RunTest, WriteFailureIsAnError) {
    const RunResult r = run("/dev/full", {write("a.for", "      x = 1\n")});
    EXPECT_FALSE(r.moduleWritten);
    EXPECT_EQ(r.moduleFailure.reason, Reason::noSpace);
    EXPECT_EQ(describe(r.moduleFailure), "No space left on device");
}

#endif

TEST_F(RunTest, StoppedRunLeavesThePreviousModule) {
    const std::string module = write("m.bas", "old\r\n");
    struct Stopper : RunObserver {
        bool stopRequested() override { return true; }
    } stopper;
    NameList list({write("a.for", "      x = 1\n      y = 2\n")});
    const RunResult r = runConversion(module, list, stopper);
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(r.moduleWritten);
    EXPECT_EQ(read(module), "old\r\n");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"a.for", "m.bas"}));  // no temporary file left
}

// The check of the list against the module tells the observer of each
// file, so that a window can let its events in; a stop asked for then
// leaves everything as it was, before a line is read.
TEST_F(RunTest, TheCheckAgainstTheModuleReportsEachFileAndCanBeStopped) {
    const std::string module = write("m.bas", "old\r\n");
    struct Counter : RunObserver {
        int checked = 0;
        int stopAfter = 0;  // 0: never
        long long lines = 0;
        void fileChecked() override { ++checked; }
        void lineCounted(long long n) override { lines = n; }
        bool stopRequested() override { return stopAfter != 0 && checked >= stopAfter; }
    };
    const std::vector<std::string> files = {write("a.for", "      x = 1\n"), "", write("b.for", "      y = 2\n")};
    Counter whole;
    EXPECT_TRUE(runConversion(module, NameList(files), whole).moduleWritten);
    EXPECT_EQ(whole.checked, 3);

    write("m.bas", "old\r\n");
    Counter stopped;
    stopped.stopAfter = 2;
    const RunResult r = runConversion(module, NameList(files), stopped);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(stopped.checked, 2);
    EXPECT_EQ(stopped.lines, 0);
    EXPECT_EQ(read(module), "old\r\n");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"a.for", "b.for", "m.bas"}));
}

#ifndef _WIN32
TEST_F(RunTest, StopAskedAfterTheLastLineStillKeepsThePreviousModule) {
    const std::string module = write("m.bas", "old\r\n");
    // The last statement is translated when the file ends, after every line
    // has been read: a stop asked for then still counts.
    struct LateStopper : RunObserver {
        bool stop = false;
        void statementShown(std::string_view) override { stop = true; }
        bool stopRequested() override { return stop; }
    } stopper;
    NameList list({write("e.for", "")});
    const RunResult r = runConversion(module, list, stopper);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(read(module), "old\r\n");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"e.for", "m.bas"}));
}

TEST_F(RunTest, ModuleReplacedWholeKeepsItsMode) {
    const std::string module = write("m.bas", "old\r\n");
    ::chmod(module.c_str(), 0640);
    const RunResult r = run(module, {write("a.for", "      x = 1\n")});
    EXPECT_TRUE(r.moduleWritten);
    EXPECT_EQ(read(module), lines({"'       ", "x = 1"}));
    struct stat st {};
    ::stat(module.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"a.for", "m.bas"}));
}

TEST_F(RunTest, ModuleThroughALinkReplacesTheTarget) {
    const std::string target = write("real.bas", "old\r\n");
    fs::create_symlink(target, path("m.bas"));
    run(path("m.bas"), {write("a.for", "      x = 1\n")});
    EXPECT_TRUE(fs::is_symlink(path("m.bas")));
    EXPECT_EQ(read(target), lines({"'       ", "x = 1"}));
}

#endif

TEST_F(RunTest, RelativeModuleLandsWhereItWasNamed) {
    // A window may change the current folder while the run yields.
    fs::create_directory(path("other"));
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    struct Wanderer : RunObserver {
        std::string to;
        void lineCounted(long long) override { fs::current_path(to); }
    } wanderer;
    wanderer.to = path("other");
    NameList list({write("a.for", "      x = 1\n")});
    const RunResult r = runConversion("m.bas", list, wanderer);
    fs::current_path(before);
    EXPECT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
    EXPECT_EQ(read(path("m.bas")), lines({"'       ", "x = 1"}));
    EXPECT_FALSE(fs::exists(path("other/m.bas")));
}

}  // namespace
}  // namespace ftvb::testing
