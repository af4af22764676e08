// The finisher's front end on tiny inputs: lines into statements, blanks
// and Hollerith, tokens, statement kinds and the shape of expressions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "finish/lexer.h"
#include "finish/parser.h"
#include "tests/support/case_line.h"

namespace ftvb::finish {
namespace {

using ftvb::testing::caseLine;

std::vector<SourceItem> read(const std::vector<std::string>& lines) {
    StatementReader reader;
    std::vector<SourceItem> items;
    for (const std::string& l : lines) reader.feed(l, items);
    reader.finish(items);
    return items;
}

// "S label|text", "C text" or "B" per item.
std::vector<std::string> describe(const std::vector<SourceItem>& items) {
    std::vector<std::string> out;
    for (const SourceItem& i : items) {
        switch (i.kind) {
            case SourceItem::Kind::statement: out.push_back("S " + i.label + "|" + i.text); break;
            case SourceItem::Kind::comment: out.push_back("C " + i.text); break;
            case SourceItem::Kind::blank: out.push_back("B"); break;
        }
    }
    return out;
}

TEST(FinishLexer, LinesBecomeStatements) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* name;
        std::vector<std::string> in;
        std::vector<std::string> out;
    };
    const std::vector<Case> cases = {
        {__LINE__, "label and body", {"   10 x = 1"}, {"S 10|x = 1"}},
        {__LINE__, "continuation joined", {"      x = 1 +", "     &    2"}, {"S |x = 1 +    2"}},
        {__LINE__, "zero in column 6 starts a statement", {"      x = 1", "     0y = 2"}, {"S |x = 1", "S |y = 2"}},
        {__LINE__,
         "comment kinds",
         {"c one", "C two", "* three", "! four"},
         {"C  one", "C  two", "C  three", "C  four"}},
        {__LINE__, "blank line kept", {"      x = 1", "", "      y = 2"}, {"S |x = 1", "B", "S |y = 2"}},
        {__LINE__,
         "comment inside a statement comes after it",
         {"      x = 1 +", "c note", "     &2"},
         {"S |x = 1 +2", "C  note"}},
        {__LINE__,
         "columns past 72 ignored",
         {"      x = 1" + std::string(61, ' ') + "junk"},
         {"S |x = 1" + std::string(61, ' ')}},
        {__LINE__, "inline ! comment outside quotes", {"      s = 'a!b' ! said"}, {"S |s = 'a!b' "}},
        {__LINE__, "tab form", {"10\tx = 1", "\t1+ 2"}, {"S 10|x = 1+ 2"}},
        {__LINE__, "CR before LF dropped", {"      x = 1\r"}, {"S |x = 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(describe(read(c.in)), c.out) << c.name;
    }
}

TEST(FinishLexer, PositionsPointAtTheSource) {
    const std::vector<SourceItem> items = read({"      x = 1 +", "     &    yy"});
    ASSERT_EQ(items.size(), 1u);
    const SourceItem& s = items[0];
    const std::size_t y = s.text.find("yy");
    EXPECT_EQ(s.positionOf(0).line, 1);
    EXPECT_EQ(s.positionOf(0).column, 7);
    EXPECT_EQ(s.positionOf(y).line, 2);
    EXPECT_EQ(s.positionOf(y).column, 11);
}

TEST(FinishLexer, BlanksOutsideTextGo) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases = {
        {__LINE__, "DO 10 I = 1, 10", "do10i=1,10"}, {__LINE__, "x = 'A  b'", "x='A  b'"},
        {__LINE__, "x = 'it''s'", "x='it''s'"},      {__LINE__, "FORMAT(1X, 5HAb  c, I3)", "format(1x,'Ab  c',i3)"},
        {__LINE__, "CALL F(2HOK)", "callf('OK')"},   {__LINE__, "DATA S /3Ha'b/", "datas/'a''b'/"},
        {__LINE__, "REAL*8 H", "real*8h"},           {__LINE__, "CHARACTER*8 H(2)", "character*8h(2)"},
        {__LINE__, "X(1, 2) = H", "x(1,2)=h"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(squeeze(c.in).text, c.out) << c.in;
    }
}

std::string tokens(const std::string& squeezed) {
    std::string out;
    for (const Token& t : tokenize(squeezed)) {
        if (t.kind == Token::Kind::end) break;
        static const char* const kKinds[] = {"n", "i", "r", "s", "l", "o", "e"};
        out += std::string(out.empty() ? "" : " ") + kKinds[static_cast<int>(t.kind)] + ":" + t.text +
               (t.isDouble ? "D" : "");
    }
    return out;
}

TEST(FinishLexer, Tokens) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases = {
        {__LINE__, "1.eq.x", "i:1 o:.eq. n:x"},
        {__LINE__, "1.e5+.5", "r:1.e5 o:+ r:.5"},
        {__LINE__, "1.5d-3*x", "r:1.5d-3D o:* n:x"},
        {__LINE__, "a**-2", "n:a o:** o:- i:2"},
        {__LINE__, "s//'x'", "n:s o:// s:x"},
        {__LINE__, ".true..and..not.b", "l:true o:.and. o:.not. n:b"},
        {__LINE__, "a.ge.b.or.c==d", "n:a o:.ge. n:b o:.or. n:c o:== n:d"},
        {__LINE__, "x(1:n)", "n:x o:( i:1 o:: n:n o:)"},
        {__LINE__, "3.", "r:3."},
        {__LINE__, "a.b", "n:a o:. n:b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(tokens(c.in), c.out) << c.in;
    }
}

std::string shape(const Expr* e) {
    if (e == nullptr) return "_";
    switch (e->kind) {
        case Expr::Kind::binary:
            return "(" + e->op + " " + shape(e->args[0].get()) + " " + shape(e->args[1].get()) + ")";
        case Expr::Kind::unary: return "(" + e->op + " " + shape(e->args[0].get()) + ")";
        case Expr::Kind::paren: return "[" + shape(e->args[0].get()) + "]";
        case Expr::Kind::call: {
            std::string s = e->text + "(";
            for (std::size_t i = 0; i < e->args.size(); ++i) s += (i ? "," : "") + shape(e->args[i].get());
            return s + ")";
        }
        case Expr::Kind::substring:
            return "sub(" + shape(e->args[0].get()) + "," + shape(e->args[1].get()) + "," + shape(e->args[2].get()) +
                   ")";
        case Expr::Kind::string: return "'" + e->text + "'";
        default: return e->text;
    }
}

TEST(FinishParser, ExpressionsFollowFortranPrecedence) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases = {
        {__LINE__, "-a**2", "(- (** a 2))"},
        {__LINE__, "2**3**2", "(** 2 (** 3 2))"},
        {__LINE__, "a-b-c", "(- (- a b) c)"},
        {__LINE__, "a/b*c", "(* (/ a b) c)"},
        {__LINE__, "-a*b+c", "(+ (- (* a b)) c)"},
        {__LINE__, "a**-b*c", "(* (** a (- b)) c)"},
        {__LINE__, "a.or.b.and..not.c", "(.or. a (.and. b (.not. c)))"},
        {__LINE__, "a.eqv.b.or.c", "(.eqv. a (.or. b c))"},
        {__LINE__, "a//b.eq.c", "(.eq. (// a b) c)"},
        {__LINE__, "x(i,j)+f(1)", "(+ x(i,j) f(1))"},
        {__LINE__, "s(2:)", "sub(s,2,_)"},
        {__LINE__, "a(i)(1:k)", "sub(a(i),1,k)"},
        {__LINE__, "(a+b)*c", "(* [(+ a b)] c)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        ExprPtr e = parseExpression(c.in);
        ASSERT_TRUE(e) << c.in;
        EXPECT_EQ(shape(e.get()), c.out) << c.in;
    }
}

TEST(FinishParser, StatementKinds) {
    using K = Stmt::Kind;
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* in;
        K kind;
        const char* name;  // the field the kind names, when it has one
    };
    const std::vector<Case> cases = {
        {__LINE__, "DO 10 I = 1, N, 2", K::doLoop, "i"},
        {__LINE__, "DO 10, I = 1, N", K::doLoop, "i"},
        {__LINE__, "DO 10 I = 1. 10", K::assignment, ""},
        {__LINE__, "DO I = 1, N", K::doLoop, "i"},
        {__LINE__, "DO WHILE (X .LT. 1)", K::doWhile, ""},
        {__LINE__, "DO 20 WHILE (X .LT. 1)", K::doWhile, ""},
        {__LINE__, "END DO", K::endDo, ""},
        {__LINE__, "IF (X) 10, 20, 30", K::ifArithmetic, ""},
        {__LINE__, "IF (A .GT. B) THEN", K::ifBlock, ""},
        {__LINE__, "ELSE IF (A) THEN", K::elseIf, ""},
        {__LINE__, "ELSE", K::elseBlock, ""},
        {__LINE__, "END IF", K::endIf, ""},
        {__LINE__, "IF (X) Y = 1", K::ifLogical, ""},
        {__LINE__, "IF (X) GOTO 10", K::ifLogical, ""},
        {__LINE__, "GO TO (10, 20), K", K::computedGoto, ""},
        {__LINE__, "GOTO 10", K::gotoStmt, ""},
        {__LINE__, "GO TO K, (10, 20)", K::assignedGoto, "k"},
        {__LINE__, "ASSIGN 10 TO K", K::assignStmt, "k"},
        {__LINE__, "CALL FOO(A, 'X', B(1))", K::call, "foo"},
        {__LINE__, "CALL FOO", K::call, "foo"},
        {__LINE__, "RETURN", K::returnStmt, ""},
        {__LINE__, "STOP 'done'", K::stopStmt, ""},
        {__LINE__, "PAUSE", K::pauseStmt, ""},
        {__LINE__, "CONTINUE", K::continueStmt, ""},
        {__LINE__, "END", K::end, ""},
        {__LINE__, "PROGRAM TEST", K::program, "test"},
        {__LINE__, "SUBROUTINE S(A, B)", K::subroutine, "s"},
        {__LINE__, "DOUBLE PRECISION FUNCTION F(X)", K::function, "f"},
        {__LINE__, "REAL*8 FUNCTION G(X)", K::function, "g"},
        {__LINE__, "CHARACTER*(*) FUNCTION H(X)", K::function, "h"},
        {__LINE__, "FUNCTION F(X)", K::function, "f"},
        {__LINE__, "RECURSIVE SUBROUTINE R(N)", K::subroutine, "r"},
        {__LINE__, "BLOCK DATA INIT", K::blockData, "init"},
        {__LINE__, "REAL*8 A(10), B", K::typeDecl, ""},
        {__LINE__, "DOUBLE PRECISION, INTENT(IN) :: X(*)", K::typeDecl, ""},
        {__LINE__, "CHARACTER*(*) S", K::typeDecl, ""},
        {__LINE__, "INTEGER FUNCTIONS", K::typeDecl, ""},
        {__LINE__, "DIMENSION A(N, *)", K::dimension, ""},
        {__LINE__, "PARAMETER (N = 10, M = N*2)", K::parameter, ""},
        {__LINE__, "IMPLICIT DOUBLE PRECISION (A-H, O-Z)", K::implicit, ""},
        {__LINE__, "IMPLICIT NONE", K::implicit, ""},
        {__LINE__, "EXTERNAL F, G", K::external, ""},
        {__LINE__, "INTRINSIC MOD", K::intrinsic, ""},
        {__LINE__, "COMMON /B/ X, Y(3) // Z", K::common, ""},
        {__LINE__, "SAVE", K::save, ""},
        {__LINE__, "DATA A, B /1, 2*3.0/", K::data, ""},
        {__LINE__, "EQUIVALENCE (A, B)", K::equivalence, ""},
        {__LINE__, "WRITE(6, 100) X, (Y(I), I = 1, N)", K::write, ""},
        {__LINE__, "WRITE(*,*)", K::write, ""},
        {__LINE__, "PRINT *, X", K::print, ""},
        {__LINE__, "PRINT 100", K::print, ""},
        {__LINE__, "READ(5, *) X", K::read, ""},
        {__LINE__, "READ *, X", K::read, ""},
        {__LINE__, "OPEN(UNIT=7, FILE='a.txt', STATUS='OLD')", K::open, ""},
        {__LINE__, "CLOSE(7)", K::close, ""},
        {__LINE__, "FORMAT(1X, 'a', I5)", K::format, ""},
        {__LINE__, "EXIT", K::exitStmt, ""},
        {__LINE__, "X(I) = Y", K::assignment, ""},
        {__LINE__, "S(1:2) = 'AB'", K::assignment, ""},
        {__LINE__, "IF (X) = 1", K::assignment, ""},
        {__LINE__, "X = = 1", K::unknown, ""},
        {__LINE__, "CALL", K::unknown, ""},
        {__LINE__, "IF (X", K::unknown, ""},
        {__LINE__, "WHATEVER", K::unknown, ""},
        {__LINE__, "X = (1, 2)", K::unknown, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        const Stmt st = parseStatement(c.in);
        EXPECT_EQ(static_cast<int>(st.kind), static_cast<int>(c.kind)) << c.in << " (" << st.error << ")";
        if (*c.name != '\0') {
            EXPECT_EQ(st.name, c.name) << c.in;
        }
    }
}

TEST(FinishParser, PartsOfStatements) {
    {
        const Stmt st = parseStatement("DO 10 I = 1, N, 2");
        EXPECT_EQ(st.doLabel, "10");
        EXPECT_EQ(st.exprs.size(), 3u);
    }
    {
        const Stmt st = parseStatement("REAL*8 A(0:N, *), B*4");
        EXPECT_EQ(static_cast<int>(st.type.base), static_cast<int>(BaseType::doublePrecision));
        ASSERT_EQ(st.decls.size(), 2u);
        ASSERT_EQ(st.decls[0].upper.size(), 2u);
        EXPECT_EQ(shape(st.decls[0].lower[0].get()), "0");
        EXPECT_EQ(static_cast<int>(st.decls[0].upper[1]->kind), static_cast<int>(Expr::Kind::star));
    }
    {
        const Stmt st = parseStatement("COMMON /B/ X, Y(3) // Z, /C/ W");
        ASSERT_EQ(st.blocks.size(), 3u);
        EXPECT_EQ(st.blocks[0].first, "b");
        EXPECT_EQ(st.blocks[0].second.size(), 2u);
        EXPECT_EQ(st.blocks[1].first, "");
        EXPECT_EQ(st.blocks[2].first, "c");
    }
    {
        const Stmt st = parseStatement("DATA (A(I), I = 1, 3) / 3*0.0 /, S /'x'/");
        ASSERT_EQ(st.data.size(), 2u);
        EXPECT_EQ(static_cast<int>(st.data[0].targets[0]->kind), static_cast<int>(Expr::Kind::impliedDo));
        ASSERT_TRUE(st.data[0].repeats[0]);
        EXPECT_EQ(shape(st.data[0].repeats[0].get()), "3");
    }
    {
        const Stmt st = parseStatement("FORMAT(1X, 'a  b', 2HcD, f10.4)");
        EXPECT_EQ(st.formatText, "(1X,'a  b','cD',F10.4)");
    }
    {
        const Stmt st = parseStatement("IMPLICIT DOUBLE PRECISION (A-H, O-Z), INTEGER (I-N)");
        ASSERT_EQ(st.implicitRules.size(), 2u);
        EXPECT_EQ(st.implicitRules[0].second.size(), 2u);
        EXPECT_EQ(st.implicitRules[0].second[1].first, 'o');
    }
    {
        const Stmt st = parseStatement("WRITE(UNIT=NOUT, FMT=9999) X");
        EXPECT_EQ(shape(st.io.unit.get()), "nout");
        EXPECT_EQ(shape(st.io.format.get()), "9999");
    }
}

TEST(FinishParser, WhatDoesNotParseSaysWhereAndWhy) {
    const Stmt st = parseStatement("      X = (A + ) * 2", "12", 7);
    EXPECT_EQ(static_cast<int>(st.kind), static_cast<int>(Stmt::Kind::unknown));
    EXPECT_EQ(st.label, "12");
    EXPECT_EQ(st.line, 7);
    EXPECT_NE(st.error.find("operand"), std::string::npos) << st.error;
    EXPECT_EQ(st.source.substr(st.errorAt, 1), ")");
}

// Parsed in place, a statement is what parseStatement makes; one that
// fails part way keeps nothing of what was parsed before the failure.
TEST(FinishParser, InPlaceIsTheSameAndAFailureKeepsNoParts) {
    struct Case {
        const char* in;
        Stmt::Kind kind;
        std::size_t exprs;
        const char* name;
        const char* inner;  // a logical IF's statement as written, or null
    };
    const Case cases[] = {
        {"CALL F(A, B(1), 3)", Stmt::Kind::call, 3, "f", nullptr},
        {"CALL F(A, B", Stmt::Kind::unknown, 0, "", nullptr},
        {"DO 10 I = 1, N, (", Stmt::Kind::unknown, 0, "", nullptr},
        {"IF (X .GT. 0) Y = 1", Stmt::Kind::ifLogical, 1, "", "Y = 1"},
        {"IF (X .GT. 0) CALL G(", Stmt::Kind::unknown, 0, "", nullptr},
    };
    for (const Case& c : cases) {
        Stmt st;
        parseStatementInto(st, std::string(c.in), "5", 3);
        const Stmt ref = parseStatement(c.in, "5", 3);
        EXPECT_EQ(static_cast<int>(st.kind), static_cast<int>(c.kind)) << c.in;
        EXPECT_EQ(static_cast<int>(ref.kind), static_cast<int>(c.kind)) << c.in;
        EXPECT_EQ(st.exprs.size(), c.exprs) << c.in;
        EXPECT_EQ(st.name, c.name) << c.in;
        EXPECT_EQ(st.source, c.in) << c.in;
        EXPECT_EQ(st.label, "5") << c.in;
        EXPECT_EQ(st.line, 3) << c.in;
        EXPECT_EQ(st.error, ref.error) << c.in;
        EXPECT_EQ(st.errorAt, ref.errorAt) << c.in;
        EXPECT_EQ(st.inner != nullptr, c.inner != nullptr) << c.in;
        if (c.inner != nullptr && st.inner) {
            EXPECT_EQ(st.inner->source, c.inner) << c.in;
        }
        if (c.kind == Stmt::Kind::unknown) {
            EXPECT_FALSE(st.target || st.inner || !st.labels.empty()) << c.in;
        }
    }
}

// Random bytes and broken statements: a diagnostic each time, never a
// crash or a hang.
TEST(FinishParser, NothingBreaksIt) {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    const std::string alphabet = "abcdefxyz0123456789 ()=,.*/+-:'\"&$!eqdh";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(next() % 40);
        for (int i = 0; i < length; ++i) text += alphabet[next() % alphabet.size()];
        const Stmt st = parseStatement(text);
        if (st.kind == Stmt::Kind::unknown) {
            EXPECT_FALSE(st.error.empty()) << text;
        }
    }
}

}  // namespace
}  // namespace ftvb::finish
