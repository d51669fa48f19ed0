// Pagination and painting: heads on every page, page numbers with the total,
// no row lost or doubled at a page break, nothing drawn into the footer, and
// the pinned Chinese font.

#include "reports/reportrenderer.h"

#include <QFontInfo>
#include <QFontDatabase>
#include <QTest>

using namespace fm;

namespace {

const QStringList captions{"序号", "产品名称", "产品规格", "（公斤/包）", "销售数量", "（公斤）"};

ReportDocument longList(int rows, const PageSetup &page = PageSetup::a4Portrait())
{
    ReportDocument doc;
    doc.setPage(page);
    doc.addTitle(QStringLiteral("客户结算名细清单："));
    doc.addHeaderLine({{QStringLiteral("客户名称："), QStringLiteral("永丰饲料经销部")},
                       {QStringLiteral("结算日期："), QStringLiteral("2024-05-20")}});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("产品名称"), {}, 3),
                                   ReportColumn(QStringLiteral("产品规格"), QStringLiteral("（公斤/包）")),
                                   ReportColumn(QStringLiteral("销售数量"), QStringLiteral("（公斤）"))});
    t.setRunningNumber(true);
    for (int i = 0; i < rows; ++i)
        t.addRow({QStringLiteral("猪浓缩料%1").arg(i + 1), 25.5, 1000 + i});
    t.addSummary(SummaryRow(QStringLiteral("总计：")).sum(2));
    doc.addFieldLine({{QStringLiteral("单位盖章：")}, {QStringLiteral("客户签字：")}});
    doc.addPageFooter(QStringLiteral("(本结算单只限本公司内部查阅，不得外传！)"));
    return doc;
}

double footerTop(const ReportPage &page)
{
    for (const PageItem &i : page.items)
        if (i.kind == PageItem::Kind::Text && i.text.startsWith(QStringLiteral("(本结算单")))
            return i.rect.top();
    return -1;
}

} // namespace

class TestReportRenderer : public QObject {
    Q_OBJECT
private slots:
    void longTableBreaksIntoPages()
    {
        const ReportRenderer r(longList(120));
        const int pages = r.pageCount();
        QVERIFY2(pages > 1, qPrintable(QString::number(pages)));

        QMap<QString, int> numbers; // running number -> times printed
        for (int p = 0; p < pages; ++p) {
            const QStringList texts = r.page(p).texts();
            QVERIFY(texts.contains(QStringLiteral("客户结算名细清单：")));
            QVERIFY(texts.contains(QStringLiteral("客户名称：永丰饲料经销部")));
            for (const QString &c : captions)
                QVERIFY2(texts.contains(c), qPrintable(QStringLiteral("page %1 lacks %2").arg(p + 1).arg(c)));
            QCOMPARE(texts.count(pageNumberText(p + 1, pages)), 1);
            QCOMPARE(texts.contains(QStringLiteral("总计：")), p == pages - 1);
            QCOMPARE(texts.contains(QStringLiteral("客户签字：")), p == pages - 1);

            // Nothing runs into the footer or off the paper.
            const double limit = footerTop(r.page(p));
            QVERIFY(limit > 0);
            for (const PageItem &i : r.page(p).items) {
                if (i.kind == PageItem::Kind::Text && i.rect.top() >= limit)
                    continue;
                const double bottom = i.kind == PageItem::Kind::Line ? std::max(i.line.y1(), i.line.y2())
                                                                     : i.rect.bottom();
                QVERIFY2(bottom <= limit, qPrintable(i.text));
            }
            for (const QString &t : texts)
                if (t.toInt() > 0 && t == QString::number(t.toInt()))
                    ++numbers[t];
        }
        // Every running number once (the quantities 1000.. do not collide: >120).
        for (int n = 1; n <= 120; ++n)
            QCOMPARE(numbers.value(QString::number(n)), 1);
        QCOMPARE(r.page(0).texts().first(), QStringLiteral("客户结算名细清单："));
    }

