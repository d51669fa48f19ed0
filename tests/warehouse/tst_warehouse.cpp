// Raw materials: receipts and the moving average, issues, supplier payments,
// receipt corrections, the register and the corrections of stock rows.

#include "common/clock.h"
#include "common/money.h"
#include "data/session.h"
#include "support/faults.h"
#include "support/testdb.h"
#include "warehouse/materialdesk.h"
#include "warehouse/materialregister.h"
#include "warehouse/materials.h"
#include "warehouse/receiptcorrections.h"

#include <QtTest>
#include <thread>

using namespace fm;
using fm::test::TestDb;

namespace {

const QString kBadNumber = QStringLiteral("请输入正确的数字！");

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

bool near(double a, double b, double tolerance = 1e-6)
{
    return std::fabs(a - b) <= tolerance * std::max(1.0, std::fabs(b));
}

#define QNEAR(a, b) QVERIFY2(near((a), (b)), qPrintable(QStringLiteral("%1 != %2").arg((a), 0, 'g', 17).arg((b), 0, 'g', 17)))

const QStringList kWarehouseTables = {QStringLiteral("ylpzk"), QStringLiteral("ylhzk"), QStringLiteral("ylrkmx"),
                                      QStringLiteral("ylckmx"), QStringLiteral("gyszjk"), QStringLiteral("gyszlk")};

} // namespace

