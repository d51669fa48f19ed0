#include "sales/salesqueries.h"

#include "common/dates.h"
#include "data/dberror.h"
#include "data/session.h"

namespace fm {

namespace {

// Conditions joined with AND, each with its bound values in text order.
struct Where {
    QStringList terms;
    Values values;

    Where &add(const QString &term, const Values &v = {})
    {
        terms << term;
        values << v;
        return *this;
    }
    QString sql() const { return terms.isEmpty() ? QStringLiteral("1 = 1") : terms.join(QStringLiteral(" AND ")); }
};

const QString kLineColumns = QStringLiteral("id, khdm, region, khmc, cpdm, cpmc, cpgg, zznum, zzjg, zzje, rq_1, tlnum, "
                                            "kpje, czydm, kpjg, zcjg, bz_1");
const QString kReturnColumns = QStringLiteral("id, khdm, region, khmc, cpmc, cpgg, tlnum, tlprice, tlje, czydm, kprq, tlrq");
const QString kFundsColumns = QStringLiteral("id, khmc, ysje, sjje, sqje, rq, sjxl, czydm, region, sjdx, khdm");

// The condition of a listing mode on sale1 (and, for the arrears, the same
// on khzj and khzqk, whose customer and region columns have the same names).
void addMode(Where &w, const SalesQuery &q)
{
    switch (q.mode) {
    case SalesQueryMode::Customer:
        w.add(QStringLiteral("{ci:khdm} = {ci:?}"), {q.customerCode.trimmed()});
        break;
    case SalesQueryMode::Returns:
        w.add(QStringLiteral("{ci:khdm} = {ci:?} AND bz_1 = '3'"), {q.customerCode.trimmed()});
        break;
    case SalesQueryMode::Category:
        w.add(QStringLiteral("bz_3 = ?"), {q.categoryFlag});
        break;
    case SalesQueryMode::Region:
        w.add(QStringLiteral("region = ?"), {q.region});
        break;
    case SalesQueryMode::Turnover:
        // The slips without a turnover number, as the window always asked.
        w.add(QStringLiteral("zzhm = ''"));
        break;
    case SalesQueryMode::Date:
        break;
    }
}

// The arrears modes on a table with khdm and region columns only.
void addArrearsMode(Where &w, const SalesQuery &q)
{
    if (q.mode == SalesQueryMode::Customer) w.add(QStringLiteral("{ci:khdm} = {ci:?}"), {q.customerCode.trimmed()});
    else if (q.mode == SalesQueryMode::Region) w.add(QStringLiteral("region = ?"), {q.region});
}

// Archived: the range itself; otherwise everything up to its end.
void addArrearsDates(Where &w, const QString &column, const SalesQuery &q, const ArchiveState &a)
{
    if (a.archived) w.add(column + QStringLiteral(" >= ? AND ") + column + QStringLiteral(" <= ?"), {q.from, q.to});
    else w.add(column + QStringLiteral(" <= ?"), {q.to});
}

// An equality that no index serves (the value is never empty, so the
// COALESCE changes no result).
const QString kNotIndexed = QStringLiteral("COALESCE(%1, '') = ?");

const QString kHasFee = QStringLiteral("COALESCE(zcjg, 0) <> 0 AND cpdm IS NOT NULL AND TRIM(cpdm) <> ''");
const QString kNoPolicyPrice = QStringLiteral("COALESCE(zcjg, 0) = 0");
const QString kNoProductCode = QStringLiteral("(COALESCE(zcjg, 0) <> 0 AND (cpdm IS NULL OR TRIM(cpdm) = ''))");

QString table(bool history, const char *current)
{
    return QStringLiteral("{%1%2}").arg(history ? QStringLiteral("his_") : QString(), QLatin1String(current));
}

double sumOf(const Row &r, const char *column)
{
    return r.isNull(QLatin1String(column)) ? 0 : r.number(QLatin1String(column));
}

// The totals a query's summing row holds (n, zznum, zzje, tlnum, kpje).
LineTotals lineTotals(const std::optional<Row> &r)
{
    LineTotals t;
    if (!r) return t;
    t.rows = r->integer(QStringLiteral("n"));
    t.issuedKg = sumOf(*r, "zznum");
    t.issuedAmount = sumOf(*r, "zzje");
    t.returnedKg = sumOf(*r, "tlnum");
    t.returnedAmount = sumOf(*r, "kpje");
    return t;
}

} // namespace

bool SalesQuery::hasArrears() const
{
    return mode == SalesQueryMode::Customer || mode == SalesQueryMode::Date || mode == SalesQueryMode::Region;
}

void LineTotals::add(const LineTotals &o)
{
    rows += o.rows;
    issuedKg += o.issuedKg;
    issuedAmount += o.issuedAmount;
    returnedKg += o.returnedKg;
    returnedAmount += o.returnedAmount;
}

QString ArchiveState::cutOffMonth(const QString &from, const QString &to) const
{
    if (closedTo <= from) return from.left(7);
    if (closedTo < to) return closedTo.left(7);
    return to.left(7);
}

// ---- lists ------------------------------------------------------------------

std::optional<Customer> SalesQueries::customer(const QString &code)
{
    return findCustomer(m_s, code);
}

std::vector<Region> SalesQueries::regions()
{
    return CustomerRegister(m_s).regions();
}

std::optional<Region> SalesQueries::regionOfCode(const QString &customerCode)
{
    const QString code = customerCode.trimmed().left(2);
    if (code.size() < 2) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT id, dq, bh FROM {dqk} WHERE bh = ?"), {code});
    if (!r) return std::nullopt;
    return Region::read(*r);
}

std::vector<SalesCategory> SalesQueries::categories()
{
    std::vector<SalesCategory> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT lbmc, cpbz FROM {cplbgg} ORDER BY id")))
        out.push_back({r.text(QStringLiteral("lbmc")), r.text(QStringLiteral("cpbz"))});
    return out;
}

std::optional<SalesCategory> SalesQueries::category(const QString &name)
{
    const auto r = m_s.row(QStringLiteral("SELECT lbmc, cpbz FROM {cplbgg} WHERE {ci:lbmc} = {ci:?} ORDER BY id {first:1}"),
                           {name.trimmed()});
    if (!r) return std::nullopt;
    return SalesCategory{r->text(QStringLiteral("lbmc")), r->text(QStringLiteral("cpbz"))};
}

QStringList SalesQueries::productNames()
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT cpmc FROM {cpgg} ORDER BY id"))) out << r.text(QStringLiteral("cpmc"));
    return out;
}

