#pragma once
// A read-only grid for the price windows: fixed Chinese column titles, one
// row id per line so that a click finds its row by key, numbers in the
// mill's number text (right-aligned), a missing value as an empty cell.

#include <QTableView>
#include <QVariantList>
#include <vector>

namespace fm {

class PriceGridModel;

class PriceGrid : public QTableView {
    Q_OBJECT
public:
    struct Row {
        qint64 id = 0;
        QVariantList cells; // doubles print as numbers; a null QVariant as nothing
    };

    PriceGrid(const QStringList &titles, QWidget *parent, const char *objectName, int stretchColumn = -1);

    void setRows(std::vector<Row> rows);
    int rowCount() const;
    qint64 idAt(int row) const;
    QString textAt(int row, int column) const;
    QString title(int column) const;
    // Selects and shows the row with that id; false when it is not listed.
    bool selectId(qint64 id);

private:
    PriceGridModel *m_model;
    int m_stretch;
};

} // namespace fm
