#include "pricing/costprices.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/session.h"
#include "pricing/pricebook.h"

namespace fm {

// ---------------------------------------------------------------- correction

namespace {
const QString kHistoryFunction = QStringLiteral("历史成本价格修改");
} // namespace

const QString CostPriceFix::kFactorEmpty = QStringLiteral("系数不能为空！");
const QString CostPriceFix::kFactorNumber = QStringLiteral("系数必须是数字！");
const QString CostPriceFix::kFactorBelowOne = QStringLiteral("系数不能小于1.0");

namespace {

// No correction makes a cost price ten times its production cost.
constexpr double kMaxFactor = 10;

} // namespace

double CostPriceFix::parseFactor(const QString &typed)
{
    if (typed.trimmed().isEmpty()) throw DomainError(kFactorEmpty, ErrorCode::Incomplete);
    double f = 0;
    if (!parseNumber(typed, &f)) throw badNumber(kFactorNumber);
    if (f < 1) throw DomainError(kFactorBelowOne, ErrorCode::BadNumber);
    if (f > kMaxFactor) throw badNumber();
    return f;
}

QString CostPriceFix::skippedMessage(int skipped)
{
    return QStringLiteral("有%1个产品的生产成本为0或没有生产成本，保留原成本价格。").arg(skipped);
}

std::vector<ProductCategory> CostPriceFix::feedCategories()
{
    std::vector<ProductCategory> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT id, lbmc, cpbz, cpgg FROM {cplbgg} WHERE cpbz >= '0' "
                                                "AND cpbz <= '9' ORDER BY cpbz, id")))
        out.push_back(ProductCategory::read(r));
    return out;
}

Rows CostPriceFix::productionCosts(const QString &flag)
{
    return m_s.rows(QStringLiteral("SELECT id, cpmc, cpgg, sccb, scrq_1, scrq_0, cpdm FROM {velcpzk} WHERE cpbz = ? "
                                   "ORDER BY cpdm, id"),
                    {flag});
}

Rows CostPriceFix::listCosts(const QString &flag)
{
    return m_s.rows(QStringLiteral("SELECT id, cpmc, cpgg, cbjg, rq, cpdm FROM {price} WHERE cpbz = ? ORDER BY cpdm, id"),
                    {flag});
}

CostFixResult CostPriceFix::correct(const QString &flag, double factor)
{
    if (!(factor >= 1 && factor <= kMaxFactor)) throw badNumber();
    CostFixResult r;
    m_s.transaction([&] {
        r = CostFixResult();
        const double highest = m_s.scalar(QStringLiteral("SELECT MAX(sccb) FROM {velcpzk} WHERE cpbz = ?"), {flag}).toDouble();
        if (highest * factor > PriceBook::kMaxPrice) throw badNumber();
        // Products without a production cost keep theirs; a product of the
        // category without a production row is not touched either.
        r.corrected = m_s.execute(
            QStringLiteral("UPDATE {price} SET cbjg = (SELECT MAX(sccb) * ? FROM {velcpzk} WHERE cpbz = ? "
                           "AND {ci:cpdm} = {ci:price.cpdm}) "
                           "WHERE cpbz = ? AND EXISTS (SELECT id FROM {velcpzk} WHERE cpbz = ? "
                           "AND {ci:cpdm} = {ci:price.cpdm} AND sccb > 0)"),
            {factor, flag, flag, flag});
        r.skipped = m_s.scalar(QStringLiteral("SELECT COUNT(*) FROM {velcpzk} WHERE cpbz = ? AND COALESCE(sccb, 0) <= 0 "
                                              "AND EXISTS (SELECT id FROM {price} WHERE cpbz = ? "
                                              "AND {ci:price.cpdm} = {ci:velcpzk.cpdm})"),
                               {flag, flag})
                        .toInt();
        // One record for the category: each product's cost price became its
        // production cost times the factor.
        ChangeRecord(QStringLiteral("成本价格修正"), QStringLiteral("price"), 0, flag)
            .change(QStringLiteral("cbjg"), QVariant(), QStringLiteral("sccb×%1").arg(QString::number(factor, 'g', 15)))
            .change(QStringLiteral("行数"), QVariant(), r.corrected)
            .write(m_s);
    });
    return r;
}

// ---------------------------------------------------------------- history

const QString CostHistory::kClearQuestion = QStringLiteral("确认历史成本价格清零？");
const QString CostHistory::kClearDeclined = QStringLiteral("你已经放弃清零！");
const QString CostHistory::kCleared = QStringLiteral("产品历史成本价格已经全部清零！");
const QString CostHistory::kWriteBack = QStringLiteral("是否回写价格库？");

