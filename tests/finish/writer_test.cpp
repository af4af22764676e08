// The VBA writer on tiny programs (FORTRAN in, the VBA lines that must
// appear, in order), and the finishing run: modules, splitting, review
// notes, files that cannot be read.
#include "finish/writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/run.h"
#include "finish/finish.h"
#include "tests/support/case_line.h"
#include "tests/support/temp_folder.h"

namespace ftvb::finish {
namespace {

using ftvb::testing::caseLine;

namespace fs = std::filesystem;

struct Notes : RunObserver {
    std::vector<std::string> notes;
    bool wantsReview() override { return true; }
    void reviewNoted(const ReviewNote& n) override {
        notes.push_back(std::string(reviewTag(n.kind)) + " " + std::to_string(n.sourceLine) + " " +
                        std::to_string(n.moduleLine) + " " + std::string(n.detail));
    }
};

std::vector<std::string> readLines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string trim(const std::string& s) {
    const std::size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a);
}

struct Finished {
    FinishResult result;
    std::vector<std::vector<std::string>> modules;  // lines of each
    std::vector<std::string> notes;
};

// Short FORTRAN here: each line is given its six columns ("10 x = 1" its
// label); "c " lines and lines already in columns stay as they are.
Finished finishSource(const std::string& source, FinishOptions options = {}) {
    const testing::TempFolder dir("ftvb-finish");
    {
        std::ofstream out(dir / "prog.f", std::ios::binary);
        std::istringstream in(source);
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line.rfind("c ", 0) == 0 || line.rfind("      ", 0) == 0 ||
                line.rfind("     &", 0) == 0) {
                out << line << "\n";
            } else if (line[0] >= '0' && line[0] <= '9') {
                const std::size_t blank = line.find(' ');
                out << line.substr(0, blank) << std::string(6 - blank, ' ') << line.substr(blank + 1) << "\n";
            } else {
                out << "      " << line << "\n";
            }
        }
    }
    Notes notes;
    Finished f;
    f.result = runFinish((dir / "prog.bas").string(), NameList({(dir / "prog.f").string()}), notes, options);
    for (const std::string& m : f.result.modules) f.modules.push_back(readLines(m));
    f.notes = notes.notes;
    return f;
}

// Whether `want` appear in `lines`, in order, blanks at the start aside.
std::string missing(const std::vector<std::string>& lines, const std::vector<std::string>& want) {
    std::size_t at = 0;
    for (const std::string& w : want) {
        while (at < lines.size() && trim(lines[at]) != w) ++at;
        if (at == lines.size()) return w;
        ++at;
    }
    return {};
}

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\n";
    return s;
}

struct Case {
    int line;  // where the case is written, for the failure to name
    const char* name;
    const char* in;
    std::vector<std::string> out;
};

void check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        const Finished f = finishSource(c.in);
        ASSERT_TRUE(f.result.moduleWritten) << c.name;
        ASSERT_EQ(f.modules.size(), 1u) << c.name;
        const std::string gone = missing(f.modules[0], c.out);
        EXPECT_EQ(gone, "") << c.name << ": no line '" << gone << "' in order in\n" << joined(f.modules[0]);
    }
}

TEST(FinishWriter, ModuleAndProcedures) {
    check({
        {__LINE__,
         "main program without PROGRAM, header lines",
         "x = 1.0\nend\n",
         {"Attribute VB_Name = \"prog\"", "Option Explicit", "Public Sub main()", "Dim x As Single", "x = 1.0",
          "End Sub"}},
        {__LINE__,
         "typed function header, array dummy with its offset",
         "double precision function f(n, x)\ninteger n\ndouble precision x(n)\nf = x(n)\nend\n",
         {"Public Function f(ByRef n As Long, ByRef x() As Double, ByVal x_o As Long) As Double", "f = x(x_o + n)",
          "End Function"}},
        {__LINE__,
         "implicit types made explicit",
         "subroutine s(k)\ny = k\nend\n",
         {"Public Sub s(ByRef k As Long)", "Dim y As Single", "y = k"}},
        {__LINE__,
         "IMPLICIT DOUBLE PRECISION",
         "subroutine s\nimplicit double precision (a-h, o-z)\nx = 1\nn = 2\nend\n",
         {"Dim x As Double", "Dim n As Long"}},
        {__LINE__,
         "comments and blank lines kept",
         "c first\n      program p\n\nc inside\n      x = 1\n      end\n",
         {"' first", "Public Sub p()", "", "' inside", "x = 1"}},
        {__LINE__,
         "a name VBA keeps gets a _",
         "program p\ninteger len, step\nlen = 1\nstep = len\nend\n",
         {"Dim len_ As Long", "Dim step_ As Long", "len_ = 1", "step_ = len_"}},
        {__LINE__,
         "a function that reads its own name uses a local",
         "integer function f(n)\ninteger n\nf = 1\nif (n .gt. 0) f = f + n\nreturn\nend\n",
         {"Dim f_r As Long", "f_r = 1", "If n > 0 Then f_r = f_r + n", "f = f_r", "End Function"}},
        {__LINE__,
         "a RETURN inside a block leaves; the last one before END is not written",
         "integer function f(n)\nf = 0\nif (n .gt. 0) then\nf = f + 1\nreturn\nend if\nreturn\nend\n",
         {"If n > 0 Then", "f_r = f_r + 1", "f = f_r", "Exit Function", "End If", "f = f_r", "End Function"}},
    });
}

