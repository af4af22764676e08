// The real window, offscreen: choosing a folder, moving files, running,
// the messages, the languages and the About box.
#include <fcntl.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>

#include "engine/run.h"
#include "ui/captions.h"
#include "ui/form1_layout.h"
#include "ui/qt/about_box.h"
#include "ui/qt/form1.h"
#include "ui/qt/ini_settings_store.h"
#include "ui/qt/widgets.h"

using namespace ftvb::ui;
using namespace ftvb::ui::qt;

// Catches what the About box hands to the desktop's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void choosesAFolderAndListsItsSourcesOnly();
    void patternsMatchWithoutRegardToCase_data();
    void patternsMatchWithoutRegardToCase();
    void choosingAFolderLeavesTheTreeWhereItIs_data();
    void choosingAFolderLeavesTheTreeWhereItIs();
    void convertsTheFilesToConvertAndSaysSo();
    void listsAndConvertsNamesThatAreNotUtf8();
    void reportsAModuleThatCannotBeWritten();
    void speaksFrenchAfterAFlagClick();
    void showsOneAboutBoxAtATime();
    void anotherWindowTakingTheFocusKeepsTheFilesToConvert();
    void passingThroughThePatternBoxKeepsTheFilesToConvert();
    void theFlagsAndTheLogoAnswerTheKeyboard();
    void exitSavesTheWindowState();
    void placesEveryControlAsTheLayoutSays();

private:
    template <typename T>
    T* child(const char* name) const {
        T* found = window_->findChild<T*>(QLatin1String(name));
        if (found == nullptr) qFatal("no control %s", name);
        return found;
    }
    QStringList entries(const char* list) const;
    // What the engine writes on its own for these files of the sources.
    QByteArray directConversion(const std::vector<std::string>& names) const;
    void chooseFolder(const QString& path);
    void click(const char* name) { QTest::mouseClick(child<QWidget>(name), Qt::LeftButton); }

    // Presses the button and closes the message box it brings up, noting
    // what the window showed while the box was up.
    struct Caught {
        QString text;
        QString count;
        bool boxesShown = false;
    };
    Caught pressAndCatch(const char* button);

    QString originalFolder_;
    std::unique_ptr<QTemporaryDir> sources_;
    std::unique_ptr<QTemporaryDir> config_;
    std::unique_ptr<IniSettingsStore> settings_;
    std::unique_ptr<Form1> window_;
};

void WindowTest::init() {
    originalFolder_ = QDir::currentPath();
    sources_ = std::make_unique<QTemporaryDir>();
    config_ = std::make_unique<QTemporaryDir>();
    const QDir folder(sources_->path());
    const std::pair<const char*, const char*> files[] = {
        {"a.for", "      program main\n      x = 1\n      end\n"},
        {"B.FOR", "      subroutine s(y)\n      y = 2\n      end\n"},
        {"notes.txt", "not fortran\n"},
        {".hidden.for", "      z = 3\n"},
    };
    for (const auto& [name, text] : files) {
        QFile file(folder.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QVERIFY(folder.mkdir(QStringLiteral("folder.for")));

    settings_ = std::make_unique<IniSettingsStore>(config_->filePath(QStringLiteral("MIRADOR_FTVB.ini")));
    window_ = std::make_unique<Form1>(*settings_);
    window_->load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void WindowTest::cleanup() {
    window_.reset();
    QDir::setCurrent(originalFolder_);
}

QStringList WindowTest::entries(const char* list) const {
    QStringList names;
    const auto* widget = child<FileNameList>(list);
    for (int i = 0; i < widget->count(); ++i) names << widget->text(i);
    return names;
}

static QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray WindowTest::directConversion(const std::vector<std::string>& names) const {
    const std::string folder = QFile::encodeName(sources_->path()).toStdString();
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(folder + "/" + name);
    ftvb::RunObserver quiet;
    const ftvb::RunResult result = ftvb::runConversion(folder + "/direct.bas", ftvb::NameList(paths), quiet);
    if (!result.moduleWritten) return "<not written>";
    return contents(sources_->path() + QStringLiteral("/direct.bas"));
}

// As the user does: a click on the folder in the tree.
void WindowTest::chooseFolder(const QString& path) {
    auto* tree = child<FolderTree>("Dir1");
    tree->setCurrentIndex(tree->indexOf(path));
    QCoreApplication::processEvents();
}

WindowTest::Caught WindowTest::pressAndCatch(const char* button) {
    Caught caught;
    QTimer timer;
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            caught.text = box->text();
            caught.count = child<QLineEdit>("ccpt")->text();
            caught.boxesShown = child<QPlainTextEdit>("tt")->isVisible() && child<QLineEdit>("ccpt")->isVisible();
            box->accept();
        }
    });
    timer.start();
    click(button);
    timer.stop();
    return caught;
}

