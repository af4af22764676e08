// ftvb-convert handed what a user may pick by mistake (binaries, NUL bytes,
// huge lines, folders, files it may not read) and places it cannot write.
// Whatever happens it ends with the documented status and message, no
// source changes, and the module is either complete or exactly as it was:
// never half-written, and no temporary file is left beside it.
//
// Permission bits do not stop root, so the cases that need them run the
// program as "nobody" when the tests run as root.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/case_line.h"
#include "tests/support/temp_folder.h"

namespace {

using ftvb::testing::caseLine;

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

struct Outcome {
    int status = -1;  // the exit status, or 128 + N after signal N
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Built from the arguments alone where nothing else is needed.
struct Launch {
    Launch(std::vector<std::string> arguments) : args(std::move(arguments)) {}

    std::vector<std::string> args;
    std::string stdinPath = "/dev/null";
    int stdinFd = -1;  // used instead of stdinPath when set
    bool closeStdin = false;
    std::string stdoutAppend;  // a work folder file that standard output appends to
    std::string stdoutPath;    // any file standard output goes to instead
    int stdoutFd = -1;         // used instead of both when set
    int stderrFd = -1;         // used instead of the captured standard error when set
    bool closeStderr = false;
    bool unprivileged = false;
    rlim_t stackLimit = 0;     // bytes; 0 for the shell's
    rlim_t fileSizeLimit = 0;  // bytes; 0 for none
    rlim_t memoryLimit = 0;    // address space, bytes; 0 for none
};

// The account that runs the cases needing permission bits: ourselves when
// we are not root, else "nobody".
struct Runner {
    bool available = false;
    uid_t uid = 0;
    gid_t gid = 0;
    std::string why;
};

const std::string kSmallSource = "      x = 1\n      y = 2\n";
const std::string kSmallModule = "'       \r\nx = 1\r\ny = 2\r\n";

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// CR LF after every line: an LF never comes without its CR, and the module
// ends with a line end.
::testing::AssertionResult wellFormed(const std::string& module) {
    for (std::size_t i = 0; i < module.size(); ++i) {
        if (module[i] == '\n' && (i == 0 || module[i - 1] != '\r')) {
            return ::testing::AssertionFailure() << "bare LF at byte " << i;
        }
    }
    if (!module.empty() && module.compare(module.size() - 2, 2, "\r\n") != 0) {
        return ::testing::AssertionFailure() << "no CR LF at the end";
    }
    return ::testing::AssertionSuccess();
}

struct FailureCase;

using Snapshot = std::map<std::string, std::string>;

// Names the files that differ rather than printing megabytes of them.
::testing::AssertionResult sameFiles(const Snapshot& before, const Snapshot& after) {
    std::string differ;
    for (const auto& [name, bytes] : before) {
        const auto it = after.find(name);
        if (it == after.end()) {
            differ += " " + name + " (gone)";
        } else if (it->second != bytes) {
            differ += " " + name + " (changed)";
        }
    }
    for (const auto& entry : after) {
        if (before.count(entry.first) == 0) differ += " " + entry.first + " (new)";
    }
    if (differ.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "files differ:" << differ;
}

::testing::AssertionResult sameBytes(const std::string& got, const std::string& want) {
    if (got == want) return ::testing::AssertionSuccess();
    std::size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
    return ::testing::AssertionFailure() << got.size() << " bytes where " << want.size()
                                         << " were expected; first difference at byte " << i;
}

class Hostile : public ::testing::Test {
protected:
    // A fresh pair for each case as well: expectFailure starts over with
    // TearDown and SetUp.
    void SetUp() override {
        work_ = workFolder_.emplace("ftvb-hostile").path();
        scratch_ = scratchFolder_.emplace("ftvb-hostile-io").path();
    }

    void TearDown() override {
        workFolder_.reset();
        scratchFolder_.reset();
    }

public:
    // For the setup steps of the case tables.
    std::string path(const std::string& name) const { return (work_ / name).string(); }

    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }

    // Gives a file or folder of the work folder to the unprivileged runner.
    void giveToRunner(const std::string& name) const {
        if (::getuid() == 0) {
            ASSERT_EQ(::lchown(path(name).c_str(), runner().uid, runner().gid), 0) << name;
        }
    }

protected:
    static const Runner& runner() {
        static const Runner r = [] {
            Runner found;
            if (::getuid() != 0) {
                found.available = true;
                found.uid = ::getuid();
                found.gid = ::getgid();
                return found;
            }
            const passwd* pw = ::getpwnam("nobody");
            if (pw == nullptr) {
                found.why = "no user 'nobody' to run as, and root ignores permission bits";
                return found;
            }
            found.uid = pw->pw_uid;
            found.gid = pw->pw_gid;
            found.available = true;
            return found;
        }();
        return r;
    }

    // Why no unprivileged run is possible, or empty when one is.
    std::string unprivilegedUnavailable() {
        const Runner& r = runner();
        if (!r.available) return r.why;
        if (::getuid() != 0) return {};
        Launch probe{{"--version"}};
        probe.unprivileged = true;
        const Outcome o = run(probe);
        if (o.status != 0) {
            return "user 'nobody' cannot run " FTVB_CONVERT " (status " + std::to_string(o.status) + ")";
        }
        return {};
    }

    bool handOverWorkFolder() const {
        return ::getuid() != 0 || ::chown(work_.c_str(), runner().uid, runner().gid) == 0;
    }

    void expectFailure(const FailureCase& c, bool unprivileged);

    pid_t start(const Launch& launch) {
        const std::string outPath = !launch.stdoutPath.empty()    ? launch.stdoutPath
                                    : launch.stdoutAppend.empty() ? (scratch_ / "out").string()
                                                                  : path(launch.stdoutAppend);
        const int outFlags = O_WRONLY | O_CREAT | (launch.stdoutAppend.empty() ? O_TRUNC : O_APPEND);
        const std::string errPath = (scratch_ / "err").string();
        std::vector<std::string> words{FTVB_CONVERT};
        words.insert(words.end(), launch.args.begin(), launch.args.end());
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        const std::string dir = work_.string();
        const Runner& r = runner();

        const pid_t pid = ::fork();
        if (pid != 0) return pid;
        // The child: only plain system calls from here on.
        if (::chdir(dir.c_str()) != 0) ::_exit(125);
        const int in = launch.stdinFd >= 0 ? launch.stdinFd : ::open(launch.stdinPath.c_str(), O_RDONLY);
        const int out = launch.stdoutFd >= 0 ? launch.stdoutFd : ::open(outPath.c_str(), outFlags, 0600);
        const int err =
            launch.stderrFd >= 0 ? launch.stderrFd : ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0) ::_exit(125);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (launch.closeStdin) ::close(0);
        if (launch.closeStderr) ::close(2);
        // As a shell leaves them: the program must look after itself.
        ::signal(SIGXFSZ, SIG_DFL);
        ::signal(SIGINT, SIG_DFL);
        if (launch.fileSizeLimit != 0) {
            const rlimit lim{launch.fileSizeLimit, launch.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &lim);
        }
        if (launch.memoryLimit != 0) {
            const rlimit lim{launch.memoryLimit, launch.memoryLimit};
            ::setrlimit(RLIMIT_AS, &lim);
        }
        if (launch.stackLimit != 0) {
            const rlimit lim{launch.stackLimit, launch.stackLimit};
            ::setrlimit(RLIMIT_STACK, &lim);
        }
        if (launch.unprivileged && ::getuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(r.gid) != 0 || ::setuid(r.uid) != 0) ::_exit(126);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }

