#include "warehouse/suppliers.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/session.h"

namespace fm {

const QString SupplierRegister::kCodeExists = QStringLiteral("该供应商代码已经存在，不能增加！");
const QString SupplierRegister::kCodeTaken = QStringLiteral("该供应商代码已经存在，不能修改！");
const QString SupplierRegister::kStillOwed = QStringLiteral("该供应商还有欠款，不能删除！");
const QString SupplierRegister::kEmpty = QStringLiteral("供应商名称和地址不能为空！");
const QString SupplierFunds::kNoEndDate = QStringLiteral("输入截止日期！");
const QString SupplierFunds::kProcessFirst = QStringLiteral("请先进行供应商欠款处理，再查询！");

namespace {

QString stored(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? QStringLiteral("") : t;
}

// The condition on rq_1 of a range (a blank start takes everything up to the
// end), with an optional supplier, and its values.
struct Where {
    QString sql;
    Values values;
};

Where rangeWhere(const QString &supplierCode, const DateRange &range, const QString &prefix = QString())
{
    Where w;
    w.sql = QStringLiteral(" WHERE %1rq_1 >= ? AND %1rq_1 <= ?").arg(prefix);
    w.values << (range.start.isValid() ? dateText(range.start) : QStringLiteral("")) << dateText(range.end);
    if (!supplierCode.trimmed().isEmpty()) {
        w.sql += QStringLiteral(" AND {ci:%1gysdm} = {ci:?}").arg(prefix);
        w.values << supplierCode.trimmed();
    }
    return w;
}

FundTotals totalsOf(Session &s, const QString &table, const Where &w)
{
    FundTotals t;
    const auto r = s.row(QStringLiteral("SELECT COALESCE(SUM(yfje), 0) AS yfje, COALESCE(SUM(sfje), 0) AS sfje FROM {%1}")
                             .arg(table)
                             + w.sql,
                         w.values);
    if (r) {
        t.payable = r->number(QStringLiteral("yfje"));
        t.paid = r->number(QStringLiteral("sfje"));
    }
    return t;
}

} // namespace

// ---- the register -----------------------------------------------------------

QString SupplierRegister::checkNewCode(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) throw DomainError(kCodeExists, ErrorCode::Incomplete);
    if (findSupplier(m_s, c)) throw DomainError(kCodeExists, ErrorCode::Duplicate);
    return c;
}

void SupplierRegister::checkValues(const SupplierInput &in)
{
    if (in.name.trimmed().isEmpty() || in.address.trimmed().isEmpty()) throw DomainError(kEmpty, ErrorCode::Incomplete);
}

qint64 SupplierRegister::add(const SupplierInput &in)
{
    const QString code = checkNewCode(in.code);
    checkValues(in);
    qint64 id = 0;
    m_s.transaction([&] {
        id = m_s.insert(QStringLiteral("gyszlk"), {{QStringLiteral("gysdm"), code},
                                                  {QStringLiteral("gysmc"), stored(in.name)},
                                                  {QStringLiteral("gysaddr"), stored(in.address)},
                                                  {QStringLiteral("gystel"), stored(in.phone)},
                                                  {QStringLiteral("gysbz"), QStringLiteral("")}});
    });
    return id;
}

