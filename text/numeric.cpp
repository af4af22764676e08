// Numbers in statement text: the prefix value used for CHARACTER lengths,
// DO steps and substring bounds, and the decimal form they are written in.
#include "text/numeric.h"

#include <charconv>
#include <cmath>
#include <string>

namespace ftvb {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double numericPrefixValue(std::string_view text) {
    // Blanks anywhere are skipped, so gather the non-blank characters first,
    // reading only as far as a number can go.
    std::string number;
    std::size_t i = 0;
    auto next = [&]() -> int {
        while (i < text.size() && text[i] == ' ') ++i;
        return i < text.size() ? static_cast<unsigned char>(text[i]) : -1;
    };
    int c = next();
    if (c == '+' || c == '-') {
        if (c == '-') number.push_back('-');
        ++i;
        c = next();
    }
    bool digits = false;
    bool point = false;
    while (c != -1 && (isDigit(static_cast<char>(c)) || (c == '.' && !point))) {
        if (c == '.') {
            point = true;
        } else {
            digits = true;
        }
        number.push_back(static_cast<char>(c));
        ++i;
        c = next();
    }
    if (!digits) return 0.0;
    if (c == 'e' || c == 'd' || c == 'E' || c == 'D') {
        std::size_t mark = i;
        std::string exponent = "e";
        ++i;
        c = next();
        if (c == '+' || c == '-') {
            exponent.push_back(static_cast<char>(c));
            ++i;
            c = next();
        }
        bool expDigits = false;
        while (c != -1 && isDigit(static_cast<char>(c))) {
            expDigits = true;
            exponent.push_back(static_cast<char>(c));
            ++i;
            c = next();
        }
        if (expDigits) {
            number += exponent;
        } else {
            i = mark;  // "8d" alone is just 8
        }
    }
    double value = 0.0;
    const char* first = number.data();
    if (*first == '-' && number.size() > 1 && number[1] == '.') {
        // from_chars wants a digit before the point
        number.insert(1, "0");
        first = number.data();
    } else if (*first == '.') {
        number.insert(0, "0");
        first = number.data();
    }
    auto [ptr, ec] = std::from_chars(first, number.data() + number.size(), value);
    (void)ptr;
    if (ec != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

std::string decimalText(double value) {
    if (value == 0.0 || !std::isfinite(value)) return "0";
    char buf[400];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    return std::string(buf, ptr);
}

namespace {

// n - 1 for a canonical whole number written as text ("10" -> "9", "0" -> "-1").
std::string wholeMinusOne(std::string_view n) {
    const bool negative = !n.empty() && n[0] == '-';
    std::string digits(negative ? n.substr(1) : n);
    if (!negative && digits == "0") return "-1";
    if (negative) {
        // -(k) - 1 = -(k + 1)
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i < 0) {
            digits.insert(0, "1");
        } else {
            ++digits[i];
        }
        return "-" + digits;
    }
    int i = static_cast<int>(digits.size()) - 1;
    while (digits[i] == '0') digits[i--] = '9';
    --digits[i];
    if (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
    return digits;
}

}  // namespace

std::optional<std::string> plainNumberMinusOne(std::string_view text) {
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return std::nullopt;
    std::size_t e = text.find_last_not_of(' ');
    std::string_view t = text.substr(b, e - b + 1);

    std::string_view body = t;
    if (!body.empty() && body[0] == '-') body.remove_prefix(1);
    if (body.empty()) return std::nullopt;
    std::size_t k = 0;
    while (k < body.size() && isDigit(body[k])) ++k;
    if (k == 0 || (k > 1 && body[0] == '0')) return std::nullopt;
    if (k == body.size()) {
        if (t == "-0") return std::nullopt;
        return wholeMinusOne(t);
    }
    // A decimal fraction: digits, a point, digits not ending in zero.
    if (body[k] != '.' || k + 1 == body.size() || body.back() == '0') return std::nullopt;
    for (std::size_t j = k + 1; j < body.size(); ++j) {
        if (!isDigit(body[j])) return std::nullopt;
    }
    double v = numericPrefixValue(t);
    if (decimalText(v) != t) return std::nullopt;
    return decimalText(v - 1.0);
}

}  // namespace ftvb
