// The window's logic through the fakes: start-up, the lists and their
// refills, Exit, the languages, folders that cannot be opened, and runs of
// the real engine on real files.
#include "ui/form1_logic.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/run.h"
#include "tests/support/case_line.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/fake_window.h"
#include "ui/about.h"
#include "ui/captions.h"
#include "ui/cp1252.h"

namespace ftvb::ui {
namespace {

using ftvb::testing::caseLine;

using testing::FakeSettings;
using testing::FakeWindow;
using Names = std::vector<std::string>;

std::string join(const Names& names) {
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : ",") + name;
    return "[" + out + "]";
}

struct Window {
    FakeWindow window;
    FakeSettings settings;
    Form1Logic logic{window, settings};
};

// ---- Moves between the lists ------------------------------------------------

TEST(Form1Logic, MovesAppendAtTheEndAndNeverCopy) {
    enum Action { add, remove, addAll, removeAll };
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        Names f1, f2;
        int selected1, selected2;
        Action action;
        Names wantF1, wantF2;
    };
    const Case cases[] = {
        {__LINE__, "add the selected entry", {"a", "b", "c"}, {"x"}, 1, -1, add, {"a", "c"}, {"x", "b"}},
        {__LINE__, "add with nothing selected", {"a", "b"}, {}, -1, -1, add, {"a", "b"}, {}},
        {__LINE__, "add an empty entry", {"", "b"}, {}, 0, -1, add, {"", "b"}, {}},
        {__LINE__, "remove goes to the end, not back in place", {"b"}, {"a", "c"}, -1, 0, remove, {"b", "a"}, {"c"}},
        {__LINE__, "remove with nothing selected", {"a"}, {"b"}, -1, -1, remove, {"a"}, {"b"}},
        {__LINE__, "add all after what is there", {"c", "d"}, {"a", "b"}, -1, -1, addAll, {}, {"a", "b", "c", "d"}},
        {__LINE__, "remove all after what is there", {"c"}, {"a", "b"}, -1, -1, removeAll, {"c", "a", "b"}, {}},
        {__LINE__, "add all with an empty source", {}, {"a"}, -1, -1, addAll, {}, {"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        Window w;
        w.window.lists[0] = c.f1;
        w.window.lists[1] = c.f2;
        w.window.selected[0] = c.selected1;
        w.window.selected[1] = c.selected2;
        switch (c.action) {
            case add: w.logic.Command1_Click(); break;
            case remove: w.logic.Command2_Click(); break;
            case addAll: w.logic.Command5_Click(); break;
            case removeAll: w.logic.Command6_Click(); break;
        }
        EXPECT_EQ(join(w.window.lists[0]), join(c.wantF1)) << c.what;
        EXPECT_EQ(join(w.window.lists[1]), join(c.wantF2)) << c.what;
        if (c.action == add && c.f1 != c.wantF1) {
            EXPECT_EQ(w.window.selected[0], -1) << c.what;
        }
        if (c.action == remove && c.f2 != c.wantF2) {
            EXPECT_EQ(w.window.selected[1], -1) << c.what;
        }
    }
}

// ---- Refills -----------------------------------------------------------------

void loadIn(Window& w, const std::string& folder, const Names& files) {
    w.window.folders[folder] = files;
    w.settings.write(kAccessSection, kFolderKey, folder);
    w.logic.Form_Load();
}

TEST(Form1Logic, EveryFolderOrPatternChangeRefillsBothLists) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        std::function<void(Window&)> change;
        Names wantF1;
    };
    const Case cases[] = {
        {__LINE__,
         "another folder",
         [](Window& w) {
             w.window.dir = "/other";
             w.logic.Dir1_Change();
         },
         {"z.for"}},
        {__LINE__, "Ok with the same pattern", [](Window& w) { w.logic.Command7_Click(); }, {"a.for", "B.FOR"}},
        {__LINE__,
         "a new pattern",
         [](Window& w) {
             w.window.texts[Box::ext] = "*.txt;*.f";
             w.logic.ext_LostFocus();
         },
         {"c.f", "read.txt"}},
        {__LINE__,
         "Ok on an emptied pattern box keeps the pattern in force",
         [](Window& w) {
             w.window.texts[Box::ext] = "";
             w.logic.Command7_Click();
         },
         {"a.for", "B.FOR"}},
        {__LINE__,
         "a pattern the file list refuses keeps the pattern in force",
         [](Window& w) {
             w.window.texts[Box::ext] = "../*.for";
             w.logic.Command7_Click();
         },
         {"a.for", "B.FOR"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        Window w;
        loadIn(w, "/src", {"a.for", "B.FOR", "c.f", "read.txt"});
        w.window.folders["/other"] = {"z.for", "y.txt"};
        w.logic.Command5_Click();
        w.window.lists[0].push_back("stray");
        c.change(w);
        EXPECT_EQ(join(w.window.lists[0]), join(c.wantF1)) << c.what;
        EXPECT_TRUE(w.window.lists[1].empty()) << c.what;
    }
}

// Passing through the pattern box (a click into it, then elsewhere; Tab on
// the way to the module name) keeps a list built by hand.
TEST(Form1Logic, LeavingThePatternBoxAppliesOnlyAPatternNotInForce) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        const char* box;  // the pattern box's text when the focus leaves it
        Names wantF1, wantF2;
    };
    const Case cases[] = {
        {__LINE__, "unchanged", "*.for", {"a.for", "c.f"}, {"B.FOR"}},
        {__LINE__, "emptied", "", {"a.for", "c.f"}, {"B.FOR"}},
        {__LINE__, "the same letters in another case", "*.FOR", {"a.for", "B.FOR", "late.for"}, {}},
        {__LINE__, "another pattern", "*.for;*.f", {"a.for", "B.FOR", "c.f", "late.for"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        Window w;
        w.settings.write(kAccessSection, kPatternKey, "*.for;*.f");
        loadIn(w, "/src", {"a.for", "B.FOR", "c.f"});
        w.window.texts[Box::ext] = "*.for";
        w.logic.Command7_Click();
        w.window.folders["/src"].push_back("late.for");  // listed only by a refill
        w.window.lists[0] = {"a.for", "c.f"};
        w.window.lists[1] = {"B.FOR"};
        w.window.texts[Box::ext] = c.box;
        w.logic.ext_LostFocus();
        EXPECT_EQ(join(w.window.lists[0]), join(c.wantF1)) << c.what;
        EXPECT_EQ(join(w.window.lists[1]), join(c.wantF2)) << c.what;
        // Leaving it once more, with nothing new in it, keeps what is there.
        w.window.lists[1] = {"kept"};
        w.logic.ext_LostFocus();
        EXPECT_EQ(join(w.window.lists[1]), "[kept]") << c.what;
    }
}

TEST(Form1Logic, ApplyingThePatternYieldsOnceBeforeTheRefill) {
    Window w;
    loadIn(w, "/src", {"a.for"});
    w.window.yields = 0;
    std::size_t f1AtYield = 99;
    w.window.onYield = [&] { f1AtYield = w.window.lists[0].size(); };
    w.window.lists[0].clear();
    w.logic.Command7_Click();
    EXPECT_EQ(w.window.yields, 1);
    EXPECT_EQ(f1AtYield, 0u);
    EXPECT_EQ(w.window.lists[0].size(), 1u);
}

// The focus leaving the pattern box for another program, the About box or a
// menu applies nothing, whatever the box says; while a move to another
// control applies it, the binding hears at each yield that input must wait.
TEST(Form1Logic, OnlyAMoveToAnotherControlOfTheWindowAppliesThePattern) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        FocusGoes to;
        const char* box;
        bool applied;
    };
    const Case cases[] = {
        {__LINE__, "another control, another pattern", FocusGoes::toThisWindow, "*.f", true},
        {__LINE__, "another control, the pattern in force", FocusGoes::toThisWindow, "*.for", false},
        {__LINE__, "elsewhere, another pattern", FocusGoes::elsewhere, "*.f", false},
        {__LINE__, "elsewhere, an empty box", FocusGoes::elsewhere, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        Window w;
        loadIn(w, "/src", {"a.for", "c.f"});
        w.logic.Command5_Click();
        std::vector<bool> leavingAtYield;
        w.window.onYield = [&] { leavingAtYield.push_back(w.logic.leavingPattern()); };
        w.window.texts[Box::ext] = c.box;
        w.logic.ext_LostFocus(c.to);
        EXPECT_EQ(w.window.lists[1].empty(), c.applied) << c.what;
        EXPECT_EQ(w.window.file1Pattern, c.applied ? c.box : "*.for") << c.what;
        EXPECT_EQ(leavingAtYield, std::vector<bool>(c.applied ? 1 : 0, true)) << c.what;
        EXPECT_FALSE(w.logic.leavingPattern()) << c.what;
        // A later Ok is no loss of focus: input need not wait.
        leavingAtYield.clear();
        w.logic.Command7_Click();
        EXPECT_EQ(leavingAtYield, std::vector<bool>{false}) << c.what;
    }
}

// ---- Start-up and Exit ---------------------------------------------------------

TEST(Form1Logic, StartsOnTheRootWithDefaultsWhenNothingIsSaved) {
    Window w;
    w.logic.Form_Load();
    EXPECT_EQ(w.window.dir, "/");
    EXPECT_EQ(w.window.cwd, "/");
    EXPECT_EQ(w.window.file1Folder, "/");
    EXPECT_EQ(w.window.texts[Box::ext], "*.for");
    EXPECT_EQ(w.window.file1Pattern, "*.for");
    EXPECT_EQ(w.window.texts[Box::b], "module1.bas");
    EXPECT_EQ(w.window.captions[Control::Form1], "Convert Fortran / VB - 2.2.2");
    EXPECT_EQ(join(w.window.lists[0]), "[root.for]");
    EXPECT_TRUE(w.window.messages.empty());
}

TEST(Form1Logic, StartsWhereTheLastExitLeft) {
    Window w;
    w.window.folders["/home/user/src"] = {"m.f", "n.inc", "o.for"};
    w.settings.write(kAccessSection, kFolderKey, "/home/user/src");
    w.settings.write(kAccessSection, kPatternKey, "*.f;*.inc");
    w.settings.write(kAccessSection, kModuleKey, "solver.bas");
    w.logic.Form_Load();
    EXPECT_EQ(w.window.dir, "/home/user/src");
    EXPECT_EQ(w.window.cwd, "/home/user/src");
    EXPECT_EQ(w.window.texts[Box::ext], "*.f;*.inc");
    EXPECT_EQ(w.window.texts[Box::b], "solver.bas");
    EXPECT_EQ(join(w.window.lists[0]), "[m.f,n.inc]");
}

TEST(Form1Logic, ASavedFolderThatCannotBeOpenedLeavesTheWindowOnTheRootSilently) {
    for (const bool exists : {false, true}) {
        Window w;
        w.settings.write(kAccessSection, kFolderKey, "/gone");
        if (exists) {
            w.window.folders["/gone"] = {"x.for"};
            w.window.unreadable.insert("/gone");
        }
        w.logic.Form_Load();
        EXPECT_EQ(w.window.dir, "/") << exists;
        EXPECT_EQ(w.window.cwd, "/") << exists;
        EXPECT_EQ(w.window.file1Folder, "/") << exists;
        EXPECT_EQ(join(w.window.lists[0]), "[root.for]") << exists;
        EXPECT_TRUE(w.window.messages.empty()) << exists;
    }
}

// Where there are drives, a saved folder that is gone opens a root, never
// the folder the program was started in: the saved drive's, or the current
// drive's when the saved drive is gone too (a USB stick, a network drive).
TEST(Form1Logic, ASavedFolderThatIsGoneOpensARootOfADrive) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        const char* drive;
        const char* folder;
        const char* want;
    };
    const Case cases[] = {
        {__LINE__, "the folder is gone", "d", "d:\\gone", "d:\\"},
        {__LINE__, "the folder and its drive are gone", "e", "e:\\gone", "c:\\"},
        {__LINE__, "only the drive was saved, and it is gone", "e", "", "c:\\"},
        {__LINE__, "nothing saved", "", "", "c:\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        Window w;
        w.window.driveFolders = {{"c", "c:\\work"}, {"d", "d:\\"}};
        w.window.driveText = "c:";
        w.window.cwd = w.window.dir = "c:\\work";
        w.window.folders = {{"c:\\", {"c.for"}}, {"c:\\work", {"w.for"}}, {"d:\\", {"d.for"}}};
        w.settings.write(kAccessSection, kDriveKey, c.drive);
        w.settings.write(kAccessSection, kFolderKey, c.folder);
        w.logic.Form_Load();
        EXPECT_EQ(w.window.dir, c.want) << c.what;
        EXPECT_EQ(w.window.file1Folder, c.want) << c.what;
        EXPECT_EQ(w.window.driveText.substr(0, 1), std::string(c.want).substr(0, 1)) << c.what;
        EXPECT_TRUE(w.window.messages.empty()) << c.what;
    }
}