    void headerOnFirstPageOnlyWhenAsked()
    {
        ReportDocument doc = longList(120);
        doc.setRepeatHeader(false);
        const ReportRenderer r(doc);
        QVERIFY(r.pageCount() > 1);
        QVERIFY(r.page(0).texts().contains(QStringLiteral("客户结算名细清单：")));
        QVERIFY(!r.page(1).texts().contains(QStringLiteral("客户结算名细清单：")));
        QVERIFY(r.page(1).texts().contains(QStringLiteral("产品名称"))); // column heads still repeat
    }

    // Rows per page follow from the paper: landscape A4 holds fewer.
    void pageSizeDecidesRowsPerPage()
    {
        const int portrait = ReportRenderer(longList(200)).pageCount();
        const int landscape = ReportRenderer(longList(200, PageSetup::a4Landscape())).pageCount();
        QVERIFY2(landscape > portrait, qPrintable(QStringLiteral("%1 vs %2").arg(landscape).arg(portrait)));

        const ReportRenderer small(longList(3, PageSetup::custom(241, 140)));
        QCOMPARE(small.paperSize().width(), ReportRenderer::mm(241));
        QCOMPARE(small.pageCount(), 1);
    }

    void fixedRowsOnThePage()
    {
        ReportDocument doc;
        doc.setPageNumbers(false);
        ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("饲料名称")), ReportColumn(QStringLiteral("金额"))});
        t.setFixedRowCount(8);
        for (int i = 0; i < 3; ++i)
            t.addRow({QStringLiteral("料%1").arg(i), 100 * (i + 1)});
        const ReportRenderer r(doc);
        QCOMPARE(r.pageCount(), 1);
        // 3 filled lines and 5 blank ones: the head plus 8 lines make 9
        // horizontal bands, so 8 inner rules across the full table width.
        double left = 1e9, right = 0;
        for (const PageItem &i : r.page(0).items)
            if (i.kind == PageItem::Kind::Line) {
                left = std::min(left, std::min(i.line.x1(), i.line.x2()));
                right = std::max(right, std::max(i.line.x1(), i.line.x2()));
            }
        int across = 0;
        for (const PageItem &i : r.page(0).items)
            if (i.kind == PageItem::Kind::Line && i.line.y1() == i.line.y2() && i.line.x1() == left
                && i.line.x2() == right)
                ++across;
        QCOMPARE(across, 8 + 2); // inner rules plus the frame's top and bottom
        QCOMPARE(r.page(0).texts(), QStringList({"饲料名称", "金额", "料0", "100", "料1", "200", "料2", "300"}));
    }

    void fontIsPinnedToSimplifiedChinese()
    {
        const QFont f = ReportRenderer::font(10.5, true);
        QCOMPARE(f.families().value(0), QStringLiteral("Noto Sans CJK SC"));
        if (!QFontDatabase::families().contains(QStringLiteral("Noto Sans CJK SC")))
            QSKIP("Noto Sans CJK SC is not installed");
        QCOMPARE(QFontInfo(f).family(), QStringLiteral("Noto Sans CJK SC"));
    }

    // Painting reaches the paper, and numbers sit right, text left.
    void paintsOntoAnImage()
    {
        const ReportRenderer r(longList(5));
        const QImage image = r.pageImage(0, 72);
        QCOMPARE(image.width(), 595);
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        QVERIFY(dark > 1000);

        Qt::Alignment number, text;
        for (const PageItem &i : r.page(0).items) {
            if (i.text == QStringLiteral("1000"))
                number = i.alignment;
            if (i.text == QStringLiteral("猪浓缩料1"))
                text = i.alignment;
        }
        QVERIFY(number & Qt::AlignRight);
        QVERIFY(text & Qt::AlignLeft);
    }
};

QTEST_MAIN(TestReportRenderer)
#include "tst_reportrenderer.moc"
