// VBA from the tree. Each unit becomes one Public Sub or Function: its
// header with typed parameters, then the source's comments and statements
// in order, the declarations (Const, FORMAT texts, Dim and Static) written
// where the executable statements begin. Expressions are written with
// VBA's precedence and FORTRAN's meaning; a statement that cannot be is
// left as a marked comment and listed for the review.
#include "finish/writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <unordered_set>

#include "finish/runtime.h"

namespace ftvb::finish {

std::string vbaName(const std::string& n) {
    static const std::unordered_set<std::string> kReserved = {
        "access",   "addressof", "alias",     "and",         "any",         "append",     "array",         "as",
        "asc",      "atn",       "attribute", "base",        "beep",        "binary",     "boolean",       "byref",
        "byte",     "byval",     "call",      "case",        "cbool",       "cbyte",      "ccur",          "cdate",
        "cdbl",     "cdec",      "chr",       "cint",        "circle",      "class",      "clng",          "close",
        "compare",  "const",     "cos",       "csng",        "cstr",        "currency",   "cvar",          "cverr",
        "date",     "day",       "debug",     "decimal",     "declare",     "defbool",    "defbyte",       "defdate",
        "defdbl",   "defint",    "deflng",    "defobj",      "defsng",      "defstr",     "defvar",        "dim",
        "dir",      "do",        "doevents",  "double",      "each",        "else",       "elseif",        "empty",
        "end",      "endif",     "enum",      "environ",     "eof",         "eqv",        "erase",         "err",
        "error",    "event",     "exit",      "exp",         "explicit",    "false",      "filecopy",      "fix",
        "for",      "format",    "freefile",  "friend",      "function",    "get",        "global",        "gosub",
        "goto",     "hex",       "hour",      "if",          "iif",         "imp",        "implements",    "in",
        "input",    "instr",     "int",       "integer",     "is",          "kill",       "lbound",        "lcase",
        "left",     "len",       "let",       "lib",         "like",        "line",       "loc",           "lock",
        "lof",      "log",       "long",      "longlong",    "longptr",     "loop",       "lset",          "ltrim",
        "me",       "mid",       "minute",    "mkdir",       "mod",         "month",      "name",          "new",
        "next",     "not",       "nothing",   "now",         "null",        "object",     "oct",           "on",
        "open",     "option",    "optional",  "or",          "output",      "paramarray", "preserve",      "print",
        "private",  "property",  "ptrsafe",   "public",      "put",         "raiseevent", "random",        "randomize",
        "read",     "redim",     "rem",       "replace",     "reset",       "resume",     "return",        "right",
        "rmdir",    "rnd",       "round",     "rset",        "rtrim",       "second",     "seek",          "select",
        "set",      "sgn",       "shared",    "shell",       "sin",         "single",     "space",         "spc",
        "split",    "sqr",       "static",    "step",        "stop",        "str",        "string",        "sub",
        "switch",   "tab",       "tan",       "text",        "then",        "time",       "timer",         "to",
        "trim",     "true",      "type",      "typeof",      "ubound",      "ucase",      "unlock",        "until",
        "val",      "variant",   "wend",      "while",       "width",       "with",       "withevents",    "write",
        "xor",      "year",      "choose",    "join",        "filter",      "msgbox",     "inputbox",      "cvdate",
        "date",     "error",     "chdir",     "chdrive",     "curdir",      "fileattr",   "filedatetime",  "filelen",
        "getattr",  "setattr",   "sendkeys",  "appactivate", "savesetting", "getsetting", "deletesetting", "command",
        "isarray",  "isdate",    "isempty",   "iserror",     "ismissing",   "isnull",     "isnumeric",     "isobject",
        "typename", "vartype",   "lenb",      "midb",        "leftb",       "rightb",     "strcomp",       "strconv",
        "string",   "abs"};
    std::string lower = n;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (kReserved.count(lower) != 0) return lower + "_";
    if (lower.size() > 2 && lower[0] == 'f' && lower[1] == 't') {
        for (const std::string& r : runtimeNames()) {
            if (r.size() == lower.size()) {
                bool same = true;
                for (std::size_t i = 0; i < r.size(); ++i) {
                    char c = r[i];
                    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
                    same = same && c == lower[i];
                }
                if (same) return lower + "_";
            }
        }
    }
    return lower;
}

const char* vbaType(BaseType type) {
    switch (type) {
        case BaseType::integer: return "Long";
        case BaseType::real: return "Single";
        case BaseType::doublePrecision: return "Double";
        case BaseType::logical: return "Boolean";
        case BaseType::character: return "String";
        default: return "Variant";
    }
}

std::vector<std::string> breakLine(const std::string& line, std::size_t limit) {
    if (line.size() <= limit) return {line};
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (line.size() - start > limit) {
        // The last blank outside a string before the limit.
        std::size_t cut = std::string::npos;
        bool inString = false;
        for (std::size_t i = start; i < line.size() && i < start + limit - 2; ++i) {
            if (line[i] == '"') inString = !inString;
            if (!inString && line[i] == ' ' && i > start) cut = i;
        }
        if (cut == std::string::npos) break;  // one string longer than a line: left whole
        pieces.push_back(line.substr(start, cut - start) + " _");
        start = cut + 1;
    }
    pieces.push_back(line.substr(start));
    return pieces;
}

namespace {

// Precedence of what an emitted text is, high binds tighter.
constexpr int kAtom = 100, kPow = 90, kNeg = 80, kMul = 70, kIDiv = 60, kAdd = 50, kCat = 40, kRel = 30, kNot = 25,
              kAnd = 20, kOr = 15, kXor = 12, kEqv = 10;

// What VBA makes of a value, where it differs from the FORTRAN type: an
// integer literal is an Integer, a real literal a Double.
enum class Vt { integerLit, longV, single, doubleV, boolean, string, other };

struct Code {
    std::string text;
    int prec = kAtom;
    BaseType type = BaseType::none;
    Vt vt = Vt::other;
    bool isLiteral = false;
};

struct Untranslatable {
    ReviewKind kind;
    std::string detail;
};

[[noreturn]] void refuse(std::string why) { throw Untranslatable{ReviewKind::notTranslated, std::move(why)}; }

Vt vtOf(BaseType t) {
    switch (t) {
        case BaseType::integer: return Vt::longV;
        case BaseType::real: return Vt::single;
        case BaseType::doublePrecision: return Vt::doubleV;
        case BaseType::logical: return Vt::boolean;
        case BaseType::character: return Vt::string;
        default: return Vt::other;
    }
}

std::string paren(const Code& c, int atLeast) { return c.prec >= atLeast ? c.text : "(" + c.text + ")"; }

bool isNumeric(BaseType t) { return t == BaseType::integer || t == BaseType::real || t == BaseType::doublePrecision; }

BaseType promote(BaseType a, BaseType b) {
    if (a == BaseType::complex || b == BaseType::complex) return BaseType::complex;
    if (a == BaseType::doublePrecision || b == BaseType::doublePrecision) return BaseType::doublePrecision;
    if (a == BaseType::real || b == BaseType::real) return BaseType::real;
    return BaseType::integer;
}

std::string quoteVba(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// A FORTRAN real constant as VBA writes one: E exponents, digits on both
// sides of the point.
std::string realLiteral(const std::string& text) {
    std::string mant = text;
    std::string exp;
    const std::size_t e = text.find_first_of("edED");
    if (e != std::string::npos) {
        mant = text.substr(0, e);
        exp = text.substr(e + 1);
    }
    if (mant.empty() || mant[0] == '.') mant = "0" + mant;
    if (mant.back() == '.') mant += "0";
    if (mant.find('.') == std::string::npos) mant += ".0";
    if (exp.empty()) return mant;
    int value = std::atoi(exp.c_str());
    if (value == 0) return mant;
    return mant + "E" + (value < 0 ? "-" : "+") + std::to_string(std::abs(value));
}

class UnitWriter {
public:
    UnitWriter(const ProgramIndex& index, const Unit& unit, std::set<std::string>& used,
               const std::map<std::pair<std::string, int>, std::string>& commonNames,
               const std::map<std::pair<std::string, std::string>, std::string>& savedNames,
               const std::unordered_map<std::string_view, const ProcInfo*>& procs)
        : index_(index), u_(unit), used_(used), commonNames_(commonNames), savedNames_(savedNames), procs_(procs) {}

    UnitText run(const std::vector<SourceItem>& leading);

private:
    // Names
    std::string ref(const Symbol& s) const {
        if (s.inCommon) {
            auto it = commonNames_.find({s.common, s.commonIndex});
            if (it != commonNames_.end()) return it->second;
        }
        if (s.isArray() && s.dummyIndex < 0) {
            auto it = savedNames_.find({u_.name, s.name});
            if (it != savedNames_.end()) return it->second;
        }
        if (u_.kind == UnitKind::function && s.name == u_.name) return resultName_;
        return vbaName(s.name);
    }
    std::string offsetOf(const Symbol& s) const { return s.dummyIndex >= 0 ? vbaName(s.name) + "_o" : std::string(); }
    const Symbol& symbol(const std::string& name) const {
        const Symbol* s = u_.find(name);
        if (s == nullptr) refuse("'" + name + "' unknown here");
        return *s;
    }
    std::string helper(const std::string& name) {
        used_.insert(name);
        return name;
    }

    // Expressions
    Code expr(const Expr& e);
    Code literalInteger(const std::string& text) {
        Code c;
        c.text = text;
        c.type = BaseType::integer;
        c.vt = text.size() > 4 ? Vt::longV : Vt::integerLit;
        c.isLiteral = true;
        return c;
    }
    Code name(const Expr& e);
    Code call(const Expr& e);
    Code intrinsic(const std::string& name, const Expr& e);
    Code userFunction(const Expr& e);
    // A procedure passed as an argument is its name; a call of it is a
    // Select Case over the module's procedures that fit the call.
    void dispatch(const Symbol& dummy, const std::vector<ExprPtr>& list, UnitKind kind, const std::string& result);
    Code dummyFunction(const Symbol& dummy, const Expr& e);
    std::vector<std::string> preLines_;   // what a statement's value needs first
    std::vector<std::string> postLines_;  // what comes after it (values copied back)
    bool noTemporaries_ = false;          // while a dispatch tries the procedures that fit
    int statementIndent_ = 1;
    int temporaries_ = 0;
    // A scalar passed where the callee takes an array: a one-element array
    // holding its value, the value copied back after the call when it is a
    // variable.
    std::string scalarAsArray(const Expr& a, const DummyInfo& d, const ProcInfo& callee);
    std::set<std::string> dispatchResults_;
    Code element(const Symbol& s, const Expr& e);
    Code binary(const Expr& e);
    Code convert(Code c, BaseType to);
    Code asSingle(Code c) {
        if (c.vt == Vt::single && c.prec == kAtom && !c.isLiteral) return c;
        c.text = "CSng(" + c.text + ")";
        c.prec = kAtom;
        c.vt = Vt::single;
        c.type = BaseType::real;
        c.isLiteral = false;
        return c;
    }
    // The linear index of an element, 1 for the first, without the offset.
    std::string linearIndex(const Symbol& s, const Expr& e, long long shift);
    std::string extent(const Symbol& s, std::size_t k);
    std::optional<long long> arraySize(const Symbol& s);
    bool assumedLengthResult(const Expr& x) const;
    std::string elementCount(const Symbol& s);  // as VBA text
    // A whole CHARACTER array as an internal file: "name, offset, count".
    std::string recordsArg(const Symbol& s) {
        const std::string off = offsetOf(s);
        return ref(s) + ", " + (off.empty() ? "0" : off) + ", " + elementCount(s);
    }
    std::string args(const Expr& e, const ProcInfo* callee, const std::vector<ExprPtr>& list);
    std::string stringLength(const Symbol& s);

    // Statements
    void line(const std::string& text) {
        const std::size_t pad = static_cast<std::size_t>(std::max(indent_, 0)) * 4;
        std::string& l = out_.emplace_back();
        l.reserve(pad + text.size());
        l.append(pad, ' ');
        l += text;
    }
    void statement(const Stmt& st);
    void refused(const Stmt& st, const Untranslatable& why, std::size_t mark, int indent, std::size_t loops);
    void body(const Stmt& st);
    void callStatement(const Stmt& st);
    void assignment(const Stmt& st);
    std::string assignTo(const Expr& target, const Expr& value);
    void ioList(const std::vector<ExprPtr>& items, bool reading);
    void readInto(const std::string& target, BaseType type, const std::string& length);
    void readItem(const Expr& item);
    void inquire(const Stmt& st);
    std::string substringLength(const Expr& target, const Code& base, const Code& lo);
    // IOSTAT=, END= and ERR= of a statement: what it catches, and the
    // lines after it that store the status and take the branches.
    struct IoStatus {
        const Expr* iostat = nullptr;
        std::string endLabel;
        std::string errLabel;
        bool any() const { return iostat != nullptr || !endLabel.empty() || !errLabel.empty(); }
    };
    IoStatus ioStatus(const Stmt& st, const std::string& what, const std::set<std::string>& allowed);
    void ioStatusBegin(const IoStatus& status);
    void ioStatusEnd(const IoStatus& status);
    bool catching_ = false;
    void closeLoops(const std::string& label);
    void declarations();
    void dataInit();
    std::string header();
    void exitProcedure();
    std::string formatArg(const Stmt& st);
    std::string unitArg(const Stmt& st);

    const ProgramIndex& index_;
    const Unit& u_;
    std::set<std::string>& used_;
    const std::map<std::pair<std::string, int>, std::string>& commonNames_;
    const std::map<std::pair<std::string, std::string>, std::string>& savedNames_;
    const std::unordered_map<std::string_view, const ProcInfo*>& procs_;  // index_.procs by name
    // The procedure of the listed files of that name, or null.
    const ProcInfo* procOf(const std::string& name) const {
        auto it = procs_.find(name);
        return it == procs_.end() ? nullptr : it->second;
    }
    std::vector<std::string> out_;
    std::vector<Todo> todos_;
    int indent_ = 1;
    std::set<std::string> jumpedTo_;
    std::set<std::string> formatLabels_;
    std::set<std::string> formatStatements_;  // the labels of the unit's FORMATs, "" once filled
    std::vector<std::string> assignedLabels_;
    std::string resultName_;
    bool resultLocal_ = false;
    bool needIoIndex_ = false;
    bool declared_ = false;
    bool alternateReturn_ = false;
    long long headerLine_ = 0;
    struct Loop {
        std::string label;
        bool isWhile = false;
        std::string var;
        std::string cycle;  // the label a CYCLE jumps to, when one does
    };
    int cycles_ = 0;
    // Open blocks, innermost last: 'I' an If, 'L' a loop.
    std::vector<char> blocks_;
    std::vector<char> savedBlocks_;  // blocks_ as a statement found them, for a refusal to go back to
    bool inIf() const { return !blocks_.empty() && blocks_.back() == 'I'; }
    void closeLoop() {
        // An IF left open inside the loop (FORTRAN that nests badly) is
        // closed first, so that VBA sees whole blocks.
        while (inIf()) {
            --indent_;
            line("End If");
            blocks_.pop_back();
        }
        if (!blocks_.empty()) blocks_.pop_back();
        if (!loops_.back().cycle.empty()) out_.push_back(loops_.back().cycle + ":");
        --indent_;
        line(loops_.back().isWhile ? "Loop" : "Next " + loops_.back().var);
        loops_.pop_back();
    }
    std::vector<Loop> loops_;
    std::map<std::string, const Expr*> substitution_;  // statement function arguments
    std::vector<ExprPtr> heldArguments_;               // arguments made for nested statement functions
    ExprPtr substituted(const Expr& e) const {
        if (e.kind == Expr::Kind::name) {
            if (auto it = substitution_.find(e.text); it != substitution_.end()) {
                auto p = std::make_unique<Expr>();
                p->kind = Expr::Kind::paren;
                p->args.push_back(cloneExpr(*it->second));
                return p;
            }
        }
        ExprPtr c = cloneExpr(e);
        c->args.clear();
        for (const ExprPtr& a : e.args) c->args.push_back(a ? substituted(*a) : nullptr);
        return c;
    }
    std::vector<std::string> extraDeclarations_;
    std::vector<std::string> extraDims_;
    std::set<std::string> extraDimNames_;
    std::set<std::string> variableParameters_;  // PARAMETERs VBA cannot make a Const of
    std::size_t current_ = 0;                   // index of the statement being written
    bool loopChanges(const Stmt& loop, const Expr& bound) const;
    std::optional<std::string> refusedFirst(const Stmt& st) const;
    std::optional<std::string> refusedAtLeft(const Expr& e) const;
    bool quietOperand(const Expr& e) const;
    bool quietLogical(const Expr& e) const;
    std::optional<std::string> refusedInStatementFunction(const Expr& call) const;
    bool quietIndex(const Symbol& s, const Expr& e) const;
    bool writtenQuietly(const Expr& e, BaseType to) const;
    const Symbol* plainScalar(const Expr& e) const;
    bool quietInteger(const Expr& e) const;
};

// What writing the statement would refuse before anything else, when that
// is plain without writing it: a COMPLEX variable or element, or a function
// the listed files do not define, reached first the way writing goes (an
// operation's left operand, a call's first argument), with nothing before
// it that writing would refuse or note. Writing refuses it before it has
// written or noted anything, so refusing it here gives the same; it spares
// the refusal its way up through the writer's recursion, which costs more
// than writing most statements.
std::optional<std::string> UnitWriter::refusedFirst(const Stmt& st) const {
    using K = Stmt::Kind;
    if (!substitution_.empty()) return std::nullopt;
    switch (st.kind) {
        case K::assignment:
            // The value is written first, then the variable.
            if (auto why = refusedAtLeft(*st.exprs[0])) return why;
            if (quietOperand(*st.exprs[0])) return refusedAtLeft(*st.target);
            return std::nullopt;
        case K::ifLogical: {
            // The condition is written first, then the statement it guards,
            // as it would be on its own.
            if (auto why = refusedAtLeft(*st.exprs[0])) return why;
            if (!quietLogical(*st.exprs[0]) || !st.inner) return std::nullopt;
            if (st.inner->kind == K::assignment || st.inner->kind == K::call) return refusedFirst(*st.inner);
            return std::nullopt;
        }
        case K::ifBlock: return refusedAtLeft(*st.exprs[0]);
        // What is refused whatever it holds.
        case K::returnStmt:
            if (!st.exprs.empty()) return "an alternate return";
            return std::nullopt;
        case K::entry: return "ENTRY";
        case K::equivalence: return "EQUIVALENCE";
        case K::include: return "INCLUDE";
        case K::call: {
            const Symbol* s = u_.find(st.name);
            const ProcInfo* proc = procOf(st.name);
            if (s != nullptr && s->dummyIndex >= 0) return std::nullopt;
            if (proc == nullptr) return "the subroutine '" + st.name + "' is not among the listed files";
            const ProcInfo& callee = *proc;
            if (callee.kind != UnitKind::subroutine) return "'" + st.name + "' is not a subroutine";
            // The arguments in order, as args() takes them.
            for (std::size_t i = 0; i < st.exprs.size(); ++i) {
                const Expr& a = *st.exprs[i];
                if (a.kind == Expr::Kind::star || i >= callee.dummies.size()) return std::nullopt;
                const DummyInfo& d = callee.dummies[i];
                if (d.isProcedure) return std::nullopt;
                const Symbol* as = a.kind == Expr::Kind::name ? u_.find(a.text) : nullptr;
                if (d.isArray) {
                    // A whole array of the dummy's type goes as it is, an
                    // element of one as its place in it.
                    if (as != nullptr && as->isArray() && as->type == d.type) continue;
                    if (a.kind == Expr::Kind::call) {
                        const Symbol* es = u_.find(a.text);
                        if (es != nullptr && es->type == d.type && quietIndex(*es, a)) continue;
                    }
                    return std::nullopt;
                }
                if (as != nullptr && as->isArray()) return std::nullopt;
                if (auto why = refusedAtLeft(a)) return why;
                if (!writtenQuietly(a, d.type) && !(a.kind == Expr::Kind::call && quietOperand(a))) return std::nullopt;
            }
            return std::nullopt;
        }
        default: return std::nullopt;
    }
}

// What writing the expression refuses first, when it is plain from the
// operands it writes before any other; nothing when it is not.
std::optional<std::string> UnitWriter::refusedAtLeft(const Expr& from) const {
    const Expr* e = &from;
    while (e != nullptr) {
        switch (e->kind) {
            case Expr::Kind::paren:
            case Expr::Kind::unary:
            case Expr::Kind::substring: e = e->args[0].get(); continue;
            case Expr::Kind::binary:
                // Both operands are written before the operation looks at
                // them: the right one is next when the left one is quiet.
                if (auto why = refusedAtLeft(*e->args[0])) return why;
                if (!quietOperand(*e->args[0])) return std::nullopt;
                e = e->args[1].get();
                continue;
            case Expr::Kind::name: {
                const Symbol* s = u_.find(e->text);
                if (s != nullptr && s->type == BaseType::complex) return "COMPLEX";
                return std::nullopt;
            }
            case Expr::Kind::call: {
                // As call() decides what the name is.
                const Symbol* s = u_.find(e->text);
                if (s != nullptr && s->isArray()) {
                    if (s->type == BaseType::complex) return "COMPLEX";
                    return std::nullopt;
                }
                if (s != nullptr && s->stmtFunction) return refusedInStatementFunction(*e);
                if (s != nullptr && s->dummyIndex >= 0) return std::nullopt;
                const ProcInfo* proc = procOf(e->text);
                if (proc == nullptr) {
                    if ((s == nullptr || !s->external) && isIntrinsicName(e->text)) {
                        // An intrinsic writes its arguments first, in order:
                        // each is reached when those before it are quiet.
                        if (e->args.empty()) return std::nullopt;
                        for (std::size_t i = 0; i + 1 < e->args.size(); ++i) {
                            const ExprPtr& a = e->args[i];
                            if (!a || a->kind == Expr::Kind::star) return std::nullopt;
                            if (auto why = refusedAtLeft(*a)) return why;
                            if (!quietOperand(*a)) return std::nullopt;
                        }
                        if (!e->args.back() || e->args.back()->kind == Expr::Kind::star) return std::nullopt;
                        e = e->args.back().get();
                        continue;
                    }
                    return "the function '" + e->text + "' is not among the listed files";
                }
                const ProcInfo& callee = *proc;
                if (callee.kind != UnitKind::function) return "'" + e->text + "' is a subroutine";
                // Then its first argument, when the dummy takes a value.
                if (e->args.empty() || callee.dummies.empty() || !e->args[0]) return std::nullopt;
                const Expr& a = *e->args[0];
                const DummyInfo& d = callee.dummies[0];
                if (a.kind == Expr::Kind::star || d.isProcedure || d.isArray) return std::nullopt;
                if (a.kind == Expr::Kind::name) {
                    const Symbol* as = u_.find(a.text);
                    if (as != nullptr && as->isArray()) return std::nullopt;
                }
                e = &a;
                continue;
            }
            default: return std::nullopt;
        }
    }
    return std::nullopt;
}

// What writing a call of a statement function refuses first, when it is
// plain: its body is written with its arguments put in, so the way down the
// body's leftmost operands leads to an argument, and then into the actual
// argument, written as it would be in its place.
std::optional<std::string> UnitWriter::refusedInStatementFunction(const Expr& call) const {
    const auto at = u_.stmtFunctions.find(call.text);
    if (at == u_.stmtFunctions.end()) return std::nullopt;
    const Stmt& def = u_.stmts[at->second];
    if (!def.target || def.exprs.empty() || def.target->args.size() != call.args.size()) return std::nullopt;
    const Expr* b = def.exprs[0].get();
    while (b != nullptr) {
        switch (b->kind) {
            case Expr::Kind::paren:
            case Expr::Kind::unary:
            case Expr::Kind::binary:
            case Expr::Kind::substring: b = b->args[0].get(); continue;
            case Expr::Kind::name:
                for (std::size_t i = 0; i < call.args.size(); ++i) {
                    if (def.target->args[i]->text == b->text) {
                        return call.args[i] ? refusedAtLeft(*call.args[i]) : std::nullopt;
                    }
                }
                return std::nullopt;
            case Expr::Kind::call: {
                // Only an intrinsic, which writes its first argument first.
                const Symbol* s = u_.find(b->text);
                if (s != nullptr && (s->isArray() || s->stmtFunction || s->dummyIndex >= 0 || s->external)) {
                    return std::nullopt;
                }
                if (procOf(b->text) != nullptr || !isIntrinsicName(b->text)) return std::nullopt;
                if (b->args.empty() || !b->args[0] || b->args[0]->kind == Expr::Kind::star) return std::nullopt;
                b = b->args[0].get();
                continue;
            }
            default: return std::nullopt;
        }
    }
    return std::nullopt;
}

// Whether writing the expression, as a value for `to` (none: as it is),
// can neither refuse nor note anything (such as a helper it uses): a
// constant, a variable that is a plain scalar, or INTEGER arithmetic
// (+ - * /) of those.
bool UnitWriter::writtenQuietly(const Expr& e, BaseType to) const {
    switch (e.kind) {
        case Expr::Kind::integer:
        case Expr::Kind::logical:
        case Expr::Kind::string: return true;
        // A REAL constant given to an INTEGER goes through FtInt.
        case Expr::Kind::real: return to != BaseType::integer;
        case Expr::Kind::name: return plainScalar(e) != nullptr;
        default: return quietInteger(e);
    }
}

// Whether writing the expression as an operand (or a value to assign)
// can neither refuse nor note anything: as writtenQuietly(), or an element
// of an array that is not COMPLEX, with as many subscripts as it has
// bounds, each a quiet INTEGER, and bounds that element() writes quietly
// (constant lower bounds; upper ones before the last constant or quiet).
bool UnitWriter::quietOperand(const Expr& e) const {
    if (writtenQuietly(e, BaseType::none) || quietLogical(e)) return true;
    if (e.kind != Expr::Kind::call) return false;
    const Symbol* s = u_.find(e.text);
    return s != nullptr && s->type != BaseType::complex && quietIndex(*s, e);
}

// Whether the expression is a LOGICAL written quietly: a constant, a plain
// LOGICAL variable, a comparison of quiet INTEGERs (elements of INTEGER
// arrays among them), or .AND. and .OR. of those.
bool UnitWriter::quietLogical(const Expr& e) const {
    if (e.kind == Expr::Kind::logical) return true;
    if (e.kind == Expr::Kind::name) {
        const Symbol* s = plainScalar(e);
        return s != nullptr && s->type == BaseType::logical;
    }
    if (e.kind == Expr::Kind::paren) return quietLogical(*e.args[0]);
    if (e.kind != Expr::Kind::binary) return false;
    if (e.op == ".and." || e.op == ".or.") return quietLogical(*e.args[0]) && quietLogical(*e.args[1]);
    const bool relation =
        e.op == ".eq." || e.op == ".ne." || e.op == ".lt." || e.op == ".le." || e.op == ".gt." || e.op == ".ge.";
    auto quietInt = [this](const Expr& x) {
        if (quietInteger(x)) return true;
        if (x.kind != Expr::Kind::call) return false;
        const Symbol* s = u_.find(x.text);
        return s != nullptr && s->type == BaseType::integer && quietIndex(*s, x);
    };
    return relation && quietInt(*e.args[0]) && quietInt(*e.args[1]);
}

// Whether linearIndex() writes the element's place in the array quietly.
bool UnitWriter::quietIndex(const Symbol& s, const Expr& e) const {
    if (!s.isArray() || e.args.size() != s.upper.size()) return false;
    for (std::size_t k = 0; k < e.args.size(); ++k) {
        if (!e.args[k] || !quietInteger(*e.args[k])) return false;
        if (s.lower[k] && !constantValue(*s.lower[k], u_)) return false;
        if (k + 1 < e.args.size()) {
            const Expr& hi = *s.upper[k];
            if (hi.kind == Expr::Kind::star) return false;
            if (!constantValue(hi, u_) && !quietInteger(hi)) return false;
        }
    }
    return true;
}

// The symbol of a name that is written as it is, or null.
const Symbol* UnitWriter::plainScalar(const Expr& e) const {
    if (e.kind != Expr::Kind::name) return nullptr;
    const Symbol* s = u_.find(e.text);
    if (s == nullptr || s->type == BaseType::complex || s->isArray() || s->external ||
        (s->calledAsFunction && !s->isParameter && s->dummyIndex < 0)) {
        return nullptr;
    }
    return s;
}

bool UnitWriter::quietInteger(const Expr& e) const {
    switch (e.kind) {
        case Expr::Kind::integer: return true;
        case Expr::Kind::name: {
            const Symbol* s = plainScalar(e);
            return s != nullptr && s->type == BaseType::integer;
        }
        case Expr::Kind::paren: return quietInteger(*e.args[0]);
        case Expr::Kind::unary: return (e.op == "-" || e.op == "+") && quietInteger(*e.args[0]);
        case Expr::Kind::binary:
            return (e.op == "+" || e.op == "-" || e.op == "*" || e.op == "/") && quietInteger(*e.args[0]) &&
                   quietInteger(*e.args[1]);
        default: return false;
    }
}

Code UnitWriter::expr(const Expr& e) {
    Code c;
    switch (e.kind) {
        case Expr::Kind::integer: return literalInteger(e.text);
        case Expr::Kind::real: {
            c.type = e.isDouble ? BaseType::doublePrecision : BaseType::real;
            c.text = realLiteral(e.text);
            c.isLiteral = true;
            c.vt = Vt::doubleV;
            if (!e.isDouble) {
                // A REAL constant is a Single: exact ones need nothing, others
                // are rounded as FORTRAN rounds them.
                const double v = std::strtod(c.text.c_str(), nullptr);
                if (static_cast<double>(static_cast<float>(v)) != v) {
                    c.text = "CSng(" + c.text + ")";
                    c.vt = Vt::single;
                    c.isLiteral = false;
                }
            }
            return c;
        }
        case Expr::Kind::string:
            c.text = quoteVba(e.text);
            c.type = BaseType::character;
            c.vt = Vt::string;
            c.isLiteral = true;
            return c;
        case Expr::Kind::logical:
            c.text = e.text == "true" ? "True" : "False";
            c.type = BaseType::logical;
            c.vt = Vt::boolean;
            c.isLiteral = true;
            return c;
        case Expr::Kind::name: return name(e);
        case Expr::Kind::call: return call(e);
        case Expr::Kind::paren: {
            Code inner = expr(*e.args[0]);
            return inner;  // VBA's own precedence decides the parentheses
        }
        case Expr::Kind::unary: {
            Code a = expr(*e.args[0]);
            if (e.op == ".not.") {
                if (a.type != BaseType::logical) refuse(".NOT. of a value that is not LOGICAL");
                // LibreOffice reads "Not a And b" as Not (a And b), VBA as
                // (Not a) And b: a Not is always in parentheses, and so is
                // its operand unless it is a single term.
                c.text = "Not " + paren(a, kAtom);
                c.prec = kEqv - 1;
                c.type = BaseType::logical;
                c.vt = Vt::boolean;
                return c;
            }
            if (!isNumeric(a.type)) refuse("a sign before a value that is not a number");
            if (e.op == "+") return a;
            // VBA's unary minus binds tighter than * and /, and LibreOffice gets
            // -x ^ 2 wrong: a power is always put in parentheses.
            c.text = "-" + (a.prec == kPow ? "(" + a.text + ")" : paren(a, kNeg + 1));
            c.prec = kNeg;
            c.type = a.type;
            c.vt = a.vt;
            return c;
        }
        case Expr::Kind::binary: return binary(e);
        case Expr::Kind::substring: {
            Code base = expr(*e.args[0]);
            if (base.type != BaseType::character) refuse("a substring of a value that is not CHARACTER");
            Code lo = e.args[1] ? convert(expr(*e.args[1]), BaseType::integer) : literalInteger("1");
            c.type = BaseType::character;
            c.vt = Vt::string;
            if (!e.args[2]) {
                c.text = "Mid$(" + base.text + ", " + lo.text + ")";
            } else {
                Code hi = convert(expr(*e.args[2]), BaseType::integer);
                std::string length;
                if (lo.isLiteral && lo.text == "1") {
                    length = hi.text;
                } else if (lo.isLiteral && hi.isLiteral) {
                    length = std::to_string(std::atoll(hi.text.c_str()) - std::atoll(lo.text.c_str()) + 1);
                } else {
                    length = paren(hi, kAdd) + " - " + paren(lo, kAdd + 1) + " + 1";
                }
                c.text = "Mid$(" + base.text + ", " + lo.text + ", " + length + ")";
            }
            return c;
        }
        case Expr::Kind::impliedDo: refuse("an implied DO outside an input/output list");
        case Expr::Kind::star: refuse("an alternate return");
    }
    refuse("an expression this translator does not know");
}

Code UnitWriter::name(const Expr& e) {
    if (auto it = substitution_.find(e.text); it != substitution_.end()) {
        // A statement function's argument: the actual argument, whole.
        std::map<std::string, const Expr*> saved;
        saved.swap(substitution_);
        Code c = expr(*it->second);
        saved.swap(substitution_);
        if (c.prec < kAtom) {
            c.text = "(" + c.text + ")";
            c.prec = kAtom;
        }
        return c;
    }
    const Symbol& s = symbol(e.text);
    Code c;
    c.type = s.type;
    c.vt = vtOf(s.type);
    if (s.type == BaseType::complex) refuse("COMPLEX");
    if (s.isArray()) refuse("the whole array '" + e.text + "' in an expression");
    if (u_.kind == UnitKind::function && s.name == u_.name) {
        c.text = resultName_;
        return c;
    }
    if (s.external || (s.calledAsFunction && !s.isParameter && s.dummyIndex < 0)) {
        refuse("a procedure '" + e.text + "' passed as an argument");
    }
    c.text = s.isParameter ? vbaName(s.name) : ref(s);
    return c;
}

std::string UnitWriter::extent(const Symbol& s, std::size_t k) {
    const Expr& hi = *s.upper[k];
    if (hi.kind == Expr::Kind::star) refuse("an assumed-size bound before the last");
    auto hv = constantValue(hi, u_);
    std::optional<long long> lv = s.lower[k] ? constantValue(*s.lower[k], u_) : std::optional<long long>(1);
    if (hv && lv) return std::to_string(*hv - *lv + 1);
    Code h = convert(expr(hi), BaseType::integer);
    if (lv && *lv == 1) return h.text;
    Code l = convert(expr(*s.lower[k]), BaseType::integer);
    return "(" + paren(h, kAdd) + " - " + paren(l, kAdd + 1) + " + 1)";
}

std::optional<long long> UnitWriter::arraySize(const Symbol& s) {
    long long size = 1;
    for (std::size_t k = 0; k < s.upper.size(); ++k) {
        if (s.upper[k]->kind == Expr::Kind::star) return std::nullopt;
        auto hv = constantValue(*s.upper[k], u_);
        auto lv = s.lower[k] ? constantValue(*s.lower[k], u_) : std::optional<long long>(1);
        if (!hv || !lv) return std::nullopt;
        size *= *hv - *lv + 1;
    }
    return size;
}

std::string UnitWriter::elementCount(const Symbol& s) {
    if (auto size = arraySize(s)) return std::to_string(*size);
    std::string count;
    for (std::size_t k = 0; k < s.upper.size(); ++k) count += (k ? " * " : "") + extent(s, k);
    return count;
}

// Index 1 is the first element; `shift` is added (-1 gives the offset of
// the element from the start of the array).
std::string UnitWriter::linearIndex(const Symbol& s, const Expr& e, long long shift) {
    if (e.args.size() != s.upper.size()) refuse("'" + e.text + "' with a different number of subscripts");
    long long constant = 1 + shift;
    std::vector<std::string> terms;
    std::string stride;  // empty: 1
    long long strideValue = 1;
    bool strideKnown = true;
    for (std::size_t k = 0; k < e.args.size(); ++k) {
        std::optional<long long> lv = s.lower[k] ? constantValue(*s.lower[k], u_) : std::optional<long long>(1);
        const std::string st = strideKnown ? std::to_string(strideValue) : stride;
        const bool unitStride = strideKnown && strideValue == 1;
        if (!lv) {
            // (sub - low) * stride
            Code sub = convert(expr(*e.args[k]), BaseType::integer);
            const std::string lowText = paren(convert(expr(*s.lower[k]), BaseType::integer), kAdd + 1);
            std::string t = paren(sub, kAdd) + " - " + lowText;
            if (!unitStride) t = "(" + t + ") * " + st;
            terms.push_back(t);
        } else {
            // The subscript as base + c, so that constants fold: a(1, j)
            // and a(n + 1, 1) read as they would by hand.
            const Expr* base = e.args[k].get();
            long long c = 0;
            if (auto sv = substitution_.empty() ? constantValue(*base, u_) : std::nullopt) {
                c = *sv;
                base = nullptr;
            } else if (substitution_.empty() && base->kind == Expr::Kind::binary &&
                       (base->op == "+" || base->op == "-")) {
                if (auto rv = constantValue(*base->args[1], u_)) {
                    c = base->op == "+" ? *rv : -*rv;
                    base = base->args[0].get();
                }
            }
            const long long d = c - *lv;
            if (strideKnown) {
                constant += d * strideValue;
                if (base != nullptr) {
                    Code b = convert(expr(*base), BaseType::integer);
                    terms.push_back(unitStride ? paren(b, kAdd) : paren(b, kMul) + " * " + st);
                }
            } else if (base == nullptr) {
                if (d == 1) {
                    terms.push_back(st);
                } else if (d != 0) {
                    terms.push_back(std::to_string(d) + " * " + st);
                }
            } else {
                Code b = convert(expr(*base), BaseType::integer);
                if (d == 0) {
                    terms.push_back(paren(b, kMul) + " * " + st);
                } else {
                    terms.push_back("(" + paren(b, kAdd) + (d > 0 ? " + " : " - ") + std::to_string(d > 0 ? d : -d) +
                                    ") * " + st);
                }
            }
        }
        if (k + 1 < e.args.size()) {
            const std::string ext = extent(s, k);
            const bool known = !ext.empty() && ext.find_first_not_of("0123456789") == std::string::npos;
            if (strideKnown && known) {
                strideValue *= std::atoll(ext.c_str());
            } else {
                const std::string prev = strideKnown ? (strideValue == 1 ? "" : std::to_string(strideValue)) : stride;
                stride = prev.empty() ? ext : prev + " * " + ext;
                strideKnown = false;
            }
        }
    }
    std::string out;
    for (const std::string& t : terms) out += (out.empty() ? "" : " + ") + t;
    if (out.empty()) return std::to_string(constant);
    if (constant > 0) out += " + " + std::to_string(constant);
    if (constant < 0) out += " - " + std::to_string(-constant);
    return out;
}

Code UnitWriter::element(const Symbol& s, const Expr& e) {
    Code c;
    c.type = s.type;
    c.vt = vtOf(s.type);
    if (s.type == BaseType::complex) refuse("COMPLEX");
    std::string index = linearIndex(s, e, 0);
    const std::string off = offsetOf(s);
    if (!off.empty()) index = off + " + " + index;
    c.text = ref(s) + "(" + index + ")";
    return c;
}

Code UnitWriter::call(const Expr& e) {
    const Symbol* s = u_.find(e.text);
    if (s != nullptr && s->isArray()) return element(*s, e);
    if (s != nullptr && s->stmtFunction) {
        const Stmt& def = u_.stmts[u_.stmtFunctions.at(e.text)];
        if (def.target->args.size() != e.args.size()) refuse("statement function called with a different count");
        // The actual arguments are read where the call is: inside another
        // statement function's body, with that one's arguments put in.
        std::map<std::string, const Expr*> sub;
        for (std::size_t i = 0; i < e.args.size(); ++i) {
            const Expr* actual = e.args[i].get();
            if (!substitution_.empty()) {
                heldArguments_.push_back(substituted(*actual));
                actual = heldArguments_.back().get();
            }
            sub[def.target->args[i]->text] = actual;
        }
        std::map<std::string, const Expr*> saved;
        saved.swap(substitution_);
        substitution_ = std::move(sub);
        Code body = convert(expr(*def.exprs[0]), s->type);
        substitution_.swap(saved);
        if (body.prec < kAtom) {
            body.text = "(" + body.text + ")";
            body.prec = kAtom;
        }
        return body;
    }
    const bool declaredProc = procOf(e.text) != nullptr;
    const bool dummyProc = s != nullptr && s->dummyIndex >= 0;
    if (dummyProc) return dummyFunction(*s, e);
    if (!declaredProc && (s == nullptr || !s->external) && isIntrinsicName(e.text)) return intrinsic(e.text, e);
    return userFunction(e);
}

std::string UnitWriter::args(const Expr& e, const ProcInfo* callee, const std::vector<ExprPtr>& list) {
    (void)e;
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!out.empty()) out += ", ";
        const Expr& a = *list[i];
        if (a.kind == Expr::Kind::star) refuse("an alternate return");
        const DummyInfo* d = callee != nullptr && i < callee->dummies.size() ? &callee->dummies[i] : nullptr;
        if (callee != nullptr && i >= callee->dummies.size())
            refuse("more arguments than '" + callee->spelling + "' takes");
        const Symbol* s = (a.kind == Expr::Kind::name || a.kind == Expr::Kind::call) ? u_.find(a.text) : nullptr;
        if (d != nullptr && d->isProcedure) {
            // A procedure goes by its name, which the callee dispatches on.
            if (a.kind != Expr::Kind::name) refuse("an expression passed where a procedure is expected");
            if (s != nullptr && s->dummyIndex >= 0 && (s->external || s->calledAsFunction)) {
                out += vbaName(s->name);
            } else if (procOf(a.text) != nullptr) {
                out += quoteVba(vbaName(a.text));
            } else {
                refuse("the procedure '" + a.text + "' passed as an argument is not among the listed files");
            }
            continue;
        }
        if (d != nullptr && d->isArray) {
            if (s == nullptr || !s->isArray()) {
                out += scalarAsArray(a, *d, *callee);
                continue;
            }
            if (s->type != d->type) refuse("an array of another type passed to '" + callee->spelling + "'");
            const std::string off = offsetOf(*s);
            if (a.kind == Expr::Kind::name) {
                out += ref(*s) + ", " + (off.empty() ? "0" : off);
            } else {
                std::string index = linearIndex(*s, a, -1);
                if (!off.empty()) index = index == "0" ? off : off + " + " + index;
                out += ref(*s) + ", " + index;
            }
            continue;
        }
        if (s != nullptr && s->isArray() && a.kind == Expr::Kind::name) {
            if (callee != nullptr) refuse("an array passed where '" + callee->spelling + "' takes a scalar");
            out += ref(*s);
            continue;
        }
        Code c = expr(a);
        if (d != nullptr && d->type != c.type && isNumeric(d->type) && isNumeric(c.type) && c.isLiteral) {
            c = convert(c, d->type);
        }
        out += c.text;
    }
    return out;
}

std::string UnitWriter::scalarAsArray(const Expr& a, const DummyInfo& d, const ProcInfo& callee) {
    if (noTemporaries_) refuse("a scalar passed where '" + callee.spelling + "' takes an array");
    if (a.kind == Expr::Kind::substring) refuse("a substring passed where '" + callee.spelling + "' takes an array");
    Code value = expr(a);
    if (value.type != d.type) {
        if (!(value.isLiteral && isNumeric(value.type) && isNumeric(d.type)))
            refuse("a scalar of another type passed where '" + callee.spelling + "' takes an array");
        value = convert(value, d.type);
    }
    const Symbol* s = a.kind == Expr::Kind::name ? u_.find(a.text) : nullptr;
    const bool variable = s != nullptr && !s->isParameter && substitution_.empty();
    std::string temp;
    if (variable) {
        temp = ref(*s) + "_a";
    } else {
        temp = "arg_a" + std::to_string(++temporaries_);
    }
    if (extraDimNames_.insert(temp).second) {
        extraDims_.push_back("Dim " + temp + "(1 To 1) As " + std::string(vbaType(d.type)));
    }
    // At the statement's indent: a logical IF's statement is written one deeper.
    const std::string pad(static_cast<std::size_t>(std::max(statementIndent_, 0)) * 4, ' ');
    preLines_.push_back(pad + temp + "(1) = " + value.text);
    if (variable) postLines_.push_back(pad + value.text + " = " + temp + "(1)");
    return temp + ", 0";
}

void UnitWriter::dispatch(const Symbol& dummy, const std::vector<ExprPtr>& list, UnitKind kind,
                          const std::string& result) {
    std::vector<std::string> lines;
    const std::string pad(static_cast<std::size_t>(std::max(indent_, 0)) * 4, ' ');
    lines.push_back(pad + "Select Case " + vbaName(dummy.name));
    int fits = 0;
    Expr none;
    for (const auto& [name, proc] : index_.procs) {
        if (proc.kind != kind || proc.dummies.size() != list.size()) continue;
        if (kind == UnitKind::function && proc.type != dummy.type) continue;
        std::string a;
        noTemporaries_ = true;
        try {
            a = args(none, &proc, list);
        } catch (const Untranslatable&) {
            noTemporaries_ = false;
            continue;  // does not fit the call
        }
        noTemporaries_ = false;
        ++fits;
        lines.push_back(pad + "Case " + quoteVba(vbaName(name)));
        const std::string call = vbaName(name) + (a.empty() && kind == UnitKind::subroutine ? "" : "(" + a + ")");
        lines.push_back(pad + "    " + (kind == UnitKind::subroutine ? "Call " + call : result + " = " + call));
    }
    if (fits == 0) refuse("no procedure of the listed files fits the call of '" + dummy.name + "'");
    lines.push_back(pad + "End Select");
    if (kind == UnitKind::subroutine) {
        out_.insert(out_.end(), lines.begin(), lines.end());
    } else {
        preLines_.insert(preLines_.end(), lines.begin(), lines.end());
    }
}

Code UnitWriter::dummyFunction(const Symbol& dummy, const Expr& e) {
    if (!substitution_.empty()) refuse("a procedure argument called in a statement function");
    const std::string result = vbaName(dummy.name) + "_v" + std::to_string(dispatchResults_.size() + 1);
    dispatch(dummy, e.args, UnitKind::function, result);
    dispatchResults_.insert(result);
    extraDims_.push_back("Dim " + result + " As " + vbaType(dummy.type));
    Code c;
    c.text = result;
    c.type = dummy.type;
    c.vt = vtOf(dummy.type);
    return c;
}

Code UnitWriter::userFunction(const Expr& e) {
    const ProcInfo* callee = procOf(e.text);
    if (callee != nullptr && callee->kind != UnitKind::function) refuse("'" + e.text + "' is a subroutine");
    if (callee == nullptr) refuse("the function '" + e.text + "' is not among the listed files");
    Code c;
    c.type = callee->type;
    c.vt = vtOf(c.type);
    c.text = vbaName(e.text) + "(" + args(e, callee, e.args) + ")";
    if (c.type == BaseType::character) {
        // A CHARACTER*(*) function is as long as its caller declares it.
        const Symbol* s = u_.find(e.text);
        const std::string length = s != nullptr && s->length ? stringLength(*s) : "";
        if (!length.empty()) c.text = helper("FtPad") + "(" + c.text + ", " + length + ")";
    }
    return c;
}

Code UnitWriter::convert(Code c, BaseType to) {
    if (c.type == to || to == BaseType::none) return c;
    if (to == BaseType::integer && (c.type == BaseType::real || c.type == BaseType::doublePrecision)) {
        c.text = helper("FtInt") + "(" + c.text + ")";
    } else if (to == BaseType::real && isNumeric(c.type)) {
        return asSingle(c);
    } else if (to == BaseType::doublePrecision && isNumeric(c.type)) {
        if (c.isLiteral && c.type == BaseType::integer) {
            c.type = to;
            return c;
        }
        c.text = "CDbl(" + c.text + ")";
        c.vt = Vt::doubleV;
    } else {
        refuse("a value of another type");
    }
    c.prec = kAtom;
    c.type = to;
    c.isLiteral = false;
    return c;
}

Code UnitWriter::binary(const Expr& e) {
    const std::string& op = e.op;
    Code a = expr(*e.args[0]);
    Code b = expr(*e.args[1]);
    Code c;
    if (a.type == BaseType::complex || b.type == BaseType::complex) refuse("COMPLEX");
    auto bin = [&](const Code& l, const std::string& vop, const Code& r, int prec) {
        Code o;
        o.text = paren(l, prec) + " " + vop + " " + paren(r, prec + 1);
        o.prec = prec;
        return o;
    };
    if (op == "//") {
        if (a.type != BaseType::character || b.type != BaseType::character)
            refuse("// of values that are not CHARACTER");
        c = bin(a, "&", b, kCat);
        c.type = BaseType::character;
        c.vt = Vt::string;
        return c;
    }
    if (op == ".and." || op == ".or." || op == ".eqv." || op == ".neqv.") {
        if (a.type != BaseType::logical || b.type != BaseType::logical) refuse(op + " of values that are not LOGICAL");
        const int prec = op == ".and." ? kAnd : op == ".or." ? kOr : op == ".eqv." ? kEqv : kXor;
        // LibreOffice does not rank And above Or as VBA does: another
        // logical operator under this one is always in parentheses.
        auto logicalChild = [&](Code& x) {
            if (x.prec >= kEqv && x.prec <= kAnd && x.prec != prec) {
                x.text = "(" + x.text + ")";
                x.prec = kAtom;
            }
        };
        logicalChild(a);
        logicalChild(b);
        c = bin(a, op == ".and." ? "And" : op == ".or." ? "Or" : op == ".eqv." ? "Eqv" : "Xor", b, prec);
        c.type = BaseType::logical;
        c.vt = Vt::boolean;
        return c;
    }
    static const std::map<std::string, std::string> kRelations = {{".eq.", "="},  {".ne.", "<>"}, {".lt.", "<"},
                                                                  {".le.", "<="}, {".gt.", ">"},  {".ge.", ">="}};
    if (auto rel = kRelations.find(op); rel != kRelations.end()) {
        if (a.type == BaseType::character && b.type == BaseType::character) {
            Code call;
            call.text = helper("FtStrCmp") + "(" + a.text + ", " + b.text + ")";
            Code zero = literalInteger("0");
            c = bin(call, rel->second, zero, kRel);
        } else if (isNumeric(a.type) && isNumeric(b.type)) {
            // Compared in the wider type, as FORTRAN converts first.
            const BaseType t = promote(a.type, b.type);
            if (t == BaseType::real) {
                a = convert(a, t);
                b = convert(b, t);
            }
            c = bin(a, rel->second, b, kRel);
        } else {
            refuse("a comparison of values of other types");
        }
        c.type = BaseType::logical;
        c.vt = Vt::boolean;
        return c;
    }
    if (!isNumeric(a.type) || !isNumeric(b.type)) refuse("arithmetic on values that are not numbers");
    const BaseType t = promote(a.type, b.type);
    if (op == "**") {
        if (b.type == BaseType::integer) {
            if (t == BaseType::integer) {
                c.text = helper("FtIPow") + "(" + a.text + ", " + b.text + ")";
            } else if (b.isLiteral && b.text == "2") {
                // x * x, exact, as compilers write x**2.
                Code x = t == BaseType::real ? convert(a, t) : a;
                c.text = paren(x, kMul) + " * " + paren(x, kMul + 1);
                c.prec = kMul;
            } else {
                c.text = helper("FtPowI") + "(" + convert(a, BaseType::doublePrecision).text + ", " + b.text + ")";
            }
        } else {
            c.text = paren(convert(a, t == BaseType::real ? BaseType::doublePrecision : t), kPow + 1) + " ^ " +
                     paren(convert(b, t == BaseType::real ? BaseType::doublePrecision : t), kPow + 1);
            c.prec = kPow;
        }
        c.type = t;
        c.vt = t == BaseType::integer ? Vt::longV : Vt::doubleV;
        if (c.prec == kAtom && c.text.rfind("FtIPow", 0) != 0 && t == BaseType::integer) c.vt = Vt::longV;
        if (t == BaseType::real) c = asSingle(c);
        return c;
    }
    if (t == BaseType::integer) {
        if (op == "/") {
            c = bin(a, "\\", b, kIDiv);
        } else {
            // Two Integer literals would multiply in 16 bits.
            if (a.vt == Vt::integerLit && b.vt == Vt::integerLit) a.text += "&";
            c = bin(a, op, b, op == "*" ? kMul : kAdd);
        }
        c.type = t;
        c.vt = Vt::longV;
        return c;
    }
    if (t == BaseType::real) {
        a = convert(a, t);
        b = convert(b, t);
    }
    c = bin(a, op, b, op == "*" || op == "/" ? kMul : kAdd);
    c.type = t;
    c.vt = Vt::doubleV;  // LibreOffice computes even Singles in Double
    // REAL arithmetic rounds each result to single precision.
    if (t == BaseType::real) c = asSingle(c);
    return c;
}

Code UnitWriter::intrinsic(const std::string& n, const Expr& e) {
    std::vector<Code> a;
    for (const ExprPtr& arg : e.args) {
        if (!arg || arg->kind == Expr::Kind::star) refuse("an intrinsic with an empty argument");
        a.push_back(expr(*arg));
    }
    auto need = [&](std::size_t count) {
        if (a.size() != count) refuse("'" + n + "' with " + std::to_string(a.size()) + " arguments");
    };
    auto callOf = [&](const std::string& f, const std::vector<std::string>& texts, BaseType type) {
        Code c;
        c.text = f + "(";
        for (std::size_t i = 0; i < texts.size(); ++i) c.text += (i ? ", " : "") + texts[i];
        c.text += ")";
        c.type = type;
        c.vt = vtOf(type);
        return c;
    };
    auto floating = [&](const Code& x) {
        if (x.type == BaseType::integer) refuse("'" + n + "' of an INTEGER");
        return x.type;
    };
    // A built-in of VBA that works in Double: a REAL result is rounded back.
    auto builtin = [&](const std::string& f) {
        need(1);
        const BaseType t = floating(a[0]);
        if (t == BaseType::complex) refuse("COMPLEX");
        Code c = callOf(f, {a[0].text}, t);
        if (t == BaseType::real) {
            c.vt = Vt::doubleV;
            c = asSingle(c);
        }
        return c;
    };
    auto doubleHelper = [&](const std::string& f) {
        const BaseType t = floating(a[0]);
        std::vector<std::string> texts;
        for (Code& x : a) texts.push_back(convert(x, BaseType::doublePrecision).text);
        Code c = callOf(helper(f), texts, t);
        if (t == BaseType::real) {
            c.vt = Vt::doubleV;
            c = asSingle(c);
        }
        return c;
    };
    // Generic by the arguments' type: Long or Double helper.
    auto generic = [&](const std::string& longName, const std::string& doubleName, BaseType forced) {
        BaseType t = forced;
        if (t == BaseType::none) {
            t = a[0].type;
            for (const Code& x : a) t = promote(t, x.type);
        }
        if (t == BaseType::integer) {
            std::vector<std::string> texts;
            for (Code& x : a) texts.push_back(convert(x, BaseType::integer).text);
            return callOf(helper(longName), texts, t);
        }
        std::vector<std::string> texts;
        for (Code& x : a) texts.push_back(convert(x, BaseType::doublePrecision).text);
        Code c = callOf(helper(doubleName), texts, t);
        if (t == BaseType::real) {
            c.vt = Vt::doubleV;
            c = asSingle(c);
        }
        return c;
    };
    if (n == "abs" || n == "iabs" || n == "dabs") {
        need(1);
        if (a[0].type == BaseType::integer) return callOf("CLng", {"Abs(" + a[0].text + ")"}, BaseType::integer);
        return builtin("Abs");
    }
    if (n == "sqrt" || n == "dsqrt") return builtin("Sqr");
    if (n == "exp" || n == "dexp") return builtin("Exp");
    if (n == "log" || n == "alog" || n == "dlog") return builtin("Log");
    if (n == "sin" || n == "dsin") return builtin("Sin");
    if (n == "cos" || n == "dcos") return builtin("Cos");
    if (n == "tan" || n == "dtan") return builtin("Tan");
    if (n == "atan" || n == "datan") return builtin("Atn");
    if (n == "log10" || n == "alog10" || n == "dlog10") return need(1), doubleHelper("FtLog10");
    if (n == "asin" || n == "dasin") return need(1), doubleHelper("FtAsin");
    if (n == "acos" || n == "dacos") return need(1), doubleHelper("FtAcos");
    if (n == "sinh" || n == "dsinh") return need(1), doubleHelper("FtSinh");
    if (n == "cosh" || n == "dcosh") return need(1), doubleHelper("FtCosh");
    if (n == "tanh" || n == "dtanh") return need(1), doubleHelper("FtTanh");
    if (n == "atan2" || n == "datan2") return need(2), doubleHelper("FtAtan2");
    if (n == "mod" || n == "amod" || n == "dmod") return need(2), generic("FtModL", "FtModD", BaseType::none);
    if (n == "sign" || n == "isign" || n == "dsign") return need(2), generic("FtSignL", "FtSignD", BaseType::none);
    if (n == "dim" || n == "idim" || n == "ddim") return need(2), generic("FtDimL", "FtDimD", BaseType::none);
    if (n == "int" || n == "ifix" || n == "idint") {
        need(1);
        return convert(a[0], BaseType::integer);
    }
    if (n == "nint" || n == "idnint") {
        need(1);
        floating(a[0]);
        return callOf(helper("FtNint"), {convert(a[0], BaseType::doublePrecision).text}, BaseType::integer);
    }
    if (n == "anint" || n == "dnint") return need(1), doubleHelper("FtAnint");
    if (n == "aint" || n == "dint") return builtin("Fix");
    if (n == "max" || n == "min" || n == "max0" || n == "min0" || n == "amax1" || n == "amin1" || n == "dmax1" ||
        n == "dmin1" || n == "amax0" || n == "amin0" || n == "max1" || n == "min1") {
        if (a.size() < 2) refuse("'" + n + "' with fewer than two arguments");
        const bool isMax = n.find("max") != std::string::npos;
        BaseType argType = a[0].type;
        for (const Code& x : a) argType = promote(argType, x.type);
        if (n == "max0" || n == "min0" || n == "amax0" || n == "amin0") argType = BaseType::integer;
        if (n == "amax1" || n == "amin1" || n == "max1" || n == "min1") argType = BaseType::real;
        if (n == "dmax1" || n == "dmin1") argType = BaseType::doublePrecision;
        const std::string f =
            helper(argType == BaseType::integer ? (isMax ? "FtMaxL" : "FtMinL") : (isMax ? "FtMaxD" : "FtMinD"));
        const BaseType conv = argType == BaseType::integer ? BaseType::integer : BaseType::doublePrecision;
        std::string text = convert(a[0], conv).text;
        for (std::size_t i = 1; i < a.size(); ++i) text = f + "(" + text + ", " + convert(a[i], conv).text + ")";
        Code c;
        c.text = text;
        c.type = argType;
        c.vt = vtOf(conv);
        if (argType == BaseType::real) c = asSingle(c);
        if (n == "amax0" || n == "amin0") c = convert(c, BaseType::real);
        if (n == "max1" || n == "min1") c = convert(c, BaseType::integer);
        return c;
    }
    if (n == "real" || n == "float" || n == "sngl") {
        need(1);
        return asSingle(a[0]);
    }
    if (n == "dble" || n == "dfloat") {
        need(1);
        Code c = a[0];
        c.text = "CDbl(" + c.text + ")";
        c.prec = kAtom;
        c.type = BaseType::doublePrecision;
        c.vt = Vt::doubleV;
        c.isLiteral = false;
        return c;
    }
    if (n == "dprod") {
        need(2);
        Code c;
        c.text = "CDbl(" + a[0].text + ") * CDbl(" + a[1].text + ")";
        c.prec = kMul;
        c.type = BaseType::doublePrecision;
        c.vt = Vt::doubleV;
        return c;
    }
    if (n == "ichar") return need(1), callOf(helper("FtIchar"), {a[0].text}, BaseType::integer);
    if (n == "char") return need(1), callOf(helper("FtChar"), {a[0].text}, BaseType::character);
    if (n == "index") return need(2), callOf(helper("FtIndex"), {a[0].text, a[1].text}, BaseType::integer);
    if (n == "len") {
        need(1);
        if (assumedLengthResult(*e.args[0])) refuse("LEN of a CHARACTER*(*) function's result inside it");
        Code c = callOf("Len", {a[0].text}, BaseType::integer);
        return c;
    }
    if (n == "len_trim") return need(1), callOf(helper("FtLenTrim"), {a[0].text}, BaseType::integer);
    if (n == "lge" || n == "lgt" || n == "lle" || n == "llt") {
        need(2);
        const std::string op = n == "lge" ? ">=" : n == "lgt" ? ">" : n == "lle" ? "<=" : "<";
        Code c;
        c.text = helper("FtStrCmp") + "(" + a[0].text + ", " + a[1].text + ") " + op + " 0";
        c.prec = kRel;
        c.type = BaseType::logical;
        c.vt = Vt::boolean;
        return c;
    }
    static const std::map<std::string, std::pair<std::string, bool>> kInquiry = {
        {"epsilon", {"Epsilon", false}}, {"huge", {"Huge", false}},         {"tiny", {"Tiny", false}},
        {"digits", {"Digits", true}},    {"minexponent", {"MinExp", true}}, {"maxexponent", {"MaxExp", true}}};
    if (auto q = kInquiry.find(n); q != kInquiry.end()) {
        need(1);
        const bool dbl = a[0].type == BaseType::doublePrecision;
        Code c = callOf(helper("Ft" + q->second.first + (dbl ? "D" : "S")), {},
                        q->second.second ? BaseType::integer : a[0].type);
        c.text = c.text.substr(0, c.text.size() - 2) + "()";
        return c;
    }
    if (n == "radix") {
        need(1);
        Code c = callOf(helper("FtRadix"), {}, BaseType::integer);
        return c;
    }
    refuse("the intrinsic '" + n + "'");
}

// Whether x is, inside a CHARACTER*(*) function, its result: its length is
// its caller's, which the function does not know.
bool UnitWriter::assumedLengthResult(const Expr& x) const {
    if (u_.kind != UnitKind::function || x.kind != Expr::Kind::name || x.text != u_.name) return false;
    const Symbol* s = u_.find(x.text);
    return s != nullptr && s->length && s->length->kind == Expr::Kind::star;
}

std::string UnitWriter::stringLength(const Symbol& s) {
    if (!s.length) return "1";
    if (s.length->kind == Expr::Kind::star) return "";
    if (auto v = constantValue(*s.length, u_)) return std::to_string(*v);
    return convert(expr(*s.length), BaseType::integer).text;
}

// The length of the substring target of base from lo, as VBA text.
std::string UnitWriter::substringLength(const Expr& target, const Code& base, const Code& lo) {
    if (!target.args[2]) return "Len(" + base.text + ") - " + paren(lo, kAdd + 1) + " + 1";
    Code hi = convert(expr(*target.args[2]), BaseType::integer);
    if (lo.isLiteral && lo.text == "1") return hi.text;
    if (lo.isLiteral && hi.isLiteral) {
        return std::to_string(std::atoll(hi.text.c_str()) - std::atoll(lo.text.c_str()) + 1);
    }
    return paren(hi, kAdd) + " - " + paren(lo, kAdd + 1) + " + 1";
}

std::string UnitWriter::assignTo(const Expr& target, const Expr& valueExpr) {
    Code value = expr(valueExpr);
    if (target.kind == Expr::Kind::substring) {
        Code base = expr(*target.args[0]);
        if (base.type != BaseType::character) refuse("a substring of a value that is not CHARACTER");
        if (value.type != BaseType::character) refuse("a value that is not CHARACTER given to a substring");
        if (assumedLengthResult(*target.args[0])) refuse("a substring of a CHARACTER*(*) function's result");
        Code lo = target.args[1] ? convert(expr(*target.args[1]), BaseType::integer) : literalInteger("1");
        const std::string length = substringLength(target, base, lo);
        return "Mid$(" + base.text + ", " + lo.text + ", " + length + ") = " + helper("FtPad") + "(" + value.text +
               ", " + length + ")";
    }
    Code lhs = expr(target);
    if (lhs.type == BaseType::character) {
        if (value.type != BaseType::character) refuse("a value that is not CHARACTER given to a CHARACTER variable");
        const Symbol* s = u_.find(target.text);
        std::string length = s != nullptr ? stringLength(*s) : "";
        // The result of a CHARACTER*(*) function: its caller gives the length.
        if (length.empty() && u_.kind == UnitKind::function && s != nullptr && s->name == u_.name) {
            return lhs.text + " = " + value.text;
        }
        if (length.empty()) length = "Len(" + lhs.text + ")";
        return lhs.text + " = " + helper("FtPad") + "(" + value.text + ", " + length + ")";
    }
    if (lhs.type == BaseType::logical) {
        if (value.type != BaseType::logical) refuse("a value that is not LOGICAL given to a LOGICAL variable");
        return lhs.text + " = " + value.text;
    }
    if (!isNumeric(lhs.type) || !isNumeric(value.type)) refuse("an assignment between other types");
    if (lhs.type == BaseType::integer) value = convert(value, BaseType::integer);
    return lhs.text + " = " + value.text;
}

void UnitWriter::closeLoops(const std::string& label) {
    if (label.empty()) return;
    while (!loops_.empty() && loops_.back().label == label) {
        closeLoop();
    }
}

void UnitWriter::exitProcedure() {
    if (u_.kind == UnitKind::function) {
        if (resultLocal_) line(vbaName(u_.name) + " = " + resultName_);
        line("Exit Function");
    } else {
        line("Exit Sub");
    }
}

std::string UnitWriter::unitArg(const Stmt& st) {
    if (!st.io.unit) return "-1";
    Code c = expr(*st.io.unit);
    if (c.type == BaseType::character) refuse("input/output on an internal file");
    return convert(c, BaseType::integer).text;
}

std::string UnitWriter::formatArg(const Stmt& st) {
    if (!st.io.format) return "\"*\"";
    const Expr& f = *st.io.format;
    if (f.kind == Expr::Kind::integer) {
        if (formatStatements_.empty()) {
            formatStatements_.insert("");
            for (const Stmt& x : u_.stmts) {
                if (x.kind == Stmt::Kind::format) formatStatements_.insert(x.label);
            }
        }
        // A FORMAT that could not be read is a marked comment: no Fmt_ constant.
        if (formatStatements_.count(f.text) == 0) refuse("FORMAT " + f.text + " was not read");
        formatLabels_.insert(f.text);
        return "Fmt_" + f.text;
    }
    Code c = expr(f);
    if (c.type != BaseType::character) refuse("a FORMAT given by a variable (ASSIGN)");
    return c.text;
}

void UnitWriter::ioList(const std::vector<ExprPtr>& items, bool reading) {
    for (const ExprPtr& item : items) {
        if (item->kind == Expr::Kind::impliedDo) {
            const Expr& d = *item;
            const Symbol& v = symbol(d.args[d.items]->text);
            std::string head = "For " + ref(v) + " = " + convert(expr(*d.args[d.items + 1]), v.type).text + " To " +
                               convert(expr(*d.args[d.items + 2]), v.type).text;
            if (d.args[d.items + 3]) head += " Step " + convert(expr(*d.args[d.items + 3]), v.type).text;
            line(head);
            ++indent_;
            // A READ that has failed reads nothing more.
            if (reading && catching_) line("If " + helper("FtIoStat") + " <> 0 Then Exit For");
            std::vector<ExprPtr> inner;
            for (std::size_t k = 0; k < d.items; ++k) inner.push_back(cloneExpr(*d.args[k]));
            ioList(inner, reading);
            --indent_;
            line("Next " + ref(v));
            continue;
        }
        const Symbol* s = item->kind == Expr::Kind::name ? u_.find(item->text) : nullptr;
        if (s != nullptr && s->isArray()) {
            // A whole array: every element in order.
            const std::string count = elementCount(*s);
            needIoIndex_ = true;
            const std::string off = offsetOf(*s);
            const std::string el = ref(*s) + "(" + (off.empty() ? "" : off + " + ") + "io_i)";
            line("For io_i = 1 To " + count);
            ++indent_;
            if (reading) {
                if (catching_) line("If " + helper("FtIoStat") + " <> 0 Then Exit For");
                readInto(el, s->type, s->type == BaseType::character ? stringLength(*s) : "");
            } else {
                line(helper("FtWriteItem") + " " + el);
            }
            --indent_;
            line("Next io_i");
            continue;
        }
        if (reading) {
            readItem(*item);
        } else {
            Code c = expr(*item);
            if (c.type == BaseType::complex) refuse("COMPLEX");
            if (c.type == BaseType::real && c.vt != Vt::single) c = asSingle(c);
            if (c.type == BaseType::integer && c.vt == Vt::integerLit) c.text = "CLng(" + c.text + ")";
            line(helper("FtWriteItem") + " " + c.text);
        }
    }
}

// The next item of a READ into a variable of the type; its value now is
// kept where FORTRAN keeps it (a null value, a failed READ).
void UnitWriter::readInto(const std::string& target, BaseType type, const std::string& length) {
    switch (type) {
        case BaseType::integer: line(target + " = " + helper("FtReadLong") + "(" + target + ")"); return;
        case BaseType::real:
        case BaseType::doublePrecision: line(target + " = " + helper("FtReadDouble") + "(" + target + ")"); return;
        case BaseType::logical: line(target + " = " + helper("FtReadBool") + "(" + target + ")"); return;
        case BaseType::character: {
            const std::string n = length.empty() ? "Len(" + target + ")" : length;
            line(target + " = " + helper("FtReadText") + "(" + target + ", " + n + ")");
            return;
        }
        default: refuse("READ into a COMPLEX or untyped variable");
    }
}

void UnitWriter::readItem(const Expr& item) {
    if (item.kind == Expr::Kind::substring) {
        Code base = expr(*item.args[0]);
        if (base.type != BaseType::character) refuse("a substring of a value that is not CHARACTER");
        Code lo = item.args[1] ? convert(expr(*item.args[1]), BaseType::integer) : literalInteger("1");
        const std::string length = substringLength(item, base, lo);
        const std::string part = "Mid$(" + base.text + ", " + lo.text + ", " + length + ")";
        line(part + " = " + helper("FtReadText") + "(" + part + ", " + length + ")");
        return;
    }
    if (item.kind != Expr::Kind::name && item.kind != Expr::Kind::call) refuse("READ into an expression");
    Code lhs = expr(item);
    const Symbol* s = u_.find(item.text);
    std::string length;
    if (lhs.type == BaseType::character && s != nullptr) length = stringLength(*s);
    readInto(lhs.text, lhs.type, length);
}

UnitWriter::IoStatus UnitWriter::ioStatus(const Stmt& st, const std::string& what,
                                          const std::set<std::string>& allowed) {
    IoStatus status;
    for (const auto& kv : st.io.keywords) {
        if (kv.first == "fmt*") continue;
        if (allowed.count(kv.first) == 0) refuse(what + " with " + kv.first + "=");
        if (kv.first == "iostat") {
            if (!kv.second || (kv.second->kind != Expr::Kind::name && kv.second->kind != Expr::Kind::call))
                refuse("IOSTAT= that is not a variable");
            if (expr(*kv.second).type != BaseType::integer) refuse("IOSTAT= into a variable that is not INTEGER");
            status.iostat = kv.second.get();
        } else if (kv.first == "end" || kv.first == "err") {
            if (!kv.second || kv.second->kind != Expr::Kind::integer) refuse(kv.first + "= without a label");
            (kv.first == "end" ? status.endLabel : status.errLabel) = kv.second->text;
        }
    }
    return status;
}

void UnitWriter::ioStatusBegin(const IoStatus& status) {
    catching_ = status.any();
    if (!catching_) return;
    const bool ends = status.iostat != nullptr || !status.endLabel.empty();
    const bool errors = status.iostat != nullptr || !status.errLabel.empty();
    line(helper("FtIoCatch") + " " + (ends ? "True" : "False") + ", " + (errors ? "True" : "False"));
}

void UnitWriter::ioStatusEnd(const IoStatus& status) {
    catching_ = false;
    if (!status.any()) return;
    line(helper("FtIoEnd"));
    const std::string stat = helper("FtIoStat");
    if (status.iostat != nullptr) line(expr(*status.iostat).text + " = " + stat);
    if (!status.endLabel.empty()) line("If " + stat + " < 0 Then GoTo L" + status.endLabel);
    if (!status.errLabel.empty()) line("If " + stat + " > 0 Then GoTo L" + status.errLabel);
}

// INQUIRE by file or by unit: EXIST=, OPENED=, NUMBER=, NAMED=, NAME=;
// what else it can ask is left.
void UnitWriter::inquire(const Stmt& st) {
    const IoStatus status =
        ioStatus(st, "INQUIRE", {"iostat", "err", "file", "exist", "opened", "number", "named", "name"});
    const Expr* file = nullptr;
    for (const auto& kv : st.io.keywords) {
        if (kv.first == "file") file = kv.second.get();
    }
    if ((file == nullptr) == (st.io.unit == nullptr)) refuse("INQUIRE needs either FILE= or UNIT=");
    std::string name;
    std::string unit;
    if (file != nullptr) {
        Code f = expr(*file);
        if (f.type != BaseType::character) refuse("INQUIRE with FILE= that is not CHARACTER");
        name = f.text;
    } else {
        unit = unitArg(st);
    }
    for (const auto& kv : st.io.keywords) {
        if (kv.first == "file" || kv.first == "iostat" || kv.first == "err" || kv.first == "fmt*") continue;
        if (!kv.second || (kv.second->kind != Expr::Kind::name && kv.second->kind != Expr::Kind::call))
            refuse("INQUIRE with " + kv.first + "= that is not a variable");
        const Code target = expr(*kv.second);
        const BaseType wanted = kv.first == "number" ? BaseType::integer
                                : kv.first == "name" ? BaseType::character
                                                     : BaseType::logical;
        if (target.type != wanted) refuse("INQUIRE with " + kv.first + "= of another type");
        if (kv.first == "name") {
            const Symbol* s = u_.find(kv.second->text);
            std::string length = s != nullptr ? stringLength(*s) : "";
            if (length.empty()) length = "Len(" + target.text + ")";
            // An unnamed unit leaves the variable as it was, as gfortran does.
            if (file != nullptr) {
                line(target.text + " = " + helper("FtPad") + "(Trim$(" + name + "), " + length + ")");
            } else {
                line("If " + helper("FtUnitName") + "(" + unit + ") <> \"\" Then " + target.text + " = " +
                     helper("FtPad") + "(" + helper("FtUnitName") + "(" + unit + "), " + length + ")");
            }
            continue;
        }
        if (kv.first == "named") {
            line(target.text + " = " +
                 (file != nullptr ? "True" : "(" + helper("FtUnitName") + "(" + unit + ") <> \"\")"));
            continue;
        }
        if (file != nullptr) {
            if (kv.first == "exist") line(target.text + " = " + helper("FtFileExists") + "(" + name + ")");
            if (kv.first == "opened") line(target.text + " = (" + helper("FtFileUnit") + "(" + name + ") <> -1)");
            if (kv.first == "number") line(target.text + " = " + helper("FtFileUnit") + "(" + name + ")");
        } else {
            // gfortran has every unit number from 0 up
            if (kv.first == "exist") line(target.text + " = (" + unit + " >= 0)");
            if (kv.first == "opened") line(target.text + " = " + helper("FtUnitOpened") + "(" + unit + ")");
            if (kv.first == "number") {
                line("If " + helper("FtUnitOpened") + "(" + unit + ") Then " + target.text + " = " + unit + " Else " +
                     target.text + " = -1");
            }
        }
    }
    if (status.iostat != nullptr) line(expr(*status.iostat).text + " = 0");
}

void UnitWriter::callStatement(const Stmt& st) {
    const ProcInfo* callee = procOf(st.name);
    const Symbol* s = u_.find(st.name);
    if (s != nullptr && s->dummyIndex >= 0) {
        dispatch(*s, st.exprs, UnitKind::subroutine, "");
        return;
    }
    if (callee == nullptr) refuse("the subroutine '" + st.name + "' is not among the listed files");
    if (callee->kind != UnitKind::subroutine) refuse("'" + st.name + "' is not a subroutine");
    Expr dummy;
    const std::string a = args(dummy, callee, st.exprs);
    line("Call " + vbaName(st.name) + (a.empty() ? "" : "(" + a + ")"));
}

void UnitWriter::body(const Stmt& st) {
    using K = Stmt::Kind;
    switch (st.kind) {
        case K::assignment: line(assignTo(*st.target, *st.exprs[0])); return;
        case K::continueStmt: return;
        case K::gotoStmt: line("GoTo L" + st.labels[0]); return;
        case K::computedGoto: {
            std::string text = "On " + convert(expr(*st.exprs[0]), BaseType::integer).text + " GoTo ";
            for (std::size_t i = 0; i < st.labels.size(); ++i) text += (i ? ", L" : "L") + st.labels[i];
            line(text);
            return;
        }
        case K::assignStmt: line(ref(symbol(st.name)) + " = " + st.labels[0]); return;
        case K::assignedGoto: {
            const std::vector<std::string>& targets = st.labels.empty() ? assignedLabels_ : st.labels;
            line("Select Case " + ref(symbol(st.name)));
            for (const std::string& l : targets) {
                if (formatLabels_.count(l) != 0) continue;
                line("Case " + l + ": GoTo L" + l);
            }
            line("End Select");
            return;
        }
        case K::ifArithmetic: {
            // The two-label form is not FORTRAN 77, and gfortran refuses it too.
            if (st.labels.size() != 3) refuse("an arithmetic IF with two labels");
            Code c = expr(*st.exprs[0]);
            if (!isNumeric(c.type)) refuse("an arithmetic IF on a value that is not a number");
            line("Select Case " + c.text);
            line("Case Is < 0: GoTo L" + st.labels[0]);
            line("Case 0: GoTo L" + st.labels[1]);
            line("Case Else: GoTo L" + st.labels[2]);
            line("End Select");
            return;
        }
        case K::ifLogical: {
            Code c = expr(*st.exprs[0]);
            if (c.type != BaseType::logical) refuse("IF on a value that is not LOGICAL");
            const std::size_t mark = out_.size();
            ++indent_;
            body(*st.inner);
            --indent_;
            if (out_.size() == mark + 1) {
                std::string inner = out_.back();
                out_.pop_back();
                inner.erase(0, inner.find_first_not_of(' '));
                line("If " + c.text + " Then " + inner);
            } else {
                out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(mark),
                            std::string(static_cast<std::size_t>(indent_) * 4, ' ') + "If " + c.text + " Then");
                line("End If");
            }
            return;
        }
        case K::ifBlock: {
            Code c = expr(*st.exprs[0]);
            if (c.type != BaseType::logical) refuse("IF on a value that is not LOGICAL");
            line("If " + c.text + " Then");
            ++indent_;
            blocks_.push_back('I');
            return;
        }
        case K::elseIf: {
            if (!inIf()) refuse("ELSE IF without IF");
            Code c = expr(*st.exprs[0]);
            if (c.type != BaseType::logical) refuse("ELSE IF on a value that is not LOGICAL");
            --indent_;
            line("ElseIf " + c.text + " Then");
            ++indent_;
            return;
        }
        case K::elseBlock:
            if (!inIf()) refuse("ELSE without IF");
            --indent_;
            line("Else");
            ++indent_;
            return;
        case K::endIf:
            if (!inIf()) refuse("END IF without IF");
            --indent_;
            line("End If");
            blocks_.pop_back();
            return;
        case K::doLoop: {
            const Symbol& v = symbol(st.name);
            if (!isNumeric(v.type)) refuse("a DO variable that is not a number");
            // FORTRAN counts the trips once, at the start; LibreOffice
            // evaluates the limit again on each pass. A bound the loop
            // changes is taken into a variable first.
            auto fixed = [&](const Expr& bound, const std::string& suffix) {
                Code c = convert(expr(bound), v.type);
                if (c.isLiteral || !loopChanges(st, bound)) return c.text;
                std::string name = ref(v) + suffix;
                if (extraDimNames_.insert(name).second) extraDims_.push_back("Dim " + name + " As " + vbaType(v.type));
                line(name + " = " + c.text);
                return name;
            };
            const std::string to = fixed(*st.exprs[1], "_to");
            std::string head = "For " + ref(v) + " = " + convert(expr(*st.exprs[0]), v.type).text + " To " + to;
            if (st.exprs.size() > 2) {
                Code step = convert(expr(*st.exprs[2]), v.type);
                if (!(step.isLiteral && step.text == "1")) head += " Step " + fixed(*st.exprs[2], "_step");
            }
            line(head);
            ++indent_;
            loops_.push_back({st.doLabel, false, ref(v), ""});
            blocks_.push_back('L');
            return;
        }
        case K::doWhile: {
            Code c = expr(*st.exprs[0]);
            if (c.type != BaseType::logical) refuse("DO WHILE on a value that is not LOGICAL");
            line("Do While " + c.text);
            ++indent_;
            loops_.push_back({st.doLabel, true, "", ""});
            blocks_.push_back('L');
            return;
        }
        case K::exitStmt:
            if (loops_.empty()) refuse("EXIT outside a loop");
            line(loops_.back().isWhile ? "Exit Do" : "Exit For");
            return;
        case K::cycleStmt:
            if (loops_.empty()) refuse("CYCLE outside a loop");
            if (loops_.back().cycle.empty()) loops_.back().cycle = "Cycle_" + std::to_string(++cycles_);
            line("GoTo " + loops_.back().cycle);
            return;
        case K::endDo:
            if (loops_.empty()) refuse("END DO without a DO");
            closeLoop();
            return;
        case K::call: callStatement(st); return;
        case K::returnStmt:
            if (!st.exprs.empty()) refuse("an alternate return");
            // A RETURN right before END, outside any block, says nothing
            // the end of the procedure does not.
            if (&st == &u_.stmts[current_] && blocks_.empty() && current_ + 1 < u_.stmts.size() &&
                u_.stmts[current_ + 1].kind == K::end) {
                return;
            }
            exitProcedure();
            return;
        case K::stopStmt: {
            std::string msg = "\"\"";
            if (!st.exprs.empty()) {
                const Expr& m = *st.exprs[0];
                msg = quoteVba(m.text);  // a text or the digits of a code
            }
            line(helper("FtStop") + " " + msg);
            return;
        }
        case K::write:
        case K::print: {
            const IoStatus status = ioStatus(st, "WRITE", {"iostat", "err"});
            if (st.io.unit && (st.io.unit->kind == Expr::Kind::name || st.io.unit->kind == Expr::Kind::call)) {
                const Symbol* s = u_.find(st.io.unit->text);
                if (s != nullptr && s->type == BaseType::character && s->isArray() &&
                    st.io.unit->kind == Expr::Kind::name) {
                    // A WRITE to a CHARACTER array: a record in each element.
                    const std::string length = stringLength(*s);
                    if (length.empty()) refuse("WRITE to a CHARACTER*(*) array");
                    const std::string records = recordsArg(*s);
                    const std::string fmt = formatArg(st);
                    ioStatusBegin(status);
                    line(helper("FtWriteBegin") + " 0");
                    ioList(st.exprs, false);
                    line(helper("FtWriteRecords") + " " + records + ", " + length + ", " + fmt);
                    ioStatusEnd(status);
                    return;
                }
                if (s != nullptr && s->type == BaseType::character) {
                    // A WRITE to a CHARACTER variable: its records as text.
                    const Code target = expr(*st.io.unit);
                    const std::string fmt = formatArg(st);
                    std::string length = stringLength(*s);
                    if (length.empty()) length = "Len(" + target.text + ")";
                    ioStatusBegin(status);
                    line(helper("FtWriteBegin") + " 0");
                    ioList(st.exprs, false);
                    line(target.text + " = " + helper("FtPad") + "(" + helper("FtWriteText") + "(" + fmt + "), " +
                         length + ")");
                    ioStatusEnd(status);
                    return;
                }
            }
            const std::string unit = unitArg(st);
            const std::string fmt = formatArg(st);
            ioStatusBegin(status);
            line(helper("FtWriteBegin") + " " + unit);
            ioList(st.exprs, false);
            line(helper("FtWriteEnd") + " " + fmt);
            ioStatusEnd(status);
            return;
        }
        case K::read: {
            const IoStatus status = ioStatus(st, "READ", {"iostat", "err", "end"});
            std::string begin;
            if (st.io.unit) {
                const Symbol* s = st.io.unit->kind == Expr::Kind::name ? u_.find(st.io.unit->text) : nullptr;
                if (s != nullptr && s->isArray() && s->type == BaseType::character) {
                    // A CHARACTER array: each element a record.
                    begin = helper("FtReadBeginRecords") + " " + recordsArg(*s);
                } else {
                    // A CHARACTER variable, element or substring: its value is the record.
                    const Code unit = expr(*st.io.unit);
                    if (unit.type == BaseType::character) begin = helper("FtReadBeginText") + " " + unit.text;
                }
            }
            if (begin.empty()) begin = helper("FtReadBegin") + " " + unitArg(st);
            const std::string fmt = st.io.format ? formatArg(st) : "";
            ioStatusBegin(status);
            line(begin);
            if (!fmt.empty()) line(helper("FtReadFormat") + " " + fmt);
            ioList(st.exprs, true);
            line(helper("FtReadEnd"));
            ioStatusEnd(status);
            return;
        }
        case K::open: {
            const IoStatus status =
                ioStatus(st, "OPEN", {"iostat", "err", "file", "status", "form", "access", "blank"});
            std::string file = "\"\"";
            std::string openStatus = "\"unknown\"";
            std::string blank;
            for (const auto& kv : st.io.keywords) {
                if (kv.first == "file") file = expr(*kv.second).text;
                if (kv.first == "status") openStatus = expr(*kv.second).text;
                if (kv.first == "blank") blank = expr(*kv.second).text;
            }
            const std::string unit = unitArg(st);
            ioStatusBegin(status);
            line(helper("FtOpen") + " " + unit + ", " + file + ", " + openStatus);
            if (!blank.empty()) line(helper("FtOpenBlank") + " " + unit + ", " + blank);
            ioStatusEnd(status);
            return;
        }
        case K::close:
        case K::rewind:
        case K::backspace:
        case K::endfile: {
            const char* what = st.kind == K::close     ? "CLOSE"
                               : st.kind == K::rewind  ? "REWIND"
                               : st.kind == K::endfile ? "ENDFILE"
                                                       : "BACKSPACE";
            const IoStatus status = st.kind == K::close ? ioStatus(st, what, {"iostat", "err", "status"})
                                                        : ioStatus(st, what, {"iostat", "err"});
            if (!st.io.unit) refuse(std::string(what) + " without a unit");
            const std::string unit = unitArg(st);
            const char* call = st.kind == K::close     ? "FtClose"
                               : st.kind == K::rewind  ? "FtRewind"
                               : st.kind == K::endfile ? "FtEndfile"
                                                       : "FtBackspace";
            std::string closeStatus;
            for (const auto& kv : st.io.keywords) {
                if (kv.first == "status") closeStatus = expr(*kv.second).text;
            }
            ioStatusBegin(status);
            if (closeStatus.empty()) {
                line(helper(call) + " " + unit);
            } else {
                line(helper("FtCloseStatus") + " " + unit + ", " + closeStatus);
            }
            ioStatusEnd(status);
            return;
        }
        case K::inquire: inquire(st); return;
        case K::pauseStmt: {
            std::string msg = "\"\"";
            if (!st.exprs.empty()) msg = quoteVba(st.exprs[0]->text);  // a text or the digits of a code
            line(helper("FtPause") + " " + msg);
            return;
        }
        case K::entry: refuse("ENTRY");
        case K::equivalence: refuse("EQUIVALENCE");
        case K::include: refuse("INCLUDE");
        case K::unknown: throw Untranslatable{ReviewKind::notRead, st.error};
        default: return;
    }
}

