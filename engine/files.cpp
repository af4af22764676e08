// Source files in, the output module out, through POSIX calls only.
#include "engine/files.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace ftvb {

Failure systemFailure(int code) {
    Failure f;
    f.code = code;
    f.systemText = std::strerror(code);
    switch (code) {
        case ENOENT: f.reason = Reason::noSuchFile; break;
        case EACCES:
        case EPERM:
        case EROFS: f.reason = Reason::permissionDenied; break;
        case EISDIR: f.reason = Reason::isAFolder; break;
        case ENOSPC:
        case EDQUOT: f.reason = Reason::noSpace; break;
        case EFBIG: f.reason = Reason::fileTooLarge; break;
        case ENOMEM: f.reason = Reason::outOfMemory; break;
        case EBUSY:
        case ETXTBSY: f.reason = Reason::inUse; break;
        case EBADF: f.reason = Reason::badDescriptor; break;
        default: f.reason = Reason::otherSystemError; break;
    }
    return f;
}

namespace {

Failure lastError() { return systemFailure(errno); }

bool statName(const std::string& name, struct stat& st) {
    if (name == "-") return ::fstat(0, &st) == 0;
    return ::stat(name.c_str(), &st) == 0;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A file the run opens must never take the place of a closed standard
// input, output or error: "-" would read the module's own temporary file,
// or the module would go where the user's output should. Such a descriptor
// moves up, and the standard one stays closed.
int aboveStandard(int fd) {
    if (fd < 0 || fd > 2) return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return moved;
}

FileIdentity identityFrom(const struct stat& st) {
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino), true,
            S_ISREG(st.st_mode), true};
}

// Makes ".BASE.XXXXXX" in the folder held by `folder`, for writing only by
// its owner until its mode is set; the descriptor, or -1 with errno set.
int makeTemporary(int folder, const std::string& base, std::string& name) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static unsigned long long seed = 0;
    seed ^= (static_cast<unsigned long long>(::getpid()) << 32) ^ static_cast<unsigned long long>(::time(nullptr)) ^
            reinterpret_cast<std::uintptr_t>(&name);
    for (int tries = 0; tries < 100; ++tries) {
        name = ".";
        name += base;
        name += '.';
        for (int i = 0; i < 6; ++i) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            name += kLetters[(seed >> 33) % (sizeof kLetters - 1)];
        }
        const int fd = aboveStandard(::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// How long a wait on a FIFO or a full pipe lasts before the observer is
// asked again; a signal that comes just before the wait begins is seen
// this much later at most.
constexpr int kWaitStepMs = 50;

}  // namespace

FileIdentity identityOf(const std::string& name) {
    struct stat st {};
    if (!statName(name, st)) return {};
    return identityFrom(st);
}

FileIdentity standardOutputIdentity() {
    struct stat st {};
    if (::fstat(1, &st) != 0) return {};
    return identityFrom(st);
}

FileIdentity standardErrorIdentity() {
    struct stat st {};
    if (::fstat(2, &st) != 0) return {};
    return identityFrom(st);
}

OutputPlace placeOf(const std::string& output) {
    OutputPlace place;
    if (output == "-") {
        place.file = standardOutputIdentity();
        return place;
    }
    struct stat st {};
    if (::stat(output.c_str(), &st) == 0) {
        place.file = identityFrom(st);
        return place;
    }
    if (errno != ENOENT) return place;
    const std::size_t slash = output.rfind('/');
    if (::stat(folderOf(output).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        place.folder = identityFrom(st);
        place.name = slash == std::string::npos ? output : output.substr(slash + 1);
    }
    return place;
}

bool samePlace(const OutputPlace& a, const OutputPlace& b) {
    if (a.file.exists || b.file.exists) return a.file.known && a.file == b.file;
    return a.folder.known && a.folder == b.folder && a.name == b.name;
}

// ---- SourceReader ----------------------------------------------------------

SourceReader::~SourceReader() {
    if (ownsFd_ && fd_ >= 0) ::close(fd_);
}

Status SourceReader::open(const std::string& name) {
    if (name == "-") {
        fd_ = 0;
        ownsFd_ = false;
    } else {
        fd_ = aboveStandard(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
        if (fd_ < 0) return lastError();
        ownsFd_ = true;
    }
    struct stat st {};
    // A closed standard input fails here.
    if (::fstat(fd_, &st) != 0) return lastError();
    if (S_ISDIR(st.st_mode)) return systemFailure(EISDIR);
    identity_ = identityFrom(st);
    return {};
}

bool SourceReader::fill() {
    if (eof_ || askedToStop()) return false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.get(), kBufferSize);
        if (n > 0) {
            pos_ = 0;
            len_ = static_cast<std::size_t>(n);
            return true;
        }
        if (n < 0 && errno == EINTR) {
            if (askedToStop()) return false;
            continue;
        }
        if (n < 0) error_ = lastError();
        eof_ = true;
        return false;
    }
}

// ---- ModuleWriter -----------------------------------------------------------

