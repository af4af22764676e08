// ftvb-window-bench -o MODULE FILE...
// ftvb-window-bench --folder FOLDER
//
// The first form runs the conversion from the real window, offscreen: fills
// f2 with the files, presses Command3 and closes the end message. Prints the
// seconds from the press to the end message on standard output.
//
// The second starts the window on a private X display (Xvfb, as a desktop
// shows it; the offscreen platform hides what a folder of many files costs)
// with FOLDER as the folder of the last Exit, waits until it is shown with
// its source list filled and its events all handled, then closes and opens
// the folder in the tree again, and prints the seconds all that took. Exit
// status 77 when Xvfb is missing.
//
// Settings go to a temporary store, so the user's own are left alone.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <cstdio>
#include <cstring>

#include "ui/qt/form1.h"
#include "ui/qt/ini_settings_store.h"
#include "ui/qt/widgets.h"
#include "ui/qt/xvfb_server.h"

namespace {

// Handles events until a timer of no delay has fired: everything that was
// waiting has been handled by then.
void settle() {
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    while (!fired) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

int openFolder(int argc, char** argv, const QString& folder) {
    ftvb::ui::qt::XvfbServer server;
    if (const std::string why = server.start(); !why.empty()) {
        std::fprintf(stderr, "ftvb-window-bench: skipped: %s\n", why.c_str());
        return 77;
    }
    QApplication app(argc, argv);
    QTemporaryDir settingsFolder;
    ftvb::ui::qt::IniSettingsStore settings(settingsFolder.filePath(QStringLiteral("MIRADOR_FTVB.ini")));
    settings.write("access", "d0", QFileInfo(folder).absoluteFilePath().toStdString());

    QElapsedTimer clock;
    clock.start();
    ftvb::ui::qt::Form1 window(settings);
    window.load();
    window.show();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    settle();
    auto* tree = window.findChild<QTreeView*>(QStringLiteral("Dir1"));
    const QModelIndex shown = tree->currentIndex();
    tree->collapse(shown);
    tree->expand(shown);
    settle();
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;

    const auto* f1 = window.findChild<ftvb::ui::qt::FileNameList*>(QStringLiteral("f1"));
    std::fprintf(stderr, "ftvb-window-bench: %d files listed\n", f1->count());
    std::printf("%.3f\n", seconds);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--folder") == 0) return openFolder(argc, argv, QFile::decodeName(argv[2]));
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
        std::fputs("usage: ftvb-window-bench -o MODULE FILE...\n       ftvb-window-bench --folder FOLDER\n", stderr);
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
    auto* f2 = window.findChild<ftvb::ui::qt::FileNameList*>(QStringLiteral("f2"));
    for (const QString& file : files) f2->append(QFile::encodeName(file).toStdString());

    QElapsedTimer clock;
    double seconds = -1;
    QString message;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (seconds < 0) seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            message = box->text();
            box->accept();
        }
    });
    closer.start(1);
    clock.start();
    window.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    closer.stop();

    // The first line; a second one counts the places to look at.
    if (!message.startsWith(QLatin1String("End of Conversion")) || message.contains(QLatin1String("could not"))) {
        std::fprintf(stderr, "ftvb-window-bench: %s\n", qPrintable(message));
        return 1;
    }
    std::printf("%.3f\n", seconds);
    return 0;
}
