// The finishing run: the program index over every listed file, then each
// file read again and written as VBA, unit by unit, into modules of at most
// what VBA loads. The files are worked on by a few threads (see
// OrderedWork); memory holds a few files' units and one module's lines.
#include "finish/finish.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>

#include "engine/files.h"
#include "finish/lexer.h"
#include "finish/ordered_work.h"
#include "finish/parser.h"
#include "finish/runtime.h"
#include "finish/scratch.h"
#include "finish/symbols.h"
#include "finish/writer.h"

namespace ftvb::finish {

std::string moduleFileName(const std::string& moduleName, std::size_t k) {
    if (k <= 1) return moduleName;
    const std::size_t slash = moduleName.find_last_of("/\\");
    const std::size_t dot = moduleName.rfind('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExt ? moduleName.substr(0, dot) : moduleName;
    return stem + "_" + std::to_string(k) + (hasExt ? moduleName.substr(dot) : ".bas");
}

std::string moduleVbName(const std::string& fileName) {
    std::size_t start = fileName.find_last_of("/\\");
    start = start == std::string::npos ? 0 : start + 1;
    std::string stem = fileName.substr(start);
    if (stem == "-") return "Module1";
    const std::size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.resize(dot);
    std::string out;
    for (char c : stem) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        out += ok ? c : '_';
    }
    if (out.empty() || out == "-") return "Module1";
    if (!((out[0] >= 'a' && out[0] <= 'z') || (out[0] >= 'A' && out[0] <= 'Z'))) out = "M" + out;
    return out.substr(0, 31);
}

namespace {

// One file's units, with the comments that come before each.
struct FileUnits {
    std::vector<Unit> units;
    std::vector<std::vector<SourceItem>> leading;
    std::vector<SourceItem> trailing;
};

void startUnit(FileUnits& f, std::vector<SourceItem>& pendingComments, const Stmt* header) {
    f.units.emplace_back();
    f.leading.push_back(std::move(pendingComments));
    pendingComments.clear();
    Unit& u = f.units.back();
    if (header == nullptr) {
        u.kind = UnitKind::program;
        u.name = "main";
        u.spelling = "Main";
        return;
    }
    switch (header->kind) {
        case Stmt::Kind::program: u.kind = UnitKind::program; break;
        case Stmt::Kind::subroutine: u.kind = UnitKind::subroutine; break;
        case Stmt::Kind::function:
            u.kind = UnitKind::function;
            u.type = header->type.base;
            if (header->type.length) u.resultLength = cloneExpr(*header->type.length);
            break;
        default: u.kind = UnitKind::blockData; break;
    }
    u.name = header->name.empty() ? "blockdata" : header->name;
    if (u.kind == UnitKind::blockData) u.name = "blockdata_" + header->name;
    u.spelling = u.name;
    u.dummies = header->names;
}

// For the index, an executable statement needs only the names it calls
// (name followed by "(") and a CALL's callee, and only those that are
// dummies of its unit: whether a dummy is a procedure. A statement that may
// be a header, a declaration or END is parsed whole.
bool mayBeDeclarative(std::string_view s) {
    static constexpr std::string_view kWords[] = {
        "integer",   "real",      "doubleprecision", "doublecomplex", "logical",    "character", "complex",
        "byte",      "dimension", "parameter",       "implicit",      "external",   "intrinsic", "common",
        "save",      "data",      "equivalence",     "program",       "subroutine", "function",  "blockdata",
        "recursive", "end",       "entry",           "include"};
    if (s.empty()) return false;
    const char first = s[0];
    for (std::string_view w : kWords) {
        if (w[0] == first && s.substr(0, w.size()) == w) return true;
    }
    return false;
}

// Into `st`, a Stmt as made; the item's text is taken.
void indexStatement(Stmt& st, SourceItem& item, const std::vector<std::string>& dummies) {
    Scratch* room = threadScratch();
    std::string own;
    std::string& squeezed = room != nullptr ? room->squeezedText : own;
    squeezedText(item.text, squeezed);
    const std::string& t = squeezed;
    if (mayBeDeclarative(t)) return parseStatementInto(st, std::move(item.text), item.label, item.line);
    auto isDummy = [&dummies](std::string_view n) {
        for (const std::string& d : dummies) {
            if (d == n) return true;
        }
        return false;
    };
    st.kind = Stmt::Kind::continueStmt;
    st.light = true;
    st.label = item.label;
    st.line = item.line;
    if (dummies.empty()) return;
    if (t.rfind("call", 0) == 0) {
        std::size_t e = 4;
        while (e < t.size() && ((t[e] >= 'a' && t[e] <= 'z') || (t[e] >= '0' && t[e] <= '9') || t[e] == '_')) ++e;
        if (isDummy(std::string_view(t).substr(4, e - 4))) st.name = t.substr(4, e - 4);
    }
    char quote = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '(' && i > 0) {
            std::size_t b = i;
            while (b > 0 &&
                   ((t[b - 1] >= 'a' && t[b - 1] <= 'z') || (t[b - 1] >= '0' && t[b - 1] <= '9') || t[b - 1] == '_')) {
                --b;
            }
            if (b < i && t[b] >= 'a' && t[b] <= 'z' && isDummy(std::string_view(t).substr(b, i - b))) {
                st.names.push_back(t.substr(b, i - b));
            }
        }
    }
}

