#pragma once
// A read-only list for the catalogue grids: fixed Chinese headers, one id per
// row so that a click finds its row by key, numbers in the mill's number text.

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariantList>
#include <vector>

namespace fm {

class RowsModel : public QAbstractTableModel {
public:
    struct Row {
        qint64 id = 0;
        QVariantList cells; // doubles print as numbers, right-aligned
    };

    RowsModel(const QStringList &headers, QObject *parent) : QAbstractTableModel(parent), m_headers(headers) {}

    void setRows(std::vector<Row> rows);
    qint64 idAt(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QStringList m_headers;
    std::vector<Row> m_rows;
};

} // namespace fm
