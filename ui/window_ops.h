// The window operations the window logic needs, in the toolkit's neutral
// terms, so that Form1Logic runs the same against the Qt window and against
// the fakes of the tests.
//
// File names in the two lists and in the hidden file list are names as the
// file system spells them, bytes that need not be UTF-8: the binding shows
// them as best it can and gives them back unchanged, and the run opens them
// as they are. Every other text crossing this interface is UTF-8 display
// text; toFileSystem turns such a text (the module name) into a file name
// for the engine, and fromFileSystem a file name into a text to show.
#pragma once

#include <string>

namespace ftvb::ui {

// The two list boxes: the source list and the list of files to convert.
enum class List { f1, f2 };

// The text boxes: pattern, module name, status and line count.
enum class Box { ext, b, tt, ccpt };

// Everything that carries a caption or a tool tip. Form1 is the window
// itself, whose caption is its title.
enum class Control {
    Form1,
    Command1,
    Command2,
    Command3,
    Command4,
    Command5,
    Command6,
    Command7,
    Label1_0,
    Label1_1,
    Label1_2,
    Label3,
    Drive1,
    ext,
    Dir1,
    f1,
    f2,
    b,
    Check1,  // "Finish for VBA", under the module name
};

enum class MessageKind { information, warning };

class WindowOps {
public:
    virtual ~WindowOps() = default;

    // f1 and f2: single selection, never sorted.
    virtual void listClear(List list) = 0;
    virtual void listAdd(List list, const std::string& entry) = 0;
    virtual void listRemove(List list, int index) = 0;
    virtual int listCount(List list) const = 0;
    virtual std::string listEntry(List list, int index) const = 0;
    virtual int listSelected(List list) const = 0;      // -1 when none
    virtual void listSelect(List list, int index) = 0;  // -1 selects none

    // File1, the hidden file list. Each setter returns false and leaves the
    // previous value in force when it refuses the value.
    virtual bool fileListSetFolder(const std::string& folder) = 0;
    virtual bool fileListSetPattern(const std::string& pattern) = 0;
    virtual std::string fileListPattern() const = 0;
    virtual bool fileListRefresh() = 0;
    virtual int fileListCount() const = 0;
    virtual std::string fileListName(int index) const = 0;

    // Dir1. Setting the path from the program raises no change of its own:
    // the logic compares the path before and after and runs Dir1_Change.
    virtual std::string dirPath() const = 0;
    virtual bool dirSetPath(const std::string& path) = 0;
    virtual void dirRefresh() = 0;

    // Drive1, which platforms without drive letters do not have.
    virtual bool hasDrives() const = 0;
    virtual std::string drive() const = 0;
    virtual bool driveSet(const std::string& drive) = 0;

    // The process.
    virtual bool setCurrentFolder(const std::string& folder) = 0;
    virtual bool setCurrentDrive(const std::string& drive) = 0;
    virtual std::string currentFolder() const = 0;
    virtual std::string toFileSystem(const std::string& name) const = 0;
    virtual std::string fromFileSystem(const std::string& name) const = 0;

    // Text boxes.
    virtual std::string text(Box box) const = 0;
    virtual void setText(Box box, const std::string& text) = 0;
    virtual void showBox(Box box, bool visible) = 0;

    // Check1, the check box that has Run finish the module for VBA.
    virtual bool finishChecked() const = 0;
    virtual void setFinishChecked(bool checked) = 0;

    // Captions (the window's title for Control::Form1) and tool tips.
    virtual void setCaption(Control control, const std::string& caption) = 0;
    virtual void setToolTipOf(Control control, const std::string& tip) = 0;

    // The run's feedback. statusDue says whether the status boxes should be
    // repainted now; yield lets pending events run.
    virtual void setBusy(bool busy) = 0;
    virtual bool statusDue() = 0;
    virtual void yield() = 0;
    // A message box with an OK button; returns when the user closed it.
    virtual void message(const std::string& text, MessageKind kind) = 0;

    virtual void showAbout() = 0;
    // Ends the program at once: every window closed, no further events.
    virtual void quit() = 0;
};

}  // namespace ftvb::ui
