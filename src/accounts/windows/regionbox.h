#pragma once
// Region choosers of the register's and the price windows: a box of region
// names that shows its placeholder until a region is chosen.

#include "accounts/customerregister.h"

#include <vector>

class QComboBox;

namespace fm {

// Fills the box with the region names (each keeps its code as data) and
// resets it to its placeholder; with keep set, the region of that name stays
// chosen if it still exists.
void fillRegionBox(QComboBox *box, const std::vector<Region> &regions, const QString &keep = QString());
// The chosen entry's text, trimmed; empty while the placeholder shows.
QString chosenText(const QComboBox *box);

} // namespace fm
