#pragma once
#include "ui/functionwindow.h"

#include <QPushButton>

namespace fm {

class Grid;

// "班组删除": a team chosen in the grid is deleted; its workers stay.
class Tbzsc : public FunctionWindow {
    Q_OBJECT
public:
    Tbzsc(AppContext &ctx, QWidget *parent);
    void activate() override;

    Grid *grid() const { return m_grid; }
    QPushButton *deleteButton() const { return m_delete; }
    void chooseRow(int row);

private:
    void reload();
    void deleteTeam();

    Grid *m_grid;
    QPushButton *m_delete = button(QStringLiteral("删除"), "delete", [this] { deleteTeam(); });
    qint64 m_chosen = 0;
    QString m_code;
    QString m_name;
};

} // namespace fm