    Outcome finish(pid_t pid, std::chrono::seconds limit = 300s) {
        Outcome o;
        const auto deadline = Clock::now() + limit;
        int raw = 0;
        for (;;) {
            const pid_t done = ::waitpid(pid, &raw, WNOHANG);
            if (done == pid) break;
            if (Clock::now() > deadline) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &raw, 0);
                o.timedOut = true;
                break;
            }
            std::this_thread::sleep_for(5ms);
        }
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
        o.out = readFile(scratch_ / "out");
        o.err = readFile(scratch_ / "err");
        return o;
    }

    Outcome run(const Launch& launch, std::chrono::seconds limit = 300s) { return finish(start(launch), limit); }

    // Every regular file under the work folder, with its bytes.
    Snapshot snapshot() const {
        Snapshot files;
        for (const auto& e : fs::recursive_directory_iterator(work_)) {
            if (e.symlink_status().type() == fs::file_type::regular) {
                files[fs::relative(e.path(), work_).string()] = readFile(e.path());
            }
        }
        return files;
    }

    // The module is written to ".NAME.XXXXXX" beside it; the tests create
    // no other name beginning with a dot.
    std::vector<std::string> temporaries() const {
        std::vector<std::string> found;
        for (const auto& e : fs::recursive_directory_iterator(work_)) {
            if (e.path().filename().string().front() == '.') found.push_back(e.path().string());
        }
        return found;
    }

    bool waitForTemporary(std::chrono::seconds limit = 60s) const {
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline) {
            if (!temporaries().empty()) return true;
            std::this_thread::sleep_for(2ms);
        }
        return false;
    }

    std::optional<ftvb::testing::TempFolder> workFolder_;
    std::optional<ftvb::testing::TempFolder> scratchFolder_;
    fs::path work_;
    fs::path scratch_;
};

// ---- sources a user may pick by mistake -----------------------------------

std::string binaryBytes() {
    std::mt19937 random(8);
    std::string bytes(256 * 1024, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string repeated(const std::string& piece, std::size_t times) {
    std::string s;
    s.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) s += piece;
    return s;
}

long long linesIn(const std::string& s) {
    const long long ends = std::count(s.begin(), s.end(), '\n');
    return ends + (!s.empty() && s.back() != '\n' ? 1 : 0);
}

TEST_F(Hostile, AwkwardSourcesConvertAndStayUntouched) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::string source;
        std::string module;  // the whole module; empty: only its form is checked
    };
    const std::string nul("\0", 1);
    const Case cases[] = {
        {__LINE__, "binary file", binaryBytes(), ""},
        {__LINE__, "NUL bytes", "      x = 1" + nul + nul + " y\n" + nul + nul + nul + "\n      z = 2\n",
         "'       \r\nx = 1" + nul + nul + " y\r\nL" + nul + nul + nul + ":\r\nz = 2\r\n"},
        {__LINE__, "10 MB line", "      x = " + std::string(10 << 20, 'y') + "\n      z = 2\n",
         "'       \r\nx = " + std::string(62, 'y') + "\r\nz = 2\r\n"},
        {__LINE__, "100,000 continuation lines", "      x = 1\n" + repeated("     &+ 1\n", 100000),
         "'       \r\nx = 1" + repeated(" + 1", 100000) + "\r\n"},
        {__LINE__, "CR-only line ends", "      x = 1\r      y = 2\r", "'       \r\nx = 1\r y = 2\r\n"},
        {__LINE__, "CR LF line ends", "      x = 1\r\n      y = 2\r\n", kSmallModule},
        {__LINE__, "no final line end", "      x = 1\n      y = 2", kSmallModule},
        {__LINE__, "empty file", "", "'       \r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        write("a.for", c.source);
        fs::remove(path("m.bas"));
        const auto before = snapshot();

        const Outcome o = run({{"-o", "m.bas", "a.for"}});
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.err, std::to_string(linesIn(c.source)) + " lines\n");
        const std::string module = readFile(path("m.bas"));
        EXPECT_TRUE(wellFormed(module));
        if (!c.module.empty()) {
            EXPECT_TRUE(sameBytes(module, c.module));
        }
        Snapshot after = snapshot();
        after.erase("m.bas");
        EXPECT_TRUE(sameFiles(before, after));
        EXPECT_TRUE(temporaries().empty());
    }
}

// ---- failures: each said, with its status, and nothing damaged ------------

struct FailureCase {
    int line;  // where the case is written, for the failure to name
    const char* name;
    std::function<void(Hostile&)> setup;
    std::vector<std::string> args;
    int status;
    std::string err;
    std::string stdinFile = "";  // in the work folder
    rlim_t fileSizeLimit = 0;
    std::string writtenModule = "";  // the module a status-1 run still writes
    std::string stdoutAppend = "";   // a work folder file standard output appends to
};

std::function<void(Hostile&)> makeFolder(const char* name) {
    return [name](Hostile& t) { fs::create_directory(t.path(name)); };
}

void Hostile::expectFailure(const FailureCase& c, bool unprivileged) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    write("a.for", kSmallSource);
    write("b.for", kSmallSource);
    if (c.setup) c.setup(*this);
    if (unprivileged) {
        ASSERT_TRUE(handOverWorkFolder());
    }
    const auto before = snapshot();

    // "@/" stands for the work folder's absolute path, made afresh per case.
    const auto absolute = [this](std::string text) {
        for (std::size_t at = text.find("@/"); at != std::string::npos; at = text.find("@/", at)) {
            text.replace(at, 2, work_.string() + "/");
        }
        return text;
    };
    std::vector<std::string> args;
    for (const std::string& arg : c.args) args.push_back(absolute(arg));
    Launch launch{args};
    launch.unprivileged = unprivileged;
    launch.fileSizeLimit = c.fileSizeLimit;
    if (!c.stdinFile.empty()) launch.stdinPath = path(c.stdinFile);
    launch.stdoutAppend = c.stdoutAppend;
    const Outcome o = run(launch);
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.err, absolute(c.err));

    auto after = snapshot();
    if (!c.writtenModule.empty()) {
        EXPECT_EQ(after[c.writtenModule], kSmallModule);
        after.erase(c.writtenModule);
    }
    EXPECT_TRUE(sameFiles(before, after));
    EXPECT_TRUE(temporaries().empty());
}

