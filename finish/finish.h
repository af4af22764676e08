// The finisher: FORTRAN read as a compiler's front end reads it, and VBA
// written from the tree, so that the module compiles and gives FORTRAN's
// numbers. A translator of its own beside the statement routine: the default
// module does not go through it.
#pragma once

#include <string>
#include <vector>

#include "engine/run.h"
#include "engine/seam.h"

namespace ftvb::finish {

struct FinishResult : ftvb::RunResult {
    std::vector<std::string> modules;  // files written, in order
};

// Two passes over the listed files: the program index, then the
// translation. Writes moduleName and, when the output must be split, more
// modules named after it (NAME_2.bas, NAME_3.bas...).
FinishResult runFinish(const std::string& moduleName, const FileList& files, RunObserver& observer);

}  // namespace ftvb::finish
