// The Win32 window under Wine, driven by messages as the Qt tests drive
// theirs: start-up from the registry, folders, drives, the four moves, a
// run and its message, the languages, the About box, Exit, and the ways a
// window ends during a run.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "engine/run.h"
#include "tests/support/case_line.h"
#include "ui/captions.h"
#include "ui/win32/about_box.h"
#include "ui/win32/controls.h"
#include "ui/win32/dpi.h"
#include "ui/win32/form1.h"
#include "ui/win32/hidden_file_list.h"
#include "ui/win32/registry_settings_store.h"
#include "ui/win32/wide.h"

namespace ftvb::ui::win32 {
namespace {

using ftvb::testing::caseLine;

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const wchar_t* const kProgramKey = L"Software\\VB and VBA Program Settings\\MIRADOR_FTVB";

std::wstring windowText(HWND window) {
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

std::string utf8Text(HWND window) { return narrow(windowText(window)); }

// Lets the window handle what is waiting for it, as the program's own loop
// would.
void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));
            return;
        }
        Form1::dispatch(message);
    }
}

bool quitPosted() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// What a message box of this thread said, caught and closed by a timer
// while the window waits for it.
struct Caught {
    std::string text;
    std::string count;
    bool boxesShown = false;
    int boxes = 0;
    RECT box{};                        // where the message box stood
    std::vector<std::wstring> folder;  // the names in catchingFolder meanwhile
};
Caught* catching = nullptr;
HWND catchingFrom = nullptr;
fs::path catchingFolder;

void CALLBACK catchMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND box, LPARAM) -> BOOL {
            wchar_t name[16];
            GetClassNameW(box, name, 16);
            if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(box)) return TRUE;
            // The text of a message box is its static control 0xFFFF.
            catching->text = utf8Text(GetDlgItem(box, 0xFFFF));
            HWND ccpt = GetDlgItem(catchingFrom, idCcpt);
            catching->count = utf8Text(ccpt);
            catching->boxesShown = IsWindowVisible(ccpt) && IsWindowVisible(GetDlgItem(catchingFrom, idTt));
            GetWindowRect(box, &catching->box);
            catching->folder.clear();
            std::error_code ignored;
            if (!catchingFolder.empty()) {
                for (const auto& entry : fs::directory_iterator(catchingFolder, ignored))
                    catching->folder.push_back(entry.path().filename().wstring());
            }
            ++catching->boxes;
            SendMessageW(box, WM_COMMAND, IDOK, 0);
            return FALSE;
        },
        0);
}

// Where the About box's link would have gone.
std::vector<std::wstring> opened;
bool catchAddress(const std::wstring& address) {
    opened.push_back(address);
    return true;
}

