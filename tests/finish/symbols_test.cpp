// Symbol tables and the program index on tiny units: what each name is,
// with its type, bounds and role, and what a caller learns of its callee.
#include "finish/symbols.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "finish/parser.h"
#include "tests/support/case_line.h"

namespace ftvb::finish {
namespace {

using ftvb::testing::caseLine;

// A unit from its statements (no header: a main program), or with one.
Unit unitOf(const std::vector<std::string>& statements) {
    Unit u;
    for (const std::string& s : statements) {
        Stmt st = parseStatement(s);
        if (st.kind == Stmt::Kind::subroutine || st.kind == Stmt::Kind::function) {
            u.kind = st.kind == Stmt::Kind::function ? UnitKind::function : UnitKind::subroutine;
            u.name = st.name;
            u.spelling = st.name;
            u.dummies = st.names;
            u.type = st.type.base;
            continue;
        }
        u.stmts.push_back(std::move(st));
    }
    buildSymbols(u);
    return u;
}

// "type array dummy param common saved data external proc stmtfn" as the symbol has them.
std::string describe(const Unit& u, const std::string& name) {
    const Symbol* s = u.find(name);
    if (s == nullptr) return "none";
    static const char* const kTypes[] = {"none", "integer", "real", "double", "logical", "character", "complex"};
    std::string out = kTypes[static_cast<int>(s->type)];
    if (s->isArray()) out += " array" + std::to_string(s->upper.size());
    if (s->dummyIndex >= 0) out += " dummy" + std::to_string(s->dummyIndex);
    if (s->isParameter) out += " param";
    if (s->inCommon) out += " common/" + s->common + "/" + std::to_string(s->commonIndex);
    if (s->saved) out += " saved";
    if (s->hasData) out += " data";
    if (s->external) out += " external";
    if (s->calledAsFunction) out += " called";
    if (s->stmtFunction) out += " stmtfn";
    return out;
}

TEST(FinishSymbols, WhatEachNameIs) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::vector<std::string> unit;
        std::vector<std::pair<std::string, std::string>> want;
    };
    const std::vector<Case> cases = {
        {__LINE__, "implicit types by first letter", {"x = 1", "k = 2", "end"}, {{"x", "real"}, {"k", "integer"}}},
        {__LINE__,
         "IMPLICIT, before or after a PARAMETER",
         {"parameter (n = 2)", "implicit double precision (a-h, o-z), logical (l)", "x = 1", "l = .true.", "end"},
         {{"x", "double"}, {"l", "logical"}, {"n", "integer param"}}},
        {__LINE__, "IMPLICIT NONE leaves undeclared names untyped", {"implicit none", "x = 1", "end"}, {{"x", "none"}}},
        {__LINE__,
         "declarations, DIMENSION, dummies",
         {"subroutine s(a, n, f)", "integer n", "double precision a", "dimension a(n, *)", "a(1, 1) = f(n)", "end"},
         {{"a", "double array2 dummy0"}, {"n", "integer dummy1"}, {"f", "real dummy2 called"}}},
        {__LINE__,
         "a called dummy is a procedure",
         {"subroutine s(p)", "call p(1)", "end"},
         {{"p", "real dummy0 external"}}},
        {__LINE__,
         "COMMON members number on across statements",
         {"common /b/ x, y(3)", "common /b/ z // w", "end"},
         {{"x", "real common/b/0"},
          {"y", "real array1 common/b/1"},
          {"z", "real common/b/2"},
          {"w", "real common//0"}}},
        {__LINE__,
         "SAVE and DATA",
         {"save k", "data m /1/, (v(i), i = 1, 2) /2*0.0/", "dimension v(2)", "end"},
         {{"k", "integer saved"}, {"m", "integer data"}, {"v", "real array1 data"}, {"i", "integer"}}},
        {__LINE__, "a bare SAVE saves all", {"save", "x = 1", "end"}, {{"x", "real saved"}}},
        {__LINE__,
         "statement function before the first executable statement, not after",
         {"real f, g(3)", "f(t) = t * 2", "x = f(1.0)", "g(1) = 2.0", "end"},
         {{"f", "real called stmtfn"}, {"g", "real array1"}}},
        {__LINE__,
         "typed function used by a caller",
         {"double precision ddot", "x = ddot(1)", "end"},
         {{"ddot", "double called"}}},
        {__LINE__,
         "later forms: attributes and PARAMETER in the declaration",
         {"double precision, parameter :: half = 0.5d0", "integer, dimension(4) :: iv", "logical :: ok", "end"},
         {{"half", "double param"}, {"iv", "integer array1"}, {"ok", "logical"}}},
        {__LINE__,
         "CHARACTER lengths kept",
         {"character*8 a, b*3", "character(len=*) c", "end"},
         {{"a", "character"}, {"c", "character"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        const Unit u = unitOf(c.unit);
        for (const auto& [name, want] : c.want) EXPECT_EQ(describe(u, name), want) << c.name << ": " << name;
    }
}

TEST(FinishSymbols, ConstantValues) {
    const Unit u = unitOf({"parameter (n = 4, m = n * 2 + 1, k = -m, big = 2**10)", "integer big", "end"});
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* expr;
        std::optional<long long> value;
    };
    const std::vector<Case> cases = {
        {__LINE__, "n", 4},
        {__LINE__, "m", 9},
        {__LINE__, "k", -9},
        {__LINE__, "big", 1024},
        {__LINE__, "(n + 1) / 2", 2},
        {__LINE__, "m - n * 2", 1},
        {__LINE__, "x", std::nullopt},
        {__LINE__, "n / 0", std::nullopt},
        {__LINE__, "2 ** 70", std::nullopt},
        {__LINE__, "1.5", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        ExprPtr e = parseExpression(c.expr);
        ASSERT_TRUE(e) << c.expr;
        EXPECT_EQ(constantValue(*e, u), c.value) << c.expr;
    }
}

TEST(FinishSymbols, TheIndexTellsACallerItsCallee) {
    ProgramIndex index;
    addToIndex(unitOf({"double precision function ddot(n, x, incx, f)", "integer n, incx", "double precision x(*)",
                       "external f", "ddot = x(1)", "end"}),
               index);
    addToIndex(unitOf({"subroutine s", "common /c/ a(2, 3), n", "character*5 t", "common /d/ t", "end"}), index);
    addToIndex(unitOf({"subroutine u", "common /c/ b(6), m", "end"}), index);
    ASSERT_EQ(index.procs.count("ddot"), 1u);
    const ProcInfo& p = index.procs.at("ddot");
    EXPECT_EQ(p.kind, UnitKind::function);
    EXPECT_EQ(p.type, BaseType::doublePrecision);
    ASSERT_EQ(p.dummies.size(), 4u);
    EXPECT_FALSE(p.dummies[0].isArray);
    EXPECT_EQ(p.dummies[0].type, BaseType::integer);
    EXPECT_TRUE(p.dummies[1].isArray);
    EXPECT_TRUE(p.dummies[3].isProcedure);
    // COMMON: the first unit's names and sizes; a later unit adds nothing.
    ASSERT_EQ(index.commons.at("c").size(), 2u);
    EXPECT_EQ(index.commons.at("c")[0].name, "a");
    EXPECT_EQ(index.commons.at("c")[0].size, 6);
    EXPECT_EQ(index.commons.at("c")[1].name, "n");
    EXPECT_EQ(index.commons.at("d")[0].length, 5);
    EXPECT_EQ(index.commonOrder, (std::vector<std::string>{"c", "d"}));
}

}  // namespace
}  // namespace ftvb::finish
