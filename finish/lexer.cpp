// Fixed-form lines into statements, statements into tokens.
#include "finish/lexer.h"

#include <algorithm>
#include <array>

namespace ftvb::finish {
namespace {

bool isCommentLine(std::string_view line) {
    if (line.empty()) return false;
    const char c = line[0];
    return c == 'c' || c == 'C' || c == '*' || c == '!';
}

bool isBlank(std::string_view line) {
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\r') return false;
    }
    return true;
}

// A line with a tab in the label field: the statement starts after the tab,
// and a digit right after it marks a continuation (the usual tab form).
struct Fields {
    std::string label;
    bool continuation = false;
    std::string_view body;
    int bodyColumn = 7;
};

Fields fieldsOf(std::string_view line) {
    Fields f;
    const std::size_t tab = line.substr(0, 6).find('\t');
    if (tab != std::string_view::npos) {
        for (char c : line.substr(0, tab)) {
            if (c >= '0' && c <= '9') f.label += c;
        }
        std::size_t start = tab + 1;
        if (start < line.size() && line[start] >= '1' && line[start] <= '9') {
            f.continuation = true;
            ++start;
        }
        f.body = start < line.size() ? line.substr(start) : std::string_view();
        f.bodyColumn = static_cast<int>(start) + 1;
        return f;
    }
    for (std::size_t i = 0; i < 5 && i < line.size(); ++i) {
        if (line[i] >= '0' && line[i] <= '9') f.label += line[i];
    }
    f.continuation = line.size() > 5 && line[5] != ' ' && line[5] != '0';
    f.body = line.size() > 6 ? line.substr(6, 66) : std::string_view();
    return f;
}

// The text up to an inline "!" comment outside quotes.
std::string_view withoutInlineComment(std::string_view body) {
    if (body.find('!') == std::string_view::npos) return body;  // most lines
    char quote = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '!') {
            return body.substr(0, i);
        }
    }
    return body;
}

}  // namespace

void StatementReader::feed(std::string_view line, std::vector<SourceItem>& out) {
    ++lineNo_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const bool comment = isCommentLine(line);
    if (comment || isBlank(line)) {
        if (!keepComments_) return;
        SourceItem item;
        item.kind = comment ? SourceItem::Kind::comment : SourceItem::Kind::blank;
        if (item.kind == SourceItem::Kind::comment) item.text = std::string(line.substr(1));
        item.line = lineNo_;
        (open_ ? held_ : out).push_back(std::move(item));
        return;
    }
    const Fields f = fieldsOf(line);
    const std::string_view body = withoutInlineComment(f.body);
    if (f.continuation && open_) {
        pending_.segments.push_back({pending_.text.size(), {lineNo_, f.bodyColumn}});
        pending_.text += body;
        return;
    }
    finish(out);
    open_ = true;
    pending_.label = f.label;
    pending_.line = lineNo_;
    pending_.column = f.bodyColumn;
    pending_.text.assign(body);
}

Position SourceItem::positionOf(std::size_t index) const {
    Position p{line, column + static_cast<int>(index)};
    for (const Segment& s : segments) {
        if (s.at > index) break;
        p = {s.from.line, s.from.column + static_cast<int>(index - s.at)};
    }
    return p;
}

void StatementReader::finish(std::vector<SourceItem>& out) {
    if (open_) {
        out.push_back(std::move(pending_));
        pending_ = SourceItem{};
        open_ = false;
    }
    for (SourceItem& item : held_) out.push_back(std::move(item));
    held_.clear();
}

namespace {

// The squeeze of one statement, written into `text` (and, when asked, each
// character's index into `raw`) in room made beforehand: a statement
// squeezes to at most its own size, unless a Hollerith constant grows by
// its quotes, when the room is doubled.
template <bool kRaw>
void squeezeInto(std::string_view s, std::string& text, std::vector<std::uint32_t>* raw) {
    text.resize(s.size() + 2);
    if constexpr (kRaw) raw->resize(s.size() + 2);
    std::size_t n = 0;
    auto room = [&](std::size_t more) {
        if (n + more <= text.size()) return;
        const std::size_t size = std::max(text.size() * 2, n + more);
        text.resize(size);
        if constexpr (kRaw) raw->resize(size);
    };
    auto put = [&](char c, std::size_t i) {
        room(1);
        text[n] = c;
        if constexpr (kRaw) (*raw)[n] = static_cast<std::uint32_t>(i);
        ++n;
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == ' ' || c == '\t') continue;
        if (c == '\'' || c == '"') {
            put(c, i);
            for (++i; i < s.size(); ++i) {
                put(s[i], i);
                if (s[i] == c) {
                    if (i + 1 < s.size() && s[i + 1] == c) {
                        ++i;
                        put(s[i], i);
                        continue;
                    }
                    break;
                }
            }
            continue;
        }
        // nH: digits right after ( , / * or at the start, then H: the n
        // characters after it are text, blanks included. A type length
        // (real*8 h) has a star before its digits and is not one.
        if (c >= '0' && c <= '9') {
            const char before = n == 0 ? '(' : text[n - 1];
            if (before == '(' || before == ',' || before == '/') {
                std::size_t j = i;
                std::size_t count = 0;
                while (j < s.size() && ((s[j] >= '0' && s[j] <= '9') || s[j] == ' ')) {
                    if (s[j] != ' ') count = count * 10 + static_cast<std::size_t>(s[j] - '0');
                    ++j;
                    if (count > 100000) break;
                }
                if (j < s.size() && (s[j] == 'h' || s[j] == 'H') && count > 0) {
                    // Written as a quoted string, so that later steps see
                    // one kind of text constant.
                    room(2 * count + 2);
                    put('\'', i);
                    std::size_t k = j + 1;
                    for (std::size_t taken = 0; taken < count; ++taken, ++k) {
                        const char t = k < s.size() ? s[k] : ' ';
                        put(t, k < s.size() ? k : s.size() - 1);
                        if (t == '\'') put('\'', k < s.size() ? k : s.size() - 1);
                    }
                    put('\'', j);
                    i = k - 1;
                    continue;
                }
            }
        }
        put(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c, i);
    }
    text.resize(n);
    if constexpr (kRaw) raw->resize(n);
}

}  // namespace

