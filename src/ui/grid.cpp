#include "ui/grid.h"

#include "common/dates.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "data/rowpager.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace fm {

namespace {

constexpr int kPageRows = 200;

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

QString cellText(const QVariant &v)
{
    if (v.isNull()) return QString();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) return numberText(v.toDouble());
    return v.toString();
}

// Enter in a cell being typed into keeps the value and lets the grid move on.
class EnterDelegate : public QStyledItemDelegate {
public:
    EnterDelegate(QObject *parent, std::function<void()> onEnter)
        : QStyledItemDelegate(parent), m_onEnter(std::move(onEnter))
    {
    }

    // A plain line of text, as every input of the mill: numbers are typed,
    // not spun.
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *e = new QLineEdit(parent);
        e->setFrame(false);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return e;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *e = qobject_cast<QLineEdit *>(editor)) {
            e->setText(cellText(index.data(Qt::EditRole)));
            e->selectAll();
        }
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *e = qobject_cast<QLineEdit *>(editor)) model->setData(index, e->text(), Qt::EditRole);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                auto *editor = qobject_cast<QWidget *>(watched);
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                m_onEnter();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onEnter;
};

} // namespace

QList<GridColumn> gridColumns(const QStringList &titles, const QStringList &fields)
{
    QList<GridColumn> out;
    for (int i = 0; i < titles.size(); ++i)
        out << GridColumn{titles[i], i < fields.size() ? fields[i] : QString(), GridColumn::Kind::Text};
    return out;
}

class GridModel : public QAbstractTableModel {
public:
    GridModel(QList<GridColumn> columns, QObject *parent) : QAbstractTableModel(parent), m_columns(std::move(columns)) {}

    void setRows(std::vector<GridRow> rows)
    {
        beginResetModel();
        m_pager.reset();
        m_failure.clear();
        m_rows = std::move(rows);
        m_exhausted = true;
        m_total = qint64(m_rows.size());
        endResetModel();
    }

    void setPager(std::shared_ptr<RowPager> pager, int limit)
    {
        beginResetModel();
        m_pager = std::move(pager);
        m_rows.clear();
        m_exhausted = false;
        m_total = -1;
        m_limit = limit;
        m_failure.clear();
        endResetModel();
        loadPage();
    }

    GridRow fromRow(const Row &r) const
    {
        GridRow g;
        g.id = r.has(QStringLiteral("id")) ? r.id() : 0;
        for (const GridColumn &c : m_columns) {
            if (c.field.isEmpty() || !r.has(c.field)) {
                g.cells << QVariant();
                continue;
            }
            switch (c.kind) {
            case GridColumn::Kind::Number:
                g.cells << (r.isNull(c.field) ? QVariant() : QVariant(r.number(c.field)));
                break;
            case GridColumn::Kind::Date:
                g.cells << r.dateText(c.field);
                break;
            case GridColumn::Kind::DateTime:
                g.cells << dateTimeText(readDateTime(r.value(c.field)));
                break;
            case GridColumn::Kind::Text:
                g.cells << (isNumber(r.value(c.field)) ? r.value(c.field) : QVariant(r.text(c.field)));
                break;
            }
        }
        return g;
    }

    bool canFetchMore(const QModelIndex &parent) const override
    {
        return !parent.isValid() && m_pager && !m_exhausted && int(m_rows.size()) < m_limit;
    }

    // The view asks for more rows while the clerk scrolls, outside any
    // guarded call: a failed read stops the paging and is said under the
    // grid instead of escaping the event loop.
    void fetchMore(const QModelIndex &parent) override
    {
        if (parent.isValid()) return;
        try {
            loadPage();
        } catch (const std::exception &e) {
            fail(e);
        }
    }