class Win32Window : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t here[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, here);
        originalFolder_ = here;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int made = 0;
        // An accented folder: every name crosses from UTF-16 to UTF-8 and back.
        root_ = fs::path(temp) /
                (L"ftvb-win32 \u00e9-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made));
        sources_ = root_ / L"sources";
        fs::create_directories(sources_);
        const std::pair<const wchar_t*, const char*> files[] = {
            {L"a.for", "      program main\n      x = 1\n      end\n"},
            {L"B.FOR", "      subroutine s(y)\n      y = 2\n      end\n"},
            {L"r\u00e9sum\u00e9.for", "      z = 3\n"},
            {L"notes.txt", "not fortran\n"},
            {L".hidden.for", "      h = 4\n"},  // hidden, as Wine shows names with a dot first
        };
        for (const auto& [name, text] : files) writeFile(sources_ / name, text);
        fs::create_directory(sources_ / L"folder.for");
        // Enough neighbours for the folder selector to scroll.
        for (int i = 0; i < 40; ++i) fs::create_directory(root_ / (L"aa" + std::to_wstring(100 + i)));

        settingsKey_ = L"Software\\ftvb-tests\\" + root_.filename().wstring();
        settings_ = std::make_unique<RegistrySettingsStore>(settingsKey_);
        frmAbout::openAddress = catchAddress;
        opened.clear();
    }

    void TearDown() override {
        window_.reset();
        quitPosted();
        SetCurrentDirectoryW(originalFolder_.c_str());
        std::error_code ignored;
        fs::remove_all(root_, ignored);
        RegDeleteTreeW(HKEY_CURRENT_USER, settingsKey_.c_str());
    }

    void open() {
        window_ = std::make_unique<Form1>(*settings_);
        window_->load();
        window_->show();
        pump();
    }

    // Opens the window in the sources' folder, as the registry says.
    void openInSources() {
        settings_->write("access", "d0", narrow(sources_.wstring()));
        open();
    }

    HWND control(int id) const { return GetDlgItem(window_->handle(), id); }
    void click(int id) {
        SendMessageW(control(id), BM_CLICK, 0, 0);
        pump();
    }
    void clickPicture(int id) {
        SendMessageW(window_->handle(), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), LPARAM(control(id)));
        pump();
    }
    Names entries(int list) const {
        Names names;
        const int count = int(SendMessageW(control(list), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[MAX_PATH];
            SendMessageW(control(list), LB_GETTEXT, WPARAM(i), LPARAM(text));
            names.push_back(narrow(text));
        }
        return names;
    }
    std::wstring toolTip(HWND target) const {
        wchar_t text[512] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = window_->handle();
        tool.uId = UINT_PTR(target);
        tool.lpszText = text;
        SendMessageW(window_->toolTips(), TTM_GETTEXTW, 512, LPARAM(&tool));
        return text;
    }
    std::wstring itemText(HTREEITEM item) const {
        wchar_t text[MAX_PATH];
        TVITEMW state{};
        state.mask = TVIF_TEXT;
        state.hItem = item;
        state.pszText = text;
        state.cchTextMax = MAX_PATH;
        text[0] = L'\0';
        TreeView_GetItem(control(idDir1), &state);
        return text;
    }
    HTREEITEM treeChild(HTREEITEM parent, const std::wstring& name) const {
        HWND tree = control(idDir1);
        for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item)) {
            if (name == itemText(item)) return item;
        }
        return nullptr;
    }
    // The path of the folder the tree highlights, from its items' texts.
    std::wstring highlighted() const {
        HWND tree = control(idDir1);
        // The caret item is drawn highlighted only with its state.
        const HTREEITEM caret = TreeView_GetSelection(tree);
        if (caret == nullptr || (TreeView_GetItemState(tree, caret, TVIS_SELECTED) & TVIS_SELECTED) == 0) return {};
        std::wstring path;
        for (HTREEITEM item = caret; item != nullptr; item = TreeView_GetParent(tree, item)) {
            std::wstring name = itemText(item);
            if (!path.empty() && name.back() != L'\\') name += L'\\';
            path = name + path;
        }
        return path;
    }
    // A click on a folder of the tree, as the mouse gives it.
    void clickTreeItem(HTREEITEM item) {
        HWND tree = control(idDir1);
        RECT area{};
        std::memcpy(&area, &item, sizeof(item));  // TVM_GETITEMRECT takes the item in the rectangle
        SendMessageW(tree, TVM_GETITEMRECT, TRUE, LPARAM(&area));
        const LPARAM point = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
        PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(tree, WM_LBUTTONUP, 0, point);
        pump();
        pump();
    }
    // A click on the button that opens or closes a folder of the tree.
    void clickTreeButton(HTREEITEM item) {
        HWND tree = control(idDir1);
        TreeView_EnsureVisible(tree, item);
        RECT text{};
        std::memcpy(&text, &item, sizeof(item));
        SendMessageW(tree, TVM_GETITEMRECT, TRUE, LPARAM(&text));
        const int y = (text.top + text.bottom) / 2;
        for (int x = text.left - 1; x >= 0; --x) {
            TVHITTESTINFO hit{};
            hit.pt = {x, y};
            if (TreeView_HitTest(tree, &hit) == item && (hit.flags & TVHT_ONITEMBUTTON) != 0) {
                PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
                PostMessageW(tree, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
                pump();
                pump();
                return;
            }
        }
        ADD_FAILURE() << "no button beside the folder";
    }
    Caught pressAndCatch(int id) {
        Caught caught;
        catching = &caught;
        catchingFrom = window_->handle();
        const UINT_PTR timer = SetTimer(nullptr, 0, 5, catchMessageBox);
        SendMessageW(control(id), BM_CLICK, 0, 0);
        KillTimer(nullptr, timer);
        catching = nullptr;
        pump();
        return caught;
    }
    std::string registryValue(const std::wstring& key, const wchar_t* name) const {
        wchar_t value[512];
        DWORD bytes = sizeof(value);
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
            ERROR_SUCCESS) {
            return "<absent>";
        }
        return narrow(value);
    }

    std::wstring originalFolder_;
    fs::path root_;
    fs::path sources_;
    std::wstring settingsKey_;
    std::unique_ptr<RegistrySettingsStore> settings_;
    std::unique_ptr<Form1> window_;
};

const Names kSources = {"a.for", "B.FOR", "r\xC3\xA9sum\xC3\xA9.for"};

TEST_F(Win32Window, StartsFromTheRegistryWithItsDriveFolderPatternAndModule) {
    settings_->write("access", "u0", narrow(sources_.wstring().substr(0, 1)));
    settings_->write("access", "p0", "*.FOR;*.txt");
    settings_->write("access", "f0", "solver.bas");
    openInSources();

    EXPECT_EQ(windowText(control(idDrive1)), sources_.wstring().substr(0, 2));
    EXPECT_EQ(utf8Text(control(idExt)), "*.FOR;*.txt");
    EXPECT_EQ(utf8Text(control(idB)), "solver.bas");
    EXPECT_EQ(window_->logic().language(), "0");
    EXPECT_EQ(utf8Text(window_->handle()), "Fortran to VB Converter");
    // Sorted without regard to case; no hidden file, no folder.
    EXPECT_EQ(entries(idF1), (Names{"a.for", "B.FOR", "notes.txt", "r\xC3\xA9sum\xC3\xA9.for"}));
    EXPECT_EQ(entries(idF2), Names{});
    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    EXPECT_EQ(fs::path(here), sources_);
    EXPECT_FALSE(IsWindowVisible(control(idTt)));
    EXPECT_FALSE(IsWindowVisible(control(idCcpt)));
}

TEST_F(Win32Window, AnEmptyRegistryGivesTheDefaultsAtTheRootOfTheDrive) {
    SetCurrentDirectoryW(sources_.c_str());
    open();
    EXPECT_EQ(utf8Text(control(idExt)), "*.for");
    EXPECT_EQ(utf8Text(control(idB)), "module1.bas");
    EXPECT_EQ(window_->File1().folder(), sources_.wstring().substr(0, 3));
    EXPECT_EQ(windowText(control(idCommand3)), L"Run !");
    EXPECT_EQ(toolTip(control(idCommand3)), L"Execute the Conversion");
}

TEST_F(Win32Window, ASavedDriveAloneOpensItsRoot) {
    // Start on another drive than the one saved.
    const std::wstring saved = sources_.wstring().substr(0, 1);
    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    if (towupper(here[0]) == towupper(saved[0])) GTEST_SKIP() << "the tests run on the drive of the temporary folder";
    settings_->write("access", "u0", narrow(saved));
    open();
    EXPECT_EQ(windowText(control(idDrive1)), saved + L":");
    EXPECT_EQ(window_->File1().folder(), saved + L":\\");
    GetCurrentDirectoryW(MAX_PATH, here);
    EXPECT_EQ(std::wstring(here), saved + L":\\");
}

