#include "sales/windows/turnoverinitwindow.h"

#include "sales/turnovernumbers.h"
#include "ui/enterchain.h"
#include "ui/layouts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace fm {

TurnoverInitWindow::TurnoverInitWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("周转号初始化"));
    m_input = new QLineEdit(this);
    m_input->setMaxLength(TurnoverNumbers::kMaxDigits);
    m_input->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), m_input));
    m_current = new QLineEdit(this);
    m_current->setReadOnly(true);
    m_confirm = new QPushButton(QStringLiteral("确认"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("周转号初始号:"), m_input);
    form->addRow(QStringLiteral("当前周转号码："), m_current);
    QHBoxLayout *buttons = buttonRow({m_confirm, m_cancel});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setContentsMargins(24, 20, 24, 16);
    setMinimumWidth(340);

    enter().on(m_input, [this] {
        if (m_input->text().trimmed().isEmpty()) return;
        m_confirm->setEnabled(true);
        m_cancel->setEnabled(true);
        m_confirm->setFocus();
    });
    connect(m_confirm, &QPushButton::clicked, this, &TurnoverInitWindow::confirm);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_input->clear();
        m_input->setFocus();
    });
}

void TurnoverInitWindow::activate()
{
    m_confirm->setEnabled(false);
    m_cancel->setEnabled(false);
    m_input->setEnabled(true);
    m_input->setFocus();
    guarded([this] { m_current->setText(TurnoverNumbers(session()).current()); });
}

void TurnoverInitWindow::confirm()
{
    const QString typed = m_input->text().trimmed();
    if (typed.isEmpty()) return;
    TurnoverNumbers numbers(session());
    if (!guarded([&] { numbers.initialise(typed); })) {
        m_input->setFocus();
        return;
    }
    QString stored;
    guarded([&] { stored = numbers.current(); });
    m_current->setText(stored);
    inform(QStringLiteral("周转号码已经修改!初始周转号码为：") + stored);
    m_input->clear();
}

} // namespace fm
