// Settling 500 customers over one period (the last complete period of the
// data set), as the region batch does: Settlement::settleAll, one transaction
// per customer, against the bare GROUP BY statements that yield the same
// figures, per customer: the period's sales lines by product, its returns by
// product and the sums of its fund rows, prepared once and read through a
// bare QSqlQuery on the same connection (goal ≤ 2×).
//   settlement/batch                 the service as the batch runs it
//   settlement/group_by              the reference
//   settlement/batch_one_transaction the same service calls inside one outer
//                                    transaction, which tells the cost of
//                                    the 500 commits from the rest
// The customers are the batch's candidates (not closed, a fund row in the
// period), taken region by region until there are 500. Every tenth of them
// gets a return in the period once, so the returns are read and applied.

#include "benchsupport.h"

#include "accounts/customerregister.h"
#include "accounts/settlement.h"
#include "common/dates.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>

using namespace fm;

namespace {

constexpr int kCustomers = 500;

struct Fixture {
    std::unique_ptr<Session> s;
    Period period;
    std::vector<Customer> customers;
};

Fixture *g = nullptr;

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

// A return of the customer's first line of the period, in sale1 and khtl, as
// the returns tab writes it.
void addReturn(Session &s, const Customer &c, const Period &p)
{
    const auto line = s.row(QStringLiteral("SELECT rq_1, cpmc, cpgg, zcjg, zznum, zzjg, cpdm, bz_3, cbjg FROM {sale1} "
                                           "WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? AND bz_1 = '1' ORDER BY id {first:1}"),
                            {c.code, dateText(p.start), dateText(p.end)});
    if (!line) return;
    const double kg = std::max(1.0, line->number(QStringLiteral("zznum")) / 4);
    const double price = line->number(QStringLiteral("zzjg"));
    const QString day = line->text(QStringLiteral("rq_1"));
    s.insert(QStringLiteral("sale1"), {{"rq_1", day}, {"cpmc", line->text(QStringLiteral("cpmc"))},
                                       {"cpgg", line->text(QStringLiteral("cpgg"))}, {"zcjg", line->number(QStringLiteral("zcjg"))},
                                       {"zznum", 0.0}, {"zzjg", 0.0}, {"zzje", 0.0}, {"kpjg", price}, {"tlnum", kg},
                                       {"kpje", price * kg / 1000}, {"khmc", c.name}, {"rq_2", day},
                                       {"cpdm", line->text(QStringLiteral("cpdm"))}, {"region", c.region}, {"khdm", c.code},
                                       {"czydm", "admin"}, {"sjbs", 1}, {"recnum", 1}, {"bz_1", "3"},
                                       {"cbjg", line->number(QStringLiteral("cbjg"))}, {"zzhm", "0"},
                                       {"bz_3", line->text(QStringLiteral("bz_3"))},
                                       {"zcje", line->number(QStringLiteral("zcjg")) * kg / 1000}, {"bz_2", "0"}});
    s.insert(QStringLiteral("khtl"), {{"khdm", c.code}, {"region", c.region}, {"khmc", c.name},
                                      {"cpdm", line->text(QStringLiteral("cpdm"))}, {"cpmc", line->text(QStringLiteral("cpmc"))},
                                      {"cpgg", line->text(QStringLiteral("cpgg"))}, {"tlprice", price}, {"tlnum", kg},
                                      {"tlje", price * kg / 1000}, {"bz", "0"}, {"czydm", "admin"}, {"tlrq", day},
                                      {"kprq", day}, {"rec_num", 1}});
}

void setUp()
{
    g = new Fixture;
    g->s = bench::openDataSet("FM_BENCH_TOP");
    Session &s = *g->s;
    // The data's slips end on the day it was made: settle the period before.
    const QString last = s.scalar(QStringLiteral("SELECT MAX(rq) FROM {khzj}")).toString();
    const QDate lastDay = parseDateText(last.left(10));
    if (!lastDay.isValid()) fail(QStringLiteral("the data set has no fund rows"));
    g->period = settlementPeriodOf(lastDay.addMonths(-1));
    Settlement settlement(s);
    for (const Region &r : CustomerRegister(s).regions()) {
        for (const Customer &c : settlement.candidates(r.name, g->period)) {
            if (int(g->customers.size()) == kCustomers) break;
            g->customers.push_back(c);
        }
    }
    if (g->customers.size() < 50) fail(QStringLiteral("the data set has too few customers in the period"));
    const Values period{dateText(g->period.start), dateText(g->period.end)};
    if (s.scalar(QStringLiteral("SELECT COUNT(*) FROM {khtl} WHERE tlrq >= ? AND tlrq <= ?"), period).toInt() == 0) {
        s.transaction([&] {
            for (size_t i = 0; i < g->customers.size(); i += 10) addReturn(s, g->customers[i], g->period);
        });
    }
    std::fprintf(stderr, "settling %d customers over %s .. %s\n", int(g->customers.size()),
                 qPrintable(dateText(g->period.start)), qPrintable(dateText(g->period.end)));
}

void batch(benchmark::State &state, bool oneTransaction)
{
    Settlement settlement(*g->s);
    for (auto _ : state) {
        BatchReport report;
        if (oneTransaction) g->s->transaction([&] { report = settlement.settleAll(g->customers, g->period); });
        else report = settlement.settleAll(g->customers, g->period);
        if (report.failed) fail(report.error);
        benchmark::DoNotOptimize(report.settled);
    }
}

// The figures of each customer through the bare statements.
class GroupBy {
public:
    explicit GroupBy(Session &s) : m_db(s.database())
    {
        m_lines = prepare(s, QStringLiteral(
                                 "SELECT {ci:cpdm}, MIN(id), SUM(zznum), SUM(zzje), "
                                 "SUM(CASE WHEN bz_1 = '3' THEN -zcjg * tlnum / 1000 ELSE zcjg * zznum / 1000 END) "
                                 "FROM {sale1} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? GROUP BY {ci:cpdm}"));
        m_returns = prepare(s, QStringLiteral("SELECT {ci:cpdm}, SUM(tlnum), SUM(tlje) FROM {khtl} "
                                              "WHERE {ci:khdm} = {ci:?} AND tlrq >= ? AND tlrq <= ? AND bz = '0' GROUP BY {ci:cpdm}"));
        m_funds = prepare(s, QStringLiteral("SELECT SUM(ysje), SUM(sjje) FROM {khzj} "
                                            "WHERE {ci:khdm} = {ci:?} AND rq >= ? AND rq <= ?"));
    }