TEST_F(Win32Window, ChoosingAFolderFillsTheSourceListWithoutMovingTheTree) {
    settings_->write("access", "d0", narrow(root_.wstring()));
    open();
    EXPECT_EQ(entries(idF1), Names{});
    HWND tree = control(idDir1);
    // Scroll the tree so that the folder is at the bottom, as a user might
    // find it, then click it.
    HTREEITEM sources = treeChild(TreeView_GetSelection(tree), L"sources");
    ASSERT_NE(sources, nullptr);
    TreeView_EnsureVisible(tree, sources);
    const HTREEITEM firstShown = TreeView_GetFirstVisible(tree);
    clickTreeItem(sources);

    EXPECT_EQ(window_->File1().folder(), sources_.wstring());
    EXPECT_EQ(entries(idF1), kSources);
    EXPECT_EQ(TreeView_GetFirstVisible(tree), firstShown);

    // Back to the parent: both lists are refilled.
    click(idCommand5);
    EXPECT_EQ(entries(idF2), kSources);
    TreeView_EnsureVisible(tree, TreeView_GetParent(tree, sources));
    clickTreeItem(TreeView_GetParent(tree, sources));
    EXPECT_EQ(entries(idF1), Names{});
    EXPECT_EQ(entries(idF2), Names{});
}

// Closing the folder above the one in use moves the tree's highlight to
// it, and with it the folder in use; opening it again reads it again.
TEST_F(Win32Window, AFolderClosedAboveTheOneInUseBecomesItAndIsReadAgainWhenOpened) {
    openInSources();
    click(idCommand5);
    HWND tree = control(idDir1);
    const HTREEITEM parent = TreeView_GetParent(tree, TreeView_GetSelection(tree));
    ASSERT_NE(treeChild(parent, L"aa100"), nullptr);
    fs::create_directory(root_ / L"made later");
    fs::remove(root_ / L"aa100");

    clickTreeButton(parent);
    EXPECT_EQ(fs::path(highlighted()), root_);
    EXPECT_EQ(fs::path(window_->File1().folder()), root_);
    EXPECT_EQ(entries(idF1), Names{});
    EXPECT_EQ(entries(idF2), Names{});

    clickTreeButton(parent);
    EXPECT_NE(treeChild(parent, L"made later"), nullptr);
    EXPECT_EQ(treeChild(parent, L"aa100"), nullptr);
    EXPECT_NE(treeChild(parent, L"sources"), nullptr);
    EXPECT_EQ(fs::path(highlighted()), root_);

    // Closing and opening the folder in use itself changes nothing else.
    clickTreeButton(parent);
    EXPECT_EQ(fs::path(window_->File1().folder()), root_);
}

