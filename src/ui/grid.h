#pragma once
// The grid every window lists rows in. Each row keeps the id of
// the record it shows, so a click finds its row by key. Numbers show in the
// mill's number text, right-aligned; a missing value is an empty cell.
//
// A short list is given whole (setRows). A list that can be long is given as
// a RowPager (setPager): the grid reads a page at a time as the user
// scrolls, never the whole table, stops at a limit and then says how many
// rows there are. A click on a column head sorts: in memory when every row
// is loaded, otherwise by asking the pager for that order.
//
// A short list may have editable columns (shares typed per row): typing in
// such a cell edits it, Enter keeps the value and moves to the same column
// of the next row. A value typed that reads as a number is held as one.

#include "data/row.h"

#include <QColor>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <memory>
#include <vector>

class QLabel;
class QTableView;

namespace fm {

class RowPager;
class GridModel;

struct GridColumn {
    enum class Kind { Text, Number, Date, DateTime };
    QString title;
    QString field;  // the column of a Row it shows (for setRows(Rows) and pagers)
    Kind kind = Kind::Text;
    bool editable = false; // typed into (short lists given by setRows only)
};

// Columns that show the Row columns of the same names as text; mark numbers
// and dates afterwards where needed.
QList<GridColumn> gridColumns(const QStringList &titles, const QStringList &fields = QStringList());

struct GridRow {
    qint64 id = 0;
    QVariantList cells; // doubles print as numbers; a null QVariant as nothing
    QColor background = QColor(); // invalid: the grid's own
};

class Grid : public QWidget {
    Q_OBJECT
public:
    Grid(const QList<GridColumn> &columns, QWidget *parent, const char *name = nullptr);
    // Titles only, for rows given as cells.
    Grid(const QStringList &titles, QWidget *parent, const char *name = nullptr);
    ~Grid() override;

    QTableView *view() const { return m_view; }
    // The column that takes the spare width (default: the last).
    void setStretchColumn(int column);
    // Whether a click on a column head sorts (the default). A window that
    // sorts its own way, asking first, turns it off and listens to the head.
    void setSortOnTitleClick(bool on) { m_sortOnClick = on; }
    // The most rows a pager fills the grid with.
    void setLimit(int rows) { m_limit = rows; }
    int limit() const { return m_limit; }

    void setRows(std::vector<GridRow> rows);
    void setRows(const Rows &rows);
    void setPager(std::shared_ptr<RowPager> pager);
    void clear();

    int rowCount() const;
    int columnCount() const;
    qint64 idAt(int row) const;
    qint64 currentId() const;
    int currentRow() const;
    QString textAt(int row, int column) const;
    QVariant valueAt(int row, int column) const;
    QString title(int column) const;
    // Selects and shows the row with that id; false when it is not listed.
    bool selectId(qint64 id);
    // Rows in the list: known once every row is loaded or the limit is
    // reached (then counted); -1 while more pages may follow.
    qint64 totalRows() const;
    // The line under the grid ("共 N 行" and, at the limit, how many show).
    QString statusText() const;
    // Reads the next page now (what scrolling to the end does).
    void fetchMore();
    // The number of rows the pager's query has, when the caller has counted
    // them already (with its totals), so the line under the grid says it
    // without a count of its own.
    void setRowTotal(qint64 rows);
    // Counts the pager's rows now, so the line under the grid says how many
    // there are before they are all read (it costs a scan of the query).
    void countRows();
    // Sets a cell (editable or not) without it counting as typed.
    void setValue(int row, int column, const QVariant &value);
    // Starts typing into an editable cell.
    void editCell(int row, int column);

signals:
    void rowClicked(qint64 id, int row);
    void rowActivated(qint64 id, int row);
    // A value was typed into an editable cell.
    void cellEdited(int row, int column);
    // Enter in an editable cell of the last row.
    void enterPastLastRow(int column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enterPressed();
    void build(const QList<GridColumn> &columns, const char *name);
    void updateStatus();
    void fitColumns();

    GridModel *m_model;
    QTableView *m_view;
    QLabel *m_status;
    int m_limit = 10000;
    bool m_sortOnClick = true;
    bool m_settingValue = false;
};

} // namespace fm
