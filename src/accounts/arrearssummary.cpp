#include "accounts/arrearssummary.h"

#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "data/session.h"

#include <QRegularExpression>

namespace fm {

QString ArrearsSummary::checkMonth(const QString &typed)
{
    static const QRegularExpression month(QStringLiteral("^([0-9]{4})-([0-9]{2})$"));
    const QString text = foldFullWidth(typed).trimmed();
    const QRegularExpressionMatch m = month.match(text);
    if (!m.hasMatch() || m.captured(2).toInt() < 1 || m.captured(2).toInt() > 12)
        throw DomainError(QStringLiteral("年月有错！请按yyyy-mm输入。"), ErrorCode::BadNumber);
    return text;
}

ArrearsResult ArrearsSummary::rebuild(const ArrearsScope &scope, const QString &cutOff, const QDate &today)
{
    const QString month = checkMonth(cutOff);
    const QString stamp = dateText(today);

    // Which customers the summary covers: by code, as the register's
    // region code prefixes them.
    QString covered;
    Values scopeValues;
    // Which of its rows show: the scope's region and name as stored.
    QString shown;
    Values shownValues;
    switch (scope.kind) {
    case ArrearsScope::Kind::All:
        covered = QStringLiteral("EXISTS (SELECT 1 FROM {dqk} d WHERE d.bh = substring(z.khdm, 1, 2))");
        break;
    case ArrearsScope::Kind::Region:
        covered = QStringLiteral("substring(z.khdm, 1, 2) = ?");
        scopeValues << scope.regionCode.trimmed();
        shown = QStringLiteral("region = ? AND ");
        shownValues << scope.regionName.trimmed();
        break;
    case ArrearsScope::Kind::Customer:
        covered = QStringLiteral("{ci:z.khdm} = {ci:?}");
        scopeValues << scope.customerCode.trimmed();
        shown = QStringLiteral("region = ? AND khmc = ? AND ");
        shownValues << scope.regionName.trimmed() << scope.customerName.trimmed();
        break;
    }

    ArrearsResult out;
    m_s.transaction([&] {
        out = ArrearsResult();
        m_s.execute(QStringLiteral("DELETE FROM {khqk_cx}"));
        if (!m_s.row(QStringLiteral("SELECT id FROM {khzqk} WHERE rq <= ? ORDER BY rq, id {first:1}"), {month})) return;
        // Sums over the months up to the cut-off; the fee is the latest month's.
        m_s.execute(QStringLiteral("INSERT INTO {khqk_cx} (khdm, khmc, region, ysje, sjje, sjqk, sjzq, tgf, rq) "
                                   "SELECT z.khdm, z.khmc, z.dq, COALESCE(SUM(q.ysje), 0), COALESCE(SUM(q.sjje), 0), "
                                   "COALESCE(SUM(q.sjqk), 0), COALESCE(SUM(q.sjzq), 0), "
                                   "COALESCE((SELECT l.tgf FROM {khzqk} l WHERE {ci:l.khdm} = {ci:z.khdm} AND l.rq <= ? "
                                   "ORDER BY l.rq DESC, l.id DESC {first:1}), 0), ? "
                                   "FROM {zxkh} z LEFT JOIN {khzqk} q ON {ci:q.khdm} = {ci:z.khdm} AND q.rq <= ? "
                                   "WHERE ")
                        + covered + QStringLiteral(" GROUP BY z.id, z.khdm, z.khmc, z.dq"),
                    Values{month, stamp, month} + scopeValues);
        const Rows rows = m_s.rows(QStringLiteral("SELECT id, khdm, khmc, region, ysje, sjje, sjqk, sjzq, tgf FROM {khqk_cx} WHERE ")
                                       + shown
                                       + QStringLiteral("(ABS(sjqk) >= ? OR ABS(tgf) >= ?) AND rq = ? ORDER BY khdm, id"),
                                   shownValues + Values{money::kStoredTolerance, money::kStoredTolerance, stamp});
        for (const Row &r : rows) {
            ArrearsLine l;
            l.id = r.id();
            l.code = r.text(QStringLiteral("khdm"));
            l.name = r.text(QStringLiteral("khmc"));
            l.region = r.text(QStringLiteral("region"));
            l.receivable = r.number(QStringLiteral("ysje"));
            l.received = r.number(QStringLiteral("sjje"));
            l.arrears = r.number(QStringLiteral("sjqk"));
            l.arrearsBeforeFee = r.number(QStringLiteral("sjzq"));
            l.fee = r.number(QStringLiteral("tgf"));
            out.total += l.arrears;
            out.lines.push_back(l);
        }
    });
    return out;
}

} // namespace fm
