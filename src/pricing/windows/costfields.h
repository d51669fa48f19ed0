#pragma once
// What the cost windows share: date fields typed as "yyyy-mm-dd" (checked by
// the services on Enter) and the customer list of a region.

#include "accounts/customers.h"

#include <vector>

class QComboBox;
class QLineEdit;

namespace fm {

// Ten characters, with the form shown while empty.
QLineEdit *dateField(QLineEdit *field);

// The customers' names, each carrying its code; nothing chosen.
void fillCustomerBox(QComboBox *box, const std::vector<Customer> &customers);
// The chosen customer's code, empty when none is chosen.
QString chosenCode(const QComboBox *box);

} // namespace fm
