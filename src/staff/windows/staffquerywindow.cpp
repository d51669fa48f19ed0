#include "staff/windows/staffquerywindow.h"

#include "staff/companystaff.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace fm {

namespace {
const QString kPlaceholder = QStringLiteral("部    门");
}

Tzx_gsrycx::Tzx_gsrycx(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent),
      m_grid(new Grid(QStringList{QStringLiteral("代码"), QStringLiteral("姓名"), QStringLiteral("部门")}, this, "staff"))
{
    setWindowTitle(QStringLiteral("公司人员查询"));
    m_dept->setAccessibleName(QStringLiteral("部门"));
    m_dept->setMinimumWidth(160);
    auto *top = new QHBoxLayout;
    top->addWidget(m_dept);
    top->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({button(QStringLiteral("退出"), "quit", [this] { accept(); })}));
    resize(440, 360);

    connect(m_dept, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index > 0) guarded([&] { showDepartment(m_dept->itemText(index)); });
    });
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
    m_grid->clear();
    m_dept->setFocus();
}

void Tzx_gsrycx::showDepartment(const QString &department)
{
    std::vector<GridRow> rows;
    for (const Operator &o : CompanyStaff(session()).ofDepartment(department)) rows.push_back({o.id, {o.code, o.name, o.dept}});
    m_grid->setRows(std::move(rows));
}

} // namespace fm