void WindowTest::choosesAFolderAndListsItsSourcesOnly() {
    QCOMPARE(child<FolderTree>("Dir1")->path(), QDir::rootPath());
    chooseFolder(sources_->path());
    QCOMPARE(child<FolderTree>("Dir1")->path(), QDir::toNativeSeparators(sources_->path()));
    QCOMPARE(QDir::currentPath(), QDir(sources_->path()).canonicalPath());
    QCOMPARE(entries("f1"), QStringList({"a.for", "B.FOR"}));

    child<QLineEdit>("ext")->setText(QStringLiteral("*.TXT; *.for"));
    click("Command7");
    QCOMPARE(entries("f1"), QStringList({"a.for", "B.FOR", "notes.txt"}));
}

void WindowTest::patternsMatchWithoutRegardToCase_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("listed");
    const QString ete = QStringLiteral("\u00e9t\u00e9.for");
    const QString eteUpper = QStringLiteral("\u00c9T\u00c9.txt");
    const QString re = QStringLiteral("r\u00e9.for");
    QTest::newRow("*.for") << "*.for" << QStringList{"a.for", "B.FOR", "d.FoR", re, "x1.for", "x12.for", ete};
    QTest::newRow("one character") << "x?.for" << QStringList{"x1.for"};
    QTest::newRow("one accented character") << "R?.FOR" << QStringList{re};
    QTest::newRow("accented letters in either case") << QStringLiteral("\u00c9*") << QStringList{ete, eteUpper};
    QTest::newRow("a set") << "[ab].for" << QStringList{"a.for", "B.FOR"};
    QTest::newRow("two patterns") << "*.txt;?.f" << QStringList{"c.f", "notes.txt", eteUpper};
    QTest::newRow("nothing") << "*.src" << QStringList{};
}

// Sorted as shown, ignoring case; r\xE9.for is Latin-1 on disk.
void WindowTest::patternsMatchWithoutRegardToCase() {
    QFETCH(QString, pattern);
    QFETCH(QStringList, listed);
    const QDir folder(sources_->path() + QStringLiteral("/patterns"));
    QVERIFY(folder.mkpath(folder.path()));
    const QStringList names{"a.for",
                            "B.FOR",
                            "c.f",
                            "d.FoR",
                            "x1.for",
                            "x12.for",
                            "notes.txt",
                            QStringLiteral("\u00e9t\u00e9.for"),
                            QStringLiteral("\u00c9T\u00c9.txt")};
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const int fd = ::open((QFile::encodeName(folder.path()) + "/r\xE9.for").constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);

    chooseFolder(folder.path());
    child<QLineEdit>("ext")->setText(pattern);
    click("Command7");
    QCOMPARE(entries("f1"), listed);
}

void WindowTest::choosingAFolderLeavesTheTreeWhereItIs_data() {
    QTest::addColumn<bool>("lastRow");
    QTest::newRow("a folder in the middle") << false;
    QTest::newRow("the folder cut off at the bottom") << true;
}

