#include "staff/windows/staffquerywindow.h"

#include "staff/companystaff.h"
#include "staff/windows/staffgrid.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace fm {

namespace {
const QString kPlaceholder = QStringLiteral("部    门");
}

Tzx_gsrycx::Tzx_gsrycx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("公司人员查询"));
    m_dept = new QComboBox(this);
    m_dept->setMinimumWidth(160);
    m_grid = staffgrid::make(this, {QStringLiteral("代码"), QStringLiteral("姓名"), QStringLiteral("部门")});
    auto *quit = new QPushButton(QStringLiteral("退出"), this);

    auto *top = new QHBoxLayout;
    top->addWidget(m_dept);
    top->addStretch();
    QHBoxLayout *buttons = buttonRow({quit});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(440, 360);

    connect(m_dept, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (index > 0) showDepartment(m_dept->itemText(index));
    });
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

void Tzx_gsrycx::activate()
{
    QStringList departments;
    guarded([&] { departments = CompanyStaff(session()).usedDepartments(); });
    {
        const QSignalBlocker block(m_dept);
        m_dept->clear();
        m_dept->addItem(kPlaceholder);
        m_dept->addItems(departments);
        m_dept->setCurrentIndex(0);
    }
    m_grid->setRowCount(0);
    m_dept->setFocus();
}

void Tzx_gsrycx::showDepartment(const QString &department)
{
    std::vector<Operator> ops;
    guarded([&] { ops = CompanyStaff(session()).ofDepartment(department); });
    m_grid->setRowCount(0);
    for (const Operator &o : ops) staffgrid::addRow(m_grid, o.id, {o.code, o.name, o.dept});
    staffgrid::fit(m_grid);
}

} // namespace fm
