#include "engine/statement.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "text/primitives.h"

namespace ftvb {
namespace {

// Each search text with its rarest byte, for the searches of the edits.
constexpr auto kPatterns = []<std::size_t... I>(std::index_sequence<I...>) {
    return std::array<Pattern, kTextCount>{Pattern(detail::kEntries[I].text)...};
}
(std::make_index_sequence<kTextCount>{});

const Pattern& patternOf(Text t) { return kPatterns[static_cast<std::size_t>(t)]; }

constexpr Texts kStretching = [] {
    Texts s = 0;
    for (const detail::Entry& e : detail::kEntries) {
        if (stretches(e.text)) s |= bit(e.id);
    }
    return s;
}();

// After a replace-all of `find`, whether it is certainly gone: a stretching
// text may still stand with a run of blanks in it, which a later collapse
// makes into the text.
bool gone(Text find, Texts known) { return (bit(find) & kStretching) == 0 || (known & bit(Text::twoBlanks)) == 0; }

struct Hit {
    std::size_t pos;
    std::uint32_t rewrite;
    bool selected;
};

// Beyond this many bytes a statement is out of the ordinary: its matches are
// not listed, a result built beside it is sized before it is built, and its
// buffers are let go when the next statement begins.
constexpr std::size_t kOrdinaryAtMost = std::size_t{1} << 16;

// A statement holds few matches: insertion sort, stable, beats the library's.
template <typename Less>
void sortStably(std::vector<Hit>& hits, Less less) {
    if (hits.size() > 32) {
        std::stable_sort(hits.begin(), hits.end(), less);
        return;
    }
    for (std::size_t i = 1; i < hits.size(); ++i) {
        const Hit h = hits[i];
        std::size_t j = i;
        for (; j > 0 && less(h, hits[j - 1]); --j) hits[j] = hits[j - 1];
        hits[j] = h;
    }
}

// Puts runs that are each in the order of `less` (runs[i] to runs[i + 1])
// in that order together, two by two, as a merge sort's last rounds do.
template <typename Less>
void mergeRuns(std::vector<Hit>& hits, std::vector<std::size_t>& runs, Less less) {
    while (runs.size() > 2) {
        std::size_t kept = 1;
        for (std::size_t r = 0; r + 1 < runs.size(); r += 2) {
            const std::size_t mid = runs[r + 1];
            const std::size_t last = r + 2 < runs.size() ? runs[r + 2] : mid;
            std::inplace_merge(hits.begin() + static_cast<long>(runs[r]), hits.begin() + static_cast<long>(mid),
                               hits.begin() + static_cast<long>(last), less);
            runs[kept++] = last;
        }
        runs.resize(kept);
    }
}

// Every occurrence of the rewrites' search texts that `present` allows,
// in the order of the text, each marked as the replace-alls in turn would
// choose it: a rewrite, from the left, takes an occurrence that no earlier
// choice has touched.
const std::vector<Hit>& chosenMatches(std::string_view t, std::span<const Rewrite> rewrites, Texts present) {
    // Overlapping occurrences too, in the order of the rewrites and then of
    // the text, in one run for each rewrite.
    thread_local std::vector<Hit> hits;
    thread_local std::vector<std::size_t> runs;
    hits.clear();
    runs.assign(1, 0);
    for (std::size_t i = 0; i < rewrites.size(); ++i) {
        const Text find = rewrites[i].find;
        if ((present & bit(find)) == 0) continue;
        for (std::size_t p = findText(t, patternOf(find)); p != std::string::npos;
             p = findText(t, patternOf(find), p + 1)) {
            hits.push_back({p, static_cast<std::uint32_t>(i), true});
        }
        if (hits.size() != runs.back()) runs.push_back(hits.size());
    }
    auto lengthOf = [&](const Hit& h) { return textOf(rewrites[h.rewrite].find).size(); };
    const auto byPosition = [](const Hit& a, const Hit& b) { return a.pos < b.pos; };
    if (hits.size() <= 32) {
        sortStably(hits, byPosition);
    } else {
        mergeRuns(hits, runs, byPosition);
    }
    bool overlap = false;
    for (std::size_t k = 1; k < hits.size() && !overlap; ++k) {
        overlap = hits[k].pos < hits[k - 1].pos + lengthOf(hits[k - 1]);
    }
    if (!overlap) return hits;
    sortStably(hits, [](const Hit& a, const Hit& b) { return a.rewrite < b.rewrite; });
    std::vector<bool> taken(t.size(), false);
    for (Hit& h : hits) {
        const auto from = taken.begin() + static_cast<long>(h.pos);
        const auto to = from + static_cast<long>(lengthOf(h));
        h.selected = std::none_of(from, to, [](bool b) { return b; });
        if (h.selected) std::fill(from, to, true);
    }
    sortStably(hits, byPosition);
    return hits;
}

}  // namespace

std::string& Statement::whole() {
    blankTail_ = kUnknown;  // whoever asks for the string changes it
    if (begin_ != 0 || end_ != buf_.size()) {
        const std::size_t n = size();
        std::memmove(buf_.data(), buf_.data() + begin_, n);
        buf_.resize(n);
        begin_ = 0;
        end_ = n;
    }
    return buf_;
}

void Statement::takeSpare() {
    blankTail_ = kUnknown;
    buf_.swap(spare_);
    begin_ = 0;
    end_ = buf_.size();
}

void Statement::assign(std::string_view text) {
    buf_.assign(text);
    begin_ = 0;
    end_ = buf_.size();
    learn();
}

void Statement::clear() {
    if (buf_.capacity() > kOrdinaryAtMost) std::string().swap(buf_);
    if (spare_.capacity() > kOrdinaryAtMost) std::string().swap(spare_);
    begin_ = end_ = 0;
    blankTail_ = 0;
    if (!buf_.empty()) buf_[0] = '\0';
    known_ = kNoTexts;
}

char* Statement::extend(std::size_t n) {
    const std::size_t at = end_;
    // Room for the text and its NUL. The capacity doubles, but only what
    // is used is written, so that a long statement's spare room costs no
    // memory until it is needed.
    const std::size_t needed = at + n + 1;
    if (needed > buf_.size()) {
        if (needed > buf_.capacity()) buf_.reserve(std::max(needed, 2 * buf_.capacity()));
        buf_.resize(needed);
    }
    std::memset(buf_.data() + at, ' ', n);
    endAt(at + n);
    return buf_.data() + at;
}

void Statement::formed(std::size_t pos, const Insertion& insertion) {
    if (insertion.known) {
        known_ |= pos == 0 ? insertion.formsAtStart : insertion.forms;
    } else {
        known_ |= scanTexts(text(), reachBack(text(), pos), pos + insertion.text.size());
        if (holdsCapital(insertion.text)) known_ |= bit(Text::capital);
    }
}

void Statement::joined(std::size_t pos) {
    if (pos == 0 || pos >= size()) return;  // nothing on one side: nothing joined
    known_ |= scanTexts(text(), reachBack(text(), pos), pos);
}

void Statement::replaceAllHeld(Text find, const Insertion& replacement) {
    const bool certain = gone(find, known_);
    const std::size_t p = findText(text(), patternOf(find));
    if (certain) known_ &= ~bit(find);
    if (p == std::string::npos) return;
    transfFrom(whole(), textOf(find), replacement.text, p, spare_);
    end_ = buf_.size();
    if (replacement.known) {
        known_ |= replacement.forms;
    } else {
        learn();
    }
}

void Statement::replaceAll(std::string_view find, const Insertion& replacement) {
    if (find.empty()) return;
    const std::size_t p = findText(text(), Pattern(find));
    if (p == std::string::npos) return;
    transfFrom(whole(), find, replacement.text, p, spare_);
    end_ = buf_.size();
    if (replacement.known) {
        known_ |= replacement.forms;
    } else {
        learn();
    }
}

void Statement::collapseHeldBlanks() {
    known_ &= ~bit(Text::twoBlanks);
    blankTail_ = kUnknown;
    const std::size_t p = findDoubled(text(), ' ');
    if (p == std::string_view::npos) return;
    endAt(begin_ + collapseRuns(buf_.data() + begin_, size(), ' ', p));
}

void Statement::replaceAllInOnePass(const OnePass& pass) {
    const std::span<const Rewrite> rewrites = pass.rewrites();
    const Texts present = known_ & pass.finds();
    if ((present & ~pass.byteFinds()) == 0) {
        replaceBytesInPlace(pass, present);
        return;
    }
    if (size() > kOrdinaryAtMost) {
        // A statement of megabytes would hold millions of matches: the
        // replace-alls in turn, which is what the pass stands for, need no
        // list of them.
        for (const Rewrite& r : rewrites) replaceAll(r);
        if (pass.collapses()) collapseHeldBlanks();
        return;
    }
    const std::string_view t = text();
    const std::vector<Hit>& hits = chosenMatches(t, rewrites, present);
    std::string& out = spare_;
    out.clear();
    out.reserve(t.size() + hits.size() * 8);
    std::size_t cur = 0;
    Texts forms = 0;
    for (const Hit& h : hits) {
        if (!h.selected) continue;
        const Rewrite& r = rewrites[h.rewrite];
        out.append(t.substr(cur, h.pos - cur));
        out.append(r.replacement.text);
        forms |= r.replacement.forms;
        cur = h.pos + textOf(r.find).size();
    }
    out.append(t.substr(cur));
    takeSpare();
    known_ = (known_ & ~pass.finds()) | forms;
    // The collapse that follows the rewrites, on what they made.
    if (pass.collapses()) collapseHeldBlanks();
}

// One byte for another moves nothing: in place.
void Statement::replaceBytesInPlace(const OnePass& pass, Texts present) {
    for (Texts left = present; left != 0; left &= left - 1) {
        const Rewrite& r = pass.rewrites()[pass.indexOf(static_cast<Text>(std::countr_zero(left)))];
        const char from = textOf(r.find)[0];
        const char to = r.replacement.text[0];
        char* p = buf_.data() + begin_;
        char* const end = p + size();
        bool any = false;
        if (to == ' ' || from == ' ') blankTail_ = kUnknown;
        while ((p = static_cast<char*>(std::memchr(p, from, static_cast<std::size_t>(end - p)))) != nullptr) {
            *p++ = to;
            any = true;
        }
        if (any) known_ |= r.replacement.forms;
    }
    known_ &= ~pass.finds();
    if (pass.collapses()) collapseBlanks();
}

void Statement::replace(std::size_t pos, std::size_t count, const Insertion& insertion) {
    count = std::min(count, size() - pos);
    const std::string_view with = insertion.text;
    if (with.size() == count) {
        std::memcpy(buf_.data() + begin_ + pos, with.data(), count);
        keepTailAfterOverwrite(pos, count, with);
    } else if (pos == 0 && with.empty()) {
        dropFront(count);
        return;
    } else {
        whole().replace(pos, count, with);
        end_ = buf_.size();
    }
    if (with.empty()) {
        joined(pos);
    } else {
        formed(pos, insertion);
    }
}

void Statement::erase(std::size_t pos, std::size_t count) {
    count = std::min(count, size() - pos);
    if (pos == 0) {
        dropFront(count);
    } else if (pos + count == size()) {
        endAt(end_ - count);
    } else {
        whole().erase(pos, count);
        end_ = buf_.size();
        joined(pos);
    }
}

void Statement::insertAfterEach(const InsertionAfter& after, char unlessNext) {
    const std::string_view t = text();
    const std::size_t n = t.size();
    const char mark = after.mark;
    const std::string_view piece = after.insertion.text;
    std::string& out = spare_;
    std::size_t from = 0;
    bool any = false;
    for (std::size_t i = t.find(mark); i != std::string_view::npos && i + 1 < n; i = t.find(mark, i + 1)) {
        if (t[i + 1] == unlessNext) continue;
        if (!any) {
            out.clear();
            if (n > kOrdinaryAtMost)
                out.reserve(n + piece.size() * static_cast<std::size_t>(std::count(t.begin() + i, t.end(), mark)));
            any = true;
        }
        out.append(t, from, i + 1 - from);
        out.append(piece);
        from = i + 1;
    }
    if (!any) return;
    out.append(t, from, std::string_view::npos);
    takeSpare();
    known_ |= after.insertion.forms;
}

void Statement::keep(std::size_t from, std::size_t to) {
    endAt(begin_ + to);
    dropFront(from);
}

void Statement::dropFront(std::size_t count) {
    if (blankTail_ != kUnknown) blankTail_ = blankTail_ > count ? blankTail_ - count : 0;
    begin_ += count;
}

void Statement::keepTailAfterOverwrite(std::size_t pos, std::size_t count, std::string_view with) {
    if (blankTail_ == kUnknown || pos + count < blankTail_) return;
    // The bytes written reach the blanks at the end: they begin after them
    // or, when all blank, where they begin.
    blankTail_ = with.find_first_not_of(' ') == std::string_view::npos ? std::min(blankTail_, pos) : pos + count;
}

void Statement::trim() {
    const std::string_view t = text();
    if (t.empty() || (t.front() != ' ' && t.back() != ' ')) return;
    const std::size_t end = endOfNonBlank();
    keep(end == 0 ? 0 : firstNonBlank(t), end);
}

void Statement::lowerCase() {
    lowerCaseInPlace(buf_.data() + begin_, size());
    learn();
}

void Statement::rewriteWith(void (*primitive)(std::string&)) {
    primitive(whole());
    end_ = buf_.size();
    learn();
}

}  // namespace ftvb
