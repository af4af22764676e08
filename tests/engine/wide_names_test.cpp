// Names between Windows' UTF-16 and the engine's UTF-8, every name a
// folder can hold included.
#include "engine/wide_names.h"

#include <gtest/gtest.h>

#include "tests/support/case_line.h"

namespace ftvb {
namespace {

using ftvb::testing::caseLine;

// wchar_t is 32 bits wide on Linux; the code works on 16-bit units only.
std::wstring units(std::initializer_list<unsigned> codes) {
    std::wstring out;
    for (const unsigned code : codes) out += wchar_t(code);
    return out;
}

TEST(WideNames, NamesGoAcrossAndBackUnchanged) {
    const std::wstring names[] = {
        L"",
        L"main.for",
        units({'r', 0xE9, 's', 'u', 'm', 0xE9, '.', 'f', 'o', 'r'}),
        units({0x65E5, 0x672C, '.', 'f'}),
        units({0xD83D, 0xDE00, '.', 'f'}),  // a pair: one character beyond the first plane
        units({'a', 0xD800, 'b'}),          // lone high surrogate
        units({0xDC00, 'x'}),               // lone low surrogate
        units({0xDC00, 0xD800}),            // the wrong way round: two lone ones
        units({0xFFFD, 0x0000, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF}),
    };
    for (const std::wstring& name : names) {
        const std::string utf8 = utf8FromWide(name);
        std::wstring back;
        EXPECT_TRUE(wideFromUtf8(utf8, back)) << utf8;
        EXPECT_EQ(back, name) << utf8;
    }
}

TEST(WideNames, Utf8IsReadAsUtf8AndAnythingElseIsNoName) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* utf8;
        bool valid;
        std::wstring shown;
    };
    const Case cases[] = {
        {__LINE__, "r\xC3\xA9sum\xC3\xA9", true, units({'r', 0xE9, 's', 'u', 'm', 0xE9})},
        {__LINE__, "\xF0\x9F\x98\x80", true, units({0xD83D, 0xDE00})},
        {__LINE__, "\xE9t\xE9", false, units({0xFFFD, 't', 0xFFFD})},                    // Latin-1 is not UTF-8
        {__LINE__, "\xC0\xAF", false, units({0xFFFD, 0xFFFD})},                          // overlong "/"
        {__LINE__, "\xE2\x82", false, units({0xFFFD, 0xFFFD})},                          // cut short
        {__LINE__, "\xF4\x90\x80\x80", false, units({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD})},  // beyond Unicode
        {__LINE__, "bad\xFF.bas", false, units({'b', 'a', 'd', 0xFFFD, '.', 'b', 'a', 's'})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        std::wstring shown;
        EXPECT_EQ(wideFromUtf8(c.utf8, shown), c.valid) << c.utf8;
        EXPECT_EQ(shown, c.shown) << c.utf8;
    }
    EXPECT_EQ(utf8FromWide(units({'r', 0xE9})), "r\xC3\xA9");
}

}  // namespace
}  // namespace ftvb