TEST(FinishWriter, Expressions) {
    check({
        {__LINE__,
         "integer division, and its precedence below *",
         "program p\ni = 7\nj = i / 2 * 3\nk = 3 * (i / 2)\nend\n",
         {"j = (i \\ 2) * 3", "k = 3 * (i \\ 2)"}},
        {__LINE__,
         "powers: right-associative, above unary minus, integer helper",
         "program p\ndouble precision x, y\ni = 2 ** 3 ** 2\ny = -x ** 2\ny = x ** 3\ny = x ** 0.5d0\nend\n",
         {"i = FtIPow(2, FtIPow(3, 2))", "y = -(x * x)", "y = FtPowI(x, 3)", "y = x ^ 0.5"}},
        {__LINE__,
         "mixed mode and truncation on assignment",
         "program p\ndouble precision d\nd = 2.5d0\ni = d\nx = i + 1\nend\n",
         {"d = 2.5", "i = FtInt(d)", "x = i + 1"}},
        {__LINE__,
         "REAL rounds each operation; an inexact REAL constant is rounded too",
         "program p\nx = 1.5\ny = x * 0.1 + 2.0\nend\n",
         {"y = CSng(CSng(x * CSng(0.1)) + 2.0)"}},
        {__LINE__,
         "logical operators, every change of operator in parentheses (LibreOffice ranks them apart from VBA)",
         "program p\nlogical a, b, c\na = .not. b .and. c .or. a .eqv. b .neqv. c\na = a .neqv. b .eqv. c\nend\n",
         {"a = ((((Not b) And c) Or a) Eqv b) Xor c", "a = (a Xor b) Eqv c"}},
        {__LINE__,
         "a NOT is kept apart from the operators around it",
         "program p\nlogical a, b\na = a .and. .not. b .or. .not. a .and. b\nb = .not. (i .lt. 0)\nend\n",
         {"a = (a And (Not b)) Or ((Not a) And b)", "b = Not (i < 0)"}},
        {__LINE__,
         "relations on strings go through FtStrCmp",
         "program p\ncharacter*4 s\nlogical t\nt = s .eq. 'ab' .and. s .lt. 'b'\nend\n",
         {"t = FtStrCmp(s, \"ab\") = 0 And FtStrCmp(s, \"b\") < 0"}},
        {__LINE__,
         "concatenation, substrings, assignment padded",
         "program p\ncharacter*6 s, t\ns = 'ab' // t(2:3)\ns(2:4) = 'xyz'\nend\n",
         {"s = FtPad(\"ab\" & Mid$(t, 2, 2), 6)", "Mid$(s, 2, 3) = FtPad(\"xyz\", 3)"}},
        {__LINE__, "D exponents", "program p\ndouble precision d\nd = 1.5d-3 + 2d0\nend\n", {"d = 1.5E-3 + 2.0"}},
        {__LINE__,
         "intrinsics with FORTRAN's meaning",
         "program p\ndouble precision a, b\ni = mod(7, 3) + int(a) + nint(b)\na = max(a, b, 1d0) + sign(a, b)\n"
         "a = dsqrt(a) + abs(b) + dble(i)\ni = max0(i, 2) + iabs(i)\nend\n",
         {"i = FtModL(7, 3) + FtInt(a) + FtNint(b)", "a = FtMaxD(FtMaxD(a, b), 1.0) + FtSignD(a, b)",
          "a = Sqr(a) + Abs(b) + CDbl(i)", "i = FtMaxL(i, 2) + CLng(Abs(i))"}},
        {__LINE__,
         "a statement function is written in place",
         "program p\ndouble precision sq, t, u\nsq(t) = t * t + 1d0\nu = sq(u + 1d0)\nend\n",
         {"u = ((u + 1.0) * (u + 1.0) + 1.0)"}},
        {__LINE__,
         "a statement function calling another",
         "program p\ndouble precision sq, hyp, x, y, a\nsq(x) = x * x\nhyp(x, y) = sqrt(sq(x) + sq(y))\n"
         "a = hyp(a, 2d0)\nend\n",
         {"a = Sqr((a * a) + (2.0 * 2.0))"}},
        {__LINE__, "two Integer literals multiply as Long", "program p\ni = 300 * 300\nend\n", {"i = 300& * 300"}},
    });
}

TEST(FinishWriter, Arrays) {
    check({
        {__LINE__,
         "column-major index, bounds from PARAMETERs",
         "program p\ninteger n\nparameter (n = 3)\ndouble precision a(n, n)\na(i, j) = 0d0\na(2, 3) = 1d0\nend\n",
         {"Const n As Long = 3", "Dim a(1 To 9) As Double", "a(i + j * 3 - 3) = 0.0", "a(8) = 1.0"}},
        {__LINE__,
         "a PARAMETER VBA cannot make a Const of is a variable set first",
         "program p\ndouble precision zero, big, half\nparameter (zero = 0d0, big = huge(zero), half = big / 2)\n"
         "parameter (x = 0.1 * 3.0)\nprint *, half, x\nend\n",
         {"Const zero As Double = 0.0", "Dim big As Double", "Dim half As Double", "Dim x As Single", "big = FtHugeD()",
          "half = big / 2", "x = CSng(CSng(0.1) * 3.0)"}},
        {__LINE__,
         "lower bounds",
         "program p\ndimension v(0:4), w(-2:2, 3)\nv(i) = w(i, j)\nend\n",
         {"Dim v(1 To 5) As Single", "Dim w(1 To 15) As Single", "v(i + 1) = w(i + j * 5 - 2)"}},
        {__LINE__,
         "adjustable dummy: leading dimension written out",
         "subroutine s(a, lda, i, j)\ninteger lda\ndouble precision a(lda, *)\na(i, j) = 1d0\nend\n",
         {"a(a_o + i + (j - 1) * lda) = 1.0"}},
        {__LINE__,
         "an element passed as an array is the array from there on",
         "program p\ndouble precision x(10), y(3, 3)\ncall s(x(4), 2)\ncall s(y(1, 2), 3)\ncall s(x, 1)\nend\n"
         "subroutine s(v, n)\ndouble precision v(*)\ninteger n\nv(n) = 0d0\nend\n",
         {"Call s(x, 3, 2)", "Call s(y, 3, 3)", "Call s(x, 0, 1)"}},
        {__LINE__,
         "a dummy's element passed on adds the offset",
         "subroutine t(v, i)\ndouble precision v(*)\ncall s(v(i), 1)\ncall s(v, 1)\nend\n"
         "subroutine s(w, n)\ndouble precision w(*)\nend\n",
         {"Call s(v, v_o + i - 1, 1)", "Call s(v, v_o, 1)"}},
        {__LINE__,
         "a scalar argument keeps the element",
         "program p\ndouble precision x(5)\ncall s(x(2))\nend\nsubroutine s(d)\ndouble precision d\nd = 1d0\nend\n",
         {"Call s(x(2))"}},
    });
}