TEST_F(Hostile, FailuresAreReportedAndDamageNothing) {
    const FailureCase cases[] = {
        {__LINE__,
         "a folder as a source",
         makeFolder("folder"),
         {"-o", "m.bas", "folder", "a.for"},
         1,
         "ftvb-convert: cannot read 'folder': Is a directory\n2 lines\n",
         "",
         0,
         "m.bas"},
        {__LINE__,
         "a module in a missing folder",
         nullptr,
         {"-o", "nowhere/m.bas", "a.for"},
         2,
         "ftvb-convert: cannot write 'nowhere/m.bas': No such file or directory\n"},
        {__LINE__,
         "a folder as the module",
         makeFolder("folder"),
         {"-o", "folder", "a.for"},
         2,
         "ftvb-convert: cannot write 'folder': Is a directory\n"},
        {__LINE__,
         "a module that outgrows the disk",
         [](Hostile& t) {
             t.write("m.bas", "previous module\r\n");
             t.write("a.for", repeated(kSmallSource, 20000));
         },
         {"-o", "m.bas", "a.for"},
         2,
         "ftvb-convert: cannot write 'm.bas': File too large\n",
         "",
         64 * 1024},
        {__LINE__,
         "the module is a source by another path",
         nullptr,
         {"-o", "./a.for", "a.for"},
         2,
         "ftvb-convert: cannot write './a.for': it is also listed as a source ('a.for')\n"},
        {__LINE__,
         "the module is a symbolic link to a source",
         [](Hostile& t) { fs::create_symlink("a.for", t.path("link.bas")); },
         {"-o", "link.bas", "a.for"},
         2,
         "ftvb-convert: cannot write 'link.bas': it is also listed as a source ('a.for')\n"},
        {__LINE__,
         "the module is a hard link to a source",
         [](Hostile& t) { fs::create_hard_link(t.path("a.for"), t.path("hard.bas")); },
         {"-o", "hard.bas", "b.for", "a.for"},
         2,
         "ftvb-convert: cannot write 'hard.bas': it is also listed as a source ('a.for')\n"},
        {__LINE__,
         "a source is a link to the module",
         [](Hostile& t) {
             t.write("m.bas", "previous module\r\n");
             fs::create_symlink("m.bas", t.path("alias.for"));
         },
         {"-o", "m.bas", "a.for", "alias.for"},
         2,
         "ftvb-convert: cannot write 'm.bas': it is also listed as a source ('alias.for')\n"},
        {__LINE__,
         "the module through a folder detour",
         [](Hostile& t) {
             t.write("m.bas", "previous module\r\n");
             fs::create_directory(t.path("sub"));
         },
         {"-o", "m.bas", "sub/../m.bas"},
         2,
         "ftvb-convert: cannot write 'm.bas': it is also listed as a source ('sub/../m.bas')\n"},
        {__LINE__,
         "standard input is the module",
         [](Hostile& t) { t.write("m.bas", "previous module\r\n"); },
         {"-o", "m.bas", "-"},
         2,
         "ftvb-convert: cannot write 'm.bas': it is also listed as a source ('-')\n",
         "m.bas"},
        // A source appended to would be read back as it grows.
        {__LINE__,
         "standard output is a source",
         nullptr,
         {"-o", "-", "a.for"},
         2,
         "ftvb-convert: cannot write '-': it is also listed as a source ('a.for')\n",
         "",
         0,
         "",
         "a.for"},
        // An unset variable or a typo must not empty a module finished by hand.
        {__LINE__,
         "an empty file name",
         [](Hostile& t) { t.write("m.bas", "previous module\r\n"); },
         {"-o", "m.bas", "a.for", ""},
         2,
         "ftvb-convert: empty file name\nTry 'ftvb-convert --help' for more information.\n"},
        {__LINE__,
         "an empty module name",
         nullptr,
         {"-o", "", "a.for"},
         2,
         "ftvb-convert: option '-o' needs a module name\nTry 'ftvb-convert --help' for more information.\n"},
        {__LINE__,
         "no listed file can be read",
         [](Hostile& t) { t.write("m.bas", "previous module\r\n"); },
         {"-o", "m.bas", "typo.for", "b.for "},
         1,
         "ftvb-convert: cannot read 'typo.for': No such file or directory\n"
         "ftvb-convert: cannot read 'b.for ': No such file or directory\n"
         "ftvb-convert: no file could be read; 'm.bas' left as it was\n"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(caseLine(c));
        expectFailure(c, false);
    }
}

// A name is used exactly as given: " a.for" is not "a.for".
TEST_F(Hostile, BlanksArePartOfAName) {
    write("a.for", kSmallSource);
    write(" a.for", "      z = 3\n");
    const Outcome o = run({{"-o", "m.bas", " a.for"}});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(readFile(path("m.bas")), "'       \r\nz = 3\r\n");
}

// A closed standard input is not a file: "-" must not read whatever the
// run opens first (the module's temporary file would take its place).
TEST_F(Hostile, ClosedStandardInputIsReportedNotRead) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        std::vector<std::string> args;
        int status;
        std::string err;
        bool written;
    };
    const Case cases[] = {
        {__LINE__,
         {"-o", "m.bas", "-"},
         1,
         "ftvb-convert: cannot read '-': Bad file descriptor\n"
         "ftvb-convert: no file could be read; 'm.bas' left as it was\n",
         false},
        {__LINE__,
         {"-o", "m.bas", "-", "a.for"},
         1,
         "ftvb-convert: cannot read '-': Bad file descriptor\n2 lines\n",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.args.size());
        write("a.for", kSmallSource);
        write("m.bas", "previous module\r\n");
        Launch launch{c.args};
        launch.closeStdin = true;
        const Outcome o = run(launch);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.err, c.err);
        EXPECT_EQ(readFile(path("m.bas")), c.written ? kSmallModule : "previous module\r\n");
        EXPECT_TRUE(temporaries().empty());
    }
}

// The temporary file beside the module has a longer name than the module:
// it is shortened, so any name the folder takes can be the module's.
TEST_F(Hostile, LongestModuleNamesAreWritten) {
    write("a.for", kSmallSource);
    for (const std::size_t length : {std::size_t{247}, std::size_t{250}, std::size_t{255}}) {
        const std::string name = std::string(length - 4, 'm') + ".bas";
        const Outcome o = run({{"-o", name, "a.for"}});
        EXPECT_EQ(o.status, 0) << length << ": " << o.err;
        EXPECT_EQ(readFile(path(name)), kSmallModule) << length;
        EXPECT_TRUE(temporaries().empty());
    }
}

