// Smoke checks of the exports: a PDF with the document's pages and
// extractable Chinese text, a spreadsheet file, and a clear failure when
// the file cannot be written.

#include "reports/reportexport.h"
#include "reports/reportrenderer.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace fm;

namespace {

ReportDocument regionCustomers(int rows)
{
    ReportDocument doc;
    doc.addTitle(QStringLiteral("地区客户打印："));
    doc.addHeaderLine({{QStringLiteral("地区："), QStringLiteral("城东片")}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("客户代码")),
                                   ReportColumn(QStringLiteral("客户名称"), {}, 2),
                                   ReportColumn(QStringLiteral("实际总欠款(元)")).withDecimals(2)});
    for (int i = 0; i < rows; ++i)
        t.addRow({QStringLiteral("11%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("饲料店%1").arg(i),
                  i * 100.5});
    t.addSummary(SummaryRow(QStringLiteral("总计：")).sum(2));
    return doc;
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray head(const QString &path, int n)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

} // namespace

class TestReportExport : public QObject {
    Q_OBJECT
private slots:
    void pdfHasThePagesAndChineseText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("客户.pdf"));
        const ReportRenderer renderer(regionCustomers(90));
        QString error;
        QVERIFY2(exportPdf(renderer, path, &error), qPrintable(error));
        QCOMPARE(head(path, 5), QByteArray("%PDF-"));

        if (!QFile::exists(QStringLiteral("/usr/bin/pdftotext")))
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString info = run(QStringLiteral("/usr/bin/pdfinfo"), {path});
        const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        QVERIFY2(pages.hasMatch(), qPrintable(info));
        QVERIFY(renderer.pageCount() > 1);
        QCOMPARE(pages.captured(1).toInt(), renderer.pageCount());

        // 户 and 页 share their glyphs with Kangxi radicals: the text layer
        // must still give the ideographs.
        const QString text = run(QStringLiteral("/usr/bin/pdftotext"), {path, QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("地区客户打印：")), qPrintable(text.left(200)));
        QVERIFY(QString(text).remove(u' ').contains(QStringLiteral("第2页/共"))); // extraction drops the blanks
        QVERIFY(text.contains(QStringLiteral("8944.50")));
    }

    void xlsxIsWritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("地区客户.xlsx"));
        QString error;
        QVERIFY2(exportXlsx(regionCustomers(3), path, &error), qPrintable(error));
        QCOMPARE(head(path, 2), QByteArray("PK"));
    }

    void unwritablePathFails()
    {
        const QString path = QStringLiteral("/nonexistent-folder/报表");
        QString error;
        QVERIFY(!exportPdf(regionCustomers(1), path + QStringLiteral(".pdf"), &error));
        QVERIFY2(error.contains(path), qPrintable(error));
        error.clear();
        QVERIFY(!exportXlsx(regionCustomers(1), path + QStringLiteral(".xlsx"), &error));
        QVERIFY2(error.contains(path), qPrintable(error));
    }
};

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
