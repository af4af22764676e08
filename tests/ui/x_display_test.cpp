// The real window on a real X display (a private Xvfb): what the offscreen
// platform hides. A folder of many files must not freeze the window, and a
// click whose press and release arrive together must not be lost. Skipped,
// and counted as skipped, where Xvfb is not installed.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <csignal>
#include <cstdio>
#include <memory>

#include "ui/qt/form1.h"
#include "ui/qt/ini_settings_store.h"
#include "ui/qt/widgets.h"
#include "ui/qt/xvfb_server.h"

using namespace ftvb::ui::qt;

namespace {

// ctest counts this exit status as a skip.
constexpr int kSkipped = 77;

// Far beyond what the window needs (well under a second each) and far
// below what the freezes cost (tens of seconds for these folders).
constexpr qint64 kOpenBoundMs = 10000;
constexpr qint64 kStallBoundMs = 3000;

// The longest the event loop went without turning over, in the given time:
// a timer that should fire every 20 ms notes the widest gap between shots.
qint64 longestStall(int forMs) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 widest = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        widest = std::max(widest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    beat.start(20);
    while (clock.elapsed() < forMs) QTest::qWait(20);
    return std::max(widest, clock.elapsed() - last);
}

}  // namespace

class XDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aFolderOfManyFilesOpensAtOnce();
    void aSignalEndsTheProgramAsExitWould_data();
    void aSignalEndsTheProgramAsExitWould();
    void aClickThatLeavesThePatternBoxIsKept_data();
    void aClickThatLeavesThePatternBoxIsKept();

private:
    void open(const QString& folder);
    template <typename T>
    T* child(const char* name) const {
        T* found = window_->findChild<T*>(QLatin1String(name));
        if (found == nullptr) qFatal("no control %s", name);
        return found;
    }
    void runAndCloseTheMessage();

    QString originalFolder_;
    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<IniSettingsStore> settings_;
    std::unique_ptr<Form1> window_;
};

void XDisplayTest::init() {
    originalFolder_ = QDir::currentPath();
    work_ = std::make_unique<QTemporaryDir>();
    settings_ = std::make_unique<IniSettingsStore>(work_->filePath(QStringLiteral("MIRADOR_FTVB.ini")));
}

void XDisplayTest::cleanup() {
    window_.reset();
    settings_.reset();
    work_.reset();
    QDir::setCurrent(originalFolder_);
}

