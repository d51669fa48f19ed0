#pragma once
#include "ui/functionwindow.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace fm {

// "公司高级人员管理": operators taken on, removed, and given another
// department or code, one tab each.
class Tzx_ry : public FunctionWindow {
    Q_OBJECT
public:
    Tzx_ry(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }

    // "公司职员调入"
    QLineEdit *takeOnName() const { return m_inName; }
    QComboBox *takeOnDept() const { return m_inDept; }
    QLineEdit *takeOnCode() const { return m_inCode; }
    QLineEdit *takeOnPassword() const { return m_inPassword; }
    QPushButton *takeOnConfirm() const { return m_inConfirm; }
    QTableWidget *takeOnGrid() const { return m_inGrid; }

    // "公司职员调出"
    QComboBox *removeName() const { return m_outName; }
    QComboBox *removeCode() const { return m_outCode; }
    QLineEdit *removeDept() const { return m_outDept; }
    QPushButton *removeConfirm() const { return m_outConfirm; }

    // "职员信息修改"
    QComboBox *changeName() const { return m_chName; }
    QComboBox *changeDept() const { return m_chDept; }
    QLineEdit *changeCode() const { return m_chCode; }
    QPushButton *changeConfirm() const { return m_chConfirm; }

private:
    QWidget *buildTakeOn();
    QWidget *buildRemove();
    QWidget *buildChange();

    void reload();
    void resetTakeOn();
    void resetRemove();
    void resetChange();

    void takeOnCodeEntered();
    void confirmTakeOn();
    void chooseForRemoval(qint64 id, bool byName);
    void confirmRemoval();
    void chooseForChange(qint64 id);
    void changeDeptChosen();
    void changeCodeEntered();
    void confirmChange();

    QTabWidget *m_tabs;

    QLineEdit *m_inName;
    QComboBox *m_inDept;
    QLineEdit *m_inCode;
    QLineEdit *m_inPassword;
    QPushButton *m_inConfirm;
    QPushButton *m_inDiscard;
    QTableWidget *m_inGrid;

    QComboBox *m_outName;
    QComboBox *m_outCode;
    QLineEdit *m_outDept;
    QPushButton *m_outConfirm;
    QPushButton *m_outDiscard;
    QTableWidget *m_outGrid;
    qint64 m_outId = 0;

    QComboBox *m_chName;
    QComboBox *m_chDept;
    QLineEdit *m_chCode;
    QPushButton *m_chConfirm;
    QPushButton *m_chDiscard;
    QTableWidget *m_chGrid;
    qint64 m_chId = 0;
};

} // namespace fm
