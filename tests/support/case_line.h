// Table-driven tests: each case starts with the line it is written on
// (`{__LINE__, ...}`), and the loop over the table traces it with
// SCOPED_TRACE(caseLine(c)), so that a failure names the row that failed.
#pragma once

#include <string>

namespace ftvb::testing {

template <typename Case>
std::string caseLine(const Case& c) {
    return "the case at line " + std::to_string(c.line);
}

}  // namespace ftvb::testing
