#include "sales/customerproducts.h"

namespace fm {

RowQuery customerProductsQuery(const QString &customerCode)
{
    const QString select = QStringLiteral("SELECT id, khdm, cpdm, cpmc, cpgg, fhll, cpbz, rq, kpjg FROM {khprice}");
    const QString code = customerCode.trimmed();
    // Every customer's rows in the order of the key, which pages without sorting.
    if (code.isEmpty()) return RowQuery{select, {}, {QStringLiteral("id")}};
    return RowQuery{select + QStringLiteral(" WHERE {ci:khdm} = {ci:?}"), {code}, {QStringLiteral("cpdm")}};
}

} // namespace fm