// Whether a VBA expression calls something: a name right before "(".
bool callsFunction(const std::string& text) {
    bool quoted = false;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i - 1] == '"') quoted = !quoted;
        if (quoted || text[i] != '(') continue;
        const char c = text[i - 1];
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$')
            return true;
    }
    return false;
}

bool isDeclarative(Stmt::Kind k) {
    using K = Stmt::Kind;
    switch (k) {
        case K::typeDecl:
        case K::dimension:
        case K::parameter:
        case K::implicit:
        case K::external:
        case K::intrinsic:
        case K::common:
        case K::save:
        case K::data:
        case K::format:
        case K::stmtFunction:
        case K::program:
        case K::subroutine:
        case K::function:
        case K::blockData: return true;
        default: return false;
    }
}

// Whether the body of the loop starting at current_ assigns to a name the
// bound uses (assignments, DO variables, READ lists).
bool UnitWriter::loopChanges(const Stmt& loop, const Expr& bound) const {
    std::set<std::string> names;
    std::function<void(const Expr&)> collect = [&](const Expr& e) {
        if (e.kind == Expr::Kind::name) names.insert(e.text);
        for (const ExprPtr& a : e.args) {
            if (a) collect(*a);
        }
    };
    collect(bound);
    if (names.empty()) return false;
    std::function<bool(const Stmt&)> changes = [&](const Stmt& st) {
        using K = Stmt::Kind;
        if (st.kind == K::assignment && st.target) {
            const Expr* t = st.target.get();
            while (t->kind == Expr::Kind::substring) t = t->args[0].get();
            if (names.count(t->text) != 0) return true;
        }
        if ((st.kind == K::doLoop || st.kind == K::assignStmt) && names.count(st.name) != 0) return true;
        if (st.kind == K::read) {
            for (const ExprPtr& e : st.exprs) {
                if (e && (e->kind == Expr::Kind::name || e->kind == Expr::Kind::call) && names.count(e->text) != 0) {
                    return true;
                }
            }
        }
        return st.inner && changes(*st.inner);
    };
    int depth = 0;
    for (std::size_t i = current_ + 1; i < u_.stmts.size(); ++i) {
        const Stmt& st = u_.stmts[i];
        if (changes(st)) return true;
        if (loop.doLabel.empty()) {
            if (st.kind == Stmt::Kind::doLoop || st.kind == Stmt::Kind::doWhile) {
                if (st.doLabel.empty()) ++depth;
            } else if (st.kind == Stmt::Kind::endDo && depth-- == 0) {
                return false;
            }
        } else if (st.label == loop.doLabel) {
            return false;
        }
        if (st.kind == Stmt::Kind::end) return false;
    }
    return false;
}

