// ftvb-convert.exe as a Windows user runs it: binary standard streams,
// Unicode arguments and messages, a module another program holds, devices.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/windows/resources.h"
#include "engine/wide_names.h"
#include "ftvb/version.h"
#include "tests/support/case_line.h"
#include "tests/support/program.h"
#include "tests/support/temp_folder.h"

namespace ftvb::testing {
namespace {

namespace fs = std::filesystem;

fs::path fsPath(const std::string& utf8) {
    std::wstring w;
    wideFromUtf8(utf8, w);
    return fs::path(w);
}

class ConvertExe : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(dir_ / fsPath(name), std::ios::binary) << content;
        return (dir_ / fsPath(name)).string();
    }

    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / fsPath(name), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(utf8FromWide(e.path().filename().wstring()));
        std::sort(names.begin(), names.end());
        return names;
    }

    ProgramOutcome run(std::vector<std::string> args, const std::string& input = "") {
        return runProgram(
            {fs::absolute(FTVB_CONVERT), std::move(args), dir_, input.empty() ? fs::path() : dir_ / input});
    }

    const TempFolder dir_{"ftvb-exe"};
};

// Every byte as the Linux build writes it: no CR added before an LF, no
// Ctrl-Z taken for the end of the input, nothing translated.
TEST_F(ConvertExe, StandardStreamsCarryBytesUnchanged) {
    const std::string source = std::string("      s = '\xE9\x80\x1A'\r\n      x = 1\n") + "c \x1A end?\n      y = 2";
    // A comment keeps its 72 columns, "c" turned into "'".
    const std::string module = std::string("'       \r\ns = \"\xE9\x80\x1A\"\r\nx = 1\r\n' \x1A end?") +
                               std::string(64, ' ') + "\r\ny = 2\r\n";
    write("a.for", source);
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::vector<std::string> args;
        const char* input;
    } cases[] = {
        {__LINE__, "file to standard output", {"-q", "-o", "-", "a.for"}, ""},
        {__LINE__, "standard input to standard output", {"-q", "-o", "-", "-"}, "a.for"},
        {__LINE__, "standard input to a file", {"-q", "-o", "m.bas", "-"}, "a.for"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        fs::remove(dir_ / "m.bas");
        const ProgramOutcome o = run(c.args, c.input);
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(c.args[2] == "-" ? o.out : read("m.bas"), module);
    }
}

TEST_F(ConvertExe, UnicodeNamesInArgumentsAndMessages) {
    const std::string source = "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.for";  // "été 日本.for"
    const std::string module = "r\xC3\xA9sultat.bas";
    write(source, "      x = 1\n");
    const ProgramOutcome o = run({"-o", module, "na\xC3\xAFve.for", source});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err.rfind("ftvb-convert: cannot read 'na\xC3\xAFve.for': ", 0), 0u) << o.err;
    EXPECT_NE(o.err.find("\n1 lines\n"), std::string::npos) << o.err;
    EXPECT_EQ(read(module), "'       \r\nx = 1\r\n");
}

// The VB editor or Excel holding the module: reported with the system's
// reason and status 2, the module untouched, no temporary file.
TEST_F(ConvertExe, ModuleHeldByAnotherProgram) {
    write("a.for", "      x = 1\n");
    write("m.bas", "finished by hand\r\n");
    const HANDLE held = ::CreateFileW((dir_ / "m.bas").wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ProgramOutcome o = run({"-o", "m.bas", "a.for"});
    ::CloseHandle(held);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err.rfind("ftvb-convert: cannot write 'm.bas': ", 0), 0u) << o.err;
    EXPECT_GT(o.err.size(), std::string("ftvb-convert: cannot write 'm.bas': \n").size()) << "no reason given";
    EXPECT_EQ(read("m.bas"), "finished by hand\r\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.for", "m.bas"}));
}

