#include "engine/review.h"

namespace ftvb {
namespace {

struct KindText {
    ReviewKind kind;
    std::string_view tag;
    // What happened and what to do; "%" stands for the note's detail, in
    // capitals when the detail is a statement word.
    std::string_view what;
};

constexpr std::array<KindText, kReviewKinds> kKinds{{
    {ReviewKind::format, "format", "FORMAT statement left as a comment; rewrite the output it describes"},
    {ReviewKind::include, "include", "INCLUDE left as a marked comment; bring in the included file by hand"},
    {ReviewKind::arithmeticIf, "arithmetic-if",
     "arithmetic IF given a 'then'; rewrite it as IF/ELSEIF on the sign of the expression"},
    {ReviewKind::computedGoto, "computed-goto", "computed GOTO keeps its label list; rewrite it as SELECT CASE"},
    {ReviewKind::assignedGoto, "assigned-goto", "% kept as written; rewrite the jump by hand"},
    {ReviewKind::ioUnchanged, "io-unchanged",
     "% statement passed through unchanged; rewrite it with BASIC file input and output"},
    {ReviewKind::common, "common", "COMMON passed through; declare its variables at module level by hand"},
    {ReviewKind::equivalence, "equivalence",
     "EQUIVALENCE passed through; BASIC shares no storage, rewrite what it overlays"},
    {ReviewKind::entry, "entry", "ENTRY passed through; give the extra entry a procedure of its own"},
    {ReviewKind::typedFunction, "typed-function",
     "function type dropped; give the function its type (as double, as integer...)"},
    {ReviewKind::functionAsDeclaration, "function-as-declaration",
     "typed function header taken for a declaration; rewrite it as a function header"},
    {ReviewKind::keywordInName, "keyword-in-name", "'%' rewritten inside a longer name; put the name back"},
    {ReviewKind::quotedText, "quoted-text", "text inside quotes rewritten like code; check the string"},
    {ReviewKind::dataRepeat, "data-repeat",
     "DATA repeat count or implied DO copied unexpanded; expand it by hand"},
    {ReviewKind::doStep, "do-step", "loop step is not 1 or -1, or is a name; check how the loop ends"},
    {ReviewKind::column1, "column-1", "'%' in column 1 taken for a label; it was meant as a comment"},
    {ReviewKind::pause, "pause", "PAUSE passed through; BASIC has none, replace it or take it out"},
    {ReviewKind::statementFunction, "statement-function",
     "statement function left as an assignment; rewrite it as a function"},
}};

constexpr bool inKindOrder() {
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        if (static_cast<std::size_t>(kKinds[i].kind) != i) return false;
    }
    return true;
}
static_assert(inKindOrder(), "one row per kind, in the order of ReviewKind");

const KindText& textOf(ReviewKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

}  // namespace

std::string_view reviewTag(ReviewKind kind) { return textOf(kind).tag; }

std::string formatReviewNote(const ReviewNote& note, std::string_view module) {
    const KindText& text = textOf(note.kind);
    std::string line(note.source);
    line += ':';
    line += std::to_string(note.sourceLine);
    line += ": note: ";
    for (const char c : text.what) {
        if (c == '%') {
            line += note.detail;
        } else {
            line += c;
        }
    }
    line += " [";
    line += text.tag;
    line += "] (";
    line += module;
    line += ':';
    line += std::to_string(note.moduleLine);
    line += ')';
    return line;
}

long long ReviewTally::total() const {
    long long sum = 0;
    for (const long long n : counts_) sum += n;
    return sum;
}

std::string ReviewTally::summary() const {
    std::string line = "review:";
    bool any = false;
    for (const KindText& text : kKinds) {
        const long long n = count(text.kind);
        if (n == 0) continue;
        line += any ? ", " : " ";
        line += std::to_string(n);
        line += ' ';
        line += text.tag;
        any = true;
    }
    if (!any) line += " nothing to finish by hand";
    return line;
}

void ReviewList::add(const ReviewNote& note) {
    entries_ += formatReviewNote(note, module_);
    entries_ += '\n';
    tally_.add(note.kind);
}

std::string ReviewList::text() const { return entries_ + tally_.summary() + "\n"; }

}  // namespace ftvb
