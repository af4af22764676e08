// ftvb-window-bench -o MODULE FILE...
//
// Runs the conversion from the real window, offscreen: fills f2 with the
// files, presses Command3 and closes the end message. Prints the seconds
// from the press to the end message on standard output. Settings go to a
// temporary store, so the user's own are left alone.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "ui/qt/form1.h"
#include "ui/qt/ini_settings_store.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QString module;
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            module = QFile::decodeName(argv[++i]);
        } else {
            files << QFile::decodeName(argv[i]);
        }
    }
    if (module.isEmpty() || files.isEmpty()) {
        std::fputs("usage: ftvb-window-bench -o MODULE FILE...\n", stderr);
        return 2;
    }
    // The window makes its own folder current: name everything absolutely.
    module = QFileInfo(module).absoluteFilePath();
    for (QString& file : files) file = QFileInfo(file).absoluteFilePath();

    QApplication app(argc, argv);
    QTemporaryDir settingsFolder;
    ftvb::ui::qt::IniSettingsStore settings(settingsFolder.filePath(QStringLiteral("MIRADOR_FTVB.ini")));
    ftvb::ui::qt::Form1 window(settings);
    window.load();
    window.show();
    QApplication::processEvents();

    window.findChild<QLineEdit*>(QStringLiteral("b"))->setText(module);
    window.findChild<QListWidget*>(QStringLiteral("f2"))->addItems(files);

    QElapsedTimer clock;
    double seconds = -1;
    QString message;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (seconds < 0) seconds = clock.nsecsElapsed() / 1e9;
            message = box->text();
            box->accept();
        }
    });
    closer.start(1);
    clock.start();
    window.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    closer.stop();

    if (message != QLatin1String("End of Conversion")) {
        std::fprintf(stderr, "ftvb-window-bench: %s\n", qPrintable(message));
        return 1;
    }
    std::printf("%.3f\n", seconds);
    return 0;
}
