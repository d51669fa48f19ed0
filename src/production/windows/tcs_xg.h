#pragma once
// "系统参数修改": the pellet and crumble kinds, the production wage standards
// (added, edited, deleted) and the reprocessing wage standards.

#include "production/productionparameters.h"
#include "ui/functionwindow.h"

#include <array>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace fm {

class EditTable;
class Grid;

class Tcs_xg : public FunctionWindow {
    Q_OBJECT
public:
    Tcs_xg(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }
    // 压模破碎
    QLineEdit *kindName() const { return m_kindName; }
    QRadioButton *pelletClass(int i) const { return m_classes[size_t(i)]; }
    QLineEdit *kindSize() const { return m_kindSize; }
    QPushButton *kindConfirm() const { return m_kindConfirm; }
    EditTable *kindList() const { return m_kinds; }
    // 加工标准
    QComboBox *categoryList() const { return m_category; }
    QComboBox *specList() const { return m_spec; }
    QComboBox *kindList2() const { return m_kind; }
    QComboBox *sizeList() const { return m_size; }
    QLineEdit *wageField() const { return m_wage; }
    QLineEdit *otherField() const { return m_other; }
    QPushButton *standardConfirm() const { return m_standardConfirm; }
    Grid *standardList() const { return m_standardList; }
    // 修改标准
    EditTable *editList() const { return m_editList; }
    QPushButton *allowButton() const { return m_allow; }
    QPushButton *forbidButton() const { return m_forbid; }
    QPushButton *deleteButton() const { return m_delete; }
    // 回机处理
    QRadioButton *way(bool blending) const { return blending ? m_blend : m_rebag; }
    QComboBox *bagSize(bool blending) const { return m_bagSize[blending ? 1 : 0]; }
    QLineEdit *wayStandard(bool blending) const { return m_wayWage[blending ? 1 : 0]; }
    QPushButton *reprocessConfirm() const { return m_reprocessConfirm; }
    QPushButton *showButton() const { return m_show; }
    EditTable *reprocessList() const { return m_reprocessList; }

private:
    ProductionParameters params() const { return ProductionParameters(session(), *ctx().clock); }
    QWidget *buildKinds();
    QWidget *buildStandards();
    QWidget *buildEdits();
    QWidget *buildReprocessing();
    void reloadKinds();
    void reloadStandards();
    void resetStandardEntry();
    void categoryChosen();
    void kindChosen();
    void sizeChosen();
    void confirmKind();
    void confirmStandard();
    void deleteStandard();
    void chooseWay(bool blending);
    void confirmReprocessing();
    void toggleReprocessList();
    Row editStandard(qint64 id, const QString &field, const QString &text);

    QTabWidget *m_tabs;
    QLineEdit *m_kindName = nullptr;
    std::array<QRadioButton *, 4> m_classes{};
    QLineEdit *m_kindSize = nullptr;
    QPushButton *m_kindConfirm = nullptr;
    EditTable *m_kinds = nullptr;
    QComboBox *m_category = nullptr;
    QComboBox *m_spec = nullptr;
    QComboBox *m_kind = nullptr;
    QComboBox *m_size = nullptr;
    QLineEdit *m_wage = nullptr;
    QLineEdit *m_other = nullptr;
    QPushButton *m_standardConfirm = nullptr;
    Grid *m_standardList = nullptr;
    EditTable *m_editList = nullptr;
    QPushButton *m_allow = nullptr;
    QPushButton *m_forbid = nullptr;
    QPushButton *m_delete = nullptr;
    QRadioButton *m_rebag = nullptr;
    QRadioButton *m_blend = nullptr;
    std::array<QComboBox *, 2> m_bagSize{};
    std::array<QLineEdit *, 2> m_wayWage{};
    QPushButton *m_reprocessConfirm = nullptr;
    QPushButton *m_show = nullptr;
    QGroupBox *m_reprocessPanel = nullptr;
    EditTable *m_reprocessList = nullptr;
    EnterChain *m_kindChain = nullptr;
    QString m_flag;       // product flag of the category chosen
    qint64 m_chosenStandard = 0;
};

} // namespace fm
