#pragma once
// A list whose cells can be typed into where a window allows it: rows read
// from the service, each keeping its record's id; a cell typed into is
// handed to the window (edited) with the row's id and the column's field,
// and the window answers with the row as stored (or throws, and the cell
// shows the stored value again). Enter moves to the next column of the row.

#include "data/row.h"

#include <QStringList>
#include <QTableWidget>
#include <functional>

namespace fm {

class EditTable : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        QString title;
        QString field;
        bool number = false;
        bool editable = false;
    };
    EditTable(const QList<Column> &columns, QWidget *parent, const char *name);

    void setRows(const Rows &rows);
    void setEditable(bool on); // the editable columns, all at once
    qint64 idAt(int row) const;
    qint64 currentId() const;
    int columnOf(const QString &field) const;
    // Shows a row as stored again.
    void showRow(int row, const Row &r);

    // A typed cell: returns the row as stored; a refusal is thrown.
    std::function<Row(qint64 id, const QString &field, const QString &text)> edited;
    // Where Enter in a column goes: by default the next column, the last
    // wrapping to the first.
    std::function<int(int column)> nextColumn;
    // Shows a refusal (the window's guard).
    std::function<bool(const std::function<void()> &)> guard;

signals:
    void rowClicked(qint64 id);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void cellChanged(QTableWidgetItem *item);
    void moveOn();

    QList<Column> m_columns;
    std::vector<Row> m_rows;
    bool m_filling = false;
    bool m_editable = true;
};

} // namespace fm
