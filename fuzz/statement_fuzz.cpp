// The statement's edits against plain string edits, and its knowledge
// against a fresh look for every search text.
//
// The input is a starting text, then a list of edits, each chosen and
// placed by the bytes that follow. After every edit the statement must hold
// what the same edit made of a plain string, and every search text that
// string holds must be one the statement says it may hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "engine/statement.h"
#include "fuzz/check.h"
#include "tests/support/naive_texts.h"
#include "text/primitives.h"

namespace {

using ftvb::Insertion;
using ftvb::Rewrite;
using ftvb::Statement;
using ftvb::Text;
using ftvb::fuzz::fail;

constexpr Insertion kInsertions[] = {"",  " ",   "  ",   "go",  " to ",   "sqrt",   "Dim ",  "**",    ".eq.",
                                     "'", "e.",  "else", " if", "x",      "end",    " do",   ":",     ")",
                                     "(", "*8 ", "!",    "//",  "  \xA3", "format", "write", "print "};

constexpr Rewrite kRewrites[] = {
    {Text::twoBlanks, " "},
    {Text::dotEq, " = "},
    {Text::quote, "\""},
    {Text::goTo, "goto*"},
    {Text::gotoBlank, "goto*"},
    {Text::gotoMark, "goto L"},
    {Text::power, "^"},
    {Text::stop, ""},
    {Text::include, "'* \xA3\xA3\xA3\xA3"},
    {Text::includeMark, "** include"},
    {Text::bang, "'"},
    {Text::elseIf, "elseif"},
    {Text::endDo, "loop"},
    {Text::dimension, "Dim "},
    {Text::program, "subroutine"},
    {Text::concatenation, " + "},
};

constexpr ftvb::InsertionAfter kBlankAfter{')', " "};

std::string collapsed(const std::string& s) { return ftvb::testing::collapsedBlanks(s); }

void checkKnowledge(const Statement& s, const std::string& want, const char* edit) {
    if (s.text() != want) {
        fail("the statement's text differs from the same edit on a string",
             {{"edit", edit}, {"statement", s.text()}, {"string", want}});
    }
    if (s.endOfNonBlank() != ftvb::endOfNonBlank(want)) {
        fail("the statement is wrong about where its last non-blank byte is", {{"edit", edit}, {"text", want}});
    }
    const ftvb::Texts missed = ftvb::testing::naiveTexts(want) & ~s.knowledge();
    if (missed != 0) {
        const Text t = static_cast<Text>(std::countr_zero(missed));
        fail("the statement says it cannot hold a text it holds",
             {{"edit", edit}, {"text", want}, {"search text", t == Text::capital ? "a capital" : ftvb::textOf(t)}});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::string want = in.ConsumeRandomLengthString(200);
    Statement s;
    if (in.ConsumeBool()) {
        s.assign(want);
    } else {
        // As the intake builds it: lower case, then padded with blanks.
        ftvb::lowerCaseInPlace(want);
        want.append(in.ConsumeIntegralInRange<std::size_t>(0, 80), ' ');
        s.begin();
        want.copy(s.extend(want.size()), want.size());
        s.completeLowered();
    }
    checkKnowledge(s, want, "assign");
    for (int step = 0; step < 24 && in.remaining_bytes() > 0; ++step) {
        const std::size_t n = want.size();
        const std::size_t pos = in.ConsumeIntegralInRange<std::size_t>(0, n);
        const std::size_t count = in.ConsumeIntegralInRange<std::size_t>(0, n - pos);
        const Insertion& ins = kInsertions[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kInsertions) - 1)];
        switch (in.ConsumeIntegralInRange(0, 10)) {
            case 0:
                s.replace(pos, count, ins);
                want.replace(pos, count, ins.text);
                checkKnowledge(s, want, "replace");
                break;
            case 1:
                s.erase(pos, count);
                want.erase(pos, count);
                checkKnowledge(s, want, "erase");
                break;
            case 2: {
                const Rewrite& r = kRewrites[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kRewrites) - 1)];
                s.replaceAll(r);
                ftvb::transf(want, ftvb::textOf(r.find), r.replacement.text);
                checkKnowledge(s, want, "replace-all");
                break;
            }
            case 3: {
                const std::string find = in.ConsumeRandomLengthString(4);
                const std::string repl = in.ConsumeRandomLengthString(6);
                s.replaceAll(find, Insertion::madeNow(repl));
                ftvb::transf(want, find, repl);
                checkKnowledge(s, want, "replace-all of a text made at run time");
                break;
            }
            case 4:
                s.keep(pos, pos + count);
                want = want.substr(pos, count);
                checkKnowledge(s, want, "keep");
                break;
            case 5:
                s.trim();
                want = std::string(ftvb::trimBlanks(want));
                checkKnowledge(s, want, "trim");
                break;
            case 6:
                s.collapseBlanks();
                want = collapsed(want);
                checkKnowledge(s, want, "collapse");
                break;
            case 7: {
                s.insertAfterEach(kBlankAfter, ' ');
                std::string spaced;
                for (std::size_t i = 0; i < want.size(); ++i) {
                    spaced.push_back(want[i]);
                    if (want[i] == ')' && i + 1 < want.size() && want[i + 1] != ' ') spaced.push_back(' ');
                }
                want = spaced;
                checkKnowledge(s, want, "a blank after each \")\"");
                break;
            }
            case 8: {
                const std::string made = in.ConsumeRandomLengthString(8);
                s.insert(pos, Insertion::madeNow(made));
                want.insert(pos, made);
                checkKnowledge(s, want, "insert a text made at run time");
                break;
            }
            case 9:
                s.lowerCase();
                ftvb::lowerCaseInPlace(want);
                checkKnowledge(s, want, "lower case");
                break;
            default:
                s.rewriteWith(ftvb::trs_2_pts);
                ftvb::trs_2_pts(want);
                checkKnowledge(s, want, "substrings");
                break;
        }
    }
    return 0;
}
