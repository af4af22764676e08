// The porting checklist: the places of the module that need a person, each
// of a kind that the stage which rewrote or kept the statement knows.
//
// An entry names the statement's first line in its source file and the
// module line where its translation begins, and is written the way
// compilers write their notes, so that editors jump to it:
//
//   linalg.for:123: note: FORMAT statement left as a comment; rewrite the output it describes [format]
//   (module1.bas:456)
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ftvb {

enum class ReviewKind {
    format,
    include,
    arithmeticIf,
    computedGoto,
    assignedGoto,
    ioUnchanged,
    common,
    equivalence,
    entry,
    typedFunction,
    functionAsDeclaration,
    keywordInName,
    quotedText,
    dataRepeat,
    doStep,
    pause,
    statementFunction,
    // Only the finisher notes these.
    notTranslated,
    notRead,
};

inline constexpr std::size_t kReviewKinds = static_cast<std::size_t>(ReviewKind::notRead) + 1;

struct ReviewNote {
    ReviewKind kind;
    std::string_view detail;  // the keyword or statement word the note is about, when it has one
    std::string_view source;  // the file as it was listed
    long long sourceLine;     // first line of the statement in that file, from 1
    long long moduleLine;     // where its translation begins in the module, from 1
    // The module that holds it, when the run wrote several; empty for the
    // one the list is about.
    std::string_view module = {};
};

// The short fixed tag of a kind, for filtering: "format", "arithmetic-if"...
std::string_view reviewTag(ReviewKind kind);

// One entry, without its line end.
std::string formatReviewNote(const ReviewNote& note, std::string_view module);
// The same, put at the end of `out`.
void appendReviewNote(std::string& out, const ReviewNote& note, std::string_view module);

// Counts per kind, and the summary line that ends a list:
// "review: 14 format, 3 include, 2 arithmetic-if".
class ReviewTally {
public:
    void add(ReviewKind kind) { ++counts_[static_cast<std::size_t>(kind)]; }
    long long total() const;
    long long count(ReviewKind kind) const { return counts_[static_cast<std::size_t>(kind)]; }
    std::string summary() const;

private:
    std::array<long long, kReviewKinds> counts_{};
};

// The whole list of one run, as the command line and the window write it:
// one entry a line, each ended by LF, then the summary line.
//
// The entries are kept in blocks of about a megabyte, so that a list of
// hundreds of thousands of entries grows without being copied; or each
// full block is handed on as soon as it is full, and memory stays flat.
class ReviewList {
public:
    explicit ReviewList(std::string module) : module_(std::move(module)) {}
    // From now on full blocks go to `spill` instead of being kept.
    void spillTo(std::function<void(std::string_view)> spill) { spill_ = std::move(spill); }
    void add(const ReviewNote& note);
    const ReviewTally& tally() const { return tally_; }
    // The entries not spilled, and the summary.
    std::string text() const;
    // The same in pieces, to write one after the other; valid until the
    // next add().
    std::vector<std::string_view> pieces();

private:
    std::string module_;
    std::vector<std::string> blocks_;
    std::function<void(std::string_view)> spill_;
    std::string summary_;
    ReviewTally tally_;
};

}  // namespace ftvb