TEST_F(Hostile, HelpAndVersionFailWhenTheyCannotBePrinted) {
    for (const char* option : {"--help", "--version"}) {
        Launch launch{{option}};
        launch.stdoutPath = "/dev/full";
        const Outcome o = run(launch);
        EXPECT_EQ(o.status, 2) << option;
        EXPECT_EQ(o.err, "ftvb-convert: cannot write standard output: No space left on device\n") << option;
    }
}

// Just above and below what the program needs to start: it runs, or says
// it is out of memory; it never aborts, and never leaves a temporary file.
TEST_F(Hostile, TightMemoryLimitsEndInAMessage) {
    if (kAddressSanitizer) GTEST_SKIP() << "a memory limit does not work under AddressSanitizer";
    write("a.for", kSmallSource);
    write("m.bas", "previous module\r\n");
    int reported = 0;
    for (rlim_t kib = 4096; kib <= 12288; kib += 64) {
        Launch launch{{"-o", "m.bas", "a.for"}};
        launch.memoryLimit = kib << 10;
        const Outcome o = run(launch, 60s);
        SCOPED_TRACE(std::to_string(kib) + " KiB: " + o.err);
        // 127: the loader itself found no room, before the program began.
        EXPECT_TRUE(o.status == 0 || o.status == 2 || o.status == 127) << o.status;
        if (o.status == 2) {
            EXPECT_NE(o.err.find("out of memory"), std::string::npos);
            EXPECT_EQ(readFile(path("m.bas")), "previous module\r\n");
            ++reported;
        }
        EXPECT_TRUE(temporaries().empty());
    }
    EXPECT_GT(reported, 0) << "no limit was tight enough to matter";
}

// Root ignores permission bits: these run as "nobody" when the tests run
// as root.
TEST_F(Hostile, PermissionFailuresAreReportedAndDamageNothing) {
    if (const std::string why = unprivilegedUnavailable(); !why.empty()) GTEST_SKIP() << why;
    const FailureCase cases[] = {
        {__LINE__,
         "a source without read permission",
         [](Hostile& t) {
             t.write("secret.for", "      s = 1\n");
             t.giveToRunner("secret.for");
             ::chmod(t.path("secret.for").c_str(), 0200);
         },
         {"-o", "m.bas", "secret.for", "a.for"},
         1,
         "ftvb-convert: cannot read 'secret.for': Permission denied\n2 lines\n",
         "",
         0,
         "m.bas"},
        {__LINE__,
         "a module in a read-only folder",
         [](Hostile& t) {
             fs::create_directory(t.path("ro"));
             t.write("ro/m.bas", "previous module\r\n");
             t.giveToRunner("ro/m.bas");
             t.giveToRunner("ro");
             ::chmod(t.path("ro").c_str(), 0555);
         },
         {"-o", "ro/m.bas", "a.for"},
         2,
         "ftvb-convert: cannot write 'ro/m.bas': Permission denied\n"},
        {__LINE__,
         "a read-only module",
         [](Hostile& t) {
             t.write("m.bas", "previous module\r\n");
             t.giveToRunner("m.bas");
             ::chmod(t.path("m.bas").c_str(), 0444);
         },
         {"-o", "m.bas", "a.for"},
         2,
         "ftvb-convert: cannot write 'm.bas': Permission denied\n"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(caseLine(c));
        expectFailure(c, true);
    }
}

// ---- modules written directly ----------------------------------------------

TEST_F(Hostile, StreamsAndDevicesAreWrittenDirectly) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* module;
        int status;
        std::string err;
        bool fifo = false;
    };
    const Case cases[] = {
        {__LINE__, "-", 0, "2 lines\n"},
        {__LINE__, "/dev/null", 0, "2 lines\n"},
        {__LINE__, "/dev/full", 2, "ftvb-convert: cannot write '/dev/full': No space left on device\n"},
        {__LINE__, "pipe.bas", 0, "2 lines\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.module);
        TearDown();
        SetUp();
        write("a.for", kSmallSource);
        if (c.fifo) {
            ASSERT_EQ(::mkfifo(path(c.module).c_str(), 0600), 0);
        }
        const auto before = snapshot();

        std::string piped;
        std::thread reader;
        if (c.fifo) reader = std::thread([&] { piped = readFile(path(c.module)); });
        const Outcome o = run({{"-o", c.module, "a.for"}});
        if (reader.joinable()) reader.join();

        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.err, c.err);
        if (std::string(c.module) == "-") {
            EXPECT_EQ(o.out, kSmallModule);
        }
        if (c.fifo) {
            EXPECT_EQ(piped, kSmallModule);
            EXPECT_TRUE(fs::is_fifo(path(c.module))) << "the pipe was replaced";
        }
        EXPECT_TRUE(sameFiles(before, snapshot()));
        EXPECT_TRUE(temporaries().empty());
    }
}

// ---- interrupted runs --------------------------------------------------------

TEST_F(Hostile, InterruptedRunLeavesThePreviousModule) {
    // Long enough to be still converting when the signal comes, even
    // without sanitizers.
    write("big.for", repeated("      x = a(i) + b*c**2 .and. y .eq. z\n", 600000));
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(::strsignal(sig));
        write("m.bas", "previous module\r\n");
        const auto before = snapshot();

        const pid_t pid = start({{"-o", "m.bas", "big.for"}});
        ASSERT_TRUE(waitForTemporary()) << "the run never began writing";
        ::kill(pid, sig);
        const Outcome o = finish(pid, 60s);

        EXPECT_FALSE(o.timedOut);
        EXPECT_EQ(o.status, 130);
        EXPECT_EQ(o.err, "ftvb-convert: interrupted; 'm.bas' left as it was\n");
        EXPECT_TRUE(sameFiles(before, snapshot()));
        EXPECT_TRUE(temporaries().empty());
    }
}

