// Replace-all to a fixed point, and the top-level comma search.
//
// The fixed point is defined by "search again from the start after every
// replacement". Rebuilding the text that way costs a rescan and a copy per
// replacement; instead the result is built left to right in one buffer. The
// part already built never holds an occurrence, so the next occurrence of
// the search is either one that ends in the next few characters read (it may
// begin in the built part) or the next one of the unread input. A replacement
// is pushed back in front of the unread input and read again, because it may
// complete an occurrence together with the characters before it.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/bytes.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

// The result is built in a buffer that is then swapped with the text, so
// the text's old buffer is kept for the next call instead of freed: most
// statements are rewritten by several replacements, and this way none of
// them allocates. A buffer grown by a huge statement is let go.
class Scratch {
public:
    Scratch() : buffer_(spare()) { buffer_.clear(); }
    ~Scratch() {
        if (buffer_.capacity() > kKeepAtMost) std::string().swap(buffer_);
    }
    std::string& get() { return buffer_; }

private:
    static constexpr std::size_t kKeepAtMost = std::size_t{1} << 16;
    static std::string& spare() {
        thread_local std::string s;
        return s;
    }
    std::string& buffer_;
};

void replaceEachOnce(std::string& ww, std::string_view find, std::string_view repl, std::size_t p, std::string& out) {
    const Pattern pattern(find);
    out.clear();
    out.reserve(ww.size() + repl.size());
    std::size_t from = 0;
    while (p != std::string::npos) {
        out.append(ww, from, p - from);
        out.append(repl);
        from = p + find.size();
        p = findText(ww, pattern, from);
    }
    out.append(ww, from, std::string::npos);
    ww.swap(out);
}

}  // namespace

std::size_t collapseRuns(char* d, std::size_t n, char c, std::size_t p) {
    // What lies between two runs moves down whole. Writing stays behind
    // reading, so the search for the next run sees the text as it was.
    const std::string_view text(d, n);
    const std::uint64_t pattern = wordOf(c);
    std::size_t w = p + 1;  // d[p] is c and stays
    std::size_t r = p + 1;
    for (;;) {
        for (std::uint64_t word; r + 8 <= n; r += 8) {
            std::memcpy(&word, d + r, 8);
            if (word != pattern) break;
        }
        while (r < n && d[r] == c) ++r;
        const std::size_t next = findDoubled(text, c, r);
        const std::size_t stop = next == std::string_view::npos ? n : next + 1;
        std::memmove(d + w, d + r, stop - r);
        w += stop - r;
        r = stop;
        if (next == std::string_view::npos) return w;
    }
}

namespace {

// Whether an occurrence of `find` can overlap a copy of `repl` in some text:
// whether they agree wherever they overlap, under some alignment.
bool canOverlap(std::string_view find, std::string_view repl) {
    const auto lf = static_cast<long>(find.size());
    const auto lr = static_cast<long>(repl.size());
    for (long d = -(lf - 1); d < lr; ++d) {
        bool agrees = true;
        for (long k = std::max(0L, -d); k < lf && d + k < lr && agrees; ++k) {
            agrees = find[static_cast<std::size_t>(k)] == repl[static_cast<std::size_t>(d + k)];
        }
        if (agrees) return true;
    }
    return false;
}

// The general case, the first occurrence being at p.
void replaceToFixedPoint(std::string& ww, std::string_view find, std::string_view ch2, std::size_t p,
                         std::string& out) {
    const std::size_t lf = find.size();
    const char last = find.back();
    const Pattern pattern(find);
    const std::string reversedRepl(ch2.rbegin(), ch2.rend());
    // Re-read replacement characters are the only work that can grow without
    // bound; real rewrites stay far below this.
    std::size_t budget = (ww.size() + 1) * (ch2.size() + 1) * 4 + (std::size_t{1} << 20);

    out.clear();
    out.reserve(ww.size() + (ch2.size() > lf ? ch2.size() * 4 : 0));
    out.append(ww, 0, p);
    std::string pushedBack = reversedRepl;  // read from its back
    std::size_t in = p + lf;

    auto endsWithFind = [&] {
        return out.size() >= lf && out.back() == last &&
               std::memcmp(out.data() + out.size() - lf, find.data(), lf) == 0;
    };

    while (true) {
        if (!pushedBack.empty()) {
            if (budget == 0) break;
            --budget;
            out.push_back(pushedBack.back());
            pushedBack.pop_back();
            if (endsWithFind()) {
                out.resize(out.size() - lf);
                pushedBack += reversedRepl;
            }
            continue;
        }
        if (in >= ww.size()) break;
        // Occurrences that begin in the built part end within the next lf-1
        // characters: read those one by one.
        std::size_t straddle = std::min(lf - 1, ww.size() - in);
        const std::size_t boundary = in;
        bool matched = false;
        for (std::size_t k = 0; k < straddle; ++k) {
            out.push_back(ww[in++]);
            if (endsWithFind()) {
                out.resize(out.size() - lf);
                pushedBack = reversedRepl;
                matched = true;
                break;
            }
        }
        if (matched) continue;
        // Every other occurrence lies wholly in the unread input.
        const std::size_t nextFound = findText(ww, pattern, boundary);
        if (nextFound == std::string::npos) {
            out.append(ww, in, std::string::npos);
            in = ww.size();
            break;
        }
        const std::size_t end = nextFound + lf;
        if (end > in) out.append(ww, in, end - in);
        in = std::max(in, end);
        out.resize(out.size() - lf);
        pushedBack = reversedRepl;
    }
    // Out of budget: the text as rewritten so far.
    if (!pushedBack.empty()) out.append(pushedBack.rbegin(), pushedBack.rend());
    if (in < ww.size()) out.append(ww, in, std::string::npos);
    ww.swap(out);
}

}  // namespace

void transfFrom(std::string& ww, std::string_view ch1, std::string_view ch2, std::size_t p) {
    Scratch scratch;
    transfFrom(ww, ch1, ch2, p, scratch.get());
}

void transfFrom(std::string& ww, std::string_view ch1, std::string_view ch2, std::size_t p, std::string& spare) {
    const std::string_view find = ch1;
    if (ch2.find(find) != std::string_view::npos) {
        replaceEachOnce(ww, find, ch2, p, spare);
        return;
    }
    if (find.size() == 2 && find[0] == find[1] && ch2.size() == 1 && ch2[0] == find[0]) {
        ww.resize(collapseRuns(ww.data(), ww.size(), find[0], p));
        return;
    }
    // One character for another (the quotes) cannot form a new occurrence:
    // replace in place.
    if (find.size() == 1 && ch2.size() == 1) {
        for (std::size_t i = p; i < ww.size(); ++i) {
            if (ww[i] == find[0]) ww[i] = ch2[0];
        }
        return;
    }
    // A replacement that no occurrence can overlap leaves every later
    // occurrence where it was: one pass from the left is the fixed point.
    if (!ch2.empty() && !canOverlap(find, ch2)) {
        replaceEachOnce(ww, find, ch2, p, spare);
        return;
    }
    replaceToFixedPoint(ww, find, ch2, p, spare);
}

std::size_t instr1(std::string_view ww) {
    long depth = 0;
    const std::size_t n = ww.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char ch = ww[i];
        if (ch == '(') {
            ++depth;
        } else if (ch == ')') {
            --depth;
        } else if (ch == ',' && depth == 0) {
            return i + 1;
        }
    }
    return 0;
}

}  // namespace ftvb
