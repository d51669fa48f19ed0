// One whole slip of eight lines at the top size, through SalesSlip (start,
// enterCustomer, quote/prepareLine/confirmLine ×8, startPayment, close)
// against the same inserts and updates issued directly through QSqlQuery,
// prepared once:
//   slip/direct_per_enter         the same statements committed once per Enter
//                                 that changes data (11 transactions: the
//                                 number, the print rows, each line, the
//                                 close), the goal's reference
//   slip/direct_one_transaction   all of it in one transaction
// The service commits once per Enter, as one Enter is one transaction; the
// references leave out the look-ups (customer, product, customer price,
// below-cost row), which bench_lookups measures.

#include "benchsupport.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "sales/salesslip.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>

using namespace fm;

namespace {

constexpr int kCustomers = 8;
const QString kOperator = QStringLiteral("admin");

struct Line {
    QString code, name, spec, flag, unit;
    double price = 0, policy = 0, cost = 0, kgPerBag = 0;
};

struct SlipCustomer {
    QString code, name, region;
    std::vector<Line> lines; // eight
};

struct Fixture {
    std::unique_ptr<Session> s;
    FixedClock clock{QDateTime::currentDateTime()};
    std::vector<SlipCustomer> customers;
};

Fixture *g = nullptr;

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

void setUp()
{
    g = new Fixture;
    g->s = bench::openDataSet("FM_BENCH_TOP");
    Session &s = *g->s;
    QStringList codes, products;
    {
        QSqlQuery q = s.exec(QStringLiteral("SELECT khdm FROM {zxkh} WHERE khbz = '1' ORDER BY id"));
        while (q.next()) codes << q.value(0).toString();
    }
    {
        QSqlQuery q = s.exec(QStringLiteral("SELECT cpdm FROM {price} ORDER BY id"));
        while (q.next()) products << q.value(0).toString();
    }
    if (codes.size() < kCustomers || products.size() < 8) fail(QStringLiteral("the data set is too small"));
    SalesSlip probe(s, g->clock, kOperator, QStringLiteral("bench-slip"));
    probe.openWindow();
    for (int c = 0; c < kCustomers; ++c) {
        SlipCustomer cu;
        cu.code = codes[c * codes.size() / kCustomers];
        probe.start();
        const auto found = probe.enterCustomer(cu.code);
        if (!found) fail(QStringLiteral("customer %1 not found").arg(cu.code));
        cu.name = found->name;
        cu.region = found->region;
        for (int l = 0; l < 8; ++l) {
            const auto q = probe.quote(products[(c * 61 + l * 53) % products.size()]);
            if (!q) fail(QStringLiteral("product not found"));
            Line line{q->product.code, q->product.name, q->spec, q->priceFlag, SalesSlip::unitFor(q->category, q->spec)};
            if (line.unit.isEmpty()) line.unit = QStringLiteral("包");
            line.price = q->price;
            line.policy = q->policyMissing ? q->price : q->policyPrice;
            line.cost = q->product.costPrice;
            parseNumber(q->spec, &line.kgPerBag);
            cu.lines.push_back(line);
        }
        // The first slip of a customer on this workstation also creates its
        // eight print rows; every later one only updates them.
        probe.startPayment();
        probe.close(0);
        g->customers.push_back(cu);
    }
}

void serviceSlip(benchmark::State &state)
{
    SalesSlip slip(*g->s, g->clock, kOperator, QStringLiteral("bench-slip"));
    slip.openWindow();
    size_t i = 0;
    for (auto _ : state) {
        const SlipCustomer &cu = g->customers[i++ % g->customers.size()];
        slip.start();
        if (!slip.enterCustomer(cu.code)) fail(QStringLiteral("customer not found"));
        int bags = 1;
        for (const Line &l : cu.lines) {
            const auto q = slip.quote(l.code);
            if (!q) fail(QStringLiteral("product not found"));
            QString unit = SalesSlip::unitFor(q->category, q->spec);
            if (unit.isEmpty()) unit = QStringLiteral("包");
            slip.confirmLine(slip.prepareLine(*q, q->price, bags++, unit));
        }
        slip.startPayment();
        slip.close(slip.totals().amount);
    }
}

// Each Enter of a slip that writes (the customer with the slip's number and
// print rows, each line, the close) timed on its own over many slips: the
// clerk feels the slowest Enters, so the median and the 90th percentile.
std::vector<QString> perEnterFigures(int slips)
{
    SalesSlip slip(*g->s, g->clock, kOperator, QStringLiteral("bench-slip"));
    slip.openWindow();
    std::vector<double> ms;
    QElapsedTimer t;
    const auto lap = [&] {
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
    };
    for (int i = 0; i < slips; ++i) {
        const SlipCustomer &cu = g->customers[size_t(i) % g->customers.size()];
        t.start();
        slip.start();
        if (!slip.enterCustomer(cu.code)) fail(QStringLiteral("customer not found"));
        lap();
        int bags = 1;
        for (const Line &l : cu.lines) {
            const auto q = slip.quote(l.code);
            if (!q) fail(QStringLiteral("product not found"));
            QString unit = SalesSlip::unitFor(q->category, q->spec);
            if (unit.isEmpty()) unit = QStringLiteral("包");
            slip.confirmLine(slip.prepareLine(*q, q->price, bags++, unit));
            lap();
        }
        slip.startPayment();
        slip.close(slip.totals().amount);
        lap();
    }
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double f) { return ms[std::min(ms.size() - 1, size_t(f * double(ms.size())))]; };
    const QString note = QStringLiteral("%1 Enters of %2 slips").arg(ms.size()).arg(slips);
    const bool sqlite = g->s->engine() == Engine::SQLite;
    return {bench::figureLine(QStringLiteral("one Enter of a slip, median"), QStringLiteral("%1 ms").arg(at(0.5), 0, 'f', 2),
                              QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), note),
            bench::figureLine(QStringLiteral("one Enter of a slip, p90"), QStringLiteral("%1 ms").arg(at(0.9), 0, 'f', 2),
                              QStringLiteral("-"), QStringLiteral("-"), sqlite ? QStringLiteral("≤ 5 ms") : QStringLiteral("-"),
                              !sqlite ? QStringLiteral("-") : at(0.9) <= 5 ? QStringLiteral("met") : QStringLiteral("MISSED"),
                              note)};
}