// The next click must land where the user sees it will, even when the file
// system changes meanwhile (other programs make folders too).
void WindowTest::choosingAFolderLeavesTheTreeWhereItIs() {
    QFETCH(bool, lastRow);
    const QDir folder(sources_->path());
    for (int i = 0; i < 40; ++i) QVERIFY(folder.mkdir(QStringLiteral("d%1").arg(i, 2, 10, QLatin1Char('0'))));
    auto* tree = child<FolderTree>("Dir1");
    QVERIFY(tree->setPath(sources_->path()));
    const QModelIndex parent = tree->indexOf(sources_->path());
    tree->expand(parent);
    QTRY_COMPARE(tree->model()->rowCount(parent), 41);
    QTest::qWait(500);
    tree->scrollTo(tree->indexOf(folder.filePath(QStringLiteral("d05"))), QAbstractItemView::PositionAtTop);

    const QRect viewport = tree->viewport()->rect();
    QPoint at = tree->visualRect(tree->indexOf(folder.filePath(QStringLiteral("d08")))).center();
    if (lastRow) {
        at = QPoint(at.x(), viewport.bottom() - 2);
        QVERIFY(!viewport.contains(tree->visualRect(tree->indexAt(at))));
    }
    const QString chosen = tree->indexAt(at).data().toString();
    const int scrolled = tree->verticalScrollBar()->value();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTRY_COMPARE(QDir::currentPath(), QDir(folder.filePath(chosen)).canonicalPath());
    QVERIFY(folder.mkdir(QStringLiteral("made-meanwhile")));
    QTest::qWait(1500);
    QCOMPARE(tree->verticalScrollBar()->value(), scrolled);
    QCOMPARE(tree->indexAt(at).data().toString(), chosen);
}

void WindowTest::convertsTheFilesToConvertAndSaysSo() {
    chooseFolder(sources_->path());
    click("Command5");
    QCOMPARE(entries("f2"), QStringList({"a.for", "B.FOR"}));
    QCOMPARE(entries("f1"), QStringList());
    child<QLineEdit>("b")->setText(QStringLiteral("out.bas"));

    const Caught caught = pressAndCatch("Command3");
    QCOMPARE(caught.text, QStringLiteral("End of Conversion"));
    QCOMPARE(caught.count, QStringLiteral("6 lines"));
    QVERIFY(caught.boxesShown);
    QVERIFY(!child<QPlainTextEdit>("tt")->isVisible());
    QVERIFY(!child<QLineEdit>("ccpt")->isVisible());

    const QByteArray module = contents(QDir(sources_->path()).filePath("out.bas"));
    QVERIFY(module.startsWith("'       \r\nSub  main\r\n"));
    QCOMPARE(module, directConversion({"a.for", "B.FOR"}));

    // Checked, the same list goes through the finisher.
    auto* check = child<QCheckBox>("Check1");
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(check->height() / 2, check->height() / 2));
    QVERIFY(check->isChecked());
    QCOMPARE(pressAndCatch("Command3").text, QStringLiteral("End of Conversion"));
    QVERIFY(contents(QDir(sources_->path()).filePath("out.bas")).startsWith("Attribute VB_Name = \"out\"\r\n"));
}

// r\xE9sum\xE9.for: "r\u00e9sum\u00e9.for" as an older system wrote it, in Latin-1.
void WindowTest::listsAndConvertsNamesThatAreNotUtf8() {
    const QByteArray latin1 = QFile::encodeName(sources_->path()) + "/r\xE9sum\xE9.for";
    const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    const char text[] = "      subroutine r\xE9sum\xE9\n      end\n";
    QCOMPARE(::write(fd, text, sizeof text - 1), qint64(sizeof text - 1));
    ::close(fd);

    chooseFolder(sources_->path());
    QCOMPARE(entries("f1"), QStringList({"a.for", "B.FOR", QStringLiteral("r\u00e9sum\u00e9.for")}));
    click("Command5");
    child<QLineEdit>("b")->setText(QStringLiteral("out.bas"));
    QCOMPARE(pressAndCatch("Command3").text, QStringLiteral("End of Conversion"));

    const QByteArray module = contents(QDir(sources_->path()).filePath("out.bas"));
    QVERIFY(module.contains("r\xE9sum\xE9"));
    QCOMPARE(module, directConversion({"a.for", "B.FOR", "r\xE9sum\xE9.for"}));
}

