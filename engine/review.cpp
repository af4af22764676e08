#include "engine/review.h"

#include <charconv>

#include "engine/shown_name.h"

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
    {ReviewKind::assignedGoto, "assigned-goto",
     "jump to a label held in a variable (ASSIGN, assigned GOTO); rewrite it by hand"},
    {ReviewKind::ioUnchanged, "io-unchanged",
     "% statement passed through unchanged; rewrite it with BASIC file input and output"},
    {ReviewKind::common, "common", "COMMON passed through; declare its variables at module level by hand"},
    {ReviewKind::equivalence, "equivalence",
     "EQUIVALENCE passed through; BASIC shares no storage, rewrite what it overlays"},
    {ReviewKind::entry, "entry", "ENTRY passed through; give the extra entry a procedure of its own"},
    {ReviewKind::typedFunction, "typed-function",
     "% function type dropped; give the function its type (as double, as integer...)"},
    {ReviewKind::functionAsDeclaration, "function-as-declaration",
     "typed function header taken for a declaration; rewrite it as a function header"},
    {ReviewKind::keywordInName, "keyword-in-name",
     "'%' rewritten inside a name or where it is no keyword; put the name back"},
    {ReviewKind::quotedText, "quoted-text", "text inside quotes rewritten like code; check the string"},
    {ReviewKind::dataRepeat, "data-repeat", "DATA repeat count or implied DO copied unexpanded; expand it by hand"},
    {ReviewKind::doStep, "do-step",
     "loop step not followed (a labelled DO's step) or taken as positive (a step given by a name); check the "
     "loop's bounds and how it ends"},
    {ReviewKind::pause, "pause", "PAUSE passed through; BASIC has none, replace it or take it out"},
    {ReviewKind::statementFunction, "statement-function",
     "statement function left as an assignment; rewrite it as a function"},
    {ReviewKind::notTranslated, "not-translated", "statement left as a marked comment (%); translate it by hand"},
    {ReviewKind::notRead, "not-read", "statement not read as FORTRAN (%); left as a marked comment"},
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

void appendReviewNote(std::string& out, const ReviewNote& note, std::string_view module) {
    const KindText& text = textOf(note.kind);
    const auto number = [&out](long long n) {
        char digits[24];
        const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, n);
        out.append(digits, end);
    };
    appendShownName(out, note.source);
    out += ':';
    number(note.sourceLine);
    out += ": note: ";
    const std::size_t mark = text.what.find('%');
    if (mark == std::string_view::npos) {
        out += text.what;
    } else {
        out += text.what.substr(0, mark);
        out += note.detail;
        out += text.what.substr(mark + 1);
    }
    out += " [";
    out += text.tag;
    out += "] (";
    appendShownName(out, note.module.empty() ? module : note.module);
    out += ':';
    number(note.moduleLine);
    out += ')';
}

std::string formatReviewNote(const ReviewNote& note, std::string_view module) {
    std::string line;
    appendReviewNote(line, note, module);
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
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    constexpr std::size_t kRoomForOne = 8192;  // an entry longer than that grows its block, which is all
    if (blocks_.empty()) blocks_.emplace_back().reserve(kBlock);
    if (blocks_.back().size() + kRoomForOne > kBlock) {
        if (spill_) {
            spill_(blocks_.back());
            blocks_.back().clear();
        } else {
            blocks_.emplace_back().reserve(kBlock);
        }
    }
    std::string& block = blocks_.back();
    appendReviewNote(block, note, module_);
    block += '\n';
    tally_.add(note.kind);
}

std::string ReviewList::text() const {
    std::string all;
    for (const std::string& block : blocks_) all += block;
    all += tally_.summary();
    all += '\n';
    return all;
}

std::vector<std::string_view> ReviewList::pieces() {
    std::vector<std::string_view> all(blocks_.begin(), blocks_.end());
    summary_ = tally_.summary() + "\n";
    all.emplace_back(summary_);
    return all;
}

}  // namespace ftvb
