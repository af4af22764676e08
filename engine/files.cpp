// Source files in, the output module out, through POSIX calls only.
#include "engine/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace ftvb {
namespace {

std::string reason(int err) { return std::strerror(err); }

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

}  // namespace

namespace {

FileIdentity identityFrom(const struct stat& st) {
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino), true,
            S_ISREG(st.st_mode)};
}

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

// ---- SourceReader ----------------------------------------------------------

SourceReader::~SourceReader() {
    if (ownsFd_ && fd_ >= 0) ::close(fd_);
}

std::string SourceReader::open(const std::string& name) {
    if (name == "-") {
        fd_ = 0;
        ownsFd_ = false;
    } else {
        fd_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) return reason(errno);
        ownsFd_ = true;
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0) {
        if (S_ISDIR(st.st_mode)) return reason(EISDIR);
        identity_ = identityFrom(st);
    }
    return {};
}

bool SourceReader::askedToStop() {
    if (observer_ && observer_->stopRequested()) {
        stopped_ = true;
        eof_ = true;
    }
    return stopped_;
}

bool SourceReader::fill() {
    if (eof_ || askedToStop()) return false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_, sizeof buffer_);
        if (n > 0) {
            pos_ = 0;
            len_ = static_cast<std::size_t>(n);
            return true;
        }
        if (n < 0 && errno == EINTR) {
            if (askedToStop()) return false;
            continue;
        }
        if (n < 0) error_ = reason(errno);
        eof_ = true;
        return false;
    }
}

bool SourceReader::nextLine(std::string_view& line) {
    // Most lines lie whole in the buffer: they are handed out where they are.
    if (pos_ < len_) {
        const char* start = buffer_ + pos_;
        const void* lf = std::memchr(start, '\n', len_ - pos_);
        if (lf) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
            std::size_t kept = std::min(length, kKeep);
            if (kept == length && kept > 0 && start[kept - 1] == '\r') --kept;
            pos_ += length + 1;
            line = std::string_view(start, kept);
            return true;
        }
    }
    if (!readLine(spill_)) return false;
    line = spill_;
    return true;
}

bool SourceReader::readLine(std::string& line) {
    line.clear();
    std::size_t length = 0;  // of the whole line, kept or not
    bool any = false;
    for (;;) {
        if (pos_ == len_ && !fill()) {
            if (!any) return false;
            break;  // a last line without a line end
        }
        any = true;
        const char* start = buffer_ + pos_;
        const std::size_t avail = len_ - pos_;
        const void* lf = std::memchr(start, '\n', avail);
        const std::size_t take = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : avail;
        if (line.size() < kKeep) line.append(start, std::min(take, kKeep - line.size()));
        length += take;
        pos_ += take;
        if (lf) {
            ++pos_;
            break;
        }
    }
    if (length == line.size() && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

// ---- ModuleWriter -----------------------------------------------------------

ModuleWriter::~ModuleWriter() { abandon(); }

std::string ModuleWriter::open(const std::string& name) {
    if (name.empty()) return reason(ENOENT);
    if (name == "-") {
        fd_ = 1;
        direct_ = true;
        return {};
    }
    std::string path = name;
    struct stat st {};
    bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return reason(EISDIR);
        if (!S_ISREG(st.st_mode)) {
            // A device or a pipe: there is nothing to replace, write to it.
            fd_ = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            if (fd_ < 0) return reason(errno);
            direct_ = true;
            return {};
        }
        // Replace what a link points to, not the link.
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved)) path = resolved;
        if (::access(path.c_str(), W_OK) != 0) return reason(errno);
    } else if (errno != ENOENT) {
        return reason(errno);
    }

    // Fixed now: the rename at the end must not depend on the current folder
    // then.
    if (path[0] != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd)) path = std::string(cwd) + "/" + path;
    }
    const std::string folder = folderOf(path);
    const std::size_t slash = path.rfind('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = folder + "/." + base + ".XXXXXX";
    fd_ = ::mkstemp(temp.data());
    if (fd_ < 0) return reason(errno);
    ::fcntl(fd_, F_SETFD, FD_CLOEXEC);
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
    finalPath_ = path;
    tempPath_ = temp;
    buffer_.reserve(1 << 16);
    return {};
}

void ModuleWriter::writeLine(std::string_view line) {
    if (line.size() >= kBlock) {
        flush();
        writeAll(line);
        buffer_.append("\r\n");
        return;
    }
    buffer_.append(line);
    buffer_.append("\r\n");
    if (buffer_.size() >= kBlock) flush();
}

void ModuleWriter::writeAll(std::string_view bytes) {
    if (fd_ < 0 || !error_.empty()) return;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            error_ = reason(errno);
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
    if (!direct_ && fd_ >= 0 && written_ - synced_ >= kStep) {
        ::sync_file_range(fd_, static_cast<off_t>(synced_), static_cast<off_t>(written_ - synced_),
                          SYNC_FILE_RANGE_WRITE);
        synced_ = written_;
    }
#endif
}

std::string ModuleWriter::commit() {
    if (fd_ < 0) return error_.empty() ? reason(EBADF) : error_;
    flush();
    if (!direct_) {
        if (error_.empty() && ::fsync(fd_) != 0) error_ = reason(errno);
        if (::close(fd_) != 0 && error_.empty()) error_ = reason(errno);
        fd_ = -1;
        if (error_.empty() && ::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) error_ = reason(errno);
        if (!error_.empty()) {
            ::unlink(tempPath_.c_str());
        }
        tempPath_.clear();
        return error_;
    }
    if (fd_ != 1 && ::close(fd_) != 0 && error_.empty()) error_ = reason(errno);
    fd_ = -1;
    return error_;
}

void ModuleWriter::abandon() {
    if (!direct_ && fd_ >= 0) ::close(fd_);
    if (direct_ && fd_ > 1) ::close(fd_);
    fd_ = -1;
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    buffer_.clear();
}

}  // namespace ftvb
