#pragma once
#include "formulation/formulacalculation.h"
#include "ui/functionwindow.h"

#include <functional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace fm {

class Tvelpf1;

// "配方（一）1.": the materials of a new formula (optionally those of a saved
// formula as a template) and the standard to compare it with. "下一步"
// prices them and opens the second step; this step closes.
class Tvelpf : public FunctionWindow {
    Q_OBJECT
public:
    Tvelpf(AppContext &ctx, QWidget *parent);
    void activate() override;

    QListWidget *available() const { return m_available; }
    QListWidget *chosen() const { return m_chosen; }
    QPushButton *moveOne() const { return m_right; }
    QPushButton *moveBack() const { return m_left; }
    QPushButton *moveAll() const { return m_allRight; }
    QPushButton *moveAllBack() const { return m_allLeft; }
    QComboBox *standards() const { return m_standards; }
    QPushButton *confirm() const { return m_confirm; }
    QPushButton *next() const { return m_next; }
    QPushButton *templateButton() const { return m_template; }
    QComboBox *templateNumbers() const { return m_templateNumbers; }
    QLineEdit *templateName() const { return m_templateName; }
    Tvelpf1 *stepTwo() const { return m_step2; }
    const FormulaComposition &composition() const { return m_comp; }

private:
    FormulaCalculation calculation() const;
    void move(QListWidget *from, QListWidget *to, bool all);
    void updateButtons();
    void chooseStandard();
    void toggleTemplate();
    void chooseTemplate();
    void confirmMaterials();
    void openStepTwo();

    QListWidget *m_available;
    QListWidget *m_chosen;
    QPushButton *m_right;
    QPushButton *m_left;
    QPushButton *m_allRight;
    QPushButton *m_allLeft;
    QComboBox *m_standards;
    QPushButton *m_confirm;
    QPushButton *m_next;
    QPushButton *m_template;
    QGroupBox *m_templatePanel;
    QComboBox *m_templateNumbers;
    QLineEdit *m_templateName;
    Tvelpf1 *m_step2 = nullptr;
    FormulaComposition m_comp;
};

} // namespace fm
