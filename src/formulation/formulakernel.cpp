#include "formulation/formulakernel.h"

#include "common/numbertext.h"
#include "data/dberror.h"
#include "data/session.h"

namespace fm {

namespace {

QString folded(const QString &code)
{
    return code.trimmed().toLower();
}

} // namespace

QString MaterialFactors::columns()
{
    return QStringLiteral("id, yldm, ylmc, descip, ") + factorColumnList();
}

MaterialFactors MaterialFactors::read(const Row &r)
{
    MaterialFactors m;
    m.id = r.id();
    m.code = r.text(QStringLiteral("yldm"));
    m.name = r.text(QStringLiteral("ylmc"));
    m.flag = r.text(QStringLiteral("descip"));
    for (int i = 0; i < kFormulaFactors; ++i) m.values[size_t(i)] = r.number(factor(i).code);
    return m;
}

MaterialTable MaterialTable::load(Session &s)
{
    MaterialTable t;
    for (const Row &r : s.rows(QStringLiteral("SELECT %1 FROM {ylpzk} ORDER BY yldm, id").arg(MaterialFactors::columns())))
        t.add(MaterialFactors::read(r));
    return t;
}

void MaterialTable::add(MaterialFactors m)
{
    const QString key = folded(m.code);
    m_rows.push_back(std::move(m));
    // The first row of a code is the one the look-ups find.
    if (!m_index.contains(key)) m_index.insert(key, int(m_rows.size()) - 1);
}

const MaterialFactors *MaterialTable::find(const QString &code) const
{
    const auto it = m_index.constFind(folded(code));
    return it == m_index.constEnd() ? nullptr : &m_rows[size_t(*it)];
}

FactorValues evaluateFormula(const std::vector<KernelLine> &lines)
{
    FactorValues v{};
    for (const KernelLine &l : lines) {
        if (!l.values) continue;
        const double part = l.share / 100;
        const FactorValues &x = *l.values;
        for (int n = 0; n < kFormulaFactors; ++n)
            if (x[size_t(n)] != 0) v[size_t(n)] += part * x[size_t(n)];
    }
    return v;
}

QString shareSumText(const std::vector<double> &shares)
{
    double sum = 0;
    for (double s : shares) sum += s;
    return QString::number(sum, 'g', 15);
}

QString shareMessage(const QString &text)
{
    return QStringLiteral("配方比率") + text + QStringLiteral("%错误，请检查！");
}

void checkShares(const std::vector<double> &shares)
{
    // 150 and -50 add up to 100 but make no feed.
    for (double s : shares)
        if (s < 0) throw DomainError(shareMessage(numberText(s)), ErrorCode::BadNumber);
    const QString text = shareSumText(shares);
    if (text != QLatin1String("100")) throw DomainError(shareMessage(text), ErrorCode::BadNumber);
}

} // namespace fm
