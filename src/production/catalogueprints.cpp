#include "production/catalogueprints.h"

#include "common/dates.h"
#include "data/session.h"
#include "production/productcatalogue.h"

namespace fm {

ReportDocument Tcppzdy::build(Session &s, const QString &qymc)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(qymc + QStringLiteral("产品清单:"));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品代码"), {}, 1.2).asText(),
                                   ReportColumn(QStringLiteral("产品名称："), {}, 2.2).asText(),
                                   ReportColumn(QStringLiteral("产品规格："), {}, 0.9).asText(),
                                   ReportColumn(QStringLiteral("产品标志："), {}, 1.2).asText(),
                                   ReportColumn(QStringLiteral("开票价格(元/吨)："), {}, 1.5).asNumber()});
    // The category shown is the one whose flag the product carries.
    QSqlQuery q = s.exec(QStringLiteral(
        "SELECT p.cpdm, p.cpmc, p.cpgg, c.lbmc, p.kpjg FROM {price} p "
        "LEFT JOIN {cplbgg} c ON c.cpbz = p.cpbz WHERE p.kpjg <> 0 ORDER BY p.cpdm, p.id"));
    while (q.next())
        t.addRow({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                  q.value(4).toDouble()});
    return doc;
}

ReportDocument formulaListDocument(Session &s, const QString &qymc)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(qymc + QStringLiteral("配方清单:"));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("配方号码"), {}, 1).asText(),
                                   ReportColumn(QStringLiteral("配方名称"), {}, 1.6).asText(),
                                   ReportColumn(QStringLiteral("参照标准"), {}, 1.6).asText(),
                                   ReportColumn(QStringLiteral("配方成本"), QStringLiteral("(元/公斤)"), 1).asNumber(),
                                   ReportColumn(QStringLiteral("成本价格"), QStringLiteral("(元/吨)"), 1).asNumber(),
                                   ReportColumn(QStringLiteral("日期"), {}, 1.1).asText(),
                                   ReportColumn(QStringLiteral("配方人员"), {}, 0.9).asText()});
    QSqlQuery q = s.exec(QStringLiteral("SELECT pfhm, pfmc, pfbz, pfcb, rq_0, rydm FROM {pfzlk} ORDER BY pfhm, id"));
    while (q.next()) {
        const double pfcb = q.value(3).toDouble();
        t.addRow({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), pfcb,
                  ProductCatalogue::costPerTonne(pfcb), dateText(readDateTime(q.value(4)).date()),
                  q.value(5).toString()});
    }
    return doc;
}

} // namespace fm
