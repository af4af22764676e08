// The settings store in the user's part of the registry, where programs of
// this kind keep their settings, so that values an older installation left
// on the machine are found: each key a string value (REG_SZ) under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\MIRADOR_FTVB\<section>.
// A value that is missing, unreadable or not a string gives the fallback;
// a write that fails is dropped.
#pragma once

#include <string>

#include "ui/settings_store.h"

namespace ftvb::ui::win32 {

class RegistrySettingsStore : public SettingsStore {
public:
    // The store of the program; tests give another key under
    // HKEY_CURRENT_USER.
    RegistrySettingsStore();
    explicit RegistrySettingsStore(std::wstring base) : base_(std::move(base)) {}

    std::string read(const std::string& section, const std::string& key, const std::string& fallback) override;
    void write(const std::string& section, const std::string& key, const std::string& value) override;

    const std::wstring& base() const { return base_; }

private:
    std::wstring base_;
};

}  // namespace ftvb::ui::win32
