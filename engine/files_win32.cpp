// Source files in, the output module out, through the Windows API. Names
// cross the engine as UTF-8 and reach the system through the wide API;
// the bytes of the files are never translated (no text mode, no code page).
//
// A file is held in the `int` of files.h as its handle: Windows keeps
// handles within 32 bits so that 32- and 64-bit programs can share them.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>

#include "engine/files.h"
#include "engine/wide_names.h"

// Older SDK headers lack these two.
#ifndef ERROR_DIRECTORY_NOT_SUPPORTED
#define ERROR_DIRECTORY_NOT_SUPPORTED 336L
#endif
#ifndef ERROR_DISK_QUOTA_EXCEEDED
#define ERROR_DISK_QUOTA_EXCEEDED 1295L
#endif

namespace ftvb {
namespace {

HANDLE handleOf(int held) { return LongToHandle(held); }
int held(HANDLE handle) { return HandleToLong(handle); }

std::string systemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide(text != nullptr ? text : L"", length);
    if (text != nullptr) ::LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ')) wide.pop_back();
    // The code this side gives a folder read as a file has no text in every
    // system's tables (Wine's lack it): Windows' own words.
    if (wide.empty() && code == ERROR_DIRECTORY_NOT_SUPPORTED) return "An operation is not supported on a directory.";
    return utf8FromWide(wide);
}

Failure lastError() { return systemFailure(static_cast<int>(::GetLastError())); }

// Windows says "access denied" to reading or replacing a folder as a file;
// this says what happened.
Failure folderFailure() { return systemFailure(ERROR_DIRECTORY_NOT_SUPPORTED); }

bool startsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The absolute form of `name` against the current folder, as the system
// resolves it (a name like "nul" or "con" becomes "\\.\nul").
bool fullPath(const std::wstring& name, std::wstring& out) {
    DWORD size = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    for (int tries = 0; size > 0 && tries < 3; ++tries) {
        out.resize(size);
        const DWORD got = ::GetFullPathNameW(name.c_str(), size, out.data(), nullptr);
        if (got < size) {
            out.resize(got);
            return got > 0;
        }
        size = got;  // the current folder changed in between
    }
    return false;
}

// The "\\?\" form of an absolute path, which has no length limit and is
// taken as it stands.
std::wstring extended(const std::wstring& full) {
    if (startsWith(full, L"\\\\?\\") || startsWith(full, L"\\\\.\\")) return full;
    if (startsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// Names that fit the plain API go to it as given; longer ones by their
// full path in the "\\?\" form.
bool apiName(const std::string& name, std::wstring& out) {
    if (!wideFromUtf8(name, out)) {
        ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return false;
    }
    // The plain API takes up to MAX_PATH - 1 characters; folders 12 fewer.
    if (out.size() < MAX_PATH - 12) return true;
    std::wstring full;
    if (!fullPath(out, full)) return false;
    out = extended(full);
    return true;
}

Failure nameFailure() {
    const DWORD code = ::GetLastError();
    return systemFailure(code != ERROR_SUCCESS ? static_cast<int>(code) : ERROR_NO_UNICODE_TRANSLATION);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Asks about a name without opening what it names for reading or writing,
// which works even while another program holds the file.
HANDLE openForQuery(const std::wstring& name) {
    return ::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

FileIdentity identityOfHandle(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return {};
    FileIdentity id;
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD type = ::GetFileType(handle);
    if (type == FILE_TYPE_UNKNOWN && ::GetLastError() != NO_ERROR) return {};
    id.exists = true;
    if (type == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &info)) {
        id.device = info.dwVolumeSerialNumber;
        id.inode = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        id.regular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        id.known = true;
    }
    return id;
}

bool isFolder(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The path a handle's file truly has, links followed, in the "\\?\" form.
bool finalPath(HANDLE handle, std::wstring& out) {
    DWORD size = ::GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (size == 0) return false;
    out.resize(size);
    const DWORD got = ::GetFinalPathNameByHandleW(handle, out.data(), size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (got == 0 || got >= size) return false;
    out.resize(got);
    return true;
}

// How long a wait on a pipe or device lasts before the observer is asked
// again.
constexpr DWORD kWaitStepMs = 50;

// Handed to a pipe in pieces of this size, so that a stop request is seen
// between them.
constexpr std::size_t kPipeStep = 64 * 1024;

// A read or write on a pipe, console or device may wait for ever (a writer
// that never writes, a reader that never reads), and Windows offers no
// reliable way to break such a wait. It runs on a thread of its own while
// the run asks its observer, in steps, whether to stop. A stopped run
// leaves the thread waiting until the process ends: it works on its own
// copy of the bytes and its own handle to the file.
class WaitingTransfer : public std::enable_shared_from_this<WaitingTransfer> {
public:
    enum class End { done, stopped };

    // Reads up to `size` bytes of `file`.
    static std::shared_ptr<WaitingTransfer> read(HANDLE file, std::size_t size) {
        std::shared_ptr<WaitingTransfer> t(new WaitingTransfer(file, false));
        t->bytes_.resize(size);
        return t;
    }
    // Writes `bytes` to `file`, as much as one call takes.
    static std::shared_ptr<WaitingTransfer> write(HANDLE file, std::string_view bytes) {
        std::shared_ptr<WaitingTransfer> t(new WaitingTransfer(file, true));
        t->bytes_.assign(bytes);
        return t;
    }

    WaitingTransfer(const WaitingTransfer&) = delete;
    WaitingTransfer& operator=(const WaitingTransfer&) = delete;
    ~WaitingTransfer() {
        if (finished_ != nullptr) ::CloseHandle(finished_);
        if (file_ != INVALID_HANDLE_VALUE) ::CloseHandle(file_);
    }

    // Runs the transfer, asking `stop` between waits.
    template <typename Stop>
    End run(Stop&& stop) {
        if (file_ == INVALID_HANDLE_VALUE || finished_ == nullptr) {
            transfer(original_);  // no handle of its own for a thread: wait here
            return End::done;
        }
        std::thread([self = shared_from_this()] {
            self->transfer(self->file_);
            ::SetEvent(self->finished_);
        }).detach();
        while (::WaitForSingleObject(finished_, kWaitStepMs) == WAIT_TIMEOUT) {
            if (stop()) return End::stopped;
        }
        return End::done;
    }

    bool ok() const { return ok_; }
    DWORD error() const { return error_; }
    DWORD count() const { return count_; }
    const char* data() const { return bytes_.data(); }

private:
    WaitingTransfer(HANDLE file, bool writing) : writing_(writing), original_(file) {
        const HANDLE self = ::GetCurrentProcess();
        if (!::DuplicateHandle(self, file, self, &file_, 0, FALSE, DUPLICATE_SAME_ACCESS)) file_ = INVALID_HANDLE_VALUE;
        finished_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }

    void transfer(HANDLE file) {
        const auto size = static_cast<DWORD>(bytes_.size());
        ok_ = writing_ ? ::WriteFile(file, bytes_.data(), size, &count_, nullptr) != 0
                       : ::ReadFile(file, bytes_.data(), size, &count_, nullptr) != 0;
        error_ = ok_ ? ERROR_SUCCESS : ::GetLastError();
    }

    bool writing_;
    HANDLE original_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE finished_ = nullptr;
    std::string bytes_;
    bool ok_ = false;
    DWORD error_ = ERROR_SUCCESS;
    DWORD count_ = 0;
};

}  // namespace

Failure systemFailure(int code) {
    Failure f;
    f.code = code;
    f.systemText = systemText(static_cast<DWORD>(code));
    switch (static_cast<DWORD>(code)) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: f.reason = Reason::noSuchFile; break;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_NETWORK_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD: f.reason = Reason::permissionDenied; break;
        case ERROR_DIRECTORY_NOT_SUPPORTED: f.reason = Reason::isAFolder; break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
        case ERROR_DISK_QUOTA_EXCEEDED: f.reason = Reason::noSpace; break;
        case ERROR_FILE_TOO_LARGE: f.reason = Reason::fileTooLarge; break;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
        case ERROR_COMMITMENT_LIMIT: f.reason = Reason::outOfMemory; break;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED: f.reason = Reason::inUse; break;
        case ERROR_INVALID_HANDLE: f.reason = Reason::badDescriptor; break;
        default: f.reason = Reason::otherSystemError; break;
    }
    return f;
}

FileIdentity identityOf(const std::string& name) {
    if (name == "-") return identityOfHandle(::GetStdHandle(STD_INPUT_HANDLE));
    std::wstring wide;
    if (!apiName(name, wide)) return {};
    const HANDLE handle = openForQuery(wide);
    if (handle == INVALID_HANDLE_VALUE) return {};
    const FileIdentity id = identityOfHandle(handle);
    ::CloseHandle(handle);
    return id;
}

FileIdentity standardOutputIdentity() { return identityOfHandle(::GetStdHandle(STD_OUTPUT_HANDLE)); }

FileIdentity standardErrorIdentity() { return identityOfHandle(::GetStdHandle(STD_ERROR_HANDLE)); }

OutputPlace placeOf(const std::string& output) {
    OutputPlace place;
    if (output == "-") {
        place.file = standardOutputIdentity();
        return place;
    }
    std::wstring wide;
    std::wstring full;
    if (!wideFromUtf8(output, wide) || !fullPath(wide, full)) return place;
    const std::wstring path = extended(full);
    const HANDLE file = openForQuery(path);
    if (file != INVALID_HANDLE_VALUE) {
        place.file = identityOfHandle(file);
        ::CloseHandle(file);
        return place;
    }
    if (::GetLastError() != ERROR_FILE_NOT_FOUND) return place;
    const std::size_t slash = path.find_last_of(L'\\');
    std::wstring folder = path.substr(0, slash);
    if (!folder.empty() && folder.back() == L':') folder += L'\\';  // a drive's root
    const HANDLE handle = openForQuery(folder);
    if (handle == INVALID_HANDLE_VALUE) return place;
    if (isFolder(handle)) {
        place.folder = identityOfHandle(handle);
        place.name = utf8FromWide(path.substr(slash + 1));
    }
    ::CloseHandle(handle);
    return place;
}

bool samePlace(const OutputPlace& a, const OutputPlace& b) {
    if (a.file.exists || b.file.exists) return a.file.known && a.file == b.file;
    if (!a.folder.known || a.folder != b.folder) return false;
    // Windows names ignore case: "M.BAS" is "m.bas".
    std::wstring x, y;
    wideFromUtf8(a.name, x);
    wideFromUtf8(b.name, y);
    return ::CompareStringOrdinal(x.data(), static_cast<int>(x.size()), y.data(), static_cast<int>(y.size()), TRUE) ==
           CSTR_EQUAL;
}

// ---- SourceReader ----------------------------------------------------------

SourceReader::~SourceReader() {
    if (ownsFd_ && fd_ != -1) ::CloseHandle(handleOf(fd_));
}

Status SourceReader::open(const std::string& name) {
    HANDLE handle;
    if (name == "-") {
        handle = ::GetStdHandle(STD_INPUT_HANDLE);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return systemFailure(ERROR_INVALID_HANDLE);
        ownsFd_ = false;
    } else {
        std::wstring wide;
        if (!apiName(name, wide)) return nameFailure();
        // Others may go on reading and writing it; an editor that holds it
        // without sharing makes this fail, as it should.
        handle = ::CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return lastError();
        ownsFd_ = true;
    }
    fd_ = held(handle);
    identity_ = identityOfHandle(handle);
    if (!identity_.exists) return systemFailure(ERROR_INVALID_HANDLE);
    if (isFolder(handle)) return folderFailure();
    return {};
}

bool SourceReader::fill() {
    if (eof_ || askedToStop()) return false;
    const HANDLE handle = handleOf(fd_);
    const bool mayWait = ::GetFileType(handle) != FILE_TYPE_DISK;
    for (;;) {
        bool ok;
        DWORD n = 0;
        DWORD code = ERROR_SUCCESS;
        if (mayWait) {
            const auto read = WaitingTransfer::read(handle, kBufferSize);
            if (read->run([this] { return askedToStop(); }) == WaitingTransfer::End::stopped) return false;
            ok = read->ok();
            n = read->count();
            code = read->error();
            std::memcpy(buffer_.get(), read->data(), n);
        } else {
            ok = ::ReadFile(handle, buffer_.get(), static_cast<DWORD>(kBufferSize), &n, nullptr) != 0;
            if (!ok) code = ::GetLastError();
        }
        if (ok && n > 0) {
            pos_ = 0;
            len_ = n;
            return true;
        }
        // Ctrl-C breaks a wait on the console.
        if (code == ERROR_OPERATION_ABORTED) {
            if (askedToStop()) return false;
            continue;
        }
        // The writer of a pipe has closed it: the end of the input, like
        // a read of nothing.
        if (!ok && code != ERROR_BROKEN_PIPE && code != ERROR_HANDLE_EOF)
            error_ = systemFailure(static_cast<int>(code));
        break;
    }
    eof_ = true;
    // A stop that came during the last wait still counts.
    askedToStop();
    return false;
}

// ---- ModuleWriter -----------------------------------------------------------
//
// finalPath_ holds the module's full path in the "\\?\" form while a
// temporary file is written, the name of a device written directly, or
// nothing for standard output (which is never closed).

Status ModuleWriter::open(const std::string& name) {
    if (name.empty()) return systemFailure(ERROR_PATH_NOT_FOUND);
    if (name == "-") {
        // A program started without standard output has nowhere to write.
        const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
        if (out == nullptr || out == INVALID_HANDLE_VALUE) return systemFailure(ERROR_INVALID_HANDLE);
        fd_ = held(out);
        direct_ = true;
        mayBlock_ = ::GetFileType(out) != FILE_TYPE_DISK;
        return {};
    }
    std::wstring wide;
    std::wstring full;
    if (!wideFromUtf8(name, wide)) return systemFailure(ERROR_NO_UNICODE_TRANSLATION);
    // Fixed now: a window may change the current folder during the run.
    if (!fullPath(wide, full)) return lastError();

    std::wstring path = extended(full);
    bool exists = false;
    const HANDLE probe = openForQuery(path);
    if (probe != INVALID_HANDLE_VALUE) {
        const DWORD type = ::GetFileType(probe);
        const bool folder = isFolder(probe);
        // Replace what a link points to, not the link.
        std::wstring target;
        if (type == FILE_TYPE_DISK && !folder && finalPath(probe, target)) path = target;
        ::CloseHandle(probe);
        if (folder) return folderFailure();
        if (type != FILE_TYPE_DISK) return openDirect(utf8FromWide(full), false);
        exists = true;
    } else {
        const DWORD code = ::GetLastError();
        // Devices ("nul", "con", "\\.\COM1") say little to a query: they
        // are opened for writing, which says whether they are there.
        if (startsWith(full, L"\\\\.\\")) return openDirect(utf8FromWide(full), false);
        if (code != ERROR_FILE_NOT_FOUND) return systemFailure(static_cast<int>(code));
    }

    // The new module keeps what the old one was marked as (hidden, say),
    // whichever way it is put in place.
    DWORD kept = FILE_ATTRIBUTE_NORMAL;
    if (exists) {
        // Find out now, before anything is read, whether the module could
        // be replaced: not read-only, not denied, not held by another
        // program (an editor often holds the module it shows).
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return systemFailure(ERROR_ACCESS_DENIED);
        }
        constexpr DWORD kMarks =
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kMarks) != 0) kept = attributes & kMarks;
        const HANDLE check = ::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (check == INVALID_HANDLE_VALUE) return lastError();
        ::CloseHandle(check);
    }

    const std::size_t slash = path.find_last_of(L'\\');
    const std::wstring folder = path.substr(0, slash + 1);
    std::wstring base = path.substr(slash + 1);
    // ".NAME.XXXXXX" must still be a valid name when NAME is as long as a
    // name may be (255): the temporary name keeps what fits, never half a
    // surrogate pair.
    constexpr std::size_t kNameMax = 255;
    constexpr std::size_t kTempExtra = 8;
    if (base.size() + kTempExtra > kNameMax) {
        std::size_t keep = kNameMax - kTempExtra;
        if (keep > 0 && base[keep - 1] >= 0xD800 && base[keep - 1] <= 0xDBFF) --keep;
        base.resize(keep);
    }
    static const wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long seed = ::GetTickCount64() ^ (static_cast<unsigned long long>(::GetCurrentProcessId()) << 20) ^
                              reinterpret_cast<std::uintptr_t>(this);
    HANDLE temp = INVALID_HANDLE_VALUE;
    std::wstring tempPath;
    for (int tries = 0; tries < 100 && temp == INVALID_HANDLE_VALUE; ++tries) {
        std::wstring suffix(6, L'a');
        for (wchar_t& c : suffix) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            c = kLetters[(seed >> 33) % 36];
        }
        tempPath = folder + L"." + base + L"." + suffix;
        temp = ::CreateFileW(tempPath.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                             CREATE_NEW, kept, nullptr);
        if (temp == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) return lastError();
    }
    if (temp == INVALID_HANDLE_VALUE) return systemFailure(ERROR_FILE_EXISTS);
    fd_ = held(temp);
    direct_ = false;
    mayBlock_ = false;
    finalPath_ = utf8FromWide(path);
    tempPath_ = utf8FromWide(tempPath);
    buffer_.reserve(kBlock);
    return {};
}

