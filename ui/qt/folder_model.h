// The folders of the file system, for the folder tree Dir1. A folder is
// read when it is first opened and again each time it is opened anew, on
// the spot and with one pass over its names (readFolder): no file of it is
// looked at, no icon is fetched, and nothing is watched, so a folder of a
// hundred thousand files costs a few milliseconds, and no change on disk
// (a run writing its module) moves rows under the user's pointer.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <memory>

namespace ftvb::ui::qt {

class FolderModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit FolderModel(QObject* parent = nullptr);
    ~FolderModel() override;

    // The folder at an absolute path ("/" separators), reading the folders
    // on the way as needed; invalid when there is no such folder. A hidden
    // folder on the way is shown from then on.
    QModelIndex indexOf(const QString& path);
    QString filePath(const QModelIndex& index) const;

    // The view's opening and closing of a folder: a folder opened again is
    // read again, keeping the subfolders that are still there together with
    // what is open below them.
    void closed(const QModelIndex& index);
    void opened(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Node;

    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOfNode(const Node* node) const;
    void read(Node* node);
    void reread(Node* node);
    Node* insert(Node* parent, const QString& name, bool kept);

    std::unique_ptr<Node> root_;
    QIcon folderIcon_;
};

}  // namespace ftvb::ui::qt
