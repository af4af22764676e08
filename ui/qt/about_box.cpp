#include "ui/qt/about_box.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "ui/about.h"
#include "ui/qt/geometry.h"
#include "ui/qt/pictures.h"
#include "ui/qt/widgets.h"

namespace ftvb::ui::qt {

namespace {

// The manual as the build names it: installed, built, and the README.
ManualPlaces manualPlaces() { return {FTVB_MANUAL_URL, FTVB_BUILT_MANUAL, FTVB_SOURCE_README}; }

bool exists(const std::string& path) { return QFileInfo::exists(QFile::decodeName(path.c_str())); }

}  // namespace

bool WebEmailOpen(const QString& address) { return QDesktopServices::openUrl(QUrl(address)); }

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    const Twips twips(this);
    setFixedSize(twips.size(5730, 4575));
    setWindowIcon(appIcon());
    QFont small = font();
    small.setPointSizeF(8.0);
    setFont(small);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    lblTitle->setFont(titleFont);
    twips.place(lblTitle, 1050, 240, 3885, 480);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    twips.place(lblVersion, 1050, 780, 3885, 225);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    twips.place(image, 1380, 1320, 2745, 630);
    image->setPixmap(logo(image->size(), devicePixelRatioF()));

    // The separator above the lines about the program: a grey line over a
    // white one.
    for (int i = 0; i < 2; ++i) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("Line1_%1").arg(i));
        line->setProperty("index", i);
        line->setFrameShape(QFrame::NoFrame);
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, i == 0 ? QColor(128, 128, 128) : QColor(Qt::white));
        line->setPalette(palette);
        line->setGeometry(twips.x(120), twips.y(2520) + i, twips.x(5490), 1);
    }

    const QString texts[5] = {
        QString::fromUtf8(kAboutLines[0]), QString::fromUtf8(kAboutLines[2]), QString::fromUtf8(kAboutLines[3]),
        QString::fromUtf8(kAboutLines[4]), QString::fromUtf8(kManualCaption),
    };
    const int tops[5] = {2640, 3240, 3540, 3840, 4200};
    for (int i = 0; i < 5; ++i) {
        auto* label = new ClickLabel(texts[i], this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setProperty("index", i);
        twips.place(label, 120, tops[i], 4035, 315);
        connect(label, &ClickLabel::clicked, this, [this, i] { Label1_Click(i); });
    }
    auto* web = findChild<QLabel*>(QStringLiteral("Label1_4"));
    web->setCursor(Qt::PointingHandCursor);
    QPalette palette = web->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    web->setPalette(palette);
    QFont underlined = web->font();
    underlined.setUnderline(true);
    web->setFont(underlined);

    auto* second = new QLabel(QString::fromUtf8(kAboutLines[1]), this);
    second->setObjectName(QStringLiteral("Label3"));
    twips.place(second, 120, 2940, 4035, 315);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    twips.place(cmdOK, 4305, 3165, 1260, 345);
    // Enter presses the default button; Escape closes a QDialog by itself.
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);

    Form_Load();
}

void frmAbout::Form_Load() {
    setWindowTitle(QString::fromUtf8(kAppTitle));
    lblVersion->setText(QString::fromStdString(versionLine()));
    lblTitle->setText(QString::fromUtf8(kAppTitle));
}

// A link that does nothing would leave the user wondering: a manual that
// is missing or that the desktop could not open is said.
void frmAbout::Label1_Click(int index) {
    if (index != 4) return;
    const QString address = QString::fromStdString(manualAddress(manualPlaces(), exists));
    const QUrl url(address);
    const bool missing = url.isLocalFile() && !QFileInfo::exists(url.toLocalFile());
    if (!missing && WebEmailOpen(address)) return;
    const QString place = url.isLocalFile() ? url.toLocalFile() : address;
    QMessageBox::warning(this, QString::fromUtf8(kAppTitle),
                         QString::fromUtf8(missing ? kManualMissing : kManualNotOpened) + place);
}

}  // namespace ftvb::ui::qt
