// File1: the names of the ordinary files of one folder that match the
// pattern, never shown. A pattern is one or more wildcards separated by ";",
// matched without regard to case.
#pragma once

#include <QString>
#include <QStringList>

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
    const QStringList& names() const { return names_; }

private:
    QString folder_;
    QString pattern_;
    QStringList wildcards_;
    QStringList names_;
};

// The wildcards of a pattern, or none when it has no usable one.
QStringList splitPattern(const QString& pattern);

}  // namespace ftvb::ui::qt
