#pragma once
#include "ui/functionwindow.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace fm {

// "配方刷新": every saved formula computed anew from the register, its
// results of the saving dates in the range renewed, its cost and its
// products' cost too.
class Tsx_pf : public FunctionWindow {
    Q_OBJECT
public:
    Tsx_pf(AppContext &ctx, QWidget *parent);
    void activate() override;

    QRadioButton *byFactors() const { return m_byFactors; }
    QRadioButton *byPrices() const { return m_byPrices; }
    QRadioButton *byStandards() const { return m_byStandards; }
    QRadioButton *byAll() const { return m_byAll; }
    QComboBox *factorMaterials() const { return m_factorMaterials; }
    QComboBox *priceMaterials() const { return m_priceMaterials; }
    QComboBox *standards() const { return m_standards; }
    QLineEdit *code() const { return m_code; }
    QLabel *codeCaption() const { return m_codeCaption; }
    QDateEdit *start() const { return m_start; }
    QDateEdit *end() const { return m_end; }
    QPushButton *refresh() const { return m_refresh; }
    QProgressBar *progress() const { return m_progress; }
    QLabel *status() const { return m_status; }

private:
    void pickWay(QComboBox *list);
    void showCode(QComboBox *list);
    void runRefresh();

    QRadioButton *m_byFactors;
    QRadioButton *m_byPrices;
    QRadioButton *m_byStandards;
    QRadioButton *m_byAll;
    QComboBox *m_factorMaterials;
    QComboBox *m_priceMaterials;
    QComboBox *m_standards;
    QLineEdit *m_code;
    QLabel *m_codeCaption;
    QDateEdit *m_start;
    QDateEdit *m_end;
    QPushButton *m_refresh;
    QProgressBar *m_progress;
    QLabel *m_status;
};

} // namespace fm
