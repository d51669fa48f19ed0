#pragma once
// "生产成本汇总---财务报表生成": the month's product costs, material use and
// sales costs, their reports and the month's overheads; and "产品财务汇总报表
// 处理": the price list's products sold and returned in a period.

#include "production/costsummary.h"
#include "ui/functionwindow.h"

#include <functional>

class QDateEdit;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace fm {

class Grid;

class Tvel_cphzz : public FunctionWindow {
    Q_OBJECT
public:
    Tvel_cphzz(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }
    QDateEdit *startInput() const { return m_start; }
    QDateEdit *endInput() const { return m_end; }
    QPushButton *confirmButton() const { return m_confirm; }
    QDateEdit *salesStartInput() const { return m_salesStart; }
    QDateEdit *salesEndInput() const { return m_salesEnd; }
    QPushButton *salesConfirmButton() const { return m_salesConfirm; }
    Grid *costGrid() const { return m_costGrid; }
    Grid *salesGrid() const { return m_salesGrid; }
    Grid *materialGrid() const { return m_materialGrid; }
    Grid *lossGrid() const { return m_lossGrid; }
    Grid *overheadGrid() const { return m_overheadGrid; }
    QLineEdit *figure(const char *name) const;

    // The overheads input, opened modally (tests replace it).
    std::function<void()> openOverheadsInput;
    // The printer set-up dialog (tests replace it).
    std::function<void()> openPrinterSetup;

private:
    void summarise();
    void summariseSales();
    void showTables();
    void showOverheads(const QString &date);
    void showTotals(const CostTotals &t);
    void printProductCost();
    void printSalesCost();
    void printMaterialUse();

    CostSummary service() const;

    QTabWidget *m_tabs;
    QDateEdit *m_start, *m_end, *m_salesStart, *m_salesEnd;
    QPushButton *m_confirm, *m_salesConfirm;
    QProgressBar *m_progress, *m_salesProgress;
    Grid *m_costGrid, *m_salesGrid, *m_materialGrid, *m_lossGrid, *m_overheadGrid;
    QString m_ranStart, m_ranEnd, m_salesRanStart, m_salesRanEnd; // the periods the tables hold
};

class Tcpbb : public FunctionWindow {
    Q_OBJECT
public:
    Tcpbb(AppContext &ctx, QWidget *parent);
    void activate() override;

    QDateEdit *startInput() const { return m_start; }
    QDateEdit *endInput() const { return m_end; }
    QPushButton *processButton() const { return m_process; }
    QPushButton *clearButton() const { return m_clear; }
    Grid *grid() const { return m_grid; }

private:
    void cleared();
    void process();
    void print();

    QDateEdit *m_start, *m_end;
    QPushButton *m_process, *m_clear;
    QProgressBar *m_progress;
    Grid *m_grid;
};

} // namespace fm
