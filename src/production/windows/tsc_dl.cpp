#include "production/windows/tsc_dl.h"

#include "data/session.h"
#include "production/windows/tscgl.h"
#include "shell/operators.h"
#include "ui/layouts.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

QString Tsc_dl::caption(const QString &qymc)
{
    return qymc + QStringLiteral("综合管理__生产管理");
}

Tsc_dl::Tsc_dl(AppContext &ctx, std::unique_ptr<Session> session, QWidget *parent)
    : QWidget(parent), Form(ctx, this), m_session(std::move(session))
{
    if (m_session) ctx.session = m_session.get();
    m_registry = std::make_unique<WindowRegistry>(ctx, this);
    ctx.windows = m_registry.get();
    setWindowTitle(caption(ctx.qymc));

    m_name = chooser("name", QStringLiteral("人员名称"), true);
    m_password = passwordInput("password", kPasswordMaxLength);
    m_login = button(QStringLiteral("登录"), "login", [this] { login(); });
    m_quit = button(QStringLiteral("退出"), "quit", [this] { quitAsked(); });

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("loginPanel"));
    panel->setStyleSheet(QStringLiteral("QFrame#loginPanel { background: rgba(255,255,255,225); border-radius: 8px; }"));
    panel->setFixedWidth(420);
    auto *title = new QLabel(caption(ctx.qymc), panel);
    QFont tf = title->font();
    tf.setPointSize(tf.pointSize() + 4);
    tf.setBold(true);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    auto *fields = new QWidget(panel);
    FieldGrid(fields, 1).add(QStringLiteral("用户名称："), m_name).add(QStringLiteral("密   码："), m_password);
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(28, 24, 28, 24);
    panelLayout->setSpacing(16);
    panelLayout->addWidget(title);
    panelLayout->addWidget(fields);
    panelLayout->addLayout(buttonRow({m_login, m_quit}));

    auto *layout = new QVBoxLayout(this);
    layout->addStretch(2);
    layout->addWidget(panel, 0, Qt::AlignHCenter);
    layout->addStretch(3);
    resize(900, 600);

    chain().on(m_name->lineEdit(), [this] { EnterChain::focusField(m_password); });
    chain().on(m_password, [this] { m_login->setFocus(); });
    connect(m_name, &QComboBox::activated, this, [this] { EnterChain::focusField(m_password); });

    openProduction = [this] {
        hide();
        productionWindow()->run();
        show();
        activate();
    };
    quit = [] { QApplication::quit(); };
}

Tsc_dl::~Tsc_dl() = default;

Tscgl *Tsc_dl::productionWindow()
{
    if (!m_production) m_production = std::make_unique<Tscgl>(ctx(), this);
    return m_production.get();
}

void Tsc_dl::activate()
{
    guarded([this] {
        const QSignalBlocker block(m_name);
        m_name->clear();
        for (const Operator &o : Operators(session()).all()) m_name->addItem(o.name);
        m_name->setCurrentIndex(-1);
        m_name->setEditText(QString());
    });
    m_password->clear();
    m_name->setFocus();
}

void Tsc_dl::login()
{
    const QString name = m_name->currentText().trimmed();
    if (name.isEmpty()) return;
    std::optional<Operator> op;
    guarded([&] {
        const std::vector<Operator> found =
            Operators(session()).select(QStringLiteral("WHERE {ci:authmc} = {ci:?} ORDER BY id"), {name});
        if (found.empty()) return; // no operator of that name: nothing happens
        op = Operators(session()).login(found.front().code, m_password->text().trimmed());
        if (!op) {
            inform(QStringLiteral("密码错误！"));
            EnterChain::focusField(m_password);
            op.reset();
            return;
        }
    });
    if (!op) return;
    ctx().operatorCode = op->code;
    ctx().operatorName = op->name;
    session().setActor({ctx().operatorCode, ctx().workstation, ctx().clock});
    m_password->clear();
    if (openProduction) openProduction();
}

void Tsc_dl::quitAsked()
{
    if (ask(QStringLiteral("确认退出系统吗？"))) {
        if (quit) quit();
        return;
    }
    m_name->setFocus();
}

void Tsc_dl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(rect().topLeft(), rect().bottomRight());
    g.setColorAt(0, QColor(0x2f, 0x6b, 0x3a));
    g.setColorAt(1, QColor(0xd9, 0xbe, 0x5c));
    p.fillRect(rect(), g);
}

} // namespace fm
