#include "accounts/settlement.h"

#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/dberror.h"
#include "data/session.h"

namespace fm {

namespace {

const QString kLineColumns = QStringLiteral(
    "SELECT id, khdm, region, khmc, cpdm, cpmc, cpgg, sjxl, pmje, zcjg, zcje, tgf, rq_1, rq_2, cplb FROM {khjs_mx} ");

SettlementLine readLine(const Row &r)
{
    SettlementLine l;
    l.id = r.id();
    l.customerCode = r.text(QStringLiteral("khdm"));
    l.region = r.text(QStringLiteral("region"));
    l.customerName = r.text(QStringLiteral("khmc"));
    l.productCode = r.text(QStringLiteral("cpdm"));
    l.productName = r.text(QStringLiteral("cpmc"));
    l.spec = r.text(QStringLiteral("cpgg"));
    l.quantity = r.number(QStringLiteral("sjxl"));
    l.faceAmount = r.number(QStringLiteral("pmje"));
    l.policyPrice = r.number(QStringLiteral("zcjg"));
    l.policyAmount = r.number(QStringLiteral("zcje"));
    l.fee = r.number(QStringLiteral("tgf"));
    l.start = r.text(QStringLiteral("rq_1"));
    l.end = r.text(QStringLiteral("rq_2"));
    l.category = r.text(QStringLiteral("cplb"));
    return l;
}

std::vector<SettlementLine> readLines(const Rows &rows)
{
    std::vector<SettlementLine> out;
    out.reserve(rows.size());
    for (const Row &r : rows) out.push_back(readLine(r));
    return out;
}

// The customer's rows of the period: code, start, end.
Values periodOf(const QString &code, const Period &p)
{
    return {code.trimmed(), dateText(p.start), dateText(p.end)};
}

// One detail row per product (letter case of the code ignored): the sums of
// the period's sales lines, less the period's returns of that product; the
// product's code, name, size and category come from its first line.
// A return line of sale1 carries no quantity or amount (khtl has them) but
// takes back its policy amount at its own policy price. A return in khtl of a
// product without any line in the period has no row to reduce and is left out.
// The select list's values: code, region, name, start, end.
QString collationInsert(bool withFees)
{
    const QString fee = withFees ? QStringLiteral("(g.a - COALESCE(r.a, 0)) - g.p") : QStringLiteral("0");
    return QStringLiteral(
               "INSERT INTO {khjs_mx} (khdm, region, khmc, cpdm, cpmc, cpgg, sjxl, pmje, zcjg, zcje, tgf, rq_1, rq_2, cplb) "
               "SELECT ?, ?, ?, f.cpdm, f.cpmc, f.cpgg, g.q - COALESCE(r.q, 0), g.a - COALESCE(r.a, 0), 0, g.p, %1, ?, ?, f.bz_3 "
               "FROM (SELECT {ci:cpdm} AS k, MIN(id) AS first_id, COALESCE(SUM(zznum), 0) AS q, COALESCE(SUM(zzje), 0) AS a, "
               "COALESCE(SUM(CASE WHEN bz_1 = '3' THEN -COALESCE(zcjg, 0) * COALESCE(tlnum, 0) / 1000 "
               "ELSE COALESCE(zcjg, 0) * COALESCE(zznum, 0) / 1000 END), 0) AS p "
               "FROM {sale1} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? GROUP BY {ci:cpdm}) g "
               "JOIN {sale1} f ON f.id = g.first_id "
               "LEFT JOIN (SELECT {ci:cpdm} AS k, SUM(tlnum) AS q, SUM(tlje) AS a FROM {khtl} "
               "WHERE {ci:khdm} = {ci:?} AND tlrq >= ? AND tlrq <= ? AND bz = '0' GROUP BY {ci:cpdm}) r ON r.k = g.k")
        .arg(fee);
}

} // namespace

QDate Settlement::checkStart(const QString &typed)
{
    const QDate d = parseDateText(typed);
    if (!d.isValid() || d.day() != 19)
        throw DomainError(QStringLiteral("结算日期有错！结算起始日为上月19日!"), ErrorCode::Refused);
    return d;
}

QDate Settlement::checkEnd(const QDate &start, const QString &typed)
{
    const QDate d = parseDateText(typed);
    // The day decides; an end before the start would settle nothing and
    // book the month record all the same.
    if (!d.isValid() || d.day() != 18 || (start.isValid() && d < start))
        throw DomainError(QStringLiteral("日期有错！注意结算截止日为本月18号"), ErrorCode::Refused);
    return d;
}

QDate Settlement::endThisMonth(const QDate &today)
{
    return QDate(today.year(), today.month(), 18);
}

bool Settlement::isOneMonth(const Period &p)
{
    return p.start.day() == 19 && p.end == p.start.addMonths(1).addDays(-1);
}

int Settlement::collateRows(const Customer &c, const Period &p, bool withFees)
{
    const Values period = periodOf(c.code, p);
    m_s.execute(QStringLiteral("DELETE FROM {khjs_mx} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?"), period);
    return m_s.execute(collationInsert(withFees),
                       Values{c.code, c.region, c.name, dateText(p.start), dateText(p.end)} + period + period);
}

std::vector<MissingPolicyPrice> Settlement::missingPolicyPrices(const QString &code, const Period &p)
{
    std::vector<MissingPolicyPrice> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT cpmc, cpgg FROM {sale1} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? "
                                                 "AND rq_1 <= ? AND (zcjg = 0 OR zcjg IS NULL) ORDER BY id"),
                                 periodOf(code, p)))
        out.push_back({r.text(QStringLiteral("cpmc")), r.text(QStringLiteral("cpgg"))});
    return out;
}

