// The Windows file side through the run: what files.h promises, the way
// Windows can break it (another spelling, case, an 8.3 name, a hard link,
// a program holding the module, devices, long and Unicode names).
#include "engine/files.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/run.h"
#include "engine/wide_names.h"
#include "tests/support/capture.h"
#include "tests/support/case_line.h"
#include "tests/support/temp_folder.h"

namespace ftvb::testing {
namespace {

namespace fs = std::filesystem;

std::wstring wide(const std::string& utf8) {
    std::wstring w;
    wideFromUtf8(utf8, w);
    return w;
}

// The run sees names as UTF-8; std::filesystem sees them as UTF-16.
fs::path fsPath(const std::string& utf8) { return fs::path(wide(utf8)); }

std::string lines(std::initializer_list<const char*> ls) {
    std::string s;
    for (const char* l : ls) s += std::string(l) + "\r\n";
    return s;
}

// The wide API with "\\?\" paths, since std::filesystem stops at MAX_PATH
// here.
std::wstring longForm(const std::string& utf8) {
    const std::wstring w = wide(utf8);
    return w.rfind(L"\\\\?\\", 0) == 0 ? w : L"\\\\?\\" + w;
}

// The names in a folder, as UTF-8, sorted; folders end with "\\".
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((longForm(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        names.push_back(utf8FromWide(name) + (folder ? "\\" : ""));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void removeTree(const std::string& folder) {
    for (const std::string& name : namesIn(folder)) {
        const std::string path = folder + "\\" + name;
        if (name.back() == '\\') {
            removeTree(path.substr(0, path.size() - 1));
        } else {
            ::SetFileAttributesW(longForm(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(longForm(path).c_str());
        }
    }
    ::RemoveDirectoryW(longForm(folder).c_str());
}

const std::string kSource = "      x = 1\n";
const std::string kModule = lines({"'       ", "x = 1"});

class FilesWin32 : public ::testing::Test {
protected:
    void SetUp() override { dir_ = makeTempFolder("ftvb-win32"); }
    void TearDown() override { removeTree(utf8FromWide(dir_.wstring())); }

    // UTF-8, as the run takes names.
    std::string path(const std::string& name) const { return utf8FromWide((dir_ / fsPath(name)).wstring()); }

    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(fsPath(path(name)), std::ios::binary) << content;
        return path(name);
    }

    static std::string read(const std::string& name) {
        std::ifstream in(fsPath(name), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    RunResult run(const std::string& module, std::vector<std::string> files) {
        NameList list(std::move(files));
        return runConversion(module, list, observer_);
    }

    std::vector<std::string> entries() const { return namesIn(utf8FromWide(dir_.wstring())); }

    fs::path dir_;
    ObserverCapture observer_;
};

TEST_F(FilesWin32, ReplacesTheModuleKeepingItsAttributes) {
    const std::string module = write("m.bas", "old\r\n");
    ASSERT_TRUE(::SetFileAttributesW(wide(module).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const RunResult r = run(module, {write("a.for", kSource)});
    ASSERT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
    EXPECT_EQ(read(module), kModule);
    EXPECT_NE(::GetFileAttributesW(wide(module).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "ReplaceFileW keeps them";
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.for", "m.bas"}));
}

// The same file by another spelling, letter case, 8.3 name or hard link is
// refused before anything is written, either way round.
TEST_F(FilesWin32, ModuleListedUnderAnotherNameIsRefused) {
    const std::string module = write("a long module name.bas", "precious\r\n");
    const std::string source = write("a.for", kSource);
    ASSERT_TRUE(::CreateHardLinkW(wide(path("hard.for")).c_str(), wide(module).c_str(), nullptr))
        << "error " << ::GetLastError();
    wchar_t shortName[MAX_PATH] = {};
    const DWORD shortLength = ::GetShortPathNameW(wide(module).c_str(), shortName, MAX_PATH);
    std::vector<std::pair<std::string, std::string>> cases = {
        {module, path("A LONG MODULE NAME.BAS")},
        {module, dir_.string() + "\\.\\sub\\..\\a long module name.bas"},
        {module, utf8FromWide(dir_.wstring()) + "/a long module name.bas"},
        {module, path("hard.for")},
        {path("hard.for"), module},
    };
    if (shortLength > 0 && shortLength < MAX_PATH &&
        fs::path(shortName).filename() != fsPath("a long module name.bas")) {
        cases.push_back({module, utf8FromWide(shortName)});
        cases.push_back({utf8FromWide(shortName), module});
    } else {
        std::cout << "[ SKIPPED  ] 8.3 names: this volume gives none (" << utf8FromWide(shortName) << ")\n";
    }
    fs::create_directory(dir_ / "sub");
    for (const auto& [target, listed] : cases) {
        SCOPED_TRACE(target + " listed as " + listed);
        const RunResult r = run(target, {source, listed});
        EXPECT_FALSE(r.moduleWritten);
        EXPECT_EQ(r.moduleFailure.reason, Reason::sourceIsModule) << describe(r.moduleFailure);
        EXPECT_EQ(r.moduleFailure.other, listed);
        EXPECT_EQ(r.lines, 0);
        EXPECT_EQ(read(module), "precious\r\n");
    }
    EXPECT_EQ(entries(), (std::vector<std::string>{"a long module name.bas", "a.for", "hard.for", "sub\\"}));
}

// The VB editor or Excel often hold the module open: the run says so with
// the system's words and leaves it as it was, before reading anything.
TEST_F(FilesWin32, ModuleHeldByAnotherProgramIsKept) {
    const std::string module = write("m.bas", "finished by hand\r\n");
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
        SCOPED_TRACE(share);
        const HANDLE held =
            ::CreateFileW(wide(module).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        observer_.counts.clear();
        const RunResult r = run(module, {write("a.for", kSource)});
        ::CloseHandle(held);
        EXPECT_FALSE(r.moduleWritten);
        EXPECT_EQ(r.moduleFailure.reason, Reason::inUse) << describe(r.moduleFailure);
        EXPECT_EQ(r.moduleFailure.code, ERROR_SHARING_VIOLATION);
        EXPECT_FALSE(describe(r.moduleFailure).empty());
        EXPECT_TRUE(observer_.counts.empty()) << "nothing is read";
        EXPECT_EQ(read(module), "finished by hand\r\n");
        EXPECT_EQ(entries(), (std::vector<std::string>{"a.for", "m.bas"}));
    }
    // A program that lets others write and delete does not stand in the way.
    const HANDLE shared =
        ::CreateFileW(wide(module).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    const RunResult r = run(module, {path("a.for")});
    ::CloseHandle(shared);
    EXPECT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
}

TEST_F(FilesWin32, ModulesThatCannotBeWrittenAreReportedAndKept) {
    const std::string source = write("a.for", kSource);
    const std::string readOnly = write("ro.bas", "read-only\r\n");
    ASSERT_TRUE(::SetFileAttributesW(wide(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    fs::create_directory(dir_ / "folder.bas");
    const struct {
        int line;  // where the case is written, for the failure to name
        std::string module;
        Reason reason;
    } cases[] = {
        {__LINE__, readOnly, Reason::permissionDenied},
        {__LINE__, path("folder.bas"), Reason::isAFolder},
        {__LINE__, path("nowhere\\m.bas"), Reason::noSuchFile},
        {__LINE__, "", Reason::noSuchFile},
        {__LINE__, std::string("bad\xFF.bas"), Reason::otherSystemError},  // not UTF-8: no file has that name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        SCOPED_TRACE(c.module);
        const RunResult r = run(c.module, {source});
        EXPECT_FALSE(r.moduleWritten);
        EXPECT_EQ(r.moduleFailure.reason, c.reason) << describe(r.moduleFailure);
        EXPECT_FALSE(describe(r.moduleFailure).empty());
        EXPECT_EQ(r.lines, 0);
    }
    EXPECT_EQ(read(readOnly), "read-only\r\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.for", "folder.bas\\", "ro.bas"}));
}

TEST_F(FilesWin32, UnreadableSourcesAreSkippedAndNamed) {
    const std::string good = write("a.for", kSource);
    const std::string locked = write("locked.for", kSource);
    const HANDLE held = ::CreateFileW(wide(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    fs::create_directory(dir_ / "folder.for");
    const RunResult r = run(path("m.bas"), {path("missing.for"), locked, path("folder.for"), good, "bad\xFF.for"});
    ::CloseHandle(held);
    ASSERT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
    ASSERT_EQ(r.skipped.size(), 4u);
    EXPECT_EQ(r.skipped[0].why.reason, Reason::noSuchFile);
    EXPECT_EQ(r.skipped[1].why.reason, Reason::inUse);
    EXPECT_EQ(r.skipped[2].why.reason, Reason::isAFolder);
    EXPECT_EQ(r.skipped[3].name, "bad\xFF.for");
    for (const SkippedFile& f : r.skipped) EXPECT_FALSE(describe(f.why).empty()) << f.name;
    EXPECT_EQ(read(path("m.bas")), kModule);
}

// Names are UTF-8 across the engine and reach the system whole.
TEST_F(FilesWin32, UnicodeNames) {
    const std::string source = write("\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x93\x90.for", kSource);
    const std::string module = path("r\xC3\xA9sultat \xCE\xB1\xCE\xB2.bas");
    const RunResult r = run(module, {source});
    ASSERT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
    EXPECT_EQ(read(module), kModule);
    EXPECT_EQ(entries().size(), 2u);
    EXPECT_EQ(identityOf(source), identityOf(source));
    EXPECT_TRUE(identityOf(module).regular);
    EXPECT_NE(identityOf(source), identityOf(module));
}

// MAX_PATH (260) is no limit: modules and sources deep in folders, and a
// module name as long as a name may be, beside its longer temporary name.
TEST_F(FilesWin32, LongPaths) {
    std::string deep = utf8FromWide(dir_.wstring());
    for (int i = 0; deep.size() < 300; ++i) {
        deep += "\\folder-with-a-rather-long-name-" + std::to_string(i);
        ASSERT_TRUE(::CreateDirectoryW(wide("\\\\?\\" + deep).c_str(), nullptr)) << deep;
    }
    const std::string longest = std::string(251, 'm') + ".bas";  // 255, the most a name may have
    for (const std::string& folder : {utf8FromWide(dir_.wstring()), deep}) {
        for (const std::string& name : {std::string("m.bas"), longest}) {
            const std::string module = folder + "\\" + name;
            SCOPED_TRACE(std::to_string(module.size()) + " characters");
            const std::string source = folder + "\\a.for";
            const HANDLE file =
                ::CreateFileW(longForm(source).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            ::WriteFile(file, kSource.data(), static_cast<DWORD>(kSource.size()), &written, nullptr);
            ::CloseHandle(file);
            RunResult r = run(module, {source});
            ASSERT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
            EXPECT_EQ(read(utf8FromWide(longForm(module))), kModule);
            // Again, now that it is there to replace, and as its own source.
            r = run(module, {source});
            EXPECT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
            r = run(module, {module});
            EXPECT_EQ(r.moduleFailure.reason, Reason::sourceIsModule);
            std::vector<std::string> files = namesIn(folder);
            files.erase(
                std::remove_if(files.begin(), files.end(), [](const std::string& n) { return n.back() == '\\'; }),
                files.end());
            EXPECT_EQ(files, (std::vector<std::string>{"a.for", name})) << "no temporary file left";
            ::DeleteFileW(longForm(module).c_str());
        }
    }
}

// Devices have nothing to replace: they are written directly, in any
// letter case and in the "\\.\" form.
TEST_F(FilesWin32, NullDeviceIsWrittenDirectly) {
    const std::string source = write("a.for", kSource);
    for (const char* device : {"NUL", "nul", "Nul", "\\\\.\\NUL", "\\\\.\\nul"}) {
        SCOPED_TRACE(device);
        const RunResult r = run(device, {source});
        EXPECT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
        EXPECT_FALSE(identityOf(device).regular);
        EXPECT_EQ(entries(), (std::vector<std::string>{"a.for"}));
    }
}

// A run whose list changes under it: a listed file that has become the
// module by then is skipped, not read into itself.
TEST_F(FilesWin32, SourceThatBecomesTheModuleIsSkipped) {
    const std::string module = write("m.bas", "old\r\n");
    const std::string source = write("a.for", kSource);
    struct Changing : FileList {
        std::string first, later;
        mutable int asked = 0;
        std::size_t count() const override { return 2; }
        std::string entry(std::size_t i) const override { return i == 0 ? first : (++asked > 1 ? later : first); }
    } list;
    list.first = source;
    list.later = path("M.BAS");
    const RunResult r = runConversion(module, list, observer_);
    ASSERT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
    ASSERT_EQ(r.skipped.size(), 1u);
    EXPECT_EQ(r.skipped[0].why.reason, Reason::isTheModule);
    EXPECT_EQ(read(module), kModule);
}

// The rules may ask for more memory than there is: the run says so, and
// the temporary file goes.
TEST_F(FilesWin32, OutOfMemoryLeavesThePreviousModule) {
    const std::string module = write("m.bas", "old\r\n");
    struct Greedy : RunObserver {
        void lineCounted(long long lines) override {
            if (lines == 2) throw std::bad_alloc();
        }
    } greedy;
    NameList list({write("a.for", "      x = 1\n      y = 2\n      z = 3\n")});
    const RunResult r = runConversion(module, list, greedy);
    EXPECT_FALSE(r.moduleWritten);
    EXPECT_EQ(r.moduleFailure.reason, Reason::outOfMemory);
    EXPECT_EQ(describe(r.moduleFailure), "out of memory");
    EXPECT_EQ(read(module), "old\r\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.for", "m.bas"}));
}

// The run fixes the module's full path at the start: the window changes
// the current folder while it runs.
TEST_F(FilesWin32, RelativeModuleStaysWhereItWasNamed) {
    fs::create_directory(dir_ / "other");
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    struct Wanderer : RunObserver {
        fs::path to;
        void lineCounted(long long) override { fs::current_path(to); }
    } wanderer;
    wanderer.to = dir_ / "other";
    NameList list({write("a.for", kSource)});
    const RunResult r = runConversion("m.bas", list, wanderer);
    fs::current_path(before);
    ASSERT_TRUE(r.moduleWritten) << describe(r.moduleFailure);
    EXPECT_EQ(read(path("m.bas")), kModule);
    EXPECT_FALSE(fs::exists(dir_ / "other" / "m.bas"));
}

TEST_F(FilesWin32, SystemFailuresAreKindsWithTheSystemsWords) {
    const struct {
        int line;  // where the case is written, for the failure to name
        DWORD code;
        Reason reason;
    } cases[] = {
        {__LINE__, ERROR_FILE_NOT_FOUND, Reason::noSuchFile},
        {__LINE__, ERROR_PATH_NOT_FOUND, Reason::noSuchFile},
        {__LINE__, ERROR_ACCESS_DENIED, Reason::permissionDenied},
        {__LINE__, ERROR_DISK_FULL, Reason::noSpace},
        {__LINE__, ERROR_HANDLE_DISK_FULL, Reason::noSpace},
        {__LINE__, ERROR_FILE_TOO_LARGE, Reason::fileTooLarge},
        {__LINE__, ERROR_NOT_ENOUGH_MEMORY, Reason::outOfMemory},
        {__LINE__, ERROR_OUTOFMEMORY, Reason::outOfMemory},
        {__LINE__, ERROR_SHARING_VIOLATION, Reason::inUse},
        {__LINE__, ERROR_LOCK_VIOLATION, Reason::inUse},
        {__LINE__, ERROR_USER_MAPPED_FILE, Reason::inUse},
        {__LINE__, ERROR_INVALID_HANDLE, Reason::badDescriptor},
        {__LINE__, ERROR_GEN_FAILURE, Reason::otherSystemError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        const Failure f = systemFailure(static_cast<int>(c.code));
        EXPECT_EQ(f.reason, c.reason) << c.code;
        EXPECT_EQ(f.code, static_cast<int>(c.code));
        // Wine lacks some texts: then the words are ours.
        if (!f.systemText.empty()) {
            EXPECT_EQ(describe(f), f.systemText);
            EXPECT_NE(f.systemText.back(), '\n') << c.code;
        } else if (c.reason != Reason::otherSystemError) {
            EXPECT_NE(describe(f).rfind("error ", 0), 0u) << c.code;
        }
    }
}

}  // namespace
}  // namespace ftvb::testing
