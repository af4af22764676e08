// A conversion run: the listed files, in order, into one output module.
#pragma once

#include <string>
#include <vector>

#include "engine/failure.h"
#include "engine/seam.h"

namespace ftvb {

struct SkippedFile {
    std::string name;
    Failure why;
};

struct RunResult {
    long long lines = 0;               // source lines read, all files together
    std::vector<SkippedFile> skipped;  // listed files that could not be read
    bool moduleWritten = false;        // the module is complete and in place
    Failure moduleFailure;             // why not, when it is not
    bool stopped = false;              // the observer asked the run to stop
};

// Runs the conversion. The module is refused before anything is created
// when one of the listed files is the module itself; a module that cannot be
// created means nothing is read. Names are used exactly as listed; an empty
// entry is skipped without counting anything. When files were listed and
// not one of them could be read whole, the previous module is kept: a typo
// in the only name must not empty a module finished by hand.
[[nodiscard]] RunResult runConversion(const std::string& moduleName, const FileList& files, RunObserver& observer);

// A FileList over a plain vector of names.
class NameList : public FileList {
public:
    explicit NameList(std::vector<std::string> names) : names_(std::move(names)) {}
    std::size_t count() const override { return names_.size(); }
    std::string entry(std::size_t i) const override { return i < names_.size() ? names_[i] : std::string(); }

private:
    std::vector<std::string> names_;
};

}  // namespace ftvb
