// trs_2_pts against a slow reference written step by step from the rule:
// each pass finds the first colon outside quotes from the very start, makes
// it a comma, and rewrites «name(lo,hi)» into «mid$(name,lo,length)»; the
// passes stop at a colon without "(" on its left or ")" on its right, and
// never outnumber the colons the text held at the call. trs_2_pts may also
// stop once its passes have rewritten about a megabyte (colons nested in one
// pair of parentheses), so it is compared only while the reference's passes
// rewrite less than half of that.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "fuzz/check.h"
#include "text/primitives.h"

namespace {

// The reference copies the whole text on every pass; beyond this many bytes
// copied it gives up, so that a slow input is laid at trs_2_pts's door alone.
constexpr std::size_t kWork = std::size_t{8} << 20;
// Bytes the passes read and write around their colon: the stretch from the
// name to ")" twice, and the piece put in its place.
constexpr std::size_t kRewritten = std::size_t{1} << 19;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string trimBlanks(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

// Whole numbers keep every digit: decrement the decimal text itself.
std::string wholeMinusOne(const std::string& n) {
    if (n == "0") return "-1";
    if (n[0] == '-') {
        std::string digits = n.substr(1);
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0) {
            digits.insert(0, "1");
        } else {
            ++digits[i - 1];
        }
        return "-" + digits;
    }
    std::string digits = n;
    std::size_t i = digits.size();
    while (digits[i - 1] == '0') digits[--i] = '9';
    --digits[i - 1];
    if (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
    return digits;
}

std::string shortestFixed(double v) {
    if (v == 0) return "0";
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

// The lower bound minus one when the bound is written in canonical decimal
// form, else nothing.
std::optional<std::string> plainMinusOne(std::string_view bound) {
    const std::string t = trimBlanks(bound);
    const std::size_t signLength = (!t.empty() && t[0] == '-') ? 1 : 0;
    const std::string body = t.substr(signLength);
    std::size_t digits = 0;
    while (digits < body.size() && isDigit(body[digits])) ++digits;
    if (digits == 0 || (digits > 1 && body[0] == '0')) return std::nullopt;
    if (digits == body.size()) {
        if (t == "-0") return std::nullopt;
        return wholeMinusOne(t);
    }
    if (body[digits] != '.' || digits + 1 == body.size()) return std::nullopt;
    for (std::size_t i = digits + 1; i < body.size(); ++i) {
        if (!isDigit(body[i])) return std::nullopt;
    }
    const double v = std::strtod(t.c_str(), nullptr);
    if (shortestFixed(v) != t) return std::nullopt;
    return shortestFixed(v - 1);
}

bool isDelimiter(char c) { return std::string_view(" =*+-/(").find(c) != std::string_view::npos; }

// False when it gave up.
bool reference(std::string& t) {
    std::size_t passes = 0;
    for (const char c : t) passes += c == ':';
    std::size_t work = 0;
    std::size_t rewritten = 0;
    for (; passes > 0; --passes) {
        work += t.size();
        if (work > kWork) return false;
        std::size_t c = std::string::npos;
        bool quoted = false;
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] == '"' || t[i] == '\'') quoted = !quoted;
            if (t[i] == ':' && !quoted) {
                c = i;
                break;
            }
        }
        if (c == std::string::npos) return true;
        const std::size_t o = t.rfind('(', c);
        const std::size_t e = t.find(')', c);
        t[c] = ',';
        if (o == std::string::npos || e == std::string::npos) return true;
        std::size_t s = 0;
        for (std::size_t i = o; i-- > 0;) {
            if (isDelimiter(t[i])) {
                s = i + 1;
                break;
            }
        }
        const std::string inner = t.substr(o + 1, e - o - 1);
        const std::string lower = inner.substr(0, inner.find(','));
        std::string argument = inner;
        if (const auto m = plainMinusOne(lower)) {
            if (*m != "0") argument += "-" + *m;
        } else {
            argument += "-" + lower + "+1";
        }
        const std::string piece = "mid$(" + t.substr(s, o - s) + "," + argument + ")";
        rewritten += 2 * (e + 1 - s) + piece.size();
        if (rewritten > kRewritten) return false;
        t = t.substr(0, s) + piece + t.substr(e + 1);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string got = text;
    ftvb::trs_2_pts(got);
    std::string want = text;
    if (reference(want) && got != want) {
        ftvb::fuzz::fail("trs_2_pts differs from the pass-by-pass reference",
                         {{"text", text}, {"trs_2_pts", got}, {"reference", want}});
    }
    return 0;
}