    double run(const Customer &c, const Period &p)
    {
        const QVariantList values{c.code, dateText(p.start), dateText(p.end)};
        double sum = 0;
        for (QSqlQuery *q : {&m_lines, &m_returns, &m_funds}) {
            for (int i = 0; i < values.size(); ++i) q->bindValue(i, values[i]);
            if (!q->exec()) fail(q->lastError().text());
            while (q->next()) sum += q->value(1).toDouble();
            q->finish();
        }
        return sum;
    }

private:
    QSqlQuery prepare(Session &s, const QString &statement)
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!q.prepare(s.expand(statement))) fail(q.lastError().text());
        return q;
    }

    QSqlDatabase m_db;
    QSqlQuery m_lines, m_returns, m_funds;
};

void groupBy(benchmark::State &state)
{
    GroupBy reference(*g->s);
    for (auto _ : state) {
        double sum = 0;
        for (const Customer &c : g->customers) sum += reference.run(c, g->period);
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setUp();
    bench::inMicroseconds(benchmark::RegisterBenchmark("settlement/batch", batch, false));
    bench::inMicroseconds(benchmark::RegisterBenchmark("settlement/batch_one_transaction", batch, true));
    bench::inMicroseconds(benchmark::RegisterBenchmark("settlement/group_by", groupBy));
    const QString n = QString::number(g->customers.size());
    return bench::runAndReport(
        argc, argv,
        {{QStringLiteral("settling %1 customers, one period").arg(n), QStringLiteral("settlement/batch"),
          QStringLiteral("settlement/group_by"), 2,
          QStringLiteral("one transaction per customer vs the bare GROUP BY reads")},
         {QStringLiteral("settling %1 customers in one transaction").arg(n), QStringLiteral("settlement/batch_one_transaction"),
          QStringLiteral("settlement/group_by"), 0, QStringLiteral("the statements without the commits")},
         {QStringLiteral("the %1 commits").arg(n), QStringLiteral("settlement/batch"),
          QStringLiteral("settlement/batch_one_transaction"), 0, QStringLiteral("a commit per customer vs one")}});
}