void UnitWriter::statement(const Stmt& st) {
    const bool labelled = !st.label.empty() && jumpedTo_.count(st.label) != 0;
    if (labelled) out_.push_back("L" + st.label + ":");
    const std::size_t mark = out_.size();
    const int indent = indent_;
    const std::size_t loops = loops_.size();
    savedBlocks_ = blocks_;  // into room kept from the last statement
    preLines_.clear();
    postLines_.clear();
    statementIndent_ = indent_;
    // A refusal known before writing is written without an exception:
    // throwing one costs about as much as writing a statement.
    if (st.kind == Stmt::Kind::unknown) {
        refused(st, {ReviewKind::notRead, st.error}, mark, indent, loops);
        closeLoops(st.label);
        return;
    }
    if (std::optional<std::string> why = refusedFirst(st)) {
        refused(st, {ReviewKind::notTranslated, std::move(*why)}, mark, indent, loops);
        closeLoops(st.label);
        return;
    }
    try {
        // The commonest statements are written from here, as body() would:
        // a refusal from within them then does not unwind body()'s frame,
        // the costliest of the writer's to unwind.
        if (st.kind == Stmt::Kind::assignment) {
            line(assignTo(*st.target, *st.exprs[0]));
        } else if (st.kind == Stmt::Kind::call) {
            callStatement(st);
        } else {
            body(st);
        }
        if (!postLines_.empty()) {
            // Values copied back after the statement: only where it surely
            // goes on to the next line, or leaves the value as it was.
            using K = Stmt::Kind;
            const Stmt& plain = st.kind == K::ifLogical && st.inner ? *st.inner : st;
            if (plain.kind != K::assignment && plain.kind != K::call) {
                refuse("a variable passed where the callee takes an array, in a statement that may jump");
            }
            out_.insert(out_.end(), postLines_.begin(), postLines_.end());
            postLines_.clear();
        }
        if (!preLines_.empty()) {
            // Values the statement needs first (calls of procedure
            // arguments, one-element arrays): only where they are
            // computed once, before it.
            using K = Stmt::Kind;
            if (st.kind == K::doWhile || st.kind == K::elseIf) {
                refuse(
                    "a procedure argument called, or a scalar passed as an array, in a DO WHILE or ELSE IF "
                    "condition");
            }
            out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(mark), preLines_.begin(), preLines_.end());
            preLines_.clear();
        }
    } catch (const Untranslatable& why) {
        refused(st, why, mark, indent, loops);
    }
    closeLoops(st.label);
}

