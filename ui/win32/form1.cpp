#include "ui/win32/form1.h"

#include <commctrl.h>

#include <cctype>
#include <cwctype>
#include <optional>

#include "app/windows/resources.h"
#include "ui/about.h"
#include "ui/captions.h"
#include "ui/win32/about_box.h"
#include "ui/win32/controls.h"
#include "ui/win32/dpi.h"
#include "ui/win32/wide.h"

namespace ftvb::ui::win32 {
namespace {

constexpr const wchar_t* kClassName = L"ftvbForm1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// A folder chosen in Dir1, handled once the tree is done with the click: a
// folder that cannot be opened puts the tree back, which must not happen
// inside the tree's own handling of it.
constexpr UINT kDirChanged = WM_APP + 1;
// The lists have been changed; they are drawn again.
constexpr UINT kListsChanged = WM_APP + 2;
// A folder of Dir1 was closed, which may have moved its highlight to it
// (from the folder in use, inside it): once the tree is done, the folder
// highlighted is the folder in use.
constexpr UINT kDirClosed = WM_APP + 3;

// The window class and styles of each kind of control.
struct ControlClass {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
// The About label, the flags and the logo are buttons drawn by the window:
// they take the focus in the Tab order, and Space or Enter presses them.
constexpr DWORD kPicture = WS_TABSTOP | BS_OWNERDRAW;

ControlClass classOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::label: return {L"STATIC", SS_NOPREFIX, 0};
        case ControlKind::link:
        case ControlKind::picture: return {L"BUTTON", kPicture, 0};
        case ControlKind::button: return {L"BUTTON", kButton, 0};
        case ControlKind::checkBox: return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
        case ControlKind::driveList: return {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
        case ControlKind::folderTree:
            return {
                WC_TREEVIEWW,
                WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
                WS_EX_CLIENTEDGE};
        case ControlKind::fileList: return {L"LISTBOX", kList, WS_EX_CLIENTEDGE};
        case ControlKind::textBox: return {L"EDIT", kEdit, WS_EX_CLIENTEDGE};
        case ControlKind::statusText:
            return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::statusLine: return {L"EDIT", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

// The control of kForm1Layout that has the id.
const ControlLayout* layoutOfId(int id) {
    for (const ControlLayout& control : kForm1Layout) {
        if (idOf(control.part) == id) return &control;
    }
    return nullptr;
}

std::wstring windowText(HWND window) {
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// The drive selector's height is that of its list when dropped down.
constexpr int kDriveListRows = 8;

// Set while a run is in progress: every window of the program shows the
// busy pointer.
bool busy = false;

HICON programIcon(int size) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(FTVB_ICON), IMAGE_ICON, size, size, 0));
}

}  // namespace

Form1::Form1(SettingsStore& settings)
    : logic_(*this, settings), flags_{Picture(L"FLAG_US"), Picture(L"FLAG_FR")}, logo_(L"LOGO") {
    create();
    about_ = std::make_unique<frmAbout>(*this, logo_);
}

Form1::~Form1() {
    ended_ = true;
    about_.reset();
    if (window_ != nullptr) DestroyWindow(window_);
    if (font_ != nullptr) DeleteObject(font_);
}

void Form1::create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    static const ATOM registered = [instance] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass);
    }();
    (void)registered;

    CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr,
                    nullptr, instance, this);
    if (window_ == nullptr) return;
    dpi_ = dpiOf(window_);

    // Made in the table's order, which is the Tab order.
    for (const ControlLayout& control : kForm1Layout) {
        const ControlClass made = classOf(control.kind);
        const DWORD visible = control.hiddenWhenIdle() ? 0 : WS_VISIBLE;
        CreateWindowExW(made.exStyle, made.windowClass, L"", WS_CHILD | visible | made.style, 0, 0, 10, 10, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(control.part))), instance, nullptr);
    }
    Dir1_.attach(child(idDir1));
    SetWindowSubclass(child(idExt), extProc, 0, reinterpret_cast<DWORD_PTR>(this));

    toolTips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);

    layOut();
    fillDrives();
    const std::string here = currentFolder();
    Dir1_.setPath(widen(here));
    driveSet(here);

    // The built-in captions, until a language is applied.
    for (const TextRow& row : kCaptionTable) {
        if (row.control != Control::Form1) setCaption(row.control, row.english);
    }
}