TEST(Form1Logic, StartsOnTheSavedDriveWhereThereAreDrives) {
    Window w;
    w.window.driveFolders = {{"c", "c:\\"}, {"d", "d:\\work"}};
    w.window.driveText = "c:";
    w.window.folders["c:\\"] = {"c.for"};
    w.window.folders["d:\\"] = {"root.for"};
    w.window.folders["d:\\work"] = {"w.for"};
    w.window.folders["d:\\src"] = {"s.for"};
    w.settings.write(kAccessSection, kDriveKey, "d");
    w.settings.write(kAccessSection, kFolderKey, "d:\\src");
    w.logic.Form_Load();
    EXPECT_EQ(w.window.driveText, "d:");
    EXPECT_EQ(w.window.dir, "d:\\src");
    EXPECT_EQ(w.window.cwd, "d:\\src");
    EXPECT_EQ(join(w.window.lists[0]), "[s.for]");
}

TEST(Form1Logic, AFolderOnAnotherDriveTakesTheDriveSelectorWithIt) {
    Window w;
    w.window.driveFolders = {{"c", "c:\\"}, {"d", "d:\\"}};
    w.window.driveText = "c:";
    w.window.folders["c:\\"] = {"c.for"};
    w.window.folders["d:\\"] = {};
    w.window.folders["d:\\src"] = {"s.for"};
    // Only the folder was saved: the drive selector follows it.
    w.settings.write(kAccessSection, kFolderKey, "d:\\src");
    w.logic.Form_Load();
    EXPECT_EQ(w.window.dir, "d:\\src");
    EXPECT_EQ(w.window.driveText, "d:");
    w.logic.Command4_Click();
    EXPECT_EQ(w.settings.at("access", "u0"), "d");
    // A folder without a drive letter leaves it alone.
    w.window.folders["\\\\server\\share"] = {};
    w.window.dir = "\\\\server\\share";
    w.logic.Dir1_Change();
    EXPECT_EQ(w.window.driveText, "d:");
}

