#include "accounts/windows/regionbox.h"

#include <QComboBox>

namespace fm {

void fillRegionBox(QComboBox *box, const std::vector<Region> &regions, const QString &keep)
{
    box->clear();
    for (const Region &r : regions) box->addItem(r.name, r.code);
    box->setCurrentIndex(keep.isEmpty() ? -1 : box->findText(keep));
}

QString chosenText(const QComboBox *box)
{
    return box->currentIndex() < 0 ? QString() : box->currentText().trimmed();
}

} // namespace fm
