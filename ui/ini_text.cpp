#include "ui/ini_text.h"

#include "ui/cp1252.h"

namespace ftvb::ui {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[i + 1];
        static constexpr std::string_view kNamed = "abfnrtv";
        static constexpr std::string_view kMeant = "\a\b\f\n\r\t\v";
        if (const std::size_t named = kNamed.find(next); named != std::string_view::npos) {
            out += kMeant[named];
            ++i;
        } else if (next == '\\' || next == '"' || next == '\'' || next == '?') {
            out += next;
            ++i;
        } else if (next == 'x' && i + 2 < text.size() && hexDigit(text[i + 2]) >= 0) {
            unsigned code = 0;
            std::size_t j = i + 2;
            for (; j < text.size() && j < i + 6 && hexDigit(text[j]) >= 0; ++j) code = code * 16 + hexDigit(text[j]);
            appendUtf8(out, code);
            i = j - 1;
        } else if (next >= '0' && next <= '7') {
            unsigned code = 0;
            std::size_t j = i + 1;
            for (; j < text.size() && j < i + 4 && text[j] >= '0' && text[j] <= '7'; ++j) {
                code = code * 8 + unsigned(text[j] - '0');
            }
            appendUtf8(out, code);
            i = j - 1;
        } else {
            // Not an escape: a person's "C:\src" means what it shows.
            out += '\\';
        }
    }
    return out;
}

// Line i as it is parsed: trimmed, and without the byte order mark an
// editor may put in front of the first line.
std::string_view lineText(const std::vector<std::string>& lines, std::size_t i) {
    std::string_view line = lines[i];
    if (i == 0 && line.substr(0, kByteOrderMark.size()) == kByteOrderMark) line.remove_prefix(kByteOrderMark.size());
    return trimmed(line);
}

bool isHeader(std::string_view line, std::string_view& name) {
    if (line.size() < 2 || line.front() != '[') return false;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || close == 0) return false;
    name = trimmed(line.substr(1, close - 1));
    return true;
}

// Walks the lines, calling `on(index, section, key, rest)` for each
// "key=value" line that belongs to a section.
template <typename On>
void forEachEntry(const std::vector<std::string>& lines, On on) {
    std::string_view section;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lineText(lines, i);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            // A broken header ends the section before it all the same.
            inSection = isHeader(line, section);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) continue;
        on(i, section, trimmed(line.substr(0, equals)), line.substr(equals + 1));
    }
}

}  // namespace

std::string iniValue(std::string_view written) {
    std::string_view text = trimmed(written);
    std::string value;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        value = unescaped(text.substr(1, text.size() - 2));
    } else {
        value = unescaped(text);
    }
    if (value.compare(0, 2, "@@") == 0) return value.substr(1);
    // How the earlier store wrote a text holding a NUL.
    if (value.compare(0, 8, "@String(") == 0 && value.back() == ')') return value.substr(8, value.size() - 9);
    return value;
}

std::string iniWritten(std::string_view value) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    if (!value.empty() && value.front() == '@') out += '@';
    // Hex digits right after a \x escape would be read as part of it.
    bool afterHex = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        static constexpr std::string_view kMeant = "\a\b\f\n\r\t\v";
        static constexpr std::string_view kNamed = "abfnrtv";
        const std::size_t named = c == 0 ? std::string_view::npos : kMeant.find(static_cast<char>(c));
        const bool hex = c < 0x20 || c == 0x7F || (afterHex && hexDigit(static_cast<char>(c)) >= 0);
        if (named != std::string_view::npos) {
            out += '\\';
            out += kNamed[named];
        } else if (hex) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '"' && i == 0) {
            out += "\\\"";
        } else {
            out += static_cast<char>(c);
        }
        afterHex = hex && named == std::string_view::npos;
    }
    // Blanks at the ends would be read as layout.
    if (!value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                           kBlanks.find(value.back()) != std::string_view::npos)) {
        return "\"" + out + "\"";
    }
    return out;
}

IniText::IniText(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            if (lines_.empty()) crlf_ = true;
        }
        lines_.emplace_back(line);
        start = end + 1;
    }
}

std::optional<std::string> IniText::value(std::string_view section, std::string_view key) const {
    std::optional<std::string> found;
    forEachEntry(lines_, [&](std::size_t, std::string_view s, std::string_view k, std::string_view rest) {
        if (s == section && k == key) found = iniValue(rest);
    });
    return found;
}

void IniText::set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string line = std::string(key) + "=" + iniWritten(value);
    std::optional<std::size_t> keyLine;
    forEachEntry(lines_, [&](std::size_t i, std::string_view s, std::string_view k, std::string_view) {
        if (s == section && k == key) keyLine = i;
    });
    if (keyLine) {
        lines_[*keyLine] = line;
        return;
    }
    // After the last line of the section that is not blank.
    std::optional<std::size_t> lastOfSection;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view text = lineText(lines_, i);
        std::string_view name;
        if (!text.empty() && text.front() == '[') {
            inSection = isHeader(text, name) && name == section;
            if (inSection) lastOfSection = i;
        } else if (inSection && !text.empty()) {
            lastOfSection = i;
        }
    }
    if (lastOfSection) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*lastOfSection + 1), line);
        return;
    }
    if (!lines_.empty() && !trimmed(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(line);
}

std::string IniText::text() const {
    std::string out;
    for (const std::string& line : lines_) {
        out += line;
        out += crlf_ ? "\r\n" : "\n";
    }
    return out;
}

}  // namespace ftvb::ui