// Start-up on a saved folder, as a user's next start of the program.
void XDisplayTest::open(const QString& folder) {
    settings_->write("access", "d0", folder.toStdString());
    window_ = std::make_unique<Form1>(*settings_);
    window_->load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void XDisplayTest::runAndCloseTheMessage() {
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    closer.start(10);
    child<QPushButton>("Command3")->click();
}

void XDisplayTest::aFolderOfManyFilesOpensAtOnce() {
    constexpr int kFiles = 10000;
    const QString folder = work_->filePath(QStringLiteral("many"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub")));
    for (int i = 0; i < kFiles; ++i) {
        QFile file(folder + QStringLiteral("/f%1.for").arg(i, 5, 10, QLatin1Char('0')));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("      x = 1\n");
    }

    QElapsedTimer clock;
    clock.start();
    open(folder);
    const qint64 opened = clock.elapsed();
    QVERIFY2(opened < kOpenBoundMs, qPrintable(QStringLiteral("the window took %1 ms to open").arg(opened)));
    QCOMPARE(child<FileNameList>("f1")->count(), kFiles);
    const qint64 afterOpening = longestStall(1000);
    QVERIFY2(afterOpening < kStallBoundMs,
             qPrintable(QStringLiteral("the window froze %1 ms after opening").arg(afterOpening)));

    // Opening the folder again in the tree reads it again.
    auto* tree = child<QTreeView>("Dir1");
    const QModelIndex shown = tree->currentIndex();
    QVERIFY(shown.isValid());
    tree->collapse(shown);
    clock.restart();
    tree->expand(shown);
    const qint64 expanding = clock.elapsed() + longestStall(1000);
    QVERIFY2(expanding < kStallBoundMs, qPrintable(QStringLiteral("expanding froze %1 ms").arg(expanding)));

    // A run writing its module there: a temporary file, then a rename.
    child<FileNameList>("f1")->selectRow(0);
    child<QPushButton>("Command1")->click();
    clock.restart();
    runAndCloseTheMessage();
    const qint64 running = clock.elapsed() + longestStall(1000);
    QVERIFY(QFile::exists(folder + QStringLiteral("/module1.bas")));
    QVERIFY2(running < kStallBoundMs, qPrintable(QStringLiteral("the run froze the window %1 ms").arg(running)));
}

void XDisplayTest::aSignalEndsTheProgramAsExitWould_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("duringARun");
    QTest::newRow("SIGTERM during a run") << SIGTERM << true;
    QTest::newRow("SIGHUP during a run") << SIGHUP << true;
    QTest::newRow("SIGINT during a run") << SIGINT << true;
    QTest::newRow("SIGTERM when idle") << SIGTERM << false;
    QTest::newRow("SIGHUP when idle") << SIGHUP << false;
}

// The program itself, as a logout or kill ends it: the old module stays,
// no temporary file is left, nothing is saved, and the program ends of its
// own accord (status 130, as ftvb-convert's).
void XDisplayTest::aSignalEndsTheProgramAsExitWould() {
    QFETCH(int, signal);
    QFETCH(bool, duringARun);
    if (!onPath("xdotool")) QSKIP("xdotool is not installed (Debian package xdotool)");
    const QDir sources(work_->filePath(QStringLiteral("sources")));
    QVERIFY(QDir().mkpath(sources.path()));
    QVERIFY(QDir().mkpath(work_->filePath(QStringLiteral("config"))));
    {
        QFile source(sources.filePath(QStringLiteral("long.for")));
        QVERIFY(source.open(QIODevice::WriteOnly));
        const QByteArray lines = QByteArray("      x = y + 1\n").repeated(100000);
        for (int i = 0; i < (duringARun ? 20 : 1); ++i) source.write(lines);
        QFile module(sources.filePath(QStringLiteral("module1.bas")));
        QVERIFY(module.open(QIODevice::WriteOnly));
        module.write("old module\r\n");
    }
    const QString ini = work_->filePath(QStringLiteral("config/MIRADOR_FTVB.ini"));
    IniSettingsStore(ini).write("access", "d0", sources.path().toStdString());
    QFile saved(ini);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray before = saved.readAll();
    saved.close();

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work_->filePath(QStringLiteral("config")));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(FTVB_WINDOW), QStringList());
    QVERIFY(program.waitForStarted());
    QProcess search;
    search.start(
        QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
         QString::number(program.processId()), QStringLiteral("--name"), QStringLiteral("Fortran")});
    QVERIFY(search.waitForFinished(20000));
    const QString windowId = QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n')).first();
    QVERIFY(!windowId.isEmpty());

    if (duringARun) {
        // Where the buttons are: the same layout, on the same display.
        Form1 twin(*settings_);
        auto press = [&](const char* name) {
            const QPoint at = twin.findChild<QWidget*>(QLatin1String(name))->geometry().center();
            QCOMPARE(QProcess::execute(
                         QStringLiteral("xdotool"),
                         {QStringLiteral("mousemove"), QStringLiteral("--window"), windowId, QString::number(at.x()),
                          QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")}),
                     0);
        };
        press("Command5");
        QTest::qWait(200);
        press("Command3");
        QTRY_VERIFY_WITH_TIMEOUT(
            !sources.entryList({QStringLiteral(".module1.bas.*")}, QDir::Hidden | QDir::Files).isEmpty(), 10000);
    } else {
        QTest::qWait(300);
    }

    QVERIFY(::kill(pid_t(program.processId()), signal) == 0);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 130);
    QCOMPARE(sources.entryList(QDir::Files | QDir::Hidden),
             QStringList({QStringLiteral("long.for"), QStringLiteral("module1.bas")}));
    QFile module(sources.filePath(QStringLiteral("module1.bas")));
    QVERIFY(module.open(QIODevice::ReadOnly));
    QCOMPARE(module.readAll(), QByteArray("old module\r\n"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), before);
}

void XDisplayTest::aClickThatLeavesThePatternBoxIsKept_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("Add All >>>") << "Command5";
    // Last: Exit ends the event loop of this program for good.
    QTest::newRow("Exit") << "Command4";
}

// A tap on a touchpad, a remote desktop or xdotool: the press and the
// release reach the window together, while the focus is still in the
// pattern box.
void XDisplayTest::aClickThatLeavesThePatternBoxIsKept() {
    QFETCH(QString, button);
    if (!onPath("xdotool")) QSKIP("xdotool is not installed (Debian package xdotool)");
    const QString folder = work_->filePath(QStringLiteral("sources"));
    QVERIFY(QDir().mkpath(folder));
    for (const char* name : {"a.for", "b.for", "c.f"}) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    open(folder);
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    auto* ext = child<QLineEdit>("ext");
    ext->setFocus();
    ext->selectAll();
    QTest::keyClicks(ext, QStringLiteral("*.for;*.f"));
    QTRY_VERIFY(ext->hasFocus());

    auto* target = window_->findChild<QPushButton*>(button);
    const QPoint at = target->mapToGlobal(target->rect().center());
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                               {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())}),
             0);
    QTest::qWait(100);
    // Blocking here while xdotool clicks: the press and the release wait
    // together in the queue, as they do when they come in one burst.
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("click"), QStringLiteral("1")}), 0);
    QTest::qWait(300);

    QVERIFY(!target->isDown());
    if (button == QLatin1String("Command4")) {
        QTRY_VERIFY(!window_->isVisible());
        QCOMPARE(settings_->read("access", "p0", "<absent>"), std::string("*.for;*.f"));
    } else {
        QCOMPARE(child<FileNameList>("f2")->count(), 3);
        QCOMPARE(child<FileNameList>("f1")->count(), 0);
    }
}

int main(int argc, char** argv) {
    XvfbServer server;
    if (const std::string why = server.start(); !why.empty()) {
        std::printf("SKIP: %s\n", why.c_str());
        return kSkipped;
    }
    QApplication app(argc, argv);
    XDisplayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "x_display_test.moc"
