#include "accounts/accountdocuments.h"

#include "common/dates.h"
#include "common/money.h"

#include <algorithm>
#include <cmath>

namespace fm {

namespace {

// Less than a gram: nothing sold.
constexpr double kNoQuantity = 1e-6;

// Amounts print as stored, to the fourth decimal a money column holds, so
// that what a subtraction of two long sums leaves in the last binary digits
// (429.760000000002) does not reach the paper.
double shown(double amount)
{
    return money::stored(amount);
}

// The sum of a column, shown the same way.
SummaryRow &sumShown(SummaryRow &row, int column, const QString &suffix = QString())
{
    return row.derived(column, [column](const ReportTotals &t) { return QVariant(shown(t.sum(column))); }, suffix);
}

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
    for (const SettlementLine &l : lines)
        t.addRow({l.productName, l.spec, shown(l.quantity), shown(l.faceAmount), shown(l.fee)});
    SummaryRow total(QStringLiteral("总计："));
    sumShown(total, 2);
    sumShown(total, 3, QStringLiteral("（元）"));
    sumShown(total, 4, QStringLiteral("（元）"));
    t.addSummary(total);
    doc.addSpacing(4);
    doc.addParagraph(internalNotice(), 10.5, false, Qt::AlignHCenter);
    return doc;
}

ReportDocument statementOfAccountDocument(const QString &customerName, const QDate &start, const QDate &end,
                                          const Statement &statement, const ArrearsAging &aging)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("客户对帐明细单："));
    doc.setRepeatHeader(false);
    doc.addParagraph(QStringLiteral("尊敬的") + customerName + QStringLiteral("客户：您好！"), 11);
    doc.addParagraph(QStringLiteral("从起始日") + dateText(start) + QStringLiteral("到截止日") + dateText(end)
                         + QStringLiteral("止，您在我公司赊欠及还款情况如下："),
                     11);
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("日   期：")).asText(),
                                   ReportColumn(QStringLiteral("赊欠金额(元)：")).asNumber(),
                                   ReportColumn(QStringLiteral("还款金额(元)：")).asNumber()});
    t.setPrintCondition([](const ReportRowValues &r) {
        return std::abs(r.number(1)) >= kNoQuantity || std::abs(r.number(2)) >= kNoQuantity;
    });
    for (const FundRow &f : statement.rows) t.addRow({f.date, shown(f.receivable), shown(f.received)});
    doc.addSpacing(3);
    doc.addFieldLine({{QStringLiteral("赊欠总计(元)："), shown(statement.receivable)},
                      {QStringLiteral("还款总计:"), shown(statement.received)}});
    doc.addFieldLine({{QStringLiteral("总欠款(元)："), shown(statement.owed())}});
    doc.addFieldLine({{QStringLiteral("本期累计推广费："), shown(statement.fee), QStringLiteral("(元)")},
                      {QStringLiteral("本期实际欠款："), shown(statement.actual()), QStringLiteral("(元)")}});
    doc.addSpacing(8);
    doc.addFieldLine({{QStringLiteral("单位盖章：")}, {QStringLiteral("客户签字：")}});
    doc.addSpacing(4);
    doc.addParagraph(QStringLiteral("注："));
    doc.addParagraph(QStringLiteral("1.总欠款=赊欠总计-还款总计 ;"));
    doc.addParagraph(QStringLiteral("2.本期实际欠款=总欠款-本期累计推广费"));

    doc.addSpacing(6);
    doc.addParagraph(QStringLiteral("欠款账龄（按月结记录，截至%1结算月）：").arg(aging.monthKey));
    ReportTable &a = doc.addTable({ReportColumn(QStringLiteral("当期")).withDecimals(2, true),
                                   ReportColumn(QStringLiteral("1-3个月")).withDecimals(2, true),
                                   ReportColumn(QStringLiteral("3-6个月")).withDecimals(2, true),
                                   ReportColumn(QStringLiteral("6个月以上")).withDecimals(2, true),
                                   ReportColumn(QStringLiteral("合计")).withDecimals(2, true)});
    a.addRow({aging.current, aging.upTo3, aging.upTo6, aging.older, aging.total});
    return doc;
}

