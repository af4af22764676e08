#include "ui/win32/about_box.h"

#include <shellapi.h>

#include "ui/about.h"
#include "ui/win32/controls.h"
#include "ui/win32/dpi.h"
#include "ui/win32/form1.h"
#include "ui/win32/pictures.h"
#include "ui/win32/wide.h"

namespace ftvb::ui::win32 {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kClientWidth = 5730;
constexpr int kClientHeight = 4575;
constexpr int kLinkIndex = 4;

struct Place {
    int id;
    int left, top, width, height;
};

const Place kPlaces[] = {
    {idLblTitle, 1050, 240, 3885, 480},
    {idLblVersion, 1050, 780, 3885, 225},
    {idAboutImage1, 1380, 1320, 2745, 630},
    {idAboutLabel1 + 0, 120, 2640, 4035, 315},
    {idAboutLabel3, 120, 2940, 4035, 315},
    {idAboutLabel1 + 1, 120, 3240, 4035, 315},
    {idAboutLabel1 + 2, 120, 3540, 4035, 315},
    {idAboutLabel1 + 3, 120, 3840, 4035, 315},
    {idAboutLabel1 + kLinkIndex, 120, 4200, 4035, 315},
    {IDOK, 4305, 3165, 1260, 345},
};

// The separator above the lines of text: a grey line over a white one.
constexpr int kLineLeft = 120;
constexpr int kLineTop = 2520;
constexpr int kLineWidth = 5490;

}  // namespace

bool WebEmailOpen(const std::wstring& address) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNOACTIVATE));
    return result > 32;
}

bool (*frmAbout::openAddress)(const std::wstring& address) = WebEmailOpen;

std::wstring manualAddress() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), DWORD(program.size()));
        if (length == 0) return L"manual.html";
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    const std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    // The zip and the installer put the README beside the program as well,
    // as plain text, for a build that could not make the HTML manual.
    for (const wchar_t* name : {L"manual.html", L"README.txt"}) {
        if (GetFileAttributesW((folder + name).c_str()) != INVALID_FILE_ATTRIBUTES) return folder + name;
    }
    return folder + L"manual.html";
}

