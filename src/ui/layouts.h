#pragma once
// Laying out a form: labelled fields in a grid, a field with its unit, and
// the buttons in a column or a row. Every label becomes its field's buddy
// and accessible name, so screen readers and UI automation find the field by
// its Chinese caption.

#include <QList>
#include <QString>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLayout;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace fm {

// A caption for a field ("客户代码：").
QLabel *labelFor(const QString &text, QWidget *field, QWidget *parent);
// A field with its unit after it, e.g. "（元/吨）".
QWidget *withUnit(QWidget *field, const QString &unit);

// The buttons of a form stacked at its right edge, all one width.
QVBoxLayout *buttonColumn(const QList<QPushButton *> &buttons);
// The buttons of a form in a row at its bottom right.
QHBoxLayout *buttonRow(const QList<QPushButton *> &buttons);

// Labelled fields in a grid, a given number of (caption, field) pairs to a
// row; the field columns share the spare width.
class FieldGrid {
public:
    FieldGrid(QWidget *container, int pairsPerRow = 1);

    // Adds a captioned field; unit (when given) follows it, span counts pairs.
    FieldGrid &add(const QString &caption, QWidget *field, const QString &unit = QString(), int span = 1);
    // A widget in the field column without a caption of its own.
    FieldGrid &add(QWidget *field, int span = 1);
    // A layout across a row of its own (e.g. a form's buttons).
    FieldGrid &add(QLayout *layout);
    // Leaves the rest of the row empty.
    FieldGrid &newRow();
    QGridLayout *layout() const { return m_grid; }

private:
    void place(QWidget *w, int span);

    QWidget *m_container;
    QGridLayout *m_grid;
    int m_pairs;
    int m_row = 0;
    int m_pair = 0;
};

} // namespace fm