TEST(FinishWriter, ControlFlow) {
    check({
        {__LINE__,
         "DO with a step, DO WHILE, END DO",
         "program p\ndo 10 i = 10, 1, -2\n10 continue\ndo while (i .lt. 5)\ni = i + 1\nend do\nend\n",
         {"For i = 10 To 1 Step -2", "Next i", "Do While i < 5", "i = i + 1", "Loop"}},
        {__LINE__,
         "a limit the loop changes is taken first; one it does not change is not",
         "program p\nm = 3\ndo 10 i = 1, m\nm = 10\n10 continue\ndo 20 i = 1, m\nk = i\n20 continue\nend\n",
         {"Dim i_to As Long", "i_to = m", "For i = 1 To i_to", "m = 10", "Next i", "For i = 1 To m", "k = i"}},
        {__LINE__,
         "loops sharing a label, a jump to it",
         "program p\ndo 10 j = 1, 3\ndo 10 i = 1, 3\nif (i .eq. j) goto 10\nk = k + 1\n10 continue\nend\n",
         {"For j = 1 To 3", "For i = 1 To 3", "If i = j Then GoTo L10", "k = k + 1", "L10:", "Next i", "Next j"}},
        {__LINE__,
         "a labelled DO ending on an assignment",
         "program p\ndimension x(3)\ndo 5 i = 1, 3\n5 x(i) = 0.0\nend\n",
         {"For i = 1 To 3", "x(i) = 0.0", "Next i"}},
        {__LINE__,
         "block IF",
         "program p\nif (i .gt. 0) then\nj = 1\nelse if (i .lt. 0) then\nj = -1\nelse\nj = 0\nend if\nend\n",
         {"If i > 0 Then", "j = 1", "ElseIf i < 0 Then", "j = -1", "Else", "j = 0", "End If"}},
        {__LINE__,
         "arithmetic IF",
         "program p\nif (i - 2) 10, 20, 30\n10 continue\n20 continue\n30 continue\nend\n",
         {"Select Case i - 2", "Case Is < 0: GoTo L10", "Case 0: GoTo L20", "Case Else: GoTo L30", "End Select",
          "L10:", "L20:", "L30:"}},
        {__LINE__,
         "computed and assigned GOTO",
         "program p\ngo to (10, 20) k\n10 assign 20 to m\ngo to m, (20)\n20 continue\nend\n",
         {"On k GoTo L10, L20", "L10:", "m = 20", "Select Case m", "Case 20: GoTo L20", "End Select", "L20:"}},
        {__LINE__,
         "a logical IF holding a statement of several lines",
         "program p\nif (i .gt. 0) write(*,*) i\nend\n",
         {"If i > 0 Then", "FtWriteBegin -1", "FtWriteItem i", "FtWriteEnd \"*\"", "End If"}},
        {__LINE__,
         "RETURN and STOP",
         "subroutine s(i)\nif (i .eq. 0) return\nif (i .lt. 0) stop 'neg'\nend\n",
         {"If i = 0 Then Exit Sub", "If i < 0 Then FtStop \"neg\""}},
        {__LINE__,
         "EXIT and CYCLE",
         "program p\ndo i = 1, 9\nif (i .eq. 2) cycle\nif (i .eq. 5) exit\nend do\nend\n",
         {"For i = 1 To 9", "If i = 2 Then GoTo Cycle_1", "If i = 5 Then Exit For", "Cycle_1:", "Next i"}},
    });
}

TEST(FinishWriter, DataAndInputOutput) {
    check({
        {__LINE__,
         "DATA and SAVE initialised once",
         "subroutine s\ninteger n, k(4)\nsave n\ndata n /0/, k /2*1, 2*0/\nn = n + 1\nend\n",
         {"' Saved in s", "Public s_k(1 To 4) As Long", "Public Sub s()", "Static n As Long",
          "Static data_done As Boolean", "If Not data_done Then", "data_done = True", "n = 0", "s_k(1) = 1",
          "s_k(2) = 1", "s_k(3) = 0", "s_k(4) = 0", "End If", "n = n + 1"}},
        // LibreOffice Basic forgets a Static array's bounds once its procedure
        // returns: a procedure's saved arrays live at module level.
        {__LINE__,
         "saved arrays: SAVE of names, SAVE of all, a name taken, passed on",
         "program p\ncall s\ncall s\nend\nsubroutine s\nreal t(2, 0:1), u(3)\nsave t\nt(1, 0) = u(1)\n"
         "call v(t(1, 1), u)\nend\nsubroutine v(a, b)\nreal a(*), b(*), w(2)\nsave\nw(2) = a(1)\nend\n"
         "subroutine s_t\nend\n",
         {"' Saved in s", "Public s_t_(1 To 4) As Single", "' Saved in v", "Public v_w(1 To 2) As Single",
          "Public Sub s()", "Dim u(1 To 3) As Single", "s_t_(1) = u(1)", "Call v(s_t_, 2, u, 0)", "End Sub",
          "Public Sub v(ByRef a() As Single, ByVal a_o As Long, ByRef b() As Single, ByVal b_o As Long)",
          "v_w(2) = a(a_o + 1)"}},
        {__LINE__,
         "a CHARACTER*(*) function: as long as its caller declares it",
         "program p\ncharacter*12 tag\nprint *, tag(2)\nend\ncharacter*(*) function tag(i)\ntag = 'id-' // 'x'\nend\n",
         {"FtWriteItem FtPad(tag(2), 12)", "Public Function tag(ByRef i As Long) As String", "tag = \"id-\" & \"x\""}},
        {__LINE__,
         "a main program's DATA array stays Static: it runs once",
         "program p\ninteger k(2)\ndata k /1, 2/\nprint *, k(2)\nend\n",
         {"Public Sub p()", "Static k(1 To 2) As Long", "k(1) = 1"}},
        {__LINE__,
         "DATA with an implied DO",
         "program p\ndimension a(2, 2)\ndata (a(i, 2), i = 1, 2) /2*0.5/\nend\n",
         {"a(3) = 0.5", "a(4) = 0.5"}},
        {__LINE__,
         "DATA: a run of one value on a whole array is a loop",
         "program p\ndimension a(6)\ndata a /6*0.5/\nend\n",
         {"For io_i = 1 To 6", "a(io_i) = 0.5", "Next io_i"}},
        {__LINE__,
         "COMMON as Public variables shared by position",
         "program p\ncommon /c/ x, n(3)\nx = 1.0\ncall s\nend\nsubroutine s\ncommon /c/ y, m(3)\ny = m(2)\nend\n",
         {"' COMMON /c/", "Public x As Single", "Public n(1 To 3) As Long", "Public Sub p()", "x = 1.0",
          "Public Sub s()", "x = n(2)"}},
        {__LINE__,
         "WRITE with a FORMAT, an implied DO, PRINT",
         "program p\ndimension v(3)\nwrite(6, 100) n, (v(i), i = 1, 3)\n100 format(1x, i3, 3f8.2)\nprint *, 'v', v\n"
         "end\n",
         {"Const Fmt_100 As String = \"(1X,I3,3F8.2)\"", "FtWriteBegin 6", "FtWriteItem n", "For i = 1 To 3",
          "FtWriteItem v(i)", "Next i", "FtWriteEnd Fmt_100", "FtWriteBegin -1", "FtWriteItem \"v\"",
          "For io_i = 1 To 3", "FtWriteItem v(io_i)", "Next io_i", "FtWriteEnd \"*\""}},
        {__LINE__,
         "a unit in a variable, a format in a string",
         "program p\nnout = 6\nwrite(nout, '(a)') 'hi'\nend\n",
         {"FtWriteBegin nout", "FtWriteItem \"hi\"", "FtWriteEnd \"(a)\""}},
        {__LINE__,
         "WRITE to a CHARACTER variable, READ with END=",
         "program p\ncharacter*10 s\nwrite(s, '(i5)') 42\n10 read(*, *, end=20) x\ngoto 10\n20 continue\nend\n",
         {"FtWriteBegin 0", "FtWriteItem CLng(42)", "s = FtPad(FtWriteText(\"(i5)\"), 10)",
          "L10:", "FtIoCatch True, False", "FtReadBegin -1", "x = FtReadDouble(x)", "FtReadEnd", "FtIoEnd",
          "If FtIoStat < 0 Then GoTo L20", "GoTo L10", "L20:"}},
        {__LINE__,
         "READ, OPEN, CLOSE",
         "program p\nopen(unit=7, file='in.txt', status='old')\nread(7, *) i, x\nclose(7)\nend\n",
         {"FtOpen 7, \"in.txt\", \"old\"", "FtReadBegin 7", "i = FtReadLong(i)", "x = FtReadDouble(x)", "FtReadEnd",
          "FtClose 7"}},
    });
}

