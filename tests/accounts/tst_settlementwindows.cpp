// The settlement windows: "客户销售数据处理" led by Enter from the code
// through the dates to collation, processing and the printed list; the
// region batch with its lists, its progress, stopping between customers and
// a failure that names the customer.

#include "accounts/settlementfixture.h"
#include "accounts/windows/tjskhjj_dq.h"
#include "accounts/windows/tkhjj.h"
#include "reports/computedreport.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

const QString kEast = QStringLiteral("城关镇东区");

void chooseFocused(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setFocus();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QStringList texts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

void showWindow(QWidget *w)
{
    w->show();
    w->activateWindow(); // a bare X server has no window manager to do it
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace

class TestSettlementWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    std::vector<ReportDocument> m_documents;

    Session &s() { return m_app.session(); }
    SettlementRows rows() { return SettlementRows{s()}; }

    // The worked example in the period 2026-11-19 .. 2026-12-18 (today is 2026-12-10).
    Customer demoCustomer()
    {
        SettlementRows r = rows();
        const Customer c = r.customer(QStringLiteral("1100001"), QStringLiteral("张记养殖场"), kEast);
        r.issue(c, QStringLiteral("2026-11-25"), QStringLiteral("n401"), 2000, 6000, 2800);
        r.giveBack(c, QStringLiteral("2026-12-02"), QStringLiteral("n401"), 500, 1500, 2800);
        r.funds(c, QStringLiteral("2026-11-25"), 6000, 3000);
        r.funds(c, QStringLiteral("2026-12-02"), -1500, 0);
        r.funds(c, QStringLiteral("2026-12-08"), 5500, 4000);
        return c;
    }
    QString monthRecord(const QString &code)
    {
        const auto r = s().row(QStringLiteral("SELECT ysje, sjje, sjqk, sjzq, tgf, rq FROM {khzqk} WHERE khdm = ?"), {code});
        if (!r) return QStringLiteral("<none>");
        return QStringLiteral("%1/%2/%3/%4/%5 %6")
            .arg(r->number("ysje")).arg(r->number("sjje")).arg(r->number("sjqk")).arg(r->number("sjzq")).arg(r->number("tgf"))
            .arg(r->text("rq"));
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        m_documents.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &d) { m_documents.push_back(d); };
        rows().region(kEast, QStringLiteral("11"));
        rows().region(QStringLiteral("东山乡南区"), QStringLiteral("12"));
    }

    void openedByItsFunctionNumber()
    {
        const auto &defs = functionWindows();
        QVERIFY(defs.contains(number(Fn::SalesProcessing)));
        std::unique_ptr<FunctionWindow> w(defs.value(number(Fn::SalesProcessing)).create(m_app.ctx, nullptr));
        QVERIFY(dynamic_cast<Tkhjj *>(w.get()));
        QCOMPARE(w->windowTitle(), QStringLiteral("客户销售数据处理"));
    }

    void settleOneCustomerWithEnter()
    {
        const Customer c = demoCustomer();
        Tkhjj w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        QCOMPARE(w.endInput()->text(), QStringLiteral("2026-12-10"));
        QVERIFY(w.codeInput()->hasFocus());
        QVERIFY(!w.startInput()->isEnabled());
        QVERIFY(!w.collateButton()->isEnabled());

        typeAndEnter(w.codeInput(), QStringLiteral("9900001")); // unknown: nothing further
        QVERIFY(m_app.prompter.messages.isEmpty());
        QVERIFY(!w.startInput()->isEnabled());

        typeAndEnter(w.codeInput(), QStringLiteral("1100001"));
        QCOMPARE(w.regionBox()->currentText(), kEast);
        QCOMPARE(w.nameBox()->currentText(), QStringLiteral("张记养殖场"));
        QVERIFY(w.startInput()->hasFocus());

        typeAndEnter(w.startInput(), QStringLiteral("2026-11-01"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("结算日期有错！结算起始日为上月19日!"));
        QVERIFY(w.startInput()->hasFocus());
        QVERIFY(!w.endInput()->isEnabled());
        typeAndEnter(w.startInput(), QStringLiteral("2026-11-19"));
        QCOMPARE(w.endInput()->text(), QStringLiteral("2026-12-18"));
        QVERIFY(w.endInput()->hasFocus());

        for (const char *bad : {"2026-12-17", "2026-10-18"}) {
            m_app.prompter.clear();
            typeAndEnter(w.endInput(), QString::fromLatin1(bad));
            QCOMPARE(m_app.prompter.last(), QStringLiteral("日期有错！注意结算截止日为本月18号"));
            QVERIFY(!w.collateButton()->isEnabled());
        }
        typeAndEnter(w.endInput(), QString()); // empty: the 18th of this month
        QCOMPARE(w.endInput()->text(), QStringLiteral("2026-12-18"));
        QVERIFY(w.collateButton()->hasFocus());
        QVERIFY(m_app.prompter.questions.isEmpty());

        pressEnter(w.collateButton());
        QCOMPARE(w.grid()->rowCount(), 1);
        QCOMPARE(w.grid()->textAt(0, 4), QStringLiteral("1500"));
        QCOMPARE(w.grid()->textAt(0, 8), QStringLiteral("0"));
        QCOMPARE(w.totalDisplay()->text(), QStringLiteral("1.5"));
        QVERIFY(w.processButton()->hasFocus());
        QVERIFY(!w.printButton()->isEnabled());

        pressEnter(w.processButton());
        QCOMPARE(w.feeDisplay()->text(), QStringLiteral("300"));
        QCOMPARE(w.grid()->textAt(0, 8), QStringLiteral("300"));
        QVERIFY(w.printButton()->hasFocus());
        QVERIFY(!w.startInput()->isEnabled());
        QVERIFY(!w.regionBox()->isEnabled());
        QVERIFY(w.codeInput()->isEnabled());
        QCOMPARE(monthRecord(c.code), QStringLiteral("10000/7000/2700/3000/300 2026-11"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khzj} WHERE zzje = 300")).toInt(), 3);
        screenshot(&w, QStringLiteral("tkhjj"));

        pressEnter(w.printButton());
        QCOMPARE(m_documents.size(), size_t(1));
        const QString text = m_documents.front().toText();
        QVERIFY2(text.contains(QStringLiteral("客户名称：张记养殖场")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("起始日期：2026-11-19")));
        QVERIFY(text.contains(QStringLiteral("猪用浓缩料 | 40 | 1500 | 4500 | 300")));

        // The next customer starts over from its code.
        typeAndEnter(w.codeInput(), QStringLiteral("1100001"));
        QVERIFY(w.startInput()->isEnabled());
        QVERIFY(w.regionBox()->isEnabled());
        QVERIFY(!w.printButton()->isEnabled());
    }

    void customerWithoutRowsAsksFirst()
    {
        rows().customer(QStringLiteral("1100002"), QStringLiteral("李家猪场"), kEast);
        Tkhjj w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        for (bool yes : {false, true}) {
            typeAndEnter(w.codeInput(), QStringLiteral("1100002"));
            typeAndEnter(w.startInput(), QStringLiteral("2026-11-19"));
            pressEnter(w.endInput());
            m_app.prompter.answers = {yes};
            w.collateButton()->click();
            QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("无该客户的记录,是否处理?！"));
            QCOMPARE(w.processButton()->isEnabled(), yes);
            QCOMPARE(w.codeInput()->hasFocus(), !yes);
        }
        w.processButton()->click();
        QCOMPARE(monthRecord(QStringLiteral("1100002")), QStringLiteral("0/0/0/0/0 2026-11"));
    }

    void chosenByRegionAndNameAndLongPeriodAsked()
    {
        demoCustomer();
        rows().customer(QStringLiteral("1100009"), QStringLiteral("已销户"), kEast, "x");
        Tkhjj w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        chooseFocused(w.regionBox(), kEast);
        QCOMPARE(w.nameBox()->count(), 1); // the closed customer is not offered
        chooseFocused(w.nameBox(), QStringLiteral("张记养殖场"));
        QCOMPARE(w.codeInput()->text(), QStringLiteral("1100001"));
        QCOMPARE(w.startInput()->text(), QStringLiteral("2026-12-01"));
        QVERIFY(w.startInput()->hasFocus());

        typeAndEnter(w.startInput(), QStringLiteral("2026-10-19"));
        m_app.prompter.answers = {false};
        pressEnter(w.endInput()); // 2026-12-18: two months
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("结算期从2026-10-19到2026-12-18，不是一个月，是否继续？"));
        QVERIFY(!w.collateButton()->isEnabled());
        pressEnter(w.endInput());
        QVERIFY(w.collateButton()->isEnabled());
    }

    void regionBatch()
    {
        const Customer a = demoCustomer();
        SettlementRows r = rows();
        const Customer b = r.customer(QStringLiteral("1100002"), QStringLiteral("李家猪场"), kEast);
        r.issue(b, QStringLiteral("2026-11-20"), QStringLiteral("n402"), 400, 1280, 0, QStringLiteral("鸡用浓缩料"), "20");
        r.funds(b, QStringLiteral("2026-11-20"), 1280, 0);
        const Customer closed = r.customer(QStringLiteral("1100003"), QStringLiteral("已销户"), kEast, "x");
        r.funds(closed, QStringLiteral("2026-11-20"), 10, 0);
        const Customer quiet = r.customer(QStringLiteral("1100004"), QStringLiteral("王家"), kEast);
        r.funds(quiet, QStringLiteral("2026-10-20"), 10, 0);

        Tkhjj main(m_app.ctx, nullptr);
        Tjskhjj_dq *w = main.batchWindow();
        w->activate();
        showWindow(w);
        QVERIFY(w->startInput()->hasFocus());
        QVERIFY(!w->regionBox()->isEnabled());
        typeAndEnter(w->startInput(), QStringLiteral("2026-11-19"));
        typeAndEnter(w->endInput(), QStringLiteral("2026-12-18"));
        QVERIFY(w->regionBox()->hasFocus());
        chooseFocused(w->regionBox(), kEast);
        QCOMPARE(w->candidatesCaption()->text(), QStringLiteral("城关镇东区客户名单："));
        QCOMPARE(texts(w->candidateList()), (QStringList{"1100001 张记养殖场", "1100002 李家猪场"}));
        QVERIFY(!w->backAllButton()->isEnabled());

        m_app.prompter.answers = {true};
        w->startButton()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否？"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("无数据处理"));

        w->moveOneButton()->click();
        QCOMPARE(texts(w->chosenList()), QStringList{"1100001 张记养殖场"});
        w->moveAllButton()->click();
        QVERIFY(!w->moveOneButton()->isEnabled());
        QVERIFY(!w->moveAllButton()->isEnabled());
        QVERIFY(w->backOneButton()->isEnabled());
        screenshot(w, QStringLiteral("tjskhjj_dq"));

        m_app.prompter.answers = {false};
        w->startButton()->click();
        QVERIFY(!m_app.session().row(QStringLiteral("SELECT id FROM {khzqk}")));

        QList<int> progress;
        connect(w, &Tjskhjj_dq::customerStarting, this, [&] { progress << w->progressBar()->value(); });
        m_app.prompter.clear();
        w->startButton()->click();
        QCOMPARE(progress, (QList<int>{0, 1}));
        QCOMPARE(w->progressBar()->value(), 0);
        QCOMPARE(m_app.prompter.messages,
                 QStringList{QStringLiteral("客户:1100002李家猪场的鸡用浓缩料 规格：20 无记忆的政策价格，请与公司经理联系！")});
        QCOMPARE(monthRecord(a.code), QStringLiteral("10000/7000/2700/3000/300 2026-11"));
        QCOMPARE(monthRecord(b.code), QStringLiteral("1280/0/0/1280/1280 2026-11"));
        QCOMPARE(w->statusLabel()->text(), QStringLiteral("处理完毕：共 2 个客户。"));
        QVERIFY(w->startButton()->isEnabled());
    }

    void batchStopsAndFails()
    {
        SettlementRows r = rows();
        for (int i = 1; i <= 4; ++i) {
            const Customer c = r.customer(QStringLiteral("110000%1").arg(i), QStringLiteral("客户%1").arg(i), kEast);
            r.funds(c, QStringLiteral("2026-11-20"), 100 * i, 0);
        }
        Tjskhjj_dq w(m_app.ctx, nullptr);
        w.activate();
        showWindow(&w);
        typeAndEnter(w.startInput(), QStringLiteral("2026-11-19"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-12-18"));
        chooseFocused(w.regionBox(), kEast);
        w.moveAllButton()->click();

        // "停止" as the second customer comes up: the first stays settled, the rest are not reached.
        QMetaObject::Connection stop = connect(&w, &Tjskhjj_dq::customerStarting, this, [&](int i) {
            QVERIFY(w.isRunning());
            QVERIFY(!w.startButton()->isEnabled());
            QVERIFY(w.stopButton()->isEnabled());
            if (i == 1) w.stopButton()->click();
        });
        w.startButton()->click();
        disconnect(stop);
        QCOMPARE(s().scalar(QStringLiteral("SELECT COUNT(*) FROM {khzqk}")).toInt(), 1);
        QCOMPARE(w.statusLabel()->text(), QStringLiteral("已停止：已处理 1 个客户，其余 3 个未处理。"));
        QVERIFY(!w.stopButton()->isEnabled());

        // A failure at the third customer names it; the first two are settled.
        connect(&w, &Tjskhjj_dq::customerStarting, this, [&](int i) {
            if (i == 2) s().failWriteAt(2);
        });
        m_app.prompter.clear();
        w.startButton()->click();
        s().failWriteAt(0);
        QCOMPARE(m_app.prompter.messages.size(), 1);
        QVERIFY2(m_app.prompter.last().startsWith(QStringLiteral("客户1100003 客户3处理失败，批处理已停止：")),
                 qPrintable(m_app.prompter.last()));
        QVERIFY(m_app.prompter.last().endsWith(QStringLiteral("此前的2个客户已处理完毕。")));
        QCOMPARE(monthRecord(QStringLiteral("1100002")), QStringLiteral("200/0/200/200/0 2026-11"));
        QCOMPARE(monthRecord(QStringLiteral("1100003")), QStringLiteral("<none>"));
        QCOMPARE(monthRecord(QStringLiteral("1100004")), QStringLiteral("<none>"));
        QVERIFY(w.startButton()->isEnabled());
    }
};

QTEST_MAIN(TestSettlementWindows)
#include "tst_settlementwindows.moc"
