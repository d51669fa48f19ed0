// The preview window shows the renderer's pages, and direct printing on a
// machine without a printer reports it instead of hanging or crashing.

#include "reports/windows/reportpreview.h"

#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace fm;

namespace {

ReportDocument twoPages()
{
    ReportDocument doc;
    doc.addTitle(QStringLiteral("客户欠款汇总："));
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("地区")), ReportColumn(QStringLiteral("客户名称"), {}, 2),
                                   ReportColumn(QStringLiteral("实际总欠款(元)"))});
    for (int i = 0; i < 45; ++i)
        t.addRow({QStringLiteral("城东片"), QStringLiteral("饲料店%1").arg(i), 1000 + i});
    return doc;
}

} // namespace

class TestReportPreview : public QObject {
    Q_OBJECT
private slots:
    void showsThePages()
    {
        ReportPreview preview(twoPages());
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        preview.previewWidget()->updatePreview();
        QVERIFY(preview.renderer().pageCount() >= 2);
        QCOMPARE(preview.previewWidget()->pageCount(), preview.renderer().pageCount());

        QMap<QString, QAction *> actions;
        for (QAction *a : preview.findChild<QToolBar *>()->actions())
            if (!a->text().isEmpty())
                actions.insert(a->text(), a);
        for (const char *a : {"打印", "导出PDF", "导出Excel", "关闭"})
            QVERIFY2(actions.contains(a), qPrintable(actions.keys().join(u',')));

        const int pages = preview.renderer().pageCount();
        QLabel *label = preview.findChild<QLabel *>();
        QCOMPARE(label->text(), pageNumberText(1, pages));
        actions.value(QStringLiteral("下一页"))->trigger();
        QCOMPARE(preview.currentPage(), 2);
        QCOMPARE(label->text(), pageNumberText(2, pages));
        QVERIFY(!preview.grab().isNull());

        const QString shots = qEnvironmentVariable("FM_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            preview.grab().save(shots + QStringLiteral("/report-preview.png"));
    }

    void directPrintWithoutPrinter()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed here");
        QStringList told;
        ReportPreview::setMessageHandler([&told](QWidget *, const QString &text) { told << text; });
        QCOMPARE(ReportPreview::printDirect(nullptr, twoPages(), false), ReportPreview::PrintResult::NoPrinter);
        QCOMPARE(told, QStringList{QStringLiteral("没有可用的打印机！")});
        ReportPreview::setMessageHandler({});
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
