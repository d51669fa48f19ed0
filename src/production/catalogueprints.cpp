#include "production/catalogueprints.h"

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
    for (const Row &r : s.rows(QStringLiteral("SELECT p.cpdm, p.cpmc, p.cpgg, c.lbmc, p.kpjg FROM {price} p "
                                              "LEFT JOIN {cplbgg} c ON c.cpbz = p.cpbz "
                                              "WHERE p.kpjg <> 0 ORDER BY p.cpdm, p.id")))
        t.addRow({r.text(QStringLiteral("cpdm")), r.text(QStringLiteral("cpmc")), r.text(QStringLiteral("cpgg")),
                  r.text(QStringLiteral("lbmc")), r.number(QStringLiteral("kpjg"))});
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
    for (const Row &r : s.rows(QStringLiteral("SELECT id, pfhm, pfmc, pfbz, pfcb, rq_0, rydm FROM {pfzlk} ORDER BY pfhm, id"))) {
        const FormulaInfo f = FormulaInfo::read(r);
        t.addRow({f.pfhm, f.pfmc, f.pfbz, f.pfcb, ProductCatalogue::costPerTonne(f.pfcb), f.date, f.rydm});
    }
    return doc;
}

} // namespace fm