void Form1::layOut() {
    if (font_ != nullptr) DeleteObject(font_);
    font_ = messageFont(dpi_, kForm1FontPoints);
    for (const ControlLayout& control : kForm1Layout) {
        const TwipsRect place = placeOf(control, true);
        const int height = control.kind == ControlKind::driveList ? place.height * kDriveListRows : place.height;
        placeChild(window_, idOf(control.part), place.left, place.top, place.width, height, dpi_);
        SendMessageW(child(idOf(control.part)), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    SendMessageW(toolTips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, fromTwips(6000, dpi_));
    const SIZE size = windowSize(kForm1Width, kForm1Height, kStyle, WS_EX_CONTROLPARENT, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const bool large : {false, true}) {
        const int side = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON) * int(dpi_) / 96;
        if (HICON icon = programIcon(side)) {
            HICON old = reinterpret_cast<HICON>(
                SendMessageW(window_, WM_SETICON, large ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
            if (old != nullptr) DestroyIcon(old);
        }
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void Form1::load() { logic_.Form_Load(); }

void Form1::show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    // Without a window manager a window may never become active: the first
    // display applies the language all the same.
    if (!activatedOnce_) {
        activatedOnce_ = true;
        logic_.Form_Activate();
    }
}

HWND Form1::aboutBox() const { return about_ != nullptr ? about_->handle() : nullptr; }

LRESULT CALLBACK Form1::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT CALLBACK Form1::extProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    auto* self = reinterpret_cast<Form1*>(data);
    if (message == WM_KILLFOCUS && self->window_ != nullptr) {
        // wParam is the window that takes the focus, if any.
        const bool here = IsChild(self->window_, reinterpret_cast<HWND>(wParam));
        self->logic_.ext_LostFocus(here ? FocusGoes::toThisWindow : FocusGoes::elsewhere);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(edit, extProc, 0);
    }
    return result;
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: command(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            LRESULT result = 0;
            if (header.idFrom != UINT_PTR(idDir1)) return 0;
            if (Dir1_.notify(header, result) && !dirChangePending_) {
                dirChangePending_ = true;
                PostMessageW(window_, kDirChanged, 0, 0);
            }
            if (header.code == TVN_ITEMEXPANDEDW) PostMessageW(window_, kDirClosed, 0, 0);
            return result;
        }
        case kDirChanged:
            dirChangePending_ = false;
            logic_.Dir1_Change();
            return 0;
        case kDirClosed:
            if (!dirChangePending_ && Dir1_.followSelection()) logic_.Dir1_Change();
            return 0;
        case kListsChanged:
            for (HWND list : held_) {
                SendMessageW(list, WM_SETREDRAW, TRUE, 0);
                InvalidateRect(list, nullptr, TRUE);
            }
            held_.clear();
            return 0;
        case WM_ACTIVATEAPP:
            // Tells WM_ACTIVATE, which follows, that another program was
            // active before.
            if (wParam && activatedOnce_) fromOtherProgram_ = true;
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
            } else {
                if (!activatedOnce_ || !fromOtherProgram_) {
                    activatedOnce_ = true;
                    logic_.Form_Activate();
                }
                fromOtherProgram_ = false;
                // The folder first: choosing one is where a user begins.
                if (!HIWORD(wParam))
                    SetFocus(lastFocus_ != nullptr && IsWindow(lastFocus_) ? lastFocus_ : child(idDir1));
            }
            return 0;
        case WM_SETCURSOR:
            if (busy) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            if (LOWORD(lParam) == HTCLIENT) {
                const ControlLayout* control = layoutOfId(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)));
                if (control != nullptr && control->handCursor()) {
                    SetCursor(LoadCursorW(nullptr, IDC_HAND));
                    return TRUE;
                }
            }
            break;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            Picture* picture = item.CtlID == UINT(idLn0)      ? &flags_[0]
                               : item.CtlID == UINT(idLn1)    ? &flags_[1]
                               : item.CtlID == UINT(idImage1) ? &logo_
                                                              : nullptr;
            if (picture == nullptr && item.CtlID != UINT(idLabel3)) break;
            FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
            RECT focus = item.rcItem;
            if (picture != nullptr) {
                picture->draw(item.hDC, item.rcItem);
            } else {
                // The About label: coloured text, as a link.
                const std::wstring caption = windowText(item.hwndItem);
                const HGDIOBJ oldFont = SelectObject(item.hDC, font_);
                const Rgb colour = layoutOf(Part::Label3).textColour.value_or(Rgb{0, 0, 0});
                SetTextColor(item.hDC, RGB(colour.red, colour.green, colour.blue));
                SetBkMode(item.hDC, TRANSPARENT);
                RECT text = item.rcItem;
                DrawTextW(item.hDC, caption.c_str(), int(caption.size()), &text,
                          DT_NOPREFIX | DT_SINGLELINE | DT_CALCRECT);
                DrawTextW(item.hDC, caption.c_str(), int(caption.size()), &text, DT_NOPREFIX | DT_SINGLELINE);
                SelectObject(item.hDC, oldFont);
                focus = text;
                InflateRect(&focus, 2, 1);
            }
            if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
                DrawFocusRect(item.hDC, &focus);
            }
            return TRUE;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            layOut();
            return 0;
        }
        case WM_CLOSE: close(); return 0;
        case WM_QUERYENDSESSION:
            // The session may still be cancelled: only stop a run, so that
            // its temporary file is gone before the session ends.
            if (logic_.running()) logic_.Form_Unload();
            return TRUE;
        case WM_ENDSESSION:
            // As Exit, saving nothing; a run still going stops first.
            if (wParam) {
                closing_ = true;
                logic_.endProgram();
            }
            return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1::command(int id, int code) {
    switch (id) {
        case idCommand1:
            if (code == BN_CLICKED) logic_.Command1_Click();
            break;
        case idCommand2:
            if (code == BN_CLICKED) logic_.Command2_Click();
            break;
        case idCommand5:
            if (code == BN_CLICKED) logic_.Command5_Click();
            break;
        case idCommand6:
            if (code == BN_CLICKED) logic_.Command6_Click();
            break;
        case idCommand7:
            if (code == BN_CLICKED) logic_.Command7_Click();
            break;
        case idCommand4:
            if (code == BN_CLICKED) logic_.Command4_Click();
            break;
        case idCommand3:
            if (code != BN_CLICKED) break;
            logic_.Command3_Click();
            // Closed by its frame or by the session's end during the run,
            // which has now stopped.
            if (closing_) endIfNoWindowLeft();
            break;
        case idLabel3:
            if (code == BN_CLICKED) logic_.Label3_Click();
            break;
        case idImage1:
            if (code == BN_CLICKED) logic_.Image1_Click();
            break;
        case idLn0:
            if (code == BN_CLICKED) logic_.ln_Click(0);
            break;
        case idLn1:
            if (code == BN_CLICKED) logic_.ln_Click(1);
            break;
        case idDrive1:
            // While the list is dropped down, moving through it is not yet a
            // choice: the choice is made when it closes.
            if (code == CBN_DROPDOWN) fillDrives();
            if ((code == CBN_SELCHANGE && !SendMessageW(child(idDrive1), CB_GETDROPPEDSTATE, 0, 0)) ||
                code == CBN_CLOSEUP) {
                if (widen(drive()) != lastDrive_) {
                    lastDrive_ = widen(drive());
                    logic_.Drive1_Change();
                }
            }
            break;
        case IDOK: {
            // Enter in the pattern box applies it, as "Ok" does; on the About
            // label, a flag or the logo it presses it, as Space does.
            const HWND focus = GetFocus();
            const ControlLayout* control =
                focus != nullptr && GetParent(focus) == window_ ? layoutOfId(GetDlgCtrlID(focus)) : nullptr;
            if (focus == child(idExt)) {
                logic_.Command7_Click();
            } else if (control != nullptr && pressedLikeAButton(control->kind)) {
                command(GetDlgCtrlID(focus), BN_CLICKED);
            }
            break;
        }
        default: break;
    }
}