Collation Settlement::collate(const Customer &c, const Period &p)
{
    Collation out;
    m_s.transaction([&] {
        out = Collation();
        collateRows(c, p, false);
        out.missing = missingPolicyPrices(c.code, p);
        out.lines = lines(c.code, p);
    });
    for (const SettlementLine &l : out.lines) out.kilograms += l.quantity;
    return out;
}

void Settlement::book(const Customer &c, const Period &p, const SettlementFigures &f, bool monthExists)
{
    // The first settlement of the month: the customer's register row keeps a
    // second workstation settling it at the same time from adding the month
    // twice (it waits here, then finds the record). Taken before the fund
    // rows, as every operation takes the register before the lines.
    if (!monthExists)
        m_s.lockRows(QStringLiteral("zxkh"), QStringLiteral("khdm"), QStringLiteral("{ci:khdm} = {ci:?}"), {c.code});
    const Values period = periodOf(c.code, p);
    // Fund rows that held another fee (a settlement run again after a
    // correction) are a change of posted rows: one record for the customer.
    const auto stamped = m_s.row(QStringLiteral("SELECT COUNT(*) AS n, MIN(zzje) AS lo, MAX(zzje) AS hi FROM {khzj} "
                                                "WHERE {ci:khdm} = {ci:?} AND rq >= ? AND rq <= ? "
                                                "AND zzje IS NOT NULL AND ABS(zzje - ?) > 0.00005 AND ABS(zzje) > 0.00005"),
                                 period + Values{f.fee});
    if (stamped && stamped->integer(QStringLiteral("n")) > 0) {
        const double lo = stamped->number(QStringLiteral("lo")), hi = stamped->number(QStringLiteral("hi"));
        ChangeRecord(QStringLiteral("客户结算"), QStringLiteral("khzj"), 0, c.code)
            .context(QStringLiteral("期间"), period[1].toString() + QLatin1Char('~') + period[2].toString())
            .context(QStringLiteral("行数"), stamped->integer(QStringLiteral("n")))
            .change(QStringLiteral("zzje"), lo == hi ? QVariant(lo) : QVariant(numberText(lo) + QLatin1Char('~') + numberText(hi)), f.fee)
            .write(m_s);
    }
    // Every fund row of the period carries the period's fee; a row without
    // capitals text gets a single blank.
    m_s.execute(QStringLiteral("UPDATE {khzj} SET zzje = ?, sjdx = CASE WHEN sjdx IS NULL OR sjdx = '' THEN ' ' ELSE sjdx END "
                               "WHERE {ci:khdm} = {ci:?} AND rq >= ? AND rq <= ?"),
                Values{f.fee} + period);
    const int updated = m_s.execute(QStringLiteral("UPDATE {khzqk} SET ysje = ?, sjje = ?, sjqk = ?, sjzq = ?, tgf = ? "
                                                   "WHERE {ci:khdm} = {ci:?} AND rq = ?"),
                                    {f.receivable, f.received, f.arrears(), f.arrearsBeforeFee(), f.fee, c.code, f.monthKey});
    if (updated > 0) return;
    m_s.insert(QStringLiteral("khzqk"), {{QStringLiteral("khdm"), c.code},
                                         {QStringLiteral("khmc"), c.name},
                                         {QStringLiteral("region"), c.region},
                                         {QStringLiteral("ysje"), f.receivable},
                                         {QStringLiteral("sjje"), f.received},
                                         {QStringLiteral("sjqk"), f.arrears()},
                                         {QStringLiteral("sjzq"), f.arrearsBeforeFee()},
                                         {QStringLiteral("tgf"), f.fee},
                                         {QStringLiteral("rq"), f.monthKey}});
}

