#include "ui/qt/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include "ui/captions.h"
#include "ui/cp1252.h"
#include "ui/qt/about_box.h"
#include "ui/qt/geometry.h"
#include "ui/qt/pictures.h"
#include "ui/qt/widgets.h"

namespace ftvb::ui::qt {
namespace {

QString qs(const std::string& text) { return QString::fromUtf8(text); }
std::string utf8(const QString& text) { return text.toStdString(); }

}  // namespace

Form1::Form1(SettingsStore& settings, QWidget* parent) : QWidget(parent), logic_(*this, settings) {
    setObjectName(QStringLiteral("Form1"));
    const Twips twips(this);
    setFixedSize(twips.size(10755, 8520));
    setWindowIcon(appIcon());
    // The layout's boxes were made for a small 8-point face.
    QFont small = font();
    small.setPointSizeF(8.0);
    setFont(small);

    makeButtonsAndLabels(twips);
    makeSelectors(twips);
    makeListsAndBoxes(twips);
    makePictures(twips);

    // The built-in captions, until a language is applied.
    for (const TextRow& row : kCaptionTable) {
        if (row.control != Control::Form1) setCaption(row.control, row.english);
    }
    connectHandlers();
}

void Form1::makeButtonsAndLabels(const Twips& twips) {
    auto button = [&](const char* name, int left, int top, int width, int height) {
        auto* pushButton = new QPushButton(this);
        pushButton->setObjectName(QLatin1String(name));
        twips.place(pushButton, left, top, width, height);
        return pushButton;
    };
    Command3 = button("Command3", 6240, 60, 1155, 315);
    Command4 = button("Command4", 8340, 60, 1155, 315);
    Command7 = button("Command7", 5280, 780, 435, 315);
    Command1 = button("Command1", 5940, 1440, 1515, 375);
    Command2 = button("Command2", 5940, 1980, 1515, 375);
    Command5 = button("Command5", 5940, 2520, 1515, 375);
    Command6 = button("Command6", 5940, 3060, 1515, 375);

    Label3 = new ClickLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    twips.place(Label3, 1320, 120, 2775, 255);
    Label3->setCursor(Qt::PointingHandCursor);
    QPalette red = Label3->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label3->setPalette(red);

    const int labelPlaces[3][4] = {{3360, 540, 3135, 255}, {7680, 900, 2355, 315}, {4080, 4200, 2415, 315}};
    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label1[i]->setProperty("index", i);
        twips.place(Label1[i], labelPlaces[i][0], labelPlaces[i][1], labelPlaces[i][2], labelPlaces[i][3]);
    }
}

