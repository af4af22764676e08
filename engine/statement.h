// One statement on its way through the routine: its text, and which of the
// stages' search texts it may hold.
//
// The intake builds the text line by line; when the statement is complete,
// one scan learns every search text it holds. From then on only the
// statement's own edits change the text, and each one keeps that knowledge
// true: a replace-all knows its search text is gone, what an edit puts in is
// known to form at most a fixed set of texts (worked out by the compiler for
// constant insertions), and the few edits that cannot say rescan what they
// touched. A clear bit is certain: the statement does not hold that text. A
// set bit means it may.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "engine/search_texts.h"
#include "text/bytes.h"

namespace ftvb {

// A text to put into a statement, with the search texts it may form there.
struct Insertion {
    std::string_view text;
    Texts forms = kEveryText;         // wherever it goes
    Texts formsAtStart = kEveryText;  // at the very start of the statement
    bool known = false;               // false: the statement scans where it went

    consteval Insertion(const char* t)  // NOLINT(google-explicit-constructor): literals read best bare
        : text(t), forms(mayForm(text)), formsAtStart(mayForm(text, true)), known(true) {}

    // A text made while the run goes on (a name, a list of variables).
    static Insertion madeNow(std::string_view t) { return Insertion(t); }

private:
    explicit Insertion(std::string_view t) : text(t) {}
};

// An insertion that always follows a given byte, which narrows what it forms.
struct InsertionAfter {
    char mark;
    Insertion insertion;
    consteval InsertionAfter(char m, const char* t) : mark(m), insertion(t) {
        if (m == ' ') throw "the mark must not be a blank";
        insertion.forms = mayForm(insertion.text, false, static_cast<unsigned char>(m));
    }
};

// One replace-all: every `find` becomes `replacement`, to a fixed point.
struct Rewrite {
    Text find;
    Insertion replacement;
};

// Rewrites that one pass can apply as if each were a replace-all in turn:
// no replacement can form any of the search texts with its neighbours, and
// none of the search texts holds a blank. A last rewrite of two blanks into
// one (the blank collapse) may follow them, since collapsing blank runs then
// neither makes nor breaks any of their matches.
class OnePass {
public:
    consteval explicit OnePass(std::span<const Rewrite> rewrites) {
        if (!fits(rewrites)) throw "these rewrites cannot go in one pass";
        std::size_t n = rewrites.size();
        if (n > 0 && isCollapse(rewrites[n - 1])) {
            collapses_ = true;
            --n;
        }
        rewrites_ = rewrites.first(n);
        for (std::size_t i = 0; i < n; ++i) {
            const Rewrite& r = rewrites_[i];
            finds_ |= bit(r.find);
            if (textOf(r.find).size() == 1 && r.replacement.text.size() == 1) byteFinds_ |= bit(r.find);
            index_[static_cast<std::size_t>(r.find)] = static_cast<unsigned char>(i);
        }
    }

    static constexpr bool fits(std::span<const Rewrite> rewrites) {
        std::size_t n = rewrites.size();
        if (n > 0 && isCollapse(rewrites[n - 1])) --n;
        Texts finds = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::string_view find = textOf(rewrites[i].find);
            if (find.empty() || find.find(' ') != std::string_view::npos) return false;
            finds |= bit(rewrites[i].find);
        }
        for (std::size_t i = 0; i < n; ++i) {
            if ((rewrites[i].replacement.forms & finds) != 0) return false;
        }
        return true;
    }

    std::span<const Rewrite> rewrites() const { return rewrites_; }
    bool collapses() const { return collapses_; }
    Texts finds() const { return finds_; }
    // The finds of the rewrites of one byte into one byte.
    Texts byteFinds() const { return byteFinds_; }
    std::size_t indexOf(Text find) const { return index_[static_cast<std::size_t>(find)]; }

private:
    static constexpr bool isCollapse(const Rewrite& r) {
        return r.find == Text::twoBlanks && r.replacement.text == " ";
    }

    std::span<const Rewrite> rewrites_;
    bool collapses_ = false;
    Texts finds_ = 0;
    Texts byteFinds_ = 0;
    std::array<unsigned char, kTextCount> index_{};
};

class Statement {
public:
    Statement() = default;
    explicit Statement(std::string_view text) { assign(text); }

    std::string_view text() const { return {buf_.data() + begin_, end_ - begin_}; }
    std::size_t size() const { return end_ - begin_; }
    bool empty() const { return end_ == begin_; }
    char operator[](std::size_t i) const { return buf_[begin_ + i]; }

    // Whether the statement may hold `t`; false is certain.
    bool mayHold(Text t) const { return (known_ & bit(t)) != 0; }
    bool mayHoldAny(Texts ts) const { return (known_ & ts) != 0; }
    Texts knowledge() const { return known_; }
    // Forgets what the statement holds, so that every search runs: for
    // comparing a run that skips none with one that skips.
    void forget() { known_ = kEveryText; }
    // Whether a fresh scan finds nothing the knowledge rules out.
    bool knowsWhatItHolds() const { return (scanAll(text()) & ~known_) == 0; }