void WindowTest::reportsAModuleThatCannotBeWritten() {
    chooseFolder(sources_->path());
    click("Command5");
    child<QLineEdit>("b")->setText(QStringLiteral("missing/out.bas"));
    const Caught caught = pressAndCatch("Command3");
    QVERIFY2(caught.text.startsWith(QStringLiteral("The module 'missing/out.bas' could not be written: ")),
             qPrintable(caught.text));
    QVERIFY(!caught.text.contains(QStringLiteral("End of Conversion")));
}

void WindowTest::speaksFrenchAfterAFlagClick() {
    QCOMPARE(child<QPushButton>("Command3")->text(), QStringLiteral("Run !"));
    QCOMPARE(child<QPushButton>("Command3")->toolTip(), QStringLiteral("Execute the Conversion"));
    click("ln_1");

    const std::map<Control, const char*> names = {
        {Control::Command1, "Command1"},
        {Control::Command2, "Command2"},
        {Control::Command3, "Command3"},
        {Control::Command4, "Command4"},
        {Control::Command5, "Command5"},
        {Control::Command6, "Command6"},
        {Control::Command7, "Command7"},
        {Control::Label1_0, "Label1_0"},
        {Control::Label1_1, "Label1_1"},
        {Control::Label1_2, "Label1_2"},
        {Control::Label3, "Label3"},
        {Control::Drive1, "Drive1"},
        {Control::ext, "ext"},
        {Control::Dir1, "Dir1"},
        {Control::f1, "f1"},
        {Control::f2, "f2"},
        {Control::b, "b"},
        {Control::Check1, "Check1"},
    };
    auto caption = [&](Control control) {
        if (control == Control::Form1) return window_->windowTitle();
        QWidget* widget = child<QWidget>(names.at(control));
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
        return qobject_cast<QLabel*>(widget)->text();
    };
    for (const TextRow& row : kCaptionTable) QCOMPARE(caption(row.control), QString::fromUtf8(row.french));
    for (const TextRow& row : kToolTipTable) {
        if (row.control == Control::Drive1 && window_->findChild<QWidget*>("Drive1") == nullptr) continue;
        QCOMPARE(child<QWidget>(names.at(row.control))->toolTip(), QString::fromUtf8(row.french));
    }
    QCOMPARE(window_->windowTitle(), QStringLiteral("Convertisseur Fortran / VB"));
    QCOMPARE(child<QLabel>("Label1_1")->text(), QStringLiteral("Fichiers \u00e0 convertir :"));
    QCOMPARE(child<QWidget>("Command3")->toolTip(), QStringLiteral("Ex\u00e9cuter la Conversion"));

    chooseFolder(sources_->path());
    click("Command5");
    QCOMPARE(pressAndCatch("Command3").text, QStringLiteral("Fin de la conversion"));

    // The next start of the program speaks French from its first display.
    Form1 next(*settings_);
    next.load();
    next.show();
    QVERIFY(QTest::qWaitForWindowExposed(&next));
    QCOMPARE(next.findChild<QPushButton*>("Command4")->text(), QStringLiteral("Quitter"));

    click("ln_0");
    QCOMPARE(child<QPushButton>("Command4")->text(), QStringLiteral("Exit"));
}