Status ModuleWriter::openStandardError() {
    const HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
    if (err == nullptr || err == INVALID_HANDLE_VALUE) return systemFailure(ERROR_INVALID_HANDLE);
    fd_ = held(err);
    direct_ = true;
    mayBlock_ = ::GetFileType(err) != FILE_TYPE_DISK;
    return {};
}

// A device or pipe: there is nothing to replace, the module is written to
// it. `fifo` is for the POSIX side; a pipe never waits to be opened here.
Status ModuleWriter::openDirect(const std::string& path, bool /*fifo*/) {
    direct_ = true;
    std::wstring wide;
    wideFromUtf8(path, wide);
    const HANDLE out = ::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return lastError();
    fd_ = held(out);
    finalPath_ = path;
    mayBlock_ = ::GetFileType(out) != FILE_TYPE_DISK;
    return {};
}

void ModuleWriter::writeAll(std::string_view bytes) {
    if (fd_ == -1 || !error_.ok()) return;
    const HANDLE handle = handleOf(fd_);
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const std::size_t step = std::min<std::size_t>(left, mayBlock_ ? kPipeStep : std::size_t{1} << 30);
        bool ok;
        DWORD n = 0;
        DWORD code = ERROR_SUCCESS;
        if (mayBlock_) {
            const auto write = WaitingTransfer::write(handle, std::string_view(p, step));
            if (write->run([this] { return askedToStop(); }) == WaitingTransfer::End::stopped) return;
            ok = write->ok();
            n = write->count();
            code = write->error();
        } else {
            ok = ::WriteFile(handle, p, static_cast<DWORD>(step), &n, nullptr) != 0;
            if (!ok) code = ::GetLastError();
        }
        if (!ok) {
            error_ = systemFailure(static_cast<int>(code));
            return;
        }
        p += n;
        left -= n;
    }
}