Status ModuleWriter::open(const std::string& name) {
    if (name.empty()) return systemFailure(ENOENT);
    if (name == "-") {
        struct stat st {};
        fd_ = 1;
        direct_ = true;
        mayBlock_ = ::fstat(1, &st) == 0 && !S_ISREG(st.st_mode);
        return {};
    }
    std::string path = name;
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return systemFailure(EISDIR);
        if (!S_ISREG(st.st_mode)) return openDirect(path, S_ISFIFO(st.st_mode));
        // Replace what a link points to, not the link.
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            path = resolved;
            std::free(resolved);
        }
        if (::access(path.c_str(), W_OK) != 0) return lastError();
    } else if (errno != ENOENT) {
        return lastError();
    }

    // Fixed now: the rename at the end must not depend on the current folder
    // then.
    if (path[0] != '/') {
        if (char* cwd = ::getcwd(nullptr, 0)) {
            path = std::string(cwd) + "/" + path;
            std::free(cwd);
        }
    }
    const std::string folder = folderOf(path);
    const std::size_t slash = path.rfind('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    // The temporary file is made, renamed and removed through the folder's
    // descriptor: a folder moved during the run keeps no stray file.
#ifdef O_PATH
    constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
    constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
    folderFd_ = aboveStandard(::open(folder.c_str(), kFolderFlags));
    if (folderFd_ < 0) return lastError();
    // ".NAME.XXXXXX" must still be a valid name when NAME is as long as a
    // name may be: the temporary name keeps what fits.
    constexpr std::size_t kTempExtra = 8;  // the dot in front, ".XXXXXX" behind
    long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) nameMax = NAME_MAX;
    if (base.size() + kTempExtra > static_cast<std::size_t>(nameMax))
        base.resize(static_cast<std::size_t>(nameMax) - kTempExtra);
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    std::string temp;
    fd_ = makeTemporary(folderFd_, base, temp);
    if (fd_ < 0) {
        const Failure why = lastError();
        ::close(folderFd_);
        folderFd_ = -1;
        return why;
    }
    ::fchmod(fd_, mode);
    finalPath_ = path;
    tempPath_ = temp;
    buffer_.reserve(kBlock);
    return {};
}

Status ModuleWriter::openStandardError() {
    struct stat st {};
    if (::fstat(2, &st) != 0) return lastError();
    fd_ = 2;
    direct_ = true;
    mayBlock_ = !S_ISREG(st.st_mode);
    return {};
}

// A device, pipe or FIFO: there is nothing to replace, the module is
// written to it. Opening a FIFO for writing waits for a reader; it is
// tried without waiting, in steps, so that a stop request ends the wait.
Status ModuleWriter::openDirect(const std::string& path, bool fifo) {
    direct_ = true;
    mayBlock_ = true;
    if (!fifo) {
        fd_ = aboveStandard(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        if (fd_ < 0) return lastError();
        struct stat st {};
        mayBlock_ = ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode);
        return {};
    }
    for (;;) {
        fd_ = aboveStandard(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (fd_ >= 0) break;
        if (errno != ENXIO && errno != EINTR) return lastError();
        if (askedToStop()) return error_;
        ::poll(nullptr, 0, kWaitStepMs);
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    return {};
}

void ModuleWriter::writeAll(std::string_view bytes) {
    if (fd_ < 0 || !error_.ok()) return;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    // What a pipe takes without waiting once it is writable at all.
    constexpr std::size_t kPipeStep = PIPE_BUF;
    while (left > 0) {
        std::size_t step = left;
        if (mayBlock_) {
            // Nobody may be reading: wait until the pipe takes more, asking
            // the observer between waits, and give it no more than it takes
            // at once.
            pollfd out{fd_, POLLOUT, 0};
            const int ready = ::poll(&out, 1, kWaitStepMs);
            if (askedToStop()) return;
            if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
            step = std::min(left, kPipeStep);
        }
        const ssize_t n = ::write(fd_, p, step);
        if (n < 0) {
            if (errno == EINTR) {
                if (askedToStop()) return;
                continue;
            }
            error_ = lastError();
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void ModuleWriter::flush() {
    writeAll(buffer_);
    written_ += buffer_.size();
    buffer_.clear();
#ifdef SYNC_FILE_RANGE_WRITE
    // Start writing the temporary file out while the run goes on, so that
    // the fsync before the rename has little left to wait for.
    constexpr std::size_t kStep = std::size_t{4} << 20;
    if (!direct_ && durable_ && fd_ >= 0 && written_ - synced_ >= kStep) {
        ::sync_file_range(fd_, static_cast<off_t>(synced_), static_cast<off_t>(written_ - synced_),
                          SYNC_FILE_RANGE_WRITE);
        synced_ = written_;
    }
#endif
}

Status ModuleWriter::commit() {
    if (fd_ < 0) return error_.ok() ? Status(systemFailure(EBADF)) : error_;
    flush();
    if (!direct_) {
        if (error_.ok() && durable_ && ::fsync(fd_) != 0) error_ = lastError();
        if (::close(fd_) != 0 && error_.ok()) error_ = lastError();
        fd_ = -1;
        // To the path asked for: when the folder has moved, that fails, and
        // the temporary file goes from where the folder is now.
        if (error_.ok() && ::renameat(folderFd_, tempPath_.c_str(), AT_FDCWD, finalPath_.c_str()) != 0)
            error_ = lastError();
        if (!error_.ok()) ::unlinkat(folderFd_, tempPath_.c_str(), 0);
        tempPath_.clear();
        ::close(folderFd_);
        folderFd_ = -1;
        return error_;
    }
    if (fd_ > 2 && ::close(fd_) != 0 && error_.ok()) error_ = lastError();
    fd_ = -1;
    return error_;
}

void ModuleWriter::abandon() {
    if (!direct_ && fd_ >= 0) ::close(fd_);
    if (direct_ && fd_ > 2) ::close(fd_);
    fd_ = -1;
    if (!tempPath_.empty()) {
        ::unlinkat(folderFd_, tempPath_.c_str(), 0);
        tempPath_.clear();
    }
    if (folderFd_ >= 0) ::close(folderFd_);
    folderFd_ = -1;
    buffer_.clear();
}

}  // namespace ftvb
