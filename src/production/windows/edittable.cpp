#include "production/windows/edittable.h"

#include "common/numbertext.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

namespace fm {

EditTable::EditTable(const QList<Column> &columns, QWidget *parent, const char *name) : QTableWidget(parent), m_columns(columns)
{
    setObjectName(QString::fromLatin1(name));
    setColumnCount(int(columns.size()));
    QStringList titles;
    for (const Column &c : columns) titles << c.title;
    setHorizontalHeaderLabels(titles);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *i) { cellChanged(i); });
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit rowClicked(idAt(row)); });
    nextColumn = [this](int c) { return c + 1 < columnCount() ? c + 1 : 0; };
    // Enter in a cell's editor commits it and moves on, as Enter on a cell does.
    connect(itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
        if (hint == QAbstractItemDelegate::SubmitModelCache) QTimer::singleShot(0, this, [this] { moveOn(); });
    });
}

void EditTable::setRows(const Rows &rows)
{
    m_filling = true;
    m_rows = rows;
    setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < m_columns.size(); ++c) {
            auto *item = new QTableWidgetItem;
            setItem(r, c, item);
        }
        showRow(r, rows[size_t(r)]);
    }
    m_filling = false;
}

void EditTable::showRow(int row, const Row &r)
{
    const bool was = m_filling;
    m_filling = true;
    m_rows[size_t(row)] = r;
    for (int c = 0; c < m_columns.size(); ++c) {
        const Column &col = m_columns[c];
        QTableWidgetItem *item = this->item(row, c);
        item->setText(col.number ? numberText(r.number(col.field)) : r.text(col.field));
        item->setTextAlignment(col.number ? (Qt::AlignRight | Qt::AlignVCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (col.editable && m_editable) f |= Qt::ItemIsEditable;
        item->setFlags(f);
    }
    m_filling = was;
}

void EditTable::setEditable(bool on)
{
    m_editable = on;
    for (int r = 0; r < rowCount(); ++r) showRow(r, m_rows[size_t(r)]);
}

qint64 EditTable::idAt(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)].id() : 0;
}

qint64 EditTable::currentId() const
{
    return idAt(currentRow());
}

int EditTable::columnOf(const QString &field) const
{
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].field == field) return c;
    return -1;
}

void EditTable::cellChanged(QTableWidgetItem *item)
{
    if (m_filling || !edited) return;
    const int row = item->row(), column = item->column();
    const qint64 id = idAt(row);
    const QString field = m_columns[column].field;
    const QString text = item->text();
    Row stored = m_rows[size_t(row)];
    const auto post = [&] { stored = edited(id, field, text); };
    if (guard) guard(post);
    else post();
    showRow(row, stored);
}

void EditTable::moveOn()
{
    const int row = currentRow(), column = currentColumn();
    if (row < 0) return;
    setCurrentCell(row, nextColumn(column < 0 ? 0 : column));
}

void EditTable::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != QAbstractItemView::EditingState) {
        moveOn();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace fm