TEST(Form1Logic, ExitSavesTheFourKeysAndEnds) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        bool drives;
        const char* patternBox;
        const char* wantDrive;
        const char* wantPattern;
    };
    const Case cases[] = {
        {__LINE__, "no drive letters", false, "*.f", "", "*.f"},
        {__LINE__, "a drive letter", true, "*.f", "d", "*.f"},
        {__LINE__, "an emptied pattern box saves the pattern in force", false, "", "", "*.for"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        Window w;
        loadIn(w, "/src", {"a.for"});
        if (c.drives) {
            w.window.driveFolders = {{"d", "/src"}};
            w.window.driveText = "d: [data]";
        }
        w.window.texts[Box::ext] = c.patternBox;
        w.logic.ext_LostFocus();  // pressing Exit takes the focus from the pattern box
        w.window.texts[Box::b] = "out.bas";
        w.logic.Command4_Click();
        EXPECT_EQ(w.settings.at("access", "f0"), "out.bas") << c.what;
        EXPECT_EQ(w.settings.at("access", "p0"), c.wantPattern) << c.what;
        EXPECT_EQ(w.settings.at("access", "u0"), c.wantDrive) << c.what;
        EXPECT_EQ(w.settings.at("access", "d0"), "/src") << c.what;
        EXPECT_EQ(w.window.quits, 1) << c.what;
    }
}

// ---- Folders and drives that cannot be opened -------------------------------------

TEST(Form1Logic, AFolderThatCannotBeOpenedPutsTheSelectorsBack) {
    Window w;
    loadIn(w, "/src", {"a.for", "b.for"});
    w.window.folders["/locked"] = {"x.for"};
    w.window.unreadable.insert("/locked");
    w.logic.Command1_Click();
    w.window.selected[0] = 0;
    w.logic.Command1_Click();
    w.window.dir = "/locked";
    w.logic.Dir1_Change();
    EXPECT_EQ(w.window.dir, "/src");
    EXPECT_EQ(w.window.cwd, "/src");
    EXPECT_EQ(w.window.file1Folder, "/src");
    EXPECT_EQ(join(w.window.lists[1]), "[a.for]");
    ASSERT_EQ(w.window.messages.size(), 1u);
    EXPECT_EQ(w.window.messages[0], "The folder '/locked' cannot be opened.");
    // The window goes on working.
    w.window.dir = "/";
    w.logic.Dir1_Change();
    EXPECT_EQ(join(w.window.lists[0]), "[root.for]");
}

TEST(Form1Logic, ADriveThatCannotBeOpenedPutsTheDriveSelectorBack) {
    Window w;
    w.window.driveFolders = {{"c", "c:\\"}, {"e", "e:\\"}};
    w.window.driveText = "c:";
    w.window.folders["c:\\"] = {"c.for"};
    w.window.folders["e:\\"] = {};
    w.window.unreadable.insert("e:\\");
    w.settings.write(kAccessSection, kDriveKey, "c");
    w.settings.write(kLanguageSection, kLanguageKey, "1");
    w.logic.Form_Load();
    w.window.driveText = "e:";
    w.logic.Drive1_Change();
    EXPECT_EQ(w.window.driveText, "c:");
    EXPECT_EQ(w.window.dir, "c:\\");
    EXPECT_EQ(w.window.cwd, "c:\\");
    ASSERT_EQ(w.window.messages.size(), 1u);
    EXPECT_EQ(w.window.messages[0], "Le lecteur 'e:' ne peut pas \u00eatre ouvert.");
}

// ---- Languages ------------------------------------------------------------------

