#pragma once
#include "ui/functionwindow.h"

#include <QLineEdit>
#include <QPushButton>

namespace fm {

class Grid;

// "生产人员修改": a worker's name and team changed, or the worker deleted.
class Tbzry_xg : public FunctionWindow {
    Q_OBJECT
public:
    Tbzry_xg(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *codeField() const { return m_code; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *teamField() const { return m_team; }
    Grid *grid() const { return m_grid; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *confirmButton() const { return m_confirm; }
    // Chooses the worker of a grid row, as a click does.
    void chooseRow(int row);

private:
    void reload();
    void showWorker(qint64 id);
    void startOver();
    Go confirm();
    void deleteWorker();

    QLineEdit *m_code;
    QLineEdit *m_name = input("workerName", 10);
    QLineEdit *m_team;
    Grid *m_grid;
    QPushButton *m_delete = button(QStringLiteral("删除记录"), "delete", [this] { deleteWorker(); });
    QPushButton *m_confirm = button(QStringLiteral("确认修改"), "confirm");
    qint64 m_chosen = 0;
};

} // namespace fm