TEST_F(Win32Window, TheFourMovesAppendAtTheEnd) {
    openInSources();
    SendMessageW(control(idF1), LB_SETCURSEL, 1, 0);
    click(idCommand1);
    EXPECT_EQ(entries(idF1), (Names{"a.for", "r\xC3\xA9sum\xC3\xA9.for"}));
    EXPECT_EQ(entries(idF2), Names{"B.FOR"});
    EXPECT_EQ(SendMessageW(control(idF1), LB_GETCURSEL, 0, 0), LB_ERR);
    click(idCommand1);  // nothing selected: nothing moves
    EXPECT_EQ(entries(idF2), Names{"B.FOR"});

    click(idCommand5);
    EXPECT_EQ(entries(idF1), Names{});
    EXPECT_EQ(entries(idF2), (Names{"B.FOR", "a.for", "r\xC3\xA9sum\xC3\xA9.for"}));

    SendMessageW(control(idF2), LB_SETCURSEL, 0, 0);
    click(idCommand2);
    EXPECT_EQ(entries(idF1), Names{"B.FOR"});
    click(idCommand6);
    EXPECT_EQ(entries(idF1), (Names{"B.FOR", "a.for", "r\xC3\xA9sum\xC3\xA9.for"}));
    EXPECT_EQ(entries(idF2), Names{});

    // Enter in the pattern box applies it, as "Ok" does.
    click(idCommand5);
    SetFocus(control(idExt));
    SetWindowTextW(control(idExt), L"*.TXT");
    MSG enter{control(idExt), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    Form1::dispatch(enter);
    pump();
    EXPECT_EQ(entries(idF1), Names{"notes.txt"});
    EXPECT_EQ(entries(idF2), Names{});
}

TEST_F(Win32Window, ChangingDrivesKeepsEachDrivesFolder) {
    openInSources();
    const std::wstring home = sources_.wstring().substr(0, 2);
    HWND drives = control(idDrive1);
    const int count = int(SendMessageW(drives, CB_GETCOUNT, 0, 0));
    int other = -1;
    for (int i = 0; i < count && other < 0; ++i) {
        wchar_t text[16];
        SendMessageW(drives, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        if (home != text && GetDriveTypeW((std::wstring(text) + L"\\").c_str()) == DRIVE_FIXED) other = i;
    }
    if (other < 0) GTEST_SKIP() << "this Wine prefix has no second fixed drive to change to";
    auto choose = [&](int index) {
        SendMessageW(drives, CB_SETCURSEL, WPARAM(index), 0);
        SendMessageW(window_->handle(), WM_COMMAND, MAKEWPARAM(idDrive1, CBN_SELCHANGE), LPARAM(drives));
        pump();
    };
    choose(other);
    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    EXPECT_NE(std::wstring(here).substr(0, 2), home);
    EXPECT_EQ(window_->File1().folder(), std::wstring(here));
    // The folder in use is the one the tree highlights.
    EXPECT_EQ(highlighted(), std::wstring(here));
    EXPECT_EQ(entries(idF2), Names{});

    // Back on the first drive, its folder is the one left there.
    choose(int(SendMessageW(drives, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(home.c_str()))));
    GetCurrentDirectoryW(MAX_PATH, here);
    EXPECT_EQ(fs::path(here), sources_);
    EXPECT_EQ(entries(idF1), kSources);
    EXPECT_EQ(fs::path(highlighted()), sources_);
}

TEST_F(Win32Window, RunWritesTheModuleAndEndsWithTheEndMessage) {
    openInSources();
    click(idCommand5);
    SetWindowTextW(control(idB), L"r\u00e9sultat.bas");
    const Caught caught = pressAndCatch(idCommand3);
    EXPECT_EQ(caught.text, "End of Conversion");
    EXPECT_EQ(caught.count, "7 lines");
    EXPECT_TRUE(caught.boxesShown);
    EXPECT_FALSE(IsWindowVisible(control(idTt)));
    EXPECT_FALSE(IsWindowVisible(control(idCcpt)));
    EXPECT_EQ(entries(idF2), kSources);

    // The same module as the engine writes for the same files.
    RunObserver quiet;
    NameList files({narrow((sources_ / L"a.for").wstring()), narrow((sources_ / L"B.FOR").wstring()),
                    narrow((sources_ / L"r\u00e9sum\u00e9.for").wstring())});
    ASSERT_TRUE(runConversion(narrow((sources_ / L"direct.bas").wstring()), files, quiet).moduleWritten);
    const std::string module = fileBytes(sources_ / L"r\u00e9sultat.bas");
    EXPECT_EQ(module.substr(0, 21), "'       \r\nSub  main\r\n");
    EXPECT_EQ(module, fileBytes(sources_ / L"direct.bas"));
}

TEST_F(Win32Window, TheFlagsSwitchTheLanguage) {
    openInSources();
    clickPicture(idLn1);
    EXPECT_EQ(registryValue(settingsKey_ + L"\\langue", L"langue"), "1");
    for (const TextRow& row : kCaptionTable) {
        HWND target = row.control == Control::Form1 ? window_->handle() : nullptr;
        if (target == nullptr) {
            for (const auto& [control, id] : {std::pair{Control::Command1, idCommand1},
                                              {Control::Command2, idCommand2},
                                              {Control::Command3, idCommand3},
                                              {Control::Command4, idCommand4},
                                              {Control::Command5, idCommand5},
                                              {Control::Command6, idCommand6},
                                              {Control::Command7, idCommand7},
                                              {Control::Label1_0, idLabel1_0},
                                              {Control::Label1_1, idLabel1_1},
                                              {Control::Label1_2, idLabel1_2},
                                              {Control::Label3, idLabel3},
                                              {Control::Check1, idCheck1}}) {
                if (control == row.control) target = this->control(id);
            }
        }
        EXPECT_EQ(utf8Text(target), row.french);
    }
    for (const TextRow& row : kToolTipTable) {
        int id = 0;
        for (const auto& [control, controlId] : {std::pair{Control::Drive1, idDrive1},
                                                 {Control::ext, idExt},
                                                 {Control::Dir1, idDir1},
                                                 {Control::f1, idF1},
                                                 {Control::Command7, idCommand7},
                                                 {Control::f2, idF2},
                                                 {Control::b, idB},
                                                 {Control::Command3, idCommand3},
                                                 {Control::Command4, idCommand4},
                                                 {Control::Command1, idCommand1},
                                                 {Control::Command2, idCommand2},
                                                 {Control::Command5, idCommand5},
                                                 {Control::Command6, idCommand6},
                                                 {Control::Check1, idCheck1}}) {
            if (control == row.control) id = controlId;
        }
        EXPECT_EQ(narrow(toolTip(control(id))), row.french) << id;
    }

    click(idCommand5);
    EXPECT_EQ(pressAndCatch(idCommand3).text, "Fin de la conversion");

    // The next start speaks French from its first display.
    window_.reset();
    open();
    EXPECT_EQ(windowText(control(idCommand4)), L"Quitter");
    clickPicture(idLn0);
    EXPECT_EQ(windowText(control(idCommand4)), L"Exit");
    EXPECT_EQ(toolTip(control(idCommand4)), L"Exit Module");
}

// Each control where kForm1Layout puts it at the window's DPI, shown or
// waiting for a run, with its pointer, colour, caption and Tab order.
TEST_F(Win32Window, PlacesEveryControlAsTheLayoutSays) {
    open();
    HWND window = window_->handle();
    const UINT dpi = dpiOf(window);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, MulDiv(kForm1Width, int(dpi), 1440));
    EXPECT_EQ(client.bottom, MulDiv(kForm1Height, int(dpi), 1440));
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    std::vector<int> tabStops;
    for (const ControlLayout& layout : kForm1Layout) {
        const std::string name = layout.name + (layout.index >= 0 ? std::to_string(layout.index) : std::string());
        HWND target = control(idOf(layout.part));
        ASSERT_NE(target, nullptr) << name;
        RECT place{};
        GetWindowRect(target, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        const TwipsRect want = placeOf(layout, true);
        EXPECT_EQ(place.left, MulDiv(want.left, int(dpi), 1440)) << name;
        EXPECT_EQ(place.top, MulDiv(want.top, int(dpi), 1440)) << name;
        EXPECT_EQ(place.right - place.left, MulDiv(want.width, int(dpi), 1440)) << name;
        // A drop-down list is as high as the system makes its box.
        if (layout.kind != ControlKind::driveList) {
            EXPECT_EQ(place.bottom - place.top, MulDiv(want.height, int(dpi), 1440)) << name;
        }
        EXPECT_EQ(IsWindowVisible(target) != 0, !layout.hiddenWhenIdle()) << name;
        if ((GetWindowLongW(target, GWL_STYLE) & WS_TABSTOP) != 0) tabStops.push_back(idOf(layout.part));

        SetCursor(nullptr);
        SendMessageW(window, WM_SETCURSOR, WPARAM(target), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == hand, layout.handCursor()) << name;

        for (const TextRow& row : kCaptionTable) {
            if (layout.control == row.control) {
                EXPECT_EQ(utf8Text(target), row.english) << name;
            }
        }
    }

    // Tab visits the controls in the table's order, all but the labels and
    // the run's status boxes.
    std::vector<int> want;
    for (const ControlLayout& layout : kForm1Layout) {
        const ControlKind kind = layout.kind;
        if (kind != ControlKind::label && kind != ControlKind::statusText && kind != ControlKind::statusLine) {
            want.push_back(idOf(layout.part));
        }
    }
    EXPECT_EQ(tabStops, want);
    std::vector<int> visited;
    HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
    for (HWND at = first; at != nullptr && visited.size() <= want.size();) {
        visited.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(window, at, FALSE);
        if (at == first) break;
    }
    EXPECT_EQ(visited, want);

    // The About label drawn on its own shows its caption in its colour.
    const ControlLayout& link = layoutOf(Part::Label3);
    ASSERT_TRUE(link.textColour.has_value());
    HWND label = control(idOf(Part::Label3));
    RECT area{};
    GetClientRect(label, &area);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = area.right;
    info.bmiHeader.biHeight = -area.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(picture, nullptr);
    const HGDIOBJ old = SelectObject(memory, picture);
    SendMessageW(label, WM_PRINTCLIENT, WPARAM(memory), PRF_CLIENT);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    const std::uint32_t colour = std::uint32_t(link.textColour->red) << 16 |
                                 std::uint32_t(link.textColour->green) << 8 | std::uint32_t(link.textColour->blue);
    const int count = area.right * area.bottom;
    const int coloured =
        int(std::count_if(pixels, pixels + count, [&](std::uint32_t p) { return (p & 0xFFFFFF) == colour; }));
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    EXPECT_GT(coloured, 20);
}

// The About label, the flags and the logo are in the Tab order, after the
// other controls, and Space or Enter presses them.
TEST_F(Win32Window, TheFlagsTheAboutLabelAndTheLogoAnswerTheKeyboard) {
    openInSources();
    SetForegroundWindow(window_->handle());
    SetFocus(control(idCommand4));
    pump();
    if (GetFocus() != control(idCommand4)) GTEST_SKIP() << "Wine gave the window no keyboard focus on this display";
    auto key = [](UINT code) {
        for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG press{GetFocus(), message, code, message == WM_KEYUP ? LPARAM(0xC0000001) : 1, 0, {}};
            Form1::dispatch(press);
            pump();
        }
    };
    Names reached;
    for (int i = 0; i < 4; ++i) {
        key(VK_TAB);
        reached.push_back(std::to_string(GetDlgCtrlID(GetFocus())));
    }
    EXPECT_EQ(reached, (Names{std::to_string(idLn0), std::to_string(idLn1), std::to_string(idImage1),
                              std::to_string(idLabel3)}));

    struct Case {
        int line;  // where the case is written, for the failure to name
        int id;
        UINT key;
        const char* language;  // after the key
        bool about;
    };
    const Case cases[] = {
        {__LINE__, idLn1, VK_SPACE, "1", false},
        {__LINE__, idLn0, VK_RETURN, "0", false},
        {__LINE__, idImage1, VK_SPACE, "0", true},
        {__LINE__, idLabel3, VK_RETURN, "0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        if (HWND about = window_->aboutBox()) SendMessageW(about, WM_CLOSE, 0, 0);
        pump();
        SetForegroundWindow(window_->handle());
        SetFocus(control(c.id));
        pump();
        key(c.key);
        EXPECT_EQ(window_->logic().language(), c.language) << c.id;
        EXPECT_EQ(window_->aboutBox() != nullptr, c.about) << c.id;
    }
    EXPECT_EQ(windowText(control(idLabel3)), L"About Mirador...");
}

TEST_F(Win32Window, OneAboutBoxWhoseLinkOpensTheManual) {
    open();
    auto aboutBoxes = [] {
        int count = 0;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND box, LPARAM found) -> BOOL {
                wchar_t name[32];
                GetClassNameW(box, name, 32);
                if (lstrcmpW(name, frmAbout::kClassName) == 0 && IsWindowVisible(box)) ++*reinterpret_cast<int*>(found);
                return TRUE;
            },
            LPARAM(&count));
        return count;
    };
    clickPicture(idLabel3);
    clickPicture(idLabel3);
    clickPicture(idImage1);
    EXPECT_EQ(aboutBoxes(), 1);
    HWND about = window_->aboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(windowText(about), L"ftvb");
    EXPECT_EQ(windowText(GetDlgItem(about, idLblVersion)), L"Version 2.2.2");
    for (const int id : {int(idAboutLabel1), idAboutLabel1 + 3, int(idAboutLabel3), idAboutLabel1 + 4}) {
        SendMessageW(about, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), LPARAM(GetDlgItem(about, id)));
    }
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(fs::path(opened[0]).filename(), L"manual.html");

    // A manual that nothing opens is said, not passed over.
    frmAbout::openAddress = [](const std::wstring&) { return false; };
    Caught caught;
    catching = &caught;
    catchingFrom = window_->handle();
    const UINT_PTR timer = SetTimer(nullptr, 0, 5, catchMessageBox);
    SendMessageW(about, WM_COMMAND, MAKEWPARAM(idAboutLabel1 + 4, STN_CLICKED),
                 LPARAM(GetDlgItem(about, idAboutLabel1 + 4)));
    KillTimer(nullptr, timer);
    catching = nullptr;
    frmAbout::openAddress = catchAddress;
    EXPECT_EQ(caught.boxes, 1);
    EXPECT_EQ(caught.text, "The manual is not there: " + narrow(manualAddress())) << caught.text;

    // OK, and Escape, each close it; the next click opens a new one.
    SendMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    pump();
    EXPECT_EQ(aboutBoxes(), 0);
    clickPicture(idImage1);
    about = window_->aboutBox();
    ASSERT_NE(about, nullptr);
    MSG escape{about, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    Form1::dispatch(escape);
    pump();
    EXPECT_EQ(aboutBoxes(), 0);
}

