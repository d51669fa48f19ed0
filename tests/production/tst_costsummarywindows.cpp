// The cost summary window and the financial summary window, driven as a
// clerk would.

#include "costsummaryreference.h"
#include "data/scaledata.h"
#include "formulation/formulationsample.h"
#include "production/productionsample.h"
#include "production/windows/tvel_cphzz.h"
#include "reports/reportdocument.h"
#include "reports/reportrenderer.h"
#include "reports/windows/reportpreview.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"
#include "warehouse/windows/warehousefields.h"

#include <QDir>
#include <QPrinter>

#include <QDateEdit>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestCostSummaryWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    QStringList m_previews;
    std::vector<ReportDocument> m_documents;

    Session &s() { return m_app.session(); }
    template <class W> void show(W &w)
    {
        w.activate();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    void month()
    {
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "A1"}, {"cpmc", "猪全价料"}, {"cpgg", "40"}, {"sccb", 100.0}, {"cpbz", "1"}});
        s().insert(QStringLiteral("velcpzk"), {{"cpdm", "B2"}, {"cpmc", "鸡浓缩料"}, {"cpgg", "20"}, {"sccb", 100.0}, {"cpbz", "0"}});
        s().insert(QStringLiteral("ylhzk"), {{"yldm", "m01"}, {"ylmc", "玉米"}, {"bz_1", "1"}});
        s().insert(QStringLiteral("pfzlk"), {{"pfhm", "F1"}});
        s().insert(QStringLiteral("scylk"), {{"pfhm", "F1"}, {"yldm", "m01"}, {"pfbl", 5.0}, {"yljg", 2000.0}, {"rq_1", "2026-12-02"}});
        for (const auto &[code, kg] : {std::pair{"A1", 30000.0}, std::pair{"B2", 10000.0}})
            s().insert(QStringLiteral("velcpk"), {{"cpdm", code}, {"scsl", kg}, {"pfhm", "F1"}, {"scrq_1", "2026-12-03"}, {"txm", ""}});
        s().insert(QStringLiteral("sale1"), {{"cpdm", "A1"}, {"cpmc", "猪全价料"}, {"cpgg", "40"}, {"zznum", 2000.0},
                                             {"zzje", 5200.0}, {"rq_1", "2026-12-04"}});
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        m_previews.clear();
        m_documents.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &d) {
            m_previews << d.toText();
            m_documents.push_back(d);
        };
    }

    // The question on opening; missing overheads named; then the month run
    // by Enter, blank end date taken as today; every tab filled.
    void productionCost()
    {
        month();
        Tvel_cphzz w(m_app.ctx, nullptr);
        bool overheadsOpened = false;
        w.openOverheadsInput = [&] {
            overheadsOpened = true;
            s().insert(QStringLiteral("zzfy"), {{"rq_1", "202612"}, {"qf", 400.0}, {"gz", 1000.0}, {"df", 2000.0}, {"qt", 0.0}});
        };
        m_app.prompter.answers = {true};
        show(w);
        QCOMPARE(m_app.prompter.questions, QStringList{QStringLiteral("本月制造费用汇总是否已经输入?")});
        QVERIFY(!overheadsOpened);
        QVERIFY(!w.confirmButton()->isEnabled());

        // November has no overheads.
        w.startInput()->setDate(QDate(2026, 11, 1));
        pressEnter(w.startInput());
        QVERIFY(w.endInput()->hasFocus());
        pressEnter(w.endInput()); // blank: today
        QCOMPARE(w.endInput()->date(), QDate(2026, 12, 10));
        QVERIFY(w.confirmButton()->isEnabled());
        QTest::mouseClick(w.confirmButton(), Qt::LeftButton);
        QCOMPARE(m_app.prompter.last(), QStringLiteral("2026年11月的制造费用汇总数据不存在,请输入制造费用！"));
        QVERIFY(!w.confirmButton()->isEnabled());
        QCOMPARE(w.costGrid()->rowCount(), 0);

        // The clerk enters them from the question on opening.
        m_app.prompter.answers = {false, true};
        w.activate();
        QVERIFY(overheadsOpened);
        w.startInput()->setDate(QDate(2026, 12, 1));
        pressEnter(w.startInput());
        pressEnter(w.endInput());
        QTest::mouseClick(w.confirmButton(), Qt::LeftButton);
        QCOMPARE(w.costGrid()->rowCount(), 2);
        QCOMPARE(w.figure("tonnes")->text(), QStringLiteral("40"));
        QCOMPARE(w.figure("rawMaterials")->text(), QStringLiteral("0.4"));
        QCOMPARE(w.figure("overheads")->text(), QStringLiteral("0.3"));
        QCOMPARE(w.materialGrid()->rowCount(), 1);
        QCOMPARE(w.lossGrid()->rowCount(), 1);
        QCOMPARE(w.overheadGrid()->rowCount(), 1);
        QVERIFY(w.startInput()->hasFocus());
        // Today lies in the period: A1 costs (3000 + 2250 + 400) / 30 per tonne now.
        QCOMPARE(s().scalar(QStringLiteral("SELECT sccb FROM {velcpzk} WHERE cpdm = 'A1'")).toDouble(), 5650.0 / 30);

        screenshot(&w, QStringLiteral("cost-summary-production"));

        // Sales cost on its own tab, at the cost just written back.
        w.tabs()->setCurrentIndex(1);
        w.salesStartInput()->setDate(QDate(2026, 12, 1));
        pressEnter(w.salesStartInput());
        pressEnter(w.salesEndInput());
        QTest::mouseClick(w.salesConfirmButton(), Qt::LeftButton);
        QCOMPARE(w.salesGrid()->rowCount(), 2);
        QCOMPARE(w.salesGrid()->valueAt(0, 4).toDouble(), 2 * 5650.0 / 30);

        screenshot(&w, QStringLiteral("cost-summary"));
        for (const char *b : {"printCosts", "printSales", "printMaterials"})
            QTest::mouseClick(w.findChild<QPushButton *>(QString::fromLatin1(b)), Qt::LeftButton);
        QCOMPARE(m_previews.size(), 3);
        QVERIFY(m_previews[0].contains(QStringLiteral("B4") ) || m_previews[0].contains(QStringLiteral("250x353")));
        QVERIFY(m_previews[0].contains(QStringLiteral("起始时间：2026-12-01")));
        QVERIFY(m_previews[1].contains(QStringLiteral("销售成本报表：")));
        QVERIFY(m_previews[2].contains(QStringLiteral("玉米")));
    }

    // A period over two months asks first (only the start month's overheads
    // are shared out); an end before the start is refused, touching nothing.
    void periodChecks()
    {
        month();
        s().insert(QStringLiteral("zzfy"), {{"rq_1", "202611"}, {"qf", 400.0}, {"gz", 1000.0}, {"df", 2000.0}, {"qt", 0.0}});
        s().insert(QStringLiteral("cpcbhz"), {{"cpdm", "old"}, {"scsl", 1.0}});
        Tvel_cphzz w(m_app.ctx, nullptr);
        m_app.prompter.answers = {true};
        show(w);
        auto run = [&](QDate start, QDate end, std::initializer_list<bool> answers) {
            m_app.prompter.answers = answers;
            w.startInput()->setDate(start);
            pressEnter(w.startInput());
            w.endInput()->setDate(end);
            pressEnter(w.endInput());
            QTest::mouseClick(w.confirmButton(), Qt::LeftButton);
        };
        run(QDate(2026, 11, 20), QDate(2026, 12, 10), {false});
        QCOMPARE(m_app.prompter.questions.last(),
                 QStringLiteral("起始时间与截止时间不在同一个月，只分摊2026年11月的制造费用。是否继续？"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT cpdm FROM {cpcbhz}")).toString(), QStringLiteral("old"));
        QVERIFY(w.confirmButton()->isEnabled());

        run(QDate(2026, 12, 10), QDate(2026, 12, 1), {});
        QCOMPARE(m_app.prompter.last(), QStringLiteral("截止日期不能早于起始日期！"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT cpdm FROM {cpcbhz}")).toString(), QStringLiteral("old"));

        run(QDate(2026, 11, 20), QDate(2026, 12, 10), {true});
        QCOMPARE(w.costGrid()->rowCount(), 2);
        // The sales tab's "取消" blanks its dates and starts again.
        w.tabs()->setCurrentIndex(1);
        w.salesStartInput()->setDate(QDate(2026, 12, 1));
        pressEnter(w.salesStartInput());
        pressEnter(w.salesEndInput());
        QVERIFY(w.salesConfirmButton()->isEnabled());
        QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("salesCancel")), Qt::LeftButton);
        QVERIFY(!w.salesConfirmButton()->isEnabled());
        QVERIFY(!dateOf(w.salesStartInput()).isValid());
        QVERIFY(!dateOf(w.salesEndInput()).isValid());
        QVERIFY(!w.salesEndInput()->isEnabled());
    }

    // The demo mill's month: every tab filled, the figures those of the plain
    // reference, every report previewed. With FM_SCREENSHOT_DIR set, the tabs
    // and previews are pictured and each report printed to PDF there.
    void demoMonth()
    {
        MillSize size;
        size.regions = 3;
        size.customers = 30;
        size.products = 12;
        size.slips = 600;
        size.lines = 1800;
        size.years = 1;
        generateMill(s(), m_app.clock, size);
        FormulationSize formulas;
        formulas.materials = 30;
        formulas.standards = 2;
        formulas.formulas = 8;
        formulas.linesPerFormula = 8;
        generateFormulations(s(), m_app.clock, formulas);
        generateProduction(s(), m_app.clock);
        QVERIFY_THROWS_EXCEPTION(DomainError, generateProduction(s(), m_app.clock));
        // What the demo holds for November: production of every kind, draws, use, overheads.
        for (const char *sql : {"SELECT COUNT(*) FROM {velcpk} WHERE scrq_1 LIKE '2026-11-%'",
                                "SELECT COUNT(*) FROM {scylk} WHERE rq_1 LIKE '2026-11-%'",
                                "SELECT COUNT(*) FROM {scylxh} WHERE rq_1 LIKE '2026-11-%'",
                                "SELECT COUNT(*) FROM {zzfy} WHERE rq_1 = '202611'"})
            QVERIFY2(s().scalar(QString::fromLatin1(sql)).toInt() > 0, sql);
        QVERIFY(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {velcpk} WHERE txm IN ('换包', '掺拌生产', '杂料回机')")).toInt() > 0);
        // Stock is what was made less what was sold.
        QVERIFY(qAbs(s().scalar(QStringLiteral("SELECT SUM(scsl) FROM {velcpzk}")).toDouble()
                     - s().scalar(QStringLiteral("SELECT (SELECT SUM(scsl) FROM {velcpk}) - (SELECT SUM(zznum) FROM {sale1})")).toDouble())
                < 1e-6);

        const QString start = QStringLiteral("2026-11-01"), end = QStringLiteral("2026-11-30");
        const test::Reference ref = test::referenceSummary(s(), start, end);

        Tvel_cphzz w(m_app.ctx, nullptr);
        m_app.prompter.answers = {true};
        show(w);
        w.startInput()->setDate(QDate(2026, 11, 1));
        pressEnter(w.startInput());
        w.endInput()->setDate(QDate(2026, 11, 30));
        pressEnter(w.endInput());
        QTest::mouseClick(w.confirmButton(), Qt::LeftButton);
        QCOMPARE(m_app.prompter.questions.size(), 1); // no message: the month is sound

        const auto got = CostSummary(s(), m_app.clock).productCosts();
        const auto use = CostSummary(s(), m_app.clock).materialUse();
        QVERIFY(got.size() > 3);
        QCOMPARE(got.size(), ref.products.size());
        QCOMPARE(use.size(), ref.materials.size());
        auto near = [](double a, double b) { return qAbs(a - b) <= 1e-9 * std::max(1.0, std::max(qAbs(a), qAbs(b))); };
        for (size_t i = 0; i < got.size(); ++i) {
            const ProductCostRow &a = got[i], &b = ref.products[i];
            QCOMPARE(a.cpdm, b.cpdm);
            const double x[] = {a.scsl, a.sjxh, a.ccp, a.bcp, a.bzw, a.bq, a.qf, a.zzfy, a.hj, a.price};
            const double y[] = {b.scsl, b.sjxh, b.ccp, b.bcp, b.bzw, b.bq, b.qf, b.zzfy, b.hj, b.price};
            for (int k = 0; k < 10; ++k) QVERIFY2(near(x[k], y[k]), qPrintable(a.cpdm));
        }
        for (size_t i = 0; i < use.size(); ++i) {
            QCOMPARE(use[i].yldm, ref.materials[i].yldm);
            QVERIFY(near(use[i].sjsl, ref.materials[i].sjsl) && near(use[i].zje, ref.materials[i].zje)
                    && near(use[i].sjhy, ref.materials[i].sjhy) && near(use[i].xhje, ref.materials[i].xhje));
        }
        // Every figure of the first tab is shown, and the month's overheads are shared out.
        for (const char *f : {"tonnes", "rawMaterials", "semiFinished", "packaging", "overheads", "materialTonnes",
                              "materialAmount", "lossTonnes", "lossAmount"})
            QVERIFY2(!w.figure(f)->text().isEmpty() && w.figure(f)->text() != QLatin1String("0"), f);
        QCOMPARE(w.costGrid()->rowCount(), int(got.size()));
        QCOMPARE(w.materialGrid()->rowCount(), int(use.size()));
        QCOMPARE(w.lossGrid()->rowCount(), int(use.size()));
        QCOMPARE(w.overheadGrid()->rowCount(), 1);
        QCOMPARE(w.lossGrid()->valueAt(0, 7).toString(), QStringLiteral("2026-12-10"));

        w.tabs()->setCurrentIndex(1);
        w.salesStartInput()->setDate(QDate(2026, 11, 1));
        pressEnter(w.salesStartInput());
        w.salesEndInput()->setDate(QDate(2026, 11, 30));
        pressEnter(w.salesEndInput());
        QTest::mouseClick(w.salesConfirmButton(), Qt::LeftButton);
        QCOMPARE(w.salesGrid()->rowCount(), size.products);
        double soldKg = 0;
        for (int r = 0; r < w.salesGrid()->rowCount(); ++r) soldKg += w.salesGrid()->valueAt(r, 3).toDouble();
        QVERIFY(near(soldKg, s().scalar(QStringLiteral("SELECT SUM(zznum) FROM {sale1} WHERE rq_1 LIKE '2026-11-%'")).toDouble()));

        const QStringList tabs{"costs", "sales", "materials", "losses", "print", "overheads"};
        for (int t = 0; t < w.tabs()->count(); ++t) {
            w.tabs()->setCurrentIndex(t);
            screenshot(&w, QStringLiteral("demo-month-") + tabs[t]);
        }
        for (const char *b : {"printCosts", "printSales", "printMaterials"})
            QTest::mouseClick(w.findChild<QPushButton *>(QString::fromLatin1(b)), Qt::LeftButton);

        Tcpbb f(m_app.ctx, nullptr);
        show(f);
        f.startInput()->setDate(QDate(2026, 11, 1));
        pressEnter(f.startInput());
        f.endInput()->setDate(QDate(2026, 11, 30));
        pressEnter(f.endInput());
        QTest::mouseClick(f.processButton(), Qt::LeftButton);
        QVERIFY(f.grid()->rowCount() > 0);
        screenshot(&f, QStringLiteral("demo-month-financial"));
        QTest::mouseClick(f.findChild<QPushButton *>(QStringLiteral("print")), Qt::LeftButton);

        QCOMPARE(m_documents.size(), size_t(4));
        const char *names[] = {"product-cost", "sales-cost", "material-use", "financial"};
        const QString dir = qEnvironmentVariable("FM_SCREENSHOT_DIR");
        for (size_t i = 0; i < m_documents.size(); ++i) {
            QVERIFY(ReportRenderer(m_documents[i]).pageCount() >= 1);
            if (dir.isEmpty()) continue;
            ReportPreview preview(m_documents[i]);
            preview.resize(1000, 800);
            preview.show();
            QVERIFY(QTest::qWaitForWindowExposed(&preview));
            screenshot(&preview, QStringLiteral("demo-preview-") + QString::fromLatin1(names[i]));
            preview.close();
            // Printed as the preview's "打印" prints, into a PDF file.
            const ReportRenderer renderer(m_documents[i]);
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QDir(dir).filePath(QStringLiteral("demo-") + QString::fromLatin1(names[i]) + ".pdf"));
            printer.setPageLayout(renderer.report().page.pageLayout());
            printer.setFullPage(true);
            QVERIFY(renderer.paint(printer));
        }
    }

    // The end date empties the table; "处理" lists by quantity sold and hides
    // the bar; "打印" previews the 210 × 200 mm sheet.
    void financialSummary()
    {
        month();
        s().insert(QStringLiteral("price"), {{"cpdm", "A1"}, {"cpmc", "猪全价料"}, {"cpgg", "40"}});
        s().insert(QStringLiteral("cpbb"), {{"cpdm", "old"}, {"zznum", 1.0}});
        Tcpbb w(m_app.ctx, nullptr);
        show(w);
        QVERIFY(!w.processButton()->isEnabled());
        w.startInput()->setDate(QDate(2026, 12, 1));
        pressEnter(w.startInput());
        w.endInput()->setDate(QDate(2026, 12, 31));
        pressEnter(w.endInput());
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {cpbb}")).toInt(), 0);
        QVERIFY(w.processButton()->isEnabled());
        QTest::mouseClick(w.processButton(), Qt::LeftButton);
        QCOMPARE(w.grid()->rowCount(), 1);
        QCOMPARE(w.grid()->valueAt(0, 3).toDouble(), 2000.0);
        QVERIFY(!w.processButton()->isEnabled());
        QTest::mouseClick(w.findChild<QPushButton *>(QStringLiteral("print")), Qt::LeftButton);
        QCOMPARE(m_previews.size(), 1);
        QVERIFY(m_previews[0].contains(QStringLiteral("210x200")));
    }
};

QTEST_MAIN(TestCostSummaryWindows)
#include "tst_costsummarywindows.moc"