// A run waiting for input or reading a line that never ends still stops at
// once when asked, and a FIFO whose open is interrupted is not taken for an
// unreadable file.
TEST_F(Hostile, InterruptedWhileWaitingForInput) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::vector<std::string> args;
        bool stdinPipe = false;
    };
    const Case cases[] = {
        {__LINE__, "standard input that stays open", {"-o", "m.bas", "-"}, true},
        {__LINE__, "a FIFO nobody writes to", {"-o", "m.bas", "fifo.for"}},
        {__LINE__, "a line without end (/dev/zero)", {"-o", "m.bas", "/dev/zero"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        ASSERT_EQ(::mkfifo(path("fifo.for").c_str(), 0600), 0);
        write("m.bas", "previous module\r\n");
        const auto before = snapshot();
        int fds[2] = {-1, -1};
        Launch launch{c.args};
        if (c.stdinPipe) {
            ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
            launch.stdinFd = fds[0];
        }
        const pid_t pid = start(launch);
        ASSERT_TRUE(waitForTemporary());
        std::this_thread::sleep_for(200ms);  // into the blocking read or open
        ::kill(pid, SIGINT);
        const Outcome o = finish(pid, 20s);
        if (fds[0] >= 0) {
            ::close(fds[0]);
            ::close(fds[1]);
        }
        EXPECT_FALSE(o.timedOut) << "SIGINT did not stop the run";
        EXPECT_EQ(o.status, 130);
        EXPECT_EQ(o.err, "ftvb-convert: interrupted; 'm.bas' left as it was\n");
        EXPECT_TRUE(sameFiles(before, snapshot()));
        EXPECT_TRUE(temporaries().empty());
    }
}

// A module that nobody reads blocks the writes, and a FIFO module that
// nobody has opened blocks the open: a signal still ends the run at once,
// with the usual message.
TEST_F(Hostile, InterruptedWhileTheModuleWaits) {
    write("big.for", repeated("      x = a(i) + b*c**2 .and. y .eq. z\n", 200000));
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        const char* module;
        int signal;
        enum { pipeNobodyReads, fifoWithoutReader, fifoNobodyReads } kind;
    };
    const Case cases[] = {
        {__LINE__, "standard output to a pipe nobody reads, SIGINT", "-", SIGINT, Case::pipeNobodyReads},
        {__LINE__, "standard output to a pipe nobody reads, SIGTERM", "-", SIGTERM, Case::pipeNobodyReads},
        {__LINE__, "a FIFO module with no reader yet, SIGINT", "fifo.bas", SIGINT, Case::fifoWithoutReader},
        {__LINE__, "a FIFO module nobody reads, SIGINT", "fifo.bas", SIGINT, Case::fifoNobodyReads},
        {__LINE__, "a FIFO module nobody reads, SIGTERM", "fifo.bas", SIGTERM, Case::fifoNobodyReads},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        fs::remove(path("fifo.bas"));
        ASSERT_EQ(::mkfifo(path("fifo.bas").c_str(), 0600), 0);
        Launch launch{{"-o", c.module, "big.for"}};
        int fds[2] = {-1, -1};
        int idleReader = -1;
        if (c.kind == Case::pipeNobodyReads) {
            ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
            launch.stdoutFd = fds[1];
        } else if (c.kind == Case::fifoNobodyReads) {
            idleReader = ::open(path("fifo.bas").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            ASSERT_GE(idleReader, 0);
        }
        const pid_t pid = start(launch);
        std::this_thread::sleep_for(500ms);  // into the blocked write or open
        ::kill(pid, c.signal);
        const Outcome o = finish(pid, 20s);
        for (const int fd : {fds[0], fds[1], idleReader}) {
            if (fd >= 0) ::close(fd);
        }
        EXPECT_FALSE(o.timedOut) << "the signal did not stop the run";
        EXPECT_EQ(o.status, 130);
        EXPECT_EQ(o.err, "ftvb-convert: interrupted; '" + std::string(c.module) + "' left as it was\n");
        EXPECT_TRUE(temporaries().empty());
    }
}

// ---- time and memory -------------------------------------------------------

// Inputs that once took time growing with the square of their size (or
// faster): the run tables scanned by every statement, and a statement whose
// colons all sit in one pair of parentheses. Each converts in about a second;
// the limit leaves room for sanitizer builds.
TEST_F(Hostile, HugeTablesAndStatementsConvertInLinearTime) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::string source;
    };
    std::string groups;
    for (int i = 0; i < 150000; ++i) groups += "      namelist /g" + std::to_string(i) + "/ a\n";
    const Case cases[] = {
        {__LINE__, "150,000 NAMELIST groups, then as many statements", groups + repeated("      x = 1\n", 150000)},
        {__LINE__, "300,000 DO loops waiting for their label, then as many labelled statements",
         repeated("      do 99999 i=1,n\n", 300000) + repeated("    1 x = 1\n", 300000)},
        {__LINE__, "100,000 colons in one pair of parentheses",
         "      x = a(" + std::string(60, ':') + "\n" + repeated("     &" + std::string(66, ':') + "\n", 1500) +
             "     &)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        write("a.for", c.source);
        const Outcome o = run({{"-q", "-o", "m.bas", "a.for"}}, 60s);
        EXPECT_FALSE(o.timedOut) << "not done after 60 s";
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_TRUE(wellFormed(readFile(path("m.bas"))));
    }
}

// A DATA statement that lends a 6.7 KB name to 16,500 values writes a
// 110 MB line: with room it is written, without it the run says so and
// keeps the previous module.
TEST_F(Hostile, LongDataStatementWithinAndBeyondMemory) {
    if (kAddressSanitizer) GTEST_SKIP() << "a memory limit does not work under AddressSanitizer";
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        rlim_t memoryLimit;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {__LINE__, "512 MB", rlim_t{512} << 20, 0, ""},
        {__LINE__, "64 MB", rlim_t{64} << 20, 2, "ftvb-convert: cannot write 'm.bas': out of memory\n"},
    };
    write("data.for", "      data " + std::string(61, 'a') + "\n" +
                          repeated("     &" + std::string(66, 'a') + "\n", 100) + "     &/" + repeated("1,", 32) +
                          "\n" + repeated("     &" + repeated("1,", 33) + "\n", 500) + "     &1/\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        write("m.bas", "previous module\r\n");
        Launch launch{{"-q", "-o", "m.bas", "data.for"}};
        launch.memoryLimit = c.memoryLimit;
        const Outcome o = run(launch, 120s);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.err, c.err);
        const std::string module = readFile(path("m.bas"));
        if (c.status == 0) {
            EXPECT_GT(module.size(), std::size_t{100} << 20);
            EXPECT_TRUE(wellFormed(module));
        } else {
            EXPECT_EQ(module, "previous module\r\n");
        }
        EXPECT_TRUE(temporaries().empty());
    }
}

// ---- two outputs, and the sources ------------------------------------------

// A statement the review names, and what it is made of.
const std::string kReadSource = "      read(5,*) x\n";
const std::string kReadModule = "'       \r\nread(5,*) x\r\n";

std::string readReview(const std::string& source, const std::string& module) {
    return source + ":1: note: READ statement passed through unchanged; rewrite it with BASIC file input and output " +
           "[io-unchanged] (" + module + ":2)\nreview: 1 io-unchanged\n";
}

const std::string kTryHelp = "Try 'ftvb-convert --help' for more information.\n";

std::function<void(Hostile&)> previousFiles(std::vector<const char*> names) {
    return [names](Hostile& t) {
        for (const char* name : names) t.write(name, std::string("previous ") + name + "\n");
    };
}

