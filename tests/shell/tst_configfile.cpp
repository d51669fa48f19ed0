#include "shell/configfile.h"

#include <QTemporaryDir>
#include <QSysInfo>
#include <QtTest>

using namespace fm;

class TestConfigFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("config.ini")); }

    static void writeRaw(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    static QByteArray readRaw(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void roundTripKeepsEverythingButThePassword()
    {
        AppConfig c;
        c.qymc = QStringLiteral("维兰饲料有限公司");
        c.dataIP = QStringLiteral("192.168.1.20");
        c.basepass = QStringLiteral("s3cret;=x");
        c.baseUser = QStringLiteral("sa");
        c.username = QStringLiteral("61937");
        c.userpass = QStringLiteral("abc123");
        c.engine = QStringLiteral("postgres");
        QString error;
        QVERIFY2(ConfigFile::write(path(), c, &error), qPrintable(error));

        const QByteArray disk = readRaw(path());
        QVERIFY(!disk.contains("qymc"));
        QVERIFY(!disk.contains("[config]"));
        QVERIFY(!disk.contains(c.qymc.toUtf8()));
        const QByteArray plain = ConfigFile::scramble(disk);
        QVERIFY(plain.startsWith("[config]"));
        for (const char *key : {"qymc: =", "dataIP: =", "basepass: =", "baseUser: =", "username: =", "userpass: ="})
            QVERIFY2(plain.contains(key), key);
        QVERIFY(!plain.contains("abc123"));

        const ConfigReadResult r = ConfigFile::read(path());
        QVERIFY(r.exists);
        QVERIFY(!r.damaged);
        QCOMPARE(r.config.qymc, c.qymc);
        QCOMPARE(r.config.dataIP, c.dataIP);
        QCOMPARE(r.config.basepass, c.basepass);
        QCOMPARE(r.config.baseUser, c.baseUser);
        QCOMPARE(r.config.username, c.username);
        QCOMPARE(r.config.userpass, QString());
        QCOMPARE(r.config.engine, c.engine);
    }

    void missingKeysReadAsDefaults()
    {
        writeRaw(path(), ConfigFile::scramble("[config]\r\nqymc: =Mill\r\nextra: =kept\r\n"));
        const ConfigReadResult r = ConfigFile::read(path());
        QVERIFY(!r.damaged);
        QCOMPARE(r.config.qymc, QStringLiteral("Mill"));
        QCOMPARE(r.config.dataIP, QStringLiteral("127.0.0.1"));
        QCOMPARE(r.config.baseUser, QString());
        // Without an engine key the file was written for SQL Server, port 1433.
        ConnectionSettings cs;
        QVERIFY(r.config.connectionSettings(m_dir.path(), &cs, nullptr));
        QCOMPARE(cs.engine, Engine::SQLServer);
        QCOMPARE(cs.host, QStringLiteral("127.0.0.1"));
        // Keys we do not know survive a rewrite.
        QVERIFY(ConfigFile::write(path(), r.config, nullptr));
        QVERIFY(ConfigFile::scramble(readRaw(path())).contains("extra: =kept"));
    }

    void damagedFilesReadAsDefaults_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain text from an editor") << QByteArray("[config]\r\nqymc: =Mill\r\n");
        QTest::newRow("truncated") << ConfigFile::scramble("[conf");
        QTest::newRow("random bytes") << QByteArray::fromHex("00ff13a7c3b2e1f0aa5599");
        QTest::newRow("empty") << QByteArray();
    }
    void damagedFilesReadAsDefaults()
    {
        QFETCH(QByteArray, bytes);
        writeRaw(path(), bytes);
        const ConfigReadResult r = ConfigFile::read(path());
        QVERIFY(r.exists);
        QVERIFY(r.damaged);
        QVERIFY(!r.problem.isEmpty());
        QCOMPARE(r.config.qymc, QString());
        QCOMPARE(r.config.dataIP, QStringLiteral("127.0.0.1"));
    }

    void unknownEngineIsAnError()
    {
        AppConfig c;
        c.engine = QStringLiteral("oracle");
        ConnectionSettings cs;
        QString error;
        QVERIFY(!c.connectionSettings(m_dir.path(), &cs, &error));
        QVERIFY(error.contains(QStringLiteral("oracle")));
    }

    // A folder where the file should be: a message that says so, and the
    // folder untouched.
    void writingOverAFolderSaysSo()
    {
        const QString folder = QDir(m_dir.path()).filePath(QStringLiteral("folder/config.ini"));
        QVERIFY(QDir().mkpath(folder));
        QString error;
        QVERIFY(!ConfigFile::write(folder, AppConfig(), &error));
        QVERIFY2(error.contains(QStringLiteral("文件夹")), qPrintable(error));
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(!ConfigFile::write(QDir(m_dir.path()).filePath(QStringLiteral("missing/config.ini")), AppConfig(), &error));
        QVERIFY2(error.contains(QStringLiteral("不存在")), qPrintable(error));
    }

    // A workshop station: the key is written only when set and read back.
    void productionMode()
    {
        AppConfig c;
        QVERIFY(!c.productionMode());
        QVERIFY(ConfigFile::write(path(), c, nullptr));
        QVERIFY(!ConfigFile::scramble(readRaw(path())).contains("mode: "));
        c.mode = QStringLiteral(" Production ");
        QVERIFY(ConfigFile::write(path(), c, nullptr));
        QVERIFY(ConfigFile::read(path()).config.productionMode());
    }

    // Two computers whose names share a long prefix stay two workstations.
    void workstationIdentity()
    {
        AppConfig c;
        QCOMPARE(fm::workstationIdentity(c), QSysInfo::machineHostName().left(kWorkstationLength));
        c.workstation = QStringLiteral("  sales-counter-east-building-2  ");
        QCOMPARE(fm::workstationIdentity(c), QStringLiteral("sales-counter-east-building-2"));
        AppConfig other = c;
        other.workstation = QStringLiteral("sales-counter-east-building-3");
        QVERIFY(fm::workstationIdentity(c) != fm::workstationIdentity(other));
        c.workstation = QString(100, QLatin1Char('w'));
        QCOMPARE(fm::workstationIdentity(c).size(), kWorkstationLength);
        // The key survives a rewrite of the file.
        c.workstation = QStringLiteral("收款台一号");
        QVERIFY(ConfigFile::write(path(), c, nullptr));
        QCOMPARE(ConfigFile::read(path()).config.workstation, QStringLiteral("收款台一号"));
    }

    // A config.ini where the program starts wins (installations made in a
    // folder, the demo of ./run); anywhere else the user's own folder is used.
    void workingFolderPrefersAConfiguredCurrentFolder_data()
    {
        QTest::addColumn<bool>("currentHasFile");
        QTest::addColumn<bool>("userHasFile");
        QTest::addColumn<bool>("expectCurrent");
        QTest::newRow("only the current folder") << true << false << true;
        QTest::newRow("both: the current folder still") << true << true << true;
        QTest::newRow("only the user's folder") << false << true << false;
        QTest::newRow("neither: the user's folder") << false << false << false;
    }
    void workingFolderPrefersAConfiguredCurrentFolder()
    {
        QFETCH(bool, currentHasFile);
        QFETCH(bool, userHasFile);
        QFETCH(bool, expectCurrent);
        QTemporaryDir current, user;
        if (currentHasFile) QVERIFY(ConfigFile::write(current.filePath(QStringLiteral("config.ini")), AppConfig(), nullptr));
        if (userHasFile) QVERIFY(ConfigFile::write(user.filePath(QStringLiteral("config.ini")), AppConfig(), nullptr));
        QCOMPARE(ConfigFile::workingFolder(current.path(), user.path()), expectCurrent ? current.path() : user.path());
    }

    // The admin tool prints its notes and then the file's lines; saved whole,
    // that text reads back as the configuration it printed.
    void printedLinesReadBackWithTheNotesBeforeThem()
    {
        AppConfig c;
        c.qymc = QStringLiteral("维兰饲料有限公司");
        c.engine = QStringLiteral("postgres");
        c.dataIP = QStringLiteral("192.168.1.20");
        c.dataPort = QStringLiteral("5433");
        c.dbName = QStringLiteral("mill_a");
        c.baseUser = QStringLiteral("mill_a");
        c.basepass = QStringLiteral("p=w;'x");
        c.username = QStringLiteral("admin");
        QString printed = QStringLiteral("created the role mill_a\nbaseUser: =someone else\n\n") + ConfigFile::plainText(c);
        printed.remove(QLatin1Char('\r'));
        const ConfigReadResult r = ConfigFile::parse(printed);
        QVERIFY(!r.damaged);
        QCOMPARE(ConfigFile::plainText(r.config), ConfigFile::plainText(c));

        QVERIFY(ConfigFile::parse(QStringLiteral("qymc: =Mill\nengine: =postgres\n")).damaged);
    }
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_configfile.moc"
