#include "accounts/windows/tsj_bf.h"

#include "accounts/archiving.h"
#include "common/clock.h"
#include "common/dates.h"
#include "data/backup.h"
#include "data/session.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace fm {

namespace {

const QString kTitle = QStringLiteral("数据归档");
const QString kBackupQuestion = QStringLiteral("归档之前请先备份数据库。现在备份吗？");
const QString kBackupFailed = QStringLiteral("数据库备份失败，没有归档。");
const QString kArchived = QStringLiteral("数据归档完毕！");

GridColumn column(const char *title, const char *field, GridColumn::Kind kind = GridColumn::Kind::Text)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), kind};
}

QLineEdit *dateText(QLineEdit *e)
{
    e->setMaxLength(10);
    e->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    e->setMaximumWidth(120);
    return e;
}

// Lets the window paint its progress; what the clerk types waits.
void showProgress()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

Tsj_bf::Tsj_bf(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(kTitle);
    m_form = new QWidget(this);
    m_start = dateText(input("start"));
    m_end = dateText(input("end"));
    m_begin = button(QStringLiteral("开始"), "begin");
    m_cleanUp = button(QStringLiteral("数据库整理---清除多余记录"), "cleanUp", [this] { cleanUp(); });
    m_cleanUp->setToolTip(QStringLiteral("删除数据库中多余的记录"));
    m_quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    const auto N = GridColumn::Kind::Number;
    m_grid = new Grid({column("客户代码", "khdm"), column("地区", "region"), column("客户名称", "khmc"),
                       column("退料数量", "tlnum", N), column("退料价格", "kpjg", N), column("退料金额", "kpje", N),
                       column("开票价格", "zzjg", N), column("开票金额", "zzje", N), column("开票日期", "rq_1"),
                       column("产品代码", "cpdm"), column("产品名称", "cpmc"), column("规格", "cpgg"),
                       column("操作员", "czydm")},
                      m_form, "lines");
    m_grid->setStretchColumn(10);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setFormat(QStringLiteral("%v / %m"));
    m_bar->setTextVisible(false); // shown while a run counts its rows

    auto *dates = new QHBoxLayout;
    dates->addWidget(labelFor(QStringLiteral("起始日期："), m_start, m_form));
    dates->addWidget(m_start);
    dates->addSpacing(16);
    dates->addWidget(labelFor(QStringLiteral("截止日期："), m_end, m_form));
    dates->addWidget(m_end);
    dates->addStretch();
    dates->addWidget(m_begin);
    dates->addWidget(m_cleanUp);
    dates->addWidget(m_quit);
    auto *formLayout = new QVBoxLayout(m_form);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->addLayout(dates);
    formLayout->addWidget(m_grid, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_form, 1);
    layout->addWidget(m_bar);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(1040, 600);

    chain()
        .step(m_start, [this] {
            Archiving::checkStart(m_start->text());
            return Go::advance();
        })
        .step(
            m_end,
            [this] {
                const QDate start = Archiving::checkStart(m_start->text());
                if (m_end->text().trimmed().isEmpty()) throw DomainError(Archiving::kNoEndDate, ErrorCode::Incomplete);
                const QDate end = Archiving::checkStart(m_end->text());
                m_grid->setPager(std::make_shared<RowPager>(session(), Archiving(session()).linesQuery(start, end)));
                return Go::advance();
            },
            StepOptions{QString(), true, false, {}})
        .step(m_begin, [this] { return run(); });
}

QString Tsj_bf::backupFolder() const
{
    const QString base = ctx().workingDir.isEmpty() ? QDir::currentPath() : ctx().workingDir;
    return QDir(base).filePath(QStringLiteral("backup"));
}

void Tsj_bf::activate()
{
    caption(QString(), false);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_grid->clear();
    m_start->clear();
    m_end->clear();
    guarded([this] { m_start->setText(Archiving(session()).proposedStart()); });
    chain().reset();
    // The start is proposed; the cut-off is what the clerk types first.
    chain().reach(m_end);
}

void Tsj_bf::reject()
{
    if (!m_busy) FunctionWindow::reject();
}

void Tsj_bf::caption(const QString &text, bool append)
{
    setWindowTitle((append ? windowTitle() : kTitle) + text);
}

void Tsj_bf::setBusy(bool busy)
{
    m_busy = busy;
    m_form->setEnabled(!busy);
    m_bar->setTextVisible(busy);
    showProgress();
}

bool Tsj_bf::offerBackup()
{
    if (!ask(kBackupQuestion)) return true;
    const QString file =
        QDir(backupFolder()).filePath(backupFileName(session().engine(), ctx().clock->now()));
    caption(QStringLiteral("正在备份数据库，请稍侯。。。"), false);
    setBusy(true);
    bool made = false;
    try {
        makeBackup(session(), file);
        made = true;
    } catch (const DomainError &e) {
        setBusy(false);
        caption(QString(), false);
        inform(e.message());
        return false;
    } catch (const DbError &) {
        setBusy(false);
    }
    setBusy(false);
    caption(QString(), false);
    if (!made) {
        inform(kBackupFailed);
        return false;
    }
    inform(QStringLiteral("数据库已备份到：") + QDir::toNativeSeparators(file));
    return true;
}

Go Tsj_bf::run()
{
    const QDate start = Archiving::checkStart(m_start->text());
    const QDate end = Archiving::checkEnd(m_end->text());
    Archiving::checkRange(start, end);
    Archiving(session()).checkHistoryFree(start, end);
    if (!offerBackup()) return Go::stay();
    if (!ask(Archiving::kConfirm)) return Go::stay();

    caption(QString(), false);
    setBusy(true);
    ArchiveObserver observer;
    observer.stage = [this](const QString &text) {
        caption(text, true);
        showProgress();
    };
    observer.progress = [this](qint64 done, qint64 total) {
        m_bar->setRange(0, int(std::min<qint64>(total, INT_MAX)));
        m_bar->setValue(int(std::min<qint64>(done, INT_MAX)));
        showProgress();
    };
    observer.confirmDelete = [this](const QString &question) { return ask(question); };
    ArchiveResult result;
    bool ran = false;
    try {
        result = Archiving(session()).archive(start, end, observer);
        ran = true;
    } catch (...) {
        setBusy(false);
        m_bar->setRange(0, 1);
        m_bar->setValue(0);
        throw; // shown by the form's guard; nothing was kept
    }
    setBusy(false);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    if (ran && result.outcome == ArchiveResult::Outcome::Mismatch) inform(Archiving::kMismatch);
    if (ran && result.outcome == ArchiveResult::Outcome::Archived) {
        caption(kArchived, true);
        m_start->setText(Archiving(session()).proposedStart());
        m_grid->clear();
    }
    // "开始" waits for the next cut-off.
    chain().reach(m_end);
    return Go::done();
}

void Tsj_bf::cleanUp()
{
    caption(Archiving::kCleaning, false);
    setBusy(true);
    try {
        Archiving(session()).cleanUp();
    } catch (...) {
        setBusy(false);
        caption(QString(), false);
        throw;
    }
    setBusy(false);
    caption(Archiving::kCleaned, false);
}

} // namespace fm
