#include "common/password.h"
#include "data/seed.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "support/testdb.h"
#include "common/clock.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

class TestOperators : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0))};

    qint64 addOperator(const QString &code, const QString &name, const QString &password, const QString &rights)
    {
        return m_db->session().insert(QStringLiteral("zxauth1"), {{"authid", code}, {"authmc", name},
                                                                  {"password", password}, {"deptment", "销售部"},
                                                                  {"author", rights}});
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        seedNewInstallation(m_db->session(), m_clock, SeedOptions{QStringLiteral("adm01"), QStringLiteral("Abc"), QStringLiteral("管理员")});
    }

    void loginIgnoresLetterCase_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("admitted");
        QTest::newRow("as stored") << "adm01" << "Abc" << true;
        QTest::newRow("upper case") << "ADM01" << "ABC" << true;
        QTest::newRow("blanks around the code") << " adm01 " << "abc" << true;
        QTest::newRow("wrong password") << "adm01" << "abd" << false;
        QTest::newRow("unknown code") << "adm02" << "abc" << false;
        QTest::newRow("empty") << "" << "" << false;
    }
    void loginIgnoresLetterCase()
    {
        QFETCH(QString, code);
        QFETCH(QString, password);
        QFETCH(bool, admitted);
        QCOMPARE(Operators(m_db->session()).login(code, password).has_value(), admitted);
    }

    void storedPasswordsAreHashed()
    {
        const QString stored = m_db->session().scalar(QStringLiteral("SELECT password FROM {zxauth1}")).toString();
        QVERIFY(isPasswordHash(stored));
        QVERIFY(!stored.contains(QStringLiteral("Abc"), Qt::CaseInsensitive));
    }

    void legacyPlainPasswordIsUpgradedAtLogin()
    {
        const qint64 id = addOperator(QStringLiteral("61937"), QStringLiteral("老王"), QStringLiteral("Old1"), QString(70, QLatin1Char('1')));
        Operators ops(m_db->session());
        QVERIFY(!ops.login(QStringLiteral("61937"), QStringLiteral("old2")));
        QVERIFY(ops.login(QStringLiteral("61937"), QStringLiteral("OLD1")));
        const QString stored = m_db->session().scalar(QStringLiteral("SELECT password FROM {zxauth1} WHERE id = ?"), {id}).toString();
        QVERIFY(isPasswordHash(stored));
        QVERIFY(ops.login(QStringLiteral("61937"), QStringLiteral("old1")));
    }

    void passwordChange()
    {
        Operators ops(m_db->session());
        const auto op = ops.find(QStringLiteral("ADM01"));
        QVERIFY(op);
        QVERIFY(ops.checkPassword(op->id, QStringLiteral("abc")));
        QVERIFY(!ops.checkPassword(op->id, QStringLiteral("abx")));
        QVERIFY_THROWS_EXCEPTION(DomainError, ops.setPassword(op->id, QStringLiteral("1234567")));
        QVERIFY_THROWS_EXCEPTION(DomainError, ops.setPassword(op->id, QStringLiteral("   ")));
        ops.setPassword(op->id, QStringLiteral(" new1 "));
        QVERIFY(ops.login(QStringLiteral("adm01"), QStringLiteral("NEW1")));
        QVERIFY(!ops.login(QStringLiteral("adm01"), QStringLiteral("Abc")));
    }

    void rightsAreWrittenToOneOperatorOnly()
    {
        const qint64 a = addOperator(QStringLiteral("a0001"), QStringLiteral("同名"), QStringLiteral("x"), QString(68, QLatin1Char('0')));
        const qint64 b = addOperator(QStringLiteral("b0001"), QStringLiteral("同名"), QStringLiteral("x"), QString(68, QLatin1Char('0')));
        std::vector<bool> granted(kRightsPositions, false);
        granted[15] = granted[16] = true;
        const QString stored = Operators(m_db->session()).setRights(b, granted);
        QCOMPARE(stored.size(), 70);
        QVERIFY(rightGranted(stored, 16));
        const QString other = m_db->session().scalar(QStringLiteral("SELECT author FROM {zxauth1} WHERE id = ?"), {a}).toString();
        QCOMPARE(other, QString(68, QLatin1Char('0')));
    }
};

QTEST_GUILESS_MAIN(TestOperators)
#include "tst_operators.moc"
