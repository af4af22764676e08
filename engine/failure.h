// Why a file could not be read or the module could not be written, as a
// kind that each program words in its own language, with the system's code
// and its own wording kept for the kinds the system decides.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace ftvb {

enum class Reason {
    // The system refused; `code` and `systemText` say how.
    noSuchFile,
    permissionDenied,
    isAFolder,
    noSpace,
    fileTooLarge,
    outOfMemory,  // also the rules asking for more memory than there is
    inUse,        // another program holds the file (a busy file, a sharing violation)
    badDescriptor,
    otherSystemError,
    // The run's own reasons.
    sourceIsModule,  // the module is also a listed source, named in `other`
    isTheModule,     // a listed file became the module while the run went on
    stopped,         // the run was asked to stop
    nothingRead,     // not one listed file could be read: the module is kept
};

struct Failure {
    Reason reason = Reason::otherSystemError;
    int code = 0;            // errno, or the Windows error code
    std::string systemText;  // the system's own wording of `code`
    std::string other;       // the source named by sourceIsModule

    bool operator==(const Failure&) const = default;
};

// What a fallible call of the file side gives back: ok, or the failure
// with its kind and the system's own code. It has no conversion to bool,
// which read the wrong way round ("if (open(name))" meant "if it failed"),
// and it may not be dropped unread.
class [[nodiscard]] Status {
public:
    Status() = default;  // ok
    // A failure, so that "return systemFailure(code);" reads as it does.
    Status(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_.has_value(); }
    // Only when not ok().
    const Failure& failure() const { return *failure_; }
    Reason reason() const { return failure_->reason; }
    int code() const { return failure_->code; }  // errno, or the Windows error code
    bool failedWith(Reason reason) const { return failure_.has_value() && failure_->reason == reason; }

    bool operator==(const Status&) const = default;

private:
    std::optional<Failure> failure_;
};

// The failure of a system call, from its error code (errno on POSIX,
// GetLastError() on Windows), with the system's own wording.
Failure systemFailure(int code);

Failure runFailure(Reason reason, std::string other = {});

// The English wording that ftvb-convert prints: the system's own text for
// what the system refused, ours for the rest.
std::string describe(const Failure& failure);

}  // namespace ftvb
