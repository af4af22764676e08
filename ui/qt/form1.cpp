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
#include <optional>

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
    setFixedSize(twips.size(kForm1Width, kForm1Height));
    setWindowIcon(appIcon());
    // The layout's boxes were made for a small 8-point face.
    QFont small = font();
    small.setPointSizeF(kForm1FontPoints);
    setFont(small);

    makeControls(twips);

    // The built-in captions, until a language is applied.
    for (const TextRow& row : kCaptionTable) {
        if (row.control != Control::Form1) setCaption(row.control, row.english);
    }
    connectHandlers();
}

QWidget* Form1::makeControl(ControlKind kind) {
    switch (kind) {
        case ControlKind::label: return new QLabel(this);
        case ControlKind::link:
        case ControlKind::picture: {
            // Reached by Tab, after the other controls, and pressed by Space
            // or Enter; a click with the mouse leaves the focus where it was.
            auto* label = new ClickLabel(this);
            label->setFocusPolicy(Qt::TabFocus);
            return label;
        }
        case ControlKind::button: return new QPushButton(this);
        case ControlKind::checkBox: return new QCheckBox(this);
        case ControlKind::driveList: return new QComboBox(this);
        case ControlKind::folderTree: return new FolderTree(this);
        case ControlKind::fileList: return new FileNameList(this);
        case ControlKind::textBox: return new QLineEdit(this);
        case ControlKind::statusText: {
            auto* text = new QPlainTextEdit(this);
            text->setReadOnly(true);
            return text;
        }
        case ControlKind::statusLine: {
            auto* line = new QLineEdit(this);
            line->setReadOnly(true);
            return line;
        }
    }
    return nullptr;
}

void Form1::makeControls(const Twips& twips) {
    // Drive letters: a root such as "C:/" rather than "/".
    const bool drives = QDir::rootPath().size() >= 2 && QDir::rootPath().at(1) == QLatin1Char(':');
    for (const ControlLayout& control : kForm1Layout) {
        if (control.onlyWithDrives() && !drives) continue;
        QWidget* widget = makeControl(control.kind);
        controls_[std::size_t(control.part)] = widget;
        if (control.index >= 0) {
            widget->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(control.name)).arg(control.index));
            widget->setProperty("index", control.index);
        } else {
            widget->setObjectName(QLatin1String(control.name));
        }
        const TwipsRect place = placeOf(control, drives);
        twips.place(widget, place.left, place.top, place.width, place.height);
        if (control.handCursor()) widget->setCursor(Qt::PointingHandCursor);
        if (control.textColour) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText,
                             QColor(control.textColour->red, control.textColour->green, control.textColour->blue));
            widget->setPalette(palette);
        }
        if (control.hiddenWhenIdle()) widget->hide();
    }
    // Made, and stacked, in the table's order; Tab keeps this window's own.
    QWidget* previous = nullptr;
    for (const Part part : kQtTabOrder) {
        QWidget* next = controls_[std::size_t(part)];
        if (next == nullptr) continue;
        if (previous != nullptr) setTabOrder(previous, next);
        previous = next;
    }

    Command1 = made<QPushButton>(Part::Command1);
    Command2 = made<QPushButton>(Part::Command2);
    Command3 = made<QPushButton>(Part::Command3);
    Command4 = made<QPushButton>(Part::Command4);
    Command5 = made<QPushButton>(Part::Command5);
    Command6 = made<QPushButton>(Part::Command6);
    Command7 = made<QPushButton>(Part::Command7);
    for (const Part part : {Part::Label1_0, Part::Label1_1, Part::Label1_2}) {
        Label1[int(part) - int(Part::Label1_0)] = made<QLabel>(part);
    }
    Label3 = made<ClickLabel>(Part::Label3);
    Drive1 = made<QComboBox>(Part::Drive1);
    ext = made<QLineEdit>(Part::ext);
    Dir1 = made<FolderTree>(Part::Dir1);
    f1 = made<FileNameList>(Part::f1);
    f2 = made<FileNameList>(Part::f2);
    b = made<QLineEdit>(Part::b);
    Check1 = made<QCheckBox>(Part::Check1);
    tt = made<QPlainTextEdit>(Part::tt);
    ccpt = made<QLineEdit>(Part::ccpt);
    ln[0] = made<ClickLabel>(Part::ln0);
    ln[1] = made<ClickLabel>(Part::ln1);
    Image1 = made<ClickLabel>(Part::Image1);

    if (Drive1 != nullptr) {
        for (const QFileInfo& drive : QDir::drives()) Drive1->addItem(QDir::toNativeSeparators(drive.filePath()));
        const int current = Drive1->findText(QDir::currentPath().left(1), Qt::MatchStartsWith);
        if (current >= 0) Drive1->setCurrentIndex(current);
    }
    ext->installEventFilter(this);
    Dir1->setPath(QDir::currentPath());
    ln[0]->setPixmap(unitedStatesFlag(ln[0]->size(), devicePixelRatioF()));
    ln[1]->setPixmap(frenchFlag(ln[1]->size(), devicePixelRatioF()));
    Image1->setPixmap(logo(Image1->size(), devicePixelRatioF()));
}

void Form1::connectHandlers() {
    if (Drive1 != nullptr) {
        connect(Drive1, &QComboBox::currentIndexChanged, this, [this] {
            if (!settingDrive_) logic_.Drive1_Change();
        });
    }
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
    for (int i = 0; i < 2; ++i) connect(ln[i], &ClickLabel::clicked, this, [this, i] { logic_.ln_Click(i); });
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
        // Switching to another program or opening a menu takes the focus
        // out of the window's controls.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool outside = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        logic_.ext_LostFocus(outside ? FocusGoes::elsewhere : FocusGoes::toThisWindow);
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* Form1::widgetOf(Control control) const {
    if (control == Control::Form1) return const_cast<Form1*>(this);
    const std::optional<Part> part = partOf(control);
    return part ? controls_[std::size_t(*part)] : nullptr;
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
    if (logic_.leavingPattern()) {
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