    // Reads the next page; a database error reaches the caller.
    void loadPage()
    {
        if (!canFetchMore(QModelIndex())) return;
        const int want = std::min(kPageRows, m_limit - int(m_rows.size()));
        const Rows page = m_pager->page(qint64(m_rows.size()), want);
        if (int(page.size()) < want) {
            m_exhausted = true;
            m_total = qint64(m_rows.size() + page.size());
        }
        if (page.empty()) return;
        beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + page.size()) - 1);
        for (const Row &r : page) m_rows.push_back(fromRow(r));
        // The count is known before the rows are announced, so the status
        // line under the grid says it at once.
        if (!m_exhausted && int(m_rows.size()) >= m_limit) m_total = m_pager->count();
        if (m_total >= 0 && m_total <= int(m_rows.size())) m_exhausted = true;
        endInsertRows();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_columns.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= int(m_rows.size())) return QVariant();
        const GridRow &r = m_rows[size_t(index.row())];
        const QVariant v = index.column() < r.cells.size() ? r.cells[index.column()] : QVariant();
        switch (role) {
        case Qt::DisplayRole:
            return cellText(v);
        case Qt::ToolTipRole: {
            // A long text that the column cuts short shows in full under the pointer.
            const QString text = cellText(v);
            return text.size() > 40 ? QVariant(text) : QVariant();
        }
        case Qt::TextAlignmentRole:
            return isNumber(v) ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
        case Qt::BackgroundRole:
            return r.background.isValid() ? QVariant(r.background) : QVariant();
        case Qt::UserRole:
            return r.id;
        case Qt::EditRole:
            return v;
        default:
            return QVariant();
        }
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (index.isValid() && index.column() < m_columns.size() && m_columns[index.column()].editable && !m_pager)
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid() || index.row() >= int(m_rows.size())) return false;
        GridRow &r = m_rows[size_t(index.row())];
        while (r.cells.size() <= index.column()) r.cells << QVariant();
        QVariant v = value;
        if (v.typeId() == QMetaType::QString) {
            double number = 0;
            const QString text = v.toString();
            if (text.trimmed().isEmpty()) v = QVariant();
            else if (parseNumber(text, &number)) v = number;
        }
        r.cells[index.column()] = v;
        emit dataChanged(index, index);
        return true;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_columns.size())
            return m_columns[section].title;
        return QVariant();
    }

    void sort(int column, Qt::SortOrder order) override
    {
        if (column < 0 || column >= m_columns.size()) return;
        if (m_pager && !m_exhausted) {
            // Not everything is here: the database sorts, and reading starts over.
            if (m_columns[column].field.isEmpty()
                || !m_pager->sortBy(m_columns[column].field, order == Qt::DescendingOrder))
                return;
            try {
                setPager(m_pager, m_limit);
            } catch (const std::exception &e) {
                fail(e);
            }
            return;
        }
        emit layoutAboutToBeChanged();
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](const GridRow &a, const GridRow &b) {
            const QVariant va = column < a.cells.size() ? a.cells[column] : QVariant();
            const QVariant vb = column < b.cells.size() ? b.cells[column] : QVariant();
            bool less;
            if (isNumber(va) && isNumber(vb)) less = va.toDouble() < vb.toDouble();
            else less = QString::compare(cellText(va), cellText(vb)) < 0;
            if (order == Qt::DescendingOrder) {
                if (isNumber(va) && isNumber(vb)) return vb.toDouble() < va.toDouble();
                return QString::compare(cellText(vb), cellText(va)) < 0;
            }
            return less;
        });
        emit layoutChanged();
    }

    void setTotal(qint64 rows)
    {
        if (!m_pager || m_exhausted) return;
        m_total = rows;
        if (m_total <= int(m_rows.size())) m_exhausted = true;
    }

    void count()
    {
        if (m_pager && !m_exhausted) m_total = m_pager->count();
        if (m_total >= 0 && m_total <= int(m_rows.size())) m_exhausted = true;
    }

    const GridRow *at(int row) const
    {
        return row >= 0 && row < int(m_rows.size()) ? &m_rows[size_t(row)] : nullptr;
    }
    qint64 total() const { return m_exhausted ? qint64(m_rows.size()) : m_total; }
    const QString &failure() const { return m_failure; }
    std::function<void()> onFailure;
    bool paged() const { return bool(m_pager); }
    const QList<GridColumn> &columns() const { return m_columns; }

