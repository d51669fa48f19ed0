#include "pricing/pricelists.h"

#include "common/dates.h"

namespace fm {

ReportDocument costPriceListDocument(const std::vector<ProductPrice> &rows, const QString &qymc, QDate printDate)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(qymc + QStringLiteral("产品成本价格表"));
    doc.addTitle(QStringLiteral("(机密)"), 11, false);
    doc.addHeaderLine({ReportField(QStringLiteral("打印时间："), dateText(printDate))});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称："), {}, 2.2).asText(),
                                   ReportColumn(QStringLiteral("产品规格：（公斤/包）"), {}, 1.4).asText(),
                                   ReportColumn(QStringLiteral("成本价格：（元/吨）"), {}, 1.4).asNumber()});
    t.setPrintCondition([](const ReportRowValues &r) { return r.number(2) != 0; });
    for (const ProductPrice &p : rows) t.addRow({p.cpmc, p.cpgg, p.cbjg});
    return doc;
}

ReportDocument customerPriceListDocument(const std::vector<CustomerProductPrice> &rows, const QString &customerName,
                                         QDate printDate)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("公司客户价格："));
    doc.addHeaderLine({ReportField(QStringLiteral("客户名称："), customerName),
                       ReportField(QStringLiteral("打印日期："), dateText(printDate))});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称"), {}, 2.2).asText(),
                                   ReportColumn(QStringLiteral("产品规格（元/吨）"), {}, 1.4).asText(),
                                   ReportColumn(QStringLiteral("开票价格（元/吨）"), {}, 1.4).asNumber(),
                                   ReportColumn(QStringLiteral("政策价格（元/吨）"), {}, 1.4).asNumber()});
    t.setRunningNumber(true);
    // An empty policy price reads as 0.
    t.setPrintCondition([](const ReportRowValues &r) { return r.number(3) != 0; });
    for (const CustomerProductPrice &p : rows)
        t.addRow({p.cpmc, p.cpgg, p.kpjg, p.fhll ? QVariant(*p.fhll) : QVariant()});
    return doc;
}

} // namespace fm