TEST(Form1Logic, TheStoredLanguageSetsCaptionsAndToolTips) {
    struct Case {
        int line;            // where the case is written, for the failure to name
        const char* stored;  // nullptr: nothing stored
        const char* wantRun;
        const char* wantTitle;
        const char* wantRunTip;
    };
    const Case cases[] = {
        {__LINE__, nullptr, "Run !", "Fortran to VB Converter", "Execute the Conversion"},
        {__LINE__, "0", "Run !", "Fortran to VB Converter", "Execute the Conversion"},
        {__LINE__, "1", "Valid !", "Convertisseur Fortran / VB", "Ex\u00e9cuter la Conversion"},
        // Anything but "1", as a hand edit of the settings may leave, is
        // English, for the messages too.
        {__LINE__, "2", "Run !", "Fortran to VB Converter", "Execute the Conversion"},
        {__LINE__, " 1", "Run !", "Fortran to VB Converter", "Execute the Conversion"},
        {__LINE__, "", "Run !", "Fortran to VB Converter", "Execute the Conversion"},
        {__LINE__, "fr", "Run !", "Fortran to VB Converter", "Execute the Conversion"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        Window w;
        if (c.stored) w.settings.write(kLanguageSection, kLanguageKey, c.stored);
        w.logic.Form_Load();
        w.logic.Form_Activate();
        const std::string label = c.stored ? c.stored : "absent";
        const auto run = w.window.captions.find(Control::Command3);
        const auto tip = w.window.tips.find(Control::Command3);
        EXPECT_EQ(run == w.window.captions.end() ? "<built-in>" : run->second, c.wantRun) << label;
        EXPECT_EQ(w.window.captions[Control::Form1], c.wantTitle) << label;
        EXPECT_EQ(tip == w.window.tips.end() ? "<none>" : tip->second, c.wantRunTip) << label;
        if (run != w.window.captions.end()) {
            EXPECT_EQ(w.window.captions.size(), kCaptionTable.size()) << label;
            EXPECT_EQ(w.window.tips.size(), kToolTipTable.size()) << label;
        }
    }
}

TEST(Form1Logic, AFlagClickStoresTheLanguageAndAppliesItAtOnce) {
    Window w;
    w.logic.Form_Load();
    w.logic.Form_Activate();
    w.logic.ln_Click(1);
    EXPECT_EQ(w.settings.at("langue", "langue"), "1");
    EXPECT_EQ(w.window.captions[Control::Label1_1], "Fichiers \u00e0 convertir :");
    EXPECT_EQ(w.window.tips[Control::f1], "Liste des fichiers Fortran");
    EXPECT_EQ(w.window.captions[Control::Command7], "Ok");
    w.logic.ln_Click(0);
    EXPECT_EQ(w.settings.at("langue", "langue"), "0");
    EXPECT_EQ(w.window.captions[Control::Label1_1], "Files to be converted :");
    EXPECT_EQ(w.window.tips[Control::f1], "See the list of the Fortran files");
}

// ---- Runs of the engine -------------------------------------------------------------

// A folder of its own for each run test, made the current folder (the
// window's folder is the process's) and left again afterwards.
class Run : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        write("main.for", "      program main\n      x = 1\n      end\n");
        write("second.for", "c a comment\n      y = 2\n");
        w.window.folders[folder_] = {"main.for", "second.for"};
        w.settings.write(kAccessSection, kFolderKey, folder_);
        w.logic.Form_Load();
        w.logic.Command5_Click();
        w.window.texts[Box::b] = "out.bas";
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    void write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ + "/" + name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) {
        std::ifstream in(folder_ + "/" + name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return in ? text.str() : "<missing>";
    }
    // What the engine writes for these files on its own.
    std::string expected(const Names& files) {
        RunObserver quiet;
        Names absolute;
        for (const std::string& name : files) absolute.push_back(folder_ + "/" + name);
        EXPECT_TRUE(runConversion(folder_ + "/expected.bas", NameList(absolute), quiet).moduleWritten);
        const std::string text = read("expected.bas");
        std::filesystem::remove(folder_ + "/expected.bas");
        return text;
    }
    std::vector<std::string> leftovers() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            if (entry.path().filename().string()[0] == '.') names.push_back(entry.path().filename().string());
        }
        return names;
    }

    const ftvb::testing::TempFolder temp_{"ftvb-ui-run"};
    const std::string folder_ = temp_.string();
    std::filesystem::path previous_;
    Window w;
};

TEST_F(Run, WritesTheModuleShowsTheCountAndEndsWithTheEndMessage) {
    std::string countAtMessage;
    bool boxesShownAtMessage = false;
    w.window.onMessage = [&] {
        countAtMessage = w.window.texts[Box::ccpt];
        boxesShownAtMessage = w.window.visible[Box::tt] && w.window.visible[Box::ccpt];
    };
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.bas"), expected({"main.for", "second.for"}));
    ASSERT_EQ(w.window.messages.size(), 1u);
    EXPECT_EQ(w.window.messages[0], "End of Conversion");
    EXPECT_EQ(w.window.messageKinds[0], MessageKind::information);
    EXPECT_EQ(countAtMessage, "5 lines");
    EXPECT_TRUE(boxesShownAtMessage);
    EXPECT_FALSE(w.window.visible[Box::tt]);
    EXPECT_FALSE(w.window.visible[Box::ccpt]);
    EXPECT_EQ(w.window.texts[Box::tt], "");
    EXPECT_EQ((std::vector<bool>{true, false}), w.window.busyChanges);
    EXPECT_GE(w.window.yields, 5);
}

// A run whose module needs a person somewhere writes the list beside the
// module and says how many places; a run with none removes the list an
// earlier run left, and never a file the program did not write.
TEST_F(Run, TheListOfPlacesToLookAtGoesBesideTheModule) {
    write("second.for", "      read(5,*) y\n  100 format(i5)\n");
    w.logic.Command3_Click();
    ASSERT_EQ(w.window.messages.size(), 1u);
    EXPECT_EQ(w.window.messages[0], "End of Conversion\n2 places of the module need a look: see out.review.txt");
    const std::string list = read("out.review.txt");
    EXPECT_NE(list.find("second.for:1: note: READ statement passed through unchanged"), std::string::npos) << list;
    EXPECT_NE(list.find("[format] (out.bas:"), std::string::npos) << list;
    EXPECT_TRUE(list.ends_with("review: 1 format, 1 io-unchanged\n")) << list;

    w.settings.write(kLanguageSection, kLanguageKey, "1");
    write("second.for", "      read(5,*) y\n");
    w.window.messages.clear();
    w.logic.Command3_Click();
    EXPECT_EQ(w.window.messages[0],
              "Fin de la conversion\n1 endroit du module est \u00e0 revoir : voir out.review.txt");

    write("second.for", "      y = 2\n");
    w.window.messages.clear();
    w.logic.Command3_Click();
    EXPECT_EQ(w.window.messages[0], "Fin de la conversion");
    EXPECT_EQ(read("out.review.txt"), "<missing>");
}