private:
    QList<GridColumn> m_columns;
    std::vector<GridRow> m_rows;
    std::shared_ptr<RowPager> m_pager;
    bool m_exhausted = true;
    qint64 m_total = 0;
    int m_limit = 10000;
    QString m_failure;

    void fail(const std::exception &e)
    {
        m_exhausted = true;
        m_total = qint64(m_rows.size());
        const auto *db = dynamic_cast<const DbError *>(&e);
        m_failure = db ? db->message() : QString::fromUtf8(e.what());
        if (onFailure) onFailure();
    }
};

Grid::Grid(const QList<GridColumn> &columns, QWidget *parent, const char *name) : QWidget(parent)
{
    build(columns, name);
}

Grid::Grid(const QStringList &titles, QWidget *parent, const char *name) : QWidget(parent)
{
    build(gridColumns(titles), name);
}

Grid::~Grid() = default;

void Grid::build(const QList<GridColumn> &columns, const char *name)
{
    if (name) setObjectName(QString::fromLatin1(name));
    m_model = new GridModel(columns, this);
    m_view = new QTableView(this);
    if (name) m_view->setObjectName(QString::fromLatin1(name) + QStringLiteral("View"));
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setAlternatingRowColors(true);
    m_view->setSortingEnabled(false);
    m_view->verticalHeader()->setVisible(false);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setMinimumSectionSize(48);
    // Column widths from the rows in view: measuring every row read costs
    // more than reading them.
    m_view->horizontalHeader()->setResizeContentsPrecision(0);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_view->setMinimumHeight(120);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("gridStatus"));
    m_status->setStyleSheet(QStringLiteral("color: #555;"));
    m_model->onFailure = [this] { updateStatus(); };

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_status);

    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (!m_sortOnClick) return;
        QHeaderView *h = m_view->horizontalHeader();
        const Qt::SortOrder order = h->isSortIndicatorShown() && h->sortIndicatorSection() == column
                && h->sortIndicatorOrder() == Qt::AscendingOrder
            ? Qt::DescendingOrder
            : Qt::AscendingOrder;
        h->setSortIndicatorShown(true);
        h->setSortIndicator(column, order);
        m_model->sort(column, order);
        updateStatus();
    });
    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex &i) { emit rowClicked(idAt(i.row()), i.row()); });
    connect(m_view, &QTableView::activated, this,
            [this](const QModelIndex &i) { emit rowActivated(idAt(i.row()), i.row()); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        fitColumns();
        updateStatus();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first) {
        // A pager's first page arrives after the reset: fit the columns to it.
        if (first == 0) fitColumns();
        updateStatus();
    });
    // Accessible by the caption of its first column's list.
    m_view->setAccessibleName(columns.isEmpty() ? QString() : columns.front().title);

    if (std::any_of(columns.begin(), columns.end(), [](const GridColumn &c) { return c.editable; })) {
        m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
        m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                                | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
        m_view->setItemDelegate(new EnterDelegate(m_view, [this] { enterPressed(); }));
        m_view->installEventFilter(this);
        connect(m_model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &i) {
            if (!m_settingValue) emit cellEdited(i.row(), i.column());
        });
    }
}

