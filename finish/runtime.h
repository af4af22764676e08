// The VBA runtime of a finished module: the helpers its code calls (FtWriteEnd,
// FtModL, ...), kept in finish/runtime.bas and built into the program.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ftvb::finish {

// The VBA text of the named helpers and of every helper they need, each
// once, in one fixed order: the shared state first, then the procedures.
// Lines are separated by '\n' (CR LF is the module writer's job). Unknown
// names are ignored.
std::string runtimeText(const std::set<std::string>& used);

// The same text in its two parts. VBA wants a module's declarations before
// its first procedure: runtimeDeclarations goes at the top of the module
// (after Option Explicit), runtimeProcedures at its end. Both are empty when
// nothing is used.
std::string runtimeDeclarations(const std::set<std::string>& used);
std::string runtimeProcedures(const std::set<std::string>& used);

// Every name the runtime declares (helpers, private helpers, state), so that
// the writer keeps the program's names apart from them.
const std::vector<std::string>& runtimeNames();

// The whole of finish/runtime.bas as built in.
std::string_view runtimeSource();

}  // namespace ftvb::finish