// The service's writes, issued directly.
class DirectSlip {
public:
    explicit DirectSlip(Session &s)
        : m_db(s.database()), m_dialect(s.dialect()), m_owner(QStringLiteral("bench-slip"))
    {
        const Dialect &d = s.dialect();
        const QString counter = QStringLiteral("id = (SELECT MIN(id) FROM {fphm})");
        m_counter = prepare(s, d.updateReturningSql(QStringLiteral("{fphm}"), QStringLiteral("zzhm = zzhm"), counter,
                                                 {QStringLiteral("id"), QStringLiteral("zzhm")}));
        m_number = prepare(s, QStringLiteral("UPDATE {fphm} SET zzhm = ? WHERE id = ?"));
        m_clearPrint = prepare(s, QStringLiteral("UPDATE {khprn} SET khmc = ?, region = ?, sjxl1 = '', zzhm = '', "
                                                 "kpjg = '', kpje = '', sjbs = '', bszl = '', cpdm = '', cpmc = '', cpgg = '' "
                                                 "WHERE owner = ? AND czydm = ? AND {ci:khdm} = {ci:?}"));
        m_serial = prepare(s, d.updateReturningSql(QStringLiteral("{fphm}"), QStringLiteral("rec_num = rec_num + 1"), counter,
                                                {QStringLiteral("rec_num")}));
        m_line = prepare(s, s.dialect().insertSql(s.expand(QStringLiteral("{sale1}")),
                                                  QString::fromLatin1("rq_1,cpmc,cpgg,zcjg,zznum,zzjg,zzje,kpjg,tlnum,kpje,khmc,"
                                                                      "rq_2,cpdm,region,khdm,czydm,sjbs,recnum,bz_1,cbjg,zzhm,"
                                                                      "bz_3,sjxl1,sjxl2,zcje,cbje,hksl,hkje,ce,bz_2,fphm,bszl")
                                                      .split(QLatin1Char(','))));
        m_printLine = prepare(s, QStringLiteral("UPDATE {khprn} SET cpmc = ?, sjxl1 = ?, zzhm = ?, kpjg = ?, kpje = ?, sjbs = ?, "
                                                "bszl = ?, cpdm = ?, cpgg = ? WHERE owner = ? AND czydm = ? "
                                                "AND {ci:khdm} = {ci:?} AND zznum = ?"));
        m_funds = prepare(s, s.dialect().insertSql(s.expand(QStringLiteral("{khzj}")),
                                                   QString::fromLatin1("khdm,khmc,region,ysje,sjje,sjdx,sqje,sjxl,rq,czydm,zzje")
                                                       .split(QLatin1Char(','))));
        m_paid = prepare(s, QStringLiteral("UPDATE {khprn} SET zzhm = '' WHERE owner = ? AND czydm = ? AND {ci:khdm} = {ci:?}"));
    }