TEST(FinishWriter, InputStatusAndPositions) {
    check({
        {__LINE__,
         "a formatted READ: its format, then a reader of each item's type",
         "program p\ncharacter*6 c\nlogical l\nread(5, 100) n, (v(i), i = 1, n), c, l\n100 format(i3/(4f8.3))\n"
         "dimension v(9)\nend\n",
         {"FtReadBegin 5", "FtReadFormat Fmt_100", "n = FtReadLong(n)", "For i = 1 To n", "v(i) = FtReadDouble(v(i))",
          "Next i", "c = FtReadText(c, 6)", "l = FtReadBool(l)", "FtReadEnd"}},
        {__LINE__,
         "READ from a CHARACTER variable, an element and a substring",
         "program p\ncharacter*10 s, t(3)\nread(s, *) i\nread(t(2), '(i5)') j\nread(s(2:4), '(a)') t(1)\nend\n",
         {"FtReadBeginText s", "i = FtReadLong(i)", "FtReadEnd", "FtReadBeginText t(2)", "FtReadFormat \"(i5)\"",
          "j = FtReadLong(j)", "FtReadBeginText Mid$(s, 2, 3)", "t(1) = FtReadText(t(1), 10)"}},
        {__LINE__,
         "a CHARACTER array as an internal file: its elements are the records",
         "program p\ncharacter*6 t(3)\nwrite(t, '(i3/i3)') 1, 2\nread(t, *) i\nend\nsubroutine s(u, n)\n"
         "character*4 u(n)\nread(u, '(a)') c\nend\n",
         {"FtWriteBegin 0", "FtWriteRecords t, 0, 3, 6, \"(i3/i3)\"", "FtReadBeginRecords t, 0, 3",
          "FtReadBeginRecords u, u_o, n"}},
        {__LINE__,
         "IOSTAT=, END= and ERR= after the statement; a failed READ leaves its implied DO",
         "program p\ndimension v(3)\nread(7, *, iostat=ios, end=20, err=30) (v(i), i = 1, 3)\n20 continue\n"
         "30 continue\nend\n",
         {"FtIoCatch True, True", "FtReadBegin 7", "For i = 1 To 3", "If FtIoStat <> 0 Then Exit For",
          "v(i) = FtReadDouble(v(i))", "Next i", "FtReadEnd", "FtIoEnd", "ios = FtIoStat",
          "If FtIoStat < 0 Then GoTo L20", "If FtIoStat > 0 Then GoTo L30", "L20:", "L30:"}},
        {__LINE__,
         "ERR= alone catches errors, not the end of the file; WRITE and OPEN with IOSTAT=",
         "program p\nread(7, '(i3)', err=9) k\nwrite(6, *, iostat=ios) k\nopen(8, file='f', status='old', "
         "iostat=ios)\n9 continue\nend\n",
         {"FtIoCatch False, True", "FtReadBegin 7", "FtIoEnd", "If FtIoStat > 0 Then GoTo L9", "FtIoCatch True, True",
          "FtWriteBegin 6", "FtWriteEnd \"*\"", "FtIoEnd", "ios = FtIoStat", "FtIoCatch True, True",
          "FtOpen 8, \"f\", \"old\"", "ios = FtIoStat"}},
        {__LINE__,
         "REWIND, BACKSPACE, ENDFILE, CLOSE with STATUS=",
         "program p\nrewind 7\nbackspace (unit=7)\nendfile(7)\nclose(7, status='delete')\nend\n",
         {"FtRewind 7", "FtBackspace 7", "FtEndfile 7", "FtCloseStatus 7, \"delete\""}},
        {__LINE__,
         "INQUIRE by file and by unit; OPEN with BLANK=",
         "program p\nlogical e, o\ncharacter*12 s\ninquire(file='a.dat', exist=e, opened=o, number=n, name=s)\n"
         "inquire(unit=9, opened=o, number=n, exist=e, iostat=ios)\ninquire(9, named=o, name=s)\n"
         "open(9, file='b', blank='zero')\nend\n",
         {"e = FtFileExists(\"a.dat\")", "o = (FtFileUnit(\"a.dat\") <> -1)", "n = FtFileUnit(\"a.dat\")",
          "s = FtPad(Trim$(\"a.dat\"), 12)", "o = FtUnitOpened(9)", "If FtUnitOpened(9) Then n = 9 Else n = -1",
          "e = (9 >= 0)", "ios = 0", "o = (FtUnitName(9) <> \"\")",
          "If FtUnitName(9) <> \"\" Then s = FtPad(FtUnitName(9), 12)", "FtOpen 9, \"b\", \"unknown\"",
          "FtOpenBlank 9, \"zero\""}},
        {__LINE__,
         "PAUSE",
         "program p\npause\npause 'wait'\npause 7\nend\n",
         {"FtPause \"\"", "FtPause \"wait\"", "FtPause \"7\""}},
    });
}

TEST(FinishWriter, ScalarsPassedWhereArraysAreTaken) {
    check({
        {__LINE__,
         "a variable goes in a one-element array and comes back; a constant only goes in",
         "program p\ndouble precision x\ncall s(x, 2)\ncall s(1d0, 3)\nif (x .gt. 0) call s(x, 1)\nend\n"
         "subroutine s(a, n)\ndouble precision a(*)\nend\n",
         {"Dim x_a(1 To 1) As Double", "Dim arg_a1(1 To 1) As Double", "x_a(1) = x", "Call s(x_a, 0, 2)", "x = x_a(1)",
          "arg_a1(1) = 1.0", "Call s(arg_a1, 0, 3)", "x_a(1) = x", "If x > 0 Then Call s(x_a, 0, 1)", "x = x_a(1)"}},
        {__LINE__,
         "in a function reference of an assignment",
         "program p\ny = f(k)\nend\nreal function f(m)\ninteger m(1)\nf = m(1)\nend\n",
         {"Dim k_a(1 To 1) As Long", "k_a(1) = k", "y = f(k_a, 0)", "k = k_a(1)"}},
    });
}

