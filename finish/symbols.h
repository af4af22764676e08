// What each name of a procedure is: the symbol table of one program unit,
// and the program index over every listed file, so that a call is written
// knowing its callee.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "finish/tree.h"

namespace ftvb::finish {

struct Symbol {
    std::string name;      // lower case
    std::string spelling;  // as first written
    BaseType type = BaseType::none;
    bool typeDeclared = false;
    ExprPtr length;  // CHARACTER length; star = (*); null = 1
    std::vector<ExprPtr> lower;
    std::vector<ExprPtr> upper;
    bool isArray() const { return !upper.empty(); }
    int dummyIndex = -1;
    bool isParameter = false;
    ExprPtr value;
    std::string common;  // block, when in one ("" is blank COMMON: see inCommon)
    bool inCommon = false;
    int commonIndex = -1;
    bool saved = false;
    bool hasData = false;
    bool external = false;
    bool intrinsic = false;
    bool stmtFunction = false;
    bool calledAsFunction = false;  // appears as name(args) without being an array
    bool used = false;              // appears in an executable statement or a declaration
    int order = 0;                  // first appearance
};

enum class UnitKind { program, subroutine, function, blockData };

struct Unit {
    UnitKind kind = UnitKind::program;
    std::string name;  // lower case; "main" for a main program without PROGRAM
    std::string spelling;
    BaseType type = BaseType::none;  // function result
    ExprPtr resultLength;
    std::vector<std::string> dummies;  // lower case
    std::vector<Stmt> stmts;
    std::vector<std::pair<std::size_t, SourceItem>> comments;  // not used by the symbols
    std::map<std::string, Symbol> symbols;                     // in order of their names; add them with use()
    BaseType implicit[26] = {};
    bool implicitNone = false;
    bool saveAll = false;
    // Statement functions: name -> index of their statement.
    std::map<std::string, std::size_t> stmtFunctions;

    Symbol* find(const std::string& name);
    const Symbol* find(const std::string& name) const;
    // The symbol, made with its implicit type when new.
    Symbol& use(const std::string& name, std::string_view spelling = {});
    BaseType implicitType(const std::string& name) const;

    Unit() = default;
    Unit(Unit&&) = default;
    Unit& operator=(Unit&&) = default;
    // byName_ points into symbols, whose nodes a move keeps but a copy would not.
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

private:
    // The symbols by name, looked up far more often than they are added.
    std::unordered_map<std::string_view, Symbol*> byName_;
};

struct DummyInfo {
    std::string name;
    BaseType type = BaseType::none;
    bool isArray = false;
    bool isProcedure = false;
};

struct ProcInfo {
    UnitKind kind = UnitKind::subroutine;
    std::string spelling;
    BaseType type = BaseType::none;
    std::vector<DummyInfo> dummies;
};

struct CommonMember {
    std::string name;  // the global's name, as written by the first unit naming the block
    BaseType type = BaseType::none;
    long long size = 0;    // elements; 0 for a scalar
    long long length = 0;  // CHARACTER length
};

// A SAVEd or DATA-initialised local array of a procedure. It is written
// at module level, as COMMON is: LibreOffice Basic forgets the bounds of a
// Static array once the procedure has returned.
struct SavedArray {
    std::string unit;  // lower case
    std::string name;  // lower case
    BaseType type = BaseType::none;
    long long size = 0;
};

struct ProgramIndex {
    std::map<std::string, ProcInfo> procs;
    std::map<std::string, std::vector<CommonMember>> commons;  // by block ("" is blank COMMON)
    std::vector<std::string> commonOrder;
    std::vector<SavedArray> savedArrays;  // in the order of the units, then of the names
    std::vector<std::string> blockData;   // their Subs, to run first
};

// Fills unit.symbols from its statements.
void buildSymbols(Unit& unit);

// The value of a constant integer expression, PARAMETERs of `unit` included.
std::optional<long long> constantValue(const Expr& e, const Unit& unit);

// Whether the local array is one of the index's saved arrays.
bool isSavedArray(const Symbol& s, const Unit& unit);

// Adds the unit's procedure, COMMON blocks and saved arrays to the index.
void addToIndex(const Unit& unit, ProgramIndex& index);

// The same in two steps: what a unit brings to the index, worked out on
// its own (a worker thread may), then added in the units' order.
struct IndexEntry {
    std::string name;
    bool blockData = false;
    ProcInfo proc;
    std::vector<SavedArray> saved;
    struct Member {
        std::string block;
        std::size_t index = 0;
        CommonMember member;
    };
    std::vector<Member> commons;  // in the order of the unit's names
};
IndexEntry indexEntry(const Unit& unit);
void addToIndex(IndexEntry&& entry, ProgramIndex& index);

// FORTRAN's intrinsic functions (the names this translator writes).
bool isIntrinsicName(const std::string& name);

}  // namespace ftvb::finish
