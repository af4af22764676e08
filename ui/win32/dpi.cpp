#include "ui/win32/dpi.h"

namespace ftvb::ui::win32 {
namespace {

// Looked up at run time: older systems lack them and fall back to one DPI
// for the whole screen.
template <typename Function>
Function user32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT dpiOf(HWND window) {
    static const auto forWindow = user32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr) {
        const UINT dpi = forWindow(window);
        if (dpi != 0) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : 96;
}

SIZE windowSize(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, UINT dpi) {
    RECT rect{0, 0, fromTwips(widthTwips, dpi), fromTwips(heightTwips, dpi)};
    static const auto adjust = user32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (adjust == nullptr || !adjust(&rect, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HFONT messageFont(UINT dpi, int points, bool bold) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    static const auto forDpi = user32<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
    if (forDpi == nullptr || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    }
    LOGFONTW font = metrics.lfMessageFont;
    // The layout's boxes were made for a small 8-point face.
    font.lfHeight = -MulDiv(points, int(dpi), 72);
    font.lfWidth = 0;
    if (bold) font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
}

void placeChild(HWND parent, int id, int left, int top, int width, int height, UINT dpi) {
    SetWindowPos(GetDlgItem(parent, id), nullptr, fromTwips(left, dpi), fromTwips(top, dpi), fromTwips(width, dpi),
                 fromTwips(height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ftvb::ui::win32