TEST(FinishWriter, InputOutputStillLeft) {
    struct Left {
        int line;
        const char* in;
        const char* why;
    };
    const std::vector<Left> cases = {
        {__LINE__, "program p\nif (x) 10, 20\n10 continue\n20 continue\nend\n", "an arithmetic IF with two labels"},
        {__LINE__, "program p\nend\nsubroutine s(t)\ncharacter*(*) t(2)\nwrite(t, *) 1\nend\n",
         "WRITE to a CHARACTER*(*) array"},
        {__LINE__, "program p\ncharacter*9 s\ninquire(unit=7, form=s)\nend\n", "INQUIRE with form="},
        {__LINE__, "program p\nread(7, *, advance='no') i\nend\n", "READ with advance="},
        {__LINE__, "program p\n10 if (f(x) .gt. 0) goto 10\nend\nreal function f(a)\nreal a(*)\nf = a(1)\nend\n",
         "a variable passed where the callee takes an array, in a statement that may jump"},
        {__LINE__, "program p\nend\ncharacter*(*) function f()\nf(2:3) = 'ab'\nend\n",
         "a substring of a CHARACTER*(*) function's result"},
        {__LINE__, "program p\nend\ncharacter*(*) function f()\nf = 'ab'\nn = len(f)\nend\n",
         "LEN of a CHARACTER*(*) function's result inside it"},
        {__LINE__, "program p\nwrite(6, 10) 1\n10 format i5\nend\n", "FORMAT 10 was not read"},
        {__LINE__, "program p\nprint 20, 1\nend\n", "FORMAT 20 was not read"},
    };
    for (const Left& c : cases) {
        SCOPED_TRACE(caseLine(c));
        const Finished f = finishSource(c.in);
        ASSERT_TRUE(f.result.moduleWritten) << c.in;
        EXPECT_EQ(missing(f.modules[0], {std::string("' FTVB-TODO: ") + c.why}), "") << joined(f.modules[0]);
    }
}

TEST(FinishWriter, ProceduresPassedAsArguments) {
    check({
        {__LINE__,
         "a function argument: its name, and a dispatch over what fits",
         "program p\nexternal sq\ndouble precision sq, g\nx = g(sq, 2d0)\nend\n"
         "double precision function g(f, y)\ndouble precision f, y\nexternal f\ng = f(y) + 1d0\nend\n"
         "double precision function sq(y)\ndouble precision y\nsq = y * y\nend\n"
         "integer function other(y)\ndouble precision y\nother = 1\nend\n",
         {"x = g(\"sq\", 2.0)", "Public Function g(ByVal f As String, ByRef y As Double) As Double",
          "Dim f_v1 As Double", "Select Case f", "Case \"sq\"", "f_v1 = sq(y)", "End Select", "g = f_v1 + 1.0"}},
        {__LINE__,
         "a subroutine argument, passed on",
         "subroutine a(p, k)\ncall p(k)\ncall b(p)\nend\nsubroutine b(q)\nexternal q\nend\n"
         "subroutine show(i)\nend\n",
         {"Public Sub a(ByVal p As String, ByRef k As Long)", "Select Case p", "Case \"show\"", "Call show(k)",
          "End Select", "Call b(p)"}},
    });
}

TEST(FinishWriter, WhatIsLeftIsMarkedAndListed) {
    const Finished f =
        finishSource("program p\nreal a, b\nequivalence (a, b)\nx = (1 +\ncall nowhere(x)\ncomplex z\nz = 1\nend\n");
    ASSERT_TRUE(f.result.moduleWritten);
    const std::vector<std::string>& m = f.modules[0];
    EXPECT_EQ(missing(m, {"' FTVB-TODO: expected an operand at the end", "'x = (1 +",
                          "' FTVB-TODO: the subroutine 'nowhere' is not among the listed files", "'call nowhere(x)"}),
              "")
        << joined(m);
    // Every note points at its marked line.
    ASSERT_FALSE(f.notes.empty());
    for (const std::string& n : f.notes) {
        std::istringstream in(n);
        std::string tag;
        long long src = 0, line = 0;
        in >> tag >> src >> line;
        ASSERT_GT(line, 0) << n;
        ASSERT_LE(static_cast<std::size_t>(line), m.size()) << n;
        EXPECT_EQ(trim(m[static_cast<std::size_t>(line - 1)]).rfind("' FTVB-TODO: ", 0), 0u) << n << "\n" << joined(m);
    }
    std::string all;
    for (const std::string& n : f.notes) all += n + "\n";
    EXPECT_NE(all.find("not-read 4 "), std::string::npos) << all;
    EXPECT_NE(all.find("not-translated 5 "), std::string::npos) << all;
    EXPECT_NE(all.find("EQUIVALENCE"), std::string::npos) << all;
    EXPECT_NE(all.find("COMPLEX"), std::string::npos) << all;
}

