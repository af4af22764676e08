// ftvb: the window. Settings live in the user's MIRADOR_FTVB.ini.
#include <QApplication>

#include "ftvb/version.h"
#include "ui/qt/end_signals.h"
#include "ui/qt/form1.h"
#include "ui/qt/ini_settings_store.h"
#include "ui/qt/pictures.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ftvb"));
    QApplication::setApplicationVersion(QString::fromUtf8(ftvb::kVersionText));
    QApplication::setDesktopFileName(QStringLiteral("ftvb"));
    QApplication::setWindowIcon(ftvb::ui::qt::appIcon());

    ftvb::ui::qt::IniSettingsStore settings(ftvb::ui::qt::IniSettingsStore::userFileName());
    ftvb::ui::qt::Form1 window(settings);
    // A run ended by the session's end leaves no temporary file behind.
    ftvb::ui::qt::EndSignals ends;
    QObject::connect(&ends, &ftvb::ui::qt::EndSignals::ending, &window, [&window] { window.endProgram(); });
    window.load();
    window.show();
    const int status = QApplication::exec();
    // As ftvb-convert ends when interrupted.
    return ends.received() != 0 ? 130 : status;
}
