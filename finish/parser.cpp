// Statements: kind from the squeezed text, parts by recursive descent over
// tokens. Expressions follow FORTRAN's precedence, low to high:
// .eqv./.neqv., .or., .and., .not., relations, //, + and - (a sign applies
// to the whole term), * and /, ** (right-associative, its right side may
// carry a sign).
#include "finish/parser.h"

#include <optional>
#include <span>
#include <stdexcept>

#include "finish/scratch.h"

namespace ftvb::finish {

ExprPtr cloneExpr(const Expr& e) {
    auto c = std::make_unique<Expr>();
    c->kind = e.kind;
    c->text = e.text;
    c->op = e.op;
    c->isDouble = e.isDouble;
    c->items = e.items;
    c->at = e.at;
    for (const ExprPtr& a : e.args) c->args.push_back(a ? cloneExpr(*a) : nullptr);
    return c;
}

namespace {

struct ParseError : std::runtime_error {
    ParseError(const std::string& what, std::size_t at) : std::runtime_error(what), at(at) {}
    std::size_t at;
};

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

// Index of the ')' matching the '(' at s[open], outside quotes; npos if none.
std::size_t matchParen(std::string_view s, std::size_t open) {
    int depth = 0;
    char quote = 0;
    for (std::size_t i = open; i < s.size(); ++i) {
        const char c = s[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0) return i;
        }
    }
    return std::string_view::npos;
}

// Index of the first `ch` at depth 0 outside quotes, from `from`.
std::size_t topLevel(std::string_view s, char ch, std::size_t from = 0) {
    int depth = 0;
    char quote = 0;
    for (std::size_t i = from; i < s.size(); ++i) {
        const char c = s[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (c == ch && depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool isNameStart(char c) { return c >= 'a' && c <= 'z'; }
bool isNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$'; }

// Whether s is a name, optionally followed by one or two parenthesised
// groups: the shape of an assignment's left side.
bool isReference(std::string_view s) {
    if (s.empty() || !isNameStart(s[0])) return false;
    std::size_t i = 1;
    while (i < s.size() && isNameChar(s[i])) ++i;
    for (int group = 0; group < 2 && i < s.size(); ++group) {
        if (s[i] != '(') return false;
        const std::size_t close = matchParen(s, i);
        if (close == std::string_view::npos) return false;
        i = close + 1;
    }
    return i == s.size();
}

// Token lists handed from one parser to the next (see Scratch), so that a
// statement's parsers do not each allocate their own; the room of a very
// long statement is not kept. Null when no room is lent.
std::vector<std::vector<Token>>* tokenLists() {
    Scratch* room = threadScratch();
    return room != nullptr ? &room->tokenLists : nullptr;
}

class Parser {
public:
    Parser(std::string_view text, std::size_t from, std::size_t to) {
        std::vector<std::vector<Token>>* lists = tokenLists();
        if (lists != nullptr && !lists->empty()) {
            tokens_ = std::move(lists->back());
            lists->pop_back();
        }
        tokenizeInto(tokens_, text, from, to);
    }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
    ~Parser() {
        std::vector<std::vector<Token>>* lists = tokenLists();
        if (lists == nullptr || tokens_.capacity() == 0 || tokens_.capacity() > 4096) return;
        tokens_.clear();
        lists->push_back(std::move(tokens_));
    }

    const Token& peek(std::size_t ahead = 0) const { return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)]; }
    bool atEnd() const { return peek().kind == Token::Kind::end; }
    bool isOp(std::string_view op, std::size_t ahead = 0) const { return peek(ahead).code == opCode(op); }
    bool accept(std::string_view op) {
        if (!isOp(op)) return false;
        ++pos_;
        return true;
    }
    void expect(std::string_view op) {
        if (!accept(op)) fail("expected '" + std::string(op) + "'");
    }
    [[noreturn]] void fail(const std::string& why) const {
        const Token& t = peek();
        throw ParseError(why + (t.kind == Token::Kind::end ? " at the end" : " before '" + t.text + "'"), t.at);
    }
    void expectEnd() {
        if (!atEnd()) fail("unexpected text");
    }
    std::string name() {
        if (peek().kind != Token::Kind::name) fail("expected a name");
        return tokens_[pos_++].text;
    }
    std::string integerText() {
        if (peek().kind != Token::Kind::integer) fail("expected a number");
        return tokens_[pos_++].text;
    }

    ExprPtr make(Expr::Kind kind, std::size_t at) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->at = at;
        return e;
    }
    ExprPtr binary(std::string op, ExprPtr l, ExprPtr r, std::size_t at) {
        ExprPtr e = make(Expr::Kind::binary, at);
        e->op = std::move(op);
        e->args.reserve(2);
        e->args.push_back(std::move(l));
        e->args.push_back(std::move(r));
        return e;
    }

    ExprPtr expression() { return equivalence(); }
    ExprPtr equivalence() {
        ExprPtr l = disjunction();
        while (isOp(".eqv.") || isOp(".neqv.")) {
            const Token& t = tokens_[pos_++];
            l = binary(t.text, std::move(l), disjunction(), t.at);
        }
        return l;
    }
    ExprPtr disjunction() {
        ExprPtr l = conjunction();
        while (isOp(".or.")) {
            const std::size_t at = tokens_[pos_++].at;
            l = binary(".or.", std::move(l), conjunction(), at);
        }
        return l;
    }
    ExprPtr conjunction() {
        ExprPtr l = negation();
        while (isOp(".and.")) {
            const std::size_t at = tokens_[pos_++].at;
            l = binary(".and.", std::move(l), negation(), at);
        }
        return l;
    }
    ExprPtr negation() {
        if (isOp(".not.")) {
            ExprPtr e = make(Expr::Kind::unary, tokens_[pos_++].at);
            e->op = ".not.";
            e->args.push_back(negation());
            return e;
        }
        return relation();
    }
    ExprPtr relation() {
        ExprPtr l = concatenation();
        if (peek().kind != Token::Kind::op) return l;
        static const char* const kRel[] = {".eq.", ".ne.", ".lt.", ".le.", ".gt.", ".ge."};
        for (const char* r : kRel) {
            if (isOp(r)) {
                const std::size_t at = tokens_[pos_++].at;
                return binary(r, std::move(l), concatenation(), at);
            }
        }
        // The F90 spellings, which F77 sources written lately use.
        static const std::pair<const char*, const char*> kSymbols[] = {{"==", ".eq."}, {"/=", ".ne."}, {"<=", ".le."},
                                                                       {">=", ".ge."}, {"<", ".lt."},  {">", ".gt."}};
        for (const auto& [sym, rel] : kSymbols) {
            if (isOp(sym)) {
                const std::size_t at = tokens_[pos_++].at;
                return binary(rel, std::move(l), concatenation(), at);
            }
        }
        return l;
    }
    ExprPtr concatenation() {
        ExprPtr l = additive();
        while (isOp("//")) {
            const std::size_t at = tokens_[pos_++].at;
            l = binary("//", std::move(l), additive(), at);
        }
        return l;
    }
    ExprPtr additive() {
        ExprPtr l;
        if (isOp("-") || isOp("+")) {
            const Token& t = tokens_[pos_++];
            l = make(Expr::Kind::unary, t.at);
            l->op = t.text;
            l->args.push_back(term());
        } else {
            l = term();
        }
        while (isOp("+") || isOp("-")) {
            const Token& t = tokens_[pos_++];
            l = binary(t.text, std::move(l), term(), t.at);
        }
        return l;
    }
    ExprPtr term() {
        ExprPtr l = power();
        while (isOp("*") || isOp("/")) {
            const Token& t = tokens_[pos_++];
            l = binary(t.text, std::move(l), power(), t.at);
        }
        return l;
    }
    ExprPtr power() {
        ExprPtr base = primary();
        if (isOp("**")) {
            const std::size_t at = tokens_[pos_++].at;
            ExprPtr exponent;
            if (isOp("-") || isOp("+")) {
                const Token& t = tokens_[pos_++];
                exponent = make(Expr::Kind::unary, t.at);
                exponent->op = t.text;
                exponent->args.push_back(power());
            } else {
                exponent = power();
            }
            return binary("**", std::move(base), std::move(exponent), at);
        }
        return base;
    }
    // The arguments of name( ... ): expressions, a "*" alone, or a lo:hi range
    // that makes the reference a substring.
    void argumentsInto(Expr& call, bool& isRange, ExprPtr& lo, ExprPtr& hi) {
        isRange = false;
        if (accept(")")) return;
        for (;;) {
            ExprPtr a;
            if (isOp(":")) {
                a = nullptr;
            } else if (isOp("*") && (isOp(",", 1) || isOp(")", 1))) {
                a = make(Expr::Kind::star, tokens_[pos_++].at);
            } else {
                a = expression();
            }
            if (accept(":")) {
                isRange = true;
                lo = std::move(a);
                if (!isOp(")")) hi = expression();
                expect(")");
                return;
            }
            call.args.push_back(std::move(a));
            if (accept(")")) return;
            expect(",");
        }
    }
    ExprPtr substringOf(ExprPtr base) {
        // after the '('
        ExprPtr s = make(Expr::Kind::substring, base->at);
        ExprPtr lo, hi;
        if (!isOp(":")) lo = expression();
        expect(":");
        if (!isOp(")")) hi = expression();
        expect(")");
        s->args.reserve(3);
        s->args.push_back(std::move(base));
        s->args.push_back(std::move(lo));
        s->args.push_back(std::move(hi));
        return s;
    }
    ExprPtr primary() {
        const Token& t = peek();
        switch (t.kind) {
            case Token::Kind::integer:
            case Token::Kind::real:
            case Token::Kind::logical: {
                ++pos_;
                ExprPtr e = make(t.kind == Token::Kind::integer ? Expr::Kind::integer
                                 : t.kind == Token::Kind::real  ? Expr::Kind::real
                                                                : Expr::Kind::logical,
                                 t.at);
                e->text = t.text;
                e->isDouble = t.isDouble;
                return e;
            }
            case Token::Kind::string: {
                ++pos_;
                ExprPtr e = make(Expr::Kind::string, t.at);
                e->text = t.text;
                if (accept("(")) return substringOf(std::move(e));
                return e;
            }
            case Token::Kind::name: {
                ++pos_;
                ExprPtr e = make(Expr::Kind::name, t.at);
                e->text = t.text;
                if (accept("(")) {
                    ExprPtr call = make(Expr::Kind::call, t.at);
                    call->text = t.text;
                    call->args.reserve(itemsAhead());
                    bool range = false;
                    ExprPtr lo, hi;
                    argumentsInto(*call, range, lo, hi);
                    if (range) {
                        if (!call->args.empty()) fail("a substring range among subscripts");
                        ExprPtr s = make(Expr::Kind::substring, t.at);
                        s->args.reserve(3);
                        s->args.push_back(std::move(e));
                        s->args.push_back(std::move(lo));
                        s->args.push_back(std::move(hi));
                        return s;
                    }
                    if (accept("(")) return substringOf(std::move(call));
                    return call;
                }
                return e;
            }
            case Token::Kind::op:
                if (t.text == "(") {
                    ++pos_;
                    ExprPtr inner = expression();
                    if (isOp(",")) fail("a complex constant");
                    expect(")");
                    ExprPtr e = make(Expr::Kind::paren, t.at);
                    e->args.push_back(std::move(inner));
                    return e;
                }
                break;
            case Token::Kind::end: break;
        }
        fail("expected an operand");
    }

    // An item of an I/O list or a DATA target: an expression or an implied
    // DO "(items, v = lo, hi [, step])".
    ExprPtr listItem() {
        if (isOp("(") && isImpliedDo()) {
            const std::size_t at = tokens_[pos_++].at;
            ExprPtr d = make(Expr::Kind::impliedDo, at);
            for (;;) {
                if (peek().kind == Token::Kind::name && isOp("=", 1)) break;
                d->args.push_back(listItem());
                expect(",");
            }
            d->items = d->args.size();
            ExprPtr var = make(Expr::Kind::name, peek().at);
            var->text = name();
            expect("=");
            d->args.push_back(std::move(var));
            d->args.push_back(expression());
            expect(",");
            d->args.push_back(expression());
            d->args.push_back(accept(",") ? expression() : nullptr);
            expect(")");
            return d;
        }
        return expression();
    }
    // How many comma-separated items follow, up to the ')' that closes
    // the group or the end: room for them is made at once.
    std::size_t itemsAhead() const {
        std::size_t count = 1;
        int depth = 0;
        for (std::size_t k = pos_; k < tokens_.size(); ++k) {
            const std::uint64_t code = tokens_[k].code;
            if (code == opCode("(")) {
                ++depth;
            } else if (code == opCode(")")) {
                if (--depth < 0) break;
            } else if (code == opCode(",") && depth == 0) {
                ++count;
            }
        }
        return count;
    }
    // From a '(', whether "name =" follows a top-level comma inside.
    bool isImpliedDo() const {
        int depth = 0;
        for (std::size_t k = pos_; k < tokens_.size(); ++k) {
            const Token& t = tokens_[k];
            if (t.kind != Token::Kind::op) continue;
            if (t.text == "(") {
                ++depth;
            } else if (t.text == ")") {
                if (--depth == 0) return false;
            } else if (t.text == "," && depth == 1 && tokens_[k + 1].kind == Token::Kind::name &&
                       k + 2 < tokens_.size() && tokens_[k + 2].kind == Token::Kind::op && tokens_[k + 2].text == "=") {
                return true;
            }
        }
        return false;
    }
    std::vector<ExprPtr> list() {
        std::vector<ExprPtr> items;
        if (atEnd()) return items;
        items.reserve(itemsAhead());
        for (;;) {
            items.push_back(listItem());
            if (atEnd()) return items;
            expect(",");
        }
    }

    // name [(bounds)] [*len]
    Declarator declarator(bool allowLength, std::optional<std::string> given = std::nullopt) {
        Declarator d;
        d.name = given ? *given : name();
        if (allowLength && accept("*")) d.length = lengthSpec();
        if (accept("(")) {
            for (;;) {
                ExprPtr lo;
                ExprPtr hi;
                if (isOp("*")) {
                    hi = make(Expr::Kind::star, tokens_[pos_++].at);
                } else {
                    hi = expression();
                    if (accept(":")) {
                        lo = std::move(hi);
                        if (isOp("*")) {
                            hi = make(Expr::Kind::star, tokens_[pos_++].at);
                        } else {
                            hi = expression();
                        }
                    }
                }
                d.lower.push_back(std::move(lo));
                d.upper.push_back(std::move(hi));
                if (accept(")")) break;
                expect(",");
            }
        }
        if (allowLength && !d.length && accept("*")) d.length = lengthSpec();
        return d;
    }
    // After CHARACTER's '*': n, (expr) or (*).
    ExprPtr lengthSpec() {
        if (accept("(")) {
            ExprPtr e;
            if (isOp("*")) {
                e = make(Expr::Kind::star, tokens_[pos_++].at);
            } else {
                e = expression();
            }
            expect(")");
            return e;
        }
        ExprPtr e = make(Expr::Kind::integer, peek().at);
        e->text = integerText();
        return e;
    }
    std::vector<Declarator> declarators(bool allowLength, bool allowValue = false) {
        std::vector<Declarator> out;
        for (;;) {
            out.push_back(declarator(allowLength));
            if (allowValue && accept("=")) out.back().value = expression();
            if (atEnd()) return out;
            expect(",");
        }
    }

    std::size_t pos_ = 0;
    std::vector<Token> tokens_;
};

struct TypeWord {
    std::string_view word;
    BaseType base;
};
constexpr TypeWord kTypeWords[] = {
    {"doubleprecision", BaseType::doublePrecision},
    {"doublecomplex", BaseType::complex},
    {"integer", BaseType::integer},
    {"real", BaseType::real},
    {"logical", BaseType::logical},
    {"character", BaseType::character},
    {"complex", BaseType::complex},
    {"byte", BaseType::integer},
};

// The type at the start of s and where it ends: "real*8" is double
// precision, "integer*2" an integer, "character*(*)" keeps its length.
bool typePrefix(std::string_view s, TypeSpec& type, std::size_t& end, bool parenthesisedKind = true) {
    for (const TypeWord& w : kTypeWords) {
        if (!startsWith(s, w.word)) continue;
        type.base = w.base;
        end = w.word.size();
        if (parenthesisedKind && end < s.size() && s[end] == '(') {
            // The later forms: character(len=n), character(*), real(8), real(kind=8).
            const std::size_t close = matchParen(s, end);
            if (close == std::string_view::npos) return false;
            std::size_t from = end + 1;
            for (std::string_view key : {std::string_view("len="), std::string_view("kind=")}) {
                if (s.substr(from, key.size()) == key) from += key.size();
            }
            if (w.base == BaseType::character) {
                Parser p(s, from, close);
                if (p.isOp("*")) {
                    type.length = p.make(Expr::Kind::star, from);
                } else {
                    type.length = p.expression();
                }
            } else if (w.base == BaseType::real && s.substr(from, close - from) == "8") {
                type.base = BaseType::doublePrecision;
            }
            end = close + 1;
        } else if (end < s.size() && s[end] == '*') {
            std::size_t j = end + 1;
            if (j < s.size() && s[j] == '(') {
                const std::size_t close = matchParen(s, j);
                if (close == std::string_view::npos) return false;
                if (w.base == BaseType::character) {
                    Parser p(s, j + 1, close);
                    if (p.isOp("*")) {
                        type.length = p.make(Expr::Kind::star, j + 1);
                    } else {
                        type.length = p.expression();
                    }
                }
                end = close + 1;
            } else {
                std::size_t k = j;
                while (k < s.size() && s[k] >= '0' && s[k] <= '9') ++k;
                const std::string digits(s.substr(j, k - j));
                if (digits.empty()) return false;
                if (w.base == BaseType::character) {
                    type.length = std::make_unique<Expr>();
                    type.length->kind = Expr::Kind::integer;
                    type.length->text = digits;
                } else if (w.base == BaseType::real && digits == "8") {
                    type.base = BaseType::doublePrecision;
                } else if (w.base == BaseType::complex && digits == "16") {
                    type.base = BaseType::complex;
                }
                end = k;
            }
        }
        return true;
    }
    return false;
}

void parseHeader(Stmt& st, std::string_view s, std::size_t from) {
    Parser p(s, from, s.size());
    st.name = p.name();
    if (p.accept("(")) {
        if (!p.accept(")")) {
            for (;;) {
                if (p.accept("*")) {
                    st.names.push_back("*");  // an alternate return
                } else {
                    st.names.push_back(p.name());
                }
                if (p.accept(")")) break;
                p.expect(",");
            }
        }
    }
    p.expectEnd();
}

void parseIoControl(Stmt& st, Parser& p) {
    // (unit[, fmt][, key=value]...)
    p.expect("(");
    int position = 0;
    for (;;) {
        std::string key;
        if (p.peek().kind == Token::Kind::name && p.isOp("=", 1)) {
            key = p.name();
            p.expect("=");
        } else {
            key = position == 0 ? "unit" : position == 1 ? "fmt" : "";
            if (key.empty()) p.fail("a positional item after the format");
        }
        ++position;
        ExprPtr value;
        if (p.isOp("*") && (p.isOp(",", 1) || p.isOp(")", 1))) {
            ++p.pos_;
        } else {
            value = p.expression();
        }
        if (key == "unit") {
            st.io.unit = std::move(value);
        } else if (key == "fmt") {
            st.io.format = std::move(value);
            if (!st.io.format) {
                st.io.keywords.push_back({"fmt*", nullptr});
            }
        } else {
            st.io.keywords.push_back({key, std::move(value)});
        }
        if (p.accept(")")) break;
        p.expect(",");
    }
}

std::vector<std::string> labelList(Parser& p) {
    std::vector<std::string> labels;
    p.expect("(");
    for (;;) {
        labels.push_back(p.integerText());
        if (p.accept(")")) break;
        p.expect(",");
    }
    return labels;
}

void classify(Stmt& st, std::string_view s, std::string_view raw, std::span<const std::uint32_t> rawAt);

// The statement after IF(...): a statement of its own.
void parseLogicalIf(Stmt& st, std::string_view s, std::string_view raw, std::span<const std::uint32_t> rawAt) {
    const std::size_t close = matchParen(s, 2);
    if (close == std::string_view::npos) throw ParseError("unbalanced parentheses", 2);
    Parser cond(s, 3, close);
    ExprPtr c = cond.expression();
    cond.expectEnd();
    const std::string_view rest = s.substr(close + 1);
    if (rest == "then") {
        st.kind = Stmt::Kind::ifBlock;
        st.exprs.push_back(std::move(c));
        return;
    }
    if (!rest.empty() && rest[0] >= '0' && rest[0] <= '9') {
        st.kind = Stmt::Kind::ifArithmetic;
        Parser p(s, close + 1, s.size());
        for (;;) {
            st.labels.push_back(p.integerText());
            if (p.atEnd()) break;
            p.expect(",");
        }
        if (st.labels.size() != 3 && st.labels.size() != 2)
            throw ParseError("an arithmetic IF needs three labels", close + 1);
        st.exprs.push_back(std::move(c));
        return;
    }
    st.kind = Stmt::Kind::ifLogical;
    st.exprs.push_back(std::move(c));
    st.inner = std::make_unique<Stmt>();
    st.inner->line = st.line;
    // The inner statement's text, still in squeezed coordinates.
    st.inner->source = std::string(raw.substr(close + 1 < rawAt.size() ? rawAt[close + 1] : raw.size()));
    classify(*st.inner, rest, raw, rawAt.subspan(close + 1));
    if (st.inner->kind == Stmt::Kind::ifLogical || st.inner->kind == Stmt::Kind::ifBlock ||
        st.inner->kind == Stmt::Kind::doLoop) {
        throw ParseError("a logical IF cannot hold that statement", close + 1);
    }
}

void parseData(Stmt& st, std::string_view s, std::size_t from) {
    Parser p(s, from, s.size());
    while (!p.atEnd()) {
        Stmt::DataGroup g;
        for (;;) {
            // A target is a reference or an implied DO; a '/' ends the list.
            g.targets.push_back(p.isOp("(") ? p.listItem() : p.primary());
            if (p.accept("/")) break;
            p.expect(",");
        }
        for (;;) {
            // [r*] constant, with a sign; r may be a PARAMETER name.
            ExprPtr repeat;
            if ((p.peek().kind == Token::Kind::integer || p.peek().kind == Token::Kind::name) && p.isOp("*", 1)) {
                repeat = p.primary();
                p.expect("*");
            }
            ExprPtr value;
            if (p.isOp("-") || p.isOp("+")) {
                const Token& t = p.peek();
                ++p.pos_;
                value = p.make(Expr::Kind::unary, t.at);
                value->op = t.text;
                value->args.push_back(p.primary());
            } else {
                value = p.primary();
            }
            g.values.push_back(std::move(value));
            g.repeats.push_back(std::move(repeat));
            if (p.accept("/")) break;
            p.expect(",");
        }
        st.data.push_back(std::move(g));
        p.accept(",");
    }
}

void parseCommon(Stmt& st, std::string_view s, std::size_t from) {
    Parser p(s, from, s.size());
    std::string block;
    bool first = true;
    while (!p.atEnd()) {
        if (p.accept("//")) {
            block.clear();
        } else if (p.accept("/")) {
            block = p.name();
            p.expect("/");
        } else if (!first) {
            p.fail("expected a block name");
        }
        first = false;
        std::vector<Declarator> members;
        for (;;) {
            members.push_back(p.declarator(false));
            if (p.atEnd() || p.isOp("/") || p.isOp("//")) break;
            p.expect(",");
            if (p.isOp("/") || p.isOp("//")) break;
        }
        st.blocks.push_back({block, std::move(members)});
    }
}

void parseImplicit(Stmt& st, std::string_view s, std::size_t from) {
    if (s.substr(from) == "none") {
        st.implicitNone = true;
        return;
    }
    std::size_t i = from;
    while (i < s.size()) {
        TypeSpec type;
        std::size_t end = 0;
        if (!typePrefix(s.substr(i), type, end, false)) throw ParseError("expected a type", i);
        i += end;
        if (i >= s.size() || s[i] != '(') throw ParseError("expected '('", i);
        const std::size_t close = matchParen(s, i);
        if (close == std::string_view::npos) throw ParseError("unbalanced parentheses", i);
        std::vector<std::pair<char, char>> ranges;
        std::size_t k = i + 1;
        while (k < close) {
            const char a = s[k];
            char b = a;
            if (k + 2 < close && s[k + 1] == '-') {
                b = s[k + 2];
                k += 3;
            } else {
                ++k;
            }
            if (!isNameStart(a) || !isNameStart(b)) throw ParseError("expected a letter", k);
            ranges.push_back({a, b});
            if (k < close && s[k] == ',') ++k;
        }
        st.implicitRules.push_back({std::move(type), std::move(ranges)});
        i = close + 1;
        if (i < s.size() && s[i] == ',') ++i;
    }
}

// `rawAt[i]` is the index in `raw` (the statement as written) of s[i].
void classify(Stmt& st, std::string_view s, std::string_view raw, std::span<const std::uint32_t> rawAt) {
    using K = Stmt::Kind;
    auto rest = [&](std::size_t from) { return Parser(s, from, s.size()); };

    // An assignment, a DO, or a statement function: a top-level '='.
    const std::size_t eq = topLevel(s, '=');
    if (eq != std::string_view::npos) {
        const std::string_view lhs = s.substr(0, eq);
        const bool doComma = topLevel(s, ',', eq) != std::string_view::npos;
        if (startsWith(s, "do") && doComma) {
            std::size_t i = 2;
            while (i < eq && s[i] >= '0' && s[i] <= '9') ++i;
            st.doLabel = std::string(s.substr(2, i - 2));
            if (i < eq && s[i] == ',' && !st.doLabel.empty()) ++i;
            if (i < eq && isReference(s.substr(i, eq - i)) && s.substr(i, eq - i).find('(') == std::string_view::npos) {
                st.kind = K::doLoop;
                st.name = std::string(s.substr(i, eq - i));
                Parser p = rest(eq + 1);
                st.exprs.push_back(p.expression());
                p.expect(",");
                st.exprs.push_back(p.expression());
                if (p.accept(",")) st.exprs.push_back(p.expression());
                p.expectEnd();
                return;
            }
        }
        if (isReference(lhs) && !(startsWith(s, "if(") && matchParen(s, 2) + 1 < eq)) {
            st.kind = K::assignment;
            Parser target(s, 0, eq);
            st.target = target.primary();
            target.expectEnd();
            Parser value = rest(eq + 1);
            st.exprs.push_back(value.expression());
            value.expectEnd();
            return;
        }
    }

    if (startsWith(s, "if(")) return parseLogicalIf(st, s, raw, rawAt);
    if (startsWith(s, "elseif(")) {
        const std::size_t close = matchParen(s, 6);
        if (close == std::string_view::npos || s.substr(close + 1) != "then")
            throw ParseError("ELSE IF needs (condition) THEN", 6);
        st.kind = K::elseIf;
        Parser p(s, 7, close);
        st.exprs.push_back(p.expression());
        p.expectEnd();
        return;
    }
    if (s == "else") {
        st.kind = K::elseBlock;
        return;
    }
    if (s == "endif") {
        st.kind = K::endIf;
        return;
    }
    if (s == "enddo") {
        st.kind = K::endDo;
        return;
    }
    if (s == "end" || s == "endprogram" || s == "endsubroutine" || s == "endfunction" ||
        startsWith(s, "endsubroutine") || startsWith(s, "endfunction") || startsWith(s, "endprogram")) {
        st.kind = K::end;
        return;
    }
    if (startsWith(s, "recursive")) {
        return classify(st, s.substr(9), raw, rawAt.subspan(9));
    }
    if (s == "exit" || s == "cycle") {
        st.kind = s == "exit" ? K::exitStmt : K::cycleStmt;
        return;
    }
    if (s == "continue") {
        st.kind = K::continueStmt;
        return;
    }
    if (startsWith(s, "dowhile(") ||
        (startsWith(s, "do") && s.find("while(") != std::string_view::npos && s.find("while(") > 2)) {
        std::size_t i = 2;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        st.doLabel = std::string(s.substr(2, i - 2));
        if (i < s.size() && s[i] == ',') ++i;
        if (s.substr(i, 6) == "while(") {
            const std::size_t close = matchParen(s, i + 5);
            if (close == std::string_view::npos || close + 1 != s.size())
                throw ParseError("DO WHILE needs (condition)", i);
            st.kind = K::doWhile;
            Parser p(s, i + 6, close);
            st.exprs.push_back(p.expression());
            p.expectEnd();
            return;
        }
    }
    if (s == "do") throw ParseError("a DO without a variable (DO forever) is not FORTRAN 77", 0);
    if (startsWith(s, "goto")) {
        Parser p = rest(4);
        if (p.isOp("(")) {
            st.kind = K::computedGoto;
            st.labels = labelList(p);
            p.accept(",");
            st.exprs.push_back(p.expression());
            p.expectEnd();
            return;
        }
        if (p.peek().kind == Token::Kind::integer) {
            st.kind = K::gotoStmt;
            st.labels.push_back(p.integerText());
            p.expectEnd();
            return;
        }
        st.kind = K::assignedGoto;
        st.name = p.name();
        p.accept(",");
        if (p.isOp("(")) st.labels = labelList(p);
        p.expectEnd();
        return;
    }
    if (startsWith(s, "assign")) {
        std::size_t i = 6;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        if (i > 6 && s.substr(i, 2) == "to") {
            st.kind = K::assignStmt;
            st.labels.push_back(std::string(s.substr(6, i - 6)));
            Parser p = rest(i + 2);
            st.name = p.name();
            p.expectEnd();
            return;
        }
    }
    if (startsWith(s, "call")) {
        st.kind = K::call;
        Parser p = rest(4);
        st.name = p.name();
        if (p.accept("(")) {
            if (!p.accept(")")) {
                st.exprs.reserve(p.itemsAhead());
                for (;;) {
                    if (p.isOp("*") || p.isOp("&")) {
                        ++p.pos_;
                        st.labels.push_back(p.integerText());  // an alternate return
                        auto star = p.make(Expr::Kind::star, p.peek().at);
                        st.exprs.push_back(std::move(star));
                    } else {
                        st.exprs.push_back(p.expression());
                    }
                    if (p.accept(")")) break;
                    p.expect(",");
                }
            }
        }
        p.expectEnd();
        return;
    }
    if (s == "return" || startsWith(s, "return")) {
        st.kind = K::returnStmt;
        Parser p = rest(6);
        if (!p.atEnd()) st.exprs.push_back(p.expression());
        p.expectEnd();
        return;
    }
    if (startsWith(s, "stop") || startsWith(s, "pause")) {
        st.kind = startsWith(s, "stop") ? K::stopStmt : K::pauseStmt;
        Parser p = rest(st.kind == K::stopStmt ? 4 : 5);
        if (!p.atEnd()) st.exprs.push_back(p.primary());
        p.expectEnd();
        return;
    }
    if (startsWith(s, "format(")) {
        st.kind = K::format;
        // The squeezed text keeps the blanks of quoted and Hollerith texts
        // (the latter as quoted strings); edit descriptors in capitals.
        if (s.back() != ')') throw ParseError("FORMAT needs ( )", 6);
        std::string text;
        char quote = 0;
        for (char c : s.substr(6)) {
            if (quote != 0) {
                if (c == quote) quote = 0;
            } else if (c == '\'' || c == '"') {
                quote = c;
            } else if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
            text += c;
        }
        st.formatText = std::move(text);
        return;
    }
    for (std::string_view io : {std::string_view("write("), std::string_view("read("), std::string_view("open("),
                                std::string_view("close("), std::string_view("inquire("), std::string_view("rewind("),
                                std::string_view("backspace("), std::string_view("endfile(")}) {
        if (!startsWith(s, io)) continue;
        st.kind = io == "write("     ? K::write
                  : io == "read("    ? K::read
                  : io == "open("    ? K::open
                  : io == "close("   ? K::close
                  : io == "inquire(" ? K::inquire
                  : io == "rewind("  ? K::rewind
                  : io == "endfile(" ? K::endfile
                                     : K::backspace;
        Parser p = rest(io.size() - 1);
        parseIoControl(st, p);
        if (st.kind == K::write || st.kind == K::read) {
            p.accept(",");
            st.exprs = p.list();
        }
        p.expectEnd();
        return;
    }
    if (startsWith(s, "print") || startsWith(s, "read")) {
        // PRINT fmt[, list] and READ fmt[, list]
        const bool print = startsWith(s, "print");
        st.kind = print ? K::print : K::read;
        Parser p = rest(print ? 5 : 4);
        if (p.isOp("*")) {
            ++p.pos_;
        } else {
            st.io.format = p.expression();
        }
        if (p.accept(",")) st.exprs = p.list();
        p.expectEnd();
        return;
    }
    for (std::string_view w :
         {std::string_view("rewind"), std::string_view("backspace"), std::string_view("endfile")}) {
        if (startsWith(s, w)) {
            st.kind = w == "rewind" ? K::rewind : w == "backspace" ? K::backspace : K::endfile;
            Parser p = rest(w.size());
            st.io.unit = p.expression();
            p.expectEnd();
            return;
        }
    }
    if (startsWith(s, "program")) {
        st.kind = K::program;
        Parser p = rest(7);
        st.name = p.name();
        p.expectEnd();
        return;
    }
    if (startsWith(s, "subroutine")) {
        st.kind = K::subroutine;
        return parseHeader(st, s, 10);
    }
    if (startsWith(s, "function")) {
        st.kind = K::function;
        return parseHeader(st, s, 8);
    }
    if (startsWith(s, "blockdata")) {
        st.kind = K::blockData;
        st.name = std::string(s.substr(9));
        return;
    }
    {
        TypeSpec type;
        std::size_t end = 0;
        if (typePrefix(s, type, end)) {
            if (startsWith(s.substr(end), "function") && end + 8 < s.size() && isNameStart(s[end + 8]) &&
                s.find('(', end) != std::string_view::npos) {
                st.kind = K::function;
                st.type = std::move(type);
                return parseHeader(st, s, end + 8);
            }
            st.kind = K::typeDecl;
            st.type = std::move(type);
            std::size_t at = end;
            if (at < s.size() && s[at] == ',') {
                // TYPE, attributes :: names
                const std::size_t colons = s.find("::", at);
                if (colons == std::string_view::npos) {
                    Parser p = rest(at + 1);
                    st.decls = p.declarators(true);
                    return;
                }
                std::size_t from = at + 1;
                while (from < colons) {
                    std::size_t comma = topLevel(s.substr(0, colons), ',', from);
                    if (comma == std::string_view::npos) comma = colons;
                    const std::string_view attr = s.substr(from, comma - from);
                    if (startsWith(attr, "dimension(")) {
                        Parser p(s, from + 9, comma);
                        Declarator dims = p.declarator(false, "");
                        st.dimensionAttr = std::make_unique<Declarator>(std::move(dims));
                    } else {
                        const std::size_t open = attr.find('(');
                        st.attributes.push_back(std::string(attr.substr(0, open)));
                    }
                    from = comma + 1;
                }
                at = colons + 2;
            } else if (s.substr(at, 2) == "::") {
                at += 2;
            }
            Parser p = rest(at);
            st.decls = p.declarators(true, true);
            return;
        }
    }
    if (startsWith(s, "dimension")) {
        st.kind = K::dimension;
        st.decls = rest(9).declarators(false);
        return;
    }
    if (startsWith(s, "parameter(")) {
        st.kind = K::parameter;
        Parser p = rest(10);
        for (;;) {
            Declarator d;
            d.name = p.name();
            p.expect("=");
            d.value = p.expression();
            st.decls.push_back(std::move(d));
            if (p.accept(")")) break;
            p.expect(",");
        }
        p.expectEnd();
        return;
    }
    if (startsWith(s, "implicit")) {
        st.kind = K::implicit;
        return parseImplicit(st, s, 8);
    }
    for (std::string_view w : {std::string_view("external"), std::string_view("intrinsic"), std::string_view("save")}) {
        if (!startsWith(s, w)) continue;
        st.kind = w == "external" ? K::external : w == "intrinsic" ? K::intrinsic : K::save;
        std::size_t from = w.size();
        if (s.substr(from, 2) == "::") from += 2;
        Parser p = rest(from);
        while (!p.atEnd()) {
            if (p.accept("/")) {
                st.names.push_back("/" + p.name());
                p.expect("/");
            } else {
                st.names.push_back(p.name());
            }
            if (p.atEnd()) break;
            p.expect(",");
        }
        return;
    }
    if (startsWith(s, "common")) {
        st.kind = K::common;
        return parseCommon(st, s, 6);
    }
    if (startsWith(s, "data")) {
        st.kind = K::data;
        return parseData(st, s, 4);
    }
    if (startsWith(s, "equivalence")) {
        st.kind = K::equivalence;
        return;
    }
    if (startsWith(s, "entry")) {
        st.kind = K::entry;
        return;
    }
    if (startsWith(s, "include")) {
        st.kind = K::include;
        return;
    }
    throw ParseError("not a statement this translator knows", 0);
}

}  // namespace

Stmt parseStatement(std::string_view text, std::string_view label, long long line) {
    return parseOwnedStatement(std::string(text), label, line);
}

Stmt parseOwnedStatement(std::string&& text, std::string_view label, long long line) {
    Stmt st;
    parseStatementInto(st, std::move(text), label, line);
    return st;
}

void parseStatementInto(Stmt& st, std::string&& text, std::string_view label, long long line) {
    st.label = std::string(label);
    st.line = line;
    st.source = std::move(text);
    // The squeezed text is needed only while the statement is parsed: its
    // room is kept for the next one, unless the statement was very long.
    Scratch* room = threadScratch();
    Squeezed own;
    Squeezed& scratch = room != nullptr ? room->squeezed : own;
    squeeze(st.source, scratch);
    const Squeezed& sq = scratch;
    struct Release {
        Squeezed& kept;
        ~Release() {
            if (kept.text.capacity() > (1u << 16)) kept = Squeezed{};
        }
    } release{scratch};
    try {
        classify(st, sq.text, st.source, sq.raw);
    } catch (const ParseError& e) {
        std::string source = std::move(st.source);
        std::string keptLabel = std::move(st.label);
        st = Stmt{};
        st.kind = Stmt::Kind::unknown;
        st.label = std::move(keptLabel);
        st.line = line;
        st.errorAt = e.at < sq.raw.size() ? sq.raw[e.at] : source.size();
        st.source = std::move(source);
        st.error = e.what();
    }
}

ExprPtr parseExpression(std::string_view text) {
    const Squeezed sq = squeeze(text);
    try {
        Parser p(sq.text, 0, sq.text.size());
        ExprPtr e = p.expression();
        p.expectEnd();
        return e;
    } catch (const ParseError&) {
        return nullptr;
    }
}

}  // namespace ftvb::finish
