// The supplier windows and the raw-material query window: what a clerk
// types, what is shown and what is printed.

#include "reports/reportdocument.h"
#include "shell/functions.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"
#include "warehouse/materialdesk.h"
#include "warehouse/suppliers.h"
#include "warehouse/windows/supplierwindows.h"
#include "warehouse/windows/tylcx.h"
#include "warehouse/windows/warehousefields.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
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

} // namespace

class TestSupplierWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;
    QStringList m_previewed; // titles of the documents shown
    QStringList m_printed;
    QString m_lastDocument;

    Session &s() { return m_app.session(); }

    void setDay(int month, int day) { m_app.clock.set(QDateTime(QDate(2026, month, day), QTime(10, 0))); }

    // g01 owes 5 000 (20 000 received, 5 000 paid on receipt, 10 000 later);
    // g02 was paid in full; a premix and corn in stock.
    void fixture()
    {
        for (auto [code, name] : {std::pair{"g01", "粮站"}, std::pair{"g02", "饲料厂"}})
            s().insert(QStringLiteral("gyszlk"), {{"gysdm", code}, {"gysmc", name}, {"gysaddr", "城东"}, {"gystel", " "},
                                                  {"gysbz", "1"}});
        s().insert(QStringLiteral("ylpzk"), {{"yldm", "yumi"}, {"ylmc", "玉米"}, {"descip", "1"}, {"s0", 0.0}});
        s().insert(QStringLiteral("ylpzk"), {{"yldm", "px10"}, {"ylmc", "预混料"}, {"descip", "2"}, {"s0", 0.0}});
        s().insert(QStringLiteral("bzry"), {{"rydm", "w0001"}, {"rymc", "张三"}, {"bzdm", "01"}, {"rq", "2026-01-01"}});
        MaterialDesk d(s(), m_app.clock, QStringLiteral("admin"));
        setDay(12, 1);
        d.receive({QStringLiteral("yumi"), QStringLiteral("g01"), QString(), 2, 10000, false, 0, 5000});
        d.receive({QStringLiteral("px10"), QStringLiteral("g02"), QString(), 3.5, 1000, false, 0, 3500});
        d.issue({QStringLiteral("yumi"), 0.5, QStringLiteral("w0001"), QString(), IssueKind::Production});
        d.issue({QStringLiteral("px10"), 1, QStringLiteral("w0001"), QString(), IssueKind::Sale});
        setDay(12, 5);
        d.pay(QStringLiteral("g01"), 10000);
        setDay(12, 10);
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        setDay(12, 10);
        m_previewed.clear();
        m_printed.clear();
        m_app.ctx.preview = [this](QWidget *, const ReportDocument &d) {
            m_previewed << d.name();
            m_lastDocument = d.toText();
        };
        m_app.ctx.printDirect = [this](QWidget *, const ReportDocument &d) { m_printed << d.name(); };
    }

    void functionsOpenTheirWindows()
    {
        WindowRegistry registry(m_app.ctx, nullptr);
        QVERIFY(qobject_cast<Tgysgl *>(registry.window(number(Fn::Suppliers))));
        QVERIFY(qobject_cast<Tgyszjcl *>(registry.window(number(Fn::SupplierFunds))));
        QVERIFY(qobject_cast<Tgys_cx *>(registry.window(number(Fn::SupplierArrearsQuery))));
        QVERIFY(qobject_cast<Tylcx *>(registry.window(number(Fn::MaterialQuery))));
        QCOMPARE(registry.window(number(Fn::MaterialQuery)), registry.window(number(Fn::MaterialQueryWarehouse)));
    }

    void supplierRegister()
    {
        fixture();
        Tgysgl w(m_app.ctx, nullptr);
        open(w);
        QVERIFY(w.addMode()->isChecked());
        QVERIFY(w.code()->hasFocus());
        QCOMPARE(w.grid()->rowCount(), 2);

        // Adding.
        typeAndEnter(w.code(), QStringLiteral("G01"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该供应商代码已经存在，不能增加！"));
        QVERIFY(!w.name()->isEnabled());
        typeAndEnter(w.code(), QStringLiteral("g03"));
        QCOMPARE(w.confirm()->text(), QStringLiteral("确认增加"));
        typeAndEnter(w.name(), QStringLiteral("油厂"));
        pressEnter(w.address()); // empty: stays
        QVERIFY(w.address()->hasFocus());
        typeAndEnter(w.address(), QStringLiteral("城南"));
        pressEnter(w.phone());
        QVERIFY(w.confirm()->hasFocus());
        screenshot(&w, QStringLiteral("supplier-register-add"));
        pressEnter(w.confirm());
        QVERIFY(findSupplier(s(), QStringLiteral("g03")));
        QCOMPARE(w.grid()->rowCount(), 3);
        QCOMPARE(w.confirm()->text(), QStringLiteral("确认"));
        QVERIFY(!w.confirm()->isEnabled());

        // Deleting: the list blinks until a supplier is clicked; one that is owed stays.
        w.deleteMode()->click();
        QVERIFY(w.blinking());
        w.choose(findSupplier(s(), QStringLiteral("g01"))->id);
        QVERIFY(!w.blinking());
        QCOMPARE(w.name()->text(), QStringLiteral("粮站"));
        QCOMPARE(w.confirm()->text(), QStringLiteral("确认删除"));
        pressEnter(w.confirm());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该供应商还有欠款，不能删除！"));
        QVERIFY(findSupplier(s(), QStringLiteral("g01")));
        // A typed code finds the supplier too.
        w.deleteMode()->click();
        typeAndEnter(w.code(), QStringLiteral("G03"));
        QCOMPARE(w.confirm()->text(), QStringLiteral("确认删除"));
        pressEnter(w.confirm());
        QVERIFY(!findSupplier(s(), QStringLiteral("g03")));
        QVERIFY(w.addMode()->isChecked());

        // Changing: not to another supplier's code.
        w.changeMode()->click();
        QVERIFY(!w.code()->isEnabled());
        w.choose(findSupplier(s(), QStringLiteral("g02"))->id);
        QCOMPARE(w.confirm()->text(), QStringLiteral("确认修改"));
        QVERIFY(w.name()->hasFocus());
        w.code()->setText(QStringLiteral("g01"));
        typeAndEnter(w.name(), QStringLiteral("饲料二厂"));
        pressEnter(w.address());
        pressEnter(w.phone());
        screenshot(&w, QStringLiteral("supplier-register-change"));
        pressEnter(w.confirm());
        QCOMPARE(m_app.prompter.last(), QStringLiteral("该供应商代码已经存在，不能修改！"));
        w.code()->setText(QStringLiteral("g02"));
        pressEnter(w.confirm());
        QCOMPARE(findSupplier(s(), QStringLiteral("g02"))->name, QStringLiteral("饲料二厂"));
    }

    void fundProcessing()
    {
        fixture();
        Tgyszjcl w(m_app.ctx, nullptr);
        open(w);
        QCOMPARE(w.suppliers()->currentText(), QStringLiteral("全部"));
        QVERIFY(EnterChain::isBlank(w.from()));
        w.process()->click();
        QCOMPARE(w.grid()->rowCount(), 2);
        QCOMPARE(w.payable()->text(), QStringLiteral("2.35")); // 20 000 + 3 500
        QCOMPARE(w.paid()->text(), QStringLiteral("1.85"));
        QCOMPARE(w.owed()->text(), QStringLiteral("0.5"));
        screenshot(&w, QStringLiteral("supplier-funds"));
        // One supplier.
        choose(w.suppliers(), QStringLiteral("饲料厂"));
        w.process()->click();
        QCOMPARE(w.grid()->rowCount(), 1);
        QCOMPARE(w.owed()->text(), QStringLiteral("0"));
        w.print()->click();
        QCOMPARE(m_previewed, QStringList{QStringLiteral("供应商欠款汇总报表")});
        // No end date.
        setBlank(w.to());
        w.process()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("输入截止日期！"));
    }

    void fundQuery()
    {
        fixture();
        Tgys_cx w(m_app.ctx, nullptr);
        open(w);
        QVERIFY(w.detailMode()->isChecked());
        QVERIFY(!w.query()->isEnabled());
        choose(w.suppliers(), QStringLiteral("粮站"));
        QVERIFY(w.from()->hasFocus());
        pressEnter(w.from());
        pressEnter(w.to());
        QVERIFY(w.query()->hasFocus());
        pressEnter(w.query());
        QCOMPARE(w.detailGrid()->rowCount(), 2);
        QCOMPARE(w.payable()->text(), QStringLiteral("2"));
        QCOMPARE(w.paid()->text(), QStringLiteral("1.5"));
        QCOMPARE(w.owed()->text(), QStringLiteral("0.5"));
        screenshot(&w, QStringLiteral("supplier-arrears"));
        w.print()->click();
        QCOMPARE(m_previewed.last(), QStringLiteral("供应商欠款明细"));
        w.statement()->click();
        QCOMPARE(m_previewed.last(), QStringLiteral("供应商对帐单"));
        QVERIFY(m_lastDocument.contains(QStringLiteral("期末欠款：5,000.00")));

        // Every supplier: the payment counts here too.
        w.queryAll()->click();
        QCOMPARE(w.detailGrid()->rowCount(), 3);
        QCOMPARE(w.owed()->text(), QStringLiteral("0.5"));
        setBlank(w.to());
        w.queryAll()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("输入截止日期！"));

        // The summary.
        w.summaryMode()->click();
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请先进行供应商欠款处理，再查询！"));
        SupplierFunds(s(), m_app.clock, QStringLiteral("admin")).process(QString(), DateRange{QDate(), QDate(2026, 12, 31)});
        w.to()->setDate(QDate(2026, 12, 10));
        w.queryAll()->click();
        QCOMPARE(w.summaryGrid()->rowCount(), 2);
        QCOMPARE(w.owed()->text(), QStringLiteral("0.5"));
        w.print()->click();
        QCOMPARE(m_previewed.last(), QStringLiteral("供应商欠款汇总报表"));
    }

    void materialQueries()
    {
        fixture();
        Tylcx w(m_app.ctx, nullptr);
        open(w);
        QCOMPARE(w.tabs()->count(), 6);
        QCOMPARE(w.tabs()->tabText(3), QStringLiteral(" 供 应 商 "));

        // Receipts of one material, then of all.
        MovementQueryPage *r = w.receipts();
        QVERIFY(r->code()->hasFocus());
        typeAndEnter(r->code(), QStringLiteral("YUMI"));
        QCOMPARE(r->names()->currentText(), QStringLiteral("玉米"));
        QVERIFY(r->from()->hasFocus());
        pressEnter(r->from());
        pressEnter(r->to());
        pressEnter(r->query());
        QCOMPARE(r->grid()->rowCount(), 1);
        QCOMPARE(r->tonnes()->text(), QStringLiteral("2"));
        r->byTime()->click();
        QVERIFY(!r->code()->isEnabled());
        r->query()->click();
        QCOMPARE(r->grid()->rowCount(), 2);
        QCOMPARE(r->tonnes()->text(), QStringLiteral("5.5"));
        QCOMPARE(r->amount()->text(), QStringLiteral("2.35"));
        screenshot(&w, QStringLiteral("material-query-receipts"));

        // Issues: only the kind chosen.
        w.tabs()->setCurrentWidget(w.issues());
        MovementQueryPage *i = w.issues();
        i->byTime()->click();
        i->sale()->click();
        i->query()->click();
        QCOMPARE(i->grid()->rowCount(), 1);
        QCOMPARE(i->grid()->textAt(0, 0), QStringLiteral("预混料"));
        QCOMPARE(i->tonnes()->text(), QStringLiteral("1"));

        // Receipt funds of a supplier.
        w.tabs()->setCurrentWidget(w.funds());
        ReceiptFundsPage *f = w.funds();
        choose(f->suppliers(), QStringLiteral("粮站"));
        QCOMPARE(f->company()->text(), QStringLiteral("粮站"));
        pressEnter(f->from());
        pressEnter(f->to());
        QCOMPARE(f->grid()->rowCount(), 1);
        QCOMPARE(f->payable()->text(), QStringLiteral("2"));
        QCOMPARE(f->owed()->text(), QStringLiteral("1.5")); // the later payment is not a receipt
        f->byDate()->click();
        QCOMPARE(f->company()->text(), QStringLiteral("全部"));
        pressEnter(f->to());
        QCOMPARE(f->grid()->rowCount(), 2);

        // Suppliers, printed at once.
        w.tabs()->setCurrentWidget(w.supplierList());
        QCOMPARE(w.supplierList()->grid()->rowCount(), 2);
        w.supplierList()->print()->click();
        QCOMPARE(m_printed, QStringList{QStringLiteral("供应商名单")});

        // Stock: premixes only, then the sheet.
        w.tabs()->setCurrentWidget(w.stock());
        StockPage *st = w.stock();
        QCOMPARE(st->grid()->rowCount(), 2);
        typeAndEnter(st->flag(), QStringLiteral("2"));
        QCOMPARE(st->grid()->rowCount(), 1);
        QCOMPARE(st->grid()->textAt(0, 0), QStringLiteral("px10"));
        screenshot(&w, QStringLiteral("material-query-stock"));
        st->print()->click();
        QCOMPARE(m_previewed.last(), QStringLiteral("原料库存打印"));
        QVERIFY(m_lastDocument.contains(QStringLiteral("金额合计(元): | 2500")));
        const QString first = m_lastDocument;
        st->print()->click();
        QCOMPARE(m_lastDocument, first);

        // The register and the packaging items.
        w.tabs()->setCurrentWidget(w.other());
        QCOMPARE(w.other()->materialGrid()->rowCount(), 2);
        s().insert(QStringLiteral("price"), {{"cpdm", "A01"}, {"cpmc", "编织袋"}, {"cpgg", "40"}, {"cpbz", "A"}});
        w.other()->packaging()->click();
        QCOMPARE(w.other()->packagingGrid()->rowCount(), 1);
        screenshot(&w, QStringLiteral("material-query-other"));
    }
};

QTEST_MAIN(TestSupplierWindows)
#include "tst_supplierwindows.moc"
