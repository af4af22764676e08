#include "engine/failure.h"

#include <utility>

namespace ftvb {

Failure runFailure(Reason reason, std::string other) {
    Failure f;
    f.reason = reason;
    f.other = std::move(other);
    return f;
}

std::string describe(const Failure& failure) {
    switch (failure.reason) {
        case Reason::sourceIsModule: return "it is also listed as a source ('" + failure.other + "')";
        case Reason::isTheModule: return "it is the output module";
        case Reason::stopped: return "the run was stopped";
        case Reason::nothingRead: return "no listed file could be read";
        case Reason::outOfMemory:
            if (failure.systemText.empty()) return "out of memory";
            break;
        default: break;
    }
    return failure.systemText.empty() ? "error " + std::to_string(failure.code) : failure.systemText;
}

}  // namespace ftvb
