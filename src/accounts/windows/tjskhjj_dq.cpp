#include "accounts/windows/tjskhjj_dq.h"

#include "accounts/customerregister.h"
#include "accounts/statements.h"
#include "accounts/windows/datefield.h"
#include "data/dberror.h"
#include "ui/layouts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kCandidatesCaption = QStringLiteral("地区客户名单：");

QListWidget *customerList(QWidget *parent, const char *name, const QString &caption)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAccessibleName(caption);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return l;
}

QString codeOf(const QListWidgetItem *item)
{
    return item->data(Qt::UserRole).toString();
}

} // namespace

Tjskhjj_dq::Tjskhjj_dq(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_start(input("start", 10)),
      m_end(input("end", 10)),
      m_region(chooser("region", QStringLiteral("地区"))),
      m_caption(new QLabel(kCandidatesCaption, this)),
      m_candidates(customerList(this, "candidates", kCandidatesCaption)),
      m_chosen(customerList(this, "chosen", QStringLiteral("已选择客户名单："))),
      m_moveOne(button(QStringLiteral("->"), "moveOne", [this] { move(m_candidates, m_chosen, false); })),
      m_backOne(button(QStringLiteral("<-"), "backOne", [this] { move(m_chosen, m_candidates, false); })),
      m_moveAll(button(QStringLiteral(">>"), "moveAll", [this] { move(m_candidates, m_chosen, true); })),
      m_backAll(button(QStringLiteral("<<"), "backAll", [this] { move(m_chosen, m_candidates, true); })),
      m_run(button(QStringLiteral("开始"), "run", [this] { runBatch(); })),
      m_stop(button(QStringLiteral("停止"), "stop", [this] { m_stopAsked = true; })),
      m_quit(button(QStringLiteral("退出"), "quit", [this] { accept(); })),
      m_progress(new QProgressBar(this)),
      m_status(new QLabel(this))
{
    setWindowTitle(QStringLiteral("按地区批处理"));
    asDateInput(m_start);
    asDateInput(m_end);
    m_moveOne->setAccessibleName(QStringLiteral("移入所选客户"));
    m_backOne->setAccessibleName(QStringLiteral("移出所选客户"));
    m_moveAll->setAccessibleName(QStringLiteral("移入全部客户"));
    m_backAll->setAccessibleName(QStringLiteral("移出全部客户"));
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(true);
    m_status->setObjectName(QStringLiteral("status"));

    auto *fields = new QWidget(this);
    FieldGrid grid(fields, 3);
    grid.add(QStringLiteral("起始日期："), m_start)
        .add(QStringLiteral("截止日期："), m_end)
        .add(QStringLiteral("地区："), m_region);
    grid.layout()->setContentsMargins(0, 0, 0, 0);

    auto *arrows = new QVBoxLayout;
    arrows->addStretch();
    for (QPushButton *b : {m_moveOne, m_backOne, m_moveAll, m_backAll}) {
        b->setFixedWidth(56);
        arrows->addWidget(b);
    }
    arrows->addStretch();

    auto *lists = new QGridLayout;
    lists->addWidget(m_caption, 0, 0);
    m_caption->setBuddy(m_candidates);
    lists->addWidget(labelFor(QStringLiteral("已选择客户名单："), m_chosen, this), 0, 2);
    lists->addWidget(m_candidates, 1, 0);
    lists->addLayout(arrows, 1, 1);
    lists->addWidget(m_chosen, 1, 2);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addLayout(lists, 1);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(buttonRow({m_run, m_stop, m_quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(640, 480);

    chain()
        .step(m_start, [this] { return dateEntered(m_start); })
        .step(m_end, [this] { return dateEntered(m_end); })
        .step(m_region, [this] {
            regionChosen();
            return Go::stay();
        });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { guarded([this] { regionChosen(); }); });
    connect(m_candidates, &QListWidget::itemDoubleClicked, this, [this] { move(m_candidates, m_chosen, false); });
    connect(m_chosen, &QListWidget::itemDoubleClicked, this, [this] { move(m_chosen, m_candidates, false); });
}

void Tjskhjj_dq::activate()
{
    m_candidates->clear();
    m_chosen->clear();
    m_customers.clear();
    m_caption->setText(kCandidatesCaption);
    m_start->clear();
    m_end->clear();
    m_period = Period();
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_status->clear();
    m_region->clear();
    guarded([this] {
        for (const Region &r : CustomerRegister(session()).regions()) m_region->addItem(r.name, r.code);
    });
    m_region->setCurrentIndex(-1);
    setRunning(false);
    updateArrows();
    chain().reset();
}

Go Tjskhjj_dq::dateEntered(QLineEdit *date)
{
    // Any dates will do, 19th or not; they must be dates to compare.
    const QDate d = checkTypedDate(date->text());
    date->setText(dateText(d));
    (date == m_start ? m_period.start : m_period.end) = d;
    // The lists belong to the dates they were made for.
    m_candidates->clear();
    m_chosen->clear();
    m_customers.clear();
    updateArrows();
    return Go::advance();
}

void Tjskhjj_dq::regionChosen()
{
    if (m_region->currentIndex() < 0 || m_running) return;
    const QString region = m_region->currentText();
    m_caption->setText(region + QStringLiteral("客户名单："));
    m_candidates->clear();
    m_chosen->clear();
    m_customers.clear();
    for (const Customer &c : Settlement(session()).candidates(region, m_period)) {
        auto *item = new QListWidgetItem(c.code + QLatin1Char(' ') + c.name, m_candidates);
        item->setData(Qt::UserRole, c.code);
        m_customers.insert(c.code, c);
    }
    if (m_candidates->count() > 0) m_candidates->setCurrentRow(0);
    updateArrows();
}

void Tjskhjj_dq::move(QListWidget *from, QListWidget *to, bool all)
{
    if (m_running) return;
    if (all) {
        while (from->count() > 0) to->addItem(from->takeItem(0));
    } else if (QListWidgetItem *item = from->currentItem()) {
        to->addItem(from->takeItem(from->row(item)));
        to->setCurrentItem(item);
    }
    updateArrows();
}

void Tjskhjj_dq::updateArrows()
{
    const bool idle = !m_running;
    m_moveOne->setEnabled(idle && m_candidates->count() > 0);
    m_moveAll->setEnabled(idle && m_candidates->count() > 0);
    m_backOne->setEnabled(idle && m_chosen->count() > 0);
    m_backAll->setEnabled(idle && m_chosen->count() > 0);
}

void Tjskhjj_dq::setRunning(bool on)
{
    m_running = on;
    m_stopAsked = false;
    for (QWidget *w : std::initializer_list<QWidget *>{m_start, m_end, m_region, m_candidates, m_chosen, m_run, m_quit})
        if (on) w->setEnabled(false);
    if (!on) {
        // Back to where the entry was: the region reached, the lists usable.
        m_start->setEnabled(true);
        m_end->setEnabled(!m_end->text().isEmpty());
        m_region->setEnabled(m_period.start.isValid() && m_period.end.isValid());
        m_candidates->setEnabled(true);
        m_chosen->setEnabled(true);
        m_run->setEnabled(true);
        m_quit->setEnabled(true);
    }
    m_stop->setEnabled(on);
    updateArrows();
}

void Tjskhjj_dq::runBatch()
{
    if (m_running) return;
    if (!ask(QStringLiteral("确认否？"))) return;
    if (m_chosen->count() == 0) {
        inform(QStringLiteral("无数据处理"));
        return;
    }
    std::vector<Customer> customers;
    for (int i = 0; i < m_chosen->count(); ++i) customers.push_back(m_customers.value(codeOf(m_chosen->item(i))));
    const int n = int(customers.size());

    setRunning(true);
    m_progress->setRange(0, n);
    m_progress->setValue(0);
    BatchReport report;
    try {
        report = Settlement(session()).settleAll(
            customers, m_period,
            [&](int i, const Customer &c) {
                m_progress->setValue(i);
                m_status->setText(QStringLiteral("正在处理 %1/%2：%3 %4").arg(i + 1).arg(n).arg(c.code, c.name));
                emit customerStarting(i, c.code);
                // Repaint, and hear "停止", between customers.
                QCoreApplication::processEvents();
                return !m_stopAsked;
            },
            [&](int, const Customer &c, const SettlementOutcome &o) {
                for (const MissingPolicyPrice &m : o.missing) inform(Settlement::missingPolicyMessage(c, m));
            });
    } catch (...) {
        setRunning(false);
        throw;
    }
    m_progress->setValue(0);
    setRunning(false);
    if (report.failed) {
        m_status->setText(QStringLiteral("已处理 %1 个客户；客户%2 %3处理失败，其后的客户未处理。")
                              .arg(report.done())
                              .arg(report.failed->code, report.failed->name));
        inform(QStringLiteral("客户%1 %2处理失败，批处理已停止：\n%3\n此前的%4个客户已处理完毕。")
                   .arg(report.failed->code, report.failed->name, report.error)
                   .arg(report.done()));
    } else if (report.cancelled) {
        m_status->setText(QStringLiteral("已停止：已处理 %1 个客户，其余 %2 个未处理。").arg(report.done()).arg(n - report.done()));
    } else {
        m_status->setText(QStringLiteral("处理完毕：共 %1 个客户。").arg(report.done()));
    }
}

void Tjskhjj_dq::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        // The run stops after the customer in hand; the window stays until then.
        m_stopAsked = true;
        event->ignore();
        return;
    }
    FunctionWindow::closeEvent(event);
}

void Tjskhjj_dq::reject()
{
    if (m_running) {
        m_stopAsked = true;
        return;
    }
    FunctionWindow::reject();
}

} // namespace fm
