#pragma once
#include "formulation/windows/formulationfields.h"
#include "ui/functionwindow.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace fm {

class Grid;

// "原料因素修改": the nutrient values of a raw material, and the refresh of
// every saved formula that contains it.
class Tylxg_1 : public FunctionWindow {
    Q_OBJECT
public:
    Tylxg_1(AppContext &ctx, QWidget *parent);
    void activate() override;

    Grid *materials() const { return m_grid; }
    QLineEdit *name() const { return m_name; }
    QLineEdit *factor(int n) const { return m_inputs[size_t(n)]; }
    QPushButton *confirm() const { return m_confirm; }
    QPushButton *cancel() const { return m_cancel; }
    QDateEdit *start() const { return m_start; }
    QDateEdit *end() const { return m_end; }
    QLabel *startCaption() const { return m_startCaption; }
    QPushButton *refresh() const { return m_refresh; }
    QProgressBar *progress() const { return m_progress; }
    // The material chosen since the window was opened or last refreshed.
    QString chosen() const { return m_chosen; }
    // Chooses the material of that grid row, as a click does.
    void choose(int row);

private:
    void reload();
    void showMaterial();
    void store();
    void runRefresh();

    Grid *m_grid;
    QLineEdit *m_name;
    FactorInputs m_inputs{};
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QDateEdit *m_start;
    QDateEdit *m_end;
    QLabel *m_startCaption;
    QPushButton *m_refresh;
    QProgressBar *m_progress;
    qint64 m_id = 0;
    QString m_chosen;
};

} // namespace fm