TEST_F(Win32Window, ExitAppliesATypedPatternThenWritesTheKeys) {
    openInSources();
    clickPicture(idLn1);
    SetWindowTextW(control(idB), L"solver.bas");
    SetFocus(control(idExt));
    SetWindowTextW(control(idExt), L"*.txt");
    click(idCommand4);

    EXPECT_TRUE(window_->ended());
    EXPECT_TRUE(quitPosted());
    const std::wstring access = std::wstring(settingsKey_) + L"\\access";
    EXPECT_EQ(registryValue(access, L"f0"), "solver.bas");
    EXPECT_EQ(registryValue(access, L"p0"), "*.txt");
    EXPECT_EQ(registryValue(access, L"u0"), narrow(sources_.wstring().substr(0, 1)));
    EXPECT_EQ(registryValue(access, L"d0"), narrow(sources_.wstring()));
    EXPECT_EQ(registryValue(settingsKey_ + L"\\langue", L"langue"), "1");
}

// A click whose press and release arrive together, as a touchpad tap or an
// automation tool sends them, on a button while the pattern box has the
// focus: the pattern is applied, then the click counts.
TEST_F(Win32Window, LeavingThePatternBoxByAClickKeepsTheClick) {
    openInSources();
    SetForegroundWindow(window_->handle());
    SetFocus(control(idExt));
    pump();
    if (GetFocus() != control(idExt)) GTEST_SKIP() << "Wine gave the window no keyboard focus on this display";
    SetWindowTextW(control(idExt), L"*.txt;*.for");
    RECT button{};
    GetWindowRect(control(idCommand5), &button);
    const int x = (button.left + button.right) / 2;
    const int y = (button.top + button.bottom) / 2;
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u);
    for (int i = 0; i < 200 && GetFocus() == control(idExt); ++i) {
        pump();
        Sleep(10);
    }
    pump();
    if (GetFocus() == control(idExt)) GTEST_SKIP() << "Wine delivered no synthesized click on this display";
    EXPECT_EQ(entries(idF2), (Names{"a.for", "B.FOR", "notes.txt", "r\xC3\xA9sum\xC3\xA9.for"}));
    EXPECT_EQ(entries(idF1), Names{});
    EXPECT_EQ(SendMessageW(control(idCommand5), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

// The lists may change during a run's yields; the run converts what was
// listed when Run was pressed, in that order.
TEST_F(Win32Window, ARunConvertsTheFilesListedWhenRunWasPressed) {
    std::string big;
    for (int i = 0; i < 50000; ++i) big += "      y = y + 2\n";
    writeFile(sources_ / L"big.for", big);
    openInSources();
    for (const wchar_t* name : {L"big.for", L"a.for"}) {
        SendMessageW(control(idF1), LB_SETCURSEL,
                     WPARAM(SendMessageW(control(idF1), LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(name))), 0);
        click(idCommand1);
    }
    SetWindowTextW(control(idB), L"out.bas");
    static Form1* window = nullptr;
    static bool removedDuringTheRun = false;
    window = window_.get();
    removedDuringTheRun = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        removedDuringTheRun = window->logic().running();
        SendDlgItemMessageW(window->handle(), idCommand6, BM_CLICK, 0, 0);
    });
    const Caught caught = pressAndCatch(idCommand3);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(removedDuringTheRun);
    EXPECT_EQ(caught.text, "End of Conversion");
    EXPECT_EQ(caught.count, "50003 lines");
    EXPECT_EQ(entries(idF2), Names{});

    RunObserver quiet;
    NameList files({narrow((sources_ / L"big.for").wstring()), narrow((sources_ / L"a.for").wstring())});
    ASSERT_TRUE(runConversion(narrow((sources_ / L"direct.bas").wstring()), files, quiet).moduleWritten);
    EXPECT_EQ(fileBytes(sources_ / L"out.bas"), fileBytes(sources_ / L"direct.bas"));
}

