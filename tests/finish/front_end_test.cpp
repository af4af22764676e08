// The finisher's front end on tiny inputs: lines into statements, blanks
// and Hollerith, tokens, statement kinds and the shape of expressions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "finish/lexer.h"
#include "finish/parser.h"

namespace ftvb::finish {
namespace {

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
        const char* name;
        std::vector<std::string> in;
        std::vector<std::string> out;
    };
    const std::vector<Case> cases = {
        {"label and body", {"   10 x = 1"}, {"S 10|x = 1"}},
        {"continuation joined", {"      x = 1 +", "     &    2"}, {"S |x = 1 +    2"}},
        {"zero in column 6 starts a statement", {"      x = 1", "     0y = 2"}, {"S |x = 1", "S |y = 2"}},
        {"comment kinds", {"c one", "C two", "* three", "! four"}, {"C  one", "C  two", "C  three", "C  four"}},
        {"blank line kept", {"      x = 1", "", "      y = 2"}, {"S |x = 1", "B", "S |y = 2"}},
        {"comment inside a statement comes after it",
         {"      x = 1 +", "c note", "     &2"},
         {"S |x = 1 +2", "C  note"}},
        {"columns past 72 ignored",
         {"      x = 1" + std::string(61, ' ') + "junk"},
         {"S |x = 1" + std::string(61, ' ')}},
        {"inline ! comment outside quotes", {"      s = 'a!b' ! said"}, {"S |s = 'a!b' "}},
        {"tab form", {"10\tx = 1", "\t1+ 2"}, {"S 10|x = 1+ 2"}},
        {"CR before LF dropped", {"      x = 1\r"}, {"S |x = 1"}},
    };
    for (const Case& c : cases) EXPECT_EQ(describe(read(c.in)), c.out) << c.name;
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
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases = {
        {"DO 10 I = 1, 10", "do10i=1,10"}, {"x = 'A  b'", "x='A  b'"},
        {"x = 'it''s'", "x='it''s'"},      {"FORMAT(1X, 5HAb  c, I3)", "format(1x,'Ab  c',i3)"},
        {"CALL F(2HOK)", "callf('OK')"},   {"DATA S /3Ha'b/", "datas/'a''b'/"},
        {"REAL*8 H", "real*8h"},           {"CHARACTER*8 H(2)", "character*8h(2)"},
        {"X(1, 2) = H", "x(1,2)=h"},
    };
    for (const Case& c : cases) EXPECT_EQ(squeeze(c.in).text, c.out) << c.in;
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
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases = {
        {"1.eq.x", "i:1 o:.eq. n:x"},
        {"1.e5+.5", "r:1.e5 o:+ r:.5"},
        {"1.5d-3*x", "r:1.5d-3D o:* n:x"},
        {"a**-2", "n:a o:** o:- i:2"},
        {"s//'x'", "n:s o:// s:x"},
        {".true..and..not.b", "l:true o:.and. o:.not. n:b"},
        {"a.ge.b.or.c==d", "n:a o:.ge. n:b o:.or. n:c o:== n:d"},
        {"x(1:n)", "n:x o:( i:1 o:: n:n o:)"},
        {"3.", "r:3."},
        {"a.b", "n:a o:. n:b"},
    };
    for (const Case& c : cases) EXPECT_EQ(tokens(c.in), c.out) << c.in;
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
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases = {
        {"-a**2", "(- (** a 2))"},
        {"2**3**2", "(** 2 (** 3 2))"},
        {"a-b-c", "(- (- a b) c)"},
        {"a/b*c", "(* (/ a b) c)"},
        {"-a*b+c", "(+ (- (* a b)) c)"},
        {"a**-b*c", "(* (** a (- b)) c)"},
        {"a.or.b.and..not.c", "(.or. a (.and. b (.not. c)))"},
        {"a.eqv.b.or.c", "(.eqv. a (.or. b c))"},
        {"a//b.eq.c", "(.eq. (// a b) c)"},
        {"x(i,j)+f(1)", "(+ x(i,j) f(1))"},
        {"s(2:)", "sub(s,2,_)"},
        {"a(i)(1:k)", "sub(a(i),1,k)"},
        {"(a+b)*c", "(* [(+ a b)] c)"},
    };
    for (const Case& c : cases) {
        ExprPtr e = parseExpression(c.in);
        ASSERT_TRUE(e) << c.in;
        EXPECT_EQ(shape(e.get()), c.out) << c.in;
    }
}

