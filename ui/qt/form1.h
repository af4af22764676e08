// Form1, the main window: the Qt widgets of every control, bound to
// Form1Logic through the window operations. Everything the window does is
// the logic's; this class only shows it and hands it the events.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

#include "ui/form1_layout.h"
#include "ui/form1_logic.h"
#include "ui/pacing.h"
#include "ui/qt/hidden_file_list.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPlainTextEdit;
class QPushButton;

namespace ftvb::ui::qt {

class ClickLabel;
class FileNameList;
class FolderTree;
class frmAbout;
class Twips;

class Form1 : public QWidget, private WindowOps {
    Q_OBJECT
public:
    explicit Form1(SettingsStore& settings, QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up of the window, before it is first shown.
    void load();
    // The session is ending: ends as Exit does, saving nothing, once a run
    // in progress has stopped.
    void endProgram();
    Form1Logic& logic() { return logic_; }
    const HiddenFileList& File1() const { return File1_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls, made as kForm1Layout describes them, and their handlers.
    void makeControls(const Twips& twips);
    QWidget* makeControl(ControlKind kind);
    void connectHandlers();
    template <typename Widget>
    Widget* made(Part part) const {
        return static_cast<Widget*>(controls_[std::size_t(part)]);
    }

    QWidget* widgetOf(Control control) const;
    FileNameList* listOf(List list) const;

    // WindowOps
    void listClear(List list) override;
    void listAdd(List list, const std::string& entry) override;
    void listRemove(List list, int index) override;
    int listCount(List list) const override;
    std::string listEntry(List list, int index) const override;
    int listSelected(List list) const override;
    void listSelect(List list, int index) override;
    bool fileListSetFolder(const std::string& folder) override;
    bool fileListSetPattern(const std::string& pattern) override;
    std::string fileListPattern() const override;
    bool fileListRefresh() override;
    int fileListCount() const override;
    std::string fileListName(int index) const override;
    std::string dirPath() const override;
    bool dirSetPath(const std::string& path) override;
    void dirRefresh() override;
    bool hasDrives() const override;
    std::string drive() const override;
    bool driveSet(const std::string& drive) override;
    bool setCurrentFolder(const std::string& folder) override;
    bool setCurrentDrive(const std::string& drive) override;
    std::string currentFolder() const override;
    std::string toFileSystem(const std::string& name) const override;
    std::string fromFileSystem(const std::string& name) const override;
    std::string text(Box box) const override;
    void setText(Box box, const std::string& text) override;
    void showBox(Box box, bool visible) override;
    bool finishChecked() const override;
    void setFinishChecked(bool checked) override;
    void setCaption(Control control, const std::string& caption) override;
    void setToolTipOf(Control control, const std::string& tip) override;
    void setBusy(bool busy) override;
    bool statusDue() override;
    void yield() override;
    void message(const std::string& text, MessageKind kind) override;
    void showAbout() override;
    void quit() override;

    Form1Logic logic_;
    HiddenFileList File1_;

    // Indexed by Part; null for a control this window does not have.
    std::array<QWidget*, kPartCount> controls_{};
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command6;
    QPushButton* Command7;
    QLabel* Label1[3];
    ClickLabel* Label3;
    QComboBox* Drive1 = nullptr;  // only where there are drive letters
    QLineEdit* ext;
    FolderTree* Dir1;
    FileNameList* f1;
    FileNameList* f2;
    QLineEdit* b;
    QCheckBox* Check1;
    QPlainTextEdit* tt;
    QLineEdit* ccpt;
    ClickLabel* ln[2];
    ClickLabel* Image1;

    QPointer<frmAbout> about_;
    QMessageBox* message_ = nullptr;  // the message box up, if any
    bool settingDrive_ = false;
    bool shown_ = false;
    Pacer events_{kEventPeriod};
    Pacer status_{kStatusPeriod};
};

}  // namespace ftvb::ui::qt