TEST(FinishWriter, WhatIsRefusedFirstIsWhatIsNoted) {
    // A refusal plain from a statement's first operand is made before the
    // statement is written; the note must be the one writing it would give,
    // and one further in must still be found by writing.
    check({
        {__LINE__,
         "COMPLEX at the far left, and further in",
         "program p\ncomplex z, c(2)\nz = z + 1\nx = c(1) * 2\nx = 1 + z\nx = -(z)\nend\n",
         {"' FTVB-TODO: COMPLEX", "'z = z + 1", "' FTVB-TODO: COMPLEX", "'x = c(1) * 2", "' FTVB-TODO: COMPLEX",
          "'x = 1 + z", "' FTVB-TODO: COMPLEX", "'x = -(z)"}},
        {__LINE__,
         "a function not listed, before and after what else is refused",
         "program p\ncomplex z\nx = nowhere(z) + z\nx = z + nowhere(1)\nx = 2 * nowhere(1)\nend\n",
         {"' FTVB-TODO: the function 'nowhere' is not among the listed files", "'x = nowhere(z) + z",
          "' FTVB-TODO: COMPLEX", "'x = z + nowhere(1)",
          "' FTVB-TODO: the function 'nowhere' is not among the listed files", "'x = 2 * nowhere(1)"}},
        {__LINE__,
         "an IF, its block kept whole",
         "program p\ncomplex z\nif (z .eq. 1) x = 1\nif (z .ne. 2) then\nx = 2\nend if\nend\n",
         {"' FTVB-TODO: COMPLEX", "'if (z .eq. 1) x = 1", "' FTVB-TODO: COMPLEX", "'if (z .ne. 2) then",
          "If False Then", "x = 2", "End If"}},
        {__LINE__,
         "through an intrinsic's and a listed function's first argument",
         "program p\ncomplex z, c(2)\nreal f\nx = abs(c(2))\nx = f(z) + 1\nx = f(abs(z))\nx = f(2.0)\nend\n"
         "real function f(t)\nreal t\nf = t\nend\n",
         {"' FTVB-TODO: COMPLEX", "'x = abs(c(2))", "' FTVB-TODO: COMPLEX", "'x = f(z) + 1", "' FTVB-TODO: COMPLEX",
          "'x = f(abs(z))", "x = f(2.0)"}},
        {__LINE__,
         "a COMPLEX variable given a plain value, or a value that is refused first",
         "program p\ncomplex z, c(2)\nreal y\nz = 1\nc(1) = y\nz = nowhere(1)\nend\n",
         {"' FTVB-TODO: COMPLEX", "'z = 1", "' FTVB-TODO: COMPLEX", "'c(1) = y",
          "' FTVB-TODO: the function 'nowhere' is not among the listed files", "'z = nowhere(1)"}},
        {__LINE__,
         "a CALL: the arguments before the refused one are plain",
         "subroutine t(n, x)\ninteger n\nreal x(n)\ncomplex z\ncall s(n, z, x)\ncall s(1, x(1), x)\n"
         "call s(-(n - 1) * 2, -z, x)\ncall s(2.5, z, x)\nend\nsubroutine s(k, w, v)\ninteger k\nreal w, v(*)\nend\n",
         {"' FTVB-TODO: COMPLEX", "'call s(n, z, x)", "Call s(1, x(x_o + 1), x, x_o)", "' FTVB-TODO: COMPLEX",
          "'call s(-(n - 1) * 2, -z, x)", "' FTVB-TODO: COMPLEX", "'call s(2.5, z, x)",
          "Public Function FtInt(ByVal x As Double) As Long"}},
        {__LINE__,
         "what is refused whatever it holds",
         "subroutine t(x, *)\nreal x\nequivalence (x, y)\ncall nowhere(x)\ncall f(x)\nreturn 1\n"
         "entry e2(x)\nend\nreal function f(y)\nf = y\nend\n",
         {"' FTVB-TODO: EQUIVALENCE", "' FTVB-TODO: the subroutine 'nowhere' is not among the listed files",
          "' FTVB-TODO: 'f' is not a subroutine", "' FTVB-TODO: an alternate return", "' FTVB-TODO: ENTRY"}},
        {__LINE__,
         "past a quiet operand, element or argument before it",
         "program p\ncomplex z, c(2)\nreal a(3, 4)\ninteger i\nx = a(i, 2) * z\nc(1) = a(2, i)\n"
         "x = max(x, 1.0, z)\nx = a(i, 1) + nowhere(1)\nx = a(nowhere(1), 1) * z\nend\n",
         {"' FTVB-TODO: COMPLEX", "'x = a(i, 2) * z", "' FTVB-TODO: COMPLEX", "'c(1) = a(2, i)", "' FTVB-TODO: COMPLEX",
          "'x = max(x, 1.0, z)", "' FTVB-TODO: the function 'nowhere' is not among the listed files",
          "'x = a(i, 1) + nowhere(1)", "' FTVB-TODO: the function 'nowhere' is not among the listed files",
          "'x = a(nowhere(1), 1) * z"}},
        {__LINE__,
         "a statement function: what its body writes first is the actual argument",
         "program p\ncomplex zd, c(2)\nreal cabs1\ncabs1(zd) = abs(real(zd)) + abs(aimag(zd))\n"
         "x = cabs1(c(1))\nx = cabs1(nowhere(1))\nend\n",
         {"' FTVB-TODO: COMPLEX", "'x = cabs1(c(1))",
          "' FTVB-TODO: the function 'nowhere' is not among the listed files", "'x = cabs1(nowhere(1))"}},
        {__LINE__,
         "a logical IF's statement after a quiet condition",
         "subroutine t(n, k, x)\ninteger n, k(2)\nreal x(n)\nlogical ok\ncomplex z\nif (ok) z = 1\n"
         "if (n .gt. 1) call s(x(2), z)\nif (k(1) .gt. 0 .and. z .eq. 1) return\n"
         "if (n .gt. 1 .or. ok) x(1) = nowhere(1)\nif (n) z = 1\nend\nsubroutine s(v, w)\nreal v(*), w\nend\n",
         {"' FTVB-TODO: COMPLEX", "'if (ok) z = 1", "' FTVB-TODO: COMPLEX", "'if (n .gt. 1) call s(x(2), z)",
          "' FTVB-TODO: COMPLEX", "'if (k(1) .gt. 0 .and. z .eq. 1) return",
          "' FTVB-TODO: the function 'nowhere' is not among the listed files",
          "'if (n .gt. 1 .or. ok) x(1) = nowhere(1)", "' FTVB-TODO: IF on a value that is not LOGICAL",
          "'if (n) z = 1"}},
        {__LINE__,
         "what is not refused at the far left is written",
         "program p\nreal a(2)\nx = a(1) + abs(-2.0)\ny = f(x)\nend\nreal function f(t)\nf = t\nend\n",
         {"x = CSng(a(1) + CSng(Abs(-2.0)))", "y = f(x)"}},
    });
}

TEST(FinishWriter, ARefusedStatementFunctionLeavesNothingBehind) {
    // G's body refuses after its argument was put in for X: the statements
    // after it are written as if G had not been called.
    check({{__LINE__,
            "a procedure argument and folded subscripts after it",
            "subroutine t(w, n, f)\ninteger n\nreal w(n, n), y, x, f\nexternal f\nreal g\n"
            "g(x) = x + nowhere(1)\ny = g(2.0)\nw(1, 2) = f(y)\nx = 1\nend\n"
            "real function sq(z)\nreal z\nsq = z * z\nend\n",
            {"' FTVB-TODO: the function 'nowhere' is not among the listed files", "'y = g(2.0)", "Select Case f",
             "Case \"sq\"", "f_v1 = sq(y)", "w(w_o + n + 1) = f_v1", "x = 1"}}});
}

TEST(FinishWriter, BrokenBlocksStillClose) {
    // The opener does not translate; its block must still be balanced.
    const Finished f =
        finishSource("program p\nif (nowhere(1)) then\nx = 1\nend if\ndo 10 i = 1, f(2)\n10 continue\nend\n");
    ASSERT_TRUE(f.result.moduleWritten);
    EXPECT_EQ(missing(f.modules[0], {"If False Then", "x = 1", "End If", "Do While False", "Loop", "End Sub"}), "")
        << joined(f.modules[0]);
}

