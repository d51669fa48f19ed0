#pragma once
// The production cost summary as a plain program would compute it: a
// statement for each product's lines, and for each material of each normal
// line a statement for its theoretical row. Slow and obvious: the oracle the
// tests compare the real summary with, and the reference of its benchmark.

#include "data/session.h"
#include "production/costsummary.h"
#include "production/productcatalogue.h"

#include <QSet>

namespace fm::test {

struct Reference {
    std::vector<ProductCostRow> products;
    std::vector<MaterialUseRow> materials;
};

inline Reference referenceSummary(Session &s, const QString &start, const QString &end)
{
    Reference ref;
    const auto month = s.row(QStringLiteral("SELECT qf, gz, df, qt FROM {zzfy} WHERE rq_1 = ?"),
                             {start.left(4) + start.mid(5, 2)});
    QSet<QString> numbers;
    for (const Row &r : s.rows(QStringLiteral("SELECT pfhm FROM {pfzlk}"))) numbers.insert(r.text("pfhm").toLower());

    // Materials: the stock's in order, then drawn ones without stock by code.
    struct Material {
        QString yldm, ylmc, bz;
    };
    std::vector<Material> materials;
    QSet<QString> seen;
    for (const Row &r : s.rows(QStringLiteral("SELECT yldm, ylmc, bz_1 FROM {ylhzk} ORDER BY yldm, id"))) {
        materials.push_back({r.text("yldm"), r.text("ylmc"), r.text("bz_1")});
        seen.insert(r.text("yldm").toLower());
    }
    for (const Row &r : s.rows(QStringLiteral("SELECT DISTINCT lower(yldm) AS code FROM {scylk} WHERE rq_1 >= ? AND rq_1 <= ? "
                                              "ORDER BY code"),
                               {start, end})) {
        const QString code = r.text("code");
        if (seen.contains(code)) continue;
        const auto first = s.row(QStringLiteral("SELECT yldm, ylmc FROM {scylk} WHERE lower(yldm) = ? ORDER BY id LIMIT 1"), {code});
        const auto reg = s.row(QStringLiteral("SELECT descip FROM {ylpzk} WHERE lower(yldm) = ?"), {code});
        materials.push_back({first->text("yldm"), first->text("ylmc"), reg ? reg->text("descip") : QString()});
    }
    std::vector<MaterialUseRow> use(materials.size());
    std::vector<bool> used(materials.size(), false);

    for (const Row &p : s.rows(QStringLiteral("SELECT cpdm, cpmc, cpgg, cpbz FROM {velcpzk} ORDER BY cpdm, id"))) {
        const Rows lines = s.rows(QStringLiteral("SELECT * FROM {velcpk} WHERE lower(cpdm) = lower(?) AND scrq_1 <= ? "
                                                 "AND scrq_1 >= ? ORDER BY id"),
                                  {p.text("cpdm"), end, start});
        if (lines.empty()) continue;
        ProductCostRow c;
        c.cpdm = p.text("cpdm");
        c.cpmc = p.text("cpmc");
        c.cpgg = p.text("cpgg");
        c.bz = p.text("cpbz");
        for (const Row &l : lines) {
            const double t = l.number("scsl") / 1000;
            const QString kind = l.text("txm");
            c.scsl += t;
            if (kind != QStringLiteral("杂料回机")) {
                c.bzw += l.number("bzdje") + l.number("qtbzje");
                c.bq += l.number("bqje") + l.number("fwbqje");
            }
            if (kind == QStringLiteral("掺拌生产") || kind == QStringLiteral("换包")) c.ccp += t * l.number("sccb");
        }
        for (size_t m = 0; m < materials.size(); ++m) {
            const double actual =
                s.scalar(QStringLiteral("SELECT COALESCE(SUM(sjxh), 0) FROM {scylxh} WHERE rq_1 <= ? AND rq_1 >= ? "
                                        "AND lower(yldm) = lower(?)"),
                         {end, start, materials[m].yldm})
                    .toDouble()
                / 1000;
            for (const Row &l : lines) {
                const QString kind = l.text("txm");
                if (kind == QStringLiteral("杂料回机") || kind == QStringLiteral("掺拌生产") || kind == QStringLiteral("换包"))
                    continue;
                QString formula = ProductCatalogue::followedFormula(l.text("pfhm"), numbers);
                if (formula.isEmpty()) formula = l.text("pfhm").toLower().left(6);
                const auto d = s.row(QStringLiteral("SELECT pfbl, yljg FROM {scylk} WHERE lower(pfhm) = ? AND rq_1 <= ? "
                                                    "AND rq_1 >= ? AND lower(yldm) = lower(?) ORDER BY rq_1, rq_0, id LIMIT 1"),
                                     {formula, end, start, materials[m].yldm});
                if (!d) continue;
                const double price = d->number("yljg");
                const double q = d->number("pfbl") * l.number("scsl") / 1000 / 100;
                (materials[m].bz == QStringLiteral("2") ? c.bcp : c.sjxh) += q * price;
                MaterialUseRow &u = use[m];
                if (!used[m]) {
                    used[m] = true;
                    u.yldm = materials[m].yldm;
                    u.ylmc = materials[m].ylmc;
                    u.bz = materials[m].bz;
                    u.sjhy = actual;
                }
                u.sjsl += q;
                u.yljg = price;
                u.zje += q * price;
                u.ylxh = u.sjsl - actual;
                u.xhje = (u.sjsl - actual) * price;
            }
        }
        if (c.scsl != 0) ref.products.push_back(c);
    }
    double total = 0, gas = 0;
    for (const ProductCostRow &c : ref.products) {
        total += c.scsl;
        if (c.bz == QStringLiteral("1")) gas += c.scsl;
    }
    for (ProductCostRow &c : ref.products) {
        if (total != 0) {
            c.qf = c.bz == QStringLiteral("1") && gas != 0 ? month->number("qf") / gas * c.scsl : 0;
            c.zzfy = (month->number("gz") + month->number("df") + month->number("qt")) / total * c.scsl;
        }
        c.hj = c.sjxh + c.ccp + c.bcp + c.bzw + c.bq + c.qf + c.zzfy;
        c.price = total != 0 ? c.hj / c.scsl : 0;
    }
    for (size_t m = 0; m < materials.size(); ++m)
        if (used[m]) ref.materials.push_back(use[m]);
    return ref;
}

} // namespace fm::test