void WindowTest::showsOneAboutBoxAtATime() {
    auto aboutBoxes = [] {
        QList<frmAbout*> boxes;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<frmAbout*>(widget); box != nullptr && box->isVisible()) boxes << box;
        }
        return boxes;
    };
    click("Label3");
    click("Label3");
    click("Image1");
    QCOMPARE(aboutBoxes().size(), 1);
    frmAbout* about = aboutBoxes().first();
    QCOMPARE(about->windowTitle(), QStringLiteral("ftvb"));
    QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version 2.2.2"));

    // True texts only: what the program is, its licence, and its manual.
    QStringList texts;
    for (const QLabel* label : about->findChildren<QLabel*>()) texts << label->text();
    const QString all = texts.join(QLatin1Char('\n'));
    QVERIFY2(all.contains(QStringLiteral("MIT")), qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("FORTRAN 77")), qPrintable(all));
    for (const char* madeUp : {"example", "Example", "Sampletown", "Road"}) {
        QVERIFY2(!all.contains(QLatin1String(madeUp)), qPrintable(all));
    }

    // The link opens the manual that is there: installed, built, or the
    // source tree's README.
    UrlCatcher catcher;
    for (const char* scheme : {"file", "http", "https"}) QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    for (const char* label : {"Label1_0", "Label1_3", "Label3", "Label1_4"}) {
        QTest::mouseClick(about->findChild<QWidget*>(label), Qt::LeftButton);
    }
    for (const char* scheme : {"file", "http", "https"}) QDesktopServices::unsetUrlHandler(scheme);
    QCOMPARE(catcher.urls.size(), 1);
    QVERIFY2(catcher.urls[0].isLocalFile() && QFileInfo::exists(catcher.urls[0].toLocalFile()),
             qPrintable(catcher.urls[0].toString()));

    // OK, Enter and Escape each close it; the next click opens a new one.
    const std::function<void(frmAbout*)> closers[] = {
        [](frmAbout* box) { QTest::mouseClick(box->findChild<QWidget*>("cmdOK"), Qt::LeftButton); },
        [](frmAbout* box) { QTest::keyClick(box, Qt::Key_Return); },
        [](frmAbout* box) { QTest::keyClick(box, Qt::Key_Escape); },
    };
    for (const auto& close : closers) {
        QCOMPARE(aboutBoxes().size(), 1);
        close(aboutBoxes().first());
        QTRY_COMPARE(aboutBoxes().size(), 0);
        click("Image1");
    }
}

void WindowTest::anotherWindowTakingTheFocusKeepsTheFilesToConvert() {
    chooseFolder(sources_->path());
    click("Command5");
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    child<QLineEdit>("ext")->setFocus();
    QVERIFY(child<QLineEdit>("ext")->hasFocus());
    click("Label3");
    QWidget* about = window_->findChild<frmAbout*>();
    QVERIFY(about != nullptr);
    about->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(about));
    QTRY_VERIFY(!child<QLineEdit>("ext")->hasFocus());
    QCOMPARE(entries("f2"), QStringList({"a.for", "B.FOR"}));
    about->close();
}

// A click into the pattern box, then Tab on to the module name: nothing
// new in the box, so the list built by hand stays.
void WindowTest::passingThroughThePatternBoxKeepsTheFilesToConvert() {
    chooseFolder(sources_->path());
    click("Command5");
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    auto* ext = child<QLineEdit>("ext");
    QTest::mouseClick(ext, Qt::LeftButton);
    QVERIFY(ext->hasFocus());
    child<QLineEdit>("b")->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!ext->hasFocus());
    QCOMPARE(entries("f2"), QStringList({"a.for", "B.FOR"}));
    // "Ok" applies it all the same.
    click("Command7");
    QCOMPARE(entries("f2"), QStringList());
}

void WindowTest::theFlagsAndTheLogoAnswerTheKeyboard() {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    auto* b = child<QLineEdit>("b");
    b->setFocus();
    QStringList reached;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget()->objectName();
    }
    // The check box under the module name comes with it.
    QCOMPARE(reached, QStringList({"Check1", "ln_0", "ln_1", "Image1"}));
    child<QWidget>("ln_1")->setFocus();
    QTest::keyClick(child<QWidget>("ln_1"), Qt::Key_Space);
    QCOMPARE(child<QPushButton>("Command4")->text(), QStringLiteral("Quitter"));
    child<QWidget>("ln_0")->setFocus();
    QTest::keyClick(child<QWidget>("ln_0"), Qt::Key_Return);
    QCOMPARE(child<QPushButton>("Command4")->text(), QStringLiteral("Exit"));
    for (const char* name : {"Image1", "Label3"}) {
        QVERIFY(child<QWidget>(name)->focusPolicy() & Qt::TabFocus);
        child<QWidget>(name)->setFocus();
        QTest::keyClick(child<QWidget>(name), Qt::Key_Enter);
        QVERIFY2(window_->findChild<frmAbout*>() != nullptr, name);
        window_->findChild<frmAbout*>()->close();
        QTRY_VERIFY(window_->findChild<frmAbout*>() == nullptr);
    }
}

