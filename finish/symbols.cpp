// The symbol table of a unit, filled from its statements in order, and the
// program index over every unit.
#include "finish/symbols.h"

#include <functional>
#include <unordered_set>

namespace ftvb::finish {

Symbol* Unit::find(const std::string& n) {
    auto it = byName_.find(n);
    return it == byName_.end() ? nullptr : it->second;
}
const Symbol* Unit::find(const std::string& n) const {
    auto it = byName_.find(n);
    return it == byName_.end() ? nullptr : it->second;
}

BaseType Unit::implicitType(const std::string& n) const {
    if (n.empty() || n[0] < 'a' || n[0] > 'z') return BaseType::real;
    return implicit[n[0] - 'a'];
}

Symbol& Unit::use(const std::string& n, std::string_view spelling) {
    if (auto known = byName_.find(n); known != byName_.end()) return *known->second;
    auto [it, fresh] = symbols.try_emplace(n);
    Symbol& s = it->second;
    byName_.emplace(it->first, &s);
    if (fresh) {
        s.name = n;
        s.spelling = spelling.empty() ? n : std::string(spelling);
        s.type = implicitType(n);
        s.order = static_cast<int>(symbols.size());
    }
    return s;
}

namespace {

void setDims(Symbol& s, const Declarator& d) {
    if (d.upper.empty()) return;
    s.lower.clear();
    s.upper.clear();
    for (const ExprPtr& e : d.lower) s.lower.push_back(e ? cloneExpr(*e) : nullptr);
    for (const ExprPtr& e : d.upper) s.upper.push_back(cloneExpr(*e));
}

// Every name in an expression: variables, array elements, calls.
template <typename Visit>
void walkNames(const Expr& e, const Visit& visit) {
    if (e.kind == Expr::Kind::name || e.kind == Expr::Kind::call) visit(e);
    for (const ExprPtr& a : e.args) {
        if (a) walkNames(*a, visit);
    }
}

bool isExecutable(Stmt::Kind k) {
    using K = Stmt::Kind;
    switch (k) {
        case K::program:
        case K::subroutine:
        case K::function:
        case K::blockData:
        case K::typeDecl:
        case K::dimension:
        case K::parameter:
        case K::implicit:
        case K::external:
        case K::intrinsic:
        case K::common:
        case K::save:
        case K::data:
        case K::equivalence:
        case K::format:
        case K::stmtFunction:
        case K::entry:
        case K::include: return false;
        default: return true;
    }
}

void noteUses(Unit& u, const Stmt& st) {
    if (st.light) {
        // Only what the index needs: which dummies are procedures.
        for (const std::string& n : st.names) {
            Symbol* s = u.find(n);
            // A CHARACTER dummy followed by "(" is a substring.
            if (s != nullptr && s->dummyIndex >= 0 && !s->isArray() && s->type != BaseType::character) {
                s->calledAsFunction = true;
            }
        }
        if (Symbol* s = u.find(st.name); s != nullptr && s->dummyIndex >= 0) s->external = true;
        return;
    }
    auto visit = [&](const Expr& e) {
        Symbol& s = u.use(e.text);
        s.used = true;
        if (e.kind == Expr::Kind::call && !s.isArray()) s.calledAsFunction = true;
    };
    for (const ExprPtr& e : st.exprs) {
        if (e) walkNames(*e, visit);
    }
    if (st.target) walkNames(*st.target, visit);
    if (st.io.unit) walkNames(*st.io.unit, visit);
    if (st.io.format) walkNames(*st.io.format, visit);
    for (const auto& kv : st.io.keywords) {
        if (kv.second) walkNames(*kv.second, visit);
    }
    if (st.kind == Stmt::Kind::call) {
        // A dummy that is called is a procedure, EXTERNAL or not.
        if (Symbol* callee = u.find(st.name); callee != nullptr && callee->dummyIndex >= 0) callee->external = true;
    }
    if (st.kind == Stmt::Kind::doLoop || st.kind == Stmt::Kind::assignStmt || st.kind == Stmt::Kind::assignedGoto) {
        u.use(st.name).used = true;
    }
    if (st.inner) noteUses(u, *st.inner);
}

}  // namespace

bool isIntrinsicName(const std::string& n) {
    static const std::unordered_set<std::string_view> kNames = {
        "abs",   "iabs",   "dabs",        "sqrt",        "dsqrt", "exp",   "dexp",   "log",     "alog",  "dlog",
        "log10", "alog10", "dlog10",      "sin",         "dsin",  "cos",   "dcos",   "tan",     "dtan",  "asin",
        "dasin", "acos",   "dacos",       "atan",        "datan", "atan2", "datan2", "sinh",    "dsinh", "cosh",
        "dcosh", "tanh",   "dtanh",       "mod",         "amod",  "dmod",  "sign",   "isign",   "dsign", "dim",
        "idim",  "ddim",   "int",         "ifix",        "idint", "nint",  "idnint", "anint",   "dnint", "aint",
        "dint",  "max",    "max0",        "amax1",       "dmax1", "amax0", "max1",   "min",     "min0",  "amin1",
        "dmin1", "amin0",  "min1",        "real",        "float", "sngl",  "dble",   "dfloat",  "ichar", "char",
        "index", "len",    "len_trim",    "lge",         "lgt",   "lle",   "llt",    "epsilon", "huge",  "tiny",
        "radix", "digits", "minexponent", "maxexponent", "cmplx", "conjg", "aimag",  "dprod"};
    return kNames.count(n) != 0;
}

void buildSymbols(Unit& u) {
    for (int i = 0; i < 26; ++i)
        u.implicit[i] = (i >= 'i' - 'a' && i <= 'n' - 'a') ? BaseType::integer : BaseType::real;
    // IMPLICIT comes first in a unit, but may follow PARAMETER: apply the
    // rules before any name takes its implicit type.
    for (const Stmt& st : u.stmts) {
        if (st.kind != Stmt::Kind::implicit) continue;
        if (st.implicitNone) {
            u.implicitNone = true;
            for (BaseType& t : u.implicit) t = BaseType::none;
        }
        for (const auto& [type, ranges] : st.implicitRules) {
            for (const auto& [a, b] : ranges) {
                for (char c = a; c <= b; ++c) u.implicit[c - 'a'] = type.base;
            }
        }
    }
    int dummy = 0;
    for (const std::string& d : u.dummies) {
        if (d == "*") {
            ++dummy;
            continue;
        }
        u.use(d).dummyIndex = dummy++;
    }
    if (u.kind == UnitKind::function) {
        Symbol& r = u.use(u.name, u.spelling);
        if (u.type != BaseType::none) {
            r.type = u.type;
            r.typeDeclared = true;
        } else {
            u.type = r.type;
        }
        if (u.resultLength) r.length = cloneExpr(*u.resultLength);
    }
    bool executable = false;
    for (std::size_t i = 0; i < u.stmts.size(); ++i) {
        Stmt& st = u.stmts[i];
        using K = Stmt::Kind;
        switch (st.kind) {
            case K::typeDecl:
                for (const Declarator& d : st.decls) {
                    Symbol& s = u.use(d.name);
                    for (const std::string& attr : st.attributes) {
                        if (attr == "parameter" && d.value) {
                            s.isParameter = true;
                            s.value = cloneExpr(*d.value);
                        } else if (attr == "save") {
                            s.saved = true;
                        } else if (attr == "external") {
                            s.external = true;
                        } else if (attr == "intrinsic") {
                            s.intrinsic = true;
                        }
                    }
                    if (st.dimensionAttr && d.upper.empty()) setDims(s, *st.dimensionAttr);
                    s.type = st.type.base;
                    s.typeDeclared = true;
                    if (d.length) {
                        s.length = cloneExpr(*d.length);
                    } else if (st.type.length) {
                        s.length = cloneExpr(*st.type.length);
                    }
                    setDims(s, d);
                    if (u.kind == UnitKind::function && d.name == u.name) u.type = s.type;
                }
                break;
            case K::dimension:
                for (const Declarator& d : st.decls) setDims(u.use(d.name), d);
                break;
            case K::parameter:
                for (const Declarator& d : st.decls) {
                    Symbol& s = u.use(d.name);
                    s.isParameter = true;
                    s.value = cloneExpr(*d.value);
                }
                break;
            case K::common:
                for (const auto& [block, members] : st.blocks) {
                    int index = 0;
                    for (const auto& [b, ms] : st.blocks) {
                        (void)ms;
                        if (&b == &block) break;
                    }
                    // Members number on from what earlier statements put in the block.
                    for (const auto& kv : u.symbols) {
                        if (kv.second.inCommon && kv.second.common == block) ++index;
                    }
                    for (const Declarator& d : members) {
                        Symbol& s = u.use(d.name);
                        s.inCommon = true;
                        s.common = block;
                        s.commonIndex = index++;
                        setDims(s, d);
                    }
                }
                break;
            case K::save:
                if (st.names.empty()) u.saveAll = true;
                for (const std::string& n : st.names) {
                    if (n[0] != '/') u.use(n).saved = true;
                }
                break;
            case K::external:
                for (const std::string& n : st.names) u.use(n).external = true;
                break;
            case K::intrinsic:
                for (const std::string& n : st.names) u.use(n).intrinsic = true;
                break;
            case K::data:
                for (const Stmt::DataGroup& g : st.data) {
                    for (const ExprPtr& t : g.targets) {
                        walkNames(*t, [&](const Expr& e) {
                            // Implied-DO variables are not data.
                            Symbol& s = u.use(e.text);
                            if (e.kind == Expr::Kind::call || s.isArray() || t->kind != Expr::Kind::impliedDo) {
                                s.hasData = s.hasData || s.isArray() || t->kind == Expr::Kind::name ||
                                            t->kind == Expr::Kind::call || t->kind == Expr::Kind::substring;
                            }
                        });
                        if (t->kind == Expr::Kind::impliedDo) {
                            std::function<void(const Expr&)> mark = [&](const Expr& d) {
                                for (std::size_t k = 0; k < d.items; ++k) {
                                    const Expr& item = *d.args[k];
                                    if (item.kind == Expr::Kind::impliedDo) {
                                        mark(item);
                                    } else if (item.kind == Expr::Kind::call || item.kind == Expr::Kind::name) {
                                        u.use(item.text).hasData = true;
                                    }
                                }
                            };
                            mark(*t);
                        }
                    }
                }
                break;
            case K::assignment:
                // name(dummies) = expr before the first executable statement,
                // with name no array: a statement function.
                if (!executable && st.target->kind == Expr::Kind::call) {
                    Symbol* s = u.find(st.target->text);
                    if (s == nullptr || !s->isArray()) {
                        bool plain = true;
                        for (const ExprPtr& a : st.target->args) plain = plain && a && a->kind == Expr::Kind::name;
                        if (plain) {
                            st.kind = K::stmtFunction;
                            Symbol& f = u.use(st.target->text);
                            f.stmtFunction = true;
                            f.used = true;
                            u.stmtFunctions[st.target->text] = i;
                            break;
                        }
                    }
                }
                executable = true;
                noteUses(u, st);
                break;
            default:
                if (isExecutable(st.kind)) {
                    executable = true;
                    noteUses(u, st);
                }
                break;
        }
    }
    if (u.saveAll) {
        for (auto& kv : u.symbols) kv.second.saved = true;
    }
}

std::optional<long long> constantValue(const Expr& e, const Unit& u) {
    switch (e.kind) {
        case Expr::Kind::integer: {
            long long v = 0;
            for (char c : e.text) {
                v = v * 10 + (c - '0');
                if (v > (1LL << 40)) return std::nullopt;
            }
            return v;
        }
        case Expr::Kind::name: {
            const Symbol* s = u.find(e.text);
            if (s == nullptr || !s->isParameter || !s->value) return std::nullopt;
            return constantValue(*s->value, u);
        }
        case Expr::Kind::paren: return constantValue(*e.args[0], u);
        case Expr::Kind::unary: {
            auto v = constantValue(*e.args[0], u);
            if (!v) return v;
            return e.op == "-" ? -*v : *v;
        }
        case Expr::Kind::binary: {
            auto a = constantValue(*e.args[0], u);
            auto b = constantValue(*e.args[1], u);
            if (!a || !b) return std::nullopt;
            if (e.op == "+") return *a + *b;
            if (e.op == "-") return *a - *b;
            if (e.op == "*") return *a * *b;
            if (e.op == "/") return *b == 0 ? std::nullopt : std::optional<long long>(*a / *b);
            if (e.op == "**") {
                if (*b < 0 || *b > 62) return std::nullopt;
                long long r = 1;
                for (long long k = 0; k < *b; ++k) r *= *a;
                return r;
            }
            return std::nullopt;
        }
        default: return std::nullopt;
    }
}

bool isSavedArray(const Symbol& s, const Unit& u) {
    // A main program runs once: its Static arrays are kept while it runs.
    if (u.kind != UnitKind::subroutine && u.kind != UnitKind::function) return false;
    if (!s.isArray() || !(s.saved || s.hasData)) return false;
    if (s.dummyIndex >= 0 || s.inCommon || s.isParameter || s.external || s.intrinsic || s.stmtFunction) return false;
    return s.type != BaseType::complex && s.type != BaseType::none;
}

IndexEntry indexEntry(const Unit& u) {
    IndexEntry e;
    e.name = u.name;
    e.blockData = u.kind == UnitKind::blockData;
    e.proc.kind = u.kind;
    e.proc.spelling = u.spelling;
    e.proc.type = u.type;
    for (const std::string& d : u.dummies) {
        DummyInfo info;
        info.name = d;
        if (const Symbol* s = u.find(d)) {
            info.type = s->type;
            info.isArray = s->isArray();
            info.isProcedure = s->external || s->calledAsFunction;
        }
        e.proc.dummies.push_back(info);
    }
    for (const auto& kv : u.symbols) {
        const Symbol& s = kv.second;
        if (isSavedArray(s, u)) {
            long long size = 1;
            for (std::size_t k = 0; k < s.upper.size(); ++k) {
                auto hi = constantValue(*s.upper[k], u);
                auto lo = s.lower[k] ? constantValue(*s.lower[k], u) : std::optional<long long>(1);
                if (!hi || !lo) size = 0;
                if (size != 0) size *= *hi - *lo + 1;
            }
            if (size > 0) e.saved.push_back({u.name, s.name, s.type, size});
        }
        if (!s.inCommon) continue;
        IndexEntry::Member c;
        c.block = s.common;
        c.index = static_cast<std::size_t>(s.commonIndex);
        c.member.name = s.spelling;
        c.member.type = s.type;
        if (s.isArray()) {
            long long size = 1;
            for (std::size_t k = 0; k < s.upper.size(); ++k) {
                auto hi = constantValue(*s.upper[k], u);
                auto lo = s.lower[k] ? constantValue(*s.lower[k], u) : std::optional<long long>(1);
                if (!hi || !lo) {
                    size = 1;
                    break;
                }
                size *= *hi - *lo + 1;
            }
            c.member.size = size;
        }
        if (s.type == BaseType::character) {
            auto len = s.length ? constantValue(*s.length, u) : std::optional<long long>(1);
            c.member.length = len ? *len : 1;
        }
        e.commons.push_back(std::move(c));
    }
    return e;
}

void addToIndex(IndexEntry&& e, ProgramIndex& index) {
    if (e.blockData) index.blockData.push_back(e.name);
    index.procs[e.name] = std::move(e.proc);
    std::erase_if(index.savedArrays, [&](const SavedArray& a) { return a.unit == e.name; });
    for (SavedArray& a : e.saved) index.savedArrays.push_back(std::move(a));
    // The first unit that names a member of a block names it for all.
    for (IndexEntry::Member& c : e.commons) {
        auto [it, fresh] = index.commons.try_emplace(c.block);
        if (fresh) index.commonOrder.push_back(c.block);
        std::vector<CommonMember>& members = it->second;
        if (members.size() <= c.index) members.resize(c.index + 1);
        if (members[c.index].name.empty()) members[c.index] = std::move(c.member);
    }
}

void addToIndex(const Unit& u, ProgramIndex& index) { addToIndex(indexEntry(u), index); }

}  // namespace ftvb::finish
