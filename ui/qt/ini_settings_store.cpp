#include "ui/qt/ini_settings_store.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

namespace ftvb::ui::qt {
namespace {

QString keyPath(const std::string& section, const std::string& key) {
    return QString::fromUtf8(section) + QLatin1Char('/') + QString::fromUtf8(key);
}

}  // namespace

IniSettingsStore::IniSettingsStore(const QString& fileName)
    : fileName_(fileName), settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

QString IniSettingsStore::userFileName() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return folder + QLatin1Char('/') + QLatin1String(kApplication) + QLatin1String(".ini");
}

std::string IniSettingsStore::read(const std::string& section, const std::string& key, const std::string& fallback) {
    const QVariant value = settings_->value(keyPath(section, key));
    if (!value.isValid()) return fallback;
    // A value typed by hand with a comma in it comes back as a list; the
    // user meant the text.
    if (value.metaType().id() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(',')).toStdString();
    if (!value.canConvert<QString>()) return fallback;
    return value.toString().toStdString();
}

void IniSettingsStore::write(const std::string& section, const std::string& key, const std::string& value) {
    settings_->setValue(keyPath(section, key), QString::fromUtf8(value));
    // Lasting at once, as if the program could end at any moment after.
    settings_->sync();
}

}  // namespace ftvb::ui::qt
