// The computed document: texts, print conditions, totals, running numbers,
// fixed lines and summary values, compared with golden files where a whole
// document is at stake.

#include "reports/computedreport.h"
#include "reports/reportdocument.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace fm;

namespace {

// "地区客户打印：" of the customer register: active customers of one region;
// a closed customer (khbz "x"/"X") is in the data but not printed.
ReportDocument customerList()
{
    ReportDocument doc;
    doc.addTitle(QStringLiteral("地区客户打印："));
    doc.addHeaderLine({{QStringLiteral("地区："), QStringLiteral("城东片")},
                       {QStringLiteral("打印日期："), QDate(2024, 5, 18)}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("客户代码")),
                                   ReportColumn(QStringLiteral("客户名称"), {}, 2),
                                   ReportColumn(QStringLiteral("地区")),
                                   ReportColumn::hidden(QStringLiteral("khbz"))});
    t.setPrintCondition([](const ReportRowValues &r) {
        return r.text("khbz").compare(QStringLiteral("x"), Qt::CaseInsensitive) != 0;
    });
    t.addRow({QStringLiteral("1101"), QStringLiteral("永丰饲料经销部"), QStringLiteral("城东片"), QString()});
    t.addRow({QStringLiteral("1102"), QStringLiteral("李家养殖场"), QStringLiteral("城东片"), QStringLiteral("X")});
    t.addRow({QStringLiteral("1103"), QStringLiteral("东风饲料店"), QStringLiteral("城东片"), QStringLiteral(" ")});
    return doc;
}

QString golden(const QString &name)
{
    // ctest points FM_SOURCE_DIR at the source tree.
    QFile f(QDir(qEnvironmentVariable("FM_SOURCE_DIR")).filePath(QStringLiteral("tests/reports/golden/") + name));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing golden file %1>").arg(f.fileName());
    return QString::fromUtf8(f.readAll());
}

const ComputedTable &firstTable(const ComputedReport &r)
{
    for (const ComputedBlock &b : r.body)
        if (b.kind == ComputedBlock::Kind::Table)
            return b.table;
    static const ComputedTable none;
    return none;
}

QStringList texts(const ComputedRow &row)
{
    QStringList out;
    for (const ComputedCell &c : row.cells)
        out << c.text;
    return out;
}

} // namespace

class TestReportDocument : public QObject {
    Q_OBJECT
private slots:
    void customerListMatchesGolden()
    {
        const QString actual = customerList().toText();
        const QString expected = golden(QStringLiteral("customer_list.txt"));
        if (actual != expected)
            qWarning().noquote() << "actual document:\n" << actual;
        QCOMPARE(actual, expected);
    }