TEST(FinishRun, LongOutputIsSplitIntoModulesThatStandAlone) {
    std::string source = "program p\ncommon /c/ g\ng = 1\ncall s1\nend\n";
    for (int i = 1; i <= 30; ++i) {
        source += "subroutine s" + std::to_string(i) + "\ncommon /c/ g\n";
        for (int k = 0; k < 10; ++k) source += "g = mod(g, 7.0) + " + std::to_string(k) + ".0\n";
        source += "end\n";
    }
    FinishOptions small;
    small.maxLines = 120;
    const Finished f = finishSource(source, small);
    ASSERT_TRUE(f.result.moduleWritten);
    ASSERT_GT(f.modules.size(), 2u);
    EXPECT_EQ(fs::path(f.result.modules[0]).filename(), "prog.bas");
    EXPECT_EQ(fs::path(f.result.modules[1]).filename(), "prog_2.bas");
    int publicG = 0;
    int helpers = 0;
    for (std::size_t i = 0; i < f.modules.size(); ++i) {
        const std::vector<std::string>& m = f.modules[i];
        EXPECT_LE(m.size(), small.maxLines) << i;
        ASSERT_GE(m.size(), 2u);
        EXPECT_EQ(m[0], "Attribute VB_Name = \"" + moduleVbName(f.result.modules[i]) + "\"");
        EXPECT_EQ(m[1], "Option Explicit");
        bool inProcedure = false;
        for (const std::string& l : m) {
            if (l == "Public g As Single") ++publicG;
            if (l.rfind("Public Function FtModD", 0) == 0) ++helpers;
            // Declarations only before the first procedure.
            if (l.rfind("Public Sub", 0) == 0 || l.rfind("Public Function", 0) == 0 || l.rfind("Private Sub", 0) == 0 ||
                l.rfind("Private Function", 0) == 0) {
                inProcedure = true;
            }
            if (inProcedure) {
                EXPECT_NE(l.rfind("Public g", 0), 0u) << "module " << i;
            }
        }
    }
    EXPECT_EQ(publicG, 1);
    EXPECT_EQ(helpers, 1);
}

TEST(FinishRun, NotesOfASplitModuleNameTheirModule) {
    struct Where : RunObserver {
        std::vector<std::pair<std::string, long long>> notes;
        bool wantsReview() override { return true; }
        void reviewNoted(const ReviewNote& n) override { notes.push_back({std::string(n.module), n.moduleLine}); }
    };
    const testing::TempFolder dir("ftvb-finish-split");
    {
        std::ofstream out(dir / "p.f");
        for (int i = 1; i <= 20; ++i) {
            out << "      subroutine s" << i << "\n";
            for (int k = 0; k < 8; ++k) out << "      x = " << k << ".0\n";
            out << "      call elsewhere\n      end\n";
        }
    }
    Where where;
    FinishOptions small;
    small.maxLines = 120;
    const std::string module = (dir / "p.bas").string();
    const FinishResult r = runFinish(module, NameList({(dir / "p.f").string()}), where, small);
    ASSERT_TRUE(r.moduleWritten);
    ASSERT_GT(r.modules.size(), 1u);
    ASSERT_EQ(where.notes.size(), 20u);
    for (const auto& [name, line] : where.notes) {
        const std::string file = name.empty() ? module : name;
        const std::vector<std::string> lines = readLines(file);
        ASSERT_LE(static_cast<std::size_t>(line), lines.size()) << file;
        EXPECT_EQ(trim(lines[static_cast<std::size_t>(line - 1)]),
                  "' FTVB-TODO: the subroutine 'elsewhere' is not among the listed files")
            << file << ":" << line;
    }
    EXPECT_TRUE(where.notes.front().first.empty());
    EXPECT_EQ(where.notes.back().first, r.modules.back());
}

TEST(FinishRun, LinesStayWithinWhatVbaReads) {
    std::string source = "program p\ndouble precision a(100)\nx = 0\n";
    std::string sum = "x = a(1)";
    for (int i = 2; i <= 100; ++i) sum += " + a(" + std::to_string(i) + ") * a(" + std::to_string(i) + ")";
    // Free form would not hold this: break it over continuation lines.
    for (std::size_t at = 0; at < sum.size(); at += 60) {
        source += (at == 0 ? "      " : "     &") + sum.substr(at, 60) + "\n";
    }
    source += "end\n";
    const Finished f = finishSource(source);
    ASSERT_TRUE(f.result.moduleWritten);
    int continued = 0;
    for (const std::string& l : f.modules[0]) {
        EXPECT_LE(l.size(), 1023u);
        if (l.size() > 2 && l.compare(l.size() - 2, 2, " _") == 0) ++continued;
    }
    EXPECT_GT(continued, 0);
    EXPECT_LE(continued, 24);
}

TEST(FinishRun, FilesThatCannotBeRead) {
    const testing::TempFolder dir("ftvb-finish-run");
    RunObserver quiet;
    {
        // Not one listed file read: the module is left as it was.
        std::ofstream(dir / "old.bas") << "kept\n";
        const FinishResult r = runFinish((dir / "old.bas").string(), NameList({(dir / "none.f").string()}), quiet);
        EXPECT_FALSE(r.moduleWritten);
        EXPECT_EQ(r.moduleFailure.reason, Reason::nothingRead);
        EXPECT_EQ(readLines(dir / "old.bas"), std::vector<std::string>{"kept"});
    }
    {
        // The module among the sources: refused before anything is written.
        const FinishResult r = runFinish((dir / "old.bas").string(), NameList({(dir / "old.bas").string()}), quiet);
        EXPECT_FALSE(r.moduleWritten);
        EXPECT_EQ(r.moduleFailure.reason, Reason::sourceIsModule);
    }
    {
        // One file missing, one read: the module is written, the missing one named.
        std::ofstream(dir / "a.f") << "      x = 1\n      end\n";
        const FinishResult r =
            runFinish((dir / "m.bas").string(), NameList({(dir / "none.f").string(), (dir / "a.f").string()}), quiet);
        EXPECT_TRUE(r.moduleWritten);
        ASSERT_EQ(r.skipped.size(), 1u);
        EXPECT_EQ(r.skipped[0].name, (dir / "none.f").string());
        EXPECT_EQ(r.lines, 2);
    }
}

TEST(FinishRun, TheLineCountShownIsTheRunsOwn) {
    // The window shows each count it is told; the second pass reads the
    // files again and must not start the count over for each of them.
    struct Counts : RunObserver {
        std::vector<long long> seen;
        void lineCounted(long long lines) override { seen.push_back(lines); }
    };
    const testing::TempFolder dir("ftvb-finish-count");
    std::ofstream(dir / "a.f") << "      x = 1\n      y = 2\n      end\n";
    std::ofstream(dir / "b.f") << "      subroutine s\n      end\n";
    Counts counts;
    const FinishResult r =
        runFinish((dir / "m.bas").string(), NameList({(dir / "a.f").string(), (dir / "b.f").string()}), counts);
    ASSERT_TRUE(r.moduleWritten);
    EXPECT_EQ(counts.seen, (std::vector<long long>{1, 2, 3, 4, 5}));
    EXPECT_EQ(r.lines, 5);
}

