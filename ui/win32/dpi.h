// Sizes at the window's DPI: the layout is given in twips (1/1440 inch),
// 15 to the pixel at 96 dots per inch. The program is per-monitor DPI aware:
// each window asks its own DPI and lays itself out again on WM_DPICHANGED.
#pragma once

#include <windows.h>

namespace ftvb::ui::win32 {

// The window's DPI, or the screen's where the system cannot say.
UINT dpiOf(HWND window);

inline int fromTwips(int twips, UINT dpi) { return MulDiv(twips, int(dpi), 1440); }

// The window size for a client area of the given twips.
SIZE windowSize(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, UINT dpi);

// The system's message font at the given point size.
HFONT messageFont(UINT dpi, int points, bool bold = false);

// Places a child by its control id.
void placeChild(HWND parent, int id, int left, int top, int width, int height, UINT dpi);

}  // namespace ftvb::ui::win32