class TestWarehouse : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }
    MaterialDesk desk() { return MaterialDesk(s(), m_clock, QStringLiteral("op001")); }

    qint64 addMaterial(const QString &code, const QString &name, const QString &flag = QStringLiteral("1"))
    {
        return s().insert(QStringLiteral("ylpzk"), {{"yldm", code}, {"ylmc", name}, {"descip", flag}, {"s0", 0.0}});
    }
    qint64 addStock(const QString &code, const QString &name, double kg, double price)
    {
        return s().insert(QStringLiteral("ylhzk"), {{"yldm", code}, {"ylmc", name}, {"yldj", "1"}, {"ylsl", kg},
                                                    {"yljg", price}, {"rq_1", "2026-11"}, {"bz_1", "1"}});
    }
    void addSupplier(const QString &code, const QString &name)
    {
        s().insert(QStringLiteral("gyszlk"), {{"gysdm", code}, {"gysmc", name}, {"gysaddr", " "}, {"gystel", " "},
                                              {"gysbz", ""}});
    }
    void addWorker(const QString &code, const QString &name, const QString &team)
    {
        s().insert(QStringLiteral("bzry"), {{"rydm", code}, {"rymc", name}, {"bzdm", team}, {"rq", "2026-01-01"}});
    }
    // Corn (yumi) from supplier g01, worker w0001 of team 01.
    void seed()
    {
        addMaterial(QStringLiteral("yumi"), QStringLiteral("玉米"));
        addSupplier(QStringLiteral("g01"), QStringLiteral("粮站"));
        addWorker(QStringLiteral("w0001"), QStringLiteral("张三"), QStringLiteral("01"));
    }
    ReceiptEntry receipt(double tonnes, double price, double paid = 0)
    {
        ReceiptEntry e;
        e.materialCode = QStringLiteral("YUMI");
        e.supplierCode = QStringLiteral("G01");
        e.contract = QStringLiteral("HT-1");
        e.tonnes = tonnes;
        e.pricePerTonne = price;
        e.paid = paid;
        return e;
    }
    ReceiptEntry amountOnly(double amount)
    {
        ReceiptEntry e = receipt(0, 0);
        e.amountOnly = true;
        e.amount = amount;
        return e;
    }
    IssueEntry issueOf(double tonnes, IssueKind kind = IssueKind::Production)
    {
        return IssueEntry{QStringLiteral("yumi"), tonnes, QStringLiteral("W0001"), QStringLiteral("一车间"), kind};
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init() { m_db->reset(); }

    // --- receipts --------------------------------------------------------

    void receiptArithmetic_data()
    {
        QTest::addColumn<double>("stockKg");   // < 0: no stock row
        QTest::addColumn<double>("stockPrice");
        QTest::addColumn<bool>("amountOnlyReceipt");
        QTest::addColumn<double>("tonnes");    // or the amount of an amount-only receipt
        QTest::addColumn<double>("price");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<double>("afterKg");
        QTest::addColumn<double>("afterPrice");
        QTest::addColumn<double>("payable");
        QTest::addColumn<double>("owed"); // paid 500 on ordinary receipts

        QTest::newRow("first receipt") << -1.0 << 0.0 << false << 1.0 << 2000.0 << QString() << 1000.0 << 2000.0
                                       << 2000.0 << 1500.0;
        QTest::newRow("weighted average") << 1000.0 << 2000.0 << false << 2.0 << 3000.0 << QString() << 3000.0
                                          << 8000000.0 / 3000 << 6000.0 << 5500.0;
        QTest::newRow("amount only") << 2000.0 << 2000.0 << true << 500.0 << 0.0 << QString() << 2000.0 << 2250.0
                                     << 500.0 << 500.0;
        QTest::newRow("no quantity, a price") << 1000.0 << 2000.0 << false << 0.0 << 3000.0 << QString() << 1000.0
                                              << 2000.0 << 0.0 << -500.0;
        QTest::newRow("stock at zero") << 0.0 << 2000.0 << false << 1.0 << 3000.0 << QString() << 1000.0 << 3000.0
                                       << 3000.0 << 2500.0;
        QTest::newRow("stock at zero, nothing received") << 0.0 << 2000.0 << false << 0.0 << 3000.0 << QString()
                                                         << 0.0 << 2000.0 << 0.0 << -500.0;
        QTest::newRow("amount only onto zero stock") << 0.0 << 2000.0 << true << 500.0 << 0.0
                                                     << QStringLiteral("库存数量为0，不能只输入金额！") << 0.0 << 2000.0
                                                     << 0.0 << 0.0;
        QTest::newRow("amount only without a stock row") << -1.0 << 0.0 << true << 500.0 << 0.0
                                                         << QStringLiteral("库存数量为0，不能只输入金额！") << 0.0
                                                         << 0.0 << 0.0 << 0.0;
        QTest::newRow("negative quantity") << 1000.0 << 2000.0 << false << -1.0 << 2000.0 << kBadNumber << 1000.0
                                           << 2000.0 << 0.0 << 0.0;
        QTest::newRow("price out of range") << 1000.0 << 2000.0 << false << 1.0 << 1e9 << kBadNumber << 1000.0
                                            << 2000.0 << 0.0 << 0.0;
        QTest::newRow("amount only of 0") << 1000.0 << 2000.0 << true << 0.0 << 0.0 << kBadNumber << 1000.0
                                          << 2000.0 << 0.0 << 0.0;
    }
    void receiptArithmetic()
    {
        QFETCH(double, stockKg);
        QFETCH(double, stockPrice);
        QFETCH(bool, amountOnlyReceipt);
        QFETCH(double, tonnes);
        QFETCH(double, price);
        QFETCH(QString, refused);
        QFETCH(double, afterKg);
        QFETCH(double, afterPrice);
        QFETCH(double, payable);
        QFETCH(double, owed);
        seed();
        if (stockKg >= 0) addStock(QStringLiteral("yumi"), QStringLiteral("玉米"), stockKg, stockPrice);
        const ReceiptEntry e = amountOnlyReceipt ? amountOnly(tonnes) : receipt(tonnes, price, 500);
        const QString before = test::snapshot(s(), kWarehouseTables);

        ReceiptResult r;
        QCOMPARE(refusal([&] { r = desk().receive(e); }), refused);
        if (!refused.isEmpty()) {
            QCOMPARE(test::snapshot(s(), kWarehouseTables), before);
            return;
        }
        const auto stock = findStock(s(), QStringLiteral("yumi"));
        QVERIFY(stock);
        QNEAR(stock->kilograms, afterKg);
        QNEAR(stock->pricePerTonne, afterPrice);
        QCOMPARE(stock->month, QStringLiteral("2026-12"));
        QNEAR(findMaterial(s(), QStringLiteral("yumi"))->price, afterPrice / 1000);
        QNEAR(r.registerPrice, afterPrice / 1000);

        const auto line = s().row(QStringLiteral("SELECT * FROM {ylrkmx} WHERE id = ?"), {r.lineId});
        QVERIFY(line);
        QCOMPARE(line->text("yldm"), QStringLiteral("yumi"));
        QCOMPARE(line->text("ylmc"), QStringLiteral("玉米"));
        QCOMPARE(line->text("gysdm"), QStringLiteral("g01"));
        QCOMPARE(line->text("gysmc"), QStringLiteral("粮站"));
        QCOMPARE(line->text("hthm"), QStringLiteral("HT-1"));
        QCOMPARE(line->text("yldj"), QStringLiteral("1"));
        QCOMPARE(line->text("rq_1"), QStringLiteral("2026-12-10"));
        QCOMPARE(line->text("czydm"), QStringLiteral("op001"));
        QNEAR(line->number("ylsl"), amountOnlyReceipt ? 0.0 : tonnes * 1000);
        QNEAR(line->number("yljg"), amountOnlyReceipt ? 0.0 : price / 1000);
        QNEAR(line->number("sjje"), payable);
        QNEAR(line->number("sfje"), amountOnlyReceipt ? 0.0 : 500.0);
        QNEAR(line->number("sqje"), owed);

        const auto fund = s().row(QStringLiteral("SELECT * FROM {gyszjk} WHERE id = ?"), {r.fundId});
        QVERIFY(fund);
        QCOMPARE(fund->text("gysdm"), QStringLiteral("g01"));
        QNEAR(fund->number("ylsl"), amountOnlyReceipt ? 0.0 : tonnes * 1000);
        QNEAR(fund->number("yfje"), payable);
        QNEAR(fund->number("sfje"), amountOnlyReceipt ? 0.0 : 500.0);
        QNEAR(fund->number("sqje"), owed);
        QCOMPARE(fund->isNull("sm"), false);
    }

    void receiptNeedsARegisteredMaterialAndSupplier()
    {
        seed();
        ReceiptEntry e = receipt(1, 2000);
        e.materialCode = QStringLiteral("nothing");
        QCOMPARE(refusal([&] { desk().receive(e); }), QStringLiteral("原料代码错误，重新输入！"));
        e = receipt(1, 2000);
        e.supplierCode = QStringLiteral("g99");
        QCOMPARE(refusal([&] { desk().receive(e); }), QStringLiteral("供应商代码错误，重新输入！"));
        QCOMPARE(count(s(), "ylrkmx") + count(s(), "ylhzk") + count(s(), "gyszjk"), 0);
    }

    // A receipt writes four tables; a failure of any write leaves none written.
    void receiptIsOneTransaction()
    {
        for (const bool existing : {false, true}) {
            const int writes = test::checkEachWriteFailing(
                s(), kWarehouseTables,
                [&] {
                    m_db->reset();
                    seed();
                    if (existing) addStock(QStringLiteral("yumi"), QStringLiteral("玉米"), 1000, 2000);
                },
                [&] { desk().receive(receipt(2, 3000, 100)); });
            QVERIFY(writes >= 5);
        }
    }

    // --- issues ------------------------------------------------------------

    void issues_data()
    {
        QTest::addColumn<double>("tonnes");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<double>("left");
        QTest::newRow("1.5 t") << 1.5 << QString() << 500.0;
        QTest::newRow("exactly the stock") << 2.0 << QString() << 0.0;
        QTest::newRow("1 kg more") << 2.001 << QStringLiteral("玉米库存数量不够！") << 2000.0;
        QTest::newRow("negative") << -1.0 << kBadNumber << 2000.0;
    }
    void issues()
    {
        QFETCH(double, tonnes);
        QFETCH(QString, refused);
        QFETCH(double, left);
        seed();
        addStock(QStringLiteral("yumi"), QStringLiteral("玉米"), 2000, 2000);
        IssueResult r;
        QCOMPARE(refusal([&] { r = desk().issue(issueOf(tonnes)); }), refused);
        QNEAR(findStock(s(), QStringLiteral("yumi"))->kilograms, left);
        QCOMPARE(findStock(s(), QStringLiteral("yumi"))->pricePerTonne, 2000.0);
        if (!refused.isEmpty()) {
            QCOMPARE(count(s(), "ylckmx"), 0);
            return;
        }
        const auto line = s().row(QStringLiteral("SELECT * FROM {ylckmx} WHERE id = ?"), {r.lineId});
        QVERIFY(line);
        QNEAR(line->number("ylsl"), tonnes * 1000);
        QCOMPARE(line->number("yljg"), 2000.0);
        QNEAR(line->number("ylje"), tonnes * 2000); // tonnes × stock price
        QCOMPARE(line->text("ck_bz"), QStringLiteral("0"));
        QCOMPARE(line->text("rydm"), QStringLiteral("w0001"));
        QCOMPARE(line->text("rymc"), QStringLiteral("张三"));
        QCOMPARE(line->text("bzdm"), QStringLiteral("01"));
        QCOMPARE(line->text("ly_sm"), QStringLiteral("一车间"));
        QCOMPARE(line->text("czydm"), QStringLiteral("op001"));
    }

    void issueRefusals()
    {
        seed();
        // A registered material without stock.
        QCOMPARE(refusal([&] { desk().issue(issueOf(1)); }), QStringLiteral("原料库中无此原料！"));
        addStock(QStringLiteral("yumi"), QStringLiteral("玉米"), 2000, 2000);
        IssueEntry e = issueOf(1);
        e.workerCode = QStringLiteral("nobody");
        QCOMPARE(refusal([&] { desk().issue(e); }), QStringLiteral("人员代码错误！"));
        QCOMPARE(count(s(), "ylckmx"), 0);
        // A sale is recorded as one.
        desk().issue(issueOf(1, IssueKind::Sale));
        QCOMPARE(count(s(), "ylckmx", "WHERE ck_bz = '1'"), 1);
    }

    void issueIsOneTransaction()
    {
        const int writes = test::checkEachWriteFailing(
            s(), kWarehouseTables,
            [&] {
                m_db->reset();
                seed();
                addStock(QStringLiteral("yumi"), QStringLiteral("玉米"), 2000, 2000);
            },
            [&] { desk().issue(issueOf(1)); });
        QVERIFY(writes >= 2);
    }

    // --- payments and suppliers ---------------------------------------------

    void supplierPayments()
    {
        seed();
        const qint64 id = desk().pay(QStringLiteral(" G01 "), 1234.567);
        const auto line = s().row(QStringLiteral("SELECT * FROM {gyszjk} WHERE id = ?"), {id});
        QVERIFY(line);
        QCOMPARE(line->text("gysdm"), QStringLiteral("g01"));
        QCOMPARE(line->text("gysmc"), QStringLiteral("粮站"));
        QCOMPARE(line->number("ylsl"), 0.0);
        QCOMPARE(line->number("yfje"), 0.0);
        QCOMPARE(line->number("sqje"), 0.0);
        QCOMPARE(line->number("sfje"), 1234.57); // typed money to the cent

        QCOMPARE(refusal([&] { desk().pay(QStringLiteral("g99"), 10); }), QStringLiteral("供应商代码错误，重新输入！"));
        QCOMPARE(refusal([&] { desk().pay(QStringLiteral("g01"), 0); }), kBadNumber);
        QCOMPARE(refusal([&] { desk().pay(QStringLiteral("g01"), -5); }), kBadNumber);
        QCOMPARE(count(s(), "gyszjk"), 1);
    }

    void newSuppliers()
    {
        seed();
        QCOMPARE(refusal([&] { desk().checkNewSupplierCode(QStringLiteral("G01")); }),
                 QStringLiteral("该代码已存在，重新选择！"));
        const qint64 id = desk().addSupplier({QStringLiteral(" g02 "), QStringLiteral("饲料厂"), QString(), QString()});
        const auto sup = supplierById(s(), id);
        QVERIFY(sup);
        QCOMPARE(sup->code, QStringLiteral("g02"));
        QCOMPARE(sup->flag, QStringLiteral("1"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT gysaddr FROM {gyszlk} WHERE id = ?"), {id}).toString(),
                 QStringLiteral(" "));
        QCOMPARE(refusal([&] { desk().addSupplier({QStringLiteral("G02"), QStringLiteral("x"), {}, {}}); }),
                 QStringLiteral("该代码已存在，重新选择！"));
    }

    // --- receipt corrections -------------------------------------------------

    // 10 000 kg at 2 000 (payable 20 000, paid 5 000) corrected to 9 000 kg at
    // 2 100 with 5 000 paid: the stock, holding only that receipt, ends as the
    // corrected receipt alone would leave it.
    void correctionExample()
    {
        seed();
        const ReceiptResult r = desk().receive(receipt(10, 2000, 5000));
        ReceiptCorrections c(s(), m_clock, QStringLiteral("op002"));
        const auto former = c.line(r.lineId);
        QVERIFY(former);
        QCOMPARE(former->pricePerTonne(), 2000.0);

        const CorrectionFigures f = ReceiptCorrections::figures(*former, 9000, 2100, 5000);
        QCOMPARE(f.payable, 18900.0);
        QCOMPARE(f.owed, 13900.0);

        const ReceiptCorrectionResult out = c.correct({r.lineId, QStringLiteral("粮站二"), QStringLiteral("玉米"), 9000, 2100, 5000});
        const auto line = c.line(r.lineId);
        QCOMPARE(line->kilograms, 9000.0);
        QNEAR(line->pricePerKilogram, 2.1);
        QCOMPARE(line->payable, 18900.0);
        QCOMPARE(line->paid, 5000.0);
        QCOMPARE(line->owed, 13900.0);
        QCOMPARE(line->supplierName, QStringLiteral("粮站二"));
        QCOMPARE(line->supplierCode, QStringLiteral("g01"));

        const auto fund = s().row(QStringLiteral("SELECT * FROM {gyszjk} WHERE id = ?"), {out.fundId});
        QCOMPARE(fund->text("gysdm"), QStringLiteral("g01"));
        QCOMPARE(fund->text("gysmc"), QStringLiteral("粮站二"));
        QCOMPARE(fund->number("ylsl"), -1000.0);
        QCOMPARE(fund->number("yfje"), -1100.0);
        QCOMPARE(fund->number("sfje"), 0.0);
        QCOMPARE(fund->number("sqje"), -1100.0);
        QCOMPARE(fund->text("czydm"), QStringLiteral("op002"));

        const auto stock = findStock(s(), QStringLiteral("yumi"));
        QCOMPARE(stock->kilograms, 9000.0);
        QNEAR(stock->pricePerTonne, 2100.0);
        // The register keeps the price of the last receipt.
        QNEAR(findMaterial(s(), QStringLiteral("yumi"))->price, 2.0);
        // The supplier's balance follows: 18 900 payable, 5 000 paid.
        QNEAR(s().scalar(QStringLiteral("SELECT SUM(yfje) - SUM(sfje) FROM {gyszjk} WHERE gysdm = 'g01'")).toDouble(), 13900.0);
        // One change-log row for the corrected line.
        const Rows log = s().rows(QStringLiteral("SELECT * FROM {czrz}"));
        QCOMPARE(log.size(), size_t(1));
        QCOMPARE(log.front().text("bm"), QStringLiteral("ylrkmx"));
        QCOMPARE(log.front().integer("jlid"), r.lineId);
        QCOMPARE(log.front().text("dm"), QStringLiteral("yumi"));
        for (const char *old : {"ylsl=10000", "yljg=2", "sjje=20000", "sqje=15000"})
            QVERIFY2(log.front().text("jz").contains(QLatin1String(old)), old);
        for (const char *now : {"gysmc=粮站二", "ylsl=9000", "yljg=2.1", "sjje=18900", "sqje=13900"})
            QVERIFY2(log.front().text("xz").contains(QString::fromUtf8(now)), now);
    }

    void correctionTargetsOneLine()
    {
        seed();
        // Two identical receipts (2.3 t, which is not a round number of kg in binary).
        const ReceiptResult a = desk().receive(receipt(2.3, 2000));
        const ReceiptResult b = desk().receive(receipt(2.3, 2000));
        ReceiptCorrections c(s(), m_clock, QStringLiteral("op001"));
        // Only the price of b: the stock price moves to the mean of both receipts.
        c.correct({b.lineId, QStringLiteral("粮站"), QStringLiteral("玉米"), c.line(b.lineId)->kilograms, 2200, 0});
        QCOMPARE(c.line(a.lineId)->pricePerTonne(), 2000.0);
        QNEAR(c.line(b.lineId)->pricePerTonne(), 2200.0);
        QCOMPARE(count(s(), "gyszjk"), 3);
        const auto stock = findStock(s(), QStringLiteral("yumi"));
        QNEAR(stock->kilograms, 4600.0);
        QNEAR(stock->pricePerTonne, 2100.0);

        // A line that is gone is refused, and nothing is written.
        QCOMPARE(refusal([&] { c.correct({999999, QStringLiteral("x"), QStringLiteral("y"), 1, 1, 0}); }),
                 QStringLiteral("未找到要修改的记录！"));
        QCOMPARE(count(s(), "gyszjk"), 3);
        // Out of range.
        QCOMPARE(refusal([&] { c.correct({a.lineId, QStringLiteral("x"), QStringLiteral("y"), -1, 1, 0}); }), kBadNumber);
    }

    void correctionKeepsAnAmountOnlyReceipt()
    {
        seed();
        addStock(QStringLiteral("yumi"), QStringLiteral("玉米"), 2000, 2000);
        const ReceiptResult r = desk().receive(amountOnly(500));
        ReceiptCorrections c(s(), m_clock, QStringLiteral("op001"));
        // Changing only the paid amount keeps the amount, and the stock's value.
        c.correct({r.lineId, QStringLiteral("粮站"), QStringLiteral("玉米"), 0, 0, 200});
        const auto line = c.line(r.lineId);
        QCOMPARE(line->payable, 500.0);
        QCOMPARE(line->owed, 300.0);
        QNEAR(findStock(s(), QStringLiteral("yumi"))->pricePerTonne, 2250.0);
    }

    void correctionIsOneTransaction()
    {
        qint64 id = 0;
        const int writes = test::checkEachWriteFailing(
            s(), kWarehouseTables,
            [&] {
                m_db->reset();
                seed();
                id = desk().receive(receipt(10, 2000, 5000)).lineId;
            },
            [&] {
                ReceiptCorrections(s(), m_clock, QStringLiteral("op001"))
                    .correct({id, QStringLiteral("粮站"), QStringLiteral("玉米"), 9000, 2100, 5000});
            });
        QVERIFY(writes >= 4);
    }

    // --- the register ----------------------------------------------------------

    void registering()
    {
        MaterialRegister reg(s());
        NewMaterial m;
        m.code = QStringLiteral(" ABC01 ");
        m.name = QStringLiteral("豆粕");
        m.flag = QStringLiteral("1");
        m.factors[1] = 43.5; // s2
        m.factors[37] = 0.6; // s38
        const qint64 id = reg.add(m);
        const auto row = s().row(QStringLiteral("SELECT * FROM {ylpzk} WHERE id = ?"), {id});
        QCOMPARE(row->text("yldm"), QStringLiteral("abc01"));
        QCOMPARE(row->text("descip"), QStringLiteral("1"));
        QCOMPARE(row->number("s0"), 0.0);
        QCOMPARE(row->number("s2"), 43.5);
        QCOMPARE(row->number("s38"), 0.6);

        const QString exists = QStringLiteral("该代码已经存在！重新输入。");
        QCOMPARE(refusal([&] { reg.checkCode(QStringLiteral("abc01")); }), exists);
        QCOMPARE(refusal([&] { reg.checkCode(QStringLiteral("ABC01")); }), exists);
        NewMaterial again = m;
        again.name = QStringLiteral("别的");
        QCOMPARE(refusal([&] { reg.add(again); }), exists);

        // Same name and flag, whatever the code and the letter case.
        const QString same = QStringLiteral("品种库中已经存在同名称同等级的原料。重新输入！");
        NewMaterial twin = m;
        twin.code = QStringLiteral("abc02");
        QCOMPARE(refusal([&] { reg.add(twin); }), same);
        twin.name = QStringLiteral("Fishmeal");
        reg.add(twin);
        twin.code = QStringLiteral("abc03");
        twin.name = QStringLiteral("FISHMEAL");
        QCOMPARE(refusal([&] { reg.add(twin); }), same);
        twin.flag = QStringLiteral("0"); // another grade of the same name is allowed
        reg.add(twin);

        NewMaterial noFlag = m;
        noFlag.code = QStringLiteral("abc04");
        noFlag.flag = QStringLiteral(" ");
        QCOMPARE(refusal([&] { reg.add(noFlag); }), QStringLiteral("输入原料标志！"));
        noFlag.flag = QStringLiteral("1");
        noFlag.name = QStringLiteral("新料");
        noFlag.factors[0] = -1;
        QCOMPARE(refusal([&] { reg.add(noFlag); }), kBadNumber);
        QCOMPARE(count(s(), "ylpzk"), 3);
    }

    void premixesFromTheProductList()
    {
        s().insert(QStringLiteral("price"), {{"cpdm", "PX10"}, {"cpmc", "PX-10"}, {"cpgg", "25kg"}, {"cpbz", "2"}});
        s().insert(QStringLiteral("price"), {{"cpdm", "NS01"}, {"cpmc", "浓缩料"}, {"cpgg", "40"}, {"cpbz", "0"}});
        MaterialRegister reg(s());
        const std::vector<Premix> list = reg.premixes();
        QCOMPARE(int(list.size()), 1);
        QCOMPARE(list[0].itemText(), QStringLiteral("PX-10") + QString(9, QLatin1Char(' ')) + QStringLiteral("25kg"));
        NewMaterial m;
        m.code = list[0].code;
        m.name = list[0].name;
        m.flag = list[0].flag;
        reg.add(m);
        QCOMPARE(findMaterial(s(), QStringLiteral("px10"))->flag, QStringLiteral("2"));
        // The same premix twice is refused at the store, not only on Enter.
        QCOMPARE(refusal([&] { reg.add(m); }), QStringLiteral("该代码已经存在！重新输入。"));
        // A product code or name longer than the register holds is refused, not cut.
        const QString tooLong = QStringLiteral("原料代码不能超过9位，原料名称不能超过20个字！");
        NewMaterial longCode = m;
        longCode.code = QStringLiteral("PREMIX-0001");
        QCOMPARE(refusal([&] { reg.add(longCode); }), tooLong);
        NewMaterial longName = m;
        longName.code = QStringLiteral("px11");
        longName.name = QString(21, QChar(0x6599));
        QCOMPARE(refusal([&] { reg.add(longName); }), tooLong);
        QCOMPARE(count(s(), "ylpzk"), 1);
    }

    // --- 原料修正 ------------------------------------------------------------------

    void stockCorrectionCascades()
    {
        seed();
        desk().receive(receipt(2, 2000));
        desk().issue(issueOf(1));
        const auto stock = findStock(s(), QStringLiteral("yumi"));
        StockCorrection c(s(), m_clock);
        const QString warning = c.correct({stock->id, stock->kilograms, stock->pricePerTonne, 1500, 2400,
                                           QStringLiteral("黄玉米"), QStringLiteral("0")});
        QVERIFY(warning.isEmpty());
        const auto after = findStock(s(), QStringLiteral("yumi"));
        QCOMPARE(after->kilograms, 1500.0);
        QCOMPARE(after->pricePerTonne, 2400.0);
        QCOMPARE(after->name, QStringLiteral("黄玉米"));
        QCOMPARE(after->flag, QStringLiteral("0"));
        QCOMPARE(after->classFlag, QStringLiteral("0"));
        const auto reg = findMaterial(s(), QStringLiteral("yumi"));
        QCOMPARE(reg->name, QStringLiteral("黄玉米"));
        QCOMPARE(reg->flag, QStringLiteral("0"));
        QNEAR(reg->price, 2.4);
        QCOMPARE(count(s(), "ylrkmx", "WHERE ylmc = ? AND yldj = '0'", {QStringLiteral("黄玉米")}), 1);
        QCOMPARE(count(s(), "ylckmx", "WHERE ylmc = ? AND yldj = '0'", {QStringLiteral("黄玉米")}), 1);
        const Rows log = s().rows(QStringLiteral("SELECT * FROM {czrz}"));
        QCOMPARE(log.size(), size_t(1));
        QCOMPARE(log.front().text("gnmc"), QStringLiteral("原料修正"));
        QCOMPARE(log.front().integer("jlid"), stock->id);
        for (const char *old : {"ylmc=玉米", "ylsl=1000", "yljg=2000"})
            QVERIFY2(log.front().text("jz").contains(QString::fromUtf8(old)), old);
        for (const char *now : {"ylmc=黄玉米", "yldj=0", "ylsl=1500", "yljg=2400"})
            QVERIFY2(log.front().text("xz").contains(QString::fromUtf8(now)), now);
    }

    void stockCorrectionWithoutRegisterRow()
    {
        seed();
        const qint64 id = addStock(QStringLiteral("mifu"), QStringLiteral("米麸"), 100, 1000);
        StockCorrection c(s(), m_clock);
        const QString warning = c.correct({id, 100, 1000, 100, 1000, QStringLiteral("米糠"), QStringLiteral("1")});
        QCOMPARE(warning, QStringLiteral("原料米麸的库存代码与品种代码不一致，请检查"));
        QCOMPARE(stockById(s(), id)->name, QStringLiteral("米糠"));
        QVERIFY(!findMaterial(s(), QStringLiteral("mifu")));
    }

    // A receipt made after the clerk loaded the row is kept.
    void stockCorrectionKeepsWhatOthersMoved()
    {
        seed();
        desk().receive(receipt(2, 2000));
        const auto shown = findStock(s(), QStringLiteral("yumi"));
        desk().receive(receipt(1, 2000)); // another workstation, meanwhile
        StockCorrection(s(), m_clock)
            .correct({shown->id, shown->kilograms, shown->pricePerTonne, 1900, shown->pricePerTonne,
                      QStringLiteral("玉米"), QStringLiteral("1")});
        QNEAR(findStock(s(), QStringLiteral("yumi"))->kilograms, 2900.0);
    }

    void stockCorrectionRefusals()
    {
        seed();
        addMaterial(QStringLiteral("dp"), QStringLiteral("豆粕"), QStringLiteral("1"));
        const qint64 id = addStock(QStringLiteral("yumi"), QStringLiteral("玉米"), 100, 1000);
        StockCorrection c(s(), m_clock);
        QCOMPARE(refusal([&] { c.correct({id, 100, 1000, 100, 1000, QStringLiteral("豆粕"), QStringLiteral("1")}); }),
                 QStringLiteral("品种库中已经存在同名称同等级的原料。重新输入！"));
        QCOMPARE(refusal([&] { c.correct({id, 100, 1000, 100, 1000, QStringLiteral("玉米"), QStringLiteral("9")}); }),
                 QStringLiteral("原料标志只能是0、1或2！"));
        QCOMPARE(refusal([&] { c.correct({id, 100, 1000, -5, 1000, QStringLiteral("玉米"), QStringLiteral("1")}); }),
                 kBadNumber);
        QCOMPARE(stockById(s(), id)->kilograms, 100.0);
    }

    void stockCorrectionIsOneTransaction()
    {
        qint64 id = 0;
        const int writes = test::checkEachWriteFailing(
            s(), kWarehouseTables,
            [&] {
                m_db->reset();
                seed();
                desk().receive(receipt(2, 2000));
                desk().issue(issueOf(1));
                id = findStock(s(), QStringLiteral("yumi"))->id;
            },
            [&] {
                StockCorrection(s(), m_clock)
                    .correct({id, 1000, 2000, 900, 2100, QStringLiteral("黄玉米"), QStringLiteral("0")});
            });
        QVERIFY(writes >= 5);
    }

    // --- two workstations ---------------------------------------------------------

    // Receipts and issues of one material from two workstations at once: the
    // stock ends at receipts − issues, and its value at what came in less what
    // went out at the prices of the moment.
    void twoWorkstationsReceiveAndIssue()
    {
        seed();
        desk().receive(receipt(10, 2000)); // opening stock
        constexpr int rounds = 40;
        std::atomic<int> failures{0};
        auto work = [&](int station) {
            std::unique_ptr<Session> other = m_db->openAnother();
            MaterialDesk d(*other, m_clock, QStringLiteral("op%1").arg(station));
            for (int i = 0; i < rounds; ++i) {
                try {
                    ReceiptEntry e = receipt(0.5, 2000 + 10 * station + i);
                    d.receive(e);
                    d.issue(issueOf(0.25));
                } catch (const std::exception &) {
                    ++failures;
                }
            }
        };
        std::thread a(work, 1);
        std::thread b(work, 2);
        a.join();
        b.join();
        QCOMPARE(failures.load(), 0);

        const double receivedKg = s().scalar(QStringLiteral("SELECT SUM(ylsl) FROM {ylrkmx}")).toDouble();
        const double issuedKg = s().scalar(QStringLiteral("SELECT SUM(ylsl) FROM {ylckmx}")).toDouble();
        const double receivedValue = s().scalar(QStringLiteral("SELECT SUM(sjje) FROM {ylrkmx}")).toDouble();
        const double issuedValue = s().scalar(QStringLiteral("SELECT SUM(ylje) FROM {ylckmx}")).toDouble();
        const auto stock = findStock(s(), QStringLiteral("yumi"));
        QCOMPARE(count(s(), "ylrkmx"), 1 + 2 * rounds);
        QCOMPARE(count(s(), "ylckmx"), 2 * rounds);
        QNEAR(stock->kilograms, receivedKg - issuedKg);
        QNEAR(stock->kilograms, 10000.0 + 2 * rounds * 250.0);
        QNEAR(stock->value(), receivedValue - issuedValue);
        QNEAR(findMaterial(s(), QStringLiteral("yumi"))->price, stock->pricePerTonne / 1000);
    }
};

QTEST_GUILESS_MAIN(TestWarehouse)
#include "tst_warehouse.moc"
