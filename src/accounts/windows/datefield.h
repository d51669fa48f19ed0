#pragma once
// The account windows' date inputs: ten characters "yyyy-mm-dd", which the
// services check when Enter is pressed.

#include <QLineEdit>

namespace fm {

inline QLineEdit *asDateInput(QLineEdit *e)
{
    e->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    return e;
}

} // namespace fm