// The review may be neither the module nor a source, by any spelling, link
// or stream, before or after the file exists: each refusal leaves the folder
// as it was.
TEST_F(Hostile, TheReviewIsNeverTheModuleNorASource) {
    const std::string module = "ftvb-convert: cannot write the review to ";
    const FailureCase cases[] = {
        {__LINE__,
         "-o m.bas --review=./m.bas, no m.bas yet",
         nullptr,
         {"-o", "m.bas", "--review=./m.bas", "a.for"},
         2,
         module + "'./m.bas': it is also the module\n" + kTryHelp},
        {__LINE__,
         "-o ./m.bas --review=m.bas, no m.bas yet",
         nullptr,
         {"-o", "./m.bas", "--review=m.bas", "a.for"},
         2,
         module + "'m.bas': it is also the module\n" + kTryHelp},
        {__LINE__,
         "-o m.bas --review=$PWD/m.bas, no m.bas yet",
         nullptr,
         {"-o", "m.bas", "--review=@/m.bas", "a.for"},
         2,
         module + "'@/m.bas': it is also the module\n" + kTryHelp},
        {__LINE__,
         "-o sub/../m.bas --review=m.bas, no m.bas yet",
         makeFolder("sub"),
         {"-o", "sub/../m.bas", "--review=m.bas", "a.for"},
         2,
         module + "'m.bas': it is also the module\n" + kTryHelp},
        {__LINE__,
         "the review a hard link to the module",
         [](Hostile& t) {
             t.write("m.bas", "previous module\r\n");
             fs::create_hard_link(t.path("m.bas"), t.path("r.txt"));
         },
         {"-o", "m.bas", "--review=r.txt", "a.for"},
         2,
         module + "'r.txt': it is also the module\n" + kTryHelp},
        {__LINE__,
         "--review=s.for - < s.for",
         previousFiles({"s.for"}),
         {"-o", "m2.bas", "--review=s.for", "-"},
         2,
         module + "'s.for': it is also listed as a source ('-')\n" + kTryHelp,
         "s.for"},
        {__LINE__,
         "--review=/dev/stdin - < s.for",
         previousFiles({"s.for"}),
         {"-o", "m2.bas", "--review=/dev/stdin", "-"},
         2,
         module + "'/dev/stdin': it is also listed as a source ('-')\n" + kTryHelp,
         "s.for"},
        {__LINE__,
         "-o - --review=out.txt a.for > out.txt",
         previousFiles({"out.txt"}),
         {"-o", "-", "--review=out.txt", "a.for"},
         2,
         module + "'out.txt': the module goes to standard output already\n" + kTryHelp,
         "",
         0,
         "",
         "out.txt"},
        {__LINE__,
         "-o - --review=/dev/stdout a.for > out.txt",
         previousFiles({"out.txt"}),
         {"-o", "-", "--review=/dev/stdout", "a.for"},
         2,
         module + "'/dev/stdout': the module goes to standard output already\n" + kTryHelp,
         "",
         0,
         "",
         "out.txt"},
        {__LINE__,
         "-o m3.bas --review=- t.for >> t.for",
         previousFiles({"t.for"}),
         {"-o", "m3.bas", "--review=-", "t.for"},
         2,
         module + "'-': it is also listed as a source ('t.for')\n" + kTryHelp,
         "",
         0,
         "",
         "t.for"},
        {__LINE__,
         "-o - --review=- a.for",
         nullptr,
         {"-o", "-", "--review=-", "a.for"},
         2,
         module + "'-': the module goes to standard output already\n" + kTryHelp},
        {__LINE__,
         "module and review one FIFO under two names",
         [](Hostile& t) {
             ASSERT_EQ(::mkfifo(t.path("f.bas").c_str(), 0600), 0);
             fs::create_symlink("f.bas", t.path("alias.txt"));
         },
         {"-o", "f.bas", "--review=alias.txt", "a.for"},
         2,
         module + "'alias.txt': it is also the module\n" + kTryHelp},
        {__LINE__,
         "the review through a linked folder, no m.bas yet",
         [](Hostile& t) {
             fs::create_directory(t.path("real"));
             fs::create_directory_symlink("real", t.path("link"));
         },
         {"-o", "real/m.bas", "--review=link/m.bas", "a.for"},
         2,
         module + "'link/m.bas': it is also the module\n" + kTryHelp},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(caseLine(c));
        expectFailure(c, false);
    }
}

// -q -o - --review=/dev/stdout ... | reader: the review must not be mixed
// into the module stream.
TEST_F(Hostile, TheReviewIsNotMixedIntoAModulePipe) {
    write("a.for", kReadSource);
    const auto before = snapshot();
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    Launch launch{{"-q", "-o", "-", "--review=/dev/stdout", "a.for"}};
    launch.stdoutFd = fds[1];
    std::string piped;
    const pid_t pid = start(launch);
    ::close(fds[1]);
    std::thread reader([&] {
        char buffer[4096];
        for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) piped.append(buffer, n);
    });
    const Outcome o = finish(pid, 30s);
    reader.join();
    ::close(fds[0]);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err,
              "ftvb-convert: cannot write the review to '/dev/stdout': the module goes to standard output "
              "already\n" +
                  kTryHelp);
    EXPECT_EQ(piped, "");
    EXPECT_TRUE(sameFiles(before, snapshot()));
}