FileUnits unitsOf(std::vector<SourceItem>& items, bool forIndex = false) {
    FileUnits f;
    std::vector<SourceItem> pending;
    bool open = false;
    // A unit's statements are reserved at its start for all the file has
    // left, so that they are not moved as the unit grows (most files hold
    // one unit); what a unit leaves unused is given back at its end.
    // Comments likewise.
    std::size_t statementsLeft = 0;
    for (const SourceItem& item : items) statementsLeft += item.kind == SourceItem::Kind::statement ? 1 : 0;
    std::size_t commentsLeft = items.size() - statementsLeft;
    auto close = [&f] {
        Unit& u = f.units.back();
        if (u.stmts.capacity() > u.stmts.size() + u.stmts.size() / 2 + 16) u.stmts.shrink_to_fit();
        if (u.comments.capacity() > u.comments.size() + u.comments.size() / 2 + 16) u.comments.shrink_to_fit();
    };
    for (SourceItem& item : items) {
        if (item.kind != SourceItem::Kind::statement) {
            --commentsLeft;
            if (open) {
                f.units.back().comments.push_back({f.units.back().stmts.size(), std::move(item)});
            } else {
                pending.push_back(std::move(item));
            }
            continue;
        }
        // The statement is parsed in its place in the open unit; the first
        // of a unit, whose unit is not known before it is parsed, aside.
        static const std::vector<std::string> kNone;
        std::optional<Stmt> aside;
        Stmt& st = open ? f.units.back().stmts.emplace_back() : aside.emplace();
        if (!forIndex) {
            parseStatementInto(st, std::move(item.text), item.label, item.line);
        } else {
            indexStatement(st, item, open ? f.units.back().dummies : kNone);
        }
        if (st.light && open && st.names.empty() && st.name.empty()) {
            // Such a statement tells the symbols only that the executable
            // part has begun: one in a row says it.
            const std::vector<Stmt>& stmts = f.units.back().stmts;
            const Stmt& last = stmts[stmts.size() - 2];
            if (last.light && last.names.empty() && last.name.empty()) {
                f.units.back().stmts.pop_back();
                --statementsLeft;
                continue;
            }
        }
        const bool header = st.kind == Stmt::Kind::program || st.kind == Stmt::Kind::subroutine ||
                            st.kind == Stmt::Kind::function || st.kind == Stmt::Kind::blockData;
        const bool end = st.kind == Stmt::Kind::end;
        if (header || !open) {
            if (open) {
                // A header inside a unit: the unit had no END.
                aside.emplace(std::move(st));
                f.units.back().stmts.pop_back();
                close();
                open = false;
            }
            startUnit(f, pending, header ? &*aside : nullptr);
            f.units.back().stmts.reserve(statementsLeft);
            if (!forIndex) f.units.back().comments.reserve(commentsLeft);
            open = true;
            f.units.back().stmts.push_back(std::move(*aside));
        }
        --statementsLeft;
        if (end) {
            close();
            open = false;
        }
    }
    f.trailing = std::move(pending);
    for (Unit& u : f.units) buildSymbols(u);
    return f;
}

// The modules of the run, written one after the other; each is put in
// place only when the whole run has succeeded.
class ModuleSet {
public:
    ModuleSet(std::string moduleName, RunObserver& observer, std::size_t maxLines)
        : moduleName_(std::move(moduleName)), observer_(observer), maxLines_(maxLines) {}