namespace {

const QString kProductChoice = QStringLiteral("SELECT p.cpdm, p.cpmc, p.cpgg, c.lbmc FROM {price} p "
                                              "LEFT JOIN {cplbgg} c ON c.cpbz = p.cpbz ");

ProductChoice readChoice(const Row &r)
{
    return {r.text(QStringLiteral("cpdm")), r.text(QStringLiteral("cpmc")), r.text(QStringLiteral("cpgg")),
            r.text(QStringLiteral("lbmc"))};
}

} // namespace

std::optional<ProductChoice> SalesQueries::productByCode(const QString &code)
{
    const auto r = m_s.row(kProductChoice + QStringLiteral("WHERE {ci:p.cpdm} = {ci:?} ORDER BY p.id {first:1}"),
                           {code.trimmed()});
    if (!r) return std::nullopt;
    return readChoice(*r);
}

std::optional<ProductChoice> SalesQueries::productByName(const QString &name)
{
    const auto r = m_s.row(kProductChoice + QStringLiteral("WHERE p.cpmc = ? ORDER BY p.cpgg, p.id {first:1}"),
                           {name.trimmed()});
    if (!r) return std::nullopt;
    return readChoice(*r);
}

std::pair<QString, QString> SalesQueries::checkedRange(const QString &from, const QString &to)
{
    const QDate a = parseDateText(from);
    const QDate b = parseDateText(to);
    if (!a.isValid() || !b.isValid())
        throw DomainError(QStringLiteral("日期有错！请按yyyy-mm-dd输入。"), ErrorCode::BadNumber);
    if (b < a) throw DomainError(QStringLiteral("截止日期不能早于起始日期！"), ErrorCode::BadNumber);
    return {dateText(a), dateText(b)};
}

