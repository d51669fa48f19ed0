// The cost windows on the sample mill: "成本数据处理" from region to sheets,
// "客户成本结算打印" printing at once and previewing, "成本数据查询" with its
// current and archived parts; messages, enabled state and a look at each.

#include "pricing/windows/tcbgl.h"
#include "pricing/windows/tdy_cbjs.h"
#include "pricing/windows/tzx_cbsj.h"
#include "reports/reportdocument.h"
#include "reports/reportexport.h"
#include "sales/saleline.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestCostWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    QStringList m_previewed;
    QStringList m_printed;

    static void choose(QComboBox *combo, const QString &text)
    {
        const int i = combo->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    template <class W> void show(W &w)
    {
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    // A line of the sample mill's east region (东山片区).
    qint64 line(const char *khdm, const char *khmc, const char *date, double kg, double policy, double cost,
                bool history = false)
    {
        SaleLine l;
        l.khdm = QString::fromLatin1(khdm);
        l.khmc = QString::fromUtf8(khmc);
        l.region = QStringLiteral("东山片区");
        l.cpdm = QStringLiteral("n401");
        l.cpmc = QStringLiteral("猪用浓缩料");
        l.cpgg = QStringLiteral("40");
        l.rq_1 = QString::fromLatin1(date);
        l.czydm = QStringLiteral("admin");
        l.zznum = kg;
        l.zzjg = 3200;
        l.zzje = 3200 * kg / 1000;
        l.zcjg = policy;
        l.cbjg = cost;
        l.zzhm = QStringLiteral("00000001");
        const qint64 id = writeSaleLine(m_app.session(), l);
        if (history) {
            m_app.session().execute(QStringLiteral("INSERT INTO {his_sale1} (rq_1, cpmc, cpgg, zcjg, zznum, zzjg, cbjg, khmc, "
                                                   "cpdm, region, khdm, bz_1) SELECT rq_1, cpmc, cpgg, zcjg, zznum, zzjg, "
                                                   "cbjg, khmc, cpdm, region, khdm, bz_1 FROM {sale1} WHERE id = ?"),
                                    {id});
            m_app.session().execute(QStringLiteral("DELETE FROM {sale1} WHERE id = ?"), {id});
        }
        return id;
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        loadDemoData(m_app.session(), m_app.clock);
        m_previewed.clear();
        m_printed.clear();
        const auto keep = [](QStringList *list) {
            return [list](QWidget *, const ReportDocument &doc) {
                *list << doc.toText();
                const QString dir = qEnvironmentVariable("FM_SCREENSHOT_DIR");
                if (!dir.isEmpty()) {
                    QDir().mkpath(dir);
                    QString error;
                    QVERIFY2(exportPdf(doc, QDir(dir).filePath(doc.name() + QStringLiteral(".pdf")), &error),
                             qPrintable(error));
                }
            };
        };
        m_app.ctx.preview = keep(&m_previewed);
        m_app.ctx.printDirect = keep(&m_printed);
        line("1200001", "东山养鸡场", "2026-11-20", 3000, 2800, 2500);
        line("1200001", "东山养鸡场", "2026-11-28", 3000, 2800, 2900);
        line("1200002", "王氏兽药店", "2026-12-03", 1200, 3050, 2900);
    }

    void registered()
    {
        for (Fn f : {Fn::CostProcessing, Fn::CostPrint, Fn::CostPriceHistory})
            QVERIFY(functionWindows().contains(number(f)));
    }

    void processARegion()
    {
        Tcbgl w(m_app.ctx, nullptr);
        show(w);
        QVERIFY(w.regionBox()->isEnabled() && !w.startInput()->isEnabled() && !w.processButton()->isEnabled());
        QVERIFY(!w.printButton()->isEnabled() && !w.abnormalButton()->isEnabled());
        choose(w.regionBox(), QStringLiteral("东山片区"));
        QVERIFY(w.startInput()->hasFocus());
        typeAndEnter(w.startInput(), QStringLiteral("2026-11-19"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-11-18"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("截止日期不能早于起始日期！"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-12-18"));
        QCOMPARE(w.grid()->rowCount(), 3);
        QVERIFY(w.processButton()->isEnabled() && w.processButton()->hasFocus());
        screenshot(&w, QStringLiteral("costs-1-processing-lines"));

        w.processButton()->click();
        QCOMPARE(w.grossProfit()->text(), QStringLiteral("780"));
        QVERIFY(!w.processButton()->isEnabled() && !w.startInput()->isEnabled() && !w.endInput()->isEnabled());
        QVERIFY(w.regionBox()->hasFocus());
        QVERIFY(w.printButton()->isEnabled() && w.abnormalButton()->isEnabled());
        screenshot(&w, QStringLiteral("costs-2-processed"));

        w.printButton()->click();
        w.abnormalButton()->click();
        QCOMPARE(m_previewed.size(), 2);
        QVERIFY(m_previewed[0].contains(QStringLiteral("title: 测试饲料有限公司地区结算表：")));
        QVERIFY(m_previewed[0].contains(QStringLiteral("header: 地区名称：东山片区 | 结算时间：2026-12-10")));
        QVERIFY(m_previewed[1].contains(QStringLiteral("title: 测试饲料有限公司地区数据异常结算表：")));
        QVERIFY(m_previewed[1].contains(QStringLiteral("row: 东山养鸡场 | 猪用浓缩料 | 40 | 3000 | -300")));
        QVERIFY(!m_previewed[1].contains(QStringLiteral("王氏兽药店")));

        // Choosing the region again clears its rows and closes the sheets.
        choose(w.regionBox(), QStringLiteral("东山片区"));
        QCOMPARE(m_app.session().scalar(QStringLiteral("SELECT COUNT(*) FROM {khcb_mx}")).toInt(), 0);
        QVERIFY(!w.printButton()->isEnabled() && w.grossProfit()->text().isEmpty());
    }

    void zeroCostStopsWithItsMessage()
    {
        line("1200002", "王氏兽药店", "2026-11-25", 100, 3000, 0);
        Tcbgl w(m_app.ctx, nullptr);
        show(w);
        choose(w.regionBox(), QStringLiteral("东山片区"));
        typeAndEnter(w.startInput(), QStringLiteral("2026/11/19"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-13-18"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("日期有错！请按yyyy-mm-dd输入。"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-12-18"));
        w.processButton()->click();
        QCOMPARE(m_app.prompter.last(),
                 QStringLiteral("注意：客户:王氏兽药店的猪用浓缩料,规格：40,成本价格为0,请检查,不能继续处理！"));
        // The three lines before it count; the sheets still print.
        QCOMPARE(w.grossProfit()->text(), QStringLiteral("780"));
        QVERIFY(w.printButton()->isEnabled());
    }

    void customerCostList()
    {
        {
            Tcbgl processing(m_app.ctx, nullptr);
            show(processing);
            choose(processing.regionBox(), QStringLiteral("东山片区"));
            typeAndEnter(processing.startInput(), QStringLiteral("2026-11-19"));
            typeAndEnter(processing.endInput(), QStringLiteral("2026-12-18"));
            processing.processButton()->click();
        }
        Tdy_cbjs w(m_app.ctx, nullptr);
        show(w);
        QVERIFY(!w.nameBox()->isEnabled() && !w.filterButton()->isEnabled() && !w.printButton()->isEnabled());
        choose(w.regionBox(), QStringLiteral("东山片区"));
        QCOMPARE(w.nameBox()->count(), 2);
        choose(w.nameBox(), QStringLiteral("东山养鸡场"));
        QCOMPARE(w.codeDisplay()->text(), QStringLiteral("1200001"));
        QVERIFY(w.startInput()->hasFocus());
        typeAndEnter(w.startInput(), QStringLiteral("2026-11-19"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-12-18"));
        QVERIFY(w.filterButton()->hasFocus());
        pressEnter(w.filterButton());
        QCOMPARE(w.grid()->rowCount(), 2);
        screenshot(&w, QStringLiteral("costs-3-customer-list"));
        w.printButton()->click();
        w.previewButton()->click();
        QCOMPARE(m_printed.size(), 1);
        QCOMPARE(m_previewed, m_printed);
        QVERIFY(m_printed[0].contains(QStringLiteral("header: 客户名称：东山养鸡场 | 打印时间：2026-12-10 | 客户代码：1200001")));
        QVERIFY(m_printed[0].contains(QStringLiteral("summary: 小计： | 6000 |  | 16800 |  |  | 600")));
        // Another customer closes the prints until filtered again.
        choose(w.nameBox(), QStringLiteral("王氏兽药店"));
        QVERIFY(!w.printButton()->isEnabled());
    }

    void currentAndArchivedLines()
    {
        line("1200001", "东山养鸡场", "2026-12-01", 400, 2800, 2500, true);
        Tzx_cbsj w(m_app.ctx, nullptr);
        show(w);
        choose(w.regionBox(), QStringLiteral("东山片区"));
        choose(w.nameBox(), QStringLiteral("东山养鸡场"));
        // Empty dates: the first of this month, and today.
        pressEnter(w.startInput());
        QCOMPARE(w.startInput()->text(), QStringLiteral("2026-12-01"));
        pressEnter(w.endInput());
        QCOMPARE(w.endInput()->text(), QStringLiteral("2026-12-10"));
        QCOMPARE(w.currentGrid()->rowCount(), 0);
        QCOMPARE(w.historyGrid()->rowCount(), 1);
        QVERIFY(w.currentPart()->isHidden() && !w.historyPart()->isHidden());

        w.startInput()->setText(QStringLiteral("2026-11-01"));
        w.endInput()->setFocus();
        pressEnter(w.endInput());
        QCOMPARE(w.currentGrid()->rowCount(), 2);
        QVERIFY(!w.currentPart()->isHidden() && !w.historyPart()->isHidden());
        screenshot(&w, QStringLiteral("costs-4-query"));
        QVERIFY(w.printButton()->isEnabled());
        w.printButton()->click();
        QCOMPARE(m_previewed.size(), 1);
        QVERIFY(m_previewed[0].contains(QStringLiteral("title: 客户成本价格打印：")));
        QVERIFY(m_previewed[0].contains(QStringLiteral("row: 东山养鸡场 | 猪用浓缩料 | 40 | 3000 | 3200 | 2800 | 2900 | 2026-11-28")));
    }
};

QTEST_MAIN(TestCostWindows)
#include "tst_costwindows.moc"
