// Stage 27: the final stage, and the declaration writer it shares with the
// type declarations.
//
// The final stage collapses blanks, trims, hands a "Dim"/"dim" statement to
// the declaration writer (which writes it itself) and writes whatever else
// is left, unless it is empty or a single character. The writer comments out
// the declaration of a dummy argument of the current procedure, which the
// procedure header declares already.
#include "engine/stages/statement_output.h"

#include <algorithm>

#include "engine/stage_notes.h"
#include "engine/stages.h"
#include "text/bytes.h"

namespace ftvb {
namespace {

// What must follow a statement word for the statement to be of its kind.
enum class After {
    anything,   // PAUSE, PAUSE 1, PAUSE 'text'
    something,  // REWIND 5, ENTRY name
    unit,       // a "(", as in OPEN (10, ...); the generated "close #1:" has none
    read,       // "(", " ", "*", "#" or a digit: READ (5,*), READ *, READ 10, READ#1 (a namelist)
    common,     // " " or "/"
    label,      // a blank and a digit: ASSIGN 10 TO K
};

struct KeptStatement {
    std::string_view word;
    After after;
    ReviewKind kind;
    std::string_view detail;
    bool asAction;  // may be the action of a logical IF
};

constexpr KeptStatement kKept[] = {
    {"read", After::read, ReviewKind::ioUnchanged, "READ", true},
    {"open", After::unit, ReviewKind::ioUnchanged, "OPEN", true},
    {"close", After::unit, ReviewKind::ioUnchanged, "CLOSE", true},
    {"inquire", After::unit, ReviewKind::ioUnchanged, "INQUIRE", true},
    {"rewind", After::something, ReviewKind::ioUnchanged, "REWIND", true},
    {"backspace", After::something, ReviewKind::ioUnchanged, "BACKSPACE", true},
    {"endfile", After::something, ReviewKind::ioUnchanged, "ENDFILE", true},
    {"pause", After::anything, ReviewKind::pause, {}, true},
    {"assign", After::label, ReviewKind::assignedGoto, {}, true},
    {"common", After::common, ReviewKind::common, {}, false},
    {"equivalence", After::unit, ReviewKind::equivalence, {}, false},
    {"entry", After::something, ReviewKind::entry, {}, false},
};

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

bool follows(std::string_view s, std::size_t a, After after) {
    switch (after) {
        case After::anything: return true;
        case After::something: return a < s.size();
        case After::unit: {
            while (a < s.size() && s[a] == ' ') ++a;
            return a < s.size() && s[a] == '(';
        }
        case After::read:
            return a < s.size() && (s[a] == '(' || s[a] == ' ' || s[a] == '*' || s[a] == '#' || isDigit(s[a]));
        case After::common: return a < s.size() && (s[a] == ' ' || s[a] == '/');
        case After::label: return a + 1 < s.size() && s[a] == ' ' && isDigit(s[a + 1]);
    }
    return false;
}

// Statements that no rule recognises pass through as they are: those that
// BASIC cannot take as written are noted by the word they begin with (the
// action of a logical IF counts as a beginning).
void noteKept(StageContext& c, std::string_view text) {
    const std::size_t action = actionStart(text);
    const std::string_view s = text.substr(action);
    if (std::string_view("robciepa").find(s.front()) != std::string_view::npos) {
        for (const KeptStatement& k : kKept) {
            if (action != 0 && !k.asAction) continue;
            const std::size_t a = afterStatementWord(s, k.word);
            if (a != std::string_view::npos && follows(s, a, k.after)) {
                c.note(k.kind, k.detail);
                break;
            }
        }
    }
    if (action == 0 && !c.procedure.pastDeclarations && !c.declarative && looksLikeStatementFunction(s)) {
        c.note(ReviewKind::statementFunction);
    }
}

// Whether the statement, as the final stage leaves it, belongs to the
// procedure's executable part.
bool executable(const StageContext& c, std::string_view text) {
    if (c.declarative || startsWithByte(text, '\'')) return false;
    if (std::string_view("ceisdb").find(text.front()) != std::string_view::npos) {
        static constexpr std::string_view kDeclarationWords[] = {
            "common", "equivalence", "external", "intrinsic", "save", "complex", "double complex", "entry", "byte"};
        for (const std::string_view word : kDeclarationWords) {
            if (afterStatementWord(text, word) != std::string_view::npos) return false;
        }
    }
    return c.procedure.pastDeclarations || !looksLikeStatementFunction(text);
}

}  // namespace

bool writeDeclaration(StageContext& c, std::string_view line) {
    if (!startsWith(line, "Dim ") && !startsWith(line, "dim ")) return false;
    const std::string_view declared = trimBlanks(line.substr(4));
    const std::size_t blank = declared.find(' ');
    if (blank != std::string_view::npos) {
        // The declared text up to the first blank, bounds included: "a(10)"
        // never equals an argument name.
        const std::string_view name = trimBlanks(declared.substr(0, blank));
        const auto& args = c.procedure.dummyArguments;
        if (std::find(args.begin(), args.end(), name) != args.end()) {
            c.out.line("'", line);
            return true;
        }
    }
    c.out.line(line);
    return true;
}

Next finalStage(StageContext& c) {
    Statement& s = c.statement;
    s.collapseBlanks();
    s.trim();
    const std::string_view t = s.text();
    if (t.size() >= 4 && (t[0] == 'D' || t[0] == 'd') && writeDeclaration(c, t)) return Next::End;
    if (c.noting() && s.size() > 1) {
        noteKept(c, s.text());
        if (executable(c, s.text())) c.procedure.pastDeclarations = true;
    }
    if (s.size() > 1) c.out.line(s.text());
    return Next::End;
}

}  // namespace ftvb