    // perEnter: commit where the service commits, instead of once.
    void run(const SlipCustomer &cu, const QDateTime &now, bool perEnter)
    {
        begin();
        run(m_counter, {});
        if (!m_counter.next()) fail(QStringLiteral("fphm is empty"));
        const QVariant counterId = m_counter.value(0);
        const QString number = QString::number(m_counter.value(1).toString().toULongLong() + 1);
        m_counter.finish();
        run(m_number, {number, counterId});
        if (perEnter) step();
        run(m_clearPrint, {cu.name, cu.region, m_owner, kOperator, cu.code});
        if (perEnter) step();
        const QString today = dateText(now.date());
        double amount = 0, kilograms = 0, difference = 0;
        int bags = 1, printLine = 0;
        for (const Line &l : cu.lines) {
            run(m_serial, {});
            if (!m_serial.next()) fail(QStringLiteral("fphm is empty"));
            const int serial = m_serial.value(0).toInt();
            m_serial.finish();
            const double kg = bags * l.kgPerBag;
            const double lineAmount = l.price * kg / 1000;
            run(m_line, {today, l.name, l.spec, l.policy, kg, l.price, lineAmount, 0.0, 0.0, 0.0, cu.name, QString(), l.code,
                         cu.region, cu.code, kOperator, double(bags), serial, QStringLiteral("1"), l.cost, number, l.flag, 0.0,
                         0.0, 0.0, 0.0, 0.0, 0.0, 0.0, QStringLiteral("0"), QString(), l.unit});
            m_line.finish();
            run(m_printLine, {l.name, numberText(kg), number, numberText(l.kgPerBag * l.price / 1000), numberText(lineAmount),
                              numberText(bags), l.unit, l.code, l.spec, m_owner, kOperator, cu.code, double(++printLine)});
            if (m_printLine.numRowsAffected() != 1) fail(QStringLiteral("print row missing"));
            if (perEnter) step();
            amount += lineAmount;
            kilograms += kg;
            difference += kg * (l.price - l.policy) / 1000;
            ++bags;
        }
        run(m_funds, {cu.code, cu.name, cu.region, amount, amount, dateTimeText(now), 0.0, kilograms, today, kOperator,
                      difference});
        m_funds.finish();
        run(m_paid, {m_owner, kOperator, cu.code});
        commit();
    }

private:
    QSqlQuery prepare(Session &s, const QString &statement)
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!q.prepare(s.expand(statement))) fail(q.lastError().text());
        return q;
    }
    void run(QSqlQuery &q, const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
        if (!q.exec()) fail(q.lastError().text());
    }
    // As the session begins and commits, without its bookkeeping.
    void begin() { m_dialect.begin(m_db); }
    void commit() { m_dialect.commit(m_db); }
    void step()
    {
        commit();
        begin();
    }

    QSqlDatabase m_db;
    const Dialect &m_dialect;
    QString m_owner;
    QSqlQuery m_counter, m_number, m_clearPrint, m_serial, m_line, m_printLine, m_funds, m_paid;
};

void directSlip(benchmark::State &state, bool perEnter)
{
    DirectSlip direct(*g->s);
    size_t i = 0;
    for (auto _ : state) direct.run(g->customers[i++ % g->customers.size()], g->clock.now(), perEnter);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setUp();
    bench::inMicroseconds(benchmark::RegisterBenchmark("slip/service", serviceSlip));
    bench::inMicroseconds(benchmark::RegisterBenchmark("slip/direct_per_enter", directSlip, true));
    bench::inMicroseconds(benchmark::RegisterBenchmark("slip/direct_one_transaction", directSlip, false));
    const std::vector<QString> perEnter = perEnterFigures(40);
    return bench::runAndReport(
        argc, argv,
        {{QStringLiteral("one slip of 8 lines"), QStringLiteral("slip/service"), QStringLiteral("slip/direct_per_enter"), 1.5,
          QStringLiteral("both commit once per Enter (11 times)")},
         {QStringLiteral("one slip against one transaction"), QStringLiteral("slip/service"),
          QStringLiteral("slip/direct_one_transaction"), 0, QStringLiteral("service commits 11 times, reference once")},
         {QStringLiteral("the 10 extra commits alone"), QStringLiteral("slip/direct_per_enter"),
          QStringLiteral("slip/direct_one_transaction"), 0, QStringLiteral("direct statements, 11 commits vs 1")}},
        perEnter);
}