// ---- the listing ------------------------------------------------------------

RowQuery SalesQueries::listing(const SalesQuery &q) const
{
    Where w;
    addMode(w, q);
    w.add(QStringLiteral("rq_1 <= ? AND rq_1 >= ?"), {q.to, q.from});
    w.add(QStringLiteral("(bz_1 = '1' OR bz_1 = '3')"));
    return RowQuery{QStringLiteral("SELECT %1 FROM {sale1} WHERE %2").arg(kLineColumns, w.sql()), w.values,
                    {QStringLiteral("rq_1")}};
}

LineTotals SalesQueries::totals(const SalesQuery &q)
{
    const RowQuery l = listing(q);
    const auto r = m_s.row(QStringLiteral("SELECT COUNT(*) AS n, SUM(zznum) AS zznum, SUM(zzje) AS zzje, "
                                          "SUM(tlnum) AS tlnum, SUM(kpje) AS kpje FROM (%1) q")
                               .arg(l.select),
                           l.values);
    return lineTotals(r);
}

// ---- actual arrears ---------------------------------------------------------

ArchiveState SalesQueries::archiveState()
{
    ArchiveState a;
    const auto r = m_s.row(QStringLiteral("SELECT gdbz, jzrq FROM {gd_rq} ORDER BY id {first:1}"));
    if (!r) return a;
    a.archived = r->text(QStringLiteral("gdbz")) == QLatin1String("1");
    a.closedTo = r->text(QStringLiteral("jzrq"));
    return a;
}

RowQuery SalesQueries::feeLines(const SalesQuery &q, const ArchiveState &a) const
{
    Where w;
    addArrearsMode(w, q);
    addArrearsDates(w, QStringLiteral("rq_1"), q, a);
    return RowQuery{QStringLiteral("SELECT %1 FROM {sale1} WHERE %2").arg(kLineColumns, w.sql()), w.values,
                    {QStringLiteral("rq_1")}};
}

Rows SalesQueries::feeSkips(const SalesQuery &q, const ArchiveState &a, bool questions, const QString &afterDate,
                            qint64 afterId, int n)
{
    Where w;
    addArrearsMode(w, q);
    addArrearsDates(w, QStringLiteral("rq_1"), q, a);
    w.add(questions ? QStringLiteral("(%1 OR %2)").arg(kNoPolicyPrice, kNoProductCode) : kNoProductCode);
    if (afterId > 0) w.add(QStringLiteral("(rq_1 > ? OR (rq_1 = ? AND id > ?))"), {afterDate, afterDate, afterId});
    return m_s.rows(QStringLiteral("SELECT id, khdm, cpmc, rq_1, zcjg FROM {sale1} WHERE %1 ORDER BY rq_1, id {first:%2}")
                        .arg(w.sql())
                        .arg(n),
                    w.values);
}