Squeezed squeeze(std::string_view s) {
    Squeezed out;
    squeezeInto<true>(s, out.text, &out.raw);
    return out;
}

void squeeze(std::string_view s, Squeezed& out) { squeezeInto<true>(s, out.text, &out.raw); }

std::string squeezedText(std::string_view s) {
    std::string text;
    squeezeInto<false>(s, text, nullptr);
    return text;
}

void squeezedText(std::string_view s, std::string& out) { squeezeInto<false>(s, out, nullptr); }

namespace {

constexpr std::array<std::string_view, 13> kDotted = {"eq", "ne",  "lt",  "le",   "gt",   "ge",   "and",
                                                      "or", "not", "eqv", "neqv", "true", "false"};

// The dotted word starting at s[i] == '.', or empty.
std::string_view dottedAt(std::string_view s, std::size_t i) {
    for (std::string_view w : kDotted) {
        if (s.compare(i + 1, w.size(), w) == 0 && i + 1 + w.size() < s.size() && s[i + 1 + w.size()] == '.') {
            return w;
        }
    }
    return {};
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || c == '_' || c == '$'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void tokenizeInto(std::vector<Token>& out, std::string_view s, std::size_t from, std::size_t to) {
    if (to > s.size()) to = s.size();
    s = s.substr(0, to);
    out.clear();
    out.reserve((s.size() - std::min(from, s.size())) / 2 + 2);
    std::size_t i = from;
    while (i < s.size()) {
        Token& t = out.emplace_back();
        t.at = i;
        const char c = s[i];
        if (isLetter(c)) {
            std::size_t j = i;
            while (j < s.size() && (isLetter(s[j]) || isDigit(s[j]))) ++j;
            t.kind = Token::Kind::name;
            t.text.assign(s.substr(i, j - i));
            i = j;
        } else if (isDigit(c) || (c == '.' && i + 1 < s.size() && isDigit(s[i + 1]))) {
            std::size_t j = i;
            bool real = false;
            while (j < s.size() && isDigit(s[j])) ++j;
            if (j < s.size() && s[j] == '.' && dottedAt(s, j).empty()) {
                real = true;
                ++j;
                while (j < s.size() && isDigit(s[j])) ++j;
            }
            if (j < s.size() && (s[j] == 'e' || s[j] == 'd')) {
                std::size_t k = j + 1;
                if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
                if (k < s.size() && isDigit(s[k])) {
                    t.isDouble = s[j] == 'd';
                    real = true;
                    while (k < s.size() && isDigit(s[k])) ++k;
                    j = k;
                }
            }
            t.kind = real ? Token::Kind::real : Token::Kind::integer;
            t.text.assign(s.substr(i, j - i));
            i = j;
        } else if (c == '\'' || c == '"') {
            std::size_t j = i + 1;
            while (j < s.size()) {
                if (s[j] == c) {
                    if (j + 1 < s.size() && s[j + 1] == c) {
                        t.text += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                // The run up to the next quote in one piece.
                std::size_t k = j;
                while (k < s.size() && s[k] != c) ++k;
                t.text.append(s.substr(j, k - j));
                j = k;
            }
            t.kind = Token::Kind::string;
            i = j < s.size() ? j + 1 : j;
        } else if (c == '.') {
            const std::string_view w = dottedAt(s, i);
            if (w.empty()) {
                t.kind = Token::Kind::op;
                t.text.assign(1, '.');
                ++i;
            } else if (w == "true" || w == "false") {
                t.kind = Token::Kind::logical;
                t.text.assign(w);
                i += w.size() + 2;
            } else {
                t.kind = Token::Kind::op;
                t.text.assign(s.substr(i, w.size() + 2));  // ".eq." as written
                i += w.size() + 2;
            }
        } else {
            t.kind = Token::Kind::op;
            const char next = i + 1 < s.size() ? s[i + 1] : '\0';
            if (((c == '*' || c == '/' || c == '=') && next == c) ||
                ((c == '/' || c == '<' || c == '>') && next == '=')) {
                t.text.assign(s.substr(i, 2));
                i += 2;
            } else {
                t.text.assign(1, c);
                ++i;
            }
        }
        if (t.kind == Token::Kind::op) t.code = opCode(t.text);
    }
    Token& end = out.emplace_back();
    end.at = s.size();
}

std::vector<Token> tokenize(std::string_view s, std::size_t from, std::size_t to) {
    std::vector<Token> out;
    tokenizeInto(out, s, from, to);
    return out;
}

}  // namespace ftvb::finish
