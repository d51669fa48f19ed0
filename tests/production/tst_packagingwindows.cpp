// The packaging windows driven as a clerk would: a receipt and an issue of
// packaging stock, and a production line packed with bags and labels.

#include "production/windows/tbzw_sr.h"
#include "productionfixture.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"
#include "warehouse/windows/tbzwgl.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace fm;
using namespace fm::test;

class TestPackagingWindows : public QObject {
    Q_OBJECT
    AppFixture m_app;

    Session &s() { return m_app.session(); }
    QVariant value(const QString &sql, const Values &v = {}) { return s().scalar(sql, v); }
    static void enterIn(QComboBox *box, const QString &text)
    {
        box->setEditText(text);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        loadProductionFixture(s());
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "编织袋"}, {"cpbz", "A"}, {"cpgg", "40"}});
        s().insert(QStringLiteral("cplbgg"), {{"lbmc", "标签"}, {"cpbz", "B"}, {"cpgg", " "}});
        s().insert(QStringLiteral("price"), {{"cpdm", "a40"}, {"cpmc", "编织袋40"}, {"cpgg", "40"}, {"kpjg", 0.9}, {"cbjg", 0.0}, {"cpbz", "A"}});
        s().insert(QStringLiteral("price"), {{"cpdm", "b01"}, {"cpmc", "合格证标签"}, {"cpgg", " "}, {"kpjg", 0.05}, {"cbjg", 0.0}, {"cpbz", "B"}});
    }

    void packagingStock()
    {
        Tbzwgl w(m_app.ctx, nullptr);
        show(w);
        PackagingReceiptPage *r = w.receipts();
        QVERIFY(!r->codeList()->isEnabled());
        choose(r->typeList(), QStringLiteral("编织袋"));
        QVERIFY(r->codeList()->hasFocus());
        enterIn(r->codeList(), QStringLiteral("zz9"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("代码不存在！"));
        enterIn(r->codeList(), QStringLiteral("a40"));
        QCOMPARE(r->nameField()->text(), QStringLiteral("编织袋40"));
        QCOMPARE(r->priceField()->text(), QStringLiteral("0.9"));
        typeAndEnter(r->priceField(), QStringLiteral("0.8"));
        typeAndEnter(r->quantityField(), QStringLiteral("500"));
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否？"));
        QCOMPARE(value(QStringLiteral("SELECT zje FROM {bzbqk} WHERE dm = 'a40'")).toDouble(), 400.0);
        QCOMPARE(r->stockGrid()->rowCount(), 1);
        QVERIFY(r->typeList()->hasFocus());
        screenshot(&w, QStringLiteral("tbzwgl-1-receipt"));

        w.tabs()->setCurrentIndex(1);
        PackagingIssuePage *i = w.issues();
        typeAndEnter(i->personCode(), QStringLiteral("10001"));
        QCOMPARE(i->personList()->currentText(), QStringLiteral("陈师傅"));
        choose(i->typeList(), QStringLiteral("编织袋"));
        QCOMPARE(i->stockGrid()->rowCount(), 1);
        emit i->stockGrid()->rowClicked(i->stockGrid()->idAt(0), 0);
        QCOMPARE(i->quantityField()->text(), QStringLiteral("500"));
        typeAndEnter(i->quantityField(), QStringLiteral("600"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("库存不足！"));
        QVERIFY(!i->confirmButton()->isEnabled());
        typeAndEnter(i->quantityField(), QStringLiteral("100"));
        QCOMPARE(i->remainderField()->text(), QStringLiteral("400"));
        i->confirmButton()->click();
        QCOMPARE(value(QStringLiteral("SELECT sl FROM {bzbqk} WHERE dm = 'a40'")).toInt(), 400);
        screenshot(&w, QStringLiteral("tbzwgl-2-issue"));

        w.tabs()->setCurrentIndex(2);
        PackagingBalancePage *b = w.balance();
        b->chooseLines(false);
        QCOMPARE(b->resultBox()->title(), QStringLiteral("出库明细"));
        b->queryButton()->click();
        QCOMPARE(b->resultGrid()->rowCount(), 1);
        QCOMPARE(b->piecesField()->text(), QStringLiteral("100"));
        b->showStock();
        QVERIFY(b->printButton()->isEnabled());
        QCOMPARE(b->amountField()->text(), QStringLiteral("320"));
        screenshot(&w, QStringLiteral("tbzwgl-3-stock"));
    }

    void packALine()
    {
        PackagingStock ps(s(), *m_app.ctx.clock);
        ps.receive(QStringLiteral("a40"), 0.9, 100);
        ps.receive(QStringLiteral("b01"), 0.05, 100);
        s().insert(QStringLiteral("velcpk"), {{"cpdm", "p401"}, {"cpmc", "猪全价料40"}, {"cpgg", "40"}, {"scsl", 2000.0},
                                              {"scbz", "一班"}, {"scrq_1", "2026-12-09"}, {"txm", "生产输入"}, {"cpbz", "1"},
                                              {"bzdsl", 0}, {"bqsl", 0}});

        Tbzw_sr w(m_app.ctx, nullptr);
        show(w);
        typeAndEnter(w.teamCode(), QStringLiteral("01"));
        QCOMPARE(w.teamName()->text(), QStringLiteral("一班"));
        w.dateField()->setDate(QDate(2026, 12, 9));
        QTest::keyClick(w.dateField(), Qt::Key_Return);
        QCOMPARE(w.lineGrid()->rowCount(), 1);
        QVERIFY(w.packButton()->isEnabled());
        w.preparePackaging();

        Tcpbz &p = *w.packagingWindow();
        show(p);
        QCOMPARE(p.lineGrid()->rowCount(), 1);
        p.chooseLine(p.lineGrid()->idAt(0));
        QCOMPARE(p.productName()->text(), QStringLiteral("猪全价料40"));
        choose(p.kindList(), QStringLiteral("全部"));
        auto *bagCode = qobject_cast<QLineEdit *>(p.bags().code);
        typeAndEnter(bagCode, QStringLiteral("a40"));
        QCOMPARE(p.bags().count->text(), QStringLiteral("50"));
        QTest::keyClick(p.bags().count, Qt::Key_Return);
        QCOMPARE(p.bags().amount->text(), QStringLiteral("45"));
        QVERIFY(p.outerChoice()->isVisible());
        p.withoutOuter()->click();
        typeAndEnter(qobject_cast<QLineEdit *>(p.labels().code), QStringLiteral("b01"));
        QCOMPARE(p.labels().count->text(), QStringLiteral("50"));
        QTest::keyClick(p.labels().count, Qt::Key_Return);
        QCOMPARE(p.labels().amount->text(), QStringLiteral("2.5"));
        screenshot(&p, QStringLiteral("tcpbz-1-labels"));
        p.withoutAnti()->click();
        QCOMPARE(m_app.prompter.questions.last(), QStringLiteral("确认否？"));
        QCOMPARE(value(QStringLiteral("SELECT bzdje FROM {velcpk}")).toDouble(), 45.0);
        QCOMPARE(value(QStringLiteral("SELECT bqje FROM {velcpk}")).toDouble(), 2.5);
        QCOMPARE(value(QStringLiteral("SELECT sl FROM {bzbqk} WHERE dm = 'a40'")).toInt(), 50);
        QCOMPARE(value(QStringLiteral("SELECT sl FROM {bzbqk} WHERE dm = 'b01'")).toInt(), 50);
        QCOMPARE(p.chosenLine(), 0);

        // Packing it again asks first; declined, nothing moves.
        p.chooseLine(p.lineGrid()->idAt(0));
        choose(p.kindList(), QStringLiteral("包装袋"));
        typeAndEnter(bagCode, QStringLiteral("a40"));
        m_app.prompter.answers = {true, false};
        typeAndEnter(p.bags().count, QStringLiteral("60"));
        QCOMPARE(m_app.prompter.questions.last(), ProductPackaging::kRepack);
        QCOMPARE(value(QStringLiteral("SELECT sl FROM {bzbqk} WHERE dm = 'a40'")).toInt(), 50);
        p.close();
    }
};

QTEST_MAIN(TestPackagingWindows)
#include "tst_packagingwindows.moc"
