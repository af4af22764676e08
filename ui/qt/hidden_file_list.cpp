#include "ui/qt/hidden_file_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "ui/cp1252.h"
#include "ui/file_patterns.h"
#include "ui/qt/folder_entries.h"

namespace ftvb::ui::qt {

QStringList splitPattern(const QString& pattern) {
    QStringList wildcards;
    for (const std::string& wildcard : ui::splitPattern(pattern.toStdString()))
        wildcards << QString::fromStdString(wildcard);
    return wildcards;
}

HiddenFileList::HiddenFileList() : folder_(QDir::currentPath()) { setPattern(QStringLiteral("*.*")); }

bool HiddenFileList::setFolder(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) return false;
    folder_ = info.absoluteFilePath();
    return true;
}

bool HiddenFileList::setPattern(const QString& pattern) {
    std::vector<Wildcard> wildcards;
    for (const QString& wildcard : splitPattern(pattern)) {
        if (wildcard.contains(QLatin1Char('['))) {
            wildcards.push_back({{}, QRegularExpression::fromWildcard(wildcard, Qt::CaseInsensitive)});
            if (!wildcards.back().sets.isValid()) return false;
        } else {
            wildcards.push_back({folded(wildcard.toStdString()), {}});
        }
    }
    if (wildcards.empty()) return false;
    pattern_ = pattern;
    wildcards_ = std::move(wildcards);
    return true;
}

// Sorting and matching a hundred thousand names costs a few hundredths of a
// second this way, where comparing them as text without regard to case
// took most of a second.
bool HiddenFileList::refresh() {
    std::vector<std::string> files;
    if (!readFolder(QFile::encodeName(folder_).toStdString(), EntryKind::files, files)) return false;
    struct Listed {
        std::string key;
        std::string name;
    };
    std::vector<Listed> listed;
    for (std::string& name : files) {
        const bool utf8 = isUtf8(name);
        const std::string shown = utf8 ? std::string() : fileNameForDisplay(name);
        std::string key = folded(utf8 ? name : shown);
        const bool matches = std::any_of(wildcards_.begin(), wildcards_.end(), [&](const Wildcard& wildcard) {
            if (!wildcard.sets.pattern().isEmpty()) {
                return wildcard.sets.match(QString::fromStdString(utf8 ? name : shown)).hasMatch();
            }
            return wildcardMatch(wildcard.folded, key);
        });
        if (matches) listed.push_back({std::move(key), std::move(name)});
    }
    std::sort(listed.begin(), listed.end(),
              [](const Listed& a, const Listed& b) { return a.key != b.key ? a.key < b.key : a.name < b.name; });
    names_.clear();
    names_.reserve(listed.size());
    for (Listed& entry : listed) names_.push_back(std::move(entry.name));
    return true;
}

std::string folded(const std::string& text) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) return QString::fromStdString(text).toCaseFolded().toStdString();
    std::string out = text;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    auto nextCharacter = [](std::string_view text, std::size_t at) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
        return at;
    };
    std::size_t p = 0;
    std::size_t n = 0;
    // Where the last "*" was, and where its match ended so far: on a
    // mismatch it takes one character more.
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = nextCharacter(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = resume = nextCharacter(name, resume);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace ftvb::ui::qt
