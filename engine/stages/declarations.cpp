// Stages 17 and 18: type declarations, one "Dim" line per declared name.
//
// Six rules of one shape, tried in order on the same text: when the text
// begins with the keyword, it is replaced by the name list; every name but
// the last is cut off at its top-level comma and written at once through
// the declaration writer, and the last is left in the statement as a "Dim"
// line of its own for the later stages and the final stage. The rows differ
// only in the keyword, where the name list starts and how a line is built
// around a name. Then, for every statement, blank runs collapse and the
// "Dim *8"-style length markers go.
#include "engine/stages/declarations.h"

#include <array>
#include <string>

#include "engine/stage_notes.h"
#include "engine/stages.h"
#include "text/bytes.h"
#include "text/numeric.h"
#include "text/primitives.h"

namespace ftvb {
namespace {

enum class NameList {
    AfterKeyword,     // the text after the keyword, trimmed
    AfterFirstBlank,  // after the first blank of the statement, so "*4" goes with the keyword
    CharacterLength,  // "character*": the length, then the names after it
};

struct TypeRule {
    std::string_view keyword;
    NameList nameList;
    std::string_view suffix;  // put after the name
    bool starsToLength;       // "a*10" -> "a as string * 10"
};

constexpr std::array<TypeRule, 6> kTypeRules{{
    {"character*", NameList::CharacterLength, " as string * ", false},
    {"character", NameList::AfterKeyword, "", true},
    {"real", NameList::AfterKeyword, " as double", false},
    {"double precision", NameList::AfterKeyword, " as double", false},
    {"integer", NameList::AfterFirstBlank, " as integer", false},
    {"logical", NameList::AfterFirstBlank, " as boolean", false},
}};

static_assert(
    [] {
        for (const TypeRule& rule : kTypeRules) {
            if (!beginsWithTypeKeyword(rule.keyword)) return false;
        }
        return true;
    }(),
    "every type rule begins with a type keyword, as the stage's gate wants");

// The line for one declared name, built in `line`.
void declarationLine(std::string& line, std::string_view name, const TypeRule& rule, std::string_view length) {
    line.assign("Dim ");
    if (rule.starsToLength && name.find('*') != std::string_view::npos) {
        // "*" cannot go straight to a text holding "*": through a placeholder.
        std::string n(name);
        transf(n, "*", "#");
        transf(n, "#", " as string * ");
        line += n;
    } else {
        line += name;
    }
    line += rule.suffix;
    line += length;
}

// Applies one rule to `s`; the text goes on to the next rule either way.
void applyTypeRule(StageContext& c, std::string& s, const TypeRule& rule) {
    std::string length;
    std::string names;
    switch (rule.nameList) {
        case NameList::AfterKeyword: names = trimBlanks(std::string_view(s).substr(rule.keyword.size())); break;
        case NameList::AfterFirstBlank: {
            const std::size_t blank = s.find(' ');
            names =
                trimBlanks(blank == std::string::npos ? std::string_view(s) : std::string_view(s).substr(blank + 1));
            break;
        }
        case NameList::CharacterLength: {
            const std::string r(trimBlanks(std::string_view(s).substr(rule.keyword.size())));
            const std::size_t blank = r.find(' ');
            if (blank == std::string::npos) {
                s = r;
                return;
            }
            // The whole rest is read as a number, names included: "8 d1" is 80.
            length = decimalText(numericPrefixValue(r));
            names = r.substr(blank + 1);
            break;
        }
    }

    // Each name but the last is cut off at its comma and written at once.
    thread_local std::string line;
    std::string_view rest = names;
    for (std::size_t p = instr1(rest); p != 0; p = instr1(rest)) {
        declarationLine(line, rest.substr(0, p - 1), rule, length);
        lengthMarkerCleanup(line);
        writeDeclaration(c, line);
        rest.remove_prefix(p);
    }
    declarationLine(line, rest, rule, length);
    s.swap(line);
}

// A statement the type rules take: a typed FUNCTION header with a length
// ("real*8 function f(x)") becomes a declaration, and so does an assignment
// to a name that begins with a keyword ("realx = 1.0").
void noteDeclaration(StageContext& c) {
    const std::string_view text = c.statement.text();
    for (const std::string_view keyword : kTypeKeywords) {
        if (!startsWith(text, keyword)) continue;
        std::size_t p = keyword.size();
        if (p < text.size() && isNameByte(text[p])) {
            c.note(ReviewKind::keywordInName, keyword);
            return;
        }
        const auto skipBlanks = [&] {
            while (p < text.size() && text[p] == ' ') ++p;
        };
        skipBlanks();
        if (p < text.size() && text[p] == '*') {
            ++p;
            skipBlanks();
            if (p < text.size() && text[p] == '(') {
                const std::size_t close = text.find(')', p);
                p = close == std::string_view::npos ? text.size() : close + 1;
            }
            while (p < text.size() && text[p] >= '0' && text[p] <= '9') ++p;
            skipBlanks();
        }
        const std::string_view rest = text.substr(p);
        if (startsWith(rest, "function") && (rest.size() == 8 || !isNameByte(rest[8]))) {
            c.note(ReviewKind::functionAsDeclaration);
        }
        return;
    }
}

}  // namespace

void lengthMarkerCleanup(std::string& line) {
    if (!contains(line, "Dim *")) return;
    for (char d = '1'; d <= '9'; ++d) {
        const char withBlank[] = {'D', 'i', 'm', ' ', '*', d, ' '};
        transf(line, std::string_view(withBlank, 7), "Dim ");
        const std::string_view atEnd(withBlank, 6);
        if (endsWith(line, atEnd)) transf(line, atEnd, "Dim");
    }
}

Next typeDeclarations(StageContext& c) {
    if (c.noting()) noteDeclaration(c);
    thread_local std::string s;
    bool applied = false;
    for (const TypeRule& rule : kTypeRules) {
        const std::string_view now = applied ? std::string_view(s) : c.statement.text();
        if (!startsWith(now, rule.keyword)) continue;
        if (!applied) s.assign(now);
        applyTypeRule(c, s, rule);
        applied = true;
    }
    if (applied) c.statement.assign(s);
    return Next::Continue;
}

Next declarationCleanup(StageContext& c) {
    c.statement.collapseBlanks();
    if (c.statement.mayHold(Text::dimStar)) c.statement.rewriteWith(lengthMarkerCleanup);
    return Next::Continue;
}

}  // namespace ftvb
