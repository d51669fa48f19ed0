#include "production/productstock.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "data/rowpager.h"
#include "production/productcatalogue.h"
#include "production/products.h"

namespace fm {

namespace {

const QString kMasterColumns = QStringLiteral("id, cpdm, cpmc, cpgg, scsl, sccb, pfhm, scbz, scrq_1, scrq_0, cpbz");

QString inputMark(InputKind k)
{
    switch (k) {
    case InputKind::Production: return QStringLiteral("");
    case InputKind::StockInput: return QStringLiteral("生产输入");
    case InputKind::ReturnInput: return QStringLiteral("回机输入");
    }
    return QString();
}

// A size as a number of kilograms per bag, or 0 when it is not one.
double sizeOf(const QString &spec)
{
    double v = 0;
    if (!parseNumber(spec.trimmed(), &v) || v <= 0) return 0;
    return v;
}

} // namespace

void runWithMasterRetry(Session &s, const std::function<void()> &fn)
{
    try {
        s.transaction(fn);
    } catch (const DbError &e) {
        if (e.kind() != DbError::Kind::UniqueViolation) throw;
        s.transaction(fn);
    }
}

double ProductStock::kilograms(double bags, const QString &spec)
{
    if (!(bags > 0) || bags > kMaxBags) throw badNumber();
    const double size = sizeOf(spec);
    if (size <= 0) throw badNumber();
    return bags * size;
}

qint64 ProductStock::input(const ProductInput &in)
{
    const QString team = in.team.trimmed();
    if (team.isEmpty()) throw DomainError(kNoTeam, ErrorCode::Incomplete);
    const std::optional<Product> p = findProduct(m_s, in.code);
    if (!p) throw DomainError(QStringLiteral("产品代码不存在！"), ErrorCode::NotFound);
    const double kg = kilograms(in.bags, p->spec);
    if (!in.date.isValid()) throw DomainError(QStringLiteral("日期有错！"), ErrorCode::BadNumber);
    const QString date = dateText(in.date);
    const QString stamp = dateTimeText(m_clock.now());
    const QString mark = inputMark(in.kind);

    qint64 lineId = 0;
    runWithMasterRetry(m_s, [&] {
        // The line first, then the stock row: lines before stock.
        Fields line{{QStringLiteral("cpdm"), p->code},     {QStringLiteral("cpmc"), p->name},
                    {QStringLiteral("cpgg"), p->spec},     {QStringLiteral("scsl"), kg},
                    {QStringLiteral("sccb"), 0.0},         {QStringLiteral("pfhm"), QStringLiteral("")},
                    {QStringLiteral("scbz"), team},        {QStringLiteral("scrq_1"), date},
                    {QStringLiteral("scrq_0"), stamp},     {QStringLiteral("txm"), mark},
                    {QStringLiteral("cpbz"), p->flag},     {QStringLiteral("rec_num"), 0},
                    {QStringLiteral("scpc"), in.crumbleKind}, {QStringLiteral("klbz"), in.pelletFlag},
                    {QStringLiteral("klmc"), QStringLiteral("")}, {QStringLiteral("psnum"), 0.0},
                    {QStringLiteral("qtbzgg"), in.kind == InputKind::Production ? QStringLiteral("0") : QStringLiteral("")}};
        for (const char *c : {"bzddm", "bzdmc", "bzdgg", "bqdm", "bqmc", "fwbqdm", "fwbqmc", "qtbzdm", "qtbzmc"})
            line.emplace_back(QString::fromLatin1(c), QStringLiteral(""));
        for (const char *c : {"bzdjg", "bzdje", "bqjg", "bqje", "fwbqjg", "fwbqje", "qtbzjg", "qtbzje"})
            line.emplace_back(QString::fromLatin1(c), 0.0);
        for (const char *c : {"bzdsl", "bqsl", "fwbqsl", "qtbzsl"}) line.emplace_back(QString::fromLatin1(c), 0);
        lineId = m_s.insert(QStringLiteral("velcpk"), line);

        const int changed = in.kind == InputKind::Production
            ? m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + ?, scbz = ?, scrq_1 = ?, scrq_0 = ? "
                                         "WHERE {ci:cpdm} = {ci:?}"),
                          {kg, team, date, stamp, p->code})
            : m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + ?, scrq_1 = ? WHERE {ci:cpdm} = {ci:?}"),
                          {kg, date, p->code});
        if (changed == 0)
            m_s.insert(QStringLiteral("velcpzk"), {{QStringLiteral("cpdm"), p->code},
                                                   {QStringLiteral("cpmc"), p->name},
                                                   {QStringLiteral("cpgg"), p->spec},
                                                   {QStringLiteral("scsl"), kg},
                                                   {QStringLiteral("sccb"), 0.0},
                                                   {QStringLiteral("pfhm"), QStringLiteral("")},
                                                   {QStringLiteral("scbz"), team},
                                                   {QStringLiteral("scrq_1"), date},
                                                   {QStringLiteral("scrq_0"), stamp},
                                                   {QStringLiteral("cpbz"), p->flag}});
    });
    return lineId;
}

