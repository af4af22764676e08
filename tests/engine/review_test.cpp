// The porting checklist: each kind fires on a statement of its kind and
// stays quiet on a near miss, entries point at the statement and at its
// translation, and asking for the list changes no byte of the module.
#include "engine/review.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/converter.h"
#include "tests/support/capture.h"
#include "tests/support/case_line.h"

namespace ftvb {
namespace {

using ftvb::testing::caseLine;

struct Entry {
    ReviewKind kind;
    std::string detail;
    long long sourceLine;
    long long moduleLine;
};

struct ReviewCapture : RunObserver {
    bool reviewing = true;
    std::vector<Entry> entries;
    bool wantsReview() override { return reviewing; }
    void reviewNoted(const ReviewNote& note) override {
        entries.push_back({note.kind, std::string(note.detail), note.sourceLine, note.moduleLine});
    }
};

struct Converted {
    std::vector<std::string> module;
    std::vector<Entry> entries;
};

Converted convertReviewing(const std::string& source, bool reviewing = true) {
    testing::LineCapture sink;
    ReviewCapture observer;
    observer.reviewing = reviewing;
    Converter converter(sink, observer);
    converter.beginFile("f.for");
    for (const std::string& line : testing::splitLines(source)) converter.feedLine(line);
    converter.endFile();
    return {sink.lines, observer.entries};
}

std::string describe(const std::vector<Entry>& entries) {
    std::string all;
    for (const Entry& e : entries) {
        all += std::string(reviewTag(e.kind)) + "(" + e.detail + ") at " + std::to_string(e.sourceLine) + "\n";
    }
    return all.empty() ? "no entry" : all;
}

bool has(const std::vector<Entry>& entries, ReviewKind kind, const std::string& detail = "*any*") {
    for (const Entry& e : entries) {
        if (e.kind == kind && (detail == "*any*" || e.detail == detail)) return true;
    }
    return false;
}

struct Case {
    int line;  // where the case is written, for the failure to name
    const char* name;
    const char* source;  // fixed-form lines
    ReviewKind kind;
    const char* detail;  // "*any*" when the detail does not matter
};

// A statement of each kind, and what its entry says.
const Case kFires[] = {
    {__LINE__, "format_statement", "  100 format(i5)\n", ReviewKind::format, ""},
    {__LINE__, "include_line", "      include 'const.inc'\n", ReviewKind::include, ""},
    {__LINE__, "arithmetic_if", "      if (x) 10, 20, 30\n", ReviewKind::arithmeticIf, ""},
    {__LINE__, "computed_goto", "      go to (10, 20), i\n", ReviewKind::computedGoto, ""},
    {__LINE__, "assigned_goto", "      go to k\n", ReviewKind::assignedGoto, ""},
    {__LINE__, "assign_statement", "      assign 10 to k\n", ReviewKind::assignedGoto, ""},
    {__LINE__, "read", "      read(5,*) x\n", ReviewKind::ioUnchanged, "READ"},
    {__LINE__, "read_list", "      read *, x\n", ReviewKind::ioUnchanged, "READ"},
    {__LINE__, "read_in_logical_if", "      if (ok) read(5,*) y\n", ReviewKind::ioUnchanged, "READ"},
    {__LINE__, "open", "      open(unit=7, file='a.dat')\n", ReviewKind::ioUnchanged, "OPEN"},
    {__LINE__, "close", "      close(7)\n", ReviewKind::ioUnchanged, "CLOSE"},
    {__LINE__, "rewind", "      rewind 7\n", ReviewKind::ioUnchanged, "REWIND"},
    {__LINE__, "backspace", "      backspace(7)\n", ReviewKind::ioUnchanged, "BACKSPACE"},
    {__LINE__, "endfile", "      endfile 7\n", ReviewKind::ioUnchanged, "ENDFILE"},
    {__LINE__, "inquire", "      inquire(unit=7, opened=op)\n", ReviewKind::ioUnchanged, "INQUIRE"},
    {__LINE__, "common", "      common /blk/ a, b\n", ReviewKind::common, ""},
    {__LINE__, "blank_common", "      common a, b\n", ReviewKind::common, ""},
    {__LINE__, "equivalence", "      equivalence (a, b)\n", ReviewKind::equivalence, ""},
    {__LINE__, "entry", "      entry e2(x)\n", ReviewKind::entry, ""},
    {__LINE__, "pause", "      pause\n", ReviewKind::pause, ""},
    {__LINE__, "pause_with_text", "      pause 'insert tape'\n", ReviewKind::pause, ""},
    {__LINE__, "real_function", "      real function f(x)\n", ReviewKind::typedFunction, "REAL"},
    {__LINE__, "double_precision_function", "      double precision function f(x)\n", ReviewKind::typedFunction,
     "DOUBLE PRECISION"},
    {__LINE__, "function_with_length", "      real*8 function f(x)\n", ReviewKind::functionAsDeclaration, ""},
    {__LINE__, "function_after_blanks", "      real      function f(x)\n", ReviewKind::functionAsDeclaration, ""},
    {__LINE__, "character_function", "      character*(*) function f(x)\n", ReviewKind::functionAsDeclaration, ""},
    {__LINE__, "program_in_name", "      nprogram = 1\n", ReviewKind::keywordInName, "program"},
    {__LINE__, "dimension_in_name", "      ndimension = 3\n", ReviewKind::keywordInName, "dimension"},
    {__LINE__, "stop_in_name", "      x = stopped + 1\n", ReviewKind::keywordInName, "stop"},
    {__LINE__, "return_in_name", "      call returned(x)\n", ReviewKind::keywordInName, "return"},
    {__LINE__, "format_in_name", "      call information(x)\n", ReviewKind::keywordInName, "format"},
    {__LINE__, "include_in_name", "      ninclude = 2\n", ReviewKind::keywordInName, "include"},
    {__LINE__, "sqrt_in_name", "      z = dsqrt(x)\n", ReviewKind::keywordInName, "sqrt"},
    {__LINE__, "header_in_name", "      functional = 1\n", ReviewKind::keywordInName, "function"},
    {__LINE__, "type_in_name", "      realx = 1.0\n", ReviewKind::keywordInName, "real"},
    {__LINE__, "write_in_name", "      call writeln(x)\n", ReviewKind::keywordInName, "write"},
    {__LINE__, "then_in_name", "      if (x) nthen = 1\n", ReviewKind::keywordInName, "then"},
    {__LINE__, "operator_in_quotes", "      s = 'a.eq.b'\n", ReviewKind::quotedText, ""},
    {__LINE__, "blanks_in_quotes", "      call xerbla('cher  ', info)\n", ReviewKind::quotedText, ""},
    {__LINE__, "stop_in_quotes", "      s = 'stop here'\n", ReviewKind::quotedText, ""},
    {__LINE__, "bang_in_quotes", "      s = 'hi!'\n", ReviewKind::quotedText, ""},
    {__LINE__, "parenthesis_in_quotes", "      s = '(a)b'\n", ReviewKind::quotedText, ""},
    {__LINE__, "format_in_quotes", "      s = 'bad format'\n", ReviewKind::quotedText, ""},
    {__LINE__, "data_repeat", "      data a /3*0.0/\n", ReviewKind::dataRepeat, ""},
    {__LINE__, "data_implied_do", "      data (x(i), i=1,3) /1, 2, 3/\n", ReviewKind::dataRepeat, ""},
    {__LINE__, "data_parenthesis", "      data(x(i),i=1,3)/1,2,3/\n", ReviewKind::dataRepeat, ""},
    {__LINE__, "do_step_name", "      do i = n, 1, k\n", ReviewKind::doStep, ""},
    {__LINE__, "do_step_minus_name", "      do i = n, 1, -k\n", ReviewKind::doStep, ""},
    {__LINE__, "do_step_expression", "      do i = 1, n, 2*k\n", ReviewKind::doStep, ""},
    {__LINE__, "labelled_do_step", "      do 10 i = 1, n, 2\n", ReviewKind::doStep, ""},
    {__LINE__, "labelled_do_step_minus_one", "      do 10 i = n, 1, -1\n", ReviewKind::doStep, ""},
    {__LINE__, "statement_function", "      real x, f\n      f(x, y) = x**2 + y\n      z = f(2.0, 1.0)\n",
     ReviewKind::statementFunction, ""},
    {__LINE__, "statement_function_after_parameter", "      parameter (n = 10)\n      f(x) = x + n\n",
     ReviewKind::statementFunction, ""},
};

class Fires : public ::testing::TestWithParam<Case> {};

TEST_P(Fires, OnAStatementOfItsKind) {
    const Case& c = GetParam();
    SCOPED_TRACE(caseLine(c));
    const std::vector<Entry> entries = convertReviewing(c.source).entries;
    EXPECT_TRUE(has(entries, c.kind, c.detail)) << c.source << describe(entries);
}

INSTANTIATE_TEST_SUITE_P(Review, Fires, ::testing::ValuesIn(kFires),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Statements a step away from each kind, with the kind that must not fire.
const Case kQuiet[] = {
    {__LINE__, "comment_with_format", "c     see format\n", ReviewKind::format, "*any*"},
    {__LINE__, "format_in_comment_is_no_name", "c     see format\n", ReviewKind::keywordInName, "*any*"},
    {__LINE__, "logical_if", "      if (x .gt. 0) y = 1\n", ReviewKind::arithmeticIf, "*any*"},
    {__LINE__, "if_calling_with_labels", "      if (x) call f(10, 20)\n", ReviewKind::arithmeticIf, "*any*"},
    {__LINE__, "plain_goto", "      go to 10\n", ReviewKind::computedGoto, "*any*"},
    {__LINE__, "plain_goto_is_not_assigned", "      goto 10\n", ReviewKind::assignedGoto, "*any*"},
    {__LINE__, "assignment_to_read", "      readx = 1\n", ReviewKind::ioUnchanged, "*any*"},
    {__LINE__, "variable_closed", "      closed = .true.\n", ReviewKind::ioUnchanged, "*any*"},
    {__LINE__, "generated_close", "      subroutine s\n      write(6,*) x\n      stop\n      end\n",
     ReviewKind::ioUnchanged, "*any*"},
    {__LINE__, "variable_commonx", "      commonx = 1\n", ReviewKind::common, "*any*"},
    {__LINE__, "variable_paused", "      paused = 1\n", ReviewKind::pause, "*any*"},
    {__LINE__, "untyped_function", "      function f(x)\n", ReviewKind::typedFunction, "*any*"},
    {__LINE__, "declaration_with_length", "      real*8 x, y\n", ReviewKind::functionAsDeclaration, "*any*"},
    {__LINE__, "stop_alone", "      stop\n", ReviewKind::keywordInName, "*any*"},
    {__LINE__, "return_in_if", "      if (n .eq. 0) return\n", ReviewKind::keywordInName, "*any*"},
    {__LINE__, "program_statement", "      program main\n", ReviewKind::keywordInName, "*any*"},
    {__LINE__, "declaration", "      real x\n", ReviewKind::keywordInName, "*any*"},
    {__LINE__, "sqrt_call", "      z = sqrt(x)\n", ReviewKind::keywordInName, "*any*"},
    {__LINE__, "write_statement", "      write(6,*) x\n", ReviewKind::keywordInName, "*any*"},
    {__LINE__, "block_if", "      if (x .gt. 0) then\n", ReviewKind::keywordInName, "*any*"},
    {__LINE__, "include_statement", "      include 'a.inc'\n", ReviewKind::keywordInName, "*any*"},
    {__LINE__, "quote_with_nothing_rewritten", "      s = 'abc'\n", ReviewKind::quotedText, "*any*"},
    {__LINE__, "doubled_apostrophe", "      s = 'it''s'\n", ReviewKind::quotedText, "*any*"},
    {__LINE__, "call_with_string", "      call xerbla('dgemm ', info)\n", ReviewKind::quotedText, "*any*"},
    {__LINE__, "data_of_scalars", "      data a, b /1, 2/\n", ReviewKind::dataRepeat, "*any*"},
    {__LINE__, "star_in_quoted_data", "      data s /'a*b'/\n", ReviewKind::dataRepeat, "*any*"},
    {__LINE__, "do_minus_one", "      do i = 10, 1, -1\n", ReviewKind::doStep, "*any*"},
    {__LINE__, "do_step_one", "      do i = 1, n, 1\n", ReviewKind::doStep, "*any*"},
    {__LINE__, "do_step_two", "      do i = 1, 10, 2\n", ReviewKind::doStep, "*any*"},
    {__LINE__, "do_step_minus_two", "      do i = 10, 1, -2\n", ReviewKind::doStep, "*any*"},
    {__LINE__, "do_step_with_exponent", "      do x = 0, 1, 2.5e-1\n", ReviewKind::doStep, "*any*"},
    {__LINE__, "do_without_step", "      do i = 1, n\n", ReviewKind::doStep, "*any*"},
    {__LINE__, "labelled_do", "      do 10 i = 1, n\n", ReviewKind::doStep, "*any*"},
    {__LINE__, "array_element_after_code", "      real a(10)\n      i = 1\n      a(i) = 2.0\n",
     ReviewKind::statementFunction, "*any*"},
};

class Quiet : public ::testing::TestWithParam<Case> {};

TEST_P(Quiet, OnANearMiss) {
    const Case& c = GetParam();
    SCOPED_TRACE(caseLine(c));
    const std::vector<Entry> entries = convertReviewing(c.source).entries;
    EXPECT_FALSE(has(entries, c.kind, c.detail)) << c.source << describe(entries);
}

INSTANTIATE_TEST_SUITE_P(Review, Quiet, ::testing::ValuesIn(kQuiet),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(Review, EntriesPointAtTheStatementAndItsTranslation) {
    // The jump is the second statement, on lines 2 and 3; its translation
    // follows the empty-statement comment and "x = 1".
    const Converted got = convertReviewing("      x = 1\n      go to (10, 20,\n     &       30), i\n");
    ASSERT_EQ(got.entries.size(), 1U) << describe(got.entries);
    EXPECT_EQ(got.entries[0].kind, ReviewKind::computedGoto);
    EXPECT_EQ(got.entries[0].sourceLine, 2);
    ASSERT_GE(got.module.size(), 3U);
    EXPECT_EQ(got.module[2].rfind("goto L(", 0), 0U) << testing::show(got.module);
    EXPECT_EQ(got.entries[0].moduleLine, 3);
}

TEST(Review, AFileThatBeginsWithAContinuationLineNamesThatLine) {
    // Joined to the empty statement of the file's start.
    const Converted got = convertReviewing("     &      x = stopped\n");
    ASSERT_EQ(got.entries.size(), 1U) << describe(got.entries);
    EXPECT_EQ(got.entries[0].kind, ReviewKind::keywordInName);
    EXPECT_EQ(got.entries[0].sourceLine, 1);
}

TEST(Review, CommentLinesNeedNoPerson) {
    for (const char* source :
         {"c     stopped 'a.eq.b' go to (1, 2), k\n", "*     stopped 'a.eq.b' go to (1, 2), k\n",
          "!     stopped 'a.eq.b' go to (1, 2), k\n", "      end\n*     write(6,*) x\n", "*> \\brief stop\n"}) {
        const Converted got = convertReviewing(source);
        EXPECT_TRUE(got.entries.empty()) << source << describe(got.entries);
    }
}

TEST(Review, OneEntryOfAKindPerStatement) {
    const Converted got = convertReviewing("      x = nstop + mstop + 'a.eq.b' // 'c.ne.d'\n");
    EXPECT_EQ(got.entries.size(), 2U) << describe(got.entries);
}

TEST(Review, TheModuleIsTheSameWithAndWithoutTheList) {
    std::string source;
    for (const Case& c : kFires) source += c.source;
    for (const Case& c : kQuiet) source += c.source;
    const Converted with = convertReviewing(source, true);
    const Converted without = convertReviewing(source, false);
    EXPECT_EQ(with.module, without.module);
    EXPECT_GT(with.entries.size(), 50U);
    EXPECT_TRUE(without.entries.empty());
}

TEST(ReviewList, EntriesInTheFormCompilersUseThenTheSummary) {
    ReviewList list("module1.bas");
    list.add({ReviewKind::format, {}, "linalg.for", 123, 456});
    list.add({ReviewKind::ioUnchanged, "READ", "io.for", 7, 9});
    list.add({ReviewKind::format, {}, "linalg.for", 130, 470});
    EXPECT_EQ(list.text(),
              "linalg.for:123: note: FORMAT statement left as a comment; rewrite the output it describes [format] "
              "(module1.bas:456)\n"
              "io.for:7: note: READ statement passed through unchanged; rewrite it with BASIC file input and output "
              "[io-unchanged] (module1.bas:9)\n"
              "linalg.for:130: note: FORMAT statement left as a comment; rewrite the output it describes [format] "
              "(module1.bas:470)\n"
              "review: 2 format, 1 io-unchanged\n");
    EXPECT_EQ(ReviewList("m.bas").text(), "review: nothing to finish by hand\n");
}

TEST(ReviewList, ALongListSpillsItsBlocksInOrder) {
    ReviewList kept("m.bas");
    ReviewList spilled("m.bas");
    std::string spilledText;
    spilled.spillTo([&spilledText](std::string_view block) { spilledText += block; });
    for (long long i = 1; i <= 30000; ++i) {
        const ReviewNote note{ReviewKind::format, "", "SRC/some_long_file_name.f", i, i + 1};
        kept.add(note);
        spilled.add(note);
    }
    for (const std::string_view piece : spilled.pieces()) spilledText += piece;
    EXPECT_GT(spilledText.size(), std::size_t{2} << 20);
    EXPECT_EQ(spilledText, kept.text());
}

}  // namespace
}  // namespace ftvb