SettlementFigures Settlement::process(const Customer &c, const Period &p)
{
    const Values period = periodOf(c.code, p);
    SettlementFigures f;
    m_s.transaction([&] {
        m_s.execute(QStringLiteral("UPDATE {khjs_mx} SET tgf = pmje - zcje WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?"),
                    period);
        f = SettlementFigures();
        f.monthKey = monthText(p.start);
        const auto r = m_s.row(QStringLiteral("SELECT COALESCE(SUM(ysje), 0) AS r, COALESCE(SUM(sjje), 0) AS p, "
                                              "(SELECT COALESCE(SUM(tgf), 0) FROM {khjs_mx} WHERE {ci:khdm} = {ci:?} "
                                              "AND rq_1 >= ? AND rq_1 <= ?) AS f, "
                                              "(SELECT COUNT(*) FROM {khzqk} WHERE {ci:khdm} = {ci:?} AND rq = ?) AS months "
                                              "FROM {khzj} WHERE {ci:khdm} = {ci:?} AND rq >= ? AND rq <= ?"),
                               period + Values{c.code, f.monthKey} + period);
        f.fee = r->number(QStringLiteral("f"));
        f.receivable = r->number(QStringLiteral("r"));
        f.received = r->number(QStringLiteral("p"));
        book(c, p, f, r->integer(QStringLiteral("months")) > 0);
    });
    return f;
}

SettlementOutcome Settlement::settle(const Customer &c, const Period &p)
{
    const Values period = periodOf(c.code, p);
    SettlementOutcome out;
    m_s.transaction([&] {
        out = SettlementOutcome();
        // Every product sold or returned in the period has its row.
        const bool lines = collateRows(c, p, true) > 0;
        // The figures, and whether there is anything to tell or to book, in
        // one statement.
        const auto r = m_s.row(
            QStringLiteral("SELECT COALESCE(SUM(ysje), 0) AS r, COALESCE(SUM(sjje), 0) AS p, COUNT(*) AS funds, "
                           "(SELECT COALESCE(SUM(tgf), 0) FROM {khjs_mx} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?) AS f, "
                           "(SELECT COUNT(*) FROM {sale1} WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? "
                           "AND (zcjg = 0 OR zcjg IS NULL)) AS missing, "
                           "(SELECT COUNT(*) FROM {khzqk} WHERE {ci:khdm} = {ci:?} AND rq = ?) AS months "
                           "FROM {khzj} WHERE {ci:khdm} = {ci:?} AND rq >= ? AND rq <= ?"),
            period + period + Values{c.code, monthText(p.start)} + period);
        if (!r || (r->integer(QStringLiteral("funds")) == 0 && !lines)) return;
        out.settled = true;
        out.figures.monthKey = monthText(p.start);
        out.figures.fee = r->number(QStringLiteral("f"));
        out.figures.receivable = r->number(QStringLiteral("r"));
        out.figures.received = r->number(QStringLiteral("p"));
        if (r->integer(QStringLiteral("missing")) > 0) out.missing = missingPolicyPrices(c.code, p);
        book(c, p, out.figures, r->integer(QStringLiteral("months")) > 0);
    });
    return out;
}