void frmAbout::show() {
    if (window_ == nullptr) {
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
        CreateWindowExW(kExStyle, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner_.handle(),
                        nullptr, instance, this);
        if (window_ == nullptr) return;
        dpi_ = dpiOf(window_);
        for (const Place& place : kPlaces) {
            const bool label = place.id != IDOK && place.id != idAboutImage1;
            const DWORD style = place.id == IDOK            ? WS_TABSTOP | BS_DEFPUSHBUTTON
                                : place.id == idAboutImage1 ? SS_OWNERDRAW
                                                            : SS_NOTIFY | SS_NOPREFIX;
            CreateWindowExW(0, label || place.id == idAboutImage1 ? L"STATIC" : L"BUTTON", L"",
                            WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), instance, nullptr);
        }
        SetDlgItemTextW(window_, IDOK, L"OK");
        // The lines under the logo, the second of them in Label3.
        SetDlgItemTextW(window_, idAboutLabel1 + 0, widen(kAboutLines[0]).c_str());
        SetDlgItemTextW(window_, idAboutLabel3, widen(kAboutLines[1]).c_str());
        for (int i = 1; i <= 3; ++i) SetDlgItemTextW(window_, idAboutLabel1 + i, widen(kAboutLines[i + 1]).c_str());
        SetDlgItemTextW(window_, idAboutLabel1 + kLinkIndex, widen(kManualCaption).c_str());
        layOut();
        Form_Load();
        // Beside the main window, as a dialog would open.
        RECT owner{};
        GetWindowRect(owner_.handle(), &owner);
        RECT box{};
        GetWindowRect(window_, &box);
        SetWindowPos(window_, nullptr, owner.left + ((owner.right - owner.left) - (box.right - box.left)) / 2,
                     owner.top + ((owner.bottom - owner.top) - (box.bottom - box.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
}

void frmAbout::close() {
    if (window_ != nullptr) DestroyWindow(window_);
}

void frmAbout::Form_Load() {
    SetWindowTextW(window_, widen(kAppTitle).c_str());
    SetDlgItemTextW(window_, idLblVersion, widen(versionLine()).c_str());
    SetDlgItemTextW(window_, idLblTitle, widen(kAppTitle).c_str());
}

// A link that does nothing would leave the user wondering: a manual that
// is missing or that nothing could open is said.
void frmAbout::Label1_Click(int index) {
    if (index != kLinkIndex) return;
    const std::wstring address = manualAddress();
    if (openAddress(address)) return;
    const bool missing = GetFileAttributesW(address.c_str()) == INVALID_FILE_ATTRIBUTES;
    const std::wstring text = widen(missing ? kManualMissing : kManualNotOpened) + address;
    MessageBoxW(window_, text.c_str(), widen(kAppTitle).c_str(), MB_OK | MB_ICONWARNING);
}

void frmAbout::layOut() {
    for (HFONT* font : {&font_, &titleFont_, &linkFont_}) {
        if (*font != nullptr) DeleteObject(*font);
    }
    font_ = messageFont(dpi_, 8);
    titleFont_ = messageFont(dpi_, 13, true);
    LOGFONTW underlined{};
    GetObjectW(font_, sizeof(underlined), &underlined);
    underlined.lfUnderline = TRUE;
    linkFont_ = CreateFontIndirectW(&underlined);
    for (const Place& place : kPlaces) {
        placeChild(window_, place.id, place.left, place.top, place.width, place.height, dpi_);
        const HFONT font = place.id == idLblTitle                   ? titleFont_
                           : place.id == idAboutLabel1 + kLinkIndex ? linkFont_
                                                                    : font_;
        SendDlgItemMessageW(window_, place.id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    const SIZE size = windowSize(kClientWidth, kClientHeight, kStyle, kExStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK frmAbout::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<frmAbout*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frmAbout*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        for (HFONT* font : {&self->font_, &self->titleFont_, &self->linkFont_}) {
            if (*font != nullptr) DeleteObject(*font);
            *font = nullptr;
        }
        self->owner_.aboutClosed();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT frmAbout::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case DM_GETDEFID: return MAKELRESULT(IDOK, DC_HASDEFID);
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            // OK is both the default and the cancel button: Enter and
            // Escape close the box too.
            if (id == IDOK || id == IDCANCEL) {
                close();
            } else if (id >= idAboutLabel1 && id <= idAboutLabel1 + kLinkIndex && HIWORD(wParam) == STN_CLICKED) {
                Label1_Click(id - idAboutLabel1);
            }
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(GetDlgItem(window_, IDOK));
            return 0;
        case WM_SETCURSOR:
            if (Form1::busyPointer()) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            if (LOWORD(lParam) == HTCLIENT &&
                GetDlgCtrlID(reinterpret_cast<HWND>(wParam)) == idAboutLabel1 + kLinkIndex) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_CTLCOLORSTATIC:
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == idAboutLabel1 + kLinkIndex) {
                auto dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, RGB(0, 0, 192));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID != UINT(idAboutImage1)) break;
            FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
            logo_.draw(item.hDC, item.rcItem);
            return TRUE;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            const int left = fromTwips(kLineLeft, dpi_);
            const int top = fromTwips(kLineTop, dpi_);
            const int right = left + fromTwips(kLineWidth, dpi_);
            const int thickness = std::max(1, MulDiv(1, int(dpi_), 96));
            RECT grey{left, top, right, top + thickness};
            RECT white{left, top + thickness, right, top + 2 * thickness};
            FillRect(dc, &grey, GetSysColorBrush(COLOR_BTNSHADOW));
            FillRect(dc, &white, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            EndPaint(window_, &paint);
            return 0;
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
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace ftvb::ui::win32
