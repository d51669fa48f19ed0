#include "production/formulareader.h"

namespace fm {

std::vector<PricedFormulaLine> FormulaReader::pricedLines(const QString &number)
{
    std::vector<PricedFormulaLine> out;
    const Rows rows = m_s.rows(
        QStringLiteral("SELECT v.yldm, v.ylmc, v.yldj, v.ylsl, v.yljg, h.yljg AS stock_price, m.s0 AS register_price "
                       "FROM {velpfk} v "
                       "LEFT JOIN {ylhzk} h ON {ci:h.yldm} = {ci:v.yldm} "
                       "LEFT JOIN {ylpzk} m ON {ci:m.yldm} = {ci:v.yldm} "
                       "WHERE {ci:v.pfhm} = {ci:?} ORDER BY v.id"),
        {number.trimmed()});
    out.reserve(rows.size());
    for (const Row &r : rows) {
        PricedFormulaLine l;
        l.yldm = r.text(QStringLiteral("yldm"));
        l.ylmc = r.text(QStringLiteral("ylmc"));
        l.yldj = r.text(QStringLiteral("yldj"));
        l.share = r.number(QStringLiteral("ylsl"));
        if (!r.isNull(QStringLiteral("stock_price"))) l.pricePerTonne = r.number(QStringLiteral("stock_price"));
        else if (!r.isNull(QStringLiteral("register_price"))) l.pricePerTonne = r.number(QStringLiteral("register_price")) * 1000;
        else l.pricePerTonne = r.number(QStringLiteral("yljg")) * 1000;
        out.push_back(l);
    }
    return out;
}

int FormulaReader::refreshPricesFromStock(const QString &number)
{
    int changed = 0;
    m_s.transaction([&] {
        changed = m_s.execute(
            QStringLiteral("UPDATE {velpfk} SET yljg = (SELECT MIN(h.yljg) / 1000 FROM {ylhzk} h WHERE {ci:h.yldm} = {ci:velpfk.yldm}) "
                           "WHERE {ci:pfhm} = {ci:?} AND EXISTS (SELECT 1 FROM {ylhzk} h WHERE {ci:h.yldm} = {ci:velpfk.yldm})"),
            {number.trimmed()});
    });
    return changed;
}

} // namespace fm
