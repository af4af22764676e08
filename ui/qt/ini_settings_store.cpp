#include "ui/qt/ini_settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <optional>

#include "engine/files.h"

namespace ftvb::ui::qt {
namespace {

// Far more than any settings file; a bigger file is not one.
constexpr off_t kLargest = 1 << 20;

// Opened without waiting: opening a FIFO waits for a writer otherwise.
std::optional<std::string> readRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<std::string> text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kLargest) {
        text.emplace();
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0 && text->size() + std::size_t(n) <= std::size_t(kLargest)) {
                text->append(buffer, std::size_t(n));
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                if (n != 0) text.reset();
                break;
            }
        }
    }
    ::close(fd);
    return text;
}

// Whole or not at all, as a module is written: a temporary file beside it,
// renamed over it (through a link, over the file it names). Anything but a
// regular file (a FIFO, a device, a folder) is left alone.
void replaceFile(const std::string& name, const std::string& text) {
    struct stat st {};
    if (::stat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return;
    QDir().mkpath(QFileInfo(QFile::decodeName(name.c_str())).absolutePath());
    // A store's write has no way to report a failure: a setting that cannot
    // be saved is simply not there the next time.
    static_cast<void>(writeWholeFile(name, text));
}

}  // namespace

IniSettingsStore::IniSettingsStore(const QString& fileName) : fileName_(fileName) {
    if (auto text = readRegularFile(QFile::encodeName(fileName_).toStdString())) text_ = IniText(*text);
}

QString IniSettingsStore::userFileName() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return folder + QLatin1Char('/') + QLatin1String(kApplication) + QLatin1String(".ini");
}

std::string IniSettingsStore::read(const std::string& section, const std::string& key, const std::string& fallback) {
    return text_.value(section, key).value_or(fallback);
}

void IniSettingsStore::write(const std::string& section, const std::string& key, const std::string& value) {
    const std::string path = QFile::encodeName(fileName_).toStdString();
    // What the file holds now, which a person or another window may have
    // changed since: one value is set, the rest is kept.
    if (auto text = readRegularFile(path)) text_ = IniText(*text);
    text_.set(section, key, value);
    replaceFile(path, text_.text());
}

}  // namespace ftvb::ui::qt
