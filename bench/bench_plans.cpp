// The query plans of the look-ups that the large tables serve, on the mill at
// the measured size, with the time each takes to read all its rows:
//   PLAN<TAB>engine<TAB>look-up<TAB>rows<TAB>ms<TAB>plan (lines joined by " / ")
// SQLite answers EXPLAIN QUERY PLAN, PostgreSQL EXPLAIN. The values are
// the mill's own first customer, product and region.

#include "benchsupport.h"

#include "accounts/historycorrections.h"
#include "accounts/historyqueries.h"
#include "common/clock.h"
#include "common/dates.h"
#include "data/rowpager.h"
#include "sales/salesqueries.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <cstdio>

using namespace fm;

namespace {

// A statement with its values written in, for EXPLAIN (which takes no
// parameters on every engine). Values here are codes, names and dates.
QString inlined(Session &s, const QString &sql, const Values &values)
{
    const QString expanded = s.expand(sql);
    QString out;
    int next = 0;
    for (QChar c : expanded) {
        if (c != QLatin1Char('?') || next >= values.size()) {
            out += c;
            continue;
        }
        const QVariant v = values[next++];
        if (v.typeId() == QMetaType::QString)
            out += QLatin1Char('\'') + v.toString().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
        else
            out += v.toString();
    }
    return out;
}

// The first page a grid reads of a list, and the totals a window sums over it.
QString firstPage(Session &s, const RowQuery &q)
{
    Values values = q.values;
    QStringList order = q.orderBy;
    order << QStringLiteral("id");
    const QString tail = s.dialect().pageRows(values, 0, 200);
    return inlined(s, QStringLiteral("SELECT * FROM (%1) q ORDER BY %2 %3").arg(q.select, order.join(QStringLiteral(", ")), tail),
                   values);
}

QString totals(Session &s, const RowQuery &q, const QString &sums)
{
    return inlined(s, QStringLiteral("SELECT COUNT(*), %1 FROM (%2) q").arg(sums, q.select), q.values);
}

} // namespace

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
    // The queries of the sales and history query windows, as their services
    // build them: the mill's first customer, region and category, over the
    // last month or over every year.
    std::vector<std::pair<QByteArray, QString>> queries;
    {
        const QString lastDay = day.isEmpty() ? QStringLiteral("2026-12-18") : day;
        const Period month = settlementPeriodOf(parseDateText(lastDay));
        const QString from = dateText(month.start), to = dateText(month.end);
        const QString always = QStringLiteral("2000-01-01"), never = QStringLiteral("2099-12-31");
        SalesQueries sq(*s);
        const auto add = [&](const char *what, const QString &sql) { queries.push_back({QByteArray(what), sql}); };
        const QString lineSums = QStringLiteral("SUM(zznum), SUM(zzje), SUM(tlnum), SUM(kpje)");
        SalesQuery q;
        q.from = from;
        q.to = to;
        q.mode = SalesQueryMode::Customer;
        q.customerCode = customer;
        add("sales query by customer, a month: page", firstPage(*s, sq.listing(q)));
        add("sales query by customer, a month: totals", totals(*s, sq.listing(q), lineSums));
        q.from = always;
        q.to = never;
        add("sales query by customer, every year: page", firstPage(*s, sq.listing(q)));
        add("sales query by customer, every year: totals", totals(*s, sq.listing(q), lineSums));
        add("actual arrears by customer: fee lines", totals(*s, sq.feeLines(q, ArchiveState()), lineSums));
        add("actual arrears by customer: funds", totals(*s, sq.funds(customer, always, never, false), QStringLiteral("SUM(ysje)")));
        add("actual arrears by customer: carried forward",
            inlined(*s, QStringLiteral("SELECT SUM(sjzq), SUM(tgf) FROM {khzqk} WHERE {ci:khdm} = {ci:?} AND rq < ?"),
                    {customer, lastDay.left(7)}));
        q.from = from;
        q.to = to;
        q.mode = SalesQueryMode::Date;
        add("sales query by date, a month: page", firstPage(*s, sq.listing(q)));
        add("sales query by date, a month: totals", totals(*s, sq.listing(q), lineSums));
        add("actual arrears by date, not archived: every line to the end",
            totals(*s, sq.feeLines(q, ArchiveState()), lineSums));
        add("actual arrears by date, archived month: carried forward",
            inlined(*s, QStringLiteral("SELECT SUM(sjzq), SUM(tgf) FROM {khzqk} WHERE rq < ?"), {lastDay.left(7)}));
        q.mode = SalesQueryMode::Category;
        q.categoryFlag = QStringLiteral("1");
        add("sales query by category, a month: page", firstPage(*s, sq.listing(q)));
        add("sales query by category, a month: totals", totals(*s, sq.listing(q), lineSums));
        q.mode = SalesQueryMode::Region;
        q.region = region;
        add("sales query by region, a month: page", firstPage(*s, sq.listing(q)));
        add("sales query by region, a month: totals", totals(*s, sq.listing(q), lineSums));
        q.mode = SalesQueryMode::Turnover;
        add("sales query without turnover number, a month: page", firstPage(*s, sq.listing(q)));
        add("return query by return date, a month", firstPage(*s, sq.returns({QString(), QString(), true, from, to})));
        add("return query by invoice date and region, a month", firstPage(*s, sq.returns({region, QString(), false, from, to})));
        add("funds query, every customer, a month: page", firstPage(*s, sq.funds(QString(), from, to, false)));
        add("funds query, archived, a month: page", firstPage(*s, sq.funds(QString(), from, to, true)));
        CombinedQuery c;
        c.from = from;
        c.to = to;
        c.productCode = QStringLiteral("q001");
        add("combined query by product code, a month: totals", totals(*s, sq.combined(c, false), lineSums));
        c.productCode.clear();
        c.region = region;
        c.productName = name;
        add("combined query by region and name, a month, archived: page", firstPage(*s, sq.combined(c, true)));
        c = CombinedQuery();
        c.customerCode = customer;
        c.from = always;
        c.to = never;
        add("combined query by customer, every year: totals", totals(*s, sq.combined(c, false), lineSums));
        // The customer's Enter fills its region: the customer's index still serves.
        c.region = s->scalar(QStringLiteral("SELECT region FROM {sale1} WHERE {ci:khdm} = {ci:?} {first:1}"), {customer}).toString();
        c.categoryFlag = QStringLiteral("1");
        add("combined query by customer, its region and a category, every year: totals",
            totals(*s, sq.combined(c, false), lineSums));
        HistoryQueries hq(*s);
        HistoryQuery h;
        h.regionCode = code;
        h.regionName = region;
        h.from = always;
        h.to = never;
        add("history query by region, every year, archived: totals", totals(*s, hq.lines(h, true), lineSums));
        add("history query by region, every year: page", firstPage(*s, hq.lines(h, false)));
        h.customerCode = customer;
        h.regionName = c.region;
        h.categoryFlag = QStringLiteral("1");
        add("history query by region, customer and category, every year: totals", totals(*s, hq.lines(h, false), lineSums));
        h = HistoryQuery();
        h.regionCode = HistoryQuery::kAllRegions;
        h.categoryFlag = QStringLiteral("2");
        h.from = from;
        h.to = to;
        add("history query by category, a month, archived: totals", totals(*s, hq.lines(h, true), lineSums));
        SystemClock clock;
        HistoryCorrections hc(*s, clock);
        const CorrectionRange r{customer, always, never};
        add("corrections: funds rows of a customer", firstPage(*s, hc.fundsRows(r)));
        add("corrections: issue lines of a customer", firstPage(*s, hc.saleLines(r, false)));
        add("corrections: return register of a customer", firstPage(*s, hc.returnRegister(r)));
        add("corrections: policy price of a product's issues",
            inlined(*s, QStringLiteral("UPDATE {sale1} SET zcjg = 1 WHERE {ci:khdm} = {ci:?} AND rq_1 <= ? AND rq_1 >= ? "
                                       "AND bz_1 = '1' AND cpmc = ? AND cpgg = ?"),
                    {customer, never, always, name, QStringLiteral("40")}));
    }
    std::vector<std::pair<const char *, QString>> all(std::begin(lookUps), std::end(lookUps));
    for (const auto &[what, sql] : queries) all.push_back({what.constData(), sql});
    for (const auto &[what, sql] : all) {
        const QString expanded = s->expand(sql);
        QElapsedTimer t;
        t.start();
        int rows = 0;
        // A write is explained, never run.
        if (!expanded.startsWith(QLatin1String("UPDATE"))) {
            QSqlQuery q(s->database());
            q.setForwardOnly(true);
            if (!q.exec(expanded)) {
                std::fprintf(stderr, "%s: %s\n", what, qPrintable(q.lastError().text()));
                return 1;
            }
            while (q.next()) ++rows;
            q.finish();
        }
        const double ms = double(t.nsecsElapsed()) / 1e6;
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
