#include "ui/qt/widgets.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>

namespace ftvb::ui::qt {

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) hideColumn(column);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    // The model reads folders in the background: once the folders down to
    // the one shown are read, bring it into view again.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        const QString shown = QDir::fromNativeSeparators(path_);
        if (shown == loaded || shown.startsWith(loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/'))) {
            scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
        }
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { chosen(current); });
}

bool FolderTree::setPath(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    if (!info.isDir()) return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    path_ = QDir::toNativeSeparators(clean);
    const QModelIndex index = model_->index(clean);
    if (index.isValid()) {
        setting_ = true;
        setCurrentIndex(index);
        expand(index);
        scrollTo(index, QAbstractItemView::PositionAtCenter);
        setting_ = false;
    }
    return true;
}

void FolderTree::chosen(const QModelIndex& index) {
    if (setting_ || !index.isValid()) return;
    const QString path = QDir::toNativeSeparators(model_->filePath(index));
    if (path == path_) return;
    path_ = path;
    emit pathChanged();
}

}  // namespace ftvb::ui::qt
