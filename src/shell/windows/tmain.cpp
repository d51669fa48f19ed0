#include "shell/windows/tmain.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/gbk.h"
#include "sales/turnovernumbers.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "data/dberror.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace fm {

namespace {

// The picture that fills the desktop below the menu.
class Banner : public QWidget {
public:
    Banner(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) { setMinimumSize(640, 360); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(rect().topLeft(), rect().bottomRight());
        g.setColorAt(0, QColor(0x2f, 0x6b, 0x3a));
        g.setColorAt(0.55, QColor(0x7f, 0xa8, 0x4e));
        g.setColorAt(1, QColor(0xe3, 0xc8, 0x6b));
        p.fillRect(rect(), g);
        // Ears of grain along the bottom edge.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 36));
        for (int x = -40; x < width() + 40; x += 70)
            p.drawEllipse(QPointF(x, height() - 20), 60, 90);
        QFont f = font();
        f.setPointSize(28);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        const QString name = m_ctx.qymc.isEmpty() ? QStringLiteral("饲料有限公司") : m_ctx.qymc;
        p.drawText(rect().adjusted(0, 0, 0, -height() / 5), Qt::AlignCenter, name);
        f.setPointSize(16);
        f.setBold(false);
        p.setFont(f);
        p.drawText(rect().adjusted(0, height() / 6, 0, 0), Qt::AlignCenter, QStringLiteral("饲料生产销售综合管理系统"));
    }

private:
    AppContext &m_ctx;
};

} // namespace

Tmain::Tmain(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent), m_registry(ctx, this)
{
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    ctx.windows = &m_registry;
    // A menu opened and closed with Esc leaves the menu bar holding the focus,
    // and it swallows the next Esc; the application's filter sees it first.
    qApp->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    buildMenu();

    auto *tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *help = tools->addAction(style()->standardIcon(QStyle::SP_MessageBoxInformation), QStringLiteral("系统帮助"));
    help->setToolTip(QStringLiteral("系统帮助"));
    connect(help, &QAction::triggered, this, [this] {
        QMessageBox::about(this, QStringLiteral("系统帮助"),
                           QStringLiteral("<b>饲料生产销售综合管理系统</b><br>%1<br><br>"
                                          "销售、客户结算、价格、配方、生产、仓储与人员管理。")
                               .arg(this->ctx().qymc.toHtmlEscaped()));
    });
    QAction *quit = tools->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("退出系统"));
    quit->setToolTip(QStringLiteral("退出系统"));
    // Ends the program at once, from however many windows deep.
    connect(quit, &QAction::triggered, qApp, [] { QCoreApplication::exit(0); });
    layout->addWidget(tools);

    layout->addWidget(new Banner(ctx, this), 1);

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(QStringLiteral("[ESC]-重新登录"), status));
    m_operatorPanel = new QLabel(status);
    status->addWidget(m_operatorPanel);
    status->addWidget(new QLabel(status), 1);
    m_clockPanel = new QLabel(status);
    m_clockPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    status->addPermanentWidget(m_clockPanel);
    layout->addWidget(status);

    m_clock = new QTimer(this);
    m_clock->setInterval(200);
    connect(m_clock, &QTimer::timeout, this, &Tmain::tick);
    m_clock->start();
    tick();
    resize(1000, 680);
}

Tmain::~Tmain()
{
    if (ctx().windows == &m_registry) ctx().windows = nullptr;
}

bool Tmain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && isVisible() && !QApplication::activePopupWidget()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *w = qobject_cast<QWidget *>(watched);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && w && w->window() == this) {
            reject();
            return true;
        }
    }
    return FunctionWindow::eventFilter(watched, event);
}

void Tmain::buildMenu()
{
    auto *bar = qobject_cast<QMenuBar *>(layout()->menuBar());
    const std::vector<MenuEntry> &table = menuTable();
    m_actions.assign(table.size(), nullptr);
    QMenu *menus[3] = {nullptr, nullptr, nullptr};
    for (size_t i = 0; i < table.size(); ++i) {
        const MenuEntry &e = table[i];
        QAction *a = nullptr;
        if (e.level == 0) {
            if (e.submenu) {
                menus[0] = bar->addMenu(e.caption);
                a = menus[0]->menuAction();
            } else {
                a = bar->addAction(e.caption);
                connect(a, &QAction::triggered, this, &QDialog::reject);
            }
        } else {
            QMenu *parentMenu = menus[e.level - 1];
            if (e.caption == QLatin1String("-")) {
                a = parentMenu->addSeparator();
                a->setVisible(!e.hidden);
            } else if (e.submenu) {
                menus[e.level] = parentMenu->addMenu(e.caption);
                a = menus[e.level]->menuAction();
            } else {
                a = parentMenu->addAction(e.caption);
                const int function = e.function;
                a->setData(function);
                connect(a, &QAction::triggered, this, [this, function] { dispatch(function); });
            }
        }
        m_actions[i] = a;
    }
}

QAction *Tmain::functionAction(int function) const
{
    const std::vector<MenuEntry> &table = menuTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].function == function) return m_actions[i];
    return nullptr;
}

QAction *Tmain::topMenuAction(const QString &caption) const
{
    const std::vector<MenuEntry> &table = menuTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].level == 0 && table[i].caption == caption) return m_actions[i];
    return nullptr;
}

void Tmain::activate()
{
    QTimer::singleShot(0, this, &Tmain::refresh);
}

void Tmain::refresh()
{
    setWindowTitle(ctx().qymc);
    bool gate = false;
    std::optional<Operator> op;
    if (!guarded([&] {
            gate = !TurnoverNumbers(session()).isInitialised();
            if (!gate) op = Operators(session()).find(ctx().operatorCode);
        }))
        return;

    std::vector<bool> enabled;
    if (gate) {
        enabled = menuEnabled(QString(), true);
        m_operatorPanel->clear();
    } else {
        ctx().operatorName = op ? op->name : QString();
        enabled = menuEnabled(op ? op->rights : QString(), false, op.has_value());
        const QString text = QStringLiteral("操作员名称：") + ctx().operatorName;
        m_operatorPanel->setText(text);
        m_operatorPanel->setMinimumWidth(qMax(7 * gbkLength(text), fontMetrics().horizontalAdvance(text) + 8));
    }
    for (size_t i = 0; i < enabled.size(); ++i) m_actions[i]->setEnabled(enabled[i]);
    if (gate) inform(QStringLiteral("请先初始化周转号！"));
}

void Tmain::dispatch(int function)
{
    if (m_registry.open(function)) refresh();
}

void Tmain::tick()
{
    // One fixed form on every workstation: the system's long format names
    // the time zone on some systems and the hour differently on each.
    const QDateTime now = ctx().clock->now();
    m_clockPanel->setText(QStringLiteral("系统日期:") + dateText(now.date()) + QStringLiteral("当前时间:")
                          + now.time().toString(QStringLiteral("HH:mm:ss")));
}

} // namespace fm