// Standard input or output connected to the module or to a source by the
// shell: refused before anything is read or written.
TEST_F(ConvertExe, StandardStreamsThatAreTheModuleOrASource) {
    write("a.for", "      x = 1\n");
    write("m.bas", "finished by hand\r\n");
    ProgramOutcome o = run({"-o", "m.bas", "-"}, "m.bas");
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "ftvb-convert: cannot write 'm.bas': it is also listed as a source ('-')\n");
    EXPECT_EQ(read("m.bas"), "finished by hand\r\n");

    ProgramRun appending{fs::absolute(FTVB_CONVERT), {"-o", "-", "a.for"}, dir_};
    appending.output = dir_ / "a.for";
    o = runProgram(appending);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "ftvb-convert: cannot write '-': it is also listed as a source ('a.for')\n");
    EXPECT_EQ(read("a.for"), "      x = 1\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.for", "m.bas"}));
}

// The review may be neither the module nor a source, by any spelling
// (case, ".\", "sub\..", the full path), link or stream, before or after
// the file exists; the folder is left as it was.
TEST_F(ConvertExe, TheReviewIsNeverTheModuleNorASource) {
    const std::string refused = "ftvb-convert: cannot write the review to ";
    const std::string tryHelp = "Try 'ftvb-convert --help' for more information.\n";
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::vector<std::string> args;
        const char* input;   // standard input, a file of the folder
        const char* output;  // standard output appends to this file of the folder
        std::string err;
    } cases[] = {
        {__LINE__,
         "no m.bas yet, .\\m.bas",
         {"-o", "m.bas", "--review=.\\m.bas", "a.for"},
         "",
         "",
         refused + "'.\\m.bas': it is also the module\n" + tryHelp},
        {__LINE__,
         "no m.bas yet, M.BAS",
         {"-o", "m.bas", "--review=M.BAS", "a.for"},
         "",
         "",
         refused + "'M.BAS': it is also the module\n" + tryHelp},
        {__LINE__,
         "no m.bas yet, sub\\..\\m.bas",
         {"-o", "sub\\..\\m.bas", "--review=m.bas", "a.for"},
         "",
         "",
         refused + "'m.bas': it is also the module\n" + tryHelp},
        {__LINE__,
         "--review=s.for - < s.for",
         {"-o", "m2.bas", "--review=s.for", "-"},
         "s.for",
         "",
         refused + "'s.for': it is also listed as a source ('-')\n" + tryHelp},
        {__LINE__,
         "-o - --review=out.txt a.for >> out.txt",
         {"-o", "-", "--review=out.txt", "a.for"},
         "",
         "out.txt",
         refused + "'out.txt': the module goes to standard output already\n" + tryHelp},
        {__LINE__,
         "--review=- t.for >> t.for",
         {"-o", "m3.bas", "--review=-", "t.for"},
         "",
         "t.for",
         refused + "'-': it is also listed as a source ('t.for')\n" + tryHelp},
    };
    write("a.for", "      read(5,*) x\n");
    write("s.for", "      read(5,*) s\n");
    write("t.for", "      read(5,*) t\n");
    write("out.txt", "previous\n");
    fs::create_directory(dir_ / "sub");
    const auto contents = [this] {
        std::vector<std::string> all;
        for (const std::string& name : entries()) all.push_back(name + "=" + read(name));
        return all;
    };
    const std::vector<std::string> before = contents();
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.name);
        ProgramRun launch{fs::absolute(FTVB_CONVERT), c.args, dir_, *c.input ? dir_ / c.input : fs::path()};
        if (*c.output) launch.output = dir_ / c.output;
        const ProgramOutcome o = runProgram(launch);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.err, c.err);
        EXPECT_EQ(contents(), before);
    }
}

// Standard input is an output's clash only for a source "-"; and names
// show their control characters escaped, backslashes as they are.
TEST_F(ConvertExe, StandardInputIsNoOutputAndNamesAreEscaped) {
    write("a.for", "      read(5,*) x\n");
    const ProgramOutcome o = run({"-q", "-o", "m5.bas", "--review=-", "a.for"}, "a.for");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out,
              "a.for:1: note: READ statement passed through unchanged; rewrite it with BASIC file input and "
              "output [io-unchanged] (m5.bas:2)\nreview: 1 io-unchanged\n");
    EXPECT_EQ(read("m5.bas"), "'       \r\nread(5,*) x\r\n");

    const ProgramOutcome named = run({"-o", "m6.bas", "sub\\x\x1b[31mRED\nfake", "a.for"});
    EXPECT_EQ(named.status, 1);
    EXPECT_EQ(named.err.rfind("ftvb-convert: cannot read 'sub\\x\\033[31mRED\\nfake': ", 0), 0u) << named.err;
}

