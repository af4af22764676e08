// The top-level comma search, numbers read from text, and lower-casing.
#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "tests/support/case_line.h"
#include "text/bytes.h"
#include "text/numeric.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

using ftvb::testing::caseLine;

TEST(Instr1, FirstCommaOutsideParentheses) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* text;
        std::size_t want;
    } cases[] = {
        {__LINE__, "a,b", 2},     {__LINE__, ",a", 1},    {__LINE__, "a(1,2),b", 7},
        {__LINE__, "f(x,y)", 0},  {__LINE__, "", 0},      {__LINE__, "abc", 0},
        {__LINE__, "a),b(,c", 6}, {__LINE__, "'a,b'", 3}, {__LINE__, "a(b(1,2),3),c", 12},
        {__LINE__, "))(,", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(instr1(c.text), c.want) << c.text;
    }
}

TEST(NumericPrefix, ReadsAsFarAsANumberGoes) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* text;
        double want;
    } cases[] = {
        {__LINE__, "20", 20},     {__LINE__, "8 d1", 80},  {__LINE__, "8d1", 80},    {__LINE__, "(*) s", 0},
        {__LINE__, "  1 2 ", 12}, {__LINE__, "-1", -1},    {__LINE__, "+2.5x", 2.5}, {__LINE__, ".5", 0.5},
        {__LINE__, "5.", 5},      {__LINE__, "1e2", 100},  {__LINE__, "1e", 1},      {__LINE__, "2d-1", 0.2},
        {__LINE__, "i", 0},       {__LINE__, "", 0},       {__LINE__, "-", 0},       {__LINE__, ".", 0},
        {__LINE__, "1.2.3", 1.2}, {__LINE__, "3*0", 3},    {__LINE__, "- 4", -4},    {__LINE__, "9e999", 0},
        {__LINE__, "-.5", -0.5},  {__LINE__, "12 ab", 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_DOUBLE_EQ(numericPrefixValue(c.text), c.want) << c.text;
    }
}

TEST(NumericPrefix, DecimalText) {
    EXPECT_EQ(decimalText(80), "80");
    EXPECT_EQ(decimalText(0), "0");
    EXPECT_EQ(decimalText(-0.0), "0");
    EXPECT_EQ(decimalText(2.5), "2.5");
    EXPECT_EQ(decimalText(-1), "-1");
    EXPECT_EQ(decimalText(1e20), "100000000000000000000");
    EXPECT_EQ(decimalText(0.1), "0.1");
}

TEST(NumericPrefix, PlainNumbers) {
    const struct {
        int line;  // where the case is written, for the failure to name
        const char* text;
        const char* minusOne;  // nullptr: not a plain number
    } cases[] = {
        {__LINE__, "2", "1"},
        {__LINE__, " 2", "1"},
        {__LINE__, "-1", "-2"},
        {__LINE__, "1", "0"},
        {__LINE__, "0", "-1"},
        {__LINE__, "10", "9"},
        {__LINE__, "100", "99"},
        {__LINE__, "-9", "-10"},
        {__LINE__, "02", nullptr},
        {__LINE__, "+2", nullptr},
        {__LINE__, "2.0", nullptr},
        {__LINE__, "1e2", nullptr},
        {__LINE__, "i", nullptr},
        {__LINE__, "n-1", nullptr},
        {__LINE__, "-0", nullptr},
        {__LINE__, "", nullptr},
        {__LINE__, "2.5", "1.5"},
        {__LINE__, "0.5", "-0.5"},
        {__LINE__, "123456789012345678901234567890", "123456789012345678901234567889"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        auto got = plainNumberMinusOne(c.text);
        if (c.minusOne == nullptr) {
            EXPECT_FALSE(got.has_value()) << c.text;
        } else {
            ASSERT_TRUE(got.has_value()) << c.text;
            EXPECT_EQ(*got, c.minusOne) << c.text;
        }
    }
}

TEST(LowerCase, Windows1252LettersOnly) {
    std::string s = "ABCXYZ abc 09 \xC0\xC9\xD6\xD7\xD8\xDE\xDF \x8A\x8C\x8E\x9F \xE0\xFF";
    lowerCaseInPlace(s);
    EXPECT_EQ(s, "abcxyz abc 09 \xE0\xE9\xF6\xD7\xF8\xFE\xDF \x9A\x9C\x9E\xFF \xE0\xFF");
    for (int c = 0; c < 256; ++c) {
        const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A || c == 0x8C ||
                           c == 0x8E || c == 0x9F;
        EXPECT_EQ(lowerByte(static_cast<unsigned char>(c)) != c, upper) << c;
    }
}

TEST(Trim, BlanksOnlyNeverTabs) {
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(trimBlanks("    "), "");
}

TEST(Trim, EveryPlaceOfTheFirstAndLastNonBlank) {
    // One or two non-blanks anywhere in texts of 0 to 40 bytes: the scans
    // that go eight bytes at a time must land on the same byte as a plain one.
    for (std::size_t n = 0; n <= 40; ++n) {
        for (std::size_t a = 0; a <= n; ++a) {
            for (std::size_t b = a; b <= n; ++b) {
                std::string s(n, ' ');
                if (a < n) s[a] = 'x';
                if (b < n) s[b] = '\xA0';
                const std::size_t first = s.find_first_not_of(' ');
                const std::size_t last = s.find_last_not_of(' ');
                EXPECT_EQ(firstNonBlank(s), first == std::string::npos ? n : first) << n << ' ' << a << ' ' << b;
                EXPECT_EQ(endOfNonBlank(s), last == std::string::npos ? 0 : last + 1) << n << ' ' << a << ' ' << b;
            }
        }
    }
}

TEST(LowerCase, EveryByteAtEveryOffset) {
    // Words of plain ASCII take the shortcut, words with 8-bit bytes the
    // table; both must agree with lowerByte, and the copy with the in-place.
    for (std::size_t n = 0; n <= 20; ++n) {
        for (int first = 0; first < 256; ++first) {
            std::string s;
            for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char>((first + 37 * i) & 0xFF));
            std::string want = s;
            for (char& c : want) c = static_cast<char>(lowerByte(static_cast<unsigned char>(c)));
            std::string copy(n, '?');
            lowerCaseCopy(copy.data(), s.data(), n);
            EXPECT_EQ(copy, want) << n << ' ' << first;
            lowerCaseInPlace(s);
            EXPECT_EQ(s, want) << n << ' ' << first;
        }
    }
}

}  // namespace
}  // namespace ftvb
