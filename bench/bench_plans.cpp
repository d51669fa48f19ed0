// The query plans of the look-ups that the large tables serve, on the mill at
// the measured size, with the time each takes to read all its rows:
//   PLAN<TAB>engine<TAB>look-up<TAB>rows<TAB>ms<TAB>plan (lines joined by " / ")
// SQLite answers EXPLAIN QUERY PLAN, PostgreSQL EXPLAIN. The values are
// the mill's own first customer, product and region.

#include "benchsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <cstdio>

using namespace fm;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::unique_ptr<Session> s = bench::openDataSet("FM_BENCH_TOP");
    const bool sqlite = s->engine() == Engine::SQLite;
    const QString customer = s->scalar(QStringLiteral("SELECT khdm FROM {zxkh} ORDER BY khdm {first:1}")).toString();
    const QString name = s->scalar(QStringLiteral("SELECT khmc FROM {zxkh} ORDER BY khdm {first:1}")).toString();
    const QString region = s->scalar(QStringLiteral("SELECT dq FROM {dqk} ORDER BY bh {first:1}")).toString();
    const QString code = s->scalar(QStringLiteral("SELECT bh FROM {dqk} ORDER BY bh {first:1}")).toString();
    const QString next = QString::number(code.toInt() + 1);
    const QString day = s->scalar(QStringLiteral("SELECT MAX(rq_1) FROM {sale1}")).toString();
    const QString op = s->scalar(QStringLiteral("SELECT czydm FROM {sale1} ORDER BY id {first:1}")).toString();
    const auto lit = [](const QString &v) { return QLatin1Char('\'') + QString(v).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\''); };

    const std::pair<const char *, QString> lookUps[] = {
        {"customer price change, code entered",
         QStringLiteral("SELECT khdm, khmc, dqmc FROM {khprice} WHERE {ci:khdm} = {ci:%1} ORDER BY {ci:khdm}, {ci:cpdm} {first:1}").arg(lit(customer))},
        {"customer price change, name entered",
         QStringLiteral("SELECT khdm, khmc, dqmc FROM {khprice} WHERE khmc = %1 ORDER BY khdm, id {first:1}").arg(lit(name))},
        {"product price query by region",
         QStringLiteral("SELECT id, khdm, khmc, cpdm, fhll FROM {khprice} WHERE dqmc = %1 AND fhll <> 0 AND fhll IS NOT NULL "
                        "ORDER BY khdm, cpdm, id").arg(lit(region))},
        {"客户调整 price list of a region code",
         QStringLiteral("SELECT khdm, khmc, cpdm, cpmc, cpgg, cpbz, kpjg, rq FROM {khprice} WHERE {ci:khdm} >= {ci:%1} "
                        "AND {ci:khdm} < {ci:%2} ORDER BY {ci:khdm}, {ci:cpdm}").arg(lit(code), lit(next))},
        {"customers of a region code",
         QStringLiteral("SELECT khdm, khmc, dq FROM {zxkh} WHERE {ci:khdm} >= {ci:%1} AND {ci:khdm} < {ci:%2} ORDER BY khdm, id")
             .arg(lit(code), lit(next))},
        {"today's returns of an operator",
         QStringLiteral("SELECT id, khdm, cpdm, tlnum FROM {sale1} WHERE czydm = %1 AND rq_2 = %2 AND bz_1 = '3' ORDER BY id")
             .arg(lit(op), lit(day))},
        {"return rows of a sales line",
         QStringLiteral("SELECT id FROM {khtl} WHERE sale1_id = 12345")},
        {"funds row of a sales line",
         QStringLiteral("SELECT id FROM {khzj} WHERE sale1_id = 12345")},
    };
    for (const auto &[what, sql] : lookUps) {
        const QString expanded = s->expand(sql);
        QElapsedTimer t;
        t.start();
        QSqlQuery q(s->database());
        q.setForwardOnly(true);
        if (!q.exec(expanded)) {
            std::fprintf(stderr, "%s: %s\n", what, qPrintable(q.lastError().text()));
            return 1;
        }
        int rows = 0;
        while (q.next()) ++rows;
        const double ms = double(t.nsecsElapsed()) / 1e6;
        q.finish();
        QSqlQuery plan(s->database());
        if (!plan.exec((sqlite ? QStringLiteral("EXPLAIN QUERY PLAN ") : QStringLiteral("EXPLAIN ")) + expanded)) {
            std::fprintf(stderr, "%s: %s\n", what, qPrintable(plan.lastError().text()));
            return 1;
        }
        QStringList lines;
        while (plan.next()) lines << plan.value(sqlite ? 3 : 0).toString().trimmed();
        std::printf("PLAN\t%s\t%s\t%d\t%.2f\t%s\n", qPrintable(bench::engineLabel()), what, rows, ms,
                    qPrintable(lines.join(QStringLiteral(" / "))));
    }
    return 0;
}
