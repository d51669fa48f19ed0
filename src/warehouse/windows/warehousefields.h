#pragma once
// What the warehouse windows share: numbers read from inputs, material and
// supplier lists that carry each row's id, and the columns of the
// warehouse's tables as their grids show them.

#include "ui/grid.h"

#include <QString>
#include <vector>

class QComboBox;
class QDate;
class QDateEdit;
class QLineEdit;

namespace fm {

class Clock;
struct Material;
struct StockRow;
struct Supplier;

// The number typed into a field; "请输入正确的数字！" when it is not one.
double numberIn(const QLineEdit *field);

// Fills a list with names, each item carrying its row's id; nothing chosen.
void fillMaterials(QComboBox *list, const std::vector<Material> &materials);
void fillStock(QComboBox *list, const std::vector<StockRow> &rows);
void fillSuppliers(QComboBox *list, const std::vector<Supplier> &suppliers);
// Chooses the item of that id (none when it is not listed).
void chooseId(QComboBox *list, qint64 id);
// The id of the chosen item, 0 when none.
qint64 chosenId(const QComboBox *list);

// A date input that may be left blank: it shows nothing until a date is
// typed (the first digit starts from today's date) or picked, and Delete
// blanks it again. dateOf gives a null date while it is blank.
void allowBlank(QDateEdit *input, const Clock &clock);
void setBlank(QDateEdit *input);
QDate dateOf(const QDateEdit *input);

// Every column of the tables, titled as the warehouse calls them.
QList<GridColumn> receiptColumns(); // ylrkmx
QList<GridColumn> issueColumns();   // ylckmx
QList<GridColumn> fundColumns();    // gyszjk
QList<GridColumn> summaryColumns(); // gyszjhz

} // namespace fm
