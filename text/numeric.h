// Numbers read from statement text and written back into it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ftvb {

// The value of the number at the front of `text`: blanks anywhere are
// skipped, then an optional sign, digits with at most one decimal point, and
// an optional exponent (e or d, optional sign, digits) are read; reading
// stops at the first character that cannot continue the number. A text that
// does not begin with a number, or one too large for a double, is worth 0.
double numericPrefixValue(std::string_view text);

// Shortest decimal form without exponent: whole values as plain digits
// ("80", "-1"), others as few digits as read back the same value ("2.5").
std::string decimalText(double value);

// When `text`, blanks removed at both ends, is written exactly as its value
// would be written back (no plus sign, no leading zeros, no trailing zeros
// after a point, no exponent), returns that value minus one in the same
// form; otherwise nothing. Whole numbers of any length are exact.
std::optional<std::string> plainNumberMinusOne(std::string_view text);

}  // namespace ftvb
