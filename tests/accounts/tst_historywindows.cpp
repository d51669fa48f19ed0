// "历史数据查询" and "历史数据修改" as a clerk uses them: conditions and
// their messages, a customer chosen by region and name or by code, a row
// picked and corrected through its inputs, and the return price page.

#include "accounts/windows/historycorrectionwindow.h"
#include "accounts/windows/historyquerywindow.h"
#include "sales/returns.h"
#include "sales/salesfixture.h"
#include "sales/turnovernumbers.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

void clickRow(Grid *grid, int row)
{
    QTableView *view = grid->view();
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

class TestHistoryWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;

    Session &s() { return m_app.session(); }
    double value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v).toDouble(); }

    qint64 sold(const QString &table, const QString &date, double kg, double price, double policy = 2800)
    {
        return s().insert(table, {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"region", "城关镇"}, {"cpdm", "n40"},
                                  {"cpmc", "猪用浓缩料"}, {"cpgg", "40"}, {"zznum", kg}, {"zzjg", price},
                                  {"zzje", price * kg / 1000}, {"zcjg", policy}, {"tlnum", 0.0}, {"kpjg", 0.0},
                                  {"kpje", 0.0}, {"bz_1", "1"}, {"bz_3", "0"}, {"rq_1", date}, {"recnum", 1},
                                  {"czydm", "admin"}, {"zzhm", "1001"}});
    }
    ReturnResult linkedReturn(double kg)
    {
        Returns r(s(), m_app.clock, QStringLiteral("admin"));
        const Purchase p = r.purchases(QStringLiteral("1100001"), QStringLiteral("2026-11-19"), QStringLiteral("2026-12-10")).front();
        return r.confirm(*r.customer(QStringLiteral("1100001")), r.prepare(p, 1, QStringLiteral("大包"), kg),
                         QStringLiteral("2026-12-10"));
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        loadSalesFixture(s());
        TurnoverNumbers(s()).initialise(QStringLiteral("1000"));
        s().execute(QStringLiteral("UPDATE {velcpzk} SET scsl = 1000"));
    }

    void historyQuery()
    {
        sold(QStringLiteral("his_sale1"), QStringLiteral("2025-05-20"), 1000, 3000);
        sold(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), 2000, 3000);
        Tlssjcx w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.salesButton()->isChecked());
        QVERIFY(!w.printButton()->isEnabled());
        QCOMPARE(w.regionBox()->itemText(0), QStringLiteral("所有地区"));

        w.queryButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("必须至少选择一个条件！"));
        choose(w.regionBox(), QStringLiteral("城关镇"));
        QCOMPARE(w.customerBox()->count(), 3);
        w.queryButton()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入日期!"));
        QVERIFY(w.fromField()->hasFocus());

        choose(w.customerBox(), QStringLiteral("张记养殖场"));
        typeAndEnter(w.fromField(), QStringLiteral("2025-01-01"));
        typeAndEnter(w.toField(), QStringLiteral("2026-12-31"));
        QVERIFY(w.queryButton()->hasFocus());
        pressEnter(w.queryButton());
        QCOMPARE(w.historyGrid()->rowCount(), 1);
        QCOMPARE(w.currentGrid()->rowCount(), 1);
        QCOMPARE(w.quantityTotal()->text(), QStringLiteral("3"));
        QCOMPARE(w.amountTotal()->text(), QStringLiteral("0.9"));
        screenshot(&w, QStringLiteral("history-query"));

        w.returnsButton()->setChecked(true);
        w.queryButton()->click();
        QCOMPARE(w.historyGrid()->rowCount(), 0);
        QCOMPARE(w.quantityTotal()->text(), QStringLiteral("0"));
    }

    void fundsRowCorrectedThroughTheInputs()
    {
        const qint64 row = s().insert(QStringLiteral("khzj"), {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"region", "城关镇"},
                                                               {"ysje", 6000.0}, {"sjje", 1000.0}, {"sqje", 5000.0},
                                                               {"sjxl", 2000.0}, {"rq", "2026-11-20"}});
        Tlsxj_xg w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        SalesCorrectionPage *p = w.salesPage();
        QVERIFY(p->modeButton(SalesCorrectionPage::Mode::Funds)->isChecked());
        QVERIFY(p->customerField()->hasFocus());
        QVERIFY(!p->confirmButton()->isEnabled());

        // The customer by region and name: the name gives the code.
        choose(p->regionBox(), QStringLiteral("城关镇"));
        choose(p->customerBox(), QStringLiteral("张记养殖场"));
        QCOMPARE(p->customerField()->text(), QStringLiteral("1100001"));
        QVERIFY(p->fromField()->hasFocus());
        typeAndEnter(p->fromField(), QStringLiteral("2026-11-19"));
        pressEnter(p->toField()); // empty: today
        QCOMPARE(p->toField()->text(), QStringLiteral("2026-12-10"));
        QCOMPARE(p->fundsGrid()->rowCount(), 1);
        QCOMPARE(p->receivableTotal()->text(), QStringLiteral("6000"));
        QCOMPARE(p->owedTotal()->text(), QStringLiteral("5000"));

        clickRow(p->fundsGrid(), 0);
        QCOMPARE(p->receivableField()->text(), QStringLiteral("6000"));
        QVERIFY(p->receivableField()->hasFocus());
        QVERIFY(!p->receivedField()->isEnabled());
        pressEnter(p->receivableField());
        typeAndEnter(p->receivedField(), QStringLiteral("abc"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入正确的数字！"));
        QVERIFY(!p->confirmButton()->isEnabled());
        typeAndEnter(p->receivedField(), QStringLiteral("1500"));
        typeAndEnter(p->owedField(), QString()); // empty: 0
        QCOMPARE(p->owedField()->text(), QStringLiteral("0"));
        QVERIFY(p->confirmButton()->hasFocus());
        screenshot(&w, QStringLiteral("history-correction-funds"));
        pressEnter(p->confirmButton());
        QCOMPARE(value(QStringLiteral("SELECT sjje FROM {khzj} WHERE id = ?"), {row}), 1500.0);
        QCOMPARE(value(QStringLiteral("SELECT sqje FROM {khzj} WHERE id = ?"), {row}), 0.0);
        QCOMPARE(p->receivedTotal()->text(), QStringLiteral("1500"));
        QVERIFY(p->receivableField()->text().isEmpty());
        QVERIFY(p->fundsGrid()->view()->hasFocus());

        // The row went away meanwhile.
        clickRow(p->fundsGrid(), 0);
        s().execute(QStringLiteral("DELETE FROM {khzj}"));
        pressEnter(p->receivableField());
        pressEnter(p->receivedField());
        pressEnter(p->owedField());
        pressEnter(p->confirmButton());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("未找到要修改的记录！"));
    }

    void linesCorrectedInEachMode()
    {
        const qint64 issue = sold(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), 2000, 3000);
        const qint64 second = sold(QStringLiteral("sale1"), QStringLiteral("2026-11-21"), 1000, 3000);
        const ReturnResult ret = linkedReturn(500);
        Tlsxj_xg w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        SalesCorrectionPage *p = w.salesPage();
        typeAndEnter(p->customerField(), QStringLiteral("1100001"));
        QCOMPARE(p->customerBox()->currentText(), QStringLiteral("张记养殖场"));
        QCOMPARE(p->regionBox()->currentText(), QStringLiteral("城关镇"));
        typeAndEnter(p->fromField(), QStringLiteral("2026-11-19"));
        typeAndEnter(p->toField(), QStringLiteral("2026-12-18"));

        // Issues: quantity and price; the amount follows the price.
        p->modeButton(SalesCorrectionPage::Mode::Issues)->click();
        QVERIFY(p->hint()->isVisible());
        QCOMPARE(p->linesGrid()->rowCount(), 2);
        clickRow(p->linesGrid(), 0);
        QVERIFY(p->quantityField()->hasFocus());
        QVERIFY(!p->policyField()->isEnabled());
        typeAndEnter(p->quantityField(), QStringLiteral("1500"));
        typeAndEnter(p->priceField(), QStringLiteral("2900"));
        QCOMPARE(p->amountField()->text(), QStringLiteral("4350"));
        pressEnter(p->confirmButton());
        QCOMPARE(value(QStringLiteral("SELECT zzje FROM {sale1} WHERE id = ?"), {issue}), 4350.0);

        // Returns: the labels say so; the stock follows the quantity.
        p->modeButton(SalesCorrectionPage::Mode::Returns)->click();
        QVERIFY(!p->hint()->isVisible());
        QCOMPARE(p->priceLabel()->text(), QStringLiteral("退料价格："));
        QCOMPARE(p->amountLabel()->text(), QStringLiteral("退料金额："));
        QCOMPARE(p->linesGrid()->rowCount(), 1);
        clickRow(p->linesGrid(), 0);
        QCOMPARE(p->quantityField()->text(), QStringLiteral("500"));
        typeAndEnter(p->quantityField(), QStringLiteral("400"));
        pressEnter(p->priceField());
        QCOMPARE(p->amountField()->text(), QStringLiteral("1200"));
        QVERIFY(p->policyField()->hasFocus());
        pressEnter(p->policyField());
        screenshot(&w, QStringLiteral("history-correction-return"));
        pressEnter(p->confirmButton());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("客户退料已处理，请修改该客户回款！"));
        QCOMPARE(value(QStringLiteral("SELECT tlje FROM {khtl} WHERE id = ?"), {ret.registerId}), 1200.0);
        QCOMPARE(value(QStringLiteral("SELECT scsl FROM {velcpzk} WHERE cpdm = 'n40'")), 1400.0);

        // Policy prices: asked whether the price row follows, before writing.
        p->modeButton(SalesCorrectionPage::Mode::PolicyPrices)->click();
        clickRow(p->linesGrid(), 1);
        QVERIFY(p->policyField()->hasFocus());
        QVERIFY(!p->quantityField()->isEnabled());
        m_app.prompter.answers = {true};
        typeAndEnter(p->policyField(), QStringLiteral("2750"));
        pressEnter(p->confirmButton());
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("是否回写客户价格库?"));
        QCOMPARE(value(QStringLiteral("SELECT zcjg FROM {sale1} WHERE id = ?"), {issue}), 2750.0);
        QCOMPARE(value(QStringLiteral("SELECT zcjg FROM {sale1} WHERE id = ?"), {second}), 2750.0);
        QCOMPARE(value(QStringLiteral("SELECT fhll FROM {khprice} WHERE khdm = '1100001' AND cpdm = 'n40'")), 2750.0);

        // "放弃" clears the inputs.
        clickRow(p->linesGrid(), 0);
        p->cancelButton()->click();
        QVERIFY(p->policyField()->text().isEmpty());
        QVERIFY(!p->confirmButton()->isEnabled());
    }

    void returnPricePage()
    {
        sold(QStringLiteral("sale1"), QStringLiteral("2026-11-20"), 2000, 3000);
        const ReturnResult ret = linkedReturn(500);
        Tlsxj_xg w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.tabs()->setCurrentIndex(1);
        ReturnPricePage *p = w.returnPricePage();
        typeAndEnter(p->customerField(), QStringLiteral("1100001"));
        QCOMPARE(p->customerName()->text(), QStringLiteral("张记养殖场"));
        QCOMPARE(p->regionField()->text(), QStringLiteral("城关镇"));
        typeAndEnter(p->fromField(), QStringLiteral("2026-11-19"));
        pressEnter(p->toField());
        QCOMPARE(p->grid()->rowCount(), 1);
        clickRow(p->grid(), 0);
        QCOMPARE(p->productField()->text(), QStringLiteral("猪用浓缩料"));
        QCOMPARE(p->priceField()->text(), QStringLiteral("3000"));
        m_app.prompter.answers = {false};
        typeAndEnter(p->priceField(), QStringLiteral("2900"));
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认修改?"));
        QCOMPARE(value(QStringLiteral("SELECT tlprice FROM {khtl} WHERE id = ?"), {ret.registerId}), 3000.0);
        m_app.prompter.answers = {true};
        pressEnter(p->priceField());
        QCOMPARE(value(QStringLiteral("SELECT tlje FROM {khtl} WHERE id = ?"), {ret.registerId}), 1450.0);
        QCOMPARE(value(QStringLiteral("SELECT kpje FROM {sale1} WHERE id = ?"), {ret.saleId}), 1450.0);
        QCOMPARE(p->grid()->rowCount(), 1);
        QVERIFY(p->priceField()->text().isEmpty());
        screenshot(&w, QStringLiteral("history-correction-return-price"));
    }
};

QTEST_MAIN(TestHistoryWindows)
#include "tst_historywindows.moc"
