#include "formulation/standards.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/dberror.h"
#include "data/session.h"

#include <cmath>

namespace fm {

const QString NutrientStandards::kCodeExists = QStringLiteral("代码已存在，不能增加！");
const QString NutrientStandards::kPlaceholder = QStringLiteral("标准名称");

namespace {

const QString kFunction = QStringLiteral("营养因素标准修改");

QString columns()
{
    return QStringLiteral("id, xqdm, xqmc, ") + factorColumnList();
}

NutrientStandard read(const Row &r)
{
    NutrientStandard s;
    s.id = r.id();
    s.code = r.text(QStringLiteral("xqdm"));
    s.name = r.text(QStringLiteral("xqmc"));
    for (int i = 0; i < kFormulaFactors; ++i) s.values[size_t(i)] = r.number(factorCode(i));
    return s;
}

} // namespace

std::vector<NutrientStandard> NutrientStandards::all()
{
    std::vector<NutrientStandard> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {yybzk} ORDER BY xqdm, id").arg(columns())))
        out.push_back(read(r));
    return out;
}

std::optional<NutrientStandard> NutrientStandards::findByName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto r = m_s.row(
        QStringLiteral("SELECT %1 FROM {yybzk} WHERE {ci:xqmc} = {ci:?} ORDER BY xqdm, id {first:1}").arg(columns()), {n});
    if (!r) return std::nullopt;
    return read(*r);
}

std::optional<NutrientStandard> NutrientStandards::byId(qint64 id)
{
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {yybzk} WHERE id = ?").arg(columns()), {id});
    if (!r) return std::nullopt;
    return read(*r);
}

double NutrientStandards::checkValue(const QString &typed)
{
    double v = 0;
    if (!parseNumber(typed, &v) || v < 0 || v > kMaxValue) throw badNumber();
    return v;
}

QString NutrientStandards::checkNewCode(const QString &code)
{
    const QString c = foldFullWidth(code).trimmed();
    if (c.isEmpty() || c.size() > kCodeLength) throw DomainError(QStringLiteral("请输入标准代码！"), ErrorCode::Incomplete);
    if (m_s.scalar(QStringLiteral("SELECT id FROM {yybzk} WHERE {ci:xqdm} = {ci:?} {first:1}"), {c}).isValid())
        throw DomainError(kCodeExists, ErrorCode::Duplicate);
    return c;
}

qint64 NutrientStandards::add(const QString &code, const QString &name, const FactorValues &values)
{
    const QString n = name.trimmed();
    if (n.isEmpty() || n.size() > kNameLength) throw DomainError(QStringLiteral("请输入标准名称！"), ErrorCode::Incomplete);
    for (double v : values)
        if (!(v >= 0 && v <= kMaxValue)) throw badNumber();
    qint64 id = 0;
    m_s.transaction([&] {
        const QString c = checkNewCode(code);
        Fields f{{QStringLiteral("xqdm"), c}, {QStringLiteral("xqmc"), n}};
        for (int i = 0; i < kFormulaFactors; ++i) f.push_back({factorCode(i), values[size_t(i)]});
        f.push_back({QStringLiteral("rq_0"), dateTimeText(m_clock.now())});
        id = m_s.insert(QStringLiteral("yybzk"), f);
    });
    return id;
}

void NutrientStandards::update(qint64 id, const FactorValues &values)
{
    for (double v : values)
        if (!(v >= 0 && v <= kMaxValue)) throw badNumber();
    QString assignments;
    Values bound;
    for (int i = 0; i < kFormulaFactors; ++i) {
        assignments += (i ? QStringLiteral(", ") : QString()) + factorCode(i) + QStringLiteral(" = ?");
        bound << values[size_t(i)];
    }
    bound << id;
    m_s.transaction([&] {
        const auto old = m_s.row(QStringLiteral("SELECT * FROM {yybzk} WHERE id = ?"), {id});
        if (!old || m_s.execute(QStringLiteral("UPDATE {yybzk} SET %1 WHERE id = ?").arg(assignments), bound) != 1)
            throw DomainError(QStringLiteral("该标准已不存在！"), ErrorCode::NotFound);
        ChangeRecord rec(kFunction, QStringLiteral("yybzk"), id, old->text(QStringLiteral("xqdm")));
        for (int i = 0; i < kFormulaFactors; ++i) rec.change(factorCode(i), old->number(factorCode(i)), values[size_t(i)]);
        rec.write(m_s);
    });
}

bool NutrientStandards::remove(qint64 id)
{
    bool removed = false;
    m_s.transaction([&] {
        const auto old = m_s.row(QStringLiteral("SELECT * FROM {yybzk} WHERE id = ?"), {id});
        removed = old && m_s.execute(QStringLiteral("DELETE FROM {yybzk} WHERE id = ?"), {id}) == 1;
        if (!removed) return;
        ChangeRecord rec(kFunction, QStringLiteral("yybzk"), id, old->text(QStringLiteral("xqdm")), ChangeRecord::Kind::Delete);
        rec.value(QStringLiteral("xqmc"), old->value(QStringLiteral("xqmc")));
        // The factors it set; the many it left at zero say nothing.
        for (int i = 0; i < kFormulaFactors; ++i)
            if (std::abs(old->number(factorCode(i))) > 1e-12) rec.value(factorCode(i), old->number(factorCode(i)));
        rec.write(m_s);
    });
    return removed;
}

} // namespace fm
