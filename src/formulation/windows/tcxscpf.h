#pragma once
#include "ui/functionwindow.h"

#include <QDate>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "查询生产配方": the products costed in a range and, for a product, the raw
// materials the teams drew for its formula.
class Tcxscpf : public FunctionWindow {
    Q_OBJECT
public:
    Tcxscpf(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *team() const { return m_team; }
    QLineEdit *teamName() const { return m_teamName; }
    QCheckBox *allTeams() const { return m_allTeams; }
    QDateEdit *start() const { return m_start; }
    QDateEdit *end() const { return m_end; }
    QPushButton *query() const { return m_query; }
    Grid *products() const { return m_products; }
    Grid *drawn() const { return m_drawn; }
    // Shows what was drawn for the product of a row, as a click does.
    void chooseProduct(int row);

private:
    void chooseTeam();
    void runQuery();

    QComboBox *m_team;
    QLineEdit *m_teamName;
    QCheckBox *m_allTeams;
    QDateEdit *m_start;
    QDateEdit *m_end;
    QPushButton *m_query;
    Grid *m_products;
    Grid *m_drawn;
    QDate m_from, m_to; // the range of the last query
};

} // namespace fm