void SupplierRegister::change(qint64 id, const SupplierInput &in)
{
    const std::optional<Supplier> former = supplierById(m_s, id);
    if (!former) throw DomainError(QStringLiteral("查无此供应商！"), ErrorCode::NotFound);
    const QString code = in.code.trimmed();
    if (code.isEmpty()) throw DomainError(kCodeTaken, ErrorCode::Incomplete);
    checkValues(in);
    const std::optional<Supplier> holder = findSupplier(m_s, code);
    if (holder && holder->id != id) throw DomainError(kCodeTaken, ErrorCode::Duplicate);
    m_s.transaction([&] {
        const int n = m_s.execute(QStringLiteral("UPDATE {gyszlk} SET gysdm = ?, gysmc = ?, gysaddr = ?, gystel = ?, "
                                                 "gysbz = '' WHERE id = ?"),
                                  {code, stored(in.name), stored(in.address), stored(in.phone), id});
        if (n != 1) throw DomainError(QStringLiteral("查无此供应商！"), ErrorCode::NotFound);
        ChangeRecord(QStringLiteral("供应商管理"), QStringLiteral("gyszlk"), id, former->code)
            .change(QStringLiteral("gysdm"), former->code, code)
            .change(QStringLiteral("gysmc"), former->name, stored(in.name))
            .change(QStringLiteral("gysaddr"), former->address, stored(in.address))
            .change(QStringLiteral("gystel"), former->phone, stored(in.phone))
            .write(m_s);
        // The balance is kept by code: the supplier's lines move with it.
        if (code != former->code) {
            for (const char *table : {"gyszjk", "ylrkmx"})
                m_s.execute(QStringLiteral("UPDATE {%1} SET gysdm = ? WHERE {ci:gysdm} = {ci:?}").arg(QLatin1String(table)),
                            {code, former->code});
        }
    });
}

void SupplierRegister::remove(qint64 id)
{
    const std::optional<Supplier> s = supplierById(m_s, id);
    if (!s) throw DomainError(QStringLiteral("查无此供应商！"), ErrorCode::NotFound);
    m_s.transaction([&] {
        if (!money::isZero(balance(s->code))) throw DomainError(kStillOwed);
        if (m_s.execute(QStringLiteral("DELETE FROM {gyszlk} WHERE id = ?"), {id}) != 1)
            throw DomainError(QStringLiteral("查无此供应商！"), ErrorCode::NotFound);
        ChangeRecord(QStringLiteral("供应商管理"), QStringLiteral("gyszlk"), id, s->code, ChangeRecord::Kind::Delete)
            .value(QStringLiteral("gysmc"), s->name)
            .value(QStringLiteral("gysaddr"), s->address)
            .value(QStringLiteral("gystel"), s->phone)
            .write(m_s);
    });
}

double SupplierRegister::balance(const QString &code)
{
    Where w{QStringLiteral(" WHERE {ci:gysdm} = {ci:?}"), {code.trimmed()}};
    return totalsOf(m_s, QStringLiteral("gyszjk"), w).owed();
}

RowQuery SupplierRegister::all() const
{
    return RowQuery{QStringLiteral("SELECT id, gysdm, gysmc, gysaddr, gystel, gysbz FROM {gyszlk}"), {},
                    {QStringLiteral("gysdm")}};
}

// ---- funds ------------------------------------------------------------------

QString FundTotals::payableText() const
{
    return numberText(payable / 10000);
}

QString FundTotals::paidText() const
{
    return numberText(paid / 10000);
}

QString FundTotals::owedText() const
{
    return numberText(owed() / 10000);
}

SupplierFunds::SupplierFunds(Session &s, const Clock &clock, QString operatorCode)
    : m_s(s), m_clock(clock), m_operator(std::move(operatorCode))
{
}

void SupplierFunds::checkRange(const DateRange &range) const
{
    if (!range.end.isValid()) throw DomainError(kNoEndDate, ErrorCode::Incomplete);
}

