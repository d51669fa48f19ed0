#include "formulation/materialfactors.h"

#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/dberror.h"
#include "data/session.h"

namespace fm {

std::vector<MaterialName> MaterialFactorEditor::materials()
{
    std::vector<MaterialName> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT id, yldm, ylmc FROM {ylpzk} ORDER BY yldm, id")))
        out.push_back({r.id(), r.text(QStringLiteral("yldm")), r.text(QStringLiteral("ylmc"))});
    return out;
}

std::optional<MaterialFactors> MaterialFactorEditor::byId(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {ylpzk} WHERE id = ?").arg(MaterialFactors::columns()), {id});
    if (!r) return std::nullopt;
    return MaterialFactors::read(*r);
}

double MaterialFactorEditor::checkValue(const QString &typed)
{
    double v = 0;
    if (!parseNumber(typed, &v) || v < 0 || v > kMaxValue) throw badNumber();
    return v;
}

void MaterialFactorEditor::save(qint64 id, const FactorValues &values)
{
    QString assignments;
    Values bound;
    for (int n = 2; n < kFormulaFactors; ++n) {
        const double v = values[size_t(n)];
        if (!(v >= 0 && v <= kMaxValue)) throw badNumber();
        assignments += (n > 2 ? QStringLiteral(", ") : QString()) + factorCode(n) + QStringLiteral(" = ?");
        bound << v;
    }
    bound << id;
    m_s.transaction([&] {
        const auto old = m_s.row(QStringLiteral("SELECT * FROM {ylpzk} WHERE id = ?"), {id});
        if (!old || m_s.execute(QStringLiteral("UPDATE {ylpzk} SET %1 WHERE id = ?").arg(assignments), bound) != 1)
            throw DomainError(QStringLiteral("该原料已不存在！"), ErrorCode::NotFound);
        ChangeRecord rec(QStringLiteral("原料因素修改"), QStringLiteral("ylpzk"), id, old->text(QStringLiteral("yldm")));
        for (int n = 2; n < kFormulaFactors; ++n)
            rec.change(factorCode(n), old->number(factorCode(n)), values[size_t(n)]);
        rec.write(m_s);
    });
}

} // namespace fm
