#include "engine/stage_notes.h"

#include <algorithm>

#include "text/bytes.h"

namespace ftvb {
namespace {

bool isLetter(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }
bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return pos;
}

// One past a name that begins at `pos`, or `pos` when none does.
std::size_t endOfName(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || !isLetter(text[pos])) return pos;
    while (pos < text.size() && isNameByte(text[pos])) ++pos;
    return pos;
}

}  // namespace

bool insideQuotes(std::string_view text, std::size_t pos, char quote) {
    const std::string_view before = text.substr(0, std::min(pos, text.size()));
    return std::count(before.begin(), before.end(), quote) % 2 == 1;
}

WordPlaces placesOf(std::string_view text, std::string_view word, char quote) {
    WordPlaces places;
    std::size_t counted = 0;  // quotes counted up to here
    bool open = false;
    for (std::size_t p = text.find(word); p != std::string_view::npos; p = text.find(word, p + 1)) {
        for (; counted < p; ++counted) {
            if (text[counted] == quote) open = !open;
        }
        if (open) {
            places.quoted = true;
            continue;
        }
        const bool joinedBefore = p > 0 && isNameByte(text[p - 1]);
        const std::size_t after = p + word.size();
        const bool joinedAfter = after < text.size() && isNameByte(text[after]);
        (joinedBefore || joinedAfter ? places.inName : places.alone) = true;
    }
    return places;
}

std::size_t afterStatementWord(std::string_view text, std::string_view word) {
    if (!startsWith(text, word)) return std::string_view::npos;
    const std::size_t after = word.size();
    if (after < text.size() && isNameByte(text[after])) return std::string_view::npos;
    const std::size_t next = skipBlanks(text, after);
    if (next < text.size() && text[next] == '=') return std::string_view::npos;
    return after;
}

std::size_t actionStart(std::string_view text) {
    if (!startsWith(text, "if")) return 0;
    constexpr std::string_view kThen = ") then ";
    const std::size_t then = text.find(kThen);
    if (then == std::string_view::npos) return 0;
    const std::size_t action = skipBlanks(text, then + kThen.size());
    return action < text.size() ? action : 0;
}

bool looksLikeStatementFunction(std::string_view text) {
    std::size_t p = endOfName(text, 0);
    if (p == 0) return false;
    p = skipBlanks(text, p);
    if (p >= text.size() || text[p] != '(') return false;
    for (;;) {
        p = skipBlanks(text, p + 1);
        const std::size_t end = endOfName(text, p);
        if (end == p) return false;
        p = skipBlanks(text, end);
        if (p >= text.size()) return false;
        if (text[p] == ')') break;
        if (text[p] != ',') return false;
    }
    p = skipBlanks(text, p + 1);
    if (p >= text.size() || text[p] != '=') return false;
    p = skipBlanks(text, p + 1);
    return p < text.size() && text[p] != '=';
}

bool isLabelList(std::string_view text) {
    int labels = 0;
    std::size_t p = 0;
    for (;;) {
        p = skipBlanks(text, p);
        const std::size_t digits = p;
        while (p < text.size() && isDigit(text[p])) ++p;
        if (p == digits) return false;
        ++labels;
        p = skipBlanks(text, p);
        if (p == text.size()) return labels >= 2 && labels <= 3;
        if (text[p] != ',') return false;
        ++p;
    }
}

}  // namespace ftvb
