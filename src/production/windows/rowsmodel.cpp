#include "production/windows/rowsmodel.h"

#include "common/numbertext.h"

namespace fm {

void RowsModel::setRows(std::vector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

qint64 RowsModel::idAt(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[row].id : 0;
}

int RowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant RowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size())) return {};
    const QVariantList &cells = m_rows[index.row()].cells;
    if (index.column() >= cells.size()) return {};
    const QVariant &v = cells.at(index.column());
    const bool number = v.typeId() == QMetaType::Double;
    if (role == Qt::DisplayRole) return number ? numberText(v.toDouble()) : v.toString();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_headers.size())
        return m_headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace fm
