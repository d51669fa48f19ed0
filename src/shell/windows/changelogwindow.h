#pragma once
#include "shell/changelogquery.h"
#include "ui/functionwindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

class Grid;

// "修改记录查询": the change log by date range, operator, table and code.
class ChangeLogWindow : public FunctionWindow {
    Q_OBJECT
public:
    ChangeLogWindow(AppContext &ctx, QWidget *parent);
    void activate() override;

    QDateEdit *fromField() const { return m_from; }
    QDateEdit *toField() const { return m_to; }
    // The operators of the register to choose from; a code typed (an
    // operator removed since) is taken as it stands.
    QComboBox *operatorField() const { return m_operator; }
    QLineEdit *tableField() const { return m_table; }
    QLineEdit *codeField() const { return m_code; }
    Grid *grid() const { return m_grid; }

    void search();
    void print();
    // Writes the listed rows to an XLSX file; false (with a message) on failure.
    bool exportTo(const QString &path);

private:
    ChangeLogFilter filter() const;
    QString operatorCode() const;

    QDateEdit *m_from = dateInput("from");
    QDateEdit *m_to = dateInput("to");
    QComboBox *m_operator = chooser("operator", QStringLiteral("全部"), true);
    QLineEdit *m_table = input("table", 12);
    QLineEdit *m_code = input("code", 20);
    QPushButton *m_search = button(QStringLiteral("查询"), "search", [this] { search(); });
    QPushButton *m_print = button(QStringLiteral("打印"), "print", [this] { print(); });
    QPushButton *m_export = button(QStringLiteral("导出Excel"), "export");
    QPushButton *m_close = button(QStringLiteral("退出"), "close", [this] { close(); });
    Grid *m_grid = nullptr;
};

} // namespace fm