bool Grid::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on an editable cell that is not being typed into starts typing
    // (while typing, the key goes to the cell's editor); it never reaches the
    // dialog, which would close.
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const QModelIndex i = m_view->currentIndex();
            if (i.isValid() && (m_model->flags(i) & Qt::ItemIsEditable)) m_view->edit(i);
            else if (i.isValid()) emit rowActivated(idAt(i.row()), i.row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Grid::enterPressed()
{
    const QModelIndex i = m_view->currentIndex();
    if (!i.isValid()) return;
    if (i.row() + 1 >= m_model->rowCount()) {
        emit enterPastLastRow(i.column());
        return;
    }
    editCell(i.row() + 1, i.column());
}

void Grid::editCell(int row, int column)
{
    const QModelIndex i = m_model->index(row, column);
    if (!i.isValid()) return;
    m_view->setFocus();
    m_view->setCurrentIndex(i);
    m_view->scrollTo(i);
    if (m_model->flags(i) & Qt::ItemIsEditable) m_view->edit(i);
}

void Grid::setValue(int row, int column, const QVariant &value)
{
    m_settingValue = true;
    m_model->setData(m_model->index(row, column), value, Qt::EditRole);
    m_settingValue = false;
}

void Grid::setStretchColumn(int column)
{
    m_view->horizontalHeader()->setStretchLastSection(column < 0);
    if (column >= 0) m_view->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
}

void Grid::setRows(std::vector<GridRow> rows)
{
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_model->setRows(std::move(rows));
}

void Grid::setRows(const Rows &rows)
{
    std::vector<GridRow> out;
    out.reserve(rows.size());
    for (const Row &r : rows) out.push_back(m_model->fromRow(r));
    setRows(std::move(out));
}

void Grid::setPager(std::shared_ptr<RowPager> pager)
{
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    if (pager) pager->resetOrder();
    m_model->setPager(std::move(pager), m_limit);
    updateStatus(); // an empty first page inserts nothing
    // The columns fit the first page, not just their titles.
    fitColumns();
}

void Grid::fitColumns()
{
    // Each column fits its contents; the stretching one keeps the spare width.
    QHeaderView *h = m_view->horizontalHeader();
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (h->sectionResizeMode(c) != QHeaderView::Stretch) m_view->resizeColumnToContents(c);
    if (h->stretchLastSection()) {
        h->setStretchLastSection(false);
        h->setStretchLastSection(true);
    }
}

void Grid::clear()
{
    setRows(std::vector<GridRow>());
}

void Grid::fetchMore()
{
    m_model->loadPage();
}

void Grid::setRowTotal(qint64 rows)
{
    m_model->setTotal(rows);
    updateStatus();
}

void Grid::countRows()
{
    m_model->count();
    updateStatus();
}

int Grid::rowCount() const
{
    return m_model->rowCount();
}

int Grid::columnCount() const
{
    return m_model->columnCount();
}

qint64 Grid::idAt(int row) const
{
    const GridRow *r = m_model->at(row);
    return r ? r->id : 0;
}

int Grid::currentRow() const
{
    return m_view->currentIndex().isValid() ? m_view->currentIndex().row() : -1;
}

qint64 Grid::currentId() const
{
    return idAt(currentRow());
}

QVariant Grid::valueAt(int row, int column) const
{
    return m_model->data(m_model->index(row, column), Qt::EditRole);
}

QString Grid::textAt(int row, int column) const
{
    return m_model->data(m_model->index(row, column), Qt::DisplayRole).toString();
}

QString Grid::title(int column) const
{
    return m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

bool Grid::selectId(qint64 id)
{
    for (int r = 0; r < rowCount(); ++r) {
        if (idAt(r) == id) {
            m_view->selectRow(r);
            m_view->scrollTo(m_model->index(r, 0));
            return true;
        }
    }
    return false;
}

qint64 Grid::totalRows() const
{
    return m_model->total();
}

QString Grid::statusText() const
{
    return m_status->text();
}

void Grid::updateStatus()
{
    const qint64 shown = rowCount();
    const qint64 total = totalRows();
    if (!m_model->failure().isEmpty()) {
        m_status->setText(QStringLiteral("已显示 %1 行，读取其余行失败：%2").arg(shown).arg(m_model->failure()));
    } else if (!m_model->paged()) {
        m_status->setText(QStringLiteral("共 %1 行").arg(shown));
    } else if (total < 0) {
        m_status->setText(QStringLiteral("已显示 %1 行，向下滚动显示更多").arg(shown));
    } else if (total > shown && m_model->canFetchMore(QModelIndex())) {
        m_status->setText(QStringLiteral("共 %1 行，已显示 %2 行，向下滚动显示更多").arg(total).arg(shown));
    } else if (total > shown) {
        m_status->setText(QStringLiteral("共 %1 行，只显示前 %2 行，请缩小查询范围").arg(total).arg(shown));
    } else {
        m_status->setText(QStringLiteral("共 %1 行").arg(total));
    }
}

} // namespace fm
