#include "pricing/windows/pricegrid.h"

#include "common/numbertext.h"

#include <QAbstractTableModel>
#include <QHeaderView>

namespace fm {

class PriceGridModel : public QAbstractTableModel {
public:
    PriceGridModel(const QStringList &titles, QObject *parent) : QAbstractTableModel(parent), m_titles(titles) {}

    void setRows(std::vector<PriceGrid::Row> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const std::vector<PriceGrid::Row> &rows() const { return m_rows; }
    const QStringList &titles() const { return m_titles; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_titles.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= int(m_rows.size())) return {};
        const QVariantList &cells = m_rows[index.row()].cells;
        if (index.column() >= cells.size()) return {};
        const QVariant &v = cells.at(index.column());
        const bool number = v.typeId() == QMetaType::Double;
        if (role == Qt::DisplayRole) return v.isNull() ? QString() : number ? numberText(v.toDouble()) : v.toString();
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_titles.size())
            return m_titles.at(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    QStringList m_titles;
    std::vector<PriceGrid::Row> m_rows;
};

PriceGrid::PriceGrid(const QStringList &titles, QWidget *parent, const char *objectName, int stretchColumn)
    : QTableView(parent), m_model(new PriceGridModel(titles, this)), m_stretch(stretchColumn)
{
    setObjectName(QString::fromLatin1(objectName));
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(56);
    horizontalHeader()->setStretchLastSection(stretchColumn < 0);
    setMinimumHeight(160);
}

void PriceGrid::setRows(std::vector<Row> rows)
{
    m_model->setRows(std::move(rows));
    resizeColumnsToContents();
    if (m_stretch >= 0) horizontalHeader()->setSectionResizeMode(m_stretch, QHeaderView::Stretch);
}

int PriceGrid::rowCount() const
{
    return m_model->rowCount();
}

qint64 PriceGrid::idAt(int row) const
{
    const auto &rows = m_model->rows();
    return row >= 0 && row < int(rows.size()) ? rows[row].id : 0;
}

QString PriceGrid::textAt(int row, int column) const
{
    return m_model->index(row, column).data().toString();
}

QString PriceGrid::title(int column) const
{
    return column >= 0 && column < m_model->titles().size() ? m_model->titles().at(column) : QString();
}

bool PriceGrid::selectId(qint64 id)
{
    const auto &rows = m_model->rows();
    for (int r = 0; r < int(rows.size()); ++r) {
        if (rows[r].id != id) continue;
        selectRow(r);
        scrollTo(m_model->index(r, 0));
        return true;
    }
    clearSelection();
    return false;
}

} // namespace fm