TEST(FinishParser, StatementKinds) {
    using K = Stmt::Kind;
    struct Case {
        const char* in;
        K kind;
        const char* name;  // the field the kind names, when it has one
    };
    const std::vector<Case> cases = {
        {"DO 10 I = 1, N, 2", K::doLoop, "i"},
        {"DO 10, I = 1, N", K::doLoop, "i"},
        {"DO 10 I = 1. 10", K::assignment, ""},
        {"DO I = 1, N", K::doLoop, "i"},
        {"DO WHILE (X .LT. 1)", K::doWhile, ""},
        {"DO 20 WHILE (X .LT. 1)", K::doWhile, ""},
        {"END DO", K::endDo, ""},
        {"IF (X) 10, 20, 30", K::ifArithmetic, ""},
        {"IF (A .GT. B) THEN", K::ifBlock, ""},
        {"ELSE IF (A) THEN", K::elseIf, ""},
        {"ELSE", K::elseBlock, ""},
        {"END IF", K::endIf, ""},
        {"IF (X) Y = 1", K::ifLogical, ""},
        {"IF (X) GOTO 10", K::ifLogical, ""},
        {"GO TO (10, 20), K", K::computedGoto, ""},
        {"GOTO 10", K::gotoStmt, ""},
        {"GO TO K, (10, 20)", K::assignedGoto, "k"},
        {"ASSIGN 10 TO K", K::assignStmt, "k"},
        {"CALL FOO(A, 'X', B(1))", K::call, "foo"},
        {"CALL FOO", K::call, "foo"},
        {"RETURN", K::returnStmt, ""},
        {"STOP 'done'", K::stopStmt, ""},
        {"PAUSE", K::pauseStmt, ""},
        {"CONTINUE", K::continueStmt, ""},
        {"END", K::end, ""},
        {"PROGRAM TEST", K::program, "test"},
        {"SUBROUTINE S(A, B)", K::subroutine, "s"},
        {"DOUBLE PRECISION FUNCTION F(X)", K::function, "f"},
        {"REAL*8 FUNCTION G(X)", K::function, "g"},
        {"CHARACTER*(*) FUNCTION H(X)", K::function, "h"},
        {"FUNCTION F(X)", K::function, "f"},
        {"RECURSIVE SUBROUTINE R(N)", K::subroutine, "r"},
        {"BLOCK DATA INIT", K::blockData, "init"},
        {"REAL*8 A(10), B", K::typeDecl, ""},
        {"DOUBLE PRECISION, INTENT(IN) :: X(*)", K::typeDecl, ""},
        {"CHARACTER*(*) S", K::typeDecl, ""},
        {"INTEGER FUNCTIONS", K::typeDecl, ""},
        {"DIMENSION A(N, *)", K::dimension, ""},
        {"PARAMETER (N = 10, M = N*2)", K::parameter, ""},
        {"IMPLICIT DOUBLE PRECISION (A-H, O-Z)", K::implicit, ""},
        {"IMPLICIT NONE", K::implicit, ""},
        {"EXTERNAL F, G", K::external, ""},
        {"INTRINSIC MOD", K::intrinsic, ""},
        {"COMMON /B/ X, Y(3) // Z", K::common, ""},
        {"SAVE", K::save, ""},
        {"DATA A, B /1, 2*3.0/", K::data, ""},
        {"EQUIVALENCE (A, B)", K::equivalence, ""},
        {"WRITE(6, 100) X, (Y(I), I = 1, N)", K::write, ""},
        {"WRITE(*,*)", K::write, ""},
        {"PRINT *, X", K::print, ""},
        {"PRINT 100", K::print, ""},
        {"READ(5, *) X", K::read, ""},
        {"READ *, X", K::read, ""},
        {"OPEN(UNIT=7, FILE='a.txt', STATUS='OLD')", K::open, ""},
        {"CLOSE(7)", K::close, ""},
        {"FORMAT(1X, 'a', I5)", K::format, ""},
        {"EXIT", K::exitStmt, ""},
        {"X(I) = Y", K::assignment, ""},
        {"S(1:2) = 'AB'", K::assignment, ""},
        {"IF (X) = 1", K::assignment, ""},
        {"X = = 1", K::unknown, ""},
        {"CALL", K::unknown, ""},
        {"IF (X", K::unknown, ""},
        {"WHATEVER", K::unknown, ""},
        {"X = (1, 2)", K::unknown, ""},
    };
    for (const Case& c : cases) {
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
