// The widgets Qt lacks: a label that can be clicked, the lists f1 and f2
// of file names, and the folder selector Dir1, a tree of the file system's
// folders that knows its one path.
#pragma once

#include <QLabel>
#include <QListView>
#include <QTreeView>
#include <string>

namespace ftvb::ui::qt {

class FolderModel;

// A label or picture that can be clicked. Given a focus policy it is in the
// Tab order too: Space or Enter then clicks it, and it shows the focus.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// f1 and f2: file names, each kept as the file system spells it and shown
// as best it can be; single selection, never sorted. A plain model of names
// takes a hundred thousand of them in a few hundredths of a second, where
// list-widget items take most of a second.
class FileNameList : public QListView {
    Q_OBJECT
public:
    explicit FileNameList(QWidget* parent = nullptr);

    int count() const;
    std::string name(int row) const;  // empty when there is no such row
    QString text(int row) const;      // as shown
    void append(std::string name);
    void remove(int row);
    void clear();
    int selectedRow() const;  // -1 when none
    void selectRow(int row);  // -1 selects none

private:
    class Model;
    Model* model_;
};

// Dir1. Only the user's choices move the tree: choosing a folder with the
// pointer never scrolls it, so that the next click lands on the folder the
// user aimed at. The program's own settings of the path (start-up, a folder
// put back) bring the folder into view.
class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

    QString path() const { return path_; }
    // Shows the folder; false, with the path unchanged, when it is not a
    // folder. Raises no pathChanged: only the user's choices do.
    bool setPath(const QString& path);
    // The folder's row, reading the folders on the way as needed.
    QModelIndex indexOf(const QString& path);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    void pathChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void chosen(const QModelIndex& index);

    FolderModel* model_;
    QString path_;
    // The row last chosen with the pointer: the view scrolls to a pressed
    // row, at once and again a moment later; this one stays where it is.
    QPersistentModelIndex pointed_;
    bool setting_ = false;
    bool modelChanging_ = false;
    bool revealWhenShown_ = false;
};

}  // namespace ftvb::ui::qt