// "*" comments, DO bounds with commas in parentheses, the report's name and
// stepped loops come out of the window as out of the engine, and a "*"
// comment is no place to look at.
TEST_F(Run, TheWindowWritesCommentsLoopsAndTheReportAsTheEngineDoes) {
    write("main.for",
          "*     smoothing\n      do 10 i = max(1,j-k), n\n   10 continue\n      do i=1,10,2\n      end do\n"
          "      write(6,*) x\n");
    w.logic.Command3_Click();
    const std::string module = read("out.bas");
    EXPECT_EQ(module, expected({"main.for", "second.for"}));
    std::string comment = "'     smoothing";
    comment.resize(72, ' ');
    EXPECT_EQ(module.rfind("'       \r\n" + comment +
                               "\r\nfor i=max(1,j-k)  to  n\r\nL10:\r\nnext i\r\nstepi=2\r\ni=1-stepi\r\n"
                               "do while i+stepi<=10\r\ni=i+stepi\r\nloop\r\nopen \"report.txt\" for append as #1\r\n"
                               "write#1, x\r\n",
                           0),
              0u)
        << module;
    ASSERT_EQ(w.window.messages.size(), 1u);
    EXPECT_EQ(w.window.messages[0], "End of Conversion");
}

TEST_F(Run, AFileInTheListsPlaceThatIsNotOneIsLeftAlone) {
    write("notes.review.txt", "my own notes\n");
    write("second.for", "      pause\n");
    w.window.texts[Box::b] = "notes";  // a module without an extension
    w.logic.Command3_Click();
    ASSERT_EQ(w.window.messages.size(), 1u);
    EXPECT_EQ(w.window.messages[0], "End of Conversion\nThe list of places to look at could not be written to '" +
                                        (std::filesystem::path(folder_) / "notes.review.txt").string() +
                                        "': a file of that name, which this program did not write, is in the way");
    EXPECT_EQ(read("notes.review.txt"), "my own notes\n");

    write("second.for", "      y = 2\n");
    w.logic.Command3_Click();
    EXPECT_EQ(read("notes.review.txt"), "my own notes\n");
}

// The list's place is a listed source (a list an earlier run left, picked
// with the sources): the source is never written, nor removed.
TEST_F(Run, AListThatIsASourceIsLeftAlone) {
    const std::string earlier = "second.for:1: note: PAUSE passed through [pause] (out.bas:3)\nreview: 1 pause\n";
    write("out.review.txt", earlier);
    write("second.for", "      pause\n");
    w.window.listAdd(List::f2, "out.review.txt");
    w.logic.Command3_Click();
    ASSERT_EQ(w.window.messages.size(), 1u);
    EXPECT_NE(w.window.messages[0].find("could not be written"), std::string::npos) << w.window.messages[0];
    EXPECT_EQ(read("out.review.txt"), earlier);

    write("second.for", "      y = 2\n");
    w.window.messages.clear();
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.review.txt"), earlier);
}

TEST_F(Run, TheEndMessageSpeaksTheStoredLanguage) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* stored;
        const char* want;
    };
    for (const Case& c : {Case{__LINE__, "0", "End of Conversion"}, Case{__LINE__, "1", "Fin de la conversion"},
                          Case{__LINE__, "2", "End of Conversion"}, Case{__LINE__, "", "End of Conversion"}}) {
        SCOPED_TRACE(caseLine(c));
        w.settings.write(kLanguageSection, kLanguageKey, c.stored);
        w.window.messages.clear();
        w.logic.Command3_Click();
        ASSERT_EQ(w.window.messages.size(), 1u) << c.stored;
        EXPECT_EQ(w.window.messages[0], c.want) << c.stored;
    }
}

TEST_F(Run, FailuresAreReportedNamingTheFileAndTheReason) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        const char* language;
        const char* module;
        bool secondGone;
        const char* want;
    };
    const Case cases[] = {
        {__LINE__, "a module in a missing folder", "0", "nowhere/out.bas", false,
         "The module 'nowhere/out.bas' could not be written: No such file or directory"},
        {__LINE__, "the module is a source", "0", "main.for", false,
         "The module 'main.for' could not be written: it is also listed as a source ('main.for')"},
        {__LINE__, "the module is a source, in French", "1", "main.for", false,
         "Le module 'main.for' n'a pas pu \u00eatre \u00e9crit : il est aussi dans la liste des fichiers "
         "\u00e0 convertir ('main.for')"},
        {__LINE__, "a source that is gone", "0", "out.bas", true,
         "End of Conversion\n\nThese files could not be read and were left out:\n"
         "second.for: No such file or directory"},
        {__LINE__, "a source that is gone, in French", "1", "out.bas", true,
         "Fin de la conversion\n\nCes fichiers n'ont pas pu \u00eatre lus et ont \u00e9t\u00e9 laiss\u00e9s de "
         "c\u00f4t\u00e9 :\nsecond.for : fichier ou dossier introuvable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        write("second.for", "      y = 2\n");
        if (c.secondGone) std::filesystem::remove(folder_ + "/second.for");
        w.settings.write(kLanguageSection, kLanguageKey, c.language);
        w.window.texts[Box::b] = c.module;
        w.window.messages.clear();
        w.window.messageKinds.clear();
        w.logic.Command3_Click();
        ASSERT_EQ(w.window.messages.size(), 1u) << c.what;
        EXPECT_EQ(w.window.messages[0], c.want) << c.what;
        EXPECT_EQ(w.window.messageKinds[0], MessageKind::warning) << c.what;
        EXPECT_FALSE(w.logic.running()) << c.what;
    }
}

