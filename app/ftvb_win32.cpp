// ftvb.exe: the window on Windows. Settings live in the user's registry.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "ui/win32/form1.h"
#include "ui/win32/registry_settings_store.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // The pictures are decoded through COM, and the shell's "open" wants it.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    int code = 0;
    {
        ftvb::ui::win32::RegistrySettingsStore settings;
        ftvb::ui::win32::Form1 window(settings);
        window.load();
        window.show(showCommand);
        code = ftvb::ui::win32::Form1::runMessageLoop();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return code;
}