namespace {

const QString kHistoryColumns = QStringLiteral("id, khmc, cpmc, cpgg, cbjg, zcjg, zznum, kpjg, tlnum, kpje, rq_1, rq_2, "
                                               "cpdm, region, khdm, czydm, zzhm");

QString historyWhere(bool belowCostOnly)
{
    return QStringLiteral(" WHERE rq_1 >= ? AND rq_1 <= ?")
        + (belowCostOnly ? QStringLiteral(" AND COALESCE(zcjg, 0) - COALESCE(cbjg, 0) < ?") : QString());
}

Values historyValues(const QDate &start, const QDate &end, bool belowCostOnly)
{
    Values v{dateText(start), dateText(end)};
    if (belowCostOnly) v << money::kStoredTolerance;
    return v;
}

// The order of the lines: only the four sortable columns reach the statement.
QString historyOrder(const QString &sortColumn, bool descending)
{
    if (sortColumn.isEmpty()) return QString();
    for (const char *c : {"khmc", "cpmc", "cbjg", "zcjg"})
        if (sortColumn == QLatin1String(c)) return sortColumn + (descending ? QStringLiteral(" DESC") : QString());
    return QString();
}

} // namespace

QString CostHistory::sortColumnOfTitle(const QString &title)
{
    const QString t = title.trimmed();
    if (t == QStringLiteral("客户名称")) return QStringLiteral("khmc");
    if (t == QStringLiteral("产品名称")) return QStringLiteral("cpmc");
    if (t == QStringLiteral("成本价")) return QStringLiteral("cbjg");
    if (t == QStringLiteral("政策价")) return QStringLiteral("zcjg");
    return QString();
}

QString CostHistory::sortQuestion(const QString &title)
{
    return title.trimmed() + QStringLiteral("按降序(Y)/升序(N)排列？");
}

double CostHistory::parseCost(const QString &typed)
{
    if (typed.trimmed().isEmpty()) return 0;
    return PriceBook::parsePrice(typed);
}

RowQuery CostHistory::linesQuery(const QDate &start, const QDate &end, bool belowCostOnly, const QString &sortColumn,
                                 bool descending) const
{
    const QString order = historyOrder(sortColumn, descending);
    return RowQuery{QStringLiteral("SELECT %1 FROM {sale1}").arg(kHistoryColumns) + historyWhere(belowCostOnly),
                    historyValues(start, end, belowCostOnly),
                    order.isEmpty() ? QStringList{QStringLiteral("id")} : QStringList{order, QStringLiteral("id")}};
}

std::vector<SaleLine> CostHistory::lines(const QDate &start, const QDate &end, bool belowCostOnly,
                                         const QString &sortColumn, bool descending)
{
    const QString sorted = historyOrder(sortColumn, descending);
    const QString order = sorted.isEmpty() ? QStringLiteral("id") : sorted + QStringLiteral(", id");
    std::vector<SaleLine> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {sale1}").arg(SaleLine::columns()) + historyWhere(belowCostOnly)
                                     + QStringLiteral(" ORDER BY ") + order,
                                 historyValues(start, end, belowCostOnly)))
        out.push_back(SaleLine::read(r));
    return out;
}

std::optional<SaleLine> CostHistory::line(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {sale1} WHERE id = ?").arg(SaleLine::columns()), {id});
    if (!r) return std::nullopt;
    return SaleLine::read(*r);
}

int CostHistory::setCost(const QString &productCode, const QDate &start, const QDate &end, double cost, bool writeBack)
{
    if (!(cost >= 0 && cost <= PriceBook::kMaxPrice)) throw badNumber();
    int n = 0;
    m_s.transaction([&] {
        // The price table before the lines.
        if (writeBack) {
            const auto price = m_s.row(QStringLiteral("SELECT id, cbjg FROM {price} WHERE {ci:cpdm} = {ci:?}"),
                                       {productCode.trimmed()});
            m_s.execute(QStringLiteral("UPDATE {price} SET cbjg = ? WHERE {ci:cpdm} = {ci:?}"), {cost, productCode.trimmed()});
            if (price)
                ChangeRecord(kHistoryFunction, QStringLiteral("price"), price->id(), productCode)
                    .change(QStringLiteral("cbjg"), price->number(QStringLiteral("cbjg")), cost)
                    .write(m_s);
        }
        n = m_s.execute(QStringLiteral("UPDATE {sale1} SET cbjg = ? WHERE {ci:cpdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?"),
                        {cost, productCode.trimmed(), dateText(start), dateText(end)});
        // The lines of the range: one record, with the range and the count.
        ChangeRecord(kHistoryFunction, QStringLiteral("sale1"), 0, productCode)
            .change(QStringLiteral("rq_1"), QVariant(), dateText(start) + QStringLiteral("~") + dateText(end))
            .change(QStringLiteral("cbjg"), QVariant(), cost)
            .change(QStringLiteral("行数"), QVariant(), n)
            .write(m_s);
    });
    return n;
}

