// Archiving one year of the data set (the first twelve settlement periods of
// its lines): Archiving::archive, one verified transaction (copy a span of
// days at a time, count and sum both sides, ask, count again, delete, move
// the cut-off), against the bare statements that move the same rows: INSERT
// ... SELECT into the two History tables and DELETE from the two current
// ones, in one transaction through a bare QSqlQuery on the same connection
// (goal ≤ 2×). After each measured run the rows are moved back, untimed.
//   archiving/archive     the service, "Yes" answered at once
//   archiving/bare        the reference

#include "benchsupport.h"

#include "accounts/archiving.h"
#include "common/dates.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>

using namespace fm;

namespace {

struct Fixture {
    std::unique_ptr<Session> s;
    QDate start, end;
    qint64 sales = 0, funds = 0;
    QString cutOff; // gd_rq.jzrq before the runs
};

Fixture *g = nullptr;

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

QString columnsOf(const char *table)
{
    return QStringLiteral("id, ") + findTable(QString::fromLatin1(table))->columnNames().join(QStringLiteral(", "));
}

// The statements that move the year one way or the other.
QStringList moves(bool toHistory)
{
    const QString sales = columnsOf("sale1"), funds = columnsOf("khzj");
    const auto copy = [](const QString &to, const QString &from, const QString &columns, const char *date) {
        return QStringLiteral("INSERT INTO {%1} (%3) SELECT %3 FROM {%2} WHERE %4 >= ? AND %4 <= ?")
            .arg(to, from, columns, QLatin1String(date));
    };
    const auto remove = [](const QString &from, const char *date) {
        return QStringLiteral("DELETE FROM {%1} WHERE %2 >= ? AND %2 <= ?").arg(from, QLatin1String(date));
    };
    const QString cur1 = QStringLiteral("sale1"), cur2 = QStringLiteral("khzj");
    const QString his1 = QStringLiteral("his_sale1"), his2 = QStringLiteral("his_khzj");
    if (toHistory)
        return {copy(his1, cur1, sales, "rq_1"), copy(his2, cur2, funds, "rq"), remove(cur1, "rq_1"), remove(cur2, "rq")};
    return {copy(cur1, his1, sales, "rq_1"), copy(cur2, his2, funds, "rq"), remove(his1, "rq_1"), remove(his2, "rq")};
}

void runBare(const QStringList &statements)
{
    QSqlDatabase db = g->s->database();
    if (!db.transaction()) fail(db.lastError().text());
    for (const QString &st : statements) {
        QSqlQuery q(db);
        if (!q.prepare(g->s->expand(st))) fail(q.lastError().text());
        q.addBindValue(dateText(g->start));
        q.addBindValue(dateText(g->end));
        if (!q.exec()) fail(q.lastError().text());
    }
    if (!db.commit()) fail(db.lastError().text());
}

// Puts the year back where it was, with its keys, and the cut-off too.
void moveBack()
{
    for (const QString &t : {QStringLiteral("{sale1}"), QStringLiteral("{khzj}")})
        for (const QString &st : g->s->dialect().beforeExplicitIds(g->s->expand(t))) g->s->exec(st);
    runBare(moves(false));
    for (const QString &t : {QStringLiteral("{sale1}"), QStringLiteral("{khzj}")})
        for (const QString &st : g->s->dialect().afterExplicitIds(g->s->expand(t))) g->s->exec(st);
    g->s->execute(QStringLiteral("UPDATE {gd_rq} SET jzrq = ?"), {g->cutOff});
}

void setUp()
{
    g = new Fixture;
    g->s = bench::openDataSet("FM_BENCH_TOP");
    Session &s = *g->s;
    const QDate first = parseDateText(s.scalar(QStringLiteral("SELECT MIN(rq_1) FROM {sale1}")).toString().left(10));
    if (!first.isValid()) fail(QStringLiteral("the data set has no sales lines"));
    g->start = settlementPeriodOf(first).start;
    g->end = g->start.addYears(1).addDays(-1);
    g->cutOff = s.scalar(QStringLiteral("SELECT jzrq FROM {gd_rq} ORDER BY id {first:1}")).toString();
    // A run that was stopped part way left its year in History.
    if (s.scalar(QStringLiteral("SELECT COUNT(*) FROM {his_sale1} WHERE rq_1 >= ? AND rq_1 <= ?"),
                 {dateText(g->start), dateText(g->end)})
            .toLongLong()
        > 0)
        moveBack();
    const ArchiveTotals t = Archiving(s).currentTotals(g->start, g->end);
    g->sales = t.sales;
    g->funds = t.funds;
    std::fprintf(stderr, "archiving %s .. %s: %lld sales lines, %lld fund rows\n", qPrintable(dateText(g->start)),
                 qPrintable(dateText(g->end)), static_cast<long long>(g->sales), static_cast<long long>(g->funds));
}

void archive(benchmark::State &state)
{
    ArchiveObserver o;
    o.confirmDelete = [](const QString &) { return true; };
    for (auto _ : state) {
        const ArchiveResult r = Archiving(*g->s).archive(g->start, g->end, o);
        if (r.outcome != ArchiveResult::Outcome::Archived || r.totals.sales != g->sales)
            fail(QStringLiteral("the year was not archived"));
        state.PauseTiming();
        moveBack();
        state.ResumeTiming();
    }
}

void bare(benchmark::State &state)
{
    for (const QString &t : {QStringLiteral("{his_sale1}"), QStringLiteral("{his_khzj}")})
        for (const QString &st : g->s->dialect().beforeExplicitIds(g->s->expand(t))) g->s->exec(st);
    for (auto _ : state) {
        runBare(moves(true));
        state.PauseTiming();
        moveBack();
        state.ResumeTiming();
    }
    for (const QString &t : {QStringLiteral("{his_sale1}"), QStringLiteral("{his_khzj}")})
        for (const QString &st : g->s->dialect().afterExplicitIds(g->s->expand(t))) g->s->exec(st);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setUp();
    bench::inMicroseconds(benchmark::RegisterBenchmark("archiving/archive", archive))->Iterations(1);
    bench::inMicroseconds(benchmark::RegisterBenchmark("archiving/bare", bare))->Iterations(1);
    return bench::runAndReport(
        argc, argv,
        {{QStringLiteral("archiving one year (%1 lines, %2 fund rows)").arg(g->sales).arg(g->funds),
          QStringLiteral("archiving/archive"), QStringLiteral("archiving/bare"), 2,
          QStringLiteral("verified copy, recount and delete in one transaction vs bare INSERT ... SELECT + DELETE")}});
}
