#include "accounts/windows/tzx_khcx.h"

#include "accounts/customerlist.h"
#include "accounts/windows/registerwidgets.h"
#include "ui/enterchain.h"
#include "ui/reporting.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace fm {

Tzx_khcx::Tzx_khcx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户资料查询"));
    m_region = makeChoiceBox(this, QStringLiteral("地区"), 160);
    m_grid = makeRegisterGrid(this, {QStringLiteral("客户代码"), QStringLiteral("客户名称"), QStringLiteral("地区"),
                                     QStringLiteral("客户标志"), QStringLiteral("电话")});
    m_print = new QPushButton(QStringLiteral("打印"), this);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("地区："), this));
    top->addWidget(m_region);
    top->addStretch();
    QHBoxLayout *buttons = buttonRow({m_print, quit});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    layout->setContentsMargins(16, 12, 16, 16);
    resize(620, 420);

    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, &Tzx_khcx::regionChosen);
    enter().on(m_region, [this] { regionChosen(); });
    connect(m_print, &QPushButton::clicked, this, &Tzx_khcx::print);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

void Tzx_khcx::activate()
{
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    m_shown.clear();
    showCustomers(m_grid, m_shown);
    m_print->setEnabled(false);
    m_region->setFocus();
}

void Tzx_khcx::regionChosen()
{
    const QString name = chosenText(m_region);
    if (name.isEmpty()) return;
    m_shown.clear();
    guarded([&] { m_shown = CustomerRegister(session()).activeCustomers(name); });
    showCustomers(m_grid, m_shown);
    m_print->setEnabled(true);
}

void Tzx_khcx::print()
{
    showDocument(ctx(), this, customerListDocument(m_shown));
}

} // namespace fm