int CostHistory::clearCosts(const QDate &start, const QDate &end)
{
    int n = 0;
    m_s.transaction([&] {
        n = m_s.execute(QStringLiteral("UPDATE {sale1} SET cbjg = 0 WHERE rq_1 >= ? AND rq_1 <= ?"),
                        {dateText(start), dateText(end)});
        ChangeRecord(kHistoryFunction, QStringLiteral("sale1"), 0, QString())
            .change(QStringLiteral("rq_1"), QVariant(), dateText(start) + QStringLiteral("~") + dateText(end))
            .change(QStringLiteral("cbjg"), QVariant(), 0.0)
            .change(QStringLiteral("行数"), QVariant(), n)
            .write(m_s);
    });
    return n;
}

// ---------------------------------------------------------------- filter

namespace {

const QString kFilterColumns = QStringLiteral("id, dqbh, dqmc, khmc, khdm, cpdm, cpmc, cpgg, zcjg, cbjg, jgce, rq");

} // namespace

PriceFilterRow PriceFilterRow::read(const Row &r)
{
    PriceFilterRow f;
    f.id = r.id();
    f.dqbh = r.text(QStringLiteral("dqbh"));
    f.dqmc = r.text(QStringLiteral("dqmc"));
    f.khmc = r.text(QStringLiteral("khmc"));
    f.khdm = r.text(QStringLiteral("khdm"));
    f.cpdm = r.text(QStringLiteral("cpdm"));
    f.cpmc = r.text(QStringLiteral("cpmc"));
    f.cpgg = r.text(QStringLiteral("cpgg"));
    f.zcjg = r.number(QStringLiteral("zcjg"));
    f.cbjg = r.number(QStringLiteral("cbjg"));
    f.jgce = r.number(QStringLiteral("jgce"));
    f.rq = readDateTime(r.value(QStringLiteral("rq")));
    return f;
}

int PriceFilter::rebuild(const QString &regionCode)
{
    const bool oneRegion = !regionCode.trimmed().isEmpty();
    Values values{dateTimeText(m_clock.now()), money::kStoredTolerance};
    if (oneRegion) values << regionCode.trimmed();
    int n = 0;
    m_s.transaction([&] {
        m_s.execute(QStringLiteral("DELETE FROM {khjggl}"));
        // A price equal to the cost earns nothing either: sales entry warns
        // on a difference of 0, so the filter lists it. A region that no
        // longer exists keeps the name the price row has.
        n = m_s.execute(
            QStringLiteral("INSERT INTO {khjggl} (dqbh, dqmc, khmc, khdm, cpdm, cpmc, cpgg, zcjg, cbjg, jgce, rq) "
                           "SELECT k.dqbh, COALESCE(d.dq, k.dqmc), k.khmc, k.khdm, k.cpdm, k.cpmc, k.cpgg, "
                           "{stored:k.fhll}, {stored:p.cbjg}, {stored:k.fhll - p.cbjg}, ? "
                           "FROM {price} p JOIN {khprice} k ON {ci:k.cpdm} = {ci:p.cpdm} "
                           "LEFT JOIN {dqk} d ON d.bh = k.dqbh "
                           "WHERE k.fhll IS NOT NULL AND k.fhll <> 0 AND k.fhll < p.cbjg + ?")
                + (oneRegion ? QStringLiteral(" AND k.dqbh = ?") : QString()) + QStringLiteral(" ORDER BY p.id, k.id"),
            values);
    });
    return n;
}

RowQuery PriceFilter::rowsQuery() const
{
    return RowQuery{QStringLiteral("SELECT %1 FROM {khjggl}").arg(kFilterColumns), {}, {QStringLiteral("id")}};
}

std::vector<PriceFilterRow> PriceFilter::rows()
{
    std::vector<PriceFilterRow> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {khjggl} ORDER BY id").arg(kFilterColumns)))
        out.push_back(PriceFilterRow::read(r));
    return out;
}

} // namespace fm
