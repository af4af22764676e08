// What the file side does the same way on every platform, over the
// platform's SourceReader and ModuleWriter: lines cut out of the read
// buffer, lines and bytes gathered into the write buffer, the stop check
// and the writer's clean-up.
#include <algorithm>
#include <cstring>

#include "engine/files.h"

namespace ftvb {

bool SourceReader::askedToStop() {
    if (observer_ && observer_->stopRequested()) {
        stopped_ = true;
        eof_ = true;
    }
    return stopped_;
}

bool SourceReader::nextLine(std::string_view& line) {
    // Most lines lie whole in the buffer: they are handed out where they are.
    if (pos_ < len_) {
        const char* start = buffer_.get() + pos_;
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
        const char* start = buffer_.get() + pos_;
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

ModuleWriter::~ModuleWriter() { abandon(); }

bool ModuleWriter::askedToStop() {
    if (observer_ == nullptr || !observer_->stopRequested()) return false;
    if (error_.ok()) error_ = runFailure(Reason::stopped);
    return true;
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

void ModuleWriter::writeBytes(std::string_view bytes) {
    if (bytes.size() >= kBlock) {
        flush();
        writeAll(bytes);
        return;
    }
    buffer_.append(bytes);
    if (buffer_.size() >= kBlock) flush();
}

Status writeWholeFile(const std::string& name, std::string_view bytes) {
    return writeWholeFile(name, std::span<const std::string_view>(&bytes, 1));
}

Status writeWholeFile(const std::string& name, std::span<const std::string_view> pieces) {
    ModuleWriter file;
    if (Status opened = file.open(name); !opened.ok()) return opened;
    for (const std::string_view piece : pieces) file.writeBytes(piece);
    return file.commit();
}

}  // namespace ftvb

namespace ftvb {

namespace {

// Only a regular file is emptied or fed its own output; a source that is
// the terminal the module goes to ("-o - -" typed in) harms nothing.
OutputClash sourceClash(const FileIdentity& target, const FileList& sources, RunObserver* observer) {
    OutputClash clash;
    if (!target.known || !target.regular) return clash;
    const std::size_t count = sources.count();
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = sources.entry(i);
        if (!name.empty() && identityOf(name) == target) {
            clash.with = OutputClash::With::source;
            clash.source = std::move(name);
            return clash;
        }
        // A long list takes a while to look at: a window lets its events in
        // between the files, and may be asked to stop.
        if (observer != nullptr) {
            observer->fileChecked();
            if (observer->stopRequested()) {
                clash.with = OutputClash::With::stopped;
                return clash;
            }
        }
    }
    return clash;
}

}  // namespace

OutputClash standardErrorClash(const FileList& sources) {
    return sourceClash(standardErrorIdentity(), sources, nullptr);
}

OutputClash outputClash(const std::string& output, const FileList& sources, const std::string* otherOutput,
                        RunObserver* observer) {
    const OutputPlace place = placeOf(output);
    OutputClash clash = sourceClash(place.file, sources, observer);
    if (clash) return clash;
    // A source not there yet, listed under the output's own name: it would
    // be the output's once written. ("-" reads standard input, and writes
    // standard output.)
    if (output != "-") {
        const std::size_t count = sources.count();
        for (std::size_t i = 0; i < count; ++i) {
            if (sources.entry(i) == output) {
                clash.with = OutputClash::With::source;
                clash.source = output;
                return clash;
            }
        }
    }
    // Two outputs in one place: the second would replace the first, or be
    // mixed into its stream. One spelling is one place even where nothing
    // can be found out ("-" with standard output closed, a missing folder).
    if (otherOutput != nullptr && (output == *otherOutput || samePlace(place, placeOf(*otherOutput)))) {
        clash.with = OutputClash::With::otherOutput;
    }
    return clash;
}

}  // namespace ftvb
