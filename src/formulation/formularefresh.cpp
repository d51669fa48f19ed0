#include "formulation/formularefresh.h"

#include "common/dates.h"
#include "data/dberror.h"
#include "data/session.h"
#include "formulation/formulakernel.h"
#include "production/productcatalogue.h"

#include <QSet>
#include <QStringList>

namespace fm {

const QString FormulaRefresh::kBlankDates = QStringLiteral("起始日期或截止日期不能为空！");
const QString FormulaRefresh::kBlankDatesAll = QStringLiteral("起始日期或截止日期为空，不能刷新！");
const QString FormulaRefresh::kNotConfirmed = QStringLiteral("先确认，再刷新！");
const QString FormulaRefresh::kQuestion = QStringLiteral("将对所有配方刷新，是否继续？");
const QString FormulaRefresh::kZeroPrice = QStringLiteral("价格为0，计算将不能继续！");
const QString FormulaRefresh::kDone = QStringLiteral("刷新完毕！");

namespace {

// One statement renews the 39 results of a formula's saves in the range:
// result and comp take the new value of their factor (comp from the new
// result, not from the one the row held before).
QString resultUpdateSql()
{
    QString result, comp;
    for (int n = 0; n < kFormulaFactors; ++n) {
        const QString when = QStringLiteral(" WHEN '%1' THEN CAST(? AS DOUBLE PRECISION)").arg(factorCode(n));
        result += when;
        comp += when + QStringLiteral(" - stand");
    }
    return QStringLiteral("UPDATE {pfyyk} SET result = CASE ysdm%1 ELSE result END, comp = CASE ysdm%2 ELSE comp END "
                          "WHERE {ci:pfhm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?")
        .arg(result, comp);
}

} // namespace

RefreshOutcome FormulaRefresh::refreshContaining(const QString &materialCode, QDate start, QDate end,
                                                 const Progress &progress)
{
    if (!start.isValid() || !end.isValid()) throw DomainError(kBlankDates, ErrorCode::Incomplete);
    if (materialCode.trimmed().isEmpty()) throw DomainError(kNotConfirmed, ErrorCode::Incomplete);
    std::vector<Target> targets;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT id, pfhm FROM {pfzlk} WHERE {ci:pfhm} IN "
                                                "(SELECT {ci:pfhm} FROM {velpfk} WHERE {ci:yldm} = {ci:?}) "
                                                "ORDER BY pfhm, id"),
                                 {materialCode.trimmed()}))
        targets.push_back({r.id(), r.text(QStringLiteral("pfhm"))});
    return run(targets, start, end, false, false, progress);
}

RefreshOutcome FormulaRefresh::refreshAll(QDate start, QDate end, const Progress &progress)
{
    if (!start.isValid() || !end.isValid()) throw DomainError(kBlankDatesAll, ErrorCode::Incomplete);
    std::vector<Target> targets;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT id, pfhm FROM {pfzlk} ORDER BY pfhm, id")))
        targets.push_back({r.id(), r.text(QStringLiteral("pfhm"))});
    return run(targets, start, end, true, true, progress);
}

RefreshOutcome FormulaRefresh::run(const std::vector<Target> &targets, QDate start, QDate end, bool stopAtZeroPrice,
                                   bool withDate, const Progress &progress)
{
    RefreshOutcome out;
    out.total = int(targets.size());
    if (progress) progress(0, out.total);
    if (targets.empty()) return out;

    // The register and the product links are read once for the run.
    const MaterialTable materials = MaterialTable::load(m_s);
    QSet<QString> numbers;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT pfhm FROM {pfzlk}")))
        numbers.insert(r.text(QStringLiteral("pfhm")).toLower());
    ProductCatalogue catalogue(m_s, m_clock);
    const QHash<QString, std::vector<qint64>> products = catalogue.productionRowsByFormula(numbers);
    const QString updateResults = resultUpdateSql();
    const QString from = dateText(start), to = dateText(end);

    for (const Target &t : targets) {
        QString stop;
        m_s.transaction([&] {
            stop.clear();
            const Rows lines = m_s.rows(
                QStringLiteral("SELECT yldm, ylsl FROM {velpfk} WHERE {ci:pfhm} = {ci:?} ORDER BY id"), {t.number});
            std::vector<KernelLine> kernel;
            kernel.reserve(lines.size());
            for (const Row &l : lines) {
                const MaterialFactors *m = materials.find(l.text(QStringLiteral("yldm")));
                if (stopAtZeroPrice && m && m->values[kPriceFactor] == 0) {
                    stop = m->name + kZeroPrice;
                    return;
                }
                kernel.push_back({m ? &m->values : nullptr, l.number(QStringLiteral("ylsl"))});
            }
            const FactorValues v = evaluateFormula(kernel);
            const double cost = v[kPriceFactor];

            // Register, then lines, then the products' stock rows.
            m_s.execute(QStringLiteral("UPDATE {pfzlk} SET pfcb = ? WHERE id = ?"), {cost, t.id});
            m_s.execute(QStringLiteral("UPDATE {velpfk} SET pfcb = ? WHERE {ci:pfhm} = {ci:?}"), {cost, t.number});
            Values values;
            values.reserve(2 * kFormulaFactors + 3);
            for (int pass = 0; pass < 2; ++pass)
                for (double x : v) values << x;
            values << t.number << from << to;
            m_s.execute(updateResults, values);
            const auto linked = products.constFind(t.number.toLower());
            if (linked != products.constEnd()) catalogue.setProductionCost(*linked, cost, t.number, withDate);
        });
        if (!stop.isEmpty()) {
            out.stopMessage = stop;
            break;
        }
        ++out.refreshed;
        if (progress) progress(out.refreshed, out.total);
    }
    return out;
}

} // namespace fm
