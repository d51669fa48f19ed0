// The change-log query window: its filters on a few log rows, and the
// printed and exported list.

#include "reports/reportdocument.h"
#include "shell/windows/changelogwindow.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QTemporaryDir>
#include <QtTest>

using fm::test::AppFixture;

class TestChangeLogWindow : public QObject {
    Q_OBJECT
    AppFixture m_app;
    std::unique_ptr<fm::ChangeLogWindow> m_window;

    void logRow(const char *date, const char *op, const char *table, const char *code)
    {
        m_app.session().insert(QStringLiteral("czrz"),
                               {{"rq_0", QString::fromLatin1(date) + QStringLiteral(" 10:00:00")}, {"rq", date},
                                {"czydm", op}, {"gzz", "ws-1"}, {"gnmc", "销售数据修改"}, {"bm", table},
                                {"jlid", 1}, {"dm", code}, {"czlx", "修改"}, {"jz", "cpdm=k10; zznum=1000; zzjg=2400; zzje=2400"},
                                {"xz", "cpdm=k10; zznum=1200; zzjg=2500; zzje=3000"}});
    }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        logRow("2026-11-01", "61", "sale1", "1100001");
        logRow("2026-12-01", "61", "sale1", "1100002");
        logRow("2026-12-05", "62", "price", "n40");
        logRow("2026-12-10", "62", "zxkh", "1100001");
        m_window = std::make_unique<fm::ChangeLogWindow>(m_app.ctx, nullptr);
        m_window->activate();
    }
    void cleanup() { m_window.reset(); }

    void filters_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("rows");
        const QDate nov(2026, 11, 1), dec1(2026, 12, 1), dec10(2026, 12, 10);
        QTest::newRow("last 30 days by default") << QDate() << QDate() << "" << "" << "" << 3;
        QTest::newRow("whole range") << nov << dec10 << "" << "" << "" << 4;
        QTest::newRow("both ends inclusive") << dec1 << QDate(2026, 12, 5) << "" << "" << "" << 2;
        QTest::newRow("operator") << nov << dec10 << "62" << "" << "" << 2;
        QTest::newRow("table, any case") << nov << dec10 << "" << "SALE1" << "" << 2;
        QTest::newRow("code, any case") << nov << dec10 << "" << "" << "N40" << 1;
        QTest::newRow("all together") << nov << dec10 << "61" << "sale1" << "1100001" << 1;
        QTest::newRow("nothing matches") << nov << dec10 << "99" << "" << "" << 0;
    }
    void filters()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, op);
        QFETCH(QString, table);
        QFETCH(QString, code);
        QFETCH(int, rows);
        if (from.isValid()) m_window->fromField()->setDate(from);
        if (to.isValid()) m_window->toField()->setDate(to);
        m_window->operatorField()->setEditText(op);
        m_window->tableField()->setText(table);
        m_window->codeField()->setText(code);
        QTest::keyClick(m_window->codeField(), Qt::Key_Return);
        QCOMPARE(m_app.prompter.messages, QStringList());
        QCOMPARE(m_window->grid()->rowCount(), rows);
        if (rows == 4) fm::test::screenshot(m_window.get(), QStringLiteral("changelog"));
    }

    // Newest first; an operator chosen from the register's list filters by its code.
    void newestFirstAndOperatorChosen()
    {
        m_app.session().insert(QStringLiteral("zxauth1"), {{"authid", "62"}, {"authmc", "李出纳"}, {"author", QString()}});
        m_window->activate();
        m_window->fromField()->setDate(QDate(2026, 11, 1));
        m_window->toField()->setDate(QDate(2026, 12, 10));
        m_window->search();
        QCOMPARE(m_window->grid()->rowCount(), 4);
        QCOMPARE(m_window->grid()->textAt(0, 6), QStringLiteral("1100001"));
        QCOMPARE(m_window->grid()->textAt(3, 0).left(10), QStringLiteral("2026-11-01"));
        const int at = m_window->operatorField()->findText(QStringLiteral("62 李出纳"));
        QVERIFY(at > 0);
        m_window->operatorField()->setCurrentIndex(at);
        m_window->search();
        QCOMPARE(m_window->grid()->rowCount(), 2);
        QCOMPARE(m_window->grid()->textAt(0, 4), QStringLiteral("zxkh"));
    }

    void reversedRangeIsRefused()
    {
        m_window->fromField()->setDate(QDate(2026, 12, 10));
        m_window->toField()->setDate(QDate(2026, 12, 1));
        m_window->search();
        QCOMPARE(m_app.prompter.messages, QStringList{QStringLiteral("截止日期不能早于起始日期！")});
        QCOMPARE(m_window->grid()->rowCount(), 0);
    }

    void printAndExportListTheFilteredRows()
    {
        std::vector<fm::ReportDocument> shown;
        m_app.ctx.preview = [&](QWidget *, const fm::ReportDocument &d) { shown.push_back(d); };
        m_window->operatorField()->setEditText(QStringLiteral("62"));
        m_window->print();
        QCOMPARE(shown.size(), size_t(1));
        const QString text = shown.front().toText();
        QVERIFY(text.contains(QStringLiteral("修改记录")));
        QVERIFY(text.contains(QStringLiteral("n40")));
        QVERIFY(!text.contains(QStringLiteral("1100002")));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.xlsx"));
        QVERIFY(m_window->exportTo(path));
        QVERIFY(QFileInfo(path).size() > 0);
    }
};

QTEST_MAIN(TestChangeLogWindow)
#include "tst_changelogwindow.moc"