Arrears SalesQueries::arrears(const SalesQuery &q, const ArchiveState &a)
{
    // Read outside a transaction: a write transaction would hold back every
    // workstation's entry while a long range is summed.
    Arrears r;
    // The fee of the lines that have a policy price and a product code:
    // an issue earns what it sold above it, a return gives back its share.
    Where lines;
    addArrearsMode(lines, q);
    addArrearsDates(lines, QStringLiteral("rq_1"), q, a);
    if (const auto f = m_s.row(QStringLiteral("SELECT COUNT(*) AS n, SUM(CASE WHEN %1 THEN (CASE WHEN bz_1 = '3' "
                                              "THEN -(kpjg - zcjg) * tlnum / 1000 ELSE (zzjg - zcjg) * zznum / 1000 END) "
                                              "ELSE 0 END) AS fee FROM {sale1} WHERE %2")
                                   .arg(kHasFee, lines.sql()),
                               lines.values)) {
        r.fee = sumOf(*f, "fee");
        r.lines = f->integer(QStringLiteral("n"));
    }

    Where funds;
    addArrearsMode(funds, q);
    addArrearsDates(funds, QStringLiteral("rq"), q, a);
    Values values{q.from, q.to};
    values << funds.values;
    if (const auto f = m_s.row(QStringLiteral("SELECT SUM(ysje) AS ysje, SUM(sjje) AS sjje, "
                                              "SUM(CASE WHEN rq >= ? AND rq <= ? THEN sjje ELSE 0 END) AS paid "
                                              "FROM {khzj} WHERE %1")
                                   .arg(funds.sql()),
                               values)) {
        r.owed = sumOf(*f, "ysje") - sumOf(*f, "sjje");
        r.received = sumOf(*f, "paid");
    }

    if (a.archived) {
        // What the archived months carried forward, up to the first month
        // still held here (the same bound in every mode, so no month is
        // counted twice).
        Where months;
        addArrearsMode(months, q);
        months.add(QStringLiteral("rq < ?"), {a.cutOffMonth(q.from, q.to)});
        if (const auto m = m_s.row(QStringLiteral("SELECT SUM(sjzq) AS sjzq, SUM(tgf) AS tgf FROM {khzqk} WHERE %1")
                                       .arg(months.sql()),
                                   months.values)) {
            r.owed += sumOf(*m, "sjzq");
            r.fee += sumOf(*m, "tgf");
        }
    }
    return r;
}

// ---- "退料查询" -------------------------------------------------------------

RowQuery SalesQueries::returns(const ReturnQuery &q) const
{
    const QString date = q.byReturnDate ? QStringLiteral("tlrq") : QStringLiteral("kprq");
    Where w;
    w.add(date + QStringLiteral(" <= ? AND ") + date + QStringLiteral(" >= ?"), {q.to, q.from});
    if (!q.customerCode.trimmed().isEmpty()) w.add(QStringLiteral("{ci:khdm} = {ci:?}"), {q.customerCode.trimmed()});
    if (!q.region.trimmed().isEmpty()) w.add(QStringLiteral("region = ?"), {q.region.trimmed()});
    w.add(QStringLiteral("tlnum <> 0"));
    return RowQuery{QStringLiteral("SELECT %1 FROM {khtl} WHERE %2").arg(kReturnColumns, w.sql()), w.values, {date}};
}

ReturnQueryTotals SalesQueries::returnTotals(const ReturnQuery &q)
{
    const RowQuery l = returns(q);
    const auto r = m_s.row(
        QStringLiteral("SELECT COUNT(*) AS n, SUM(tlnum) AS tlnum, SUM(tlje) AS tlje FROM (%1) q").arg(l.select), l.values);
    ReturnQueryTotals t;
    if (!r) return t;
    t.rows = r->integer(QStringLiteral("n"));
    t.kilograms = sumOf(*r, "tlnum");
    t.amount = sumOf(*r, "tlje");
    return t;
}

// ---- "资金查询" -------------------------------------------------------------

RowQuery SalesQueries::funds(const QString &customerCode, const QString &from, const QString &to, bool history) const
{
    Where w;
    if (!customerCode.trimmed().isEmpty()) w.add(QStringLiteral("{ci:khdm} = {ci:?}"), {customerCode.trimmed()});
    w.add(QStringLiteral("rq <= ? AND rq >= ?"), {to, from});
    return RowQuery{QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(kFundsColumns, table(history, "khzj"), w.sql()),
                    w.values, {QStringLiteral("rq")}};
}

