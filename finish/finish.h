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
[[nodiscard]] FinishResult runFinish(const std::string& moduleName, const FileList& files, RunObserver& observer);

struct FinishOptions {
    // What one VBA module may hold; tests lower it to see the split.
    std::size_t maxLines = 65534;
    // Threads that read, parse and write the files: 0 as many as the
    // machine has cores (at most 4), 1 none beside the caller's. The
    // modules are the same whatever the count.
    std::size_t threads = 0;
};
[[nodiscard]] FinishResult runFinish(const std::string& moduleName, const FileList& files, RunObserver& observer,
                                     const FinishOptions& options);

// The name of the k-th module (from 1) of a run asked to write `moduleName`:
// solver.bas, solver_2.bas, solver_3.bas...
std::string moduleFileName(const std::string& moduleName, std::size_t k);
// The VB_Name of a module file: its name without folder and extension,
// made an identifier.
std::string moduleVbName(const std::string& fileName);

}  // namespace ftvb::finish