double ProductStock::output(const QString &code, double bags)
{
    const std::optional<Product> p = findProduct(m_s, code);
    if (!p) throw DomainError(QStringLiteral("产品代码不存在！"), ErrorCode::NotFound);
    const double kg = kilograms(bags, p->spec);
    m_s.transaction([&] {
        const int changed = m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl - ? WHERE {ci:cpdm} = {ci:?}"),
                                        {kg, p->code});
        if (changed == 0) throw DomainError(kNoStockRow, ErrorCode::NotFound);
    });
    return kg;
}

void ProductStock::bookRun(Session &s, const RunOutput &out, const QString &today, const QString &stamp)
{
    const int changed = s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = scsl + ?, sccb = ?, scrq_1 = ?, scrq_0 = ?, cpbz = ? "
                                                 "WHERE {ci:cpdm} = {ci:?}"),
                                  {out.kilograms, out.costPerTonne, today, stamp, out.flag, out.code});
    if (changed > 0) return;
    s.insert(QStringLiteral("velcpzk"), {{QStringLiteral("cpdm"), out.code},
                                         {QStringLiteral("cpmc"), out.name},
                                         {QStringLiteral("cpgg"), out.spec},
                                         {QStringLiteral("scsl"), out.kilograms},
                                         {QStringLiteral("sccb"), out.costPerTonne},
                                         {QStringLiteral("pfhm"), out.formula},
                                         {QStringLiteral("scbz"), QStringLiteral(" ")},
                                         {QStringLiteral("scrq_1"), today},
                                         {QStringLiteral("scrq_0"), stamp},
                                         {QStringLiteral("cpbz"), out.flag}});
}

Rows ProductStock::stock(const QString &flag, bool newestFirst)
{
    const QString order = newestFirst ? QStringLiteral(" ORDER BY scrq_1 DESC, scrq_0 DESC, id DESC")
                                      : QStringLiteral(" ORDER BY cpdm, id");
    if (flag.trimmed().isEmpty())
        return m_s.rows(QStringLiteral("SELECT %1 FROM {velcpzk}").arg(kMasterColumns) + order);
    return m_s.rows(QStringLiteral("SELECT %1 FROM {velcpzk} WHERE {ci:cpbz} = {ci:?}").arg(kMasterColumns) + order,
                    {flag.trimmed()});
}

RowQuery ProductStock::stockQuery(bool newestFirst)
{
    return RowQuery{QStringLiteral("SELECT %1 FROM {velcpzk}").arg(kMasterColumns), {},
                    newestFirst ? QStringList{QStringLiteral("scrq_1 DESC"), QStringLiteral("scrq_0 DESC")}
                                : QStringList{QStringLiteral("cpdm")}};
}

RowQuery ProductStock::stockQuery(const QString &flag)
{
    if (flag.trimmed().isEmpty()) return stockQuery(false);
    return RowQuery{QStringLiteral("SELECT %1 FROM {velcpzk} WHERE {ci:cpbz} = {ci:?}").arg(kMasterColumns),
                    {flag.trimmed()}, {QStringLiteral("cpdm")}};
}

ReportDocument ProductStock::stockList(const Rows &rows, const QDate &today)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("产品库存明细："));
    doc.addHeaderLine({ReportField(QStringLiteral("打印时间："), dateText(today))});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称："), {}, 2.4).asText(),
                                   ReportColumn(QStringLiteral("规格："), {}, 0.8).asText(),
                                   ReportColumn(QStringLiteral("库存数量(公斤)"), {}, 1.4).asNumber(),
                                   ReportColumn(QStringLiteral("包数"), {}, 1.2).asNumber()});
    t.setPrintCondition([](const ReportRowValues &r) { return r.number(2) != 0; });
    for (const Row &r : rows) {
        const double kg = r.number(QStringLiteral("scsl"));
        const double size = sizeOf(r.text(QStringLiteral("cpgg")));
        t.addRow({r.text(QStringLiteral("cpmc")), r.text(QStringLiteral("cpgg")), kg,
                  size > 0 ? QVariant(kg / size) : QVariant()});
    }
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(2).sum(3));
    return doc;
}

} // namespace fm
