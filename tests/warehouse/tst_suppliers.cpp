// Suppliers and their funds, and the raw-material queries: balances over
// receipts, corrections and payments, the refusals of the register, the
// summary rebuilt in one transaction, the six query tabs on small fixtures,
// and the documents against golden files.

#include "common/clock.h"
#include "data/rowpager.h"
#include "data/session.h"
#include "reports/reportexport.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"
#include "warehouse/materialdesk.h"
#include "warehouse/materialqueries.h"
#include "warehouse/receiptcorrections.h"
#include "warehouse/suppliers.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace fm;
using fm::test::TestDb;

namespace {

int count(Session &s, const QString &table, const QString &where = QString(), const Values &values = {})
{
    return s.scalar(QStringLiteral("SELECT COUNT(*) FROM {%1} %2").arg(table, where), values).toInt();
}

QString refusal(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const DomainError &e) {
        return e.message();
    }
    return QString();
}

int rowsOf(Session &s, const RowQuery &q)
{
    return int(RowPager(s, q).count());
}

} // namespace

class TestSuppliers : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }
    SupplierFunds funds() { return SupplierFunds(s(), m_clock, QStringLiteral("op001")); }
    MaterialQueries queries() { return MaterialQueries(s(), m_clock); }

    void setDay(int month, int day) { m_clock.set(QDateTime(QDate(2026, month, day), QTime(10, 0))); }

    void addSupplier(const QString &code, const QString &name, const QString &address = QStringLiteral("城东"))
    {
        s().insert(QStringLiteral("gyszlk"), {{"gysdm", code}, {"gysmc", name}, {"gysaddr", address}, {"gystel", " "},
                                              {"gysbz", "1"}});
    }

    // Two suppliers, corn and a premix; on 11-05 a receipt of 20 000 yuan
    // from g01 paid 5 000, on 11-20 a payment of 10 000 to g01, on 12-01 a
    // receipt from g02 corrected on 12-02; issues of both kinds.
    void fixture()
    {
        addSupplier(QStringLiteral("g01"), QStringLiteral("粮站"));
        addSupplier(QStringLiteral("g02"), QStringLiteral("饲料厂"));
        addSupplier(QStringLiteral("g03"), QStringLiteral("无往来"));
        s().insert(QStringLiteral("ylpzk"), {{"yldm", "yumi"}, {"ylmc", "玉米"}, {"descip", "1"}, {"s0", 0.0}});
        s().insert(QStringLiteral("ylpzk"), {{"yldm", "px10"}, {"ylmc", "预混料"}, {"descip", "2"}, {"s0", 0.0}});
        s().insert(QStringLiteral("bzry"), {{"rydm", "w0001"}, {"rymc", "张三"}, {"bzdm", "01"}, {"rq", "2026-01-01"}});
        MaterialDesk d(s(), m_clock, QStringLiteral("op001"));
        setDay(11, 5);
        d.receive({QStringLiteral("yumi"), QStringLiteral("g01"), QString(), 10, 2000, false, 0, 5000});
        setDay(11, 20);
        d.pay(QStringLiteral("g01"), 10000);
        setDay(12, 1);
        const ReceiptResult r = d.receive({QStringLiteral("px10"), QStringLiteral("g02"), QString(), 2, 5000, false, 0, 0});
        d.receive({QStringLiteral("yumi"), QStringLiteral("g02"), QString(), 3.5, 1000, false, 0, 1000});
        d.issue({QStringLiteral("yumi"), 1.5, QStringLiteral("w0001"), QString(), IssueKind::Production});
        d.issue({QStringLiteral("px10"), 0.5, QStringLiteral("w0001"), QString(), IssueKind::Sale});
        setDay(12, 2);
        ReceiptCorrections(s(), m_clock, QStringLiteral("op001"))
            .correct({r.lineId, QStringLiteral("饲料厂"), QStringLiteral("预混料"), 2000, 4800, 0});
        // A material return: never among the issues.
        s().insert(QStringLiteral("ylckmx"), {{"yldm", "yumi"}, {"ylmc", "玉米"}, {"ylsl", 100.0}, {"ylje", 200.0},
                                              {"ck_bz", "3"}, {"rq_1", "2026-12-01"}});
        setDay(12, 10);
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        setDay(12, 10);
    }

    // --- balances ------------------------------------------------------------

    void balancesIncludePayments()
    {
        fixture();
        const DateRange all{QDate(), QDate(2026, 12, 31)};
        // g01: 20 000 payable, 5 000 + 10 000 paid.
        FundTotals t = funds().fundTotals(QStringLiteral("G01"), all);
        QCOMPARE(t.payable, 20000.0);
        QCOMPARE(t.paid, 15000.0);
        QCOMPARE(t.owed(), 5000.0);
        QCOMPARE(t.payableText(), QStringLiteral("2"));
        QCOMPARE(t.paidText(), QStringLiteral("1.5"));
        QCOMPARE(t.owedText(), QStringLiteral("0.5"));
        // g02: 10 000 + 3 500 payable, corrected to 9 600 + 3 500; 1 000 paid.
        t = funds().fundTotals(QStringLiteral("g02"), all);
        QCOMPARE(t.payable, 13100.0);
        QCOMPARE(t.owed(), 12100.0);
        // Every supplier: payments count here too.
        t = funds().fundTotals(QString(), all);
        QCOMPARE(t.owed(), 17100.0);
        QCOMPARE(SupplierRegister(s()).balance(QStringLiteral("g01")), 5000.0);
    }

    void processing()
    {
        fixture();
        FundTotals t = funds().process(QString(), DateRange{QDate(), QDate(2026, 12, 31)});
        QCOMPARE(t.owed(), 17100.0);
        QCOMPARE(count(s(), "gyszjhz"), 3); // g03 without lines has a row of zeros
        const auto g03 = s().row(QStringLiteral("SELECT * FROM {gyszjhz} WHERE gysdm = 'g03'"));
        QCOMPARE(g03->number("yfje"), 0.0);
        QCOMPARE(g03->text("rq_1"), QStringLiteral("2026-12-10"));
        QCOMPARE(g03->text("czydm"), QStringLiteral("op001"));
        const auto g01 = s().row(QStringLiteral("SELECT * FROM {gyszjhz} WHERE gysdm = 'g01'"));
        QCOMPARE(g01->number("yfje"), 20000.0);
        QCOMPARE(g01->number("sfje"), 15000.0);
        QCOMPARE(g01->number("sqje"), 5000.0);

        // A range: both ends included; a blank start takes everything before.
        t = funds().process(QStringLiteral("g01"), DateRange{QDate(2026, 11, 20), QDate(2026, 11, 20)});
        QCOMPARE(count(s(), "gyszjhz"), 1);
        QCOMPARE(t.payable, 0.0);
        QCOMPARE(t.paid, 10000.0);
        t = funds().process(QStringLiteral("g01"), DateRange{QDate(), QDate(2026, 11, 5)});
        QCOMPARE(t.payable, 20000.0);
        QCOMPARE(t.paid, 5000.0);
        QCOMPARE(refusal([&] { funds().process(QString(), DateRange{QDate(2026, 1, 1), QDate()}); }),
                 QStringLiteral("输入截止日期！"));
        QCOMPARE(count(s(), "gyszjhz"), 1);

        // The summary query filters on the processing date.
        QCOMPARE(rowsOf(s(), funds().summary(QString(), DateRange{QDate(2026, 12, 10), QDate(2026, 12, 10)})), 1);
        QCOMPARE(rowsOf(s(), funds().summary(QString(), DateRange{QDate(), QDate(2026, 12, 9)})), 0);
    }

    void processingIsOneTransaction()
    {
        const int writes = test::checkEachWriteFailing(
            s(), {QStringLiteral("gyszjhz"), QStringLiteral("gyszlk")},
            [&] {
                m_db->reset();
                fixture();
                funds().process(QStringLiteral("g01"), DateRange{QDate(), QDate(2026, 12, 31)});
            },
            [&] { funds().process(QString(), DateRange{QDate(), QDate(2026, 12, 31)}); });
        QCOMPARE(writes, 3);
    }

    // --- the register ------------------------------------------------------------

    void registerRefusals()
    {
        fixture();
        SupplierRegister reg(s());
        QCOMPARE(refusal([&] { reg.add({QStringLiteral("G01"), QStringLiteral("x"), QStringLiteral("y"), {}}); }),
                 QStringLiteral("该供应商代码已经存在，不能增加！"));
        QCOMPARE(refusal([&] { reg.add({QStringLiteral("g04"), QString(), QStringLiteral("y"), {}}); }),
                 QStringLiteral("供应商名称和地址不能为空！"));
        const qint64 id = reg.add({QStringLiteral(" g04 "), QStringLiteral("新厂"), QStringLiteral("城西"), {}});
        QCOMPARE(supplierById(s(), id)->code, QStringLiteral("g04"));
        QCOMPARE(supplierById(s(), id)->flag, QString());

        // Changing to another supplier's code is refused; to a free one, the
        // supplier's lines follow and its balance stays.
        const qint64 g01 = findSupplier(s(), QStringLiteral("g01"))->id;
        QCOMPARE(refusal([&] { reg.change(g01, {QStringLiteral("G02"), QStringLiteral("粮站"), QStringLiteral("城东"), {}}); }),
                 QStringLiteral("该供应商代码已经存在，不能修改！"));
        reg.change(g01, {QStringLiteral("g11"), QStringLiteral("粮站"), QStringLiteral("城东"), QStringLiteral("123")});
        QCOMPARE(supplierById(s(), g01)->flag, QString());
        QCOMPARE(reg.balance(QStringLiteral("g11")), 5000.0);
        QCOMPARE(count(s(), "ylrkmx", "WHERE gysdm = 'g11'"), 1);

        // A supplier that is owed cannot go; one that is settled can, and its lines stay.
        QCOMPARE(refusal([&] { reg.remove(g01); }), QStringLiteral("该供应商还有欠款，不能删除！"));
        MaterialDesk(s(), m_clock, QStringLiteral("op001")).pay(QStringLiteral("g11"), 5000);
        reg.remove(g01);
        QVERIFY(!findSupplier(s(), QStringLiteral("g11")));
        QCOMPARE(count(s(), "gyszjk", "WHERE gysdm = 'g11'"), 3);
        reg.remove(findSupplier(s(), QStringLiteral("g03"))->id);
    }

    // --- the query tabs ------------------------------------------------------------

    void receiptAndIssueQueries()
    {
        fixture();
        const QDate dec1(2026, 12, 1), dec31(2026, 12, 31);
        // 2 t and 3.5 t on one day.
        QCOMPARE(rowsOf(s(), queries().receipts(QString(), dec1, dec1)), 2);
        QueryTotals t = queries().receiptTotals(QString(), dec1, dec1);
        QCOMPARE(t.tonnesText(), QStringLiteral("5.5"));
        QCOMPARE(t.amountText(), QStringLiteral("1.31")); // 9 600 (corrected) + 3 500
        // One material, by its code in any letter case.
        QCOMPARE(rowsOf(s(), queries().receipts(QStringLiteral("YUMI"), QDate(2026, 11, 1), dec31)), 2);
        QCOMPARE(queries().receiptTotals(QStringLiteral("yumi"), QDate(2026, 11, 1), dec31).tonnesText(), QStringLiteral("13.5"));
        // An unknown code finds nothing.
        QCOMPARE(rowsOf(s(), queries().receipts(QStringLiteral("nothing"), dec1, dec31)), 0);

        // Issues of one kind; a return is never one of them.
        QCOMPARE(rowsOf(s(), queries().issues(QString(), dec1, dec31, IssueKind::Sale)), 1);
        QCOMPARE(rowsOf(s(), queries().issues(QString(), dec1, dec31, IssueKind::Production)), 1);
        t = queries().issueTotals(QString(), dec1, dec31, IssueKind::Production);
        QCOMPARE(t.tonnesText(), QStringLiteral("1.5"));
        QCOMPARE(rowsOf(s(), queries().issues(QStringLiteral("px10"), dec1, dec31, IssueKind::Production)), 0);
    }

    void receiptFundsQuery()
    {
        fixture();
        const QDate from(2026, 11, 1), to(2026, 12, 31);
        ReceiptFundTotals t = queries().receiptFundTotals(QStringLiteral("g01"), from, to);
        // Receipt lines only: the payment of 10 000 is not among them.
        QCOMPARE(t.payable, 20000.0);
        QCOMPARE(t.paid, 5000.0);
        QCOMPARE(t.owedText(), QStringLiteral("1.5"));
        QCOMPARE(rowsOf(s(), queries().receiptFunds(QString(), from, to)), 3);
        t = queries().receiptFundTotals(QString(), from, to);
        QCOMPARE(t.payable, 33100.0);
    }

    void stockQueries()
    {
        fixture();
        // A premix whose stock is gone.
        s().insert(QStringLiteral("ylhzk"), {{"yldm", "px20"}, {"ylmc", "空预混料"}, {"yldj", "2"}, {"ylsl", 0.0}, {"yljg", 1.0}});
        std::vector<StockRow> rows = queries().stock(QStringLiteral("2"));
        QCOMPARE(int(rows.size()), 1);
        QCOMPARE(rows[0].code, QStringLiteral("px10"));
        QCOMPARE(int(queries().stock(QString()).size()), 2);
        QCOMPARE(int(queries().allStock().size()), 3);

        // The sheet's totals come from its rows, the same every time.
        const QString once = queries().stockSheet(queries().stock(QString())).toText();
        QCOMPARE(queries().stockSheet(queries().stock(QString())).toText(), once);
        FM_COMPARE_GOLDEN(once, "warehouse/golden/stock_sheet.txt");

        QCOMPARE(rowsOf(s(), queries().materialRegister()), 2);
        s().insert(QStringLiteral("price"), {{"cpdm", "A01"}, {"cpmc", "编织袋"}, {"cpgg", "40"}, {"cpbz", "A"}});
        s().insert(QStringLiteral("price"), {{"cpdm", "G01"}, {"cpmc", "其他"}, {"cpgg", "40"}, {"cpbz", "G"}});
        s().insert(QStringLiteral("price"), {{"cpdm", "N01"}, {"cpmc", "浓缩料"}, {"cpgg", "40"}, {"cpbz", "0"}});
        QCOMPARE(rowsOf(s(), queries().packagingItems()), 1);
    }

    // --- documents ---------------------------------------------------------------

    void documents()
    {
        fixture();
        const DateRange all{QDate(), QDate(2026, 12, 31)};
        funds().process(QString(), all);
        FM_COMPARE_GOLDEN(funds().summaryDocument(QString(), DateRange{QDate(2026, 12, 10), QDate(2026, 12, 10)}).toText(),
                          "warehouse/golden/supplier_summary.txt");
        FM_COMPARE_GOLDEN(funds().detailDocument(QString(), all).toText(), "warehouse/golden/supplier_detail.txt");
        FM_COMPARE_GOLDEN(supplierListDocument(suppliers(s())).toText(), "warehouse/golden/supplier_list.txt");
        const ReportDocument statement = funds().statement(QStringLiteral("g01"), DateRange{QDate(2026, 11, 10), QDate(2026, 12, 31)});
        // g01 from after its receipt (a balance brought forward), g02 with a correction.
        FM_COMPARE_GOLDEN(statement.toText()
                              + funds().statement(QStringLiteral("g02"), DateRange{QDate(2026, 12, 1), QDate(2026, 12, 31)}).toText(),
                          "warehouse/golden/supplier_statement.txt");
        QTemporaryDir dir;
        QString error;
        QVERIFY2(exportXlsx(statement, dir.filePath(QStringLiteral("statement.xlsx")), &error), qPrintable(error));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("statement.xlsx"))).size() > 0);
    }
};

QTEST_GUILESS_MAIN(TestSuppliers)
#include "tst_suppliers.moc"
