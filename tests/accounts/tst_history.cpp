// The history query over archived and current lines, and the corrections of
// earlier slips: by key, within the customer's range, each in one
// transaction, a return's rows and the stock moving together.

#include "accounts/historycorrections.h"
#include "accounts/historyqueries.h"
#include "common/clock.h"
#include "data/rowpager.h"
#include "data/seed.h"
#include "sales/returns.h"
#include "sales/salesfixture.h"
#include "sales/turnovernumbers.h"
#include "support/faults.h"
#include "support/testdb.h"

#include <QtTest>

using namespace fm;
using fm::test::TestDb;

class TestHistory : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};
    const QString m_today = QStringLiteral("2026-12-10");

    Session &s() { return m_db->session(); }
    double value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v).toDouble(); }
    HistoryCorrections corrections() { return HistoryCorrections(s(), m_clock); }
    CorrectionRange range(const QString &code = QStringLiteral("1100001"))
    {
        return corrections().range(code, QStringLiteral("2026-11-19"), QStringLiteral("2026-12-18"));
    }

    qint64 sold(const QString &table, const QString &date, const QString &khdm, const QString &product, double kg,
                double price, double policy = 2800)
    {
        const bool east = khdm.startsWith(QLatin1String("12"));
        const bool n40 = product == QLatin1String("n40");
        return s().insert(table, {{"khdm", khdm}, {"khmc", east ? "李家猪场" : "张记养殖场"}, {"region", east ? "东山乡" : "城关镇"},
                                  {"cpdm", product}, {"cpmc", n40 ? "猪用浓缩料" : "肉鸡全价料"}, {"cpgg", n40 ? "40" : "25"},
                                  {"zznum", kg}, {"zzjg", price}, {"zzje", price * kg / 1000}, {"zcjg", policy},
                                  {"tlnum", 0.0}, {"kpjg", 0.0}, {"kpje", 0.0}, {"bz_1", "1"}, {"bz_3", n40 ? "0" : "1"},
                                  {"rq_1", date}, {"recnum", 1}, {"czydm", "admin"}, {"zzhm", "1001"}});
    }
    qint64 returnLine(const QString &table, const QString &date, const QString &khdm, double kg, double price)
    {
        const qint64 id = sold(table, date, khdm, QStringLiteral("n40"), 0, 0);
        s().execute(QStringLiteral("UPDATE {%1} SET bz_1 = '3', zznum = 0, zzjg = 0, zzje = 0, tlnum = ?, kpjg = ?, kpje = ? "
                                   "WHERE id = ?")
                        .arg(table),
                    {kg, price, price * kg / 1000, id});
        return id;
    }
    qint64 fundsRow(const QString &date, double receivable, double received, const QString &khdm = QStringLiteral("1100001"))
    {
        return s().insert(QStringLiteral("khzj"), {{"khdm", khdm}, {"khmc", "张记养殖场"}, {"region", "城关镇"},
                                                   {"ysje", receivable}, {"sjje", received}, {"sqje", receivable - received},
                                                   {"sjxl", 0.0}, {"rq", date}, {"czydm", "admin"}});
    }
    // A return of kg of a purchase at 3000 with policy price 2800, as the
    // sales window writes it: line, register row, funds row, stock.
    ReturnResult linkedReturn(double kg)
    {
        sold(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"), QStringLiteral("n40"), 2000, 3000);
        Returns r(s(), m_clock, QStringLiteral("admin"));
        const Purchase p = r.purchases(QStringLiteral("1100001"), QStringLiteral("2026-11-19"), m_today).front();
        return r.confirm(*r.customer(QStringLiteral("1100001")), r.prepare(p, 1, QStringLiteral("大包"), kg), m_today);
    }
    double stock() { return value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'n40'")); }
    void expectNotFound(const std::function<void()> &f)
    {
        try {
            f();
            QFAIL("corrected");
        } catch (const DomainError &e) {
            QCOMPARE(e.message(), QStringLiteral("未找到要修改的记录！"));
            QCOMPARE(e.code(), ErrorCode::NotFound);
        }
    }

private slots:
    void initTestCase() { FM_INIT_TEST_DB(m_db); }
    void init()
    {
        m_db->reset();
        seedNewInstallation(s(), m_clock, SeedOptions{});
        test::loadSalesFixture(s());
        s().insert(QStringLiteral("dqk"), {{"dq", "东山乡"}, {"bh", "12"}});
        s().insert(QStringLiteral("zxkh"), {{"khdm", "1200001"}, {"khmc", "李家猪场"}, {"dq", "东山乡"}, {"khbz", "1"}});
        TurnoverNumbers(s()).initialise(QStringLiteral("1000"));
        s().execute(QStringLiteral("UPDATE {velcpzk} SET scsl = 1000"));
    }

    // ---- "历史数据查询" -------------------------------------------------------

    void historyQueryConditions_data()
    {
        QTest::addColumn<QString>("region"); // code:name, "00" for all regions
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("category");
        QTest::addColumn<bool>("returns");
        QTest::addColumn<int>("archived");
        QTest::addColumn<int>("current");
        QTest::addColumn<double>("tonnes");
        QTest::addColumn<double>("tenThousandYuan");
        // Archived: 1100001 sold 1000 kg (3000 yuan) and returned 200 (600);
        // 1200001 sold 500 (1300). Current: 1100001 sold 2000 (6000) and
        // returned 500 (1500); 1200001 sold 1000 (2600).
        QTest::newRow("all regions") << "00:所有地区" << "" << "" << false << 3 << 3 << 3.8 << 1.08;
        QTest::newRow("dates alone") << "" << "" << "" << false << 3 << 3 << 3.8 << 1.08;
        QTest::newRow("region") << "11:城关镇" << "" << "" << false << 2 << 2 << 2.3 << 0.69;
        QTest::newRow("region and customer") << "11:城关镇" << "1100001" << "" << false << 2 << 2 << 2.3 << 0.69;
        QTest::newRow("region, customer, category") << "11:城关镇" << "1100001" << "1" << false << 0 << 0 << 0.0 << 0.0;
        QTest::newRow("category") << "" << "" << "1" << false << 1 << 1 << 1.5 << 0.39;
        QTest::newRow("category, all regions") << "00:所有地区" << "" << "1" << false << 1 << 1 << 1.5 << 0.39;
        QTest::newRow("region and category") << "12:东山乡" << "" << "1" << false << 1 << 1 << 1.5 << 0.39;
        QTest::newRow("region and another category") << "12:东山乡" << "" << "0" << false << 0 << 0 << 0.0 << 0.0;
        QTest::newRow("returns") << "00:所有地区" << "" << "" << true << 1 << 1 << 0.7 << 0.21;
        QTest::newRow("returns of a region") << "12:东山乡" << "" << "" << true << 0 << 0 << 0.0 << 0.0;
    }
    void historyQueryConditions()
    {
        QFETCH(QString, region);
        QFETCH(QString, customer);
        QFETCH(QString, category);
        QFETCH(bool, returns);
        QFETCH(int, archived);
        QFETCH(int, current);
        QFETCH(double, tonnes);
        QFETCH(double, tenThousandYuan);
        sold(QStringLiteral("his_sale1"), QStringLiteral("2025-05-20"), QStringLiteral("1100001"), QStringLiteral("n40"), 1000, 3000);
        returnLine(QStringLiteral("his_sale1"), QStringLiteral("2025-05-25"), QStringLiteral("1100001"), 200, 3000);
        sold(QStringLiteral("his_sale1"), QStringLiteral("2025-06-01"), QStringLiteral("1200001"), QStringLiteral("q25"), 500, 2600);
        sold(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"), QStringLiteral("n40"), 2000, 3000);
        returnLine(QStringLiteral("sale1"), QStringLiteral("2026-11-25"), QStringLiteral("1100001"), 500, 3000);
        sold(QStringLiteral("sale1"), QStringLiteral("2026-11-22"), QStringLiteral("1200001"), QStringLiteral("q25"), 1000, 2600);
        sold(QStringLiteral("sale1"), QStringLiteral("2027-01-02"), QStringLiteral("1100001"), QStringLiteral("n40"), 9000, 3000);

        HistoryQuery q;
        if (!region.isEmpty()) {
            q.regionCode = region.section(QLatin1Char(':'), 0, 0);
            q.regionName = region.section(QLatin1Char(':'), 1);
        }
        q.customerCode = customer;
        q.categoryFlag = category;
        q.returns = returns;
        q.from = QStringLiteral("2025-01-01");
        q.to = QStringLiteral("2026-12-31");
        q = HistoryQueries::checked(q);
        HistoryQueries h(s());
        QCOMPARE(RowPager(s(), h.lines(q, true)).page(0, 100).size(), size_t(archived));
        QCOMPARE(RowPager(s(), h.lines(q, false)).page(0, 100).size(), size_t(current));
        const HistoryTotals t = h.totals(q);
        QCOMPARE(t.historyRows, qint64(archived));
        QCOMPARE(t.currentRows, qint64(current));
        QVERIFY2(qAbs(t.tonnes() - tonnes) < 1e-9, qPrintable(QString::number(t.tonnes())));
        QVERIFY2(qAbs(t.tenThousandYuan() - tenThousandYuan) < 1e-9, qPrintable(QString::number(t.tenThousandYuan())));
    }

    void historyQueryNeedsAConditionAndDates()
    {
        const auto refusal = [](const HistoryQuery &q) {
            try {
                HistoryQueries::checked(q);
            } catch (const DomainError &e) {
                return std::make_pair(e.message(), e.code());
            }
            return std::make_pair(QString(), ErrorCode::Refused);
        };
        HistoryQuery q;
        QCOMPARE(refusal(q), std::make_pair(QStringLiteral("必须至少选择一个条件！"), ErrorCode::Refused));
        q.regionCode = HistoryQuery::kAllRegions;
        QCOMPARE(refusal(q), std::make_pair(QStringLiteral("请输入日期!"), ErrorCode::Incomplete));
        q.from = QStringLiteral("2026-11-19");
        QCOMPARE(refusal(q), std::make_pair(QStringLiteral("请输入日期!"), ErrorCode::Incomplete));
        q.to = QStringLiteral("2026-02-30");
        QCOMPARE(refusal(q).second, ErrorCode::BadNumber);
        q.to = QStringLiteral("2026/12/18");
        QCOMPARE(HistoryQueries::checked(q).to, QStringLiteral("2026-12-18"));
    }

    // ---- corrections ---------------------------------------------------------

    void rangeOfACustomer()
    {
        const CorrectionRange r = corrections().range(QStringLiteral(" 1100001 "), QStringLiteral("2026/11/19"), QString());
        QCOMPARE(r.customerCode, QStringLiteral("1100001"));
        QCOMPARE(r.from, QStringLiteral("2026-11-19"));
        QCOMPARE(r.to, m_today); // an empty end date is today
        for (const auto &[code, from, to] : {std::make_tuple("9900001", "2026-11-19", ""),
                                             std::make_tuple("1100001", "", ""),
                                             std::make_tuple("1100001", "2026-12-11", "2026-12-10")}) {
            try {
                corrections().range(QString::fromLatin1(code), QString::fromLatin1(from), QString::fromLatin1(to));
                QFAIL(code);
            } catch (const DomainError &) {
            }
        }
    }

    void fundsRowCorrectedByKey()
    {
        // The same payment twice on one day, and an amount that 15 digits
        // cannot give back exactly.
        const qint64 a = fundsRow(QStringLiteral("2026-12-01"), 0, 500);
        const qint64 b = fundsRow(QStringLiteral("2026-12-01"), 0, 500);
        const qint64 odd = fundsRow(QStringLiteral("2026-12-02"), 0.1 + 0.2, 0);
        const CorrectionRange r = range();
        QCOMPARE(RowPager(s(), corrections().fundsRows(r)).page(0, 10).size(), size_t(3));
        corrections().correctFunds(r, a, 0, 450, -450);
        QCOMPARE(value(QStringLiteral("SELECT sjje FROM {khzj} WHERE id = ?"), {a}), 450.0);
        QCOMPARE(value(QStringLiteral("SELECT sqje FROM {khzj} WHERE id = ?"), {a}), -450.0);
        QCOMPARE(value(QStringLiteral("SELECT sjje FROM {khzj} WHERE id = ?"), {b}), 500.0);
        corrections().correctFunds(r, odd, 12.345, 0, 12.345);
        QCOMPARE(value(QStringLiteral("SELECT ysje FROM {khzj} WHERE id = ?"), {odd}), 12.35); // to the cent
        const FundsSums sums = corrections().fundsSums(r);
        QCOMPARE(sums.rows, qint64(3));
        QCOMPARE(sums.receivable, 12.35);
        QCOMPARE(sums.received, 950.0);
        QCOMPARE(sums.owed(), 12.35 - 950.0);
    }

    void noRowNoCorrection()
    {
        const qint64 other = fundsRow(QStringLiteral("2026-12-01"), 0, 500, QStringLiteral("1100002"));
        const qint64 early = fundsRow(QStringLiteral("2026-10-01"), 0, 500);
        const qint64 line = sold(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"),
                                 QStringLiteral("n40"), 2000, 3000);
        const qint64 otherLine = sold(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), QStringLiteral("1100002"),
                                      QStringLiteral("n40"), 2000, 3000);
        const ReturnResult ret = linkedReturn(100);
        const CorrectionRange r = range();
        const QString before = test::snapshot(s(), {"sale1", "khtl", "khzj", "khprice", "velcpzk"});
        expectNotFound([&] { corrections().correctFunds(r, other, 1, 1, 0); });   // another customer's
        expectNotFound([&] { corrections().correctFunds(r, early, 1, 1, 0); });   // before the range
        expectNotFound([&] { corrections().correctFunds(r, 999999, 1, 1, 0); }); // gone
        expectNotFound([&] { corrections().correctIssue(r, otherLine, 10, 10); });
        expectNotFound([&] { corrections().correctIssue(r, ret.saleId, 10, 10); }); // a return is no issue
        expectNotFound([&] { corrections().correctReturn(r, line, 10, 10, 10); });  // an issue is no return
        expectNotFound([&] { corrections().correctPolicyPrice(r, otherLine, 2000, true); });
        expectNotFound([&] { corrections().correctReturn(range(QStringLiteral("1100002")), ret.saleId, 10, 10, 10); });
        expectNotFound([&] { corrections().correctReturnPrice(range(QStringLiteral("1100002")), ret.registerId, 10); });
        QCOMPARE(test::snapshot(s(), {"sale1", "khtl", "khzj", "khprice", "velcpzk"}), before);
    }

    void issueCorrected()
    {
        const qint64 id = sold(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), QStringLiteral("1100001"),
                               QStringLiteral("n40"), 2000, 3000);
        QCOMPARE(HistoryCorrections::amount(1500, 2900), 4350.0);
        corrections().correctIssue(range(), id, 1500, 2900);
        const Row l = corrections().saleLine(id);
        QCOMPARE(l.number(QStringLiteral("zznum")), 1500.0);
        QCOMPARE(l.number(QStringLiteral("zzjg")), 2900.0);
        QCOMPARE(l.number(QStringLiteral("zzje")), 4350.0);
        for (const auto &[kg, price] : {std::make_pair(0.0, 2900.0), std::make_pair(-5.0, 2900.0), std::make_pair(100.0, -1.0)}) {
            try {
                corrections().correctIssue(range(), id, kg, price);
                QFAIL("refused");
            } catch (const DomainError &e) {
                QCOMPARE(e.code(), ErrorCode::BadNumber);
            }
        }
    }

    void returnCorrectionMovesStockByTheDifference()
    {
        const ReturnResult ret = linkedReturn(500);
        QCOMPARE(stock(), 1500.0);
        // 500 → 400 kg at return price 3000: 1200 on the line, the register
        // row and (negated) the funds row; the stock falls by 100.
        QVERIFY(corrections().correctReturn(range(), ret.saleId, 400, 2800, 3000));
        const Row l = corrections().saleLine(ret.saleId);
        QCOMPARE(l.number(QStringLiteral("tlnum")), 400.0);
        QCOMPARE(l.number(QStringLiteral("kpje")), 1200.0);
        QCOMPARE(l.number(QStringLiteral("zcje")), 1120.0);
        QCOMPARE(value(QStringLiteral("SELECT tlje FROM {khtl} WHERE id = ?"), {ret.registerId}), 1200.0);
        QCOMPARE(value(QStringLiteral("SELECT tlnum FROM {khtl} WHERE id = ?"), {ret.registerId}), 400.0);
        QCOMPARE(value(QStringLiteral("SELECT ysje FROM {khzj} WHERE id = ?"), {ret.fundsId}), -1200.0);
        QCOMPARE(value(QStringLiteral("SELECT sjxl FROM {khzj} WHERE id = ?"), {ret.fundsId}), 400.0);
        QCOMPARE(value(QStringLiteral("SELECT zzje FROM {khzj} WHERE id = ?"), {ret.fundsId}), -80.0);
        QCOMPARE(stock(), 1400.0);

        // Up again, with a new policy price: the fee given back follows it.
        QVERIFY(corrections().correctReturn(range(), ret.saleId, 600, 2700, 3000));
        QCOMPARE(stock(), 1600.0);
        QCOMPARE(value(QStringLiteral("SELECT zcjg FROM {sale1} WHERE id = ?"), {ret.saleId}), 2700.0);
        QCOMPARE(value(QStringLiteral("SELECT zzje FROM {khzj} WHERE id = ?"), {ret.fundsId}), -180.0);

        // A product without a stock row: corrected all the same, and said.
        s().execute(QStringLiteral("DELETE FROM {velcpzk} WHERE cpdm = 'n40'"));
        QVERIFY(!corrections().correctReturn(range(), ret.saleId, 500, 2700, 3000));
        QCOMPARE(value(QStringLiteral("SELECT tlnum FROM {khtl} WHERE id = ?"), {ret.registerId}), 500.0);
    }

    void unlinkedReturnIsFoundAndLinked()
    {
        // A return written before its rows carried the link.
        const qint64 line = returnLine(QStringLiteral("sale1"), m_today, QStringLiteral("1100001"), 200, 2400);
        s().execute(QStringLiteral("UPDATE {sale1} SET recnum = 7, rq_2 = ?, zcjg = 2300 WHERE id = ?"), {m_today, line});
        const qint64 reg = s().insert(QStringLiteral("khtl"), {{"khdm", "1100001"}, {"cpdm", "n40"}, {"tlprice", 2400.0},
                                                               {"tlnum", 200.0}, {"tlje", 480.0}, {"tlrq", m_today},
                                                               {"rec_num", 7}});
        const qint64 funds = s().insert(QStringLiteral("khzj"), {{"khdm", "1100001"}, {"ysje", -480.0}, {"sjje", 0.0},
                                                                 {"sjxl", 200.0}, {"zzje", -20.0}, {"rq", m_today}});
        corrections().correctReturnPrice(range(), reg, 2500);
        QCOMPARE(value(QStringLiteral("SELECT kpje FROM {sale1} WHERE id = ?"), {line}), 500.0);
        QCOMPARE(value(QStringLiteral("SELECT tlje FROM {khtl} WHERE id = ?"), {reg}), 500.0);
        QCOMPARE(value(QStringLiteral("SELECT ysje FROM {khzj} WHERE id = ?"), {funds}), -500.0);
        QCOMPARE(value(QStringLiteral("SELECT sale1_id FROM {khtl} WHERE id = ?"), {reg}), double(line));
        QCOMPARE(value(QStringLiteral("SELECT sale1_id FROM {khzj} WHERE id = ?"), {funds}), double(line));
        QCOMPARE(stock(), 1000.0); // the quantity did not change
    }

    void returnPriceCorrected()
    {
        const ReturnResult ret = linkedReturn(500);
        QCOMPARE(RowPager(s(), corrections().returnRegister(range())).page(0, 10).size(), size_t(1));
        corrections().correctReturnPrice(range(), ret.registerId, 2900);
        QCOMPARE(value(QStringLiteral("SELECT tlprice FROM {khtl} WHERE id = ?"), {ret.registerId}), 2900.0);
        QCOMPARE(value(QStringLiteral("SELECT tlje FROM {khtl} WHERE id = ?"), {ret.registerId}), 1450.0);
        QCOMPARE(value(QStringLiteral("SELECT kpjg FROM {sale1} WHERE id = ?"), {ret.saleId}), 2900.0);
        QCOMPARE(value(QStringLiteral("SELECT kpje FROM {sale1} WHERE id = ?"), {ret.saleId}), 1450.0);
        QCOMPARE(value(QStringLiteral("SELECT ysje FROM {khzj} WHERE id = ?"), {ret.fundsId}), -1450.0);
        QCOMPARE(value(QStringLiteral("SELECT zzje FROM {khzj} WHERE id = ?"), {ret.fundsId}), -50.0);
        QCOMPARE(stock(), 1500.0);
    }

    void policyPriceOfEveryIssueOfTheProduct()
    {
        const auto issue = [&](const QString &date, const QString &khdm, const QString &product) {
            return sold(QStringLiteral("sale1"), date, khdm, product, 1000, 3000);
        };
        const qint64 a = issue(QStringLiteral("2026-11-20"), QStringLiteral("1100001"), QStringLiteral("n40"));
        const qint64 b = issue(QStringLiteral("2026-12-01"), QStringLiteral("1100001"), QStringLiteral("n40"));
        const qint64 c = issue(QStringLiteral("2026-12-18"), QStringLiteral("1100001"), QStringLiteral("n40"));
        const qint64 early = issue(QStringLiteral("2026-11-18"), QStringLiteral("1100001"), QStringLiteral("n40"));
        const qint64 otherProduct = issue(QStringLiteral("2026-11-21"), QStringLiteral("1100001"), QStringLiteral("q25"));
        const qint64 otherCustomer = issue(QStringLiteral("2026-11-21"), QStringLiteral("1100002"), QStringLiteral("n40"));
        const ReturnResult ret = linkedReturn(100); // a return of the product keeps its own policy price
        const auto policy = [&](qint64 id) { return value(QStringLiteral("SELECT zcjg FROM {sale1} WHERE id = ?"), {id}); };
        const auto priceRow = [&](const QString &khdm) {
            return value(QStringLiteral("SELECT fhll FROM {khprice} WHERE khdm = ? AND cpdm = 'n40'"), {khdm});
        };

        QCOMPARE(corrections().correctPolicyPrice(range(), b, 2750, false), 4); // a, b, c and the returned purchase
        for (qint64 id : {a, b, c}) QCOMPARE(policy(id), 2750.0);
        for (qint64 id : {early, otherProduct, otherCustomer, ret.saleId}) QCOMPARE(policy(id), 2800.0);
        QCOMPARE(priceRow(QStringLiteral("1100001")), 2300.0);

        QCOMPARE(corrections().correctPolicyPrice(range(), a, 2700, true), 4);
        QCOMPARE(policy(c), 2700.0);
        QCOMPARE(priceRow(QStringLiteral("1100001")), 2700.0);
        QCOMPARE(priceRow(QStringLiteral("1100002")), 2300.0);
    }

    void eachCorrectionIsAtomic()
    {
        const QStringList tables{"sale1", "khtl", "khzj", "khprice", "velcpzk", "czrz"};
        ReturnResult ret;
        qint64 issue = 0, funds = 0;
        const auto prepare = [&] {
            init();
            ret = linkedReturn(500);
            issue = s().scalar(QStringLiteral("SELECT MIN(id) FROM {sale1} WHERE bz_1 = '1'")).toLongLong();
            funds = fundsRow(QStringLiteral("2026-12-01"), 0, 500);
        };
        QCOMPARE(test::checkEachWriteFailing(s(), tables, prepare, [&] { corrections().correctFunds(range(), funds, 0, 400, -400); }),
                 2); // each with its change-log row
        QCOMPARE(test::checkEachWriteFailing(s(), tables, prepare, [&] { corrections().correctIssue(range(), issue, 100, 3000); }),
                 2);
        QCOMPARE(test::checkEachWriteFailing(s(), tables, prepare,
                                             [&] { corrections().correctPolicyPrice(range(), issue, 2500, true); }),
                 4);
        QVERIFY(test::checkEachWriteFailing(s(), tables, prepare,
                                            [&] { corrections().correctReturn(range(), ret.saleId, 400, 2800, 3000); })
                >= 4);
        QVERIFY(test::checkEachWriteFailing(s(), tables, prepare,
                                            [&] { corrections().correctReturnPrice(range(), ret.registerId, 2900); })
                >= 4);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