// The work before the first line (the names checked against the module)
// must not hold up the window: on 5,000 files a message posted at Run is
// handled within a quarter of a second, and the run is no slower for it.
TEST_F(Win32Window, TheWindowAnswersAtOnceWhenARunOfManyFilesStarts) {
    const fs::path many = root_ / L"many";
    fs::create_directory(many);
    for (int i = 0; i < 5000; ++i) {
        writeFile(many / (L"f" + std::to_wstring(10000 + i) + L".for"), "      x = 1\n      end\n");
    }
    settings_->write("access", "d0", narrow(many.wstring()));
    open();
    click(idCommand5);
    ASSERT_EQ(entries(idF2).size(), 5000u);
    // A module there already: every name is checked against it first.
    writeFile(many / L"out.bas", "old module\r\n");
    SetWindowTextW(control(idB), L"out.bas");

    static LARGE_INTEGER pressed;
    static LARGE_INTEGER answered;
    answered.QuadPart = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) {
        if (answered.QuadPart == 0) QueryPerformanceCounter(&answered);
        KillTimer(nullptr, id);
    });
    QueryPerformanceCounter(&pressed);
    const Caught caught = pressAndCatch(idCommand3);
    LARGE_INTEGER ended;
    QueryPerformanceCounter(&ended);
    KillTimer(nullptr, timer);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double answeredMs = double(answered.QuadPart - pressed.QuadPart) * 1000.0 / double(frequency.QuadPart);
    const double runMs = double(ended.QuadPart - pressed.QuadPart) * 1000.0 / double(frequency.QuadPart);
    // The same run without a window, for the record (speed is the
    // benchmarks' to judge).
    Names names;
    for (const std::string& name : entries(idF2)) names.push_back(narrow(many.wstring()) + "\\" + name);
    RunObserver quiet;
    writeFile(many / L"direct.bas", "old module\r\n");
    LARGE_INTEGER directStart;
    QueryPerformanceCounter(&directStart);
    ASSERT_TRUE(runConversion(narrow((many / L"direct.bas").wstring()), NameList(names), quiet).moduleWritten);
    LARGE_INTEGER directEnd;
    QueryPerformanceCounter(&directEnd);
    const double directMs = double(directEnd.QuadPart - directStart.QuadPart) * 1000.0 / double(frequency.QuadPart);
    std::cout << "[   INFO   ] 5,000 files: first message handled after " << answeredMs << " ms; run " << runMs
              << " ms, the same run without the window " << directMs << " ms\n";
    EXPECT_EQ(fileBytes(many / L"out.bas"), fileBytes(many / L"direct.bas"));
    EXPECT_EQ(caught.text, "End of Conversion");
    ASSERT_NE(answered.QuadPart, 0) << "no message was handled during the run";
    EXPECT_LT(answeredMs, 250.0);
}

