#include "formulation/formulacalculation.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/dberror.h"
#include "data/session.h"

#include <QSet>
#include <algorithm>

namespace fm {

const QString FormulaCalculation::kNoStandard = QStringLiteral("没有选择标准!");
const QString FormulaCalculation::kBadMaterial = QStringLiteral("原料名称有错误！");
const QString FormulaCalculation::kReplace = QStringLiteral("配方号码已存在，是否覆盖？");
const QString FormulaCalculation::kNoNumber = QStringLiteral("请输入配方号码！");
const QString FormulaCalculation::kNoName = QStringLiteral("请输入配方名称！");

QString FormulaCalculation::noPriceMessage(const QString &code)
{
    return QStringLiteral("原料") + code + QStringLiteral("无价格，请检查！");
}

std::vector<double> FormulaComposition::shares() const
{
    std::vector<double> out;
    out.reserve(lines.size());
    for (const CompositionLine &l : lines) out.push_back(l.share);
    return out;
}

std::vector<FactorResult> FormulaComposition::results() const
{
    std::vector<FactorResult> out;
    for (const Factor &f : factors()) {
        FactorResult r;
        r.factor = f.number;
        r.name = f.name;
        r.recNum = QString::number(f.number);
        r.result = result ? (*result)[size_t(f.number)] : 0;
        r.stand = standard ? standard->values[size_t(f.number)] : 0;
        r.comp = r.result - r.stand;
        out.push_back(r);
    }
    return out;
}

std::vector<FactorResult> FormulaComposition::shownResults() const
{
    std::vector<FactorResult> out;
    for (const FactorResult &r : results())
        if (r.result != 0 || r.stand != 0 || r.comp != 0) out.push_back(r);
    std::stable_sort(out.begin(), out.end(), [](const FactorResult &a, const FactorResult &b) { return a.recNum < b.recNum; });
    return out;
}

QStringList FormulaCalculation::materialNames()
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT ylmc FROM {ylpzk} ORDER BY yldm, id")))
        out << r.text(QStringLiteral("ylmc"));
    return out;
}

QStringList FormulaCalculation::formulaNumbers()
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT pfhm FROM {pfzlk} ORDER BY pfhm, id")))
        out << r.text(QStringLiteral("pfhm"));
    return out;
}

std::optional<TemplateFormula> FormulaCalculation::templateFormula(const QString &number)
{
    const QString n = number.trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto f = m_s.row(QStringLiteral("SELECT pfhm, pfmc FROM {pfzlk} WHERE {ci:pfhm} = {ci:?} {first:1}"), {n});
    if (!f) return std::nullopt;
    TemplateFormula t;
    t.name = f->text(QStringLiteral("pfmc"));
    for (const Row &r : m_s.rows(QStringLiteral("SELECT ylmc FROM {velpfk} WHERE {ci:pfhm} = {ci:?} ORDER BY id"), {n}))
        t.materials << r.text(QStringLiteral("ylmc"));
    return t;
}

std::optional<NutrientStandard> FormulaCalculation::standard(const QString &name)
{
    return NutrientStandards(m_s, m_clock).findByName(name);
}

std::vector<CompositionLine> FormulaCalculation::linesFor(const QStringList &names)
{
    std::vector<CompositionLine> out;
    QSet<QString> seen;
    const QDateTime now = m_clock.now();
    for (const QString &name : names) {
        const auto r = m_s.row(QStringLiteral("SELECT yldm, ylmc, descip FROM {ylpzk} WHERE {ci:ylmc} = {ci:?} "
                                              "ORDER BY yldm, id {first:1}"),
                               {name.trimmed()});
        if (!r) continue;
        CompositionLine l;
        l.code = r->text(QStringLiteral("yldm"));
        if (seen.contains(l.code.toLower())) continue;
        seen.insert(l.code.toLower());
        l.name = r->text(QStringLiteral("ylmc"));
        l.flag = r->text(QStringLiteral("descip")).left(1);
        l.created = now;
        out.push_back(l);
    }
    return out;
}

