// The settings store on a per-user INI file: sections are INI groups, every
// value a text, read back exactly as it was written, by the program or by a
// person (see IniText). Only a regular file is read or replaced: a FIFO or a
// device where the file should be means the defaults, and is left alone. A
// file that cannot be read gives the fallbacks; a write that cannot be saved
// still counts for the rest of this run.
#pragma once

#include <QString>

#include "ui/ini_text.h"
#include "ui/settings_store.h"

namespace ftvb::ui::qt {

class IniSettingsStore : public SettingsStore {
public:
    // The store of one INI file.
    explicit IniSettingsStore(const QString& fileName);

    // The user's store: MIRADOR_FTVB.ini in the user's configuration folder
    // ($XDG_CONFIG_HOME, else ~/.config, on Linux).
    static QString userFileName();

    std::string read(const std::string& section, const std::string& key, const std::string& fallback) override;
    void write(const std::string& section, const std::string& key, const std::string& value) override;

    QString fileName() const { return fileName_; }

private:
    QString fileName_;
    IniText text_;
};

}  // namespace ftvb::ui::qt