TEST(FinishRun, TheModulesAreTheSameOnAnyNumberOfThreads) {
    // Files are read, parsed and written by worker threads and taken in
    // order: what comes out must not depend on how many there are, nor on
    // which finishes first. Files of very different sizes, a unit defined
    // twice (its helpers must not reach the module), calls across files,
    // COMMON, a file that cannot be read, a module split, review notes.
    const testing::TempFolder dir("ftvb-finish-threads");
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        const std::string name = (dir / ("f" + std::to_string(i) + ".f")).string();
        names.push_back(name);
        if (i == 7) continue;  // listed, never written: cannot be read
        std::ofstream out(name);
        out << "      subroutine s" << i << "(x, n)\n      integer n\n      double precision x(n)\n"
            << "      common /c/ t\n      double precision t\n";
        for (int k = 0; k < (i % 5) * 40 + 1; ++k) out << "      x(" << (k % 3) + 1 << ") = mod(n, " << k + 2 << ")\n";
        if (i > 0) out << "      call s" << i - 1 << "(x(2), n - 1)\n";
        out << "      call nowhere\n      end\n";
        if (i == 11 || i == 12) {
            // Defined again in the next file: the first is kept, and the
            // second's helper (SIGN) is not written.
            out << "      double precision function twice(a)\n      double precision a\n"
                << (i == 11 ? "      twice = a\n" : "      twice = sign(a, -1d0)\n") << "      end\n";
        }
    }
    std::vector<std::vector<std::vector<std::string>>> runs;
    std::vector<std::vector<std::string>> notesOfRuns;
    for (std::size_t threads : {1u, 2u, 3u, 8u}) {
        SCOPED_TRACE(threads);
        Notes notes;
        FinishOptions options;
        options.threads = threads;
        options.maxLines = 400;
        const fs::path sub = dir / ("t" + std::to_string(threads));
        fs::create_directory(sub);
        const FinishResult r = runFinish((sub / "m.bas").string(), NameList(names), notes, options);
        ASSERT_TRUE(r.moduleWritten);
        ASSERT_EQ(r.skipped.size(), 1u);
        EXPECT_EQ(r.skipped[0].name, names[7]);
        std::vector<std::vector<std::string>> modules;
        for (const std::string& m : r.modules) modules.push_back(readLines(m));
        ASSERT_GT(modules.size(), 2u);
        runs.push_back(modules);
        notesOfRuns.push_back(notes.notes);
    }
    for (std::size_t k = 1; k < runs.size(); ++k) {
        EXPECT_EQ(runs[k], runs[0]) << "run " << k;
        EXPECT_EQ(notesOfRuns[k], notesOfRuns[0]) << "run " << k;
    }
    std::string all;
    for (const auto& m : runs[0]) all += joined(m);
    EXPECT_NE(all.find("twice is defined again"), std::string::npos);
    EXPECT_EQ(all.find("Function FtSignD"), std::string::npos);
    EXPECT_NE(all.find("Function FtModL"), std::string::npos);
}

TEST(FinishRun, AStopWhileThreadsWorkLeavesTheModule) {
    // Asked to stop at any moment, the run ends, its workers with it, and
    // the module is left as it was.
    const testing::TempFolder dir("ftvb-finish-stop");
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) {
        names.push_back((dir / ("f" + std::to_string(i) + ".f")).string());
        std::ofstream out(names.back());
        for (int k = 0; k < 200; ++k) out << "      x = " << k << "\n";
        out << "      end\n";
    }
    std::ofstream(dir / "m.bas") << "kept\n";
    struct StopAt : RunObserver {
        long long at = 0;
        long long seen = 0;
        void lineCounted(long long lines) override { seen = lines; }
        bool stopRequested() override { return seen >= at; }
    };
    for (long long at : {1LL, 1000LL, 6030LL}) {
        SCOPED_TRACE(at);
        StopAt stop;
        stop.at = at;
        FinishOptions options;
        options.threads = 2;
        const FinishResult r = runFinish((dir / "m.bas").string(), NameList(names), stop, options);
        EXPECT_TRUE(r.stopped);
        EXPECT_FALSE(r.moduleWritten);
        EXPECT_EQ(readLines(dir / "m.bas"), std::vector<std::string>{"kept"});
    }
}

TEST(FinishRun, ModuleNames) {
    EXPECT_EQ(moduleFileName("solver.bas", 1), "solver.bas");
    EXPECT_EQ(moduleFileName("solver.bas", 2), "solver_2.bas");
    EXPECT_EQ(moduleFileName("out/solver.BAS", 3), "out/solver_3.BAS");
    EXPECT_EQ(moduleFileName("a.b/solver", 2), "a.b/solver_2.bas");
    EXPECT_EQ(moduleVbName("out/solver_2.bas"), "solver_2");
    EXPECT_EQ(moduleVbName("my module.bas"), "my_module");
    EXPECT_EQ(moduleVbName("2d.bas"), "M2d");
    EXPECT_EQ(moduleVbName("-"), "Module1");
}

// Garbage in: a module out, never a crash.
TEST(FinishRun, AnySourceGivesAModule) {
    std::uint32_t seed = 99;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const std::vector<std::string> pieces = {"x = 1\n",
                                             "do 10 i = 1, n\n",
                                             "10 continue\n",
                                             "if (x) then\n",
                                             "end if\n",
                                             "else\n",
                                             "end do\n",
                                             "call s(x(1), 2)\n",
                                             "subroutine s(a, n)\n",
                                             "dimension a(n, *)\n",
                                             "end\n",
                                             "goto 10\n",
                                             "common /c/ a\n",
                                             "data a /3*1/\n",
                                             "write(*, 10) a\n",
                                             "10 format(i5)\n",
                                             "function f(x)\n",
                                             "f = f + 1\n",
                                             "do while (.true.)\n",
                                             "character*(*) c\n",
                                             "c(1:2) = 'ab'\n",
                                             "parameter (n = 2)\n",
                                             "x = (\n",
                                             "return\n",
                                             "entry e\n"};
    for (int round = 0; round < 60; ++round) {
        std::string source;
        const int count = static_cast<int>(next() % 25);
        for (int i = 0; i < count; ++i) source += pieces[next() % pieces.size()];
        const Finished f = finishSource(source);
        EXPECT_TRUE(f.result.moduleWritten) << source;
    }
}

}  // namespace
}  // namespace ftvb::finish