// Closing by the frame saves nothing; a run in progress stops and leaves
// the module as it was, and the program ends once the run has stopped and
// no window of it is left.
void Form1::close() {
    closing_ = true;
    logic_.Form_Unload();
    ShowWindow(window_, SW_HIDE);
    if (!logic_.running()) endIfNoWindowLeft();
}

void Form1::endIfNoWindowLeft() {
    if (ended_ || !closing_ || aboutBox() != nullptr) return;
    ended_ = true;
    PostQuitMessage(0);
}

void Form1::aboutClosed() {
    if (closing_ && !logic_.running()) endIfNoWindowLeft();
}

void Form1::dispatch(MSG& message) {
    HWND active = GetActiveWindow();
    if (active != nullptr) {
        wchar_t name[32];
        GetClassNameW(active, name, 32);
        if ((lstrcmpW(name, kClassName) == 0 || lstrcmpW(name, frmAbout::kClassName) == 0) &&
            IsDialogMessageW(active, &message)) {
            return;
        }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int Form1::runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatch(message);
    return int(message.wParam);
}

void Form1::pump(UINT filter) {
    MSG message;
    while (!ended_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | filter)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));
            return;
        }
        dispatch(message);
        // A run asked to stop goes on at once, before the session ends.
        if (closing_) return;
    }
}

