// The engine's only contact with the outside: lines go out through a sink,
// progress goes to an observer, and the files of a run come from a list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/review.h"

namespace ftvb {

// Receives each line of the output module, without its line end, in the
// order the rules produce them.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void writeLine(std::string_view line) = 0;
};

// Told of each source line counted and of each statement as it enters the
// translation, so that a window can show them and let its events run.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void lineCounted(long long /*lines*/) {}
    virtual void statementShown(std::string_view /*statement*/) {}
    // Checked once per line; a run that is asked to stop ends without
    // replacing the module.
    virtual bool stopRequested() { return false; }
    // Told once per listed file while the list is checked against the
    // module, before the first line is read: on thousands of files that
    // check takes a while, and a window lets its events in meanwhile.
    virtual void fileChecked() {}
    // Asked once when the run starts: whether to note the places of the
    // module that need a person. A run that does not pays nothing for it.
    virtual bool wantsReview() { return false; }
    // One such place; the texts it points to last only for the call.
    virtual void reviewNoted(const ReviewNote& /*note*/) {}
    // Everything is read and converted, and the module is about to be put
    // in place: the moment to write out what goes beside it. A stop asked
    // for meanwhile (a list waiting for its reader) still keeps the
    // previous module.
    virtual void beforeCommit() {}
};

// The ordered names of the files to convert. The count is taken once at the
// start of a run; each entry is fetched when its turn comes, so a window may
// change the list while the run goes on.
class FileList {
public:
    virtual ~FileList() = default;
    virtual std::size_t count() const = 0;
    virtual std::string entry(std::size_t index) const = 0;
};

}  // namespace ftvb
