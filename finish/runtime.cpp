// The runtime's pieces: finish/runtime.bas cut into its shared state sections
// and its procedures, once, and the closure of what a module uses.
//
// The .bas is cut like this: "' state: NAME" ... "' end state" is a state
// section (the declarations between the markers); every other piece is one
// Sub or Function with the comment lines right above it. A "' needs: A B"
// line among those comments names the pieces it calls (state sections
// included); it is not written out. Pieces come out in the file's order.
#include "finish/runtime.h"

#include <cstddef>
#include <map>
#include <regex>
#include <utility>

namespace ftvb::finish {

extern const unsigned char runtimeBasBytes[];
extern const std::size_t runtimeBasSize;

namespace {

struct Piece {
    std::string name;
    bool state = false;
    std::string text;  // lines, each ending in '\n'
    std::vector<std::string> needs;
};

struct Runtime {
    std::vector<Piece> pieces;
    std::map<std::string, std::size_t> byName;
    std::vector<std::string> names;
};

std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t') ++j;
        if (j > i) out.push_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

bool startsWith(const std::string& s, std::string_view prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

Runtime cut(std::string_view source) {
    static const std::regex header(R"(^(?:Public|Private)\s+(?:Function|Sub)\s+(\w+))");
    static const std::regex ending(R"(^End\s+(?:Function|Sub)\b)");
    static const std::regex declared(R"(^(?:Public|Private|Dim)\s+(?:Const\s+|Type\s+)?(\w+))");
    Runtime rt;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string line(source.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    std::string comments;  // the comment lines since the last blank line
    std::vector<std::string> needs;
    std::vector<std::pair<std::string, std::size_t>> stateOf;  // a state variable, its section
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::smatch m;
        if (startsWith(line, "' state: ")) {
            Piece p;
            p.name = words(line.substr(9)).at(0);
            p.state = true;
            for (++i; i < lines.size() && !startsWith(lines[i], "' end state"); ++i) {
                p.text += lines[i] + '\n';
                if (std::regex_search(lines[i], m, declared)) {
                    rt.names.push_back(m[1]);
                    stateOf.emplace_back(m[1], rt.pieces.size());
                }
            }
            rt.pieces.push_back(std::move(p));
            comments.clear();
            needs.clear();
        } else if (startsWith(line, "' needs:")) {
            for (auto& w : words(line.substr(8))) needs.push_back(w);
        } else if (startsWith(line, "'")) {
            comments += line + '\n';
        } else if (std::regex_search(line, m, header)) {
            Piece p;
            p.name = m[1];
            p.text = comments;
            p.needs = needs;
            for (; i < lines.size(); ++i) {
                p.text += lines[i] + '\n';
                if (std::regex_search(lines[i], ending)) break;
            }
            rt.names.push_back(p.name);
            rt.pieces.push_back(std::move(p));
            comments.clear();
            needs.clear();
        } else {
            comments.clear();
            needs.clear();
        }
    }
    for (std::size_t i = 0; i < rt.pieces.size(); ++i) rt.byName[rt.pieces[i].name] = i;
    // asking for a state variable (FtFolder) brings its section
    for (const auto& [name, piece] : stateOf) rt.byName.emplace(name, piece);
    return rt;
}

const Runtime& runtime() {
    static const Runtime rt = cut(runtimeSource());
    return rt;
}

// Which pieces go out: the used ones and, through their "needs", every
// piece they call.
std::vector<bool> closure(const std::set<std::string>& used) {
    const Runtime& rt = runtime();
    std::vector<bool> take(rt.pieces.size(), false);
    std::vector<std::size_t> todo;
    auto want = [&](const std::string& name) {
        auto it = rt.byName.find(name);
        if (it != rt.byName.end() && !take[it->second]) {
            take[it->second] = true;
            todo.push_back(it->second);
        }
    };
    for (const auto& name : used) want(name);
    while (!todo.empty()) {
        std::size_t i = todo.back();
        todo.pop_back();
        for (const auto& n : rt.pieces[i].needs) want(n);
    }
    return take;
}

std::string joined(const std::set<std::string>& used, bool state) {
    const Runtime& rt = runtime();
    std::vector<bool> take = closure(used);
    std::string out;
    for (std::size_t i = 0; i < rt.pieces.size(); ++i) {
        if (!take[i] || rt.pieces[i].state != state) continue;
        if (!out.empty() && !state) out += '\n';
        out += rt.pieces[i].text;
    }
    return out;
}

}  // namespace

std::string_view runtimeSource() { return {reinterpret_cast<const char*>(runtimeBasBytes), runtimeBasSize}; }

std::string runtimeDeclarations(const std::set<std::string>& used) { return joined(used, true); }

std::string runtimeProcedures(const std::set<std::string>& used) { return joined(used, false); }

std::string runtimeText(const std::set<std::string>& used) {
    std::string declarations = runtimeDeclarations(used);
    std::string procedures = runtimeProcedures(used);
    if (!declarations.empty() && !procedures.empty()) declarations += '\n';
    return declarations + procedures;
}

const std::vector<std::string>& runtimeNames() { return runtime().names; }

}  // namespace ftvb::finish
