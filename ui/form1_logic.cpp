// The main window's behaviour. Handlers skip a step that cannot be carried
// out and go on; the exceptions are a folder or drive that cannot be opened,
// which puts the selectors back where they were, and the run, whose failures
// the user has to know about.
#include "ui/form1_logic.h"

#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/files.h"
#include "engine/review.h"
#include "engine/review_place.h"
#include "engine/run.h"
#include "finish/finish.h"
#include "ui/captions.h"
#include "ui/cp1252.h"

namespace ftvb::ui {
namespace {

constexpr const char* kDefaultModule = "module1.bas";
constexpr const char* kDefaultPattern = "*.for";

// The engine reads "-" as standard input and writes a module "-" to
// standard output; a window has neither, so such a name means the file.
std::string plainFileName(std::string name) {
    if (name == "-") return "./-";
    return name;
}

// Names are UTF-8 on every platform, where a path's narrow string is the
// ANSI code page's on Windows.
std::filesystem::path pathOf(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string nameOf(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

// The list of the files a run left out, when there are more than its
// message names: "module1.unread.txt" beside the module.
std::string unreadFileName(const std::string& module) {
    const std::string review = reviewFileBeside(module);
    return review.substr(0, review.size() - std::string_view(".review.txt").size()) + ".unread.txt";
}

// A message names this many files left out; a longer list would push its
// OK button off the screen.
constexpr std::size_t kLeftOutShown = 10;

// Whether a file is a list of files left out that this program wrote: its
// first line is the heading of such a list, in either language. Only such
// a file is replaced or removed.
bool isOurUnreadList(const std::string& name) {
    SourceReader reader;
    if (!reader.open(name).ok()) return false;
    std::string_view line;
    if (!reader.nextLine(line)) return false;
    return line == runWords(kEnglish).filesLeftOut || line == runWords(kFrench).filesLeftOut;
}

bool fileExists(const std::string& name) { return identityOf(name).exists; }

void removeFile(const std::string& name) {
    std::error_code error;
    try {
        std::filesystem::remove(pathOf(name), error);
    } catch (const std::exception&) {
        // A name the path conversions refuse: the stale list stays.
    }
}

// The module is named once, at the start, relative to the folder current
// then; the user may change folders during the run, and the module must
// still land where it was asked for.
std::string moduleFileName(const std::string& name) {
    if (name.empty()) return name;
    try {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(pathOf(plainFileName(name)), error);
        return error ? plainFileName(name) : nameOf(absolute);
    } catch (const std::exception&) {
        // A name the path conversions refuse (a lone UTF-16 surrogate on
        // Windows) is used as typed; the file side carries it as it is.
        return plainFileName(name);
    }
}

}  // namespace

// The files listed when Run was pressed, in that order: the lists may
// change during the run's yields, and count for the next run. The current
// folder may change too, so a name is taken in the folder of the start, as
// the module is; while that is still the current folder the name is handed
// on as listed, which is how messages then name it.
class Form1Logic::RunFiles : public FileList {
public:
    explicit RunFiles(WindowOps& window) {
        std::error_code error;
        start_ = std::filesystem::current_path(error);
        try {
            startName_ = nameOf(start_);
        } catch (const std::exception&) {
            // A folder name the conversions cannot carry: names then stay
            // relative to whatever folder is current.
            startName_.clear();
        }
        const int count = window.listCount(List::f2);
        for (int i = 0; i < count; ++i) names_.push_back(plainFileName(window.listEntry(List::f2, i)));
    }

    std::size_t count() const override { return names_.size(); }

    // The entries are names of files of the folder of the start; once the
    // window is on another folder they are put behind that folder's name,
    // as text, since a name need not be one the path conversions accept.
    std::string entry(std::size_t index) const override {
        if (index >= names_.size()) return {};
        const std::string& name = names_[index];
        std::error_code error;
        if (name.empty() || startName_.empty() || std::filesystem::current_path(error) == start_) return name;
        std::string full = startName_;
        if (full.back() != '/' && full.back() != static_cast<char>(std::filesystem::path::preferred_separator)) {
            full += static_cast<char>(std::filesystem::path::preferred_separator);
        }
        return full + name;
    }

private:
    std::filesystem::path start_;
    std::string startName_;
    std::vector<std::string> names_;
};

// The list of places to look at, beside the module. It is written as the
// run goes, to a temporary file put in place at the end only when the
// module is written and the list holds anything; a file of that name that
// the program did not write, or that is a source or the module, is neither
// replaced nor removed.
class Form1Logic::ReviewFile {
public:
    ReviewFile(const std::string& module, const FileList& sources, ReviewList& review)
        : name_(reviewFileBeside(module)) {
        const ReviewPlace place = reviewPlace(name_, module, sources, ReviewNamedBy::program);
        ours_ = place.ours;
        blocked_ = !place.writable();
        if (blocked_) return;
        writer_.skipDiskFlush();
        opened_ = writer_.open(name_);
        if (opened_.ok()) review.spillTo([this](std::string_view block) { writer_.writeBytes(block); });
    }

    const std::string& name() const { return name_; }
    bool blocked() const { return blocked_; }

    // The rest of the list, and the file in place.
    Status commit(ReviewList& review) {
        if (!opened_.ok()) return opened_;
        for (const std::string_view piece : review.pieces()) writer_.writeBytes(piece);
        return writer_.commit();
    }

    // The module was not written: the list an earlier run left still
    // belongs to the module that stays, and only this run's goes.
    void abandon() { writer_.abandon(); }

    // No list this time: the one an earlier run left goes too.
    void drop() {
        writer_.abandon();
        if (ours_) removeFile(name_);
    }

private:
    std::string name_;
    ModuleWriter writer_;
    Status opened_;
    bool ours_ = false;
    bool blocked_ = false;
};

// Keeps the latest count and statement and paints them only when the window
// says a repaint is due: formatting and painting for each of a million lines
// would cost more than the conversion itself. The yields stay where the run
// puts them; the window decides how often they really process events.
class Form1Logic::RunStatus : public RunObserver {
public:
    RunStatus(WindowOps& window, const bool& stop, std::string module)
        : window_(window), stop_(stop), review_(std::move(module)) {}

    void lineCounted(long long lines) override {
        lines_ = lines;
        pace();
    }

    void statementShown(std::string_view statement) override {
        statement_.assign(statement);
        pace();
    }

    bool stopRequested() override { return stop_; }
    void fileChecked() override { window_.yield(); }

    bool wantsReview() override { return true; }
    void reviewNoted(const ReviewNote& note) override { review_.add(note); }
    ReviewList& review() { return review_; }

    void show() {
        if (lines_ > 0) window_.setText(Box::ccpt, std::to_string(lines_) + " lines");
        window_.setText(Box::tt, cp1252ToUtf8(statement_));
    }

private:
    void pace() {
        if (window_.statusDue()) show();
        window_.yield();
    }

    WindowOps& window_;
    const bool& stop_;
    ReviewList review_;
    long long lines_ = 0;
    std::string statement_;
};

std::string Form1Logic::language() { return settings_.read(kLanguageSection, kLanguageKey, kEnglish); }

void Form1Logic::Form_Load() {
    loading_ = true;
    folder_ = window_.currentFolder();
    drive_ = window_.hasDrives() ? window_.drive() : std::string();

    window_.setText(Box::b, kDefaultModule);
    window_.setCaption(Control::Form1, startupTitle());

    const std::string drive = settings_.read(kAccessSection, kDriveKey, "");
    const std::string folder = settings_.read(kAccessSection, kFolderKey, "");
    const std::string module = settings_.read(kAccessSection, kModuleKey, "");
    std::string pattern = settings_.read(kAccessSection, kPatternKey, "");
    if (pattern.empty()) pattern = kDefaultPattern;

    if (window_.hasDrives()) {
        setDriveSelector(drive + "\\");
        // The root of the saved drive; "\\" alone is the current drive's,
        // also when the saved drive is gone (a USB stick, a network drive).
        if (drive.empty() || !setFolderSelector(drive.substr(0, 1) + ":\\")) setFolderSelector("\\");
    } else {
        setFolderSelector("/");
    }
    // A folder that opens also becomes File1's folder through Dir1_Change; one
    // that does not must not leave File1 on a folder the selector is not on.
    setFolderSelector(folder);

    window_.setText(Box::ext, pattern);
    applyPattern();
    window_.setText(Box::b, module.empty() ? kDefaultModule : module);
    window_.setFinishChecked(settings_.read(kAccessSection, kFinishKey, "0") == "1");
    window_.yield();
    loading_ = false;
}

void Form1Logic::Form_Activate() { applyTexts(isFrench(language())); }

void Form1Logic::Form_Unload() {
    if (running_) stopRun_ = true;
}

void Form1Logic::applyTexts(bool french) {
    for (const TextRow& row : kCaptionTable) window_.setCaption(row.control, french ? row.french : row.english);
    for (const TextRow& row : kToolTipTable) window_.setToolTipOf(row.control, french ? row.french : row.english);
}

void Form1Logic::ln_Click(int index) {
    settings_.write(kLanguageSection, kLanguageKey, std::to_string(index));
    Form_Activate();
}

void Form1Logic::rempl_f1() {
    window_.listClear(List::f1);
    window_.listClear(List::f2);
    const int count = window_.fileListCount();
    for (int i = 0; i < count; ++i) window_.listAdd(List::f1, window_.fileListName(i));
}

// An empty box names no pattern: it leaves the one in force, so leaving it
// changes nothing either.
void Form1Logic::ext_LostFocus(FocusGoes to) {
    if (to != FocusGoes::toThisWindow) return;
    const std::string pattern = window_.text(Box::ext);
    if (pattern.empty() || pattern == window_.fileListPattern()) return;
    struct Leaving {
        bool& flag;
        const bool outer = std::exchange(flag, true);
        ~Leaving() { flag = outer; }
    } leaving{leavingPattern_};
    applyPattern();
}

void Form1Logic::applyPattern() {
    const std::string pattern = window_.text(Box::ext);
    if (!pattern.empty()) window_.fileListSetPattern(pattern);
    window_.fileListRefresh();
    window_.yield();
    rempl_f1();
}

bool Form1Logic::setFolderSelector(const std::string& path) {
    const std::string before = window_.dirPath();
    if (!window_.dirSetPath(path)) return false;
    if (window_.dirPath() != before) Dir1_Change();
    return true;
}

void Form1Logic::setDriveSelector(const std::string& drive) {
    const std::string before = window_.drive();
    if (window_.driveSet(drive) && window_.drive() != before) Drive1_Change();
}

void Form1Logic::Dir1_Change() {
    const std::string path = window_.dirPath();
    if (!window_.setCurrentFolder(path) || !window_.fileListSetFolder(path) || !window_.fileListRefresh()) {
        restoreFolder();
        refused(false, path);
        return;
    }
    folder_ = path;
    followDrive(path);
    rempl_f1();
}

// A folder on another drive (a saved folder whose drive was not saved, a
// folder chosen in a selector that shows several drives) takes the drive
// selector with it: the drive shown, and saved at Exit, is the folder's.
void Form1Logic::followDrive(const std::string& path) {
    if (!window_.hasDrives() || path.size() < 2 || path[1] != ':') return;
    const std::string shown = window_.drive();
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    if (!shown.empty() && lower(shown[0]) == lower(path[0])) return;
    if (window_.driveSet(path.substr(0, 2))) drive_ = window_.drive();
}

// Puts the process, Dir1 and File1 back on the last folder that opened; the
// lists keep what they hold, since they still belong to that folder.
void Form1Logic::restoreFolder() {
    window_.setCurrentFolder(folder_);
    window_.dirSetPath(folder_);
    if (window_.fileListSetFolder(folder_)) window_.fileListRefresh();
}

void Form1Logic::Drive1_Change() {
    const std::string previous = drive_;
    const std::string wanted = window_.drive();
    if (!window_.setCurrentDrive(wanted)) {
        window_.driveSet(previous);
        refused(true, wanted);
        return;
    }
    const std::string folder = window_.currentFolder();
    const std::string before = window_.dirPath();
    bool opened = window_.dirSetPath(folder);
    if (opened && window_.dirPath() != before) {
        Dir1_Change();
        opened = window_.dirPath() == folder;
    } else if (!opened) {
        restoreFolder();
        refused(false, folder);
    }
    if (!opened) {
        window_.driveSet(previous);
        return;
    }
    drive_ = wanted;
    window_.dirRefresh();
    if (window_.fileListSetFolder(folder)) window_.fileListRefresh();
    rempl_f1();
}

void Form1Logic::refused(bool drive, const std::string& name) {
    // A saved folder that is gone is no news at start-up: the window just
    // opens where the earlier steps left it.
    if (loading_) return;
    const RunWords& words = runWords(language());
    window_.message(fill(drive ? words.driveNotOpened : words.folderNotOpened, name), MessageKind::warning);
}

void Form1Logic::moveSelected(List from, List to) {
    const int index = window_.listSelected(from);
    const std::string entry = index >= 0 ? window_.listEntry(from, index) : std::string();
    if (entry.empty()) return;
    window_.listAdd(to, entry);
    window_.listRemove(from, index);
    window_.listSelect(from, -1);
}

void Form1Logic::moveAll(List from, List to) {
    const int count = window_.listCount(from);
    for (int i = 0; i < count; ++i) window_.listAdd(to, window_.listEntry(from, i));
    window_.listClear(from);
}

void Form1Logic::Command1_Click() { moveSelected(List::f1, List::f2); }
void Form1Logic::Command2_Click() { moveSelected(List::f2, List::f1); }
void Form1Logic::Command5_Click() { moveAll(List::f1, List::f2); }
void Form1Logic::Command6_Click() { moveAll(List::f2, List::f1); }

void Form1Logic::Command3_Click() {
    // The events of a run's yields may press the button again; two runs
    // would share one module.
    if (running_) return;
    running_ = true;
    stopRun_ = false;

    window_.showBox(Box::tt, true);
    window_.showBox(Box::ccpt, true);
    window_.setBusy(true);
    const std::string module = window_.text(Box::b);
    const RunFiles files(window_);
    RunStatus status(window_, stopRun_, module);
    const std::string moduleFile = moduleFileName(window_.toFileSystem(module));
    ReviewFile reviewFile(moduleFile, files, status.review());
    // Read once: a click during the run counts for the next one.
    const bool finishing = window_.finishChecked();
    std::vector<std::string> modules;
    RunResult result;
    if (finishing) {
        finish::FinishResult finished = finish::runFinish(moduleFile, files, status);
        modules = std::move(finished.modules);
        result = std::move(finished);
    } else {
        result = runConversion(moduleFile, files, status);
    }
    status.show();
    window_.setBusy(false);
    // Nothing of the run may lie beside the module while a message waits.
    if (!result.moduleWritten) reviewFile.abandon();

    if (!result.stopped) {
        const std::string value = language();
        const RunWords& words = runWords(value);
        std::string text;
        if (result.moduleWritten) {
            text = words.endOfConversion;
            if (modules.size() > 1) text += "\n" + fill(words.modulesWritten, shownNames(modules));
            text += reviewMessage(status.review(), reviewFile, words, value);
        } else if (result.moduleFailure.reason == Reason::nothingRead) {
            text = fill(words.nothingRead, module);
        } else {
            text = fill(words.moduleNotWritten, module, reasonText(result.moduleFailure, value));
        }
        text += leftOutMessage(result.skipped, moduleFile, words, value);
        const bool clean = result.moduleWritten && result.skipped.empty();
        window_.message(text, clean ? MessageKind::information : MessageKind::warning);
    }

    window_.setText(Box::tt, "");
    window_.setText(Box::ccpt, "");
    window_.showBox(Box::tt, false);
    window_.showBox(Box::ccpt, false);
    running_ = false;
    if (quitAfterRun_) window_.quit();
}

// The modules a finished run wrote, by their names without the folder,
// which is the one asked for.
std::string Form1Logic::shownNames(const std::vector<std::string>& modules) const {
    std::string names;
    for (const std::string& module : modules) {
        const std::string shown = window_.fromFileSystem(module);
        const std::size_t folder = shown.find_last_of("/\\");
        if (!names.empty()) names += ", ";
        names += folder == std::string::npos ? shown : shown.substr(folder + 1);
    }
    return names;
}

// Writes the list of places to look at beside the module, or removes the
// list an earlier run left there when there is none; returns what the end
// message adds about it.
std::string Form1Logic::reviewMessage(ReviewList& review, ReviewFile& file, const RunWords& words,
                                      const std::string& languageValue) {
    const long long places = review.tally().total();
    if (places == 0) {
        file.drop();
        return {};
    }
    std::string why;
    if (file.blocked()) {
        why = words.reviewNotOurs;
    } else if (const Status committed = file.commit(review); !committed.ok()) {
        why = reasonText(committed.failure(), languageValue);
    }
    const std::string shown = window_.fromFileSystem(file.name());
    if (!why.empty()) return "\n" + fill(words.reviewNotWritten, shown, why);
    const std::size_t folder = shown.find_last_of("/\\");
    const std::string name = folder == std::string::npos ? shown : shown.substr(folder + 1);
    return "\n" + fill(places == 1 ? words.reviewOne : words.reviewMany, std::to_string(places), name);
}

// Names the files the run left out, the first few of a long list, which
// then goes whole to a file beside the module; a list an earlier run left
// there goes when this run needs none.
std::string Form1Logic::leftOutMessage(const std::vector<SkippedFile>& skipped, const std::string& moduleFile,
                                       const RunWords& words, const std::string& languageValue) {
    const std::string listName = unreadFileName(moduleFile);
    const bool exists = fileExists(listName);
    const bool ours = exists && isOurUnreadList(listName);
    if (skipped.size() <= kLeftOutShown && ours) removeFile(listName);
    if (skipped.empty()) return {};

    std::string text = "\n\n";
    text += words.filesLeftOut;
    std::string list = words.filesLeftOut;
    list += '\n';
    for (std::size_t i = 0; i < skipped.size(); ++i) {
        const std::string line =
            fill(words.fileLeftOut, window_.fromFileSystem(skipped[i].name), reasonText(skipped[i].why, languageValue));
        if (i < kLeftOutShown) text += "\n" + line;
        list += line + '\n';
    }
    if (skipped.size() <= kLeftOutShown) return text;

    const std::string more = std::to_string(skipped.size() - kLeftOutShown);
    if ((exists && !ours) || !writeWholeFile(listName, list).ok())
        return text + "\n" + fill(words.moreLeftOutNoList, more);
    const std::string shown = window_.fromFileSystem(listName);
    const std::size_t folder = shown.find_last_of("/\\");
    return text + "\n" + fill(words.moreLeftOut, more, folder == std::string::npos ? shown : shown.substr(folder + 1));
}

void Form1Logic::Command4_Click() {
    settings_.write(kAccessSection, kModuleKey, window_.text(Box::b));
    settings_.write(kAccessSection, kPatternKey, window_.fileListPattern());
    settings_.write(kAccessSection, kDriveKey, window_.hasDrives() ? window_.drive().substr(0, 1) : std::string());
    settings_.write(kAccessSection, kFolderKey, window_.dirPath());
    settings_.write(kAccessSection, kFinishKey, window_.finishChecked() ? "1" : "0");
    endProgram();
}

void Form1Logic::endProgram() {
    // Ending in the middle of a run would leave its temporary file behind:
    // stop it first, and let the run end the program once it has cleaned up.
    if (running_) {
        stopRun_ = true;
        quitAfterRun_ = true;
        return;
    }
    window_.quit();
}

}  // namespace ftvb::ui
