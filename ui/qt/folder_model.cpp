#include "ui/qt/folder_model.h"

#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <algorithm>
#include <vector>

#include "ui/cp1252.h"
#include "ui/qt/folder_entries.h"

namespace ftvb::ui::qt {

struct FolderModel::Node {
    QString name;  // as shown
    QString path;  // absolute, "/" separators
    Node* parent = nullptr;
    int row = 0;
    bool read = false;
    bool stale = false;  // closed since it was read
    bool kept = false;   // hidden, but on the way to a folder that was shown
    std::vector<std::unique_ptr<Node>> children;
};

namespace {

bool before(const QString& a, const QString& b) {
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

QString childPath(const QString& parent, const QString& name) {
    return parent.endsWith(QLatin1Char('/')) ? parent + name : parent + QLatin1Char('/') + name;
}

// The subfolders to show, in order. A name that is not UTF-8 is left out:
// the folder path is text everywhere after the tree (the current folder,
// the settings), and such a name could not be opened from it.
std::vector<QString> subfolders(const QString& path) {
    std::vector<std::string> found;
    std::vector<QString> names;
    if (!readFolder(QFile::encodeName(path).toStdString(), EntryKind::folders, found)) return names;
    for (const std::string& name : found) {
        if (isUtf8(name)) names.push_back(QString::fromStdString(name));
    }
    std::sort(names.begin(), names.end(), before);
    return names;
}

}  // namespace

FolderModel::FolderModel(QObject* parent)
    : QAbstractItemModel(parent),
      root_(std::make_unique<Node>()),
      // One icon for every folder: asking the desktop theme for each one is
      // what a model of the whole file system spends its time on.
      folderIcon_(QFileIconProvider().icon(QAbstractFileIconProvider::Folder)) {
    root_->read = true;
    for (const QFileInfo& drive : QDir::drives()) {
        auto node = std::make_unique<Node>();
        node->path = drive.filePath();
        node->name = QDir::toNativeSeparators(node->path);
        node->parent = root_.get();
        node->row = int(root_->children.size());
        root_->children.push_back(std::move(node));
    }
}

FolderModel::~FolderModel() = default;

FolderModel::Node* FolderModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

QModelIndex FolderModel::indexOfNode(const Node* node) const {
    if (node == nullptr || node == root_.get()) return {};
    return createIndex(node->row, 0, const_cast<Node*>(node));
}

QModelIndex FolderModel::index(int row, int column, const QModelIndex& parent) const {
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size())) return {};
    return createIndex(row, 0, node->children[std::size_t(row)].get());
}

QModelIndex FolderModel::parent(const QModelIndex& child) const {
    return child.isValid() ? indexOfNode(nodeOf(child)->parent) : QModelIndex();
}

int FolderModel::rowCount(const QModelIndex& parent) const { return int(nodeOf(parent)->children.size()); }

int FolderModel::columnCount(const QModelIndex&) const { return 1; }

QVariant FolderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return nodeOf(index)->name;
    if (role == Qt::DecorationRole) return folderIcon_;
    return {};
}

// A folder not read yet may have subfolders: it shows the mark that opens
// it, and loses the mark once reading finds none.
bool FolderModel::hasChildren(const QModelIndex& parent) const {
    const Node* node = nodeOf(parent);
    return !node->read || !node->children.empty();
}

bool FolderModel::canFetchMore(const QModelIndex& parent) const { return !nodeOf(parent)->read; }

void FolderModel::fetchMore(const QModelIndex& parent) { read(nodeOf(parent)); }

QString FolderModel::filePath(const QModelIndex& index) const {
    return index.isValid() ? nodeOf(index)->path : QString();
}

void FolderModel::read(Node* node) {
    if (node->read) return;
    node->read = true;
    const std::vector<QString> names = subfolders(node->path);
    if (names.empty()) {
        // The mark that opens it goes.
        if (node != root_.get()) emit dataChanged(indexOfNode(node), indexOfNode(node));
        return;
    }
    beginInsertRows(indexOfNode(node), 0, int(names.size()) - 1);
    for (const QString& name : names) {
        auto child = std::make_unique<Node>();
        child->name = name;
        child->path = childPath(node->path, name);
        child->parent = node;
        child->row = int(node->children.size());
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}

void FolderModel::reread(Node* node) {
    const std::vector<QString> names = subfolders(node->path);
    const QModelIndex parent = indexOfNode(node);
    auto& children = node->children;
    for (int row = int(children.size()) - 1; row >= 0; --row) {
        const Node& child = *children[std::size_t(row)];
        const bool listed = std::binary_search(names.begin(), names.end(), child.name, before);
        if (listed || (child.kept && QFileInfo(child.path).isDir())) continue;
        beginRemoveRows(parent, row, row);
        children.erase(children.begin() + row);
        for (std::size_t i = std::size_t(row); i < children.size(); ++i) children[i]->row = int(i);
        endRemoveRows();
    }
    for (const QString& name : names) insert(node, name, false);
}

// The child of that name, made where it belongs in order when it is not
// there yet.
FolderModel::Node* FolderModel::insert(Node* parent, const QString& name, bool kept) {
    auto& children = parent->children;
    const auto at =
        std::lower_bound(children.begin(), children.end(), name,
                         [](const std::unique_ptr<Node>& child, const QString& n) { return before(child->name, n); });
    if (at != children.end() && (*at)->name == name) {
        (*at)->kept = (*at)->kept || kept;
        return at->get();
    }
    const int row = int(at - children.begin());
    beginInsertRows(indexOfNode(parent), row, row);
    auto child = std::make_unique<Node>();
    child->name = name;
    child->path = childPath(parent->path, name);
    child->parent = parent;
    child->kept = kept;
    Node* made = child.get();
    children.insert(children.begin() + row, std::move(child));
    for (std::size_t i = std::size_t(row); i < children.size(); ++i) children[i]->row = int(i);
    endInsertRows();
    return made;
}

QModelIndex FolderModel::indexOf(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    Node* node = nullptr;
    for (const auto& drive : root_->children) {
        const bool same = QString::compare(clean, QDir::cleanPath(drive->path), Qt::CaseInsensitive) == 0;
        if (same || clean.startsWith(drive->path, Qt::CaseInsensitive)) node = drive.get();
    }
    if (node == nullptr) return {};
    const QStringList parts = clean.mid(node->path.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        read(node);
        auto named = [&] {
            for (const auto& child : node->children) {
                if (child->name == part) return child.get();
            }
            return static_cast<Node*>(nullptr);
        };
        Node* next = named();
        if (next == nullptr) {
            // Made since the folder was read, or hidden.
            if (!QFileInfo(childPath(node->path, part)).isDir()) return {};
            next = insert(node, part, part.startsWith(QLatin1Char('.')));
        }
        node = next;
    }
    return indexOfNode(node);
}

void FolderModel::closed(const QModelIndex& index) {
    Node* node = nodeOf(index);
    if (node->read) node->stale = true;
}

void FolderModel::opened(const QModelIndex& index) {
    Node* node = nodeOf(index);
    if (!node->stale) return;
    node->stale = false;
    reread(node);
}

}  // namespace ftvb::ui::qt