    void begin(const std::vector<std::string>& commons) {
        commons_ = commons;
        lines_.reserve(std::min<std::size_t>(maxLines_, 1 << 16));
    }
    // A unit's lines, with its notes (their lines counted in the unit).
    Status add(UnitText text, const std::string& source) {
        const std::size_t limit = maxLines_ > 200 ? maxLines_ - 100 : maxLines_;
        if (!lines_.empty() && moduleName_ != "-" && header() + lines_.size() + text.lines.size() > limit) {
            if (Status flushed = flush(false, {}); !flushed.ok()) return flushed;
        }
        for (Todo& t : text.todos) pending_.push_back({t, source, lines_.size() + t.lineInUnit});
        for (std::string& l : text.lines) lines_.push_back(std::move(l));
        return {};
    }
    void addLines(const std::vector<std::string>& lines) { lines_.insert(lines_.end(), lines.begin(), lines.end()); }
    // The last module, with the runtime's helpers.
    Status finish(const std::set<std::string>& used) {
        auto linesOf = [](const std::string& text) {
            std::vector<std::string> out;
            std::size_t from = 0;
            while (from < text.size()) {
                std::size_t nl = text.find('\n', from);
                if (nl == std::string::npos) nl = text.size();
                out.push_back(text.substr(from, nl - from));
                from = nl + 1;
            }
            return out;
        };
        std::vector<std::string> state = linesOf(runtimeDeclarations(used));
        std::vector<std::string> procs = linesOf(runtimeProcedures(used));
        while (!procs.empty() && procs.back().empty()) procs.pop_back();
        if (moduleName_ != "-" && header() + lines_.size() + state.size() + procs.size() + 1 > maxLines_ &&
            !lines_.empty()) {
            if (Status flushed = flush(false, {}); !flushed.ok()) return flushed;
        }
        lines_.push_back("");
        lines_.insert(lines_.end(), procs.begin(), procs.end());
        return flush(true, state);
    }
    Status commit(std::vector<std::string>& names) {
        for (std::size_t i = 0; i < writers_.size(); ++i) {
            if (Status committed = writers_[i]->commit(); !committed.ok()) {
                for (std::size_t j = i + 1; j < writers_.size(); ++j) writers_[j]->abandon();
                return committed;
            }
            names.push_back(moduleFileName(moduleName_, i + 1));
        }
        return {};
    }
    void abandon() {
        for (auto& w : writers_) w->abandon();
    }

private:
    std::size_t header() const { return 2 + (writers_.empty() ? commons_.size() : 0); }

    Status flush(bool last, const std::vector<std::string>& state) {
        const std::string file = moduleFileName(moduleName_, writers_.size() + 1);
        auto writer = std::make_unique<ModuleWriter>(&observer_);
        if (Status opened = writer->open(file); !opened.ok()) return opened;
        long long lineNo = 0;
        std::string name = moduleVbName(file);
        auto put = [&](const std::string& l) {
            if (l.size() <= kLineLimit) {
                writer->writeLine(l);
                ++lineNo;
                return;
            }
            for (const std::string& piece : breakLine(l, kLineLimit)) {
                writer->writeLine(piece);
                ++lineNo;
            }
        };
        put("Attribute VB_Name = \"" + name + "\"");
        put("Option Explicit");
        if (writers_.empty()) {
            for (const std::string& l : commons_) put(l);
        }
        for (const std::string& l : state) {
            if (!l.empty()) put(l);
        }
        // Notes point at the module's own lines, continuations counted.
        std::size_t next = 0;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            while (next < pending_.size() && pending_[next].line == i) {
                const Pending& p = pending_[next++];
                ReviewNote note{p.todo.kind, p.todo.detail,
                                p.source,    p.todo.sourceLine,
                                lineNo + 1,  writers_.empty() ? std::string_view() : std::string_view(file)};
                if (review_) observer_.reviewNoted(note);
            }
            put(lines_[i]);
        }
        (void)last;
        if (!writer->error().ok()) return writer->error();
        writers_.push_back(std::move(writer));
        lines_.clear();
        pending_.clear();
        return {};
    }

    struct Pending {
        Todo todo;
        std::string source;
        std::size_t line;
    };
    std::string moduleName_;
    RunObserver& observer_;
    std::size_t maxLines_;
    std::vector<std::string> commons_;
    std::vector<std::string> lines_;
    std::vector<Pending> pending_;
    std::vector<std::unique_ptr<ModuleWriter>> writers_;