std::vector<SettlementLine> Settlement::lines(const QString &customerCode, const Period &p)
{
    return readLines(m_s.rows(kLineColumns + QStringLiteral("WHERE {ci:khdm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? "
                                                            "ORDER BY khdm, cpmc, id"),
                              periodOf(customerCode, p)));
}

std::vector<SettlementLine> Settlement::linesWithin(const QString &customerCode, const QDate &start, const QDate &end)
{
    return readLines(m_s.rows(kLineColumns + QStringLiteral("WHERE {ci:khdm} = {ci:?} AND rq_2 <= ? AND rq_1 >= ? "
                                                            "ORDER BY rq_1, cpmc, id"),
                              {customerCode.trimmed(), dateText(end), dateText(start)}));
}

std::vector<Customer> Settlement::candidates(const QString &regionName, const Period &p)
{
    std::vector<Customer> out;
    const Rows rows = m_s.rows(
        QStringLiteral("SELECT %1 FROM {zxkh} z WHERE z.dq = ? AND (z.khbz IS NULL OR {ci:z.khbz} <> 'x') "
                       "AND EXISTS (SELECT 1 FROM {khzj} j WHERE {ci:j.khdm} = {ci:z.khdm} AND j.rq >= ? AND j.rq <= ?) "
                       "ORDER BY z.khdm, z.id")
            .arg(Customer::columns()),
        {regionName.trimmed(), dateText(p.start), dateText(p.end)});
    for (const Row &r : rows) out.push_back(Customer::read(r));
    return out;
}

BatchReport Settlement::settleAll(const std::vector<Customer> &customers, const Period &p, const BeforeEach &before,
                                  const AfterEach &after)
{
    BatchReport report;
    // Settling is re-run safely, so the customers' commits are made durable once, at the end.
    m_s.batchCommits([&] {
        for (size_t i = 0; i < customers.size(); ++i) {
            const Customer &c = customers[i];
            if (before && !before(int(i), c)) {
                report.cancelled = true;
                break;
            }
            SettlementOutcome o;
            try {
                o = settle(c, p);
            } catch (const DbError &e) {
                report.failed = c;
                report.error = e.message();
                break;
            } catch (const DomainError &e) {
                report.failed = c;
                report.error = e.message();
                break;
            }
            if (o.settled) ++report.settled;
            else ++report.skipped;
            if (after) after(int(i), c, o);
        }
    });
    return report;
}

QString Settlement::missingPolicyMessage(const MissingPolicyPrice &m)
{
    return QStringLiteral("该客户的") + m.productName + QStringLiteral(" 规格：") + m.spec
           + QStringLiteral(" 无记忆的政策价格，请与公司经理联系！");
}

QString Settlement::missingPolicyMessage(const Customer &c, const MissingPolicyPrice &m)
{
    return QStringLiteral("客户:") + c.code + c.name + QStringLiteral("的") + m.productName + QStringLiteral(" 规格：")
           + m.spec + QStringLiteral(" 无记忆的政策价格，请与公司经理联系！");
}

} // namespace fm