ReportDocument arrearsStatementDocument(const QString &qymc, const QString &customerName, double actualArrears,
                                        const QDate &printDate)
{
    const QString day = QStringLiteral("%1年%2月18日").arg(printDate.year()).arg(printDate.month(), 2, 10, QLatin1Char('0'));
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.setPageNumbers(false);
    doc.addTitle(QStringLiteral("客户对账单："));
    doc.addSpacing(4);
    doc.addParagraph(QStringLiteral("尊敬的") + customerName + QStringLiteral("客户：您好！"), 12);
    doc.addParagraph(QStringLiteral("至") + day + QStringLiteral("止，您在") + qymc, 12);
    doc.addParagraph(QStringLiteral("欠款如下:(如有纠纷由") + qymc + QStringLiteral("住所地"), 12);
    doc.addParagraph(QStringLiteral("法院裁定)"), 12);
    doc.addSpacing(4);
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("项目")).asText(),
                                   ReportColumn(QStringLiteral("金额（单位：元）")).withDecimals(2, true)});
    t.addRow({QStringLiteral("实际欠款累计："), actualArrears});
    doc.addSpacing(12);
    doc.addFieldLine({{QStringLiteral("单位盖章：")}, {QStringLiteral("客户签字：")}}, 12);
    return doc;
}

ReportDocument arrearsSummaryDocument(const std::vector<ArrearsLine> &lines, const QDate &printDate)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("客户欠款汇总："));
    doc.addHeaderLine({{QStringLiteral("打印日期："), dateText(printDate)}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("地区：")).asText(),
                                   ReportColumn(QStringLiteral("客户代码：")).asText(),
                                   ReportColumn(QStringLiteral("客户名称："), {}, 1.3).asText(),
                                   ReportColumn(QStringLiteral("当月推广费(元):")).asNumber(),
                                   ReportColumn(QStringLiteral("实际总欠款(元):")).asNumber(),
                                   ReportColumn::hidden(QStringLiteral("sjzq"))});
    t.setPrintCondition([](const ReportRowValues &r) {
        return std::abs(r.number(4)) >= kNoQuantity || std::abs(r.number(QStringLiteral("sjzq"))) >= kNoQuantity;
    });
    for (const ArrearsLine &l : lines)
        t.addRow({l.region, l.code, l.name, shown(l.fee), shown(l.arrears), shown(l.arrearsBeforeFee)});
    SummaryRow total(QStringLiteral("总计："));
    sumShown(total, 3);
    sumShown(total, 4);
    t.addSummary(total);
    doc.addSpacing(4);
    doc.addParagraph(internalNotice(), 10.5, false, Qt::AlignHCenter);
    return doc;
}

ReportDocument priceHistoryDocument(const std::vector<PriceHistoryLine> &lines)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("客户历史价格打印："));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("客户名称"), {}, 1.4).asText(),
                                   ReportColumn(QStringLiteral("产品名称"), {}, 1.6).asText(),
                                   ReportColumn(QStringLiteral("规格"), {}, 0.6).asText(),
                                   ReportColumn(QStringLiteral("实际销量")).asNumber(),
                                   ReportColumn(QStringLiteral("退料数量")).asNumber(),
                                   ReportColumn(QStringLiteral("开票价格")).asNumber(),
                                   ReportColumn(QStringLiteral("退料价格")).asNumber(),
                                   ReportColumn(QStringLiteral("政策价格")).asNumber(),
                                   ReportColumn(QStringLiteral("日期"), {}, 1.3).asText()});
    t.setRunningNumber(true);
    t.setPointSize(9);
    for (const PriceHistoryLine &l : lines)
        t.addRow({l.customer, l.product, l.spec, l.sold, l.returned, l.price, l.returnPrice, l.policyPrice, l.date});
    doc.addSpacing(4);
    doc.addParagraph(internalNotice(), 10.5, false, Qt::AlignHCenter);
    return doc;
}

} // namespace fm