TEST_F(Run, AListOfUnreadableFilesLeavesTheModuleAsItWas) {
    write("out.bas", "finished by hand\r\n");
    w.window.lists[1] = {"gone.for"};
    w.settings.write(kLanguageSection, kLanguageKey, "1");
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.bas"), "finished by hand\r\n");
    ASSERT_EQ(w.window.messages.size(), 1u);
    EXPECT_EQ(w.window.messages[0],
              "Aucun fichier n'a pu \u00eatre lu ; le module 'out.bas' est rest\u00e9 tel quel.\n\n"
              "Ces fichiers n'ont pas pu \u00eatre lus et ont \u00e9t\u00e9 laiss\u00e9s de c\u00f4t\u00e9 :\n"
              "gone.for : fichier ou dossier introuvable");
    EXPECT_TRUE(leftovers().empty());
}

// A long list of files left out: the message names the first ten and says
// where the whole list is; a run that needs no such list removes the one
// an earlier run left, and a file of that name the program did not write
// stays as it is.
TEST_F(Run, ALongListOfFilesLeftOutGoesBesideTheModule) {
    Names listed = {"main.for"};
    for (int i = 0; i < 300; ++i) listed.push_back("gone" + std::to_string(100 + i) + ".for");
    w.window.lists[1] = listed;
    w.logic.Command3_Click();
    ASSERT_EQ(w.window.messages.size(), 1u);
    const std::string& text = w.window.messages[0];
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 13) << text;
    EXPECT_TRUE(
        text.starts_with("End of Conversion\n\nThese files could not be read and were left out:\n"
                         "gone100.for: No such file or directory\n"))
        << text;
    EXPECT_TRUE(
        text.ends_with("\ngone109.for: No such file or directory\n... and 290 more, all listed in "
                       "out.unread.txt"))
        << text;
    const std::string list = read("out.unread.txt");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 301) << list;
    EXPECT_TRUE(list.ends_with("\ngone399.for: No such file or directory\n")) << list;
    EXPECT_TRUE(leftovers().empty());

    // In French, the list is French too.
    w.settings.write(kLanguageSection, kLanguageKey, "1");
    w.window.messages.clear();
    w.logic.Command3_Click();
    EXPECT_TRUE(w.window.messages[0].ends_with("... et 290 autres, tous list\u00e9s dans out.unread.txt"));
    EXPECT_TRUE(read("out.unread.txt").starts_with("Ces fichiers n'ont pas pu"));

    w.window.lists[1] = {"main.for", "gone.for"};
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.unread.txt"), "<missing>");

    write("out.unread.txt", "my own notes\n");
    w.window.lists[1] = listed;
    w.window.messages.clear();
    w.logic.Command3_Click();
    EXPECT_TRUE(w.window.messages[0].ends_with("\n... et 290 autres")) << w.window.messages[0];
    EXPECT_EQ(read("out.unread.txt"), "my own notes\n");
    w.window.lists[1] = {"main.for"};
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.unread.txt"), "my own notes\n");
}

TEST_F(Run, APressDuringARunIsIgnored) {
    int presses = 0;
    w.window.onYield = [&] {
        if (presses++ == 0) w.logic.Command3_Click();
    };
    w.logic.Command3_Click();
    EXPECT_EQ(w.window.messages.size(), 1u);
    EXPECT_EQ(read("out.bas"), expected({"main.for", "second.for"}));
}

TEST_F(Run, ExitDuringARunStopsItLeavesTheOldModuleAndEnds) {
    write("out.bas", "old module\r\n");
    w.window.onYield = [&] {
        if (w.logic.running()) w.logic.Command4_Click();
    };
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.bas"), "old module\r\n");
    EXPECT_TRUE(leftovers().empty()) << leftovers()[0];
    EXPECT_TRUE(w.window.messages.empty());
    EXPECT_EQ(w.window.quits, 1);
    EXPECT_EQ(w.settings.at("access", "f0"), "out.bas");
    EXPECT_EQ(w.settings.at("access", "d0"), folder_);
    EXPECT_FALSE(w.window.visible[Box::tt]);
}

TEST_F(Run, ClosingTheWindowDuringARunStopsItWithoutSavingOrEnding) {
    write("out.bas", "old module\r\n");
    w.window.onYield = [&] { w.logic.Form_Unload(); };
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.bas"), "old module\r\n");
    EXPECT_TRUE(w.window.messages.empty());
    EXPECT_EQ(w.window.quits, 0);
    EXPECT_EQ(w.settings.at("access", "f0"), "<absent>");
}

