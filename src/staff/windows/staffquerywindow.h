#pragma once
#include "ui/functionwindow.h"

#include <QComboBox>

namespace fm {

class Grid;

// "公司人员查询": the operators of one department.
class Tzx_gsrycx : public FunctionWindow {
    Q_OBJECT
public:
    Tzx_gsrycx(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *departmentList() const { return m_dept; }
    Grid *grid() const { return m_grid; }

private:
    void showDepartment(const QString &department);

    QComboBox *m_dept = chooser("department");
    Grid *m_grid;
};

} // namespace fm
