#include "ui/layouts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

QVBoxLayout *buttonColumn(const QList<QPushButton *> &buttons)
{
    auto *column = new QVBoxLayout;
    for (QPushButton *b : buttons) {
        b->setMinimumWidth(96);
        column->addWidget(b);
    }
    column->setAlignment(Qt::AlignTop);
    return column;
}

QHBoxLayout *buttonRow(const QList<QPushButton *> &buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons) row->addWidget(b);
    return row;
}

} // namespace fm
