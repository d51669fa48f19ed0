#include "formulation/windows/formulationfields.h"

#include "common/numbertext.h"
#include "ui/layouts.h"
#include "warehouse/windows/warehousefields.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace fm {

QGridLayout *factorGrid(QWidget *parent, const FactorInputs &inputs, const std::vector<int> &order,
                        const std::function<QString(int)> &caption, int columns)
{
    auto *grid = new QGridLayout;
    const int rows = (int(order.size()) + columns - 1) / columns;
    for (int i = 0; i < int(order.size()); ++i) {
        QLineEdit *e = inputs[size_t(order[size_t(i)])];
        const int column = (i / rows) * 2, row = i % rows;
        grid->addWidget(labelFor(caption(order[size_t(i)]), e, parent), row, column, Qt::AlignRight);
        grid->addWidget(e, row, column + 1);
    }
    for (int c = 0; c < columns; ++c) grid->setColumnStretch(c * 2 + 1, 1);
    return grid;
}

FactorValues factorValuesIn(const FactorInputs &inputs)
{
    FactorValues v{};
    for (int n = 0; n < kFormulaFactors; ++n) {
        double x = 0;
        if (inputs[size_t(n)] && parseNumber(inputs[size_t(n)]->text(), &x)) v[size_t(n)] = x;
    }
    return v;
}

void showFactorValues(const FactorInputs &inputs, const FactorValues &values)
{
    for (int n = 0; n < kFormulaFactors; ++n)
        if (inputs[size_t(n)]) inputs[size_t(n)]->setText(numberText(values[size_t(n)]));
}

void clearFactorInputs(const FactorInputs &inputs)
{
    for (QLineEdit *e : inputs)
        if (e) e->clear();
}

void makeBlankable(QDateEdit *input, const Clock &clock)
{
    allowBlank(input, clock);
    setBlank(input);
}

void blank(QDateEdit *input)
{
    setBlank(input);
}

QDate dateIn(const QDateEdit *input)
{
    return dateOf(input);
}

void showProgress(QProgressBar *bar, int done, int total)
{
    bar->setRange(0, std::max(total, 1));
    bar->setValue(done);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace fm
