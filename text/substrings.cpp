// Colon substrings to "mid$(" calls.
//
// Each pass finds the first colon outside quotes, takes the nearest "(" to
// its left and ")" to its right, and the name back to the nearest delimiter,
// then rewrites that stretch. A pass leaves the text before the name as it
// was, so the next pass resumes its colon search there (with the quote state
// it had) instead of at the start. The text is held as a gap buffer with the
// gap at the last edit, so each pass costs what it reads and writes, not the
// length of the statement.
#include <algorithm>
#include <cstring>
#include <string>

#include "text/numeric.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

// Text with a movable gap: characters before the gap in `left_`, those after
// it in `right_`, stored back to front.
class GapText {
public:
    explicit GapText(const std::string& s) : right_(s.rbegin(), s.rend()) {}

    std::size_t size() const { return left_.size() + right_.size(); }

    char at(std::size_t i) const {
        return i < left_.size() ? left_[i] : right_[right_.size() - 1 - (i - left_.size())];
    }

    void set(std::size_t i, char c) {
        if (i < left_.size()) {
            left_[i] = c;
        } else {
            right_[right_.size() - 1 - (i - left_.size())] = c;
        }
    }

    // The first position at or after `from` whose character passes `test`,
    // or npos; each half is walked straight, without asking where the gap is.
    template <typename Test>
    std::size_t firstWhere(std::size_t from, Test test) const {
        for (std::size_t i = from; i < left_.size(); ++i) {
            if (test(left_[i])) return i;
        }
        const std::size_t skip = from > left_.size() ? from - left_.size() : 0;
        for (std::size_t k = skip; k < right_.size(); ++k) {
            if (test(right_[right_.size() - 1 - k])) return left_.size() + k;
        }
        return std::string::npos;
    }

    // The last position before `pos` whose character passes `test`, or npos.
    template <typename Test>
    std::size_t lastWhere(std::size_t pos, Test test) const {
        for (std::size_t k = pos > left_.size() ? pos - left_.size() : 0; k-- > 0;) {
            if (test(right_[right_.size() - 1 - k])) return left_.size() + k;
        }
        for (std::size_t i = std::min(pos, left_.size()); i-- > 0;) {
            if (test(left_[i])) return i;
        }
        return std::string::npos;
    }

    // Appends positions [from, to) to `out`.
    void appendSlice(std::string& out, std::size_t from, std::size_t to) const {
        const std::size_t split = std::min(to, left_.size());
        if (from < split) {
            out.append(left_, from, split - from);
            from = split;
        }
        for (std::size_t i = from; i < to; ++i) out.push_back(at(i));
    }

    // Replaces positions [from, to) by `piece`.
    void replace(std::size_t from, std::size_t to, std::string_view piece) {
        moveGap(from);
        right_.resize(right_.size() - (to - from));
        left_ += piece;
    }

    std::string str() {
        moveGap(size());
        return std::move(left_);
    }

private:
    void moveGap(std::size_t pos) {
        while (left_.size() > pos) {
            right_.push_back(left_.back());
            left_.pop_back();
        }
        if (left_.size() < pos) {
            const std::size_t n = pos - left_.size();
            left_.append(right_.rbegin(), right_.rbegin() + static_cast<long>(n));
            right_.resize(right_.size() - n);
        }
    }

    std::string left_;
    std::string right_;
};

bool isQuote(char c) { return c == '"' || c == '\''; }

bool isNameDelimiter(char c) {
    return c == ' ' || c == '=' || c == '*' || c == '+' || c == '-' || c == '/' || c == '(';
}

constexpr std::size_t kNone = std::string::npos;

// The first colon outside quotes at or after `from`, `inString` being the
// quote state there and becoming the state at the colon; kNone if none.
std::size_t colonOutsideQuotes(const GapText& t, std::size_t from, bool& inString) {
    return t.firstWhere(from, [&inString](char ch) {
        if (isQuote(ch)) inString = !inString;
        return ch == ':' && !inString;
    });
}

// Appends the argument text made from the inner text (lower bound, comma,
// upper bound).
void appendArgument(std::string& out, std::string_view inner) {
    const std::string_view lower = inner.substr(0, inner.find(','));
    out += inner;
    if (auto m = plainNumberMinusOne(lower)) {
        if (*m == "0") return;
        out += '-';
        out += *m;
        return;
    }
    out += '-';
    out += lower;
    out += "+1";
}

}  // namespace

FirstColon firstColon(std::string_view ww) {
    const std::size_t any = ww.find(':');
    if (any == std::string_view::npos) return {kNone, false};
    bool in = false;
    std::size_t c = kNone;
    for (std::size_t i = 0; i < ww.size(); ++i) {
        if (isQuote(ww[i])) in = !in;
        if (ww[i] == ':' && !in) {
            c = i;
            break;
        }
    }
    if (c == kNone) return {kNone, false};
    return {c, ww.rfind('(', c) == std::string_view::npos || ww.find(')', c) == std::string_view::npos};
}

void trs_2_pts(std::string& ww) {
    // Most colons (in comments run together, in labels of text) have no
    // "(" before them or no ")" after them: the first pass turns the colon
    // into a comma and ends the routine. Settle that case in place.
    const FirstColon first = firstColon(ww);
    if (first.pos == kNone) return;
    if (first.alone) {
        ww[first.pos] = ',';
        return;
    }
    std::size_t passesLeft = static_cast<std::size_t>(std::count(ww.begin(), ww.end(), ':'));
    if (passesLeft == 0) return;

    GapText t(ww);
    std::size_t from = 0;   // where the colon search resumes
    bool inString = false;  // quote state before position `from`
    // Colons nested in one pair of parentheses make every pass copy the rest
    // of the statement again. Real statements stay far below this budget; a
    // hostile one keeps its remaining colons rather than take hours.
    std::size_t budget = 32 * (ww.size() + 1) + (std::size_t{1} << 20);
    std::string inner;  // both kept from pass to pass, for their room
    std::string piece;
    for (; passesLeft > 0; --passesLeft) {
        const std::size_t c = colonOutsideQuotes(t, from, inString);
        if (c == kNone) break;
        const std::size_t o = t.lastWhere(c, [](char ch) { return ch == '('; });
        const std::size_t e = t.firstWhere(c + 1, [](char ch) { return ch == ')'; });
        t.set(c, ',');
        if (o == kNone || e == kNone) break;

        // The name runs back from "(" to the character after the nearest
        // delimiter, from the start when there is none.
        const std::size_t delimiter = t.lastWhere(o, isNameDelimiter);
        const std::size_t nameStart = delimiter == kNone ? 0 : delimiter + 1;

        inner.clear();
        t.appendSlice(inner, o + 1, e);
        piece.assign("mid$(");
        t.appendSlice(piece, nameStart, o);
        piece += ',';
        appendArgument(piece, inner);
        piece += ')';

        // Quote state before nameStart: the colon stood outside quotes, so
        // it is the parity of the quotes between nameStart and the colon.
        bool state = false;
        for (std::size_t i = nameStart; i < c; ++i) {
            if (isQuote(t.at(i))) state = !state;
        }
        t.replace(nameStart, e + 1, piece);
        from = nameStart;
        inString = state;

        const std::size_t work = (e - nameStart) + piece.size() + (c - from);
        if (work >= budget) break;
        budget -= work;
    }
    ww = t.str();
}

}  // namespace ftvb
