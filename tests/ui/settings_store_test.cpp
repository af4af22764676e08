// The INI settings store: values come back as written, and a store that
// cannot be read or written leaves the window working with its defaults.
#include <fcntl.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "ui/qt/form1.h"
#include "ui/qt/ini_settings_store.h"

using namespace ftvb::ui;
using namespace ftvb::ui::qt;

class SettingsStoreTest : public QObject {
    Q_OBJECT

private slots:
    void valuesComeBackAsWrittenInTheNextRun_data();
    void valuesComeBackAsWrittenInTheNextRun();
    void aFileWrittenByHandIsReadAsWritten_data();
    void aFileWrittenByHandIsReadAsWritten();
    void aBrokenStoreGivesTheDefaultsAndTheWindowWorks_data();
    void aBrokenStoreGivesTheDefaultsAndTheWindowWorks();
    void theUserStoreLivesInTheConfigurationFolder();
};

void SettingsStoreTest::valuesComeBackAsWrittenInTheNextRun_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << "";
    QTest::newRow("pattern list") << "*.for;*.src";
    QTest::newRow("commas") << "a,b, c";
    QTest::newRow("quotes and backslashes") << "C:\\src\\\"x\" 'y'";
    QTest::newRow("blanks around") << "  module1.bas  ";
    QTest::newRow("equals and brackets") << "[access] a=b";
    QTest::newRow("looks like a variant") << "@Variant(\\0\\0)";
    QTest::newRow("accents") << QStringLiteral("/home/\u00e9l\u00e8ve/r\u00e9sultat.bas");
    QTest::newRow("line break") << "two\nlines";
    QTest::newRow("hash and semicolon first") << ";#not a comment";
    QTest::newRow("a quote first") << "\"quoted\" and not";
    QTest::newRow("a commercial at first") << "@at";
    QTest::newRow("tab and carriage return") << "a\tb\rc";
    QTest::newRow("backslash at the end") << "end \\";
}

// Written by this store, and by the QSettings-based store of earlier
// versions, whose files must still be read.
void SettingsStoreTest::valuesComeBackAsWrittenInTheNextRun() {
    QFETCH(QString, value);
    for (const bool earlierStore : {false, true}) {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("MIRADOR_FTVB.ini"));
        if (earlierStore) {
            QSettings(file, QSettings::IniFormat).setValue(QStringLiteral("access/d0"), value);
        } else {
            IniSettingsStore(file).write("access", "d0", value.toStdString());
        }
        IniSettingsStore next(file);
        QCOMPARE(QString::fromStdString(next.read("access", "d0", "<absent>")), value);
        QCOMPARE(QString::fromStdString(next.read("access", "f0", "<absent>")), QStringLiteral("<absent>"));
        QCOMPARE(QString::fromStdString(next.read("langue", "d0", "<absent>")), QStringLiteral("<absent>"));
    }
}

void SettingsStoreTest::aFileWrittenByHandIsReadAsWritten_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("language");
    QTest::newRow("semicolons") << QByteArray("[access]\np0=*.for;*.f\n[langue]\nlangue=1\n") << "*.for;*.f"
                                << "1";
    QTest::newRow("commas") << QByteArray("[access]\np0=*.for, *.f\n") << "*.for, *.f"
                            << "<absent>";
    QTest::newRow("blanks around the equals sign") << QByteArray("[access]\n  p0 = *.for  \n") << "*.for"
                                                   << "<absent>";
    QTest::newRow("quotes keep blanks") << QByteArray("[access]\np0=\" *.for \"\n") << " *.for "
                                        << "<absent>";
    QTest::newRow("comments and blank lines")
        << QByteArray("; ftvb\n\n# by hand\n[langue]\n; French\nlangue=1\n\n[access]\np0=*.f\n") << "*.f"
        << "1";
    QTest::newRow("CR LF line ends") << QByteArray("[access]\r\np0=*.f;*.for\r\n[langue]\r\nlangue=0\r\n")
                                     << "*.f;*.for"
                                     << "0";
    QTest::newRow("a byte order mark") << QByteArray("\xEF\xBB\xBF[langue]\nlangue=1\n") << "<absent>"
                                       << "1";
    QTest::newRow("the same key twice: the last") << QByteArray("[access]\np0=*.a\np0=*.b\n") << "*.b"
                                                  << "<absent>";
}

