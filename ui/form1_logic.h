// The main window's behaviour, apart from any toolkit: start-up and exit,
// the folder, drive and pattern that fill the source list, the moves between
// the two lists, the language, and the conversion run started from the
// window. Each handler is named after its control and event.
#pragma once

#include <string>
#include <vector>

#include "ui/settings_store.h"
#include "ui/window_ops.h"

namespace ftvb {
class ReviewList;
struct SkippedFile;
}  // namespace ftvb

namespace ftvb::ui {

struct RunWords;

// Where the focus went when it left a control.
enum class FocusGoes { toThisWindow, elsewhere };

class Form1Logic {
public:
    Form1Logic(WindowOps& window, SettingsStore& settings) : window_(window), settings_(settings) {}
    Form1Logic(const Form1Logic&) = delete;
    Form1Logic& operator=(const Form1Logic&) = delete;

    void Form_Load();
    void Form_Activate();
    // The window was closed by its frame: nothing is saved, and a run in
    // progress stops without touching the module.
    void Form_Unload();

    void rempl_f1();
    // The focus left the pattern box. Only a move to another control of
    // this window applies the pattern: switching to another program, to the
    // About box or to a menu must not empty the list of files to convert.
    // Even then it applies it only when it says something new: passing
    // through the box on the way to another control must not empty a list
    // built by hand. "Ok" and Enter apply it always.
    void ext_LostFocus(FocusGoes to = FocusGoes::toThisWindow);
    // Inside the pattern box's loss of focus: the click or key that moved the
    // focus is not yet done, and its own input must wait until the pattern is
    // applied (see WindowOps::yield), or the click would reach its button
    // half-handled and be lost.
    bool leavingPattern() const { return leavingPattern_; }
    void Command7_Click() { applyPattern(); }
    void Dir1_Change();
    void Drive1_Change();

    void Command1_Click();  // Add >
    void Command2_Click();  // < Remove
    void Command5_Click();  // Add All >>>
    void Command6_Click();  // <<< Remove All

    void Command3_Click();  // the conversion run
    void Command4_Click();  // Exit
    // Ends the program as Exit does, saving nothing: for the end of the
    // session (SIGTERM, SIGHUP, SIGINT). A run in progress stops first and
    // leaves the module as it was.
    void endProgram();

    void ln_Click(int index);
    void Label3_Click() { window_.showAbout(); }
    void Image1_Click() { window_.showAbout(); }

    bool running() const { return running_; }
    // Read from the store at each use, so a flag click counts at once.
    std::string language();

private:
    class RunFiles;
    class RunStatus;
    class ReviewFile;

    void applyPattern();
    bool setFolderSelector(const std::string& path);
    void setDriveSelector(const std::string& drive);
    void restoreFolder();
    void followDrive(const std::string& path);
    void refused(bool drive, const std::string& name);
    void moveSelected(List from, List to);
    void moveAll(List from, List to);
    void applyTexts(bool french);
    std::string reviewMessage(ReviewList& review, ReviewFile& file, const RunWords& words,
                              const std::string& languageValue);
    std::string shownNames(const std::vector<std::string>& modules) const;
    std::string leftOutMessage(const std::vector<SkippedFile>& skipped, const std::string& moduleFile,
                               const RunWords& words, const std::string& languageValue);

    WindowOps& window_;
    SettingsStore& settings_;
    // The last folder and drive that could be opened, where a failed change
    // puts the selectors back.
    std::string folder_;
    std::string drive_;
    bool loading_ = false;
    bool leavingPattern_ = false;
    bool running_ = false;
    bool stopRun_ = false;
    bool quitAfterRun_ = false;
};

}  // namespace ftvb::ui