// The statement left as a comment with its note, the writer put back as
// the statement found it (its lines from `mark`, its indent, its loops);
// the blocks it opens or closes are kept whole so that the rest compiles.
void UnitWriter::refused(const Stmt& st, const Untranslatable& why, std::size_t mark, int indent, std::size_t loops) {
    preLines_.clear();
    postLines_.clear();
    catching_ = false;
    // A refusal inside a statement function's body leaves its arguments
    // in place; they must not stand for those names in what follows.
    substitution_.clear();
    out_.resize(mark);
    indent_ = indent;
    loops_.resize(std::min(loops, loops_.size()));
    blocks_ = savedBlocks_;
    todos_.push_back({why.kind, why.detail, st.line, out_.size()});
    line("' FTVB-TODO: " + why.detail);
    line("'" + st.source);
    // Keep the blocks whole so that the rest compiles.
    using K = Stmt::Kind;
    if (st.kind == K::ifBlock) {
        line("If False Then");
        ++indent_;
        blocks_.push_back('I');
    } else if (st.kind == K::elseIf && inIf()) {
        --indent_;
        line("ElseIf False Then");
        ++indent_;
    } else if (st.kind == K::doLoop || st.kind == K::doWhile) {
        line("Do While False");
        ++indent_;
        loops_.push_back({st.doLabel, true, "", ""});
        blocks_.push_back('L');
    } else if (st.kind == K::endDo && !loops_.empty()) {
        closeLoop();
    } else if (st.kind == K::endIf && inIf()) {
        --indent_;
        line("End If");
        blocks_.pop_back();
    } else if (st.kind == K::elseBlock && inIf()) {
        --indent_;
        line("Else");
        ++indent_;
    }
}