void Form1::makeSelectors(const Twips& twips) {
    // Drive letters: a root such as "C:/" rather than "/".
    const QFileInfoList drives = QDir::drives();
    if (QDir::rootPath().size() >= 2 && QDir::rootPath().at(1) == QLatin1Char(':')) {
        Drive1 = new QComboBox(this);
        Drive1->setObjectName(QStringLiteral("Drive1"));
        twips.place(Drive1, 360, 780, 2895, 315);
        for (const QFileInfo& drive : drives) Drive1->addItem(QDir::toNativeSeparators(drive.filePath()));
        const int current = Drive1->findText(QDir::currentPath().left(1), Qt::MatchStartsWith);
        if (current >= 0) Drive1->setCurrentIndex(current);
        connect(Drive1, &QComboBox::currentIndexChanged, this, [this] {
            if (!settingDrive_) logic_.Drive1_Change();
        });
    }

    ext = new QLineEdit(this);
    ext->setObjectName(QStringLiteral("ext"));
    twips.place(ext, 3360, 780, 1815, 315);
    ext->installEventFilter(this);

    Dir1 = new FolderTree(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    // With no drive selector, the tree takes the drive selector's place too.
    if (Drive1 != nullptr) {
        twips.place(Dir1, 360, 1200, 2895, 2790);
    } else {
        twips.place(Dir1, 360, 780, 2895, 3210);
    }
    Dir1->setPath(QDir::currentPath());
}

void Form1::makeListsAndBoxes(const Twips& twips) {
    auto list = [&](const char* name, int left) {
        auto* names = new FileNameList(this);
        names->setObjectName(QLatin1String(name));
        twips.place(names, left, 1200, 2295, 2790);
        return names;
    };
    f1 = list("f1", 3360);
    f2 = list("f2", 7680);

    b = new QLineEdit(this);
    b->setObjectName(QStringLiteral("b"));
    twips.place(b, 6480, 4200, 3855, 315);

    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    twips.place(Check1, 6480, 4620, 3855, 255);

    tt = new QPlainTextEdit(this);
    tt->setObjectName(QStringLiteral("tt"));
    tt->setReadOnly(true);
    twips.place(tt, 360, 5160, 5595, 1815);
    tt->hide();

    ccpt = new QLineEdit(this);
    ccpt->setObjectName(QStringLiteral("ccpt"));
    ccpt->setReadOnly(true);
    twips.place(ccpt, 7020, 5580, 1575, 315);
    ccpt->hide();
}

void Form1::makePictures(const Twips& twips) {
    for (int i = 0; i < 2; ++i) {
        ln[i] = new ClickLabel(this);
        ln[i]->setObjectName(QStringLiteral("ln_%1").arg(i));
        ln[i]->setProperty("index", i);
        twips.place(ln[i], 6300, i == 0 ? 5220 : 5700, 480, 480);
        ln[i]->setCursor(Qt::PointingHandCursor);
        connect(ln[i], &ClickLabel::clicked, this, [this, i] { logic_.ln_Click(i); });
    }
    ln[0]->setPixmap(unitedStatesFlag(ln[0]->size(), devicePixelRatioF()));
    ln[1]->setPixmap(frenchFlag(ln[1]->size(), devicePixelRatioF()));

    Image1 = new ClickLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    twips.place(Image1, 6240, 6420, 2745, 630);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setPixmap(logo(Image1->size(), devicePixelRatioF()));

    // Reached by Tab, after the other controls, and pressed by Space or
    // Enter; a click with the mouse leaves the focus where it was.
    Label3->setFocusPolicy(Qt::TabFocus);
    for (ClickLabel* picture : {ln[0], ln[1], Image1}) picture->setFocusPolicy(Qt::TabFocus);
    setTabOrder(b, Check1);
    setTabOrder(Check1, ln[0]);
    setTabOrder(ln[0], ln[1]);
    setTabOrder(ln[1], Image1);
}

void Form1::connectHandlers() {
    connect(Command1, &QPushButton::clicked, this, [this] { logic_.Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { logic_.Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { logic_.Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { logic_.Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { logic_.Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { logic_.Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { logic_.Command7_Click(); });
    connect(ext, &QLineEdit::returnPressed, this, [this] { logic_.Command7_Click(); });
    connect(Label3, &ClickLabel::clicked, this, [this] { logic_.Label3_Click(); });
    connect(Image1, &ClickLabel::clicked, this, [this] { logic_.Image1_Click(); });
    // Queued: a folder that cannot be opened puts the tree back, which must
    // not happen inside the tree's own handling of the click.
    connect(
        Dir1, &FolderTree::pathChanged, this, [this] { logic_.Dir1_Change(); }, Qt::QueuedConnection);
}

Form1::~Form1() { delete about_; }

void Form1::load() { logic_.Form_Load(); }

bool Form1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) logic_.Form_Activate();
    return QWidget::event(event);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Some platforms never activate a window (no window manager, offscreen):
    // the first display applies the language all the same.
    if (!shown_) {
        shown_ = true;
        logic_.Form_Activate();
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    logic_.Form_Unload();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ext && event->type() == QEvent::FocusOut) {
        // Only a move to another control of the program applies the pattern:
        // switching to another program or opening a menu must not empty the
        // list of files to convert.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            const QScopedValueRollback leaving(leavingPattern_, true);
            logic_.ext_LostFocus();
        }
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* Form1::widgetOf(Control control) const {
    switch (control) {
        case Control::Form1: return const_cast<Form1*>(this);
        case Control::Command1: return Command1;
        case Control::Command2: return Command2;
        case Control::Command3: return Command3;
        case Control::Command4: return Command4;
        case Control::Command5: return Command5;
        case Control::Command6: return Command6;
        case Control::Command7: return Command7;
        case Control::Label1_0: return Label1[0];
        case Control::Label1_1: return Label1[1];
        case Control::Label1_2: return Label1[2];
        case Control::Label3: return Label3;
        case Control::Drive1: return Drive1;
        case Control::ext: return ext;
        case Control::Dir1: return Dir1;
        case Control::f1: return f1;
        case Control::f2: return f2;
        case Control::b: return b;
        case Control::Check1: return Check1;
    }
    return nullptr;
}

FileNameList* Form1::listOf(List list) const { return list == List::f1 ? f1 : f2; }

void Form1::listClear(List list) { listOf(list)->clear(); }

void Form1::listAdd(List list, const std::string& entry) { listOf(list)->append(entry); }

void Form1::listRemove(List list, int index) { listOf(list)->remove(index); }

int Form1::listCount(List list) const { return listOf(list)->count(); }

std::string Form1::listEntry(List list, int index) const { return listOf(list)->name(index); }

int Form1::listSelected(List list) const { return listOf(list)->selectedRow(); }

void Form1::listSelect(List list, int index) { listOf(list)->selectRow(index); }

bool Form1::fileListSetFolder(const std::string& folder) { return File1_.setFolder(qs(folder)); }

bool Form1::fileListSetPattern(const std::string& pattern) { return File1_.setPattern(qs(pattern)); }

std::string Form1::fileListPattern() const { return utf8(File1_.pattern()); }

bool Form1::fileListRefresh() { return File1_.refresh(); }

int Form1::fileListCount() const { return int(File1_.names().size()); }

std::string Form1::fileListName(int index) const {
    return index >= 0 && index < fileListCount() ? File1_.names()[std::size_t(index)] : std::string();
}

std::string Form1::dirPath() const { return utf8(Dir1->path()); }

bool Form1::dirSetPath(const std::string& path) { return Dir1->setPath(qs(path)); }

// The model watches the file system itself.
void Form1::dirRefresh() {}

bool Form1::hasDrives() const { return Drive1 != nullptr; }

std::string Form1::drive() const { return Drive1 != nullptr ? utf8(Drive1->currentText()) : std::string(); }

bool Form1::driveSet(const std::string& drive) {
    if (Drive1 == nullptr || drive.empty()) return false;
    const int index = Drive1->findText(qs(drive.substr(0, 1)), Qt::MatchStartsWith);
    if (index < 0) return false;
    settingDrive_ = true;
    Drive1->setCurrentIndex(index);
    settingDrive_ = false;
    return true;
}

bool Form1::setCurrentFolder(const std::string& folder) { return !folder.empty() && QDir::setCurrent(qs(folder)); }

// A drive alone ("d:") is that drive's current folder.
bool Form1::setCurrentDrive(const std::string& drive) {
    return Drive1 != nullptr && !drive.empty() && QDir::setCurrent(qs(drive.substr(0, 1)) + QLatin1Char(':'));
}

std::string Form1::currentFolder() const { return utf8(QDir::toNativeSeparators(QDir::currentPath())); }

std::string Form1::toFileSystem(const std::string& name) const { return QFile::encodeName(qs(name)).toStdString(); }

std::string Form1::fromFileSystem(const std::string& name) const { return fileNameForDisplay(name); }

std::string Form1::text(Box box) const {
    switch (box) {
        case Box::ext: return utf8(ext->text());
        case Box::b: return utf8(b->text());
        case Box::tt: return utf8(tt->toPlainText());
        case Box::ccpt: return utf8(ccpt->text());
    }
    return {};
}

void Form1::setText(Box box, const std::string& text) {
    switch (box) {
        case Box::ext: ext->setText(qs(text)); break;
        case Box::b: b->setText(qs(text)); break;
        case Box::tt: tt->setPlainText(qs(text)); break;
        case Box::ccpt: ccpt->setText(qs(text)); break;
    }
}

void Form1::showBox(Box box, bool visible) {
    switch (box) {
        case Box::ext: ext->setVisible(visible); break;
        case Box::b: b->setVisible(visible); break;
        case Box::tt: tt->setVisible(visible); break;
        case Box::ccpt: ccpt->setVisible(visible); break;
    }
}

bool Form1::finishChecked() const { return Check1->isChecked(); }

void Form1::setFinishChecked(bool checked) { Check1->setChecked(checked); }

void Form1::setCaption(Control control, const std::string& caption) {
    QWidget* widget = widgetOf(control);
    if (widget == this) {
        setWindowTitle(qs(caption));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(qs(caption));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(qs(caption));
    }
}

void Form1::setToolTipOf(Control control, const std::string& tip) {
    if (QWidget* widget = widgetOf(control)) widget->setToolTip(qs(tip));
}

void Form1::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

bool Form1::statusDue() { return status_.due(); }

void Form1::yield() {
    // The focus leaves the pattern box when a press lands on a button, before
    // the button sees the press. A release already queued (a tap, a remote
    // desktop, an automation tool) must wait until the press is through, or
    // the button never sees its click and stays drawn pressed.
    if (leavingPattern_) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    if (logic_.running() && !events_.due()) return;
    QCoreApplication::processEvents();
}

void Form1::message(const std::string& text, MessageKind kind) {
    QMessageBox box(kind == MessageKind::warning ? QMessageBox::Warning : QMessageBox::Information,
                    QGuiApplication::applicationDisplayName(), qs(text), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("message"));
    const QScopedValueRollback shown(message_, &box);
    box.exec();
}

void Form1::endProgram() {
    // A message still up would keep the program waiting for a user who is
    // leaving.
    if (message_ != nullptr) message_->done(QMessageBox::Ok);
    logic_.endProgram();
}

void Form1::showAbout() {
    if (about_ == nullptr) {
        about_ = new frmAbout(this);
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void Form1::quit() {
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

}  // namespace ftvb::ui::qt
