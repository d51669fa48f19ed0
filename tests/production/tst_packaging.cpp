// Packaging materials: receipts, issues and the stock sheet; production lines
// receiving their bags and labels out of that stock.

#include "common/clock.h"
#include "data/session.h"
#include "production/productpackaging.h"
#include "productionfixture.h"
#include "support/faults.h"
#include "support/golden.h"
#include "support/testdb.h"
#include "warehouse/packagingstock.h"

#include <QtTest>
#include <atomic>
#include <thread>

using namespace fm;
using fm::test::TestDb;

class TestPackaging : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};

    Session &s() { return m_db->session(); }
    PackagingStock stock() { return PackagingStock(s(), m_clock); }
    ProductPackaging packaging() { return ProductPackaging(s()); }
    QVariant value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v); }
    qint64 pieces(const char *code)
    {
        return value(QStringLiteral("SELECT sl FROM {bzbqk} WHERE dm = ?"), {QString::fromLatin1(code)}).toLongLong();
    }

    // Packaging items: a bag type "A" with a 40 kg bag, a label type "B"
    // catalogued with the size " ", anti-counterfeit labels "F".
    void loadItems()
    {
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "编织袋"}, {"cpbz", "A"}, {"cpgg", "40"}});
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "标签"}, {"cpbz", "B"}, {"cpgg", " "}});
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "防伪"}, {"cpbz", "F"}, {"cpgg", " "}});
        const struct {
            const char *code, *name, *spec, *flag;
            double price;
        } items[] = {{"a40", "编织袋40", "40", "A", 0.9}, {"b01", "合格证标签", " ", "B", 0.05}, {"f01", "防伪标", " ", "F", 0.1}};
        for (const auto &i : items)
            s().insert(QStringLiteral("price"), {{"cpdm", i.code}, {"cpmc", QString::fromUtf8(i.name)}, {"cpgg", i.spec},
                                                 {"kpjg", i.price}, {"cbjg", 0.0}, {"cpbz", i.flag}});
    }
    qint64 line(const char *txm, double kg, const char *team = "01", const char *date = "2026-12-09", const char *flag = "1")
    {
        Fields f{{"cpdm", "p401"}, {"cpmc", "猪全价料40"}, {"cpgg", "40"}, {"scsl", kg}, {"sccb", 2250.0},
                 {"pfhm", "1401"}, {"scbz", team}, {"scrq_1", date}, {"txm", QString::fromUtf8(txm)}, {"cpbz", flag}};
        for (const char *c : {"bzddm", "bzdmc", "bzdgg", "bqdm", "bqmc", "fwbqdm", "fwbqmc", "qtbzdm", "qtbzmc", "qtbzgg"})
            f.emplace_back(QString::fromLatin1(c), QString());
        for (const char *c : {"bzdjg", "bzdje", "bqjg", "bqje", "fwbqjg", "fwbqje", "qtbzjg", "qtbzje", "psnum"})
            f.emplace_back(QString::fromLatin1(c), 0.0);
        for (const char *c : {"bzdsl", "bqsl", "fwbqsl", "qtbzsl"}) f.emplace_back(QString::fromLatin1(c), 0);
        return s().insert(QStringLiteral("velcpk"), f);
    }
    static PackagingEntry full(qint64 bags, qint64 labels)
    {
        PackagingEntry e;
        e.bags = PackagingPart{QStringLiteral("a40"), QStringLiteral("编织袋40"), QStringLiteral("40"), 0.9, bags};
        e.labels = PackagingPart{QStringLiteral("b01"), QStringLiteral("合格证标签"), QString(), 0.05, labels};
        return e;
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        test::loadProductionFixture(s());
        loadItems();
    }

    // Value is the sum of receipts until an issue revalues the stock at its
    // latest price.
    void receiptsAndIssues()
    {
        QCOMPARE(stock().receive(QStringLiteral("A40"), 0.8, 500), 400.0);
        QCOMPARE(pieces("a40"), 500);
        QCOMPARE(value(QStringLiteral("SELECT zje FROM {bzbqk}")).toDouble(), 400.0);
        stock().receive(QStringLiteral("a40"), 1.0, 200);
        QCOMPARE(pieces("a40"), 700);
        QCOMPARE(value(QStringLiteral("SELECT price FROM {bzbqk}")).toDouble(), 1.0);
        QCOMPARE(value(QStringLiteral("SELECT zje FROM {bzbqk}")).toDouble(), 600.0);
        QCOMPARE(value(QStringLiteral("SELECT bz FROM {bzbqk}")).toString(), QStringLiteral("A"));

        // The clerk sees 700; a receipt of 100 lands before the issue.
        QCOMPARE(stock().remainder(QStringLiteral("a40"), 100), 600);
        stock().receive(QStringLiteral("a40"), 1.0, 100);
        QCOMPARE(stock().issue(QStringLiteral("a40"), 100), 700);
        QCOMPARE(value(QStringLiteral("SELECT zje FROM {bzbqk}")).toDouble(), 700.0);
        const Rows out = stock().movements(QStringLiteral("O"), QDate(2026, 12, 1), QDate(2026, 12, 31));
        QCOMPARE(int(out.size()), 1);
        QCOMPARE(out[0].number(QStringLiteral("zje")), 100.0);
        const PackagingTotals in = PackagingStock::totals(stock().movements(QStringLiteral("I"), QDate(2026, 12, 10), QDate(2026, 12, 10)));
        QCOMPARE(in.pieces, 800.0);
        QCOMPARE(in.amount, 700.0);

        // More than the stock: refused, nothing written.
        QVERIFY_THROWS_EXCEPTION(DomainError, stock().remainder(QStringLiteral("a40"), 701));
        QVERIFY_THROWS_EXCEPTION(DomainError, stock().issue(QStringLiteral("a40"), 701));
        QCOMPARE(pieces("a40"), 700);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {bqk} WHERE bz = 'O'")).toInt(), 1);

        // Exactly the stock leaves an empty row, which the clean-up removes.
        QCOMPARE(stock().issue(QStringLiteral("a40"), 700), 0);
        QCOMPARE(value(QStringLiteral("SELECT zje FROM {bzbqk}")).toDouble(), 0.0);
        const int removed = stock().tidy();
        QVERIFY(removed >= 1);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {bzbqk}")).toInt(), 0);
        // The tidying is recorded once, with what it removed.
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {czrz} WHERE bm = 'bzbqk' AND czlx = '删除'")).toInt(), 1);
        QVERIFY(value(QStringLiteral("SELECT jz FROM {czrz}")).toString().startsWith(QStringLiteral("bzbqk行数=1; ")));
    }

    void itemsAndInput()
    {
        // A label's specification " " counts as given; a digit flag is no packaging type.
        stock().receive(QStringLiteral("b01"), 0.05, 1000);
        QCOMPARE(pieces("b01"), 1000);
        QStringList letters;
        for (const PackagingType &t : stock().types()) letters << t.letter;
        QCOMPARE(letters, (QStringList{"A", "B", "F"}));
        QCOMPARE(int(stock().items(QStringLiteral("1")).size()), 0);
        QVERIFY_THROWS_EXCEPTION(DomainError, stock().receive(QStringLiteral("p401x"), 1, 1));

        for (const char *bad : {"1.5", "-3", "abc"})
            QVERIFY_THROWS_EXCEPTION(DomainError, PackagingStock::pieces(QString::fromLatin1(bad)));
        QCOMPARE(PackagingStock::pieces(QString()), 0);
        QVERIFY_THROWS_EXCEPTION(DomainError, stock().receive(QStringLiteral("a40"), 1, 0));
    }

    void stockSheet()
    {
        stock().receive(QStringLiteral("a40"), 0.9, 500);
        stock().receive(QStringLiteral("b01"), 0.05, 1000);
        const QString text = PackagingStock::stockSheet(stock().stock(), QDate(2026, 12, 10)).toText();
        FM_COMPARE_GOLDEN(text, "production/golden/packaging_stock.txt");
    }

    void proposedBags_data()
    {
        QTest::addColumn<double>("kilograms");
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("bags"); // -1: refused
        QTest::newRow("2000/40") << 2000.0 << "40" << 50;
        QTest::newRow("1990/40") << 1990.0 << "40" << 49;
        QTest::newRow("780/12, not 64") << 780.0 << "12" << 65;
        QTest::newRow("half-kilo bags") << 100.0 << "0.5" << 200;
        QTest::newRow("size 0") << 2000.0 << "0" << -1;
        QTest::newRow("size blank") << 2000.0 << " " << -1;
    }
    void proposedBags()
    {
        QFETCH(double, kilograms);
        QFETCH(QString, size);
        QFETCH(int, bags);
        if (bags < 0) QVERIFY_THROWS_EXCEPTION(DomainError, ProductPackaging::proposedBags(kilograms, size));
        else QCOMPARE(ProductPackaging::proposedBags(kilograms, size), qint64(bags));
    }

    void linesOffered()
    {
        line("生产输入", 2000, "一班");
        line("", 1000, "01");
        line("杂料回机", 500, "01");
        line("", 700, "01", "2026-12-09", "x");
        line("", 800, "02");
        const Rows rows = packaging().lines(TeamForms{QStringLiteral("01"), QStringLiteral("一班")}, QDate(2026, 12, 9));
        QCOMPARE(int(rows.size()), 2);
        const RowQuery all = ProductPackaging::linesQuery();
        QCOMPARE(int(s().rows(all.select, all.values).size()), 4);
    }

    // Packing draws its pieces once: a second confirmation moves nothing, a
    // changed count moves only the difference; only the chosen line changes
    // though three lines share their bar code.
    void packingDrawsOnce()
    {
        stock().receive(QStringLiteral("a40"), 0.9, 200);
        stock().receive(QStringLiteral("b01"), 0.05, 200);
        const qint64 a = line("生产输入", 2000), b = line("生产输入", 2000);
        line("生产输入", 2000);
        packaging().pack(b, full(50, 50));
        const auto r = packaging().line(b);
        QCOMPARE(r->number(QStringLiteral("bzdje")), 45.0);
        QCOMPARE(r->number(QStringLiteral("bqje")), 2.5);
        QCOMPARE(r->integer(QStringLiteral("bzdsl")), 50);
        QCOMPARE(pieces("a40"), 150);
        QCOMPARE(pieces("b01"), 150);
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM {velcpk} WHERE bzdsl > 0")).toInt(), 1);
        QVERIFY(ProductPackaging::packed(*r));

        packaging().pack(b, full(50, 50));
        QCOMPARE(pieces("a40"), 150);
        QCOMPARE(pieces("b01"), 150);
        // The line's own 50 bags count towards a larger count.
        QVERIFY(packaging().bagsAvailable(QStringLiteral("a40"), 200, b));
        QVERIFY(!packaging().bagsAvailable(QStringLiteral("a40"), 200, a));
        packaging().pack(b, full(40, 60));
        QCOMPARE(pieces("a40"), 160);
        QCOMPARE(pieces("b01"), 140);

        // Labels alone correct the record and leave the label stock.
        PackagingEntry labels;
        labels.kind = PackagingKind::Labels;
        labels.labels = PackagingPart{QStringLiteral("b01"), QStringLiteral("合格证标签"), QString(), 0.05, 50};
        packaging().pack(a, labels);
        QCOMPARE(pieces("b01"), 140);
        QCOMPARE(packaging().line(a)->integer(QStringLiteral("bqsl")), 50);
        QCOMPARE(packaging().line(a)->integer(QStringLiteral("bzdsl")), 0);
        QCOMPARE(packaging().line(a)->text(QStringLiteral("bzddm")), QString());
    }

    void shortStock()
    {
        stock().receive(QStringLiteral("a40"), 0.9, 30);
        stock().receive(QStringLiteral("b01"), 0.05, 30);
        const qint64 id = line("", 2000);
        QVERIFY(!packaging().bagsAvailable(QStringLiteral("a40"), 50));
        try {
            packaging().pack(id, full(50, 20));
            QFAIL("packed beyond the bag stock");
        } catch (const PackagingShortage &e) {
            QVERIFY(!e.labels());
            QCOMPARE(e.message(), ProductPackaging::kBagsShort);
        }
        try {
            packaging().pack(id, full(20, 50));
            QFAIL("packed beyond the label stock");
        } catch (const PackagingShortage &e) {
            QVERIFY(e.labels());
            QCOMPARE(e.message(), ProductPackaging::kLabelsShort);
        }
        // The bags were not taken for the refused line.
        QCOMPARE(pieces("a40"), 30);
        QCOMPARE(pieces("b01"), 30);
        QCOMPARE(packaging().line(id)->integer(QStringLiteral("bzdsl")), 0);
    }

    void packingIsAtomic()
    {
        const qint64 id = line("", 2000);
        const int writes = test::checkEachWriteFailing(
            s(), {QStringLiteral("velcpk"), QStringLiteral("bzbqk")},
            [&] {
                s().execute(QStringLiteral("DELETE FROM {bzbqk}"));
                s().execute(QStringLiteral("UPDATE {velcpk} SET bzddm = 'a40', bzdsl = 10, bqdm = 'b01', bqsl = 10 WHERE id = ?"), {id});
                stock().receive(QStringLiteral("a40"), 0.9, 100);
                stock().receive(QStringLiteral("b01"), 0.05, 100);
            },
            [&] { packaging().pack(id, full(50, 50)); });
        QVERIFY(writes >= 3);
    }

    // Two workstations each packing a line with the last 50 bags: one wins.
    void lastPiecesOnce()
    {
        stock().receive(QStringLiteral("a40"), 0.9, 50);
        stock().receive(QStringLiteral("b01"), 0.05, 100);
        const qint64 ids[2] = {line("", 2000), line("", 2000)};
        std::atomic<int> packed{0}, refused{0};
        auto work = [&](qint64 id) {
            std::unique_ptr<Session> ws = m_db->openAnother();
            try {
                ProductPackaging(*ws).pack(id, full(50, 50));
                ++packed;
            } catch (const PackagingShortage &) {
                ++refused;
            }
        };
        std::thread ta(work, ids[0]);
        std::thread tb(work, ids[1]);
        ta.join();
        tb.join();
        QCOMPARE(packed.load(), 1);
        QCOMPARE(refused.load(), 1);
        QCOMPARE(pieces("a40"), 0);
        QCOMPARE(pieces("b01"), 50);
        QCOMPARE(value(QStringLiteral("SELECT SUM(bzdsl) FROM {velcpk}")).toInt(), 50);
    }
};

QTEST_GUILESS_MAIN(TestPackaging)
#include "tst_packaging.moc"