std::string UnitWriter::header() {
    std::string params;
    for (const std::string& d : u_.dummies) {
        if (d == "*") {
            alternateReturn_ = true;
            continue;
        }
        const Symbol& s = *u_.find(d);
        if (!params.empty()) params += ", ";
        if (s.external || (s.calledAsFunction && !s.isArray())) {
            params += "ByVal " + vbaName(d) + " As String";
            continue;
        }
        if (s.isArray()) {
            params += "ByRef " + vbaName(d) + "() As " + vbaType(s.type) + ", ByVal " + vbaName(d) + "_o As Long";
        } else {
            params += "ByRef " + vbaName(d) + " As " + vbaType(s.type);
        }
    }
    switch (u_.kind) {
        case UnitKind::program:
        case UnitKind::blockData: return "Public Sub " + vbaName(u_.name) + "()";
        case UnitKind::subroutine: return "Public Sub " + vbaName(u_.name) + "(" + params + ")";
        case UnitKind::function:
            return "Public Function " + vbaName(u_.name) + "(" + params + ") As " + vbaType(u_.type);
    }
    return {};
}

void UnitWriter::declarations() {
    declared_ = true;
    if (alternateReturn_) {
        todos_.push_back({ReviewKind::notTranslated, "an alternate return (*) among the arguments", headerLine_, 0});
        line("' FTVB-TODO: an alternate return (*) among the arguments; its RETURN n are left too");
    }
    // PARAMETERs in the order written, as constants.
    for (const Stmt& st : u_.stmts) {
        const bool attribute = st.kind == Stmt::Kind::typeDecl && std::find(st.attributes.begin(), st.attributes.end(),
                                                                            "parameter") != st.attributes.end();
        if (st.kind != Stmt::Kind::parameter && !attribute) continue;
        for (const Declarator& d : st.decls) {
            const Symbol& s = *u_.find(d.name);
            try {
                Code v = expr(*s.value);
                if (s.type == BaseType::integer && v.type != BaseType::integer) {
                    if (!isNumeric(v.type)) refuse("a PARAMETER of another type");
                    v = convert(v, BaseType::integer);
                }
                if (s.type == BaseType::real && v.type == BaseType::doublePrecision) v = asSingle(v);
                if (v.text.rfind("CSng(", 0) == 0 && v.text.back() == ')' && v.text.find('(', 5) == std::string::npos) {
                    // Const takes no function: the Single's value, written out.
                    char* end = nullptr;
                    const double parsed = std::strtod(v.text.c_str() + 5, &end);
                    if (end != nullptr && *end == ')') {
                        char buf[40];
                        std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(static_cast<float>(parsed)));
                        v.text = buf;
                        if (v.text.find_first_of(".eE") == std::string::npos) v.text += ".0";
                    }
                }
                bool needsVariable = callsFunction(v.text);
                for (const std::string& name : variableParameters_) {
                    // A whole word of the value that is such a variable.
                    for (std::size_t at = v.text.find(name); at != std::string::npos && !needsVariable;
                         at = v.text.find(name, at + 1)) {
                        auto word = [](char c) {
                            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                   c == '_';
                        };
                        const bool before = at == 0 || !word(v.text[at - 1]);
                        const bool after = at + name.size() >= v.text.size() || !word(v.text[at + name.size()]);
                        needsVariable = before && after;
                    }
                }
                if (needsVariable) {
                    variableParameters_.insert(vbaName(s.name));
                    // A value VBA cannot compute in a Const (HUGE(ZERO)): a
                    // variable set before the first statement.
                    line("Dim " + vbaName(s.name) + " As " + vbaType(s.type));
                    extraDeclarations_.push_back(vbaName(s.name) + " = " + v.text);
                } else {
                    line("Const " + vbaName(s.name) + " As " + vbaType(s.type) + " = " + v.text);
                }
            } catch (const Untranslatable& why) {
                todos_.push_back({why.kind, why.detail, st.line, out_.size()});
                line("' FTVB-TODO: " + why.detail);
                line("'" + st.source);
            }
        }
    }
    for (const Stmt& st : u_.stmts) {
        if (st.kind != Stmt::Kind::format || st.label.empty()) continue;
        line("Const Fmt_" + st.label + " As String = " + quoteVba(st.formatText));
        formatLabels_.insert(st.label);
    }
    std::vector<const Symbol*> order;
    for (const auto& kv : u_.symbols) order.push_back(&kv.second);
    std::sort(order.begin(), order.end(), [](const Symbol* a, const Symbol* b) { return a->order < b->order; });
    bool anyStatic = false;
    for (const Symbol* sp : order) {
        const Symbol& s = *sp;
        if (s.dummyIndex >= 0 || s.isParameter || s.inCommon || s.stmtFunction || s.external || s.intrinsic) continue;
        if (u_.kind == UnitKind::function && s.name == u_.name) continue;
        if (!s.isArray() && (s.calledAsFunction || (procOf(s.name) != nullptr && !s.used))) continue;
        if (!s.isArray() && !s.used && !s.typeDeclared && !s.hasData && !s.saved) continue;
        if (s.type == BaseType::complex) {
            todos_.push_back(
                {ReviewKind::notTranslated, "COMPLEX variable '" + s.name + "'", headerLine_, out_.size()});
            line("' FTVB-TODO: COMPLEX variable " + s.name);
            continue;
        }
        if (s.type == BaseType::none) {
            todos_.push_back(
                {ReviewKind::notTranslated, "'" + s.name + "' has no type (IMPLICIT NONE)", headerLine_, out_.size()});
            line("' FTVB-TODO: " + s.name + " has no type");
            continue;
        }
        const bool isStatic = s.saved || s.hasData;
        anyStatic = anyStatic || s.hasData;
        if (savedNames_.count({u_.name, s.name}) != 0) continue;  // declared at module level
        const std::string word = isStatic ? "Static " : "Dim ";
        if (s.isArray()) {
            if (auto size = arraySize(s)) {
                line(word + vbaName(s.name) + "(1 To " + std::to_string(*size) + ") As " + vbaType(s.type));
            } else {
                std::string count;
                try {
                    for (std::size_t k = 0; k < s.upper.size(); ++k) count += (k ? " * " : "") + extent(s, k);
                } catch (const Untranslatable& why) {
                    todos_.push_back({why.kind, why.detail, headerLine_, out_.size()});
                    line("' FTVB-TODO: the bounds of " + s.name);
                    continue;
                }
                line(word + vbaName(s.name) + "() As " + vbaType(s.type));
                extraDeclarations_.push_back("ReDim " + vbaName(s.name) + "(1 To " + count + ")");
            }
        } else {
            line(word + vbaName(s.name) + " As " + vbaType(s.type));
        }
        if (s.type == BaseType::character) {
            // Blank-filled, so that a substring can be stored into it.
            std::string length;
            try {
                length = stringLength(s);
            } catch (const Untranslatable&) {
            }
            if (!length.empty() && !s.isArray() && !isStatic) {
                extraDeclarations_.push_back(vbaName(s.name) + " = Space$(" + length + ")");
            }
        }
    }
    if (resultLocal_) line("Dim " + resultName_ + " As " + std::string(vbaType(u_.type)));
    for (const std::string& d : extraDims_) line(d);
    if (anyStatic) line("Static data_done As Boolean");
    if (needIoIndex_) line("Dim io_i As Long");
}

