// ftvb-pictures FOLDER
//
// Writes the window's pictures, as the Qt window draws them, to PNG files
// for the Windows window's resources: the two flags and the logo, at four
// times their size at 96 DPI, which the Windows window scales down to its
// DPI. Run it again after a change to pictures.cpp and commit the files:
//   build/main/ftvb-pictures ui/win32/resources
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "ui/qt/pictures.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc != 2) {
        std::fputs("usage: ftvb-pictures FOLDER\n", stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QDir folder(QFile::decodeName(argv[1]));
    constexpr qreal kScale = 4.0;
    // The sizes at 96 DPI of ln and Image1 (480 and 2745 by 630 twips).
    const bool written = ftvb::ui::qt::unitedStatesFlag(QSize(32, 32), kScale).save(folder.filePath("flag-us.png")) &&
                         ftvb::ui::qt::frenchFlag(QSize(32, 32), kScale).save(folder.filePath("flag-fr.png")) &&
                         ftvb::ui::qt::logo(QSize(183, 42), kScale).save(folder.filePath("logo.png"));
    if (!written) std::fprintf(stderr, "ftvb-pictures: cannot write to '%s'\n", argv[1]);
    return written ? 0 : 1;
}
