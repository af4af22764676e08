// The VBA writer: one unit's tree, its symbols and the program index into
// VBA lines.
//
//   Option Explicit modules; every variable declared with its type (INTEGER
//   as Long, REAL as Single, DOUBLE PRECISION as Double, LOGICAL as
//   Boolean, CHARACTER as String); arrays as one-dimensional VBA arrays from
//   1 with the column-major index written out, each array dummy with a ByVal
//   offset beside it (x() and x_o), so that an element passed where the
//   callee takes an array passes the array from there on: x, x_o + i - 1.
//   Names that VBA keeps for itself, or the runtime's, end with "_".
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/review.h"
#include "finish/symbols.h"

namespace ftvb::finish {

// A statement left for a person.
struct Todo {
    ReviewKind kind;
    std::string detail;
    long long sourceLine;
    std::size_t lineInUnit;  // index of the first line of its comment in the unit's lines
};

struct UnitText {
    std::vector<std::string> lines;
    std::vector<Todo> todos;
    std::set<std::string> helpers;  // the runtime's helpers its lines call
};

class VbaWriter {
public:
    explicit VbaWriter(const ProgramIndex& index) : index_(index) {}
    // The unit as VBA lines (without line ends), comments in place, with
    // the helpers they call. After commonDeclarations() a writer may be
    // copied, one for each thread: write() changes nothing.
    UnitText write(const Unit& unit, const std::vector<SourceItem>& leadingComments);
    // The module-level declarations of the COMMON blocks and saved arrays.
    std::vector<std::string> commonDeclarations();

private:
    std::map<std::pair<std::string, int>, std::string> globalNames() const;
    void nameGlobals();

    const ProgramIndex& index_;
    std::map<std::pair<std::string, int>, std::string> commonNames_;
    // The module-level name of each saved array, by unit and name.
    std::map<std::pair<std::string, std::string>, std::string> savedNames_;
    // The index's procedures by name. The names of COMMON members and of
    // procedures are worked out once, at the first unit: the index is whole
    // by then.
    std::unordered_map<std::string_view, const ProcInfo*> procByName_;
    bool namesReady_ = false;
};

// The VBA name of a FORTRAN name: lower case, "_" added to what VBA or the
// runtime keeps.
std::string vbaName(const std::string& name);
const char* vbaType(BaseType type);

// A long line broken with " _" continuations at blanks outside strings, so
// that no piece passes `limit` bytes (VBA reads at most 1,023).
constexpr std::size_t kLineLimit = 1000;
std::vector<std::string> breakLine(const std::string& line, std::size_t limit = kLineLimit);

}  // namespace ftvb::finish