void Form1::yield() {
    if (logic_.running() && !events_.due()) return;
    // The loss of focus that applies the pattern comes from a click or a
    // key that is not yet done: its own input must wait until the pattern
    // is applied, or the click would reach its button half-handled and be
    // lost.
    pump(logic_.leavingPattern() ? PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE : 0);
}

// ---- Window operations ------------------------------------------------------

HWND Form1::controlOf(Control control) const {
    if (control == Control::Form1) return window_;
    const std::optional<Part> part = partOf(control);
    return part ? child(idOf(*part)) : nullptr;
}

HWND Form1::listOf(List list) const { return child(list == List::f1 ? idF1 : idF2); }

HWND Form1::boxOf(Box box) const {
    switch (box) {
        case Box::ext: return child(idExt);
        case Box::b: return child(idB);
        case Box::tt: return child(idTt);
        case Box::ccpt: return child(idCcpt);
    }
    return nullptr;
}

// A list that is drawn updates its scroll bar at each entry added, which
// makes a refill of thousands of names slow (17 ms a name under Wine): a
// list being changed is drawn again only once the change is over.
HWND Form1::changing(List list) {
    HWND box = listOf(list);
    if (held_.insert(box).second) {
        SendMessageW(box, WM_SETREDRAW, FALSE, 0);
        PostMessageW(window_, kListsChanged, 0, 0);
    }
    return box;
}

std::vector<std::string>& Form1::entriesOf(List list) { return entries_[list == List::f1 ? 0 : 1]; }

const std::vector<std::string>& Form1::entriesOf(List list) const { return entries_[list == List::f1 ? 0 : 1]; }

void Form1::listClear(List list) {
    SendMessageW(changing(list), LB_RESETCONTENT, 0, 0);
    entriesOf(list).clear();
}

void Form1::listAdd(List list, const std::string& entry) {
    const LRESULT added = SendMessageW(changing(list), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(entry).c_str()));
    if (added >= 0) entriesOf(list).push_back(entry);
}

void Form1::listRemove(List list, int index) {
    std::vector<std::string>& entries = entriesOf(list);
    if (index < 0 || std::size_t(index) >= entries.size()) return;
    SendMessageW(changing(list), LB_DELETESTRING, WPARAM(index), 0);
    entries.erase(entries.begin() + index);
}

int Form1::listCount(List list) const { return int(entriesOf(list).size()); }

std::string Form1::listEntry(List list, int index) const {
    const std::vector<std::string>& entries = entriesOf(list);
    return index >= 0 && std::size_t(index) < entries.size() ? entries[std::size_t(index)] : std::string();
}

int Form1::listSelected(List list) const {
    const LRESULT index = SendMessageW(listOf(list), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : int(index);
}

void Form1::listSelect(List list, int index) { SendMessageW(listOf(list), LB_SETCURSEL, WPARAM(index), 0); }

bool Form1::fileListSetFolder(const std::string& folder) { return File1_.setFolder(widen(folder)); }

bool Form1::fileListSetPattern(const std::string& pattern) { return File1_.setPattern(pattern); }

std::string Form1::fileListPattern() const { return File1_.pattern(); }

bool Form1::fileListRefresh() { return File1_.refresh(); }

int Form1::fileListCount() const { return int(File1_.names().size()); }

std::string Form1::fileListName(int index) const {
    return index >= 0 && index < fileListCount() ? narrow(File1_.names()[std::size_t(index)]) : std::string();
}

std::string Form1::dirPath() const { return narrow(Dir1_.path()); }

bool Form1::dirSetPath(const std::string& path) { return Dir1_.setPath(widen(path)); }

void Form1::dirRefresh() { Dir1_.refresh(); }

void Form1::fillDrives() {
    HWND combo = child(idDrive1);
    const std::wstring shown = widen(drive());
    std::wstring drives(256, L'\0');
    const DWORD length = GetLogicalDriveStringsW(DWORD(drives.size()), drives.data());
    if (length == 0 || length > drives.size()) return;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    // "C:\", "D:\", ... each ended by a NUL.
    for (std::size_t at = 0; at < length && drives[at] != L'\0'; at = drives.find(L'\0', at) + 1) {
        const std::wstring letter = drives.substr(at, 2);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(letter.c_str()));
    }
    if (!shown.empty()) {
        SendMessageW(combo, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(shown.c_str()));
    }
}

