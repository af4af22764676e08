// The parser: a statement's text into a Stmt. The statement's kind is found
// on its squeezed text (FORTRAN has no reserved words: "do10i=1,10" is a DO
// and "do10i=1.10" an assignment), then its parts are parsed from tokens.
// What does not parse is a Stmt of kind unknown with the reason, never an
// exception.
#pragma once

#include <string>
#include <string_view>

#include "finish/tree.h"

namespace ftvb::finish {

Stmt parseStatement(std::string_view text, std::string_view label = {}, long long line = 0);
// The same, the statement's text kept as its `source`.
Stmt parseOwnedStatement(std::string&& text, std::string_view label = {}, long long line = 0);
// The same into `st`, a Stmt as made (default-constructed): a statement is
// parsed where it is kept, not moved there.
void parseStatementInto(Stmt& st, std::string&& text, std::string_view label = {}, long long line = 0);

// An expression alone, for tests.
ExprPtr parseExpression(std::string_view text);

}  // namespace ftvb::finish
