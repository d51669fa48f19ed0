#include "warehouse/materialqueries.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/session.h"

namespace fm {

QString QueryTotals::tonnesText() const
{
    return numberText(kilograms / 1000);
}

QString QueryTotals::amountText() const
{
    return numberText(amount / 10000);
}

QString ReceiptFundTotals::payableText() const
{
    return numberText(payable / 10000);
}

QString ReceiptFundTotals::paidText() const
{
    return numberText(paid / 10000);
}

QString ReceiptFundTotals::owedText() const
{
    return numberText(owed / 10000);
}

namespace {

struct Where {
    QString sql;
    Values values;
};

// rq_1 from .. to, and a code when one is given (compared as its index holds it).
// A blank date finds nothing.
Where between(const char *codeColumn, const QString &code, QDate from, QDate to)
{
    if (!from.isValid() || !to.isValid()) return Where{QStringLiteral(" WHERE 1 = 0"), {}};
    Where w{QStringLiteral(" WHERE rq_1 >= ? AND rq_1 <= ?"), {dateText(from), dateText(to)}};
    if (!code.trimmed().isEmpty()) {
        w.sql += QStringLiteral(" AND {ci:%1} = {ci:?}").arg(QLatin1String(codeColumn));
        w.values << code.trimmed();
    }
    return w;
}

Where issuesWhere(const QString &code, QDate from, QDate to, IssueKind kind)
{
    Where w = between("yldm", code, from, to);
    w.sql += QStringLiteral(" AND ck_bz = ?");
    w.values << (kind == IssueKind::Sale ? QStringLiteral("1") : QStringLiteral("0"));
    return w;
}

} // namespace

RowQuery MaterialQueries::receipts(const QString &code, QDate from, QDate to) const
{
    const Where w = between("yldm", code, from, to);
    return RowQuery{QStringLiteral("SELECT * FROM {ylrkmx}") + w.sql, w.values, {QStringLiteral("rq_1")}};
}

QueryTotals MaterialQueries::receiptTotals(const QString &code, QDate from, QDate to)
{
    const Where w = between("yldm", code, from, to);
    const auto r = m_s.row(QStringLiteral("SELECT COALESCE(SUM(ylsl), 0) AS kg, COALESCE(SUM(sjje), 0) AS amount FROM {ylrkmx}")
                               + w.sql,
                           w.values);
    return QueryTotals{r->number(QStringLiteral("kg")), r->number(QStringLiteral("amount"))};
}

RowQuery MaterialQueries::issues(const QString &code, QDate from, QDate to, IssueKind kind) const
{
    const Where w = issuesWhere(code, from, to, kind);
    return RowQuery{QStringLiteral("SELECT * FROM {ylckmx}") + w.sql, w.values, {QStringLiteral("rq_1")}};
}

QueryTotals MaterialQueries::issueTotals(const QString &code, QDate from, QDate to, IssueKind kind)
{
    const Where w = issuesWhere(code, from, to, kind);
    const auto r = m_s.row(QStringLiteral("SELECT COALESCE(SUM(ylsl), 0) AS kg, COALESCE(SUM(ylje), 0) AS amount FROM {ylckmx}")
                               + w.sql,
                           w.values);
    return QueryTotals{r->number(QStringLiteral("kg")), r->number(QStringLiteral("amount"))};
}

RowQuery MaterialQueries::receiptFunds(const QString &supplierCode, QDate from, QDate to) const
{
    const Where w = between("gysdm", supplierCode, from, to);
    return RowQuery{QStringLiteral("SELECT * FROM {ylrkmx}") + w.sql, w.values, {QStringLiteral("rq_1")}};
}

ReceiptFundTotals MaterialQueries::receiptFundTotals(const QString &supplierCode, QDate from, QDate to)
{
    const Where w = between("gysdm", supplierCode, from, to);
    const auto r = m_s.row(QStringLiteral("SELECT COALESCE(SUM(sjje), 0) AS sjje, COALESCE(SUM(sfje), 0) AS sfje, "
                                          "COALESCE(SUM(sqje), 0) AS sqje FROM {ylrkmx}")
                               + w.sql,
                           w.values);
    return ReceiptFundTotals{r->number(QStringLiteral("sjje")), r->number(QStringLiteral("sfje")),
                             r->number(QStringLiteral("sqje"))};
}

std::vector<StockRow> MaterialQueries::stock(const QString &flag)
{
    QString sql = QStringLiteral("SELECT %1 FROM {ylhzk} WHERE ylsl <> 0").arg(StockRow::columns());
    Values values;
    if (!flag.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND yldj = ?");
        values << flag.trimmed();
    }
    std::vector<StockRow> out;
    for (const Row &r : m_s.rows(sql + QStringLiteral(" ORDER BY yldm, id"), values)) out.push_back(StockRow::read(r));
    return out;
}

std::vector<StockRow> MaterialQueries::allStock()
{
    return stockRows(m_s);
}

ReportDocument MaterialQueries::stockSheet(const std::vector<StockRow> &rows) const
{
    ReportDocument doc;
    doc.addTitle(QStringLiteral("原料库存打印"));
    doc.addHeaderLine({ReportField(QStringLiteral("打印日期："), dateText(m_clock.today()))});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("原料代码")).asText(),
                                   ReportColumn(QStringLiteral("原料名称"), {}, 2).asText(),
                                   ReportColumn(QStringLiteral("库存量（公斤）")).asNumber(),
                                   ReportColumn(QStringLiteral("截止日价格（元/吨）")).asNumber(),
                                   ReportColumn(QStringLiteral("金额(元)")).asNumber()});
    for (const StockRow &r : rows) t.addRow({r.code, r.name, r.kilograms, r.pricePerTonne, r.value()});
    t.addSummary(SummaryRow(QStringLiteral("库存量总计(公斤)：")).sum(2));
    t.addSummary(SummaryRow(QStringLiteral("金额合计(元):")).sum(4));
    return doc;
}

RowQuery MaterialQueries::materialRegister() const
{
    return RowQuery{QStringLiteral("SELECT * FROM {ylpzk}"), {}, {QStringLiteral("yldm")}};
}

RowQuery MaterialQueries::packagingItems() const
{
    return RowQuery{QStringLiteral("SELECT * FROM {price} WHERE cpbz IN ('A', 'B', 'C', 'D', 'E', 'F')"), {},
                    {QStringLiteral("cpbz"), QStringLiteral("cpdm")}};
}

} // namespace fm
