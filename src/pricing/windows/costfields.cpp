#include "pricing/windows/costfields.h"

#include <QComboBox>
#include <QLineEdit>

namespace fm {

QLineEdit *dateField(QLineEdit *field)
{
    field->setMaxLength(10);
    field->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    field->setMaximumWidth(120);
    return field;
}

void fillCustomerBox(QComboBox *box, const std::vector<Customer> &customers)
{
    const QSignalBlocker block(box);
    box->clear();
    for (const Customer &c : customers) box->addItem(c.name, c.code);
    box->setCurrentIndex(-1);
}

QString chosenCode(const QComboBox *box)
{
    return box->currentIndex() < 0 ? QString() : box->currentData().toString();
}

} // namespace fm
