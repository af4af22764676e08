// The Windows window's conversions between UTF-16 names and the UTF-8 of
// the logic and the engine. The code is plain C++, so it is checked here
// as well as under Wine.
#include <gtest/gtest.h>

#include "ui/win32/wide.h"

namespace ftvb::ui::win32 {
namespace {

// wchar_t is 32 bits wide on Linux; the code works on 16-bit units only.
std::wstring units(std::initializer_list<unsigned> codes) {
    std::wstring out;
    for (const unsigned code : codes) out += wchar_t(code);
    return out;
}

TEST(Wide, NamesGoAcrossAndBackUnchanged) {
    const std::wstring names[] = {
        L"",
        L"main.for",
        units({'r', 0xE9, 's', 'u', 'm', 0xE9, '.', 'f', 'o', 'r'}),
        units({0x65E5, 0x672C, '.', 'f'}),
        units({0xD83D, 0xDE00, '.', 'f'}),          // a pair: one character beyond the first plane
        units({'a', 0xD800, 'b'}),                  // lone high surrogate
        units({0xDC00, 'x'}),                       // lone low surrogate
        units({0xDC00, 0xD800}),                    // the wrong way round: two lone ones
        units({0xFFFD, 0x0000, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF}),
    };
    for (const std::wstring& name : names) {
        const std::string utf8 = narrow(name);
        EXPECT_EQ(widen(utf8), name) << utf8;
    }
}

TEST(Wide, Utf8IsReadAsUtf8AndAnythingElseAsReplacements) {
    struct Case {
        const char* utf8;
        std::wstring want;
    };
    const Case cases[] = {
        {"r\xC3\xA9sum\xC3\xA9", units({'r', 0xE9, 's', 'u', 'm', 0xE9})},
        {"\xF0\x9F\x98\x80", units({0xD83D, 0xDE00})},
        {"\xE9t\xE9", units({0xFFFD, 't', 0xFFFD})},        // Latin-1 is not UTF-8
        {"\xC0\xAF", units({0xFFFD, 0xFFFD})},              // overlong "/"
        {"\xE2\x82", units({0xFFFD, 0xFFFD})},              // cut short
        {"\xF4\x90\x80\x80", units({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD})},  // beyond Unicode
    };
    for (const Case& c : cases) EXPECT_EQ(widen(c.utf8), c.want) << c.utf8;
    EXPECT_EQ(narrow(units({'r', 0xE9})), "r\xC3\xA9");
}

}  // namespace
}  // namespace ftvb::ui::win32
