#pragma once
// What the formulation windows share: factor inputs laid out in their Enter
// order, blank-able date inputs, and a progress bar a long run advances.

#include "formulation/factors.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <vector>

class QDateEdit;
class QGridLayout;
class QLineEdit;
class QProgressBar;
class QWidget;

namespace fm {

class Clock;

// Inputs of factors, by factor number (null where a window has none).
using FactorInputs = std::array<QLineEdit *, kFormulaFactors>;

// Lays the inputs out in their Enter order, down the columns, each with its
// caption; returns the grid they are in.
QGridLayout *factorGrid(QWidget *parent, const FactorInputs &inputs, const std::vector<int> &order,
                        const std::function<QString(int)> &caption, int columns);
// The values shown in the inputs (a blank input counts as 0).
FactorValues factorValuesIn(const FactorInputs &inputs);
// Shows the values ("0" included) in the inputs there are.
void showFactorValues(const FactorInputs &inputs, const FactorValues &values);
void clearFactorInputs(const FactorInputs &inputs);

// A date input that is blank until a digit is typed (Delete blanks it).
void makeBlankable(QDateEdit *input, const Clock &clock);
void blank(QDateEdit *input);
// The date, or a null date while blank.
QDate dateIn(const QDateEdit *input);

// Shows a run's progress as it goes (the window stays painted).
void showProgress(QProgressBar *bar, int done, int total);

} // namespace fm