FundsTotals SalesQueries::fundsTotals(const QString &customerCode, const QString &from, const QString &to, bool history)
{
    const RowQuery l = funds(customerCode, from, to, history);
    const auto r = m_s.row(
        QStringLiteral("SELECT COUNT(*) AS n, SUM(ysje) AS ysje, SUM(sjje) AS sjje FROM (%1) q").arg(l.select), l.values);
    FundsTotals t;
    if (!r) return t;
    t.rows = r->integer(QStringLiteral("n"));
    t.receivable = sumOf(*r, "ysje");
    t.received = sumOf(*r, "sjje");
    return t;
}

// ---- "模糊查询窗口" ---------------------------------------------------------

CombinedQuery SalesQueries::withoutPlaceholders(CombinedQuery q)
{
    const auto blank = [](QString &v, const char *placeholder) {
        v = v.trimmed();
        if (v == QString::fromUtf8(placeholder)) v.clear();
    };
    blank(q.customerCode, "");
    blank(q.productCode, "");
    blank(q.region, "地区");
    blank(q.productName, "名称");
    blank(q.spec, "规格");
    blank(q.categoryFlag, "产品类别");
    return q;
}

RowQuery SalesQueries::combined(const CombinedQuery &given, bool history) const
{
    const CombinedQuery q = withoutPlaceholders(given);
    Where w;
    if (!q.customerCode.isEmpty()) w.add(QStringLiteral("{ci:khdm} = {ci:?}"), {q.customerCode});
    if (!q.productCode.isEmpty()) w.add(QStringLiteral("{ci:cpdm} = {ci:?}"), {q.productCode});
    if (!q.productName.isEmpty()) w.add(QStringLiteral("cpmc = ?"), {q.productName});
    if (!q.spec.isEmpty()) w.add(QStringLiteral("cpgg = ?"), {q.spec});
    // A customer's lines are fewer than its region's, a region's fewer than a
    // category's: the narrowest chosen condition takes its index, the others
    // are written so that no planner without statistics (SQLite) reads a
    // region's or a category's lines to find one customer's.
    const bool customer = !q.customerCode.isEmpty();
    if (!q.region.isEmpty()) w.add(customer ? kNotIndexed.arg(QStringLiteral("region")) : QStringLiteral("region = ?"), {q.region});
    if (!q.categoryFlag.isEmpty())
        w.add(customer || !q.region.isEmpty() ? kNotIndexed.arg(QStringLiteral("bz_3")) : QStringLiteral("bz_3 = ?"),
              {q.categoryFlag});
    w.add(QStringLiteral("rq_1 >= ? AND rq_1 <= ?"), {q.from, q.to});
    return RowQuery{QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(kLineColumns, table(history, "sale1"), w.sql()),
                    w.values, {QStringLiteral("rq_1")}};
}

LineTotals SalesQueries::combinedTotals(const CombinedQuery &q, bool history)
{
    const RowQuery l = combined(q, history);
    const auto r = m_s.row(QStringLiteral("SELECT COUNT(*) AS n, "
                                          "SUM(CASE WHEN bz_1 = '3' THEN 0 ELSE zznum END) AS zznum, "
                                          "SUM(CASE WHEN bz_1 = '3' THEN tlnum ELSE 0 END) AS tlnum, "
                                          "SUM(zzje) AS zzje, SUM(kpje) AS kpje FROM (%1) q")
                               .arg(l.select),
                           l.values);
    return lineTotals(r);
}

Rows SalesQueries::printRows(const RowQuery &q, int limit)
{
    RowPager pager(m_s, q);
    Rows rows = pager.page(0, limit + 1);
    if (int(rows.size()) > limit)
        throw DomainError(QStringLiteral("查询结果共%1行，太多，请缩小查询范围后再打印。").arg(pager.count()));
    return rows;
}

} // namespace fm
