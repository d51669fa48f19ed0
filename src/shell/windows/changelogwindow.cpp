#include "shell/windows/changelogwindow.h"

#include "common/clock.h"
#include "reports/reportexport.h"
#include "shell/appcontext.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QFileDialog>
#include <QVBoxLayout>

namespace fm {

ChangeLogWindow::ChangeLogWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("修改记录查询"));
    QList<GridColumn> columns = gridColumns(
        {QStringLiteral("时间"), QStringLiteral("操作员"), QStringLiteral("工作站"), QStringLiteral("功能"),
         QStringLiteral("表"), QStringLiteral("记录号"), QStringLiteral("代码"), QStringLiteral("操作"),
         QStringLiteral("原值"), QStringLiteral("新值")},
        {QStringLiteral("rq_0"), QStringLiteral("czydm"), QStringLiteral("gzz"), QStringLiteral("gnmc"),
         QStringLiteral("bm"), QStringLiteral("jlid"), QStringLiteral("dm"), QStringLiteral("czlx"),
         QStringLiteral("jz"), QStringLiteral("xz")});
    columns[0].kind = GridColumn::Kind::DateTime;
    m_grid = new Grid(columns, this, "log");

    auto *fields = new QWidget(this);
    FieldGrid(fields, 3)
        .add(QStringLiteral("起始日期"), m_from)
        .add(QStringLiteral("截止日期"), m_to)
        .add(QStringLiteral("操作员"), m_operator)
        .add(QStringLiteral("表名"), m_table)
        .add(QStringLiteral("代码"), m_code)
        .newRow()
        .add(buttonRow({m_search, m_print, m_export, m_close}));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addWidget(m_grid, 1);
    resize(1000, 600);

    // Enter in any filter runs the query.
    for (QWidget *w : {static_cast<QWidget *>(m_from), static_cast<QWidget *>(m_to), static_cast<QWidget *>(m_operator),
                       static_cast<QWidget *>(m_table), static_cast<QWidget *>(m_code)})
        chain().on(w, [this] { search(); });
    connect(m_export, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出Excel"), QStringLiteral("修改记录.xlsx"),
                                                          QStringLiteral("Excel (*.xlsx)"));
        if (!path.isEmpty()) exportTo(path);
    });
}

void ChangeLogWindow::activate()
{
    const QDate today = ctx().clock->today();
    m_from->setDate(today.addDays(-30));
    m_to->setDate(today);
    m_operator->clear();
    m_table->clear();
    m_code->clear();
    m_grid->clear();
    m_from->setFocus();
}

ChangeLogFilter ChangeLogWindow::filter() const
{
    return {m_from->date(), m_to->date(), m_operator->text(), m_table->text(), m_code->text()};
}

void ChangeLogWindow::search()
{
    guarded([this] { m_grid->setPager(std::make_shared<RowPager>(session(), ChangeLogQuery::query(filter()))); });
}

void ChangeLogWindow::print()
{
    guarded([this] {
        const ChangeLogFilter f = filter();
        showDocument(ctx(), this, ChangeLogQuery::document(ChangeLogQuery(session()).rows(f), f, ctx().clock->today()));
    });
}

bool ChangeLogWindow::exportTo(const QString &path)
{
    bool ok = false;
    guarded([&] {
        const ChangeLogFilter f = filter();
        QString error;
        ok = exportXlsx(ChangeLogQuery::document(ChangeLogQuery(session()).rows(f), f, ctx().clock->today()), path, &error);
        if (!ok) inform(error);
    });
    return ok;
}

} // namespace fm