void UnitWriter::dataInit() {
    bool any = false;
    for (const Stmt& st : u_.stmts) any = any || st.kind == Stmt::Kind::data;
    if (!any) return;
    const bool once = u_.kind != UnitKind::blockData;
    if (once) {
        line("If Not data_done Then");
        ++indent_;
        line("data_done = True");
    }
    for (const Stmt& st : u_.stmts) {
        if (st.kind != Stmt::Kind::data) continue;
        const std::size_t mark = out_.size();
        try {
            for (const Stmt::DataGroup& g : st.data) {
                // The targets, element by element.
                std::vector<ExprPtr> targets;
                std::function<void(const Expr&)> flatten = [&](const Expr& t) {
                    if (t.kind == Expr::Kind::impliedDo) {
                        const std::string var = t.args[t.items]->text;
                        auto lo = constantValue(*t.args[t.items + 1], u_);
                        auto hi = constantValue(*t.args[t.items + 2], u_);
                        auto step =
                            t.args[t.items + 3] ? constantValue(*t.args[t.items + 3], u_) : std::optional<long long>(1);
                        if (!lo || !hi || !step || *step == 0) refuse("an implied DO in DATA with bounds not constant");
                        for (long long k = *lo; *step > 0 ? k <= *hi : k >= *hi; k += *step) {
                            for (std::size_t i = 0; i < t.items; ++i) {
                                ExprPtr item = cloneExpr(*t.args[i]);
                                std::function<void(ExprPtr&)> put = [&](ExprPtr& e) {
                                    if (!e) return;
                                    if (e->kind == Expr::Kind::name && e->text == var) {
                                        e->kind = Expr::Kind::integer;
                                        e->text = std::to_string(k);
                                        if (k < 0) {
                                            e->text = std::to_string(-k);
                                            ExprPtr neg = std::make_unique<Expr>();
                                            neg->kind = Expr::Kind::unary;
                                            neg->op = "-";
                                            neg->args.push_back(std::move(e));
                                            e = std::move(neg);
                                        }
                                        return;
                                    }
                                    for (ExprPtr& a : e->args) put(a);
                                };
                                put(item);
                                flatten(*item);
                            }
                        }
                        return;
                    }
                    const Symbol* s = t.kind == Expr::Kind::name ? u_.find(t.text) : nullptr;
                    if (s != nullptr && s->isArray()) {
                        auto size = arraySize(*s);
                        if (!size) refuse("DATA for an array without constant bounds");
                        for (long long k = 1; k <= *size; ++k) {
                            ExprPtr el = std::make_unique<Expr>();
                            el->kind = Expr::Kind::call;
                            el->text = "\x01" + t.text;  // by linear index, see below
                            ExprPtr idx = std::make_unique<Expr>();
                            idx->kind = Expr::Kind::integer;
                            idx->text = std::to_string(k);
                            el->args.push_back(std::move(idx));
                            targets.push_back(std::move(el));
                        }
                        return;
                    }
                    targets.push_back(cloneExpr(t));
                };
                for (const ExprPtr& t : g.targets) flatten(*t);
                std::vector<const Expr*> values;
                for (std::size_t i = 0; i < g.values.size(); ++i) {
                    long long count = 1;
                    if (g.repeats[i]) {
                        auto r = constantValue(*g.repeats[i], u_);
                        if (!r || *r < 0) refuse("a DATA repeat count not constant");
                        count = *r;
                    }
                    for (long long k = 0; k < count && values.size() <= targets.size(); ++k)
                        values.push_back(g.values[i].get());
                }
                if (values.size() != targets.size()) refuse("DATA with more or fewer values than targets");
                for (std::size_t i = 0; i < targets.size(); ++i) {
                    const Expr& t = *targets[i];
                    if (t.kind == Expr::Kind::call && !t.text.empty() && t.text[0] == '\x01') {
                        const Symbol& s = symbol(t.text.substr(1));
                        Expr whole;
                        whole.kind = Expr::Kind::name;
                        whole.text = s.name;
                        // arr(k) by its linear index.
                        std::string lhs =
                            ref(s) + "(" + (offsetOf(s).empty() ? "" : offsetOf(s) + " + ") + t.args[0]->text + ")";
                        // Runs of one value on consecutive elements become a loop.
                        std::size_t j = i;
                        while (j + 1 < targets.size() && values[j + 1] == values[i] &&
                               targets[j + 1]->kind == Expr::Kind::call && targets[j + 1]->text == t.text &&
                               std::atoll(targets[j + 1]->args[0]->text.c_str()) ==
                                   std::atoll(targets[j]->args[0]->text.c_str()) + 1) {
                            ++j;
                        }
                        Expr fake;
                        fake.kind = Expr::Kind::name;
                        Code v = expr(*values[i]);
                        if (s.type == BaseType::character) {
                            v.text = helper("FtPad") + "(" + v.text + ", " + stringLength(s) + ")";
                        } else {
                            v = convert(v, s.type);
                        }
                        if (j >= i + 3) {
                            needIoIndex_ = true;
                            line("For io_i = " + t.args[0]->text + " To " + targets[j]->args[0]->text);
                            line("    " + ref(s) + "(" + (offsetOf(s).empty() ? "" : offsetOf(s) + " + ") +
                                 "io_i) = " + v.text);
                            line("Next io_i");
                            i = j;
                        } else {
                            line(lhs + " = " + v.text);
                        }
                        continue;
                    }
                    line(assignTo(t, *values[i]));
                }
            }
        } catch (const Untranslatable& why) {
            out_.resize(mark);
            todos_.push_back({why.kind, why.detail, st.line, out_.size()});
            line("' FTVB-TODO: " + why.detail);
            line("'" + st.source);
        }
    }
    if (once) {
        --indent_;
        line("End If");
    }
}

