// The settings file's text: values come back as written, by the program or
// by a person, and setting one value leaves the rest of the file alone.
#include "ui/ini_text.h"

#include <gtest/gtest.h>

#include "tests/support/case_line.h"

namespace ftvb::ui {
namespace {

using ftvb::testing::caseLine;

TEST(IniText, EveryValueComesBackAsWritten) {
    const std::string values[] = {
        "",
        "*.for;*.f",
        "a,b, c",
        "  module1.bas  ",
        "\tx",
        "\"quoted\" and not",
        "ends with a quote\"",
        "\"",
        "@at",
        "@@two",
        "@String(x)",
        "C:\\src\\new",
        "end \\",
        "two\nlines\r\n",
        std::string("nul\0inside", 10),
        "\x01"
        "abc",  // a control character, then hex digits
        "\x1f\x7f"
        "f",
        "r\xE9sum\xE9.for",  // not UTF-8
        "\xC3\xA9l\xC3\xA8ve",
        "[access] a=b",
        "; not a comment",
    };
    for (const std::string& value : values) {
        EXPECT_EQ(iniValue(iniWritten(value)), value) << iniWritten(value);
        IniText text;
        text.set("access", "d0", value);
        EXPECT_EQ(IniText(text.text()).value("access", "d0"), value) << text.text();
    }
}

TEST(IniText, ValuesAreWrittenAsAPersonWouldWhereTheyCanBe) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* value;
        const char* written;
    };
    const Case cases[] = {
        {__LINE__, "*.for;*.f", "*.for;*.f"},
        {__LINE__, "/home/me/src", "/home/me/src"},
        {__LINE__, "a, b", "a, b"},
        {__LINE__, " padded ", "\" padded \""},
        {__LINE__, "C:\\src", "C:\\\\src"},
        {__LINE__, "\"x\"", "\\\"x\""},
        {__LINE__, "@x", "@@x"},
        {__LINE__, "a\tb", "a\\tb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(iniWritten(c.value), c.written) << c.value;
    }
}

// As a person writes them, and as the QSettings-based store of earlier
// versions wrote them.
TEST(IniText, ReadsWhatPeopleAndEarlierVersionsWrote) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* written;
        std::string value;
    };
    const Case cases[] = {
        {__LINE__, "*.for;*.f", "*.for;*.f"},
        {__LINE__, "  *.for  ", "*.for"},
        {__LINE__, "\" *.for \"", " *.for "},
        {__LINE__, "C:\\src", "C:\\src"},
        {__LINE__, "\"a,b, c\"", "a,b, c"},
        {__LINE__, "\";#not a comment\"", ";#not a comment"},
        {__LINE__, "a\\x1\\x62",
         "a\x01"
         "b"},
        {__LINE__, "@String(\\0z)", std::string("\0z", 2)},
        {__LINE__, "@@at", "@at"},
        {__LINE__, "\\\"quoted\\\"", "\"quoted\""},
        {__LINE__, "\"q\\\"in;x\"", "q\"in;x"},
        {__LINE__, "end \\\\", "end \\"},
        {__LINE__, "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(iniValue(c.written), c.value) << c.written;
    }
}

TEST(IniText, SettingAValueKeepsTheRestOfTheFile) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {__LINE__, "a new file", "", "[access]\np0=*.f\n"},
        {__LINE__, "the key's line replaced in place", "; mine\n[access]\n  p0 = *.for  \nd0=/x\n",
         "; mine\n[access]\np0=*.f\nd0=/x\n"},
        {__LINE__, "added at the end of its section", "[access]\nd0=/x\n\n[langue]\nlangue=1\n",
         "[access]\nd0=/x\np0=*.f\n\n[langue]\nlangue=1\n"},
        {__LINE__, "a new section after the rest", "[langue]\nlangue=1\n", "[langue]\nlangue=1\n\n[access]\np0=*.f\n"},
        {__LINE__, "CR LF line ends kept", "[access]\r\nd0=/x\r\n", "[access]\r\nd0=/x\r\np0=*.f\r\n"},
        {__LINE__, "the last of two lines for the key", "[access]\np0=a\np0=b\n", "[access]\np0=a\np0=*.f\n"},
        {__LINE__, "a key outside any section is another key", "p0=top\n[access]\n", "p0=top\n[access]\np0=*.f\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        IniText text(c.before);
        text.set("access", "p0", "*.f");
        EXPECT_EQ(text.text(), c.after) << c.what;
        EXPECT_EQ(IniText(text.text()).value("access", "p0"), "*.f") << c.what;
    }
}

TEST(IniText, WhatIsNotAValueIsNone) {
    const char* texts[] = {
        "p0=*.for\n",                 // outside any section
        "[access\np0=*.for\n",        // a broken header
        "[access]\n; p0=*.for\n",     // a comment
        "[access]\n# p0=*.for\n",     // a comment
        "[access]\np0 *.for\n",       // no equals sign
        "[langue]\np0=*.for\n",       // another section
        "[Access]\np0=*.for\n",       // sections are told apart by case
        "\xff\xfe[acc\0ess\n=\n[[[",  // damaged
    };
    for (const char* text : texts) EXPECT_EQ(IniText(text).value("access", "p0"), std::nullopt) << text;
}

}  // namespace
}  // namespace ftvb::ui
