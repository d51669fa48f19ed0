#include "accounts/arrearssummary.h"

#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "data/session.h"

#include <QRegularExpression>

namespace fm {

double ArrearsResult::totalInTenThousands() const
{
    return money::stored(total) / 10000;
}

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

    // Which customers the summary covers (z: the register), and which month
    // records it reads (the same customers, on the records' code index).
    QString covered, months;
    Values coveredValues, monthValues;
    // Which of its rows show: the scope's region and name as stored.
    QString shown;
    Values shownValues;
    switch (scope.kind) {
    case ArrearsScope::Kind::All:
        // Every customer whose code starts with a region's code.
        covered = QStringLiteral("EXISTS (SELECT 1 FROM {dqk} d WHERE d.bh = substring(z.khdm, 1, 2))");
        break;
    case ArrearsScope::Kind::Region: {
        // The codes from "11" up to, not including, "12", as the register
        // finds a region's customers: a range the code indexes serve.
        const QString code = scope.regionCode.trimmed();
        QString next = code;
        if (!next.isEmpty()) next.back() = QChar(next.back().unicode() + 1);
        covered = QStringLiteral("{ci:z.khdm} >= ? AND {ci:z.khdm} < ?");
        coveredValues << code << next;
        months = QStringLiteral(" AND {ci:khdm} >= ? AND {ci:khdm} < ?");
        monthValues << code << next;
        shown = QStringLiteral("region = ? AND ");
        shownValues << scope.regionName.trimmed();
        break;
    }
    case ArrearsScope::Kind::Customer:
        covered = QStringLiteral("{ci:z.khdm} = {ci:?}");
        coveredValues << scope.customerCode.trimmed();
        months = QStringLiteral(" AND {ci:khdm} = {ci:?}");
        monthValues << scope.customerCode.trimmed();
        shown = QStringLiteral("region = ? AND khmc = ? AND ");
        shownValues << scope.regionName.trimmed() << scope.customerName.trimmed();
        break;
    }

    ArrearsResult out;
    m_s.transaction([&] {
        out = ArrearsResult();
        m_s.execute(QStringLiteral("DELETE FROM {khqk_cx}"));
        const QString first = m_s.scalar(QStringLiteral("SELECT MIN(rq) FROM {khzqk}")).toString();
        if (first.isEmpty() || first > month) return;
        // Sums over the months up to the cut-off, in one pass over them; the
        // fee is the latest month's (of two records of one month, the later).
        m_s.execute(QStringLiteral("INSERT INTO {khqk_cx} (khdm, khmc, region, ysje, sjje, sjqk, sjzq, tgf, rq) "
                                   "SELECT z.khdm, z.khmc, z.dq, COALESCE(a.ysje, 0), COALESCE(a.sjje, 0), "
                                   "COALESCE(a.sjqk, 0), COALESCE(a.sjzq, 0), "
                                   "COALESCE((SELECT l.tgf FROM {khzqk} l WHERE {ci:l.khdm} = a.k AND l.rq = a.last "
                                   "ORDER BY l.id DESC {first:1}), 0), ? "
                                   "FROM {zxkh} z LEFT JOIN (SELECT {ci:khdm} AS k, SUM(ysje) AS ysje, SUM(sjje) AS sjje, "
                                   "SUM(sjqk) AS sjqk, SUM(sjzq) AS sjzq, MAX(rq) AS last FROM {khzqk} WHERE rq <= ?")
                        + months + QStringLiteral(" GROUP BY {ci:khdm}) a ON a.k = {ci:z.khdm} WHERE ") + covered,
                    Values{stamp, month} + monthValues + coveredValues);
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