    // ---- edits -------------------------------------------------------------
    void assign(std::string_view text);
    void clear();

    // transf on the statement: skipped when it cannot hold `find`.
    void replaceAll(Text find, const Insertion& replacement) {
        if (mayHold(find)) replaceAllHeld(find, replacement);
    }
    void replaceAll(const Rewrite& r) { replaceAll(r.find, r.replacement); }
    // The same for a search text met while the run goes on.
    void replaceAll(std::string_view find, const Insertion& replacement);
    // The rewrites of `pass`, each as a replace-all in turn, in one copy.
    void replaceAllInOnePass(const OnePass& pass);
    // Every run of blanks becomes one blank.
    void collapseBlanks() {
        if (mayHold(Text::twoBlanks)) collapseHeldBlanks();
    }

    void insert(std::size_t pos, const Insertion& insertion) { replace(pos, 0, insertion); }
    void replace(std::size_t pos, std::size_t count, const Insertion& insertion);
    void erase(std::size_t pos, std::size_t count);
    // After every `after.mark` that is followed by a byte other than
    // `unlessNext` (the last byte excepted), `after.insertion` goes in.
    void insertAfterEach(const InsertionAfter& after, char unlessNext);
    // Only [from, to) stays.
    void keep(std::size_t from, std::size_t to);
    // Leading and trailing blanks go.
    void trim();
    void lowerCase();
    // A text primitive rewrites the whole statement.
    void rewriteWith(void (*primitive)(std::string&));
    // Hands the text to a primitive that uses it up, as chg_data does.
    template <typename F>
    auto consume(F&& primitive) {
        auto result = primitive(whole());
        end_ = buf_.size();
        learn();
        return result;
    }

    // ---- building, for the line intake ---------------------------------------
    // Clears the text for a new statement; until it is complete, it may hold
    // anything.
    void begin() {
        begin_ = end_ = 0;
        blankTail_ = kUnknown;
        if (!buf_.empty()) buf_[0] = '\0';
        known_ = kEveryText;
    }
    // `n` more blanks at the end, for the caller to fill at once.
    char* extend(std::size_t n);
    // The statement is whole, and lower case throughout: one scan learns
    // what it holds; or what it holds of `sought`, and it may hold any of
    // the others.
    void completeLowered() {
        blankTail_ = ftvb::endOfNonBlank(text());
        known_ = scanAll(text(), blankTail_, false);
    }
    void completeLowered(Texts sought) {
        blankTail_ = ftvb::endOfNonBlank(text());
        known_ = scanLowered(text(), blankTail_, sought) | (kEveryText & ~sought & ~bit(Text::capital));
    }

    // One past the last byte that is not a blank, 0 if there is none.
    std::size_t endOfNonBlank() const {
        const std::string_view t = text();
        return ftvb::endOfNonBlank(blankTail_ < t.size() ? t.substr(0, blankTail_) : t);
    }

    // Where the statement's first line stands in its source file, from 1.
    long firstLine() const { return firstLine_; }
    void setFirstLine(long line) { firstLine_ = line; }

private:
    void learn() {
        blankTail_ = kUnknown;
        known_ = scanAll(text());
    }
    // The text as a string of its own, for the primitives that take one.
    std::string& whole();
    void replaceAllHeld(Text find, const Insertion& replacement);
    void replaceBytesInPlace(const OnePass& pass, Texts present);
    void collapseHeldBlanks();
    // What an edit that left `insertion` at `pos` may have formed.
    void formed(std::size_t pos, const Insertion& insertion);
    // Texts that now straddle `pos`, where two parts were joined.
    void joined(std::size_t pos);
    // A text built in spare_ takes the statement's place.
    void takeSpare();
    void dropFront(std::size_t count);
    // After `with` was written over [pos, pos + count).
    void keepTailAfterOverwrite(std::size_t pos, std::size_t count, std::string_view with);
    // The text now ends at `end`.
    void endAt(std::size_t end) {
        if (blankTail_ != kUnknown && blankTail_ > end - begin_) blankTail_ = end - begin_;
        end_ = end;
        buf_[end_] = '\0';  // at most std::string's own terminator, which may be written a NUL
    }

    // The statement is buf_[begin_, end_), always followed by a NUL (the
    // scans read one byte past the end); dropping either end moves only
    // begin_ or end_, and the buffer keeps its size from one statement to
    // the next.
    std::string buf_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::string spare_;  // where rebuilt texts are made, to swap in
    // From here on the text is blanks, as far as the statement knows.
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    std::size_t blankTail_ = kUnknown;
    Texts known_ = kEveryText;
    long firstLine_ = 0;
};

}  // namespace ftvb
