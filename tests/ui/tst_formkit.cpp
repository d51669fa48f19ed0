// The form kit: the declarative Enter chain on a small window, and the grid
// reading a long list a page at a time with each row's id.

#include "common/numbertext.h"
#include "data/rowpager.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/functionwindow.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

// A form of the kind every window is: a code looked up, a quantity, a button.
class OrderForm : public FunctionWindow {
public:
    QLineEdit *code = input("code", 7);
    QLineEdit *name = display("name");
    QLineEdit *quantity = input("quantity", 10);
    QPushButton *ok = button(QStringLiteral("确认"), "ok");
    QStringList confirmed;

    explicit OrderForm(AppContext &ctx) : FunctionWindow(ctx, nullptr)
    {
        FieldGrid grid(this, 2);
        grid.add(QStringLiteral("客户代码："), code).add(QStringLiteral("客户名称："), name);
        grid.add(QStringLiteral("数量："), quantity, QStringLiteral("（公斤）"));
        grid.layout()->addWidget(ok, 2, 3);

        chain()
            .step(code,
                  [this] {
                      if (code->text() == QLatin1String("x")) throw DomainError(QStringLiteral("查无此客户！"), ErrorCode::NotFound);
                      name->setText(QStringLiteral("客户") + code->text());
                      return Go::advance();
                  },
                  StepOptions{QString(), false, true, {}})
            .step(quantity,
                  [this] {
                      if (quantity->text() == QLatin1String("-")) return Go::back();
                      double q = 0;
                      if (!parseNumber(quantity->text(), &q)) throw badNumber();
                      return Go::advance();
                  },
                  StepOptions{QStringLiteral("0"), false, false, {}})
            .step(ok, [this] {
                confirmed << code->text() + QLatin1Char(':') + quantity->text();
                code->clear();
                return Go::to(code);
            });
    }
    void activate() override { chain().reset(); }
};

} // namespace

class TestFormKit : public QObject {
    Q_OBJECT
    AppFixture m_app;

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init() { m_app.reset(); }

