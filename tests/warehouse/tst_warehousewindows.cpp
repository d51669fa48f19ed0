// The raw-material windows as a new clerk uses them: a material registered,
// received from a new supplier, issued to a team's worker, the supplier paid
// and the receipt corrected; stock, price and payables agree.

#include "common/numbertext.h"
#include "shell/functions.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"
#include "warehouse/materials.h"
#include "warehouse/windows/tadd_yl.h"
#include "warehouse/windows/todaylists.h"
#include "warehouse/windows/trkxg.h"
#include "warehouse/windows/tylgl.h"
#include "warehouse/windows/tylxz.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

void open(FunctionWindow &w)
{
    w.activate();
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

double scalar(Session &s, const QString &sql, const Values &v = {})
{
    return s.scalar(sql, v).toDouble();
}

} // namespace

class TestWarehouseWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;

    Session &s() { return m_app.session(); }

    void addTeamWorker()
    {
        s().insert(QStringLiteral("bzzl"), {{"bzdm", "01"}, {"bzmc", "一班"}, {"msdm", " "}, {"msmc", " "}, {"scpc", 0}});
        s().insert(QStringLiteral("bzry"), {{"rydm", "w0001"}, {"rymc", "张三"}, {"bzdm", "01"}, {"rq", "2026-01-01"}});
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init() { m_app.reset(); }

    void functionsOpenTheirWindows()
    {
        WindowRegistry registry(m_app.ctx, nullptr);
        QVERIFY(qobject_cast<Tylgl *>(registry.window(number(Fn::MaterialInOut))));
        QVERIFY(qobject_cast<Tadd_yl *>(registry.window(number(Fn::MaterialAdd))));
        QVERIFY(qobject_cast<Tylxz *>(registry.window(number(Fn::MaterialCorrection))));
    }

    // The whole day of a new clerk.
    void materialFromRegisterToCorrection()
    {
        addTeamWorker();

        // 1. The material.
        Tadd_yl add(m_app.ctx, nullptr);
        open(add);
        QVERIFY(!add.code()->isEnabled());
        add.ordinary()->click();
        QVERIFY(add.code()->hasFocus());
        typeAndEnter(add.code(), QStringLiteral("YM01"));
        QCOMPARE(add.code()->text(), QStringLiteral("ym01"));
        QVERIFY(add.name()->hasFocus());
        typeAndEnter(add.name(), QStringLiteral("玉米"));
        QVERIFY(add.factor(1)->hasFocus());
        add.bulk()->click();
        QCOMPARE(add.flag()->text(), QStringLiteral("1"));
        typeAndEnter(add.factor(1), QStringLiteral("86"));
        typeAndEnter(add.factor(2), QStringLiteral("8.7"));
        QVERIFY(add.factor(3)->hasFocus());
        typeAndEnter(add.factor(3), QStringLiteral("abc"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入正确的数字！"));
        QVERIFY(add.factor(3)->hasFocus());
        // Enter through the rest, in the order s3 .. s21, s32 .. s38, s22 .. s31.
        add.factor(3)->setText(QStringLiteral("3.5"));
        QList<int> order;
        for (int n = 3; n <= 21; ++n) order << n;
        for (int n = 32; n <= 38; ++n) order << n;
        for (int n = 22; n <= 31; ++n) order << n;
        for (int n : order) {
            QVERIFY2(add.factor(n)->hasFocus(), qPrintable(QStringLiteral("s%1").arg(n)));
            pressEnter(add.factor(n));
        }
        QVERIFY(add.confirm()->hasFocus());
        QVERIFY(add.confirm()->isEnabled());
        screenshot(&add, QStringLiteral("warehouse-material-add"));
        add.confirm()->click();
        const auto corn = findMaterial(s(), QStringLiteral("ym01"));
        QVERIFY(corn);
        QCOMPARE(corn->name, QStringLiteral("玉米"));
        QCOMPARE(corn->flag, QStringLiteral("1"));
        QCOMPARE(s().scalar(QStringLiteral("SELECT s2 FROM {ylpzk} WHERE id = ?"), {corn->id}).toDouble(), 8.7);
        QVERIFY(!add.code()->isEnabled());
        QVERIFY(!add.confirm()->isEnabled());
        QVERIFY(!add.ordinary()->isChecked());
        // The same code again.
        add.ordinary()->click();
        typeAndEnter(add.code(), QStringLiteral("ym01"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该代码已经存在！重新输入。"));
        QVERIFY(add.code()->text().isEmpty());
        add.close();

        // 2. Received from a new supplier.
        Tylgl desk(m_app.ctx, nullptr);
        open(desk);
        ReceiptPanel *r = desk.receipt();
        QVERIFY(!r->code()->isEnabled());
        QVERIFY(!desk.issue()->code()->isEnabled());
        desk.receiptMode()->click();
        QVERIFY(r->code()->hasFocus());
        typeAndEnter(r->code(), QStringLiteral("nothing"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("原料代码错误，重新输入！"));
        QVERIFY(r->code()->text().isEmpty());
        typeAndEnter(r->code(), QStringLiteral("ym01"));
        QCOMPARE(r->names()->currentText(), QStringLiteral("玉米"));
        QCOMPARE(r->grade()->text(), QStringLiteral("1"));
        QVERIFY(r->suppliers()->hasFocus());
        pressEnter(r->suppliers()); // no supplier yet: the new-supplier panel
        SupplierPanel *sp = r->newSupplier();
        QVERIFY(sp->isVisible());
        QVERIFY(sp->code()->hasFocus());
        typeAndEnter(sp->code(), QStringLiteral("g01"));
        typeAndEnter(sp->name(), QStringLiteral("粮站"));
        pressEnter(sp->address());
        screenshot(&desk, QStringLiteral("warehouse-new-supplier"));
        pressEnter(sp->phone());
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否?"));
        QVERIFY(!sp->isVisible());
        QCOMPARE(r->suppliers()->currentText(), QStringLiteral("粮站"));
        QCOMPARE(r->supplierCode()->text(), QStringLiteral("g01"));
        QVERIFY(r->contract()->hasFocus());
        pressEnter(r->contract());
        typeAndEnter(r->tonnes(), QStringLiteral("10"));
        typeAndEnter(r->price(), QStringLiteral("2000"));
        QCOMPARE(r->amount()->text(), QStringLiteral("20000"));
        QVERIFY(r->paid()->hasFocus());
        typeAndEnter(r->paid(), QStringLiteral("5000"));
        QCOMPARE(r->owed()->text(), QStringLiteral("15000"));
        QVERIFY(r->confirm()->hasFocus());
        screenshot(&desk, QStringLiteral("warehouse-receipt"));
        pressEnter(r->confirm());
        QCOMPARE(desk.paidTotal()->text(), QStringLiteral("0.5"));
        QCOMPARE(desk.receivedTotal()->text(), QStringLiteral("10"));
        QVERIFY(r->code()->hasFocus());
        QVERIFY(r->code()->text().isEmpty());
        QVERIFY(!r->confirm()->isEnabled());
        const qint64 receiptId = s().scalar(QStringLiteral("SELECT id FROM {ylrkmx}")).toLongLong();

        // 3. Part of it issued to the team's worker.
        IssuePanel *i = desk.issue();
        desk.issueMode()->click();
        QVERIFY(!r->code()->isEnabled());
        QVERIFY(i->code()->hasFocus());
        choose(i->names(), QStringLiteral("玉米"));
        QCOMPARE(i->code()->text(), QStringLiteral("ym01"));
        QVERIFY(i->tonnes()->hasFocus());
        typeAndEnter(i->tonnes(), QStringLiteral("4"));
        typeAndEnter(i->worker(), QStringLiteral("x"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("人员代码错误！"));
        QVERIFY(i->worker()->hasFocus());
        typeAndEnter(i->worker(), QStringLiteral("W0001"));
        QCOMPARE(i->workerName()->text(), QStringLiteral("张三"));
        QCOMPARE(i->team()->text(), QStringLiteral("01"));
        typeAndEnter(i->remark(), QStringLiteral("一车间"));
        QVERIFY(i->confirm()->hasFocus());
        screenshot(&desk, QStringLiteral("warehouse-issue"));
        pressEnter(i->confirm());
        QCOMPARE(desk.issueCount()->text(), QStringLiteral("1"));
        QCOMPARE(desk.issuedTotal()->text(), QStringLiteral("4"));
        // More than is left.
        typeAndEnter(i->code(), QStringLiteral("ym01"));
        typeAndEnter(i->tonnes(), QStringLiteral("7"));
        typeAndEnter(i->worker(), QStringLiteral("w0001"));
        pressEnter(i->remark());
        pressEnter(i->confirm());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("玉米库存数量不够！"));
        QVERIFY(i->code()->hasFocus());
        QCOMPARE(desk.issueCount()->text(), QStringLiteral("1"));
        i->cancel()->click();

        // 4. The supplier paid.
        FundsPanel *f = desk.funds();
        desk.fundsMode()->click();
        typeAndEnter(f->code(), QStringLiteral("g9"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("供应商代码错误，重新输入！"));
        QVERIFY(!f->paid()->isEnabled());
        typeAndEnter(f->code(), QStringLiteral("G01"));
        QCOMPARE(f->suppliers()->currentText(), QStringLiteral("粮站"));
        QCOMPARE(f->payable()->text(), QStringLiteral("0"));
        typeAndEnter(f->paid(), QStringLiteral("10000"));
        QVERIFY(f->confirm()->hasFocus());
        screenshot(&desk, QStringLiteral("warehouse-payment"));
        pressEnter(f->confirm());
        QCOMPARE(f->paid()->text(), QStringLiteral("0"));
        QVERIFY(f->code()->hasFocus());

        // Today's lists.
        Trk_cx receipts(m_app.ctx, nullptr);
        open(receipts);
        QCOMPARE(receipts.grid()->rowCount(), 1);
        screenshot(&receipts, QStringLiteral("warehouse-today-receipts"));
        Tzj_cx funds(m_app.ctx, nullptr);
        open(funds);
        QCOMPARE(funds.grid()->rowCount(), 2);

        // 5. The receipt corrected: 9 000 kg at 2 100 instead of 10 t at 2 000.
        Trkxg *c = desk.correction();
        open(*c);
        QVERIFY(c->from()->hasFocus());
        pressEnter(c->from()); // blank: stays
        QVERIFY(c->from()->hasFocus());
        QTest::keyClicks(c->from(), QStringLiteral("20261201"));
        QCOMPARE(c->from()->date(), QDate(2026, 12, 1));
        pressEnter(c->from());
        QVERIFY(c->to()->hasFocus());
        QTest::keyClicks(c->to(), QStringLiteral("20261210"));
        pressEnter(c->to());
        QCOMPARE(c->grid()->rowCount(), 1);
        c->choose(receiptId);
        QCOMPARE(c->kilograms()->text(), QStringLiteral("10000"));
        QCOMPARE(c->price()->text(), QStringLiteral("2000"));
        QVERIFY(c->newSupplierName()->hasFocus());
        pressEnter(c->newSupplierName());
        pressEnter(c->newMaterialName());
        typeAndEnter(c->newKilograms(), QStringLiteral("9000"));
        typeAndEnter(c->newPrice(), QStringLiteral("2100"));
        QCOMPARE(c->newPayable()->text(), QStringLiteral("18900"));
        QVERIFY(c->newPaid()->hasFocus());
        pressEnter(c->newPaid());
        QCOMPARE(c->newOwed()->text(), QStringLiteral("13900"));
        QVERIFY(c->confirm()->hasFocus());
        screenshot(c, QStringLiteral("warehouse-receipt-correction"));
        m_app.prompter.answers = {false};
        pressEnter(c->confirm());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("你已经放弃修改！"));
        QCOMPARE(scalar(s(), QStringLiteral("SELECT ylsl FROM {ylrkmx}")), 10000.0);
        QVERIFY(c->from()->hasFocus());
        c->choose(receiptId);
        pressEnter(c->newSupplierName());
        pressEnter(c->newMaterialName());
        typeAndEnter(c->newKilograms(), QStringLiteral("9000"));
        typeAndEnter(c->newPrice(), QStringLiteral("2100"));
        pressEnter(c->newPaid());
        m_app.prompter.questions.clear();
        pressEnter(c->confirm());
        QCOMPARE(m_app.prompter.questions, QStringList{QStringLiteral("是否确认修改？")});
        QVERIFY(!c->confirm()->isEnabled());
        c->close();

        // The arithmetic: 6 000 kg at 2 000 held, the receipt's 20 000 replaced
        // by 18 900 over 1 000 kg less.
        const auto stock = findStock(s(), QStringLiteral("ym01"));
        QCOMPARE(stock->kilograms, 5000.0);
        QVERIFY(qAbs(stock->pricePerTonne - 2180.0) < 1e-9);
        QVERIFY(qAbs(findMaterial(s(), QStringLiteral("ym01"))->price - 2.0) < 1e-12);
        QCOMPARE(scalar(s(), QStringLiteral("SELECT SUM(yfje) - SUM(sfje) FROM {gyszjk} WHERE gysdm = 'g01'")), 3900.0);
        QCOMPARE(scalar(s(), QStringLiteral("SELECT SUM(ylje) FROM {ylckmx}")), 8000.0);
    }

    void amountOnlyReceipt()
    {
        s().insert(QStringLiteral("ylpzk"), {{"yldm", "ym01"}, {"ylmc", "玉米"}, {"descip", "1"}, {"s0", 2.0}});
        s().insert(QStringLiteral("ylhzk"), {{"yldm", "ym01"}, {"ylmc", "玉米"}, {"yldj", "1"}, {"ylsl", 2000.0},
                                             {"yljg", 2000.0}});
        s().insert(QStringLiteral("gyszlk"), {{"gysdm", "g01"}, {"gysmc", "粮站"}});
        Tylgl desk(m_app.ctx, nullptr);
        open(desk);
        ReceiptPanel *r = desk.receipt();
        desk.receiptMode()->click();
        typeAndEnter(r->code(), QStringLiteral("ym01"));
        choose(r->suppliers(), QStringLiteral("粮站"));
        QVERIFY(r->contract()->hasFocus());
        pressEnter(r->contract());
        pressEnter(r->tonnes()); // empty: 0
        QCOMPARE(r->tonnes()->text(), QStringLiteral("0"));
        pressEnter(r->price()); // empty too: the amount is typed
        QCOMPARE(r->price()->text(), QStringLiteral("0"));
        QVERIFY(r->amount()->hasFocus());
        QVERIFY(!r->amount()->isReadOnly());
        typeAndEnter(r->amount(), QStringLiteral("500"));
        QCOMPARE(r->paid()->text(), QStringLiteral("0"));
        QCOMPARE(r->owed()->text(), QStringLiteral("500"));
        QVERIFY(r->confirm()->hasFocus());
        pressEnter(r->confirm());
        QCOMPARE(findStock(s(), QStringLiteral("ym01"))->pricePerTonne, 2250.0);
        QVERIFY(r->amount()->isReadOnly());
        QCOMPARE(desk.receivedTotal()->text(), QStringLiteral("0"));
    }

    void stockCorrectionWindow()
    {
        s().insert(QStringLiteral("ylpzk"), {{"yldm", "ym01"}, {"ylmc", "玉米"}, {"descip", "1"}, {"s0", 2.0}});
        const qint64 id = s().insert(QStringLiteral("ylhzk"), {{"yldm", "ym01"}, {"ylmc", "玉米"}, {"yldj", "1"},
                                                               {"ylsl", 2000.0}, {"yljg", 2000.0}});
        Tylxz w(m_app.ctx, nullptr);
        open(w);
        QCOMPARE(w.grid()->rowCount(), 1);
        QVERIFY(w.materials()->hasFocus());
        choose(w.materials(), QStringLiteral("玉米"));
        QCOMPARE(w.code()->text(), QStringLiteral("ym01"));
        QCOMPARE(w.kilograms()->text(), QStringLiteral("2000"));
        QVERIFY(w.newName()->hasFocus());
        typeAndEnter(w.newName(), QStringLiteral("黄玉米"));
        typeAndEnter(w.kilograms(), QStringLiteral("1800"));
        pressEnter(w.price());
        typeAndEnter(w.newFlag(), QStringLiteral("5"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("原料标志只能是0、1或2！"));
        typeAndEnter(w.newFlag(), QStringLiteral("0"));
        QVERIFY(w.confirm()->hasFocus());
        screenshot(&w, QStringLiteral("warehouse-stock-correction"));
        pressEnter(w.confirm());
        const auto row = stockById(s(), id);
        QCOMPARE(row->name, QStringLiteral("黄玉米"));
        QCOMPARE(row->kilograms, 1800.0);
        QCOMPARE(row->flag, QStringLiteral("0"));
        QCOMPARE(findMaterial(s(), QStringLiteral("ym01"))->name, QStringLiteral("黄玉米"));
        QCOMPARE(w.grid()->textAt(0, 1), QStringLiteral("黄玉米"));
        QCOMPARE(w.materials()->itemText(0), QStringLiteral("黄玉米"));
        QVERIFY(!w.confirm()->isEnabled());
        QCOMPARE(w.kilograms()->text(), QStringLiteral("0"));
        QVERIFY(w.materials()->hasFocus());
    }

    void premixFromTheList()
    {
        s().insert(QStringLiteral("price"), {{"cpdm", "PX10"}, {"cpmc", "PX-10"}, {"cpgg", "25kg"}, {"cpbz", "2"}});
        Tadd_yl add(m_app.ctx, nullptr);
        open(add);
        add.existingPremix()->click();
        QVERIFY(add.premixList()->isVisible());
        QVERIFY(!add.name()->isVisible());
        QCOMPARE(add.premixList()->currentText(), QStringLiteral("PX-10         25kg"));
        pressEnter(add.premixList());
        QCOMPARE(add.code()->text(), QStringLiteral("px10"));
        QCOMPARE(add.flag()->text(), QStringLiteral("2"));
        QCOMPARE(add.flagCaption()->text(), QStringLiteral("产品标志："));
        QVERIFY(add.factor(1)->hasFocus());
        screenshot(&add, QStringLiteral("warehouse-premix"));
        while (!add.confirm()->hasFocus()) pressEnter(QApplication::focusWidget());
        add.confirm()->click();
        QCOMPARE(findMaterial(s(), QStringLiteral("px10"))->name, QStringLiteral("PX-10"));
        QCOMPARE(add.flagCaption()->text(), QStringLiteral("原料标志："));
        // Twice: refused when chosen.
        add.existingPremix()->click();
        pressEnter(add.premixList());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该代码已经存在！重新输入。"));
    }
};

QTEST_MAIN(TestWarehouseWindows)
#include "tst_warehousewindows.moc"