void FormulaCalculation::price(std::vector<CompositionLine> &lines)
{
    std::vector<double> prices;
    for (const CompositionLine &l : lines) {
        const QVariant p = m_s.scalar(QStringLiteral("SELECT s0 FROM {ylpzk} WHERE {ci:yldm} = {ci:?} ORDER BY id {first:1}"),
                                      {l.code});
        if (!p.isValid()) throw DomainError(noPriceMessage(l.code), ErrorCode::NotFound);
        prices.push_back(p.isNull() ? 0 : p.toDouble());
    }
    for (size_t i = 0; i < lines.size(); ++i) lines[i].price = prices[i];
}

double FormulaCalculation::checkShare(const QString &typed)
{
    if (typed.trimmed().isEmpty()) return 0;
    double v = 0;
    if (!parseNumber(typed, &v) || v < -1000 || v > 1000) throw badNumber();
    return v;
}

std::optional<double> FormulaCalculation::checkBound(const QString &typed, double max)
{
    if (typed.trimmed().isEmpty()) return std::nullopt;
    double v = 0;
    if (!parseNumber(typed, &v) || v < 0 || v > max) throw badNumber();
    return v;
}

LeastCostProblem FormulaCalculation::leastCostProblem(const std::vector<CompositionLine> &lines,
                                                      const NutrientStandard &standard, const std::vector<double> &low,
                                                      const std::vector<double> &high,
                                                      const std::array<std::optional<double>, kFormulaFactors> &maximum)
{
    const MaterialTable materials = MaterialTable::load(m_s);
    LeastCostProblem p;
    for (size_t i = 0; i < lines.size(); ++i) {
        const MaterialFactors *m = materials.find(lines[i].code);
        if (!m) throw DomainError(kBadMaterial, ErrorCode::NotFound);
        LeastCostMaterial lm;
        lm.code = m->code;
        lm.name = m->name;
        lm.values = m->values;
        lm.low = i < low.size() ? low[i] : 0;
        lm.high = i < high.size() ? high[i] : 100;
        p.materials.push_back(lm);
    }
    p.minimum = standard.values;
    p.minimum[kPriceFactor] = 0;
    p.maximum = maximum;
    p.maximum[kPriceFactor].reset();
    return p;
}

FactorValues FormulaCalculation::evaluate(const std::vector<CompositionLine> &lines)
{
    std::vector<double> shares;
    for (const CompositionLine &l : lines) shares.push_back(l.share);
    checkShares(shares);
    const MaterialTable materials = MaterialTable::load(m_s);
    std::vector<KernelLine> kernel;
    // Every material is checked before anything is computed: a result from
    // some of the materials is no result.
    for (const CompositionLine &l : lines) {
        const MaterialFactors *m = materials.find(l.code);
        if (!m) throw DomainError(kBadMaterial, ErrorCode::NotFound);
        kernel.push_back({&m->values, l.share});
    }
    return evaluateFormula(kernel);
}

bool FormulaCalculation::exists(const QString &number)
{
    const QString n = number.trimmed();
    return !n.isEmpty()
        && m_s.scalar(QStringLiteral("SELECT id FROM {pfzlk} WHERE {ci:pfhm} = {ci:?} {first:1}"), {n}).isValid();
}

QString FormulaCalculation::checkNumber(const QString &typed)
{
    const QString n = foldFullWidth(typed).trimmed();
    if (n.isEmpty() || n.size() > kNumberLength) throw DomainError(kNoNumber, ErrorCode::Incomplete);
    return n;
}

QString FormulaCalculation::checkName(const QString &typed)
{
    const QString n = typed.trimmed();
    if (n.isEmpty() || n.size() > kNameLength) throw DomainError(kNoName, ErrorCode::Incomplete);
    return n;
}