bool readsName(const Expr& e, const std::string& n) {
    if (e.kind == Expr::Kind::name && e.text == n) return true;
    for (const ExprPtr& a : e.args) {
        if (a && readsName(*a, n)) return true;
    }
    return false;
}

bool statementReads(const Stmt& st, const std::string& n) {
    for (const ExprPtr& e : st.exprs) {
        if (e && readsName(*e, n)) return true;
    }
    if (st.target && st.target->kind != Expr::Kind::name && readsName(*st.target, n)) return true;
    if (st.inner) return statementReads(*st.inner, n);
    return false;
}

void collectJumps(const Stmt& st, std::set<std::string>& jumps, std::vector<std::string>& assigned) {
    using K = Stmt::Kind;
    switch (st.kind) {
        case K::gotoStmt:
        case K::computedGoto:
        case K::ifArithmetic:
        case K::assignedGoto: jumps.insert(st.labels.begin(), st.labels.end()); break;
        case K::assignStmt:
            jumps.insert(st.labels.begin(), st.labels.end());
            assigned.push_back(st.labels[0]);
            break;
        case K::read:
        case K::write:
        case K::print:
        case K::open:
        case K::close:
        case K::rewind:
        case K::backspace:
        case K::endfile:
        case K::inquire:
            for (const auto& kv : st.io.keywords) {
                if ((kv.first == "end" || kv.first == "err") && kv.second && kv.second->kind == Expr::Kind::integer)
                    jumps.insert(kv.second->text);
            }
            break;
        default: break;
    }
    if (st.inner) collectJumps(*st.inner, jumps, assigned);
}

