// The settings store on a per-user INI file: sections are INI groups, every
// value a string. A file that cannot be read gives the fallbacks, a write
// that cannot be saved still counts for the rest of this run.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

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
    std::unique_ptr<QSettings> settings_;
};

}  // namespace ftvb::ui::qt