// A message about a run that wrote no module is shown with nothing of the
// run left beside the module: no temporary list of places to look at.
TEST_F(Win32Window, NoTemporaryFileBesideTheModuleWhileAFailureIsShown) {
    writeFile(sources_ / L"notes.review.txt", "notes.for:1: note: x [pause] (notes.bas:1)\nreview: 1 pause\n");
    openInSources();
    SetWindowTextW(control(idB), L"notes.bas");
    writeFile(sources_ / L"notes.bas", "finished by hand\r\n");
    SendMessageW(control(idF1), LB_SETCURSEL, 0, 0);
    click(idCommand1);
    fs::remove(sources_ / L"a.for");
    catchingFolder = sources_;
    const Caught caught = pressAndCatch(idCommand3);
    catchingFolder.clear();
    EXPECT_EQ(caught.text.rfind("No file could be read; the module 'notes.bas' was left as it was.", 0), 0u)
        << caught.text;
    ASSERT_FALSE(caught.folder.empty());
    for (const std::wstring& name : caught.folder) EXPECT_NE(name.rfind(L".notes.", 0), 0u) << narrow(name);
    EXPECT_EQ(fileBytes(sources_ / L"notes.bas"), "finished by hand\r\n");
    // The list of the module that stays stays with it.
    EXPECT_EQ(fileBytes(sources_ / L"notes.review.txt"),
              "notes.for:1: note: x [pause] (notes.bas:1)\nreview: 1 pause\n");
}

// 300 listed files moved away before Run: the message stays on the screen,
// names the first few and says where the whole list is.
TEST_F(Win32Window, AMessageAboutManyFilesLeftOutFitsTheScreen) {
    const fs::path many = root_ / L"moved";
    fs::create_directory(many);
    for (int i = 0; i < 300; ++i) writeFile(many / (L"f" + std::to_wstring(100 + i) + L".for"), "      x = 1\n");
    writeFile(many / L"kept.for", "      y = 2\n");
    settings_->write("access", "d0", narrow(many.wstring()));
    open();
    click(idCommand5);
    SetWindowTextW(control(idB), L"out.bas");
    for (int i = 0; i < 300; ++i) fs::remove(many / (L"f" + std::to_wstring(100 + i) + L".for"));
    const Caught caught = pressAndCatch(idCommand3);
    EXPECT_EQ(caught.text.rfind("End of Conversion\n\nThese files could not be read and were left out:\nf100.for: ", 0),
              0u)
        << caught.text;
    EXPECT_NE(caught.text.find("\n... and 290 more, all listed in out.unread.txt"), std::string::npos) << caught.text;
    EXPECT_LE(caught.box.bottom, GetSystemMetrics(SM_CYSCREEN));
    const std::string list = fileBytes(many / L"out.unread.txt");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 301) << list;
}