// --review with standard error appending to a source (2>>a.for): the list
// would be read back as the source grows. Refused without a word, since
// any word would go into the source; to another file, it is written.
TEST_F(Hostile, TheReviewOnStandardErrorIsNoSource) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        const char* stderrFile;
        int status;
    };
    const Case cases[] = {
        {__LINE__, "--review a.for 2>>a.for", "a.for", 2},
        {__LINE__, "--review a.for 2>>log.txt", "log.txt", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        write("a.for", kReadSource);
        write("log.txt", "");
        const auto before = snapshot();
        const int err = ::open(path(c.stderrFile).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        ASSERT_GE(err, 0);
        Launch launch{{"-q", "-o", "m.bas", "--review", "a.for"}};
        launch.stderrFd = err;
        const Outcome o = run(launch);
        ::close(err);
        EXPECT_EQ(o.status, c.status);
        Snapshot after = snapshot();
        if (c.status == 0) {
            EXPECT_EQ(after["m.bas"], kReadModule);
            EXPECT_EQ(after["log.txt"], readReview("a.for", "m.bas"));
            after.erase("m.bas");
            after.erase("log.txt");
            Snapshot kept = before;
            kept.erase("log.txt");
            EXPECT_TRUE(sameFiles(kept, after));
        } else {
            EXPECT_TRUE(sameFiles(before, after));
        }
        EXPECT_TRUE(temporaries().empty());
    }
}

// Standard input counts only for a source "-": with it, an output may be
// the file standard input comes from when that is no source.
TEST_F(Hostile, StandardInputIsNoOutput) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::vector<std::string> args;
        std::string stdinFile;
        std::string out;                          // standard output
        std::map<std::string, std::string> new_;  // files the run writes
    };
    const Case cases[] = {
        {__LINE__,
         "--review=- a.for < a.for",
         {"-q", "-o", "m5.bas", "--review=-", "a.for"},
         "a.for",
         readReview("a.for", "m5.bas"),
         {{"m5.bas", kReadModule}}},
        {__LINE__,
         "--review=x -o - a.for < x",
         {"-q", "--review=x", "-o", "-", "a.for"},
         "x",
         kReadModule,
         {{"x", readReview("a.for", "-")}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        write("a.for", kReadSource);
        write("x", "previous x\n");
        const auto before = snapshot();
        Launch launch{c.args};
        launch.stdinPath = path(c.stdinFile);
        const Outcome o = run(launch);
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(o.out, c.out);
        Snapshot after = snapshot();
        for (const auto& [name, bytes] : c.new_) {
            EXPECT_EQ(after[name], bytes) << name;
            after.erase(name);
        }
        Snapshot kept = before;
        for (const auto& entry : c.new_) kept.erase(entry.first);
        EXPECT_TRUE(sameFiles(kept, after));
        EXPECT_TRUE(temporaries().empty());
    }
}

// A reader that leaves (| head -0): the write fails with EPIPE, said like
// any failure, with exit 2 and no temporary file; the run is never killed
// by SIGPIPE. A review cut short still lets the module be written.
TEST_F(Hostile, AReaderThatLeavesIsABrokenPipe) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::vector<std::string> args;
        enum { toStdout, toStderr, stderrClosed } where;
        std::string err;                          // when standard error is captured
        std::map<std::string, std::string> new_;  // files the run writes
    };
    const std::string big = repeated(kReadSource, 3000);  // more than a pipe holds
    const Case cases[] = {
        {__LINE__,
         "--review=- -o m4.bas a.for | head -0",
         {"-q", "--review=-", "-o", "m4.bas", "a.for"},
         Case::toStdout,
         "ftvb-convert: cannot write '-': Broken pipe\n",
         {{"m4.bas", kReadModule}}},
        {__LINE__,
         "-o - --review=r6.txt big.for | head -0",
         {"-q", "--review=r6.txt", "-o", "-", "big.for"},
         Case::toStdout,
         "ftvb-convert: cannot write '-': Broken pipe\n",
         {}},
        {__LINE__,
         "--review -o m7.bas big.for 2>&1 | head -0",
         {"-q", "--review", "-o", "m7.bas", "big.for"},
         Case::toStderr,
         "",
         {}},
        {__LINE__,
         "--review -o m8.bas a.for 2>&-",
         {"-q", "--review", "-o", "m8.bas", "a.for"},
         Case::stderrClosed,
         "",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        write("a.for", kReadSource);
        write("big.for", big);
        const auto before = snapshot();
        int fds[2];
        ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        ::close(fds[0]);
        Launch launch{c.args};
        if (c.where == Case::toStdout) launch.stdoutFd = fds[1];
        if (c.where == Case::toStderr) launch.stderrFd = fds[1];
        launch.closeStderr = c.where == Case::stderrClosed;
        const pid_t pid = start(launch);
        ::close(fds[1]);
        const Outcome o = finish(pid, 60s);
        EXPECT_EQ(o.status, 2) << "141 is SIGPIPE";
        if (c.where == Case::toStdout) {
            EXPECT_EQ(o.err, c.err);
        }
        Snapshot after = snapshot();
        Snapshot kept = before;
        for (const auto& [name, bytes] : c.new_) {
            if (name == "m4.bas") {
                EXPECT_EQ(after[name], bytes);
            }
            after.erase(name);
        }
        // m7.bas: the list broke, the module is still complete.
        if (c.where == Case::toStderr) {
            EXPECT_EQ(after["m7.bas"], "'       \r\n" + repeated("read(5,*) x\r\n", 3000));
            after.erase("m7.bas");
        }
        EXPECT_TRUE(sameFiles(kept, after));
        EXPECT_TRUE(temporaries().empty());
    }
}

// The module's folder renamed while the run goes on: the module cannot be
// put where it was asked for, and the temporary files go from the folder
// where it now is.
TEST_F(Hostile, AFolderMovedDuringTheRunKeepsNoTemporaryFile) {
    write("a.for", kReadSource);
    fs::create_directory(path("sub"));
    ASSERT_EQ(::mkfifo(path("later.for").c_str(), 0600), 0);
    const auto before = snapshot();
    const pid_t pid = start({{"-q", "-o", "sub/m.bas", "--review=sub/r.txt", "a.for", "later.for"}});
    ASSERT_TRUE(waitForTemporary());
    std::this_thread::sleep_for(100ms);  // both temporary files made, the FIFO's open waiting
    fs::rename(path("sub"), path("moved"));
    {
        std::ofstream feed(path("later.for"), std::ios::binary);
        feed << kReadSource;
    }
    const Outcome o = finish(pid, 30s);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "ftvb-convert: cannot write 'sub/m.bas': No such file or directory\n");
    EXPECT_TRUE(sameFiles(before, snapshot()));
    EXPECT_TRUE(temporaries().empty()) << temporaries().front();
}

// ulimit -s 76 on a six-line file: nothing big lives on the stack.
TEST_F(Hostile, ASmallStackIsEnough) {
    if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer's own frames need a larger stack";
    write("a.for", repeated(kReadSource, 6));
    for (const rlim_t kib : {76, 40}) {
        SCOPED_TRACE(std::to_string(kib) + " KiB");
        fs::remove(path("m.bas"));
        fs::remove(path("r.txt"));
        Launch launch{{"-q", "-o", "m.bas", "--review=r.txt", "a.for"}};
        launch.stackLimit = kib << 10;
        const Outcome o = run(launch, 30s);
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_TRUE(wellFormed(readFile(path("m.bas"))));
        EXPECT_EQ(readFile(path("r.txt")).substr(readFile(path("r.txt")).rfind("review:")), "review: 6 io-unchanged\n");
        EXPECT_TRUE(temporaries().empty());
    }
}

