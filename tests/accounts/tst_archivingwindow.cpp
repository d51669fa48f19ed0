// "数据归档" as a clerk uses it: the proposed start, the end date's rules,
// the backup offered first, the window disabled with its progress while the
// run asks whether to delete, the caption's texts, and the clean-up.

#include "accounts/windows/tsj_bf.h"
#include "shell/windows/windowregistry.h"
#include "support/appfixture.h"
#include "support/windowtest.h"
#include "ui/grid.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace fm;
using namespace fm::test;

namespace {

// Records, at each question, whether the window's form was usable and what
// the progress bar showed.
class WatchingPrompter : public RecordingPrompter {
public:
    Tsj_bf *window = nullptr;
    QStringList seen;
    bool ask(QWidget *parent, const QString &text) override
    {
        if (window)
            seen << QStringLiteral("%1 form %2 bar %3/%4")
                        .arg(text, window->form()->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"))
                        .arg(window->progressBar()->value())
                        .arg(window->progressBar()->maximum());
        return RecordingPrompter::ask(parent, text);
    }
};

} // namespace

class TestArchivingWindow : public QObject {
    Q_OBJECT
    AppFixture m_app;
    WatchingPrompter m_prompter;
    std::unique_ptr<QTemporaryDir> m_dir;

    qint64 count(const char *sql) { return m_app.session().scalar(QString::fromUtf8(sql)).toLongLong(); }

private slots:
    void initTestCase() { FM_INIT_APP_FIXTURE(m_app); }
    void init()
    {
        m_app.reset();
        m_prompter = WatchingPrompter();
        m_app.ctx.prompter = &m_prompter;
        m_dir = std::make_unique<QTemporaryDir>();
        m_app.ctx.workingDir = m_dir->path();
        Session &s = m_app.session();
        s.execute(QStringLiteral("UPDATE {gd_rq} SET qsrq = '2026-09-18', jzrq = '2026-10-18'"));
        for (int i = 0; i < 12; ++i)
            s.insert(QStringLiteral("sale1"), {{"rq_1", QStringLiteral("2026-10-%1").arg(19 + i % 10)}, {"khdm", "1100001"},
                                               {"khmc", "张记养殖场"}, {"cpmc", "猪用浓缩料"}, {"zznum", 1000.0 + i},
                                               {"zzjg", 3200.0}, {"zzje", 3200.0}, {"tlnum", 0.0}, {"bz_1", "1"}});
        for (int i = 0; i < 3; ++i)
            s.insert(QStringLiteral("khzj"), {{"rq", QStringLiteral("2026-11-0%1").arg(i + 1)}, {"khdm", "1100001"},
                                              {"ysje", 3200.0}, {"sjje", 3200.0}, {"sqje", 0.0}});
        s.insert(QStringLiteral("sale1"), {{"rq_1", "2026-12-01"}, {"khdm", "1100001"}, {"zznum", 0.0}, {"tlnum", 0.0}});
    }

    void registered() { QVERIFY(functionWindows().contains(number(Fn::Archiving))); }

    void archiveAPeriod()
    {
        Tsj_bf w(m_app.ctx, nullptr);
        m_prompter.window = &w;
        w.activate();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.startInput()->text(), QStringLiteral("2026-10-19"));
        QVERIFY(w.endInput()->hasFocus());
        QVERIFY(!w.startButton()->isEnabled());

        pressEnter(w.endInput());
        QCOMPARE(m_prompter.last(), QStringLiteral("请输入截止日期！"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-11-17"));
        QCOMPARE(w.grid()->rowCount(), 12);
        QVERIFY(w.startButton()->isEnabled());
        w.startButton()->click();
        QCOMPARE(m_prompter.last(), QStringLiteral("截至日期为每月的18日,请重新输入截止日期!"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-11-18"));
        screenshot(&w, QStringLiteral("archiving-1-range"));

        // Backup: yes; "确认否？": yes; the deletion: yes.
        m_prompter.answers = {true, true, true};
        w.startButton()->click();
        QCOMPARE(m_prompter.seen.size(), 3);
        QVERIFY(m_prompter.seen[0].startsWith(QStringLiteral("归档之前请先备份数据库。现在备份吗？ form enabled")));
        QVERIFY(m_prompter.seen[1].startsWith(QStringLiteral("确认否？请所有用户退出！可能时间较长 form enabled")));
        QCOMPARE(m_prompter.seen[2], QStringLiteral("校验数据正确，是否清除原数据库数据！ form disabled bar 15/15"));
        const QStringList backups = QDir(w.backupFolder()).entryList(QDir::Files);
        QCOMPARE(backups.size(), 1);
        QVERIFY(m_prompter.messages.contains(QStringLiteral("数据库已备份到：")
                                             + QDir::toNativeSeparators(QDir(w.backupFolder()).filePath(backups.first()))));
        QCOMPARE(w.windowTitle(), QStringLiteral("数据归档正在校验数据。。。销售数据正确！资金数据正确！数据归档完毕！"));
        QVERIFY(w.form()->isEnabled());
        QCOMPARE(w.progressBar()->value(), 0);
        QCOMPARE(count("SELECT COUNT(*) FROM {his_sale1}"), 12);
        QCOMPARE(count("SELECT COUNT(*) FROM {his_khzj}"), 3);
        QCOMPARE(count("SELECT COUNT(*) FROM {sale1}"), 1);
        QCOMPARE(w.startInput()->text(), QStringLiteral("2026-11-19"));
        QVERIFY(!w.startButton()->isEnabled());
        screenshot(&w, QStringLiteral("archiving-2-done"));

        // The same range again: History holds it.
        w.startInput()->setText(QStringLiteral("2026-10-19"));
        typeAndEnter(w.endInput(), QStringLiteral("2026-11-18"));
        w.startButton()->click();
        QCOMPARE(m_prompter.last(), QStringLiteral("历史数据库中已有2026-10-19至2026-11-18的数据，不能重复归档！"));

        w.cleanUpButton()->click();
        QCOMPARE(w.windowTitle(), QStringLiteral("数据归档数据库整理完毕！"));
        QCOMPARE(count("SELECT COUNT(*) FROM {sale1}"), 0);
    }

    // No backup, and "No" at the deletion: History untouched, nothing deleted.
    void declineTheDeletion()
    {
        Tsj_bf w(m_app.ctx, nullptr);
        w.activate();
        w.show();
        typeAndEnter(w.endInput(), QStringLiteral("2026-11-18"));
        m_prompter.answers = {false, true, false};
        w.startButton()->click();
        QVERIFY(!QDir(w.backupFolder()).exists());
        QCOMPARE(count("SELECT COUNT(*) FROM {his_sale1}"), 0);
        QCOMPARE(count("SELECT COUNT(*) FROM {sale1}"), 13);
        QCOMPARE(w.windowTitle(), QStringLiteral("数据归档正在校验数据。。。销售数据正确！资金数据正确！"));
        // "确认否？" answered No does nothing at all.
        m_prompter.answers = {false, false};
        m_prompter.clear();
        typeAndEnter(w.endInput(), QStringLiteral("2026-11-18"));
        w.startButton()->click();
        QCOMPARE(m_prompter.questions.size(), 2);
        QCOMPARE(count("SELECT COUNT(*) FROM {sale1}"), 13);
    }
};

QTEST_MAIN(TestArchivingWindow)
#include "tst_archivingwindow.moc"