FundTotals SupplierFunds::process(const QString &supplierCode, const DateRange &range)
{
    checkRange(range);
    const QDateTime now = m_clock.now();
    const QString code = supplierCode.trimmed();
    if (!code.isEmpty() && !findSupplier(m_s, code))
        throw DomainError(QStringLiteral("查无此供应商！"), ErrorCode::NotFound);
    FundTotals totals;
    m_s.transaction([&] {
        // The suppliers' rows locked first: two workstations processing at
        // once take turns, and the later one replaces the earlier's summary.
        m_s.lockRows(QStringLiteral("gyszlk"), QStringLiteral("gysbz"));
        m_s.execute(QStringLiteral("DELETE FROM {gyszjhz}"));
        QString sql = QStringLiteral(
            "INSERT INTO {gyszjhz} (gysdm, gysmc, yfje, sfje, sqje, rq_1, rq_0, sm, czydm) "
            "SELECT s.gysdm, s.gysmc, COALESCE(SUM(j.yfje), 0), COALESCE(SUM(j.sfje), 0), "
            "COALESCE(SUM(j.yfje), 0) - COALESCE(SUM(j.sfje), 0), ?, ?, '', ? "
            "FROM {gyszlk} s LEFT JOIN {gyszjk} j ON {ci:j.gysdm} = {ci:s.gysdm} AND j.rq_1 >= ? AND j.rq_1 <= ?");
        Values values{dateText(now.date()), dateTimeText(now), m_operator,
                      range.start.isValid() ? dateText(range.start) : QStringLiteral(""), dateText(range.end)};
        if (!code.isEmpty()) {
            sql += QStringLiteral(" WHERE {ci:s.gysdm} = {ci:?}");
            values << code;
        }
        sql += QStringLiteral(" GROUP BY s.id, s.gysdm, s.gysmc");
        m_s.execute(sql, values);
        totals = totalsOf(m_s, QStringLiteral("gyszjhz"), Where{});
    });
    return totals;
}

RowQuery SupplierFunds::fundLines(const QString &supplierCode, const DateRange &range) const
{
    checkRange(range);
    const Where w = rangeWhere(supplierCode, range);
    return RowQuery{QStringLiteral("SELECT * FROM {gyszjk}") + w.sql, w.values, {QStringLiteral("rq_1")}};
}

FundTotals SupplierFunds::fundTotals(const QString &supplierCode, const DateRange &range)
{
    checkRange(range);
    return totalsOf(m_s, QStringLiteral("gyszjk"), rangeWhere(supplierCode, range));
}

RowQuery SupplierFunds::summary(const QString &supplierCode, const DateRange &range) const
{
    checkRange(range);
    const Where w = rangeWhere(supplierCode, range);
    return RowQuery{QStringLiteral("SELECT * FROM {gyszjhz}") + w.sql, w.values, {QStringLiteral("gysdm")}};
}

FundTotals SupplierFunds::summaryTotals(const QString &supplierCode, const DateRange &range)
{
    checkRange(range);
    return totalsOf(m_s, QStringLiteral("gyszjhz"), rangeWhere(supplierCode, range));
}

ReportDocument SupplierFunds::summaryDocument(const QString &supplierCode, const DateRange &range)
{
    const RowQuery q = summary(supplierCode, range);
    ReportDocument doc;
    doc.addTitle(QStringLiteral("供应商欠款汇总报表"));
    doc.addHeaderLine({ReportField(QStringLiteral("打印日期："), dateText(m_clock.today()))});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("供应商名称"), {}, 2).asText(),
                                   ReportColumn(QStringLiteral("应付金额")).asNumber(),
                                   ReportColumn(QStringLiteral("实付金额")).asNumber(),
                                   ReportColumn(QStringLiteral("实欠金额")).asNumber()});
    // Suppliers that owe nothing and are owed nothing are left out of the
    // lines, not out of the totals.
    t.setPrintCondition([](const ReportRowValues &r) { return !money::isZero(r.number(3)); });
    for (const Row &r : m_s.rows(q.select + QStringLiteral(" ORDER BY gysdm, id"), q.values))
        t.addRow({r.text(QStringLiteral("gysmc")), r.number(QStringLiteral("yfje")), r.number(QStringLiteral("sfje")),
                  r.number(QStringLiteral("sqje"))});
    t.addSummary(SummaryRow(QStringLiteral("汇总：")).sum(1).sum(2).sum(3));
    return doc;
}

ReportDocument SupplierFunds::detailDocument(const QString &supplierCode, const DateRange &range)
{
    const RowQuery q = fundLines(supplierCode, range);
    ReportDocument doc;
    doc.addTitle(QStringLiteral("供应商欠款明细"));
    doc.addHeaderLine({ReportField(QStringLiteral("打印日期："), dateText(m_clock.today()))});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("供应商名称"), {}, 2).asText(),
                                   ReportColumn(QStringLiteral("实际欠款（元）")).asNumber(),
                                   ReportColumn(QStringLiteral("日期")).asText()});
    // What each line adds to the debt: a payment lowers it.
    for (const Row &r : m_s.rows(q.select + QStringLiteral(" ORDER BY rq_1, id"), q.values))
        t.addRow({r.text(QStringLiteral("gysmc")), r.number(QStringLiteral("yfje")) - r.number(QStringLiteral("sfje")),
                  r.text(QStringLiteral("rq_1"))});
    t.addSummary(SummaryRow(QStringLiteral("累计：")).sum(1));
    return doc;
}