// Closing the window by its frame, the end of the session and Exit, each
// during a long run: the run stops, the module is left as it was with no
// temporary file beside it, and the program ends.
TEST_F(Win32Window, EndingDuringARunKeepsTheModuleAndLeavesNoTemporaryFile) {
    std::string big;
    for (int i = 0; i < 100000; ++i) big += "      x = x + 1\n";
    writeFile(sources_ / L"big.for", big);
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* what;
        void (*end)(HWND window);
        bool saves;
    };
    static HWND running = nullptr;
    static void (*ending)(HWND) = nullptr;
    const Case cases[] = {
        {__LINE__, "closed by its frame", [](HWND window) { SendMessageW(window, WM_CLOSE, 0, 0); }, false},
        {__LINE__, "the session ends",
         [](HWND window) {
             if (SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF)) {
                 SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
             }
         },
         false},
        {__LINE__, "Exit", [](HWND window) { SendDlgItemMessageW(window, idCommand4, BM_CLICK, 0, 0); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        RegDeleteTreeW(HKEY_CURRENT_USER, settingsKey_.c_str());
        openInSources();
        writeFile(sources_ / L"out.bas", "old module\r\n");
        SetWindowTextW(control(idB), L"out.bas");
        SendMessageW(control(idF1), LB_SETCURSEL,
                     WPARAM(SendMessageW(control(idF1), LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(L"big.for"))), 0);
        click(idCommand1);
        ASSERT_EQ(entries(idF2), Names{"big.for"}) << c.what;

        running = window_->handle();
        ending = c.end;
        const UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            ending(running);
        });
        const Caught caught = pressAndCatch(idCommand3);
        KillTimer(nullptr, timer);

        EXPECT_EQ(caught.boxes, 0) << c.what << ": " << caught.text;
        EXPECT_TRUE(window_->ended()) << c.what;
        EXPECT_TRUE(quitPosted()) << c.what;
        EXPECT_FALSE(window_->logic().running()) << c.what;
        EXPECT_EQ(fileBytes(sources_ / L"out.bas"), "old module\r\n") << c.what;
        Names left;
        for (const auto& entry : fs::directory_iterator(sources_))
            left.push_back(narrow(entry.path().filename().wstring()));
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (Names{".hidden.for", "B.FOR", "a.for", "big.for", "folder.for", "notes.txt", "out.bas",
                               "r\xC3\xA9sum\xC3\xA9.for"}))
            << c.what;
        EXPECT_EQ(registryValue(settingsKey_ + L"\\access", L"f0"), c.saves ? "out.bas" : "<absent>") << c.what;
        window_.reset();
    }
}

// ---- The parts under the window -------------------------------------------

TEST(Win32Registry, ValuesLiveWhereProgramsOfThisKindKeepThem) {
    // A section of its own: other tests of the same Wine prefix keep the
    // program's real settings there at the same time.
    const std::string section = "test-" + std::to_string(GetCurrentProcessId());
    const std::wstring key = std::wstring(kProgramKey) + L"\\" + widen(section);
    RegistrySettingsStore store;
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    EXPECT_EQ(store.read(section, "d0", "<absent>"), "<absent>");
    const std::string values[] = {"", "*.for;*.src", "C:\\Users\\\xC3\xA9l\xC3\xA8ve\\r\xC3\xA9sultat.bas", " blanks "};
    for (const std::string& value : values) {
        store.write(section, "d0", value);
        EXPECT_EQ(RegistrySettingsStore().read(section, "d0", "<absent>"), value);
        wchar_t raw[256];
        DWORD bytes = sizeof(raw);
        DWORD type = 0;
        ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"d0", RRF_RT_ANY, &type, raw, &bytes), ERROR_SUCCESS);
        EXPECT_EQ(type, DWORD(REG_SZ));
        EXPECT_EQ(narrow(raw), value);
    }
    // A value of another type, as a hand edit may leave, is no text.
    const DWORD number = 1;
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"langue", REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(store.read(section, "langue", "0"), "0");
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

TEST(Win32HiddenFileList, ListsMatchingOrdinaryFilesInOrderIgnoringCase) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const fs::path folder = fs::path(temp) / (L"ftvb-file1-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(folder / L"sub.for");
    for (const wchar_t* name : {L"b.FOR", L"A.for", L"c.f", L"notes.fortran", L"x.src", L"\u00c9t\u00e9.for",
                                L"\u00e9cole.FOR", L"system.for", L"noext"}) {
        writeFile(folder / name, "x\n");
    }
    SetFileAttributesW((folder / L"system.for").c_str(), FILE_ATTRIBUTE_SYSTEM);
    if ((GetFileAttributesW((folder / L"system.for").c_str()) & FILE_ATTRIBUTE_SYSTEM) == 0) {
        // Wine keeps DOS attributes only where the file system has extended
        // attributes: a system file cannot be made here.
        std::cout << "[ SKIPPED  ] a system file: this file system keeps no SYSTEM attribute under Wine\n";
        fs::remove(folder / L"system.for");
    }
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* pattern;
        Names want;
    };
    const Case cases[] = {
        {__LINE__,
         "*.for",
         {"A.for", "b.FOR",
          "\xC3\xA9"
          "cole.FOR",
          "\xC3\x89t\xC3\xA9.for"}},
        {__LINE__, "*.F;*.SRC", {"c.f", "x.src"}},
        {__LINE__, "?.for", {"A.for", "b.FOR"}},
        {__LINE__,
         "*.*",
         {"A.for", "b.FOR", "c.f",
          "\xC3\xA9"
          "cole.FOR",
          "\xC3\x89t\xC3\xA9.for", "noext", "notes.fortran", "x.src"}},
    };
    HiddenFileList File1;
    ASSERT_TRUE(File1.setFolder(folder.wstring()));
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        ASSERT_TRUE(File1.setPattern(c.pattern)) << c.pattern;
        ASSERT_TRUE(File1.refresh());
        Names got;
        for (const std::wstring& name : File1.names()) got.push_back(narrow(name));
        EXPECT_EQ(got, c.want) << c.pattern;
    }
    EXPECT_FALSE(File1.setPattern(" ; "));
    EXPECT_FALSE(File1.setPattern("sub\\*.for"));
    EXPECT_EQ(File1.pattern(), "*.*");
    EXPECT_FALSE(File1.setFolder((folder / L"missing").wstring()));
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace
}  // namespace ftvb::ui::win32

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
