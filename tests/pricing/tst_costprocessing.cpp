// Cost processing: the amounts of issue and return lines, the stop at a line
// without cost price, the abnormal sheet's rows and totals, the documents,
// and two workstations keeping their own work rows.

#include "common/dates.h"
#include "pricing/costdocuments.h"
#include "pricing/costprocessing.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"

#include <QtTest>
#include <cmath>

using namespace fm;
using fm::test::TestDb;

namespace {

const QDate kStart(2026, 11, 19);
const QDate kEnd(2026, 12, 18);
const QDate kToday(2026, 12, 20);
const QString kEast = QStringLiteral("东山片区");
const QString kWest = QStringLiteral("西河片区");

struct Line {
    const char *khdm;
    const char *khmc;
    QString region;
    const char *cpdm;
    const char *cpmc;
    const char *date;
    bool isReturn;
    double kg;
    double policy; // zcjg
    double cost;   // cbjg
    double price;  // zzjg (issues) or kpjg (returns)
};

} // namespace

class TestCostProcessing : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

    Session &s() { return m_db->session(); }
    CostProcessing costs(const QString &workstation = QStringLiteral("pc-1")) { return CostProcessing(s(), workstation); }

    int m_serial = 0;
    qint64 add(const Line &l)
    {
        SaleLine x;
        x.khdm = QString::fromLatin1(l.khdm);
        x.khmc = QString::fromUtf8(l.khmc);
        x.region = l.region;
        x.cpdm = QString::fromLatin1(l.cpdm);
        x.cpmc = QString::fromUtf8(l.cpmc);
        x.cpgg = QStringLiteral("40");
        x.rq_1 = QString::fromLatin1(l.date);
        x.czydm = QStringLiteral("admin");
        x.zcjg = l.policy;
        x.cbjg = l.cost;
        x.recnum = ++m_serial;
        if (l.isReturn) {
            x.bz_1 = QStringLiteral("3");
            x.rq_2 = x.rq_1;
            x.zzhm = QStringLiteral("0");
            x.tlnum = l.kg;
            x.kpjg = l.price;
            x.kpje = l.price * l.kg / 1000;
            x.zcje = l.policy * l.kg / 1000;
        } else {
            x.zzhm = QStringLiteral("00000001");
            x.zznum = l.kg;
            x.zzjg = l.price;
            x.zzje = l.price * l.kg / 1000;
        }
        return writeSaleLine(s(), x);
    }

    // The east region's period: issues, returns, a line of the west region and
    // lines outside the period.
    void loadPeriod()
    {
        const Line lines[] = {
            {"1200001", "张记养殖场", kEast, "n401", "猪用浓缩料", "2026-11-19", false, 3000, 2800, 2500, 3000},
            {"1200001", "张记养殖场", kEast, "n402", "鸡用浓缩料", "2026-11-25", false, 3000, 2800, 2900, 3000},
            {"1200002", "李家猪场", kEast, "q101", "乳猪全价料", "2026-12-02", false, 1200, 3000, 3000, 3200},
            // A return of goods sold at a profit, and one sold below cost.
            {"1200001", "张记养殖场", kEast, "n401", "猪用浓缩料", "2026-12-05", true, 1000, 2800, 2500, 3000},
            {"1200002", "李家猪场", kEast, "n402", "鸡用浓缩料", "2026-12-18", true, 500, 2800, 2900, 3000},
            {"1300001", "王家牧场", kWest, "n401", "猪用浓缩料", "2026-12-01", false, 800, 2700, 2500, 3000},
            {"1200001", "张记养殖场", kEast, "n401", "猪用浓缩料", "2026-11-18", false, 999, 2800, 2500, 3000},
            {"1200001", "张记养殖场", kEast, "n401", "猪用浓缩料", "2026-12-19", false, 999, 2800, 2500, 3000},
        };
        for (const Line &l : lines) add(l);
    }

    QStringList costRows(const QString &workstation)
    {
        QStringList out;
        for (const Row &r : s().rows(QStringLiteral("SELECT region, khdm, zznum, cbce FROM {khcb_mx} WHERE owner = ? "
                                                    "ORDER BY id"),
                                     {workstation}))
            out << QStringLiteral("%1 %2 %3 %4")
                       .arg(r.text(QStringLiteral("region")), r.text(QStringLiteral("khdm")))
                       .arg(r.number(QStringLiteral("zznum")))
                       .arg(r.number(QStringLiteral("cbce")));
        return out;
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        m_serial = 0;
    }

    // Each line's row: q, p, c and the three amounts; the gross profit is
    // their margins' sum, returns taking back their share.
    void amountsOfIssuesAndReturns()
    {
        loadPeriod();
        const CostRun run = costs().process(kEast, kStart, kEnd);
        QVERIFY(run.stopMessage.isEmpty());
        QCOMPARE(run.lines, 5);
        const std::vector<CostDetail> rows = costs().regionRows(kEast, false);
        QCOMPARE(int(rows.size()), 5);
        struct Expected {
            double zznum, zzjg, zzje, cbjg, cbje, cbce;
            const char *rq;
        };
        const Expected expected[] = {
            {3000, 2800, 8400, 2500, 7500, 900, "2026-11-19"},
            {3000, 2800, 8400, 2900, 8700, -300, "2026-11-25"},
            {1200, 3000, 3600, 3000, 3600, 0, "2026-12-02"},
            {-1000, 2800, -2800, 2500, -2500, -300, "2026-12-05"},
            {-500, 2800, -1400, 2900, -1450, 50, "2026-12-18"},
        };
        for (int i = 0; i < 5; ++i) {
            const CostDetail &d = rows[size_t(i)];
            const Expected &e = expected[i];
            QCOMPARE(d.zznum, e.zznum);
            QCOMPARE(d.zzjg, e.zzjg);
            QCOMPARE(d.zzje, e.zzje);
            QCOMPARE(d.cbjg, e.cbjg);
            QCOMPARE(d.cbje, e.cbje);
            QVERIFY2(std::fabs(d.cbce - e.cbce) < 1e-9, qPrintable(QString::number(d.cbce)));
            QCOMPARE(d.rq, QString::fromLatin1(e.rq));
            QCOMPARE(d.fphm, QString::number(i + 1));
            QCOMPARE(d.region, kEast);
        }
        QCOMPARE(rows[0].khmc, QStringLiteral("张记养殖场"));
        QCOMPARE(rows[0].cpmc, QStringLiteral("猪用浓缩料"));
        QVERIFY(std::fabs(run.grossProfit - 350) < 1e-9);
        // The regional sheet reads them by date.
        QCOMPARE(costs().regionRows(kEast, true).front().rq, QStringLiteral("2026-11-19"));
    }

    // A line without cost price stops the run there: the lines before it stay
    // and are totalled, the message names customer, product and specification.
    void zeroCostStops()
    {
        loadPeriod();
        const qint64 bad = add({"1200002", "李家猪场", kEast, "y201", "预混料A", "2026-11-20", false, 100, 5000, 0, 6000});
        // After it in table order, but earlier in date: still not processed.
        add({"1200001", "张记养殖场", kEast, "n401", "猪用浓缩料", "2026-11-19", false, 50, 2800, 2500, 3000});
        const CostRun run = costs().process(kEast, kStart, kEnd);
        QCOMPARE(run.stopMessage,
                 QStringLiteral("注意：客户:李家猪场的预混料A,规格：40,成本价格为0,请检查,不能继续处理！"));
        QCOMPARE(run.lines, 5);
        QVERIFY(std::fabs(run.grossProfit - 350) < 1e-9);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khcb_mx} WHERE fphm = ?"), {QString::number(bad)}).toInt(), 0);

        // A cost price that is merely missing counts as 0 as well.
        s().execute(QStringLiteral("UPDATE {sale1} SET cbjg = NULL WHERE id = ?"), {bad});
        QCOMPARE(costs().process(kEast, kStart, kEnd).lines, 5);
        // A return without cost price stops the run too.
        s().execute(QStringLiteral("DELETE FROM {sale1} WHERE id = ?"), {bad});
        s().execute(QStringLiteral("UPDATE {sale1} SET cbjg = 0 WHERE bz_1 = '3' AND tlnum = 1000"));
        const CostRun atReturn = costs().process(kEast, kStart, kEnd);
        QCOMPARE(atReturn.lines, 3);
        QVERIFY(atReturn.stopMessage.contains(QStringLiteral("张记养殖场的猪用浓缩料")));
    }

    // Only the lines whose policy price does not exceed their cost price: a
    // profitable return is not abnormal, a return of goods sold below cost is,
    // and a price equal to cost is. The totals print over the listed rows
    // whatever the last row is.
    void abnormalSheetListsLinesBelowCost()
    {
        loadPeriod();
        costs().process(kEast, kStart, kEnd);
        const ReportDocument doc = abnormalCostSheet(costs().regionRows(kEast, false), QStringLiteral("测试饲料有限公司"),
                                                     kEast, kToday);
        FM_COMPARE_GOLDEN(doc.toText(), "pricing/golden/abnormal_cost_sheet.txt");
        // No row below cost: the sheet still prints its (zero) totals.
        const QString empty = abnormalCostSheet({}, QStringLiteral("测试饲料有限公司"), kEast, kToday).toText();
        QVERIFY2(empty.contains(QStringLiteral("总计：")), qPrintable(empty));
    }

    void regionalSheetAndCustomerList()
    {
        loadPeriod();
        // A line of no quantity is listed in the cost rows but not printed.
        add({"1200001", "张记养殖场", kEast, "n401", "猪用浓缩料", "2026-11-21", false, 0, 2800, 2500, 3000});
        costs().process(kEast, kStart, kEnd);
        FM_COMPARE_GOLDEN(regionalCostSheet(costs().regionRows(kEast, true), QStringLiteral("测试饲料有限公司"), kEast, kToday)
                              .toText(),
                          "pricing/golden/regional_cost_sheet.txt");
        // The customer's rows within the dates, code matched without regard to case.
        const std::vector<CostDetail> rows = costs().customerRows(QStringLiteral(" 1200001 "), QDate(2026, 11, 19),
                                                                  QDate(2026, 12, 5));
        QCOMPARE(int(rows.size()), 4);
        FM_COMPARE_GOLDEN(customerCostList(rows, QStringLiteral("张记养殖场"), QStringLiteral("1200001"), kToday).toText(),
                          "pricing/golden/customer_cost_list.txt");
        // The query window's print: the customer's current lines.
        FM_COMPARE_GOLDEN(customerCostPrices(costs().customerLines(QStringLiteral("1200002"), kStart, kEnd)).toText(),
                          "pricing/golden/customer_cost_prices.txt");
    }

    // Two workstations process different regions: each keeps its own rows;
    // choosing a region again clears only that workstation's rows of it.
    void workstationsKeepTheirOwnRows()
    {
        loadPeriod();
        std::unique_ptr<Session> other = m_db->openAnother();
        CostProcessing a(s(), QStringLiteral("pc-a"));
        CostProcessing b(*other, QStringLiteral("pc-b"));
        a.process(kEast, kStart, kEnd);
        b.process(kWest, kStart, kEnd);
        a.process(kEast, kStart, kEnd); // a run replaces only pc-a's rows
        QCOMPARE(costRows(QStringLiteral("pc-a")).size(), 5);
        QCOMPARE(costRows(QStringLiteral("pc-b")), QStringList{QStringLiteral("西河片区 1300001 800 160")});
        b.process(kEast, kStart, kEnd);
        QCOMPARE(b.clearRegion(kEast), 5);
        QCOMPARE(costRows(QStringLiteral("pc-a")).size(), 5);
        QCOMPARE(a.clearRegion(kWest), 0);
        QCOMPARE(a.clearRegion(kEast), 5);
        QCOMPARE(costRows(QStringLiteral("pc-a")).size(), 0);
    }

    // A run writes in one transaction: a failure at any write leaves the
    // workstation's earlier rows as they were.
    void runIsAtomic()
    {
        loadPeriod();
        const int writes = fm::test::checkEachWriteFailing(
            s(), {QStringLiteral("khcb_mx")},
            [&] {
                s().execute(QStringLiteral("DELETE FROM {khcb_mx}"));
                costs().process(kWest, kStart, kEnd);
            },
            [&] { costs().process(kEast, kStart, kEnd); });
        QVERIFY(writes >= 2);
    }

    void datesChecked()
    {
        QVERIFY_THROWS_EXCEPTION(DomainError, CostProcessing::parseDate(QStringLiteral("2026-13-01")));
        QCOMPARE(CostProcessing::parseDate(QStringLiteral("2026/12/01")), QDate(2026, 12, 1));
        QVERIFY_THROWS_EXCEPTION(DomainError, costs().process(kEast, kEnd, kStart));
    }
};

QTEST_MAIN(TestCostProcessing)
#include "tst_costprocessing.moc"
