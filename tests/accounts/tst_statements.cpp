// Statements, settlement lists and the arrears summary: the documents against
// golden files (text and spreadsheet cells), the summary's scopes and sums,
// the month records of the browser, the age of the arrears and the credit
// limit with its warning at the slip.

#include "accounts/accountdocuments.h"
#include "accounts/arrearssummary.h"
#include "accounts/credit.h"
#include "accounts/settlementfixture.h"
#include "accounts/statements.h"
#include "common/clock.h"
#include "data/seed.h"
#include "reports/reportexport.h"
#include "sales/salesfixture.h"
#include "sales/salesslip.h"
#include "sales/turnovernumbers.h"
#include "support/golden.h"
#include "support/testdb.h"
#include "support/xlsxcells.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

template <class Fn>
QString refusal(Fn fn)
{
    try {
        fn();
    } catch (const DomainError &e) {
        return e.message();
    }
    return QString();
}

// The document as text and, exported, its cells.
void compareDocument(const ReportDocument &doc, const QString &name)
{
    QVERIFY(matchesGolden(doc.toText(), QStringLiteral("accounts/golden/%1.txt").arg(name)));
    QTemporaryDir dir;
    const QString path = dir.filePath(name + QStringLiteral(".xlsx"));
    QString error;
    QVERIFY2(exportXlsx(doc, path, &error), qPrintable(error));
    QVERIFY(matchesGolden(xlsxCells(path), QStringLiteral("accounts/golden/%1.xlsx.txt").arg(name)));
}

} // namespace

