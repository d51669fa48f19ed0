#include "pricing/costdocuments.h"

#include "common/dates.h"
#include "pricing/costprices.h"

namespace fm {

namespace {

const QString kInternalOnly = QStringLiteral("(本结算单只限本公司内部查阅，不得外传！)");

// Title, the internal-use notice and the header fields of a cost document.
void addHeading(ReportDocument &doc, const QString &title, const QList<ReportField> &fields)
{
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(title);
    doc.addTitle(kInternalOnly, 10.5, false);
    if (!fields.isEmpty()) doc.addHeaderLine(fields);
}

ReportColumn text(const char *caption, const char *unit = "", double width = 1)
{
    return ReportColumn(QString::fromUtf8(caption), QString::fromUtf8(unit), width).asText();
}

ReportColumn number(const char *caption, const char *unit = "", double width = 1)
{
    return ReportColumn(QString::fromUtf8(caption), QString::fromUtf8(unit), width).asNumber();
}

bool hasQuantity(const ReportRowValues &r, int column)
{
    return r.number(column) != 0;
}

} // namespace

ReportDocument regionalCostSheet(const std::vector<CostDetail> &rows, const QString &qymc, const QString &region,
                                 QDate printDate)
{
    ReportDocument doc;
    addHeading(doc, qymc + QStringLiteral("地区结算表："),
               {ReportField(QStringLiteral("地区名称："), region),
                ReportField(QStringLiteral("结算时间："), dateText(printDate))});
    ReportTable &t = doc.addTable({text("客户名称：", "", 1.4), text("产品名称：", "", 1.6), text("产品规格：", "(公斤/包)"),
                                   number("实际销量：", "(公斤)"), number("政策价格：", "(元/吨)"),
                                   number("成本价格：", "(元/吨)"), number("差额", "(元)"), ReportColumn(QStringLiteral("日期"), {}, 1.1).asDate()});
    t.setPointSize(9);
    t.setPrintCondition([](const ReportRowValues &r) { return hasQuantity(r, 3); });
    for (const CostDetail &d : rows) t.addRow({d.khmc, d.cpmc, d.cpgg, d.zznum, d.zzjg, d.cbjg, d.cbce, d.rq});
    // The unit in the cell after the total, where it has room.
    t.addSummary(SummaryRow(QStringLiteral("销量总计：")).sum(3).value(4, QStringLiteral("(单位：公斤)")));
    t.addSummary(SummaryRow(QStringLiteral("差额总计：")).sum(6).value(7, QStringLiteral("(单位：元)")));
    return doc;
}

ReportDocument abnormalCostSheet(const std::vector<CostDetail> &rows, const QString &qymc, const QString &region,
                                 QDate printDate)
{
    ReportDocument doc;
    addHeading(doc, qymc + QStringLiteral("地区数据异常结算表："),
               {ReportField(QStringLiteral("地区名称："), region),
                ReportField(QStringLiteral("结算时间："), dateText(printDate))});
    ReportTable &t = doc.addTable({text("客户名称：", "", 1.4), text("产品名称：", "", 1.6), text("产品规格：", "(公斤/包)"),
                                   number("实际销量：", "(公斤)"), number("政策价与成本价差额", "(元)", 1.4)});
    for (const CostDetail &d : rows)
        if (d.belowCost()) t.addRow({d.khmc, d.cpmc, d.cpgg, d.zznum, d.cbce});
    t.addSummary(SummaryRow(QStringLiteral("总计：")).sum(3, QStringLiteral("(公斤)")).sum(4, QStringLiteral("(元)")));
    return doc;
}

ReportDocument customerCostList(const std::vector<CostDetail> &rows, const QString &customerName,
                                const QString &customerCode, QDate printDate)
{
    ReportDocument doc;
    addHeading(doc, QStringLiteral("客户成本结算清单："),
               {ReportField(QStringLiteral("客户名称："), customerName),
                ReportField(QStringLiteral("打印时间："), dateText(printDate)),
                ReportField(QStringLiteral("客户代码："), customerCode)});
    ReportTable &t = doc.addTable({text("产品名称：", "", 1.6), text("规格:", "(公斤/包)", 0.8),
                                   number("销售数量：", "(公斤)"), number("政策价格：", "(元/吨)"),
                                   number("政策金额：", "(元)"), number("成本价格：", "(元/吨)"),
                                   number("成本金额：", "(元)"), number("差额(元)：")});
    t.setPointSize(9);
    t.setPrintCondition([](const ReportRowValues &r) { return hasQuantity(r, 2); });
    for (const CostDetail &d : rows) t.addRow({d.cpmc, d.cpgg, d.zznum, d.zzjg, d.zzje, d.cbjg, d.cbje, d.cbce});
    t.addSummary(SummaryRow(QStringLiteral("小计：")).sum(2).sum(4).sum(7));
    return doc;
}

ReportDocument customerCostPrices(const std::vector<SaleLine> &lines)
{
    ReportDocument doc;
    addHeading(doc, QStringLiteral("客户成本价格打印："), {});
    ReportTable &t = doc.addTable({text("客户名称", "", 1.3), text("产品名称", "", 1.6), text("产品规格", "", 0.8),
                                   number("实际销量"), number("开票价格"), number("政策价格"), number("成本价格"),
                                   ReportColumn(QStringLiteral("日期"), {}, 1.1).asDate()});
    t.setPointSize(9);
    for (const SaleLine &l : lines) t.addRow({l.khmc, l.cpmc, l.cpgg, l.zznum, l.zzjg, l.zcjg, l.cbjg, l.rq_1});
    return doc;
}

ReportDocument historicalCostTable(const std::vector<SaleLine> &lines)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("历史成本价格表"));
    doc.addTitle(QStringLiteral("(单位：产量：公斤，价格：元/吨)"), 10.5, false);
    ReportTable &t = doc.addTable({text("地区"), text("客户名称", "", 1.3), text("产品名称", "", 1.6),
                                   text("产品规格", "", 0.8), number("实际销量"), number("政策价"), number("成本价"),
                                   ReportColumn(QStringLiteral("开票日期"), {}, 1.1).asDate()});
    t.setPointSize(9);
    for (const SaleLine &l : lines) t.addRow({l.region, l.khmc, l.cpmc, l.cpgg, l.zznum, l.zcjg, l.cbjg, l.rq_1});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(4));
    return doc;
}

ReportDocument priceFilterList(const std::vector<PriceFilterRow> &rows)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("低于成本价格销售的客户价格过滤明细"));
    ReportTable &t = doc.addTable({text("地区名称"), text("客户名称", "", 1.3), text("产品名称", "", 1.6),
                                   text("规格", "", 0.7), number("政策价格"), number("成本价格"), number("价格差额")});
    for (const PriceFilterRow &r : rows) t.addRow({r.dqmc, r.khmc, r.cpmc, r.cpgg, r.zcjg, r.cbjg, r.jgce});
    return doc;
}

} // namespace fm
