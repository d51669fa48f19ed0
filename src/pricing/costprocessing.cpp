#include "pricing/costprocessing.h"

#include "common/dates.h"
#include "common/money.h"
#include "data/session.h"

namespace fm {

namespace {

// The lines of a region and period, each with its q, p and c.
const QString kCountedLines = QStringLiteral(
    "SELECT id, khdm, region, khmc, cpdm, cpmc, cpgg, rq_1, recnum, "
    "CASE WHEN bz_1 = '3' THEN -COALESCE(tlnum, 0) ELSE COALESCE(zznum, 0) END AS q, "
    "COALESCE(zcjg, 0) AS p, COALESCE(cbjg, 0) AS c "
    "FROM {sale1} WHERE region = ? AND rq_1 >= ? AND rq_1 <= ?");

const QString kRebuild = QStringLiteral(
    "INSERT INTO {khcb_mx} (owner, khdm, region, khmc, cpdm, cpmc, cpgg, zznum, zzjg, zzje, cbjg, cbje, cbce, "
    "rq, fphm) "
    "SELECT ?, khdm, region, khmc, cpdm, cpmc, cpgg, q, p, p * q / 1000, c, c * q / 1000, "
    "p * q / 1000 - c * q / 1000, rq_1, CAST(recnum AS VARCHAR(11)) FROM (%1) l ORDER BY id");

} // namespace

bool CostDetail::belowCost() const
{
    return zzjg - cbjg < money::kStoredTolerance;
}

QString CostDetail::columns()
{
    return QStringLiteral("id, khdm, region, khmc, cpdm, cpmc, cpgg, zznum, zzjg, zzje, cbjg, cbje, cbce, rq, fphm");
}

CostDetail CostDetail::read(const Row &r)
{
    CostDetail d;
    d.id = r.id();
    d.khdm = r.text(QStringLiteral("khdm"));
    d.region = r.text(QStringLiteral("region"));
    d.khmc = r.text(QStringLiteral("khmc"));
    d.cpdm = r.text(QStringLiteral("cpdm"));
    d.cpmc = r.text(QStringLiteral("cpmc"));
    d.cpgg = r.text(QStringLiteral("cpgg"));
    d.zznum = r.number(QStringLiteral("zznum"));
    d.zzjg = r.number(QStringLiteral("zzjg"));
    d.zzje = r.number(QStringLiteral("zzje"));
    d.cbjg = r.number(QStringLiteral("cbjg"));
    d.cbje = r.number(QStringLiteral("cbje"));
    d.cbce = r.number(QStringLiteral("cbce"));
    d.rq = r.dateText(QStringLiteral("rq"));
    d.fphm = r.text(QStringLiteral("fphm"));
    return d;
}

QDate CostProcessing::parseDate(const QString &typed)
{
    const QDate d = parseDateText(typed);
    if (!d.isValid()) throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
    return d;
}

void CostProcessing::checkRange(const QDate &start, const QDate &end)
{
    if (start.isValid() && end.isValid() && end < start)
        throw DomainError(QStringLiteral("截止日期不能早于起始日期！"), ErrorCode::Refused);
}

QString CostProcessing::zeroCostMessage(const QString &khmc, const QString &cpmc, const QString &cpgg)
{
    return QStringLiteral("注意：客户:") + khmc + QStringLiteral("的") + cpmc + QStringLiteral(",规格：") + cpgg
        + QStringLiteral(",成本价格为0,请检查,不能继续处理！");
}

RowQuery CostProcessing::salesLinesQuery(const QString &region, const QDate &start, const QDate &end) const
{
    return RowQuery{QStringLiteral("SELECT id, cpmc, cpgg, zznum, zzjg, zcjg, cbjg, kpjg, tlnum, kpje, khmc, region, "
                                   "czydm, sjbs, rq_1 FROM {sale1} WHERE region = ? AND rq_1 >= ? AND rq_1 <= ?"),
                    {region.trimmed(), dateText(start), dateText(end)},
                    {QStringLiteral("id")}};
}

int CostProcessing::clearRegion(const QString &region)
{
    int n = 0;
    m_s.transaction([&] {
        n = m_s.execute(QStringLiteral("DELETE FROM {khcb_mx} WHERE owner = ? AND region = ?"), {m_owner, region.trimmed()});
    });
    return n;
}

CostRun CostProcessing::process(const QString &region, const QDate &start, const QDate &end)
{
    checkRange(start, end);
    CostRun run;
    m_s.transaction([&] {
        run = CostRun();
        m_s.execute(QStringLiteral("DELETE FROM {khcb_mx} WHERE owner = ?"), {m_owner});
        run.lines = m_s.execute(kRebuild.arg(kCountedLines),
                                {m_owner, region.trimmed(), dateText(start), dateText(end)});
        // The rows keep the lines' table order, so the first one without a
        // cost price is the line the run stops at; the usual run has none
        // and reads its own rows only once.
        const auto totals = m_s.row(QStringLiteral("SELECT MIN(CASE WHEN ABS(cbjg) < ? THEN id END) AS stop, "
                                                   "COALESCE(SUM(cbce), 0) AS g FROM {khcb_mx} WHERE owner = ?"),
                                    {money::kStoredTolerance, m_owner});
        run.grossProfit = totals->number(QStringLiteral("g"));
        if (totals->isNull(QStringLiteral("stop"))) return;
        const qint64 stop = totals->integer(QStringLiteral("stop"));
        const auto at = m_s.row(QStringLiteral("SELECT khmc, cpmc, cpgg FROM {khcb_mx} WHERE id = ?"), {stop});
        run.stopMessage = zeroCostMessage(at->text(QStringLiteral("khmc")), at->text(QStringLiteral("cpmc")),
                                          at->text(QStringLiteral("cpgg")));
        run.lines -= m_s.execute(QStringLiteral("DELETE FROM {khcb_mx} WHERE owner = ? AND id >= ?"), {m_owner, stop});
        run.grossProfit = m_s.scalar(QStringLiteral("SELECT COALESCE(SUM(cbce), 0) FROM {khcb_mx} WHERE owner = ?"), {m_owner})
                              .toDouble();
    });
    return run;
}

std::vector<CostDetail> CostProcessing::regionRows(const QString &region, bool byDate)
{
    std::vector<CostDetail> out;
    const QString order = byDate ? QStringLiteral("rq, id") : QStringLiteral("id");
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {khcb_mx} WHERE owner = ? AND region = ? ORDER BY %2")
                                     .arg(CostDetail::columns(), order),
                                 {m_owner, region.trimmed()}))
        out.push_back(CostDetail::read(r));
    return out;
}

