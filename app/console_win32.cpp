// ftvb-convert on Windows: wide arguments made UTF-8, messages in UTF-16
// on a console and UTF-8 elsewhere, and the console's control events.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>

#include "app/console.h"
#include "engine/failure.h"
#include "engine/wide_names.h"

namespace ftvb::console {
namespace {

std::atomic<bool> gInterrupted{false};
HANDLE gMainThread = nullptr;

// Runs on a thread of its own. The run sees the flag within a line, or
// within a wait step when it waits on a pipe or the console.
BOOL WINAPI onControl(DWORD event) {
    gInterrupted = true;
    // Closing the console, logging off or shutting down ends the process
    // as soon as this returns: hold on while the run puts things back (it
    // ends the process itself when done, or the system does after a few
    // seconds).
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && gMainThread != nullptr) {
        ::WaitForSingleObject(gMainThread, INFINITE);
    }
    return TRUE;
}

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) != 0;
}

// A console shows UTF-16 whatever its code page; a file or pipe gets the
// UTF-8 bytes, lines ended by LF as on every platform, so that scripts read
// the same messages everywhere. Through a buffer on the stack: this also
// says that memory ran out.
class TextOut {
public:
    explicit TextOut(DWORD which) : handle_(::GetStdHandle(which)), console_(isConsole(handle_)) {}

    void put(std::string_view text) {
        for (const char c : text) add(c);
    }

    // False, with the system's error code, when something could not be
    // written.
    bool finish(DWORD* error) {
        flush();
        if (failed_ && error != nullptr) *error = error_;
        return !failed_;
    }

private:
    void add(char c) {
        // A console gets whole characters: never the first bytes of one.
        const bool starts = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (used_ >= sizeof bytes_ - 4 && starts) flush();
        bytes_[used_++] = c;
    }

    void flush() {
        if (used_ == 0 || failed_) {
            used_ = 0;
            return;
        }
        if (console_) {
            wchar_t wide[sizeof bytes_];
            const int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes_, static_cast<int>(used_), wide, sizeof bytes_);
            DWORD written = 0;
            if (!::WriteConsoleW(handle_, wide, static_cast<DWORD>(n), &written, nullptr)) fail();
        } else {
            const char* p = bytes_;
            std::size_t left = used_;
            while (left > 0) {
                DWORD n = 0;
                if (!::WriteFile(handle_, p, static_cast<DWORD>(left), &n, nullptr)) {
                    fail();
                    break;
                }
                p += n;
                left -= n;
            }
        }
        used_ = 0;
    }

    void fail() {
        failed_ = true;
        error_ = ::GetLastError();
    }

    HANDLE handle_;
    bool console_;
    char bytes_[1024];
    std::size_t used_ = 0;
    bool failed_ = false;
    DWORD error_ = 0;
};

}  // namespace

void prepare() {
    // A missing drive or an empty card reader is reported, not asked about
    // in a dialog box.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

std::vector<std::string> arguments(int, char**) {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 1; words != nullptr && i < count; ++i) out.push_back(utf8FromWide(words[i]));
    if (words != nullptr) ::LocalFree(words);
    return out;
}

std::vector<std::string> filesNamed(const std::string& argument) {
    // No file name holds "*" or "?", so nothing else can be meant.
    if (argument.find_first_of("*?") == std::string::npos) return {argument};
    std::wstring pattern;
    if (!wideFromUtf8(argument, pattern)) return {argument};
    const std::size_t slash = pattern.find_last_of(L"\\/:");
    const std::wstring folder = slash == std::wstring::npos ? L"" : pattern.substr(0, slash + 1);
    const std::wstring leaf = pattern.substr(folder.size());
    // The folder part is taken as written; only the last part may hold
    // wildcards.
    if (folder.find_first_of(L"*?") != std::wstring::npos) return {argument};
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            // The system also matches the 8.3 names ("*.for" finding
            // "notes.fortran" as NOTES~1.FOR): the long name must match.
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                ::PathMatchSpecW(found.cFileName, leaf.c_str())) {
                names.emplace_back(found.cFileName);
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    if (names.empty()) return {argument};
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                      TRUE) == CSTR_LESS_THAN;
    });
    std::vector<std::string> files;
    for (const std::wstring& name : names) files.push_back(utf8FromWide(folder + name));
    return files;
}

// No file name holds "*" or "?": such a name is a pattern left as it was.
bool isUnmatchedPattern(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

void catchInterrupts() {
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &gMainThread, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    ::SetConsoleCtrlHandler(onControl, TRUE);
}

bool interrupted() { return gInterrupted; }

bool errorIsTerminal() { return isConsole(::GetStdHandle(STD_ERROR_HANDLE)); }

bool errorIsConsole() { return errorIsTerminal(); }

void printError(std::initializer_list<std::string_view> pieces) {
    TextOut out(STD_ERROR_HANDLE);
    for (std::string_view piece : pieces) out.put(piece);
    out.finish(nullptr);
}

void eraseLine() {
    // Older consoles know no escape sequences: blanks over the count.
    printError({"\r                              \r"});
}

std::string printOut(const std::string& text) {
    TextOut out(STD_OUTPUT_HANDLE);
    out.put(text);
    DWORD error = 0;
    if (out.finish(&error)) return {};
    return describe(systemFailure(static_cast<int>(error)));
}

}  // namespace ftvb::console
