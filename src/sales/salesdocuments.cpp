#include "sales/salesdocuments.h"

#include "common/dates.h"
#include "data/session.h"

namespace fm {

ReportDocument turnoverSlipDocument(Session &s, const QString &qymc, const SlipPrint &slip, const QDate &printDate)
{
    ReportDocument doc;
    doc.page().marginsMm.setTop(16);
    doc.addTitle(qymc + QStringLiteral("  饲料周转单"));

    const auto funds = s.row(QStringLiteral("SELECT sjxl, ysje, sjje, sqje FROM {khzj} WHERE id = ?"), {slip.fundsRowId});
    const Rows lines = s.rows(QStringLiteral("SELECT cpmc, cpgg, sjbs, bszl, kpjg, kpje FROM {khprn} "
                                             "WHERE owner = ? AND czydm = ? AND {ci:khdm} = {ci:?} ORDER BY zznum, id"),
                              {slip.workstation, slip.operatorCode, slip.customerCode});

    doc.addHeaderLine({{QStringLiteral("打印日期："), dateText(printDate)},
                       {QStringLiteral("客户代码："), slip.customerCode},
                       {QStringLiteral("客户简称："), slip.customerName},
                       {QStringLiteral("周转号码："), slip.number}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("饲料名称"), {}, 3),
                                   ReportColumn(QStringLiteral("规格"), QStringLiteral("(公斤/包)")),
                                   ReportColumn(QStringLiteral("数量")).aligned(Qt::AlignRight | Qt::AlignVCenter),
                                   ReportColumn(QStringLiteral("单位")),
                                   ReportColumn(QStringLiteral("单价"), QStringLiteral("(元/包)")).aligned(Qt::AlignRight | Qt::AlignVCenter),
                                   ReportColumn(QStringLiteral("金额"), QStringLiteral("(元)"), 1.5).aligned(Qt::AlignRight | Qt::AlignVCenter)});
    t.setRunningNumber(true);
    t.setFixedRowCount(8);
    for (const Row &l : lines) {
        const auto v = [&](const char *c) { return l.text(QString::fromLatin1(c)); };
        // An unused or deleted line stays blank in its place.
        if (v("cpmc").isEmpty() && v("kpje").isEmpty()) t.addBlankRow();
        else t.addRow({v("cpmc"), v("cpgg"), v("sjbs"), v("bszl"), v("kpjg"), v("kpje")});
    }
    doc.addSpacing(4);
    const auto f = [&](const char *c) { return funds ? funds->value(QString::fromLatin1(c)) : QVariant(0.0); };
    doc.addFieldLine({{QStringLiteral("重量(公斤)："), f("sjxl")}, {QStringLiteral("总金额："), f("ysje"), QStringLiteral("(元)")}});
    doc.addFieldLine({{QStringLiteral("实收金额："), f("sjje"), QStringLiteral("(元)")},
                      {QStringLiteral("实际欠款："), f("sqje"), QStringLiteral("(元)")}});
    doc.addSpacing(10);
    doc.addFieldLine({{QStringLiteral("开票人：")}, {QStringLiteral("客户签字：")}});
    return doc;
}

ReportDocument returnListDocument(const QString &qymc, const Rows &rows, const QDate &printDate)
{
    ReportDocument doc;
    doc.addTitle(qymc + QStringLiteral("客户退料单"));
    const auto first = [&](const char *c) { return rows.empty() ? QString() : rows.front().text(QString::fromLatin1(c)); };
    doc.addHeaderLine({{QStringLiteral("退料时间："), dateText(printDate)},
                       {QStringLiteral("客户名称："), first("khmc")},
                       {QStringLiteral("地区："), first("region")}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称"), {}, 2.5),
                                   ReportColumn(QStringLiteral("产品规格(公斤/包)")),
                                   ReportColumn(QStringLiteral("退料数量(公斤)")).asNumber(),
                                   ReportColumn(QStringLiteral("退料价格(元/吨)")).asNumber(),
                                   ReportColumn(QStringLiteral("金额(元)")).asNumber()});
    for (const Row &r : rows)
        t.addRow({r.text(QStringLiteral("cpmc")), r.text(QStringLiteral("cpgg")), r.number(QStringLiteral("tlnum")),
                  r.number(QStringLiteral("kpjg")), r.number(QStringLiteral("kpje"))});
    t.addSummary(SummaryRow(QStringLiteral("总计：")).sum(2).sum(4));
    return doc;
}

ReportDocument repaymentReceiptDocument(Session &s, qint64 fundsRowId, const QDate &printDate)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    const auto r = s.row(QStringLiteral("SELECT region, khmc, sjje, sjdx FROM {khzj} WHERE id = ?"), {fundsRowId});
    doc.addTitle(QStringLiteral("客户还款单：") + QStringLiteral("  ") + dateText(printDate));
    doc.addSpacing(6);
    const QString who = r ? r->text(QStringLiteral("region")) + QStringLiteral("  ") + r->text(QStringLiteral("khmc")) : QString();
    doc.addFieldLine({{QStringLiteral("客户名称："), who}}, 12);
    doc.addSpacing(3);
    doc.addFieldLine({{QStringLiteral("实际还款:"), r ? r->value(QStringLiteral("sjje")) : QVariant(), QStringLiteral("(元)")}}, 12);
    doc.addSpacing(3);
    doc.addFieldLine({{QStringLiteral("人 民 币："), r ? r->text(QStringLiteral("sjdx")) : QString()}}, 12);
    doc.addSpacing(12);
    doc.addFieldLine({{QString()}, {QStringLiteral("收款人：")}}, 12);
    return doc;
}

} // namespace fm