std::string Form1::drive() const {
    HWND combo = child(idDrive1);
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    wchar_t text[64] = {};
    if (SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(index), 0) >= 63) return {};
    SendMessageW(combo, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text));
    return narrow(text);
}

bool Form1::driveSet(const std::string& drive) {
    if (drive.empty() || !std::isalpha(static_cast<unsigned char>(drive[0]))) return false;
    const std::wstring letter{wchar_t(std::toupper(static_cast<unsigned char>(drive[0]))), L':'};
    HWND combo = child(idDrive1);
    LRESULT index = SendMessageW(combo, CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(letter.c_str()));
    if (index == CB_ERR) {
        // A drive may have come since the list was read.
        fillDrives();
        index = SendMessageW(combo, CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(letter.c_str()));
        if (index == CB_ERR) return false;
    }
    SendMessageW(combo, CB_SETCURSEL, WPARAM(index), 0);
    lastDrive_ = letter;
    return true;
}

bool Form1::setCurrentFolder(const std::string& folder) {
    if (folder.empty() || !SetCurrentDirectoryW(widen(folder).c_str())) return false;
    // As the C runtime does: each drive remembers its own current folder in
    // "=X:", where a change of drive finds it again.
    const std::wstring here = widen(currentFolder());
    if (here.size() >= 2 && here[1] == L':') {
        const wchar_t name[] = {L'=', wchar_t(std::towupper(here[0])), L':', L'\0'};
        SetEnvironmentVariableW(name, here.c_str());
    }
    return true;
}

// A drive alone ("d:") is that drive's current folder.
bool Form1::setCurrentDrive(const std::string& drive) {
    if (drive.empty() || !std::isalpha(static_cast<unsigned char>(drive[0]))) return false;
    const std::wstring folder = fullPath(std::wstring{wchar_t(drive[0]), L':'});
    return !folder.empty() && setCurrentFolder(narrow(folder));
}

std::string Form1::currentFolder() const {
    std::wstring here(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(DWORD(here.size()), here.data());
        if (length == 0) return {};
        if (length < here.size()) {
            here.resize(length);
            return narrow(here);
        }
        here.resize(length);
    }
}

std::string Form1::text(Box box) const {
    HWND edit = boxOf(box);
    std::wstring text(std::size_t(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(edit, text.data(), int(text.size()))));
    return narrow(text);
}

void Form1::setText(Box box, const std::string& text) { SetWindowTextW(boxOf(box), widen(text).c_str()); }

void Form1::showBox(Box box, bool visible) { ShowWindow(boxOf(box), visible ? SW_SHOWNA : SW_HIDE); }

bool Form1::finishChecked() const { return SendMessageW(child(idCheck1), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Form1::setFinishChecked(bool checked) {
    SendMessageW(child(idCheck1), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form1::setCaption(Control control, const std::string& caption) {
    SetWindowTextW(controlOf(control), widen(caption).c_str());
}

void Form1::setToolTipOf(Control control, const std::string& tip) {
    HWND target = controlOf(control);
    if (target == nullptr || target == window_) return;
    const std::wstring text = widen(tip);
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(target);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    const bool added = !tipped_.insert(target).second;
    SendMessageW(toolTips_, added ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Form1::setBusy(bool on) {
    busy = on;
    SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

void Form1::message(const std::string& text, MessageKind kind) {
    MessageBoxW(window_, widen(text).c_str(), widen(kAppTitle).c_str(),
                MB_OK | (kind == MessageKind::warning ? MB_ICONWARNING : MB_ICONINFORMATION));
}

void Form1::showAbout() { about_->show(); }

void Form1::quit() {
    ended_ = true;
    about_->close();
    ShowWindow(window_, SW_HIDE);
    PostQuitMessage(0);
}

bool Form1::busyPointer() { return busy; }

}  // namespace ftvb::ui::win32
