#include "ui/layouts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

QLabel *labelFor(const QString &text, QWidget *field, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(field);
    QString name = text.trimmed();
    while (name.endsWith(QChar(0xFF1A)) || name.endsWith(QLatin1Char(':'))) name.chop(1);
    if (field && field->accessibleName().isEmpty()) field->setAccessibleName(name);
    return l;
}

QWidget *withUnit(QWidget *field, const QString &unit)
{
    auto *w = new QWidget(field->parentWidget());
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    // A value shown as a label keeps its unit right after it.
    const bool shown = qobject_cast<QLabel *>(field) != nullptr;
    h->addWidget(field, shown ? 0 : 1);
    auto *l = new QLabel(unit, w);
    l->setStyleSheet(QStringLiteral("color: #555;"));
    h->addWidget(l);
    if (shown) h->addStretch(1);
    return w;
}

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

FieldGrid::FieldGrid(QWidget *container, int pairsPerRow)
    : m_container(container), m_grid(new QGridLayout(container)), m_pairs(pairsPerRow)
{
    for (int p = 0; p < m_pairs; ++p) m_grid->setColumnStretch(p * 2 + 1, 1);
}

void FieldGrid::place(QWidget *w, int span)
{
    if (m_pair + span > m_pairs) newRow();
    m_grid->addWidget(w, m_row, m_pair * 2 + 1, 1, span * 2 - 1);
    m_pair += span;
    if (m_pair >= m_pairs) newRow();
}

FieldGrid &FieldGrid::add(const QString &caption, QWidget *field, const QString &unit, int span)
{
    if (m_pair + span > m_pairs) newRow();
    m_grid->addWidget(labelFor(caption, field, m_container), m_row, m_pair * 2, Qt::AlignRight | Qt::AlignVCenter);
    place(unit.isEmpty() ? field : withUnit(field, unit), span);
    return *this;
}

FieldGrid &FieldGrid::add(QWidget *field, int span)
{
    place(field, span);
    return *this;
}

FieldGrid &FieldGrid::add(QLayout *layout)
{
    newRow();
    m_grid->addLayout(layout, m_row, 0, 1, m_pairs * 2);
    ++m_row;
    return *this;
}

FieldGrid &FieldGrid::newRow()
{
    if (m_pair > 0) {
        ++m_row;
        m_pair = 0;
    }
    return *this;
}

} // namespace fm
