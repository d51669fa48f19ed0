#include "accounts/accountdocuments.h"

#include "common/dates.h"

#include <algorithm>
#include <cmath>

namespace fm {

namespace {

// Less than a gram: nothing sold.
constexpr double kNoQuantity = 1e-6;

} // namespace

QString internalNotice()
{
    return QStringLiteral("(本结算单只限本公司内部查阅，不得外传！)");
}

ReportDocument settlementListDocument(const QString &customerName, const QDate &start, const QDate &end,
                                      const std::vector<SettlementLine> &lines, const QDate &printDate)
{
    QString from = dateText(start), to = dateText(end);
    if (!lines.empty()) {
        from = std::min_element(lines.begin(), lines.end(), [](auto &a, auto &b) { return a.start < b.start; })->start;
        to = std::max_element(lines.begin(), lines.end(), [](auto &a, auto &b) { return a.end < b.end; })->end;
    }
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("客户结算名细清单："));
    doc.addHeaderLine({{QStringLiteral("客户名称："), customerName}, {QStringLiteral("结算日期："), dateText(printDate)}});
    doc.addHeaderLine({{QStringLiteral("起始日期："), from}, {QStringLiteral("截止日期："), to}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称"), {}, 2.2).asText(),
                                   ReportColumn(QStringLiteral("产品规格"), QStringLiteral("（公斤/包）")).asText(),
                                   ReportColumn(QStringLiteral("销售数量"), QStringLiteral("（公斤）"), 1.2).asNumber(),
                                   ReportColumn(QStringLiteral("票面金额"), QStringLiteral("（元）"), 1.3).asNumber(),
                                   ReportColumn(QStringLiteral("应付推广费"), QStringLiteral("（元）"), 1.3).asNumber()});
    t.setPrintCondition([](const ReportRowValues &r) { return std::abs(r.number(2)) >= kNoQuantity; });
    for (const SettlementLine &l : lines) t.addRow({l.productName, l.spec, l.quantity, l.faceAmount, l.fee});
    t.addSummary(SummaryRow(QStringLiteral("总计：")).sum(2).sum(3, QStringLiteral("（元）")).sum(4, QStringLiteral("（元）")));
    doc.addSpacing(4);
    doc.addParagraph(internalNotice(), 10.5, false, Qt::AlignHCenter);
    return doc;
}

} // namespace fm