// An interrupt while waiting for any output, the review's included, ends
// like every other: 130, the interrupted message, the module as it was.
TEST_F(Hostile, InterruptedWhileTheReviewWaits) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::vector<std::string> args;
        int signal;
        enum { fifoWithoutReader, fifoNobodyReads, stdoutNobodyReads, stderrNobodyReads } kind;
    };
    const Case cases[] = {
        {__LINE__,
         "--review=FIFO with no reader yet, SIGINT",
         {"-o", "m.bas", "--review=r.fifo", "a.for"},
         SIGINT,
         Case::fifoWithoutReader},
        {__LINE__,
         "--review=FIFO with no reader yet, SIGTERM",
         {"-o", "m.bas", "--review=r.fifo", "a.for"},
         SIGTERM,
         Case::fifoWithoutReader},
        {__LINE__,
         "--review=FIFO nobody reads, SIGINT",
         {"-o", "m.bas", "--review=r.fifo", "big.for"},
         SIGINT,
         Case::fifoNobodyReads},
        {__LINE__,
         "a small review to a FIFO nobody reads, SIGINT",
         {"-o", "m.bas", "--review=r.fifo", "few.for"},
         SIGINT,
         Case::fifoNobodyReads},
        {__LINE__,
         "--review=- into a pipe nobody reads, SIGTERM",
         {"-o", "m.bas", "--review=-", "big.for"},
         SIGTERM,
         Case::stdoutNobodyReads},
        {__LINE__,
         "--review with standard error a pipe nobody reads, SIGINT",
         {"-o", "m.bas", "--review", "big.for"},
         SIGINT,
         Case::stderrNobodyReads},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        write("a.for", kReadSource);
        write("few.for", repeated(kReadSource, 1000));  // a list of 110 KB, written at the end
        write("big.for", repeated(kReadSource, 20000));
        write("m.bas", "previous module\r\n");
        ASSERT_EQ(::mkfifo(path("r.fifo").c_str(), 0600), 0);
        const auto before = snapshot();
        int idleReader = -1;
        int fds[2] = {-1, -1};
        Launch launch{c.args};
        if (c.kind == Case::fifoNobodyReads) {
            idleReader = ::open(path("r.fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            ASSERT_GE(idleReader, 0);
        } else if (c.kind != Case::fifoWithoutReader) {
            ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
            (c.kind == Case::stdoutNobodyReads ? launch.stdoutFd : launch.stderrFd) = fds[1];
        }
        const pid_t pid = start(launch);
        std::this_thread::sleep_for(500ms);  // into the blocked open or write
        ::kill(pid, c.signal);
        const Outcome o = finish(pid, 20s);
        for (const int fd : {fds[0], fds[1], idleReader}) {
            if (fd >= 0) ::close(fd);
        }
        EXPECT_FALSE(o.timedOut) << "the signal did not stop the run";
        EXPECT_EQ(o.status, 130);
        if (c.kind != Case::stderrNobodyReads) {
            EXPECT_EQ(o.err, "ftvb-convert: interrupted; 'm.bas' left as it was\n");
        }
        EXPECT_TRUE(sameFiles(before, snapshot()));
        EXPECT_TRUE(temporaries().empty());
    }
}

// File names reach the terminal and the review with their control
// characters escaped; the files keep their names.
TEST_F(Hostile, NamesAreShownWithControlCharactersEscaped) {
    struct Case {
        int line;          // where the case is written, for the failure to name
        const char* name;  // on disk
        const char* shown;
    };
    const Case cases[] = {
        {__LINE__, "x\033[31mRED\nfake", "x\\033[31mRED\\nfake"},
        {__LINE__, "bell\a.for", "bell\\a.for"},
        {__LINE__, "cr\rtab\t.for", "cr\\rtab\\t.for"},
        {__LINE__, "del\x7f.for", "del\\177.for"},
        {__LINE__, "back\\slash.for", "back\\\\slash.for"},
        {__LINE__, "\xC3\xA9t\xC3\xA9.for", "\xC3\xA9t\xC3\xA9.for"},  // UTF-8 kept
        {__LINE__, "latin\xE9.for", "latin\\351.for"},                 // not UTF-8
        {__LINE__,
         "csi\xC2\x9B"
         "2J.for",
         "csi\\302\\2332J.for"},  // a C1 control in UTF-8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.shown);
        TearDown();
        SetUp();
        write(c.name, kReadSource);
        const std::string module = std::string(c.name) + ".bas";
        const std::string shownModule = std::string(c.shown) + ".bas";
        const auto before = snapshot();

        const Outcome missing = run({{"-o", module, std::string(c.name) + "x"}});
        EXPECT_EQ(missing.status, 1);
        EXPECT_EQ(missing.err, "ftvb-convert: cannot read '" + std::string(c.shown) +
                                   "x': No such file or directory\nftvb-convert: no file could be read; '" +
                                   shownModule + "' left as it was\n");

        const Outcome listed = run({{"-q", "-o", module, "--review", c.name}});
        EXPECT_EQ(listed.status, 0) << listed.err;
        EXPECT_EQ(listed.err, readReview(c.shown, shownModule));
        Snapshot after = snapshot();
        EXPECT_EQ(after[module], kReadModule) << "the module is written under its own name";
        after.erase(module);
        EXPECT_TRUE(sameFiles(before, after));

        const Outcome clash = run({{"-o", module, "--review=./" + module, c.name}});
        EXPECT_EQ(clash.err, "ftvb-convert: cannot write the review to './" + shownModule +
                                 "': it is also the module\n" + kTryHelp);
    }
    const Outcome option = run({{"--\033]0;title\a"}});
    EXPECT_EQ(option.err, "ftvb-convert: unknown option '--\\033]0;title\\a'\n" + kTryHelp);
}

// The review to standard error goes out as the run goes, as a review file
// does, and is the same list.
TEST_F(Hostile, TheReviewOnStandardErrorIsWrittenAsTheRunGoes) {
    write("many.for", repeated(kReadSource, 30000));  // 3 MB of entries
    ASSERT_EQ(::mkfifo(path("later.for").c_str(), 0600), 0);
    const pid_t pid = start({{"-q", "-o", "m.bas", "--review", "many.for", "later.for"}});
    // The run waits on the FIFO: by then the full blocks of the list are out.
    const auto deadline = Clock::now() + 20s;
    std::uintmax_t shown = 0;
    while (Clock::now() < deadline && shown < (std::uintmax_t{2} << 20)) {
        std::this_thread::sleep_for(10ms);
        std::error_code notYet;  // the program may not have begun
        const std::uintmax_t size = fs::file_size(scratch_ / "err", notYet);
        if (!notYet) shown = size;
    }
    EXPECT_GE(shown, std::uintmax_t{2} << 20) << "the list is held until the end";
    { std::ofstream(path("later.for"), std::ios::binary) << kReadSource; }
    const Outcome o = finish(pid, 60s);
    EXPECT_EQ(o.status, 0);
    write("a.for", kReadSource);
    const Outcome again = run({{"-q", "-o", "m.bas", "--review=r.txt", "many.for", "a.for"}});
    ASSERT_EQ(again.status, 0) << again.err;
    std::string review = readFile(path("r.txt"));
    // The same entries, but for the second file's name.
    const std::string other = "a.for:1:";
    for (std::size_t at = review.find(other); at != std::string::npos; at = review.find(other, at)) {
        review.replace(at, other.size(), "later.for:1:");
    }
    EXPECT_TRUE(sameBytes(o.err, review));
}

}  // namespace
