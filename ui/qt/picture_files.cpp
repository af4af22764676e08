// ftvb-pictures FOLDER
//
// Writes the window's pictures, as the Qt window draws them, to PNG files
// for the Windows window's resources: the two flags and the logo, at four
// times their size at 96 DPI, which the Windows window scales down to its
// DPI. Run it again after a change to pictures.cpp and commit the files:
//   build/main/ftvb-pictures ui/win32/resources
#include <QDir>
#include <QGuiApplication>
#include <cmath>
#include <cstdio>

#include "ui/form1_layout.h"
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
    // The sizes of ln and Image1 at 96 DPI, 15 twips to the pixel.
    auto size = [](ftvb::ui::Part part) {
        const ftvb::ui::TwipsRect place = ftvb::ui::layoutOf(part).place;
        return QSize(int(std::lround(place.width / 15.0)), int(std::lround(place.height / 15.0)));
    };
    using ftvb::ui::Part;
    const bool written = ftvb::ui::qt::unitedStatesFlag(size(Part::ln0), kScale).save(folder.filePath("flag-us.png")) &&
                         ftvb::ui::qt::frenchFlag(size(Part::ln1), kScale).save(folder.filePath("flag-fr.png")) &&
                         ftvb::ui::qt::logo(size(Part::Image1), kScale).save(folder.filePath("logo.png"));
    if (!written) std::fprintf(stderr, "ftvb-pictures: cannot write to '%s'\n", argv[1]);
    return written ? 0 : 1;
}