void WindowTest::exitSavesTheWindowState() {
    chooseFolder(sources_->path());
    child<QLineEdit>("b")->setText(QStringLiteral("solver.bas"));
    // A pattern typed but not yet applied: pressing Exit takes the focus
    // from the box, which applies it first.
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    auto* ext = child<QLineEdit>("ext");
    ext->setFocus();
    ext->selectAll();
    QTest::keyClicks(ext, QStringLiteral("*.f"));
    child<QCheckBox>("Check1")->setChecked(true);
    click("Command4");
    QTRY_VERIFY(!window_->isVisible());

    QSettings saved(config_->filePath(QStringLiteral("MIRADOR_FTVB.ini")), QSettings::IniFormat);
    QCOMPARE(saved.value("access/f0").toString(), QStringLiteral("solver.bas"));
    QCOMPARE(saved.value("access/p0").toString(), QStringLiteral("*.f"));
    QCOMPARE(saved.value("access/u0").toString(), QString());
    QCOMPARE(saved.value("access/d0").toString(), QDir::toNativeSeparators(sources_->path()));
    QCOMPARE(saved.value("access/finish").toString(), QStringLiteral("1"));
}

// Each control where kForm1Layout puts it, at 15 twips to the pixel at 96
// dots per inch, with its pointer, colour, caption and Tab order.
void WindowTest::placesEveryControlAsTheLayoutSays() {
    const double pixelsPerTwip = window_->logicalDpiX() / 96.0 / 15.0;
    auto px = [&](int twips) { return int(std::lround(twips * pixelsPerTwip)); };
    QCOMPARE(window_->size(), QSize(px(kForm1Width), px(kForm1Height)));
    const bool drives = window_->findChild<QWidget*>(QStringLiteral("Drive1")) != nullptr;
    QCOMPARE(drives, QDir::rootPath().size() >= 2 && QDir::rootPath().at(1) == QLatin1Char(':'));

    QHash<int, QWidget*> widgets;  // by Part
    for (const ControlLayout& control : kForm1Layout) {
        const QString name = control.index >= 0 ? QStringLiteral("%1_%2").arg(control.name).arg(control.index)
                                                : QString::fromLatin1(control.name);
        auto* widget = window_->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        if (control.onlyWithDrives() && !drives) {
            QVERIFY2(widget == nullptr, qPrintable(name));
            continue;
        }
        QVERIFY2(widget != nullptr, qPrintable(name));
        widgets[int(control.part)] = widget;
        const TwipsRect place = placeOf(control, drives);
        QCOMPARE(widget->geometry(), QRect(px(place.left), px(place.top), px(place.width), px(place.height)));
        QVERIFY2(widget->isHidden() == control.hiddenWhenIdle(), qPrintable(name));
        const bool hand = widget->testAttribute(Qt::WA_SetCursor) && widget->cursor().shape() == Qt::PointingHandCursor;
        QVERIFY2(hand == control.handCursor(), qPrintable(name));
        const QColor text = widget->palette().color(QPalette::WindowText);
        if (control.textColour) {
            QCOMPARE(text, QColor(control.textColour->red, control.textColour->green, control.textColour->blue));
        } else {
            QCOMPARE(text, window_->palette().color(QPalette::WindowText));
        }
        for (const TextRow& row : kCaptionTable) {
            if (!control.control || row.control != *control.control) continue;
            const QVariant shown = widget->property("text");
            QVERIFY2(shown.isValid(), qPrintable(name));
            QCOMPARE(shown.toString(), QString::fromUtf8(row.english));
        }
    }

    QStringList want;
    for (const Part part : kQtTabOrder) {
        if (widgets.contains(int(part))) want << widgets[int(part)]->objectName();
    }
    QStringList chain;
    for (QWidget* at = window_->nextInFocusChain(); at != window_.get(); at = at->nextInFocusChain()) {
        if (at->parentWidget() == window_.get() && (at->focusPolicy() & Qt::TabFocus) != 0) chain << at->objectName();
        QVERIFY(chain.size() <= want.size());
    }
    QCOMPARE(chain, want);
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
