#include "accounts/windows/tzx_khcx.h"

#include "accounts/customerlist.h"
#include "accounts/windows/regionbox.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tzx_khcx::Tzx_khcx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户资料查询"));
    m_region = chooser("region", QStringLiteral("地区"));
    m_grid = new Grid({QStringLiteral("客户代码"), QStringLiteral("客户名称"), QStringLiteral("地区"),
                       QStringLiteral("客户标志"), QStringLiteral("电话")},
                      this, "customers");
    m_grid->setStretchColumn(1);
    m_print = button(QStringLiteral("打印"), "print");
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *top = new QHBoxLayout;
    top->addWidget(labelFor(QStringLiteral("地区："), m_region, this));
    top->addWidget(m_region);
    top->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({m_print, quit}));
    layout->setContentsMargins(16, 12, 16, 16);
    resize(640, 440);

    chain()
        .step(m_region,
              [this] {
                  m_shown = CustomerRegister(session()).activeCustomers(chosenText(m_region));
                  std::vector<GridRow> rows;
                  for (const Customer &c : m_shown) rows.push_back({c.id, {c.code, c.name, c.region, c.flag, c.phone}});
                  m_grid->setRows(std::move(rows));
                  return Go::advance();
              })
        .step(m_print, [this] {
            showDocument(this->ctx(), this, customerListDocument(m_shown));
            return Go::stay();
        });
    connect(m_region, QOverload<int>::of(&QComboBox::activated), this, [this] { chain().run(m_region); });
}

void Tzx_khcx::activate()
{
    guarded([this] { fillRegionBox(m_region, CustomerRegister(session()).regions()); });
    m_shown.clear();
    m_grid->clear();
    chain().reset();
}

} // namespace fm
