// The text of the settings file: "[section]" lines and "key=value" lines,
// among lines a person may have written around them (comments beginning
// with ";" or "#", blank lines), which setting a value leaves as they are.
//
// A value is the rest of its line after the "=", blanks at both ends aside,
// taken as written: ";" and "," are part of it. Written between double
// quotes, blanks at its ends count too. A backslash starts an escape only
// where it makes one (\\ \" \n \r \t and the other C escapes, \x and hex
// digits, octal digits); elsewhere it stands for itself. A value beginning
// with "@@" stands for one beginning with "@". These are also the rules of
// the files that earlier versions wrote, which therefore read the same.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ftvb::ui {

class IniText {
public:
    IniText() = default;
    explicit IniText(std::string_view text);

    // The last value given to the key in the section, if any.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Replaces the key's line, or adds one at the end of its section, or
    // adds the section at the end of the text.
    void set(std::string_view section, std::string_view key, std::string_view value);
    std::string text() const;

private:
    std::vector<std::string> lines_;  // without their line ends
    bool crlf_ = false;               // the file's lines end with CR LF
};

// A value as it is written after "key=": as it stands where that reads back
// the same, else quoted or escaped as little as it takes.
std::string iniWritten(std::string_view value);
// What the text after "key=" stands for.
std::string iniValue(std::string_view written);

}  // namespace ftvb::ui
