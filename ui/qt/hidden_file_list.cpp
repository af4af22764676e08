#include "ui/qt/hidden_file_list.h"

#include <QDir>
#include <QFileInfo>

#include "ui/file_patterns.h"

namespace ftvb::ui::qt {

QStringList splitPattern(const QString& pattern) {
    QStringList wildcards;
    for (const std::string& wildcard : ui::splitPattern(pattern.toStdString())) wildcards << QString::fromStdString(wildcard);
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
    QStringList wildcards = splitPattern(pattern);
    if (wildcards.isEmpty()) return false;
    pattern_ = pattern;
    wildcards_ = std::move(wildcards);
    return true;
}

bool HiddenFileList::refresh() {
    QDir dir(folder_);
    if (!dir.exists() || !dir.isReadable()) return false;
    // Without QDir::Hidden and QDir::System: no dot files, devices or pipes.
    dir.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    dir.setNameFilters(wildcards_);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    names_ = dir.entryList();
    return true;
}

}  // namespace ftvb::ui::qt
