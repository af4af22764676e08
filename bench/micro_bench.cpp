// Micro-benchmarks of the text primitives and of the statement routine on
// the statements that make up most of real code, so that a change in the
// cost of one rule shows up here before it is lost in a whole-corpus time.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/converter.h"
#include "engine/routine.h"
#include "text/primitives.h"

namespace {

class DiscardLines : public ftvb::LineSink {
public:
    void writeLine(std::string_view line) override { benchmark::DoNotOptimize(line.data()); }
};

// A statement as the line intake hands it to the routine: 72 lower-case
// columns, the label field still in front.
std::string card(std::string_view line) {
    std::string s(line);
    s.resize(72, ' ');
    return s;
}

// A statement of `bytes` bytes or a little more, made of copies of `piece`.
std::string longText(std::string_view piece, std::size_t bytes) {
    std::string s;
    while (s.size() < bytes) s += piece;
    return s;
}

// ---- transf ---------------------------------------------------------------------

void BM_transf(benchmark::State& state, std::string text, std::string find, std::string repl) {
    for (auto _ : state) {
        std::string ww = text;
        ftvb::transf(ww, find, repl);
        benchmark::DoNotOptimize(ww.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK_CAPTURE(BM_transf, operator_hit, "if (a .gt. b .and. c .le. d) x = y ** 2", ".gt.", " > ");
BENCHMARK_CAPTURE(BM_transf, no_occurrence, "call dgemm('n', 'n', m, n, k, one, a, lda, b, ldb)", ".gt.", " > ");
BENCHMARK_CAPTURE(BM_transf, blank_runs, "x  =  a   +   b    *    c      -     d", "  ", " ");
BENCHMARK_CAPTURE(BM_transf, long_statement_64k, longText(" a(i,j) .gt. b ", 65536), ".gt.", " > ");

// ---- instr1 ---------------------------------------------------------------------

void BM_instr1(benchmark::State& state, std::string text) {
    for (auto _ : state) benchmark::DoNotOptimize(ftvb::instr1(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK_CAPTURE(BM_instr1, argument_list, "a(i,j), b(k,l), c");
BENCHMARK_CAPTURE(BM_instr1, no_top_comma, "work(iwork(i,j)+ldwork*(k-1))");
BENCHMARK_CAPTURE(BM_instr1, long_statement_64k, longText("f(a(i,j),b) ", 65536) + ", z");

// ---- trs_2_pts ----------------------------------------------------------------

void BM_trs_2_pts(benchmark::State& state, std::string text) {
    for (auto _ : state) {
        std::string ww = text;
        ftvb::trs_2_pts(ww);
        benchmark::DoNotOptimize(ww.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK_CAPTURE(BM_trs_2_pts, no_colon, "x = a(i) + b(j)");
BENCHMARK_CAPTURE(BM_trs_2_pts, two_substrings, "s = name(i:j) // t(1:n)");
BENCHMARK_CAPTURE(BM_trs_2_pts, substrings_1000, longText(" a(i:j)", 7000));

// ---- chg_data -----------------------------------------------------------------

void BM_chg_data(benchmark::State& state, std::string text) {
    for (auto _ : state) {
        std::string ww = text;
        benchmark::DoNotOptimize(ftvb::chg_data(ww));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK_CAPTURE(BM_chg_data, scalars, "data a,b,c/1,2,3/");
BENCHMARK_CAPTURE(BM_chg_data, array, "data x/1.5,2.5,3.5,4.5/");
BENCHMARK_CAPTURE(BM_chg_data, values_200, "data v/" + longText("1.0,", 796) + "2.0/");

// ---- the statement routine ------------------------------------------------------

// One statement through all the stages with a fresh run state, as the first
// statement of a file would go.
void BM_statement(benchmark::State& state, std::string line) {
    const std::string text = card(line);
    DiscardLines sink;
    ftvb::LineEmitter out(sink);
    ftvb::RunObserver quiet;
    std::vector<std::string> closedLoops;
    for (auto _ : state) {
        ftvb::RunTables run;
        ftvb::FileState file;
        ftvb::ProcedureState procedure;
        ftvb::Statement statement(text);
        ftvb::StageContext c{statement, procedure, file, run, out, quiet, closedLoops};
        ftvb::runStatementRoutine(c);
        benchmark::DoNotOptimize(statement.text().data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_statement, declaration, "      double precision a(lda,*), work(*), alpha");
BENCHMARK_CAPTURE(BM_statement, if_operators, "      if (a .gt. b .and. c .le. d) x = y ** 2");
BENCHMARK_CAPTURE(BM_statement, do_loop, "      do 10 i = 1, n");
BENCHMARK_CAPTURE(BM_statement, assignment, "      temp = alpha*b(l,j) + x(i)*y(j)");
BENCHMARK_CAPTURE(BM_statement, comment, "'     compute the norm of the residual");
// Most lines of LAPACK begin with "*", which the rules do not take for a
// comment: each runs through every stage.
BENCHMARK_CAPTURE(BM_statement, star_line, "*>          the number of rows of the matrix a.  m >= 0.");
BENCHMARK_CAPTURE(BM_statement, blank_line, "");

// A whole small file through the Converter: every line goes through the
// intake, so this is the per-line cost of real code.
const char* const kSubroutine[] = {
    "*> \\brief computes a scaled sum",
    "      SUBROUTINE DSCAL2(N, DA, DX, INCX, DY)",
    "*     .. Scalar Arguments ..",
    "      DOUBLE PRECISION DA",
    "      INTEGER INCX, N",
    "      DOUBLE PRECISION DX(*), DY(*)",
    "      INTEGER I, M, MP1, NINCX",
    "      INTRINSIC MOD",
    "      IF (N.LE.0 .OR. INCX.LE.0) RETURN",
    "      IF (INCX.EQ.1) THEN",
    "         M = MOD(N,5)",
    "         IF (M.NE.0) THEN",
    "            DO 10 I = 1, M",
    "               DX(I) = DA*DX(I) + DY(I)",
    "   10       CONTINUE",
    "            IF (N.LT.5) RETURN",
    "         END IF",
    "         MP1 = M + 1",
    "         DO 20 I = MP1, N, 5",
    "            DX(I) = DA*DX(I) + DY(I)",
    "            DX(I+1) = DA*DX(I+1) +",
    "     $                DY(I+1)",
    "   20    CONTINUE",
    "      ELSE",
    "C        code for increment not equal to 1",
    "         NINCX = N*INCX",
    "         DO I = 1, NINCX, INCX",
    "            DX(I) = DA*DX(I)",
    "         END DO",
    "      END IF",
    "      WRITE(6,*) 'DONE', N",
    "      RETURN",
    "      END",
};

void BM_converter_file(benchmark::State& state) {
    DiscardLines sink;
    ftvb::RunObserver quiet;
    const std::vector<std::string_view> lines(std::begin(kSubroutine), std::end(kSubroutine));
    std::size_t bytes = 0;
    for (std::string_view l : lines) bytes += l.size() + 1;
    for (auto _ : state) {
        ftvb::Converter converter(sink, quiet);
        converter.beginFile();
        for (std::string_view l : lines) converter.feedLine(l);
        converter.endFile();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetLabel("items = source lines");
}
BENCHMARK(BM_converter_file);

}  // namespace

BENCHMARK_MAIN();
