#include "ui/qt/widgets.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>

#include "ui/cp1252.h"
#include "ui/qt/folder_model.h"

namespace ftvb::ui::qt {

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit clicked();
            return;
        }
    }
    QLabel::keyPressEvent(event);
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect();
    // Around the words of a text, not the whole width of its label.
    if (!text().isEmpty()) focus.rect.setWidth(std::min(fontMetrics().horizontalAdvance(text()) + 4, width()));
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

class FileNameList::Model : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(names.size()); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(names.size())) return {};
        return QString::fromStdString(fileNameForDisplay(names[std::size_t(index.row())]));
    }

    void append(std::string name) {
        const int row = int(names.size());
        beginInsertRows({}, row, row);
        names.push_back(std::move(name));
        endInsertRows();
    }
    void remove(int row) {
        beginRemoveRows({}, row, row);
        names.erase(names.begin() + row);
        endRemoveRows();
    }
    void clear() {
        beginResetModel();
        names.clear();
        endResetModel();
    }

    std::vector<std::string> names;
};

FileNameList::FileNameList(QWidget* parent) : QListView(parent), model_(new Model(this)) {
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

int FileNameList::count() const { return int(model_->names.size()); }

std::string FileNameList::name(int row) const {
    return row >= 0 && row < count() ? model_->names[std::size_t(row)] : std::string();
}

QString FileNameList::text(int row) const { return model_->index(row).data().toString(); }

void FileNameList::append(std::string name) { model_->append(std::move(name)); }

void FileNameList::remove(int row) {
    if (row >= 0 && row < count()) model_->remove(row);
}

void FileNameList::clear() { model_->clear(); }

int FileNameList::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void FileNameList::selectRow(int row) {
    if (row < 0) {
        clearSelection();
        setCurrentIndex(QModelIndex());
    } else {
        setCurrentIndex(model_->index(row));
    }
}

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), model_(new FolderModel(this)) {
    setModel(model_);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    connect(this, &QTreeView::collapsed, model_, &FolderModel::closed);
    connect(this, &QTreeView::expanded, model_, &FolderModel::opened);
    // A folder gone from disk takes the current row with it; where the
    // selection lands then is not the user's choice.
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { modelChanging_ = true; });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { modelChanging_ = false; });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { chosen(current); });
}

QModelIndex FolderTree::indexOf(const QString& path) {
    return model_->indexOf(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

bool FolderTree::setPath(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    if (!info.isDir()) return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    path_ = QDir::toNativeSeparators(clean);
    pointed_ = QPersistentModelIndex();
    const QModelIndex index = model_->indexOf(clean);
    if (index.isValid()) {
        const QScopedValueRollback guard(setting_, true);
        for (QModelIndex above = index.parent(); above.isValid(); above = above.parent()) expand(above);
        setCurrentIndex(index);
        // At start-up the restored folder is opened, and shown in the middle
        // once the tree has its size.
        if (!isVisible()) {
            expand(index);
            revealWhenShown_ = true;
        }
    }
    return true;
}

void FolderTree::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (pointed_.isValid() && index == pointed_) return;
    QTreeView::scrollTo(index, hint);
}

void FolderTree::showEvent(QShowEvent* event) {
    QTreeView::showEvent(event);
    if (revealWhenShown_) {
        revealWhenShown_ = false;
        QTreeView::scrollTo(currentIndex(), PositionAtCenter);
    }
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
    pointed_ = indexAt(event->position().toPoint());
    QTreeView::mousePressEvent(event);
}

// The keyboard moves the current row where the user looks: the view follows.
void FolderTree::keyPressEvent(QKeyEvent* event) {
    pointed_ = QPersistentModelIndex();
    QTreeView::keyPressEvent(event);
}

void FolderTree::chosen(const QModelIndex& index) {
    if (setting_ || modelChanging_ || !index.isValid()) return;
    const QString path = QDir::toNativeSeparators(model_->filePath(index));
    if (path == path_) return;
    path_ = path;
    emit pathChanged();
}

}  // namespace ftvb::ui::qt
