#include "sales/salesquerydocuments.h"

#include "common/dates.h"

namespace fm {

ReportDocument salesQueryDocument(const Rows &rows, const QString &region, const QDate &printDate)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Landscape());
    doc.addTitle(QStringLiteral("查询结果打印"));
    doc.addHeaderLine({{QStringLiteral("打印时间："), dateText(printDate)}, {QStringLiteral("地区："), region}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("客户名称"), {}, 1.6),
                                   ReportColumn(QStringLiteral("产品名称"), {}, 1.8),
                                   ReportColumn(QStringLiteral("规格"), QStringLiteral("(公斤/包)"), 0.8),
                                   ReportColumn(QStringLiteral("开票价"), QStringLiteral("(元/吨)")).asNumber(),
                                   ReportColumn(QStringLiteral("销量"), QStringLiteral("(公斤)")).asNumber(),
                                   ReportColumn(QStringLiteral("金额"), QStringLiteral("(元)")).asNumber(),
                                   ReportColumn(QStringLiteral("日期"), {}, 1.1),
                                   ReportColumn(QStringLiteral("退料数量"), QStringLiteral("(公斤)")).asNumber(),
                                   ReportColumn(QStringLiteral("退料价"), QStringLiteral("(元/吨)")).asNumber(),
                                   ReportColumn(QStringLiteral("金额"), QStringLiteral("(元)")).asNumber()});
    t.setRunningNumber(true);
    t.setPointSize(9);
    for (const Row &r : rows)
        t.addRow({r.text(QStringLiteral("khmc")), r.text(QStringLiteral("cpmc")), r.text(QStringLiteral("cpgg")),
                  r.number(QStringLiteral("zzjg")), r.number(QStringLiteral("zznum")), r.number(QStringLiteral("zzje")),
                  r.text(QStringLiteral("rq_1")), r.number(QStringLiteral("tlnum")), r.number(QStringLiteral("kpjg")),
                  r.number(QStringLiteral("kpje"))});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(4).sum(5).sum(7).sum(9));
    t.addSummary(SummaryRow(QStringLiteral("实际销量(吨):")).derived(4, [](const ReportTotals &s) {
        return QVariant(s.sum(4) / 1000 - s.sum(7) / 1000);
    }));
    t.addSummary(SummaryRow(QStringLiteral("实际金额(元):")).derived(4, [](const ReportTotals &s) {
        return QVariant(s.sum(5) - s.sum(9));
    }));
    return doc;
}

ReportDocument returnQueryDocument(const Rows &rows, const QDate &printDate)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Landscape());
    doc.addTitle(QStringLiteral("退料查询打印："));
    doc.addHeaderLine({{QStringLiteral("打印时间："), dateText(printDate)}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("地区")),
                                   ReportColumn(QStringLiteral("客户名称"), {}, 1.5),
                                   ReportColumn(QStringLiteral("产品名称"), {}, 1.8),
                                   ReportColumn(QStringLiteral("规格"), QStringLiteral("(公斤/包)"), 0.8),
                                   ReportColumn(QStringLiteral("数量"), QStringLiteral("(公斤)")).asNumber(),
                                   ReportColumn(QStringLiteral("价格"), QStringLiteral("(元/吨)")).asNumber(),
                                   ReportColumn(QStringLiteral("金额(元)")).asNumber(),
                                   ReportColumn(QStringLiteral("退料日期"), {}, 1.1),
                                   ReportColumn(QStringLiteral("开票日期"), {}, 1.1)});
    for (const Row &r : rows)
        t.addRow({r.text(QStringLiteral("region")), r.text(QStringLiteral("khmc")), r.text(QStringLiteral("cpmc")),
                  r.text(QStringLiteral("cpgg")), r.number(QStringLiteral("tlnum")), r.number(QStringLiteral("tlprice")),
                  r.number(QStringLiteral("tlje")), r.text(QStringLiteral("tlrq")), r.text(QStringLiteral("kprq"))});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(4).sum(6));
    return doc;
}

} // namespace fm