void SettingsStoreTest::aFileWrittenByHandIsReadAsWritten() {
    QFETCH(QByteArray, file);
    QFETCH(QString, pattern);
    QFETCH(QString, language);
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("MIRADOR_FTVB.ini"));
    QFile ini(name);
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(file);
    ini.close();
    IniSettingsStore store(name);
    QCOMPARE(QString::fromStdString(store.read("access", "p0", "<absent>")), pattern);
    QCOMPARE(QString::fromStdString(store.read("langue", "langue", "<absent>")), language);

    // Writing one value leaves what the person wrote around it.
    store.write("access", "f0", "solver.bas");
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray after = ini.readAll();
    ini.close();
    for (const QByteArray& line : file.split('\n')) {
        if (!line.trimmed().isEmpty()) QVERIFY2(after.contains(line), line.constData());
    }
    IniSettingsStore next(name);
    QCOMPARE(QString::fromStdString(next.read("access", "p0", "<absent>")), pattern);
    QCOMPARE(next.read("access", "f0", "<absent>"), std::string("solver.bas"));
}

void SettingsStoreTest::aBrokenStoreGivesTheDefaultsAndTheWindowWorks_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("corrupt file") << "corrupt";
    QTest::newRow("the file is a folder") << "folder";
    QTest::newRow("its folder cannot be made") << "no folder";
    QTest::newRow("no home folder") << "no home";
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a device") << "device";
}

// Run as root, permissions keep nothing out: the failures are made from a
// folder where the file should be and a file where its folder should be.
void SettingsStoreTest::aBrokenStoreGivesTheDefaultsAndTheWindowWorks() {
    QFETCH(QString, how);
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("MIRADOR_FTVB.ini"));
    const QByteArray home = qgetenv("HOME");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    if (how == QLatin1String("corrupt")) {
        QFile ini(file);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        static const char junk[] = "\xff\xfe[acc\0ess\n=\n[[[\x01\x02langue";
        ini.write(junk, sizeof junk - 1);
    } else if (how == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(file));
    } else if (how == QLatin1String("no folder")) {
        QFile blocker(folder.filePath(QStringLiteral("config")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        file = folder.filePath(QStringLiteral("config/MIRADOR_FTVB.ini"));
    } else if (how == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0644) == 0);
    } else if (how == QLatin1String("device")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
    } else {
        qputenv("HOME", folder.filePath(QStringLiteral("gone")).toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        file = IniSettingsStore::userFileName();
        QVERIFY(file.startsWith(folder.filePath(QStringLiteral("gone"))));
        QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("gone"))));
        QVERIFY(QDir(folder.filePath(QStringLiteral("gone"))).removeRecursively());
    }

    // A reader or a writer stuck on the FIFO is let go after a while, so
    // that a store that blocks shows as slow rather than hanging the test.
    std::atomic<bool> done = false;
    std::thread rescuer([&] {
        for (int i = 0; i < 100 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const QByteArray path = QFile::encodeName(file);
        while (!done) {
            for (const int mode : {O_RDONLY, O_WRONLY}) {
                const int fd = ::open(path.constData(), mode | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    QElapsedTimer clock;
    clock.start();

    const QString startFolder = QDir::currentPath();
    {
        IniSettingsStore store(file);
        QCOMPARE(store.read("langue", "langue", "0"), std::string("0"));
        Form1 window(store);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.findChild<QLineEdit*>("ext")->text(), QStringLiteral("*.for"));
        QCOMPARE(window.findChild<QLineEdit*>("b")->text(), QStringLiteral("module1.bas"));
        QCOMPARE(window.findChild<QPushButton*>("Command3")->text(), QStringLiteral("Run !"));
        // A write that cannot be kept still counts for this run.
        QTest::mouseClick(window.findChild<QWidget*>("ln_1"), Qt::LeftButton);
        QCOMPARE(window.findChild<QPushButton*>("Command3")->text(), QStringLiteral("Valid !"));
        QTest::mouseClick(window.findChild<QWidget*>("Command4"), Qt::LeftButton);
    }
    const qint64 took = clock.elapsed();
    done = true;
    rescuer.join();
    QVERIFY2(took < 1500, qPrintable(QStringLiteral("the store took %1 ms").arg(took)));
    if (how == QLatin1String("fifo") || how == QLatin1String("device")) {
        QVERIFY(!QFileInfo(file).isFile());
    }
    QDir::setCurrent(startFolder);
    if (how == QLatin1String("no home")) {
        qputenv("HOME", home);
        if (!configHome.isNull()) qputenv("XDG_CONFIG_HOME", configHome);
    }
}

void SettingsStoreTest::theUserStoreLivesInTheConfigurationFolder() {
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    QCOMPARE(IniSettingsStore::userFileName(), QStringLiteral("/somewhere/config/MIRADOR_FTVB.ini"));
    if (configHome.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", configHome);
    }
}

QTEST_MAIN(SettingsStoreTest)
#include "settings_store_test.moc"
