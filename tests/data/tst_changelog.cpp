// The change log: each kind of correction leaves one row with the columns it
// changed, written in the transaction of the change.

#include "accounts/customerregister.h"
#include "accounts/historycorrections.h"
#include "common/clock.h"
#include "data/changelog.h"
#include "data/schemaupgrade.h"
#include "pricing/pricebook.h"
#include "production/productcatalogue.h"
#include "sales/corrections.h"
#include "sales/saleline.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "staff/companystaff.h"
#include "warehouse/suppliers.h"
#include "support/faults.h"
#include "support/testdb.h"
#include "../sales/salesfixture.h"

#include <QThread>
#include <QtTest>
#include <algorithm>

using fm::test::TestDb;

namespace {

const QStringList kTables{QStringLiteral("sale1"), QStringLiteral("khzj"), QStringLiteral("khprn"),
                          QStringLiteral("price"), QStringLiteral("khprice"), QStringLiteral("khjggl"),
                          QStringLiteral("zxkh"), QStringLiteral("zxauth1"), QStringLiteral("cpgg"),
                          QStringLiteral("gyszlk"),
                          QStringLiteral("czrz")};

} // namespace

class TestChangeLog : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    fm::FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};
    qint64 m_line = 0, m_funds = 0, m_operator = 0, m_supplier = 0;

    fm::Session &s() { return m_db->session(); }

    void load()
    {
        m_db->reset();
        s().setActor({QStringLiteral("61"), QStringLiteral("ws-1"), &m_clock});
        fm::test::loadSalesFixture(s());
        fm::SaleLine l;
        l.khdm = QStringLiteral("1100001");
        l.khmc = QStringLiteral("张记养殖场");
        l.cpdm = QStringLiteral("n40");
        l.cpmc = QStringLiteral("猪用浓缩料");
        l.cpgg = QStringLiteral("40");
        l.rq_1 = QStringLiteral("2026-12-05");
        l.zzhm = QStringLiteral("00000001");
        l.czydm = QStringLiteral("61");
        l.zznum = 1000;
        l.zzjg = 2400;
        l.zzje = 2400;
        m_line = fm::writeSaleLine(s(), l);
        m_funds = s().insert(QStringLiteral("khzj"), {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"rq", "2026-12-05"},
                                                     {"ysje", 4800.0}, {"sjje", 4800.0}, {"sqje", 0.0}});
        m_supplier = s().insert(QStringLiteral("gyszlk"), {{"gysdm", "g0001"}, {"gysmc", "粮站一"}, {"gysaddr", "城关"},
                                                          {"gystel", "123"}, {"gysbz", ""}});
        m_operator = s().insert(QStringLiteral("zxauth1"), {{"authid", "61"}, {"authmc", "王会计"},
                                                            {"author", QString(fm::kRightsPositions, QLatin1Char('1'))}});
    }
    qint64 idOf(const QString &sql, const fm::Values &v) { return s().row(sql, v)->id(); }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }

    void eachKindLeavesOneRow_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("issue line corrected") << 0 << "销售数据修改" << "sale1" << "1100001" << "修改"
                                              << "zznum=1000; zzjg=2400; zzje=2400" << "zznum=1200; zzjg=2500; zzje=3000";
        QTest::newRow("issue line deleted") << 1 << "销售数据修改" << "sale1" << "1100001" << "删除"
                                            << "cpdm=n40; rq_1=2026-12-05; zzhm=00000001; zznum=1000; zzjg=2400; zzje=2400"
                                            << "";
        QTest::newRow("history funds row") << 2 << "历史数据修改" << "khzj" << "1100001" << "修改"
                                           << "ysje=4800; sjje=4800; sqje=0" << "ysje=5000; sjje=3000; sqje=2000";
        QTest::newRow("history issue line") << 3 << "历史数据修改" << "sale1" << "1100001" << "修改"
                                            << "zznum=1000; zzje=2400" << "zznum=500; zzje=1200";
        QTest::newRow("list price") << 4 << "产品价格修改" << "price" << "n40" << "修改" << "kpjg=2350" << "kpjg=2400";
        QTest::newRow("policy price") << 5 << "客户价格修改" << "khprice" << "1100001" << "修改"
                                      << "cpdm=n40; fhll=2300" << "cpdm=n40; fhll=2320.5";
        QTest::newRow("customer flag") << 6 << "客户标志修改" << "zxkh" << "1100001" << "修改" << "khbz=1" << "khbz=3";
        QTest::newRow("customer rename") << 7 << "客户档案管理" << "zxkh" << "1100001" << "修改"
                                         << "khmc=张记养殖场" << "khmc=张记牧场";
        QTest::newRow("customer deleted") << 8 << "客户档案管理" << "zxkh" << "1100002" << "删除"
                                          << "khmc=城关门市部; dq=城关镇; khbz=3" << "";
        QTest::newRow("rights") << 9 << "操作员权限" << "zxauth1" << "61" << "修改"
                                << "author=" + QString(fm::kRightsPositions, QLatin1Char('1')) << "?";
        QTest::newRow("product deleted") << 11 << "产品品种管理" << "price" << "y05" << "删除"
                                         << "cpmc=猪用预混料; cpgg=0.5; kpjg=12000; cbjg=10000; cpbz=2; khprice行数=2" << "";
        QTest::newRow("customer price deleted") << 12 << "产品品种管理" << "khprice" << "1100002" << "删除"
                                                << "cpdm=q25; kpjg=2600; fhll=2550" << "";
        QTest::newRow("supplier renamed") << 13 << "供应商管理" << "gyszlk" << "g0001" << "修改"
                                          << "gysdm=g0001; gysmc=粮站一" << "gysdm=g0002; gysmc=粮站二";
        QTest::newRow("supplier deleted") << 14 << "供应商管理" << "gyszlk" << "g0001" << "删除"
                                          << "gysmc=粮站一; gysaddr=城关; gystel=123" << "";
        QTest::newRow("password") << 10 << "密码修改" << "zxauth1" << "61" << "修改" << "password=******"
                                  << "password=（已更改）";
    }

    void eachKindLeavesOneRow()
    {
        QFETCH(int, kind);
        QFETCH(QString, function);
        QFETCH(QString, table);
        QFETCH(QString, code);
        QFETCH(QString, action);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QString rights;
        const fm::CorrectionRange range{QStringLiteral("1100001"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-31")};
        const auto run = [&] {
            switch (kind) {
            case 0: fm::Corrections(s(), QStringLiteral("61")).modifyIssueLine(m_line, 1200, 2500, QStringLiteral("ws-1"), 1); break;
            case 1: fm::Corrections(s(), QStringLiteral("61")).deleteIssueLine(m_line, QStringLiteral("ws-1"), 1); break;
            case 2: fm::HistoryCorrections(s(), m_clock).correctFunds(range, m_funds, 5000, 3000, 2000); break;
            case 3: fm::HistoryCorrections(s(), m_clock).correctIssue(range, m_line, 500, 2400); break;
            case 4:
                fm::PriceBook(s(), m_clock).setProductPrices(idOf(QStringLiteral("SELECT id FROM {price} WHERE cpdm = 'n40'"), {}),
                                                             2400, 2100, fm::PriceBook::DateStamp::Keep);
                break;
            case 5:
                fm::PriceBook(s(), m_clock).setPolicyPrice(
                    idOf(QStringLiteral("SELECT id FROM {khprice} WHERE cpdm = 'n40' AND khdm = '1100001'"), {}), 2320.5);
                break;
            case 6:
                fm::CustomerRegister(s()).setFlag(idOf(QStringLiteral("SELECT id FROM {zxkh} WHERE khdm = '1100001'"), {}),
                                                  QStringLiteral("3"));
                break;
            case 7: fm::CustomerRegister(s()).rename(QStringLiteral("1100001"), QStringLiteral("张记牧场"), QStringLiteral("城关镇")); break;
            case 8:
                fm::CustomerRegister(s()).deleteCustomerWithoutRecords(
                    idOf(QStringLiteral("SELECT id FROM {zxkh} WHERE khdm = '1100002'"), {}));
                break;
            case 9: {
                std::vector<bool> granted(fm::kRightsPositions, true);
                granted[37] = false;
                rights = fm::Operators(s()).setRights(m_operator, granted);
                break;
            }
            case 10: fm::Operators(s()).setPassword(m_operator, QStringLiteral("abc")); break;
            case 13:
                fm::SupplierRegister(s()).change(m_supplier, {QStringLiteral("g0002"), QStringLiteral("粮站二"),
                                                              QStringLiteral("城关"), QStringLiteral("123")});
                break;
            case 14: fm::SupplierRegister(s()).remove(m_supplier); break;
            case 11: fm::ProductCatalogue(s(), m_clock).deleteProduct(QStringLiteral("y05")); break;
            case 12:
                fm::ProductCatalogue(s(), m_clock).deleteCustomerPrice(
                    idOf(QStringLiteral("SELECT id FROM {khprice} WHERE cpdm = 'q25' AND khdm = '1100002'"), {}));
                break;
            }
        };

        load();
        run();
        const fm::Rows log = s().rows(QStringLiteral("SELECT * FROM {czrz} ORDER BY id"));
        QCOMPARE(log.size(), size_t(1));
        const fm::Row &r = log.front();
        QCOMPARE(r.text(QStringLiteral("gnmc")), function);
        QCOMPARE(r.text(QStringLiteral("bm")), table);
        QCOMPARE(r.text(QStringLiteral("dm")), code);
        QCOMPARE(r.text(QStringLiteral("czlx")), action);
        QCOMPARE(r.text(QStringLiteral("jz")), before);
        QCOMPARE(r.text(QStringLiteral("xz")), after == QLatin1String("?") ? QStringLiteral("author=") + rights : after);
        QCOMPARE(r.text(QStringLiteral("czydm")), QStringLiteral("61"));
        QCOMPARE(r.text(QStringLiteral("gzz")), QStringLiteral("ws-1"));
        QCOMPARE(r.text(QStringLiteral("rq")), QStringLiteral("2026-12-10"));
        QVERIFY(r.integer(QStringLiteral("jlid")) > 0);

        // A failure of any write, the log's own included, leaves neither the
        // change nor its record.
        QVERIFY(fm::test::checkEachWriteFailing(s(), kTables, [&] { load(); }, run) >= 2);
    }

    // Operators taken on, changed and removed: each one row, with what the
    // operator held.
    void operatorsOfTheStaff()
    {
        load();
        const QString dept = fm::CompanyStaff::departments().front();
        fm::CompanyStaff staff(s(), QStringLiteral("admin"));
        const qint64 id = staff.takeOn(QStringLiteral("李四"), dept, QStringLiteral("61063"), QStringLiteral("abc"));
        staff.change(id, dept, QStringLiteral("61064"));
        staff.remove(id);
        const fm::Rows log = s().rows(QStringLiteral("SELECT czlx, dm, jz, xz FROM {czrz} ORDER BY id"));
        QCOMPARE(log.size(), size_t(3));
        QCOMPARE(log[0].text(QStringLiteral("czlx")), QStringLiteral("增加"));
        QCOMPARE(log[0].text(QStringLiteral("xz")), QStringLiteral("authmc=李四; deptment=%1; author=%2")
                                                       .arg(dept, fm::CompanyStaff::newOperatorRights()));
        QCOMPARE(log[1].text(QStringLiteral("jz")), QStringLiteral("authid=61063"));
        QCOMPARE(log[1].text(QStringLiteral("xz")), QStringLiteral("authid=61064"));
        QCOMPARE(log[2].text(QStringLiteral("czlx")), QStringLiteral("删除"));
        QCOMPARE(log[2].text(QStringLiteral("dm")), QStringLiteral("61064"));
        QVERIFY(log[2].text(QStringLiteral("jz")).startsWith(QStringLiteral("authmc=李四; ")));
        QVERIFY(fm::test::checkEachWriteFailing(s(), kTables, [&] { load(); },
                                                [&] { staff.remove(m_operator); }) == 2);
    }

    void unchangedValuesWriteNothing()
    {
        load();
        const qint64 customer = idOf(QStringLiteral("SELECT id FROM {zxkh} WHERE khdm = '1100001'"), {});
        fm::CustomerRegister(s()).setFlag(customer, QStringLiteral("1"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {czrz}")).toInt(), 0);
    }

    // An installation made before the log existed: opened as a workstation
    // opens it, it gets the table (and any other missing index), and the
    // first correction succeeds and is logged. Several workstations starting
    // at once upgrade it once between them.
    void olderInstallationIsUpgradedOnOpen()
    {
        load();
        const fm::TableDef *log = fm::findTable(QStringLiteral("czrz"));
        const fm::TableDef *lines = fm::findTable(QStringLiteral("sale1"));
        s().execDdl(QStringLiteral("DROP TABLE ") + s().dialect().qualify(log->catalog, log->name));
        s().execDdl(s().dialect().dropIndexes(*lines).at(1));

        QStringList created[3];
        QString problems[3];
        std::vector<std::unique_ptr<QThread>> starts;
        for (int i = 0; i < 3; ++i)
            starts.emplace_back(QThread::create([&, i] {
                try {
                    std::unique_ptr<fm::Session> ws = fm::Session::open(m_db->settings());
                    created[i] = fm::upgradeSchema(*ws);
                } catch (const fm::DbError &e) {
                    problems[i] = e.rawText();
                }
            }));
        for (auto &t : starts) t->start();
        for (auto &t : starts) QVERIFY(t->wait(60000));
        QStringList all;
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(problems[i], QString());
            all += created[i];
        }
        std::sort(all.begin(), all.end());
        QCOMPARE(all, (QStringList{QStringLiteral("czrz"), QStringLiteral("sale1.") + fm::Dialect::indexName(*lines, 2, false)}));

        QString problem;
        std::unique_ptr<fm::Session> ws = fm::openInstallation(m_db->settings(), &problem);
        QCOMPARE(problem, QString());
        QCOMPARE(fm::upgradeSchema(*ws), QStringList());
        ws->setActor({QStringLiteral("61"), QStringLiteral("ws-2"), &m_clock});
        fm::Corrections(*ws, QStringLiteral("61")).modifyIssueLine(m_line, 1200, 2500, QStringLiteral("ws-2"), 1);
        const fm::Rows rows = ws->rows(QStringLiteral("SELECT gzz, jz, xz FROM {czrz}"));
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows.front().text(QStringLiteral("xz")), QStringLiteral("zznum=1200; zzjg=2500; zzje=3000"));
        QCOMPARE(ws->scalar(QStringLiteral("SELECT zznum FROM {sale1} WHERE id = ?"), {m_line}).toDouble(), 1200.0);
    }

    void recordOutsideTransactionIsRefused()
    {
        load();
        fm::ChangeRecord rec(QStringLiteral("测试"), QStringLiteral("zxkh"), 1, QStringLiteral("1100001"));
        rec.change(QStringLiteral("khbz"), QStringLiteral("1"), QStringLiteral("3"));
        QVERIFY_THROWS_EXCEPTION(fm::DbError, rec.write(s()));
    }
};

QTEST_GUILESS_MAIN(TestChangeLog)
#include "tst_changelog.moc"