double FormulaCalculation::save(const FormulaComposition &c, const FormulaToSave &what)
{
    if (!c.standard) throw DomainError(kNoStandard, ErrorCode::Incomplete);
    const QString typedNumber = checkNumber(what.number);
    const QString name = checkName(what.name);
    if (c.lines.empty()) throw DomainError(shareMessage(QStringLiteral("0")), ErrorCode::BadNumber);
    FormulaComposition evaluated = c;
    evaluated.result = evaluate(c.lines);
    const std::vector<FactorResult> results = evaluated.results();
    const double cost = (*evaluated.result)[kPriceFactor];
    const QString today = dateText(m_clock.today());
    const QString now = dateTimeText(m_clock.now());

    m_s.transaction([&] {
        // Register first, then the lines (the lock order of every writer).
        QString number = typedNumber;
        const auto existing = m_s.row(
            QStringLiteral("SELECT id, pfhm, pfcb FROM {pfzlk} WHERE {ci:pfhm} = {ci:?} ORDER BY id {first:1}"), {number});
        if (existing) {
            if (!what.replace) throw DomainError(kReplace, ErrorCode::Duplicate);
            // The lines keep the register's spelling of the number.
            number = existing->text(QStringLiteral("pfhm"));
            m_s.execute(QStringLiteral("UPDATE {pfzlk} SET pfcb = ?, rq_0 = ?, rydm = ? WHERE id = ?"),
                        {cost, now, m_operator, existing->id()});
            // The formula saved over: its cost and its materials with their shares.
            QStringList oldLines, newLines;
            for (const Row &l : m_s.rows(QStringLiteral("SELECT yldm, ylsl FROM {velpfk} WHERE {ci:pfhm} = {ci:?} ORDER BY id"), {number}))
                oldLines << l.text(QStringLiteral("yldm")) + QLatin1Char(':') + numberText(l.number(QStringLiteral("ylsl")));
            for (const CompositionLine &l : c.lines) newLines << l.code.trimmed() + QLatin1Char(':') + numberText(l.share);
            ChangeRecord(QStringLiteral("配方计算"), QStringLiteral("pfzlk"), existing->id(), number)
                .change(QStringLiteral("pfcb"), existing->number(QStringLiteral("pfcb")), cost)
                .change(QStringLiteral("velpfk"), oldLines.join(QLatin1Char(',')), newLines.join(QLatin1Char(',')))
                .write(m_s);
            m_s.execute(QStringLiteral("DELETE FROM {velpfk} WHERE {ci:pfhm} = {ci:?}"), {number});
            m_s.execute(QStringLiteral("DELETE FROM {pfyyk} WHERE {ci:pfhm} = {ci:?} AND rq_1 = ?"), {number, today});
        } else {
            m_s.insert(QStringLiteral("pfzlk"), {{QStringLiteral("pfhm"), number},
                                                 {QStringLiteral("pfmc"), name},
                                                 {QStringLiteral("pfbz"), c.standard->name},
                                                 {QStringLiteral("pfcb"), cost},
                                                 {QStringLiteral("rq_0"), now},
                                                 {QStringLiteral("rydm"), m_operator},
                                                 {QStringLiteral("bz1"), QString()},
                                                 {QStringLiteral("bz2"), QString()}});
        }
        for (const CompositionLine &l : c.lines)
            m_s.insert(QStringLiteral("velpfk"), {{QStringLiteral("pfhm"), number},
                                                  {QStringLiteral("pfmc"), name},
                                                  {QStringLiteral("yldm"), l.code},
                                                  {QStringLiteral("ylmc"), l.name},
                                                  {QStringLiteral("yldj"), l.flag},
                                                  {QStringLiteral("ylsl"), l.share},
                                                  {QStringLiteral("yljg"), l.price},
                                                  {QStringLiteral("pfcb"), 0.0},
                                                  {QStringLiteral("rq_1"), today},
                                                  {QStringLiteral("rq_0"), now},
                                                  {QStringLiteral("pfbz"), QString()},
                                                  {QStringLiteral("rydm"), m_operator},
                                                  {QStringLiteral("sm"), QString()}});
        for (const FactorResult &r : results)
            m_s.insert(QStringLiteral("pfyyk"), {{QStringLiteral("pfhm"), number},
                                                 {QStringLiteral("pfmc"), name},
                                                 {QStringLiteral("ylys"), r.name},
                                                 {QStringLiteral("ysdm"), factorCode(r.factor)},
                                                 {QStringLiteral("result"), r.result},
                                                 {QStringLiteral("stand"), r.stand},
                                                 {QStringLiteral("comp"), r.comp},
                                                 {QStringLiteral("rec_num"), r.recNum},
                                                 {QStringLiteral("rq_1"), today},
                                                 {QStringLiteral("rq_0"), now},
                                                 {QStringLiteral("xqdm"), QString()},
                                                 {QStringLiteral("xqmc"), c.standard->name}});
    });
    return cost;
}

} // namespace fm