public:
    bool review_ = false;
};

// Reads a whole file into logical lines, comments and blank lines too when
// asked; false when it cannot be read. It runs on a worker thread, without
// the observer (the window's lives on the caller's thread): `lines` counts
// the file's lines, for the caller to tell.
bool readItems(const std::string& name, std::vector<SourceItem>& items, long long& lines, Status& failure,
               bool keepComments = true) {
    SourceReader source(nullptr);
    if (Status opened = source.open(name); !opened.ok()) {
        failure = std::move(opened);
        return false;
    }
    StatementReader reader(keepComments);
    std::string_view line;
    while (source.nextLine(line)) {
        ++lines;
        reader.feed(line, items);
    }
    reader.finish(items);
    if (!source.error().ok()) {
        failure = source.error();
        return false;
    }
    return true;
}

// What the first pass takes from one file: its units, read for the index.
struct Indexed {
    bool read = false;
    Status failure;
    long long lines = 0;
    std::vector<IndexEntry> entries;
    std::vector<SourceItem> items;  // standard input's, kept for the second pass
};

// What the second pass makes of one file: each unit's VBA.
struct Written {
    struct Piece {
        std::string name;  // the unit's
        long long firstLine = 0;
        UnitText text;
    };
    bool read = false;
    Status failure;
    std::vector<Piece> units;
    std::vector<std::string> trailing;
};

FinishResult stoppedRun(ModuleSet* modules) {
    if (modules != nullptr) modules->abandon();
    FinishResult result;
    result.stopped = true;
    result.moduleFailure = runFailure(Reason::stopped);
    return result;
}