// The lists may change during the run's yields; they count for the next
// run. A long first file and a press of a button while it is converted:
TEST_F(Run, ConvertsTheFilesListedWhenRunWasPressedInThatOrder) {
    std::filesystem::create_directory(folder_ + "/elsewhere");
    write("elsewhere/second.for", "      z = 9\n");
    w.window.folders[folder_ + "/elsewhere"] = {"second.for"};
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        std::function<void(Window&)> change;
    };
    const Case cases[] = {
        {__LINE__, "<<< Remove All", [](Window& w) { w.logic.Command6_Click(); }},
        {__LINE__, "< Remove of the second file",
         [](Window& w) {
             w.window.selected[1] = 1;
             w.logic.Command2_Click();
         }},
        {__LINE__, "< Remove of the first file",
         [](Window& w) {
             w.window.selected[1] = 0;
             w.logic.Command2_Click();
         }},
        {__LINE__, "the files listed again in another order",
         [](Window& w) {
             w.logic.Command6_Click();
             w.window.lists[1] = {"second.for", "main.for"};
         }},
        // A new current folder, whose own second.for must not be taken.
        {__LINE__, "another folder",
         [this](Window& w) {
             std::filesystem::current_path(folder_ + "/elsewhere");
             w.window.dir = folder_ + "/elsewhere";
             w.logic.Dir1_Change();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        std::filesystem::current_path(folder_);
        w.window.lists[1] = {"main.for", "second.for"};
        w.window.messages.clear();
        bool changed = false;
        w.window.onYield = [&] {
            if (!changed && w.logic.running()) c.change(w);
            changed = true;
        };
        w.logic.Command3_Click();
        std::filesystem::current_path(folder_);
        EXPECT_EQ(read("out.bas"), expected({"main.for", "second.for"})) << c.what;
        ASSERT_EQ(w.window.messages.size(), 1u) << c.what;
        EXPECT_EQ(w.window.messages[0], "End of Conversion") << c.what;
    }
}

// Names are UTF-8 on every platform, also once the run takes them in the
// folder of its start ("\u0101" has a byte that Windows-1252 lacks).
TEST_F(Run, NamesBeyondAsciiKeepTheirBytesWhenTheFolderChanges) {
    const std::filesystem::path folder(folder_);
    std::ofstream(folder / std::filesystem::path(u8"\u0101.for"), std::ios::binary) << "      x = 1\n";
    std::filesystem::create_directory(folder / "elsewhere");
    w.window.lists[1] = {"\xC4\x81.for", "second.for"};
    w.window.texts[Box::b] = "\xC4\x81.bas";
    bool moved = false;
    w.window.onYield = [&] {
        if (!moved) std::filesystem::current_path(folder / "elsewhere");
        moved = true;
    };
    w.logic.Command3_Click();
    std::filesystem::current_path(folder);
    ASSERT_EQ(w.window.messages.size(), 1u);
    EXPECT_EQ(w.window.messages[0], "End of Conversion");
    EXPECT_TRUE(std::filesystem::exists(folder / std::filesystem::path(u8"\u0101.bas")));
}

TEST_F(Run, ADashIsAFileNotStandardInputOrOutput) {
    write("-", "      z = 3\n");
    w.window.lists[1] = {"-", "-"};
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.bas"), expected({"./-", "./-"}));

    w.window.lists[1] = {"main.for"};
    w.window.texts[Box::b] = "-";
    w.logic.Command3_Click();
    EXPECT_EQ(read("-"), expected({"main.for"}));
    EXPECT_EQ(w.window.messages.back(), "End of Conversion");
}

// ---- Finish for VBA ---------------------------------------------------------------

TEST(Form1Logic, TheFinishBoxFollowsTheLanguage) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* stored;
        const char* want;
    };
    for (const Case& c : {Case{__LINE__, "0", "Finish for VBA"}, Case{__LINE__, "1", "Finir pour VBA"},
                          Case{__LINE__, "7", "Finish for VBA"}}) {
        SCOPED_TRACE(caseLine(c));
        Window w;
        w.settings.write(kLanguageSection, kLanguageKey, c.stored);
        w.logic.Form_Load();
        w.logic.Form_Activate();
        EXPECT_EQ(w.window.captions[Control::Check1], c.want) << c.stored;
        EXPECT_NE(w.window.tips[Control::Check1], "") << c.stored;
    }
    Window w;
    w.logic.Form_Load();
    w.logic.ln_Click(1);
    EXPECT_EQ(w.window.captions[Control::Check1], "Finir pour VBA");
    w.logic.ln_Click(0);
    EXPECT_EQ(w.window.captions[Control::Check1], "Finish for VBA");
}

// Only "1" checks the box: nothing stored, or a value edited by hand,
// leaves it as it was before the setting existed.
TEST(Form1Logic, TheFinishBoxIsRestoredAtStartUpAndSavedByExit) {
    struct Case {
        int line;            // where the case is written, for the failure to name
        const char* stored;  // nullptr: no such key
        bool wantChecked;
    };
    for (const Case& c : {Case{__LINE__, nullptr, false}, Case{__LINE__, "1", true}, Case{__LINE__, "0", false},
                          Case{__LINE__, "yes", false}, Case{__LINE__, "", false}, Case{__LINE__, " 1", false}}) {
        SCOPED_TRACE(caseLine(c));
        const std::string label = c.stored ? std::string("'") + c.stored + "'" : "absent";
        Window w;
        w.window.finish = !c.wantChecked;  // whatever the binding started with
        if (c.stored) w.settings.write(kAccessSection, kFinishKey, c.stored);
        w.logic.Form_Load();
        EXPECT_EQ(w.window.finish, c.wantChecked) << label;
        w.logic.Command4_Click();
        EXPECT_EQ(w.settings.at("access", "finish"), c.wantChecked ? "1" : "0") << label;
    }

    // A click, Exit, and the next start shows the box as it was left; the
    // other keys are as they always were.
    Window first;
    first.logic.Form_Load();
    first.window.finish = true;
    first.logic.Command4_Click();
    EXPECT_EQ(first.settings.at("access", "finish"), "1");
    EXPECT_EQ(first.settings.at("access", "f0"), "module1.bas");
    EXPECT_EQ(first.settings.values.size(), 5u);
    Window next;
    next.settings = first.settings;
    next.logic.Form_Load();
    EXPECT_TRUE(next.window.finish);
    next.window.finish = false;
    next.logic.Command4_Click();
    EXPECT_EQ(next.settings.at("access", "finish"), "0");
}

// Closing the window by its frame saves nothing, the box's state included.
TEST(Form1Logic, ClosingTheWindowDoesNotSaveTheFinishBox) {
    Window w;
    w.logic.Form_Load();
    w.window.finish = true;
    w.logic.Form_Unload();
    w.logic.endProgram();
    EXPECT_EQ(w.settings.at("access", "finish"), "<absent>");
}

TEST_F(Run, TheFinishBoxChoosesTheFinisherAndUncheckedIsTheDefaultModule) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        bool checked;
        const char* language;
        const char* wantMessage;
    };
    // A second file without PROGRAM would be a second main program.
    write("second.for", "c a comment\n      subroutine s(y)\n      y = 2\n      end\n");
    for (const Case& c :
         {Case{__LINE__, false, "0", "End of Conversion"}, Case{__LINE__, true, "0", "End of Conversion"},
          Case{__LINE__, true, "1", "Fin de la conversion"}, Case{__LINE__, false, "1", "Fin de la conversion"}}) {
        SCOPED_TRACE(caseLine(c));
        const std::string label = std::string(c.checked ? "checked" : "unchecked") + " language " + c.language;
        std::filesystem::remove(folder_ + "/out.bas");
        w.settings.write(kLanguageSection, kLanguageKey, c.language);
        w.window.finish = c.checked;
        w.window.messages.clear();
        w.logic.Command3_Click();
        const std::string module = read("out.bas");
        if (c.checked) {
            EXPECT_EQ(module.rfind("Attribute VB_Name = \"out\"", 0), 0u) << label << "\n" << module;
            EXPECT_NE(module.find("Option Explicit"), std::string::npos) << label;
            EXPECT_EQ(read("out_2.bas"), "<missing>") << label;
        } else {
            EXPECT_EQ(module, expected({"main.for", "second.for"})) << label;
        }
        ASSERT_EQ(w.window.messages.size(), 1u) << label;
        EXPECT_EQ(w.window.messages[0], c.wantMessage) << label;
        EXPECT_EQ(w.window.messageKinds[0], MessageKind::information) << label;
        EXPECT_TRUE(leftovers().empty()) << label;
    }
}

