#include "production/productionruns.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "formulation/formulabook.h"
#include "production/productcatalogue.h"
#include "production/productstock.h"

#include <algorithm>
#include <cmath>

namespace fm {

namespace {

// "id IN (?, ?, …)" with the ids appended to values.
QString idList(const std::vector<qint64> &ids, Values &values)
{
    QStringList marks;
    for (qint64 id : ids) {
        marks << QStringLiteral("?");
        values << id;
    }
    return QStringLiteral("id IN (%1)").arg(marks.join(QStringLiteral(", ")));
}

// A run's shift rows, each once, in the order every transaction locks them.
std::vector<qint64> shiftIdsInOrder(const ProductionRun &run)
{
    std::vector<qint64> ids;
    for (const ShiftShare &s : run.shiftRows) ids.push_back(s.id);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

bool sameQuantity(double a, double b)
{
    return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::max(std::fabs(a), std::fabs(b)));
}

} // namespace

QString ProductionRuns::productFlag(const QString &formula)
{
    return formula.trimmed().left(1);
}

QString ProductionRuns::categoryName(const QString &flag)
{
    if (flag.isEmpty()) return QString();
    const auto c = ProductCatalogue(m_s, m_clock).categoryByFlag(flag);
    return c ? c->lbmc : QString();
}

std::optional<FormulaHead> ProductionRuns::openFormula(const QString &number)
{
    FormulaReader(m_s).refreshPricesFromStock(number);
    return FormulaBook(m_s).find(number);
}

ProductionRun ProductionRuns::draw(const RunHead &head, int firstSerial)
{
    const double actual = head.actual();
    if (!(head.production > 0) || head.production > kMaxKilograms || head.reprocessed < 0
        || head.reprocessed > kMaxKilograms)
        throw badNumber();
    // A run with returned product fed back in cannot be recorded here.
    if (head.reprocessed != 0) throw DomainError(kReprocessed);
    if (!(actual > 0)) throw badNumber();
    if (head.team.trimmed().isEmpty() || head.formula.trimmed().isEmpty() || head.date.isEmpty())
        throw DomainError(QStringLiteral("输入资料不完整！"), ErrorCode::Incomplete);

    FormulaReader reader(m_s);
    if (!FormulaBook(m_s).find(head.formula)) throw DomainError(QStringLiteral("配方号码不存在！"), ErrorCode::NotFound);
    const std::vector<PricedFormulaLine> formula = reader.pricedLines(head.formula);
    if (formula.empty()) throw DomainError(QStringLiteral("该配方没有原料！"), ErrorCode::NotFound);

    const QString stamp = dateTimeText(m_clock.now());
    ProductionRun run;
    m_s.transaction([&] {
        run = ProductionRun();
        run.head = head;
        run.flag = productFlag(head.formula);
        // The shift's rows this run adds to are locked first, in id order, as
        // confirm and cancel take them: two runs of one shift then queue
        // instead of deadlocking.
        {
            Values values{head.team, head.date};
            QStringList marks;
            for (const PricedFormulaLine &l : formula) {
                marks << QStringLiteral("{ci:?}");
                values << l.yldm;
            }
            const Rows shifts = m_s.rows(QStringLiteral("SELECT id FROM {scylxh} WHERE {ci:bzdm} = {ci:?} AND rq_1 = ? "
                                                        "AND {ci:yldm} IN (%1) ORDER BY id")
                                             .arg(marks.join(QStringLiteral(", "))),
                                         values);
            for (const Row &r : shifts)
                m_s.lockRows(QStringLiteral("scylxh"), QStringLiteral("lrsl"), QStringLiteral("id = ?"), {r.id()});
        }
        int serial = firstSerial;
        for (const PricedFormulaLine &l : formula) {
            const double kg = l.share * actual / 100;
            ++serial;
            run.lineIds.push_back(m_s.insert(QStringLiteral("scylk"),
                                             {{QStringLiteral("yldm"), l.yldm},
                                              {QStringLiteral("ylmc"), l.ylmc},
                                              {QStringLiteral("yldj"), l.yldj.left(1)},
                                              {QStringLiteral("sjsl"), 0.0},
                                              {QStringLiteral("yljg"), l.pricePerTonne},
                                              {QStringLiteral("lrsl"), kg},
                                              {QStringLiteral("bzdm"), head.team},
                                              {QStringLiteral("bzdm0"), head.previousTeam},
                                              {QStringLiteral("scjc"), 0.0},
                                              {QStringLiteral("sjjc"), 0.0},
                                              {QStringLiteral("lrjc"), 0.0},
                                              {QStringLiteral("pfbl"), l.share},
                                              {QStringLiteral("scpc"), 0},
                                              {QStringLiteral("pfhm"), head.formula},
                                              {QStringLiteral("pfmc"), head.formulaName},
                                              {QStringLiteral("rq_1"), head.date},
                                              {QStringLiteral("rq_0"), stamp},
                                              {QStringLiteral("bz"), QStringLiteral("")},
                                              {QStringLiteral("rec_num"), serial},
                                              {QStringLiteral("ylbz"), l.yldj.left(1)}}));

            // The shift's row of this material, added to relatively; created
            // (uncommitted) when the shift has none yet.
            const auto shift = m_s.row(QStringLiteral("SELECT id FROM {scylxh} WHERE {ci:yldm} = {ci:?} AND {ci:bzdm} = {ci:?} "
                                                      "AND rq_1 = ? ORDER BY id {first:1}"),
                                       {l.yldm, head.team, head.date});
            if (shift) {
                m_s.execute(QStringLiteral("UPDATE {scylxh} SET lrsl = lrsl + ? WHERE id = ?"), {kg, shift->id()});
                run.shiftRows.push_back({shift->id(), kg, false});
            } else {
                const qint64 id = m_s.insert(QStringLiteral("scylxh"), {{QStringLiteral("yldm"), l.yldm},
                                                                       {QStringLiteral("ylmc"), l.ylmc},
                                                                       {QStringLiteral("yljg"), l.pricePerTonne},
                                                                       {QStringLiteral("sjsl"), 0.0},
                                                                       {QStringLiteral("scjc"), 0.0},
                                                                       {QStringLiteral("lrsl"), kg},
                                                                       {QStringLiteral("sjjc"), 0.0},
                                                                       {QStringLiteral("lrjc"), 0.0},
                                                                       {QStringLiteral("sjxh"), 0.0},
                                                                       {QStringLiteral("bzdm"), head.team},
                                                                       {QStringLiteral("bzdm0"), head.previousTeam},
                                                                       {QStringLiteral("rq_1"), head.date},
                                                                       {QStringLiteral("rq_0"), stamp},
                                                                       {QStringLiteral("rec_num"), serial},
                                                                       {QStringLiteral("bz"), QStringLiteral("")},
                                                                       {QStringLiteral("ylbz"), l.yldj.left(1)}});
                run.shiftRows.push_back({id, kg, true});
            }
        }
    });
    return run;
}

Rows ProductionRuns::lines(const ProductionRun &run)
{
    if (run.lineIds.empty()) return {};
    Values values;
    const QString where = idList(run.lineIds, values);
    return m_s.rows(QStringLiteral("SELECT id, ylmc, lrsl, bzdm, bzdm0, pfhm, yljg, rq_1 FROM {scylk} WHERE %1 ORDER BY id").arg(where),
                    values);
}

double ProductionRuns::cost(const ProductionRun &run)
{
    const double actual = run.head.actual();
    if (run.lineIds.empty() || !(actual > 0)) throw badNumber();
    Values values;
    const QString where = idList(run.lineIds, values);
    const QVariant v = m_s.scalar(QStringLiteral("SELECT SUM(lrsl * yljg) FROM {scylk} WHERE %1").arg(where), values);
    return v.toDouble() / actual;
}

std::optional<QString> ProductionRuns::productName(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT cpmc FROM {velcpzk} WHERE {ci:cpdm} = {ci:?} ORDER BY id {first:1}"), {c});
    if (!r) return std::nullopt;
    return r->text(QStringLiteral("cpmc"));
}

void ProductionRuns::checkAllocation(const ProductionRun &run, const std::vector<ProductSlot> &output) const
{
    double total = 0;
    int filled = 0;
    for (const ProductSlot &s : output) {
        if (s.code.trimmed().isEmpty()) continue;
        ++filled;
        // A slot that counts must also be written: size, name and quantity.
        double size = 0;
        if (!parseNumber(s.spec.trimmed(), &size) || !(size > 0) || s.spec.trimmed().size() > ProductCatalogue::kSpecLength
            || s.name.trimmed().isEmpty() || !(s.kilograms > 0) || s.kilograms > kMaxKilograms
            || s.code.trimmed().size() > ProductCatalogue::kCodeLength || s.name.trimmed().size() > kNameLength)
            throw DomainError(kBadAllocation, ErrorCode::BadNumber);
        total += s.kilograms;
    }
    if (filled == 0 || !sameQuantity(total, run.head.actual())) throw DomainError(kBadAllocation, ErrorCode::BadNumber);
}

RunBooking ProductionRuns::confirm(const ProductionRun &run, const std::vector<ProductSlot> &output)
{
    if (!run.isOpen()) throw DomainError(QStringLiteral("输入资料不完整！"), ErrorCode::Incomplete);
    checkAllocation(run, output);
    const double costPerTonne = run.cost ? *run.cost : cost(run);
    const QDateTime now = m_clock.now();
    const QString today = dateText(now.date());
    const QString stamp = dateTimeText(now);
    const QString formula = run.head.formula.trimmed();

    RunBooking booking;
    runWithMasterRetry(m_s, [&] {
        booking = RunBooking();
        // Lines before stock: the run's own lines are committed first, and
        // only if they are still there and uncommitted.
        Values values;
        const QString where = idList(run.lineIds, values);
        const int committed = m_s.execute(
            QStringLiteral("UPDATE {scylk} SET bz = '1' WHERE %1 AND COALESCE(bz, '') <> '1'").arg(where), values);
        if (committed != int(run.lineIds.size()))
            throw DomainError(QStringLiteral("本次生产已经确认或取消，请重新输入！"));
        for (qint64 id : shiftIdsInOrder(run))
            m_s.execute(QStringLiteral("UPDATE {scylxh} SET bz = '1' WHERE id = ?"), {id});

        for (const ProductSlot &s : output) {
            if (s.code.trimmed().isEmpty()) continue;
            const QString code = s.code.trimmed();
            const QString spec = s.spec.trimmed();
            const QString name = s.name.trimmed();
            Fields line{{QStringLiteral("cpdm"), code},         {QStringLiteral("cpmc"), name},
                        {QStringLiteral("cpgg"), spec},         {QStringLiteral("scsl"), s.kilograms},
                        {QStringLiteral("sccb"), costPerTonne}, {QStringLiteral("pfhm"), formula},
                        {QStringLiteral("scbz"), run.head.team}, {QStringLiteral("scrq_1"), run.head.date},
                        {QStringLiteral("scrq_0"), stamp},      {QStringLiteral("txm"), QStringLiteral("")},
                        {QStringLiteral("cpbz"), run.flag},     {QStringLiteral("rec_num"), 0},
                        {QStringLiteral("scpc"), 0},            {QStringLiteral("klbz"), QStringLiteral("0")},
                        {QStringLiteral("klmc"), QStringLiteral("")}, {QStringLiteral("psnum"), 0.0},
                        {QStringLiteral("qtbzgg"), QStringLiteral("")}};
            for (const char *c : {"bzddm", "bzdmc", "bzdgg", "bqdm", "bqmc", "fwbqdm", "fwbqmc", "qtbzdm", "qtbzmc"})
                line.emplace_back(QString::fromLatin1(c), QStringLiteral(""));
            for (const char *c : {"bzdjg", "bzdje", "bqjg", "bqje", "fwbqjg", "fwbqje", "qtbzjg", "qtbzje"})
                line.emplace_back(QString::fromLatin1(c), 0.0);
            for (const char *c : {"bzdsl", "bqsl", "fwbqsl", "qtbzsl"}) line.emplace_back(QString::fromLatin1(c), 0);
            const qint64 id = m_s.insert(QStringLiteral("velcpk"), line);
            const QString code13 = barCode(id);
            m_s.execute(QStringLiteral("UPDATE {velcpk} SET txm = ? WHERE id = ?"), {code13, id});
            booking.lineIds.push_back(id);
            booking.barCodes.push_back(code13);
        }
        for (const ProductSlot &s : output) {
            if (s.code.trimmed().isEmpty()) continue;
            ProductStock::bookRun(m_s, RunOutput{s.code.trimmed(), s.name.trimmed(), s.spec.trimmed(), formula, run.flag,
                                                 s.kilograms, costPerTonne},
                                  today, stamp);
        }
    });
    return booking;
}

void ProductionRuns::cancel(const ProductionRun &run)
{
    if (!run.isOpen()) return;
    m_s.transaction([&] {
        std::vector<ShiftShare> shares = run.shiftRows;
        std::stable_sort(shares.begin(), shares.end(), [](const ShiftShare &a, const ShiftShare &b) { return a.id < b.id; });
        for (const ShiftShare &s : shares)
            m_s.execute(QStringLiteral("UPDATE {scylxh} SET lrsl = lrsl - ? WHERE id = ?"), {s.kilograms, s.id});
        for (const ShiftShare &s : run.shiftRows) {
            if (!s.created) continue;
            // Gone only while nothing else has been put into it.
            m_s.execute(QStringLiteral("DELETE FROM {scylxh} WHERE id = ? AND COALESCE(bz, '') <> '1' AND ABS(lrsl) < 0.0001 "
                                       "AND sjsl = 0 AND scjc = 0 AND sjjc = 0 AND lrjc = 0"),
                        {s.id});
        }
        Values values;
        const QString where = idList(run.lineIds, values);
        m_s.execute(QStringLiteral("DELETE FROM {scylk} WHERE %1 AND COALESCE(bz, '') <> '1'").arg(where), values);
    });
}

int ProductionRuns::ean13CheckDigit(const QString &twelveDigits)
{
    int sum = 0;
    for (int i = 0; i < twelveDigits.size(); ++i) sum += twelveDigits.at(i).digitValue() * (i % 2 ? 3 : 1);
    return (10 - sum % 10) % 10;
}

QString ProductionRuns::barCode(qint64 lineId)
{
    const QString body = QStringLiteral("2") + QString::number(lineId).rightJustified(11, QLatin1Char('0'));
    return body + QString::number(ean13CheckDigit(body));
}

} // namespace fm