FinishResult finishAll(const std::string& moduleName, const FileList& files, RunObserver& observer,
                       const FinishOptions& options, ModuleSet& modules) {
    FinishResult result;
    const std::size_t count = files.count();
    const FileIdentity module0 = moduleName == "-" ? standardOutputIdentity() : identityOf(moduleName);
    if (module0.regular) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = files.entry(i);
            if (!name.empty() && identityOf(name) == module0) {
                result.moduleFailure = runFailure(Reason::sourceIsModule, name);
                return result;
            }
        }
    }
    modules.review_ = observer.wantsReview();
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) names.push_back(files.entry(i));
    // Standard input cannot be read twice: its items are kept from the
    // first pass, and a run that reads it goes file after file, so that the
    // first listing of "-" is the one that reads it.
    const bool readsInput = std::find(names.begin(), names.end(), "-") != names.end();
    const std::size_t threads = readsInput ? 0 : workThreads(options.threads);
    const std::size_t ahead = threads == 0 ? 1 : 4 * threads;
    auto stopAsked = [&observer] { return observer.stopRequested(); };

    // First pass: the index, made in the files' order.
    ProgramIndex index;
    std::vector<bool> readable(count, false);
    std::vector<SourceItem> stdinItems;
    long long lines = 0;
    {
        // Each thread's list of items serves file after file, its room kept.
        std::vector<std::vector<SourceItem>> rooms(threads == 0 ? 1 : threads);
        OrderedWork<Indexed> pass(count, threads, ahead, [&](std::size_t i, std::size_t w) {
            Indexed got;
            if (names[i].empty()) return got;
            const ScratchScope room;
            std::vector<SourceItem>& items = rooms[w];
            items.clear();
            // The index needs no comments, except from standard input, whose
            // items serve the second pass too.
            got.read = readItems(names[i], items, got.lines, got.failure, names[i] == "-");
            if (!got.read) return got;
            if (names[i] == "-") got.items = items;
            for (const Unit& u : unitsOf(items, true).units) got.entries.push_back(indexEntry(u));
            return got;
        });
        Indexed got;
        for (std::size_t i = 0; pass.next(got, stopAsked); ++i) {
            // The window is told each line, in order, and may stop at any.
            for (long long k = 0; k < got.lines; ++k) {
                observer.lineCounted(++lines);
                if (observer.stopRequested()) return stoppedRun(nullptr);
            }
            if (names[i].empty()) continue;
            if (!got.read) {
                result.skipped.push_back(
                    {names[i], got.failure.ok() ? runFailure(Reason::otherSystemError) : got.failure.failure()});
                continue;
            }
            readable[i] = true;
            if (names[i] == "-") stdinItems = std::move(got.items);
            for (IndexEntry& e : got.entries) addToIndex(std::move(e), index);
        }
        if (observer.stopRequested()) return stoppedRun(nullptr);
    }
    result.lines = lines;
    bool any = false;
    std::size_t listed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        any = any || readable[i];
        listed += names[i].empty() ? 0 : 1;
    }
    if (listed > 0 && !any) {
        result.moduleFailure = runFailure(Reason::nothingRead);
        return result;
    }
    VbaWriter writer(index);
    modules.begin(writer.commonDeclarations());
    // Second pass: each file written by one thread's writer, taken in order.
    std::set<std::string> written;
    std::set<std::string> used;
    {
        std::vector<VbaWriter> writers(threads == 0 ? 1 : threads, writer);
        std::vector<std::vector<SourceItem>> rooms(writers.size());
        OrderedWork<Written> pass(count, threads, ahead, [&](std::size_t i, std::size_t w) {
            Written got;
            if (!readable[i]) return got;
            const ScratchScope room;
            std::vector<SourceItem>& items = rooms[w];
            items.clear();
            if (names[i] == "-") {
                items = stdinItems;  // standard input is read once; it may be listed twice
            } else {
                long long counted = 0;
                if (!readItems(names[i], items, counted, got.failure)) return got;
            }
            got.read = true;
            FileUnits f = unitsOf(items);
            for (std::size_t k = 0; k < f.units.size(); ++k) {
                const Unit& u = f.units[k];
                got.units.push_back({u.name, u.stmts.empty() ? 0 : u.stmts[0].line, writers[w].write(u, f.leading[k])});
            }
            for (const SourceItem& c : f.trailing)
                got.trailing.push_back(c.kind == SourceItem::Kind::blank ? "" : "'" + c.text);
            return got;
        });
        Written got;
        for (std::size_t i = 0; pass.next(got, stopAsked); ++i) {
            if (!readable[i]) continue;
            if (!got.read) {
                result.skipped.push_back(
                    {names[i], got.failure.ok() ? runFailure(Reason::otherSystemError) : got.failure.failure()});
                continue;
            }
            for (Written::Piece& piece : got.units) {
                if (observer.stopRequested()) return stoppedRun(&modules);
                UnitText text;
                if (!written.insert(piece.name).second) {
                    // VBA refuses a second procedure of the same name.
                    text.lines.push_back("' FTVB-TODO: " + piece.name + " is defined again; the first one is kept");
                    text.todos.push_back(
                        {ReviewKind::notTranslated, piece.name + " defined a second time", piece.firstLine, 0});
                } else {
                    text = std::move(piece.text);
                    used.insert(text.helpers.begin(), text.helpers.end());
                }
                if (const Status added = modules.add(std::move(text), names[i]); !added.ok()) {
                    modules.abandon();
                    result.moduleFailure = added.failure();
                    return result;
                }
            }
            modules.addLines(got.trailing);
        }
        if (observer.stopRequested()) return stoppedRun(&modules);
    }
    if (const Status finished = modules.finish(used); !finished.ok()) {
        modules.abandon();
        result.moduleFailure = finished.failure();
        return result;
    }
    // What is left of the review goes out before the modules are put in
    // place, so that a stop while it waits still leaves them as they were.
    observer.beforeCommit();
    if (observer.stopRequested()) return stoppedRun(&modules);
    if (const Status committed = modules.commit(result.modules); !committed.ok()) {
        result.moduleFailure = committed.failure();
        return result;
    }
    result.moduleWritten = true;
    return result;
}

}  // namespace

FinishResult runFinish(const std::string& moduleName, const FileList& files, RunObserver& observer,
                       const FinishOptions& options) {
    ModuleSet modules(moduleName, observer, options.maxLines);
    try {
        return finishAll(moduleName, files, observer, options, modules);
    } catch (const std::bad_alloc&) {
        modules.abandon();
        FinishResult result;
        result.moduleFailure = runFailure(Reason::outOfMemory);
        return result;
    }
}

FinishResult runFinish(const std::string& moduleName, const FileList& files, RunObserver& observer) {
    return runFinish(moduleName, files, observer, FinishOptions{});
}

}  // namespace ftvb::finish
