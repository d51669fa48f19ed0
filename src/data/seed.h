#pragma once
// What a new installation needs, and a small sample mill to click through.

#include <QString>

namespace fm {

class Session;
class Clock;

struct SeedOptions {
    QString adminCode = QStringLiteral("admin");
    QString adminPassword = QStringLiteral("admin");
    QString adminName = QStringLiteral("系统管理员");
};

// One administrator with every right, the three rebate rows, the archiving
// control row and the three feed categories. The turnover-number table stays
// empty so that the first login is asked to initialise it.
void seedNewInstallation(Session &s, const Clock &clock, const SeedOptions &options);

// True when the catalogs already hold an installation (an operator exists).
bool isInitialised(Session &s);

// A deterministic sample: regions, customers, products with list, cost and
// customer prices, raw materials with nutrient factors, a formula, teams,
// staff, suppliers and packaging.
void loadDemoData(Session &s, const Clock &clock);

constexpr int kRightsLength = 70;

} // namespace fm
