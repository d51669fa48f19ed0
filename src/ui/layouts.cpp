#include "ui/layouts.h"

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

} // namespace fm