ReportDocument SupplierFunds::statement(const QString &supplierCode, const DateRange &range)
{
    checkRange(range);
    const std::optional<Supplier> supplier = findSupplier(m_s, supplierCode);
    if (!supplier) throw DomainError(QStringLiteral("查无此供应商！"), ErrorCode::NotFound);
    double balance = 0;
    if (range.start.isValid()) {
        const Where before{QStringLiteral(" WHERE {ci:gysdm} = {ci:?} AND rq_1 < ?"),
                           {supplier->code, dateText(range.start)}};
        balance = totalsOf(m_s, QStringLiteral("gyszjk"), before).owed();
    }

    ReportDocument doc;
    doc.addTitle(QStringLiteral("供应商对帐单"));
    doc.addHeaderLine({ReportField(QStringLiteral("供应商："), supplier->code + QLatin1Char(' ') + supplier->name),
                       ReportField(QStringLiteral("打印日期："), dateText(m_clock.today()))});
    doc.addHeaderLine({ReportField(QStringLiteral("起始日期："), range.start.isValid() ? dateText(range.start) : QString()),
                       ReportField(QStringLiteral("截止日期："), dateText(range.end))});
    doc.setRepeatHeader(true);
    doc.addFieldLine({ReportField(QStringLiteral("上期欠款："), balance, QStringLiteral("(元)")).withDecimals(2, true)});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("日期")).asText(),
                                   ReportColumn(QStringLiteral("摘要")).asText(),
                                   ReportColumn(QStringLiteral("数量"), QStringLiteral("（公斤）")).asNumber(),
                                   ReportColumn(QStringLiteral("应付金额"), QStringLiteral("（元）")).withDecimals(2, true),
                                   ReportColumn(QStringLiteral("实付金额"), QStringLiteral("（元）")).withDecimals(2, true),
                                   ReportColumn(QStringLiteral("欠款余额"), QStringLiteral("（元）")).withDecimals(2, true)});
    const RowQuery q = fundLines(supplier->code, range);
    for (const Row &r : m_s.rows(q.select + QStringLiteral(" ORDER BY rq_1, id"), q.values)) {
        const double kg = r.number(QStringLiteral("ylsl"));
        const double payable = r.number(QStringLiteral("yfje"));
        const double paid = r.number(QStringLiteral("sfje"));
        // A payment has neither quantity nor payable; a correction lowers one.
        const QString what = money::isZero(kg, 1e-9) && money::isZero(payable, 1e-9) ? QStringLiteral("付款")
            : kg < 0 || payable < 0                                                 ? QStringLiteral("调整")
                                                                                    : QStringLiteral("入库");
        balance += payable - paid;
        t.addRow({r.text(QStringLiteral("rq_1")), what, kg, payable, paid, balance});
    }
    t.addSummary(SummaryRow(QStringLiteral("本期合计：")).sum(2).sum(3).sum(4));
    doc.addFieldLine({ReportField(QStringLiteral("期末欠款："), balance, QStringLiteral("(元)")).withDecimals(2, true)});
    return doc;
}

ReportDocument supplierListDocument(const std::vector<Supplier> &suppliers)
{
    ReportDocument doc;
    doc.addTitle(QStringLiteral("供应商名单："));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("供应商代码")).asText(),
                                   ReportColumn(QStringLiteral("供应商名称"), {}, 2).asText(),
                                   ReportColumn(QStringLiteral("供应商地址"), {}, 2).asText()});
    for (const Supplier &s : suppliers) t.addRow({s.code, s.name, s.address});
    return doc;
}

} // namespace fm
