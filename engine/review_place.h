// Where the list of places to look at may be written, for both programs:
// ftvb-convert writes it where --review=FILE says, the window beside the
// module under a name of its own making. Neither writes it over a source
// or the module, and the window, which chose the name itself, replaces or
// removes only a list that ftvb wrote.
#pragma once

#include <string>

#include "engine/files.h"
#include "engine/seam.h"

namespace ftvb {

// The window's name for the list: beside the module, under the module's
// name with its extension replaced ("module1.bas" -> "module1.review.txt").
std::string reviewFileBeside(const std::string& module);

// Whether `name` is a list this program wrote: its last line is the
// summary a list ends with.
bool isOurReview(const std::string& name);

// Who chose the list's name: the user, whose file there is replaced, or
// the program, which leaves a file it did not write alone.
enum class ReviewNamedBy { user, program };

// What stands at the place of a list.
struct ReviewPlace {
    // The list would be a listed source or the module (by a link, by
    // another spelling, or both the same stream): never written.
    OutputClash clash;
    bool ours = false;     // a list this program wrote is there
    bool foreign = false;  // another file is there, which the program must keep
    // The list may be written here (and, if it is ours, removed).
    bool writable() const { return !clash && !foreign; }
};

// Looks at `review` for a run that writes `module` from `sources`. A file
// there is read to see whether it is ours only when the program chose the
// name: a list the user named may be any size, and is replaced in any case.
ReviewPlace reviewPlace(const std::string& review, const std::string& module, const FileList& sources,
                        ReviewNamedBy namedBy);

// Why the list may not be written where the user asked, in the English of
// ftvb-convert's messages ("it is also the module"); empty when it may.
std::string describeReviewClash(const OutputClash& clash, const std::string& module);

}  // namespace ftvb
