// The cost price windows on the sample mill: "成本价格修正" from category to
// corrected prices, "成本价格修改--历史数据" with its range, sorting, the
// clicked product's new cost and the clearing, and the price filter; their
// messages, enabled state, documents and a look at each.

#include "pricing/windows/tcpcbxz.h"
#include "pricing/windows/tkhjg_gl.h"
#include "pricing/windows/txg_lscb.h"
#include "reports/reportdocument.h"
#include "reports/reportexport.h"
#include "sales/saleline.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestCostPriceWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    QStringList m_previewed;

    QVariant value(const char *sql) { return m_app.session().scalar(QString::fromUtf8(sql)); }
    static void choose(QComboBox *combo, const QString &text)
    {
        const int i = combo->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    static void clickRow(Grid *grid, int row)
    {
        const QRect r = grid->view()->visualRect(grid->view()->model()->index(row, 0));
        QTest::mouseClick(grid->view()->viewport(), Qt::LeftButton, {}, r.center());
    }
    static void clickTitle(Grid *grid, int section)
    {
        QHeaderView *h = grid->view()->horizontalHeader();
        const QPoint p(h->sectionViewportPosition(section) + h->sectionSize(section) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
    }
    template <class W> void show(W &w)
    {
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    void line(const char *cpdm, const char *cpmc, const char *date, double zcjg, double cbjg)
    {
        SaleLine l;
        l.khdm = QStringLiteral("1100001");
        l.khmc = QStringLiteral("张记养殖场");
        l.region = QStringLiteral("城关街道");
        l.cpdm = QString::fromLatin1(cpdm);
        l.cpmc = QString::fromUtf8(cpmc);
        l.cpgg = QStringLiteral("40");
        l.rq_1 = QString::fromLatin1(date);
        l.zznum = 1000;
        l.zzjg = 3200;
        l.zzje = 3200;
        l.zcjg = zcjg;
        l.cbjg = cbjg;
        l.czydm = QStringLiteral("admin");
        writeSaleLine(m_app.session(), l);
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        loadDemoData(m_app.session(), m_app.clock);
        m_previewed.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &doc) {
            m_previewed << doc.toText();
            const QString dir = qEnvironmentVariable("FM_SCREENSHOT_DIR");
            if (!dir.isEmpty()) {
                QDir().mkpath(dir);
                QString error;
                QVERIFY2(exportPdf(doc, QDir(dir).filePath(doc.name() + QStringLiteral(".pdf")), &error), qPrintable(error));
            }
        };
    }

    void registered()
    {
        for (Fn f : {Fn::PriceFilter, Fn::CostPriceCorrection, Fn::CostPriceFix})
            QVERIFY(functionWindows().contains(number(f)));
    }

    void correctACategory()
    {
        m_app.session().execute(QStringLiteral("UPDATE {velcpzk} SET sccb = 2400 WHERE cpdm = 'n401'"));
        m_app.session().execute(QStringLiteral("UPDATE {velcpzk} SET sccb = 0 WHERE cpdm = 'n402'"));
        Tcpcbxz w(m_app.ctx, nullptr);
        show(w);
        QCOMPARE(w.categoryBox()->count(), 3); // the packaging classes are not feed
        QVERIFY(!w.factorInput()->isEnabled() && !w.correctButton()->isEnabled());
        choose(w.categoryBox(), QStringLiteral("浓缩料"));
        QCOMPARE(w.productionGrid()->rowCount(), 2);
        QCOMPARE(w.priceGrid()->rowCount(), 2);
        QVERIFY(w.factorInput()->hasFocus());
        QCOMPARE(w.factorInput()->text(), QStringLiteral("1"));
        typeAndEnter(w.factorInput(), QStringLiteral("0.95"));
        typeAndEnter(w.factorInput(), QStringLiteral(" "));
        typeAndEnter(w.factorInput(), QStringLiteral("1.o5"));
        QCOMPARE(m_app.prompter.messages, (QStringList{QStringLiteral("系数不能小于1.0"), QStringLiteral("系数不能为空！"),
                                                       QStringLiteral("系数必须是数字！")}));
        QVERIFY(!w.correctButton()->isEnabled());
        typeAndEnter(w.factorInput(), QStringLiteral("1.05"));
        QVERIFY(w.correctButton()->isEnabled());
        screenshot(&w, QStringLiteral("costprices-1-correction"));
        w.correctButton()->click();
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'n401'").toDouble(), 2520.0);
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'n402'").toDouble(), 2750.0);
        QCOMPARE(m_app.prompter.last(), QStringLiteral("有1个产品的生产成本为0或没有生产成本，保留原成本价格。"));
        QVERIFY(!w.factorInput()->isEnabled() && !w.correctButton()->isEnabled());
        QVERIFY(w.categoryBox()->hasFocus());
    }

    void historicalCosts()
    {
        line("n401", "猪用浓缩料", "2026-11-20", 2800, 2500);
        line("n401", "猪用浓缩料", "2026-12-01", 2800, 2550);
        line("n402", "鸡用浓缩料", "2026-12-02", 2600, 2700);
        line("n401", "猪用浓缩料", "2026-10-02", 2800, 2400);
        Txg_lscb w(m_app.ctx, nullptr);
        show(w);
        QVERIFY(w.startInput()->hasFocus());
        QVERIFY(!w.queryButton()->isEnabled() && !w.printButton()->isEnabled() && !w.costInput()->isEnabled());
        typeAndEnter(w.startInput(), QStringLiteral("2026-11-19"));
        QCOMPARE(w.endInput()->text(), QStringLiteral("2026-12-10"));
        QVERIFY(w.endInput()->hasFocus());
        pressEnter(w.endInput());
        QVERIFY(w.queryButton()->isEnabled() && w.belowCostButton()->isEnabled() && w.clearButton()->isEnabled());
        w.queryButton()->click();
        QCOMPARE(w.grid()->rowCount(), 3);

        // Sorting asks first and stays for the reloads.
        m_app.prompter.answers = {true};
        clickTitle(w.grid(), 3); // 成本价
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("成本价按降序(Y)/升序(N)排列？"));
        QCOMPARE(w.grid()->textAt(0, 3), QStringLiteral("2700"));
        clickTitle(w.grid(), 2); // 规格: not sortable
        QCOMPARE(m_app.prompter.questions.size(), 1);

        // The clicked line's product takes the new cost on every line of the range.
        clickRow(w.grid(), 1);
        QCOMPARE(w.productDisplay()->text(), QStringLiteral("猪用浓缩料"));
        QCOMPARE(w.costInput()->text(), QStringLiteral("2550"));
        QVERIFY(w.costInput()->hasFocus() && !w.confirmButton()->isEnabled());
        typeAndEnter(w.costInput(), QStringLiteral("2650"));
        QVERIFY(w.confirmButton()->isEnabled());
        screenshot(&w, QStringLiteral("costprices-2-history"));
        m_app.prompter.answers = {false};
        w.confirmButton()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("是否回写价格库？"));
        QCOMPARE(value("SELECT COUNT(*) FROM {sale1} WHERE cbjg = 2650").toInt(), 2);
        QCOMPARE(value("SELECT cbjg FROM {sale1} WHERE rq_1 = '2026-10-02'").toDouble(), 2400.0);
        QCOMPARE(value("SELECT cbjg FROM {price} WHERE cpdm = 'n401'").toDouble(), 2900.0);
        QVERIFY(!w.confirmButton()->isEnabled() && w.costInput()->text().isEmpty());
        QCOMPARE(w.grid()->textAt(0, 3), QStringLiteral("2700")); // still by cost, descending

        w.belowCostButton()->click();
        QCOMPARE(w.grid()->rowCount(), 1);
        w.printButton()->click();
        QCOMPARE(m_previewed.size(), 1);
        QVERIFY(m_previewed[0].contains(QStringLiteral("row: 城关街道 | 张记养殖场 | 鸡用浓缩料 | 40 | 1000 | 2600 | 2700 | 2026-12-02")));
        QVERIFY(m_previewed[0].contains(QStringLiteral("summary: 合计： | 1000")));

        m_app.prompter.answers = {false, true};
        w.clearButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("你已经放弃清零！"));
        w.clearButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("产品历史成本价格已经全部清零！"));
        QCOMPARE(value("SELECT COUNT(*) FROM {sale1} WHERE cbjg = 0").toInt(), 3);
    }

    void priceFilter()
    {
        m_app.session().execute(QStringLiteral("UPDATE {khprice} SET fhll = 2700 WHERE cpdm = 'n401' AND khdm = '1200001'"));
        m_app.session().execute(QStringLiteral("UPDATE {khprice} SET fhll = 3600 WHERE cpdm = 'q101' AND khdm = '1100002'"));
        Tkhjg_gl w(m_app.ctx, nullptr);
        show(w);
        QVERIFY(!w.regionButton()->isEnabled() && w.allRegionsButton()->isEnabled());
        w.allRegionsButton()->click();
        QCOMPARE(w.grid()->rowCount(), 2);
        QVERIFY(w.printButton()->hasFocus());
        screenshot(&w, QStringLiteral("costprices-3-filter"));
        choose(w.regionBox(), QStringLiteral("东山片区"));
        QVERIFY(w.regionButton()->isEnabled());
        w.regionButton()->click();
        QCOMPARE(w.grid()->rowCount(), 1);
        w.printButton()->click();
        QCOMPARE(m_previewed.size(), 1);
        QVERIFY(m_previewed[0].contains(QStringLiteral("title: 低于成本价格销售的客户价格过滤明细")));
        QVERIFY(m_previewed[0].contains(QStringLiteral("row: 东山片区 | 东山养鸡场 | 猪用浓缩料 | 40 | 2700 | 2900 | -200")));
    }
};

QTEST_MAIN(TestCostPriceWindows)
#include "tst_costpricewindows.moc"
