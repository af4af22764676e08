#include "engine/failure.h"

#include <utility>

#include "engine/shown_name.h"

namespace ftvb {

Failure runFailure(Reason reason, std::string other) {
    Failure f;
    f.reason = reason;
    f.other = std::move(other);
    return f;
}

std::string describe(const Failure& failure) {
    switch (failure.reason) {
        case Reason::sourceIsModule: {
            std::string text = "it is also listed as a source ('";
            appendShownName(text, failure.other);
            return text + "')";
        }
        case Reason::isTheModule: return "it is the output module";
        case Reason::stopped: return "the run was stopped";
        case Reason::nothingRead: return "no listed file could be read";
        default: break;
    }
    if (!failure.systemText.empty()) return failure.systemText;
    // The system has no words for it (the rules running out of memory, or
    // a Windows without the message): ours, as POSIX words them.
    switch (failure.reason) {
        case Reason::noSuchFile: return "No such file or directory";
        case Reason::permissionDenied: return "Permission denied";
        case Reason::isAFolder: return "Is a directory";
        case Reason::noSpace: return "No space left on device";
        case Reason::fileTooLarge: return "File too large";
        case Reason::outOfMemory: return "out of memory";
        case Reason::inUse: return "File in use by another program";
        case Reason::badDescriptor: return "Bad file descriptor";
        default: return "error " + std::to_string(failure.code);
    }
}

}  // namespace ftvb
