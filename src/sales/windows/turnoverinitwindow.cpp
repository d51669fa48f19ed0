#include "sales/windows/turnoverinitwindow.h"

#include "data/dberror.h"
#include "sales/turnovernumbers.h"
#include "ui/layouts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace fm {

TurnoverInitWindow::TurnoverInitWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("周转号初始化"));
    m_input = Form::input("initial", TurnoverNumbers::kMaxDigits);
    m_input->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), m_input));
    m_current = display("current");
    m_confirm = button(QStringLiteral("确认"), "confirm");
    m_cancel = button(QStringLiteral("取消"), "cancel", [this] {
        m_input->clear();
        chain().reset();
    });

    auto *fields = new QWidget(this);
    FieldGrid(fields, 1).add(QStringLiteral("周转号初始号:"), m_input).add(QStringLiteral("当前周转号码："), m_current);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addLayout(buttonRow({m_confirm, m_cancel}));
    layout->setContentsMargins(24, 20, 24, 16);
    setMinimumWidth(340);

    chain()
        .step(m_input, [] { return Go::advance(); })
        .step(m_confirm, [this] { return confirm(); }, {QString(), false, false, {m_cancel}});
}

void TurnoverInitWindow::activate()
{
    chain().reset();
    guarded([this] { m_current->setText(TurnoverNumbers(session()).current()); });
}

Go TurnoverInitWindow::confirm()
{
    TurnoverNumbers numbers(session());
    try {
        numbers.initialise(m_input->text());
    } catch (const DomainError &e) {
        if (e.code() != ErrorCode::BadNumber) throw;
        inform(e.message());
        return Go::back();
    }
    const QString stored = numbers.current();
    m_current->setText(stored);
    inform(QStringLiteral("周转号码已经修改!初始周转号码为：") + stored);
    m_input->clear();
    return Go::to(m_input);
}

} // namespace fm
