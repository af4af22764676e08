#include "ui/win32/registry_settings_store.h"

#include <windows.h>

#include "ui/win32/wide.h"

namespace ftvb::ui::win32 {

RegistrySettingsStore::RegistrySettingsStore()
    : base_(L"Software\\VB and VBA Program Settings\\" + widen(kApplication)) {}

std::string RegistrySettingsStore::read(const std::string& section, const std::string& key,
                                        const std::string& fallback) {
    const std::wstring subkey = base_ + L'\\' + widen(section);
    const std::wstring name = widen(key);
    std::wstring value;
    // The value may grow between asking its size and reading it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = 0;
        LSTATUS status =
            RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
        if (status != ERROR_SUCCESS) return fallback;
        value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = DWORD(value.size() * sizeof(wchar_t));
        status =
            RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return fallback;
        // RegGetValueW ends the text with one NUL, counted in the bytes.
        value.resize(bytes / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0') value.pop_back();
        return narrow(value);
    }
    return fallback;
}

void RegistrySettingsStore::write(const std::string& section, const std::string& key, const std::string& value) {
    const std::wstring subkey = base_ + L'\\' + widen(section);
    const std::wstring text = widen(value);
    RegSetKeyValueW(HKEY_CURRENT_USER, subkey.c_str(), widen(key).c_str(), REG_SZ, text.c_str(),
                    DWORD((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace ftvb::ui::win32
