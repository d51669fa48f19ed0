#include "shell/windows/changelogwindow.h"

#include "common/clock.h"
#include "reports/reportexport.h"
#include "shell/appcontext.h"
#include "shell/operators.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

namespace {

constexpr int kOldColumn = 8, kNewColumn = 9;

} // namespace

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
    // The old and new values share the spare width; the other columns fit
    // their contents. A long value shows in full as the cell's tip.
    m_grid->setStretchColumn(kOldColumn);
    m_grid->view()->horizontalHeader()->setSectionResizeMode(kNewColumn, QHeaderView::Stretch);
    m_grid->view()->setTextElideMode(Qt::ElideRight);
    // The short columns fit the rows on screen: measuring a whole page of
    // long rows costs more than the look-up.
    m_grid->view()->horizontalHeader()->setResizeContentsPrecision(0);
    m_operator->lineEdit()->setMaxLength(5 + 1 + 10);

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
    resize(1200, 640);

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
    m_operator->addItem(QString());
    guarded([this] {
        for (const Operator &o : Operators(session()).all())
            m_operator->addItem(o.code.trimmed() + QLatin1Char(' ') + o.name.trimmed(), o.code.trimmed());
    });
    m_operator->setCurrentIndex(0);
    m_table->clear();
    m_code->clear();
    m_grid->clear();
    m_from->setFocus();
}

QString ChangeLogWindow::operatorCode() const
{
    const int i = m_operator->currentIndex();
    const QString typed = m_operator->currentText().trimmed();
    if (i > 0 && typed == m_operator->itemText(i).trimmed()) return m_operator->itemData(i).toString();
    return typed;
}

ChangeLogFilter ChangeLogWindow::filter() const
{
    return {m_from->date(), m_to->date(), operatorCode(), m_table->text(), m_code->text()};
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