    void chainRunsInOrderAndDisablesWhatIsNotReached()
    {
        OrderForm w(m_app.ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activate();
        QVERIFY(w.code->isEnabled());
        QVERIFY(!w.quantity->isEnabled());
        QVERIFY(!w.ok->isEnabled());

        // Enter in an empty field does nothing.
        pressEnter(w.code);
        QVERIFY(!w.quantity->isEnabled());

        // A refused value: the message, and the clerk retypes over the selection.
        typeAndEnter(w.code, QStringLiteral("x"));
        QCOMPARE(m_app.prompter.messages, QStringList{QStringLiteral("查无此客户！")});
        QVERIFY(w.code->hasFocus());
        QCOMPARE(w.code->selectedText(), QStringLiteral("x"));
        QVERIFY(!w.quantity->isEnabled());

        typeAndEnter(w.code, QStringLiteral("1100001"));
        QCOMPARE(w.name->text(), QStringLiteral("客户1100001"));
        QVERIFY(!w.code->isEnabled()); // locked once passed
        QVERIFY(w.quantity->hasFocus());

        // An empty quantity becomes "0", selected so that typing replaces it.
        pressEnter(w.quantity);
        QVERIFY(w.ok->isEnabled());
        QVERIFY(w.ok->hasFocus());
        w.quantity->setFocus();
        EnterChain::focusField(w.quantity);
        QCOMPARE(w.quantity->selectedText(), QStringLiteral("0"));
        QTest::keyClicks(w.quantity, QStringLiteral("25"));
        QCOMPARE(w.quantity->text(), QStringLiteral("25"));

        // Not a number: the message, focus stays, the button is out of reach again.
        m_app.prompter.clear();
        typeAndEnter(w.quantity, QStringLiteral("2x"));
        QCOMPARE(m_app.prompter.last(), QStringLiteral("请输入正确的数字！"));
        QVERIFY(w.quantity->hasFocus());

        // Back to the step before.
        typeAndEnter(w.quantity, QStringLiteral("-"));
        QVERIFY(w.code->isEnabled());
        QVERIFY(!w.quantity->isEnabled());
        QVERIFY(w.code->hasFocus());

        typeAndEnter(w.code, QStringLiteral("1100002"));
        typeAndEnter(w.quantity, QStringLiteral("40"));
        pressEnter(w.ok); // Enter on a focused button presses it
        QCOMPARE(w.confirmed, QStringList{QStringLiteral("1100002:40")});
        QVERIFY(w.code->isEnabled());
        QVERIFY(!w.quantity->isEnabled());
        QVERIFY(!w.ok->isEnabled());

        // Reset leaves only the first step.
        w.chain().reach(w.ok);
        w.activate();
        QVERIFY(w.code->hasFocus());
        QVERIFY(!w.ok->isEnabled());
    }

    void labelsNameTheirFields()
    {
        OrderForm w(m_app.ctx);
        QCOMPARE(w.code->accessibleName(), QStringLiteral("客户代码"));
        QCOMPARE(w.quantity->accessibleName(), QStringLiteral("数量"));
        QCOMPARE(w.ok->accessibleName(), QStringLiteral("确认"));
    }

    void gridReadsPagesAndKeepsIds()
    {
        Session &s = m_app.session();
        std::vector<qint64> ids;
        s.transaction([&] {
            for (int i = 0; i < 450; ++i)
                ids.push_back(s.insert(QStringLiteral("zxkh"),
                                       {{QStringLiteral("khdm"), QStringLiteral("11%1").arg(i, 5, 10, QLatin1Char('0'))},
                                        {QStringLiteral("khmc"), QStringLiteral("客户%1").arg(i % 7)},
                                        {QStringLiteral("dq"), QStringLiteral("一区")}}));
        });
        auto pager = std::make_shared<RowPager>(
            s, RowQuery{QStringLiteral("SELECT id, khdm, khmc FROM {zxkh}"), {}, {QStringLiteral("khdm")}});
        Grid grid(gridColumns({QStringLiteral("客户代码"), QStringLiteral("客户名称")},
                              {QStringLiteral("khdm"), QStringLiteral("khmc")}),
                  nullptr, "customers");
        grid.setPager(pager);
        QCOMPARE(grid.rowCount(), 200); // the first page only
        QCOMPARE(grid.totalRows(), qint64(-1));
        QCOMPARE(grid.textAt(0, 0), QStringLiteral("1100000"));
        QCOMPARE(grid.idAt(0), ids[0]);
        grid.fetchMore();
        grid.fetchMore();
        QCOMPARE(grid.rowCount(), 450);
        QCOMPARE(grid.totalRows(), qint64(450));
        QCOMPARE(grid.idAt(449), ids[449]);
        QCOMPARE(grid.statusText(), QStringLiteral("共 450 行"));
        QVERIFY(grid.selectId(ids[321]));
        QCOMPARE(grid.currentId(), ids[321]);

        // At the limit the grid stops and says how many there are.
        grid.setLimit(300);
        grid.setPager(pager);
        grid.fetchMore();
        grid.fetchMore();
        QCOMPARE(grid.rowCount(), 300);
        QCOMPARE(grid.totalRows(), qint64(450));
        QVERIFY(grid.statusText().contains(QStringLiteral("450")));

        // Sorting a list not wholly read asks the database for the order.
        grid.view()->horizontalHeader()->sectionClicked(0);
        grid.view()->horizontalHeader()->sectionClicked(0); // descending
        QCOMPARE(grid.textAt(0, 0), QStringLiteral("1100449"));
        QCOMPARE(grid.idAt(0), ids[449]);
    }

    // Pages read while the clerk scrolls or sorts are outside any guarded
    // call: a failing read is said under the grid and nothing escapes.
    void gridSaysAFailedReadUnderIt()
    {
        Session &s = m_app.session();
        const auto failing = [&s] {
            s.execDdl(QStringLiteral("CREATE TABLE gridfail (id INTEGER, v VARCHAR(10))"));
            for (int i = 0; i < 250; ++i)
                s.execute(QStringLiteral("INSERT INTO gridfail (id, v) VALUES (?, ?)"), {i + 1, QString::number(i)});
            return std::make_shared<RowPager>(
                s, RowQuery{QStringLiteral("SELECT id, v FROM gridfail"), {}, {QStringLiteral("id")}});
        };
        Grid grid(gridColumns({QStringLiteral("值")}, {QStringLiteral("v")}), nullptr, "failing");
        grid.setSortOnTitleClick(true);

        grid.setPager(failing());
        QCOMPARE(grid.rowCount(), 200);
        s.execDdl(QStringLiteral("DROP TABLE gridfail"));
        grid.view()->model()->fetchMore(QModelIndex()); // as the view does on scrolling
        QCOMPARE(grid.rowCount(), 200);
        QVERIFY2(grid.statusText().startsWith(QStringLiteral("已显示 200 行，读取其余行失败：")),
                 qPrintable(grid.statusText()));
        QVERIFY(!grid.view()->model()->canFetchMore(QModelIndex()));

        grid.setPager(failing());
        s.execDdl(QStringLiteral("DROP TABLE gridfail"));
        grid.view()->horizontalHeader()->sectionClicked(0); // not all read: the database would sort
        QVERIFY2(grid.statusText().contains(QStringLiteral("读取其余行失败")), qPrintable(grid.statusText()));
    }
};

QTEST_MAIN(TestFormKit)
#include "tst_formkit.moc"
