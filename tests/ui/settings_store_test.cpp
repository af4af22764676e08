// The INI settings store: values come back as written, and a store that
// cannot be read or written leaves the window working with its defaults.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "ui/qt/form1.h"
#include "ui/qt/ini_settings_store.h"

using namespace ftvb::ui;
using namespace ftvb::ui::qt;

class SettingsStoreTest : public QObject {
    Q_OBJECT

private slots:
    void valuesComeBackAsWrittenInTheNextRun_data();
    void valuesComeBackAsWrittenInTheNextRun();
    void aValueTypedByHandWithACommaIsText();
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
}

void SettingsStoreTest::valuesComeBackAsWrittenInTheNextRun() {
    QFETCH(QString, value);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("MIRADOR_FTVB.ini"));
    IniSettingsStore(file).write("access", "d0", value.toStdString());
    IniSettingsStore next(file);
    QCOMPARE(QString::fromStdString(next.read("access", "d0", "<absent>")), value);
    QCOMPARE(QString::fromStdString(next.read("access", "f0", "<absent>")), QStringLiteral("<absent>"));
    QCOMPARE(QString::fromStdString(next.read("langue", "d0", "<absent>")), QStringLiteral("<absent>"));
}

void SettingsStoreTest::aValueTypedByHandWithACommaIsText() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("MIRADOR_FTVB.ini"));
    QFile ini(file);
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[access]\np0=*.for,*.f\n[langue]\nlangue=1\n");
    ini.close();
    IniSettingsStore store(file);
    QCOMPARE(store.read("access", "p0", ""), std::string("*.for,*.f"));
    QCOMPARE(store.read("langue", "langue", "0"), std::string("1"));
}

void SettingsStoreTest::aBrokenStoreGivesTheDefaultsAndTheWindowWorks_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("corrupt file") << "corrupt";
    QTest::newRow("the file is a folder") << "folder";
    QTest::newRow("its folder cannot be made") << "no folder";
    QTest::newRow("no home folder") << "no home";
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
    } else {
        qputenv("HOME", folder.filePath(QStringLiteral("gone")).toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        file = IniSettingsStore::userFileName();
        QVERIFY(file.startsWith(folder.filePath(QStringLiteral("gone"))));
        QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("gone"))));
        QVERIFY(QDir(folder.filePath(QStringLiteral("gone"))).removeRecursively());
    }

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