UnitText UnitWriter::run(const std::vector<SourceItem>& leading) {
    for (const SourceItem& c : leading) {
        out_.push_back(c.kind == SourceItem::Kind::blank ? std::string() : "'" + c.text);
    }
    for (const Stmt& st : u_.stmts) collectJumps(st, jumpedTo_, assignedLabels_);
    resultName_ = vbaName(u_.name);
    if (u_.kind == UnitKind::function) {
        for (const Stmt& st : u_.stmts) {
            if (st.kind != Stmt::Kind::stmtFunction && statementReads(st, u_.name)) resultLocal_ = true;
        }
        if (resultLocal_) resultName_ = vbaName(u_.name) + "_r";
    }
    const std::size_t headerAt = out_.size();
    headerLine_ = u_.stmts.empty() ? 0 : u_.stmts[0].line;
    out_.push_back(header());
    std::size_t comment = 0;
    std::size_t declAt = 0;
    auto commentsBefore = [&](std::size_t i) {
        while (comment < u_.comments.size() && u_.comments[comment].first <= i) {
            const SourceItem& c = u_.comments[comment++].second;
            out_.push_back(c.kind == SourceItem::Kind::blank ? std::string() : "'" + c.text);
        }
    };
    bool started = false;
    for (std::size_t i = 0; i < u_.stmts.size(); ++i) {
        const Stmt& st = u_.stmts[i];
        if (st.kind == Stmt::Kind::end) {
            commentsBefore(i);
            break;
        }
        if (!started && !isDeclarative(st.kind)) {
            started = true;
            declAt = out_.size();
        }
        commentsBefore(i);
        if (isDeclarative(st.kind)) {
            if (st.kind == Stmt::Kind::typeDecl || st.kind == Stmt::Kind::common) {
                if (st.kind == Stmt::Kind::common) {
                    for (const auto& [block, members] : st.blocks) {
                        for (const Declarator& d : members) {
                            const Symbol* s = u_.find(d.name);
                            if (s == nullptr) continue;
                            auto it = index_.commons.find(block);
                            if (it == index_.commons.end()) continue;
                            const CommonMember& m = it->second[static_cast<std::size_t>(s->commonIndex)];
                            const bool array = s->isArray();
                            if (array != (m.size > 0) || m.type != s->type) {
                                todos_.push_back({ReviewKind::common, "COMMON /" + block + "/ laid out differently",
                                                  st.line, out_.size()});
                                line("' FTVB-TODO: COMMON /" + block +
                                     "/ laid out differently from its first use: " + d.name);
                            }
                        }
                    }
                }
            }
            continue;
        }
        current_ = i;
        statement(st);
    }
    commentsBefore(u_.stmts.size());
    if (!started) declAt = out_.size();
    // The declarations go where the executable statements begin; they are
    // written now that the statements have said what they need.
    std::vector<std::string> bodyLines(std::make_move_iterator(out_.begin() + static_cast<std::ptrdiff_t>(declAt)),
                                       std::make_move_iterator(out_.end()));
    out_.resize(declAt);
    std::vector<Todo> bodyTodos = std::move(todos_);
    todos_.clear();
    const int indent = indent_;
    indent_ = 1;
    std::vector<std::string> head = std::move(out_);
    out_.clear();
    dataInit();
    std::vector<std::string> dataLines = std::move(out_);
    std::vector<Todo> dataTodos = std::move(todos_);
    out_ = std::move(head);
    todos_.clear();
    declarations();
    for (const std::string& x : extraDeclarations_) line(x);
    if (u_.kind == UnitKind::program) {
        for (const std::string& b : index_.blockData) line("Call " + vbaName(b));
    }
    out_.insert(out_.end(), std::make_move_iterator(dataLines.begin()), std::make_move_iterator(dataLines.end()));
    todos_.insert(todos_.end(), dataTodos.begin(), dataTodos.end());
    todos_.insert(todos_.end(), bodyTodos.begin(), bodyTodos.end());
    indent_ = indent;
    out_.insert(out_.end(), std::make_move_iterator(bodyLines.begin()), std::make_move_iterator(bodyLines.end()));
    // Blocks the source left open.
    while (!blocks_.empty()) {
        if (inIf()) {
            --indent_;
            line("End If");
            blocks_.pop_back();
        } else {
            closeLoop();
        }
    }
    if (u_.kind == UnitKind::function && resultLocal_) {
        indent_ = 1;
        line(vbaName(u_.name) + " = " + resultName_);
    }
    out_.push_back(u_.kind == UnitKind::function ? "End Function" : "End Sub");
    (void)headerAt;
    // Each left statement's marked comment, in order: where its note points.
    std::size_t next = 0;
    for (std::size_t i = 0; i < out_.size() && next < todos_.size(); ++i) {
        const std::size_t at = out_[i].find_first_not_of(' ');
        if (at != std::string::npos && out_[i].compare(at, 13, "' FTVB-TODO: ") == 0) todos_[next++].lineInUnit = i;
    }
    UnitText text;
    text.lines = std::move(out_);
    text.todos = std::move(todos_);
    return text;
}

}  // namespace

UnitText VbaWriter::write(const Unit& unit, const std::vector<SourceItem>& leading) {
    nameGlobals();
    std::set<std::string> helpers;
    UnitWriter w(index_, unit, helpers, commonNames_, savedNames_, procByName_);
    UnitText text = w.run(leading);
    text.helpers = std::move(helpers);
    return text;
}

void VbaWriter::nameGlobals() {
    if (namesReady_) return;
    commonNames_ = globalNames();
    for (const auto& [name, proc] : index_.procs) procByName_.emplace(name, &proc);
    // A saved array is its procedure's name, "_", its own.
    std::set<std::string> taken;
    for (const auto& kv : index_.procs) taken.insert(vbaName(kv.first));
    for (const auto& kv : commonNames_) taken.insert(kv.second);
    for (const SavedArray& a : index_.savedArrays) {
        std::string n = vbaName(a.unit) + "_" + vbaName(a.name);
        while (taken.count(n) != 0) n += "_";
        taken.insert(n);
        savedNames_[{a.unit, a.name}] = n;
    }
    namesReady_ = true;
}

// The Public name of each COMMON member: its name in the first unit that
// names the block, with the block's name before it when that is taken.
std::map<std::pair<std::string, int>, std::string> VbaWriter::globalNames() const {
    std::map<std::pair<std::string, int>, std::string> names;
    std::set<std::string> taken;
    for (const auto& kv : index_.procs) taken.insert(vbaName(kv.first));
    for (const std::string& block : index_.commonOrder) {
        const auto& members = index_.commons.at(block);
        for (std::size_t i = 0; i < members.size(); ++i) {
            std::string n = vbaName(members[i].name);
            if (taken.count(n) != 0) n = vbaName(block.empty() ? "blank" : block) + "_" + n;
            taken.insert(n);
            names[{block, static_cast<int>(i)}] = n;
        }
    }
    return names;
}

std::vector<std::string> VbaWriter::commonDeclarations() {
    std::vector<std::string> out;
    std::set<std::string> taken;
    for (const auto& kv : index_.procs) taken.insert(vbaName(kv.first));
    for (const std::string& block : index_.commonOrder) {
        out.push_back(block.empty() ? "' blank COMMON" : "' COMMON /" + block + "/");
        const auto& members = index_.commons.at(block);
        for (const CommonMember& m : members) {
            std::string n = vbaName(m.name);
            if (taken.count(n) != 0) n = vbaName(block.empty() ? "blank" : block) + "_" + n;
            taken.insert(n);
            if (m.name.empty()) continue;
            if (m.size > 0) {
                out.push_back("Public " + n + "(1 To " + std::to_string(m.size) + ") As " + vbaType(m.type));
            } else {
                out.push_back("Public " + n + " As " + vbaType(m.type));
            }
        }
    }
    nameGlobals();
    std::string unit;
    for (const SavedArray& a : index_.savedArrays) {
        if (a.unit != unit) out.push_back("' Saved in " + vbaName(a.unit));
        unit = a.unit;
        out.push_back("Public " + savedNames_.at({a.unit, a.name}) + "(1 To " + std::to_string(a.size) + ") As " +
                      vbaType(a.type));
    }
    return out;
}

}  // namespace ftvb::finish