    void valueFormatting_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("grouping");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        const int autoKind = int(ValueKind::Auto), number = int(ValueKind::Number), date = int(ValueKind::Date);
        QTest::newRow("double sum noise hidden") << QVariant(0.1 + 0.2) << autoKind << -1 << false << "0.3" << true;
        QTest::newRow("full precision as stored") << QVariant(2836.123456789) << autoKind << -1 << false
                                                  << "2836.123456789" << true;
        QTest::newRow("negative zero") << QVariant(-0.0) << autoKind << -1 << false << "0" << true;
        QTest::newRow("fixed decimals") << QVariant(2.5) << autoKind << 2 << false << "2.50" << true;
        QTest::newRow("fixed rounds to zero without sign") << QVariant(-0.001) << autoKind << 2 << false << "0.00"
                                                           << true;
        QTest::newRow("currency grouping") << QVariant(1234567.891) << number << 2 << true << "1,234,567.89" << true;
        QTest::newRow("large integer exact") << QVariant(qlonglong(123456789012345678)) << autoKind << -1 << false
                                             << "123456789012345678" << true;
        QTest::newRow("numeric text in number column") << QVariant(QStringLiteral(" 12.5 ")) << number << -1
                                                       << false << "12.5" << true;
        QTest::newRow("other text in number column") << QVariant(QStringLiteral("abc")) << number << -1 << false
                                                     << "abc" << false;
        QTest::newRow("code stays text") << QVariant(QStringLiteral("0101")) << autoKind << -1 << false << "0101"
                                         << false;
        QTest::newRow("date") << QVariant(QDate(2024, 5, 8)) << autoKind << -1 << false << "2024-05-08" << false;
        QTest::newRow("stored date-time text as date") << QVariant(QStringLiteral("2024-05-08T00:00:00")) << date
                                                       << -1 << false << "2024-05-08" << false;
        QTest::newRow("empty") << QVariant() << number << 2 << false << "" << false;
    }

    void valueFormatting()
    {
        QFETCH(QVariant, value);
        QFETCH(int, kind);
        QFETCH(int, decimals);
        QFETCH(bool, grouping);
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        const FormattedValue f = formatReportValue(value, ValueKind(kind), NumberFormat{decimals, grouping});
        QCOMPARE(f.text, text);
        QCOMPARE(f.number.has_value(), isNumber);
    }

    // Rows held back by the condition count in the totals by default, and
    // not when the table says so; running numbers count printed rows only.
    void totalsOverAllOrPrintedRows()
    {
        for (const bool printedOnly : {false, true}) {
            ReportDocument doc;
            ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称")),
                                           ReportColumn(QStringLiteral("销售数量"), QStringLiteral("（公斤）")),
                                           ReportColumn(QStringLiteral("票面金额"), QStringLiteral("（元）"))});
            t.setRunningNumber(true);
            t.setPrintCondition([](const ReportRowValues &r) { return r.number(1) != 0; });
            if (printedOnly)
                t.setTotalsOver(ReportTable::TotalsOver::PrintedRows);
            t.addRow({QStringLiteral("551"), 1000.0, 2836.5});
            t.addRow({QStringLiteral("552"), 0.0, 120.25}); // a correction left an amount
            t.addRow({QStringLiteral("553"), 500, 1400});
            t.addSummary(SummaryRow(QStringLiteral("总计：")).sum(1).sum(2, QStringLiteral("（元）")));

            const ComputedTable table = firstTable(doc.compute());
            QCOMPARE(table.rows.size(), 2);
            QCOMPARE(texts(table.rows.at(1)), QStringList({"2", "553", "500", "1400"}));
            QCOMPARE(table.suppressed.size(), 1);
            QCOMPARE(texts(table.suppressed.first()), QStringList({"552", "0", "120.25"}));
            QCOMPARE(texts(table.summary.first()),
                     QStringList({"总计：", "1500", printedOnly ? "4236.5（元）" : "4356.75（元）"}));
            QCOMPARE(table.summary.first().cells.first().span, 2); // over 序号 and 产品名称
        }
    }

    // The statement of account detail: sums, a value of the last row (also of
    // a row not printed) and values derived from them.
    void statementDerivedValues()
    {
        ReportDocument doc;
        ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("日   期：")).asDate(),
                                       ReportColumn(QStringLiteral("赊欠金额(元)：")),
                                       ReportColumn(QStringLiteral("还款金额(元)：")),
                                       ReportColumn::hidden(QStringLiteral("zzje"))});
        t.setPrintCondition([](const ReportRowValues &r) { return r.number(1) != 0 || r.number(2) != 0; });
        t.addRow({QStringLiteral("2024-04-20"), 5000, 0, 100});
        t.addRow({QStringLiteral("2024-05-03"), 7000, 9000, 250});
        t.addRow({QStringLiteral("2024-05-10"), 0, 0, 300});
        const auto owed = [](const ReportTotals &s) { return s.sum(1) - s.sum(2); };
        t.addSummary(SummaryRow(QStringLiteral("总欠款(元)：")).derived(1, owed));
        t.addSummary(SummaryRow(QStringLiteral("本期累计推广费："))
                         .derived(1, [](const ReportTotals &s) { return s.last("zzje"); }, QStringLiteral("(元)")));
        t.addSummary(SummaryRow(QStringLiteral("本期实际欠款："))
                         .derived(
                             1, [](const ReportTotals &s) { return s.sum(1) - s.sum(2) - s.last("zzje").toDouble(); },
                             QStringLiteral("(元)")));

        const ComputedTable table = firstTable(doc.compute());
        QCOMPARE(table.rows.size(), 2);
        QCOMPARE(table.columns.size(), 3); // the hidden column does not print
        QCOMPARE(texts(table.summary.at(0)), QStringList({"总欠款(元)：", "3000", ""}));
        QCOMPARE(texts(table.summary.at(1)), QStringList({"本期累计推广费：", "300(元)", ""}));
        QCOMPARE(texts(table.summary.at(2)), QStringList({"本期实际欠款：", "2700(元)", ""}));
    }

    // A slip always shows eight lines; a deleted line stays blank in its place.
    void fixedRowsPadWithBlankLines()
    {
        ReportDocument doc;
        ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("饲料名称")), ReportColumn(QStringLiteral("规格")),
                                       ReportColumn(QStringLiteral("数量")), ReportColumn(QStringLiteral("金额"))});
        t.setFixedRowCount(8);
        t.addRow({QStringLiteral("551猪浓缩料"), 40, 20, 2570});
        t.addBlankRow();
        t.addRow({QStringLiteral("552乳猪料"), 20, 10, 963});
        t.addRow({QStringLiteral("553育肥料"), 40, 5, 600});

        const ComputedTable table = firstTable(doc.compute());
        QCOMPARE(table.rows.size(), 8);
        QStringList kinds;
        for (const ComputedRow &r : table.rows)
            kinds << (r.kind == ComputedRow::Kind::Blank ? "blank" : r.cells.first().text);
        QCOMPARE(kinds, QStringList({"551猪浓缩料", "blank", "552乳猪料", "553育肥料", "blank", "blank", "blank",
                                     "blank"}));

        // More filled lines than the fixed count all print.
        for (int i = 0; i < 6; ++i)
            t.addRow({QStringLiteral("554"), 40, 1, 100});
        QCOMPARE(firstTable(doc.compute()).rows.size(), 10);
    }

    // A document with no rows still prints its heads and zero totals; a
    // summary whose first value is in the first column keeps its label.
    void emptyDataAndLabelPlacement()
    {
        ReportDocument doc;
        ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("客户名称")),
                                       ReportColumn(QStringLiteral("当月推广费(元)")),
                                       ReportColumn(QStringLiteral("实际总欠款(元)"))});
        t.addSummary(SummaryRow(QStringLiteral("总计：")).sum(1).sum(2));
        t.addSummary(SummaryRow(QStringLiteral("客户数：")).value(0, 0));
        t.addSummary(SummaryRow(QStringLiteral("(以上金额单位：元)")));
        const ComputedTable table = firstTable(doc.compute());
        QVERIFY(table.rows.isEmpty());
        QCOMPARE(texts(table.summary.at(0)), QStringList({"总计：", "0", "0"}));
        QCOMPARE(texts(table.summary.at(1)), QStringList({"客户数：0", "", ""}));
        QCOMPARE(table.summary.at(2).cells.size(), 1);
        QCOMPARE(table.summary.at(2).cells.first().span, 3);
    }
};

QTEST_MAIN(TestReportDocument)
#include "tst_reportdocument.moc"