class TestStatements : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

    Session &s() { return m_db->session(); }
    SettlementRows rows() { return SettlementRows{s()}; }
    qint64 month(const QString &code, const QString &name, const QString &region, const QString &rq, double ysje,
                 double sjje, double tgf)
    {
        return s().insert(QStringLiteral("khzqk"), {{"khdm", code}, {"khmc", name}, {"region", region}, {"ysje", ysje},
                                                    {"sjje", sjje}, {"sjqk", ysje - sjje - tgf}, {"sjzq", ysje - sjje},
                                                    {"tgf", tgf}, {"rq", rq}});
    }

    // Two regions; month records of known sums.
    //   1100001 甲: 2018-03 (tgf 100), 2018-04 (tgf 250), 2018-06 (after the cut-off)
    //   1100002 乙 (closed): 2018-05, owes 1000
    //   1100003 丙: settled square, no fee: not listed
    //   1100004 丁: no month record
    //   1200001 戊 (moved to 城关镇东区 by name, code of 东山乡南区): owes 500
    //   9900001 己: a code prefix without a region
    void summaryFixture()
    {
        SettlementRows r = rows();
        r.region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        r.region(QStringLiteral("东山乡南区"), QStringLiteral("12"));
        const QString east = QStringLiteral("城关镇东区"), south = QStringLiteral("东山乡南区");
        r.customer(QStringLiteral("1100001"), QStringLiteral("甲"), east);
        r.customer(QStringLiteral("1100002"), QStringLiteral("乙"), east, "x");
        r.customer(QStringLiteral("1100003"), QStringLiteral("丙"), east);
        r.customer(QStringLiteral("1100004"), QStringLiteral("丁"), east);
        r.customer(QStringLiteral("1200001"), QStringLiteral("戊"), east);
        r.customer(QStringLiteral("9900001"), QStringLiteral("己"), south);
        month("1100001", "甲", east, "2018-03", 10000, 7000, 100);
        month("1100001", "甲", east, "2018-04", 8000, 9000, 250);
        month("1100001", "甲", east, "2018-06", 5000, 0, 50);
        month("1100002", "乙", east, "2018-05", 3000, 2000, 0);
        month("1100003", "丙", east, "2018-04", 4000, 4000, 0);
        month("1200001", "戊", east, "2018-02", 500, 0, 0);
        month("9900001", "己", south, "2018-02", 700, 0, 0);
    }
    static QStringList shown(const ArrearsResult &r)
    {
        QStringList out;
        for (const ArrearsLine &l : r.lines)
            out << QStringLiteral("%1 %2 %3 ysje=%4 sjje=%5 sjqk=%6 sjzq=%7 tgf=%8")
                       .arg(l.code, l.name, l.region)
                       .arg(l.receivable).arg(l.received).arg(l.arrears).arg(l.arrearsBeforeFee).arg(l.fee);
        return out;
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    // ---- documents ------------------------------------------------------

    void settlementList()
    {
        std::vector<SettlementLine> lines(3);
        lines[0] = {1, "1100001", "城关镇东区", "张记养殖场", "n401", "猪用浓缩料", "40", 1500, 4500, 0, 4200, 300,
                    "2018-04-19", "2018-05-18", "0"};
        lines[1] = {2, "1100001", "城关镇东区", "张记养殖场", "q210", "猪用全价料", "20", 800, 1760, 0, 1680, 80,
                    "2018-04-19", "2018-05-18", "1"};
        // Wholly returned at another price: nothing sold net, a fee all the same.
        lines[2] = {3, "1100001", "城关镇东区", "张记养殖场", "y001", "猪用预混料", "1", 0, -10, 0, -15, 5,
                    "2018-04-19", "2018-05-18", "2"};
        compareDocument(settlementListDocument(QStringLiteral("张记养殖场"), QDate(2018, 4, 19), QDate(2018, 5, 18), lines,
                                               QDate(2018, 5, 20)),
                        QStringLiteral("settlement_list"));
    }

    void statementOfAccount()
    {
        SettlementRows r = rows();
        r.region(QStringLiteral("城关镇东区"), QStringLiteral("11"));
        const Customer c = r.customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), QStringLiteral("城关镇东区"));
        r.funds(c, QStringLiteral("2018-04-20"), 7000, 4000);
        r.funds(c, QStringLiteral("2018-04-28"), 0, 0); // neither owed nor paid: not printed
        r.funds(c, QStringLiteral("2018-05-06"), 5000, 5000);
        const qint64 last = r.funds(c, QStringLiteral("2018-05-18"), 0, 0);
        r.funds(c, QStringLiteral("2018-05-19"), 999, 0); // after the end
        s().execute(QStringLiteral("UPDATE {khzj} SET zzje = 300 WHERE id = ?"), {last});
        month("1100001", "张记养殖场", "城关镇东区", "2018-03", 3000, 2000, 100);
        month("1100001", "张记养殖场", "城关镇东区", "2018-04", 12000, 9000, 300);

        const Statement st = statementOf(s(), c.code, QDate(2018, 4, 19), QDate(2018, 5, 18));
        QCOMPARE(st.rows.size(), size_t(4));
        QCOMPARE(st.owed(), 3000.0);
        QCOMPARE(st.fee, 300.0);
        QCOMPARE(st.actual(), 2700.0);
        const ArrearsAging aging = arrearsAging(s(), c.code, QDate(2018, 5, 18));
        compareDocument(statementOfAccountDocument(c.name, QDate(2018, 4, 19), QDate(2018, 5, 18), st, aging),
                        QStringLiteral("statement_of_account"));

        // No rows: headers and zero totals.
        const Statement none = statementOf(s(), c.code, QDate(2017, 1, 1), QDate(2017, 1, 31));
        QVERIFY(none.rows.empty());
        QCOMPARE(none.actual(), 0.0);
        QVERIFY(statementOfAccountDocument(c.name, QDate(2017, 1, 1), QDate(2017, 1, 31), none, ArrearsAging())
                    .toText()
                    .contains(QStringLiteral("本期实际欠款：0(元)")));
    }

    void arrearsStatement()
    {
        // Printed in May: the 18th of May, whatever the cut-off was.
        const ReportDocument doc =
            arrearsStatementDocument(QStringLiteral("测试饲料有限公司"), QStringLiteral("张记养殖场"), 12345.678, QDate(2018, 5, 3));
        QVERIFY(doc.toText().contains(QStringLiteral("至2018年05月18日止，您在测试饲料有限公司")));
        compareDocument(doc, QStringLiteral("arrears_statement"));
    }

    // ---- the age of the arrears -----------------------------------------

    void agingBuckets_data()
    {
        QTest::addColumn<QList<double>>("debts"); // ysje per month, newest first, from the cut-off's month back
        QTest::addColumn<double>("paid");         // paid in the oldest month
        QTest::addColumn<QList<double>>("buckets"); // current, 1-3, 3-6, over 6, total
        // Months 0..8 back from 2018-04.
        QTest::newRow("all open") << QList<double>{100, 200, 0, 0, 400, 0, 0, 800} << 0.0
                                  << QList<double>{100, 200, 400, 800, 1500};
        QTest::newRow("oldest paid first") << QList<double>{100, 200, 0, 0, 400, 0, 0, 800} << 1000.0
                                           << QList<double>{100, 200, 200, 0, 500};
        QTest::newRow("in credit") << QList<double>{100} << 300.0 << QList<double>{0, 0, 0, 0, -200};
        QTest::newRow("three months is 1-3") << QList<double>{0, 0, 0, 50} << 0.0 << QList<double>{0, 50, 0, 0, 50};
        QTest::newRow("seven months is over 6") << QList<double>{0, 0, 0, 0, 0, 0, 0, 70} << 0.0
                                                << QList<double>{0, 0, 0, 70, 70};
    }
    void agingBuckets()
    {
        QFETCH(QList<double>, debts);
        QFETCH(double, paid);
        QFETCH(QList<double>, buckets);
        const QDate cut(2018, 5, 10); // in the period 2018-04-19 .. 2018-05-18
        for (int back = 0; back < debts.size(); ++back) {
            const QString key = QDate(2018, 4, 1).addMonths(-back).toString(QStringLiteral("yyyy-MM"));
            const bool oldest = back == debts.size() - 1;
            month("1100001", "甲", "东区", key, debts[back], oldest ? paid : 0, 0);
        }
        month("1100001", "甲", "东区", "2018-05", 9999, 0, 0); // after the cut-off's period
        const ArrearsAging a = arrearsAging(s(), QStringLiteral("1100001"), cut);
        QCOMPARE(a.monthKey, QStringLiteral("2018-04"));
        QCOMPARE((QList<double>{a.current, a.upTo3, a.upTo6, a.older, a.total}), buckets);
    }

    void agingCountsFeesAsPaid()
    {
        month("1100001", "甲", "东区", "2018-03", 1000, 0, 100);
        month("1100001", "甲", "东区", "2018-04", 500, 0, 50);
        const ArrearsAging a = arrearsAging(s(), QStringLiteral("1100001"), QDate(2018, 5, 18));
        QCOMPARE(a.current, 450.0);
        QCOMPARE(a.upTo3, 900.0);
        QCOMPARE(a.total, 1350.0);
    }

    // ---- the arrears summary --------------------------------------------

    void summaryByScope()
    {
        summaryFixture();
        ArrearsSummary summary(s());
        const QDate today(2018, 7, 2);
        const QString east = QStringLiteral("城关镇东区");

        const ArrearsResult all = summary.rebuild(ArrearsScope::all(), QStringLiteral("2018-05"), today);
        QCOMPARE(shown(all), (QStringList{
                                 "1100001 甲 城关镇东区 ysje=18000 sjje=16000 sjqk=1650 sjzq=2000 tgf=250",
                                 "1100002 乙 城关镇东区 ysje=3000 sjje=2000 sjqk=1000 sjzq=1000 tgf=0",
                                 "1200001 戊 城关镇东区 ysje=500 sjje=0 sjqk=500 sjzq=500 tgf=0"}));
        QCOMPARE(all.total, 3150.0);
        // Every customer of a region got its row, zeros included; 己 has no region.
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khqk_cx}")).toInt(), 5);
        QCOMPARE(s().scalar(QStringLiteral("SELECT MIN(rq) FROM {khqk_cx}")).toString(), QStringLiteral("2018-07-02"));

        // One region: by code prefix, shown by region name.
        const ArrearsResult region = summary.rebuild(ArrearsScope::region(east, QStringLiteral("11")), QStringLiteral("2018-05"), today);
        QCOMPARE(region.lines.size(), size_t(2));
        QCOMPARE(region.total, 2650.0);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khqk_cx}")).toInt(), 4);

        // One customer; the cut-off's own month is in, the next is not.
        const ArrearsResult one = summary.rebuild(ArrearsScope::customer(east, QStringLiteral("1100001"), QStringLiteral("甲")),
                                                  QStringLiteral("2018-06"), today);
        QCOMPARE(shown(one), QStringList{"1100001 甲 城关镇东区 ysje=23000 sjje=16000 sjqk=6600 sjzq=7000 tgf=50"});
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khqk_cx}")).toInt(), 1);

        // No month record up to the cut-off: an empty summary.
        QVERIFY(summary.rebuild(ArrearsScope::all(), QStringLiteral("2018-01"), today).lines.empty());
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khqk_cx}")).toInt(), 0);

        QCOMPARE(refusal([&] { summary.rebuild(ArrearsScope::all(), QStringLiteral("2018-5"), today); }),
                 QStringLiteral("年月有错！请按yyyy-mm输入。"));
        QCOMPARE(refusal([&] { ArrearsSummary::checkMonth(QStringLiteral("2018-13")); }), QStringLiteral("年月有错！请按yyyy-mm输入。"));
    }

    void summaryTotalInTenThousands()
    {
        ArrearsResult r;
        r.total = 123456;
        QCOMPARE(r.totalInTenThousands(), 12.3456);
    }

    void summaryDocument()
    {
        summaryFixture();
        ArrearsResult r = ArrearsSummary(s()).rebuild(ArrearsScope::all(), QStringLiteral("2018-05"), QDate(2018, 7, 2));
        // A customer only owed a fee: listed, but not printed.
        ArrearsLine feeOnly;
        feeOnly.code = QStringLiteral("1100005");
        feeOnly.name = QStringLiteral("庚");
        feeOnly.region = QStringLiteral("城关镇东区");
        feeOnly.fee = 30;
        r.lines.push_back(feeOnly);
        std::reverse(r.lines.begin(), r.lines.end()); // as sorted in the window
        compareDocument(arrearsSummaryDocument(r.lines, QDate(2018, 7, 2)), QStringLiteral("arrears_summary"));
    }

    // ---- month records --------------------------------------------------

    void monthRecordsAndTheirTotals()
    {
        summaryFixture();
        MonthRecords records(s());
        const std::vector<MonthRecord> upToMay = records.list({QStringLiteral("1100001"), QStringLiteral("2018-05-18")});
        QCOMPARE(upToMay.size(), size_t(2));
        const MonthTotals t = MonthRecords::totals(upToMay);
        QCOMPARE(t.arrearsBeforeFee, 2000.0);
        QCOMPARE(t.fee, 350.0);
        QCOMPARE(t.receivable, 18000.0);
        QCOMPARE(t.received, 16000.0);
        QCOMPARE(t.actual(), 1650.0);
        QCOMPARE(records.list({QStringLiteral("1100001"), QString()}).size(), size_t(3));

        records.remove(upToMay.front().id);
        QCOMPARE(MonthRecords::totals(records.list({QStringLiteral("1100001"), QStringLiteral("2018-05-18")})).actual(), -1250.0);
        QCOMPARE(refusal([&] { records.remove(upToMay.front().id); }), QStringLiteral("未找到要删除的记录！"));
        QCOMPARE(yuanText(-1250), QStringLiteral("-1,250.00"));
    }

    // ---- credit limit ---------------------------------------------------

    void creditLimitAndTheWarningAtTheSlip()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        seedNewInstallation(s(), clock, SeedOptions{});
        loadSalesFixture(s());
        TurnoverNumbers(s()).initialise(QStringLiteral("0001000"));
        const QString code = QStringLiteral("1100001");

        QVERIFY(!creditLimit(s(), code));
        QCOMPARE(refusal([&] { setCreditLimit(s(), code, QStringLiteral("1万")); }), QStringLiteral("请输入正确的数字！"));
        QCOMPARE(refusal([&] { setCreditLimit(s(), code, QStringLiteral("-5")); }), QStringLiteral("请输入正确的数字！"));
        QCOMPARE(refusal([&] { setCreditLimit(s(), QStringLiteral("1199999"), QStringLiteral("5")); }), QStringLiteral("查无此客户！"));
        setCreditLimit(s(), code, QStringLiteral(" 5000.004 "));
        QCOMPARE(*creditLimit(s(), code), 5000.0);

        // Owed before: 3 000 on an earlier slip, less a 200 fee granted at settlement.
        s().insert(QStringLiteral("khzj"), {{"khdm", code}, {"ysje", 4000.0}, {"sjje", 1000.0}, {"rq", "2026-11-01"}});
        s().insert(QStringLiteral("khzqk"), {{"khdm", code}, {"tgf", 200.0}, {"rq", "2026-10"}});
        QCOMPARE(customerArrears(s(), code, clock.today()), 2800.0);

        // A slip line of 20 bags of 40 kg at 2 350: 2 800 + 1 880 stays within 5 000.
        SalesSlip slip(s(), clock, QStringLiteral("admin"), QStringLiteral("ws1:admin"));
        slip.openWindow();
        slip.start();
        QVERIFY(slip.enterCustomer(code));
        const auto q = slip.quote(QStringLiteral("n40"));
        SlipLine line = slip.prepareLine(*q, q->price, 20, SalesSlip::unitFor(q->category, q->spec));
        QCOMPARE(line.amount, 1880.0);
        QVERIFY(!creditWarning(s(), code, slip.totals().amount + line.amount, clock.today()));
        slip.confirmLine(line);
        // The next line would take it past: the clerk is asked, not refused.
        line = slip.prepareLine(*q, q->price, 5, SalesSlip::unitFor(q->category, q->spec));
        const auto warning = creditWarning(s(), code, slip.totals().amount + line.amount, clock.today());
        QVERIFY(warning);
        QCOMPARE(*warning, QStringLiteral("该客户的欠款将超过信用额度！\n信用额度：5,000.00元，现欠款：2,800.00元，"
                                          "本单：2,350.00元，合计：5,150.00元。\n是否继续？"));
        slip.confirmLine(line);
        slip.startPayment();
        slip.close(2350); // paid in full: the arrears stay as they were
        QCOMPARE(customerArrears(s(), code, clock.today()), 2800.0);

        setCreditLimit(s(), code, QStringLiteral(""));
        QVERIFY(!creditLimit(s(), code));
        QVERIFY(!creditWarning(s(), code, 1e9, clock.today()));
    }
};

QTEST_MAIN(TestStatements)
#include "tst_statements.moc"
