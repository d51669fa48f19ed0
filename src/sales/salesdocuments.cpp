#include "sales/salesdocuments.h"

#include "common/dates.h"
#include "data/session.h"

namespace fm {

ReportDocument turnoverSlipDocument(Session &s, const QString &qymc, const QString &owner,
                                    const QString &customerCode, const QString &customerName,
                                    qint64 fundsRowId, const QDate &printDate)
{
    ReportDocument doc;
    doc.page().marginsMm.setTop(16);
    doc.addTitle(qymc + QStringLiteral("  饲料周转单"));

    auto funds = s.first(QStringLiteral("SELECT sjxl, ysje, sjje, sqje FROM {khzj} WHERE id = ?"), {fundsRowId});
    QSqlQuery lines = s.exec(QStringLiteral("SELECT zznum, cpmc, cpgg, sjbs, bszl, kpjg, kpje, zzhm FROM {khprn} "
                                            "WHERE owner = ? AND {ci:khdm} = {ci:?} ORDER BY zznum, id"),
                             {owner, customerCode});
    struct Line { QString cpmc, cpgg, sjbs, bszl, kpjg, kpje; };
    std::vector<Line> rows;
    QString number;
    while (lines.next()) {
        Line l{lines.value(1).toString().trimmed(), lines.value(2).toString().trimmed(),
               lines.value(3).toString().trimmed(), lines.value(4).toString().trimmed(),
               lines.value(5).toString().trimmed(), lines.value(6).toString().trimmed()};
        if (number.isEmpty()) number = lines.value(7).toString().trimmed();
        rows.push_back(l);
    }
    lines.finish();

    doc.addHeaderLine({{QStringLiteral("打印日期："), dateText(printDate)},
                       {QStringLiteral("客户代码："), customerCode},
                       {QStringLiteral("客户简称："), customerName},
                       {QStringLiteral("周转号码："), number}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("饲料名称"), {}, 3),
                                   ReportColumn(QStringLiteral("规格"), QStringLiteral("(公斤/包)")),
                                   ReportColumn(QStringLiteral("数量")).aligned(Qt::AlignRight | Qt::AlignVCenter),
                                   ReportColumn(QStringLiteral("单位")),
                                   ReportColumn(QStringLiteral("单价"), QStringLiteral("(元/包)")).aligned(Qt::AlignRight | Qt::AlignVCenter),
                                   ReportColumn(QStringLiteral("金额"), QStringLiteral("(元)"), 1.5).aligned(Qt::AlignRight | Qt::AlignVCenter)});
    t.setRunningNumber(true);
    t.setFixedRowCount(8);
    for (const Line &l : rows) {
        // An unused or deleted line stays blank in its place.
        if (l.cpmc.isEmpty() && l.kpje.isEmpty()) t.addBlankRow();
        else t.addRow({l.cpmc, l.cpgg, l.sjbs, l.bszl, l.kpjg, l.kpje});
    }
    doc.addSpacing(4);
    const auto v = [&](int i) { return funds ? funds->value(i) : QVariant(0.0); };
    doc.addFieldLine({{QStringLiteral("重量(公斤)："), v(0)}, {QStringLiteral("总金额："), v(1), QStringLiteral("(元)")}});
    doc.addFieldLine({{QStringLiteral("实收金额："), v(2), QStringLiteral("(元)")},
                      {QStringLiteral("实际欠款："), v(3), QStringLiteral("(元)")}});
    doc.addSpacing(10);
    doc.addFieldLine({{QStringLiteral("开票人：")}, {QStringLiteral("客户签字：")}});
    return doc;
}

ReportDocument returnListDocument(const QString &qymc, const std::vector<ReturnListRow> &rows, const QDate &printDate)
{
    ReportDocument doc;
    doc.addTitle(qymc + QStringLiteral("客户退料单"));
    const ReturnListRow first = rows.empty() ? ReturnListRow() : rows.front();
    doc.addHeaderLine({{QStringLiteral("退料时间："), dateText(printDate)},
                       {QStringLiteral("客户名称："), first.khmc},
                       {QStringLiteral("地区："), first.region}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称"), {}, 2.5),
                                   ReportColumn(QStringLiteral("产品规格(公斤/包)")),
                                   ReportColumn(QStringLiteral("退料数量(公斤)")).asNumber(),
                                   ReportColumn(QStringLiteral("退料价格(元/吨)")).asNumber(),
                                   ReportColumn(QStringLiteral("金额(元)")).asNumber()});
    for (const ReturnListRow &r : rows) t.addRow({r.cpmc, r.cpgg, r.tlnum, r.kpjg, r.kpje});
    t.addSummary(SummaryRow(QStringLiteral("总计：")).sum(2).sum(4));
    return doc;
}

ReportDocument repaymentReceiptDocument(Session &s, qint64 fundsRowId, const QDate &printDate)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    auto r = s.first(QStringLiteral("SELECT region, khmc, sjje, sjdx FROM {khzj} WHERE id = ?"), {fundsRowId});
    doc.addTitle(QStringLiteral("客户还款单：") + QStringLiteral("  ") + dateText(printDate));
    doc.addSpacing(6);
    const QString who = r ? r->value(0).toString().trimmed() + QStringLiteral("  ") + r->value(1).toString().trimmed() : QString();
    doc.addFieldLine({{QStringLiteral("客户名称："), who}}, 12);
    doc.addSpacing(3);
    doc.addFieldLine({{QStringLiteral("实际还款:"), r ? r->value(2) : QVariant(), QStringLiteral("(元)")}}, 12);
    doc.addSpacing(3);
    doc.addFieldLine({{QStringLiteral("人 民 币："), r ? r->value(3).toString().trimmed() : QString()}}, 12);
    doc.addSpacing(12);
    doc.addFieldLine({{QString()}, {QStringLiteral("收款人：")}}, 12);
    return doc;
}

} // namespace fm
