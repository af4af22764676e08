// frmAbout: the application title, the version, the logo and the fixed
// lines of ui/about.h, one of them a link. It does not block the main
// window; there is one, and showing it again brings it to the front.
#pragma once

#include <windows.h>

#include <string>

namespace ftvb::ui::win32 {

class Form1;
class Picture;

// Hands the address to the shell's "open" without waiting for what opens
// it; true when the shell took it.
bool WebEmailOpen(const std::wstring& address);

// What the link opens: the manual beside the program, or the README there
// when there is no manual.
std::wstring manualAddress();

class frmAbout {
public:
    static constexpr const wchar_t* kClassName = L"ftvbAbout";

    frmAbout(Form1& owner, Picture& logo) : owner_(owner), logo_(logo) {}
    ~frmAbout() { close(); }
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

    // Loads the box if it is not loaded, and brings it to the front.
    void show();
    // Unloads it.
    void close();
    HWND handle() const { return window_; }

    void Label1_Click(int index);

    // Where a click on the link goes; tests catch the address here.
    static bool (*openAddress)(const std::wstring& address);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Form_Load();
    void layOut();

    Form1& owner_;
    Picture& logo_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HFONT titleFont_ = nullptr;
    HFONT linkFont_ = nullptr;
    UINT dpi_ = 96;
};

}  // namespace ftvb::ui::win32
