#pragma once
#include <QList>

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

namespace fm {

// The buttons of a form stacked at its right edge, all one width.
QVBoxLayout *buttonColumn(const QList<QPushButton *> &buttons);
// The buttons of a form in a row at its bottom right.
QHBoxLayout *buttonRow(const QList<QPushButton *> &buttons);

} // namespace fm
