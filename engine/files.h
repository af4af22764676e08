// The file side of the seam: source files read line by line, and the output
// module written whole or not at all.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "engine/failure.h"
#include "engine/seam.h"

namespace ftvb {

// The identity of an existing file (device and inode; on Windows volume
// serial and file index), however its name is written; "-" stands for
// standard input. Empty when there is no such file.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool exists = false;
    bool regular = false;  // only a regular file can be emptied by a run
    // Device and inode name this file alone: always on POSIX, only for
    // files on a disk on Windows (pipes and consoles there have none).
    bool known = false;
    bool operator==(const FileIdentity&) const = default;
};
// Reads a source file ("-" is standard input) line by line. A line ends at
// LF; one CR right before the LF is dropped; a last line without an LF still
// counts. Only the first `keep` bytes of a line are kept: the intake looks at
// no more, so a megabyte line costs no memory.
class SourceReader {
public:
    static constexpr std::size_t kKeep = 72;

    // `observer` is asked whether to stop whenever a read is interrupted by a
    // signal and after every 64 KiB read, so that waiting for input, or a
    // line that never ends, cannot keep a run from stopping.
    explicit SourceReader(RunObserver* observer = nullptr) : observer_(observer) {}
    SourceReader(const SourceReader&) = delete;
    SourceReader& operator=(const SourceReader&) = delete;
    ~SourceReader();

    Status open(const std::string& name);
    // False at the end of the file or on a read error (see error()).
    [[nodiscard]] bool readLine(std::string& line);
    // The same without a copy: `line` stays valid until the next call.
    [[nodiscard]] bool nextLine(std::string_view& line);
    const Status& error() const { return error_; }
    // The observer asked to stop while this file was being read.
    bool stopped() const { return stopped_; }
    // What was opened, as the open file itself says.
    const FileIdentity& identity() const { return identity_; }

private:
    bool fill();
    bool askedToStop();

    RunObserver* observer_ = nullptr;
    bool stopped_ = false;
    FileIdentity identity_;
    int fd_ = -1;  // the file's descriptor; on Windows its handle
    bool ownsFd_ = false;
    Status error_;
    std::string spill_;  // a line that a refill of the buffer cuts in two
    // On the heap: a run must work with the smallest stack a shell allows.
    static constexpr std::size_t kBufferSize = std::size_t{1} << 16;
    std::unique_ptr<char[]> buffer_{new char[kBufferSize]};
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool eof_ = false;
};

// The output module. A regular file (or a name not yet taken) is written to
// a temporary file beside it that replaces the module only when everything
// is written, so a failed or interrupted run leaves the previous module as
// it was. Standard output ("-") and modules that are not regular files
// (devices, pipes) are written directly. Every line ends with CR LF.
//
// A pipe or FIFO that nobody reads can block a write, and a FIFO that
// nobody has opened yet blocks the open: both wait in steps that ask the
// observer whether to stop, so an interrupted run always ends.
class ModuleWriter : public LineSink {
public:
    explicit ModuleWriter(RunObserver* observer = nullptr) : observer_(observer) {}
    ModuleWriter(const ModuleWriter&) = delete;
    ModuleWriter& operator=(const ModuleWriter&) = delete;
    ~ModuleWriter() override;

    Status open(const std::string& name);
    // Standard error, written directly like "-" (where a list of places
    // to look at goes when no file is named for it).
    Status openStandardError();
    void writeLine(std::string_view line) override;
    // Bytes as they are, without a line end: for files other than modules
    // that must be written whole or not at all.
    void writeBytes(std::string_view bytes);
    // Buffered lines are written in blocks of this size; a longer line goes
    // out directly instead of being copied into the buffer.
    static constexpr std::size_t kBlock = 1 << 16;
    // Flushes and puts the module in place.
    Status commit();
    // For a file that can be made again (the list of places to look at):
    // it is still put in place whole or not at all, but not forced out to
    // the disk first, which for a list of tens of megabytes would cost more
    // than the run.
    void skipDiskFlush() { durable_ = false; }
    // Writes out what is buffered now (a stream then holds everything
    // written so far); the file is not put in place.
    void sendBuffered() { flush(); }
    // Drops what was written (removes the temporary file).
    void abandon();

    // The first write error, if any.
    const Status& error() const { return error_; }

private:
    void flush();
    Status openDirect(const std::string& path, bool fifo);
    void writeAll(std::string_view bytes);
    bool askedToStop();

    RunObserver* observer_ = nullptr;
    int fd_ = -1;  // the file's descriptor; on Windows its handle
    bool direct_ = false;
    bool mayBlock_ = false;  // a pipe, FIFO, socket or terminal
    bool durable_ = true;    // flushed to the disk before it is put in place
    std::string finalPath_;
    // The temporary file beside the module: on POSIX its name in the folder
    // held open by folderFd_, so that it is renamed or removed there even
    // when the folder has moved; on Windows its full path.
    std::string tempPath_;
    int folderFd_ = -1;
    std::string buffer_;
    Status error_;
    std::size_t written_ = 0;  // bytes handed to the file so far
    std::size_t synced_ = 0;   // bytes whose writing out has been started
};

// Puts `bytes` in place of the file `name` whole or not at all, the way a
// module is written ("-" is standard output).
Status writeWholeFile(const std::string& name, std::string_view bytes);
// The same for a text held in pieces, written one after the other.
Status writeWholeFile(const std::string& name, std::span<const std::string_view> pieces);

FileIdentity identityOf(const std::string& name);
// Of what standard output is connected to.
FileIdentity standardOutputIdentity();

// Where an output would be written: the file that is there, or, for a
// name not taken yet, the folder it would be made in and the name in it,
// so that "./m.bas" and "m.bas" are one place before either exists. "-"
// is standard output.
struct OutputPlace {
    FileIdentity file;
    FileIdentity folder;  // when there is no file
    std::string name;     // the last part of the name, in that folder
};
OutputPlace placeOf(const std::string& output);
// The same place: the same file, or the same name in the same folder (as
// the platform compares names: exactly on POSIX, ignoring case on Windows).
bool samePlace(const OutputPlace& a, const OutputPlace& b);

// What writing an output would destroy or mix up.
struct [[nodiscard]] OutputClash {
    // `stopped`: the observer asked for a stop while the sources were looked at.
    enum class With { nothing, source, otherOutput, stopped };
    With with = With::nothing;
    std::string source;  // the listed name, for a source
    explicit operator bool() const { return with != With::nothing; }
};

// The one rule for every output of a run, the module and the list of places
// to look at, written to a file, "-", a device, a FIFO or through a link:
// it may not be a listed source (a regular file, by any name, link or hard
// link; a source "-" is standard input), and it may not be `otherOutput`
// (when given), the same file or the same stream under another name. An
// `observer` is told of each source looked at, and may stop the check.
OutputClash outputClash(const std::string& output, const FileList& sources, const std::string* otherOutput = nullptr,
                        RunObserver* observer = nullptr);
// The same for standard error, where the list goes when no file is named
// for it: only a source counts, as the messages go there in any case.
OutputClash standardErrorClash(const FileList& sources);
// Of what standard error is connected to.
FileIdentity standardErrorIdentity();

}  // namespace ftvb
