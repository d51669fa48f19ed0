#include "formulation/formulasheets.h"

#include "common/dates.h"
#include "production/productcatalogue.h"

namespace fm {

ReportDocument compositionSheet(const QString &formulaName, const Rows &lines, QDate today)
{
    ReportDocument doc;
    doc.addTitle(QStringLiteral("生  产  配  方："));
    const QString changed = lines.empty() ? QString() : lines.front().text(QStringLiteral("rq_1"));
    doc.addHeaderLine({{QStringLiteral("配方名称："), formulaName}, {QStringLiteral("打印日期："), dateText(today)}});
    doc.addHeaderLine({{QStringLiteral("配方修改日期："), changed}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("原料名称"), {}, 2),
                                   ReportColumn(QStringLiteral("百分比(%)")).asNumber()});
    for (const Row &r : lines) t.addRow({r.text(QStringLiteral("ylmc")), r.number(QStringLiteral("ylsl"))});
    return doc;
}

ReportDocument nutrientSheet(const QString &formulaName, const Rows &results, QDate today)
{
    ReportDocument doc;
    doc.addTitle(QStringLiteral("配方营养成分明细"));
    doc.addHeaderLine({{QStringLiteral("配方名称："), formulaName}, {QStringLiteral("打印日期："), dateText(today)}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("营养因素"), {}, 2),
                                   ReportColumn(QStringLiteral("计算结果")).asNumber(),
                                   ReportColumn(QStringLiteral("标准")).asNumber(),
                                   ReportColumn(QStringLiteral("比较结果")).asNumber()});
    for (const Row &r : results)
        t.addRow({r.text(QStringLiteral("ylys")), r.number(QStringLiteral("result")), r.number(QStringLiteral("stand")),
                  r.number(QStringLiteral("comp"))});
    return doc;
}

ReportDocument priceListSheet(const std::vector<SavedPrice> &prices, const QSet<QString> &markedNumbers)
{
    ReportDocument doc;
    doc.addTitle(QStringLiteral("配方打印"));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("配方名称"), {}, 2),
                                   ReportColumn(QStringLiteral("价格(元/吨)")).asNumber(),
                                   ReportColumn(QStringLiteral("序号")).asNumber(),
                                   ReportColumn(QStringLiteral("配方日期")).asText()});
    int n = 0;
    for (const SavedPrice &p : prices) {
        if (markedNumbers.contains(p.number.toLower())) continue;
        t.addRow({p.name, ProductCatalogue::costPerTonne(p.price), ++n, p.date});
    }
    return doc;
}

} // namespace fm
