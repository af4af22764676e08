// ftvb-window-shot OUT.png en|fr
//
// Takes a picture of the real window, offscreen, for the README: a folder
// of made-up sources, two of them converted, caught while the end message
// is up so that the status boxes show the last statement and the count.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ui/qt/form1.h"
#include "ui/qt/ini_settings_store.h"
#include "ui/qt/widgets.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc != 3) {
        std::fputs("usage: ftvb-window-shot OUT.png en|fr\n", stderr);
        return 2;
    }
    const QString out = QFileInfo(QFile::decodeName(argv[1])).absoluteFilePath();
    const bool french = QByteArray(argv[2]) == "fr";

    QApplication app(argc, argv);
    QTemporaryDir work;
    const QString sources = work.filePath(QStringLiteral("solver"));
    QDir().mkpath(sources);
    for (const char* name : {"bandsolve.for", "linalg.for", "main.for", "norms.for", "report.for", "setup.for"}) {
        QFile file(sources + QLatin1Char('/') + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(
            "      SUBROUTINE TABLE(N)\n"
            "      INTEGER N, I\n"
            "      DO 10 I = 1, N\n"
            "         PRINT *, I, SQRT(REAL(I))\n"
            "   10 CONTINUE\n"
            "      END\n");
    }

    ftvb::ui::qt::IniSettingsStore settings(work.filePath(QStringLiteral("MIRADOR_FTVB.ini")));
    settings.write("langue", "langue", french ? "1" : "0");
    settings.write("access", "d0", sources.toStdString());
    settings.write("access", "f0", "solver.bas");
    ftvb::ui::qt::Form1 window(settings);
    window.load();
    window.show();
    // Let the folder tree read its folders in the background first.
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();

    auto* f1 = window.findChild<ftvb::ui::qt::FileNameList*>(QStringLiteral("f1"));
    for (const int row : {2, 0}) {
        f1->selectRow(row);
        window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    }
    bool saved = false;
    QTimer catcher;
    QObject::connect(&catcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            saved = window.grab().save(out);
            box->accept();
        }
    });
    catcher.start(5);
    window.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    return saved ? 0 : 1;
}
