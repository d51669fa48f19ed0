#pragma once
#include "ui/functionwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <array>

class QTabWidget;

namespace fm {

class Grid;

// "公司职员调入": an operator taken on, with no rights until they are granted.
class TakeOnPage : public FormPage {
    Q_OBJECT
public:
    TakeOnPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

    QLineEdit *const name = input("takeOnName", 10);
    QComboBox *const dept;
    QLineEdit *const code;
    QLineEdit *const password;
    QPushButton *const confirm = button(QStringLiteral("确认"), "takeOnConfirm");
    Grid *const grid;

signals:
    void operatorsChanged();

private:
    QPushButton *m_discard = button(QStringLiteral("放弃"), "takeOnDiscard", [this] { activate(); });
};

// "公司职员调出": an operator removed, chosen by name or by code.
class RemovePage : public FormPage {
    Q_OBJECT
public:
    RemovePage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

    QComboBox *const name = chooser("removeName", QString(), true);
    QComboBox *const code = chooser("removeCode", QString(), true);
    QLineEdit *const dept = display("removeDept");
    QPushButton *const confirm = button(QStringLiteral("确认"), "removeConfirm");
    Grid *const grid;

signals:
    void operatorsChanged();

private:
    void choose(qint64 id, bool byName);

    QPushButton *m_discard = button(QStringLiteral("放弃"), "removeDiscard", [this] { activate(); });
    qint64 m_id = 0;
};

// "职员信息修改": an operator's department and code changed.
class ChangePage : public FormPage {
    Q_OBJECT
public:
    ChangePage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

    QComboBox *const name = chooser("changeName", QString(), true);
    QComboBox *const dept;
    QLineEdit *const code;
    QPushButton *const confirm = button(QStringLiteral("确认"), "changeConfirm");
    Grid *const grid;

signals:
    void operatorsChanged();

private:
    QPushButton *m_discard = button(QStringLiteral("放弃"), "changeDiscard", [this] { activate(); });
    qint64 m_id = 0;
};

// "公司高级人员管理": operators taken on, removed, and given another
// department or code, one page each.
class Tzx_ry : public FunctionWindow {
    Q_OBJECT
public:
    Tzx_ry(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }

    QLineEdit *takeOnName() const { return m_takeOn->name; }
    QComboBox *takeOnDept() const { return m_takeOn->dept; }
    QLineEdit *takeOnCode() const { return m_takeOn->code; }
    QLineEdit *takeOnPassword() const { return m_takeOn->password; }
    QPushButton *takeOnConfirm() const { return m_takeOn->confirm; }
    Grid *takeOnGrid() const { return m_takeOn->grid; }

    QComboBox *removeName() const { return m_remove->name; }
    QComboBox *removeCode() const { return m_remove->code; }
    QLineEdit *removeDept() const { return m_remove->dept; }
    QPushButton *removeConfirm() const { return m_remove->confirm; }

    QComboBox *changeName() const { return m_change->name; }
    QComboBox *changeDept() const { return m_change->dept; }
    QLineEdit *changeCode() const { return m_change->code; }
    QPushButton *changeConfirm() const { return m_change->confirm; }

private:
    QTabWidget *m_tabs;
    TakeOnPage *m_takeOn;
    RemovePage *m_remove;
    ChangePage *m_change;
    std::array<FormPage *, 3> m_pages;
};

} // namespace fm
