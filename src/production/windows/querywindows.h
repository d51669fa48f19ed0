#pragma once
// The production queries: the raw-material summary and its query, the
// workshop's production lines, products sent back, and a line found by its
// bar code.

#include "production/productionqueries.h"
#include "ui/functionwindow.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace fm {

class Grid;

// "生产原料汇总"
class Tscylhz : public FunctionWindow {
    Q_OBJECT
public:
    Tscylhz(AppContext &ctx, QWidget *parent);
    void activate() override;
    QDateEdit *startField() const { return m_start; }
    QDateEdit *endField() const { return m_end; }
    QPushButton *startButton() const { return m_go; }
    Grid *grid() const { return m_grid; }

private:
    void build();
    QDateEdit *m_start;
    QDateEdit *m_end;
    QPushButton *m_go;
    QProgressBar *m_progress;
    Grid *m_grid;
    Rows m_rows;
};

// "生产原料耗用查询"
class Tscylhy : public FunctionWindow {
    Q_OBJECT
public:
    Tscylhy(AppContext &ctx, QWidget *parent);
    void activate() override;
    QComboBox *materialList() const { return m_material; }
    QDateEdit *startField() const { return m_start; }
    QDateEdit *endField() const { return m_end; }
    QPushButton *queryButton() const { return m_query; }
    QLineEdit *totalField() const { return m_total; }
    Grid *grid() const { return m_grid; }
    void byDate();
    void byMaterial();

private:
    void query();
    bool m_byMaterial = false;
    QComboBox *m_material;
    QDateEdit *m_start;
    QDateEdit *m_end;
    QPushButton *m_query;
    QLineEdit *m_total;
    Grid *m_grid;
    Rows m_rows;
};

// "车间生产查询    说明：生产成本单位：元/吨"
class Tscpf_cx : public FunctionWindow {
    Q_OBJECT
public:
    Tscpf_cx(AppContext &ctx, QWidget *parent);
    void activate() override;
    void choose(LineFilter f);

    QComboBox *choiceList() const { return m_choice; }
    QDateEdit *startField() const { return m_start; }
    QDateEdit *endField() const { return m_end; }
    Grid *grid() const { return m_grid; }
    QLineEdit *productionField() const { return m_production; }
    QLineEdit *blendingField() const { return m_blending; }
    QLineEdit *rebaggingField() const { return m_rebagging; }

private:
    Go query();
    LineFilter m_filter = LineFilter::ByDate;
    QLabel *m_choiceLabel;
    QComboBox *m_choice;
    QDateEdit *m_start;
    QDateEdit *m_end;
    Grid *m_grid;
    QLineEdit *m_production;
    QLineEdit *m_blending;
    QLineEdit *m_rebagging;
    Rows m_rows;
};

// "产品回机查询"
class Tcphj_cx : public FunctionWindow {
    Q_OBJECT
public:
    Tcphj_cx(AppContext &ctx, QWidget *parent);
    void activate() override;
    void choose(LineFilter f);

    QLineEdit *codeField() const { return m_code; }
    QLineEdit *teamField() const { return m_team; }
    QLineEdit *teamNameField() const { return m_teamName; }
    QLineEdit *startField() const { return m_start; }
    QLineEdit *endField() const { return m_end; }
    QLineEdit *totalField() const { return m_total; }
    Grid *grid() const { return m_grid; }
    QPushButton *printButton() const { return m_print; }

private:
    Go query();
    LineFilter m_filter = LineFilter::ByDate;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_spec;
    QWidget *m_teamPanel;
    QLineEdit *m_team;
    QLineEdit *m_teamName;
    QLineEdit *m_start;
    QLineEdit *m_end;
    QLineEdit *m_total;
    QPushButton *m_print;
    Grid *m_grid;
    Rows m_rows;
    QString m_shownStart, m_shownEnd;
};

// "产品查询-条形码"
class Tcpcx_txm : public FunctionWindow {
    Q_OBJECT
public:
    Tcpcx_txm(AppContext &ctx, QWidget *parent);
    void activate() override;
    QLineEdit *scanField() const { return m_scan; }
    QLineEdit *shownCode() const { return m_shown; }
    QLineEdit *field(const char *column) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void lookUp(const QString &code);
    QLineEdit *m_scan;
    QLineEdit *m_shown;
    QList<QPair<QString, QLineEdit *>> m_fields;
};

} // namespace fm
