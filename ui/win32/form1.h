// Form1, the main window, with plain Win32 controls bound to Form1Logic
// through the window operations. Everything the window does is the logic's;
// this class only shows it and hands it the events.
#pragma once

#include <windows.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/form1_logic.h"
#include "ui/pacing.h"
#include "ui/win32/folder_tree.h"
#include "ui/win32/hidden_file_list.h"
#include "ui/win32/pictures.h"

namespace ftvb::ui::win32 {

class frmAbout;

class Form1 : private WindowOps {
public:
    explicit Form1(SettingsStore& settings);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The start-up of the window, before it is first shown.
    void load();
    void show(int showCommand = SW_SHOWNORMAL);

    HWND handle() const { return window_; }
    HWND toolTips() const { return toolTips_; }
    // The About box while it is open, else null.
    HWND aboutBox() const;
    Form1Logic& logic() { return logic_; }
    const HiddenFileList& File1() const { return File1_; }
    // The program has been asked to end (Exit, or the last window closed).
    bool ended() const { return ended_; }

    // Hands one message to the window it is for, with the keyboard
    // navigation of a dialog in the program's windows.
    static void dispatch(MSG& message);
    // Runs the program's events until it ends; its exit code.
    static int runMessageLoop();
    // A run is in progress: every window of the program shows the busy
    // pointer.
    static bool busyPointer();

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK extProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void create();
    void layOut();
    void command(int id, int code);
    void close();
    void endIfNoWindowLeft();
    void pump(UINT filter);
    HWND child(int id) const { return GetDlgItem(window_, id); }
    HWND controlOf(Control control) const;
    HWND listOf(List list) const;
    HWND changing(List list);
    std::vector<std::string>& entriesOf(List list);
    const std::vector<std::string>& entriesOf(List list) const;
    HWND boxOf(Box box) const;
    void fillDrives();
    friend class frmAbout;
    void aboutClosed();

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
    bool hasDrives() const override { return true; }
    std::string drive() const override;
    bool driveSet(const std::string& drive) override;
    bool setCurrentFolder(const std::string& folder) override;
    bool setCurrentDrive(const std::string& drive) override;
    std::string currentFolder() const override;
    std::string toFileSystem(const std::string& name) const override { return name; }
    std::string fromFileSystem(const std::string& name) const override { return name; }
    std::string text(Box box) const override;
    void setText(Box box, const std::string& text) override;
    void showBox(Box box, bool visible) override;
    bool finishChecked() const override;
    void setFinishChecked(bool checked) override;
    void setCaption(Control control, const std::string& caption) override;
    void setToolTipOf(Control control, const std::string& tip) override;
    void setBusy(bool busy) override;
    bool statusDue() override { return status_.due(); }
    void yield() override;
    void message(const std::string& text, MessageKind kind) override;
    void showAbout() override;
    void quit() override;

    Form1Logic logic_;
    HiddenFileList File1_;
    FolderTree Dir1_;
    HWND window_ = nullptr;
    HWND toolTips_ = nullptr;
    HFONT font_ = nullptr;
    UINT dpi_ = 96;
    Picture flags_[2];
    Picture logo_;
    std::unique_ptr<frmAbout> about_;
    std::set<HWND> tipped_;  // controls that have a tool tip
    std::set<HWND> held_;    // lists not drawn until their change is over
    // The entries of f1 and f2 as the logic put them there: asking a list box
    // for each of thousands of entries costs a message each, which at the
    // start of a run held up the window for most of a second.
    std::vector<std::string> entries_[2];
    HWND lastFocus_ = nullptr;  // where the focus goes back when the window is active again
    std::wstring lastDrive_;    // the drive Drive1 showed when the logic last saw it
    bool activatedOnce_ = false;
    bool fromOtherProgram_ = false;
    bool closing_ = false;  // closed by its frame, or the session ends
    bool ended_ = false;
    bool dirChangePending_ = false;
    Pacer events_{kEventPeriod};
    // Setting the status boxes' texts costs a trip to the window server
    // each under Wine, a tenth of a run of many small files at 20 a second
    // on a busy machine: 10 a second still reads as live counting.
    Pacer status_{kStatusPeriod * 2};
};

}  // namespace ftvb::ui::win32