void ModuleWriter::flush() {
    writeAll(buffer_);
    written_ += buffer_.size();
    buffer_.clear();
}

Status ModuleWriter::commit() {
    if (fd_ == -1) return error_.ok() ? Status(systemFailure(ERROR_INVALID_HANDLE)) : error_;
    flush();
    const HANDLE handle = handleOf(fd_);
    if (!direct_) {
        if (error_.ok() && durable_ && !::FlushFileBuffers(handle)) error_ = lastError();
        if (!::CloseHandle(handle) && error_.ok()) error_ = lastError();
        fd_ = -1;
        std::wstring temp, module;
        wideFromUtf8(tempPath_, temp);
        wideFromUtf8(finalPath_, module);
        const bool replacing = ::GetFileAttributesW(module.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (error_.ok()) {
            // ReplaceFileW keeps what the old module had beyond its bytes
            // (attributes, security, creation time); a new module, or a
            // file system that cannot replace, is moved into place.
            bool done = false;
            DWORD code = ERROR_FILE_NOT_FOUND;
            if (replacing) {
                done = ::ReplaceFileW(module.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                                      nullptr) != 0;
                if (!done) code = ::GetLastError();
            }
            const bool moveInstead = code == ERROR_FILE_NOT_FOUND || code == ERROR_INVALID_PARAMETER ||
                                     code == ERROR_NOT_SUPPORTED || code == ERROR_INVALID_FUNCTION;
            if (!done && moveInstead) {
                done = ::MoveFileExW(temp.c_str(), module.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
                if (!done) code = ::GetLastError();
            }
            if (!done) error_ = systemFailure(static_cast<int>(code));
        }
        if (!error_.ok()) ::DeleteFileW(temp.c_str());
        tempPath_.clear();
        return error_;
    }
    if (!finalPath_.empty() && !::CloseHandle(handle) && error_.ok()) error_ = lastError();
    fd_ = -1;
    return error_;
}

void ModuleWriter::abandon() {
    if (fd_ != -1 && !direct_ && !tempPath_.empty()) {
        // Removed through its own handle, wherever its folder has gone.
        FILE_DISPOSITION_INFO gone{TRUE};
        if (::SetFileInformationByHandle(handleOf(fd_), FileDispositionInfo, &gone, sizeof gone)) tempPath_.clear();
    }
    if (fd_ != -1 && (!direct_ || !finalPath_.empty())) ::CloseHandle(handleOf(fd_));
    fd_ = -1;
    if (!tempPath_.empty()) {
        std::wstring temp;
        wideFromUtf8(tempPath_, temp);
        ::DeleteFileW(temp.c_str());
        tempPath_.clear();
    }
    buffer_.clear();
}

}  // namespace ftvb