// A click on the box during a run counts for the next run, not this one.
TEST_F(Run, TheFinishBoxIsReadWhenRunIsPressed) {
    w.window.onYield = [&] { w.window.finish = true; };
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.bas"), expected({"main.for", "second.for"}));
    w.window.onYield = nullptr;
    EXPECT_TRUE(w.window.finish);
    w.logic.Command3_Click();
    EXPECT_EQ(read("out.bas").rfind("Attribute VB_Name", 0), 0u);
}

// More than one VBA module holds: the end message names every module file
// the run wrote, in order, in the window's language.
TEST_F(Run, AFinishedRunThatSplitsNamesEveryModuleItWrote) {
    std::string big;
    for (int p = 0; p < 700; ++p) {
        big += "      subroutine s" + std::to_string(p) + "(x)\n";
        for (int i = 0; i < 100; ++i) big += "      x = x + 1\n";
        big += "      end\n";
    }
    write("second.for", big);
    for (const char* language : {"0", "1"}) {
        w.settings.write(kLanguageSection, kLanguageKey, language);
        w.window.finish = true;
        w.window.messages.clear();
        w.logic.Command3_Click();
        ASSERT_EQ(read("out.bas").rfind("Attribute VB_Name = \"out\"", 0), 0u) << language;
        ASSERT_EQ(read("out_2.bas").rfind("Attribute VB_Name = \"out_2\"", 0), 0u) << language;
        EXPECT_EQ(read("out_3.bas"), "<missing>") << language;
        ASSERT_EQ(w.window.messages.size(), 1u) << language;
        EXPECT_EQ(w.window.messages[0], std::string(language) == "1"
                                            ? "Fin de la conversion\nLes modules \u00e9crits : out.bas, out_2.bas"
                                            : "End of Conversion\nThe modules written: out.bas, out_2.bas")
            << language;
    }
}

// ---- Texts --------------------------------------------------------------------

TEST(Texts, StatementBytesAreShownAsWindows1252) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        std::string bytes;
        std::string want;
    };
    const Case cases[] = {
        {__LINE__, "x = 1", "x = 1"},
        {__LINE__, "\xE0 \xA3", "\u00e0 \u00a3"},
        {__LINE__, "\x80\x99\x9F", "\u20ac\u2122\u0178"},
        {__LINE__, "\x81\x8D\x8F\x90\x9D", "\u0081\u008d\u008f\u0090\u009d"},
        {__LINE__, std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(cp1252ToUtf8(c.bytes), c.want) << c.bytes;
    }
}

// Names written by older systems in Latin-1 or Windows-1252 are shown as
// they meant them; anything that is UTF-8 is shown as it is.
TEST(Texts, FileNamesAreShownAsUtf8ElseAsWindows1252) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {__LINE__, "main.for", "main.for"},
        {__LINE__, "r\xC3\xA9sum\xC3\xA9.for", "r\u00e9sum\u00e9.for"},
        {__LINE__, "r\xE9sum\xE9.for", "r\u00e9sum\u00e9.for"},
        {__LINE__, "\x80uro.for", "\u20acuro.for"},
        {__LINE__, "cut\xC3", "cut\u00c3"},                          // a sequence cut short
        {__LINE__, "\xC0\xAF.for", "\u00c0\u00af.for"},              // an overlong "/"
        {__LINE__, "\xED\xA0\x80", "\u00ed\u00a0\u20ac"},            // a surrogate
        {__LINE__, "\xF4\x90\x80\x80", "\u00f4\u0090\u20ac\u20ac"},  // beyond Unicode
        {__LINE__, "\xF0\x9F\x98\x80.for", "\U0001F600.for"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(fileNameForDisplay(c.name), c.shown) << c.name;
    }
}

TEST(Texts, TheAboutBoxOpensTheManualThatIsThere) {
    const ManualPlaces places{"file:///usr/share/doc/ftvb/manual.html", "/build/doc/manual.html", "/src/README.md"};
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        ManualPlaces places;
        std::vector<std::string> existing;
        const char* want;
    };
    const Case cases[] = {
        {__LINE__,
         "installed",
         places,
         {"/usr/share/doc/ftvb/manual.html", "/build/doc/manual.html"},
         "file:///usr/share/doc/ftvb/manual.html"},
        {__LINE__,
         "not installed: the build's copy",
         places,
         {"/build/doc/manual.html", "/src/README.md"},
         "file:///build/doc/manual.html"},
        {__LINE__, "not built either: the README", places, {"/src/README.md"}, "file:///src/README.md"},
        {__LINE__, "nothing there: still the README", places, {}, "file:///src/README.md"},
        {__LINE__,
         "an address that is not a file is opened as it is",
         {"https://example.net/manual", "/build/doc/manual.html", "/src/README.md"},
         {},
         "https://example.net/manual"},
        {__LINE__,
         "no address",
         {"", "/build/doc/manual.html", "/src/README.md"},
         {"/build/doc/manual.html"},
         "file:///build/doc/manual.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        auto exists = [&](const std::string& path) {
            return std::find(c.existing.begin(), c.existing.end(), path) != c.existing.end();
        };
        EXPECT_EQ(manualAddress(c.places, exists), c.want) << c.what;
    }
}

TEST(Texts, FillDoesNotExpandItsValues) {
    EXPECT_EQ(fill("'%1': %2", "a%2b", "why"), "'a%2b': why");
    EXPECT_EQ(fill("100% sure %1", "x"), "100% sure x");
}

}  // namespace
}  // namespace ftvb::ui
