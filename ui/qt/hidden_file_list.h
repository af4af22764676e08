// File1: the names of the ordinary files of one folder that match the
// pattern, never shown. A pattern is one or more wildcards separated by ";",
// matched without regard to case against the names as they are shown; the
// names themselves are kept as the file system spells them, so that a name
// written by an older system in another encoding is listed and opened all
// the same.
#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace ftvb::ui::qt {

class HiddenFileList {
public:
    HiddenFileList();

    // Each setter leaves the previous value in force when it returns false.
    bool setFolder(const QString& folder);
    bool setPattern(const QString& pattern);
    QString folder() const { return folder_; }
    QString pattern() const { return pattern_; }

    // Reads the folder again; false, keeping the names it had, when the
    // folder cannot be read.
    bool refresh();
    // In the order of their shown forms, ignoring case.
    const std::vector<std::string>& names() const { return names_; }

private:
    // A wildcard matched on case-folded UTF-8 (the common "*" and "?"
    // kind), or by the toolkit's matcher when it holds a "[...]" set.
    struct Wildcard {
        std::string folded;
        QRegularExpression sets;
    };

    QString folder_;
    QString pattern_;
    std::vector<Wildcard> wildcards_;
    std::vector<std::string> names_;
};

// The wildcards of a pattern, or none when it has no usable one.
QStringList splitPattern(const QString& pattern);

// UTF-8 text with letter case folded away, for comparing without it.
std::string folded(const std::string& text);
// "*" any run of characters, "?" one character; every other byte itself.
bool wildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace ftvb::ui::qt
