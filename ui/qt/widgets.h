// The two widgets Qt lacks: a label that can be clicked, and the folder
// selector Dir1, a tree of the file system that knows its one path.
#pragma once

#include <QLabel>
#include <QTreeView>

class QFileSystemModel;

namespace ftvb::ui::qt {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

    QString path() const { return path_; }
    // Shows the folder; false, with the path unchanged, when it is not a
    // folder. Raises no pathChanged: only the user's choices do.
    bool setPath(const QString& path);

signals:
    void pathChanged();

private:
    void chosen(const QModelIndex& index);

    QFileSystemModel* model_;
    QString path_;
    bool setting_ = false;
};

}  // namespace ftvb::ui::qt