std::vector<CostDetail> CostProcessing::customerRows(const QString &customerCode, const QDate &start, const QDate &end)
{
    std::vector<CostDetail> out;
    for (const Row &r :
         m_s.rows(QStringLiteral("SELECT %1 FROM {khcb_mx} WHERE owner = ? AND {ci:khdm} = {ci:?} AND rq >= ? AND rq <= ? "
                                 "ORDER BY id")
                      .arg(CostDetail::columns()),
                  {m_owner, customerCode.trimmed(), dateText(start), dateText(end)}))
        out.push_back(CostDetail::read(r));
    return out;
}

RowQuery CostProcessing::customerLinesQuery(const QString &customerCode, const QDate &start, const QDate &end,
                                            bool history) const
{
    return RowQuery{QStringLiteral("SELECT id, khmc, cpmc, cpgg, zznum, zzjg, zcjg, cbjg, tlnum, rq_1, region, cpdm, khdm "
                                   "FROM {%1} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?")
                        .arg(history ? QStringLiteral("his_sale1") : QStringLiteral("sale1")),
                    {customerCode.trimmed(), dateText(start), dateText(end)},
                    {QStringLiteral("rq_1")}};
}

std::vector<SaleLine> CostProcessing::customerLines(const QString &customerCode, const QDate &start, const QDate &end)
{
    std::vector<SaleLine> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {sale1} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? "
                                                "AND rq_1 <= ? ORDER BY rq_1, id")
                                     .arg(SaleLine::columns()),
                                 {customerCode.trimmed(), dateText(start), dateText(end)}))
        out.push_back(SaleLine::read(r));
    return out;
}

bool CostProcessing::hasLines(const QString &customerCode, const QDate &start, const QDate &end, bool history)
{
    return m_s.row(QStringLiteral("SELECT id FROM {%1} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? "
                                  "ORDER BY rq_1 {first:1}")
                       .arg(history ? QStringLiteral("his_sale1") : QStringLiteral("sale1")),
                   {customerCode.trimmed(), dateText(start), dateText(end)})
        .has_value();
}

} // namespace fm
