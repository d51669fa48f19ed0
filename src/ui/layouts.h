#pragma once
#include <QList>

class QPushButton;
class QVBoxLayout;

namespace fm {

// The buttons of a form stacked at its right edge, all one width.
QVBoxLayout *buttonColumn(const QList<QPushButton *> &buttons);

} // namespace fm