// A DATA statement lending a long name to 16,500 values makes a 110 MB
// line: within a job's 64 MB the run says it is out of memory and keeps the
// previous module.
TEST_F(ConvertExe, OutOfMemoryKeepsTheModule) {
    std::string data = "      data " + std::string(61, 'a') + "\n";
    for (int i = 0; i < 100; ++i) data += "     &" + std::string(66, 'a') + "\n";
    data += "     &/";
    for (int i = 0; i < 32; ++i) data += "1,";
    data += "\n";
    for (int i = 0; i < 500; ++i) {
        data += "     &";
        for (int k = 0; k < 33; ++k) data += "1,";
        data += "\n";
    }
    data += "     &1/\n";
    write("data.for", data);
    write("m.bas", "previous module\r\n");
    // Wine accepts a job's memory limit without enforcing it, and without
    // one this run takes minutes: a program that cannot even start in
    // 256 KB says whether the limit holds.
    ProgramRun probe{fs::absolute(FTVB_CONVERT), {"--version"}, dir_};
    probe.memoryLimit = std::size_t{256} << 10;
    if (runProgram(probe).status == 0) {
        GTEST_SKIP() << "a job's memory limit is not enforced here (Wine): out of memory not tested";
    }
    ProgramRun limited{fs::absolute(FTVB_CONVERT), {"-q", "-o", "m.bas", "data.for"}, dir_};
    limited.memoryLimit = std::size_t{64} << 20;
    const ProgramOutcome o = runProgram(limited);
    ASSERT_TRUE(o.memoryLimitHeld);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "ftvb-convert: cannot write 'm.bas': out of memory\n");
    EXPECT_EQ(read("m.bas"), "previous module\r\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"data.for", "m.bas"}));
}

// cmd.exe and PowerShell hand "*.for" to the program as it is: the program
// finds the files, in name order whatever the letter case, folders and
// 8.3 look-alikes left out. The module's name is never a pattern.
TEST_F(ConvertExe, WildcardsInFileArguments) {
    write("b.for", "      b = 1\n");
    write("A.for", "      a = 1\n");
    write("c2.FOR", "      c = 1\n");
    write("notes.fortran", "      n = 1\n");
    fs::create_directory(dir_ / "folder.for");
    write("folder.for/d.for", "      d = 1\n");
    const ProgramOutcome o = run({"-o", "m*.bas", "*.for"});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err.rfind("ftvb-convert: cannot write 'm*.bas': ", 0), 0u) << o.err;
    const ProgramOutcome files = run({"-o", "m.bas", "*.for", "folder.for\\?.for", "z*.for"});
    EXPECT_EQ(files.status, 1);
    EXPECT_EQ(files.err, "ftvb-convert: no file matches 'z*.for'\n4 lines\n");
    EXPECT_EQ(read("m.bas"), "'       \r\na = 1\r\n'       \r\nb = 1\r\n'       \r\nc = 1\r\n'       \r\nd = 1\r\n");
}

// What a user mistypes: a pattern that matches nothing, a folder given as
// a source. Each is said in words that fit, the folder in Windows' own.
TEST_F(ConvertExe, APatternThatMatchesNothingAndAFolderAreSaidAsSuch) {
    write("m.bas", "finished by hand\r\n");
    fs::create_directory(dir_ / "src");
    struct Case {
        int line;  // where the case is written, for the failure to name
        std::vector<std::string> args;
        const char* err;
    };
    const Case cases[] = {
        {__LINE__,
         {"-o", "m.bas", "*.zzz"},
         "ftvb-convert: no file matches '*.zzz'\nftvb-convert: no file could be read; 'm.bas' left as it was\n"},
        {__LINE__,
         {"-o", "m.bas", "src\\?.f"},
         "ftvb-convert: no file matches 'src\\?.f'\nftvb-convert: no file could be read; 'm.bas' left as it was\n"},
        {__LINE__,
         {"-o", "m.bas", "src"},
         "ftvb-convert: cannot read 'src': An operation is not supported on a directory.\n"
         "ftvb-convert: no file could be read; 'm.bas' left as it was\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        const ProgramOutcome o = run(c.args);
        EXPECT_EQ(o.status, 1) << c.args.back();
        EXPECT_EQ(o.err, c.err) << c.args.back();
        EXPECT_EQ(read("m.bas"), "finished by hand\r\n");
    }
}

// A full disk: Windows gives no way to fill one for a test, but Wine shows
// Linux's /dev/full as Z:\dev\full, a device that is always full.
TEST_F(ConvertExe, FullDevice) {
    const std::wstring full = L"Z:\\dev\\full";
    const HANDLE device = ::CreateFileW(full.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "no full device here (only Wine has one): a full disk not tested";
    ::CloseHandle(device);
    write("a.for", "      x = 1\n");
    const ProgramOutcome o = run({"-o", utf8FromWide(full), "a.for"});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err.rfind("ftvb-convert: cannot write 'Z:\\dev\\full': ", 0), 0u) << o.err;
    for (const char* option : {"--help", "--version"}) {
        ProgramRun printing{fs::absolute(FTVB_CONVERT), {option}, dir_};
        printing.output = full;
        const ProgramOutcome p = runProgram(printing);
        EXPECT_EQ(p.status, 2) << option;
        EXPECT_EQ(p.err.rfind("ftvb-convert: cannot write standard output: ", 0), 0u) << p.err;
    }
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.for"}));
}

TEST_F(ConvertExe, DevicesAreWrittenDirectly) {
    write("a.for", "      x = 1\n");
    for (const char* device : {"NUL", "nul", "\\\\.\\NUL"}) {
        const ProgramOutcome o = run({"-o", device, "a.for"});
        EXPECT_EQ(o.status, 0) << device << ": " << o.err;
        EXPECT_EQ(o.err, "1 lines\n");
        EXPECT_EQ(entries(), (std::vector<std::string>{"a.for"}));
    }
    // The console exists only when there is one; Wine gives a program
    // started from a test none.
    const ProgramOutcome con = run({"-q", "-o", "CON", "a.for"});
    if (con.status != 0)
        std::cout << "[ SKIPPED  ] CON: no console here (" << con.err.substr(0, con.err.size() - 1) << ")\n";
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.for"}));
}

// What Explorer and Windows read from the program file: its version (the
// one of project()), its icon, and a manifest asking for common controls 6,
// per-monitor DPI awareness and long paths, and not for the UTF-8 code page
// (the engine works on bytes).
TEST_F(ConvertExe, VersionIconAndManifest) {
    const std::wstring exe = fs::absolute(FTVB_CONVERT).wstring();
    DWORD ignored = 0;
    std::vector<char> info(::GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    for (const wchar_t* field : {L"ProductVersion", L"FileVersion"}) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + field;
        ASSERT_TRUE(::VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length));
        EXPECT_EQ(utf8FromWide(std::wstring(value, length > 0 ? length - 1 : 0)), kVersionText);
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(kVersionMajor << 16 | kVersionMinor));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(kVersionRevision << 16));

    const HMODULE image = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(::FindResourceW(image, MAKEINTRESOURCEW(FTVB_ICON), RT_GROUP_ICON), nullptr);
    const HRSRC found = ::FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(image, found))),
                               ::SizeofResource(image, found));
    ::FreeLibrary(image);
    for (const char* wanted : {"Microsoft.Windows.Common-Controls", "PerMonitorV2", "<longPathAware", "asInvoker"}) {
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    }
    EXPECT_EQ(manifest.find("<activeCodePage"), std::string::npos);
}

}  // namespace
}  // namespace ftvb::testing
