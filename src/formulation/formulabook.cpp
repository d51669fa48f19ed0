#include "formulation/formulabook.h"

#include "common/dates.h"
#include "data/changelog.h"
#include "data/dberror.h"
#include "data/session.h"
#include "production/productcatalogue.h"

namespace fm {

const QString FormulaBook::kPlaceholder = QStringLiteral("配方代码");
const QString FormulaBook::kNotFound = QStringLiteral("该配方不存在！");
const QString FormulaBook::kBadDates = QStringLiteral("输入正确的日期！");
const QString FormulaBook::kDeleteQuestion = QStringLiteral("确认删除该配方吗(yes/no)?");
const QString FormulaBook::kLinesRemain = QStringLiteral("该配方在日期范围以外还有配方明细，配方号码保留。");

namespace {

const QString kResultColumns = QStringLiteral("id, pfhm, pfmc, ylys, ysdm, result, stand, comp, rec_num, rq_1, rq_0, xqmc");
const QString kLineColumns = QStringLiteral("id, pfhm, pfmc, yldm, ylmc, yldj, ylsl, yljg, pfcb, rq_1, rq_0, rydm");

} // namespace

QStringList FormulaBook::entries()
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT pfhm, pfmc FROM {pfzlk} ORDER BY pfhm, id")))
        out << r.text(QStringLiteral("pfhm")).leftJustified(9, QLatin1Char(' ')) + QLatin1Char(' ')
                + r.text(QStringLiteral("pfmc"));
    return out;
}

QString FormulaBook::numberOfEntry(const QString &text)
{
    const QString t = text.trimmed();
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    return blank < 0 ? t : t.left(blank);
}

std::optional<FormulaHead> FormulaBook::find(const QString &number)
{
    const QString n = number.trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT id, pfhm, pfmc, pfbz, pfcb FROM {pfzlk} WHERE {ci:pfhm} = {ci:?} "
                                          "ORDER BY id {first:1}"),
                           {n});
    if (!r) return std::nullopt;
    return FormulaHead{r->id(), r->text(QStringLiteral("pfhm")), r->text(QStringLiteral("pfmc")),
                       r->text(QStringLiteral("pfbz")), r->number(QStringLiteral("pfcb"))};
}

RowQuery FormulaBook::resultQuery(const FormulaView &v)
{
    if (v.all)
        return {QStringLiteral("SELECT %1 FROM {pfyyk} WHERE result <> 0 AND stand <> 0").arg(kResultColumns), {},
                {QStringLiteral("rec_num")}};
    return {QStringLiteral("SELECT %1 FROM {pfyyk} WHERE {ci:pfhm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ? AND result <> 0")
                .arg(kResultColumns),
            {v.number, dateText(v.start), dateText(v.end)},
            {QStringLiteral("rec_num")}};
}

RowQuery FormulaBook::lineQuery(const FormulaView &v)
{
    if (v.all) return {QStringLiteral("SELECT %1 FROM {velpfk}").arg(kLineColumns), {}, {}};
    return {QStringLiteral("SELECT %1 FROM {velpfk} WHERE {ci:pfhm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?").arg(kLineColumns),
            {v.number, dateText(v.start), dateText(v.end)},
            {}};
}

Rows FormulaBook::allRows(const RowQuery &q)
{
    QStringList order = q.orderBy;
    order << QStringLiteral("id");
    return m_s.rows(q.select + QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", ")), q.values);
}

DeleteOutcome FormulaBook::remove(const QString &number, QDate start, QDate end)
{
    if (!start.isValid() || !end.isValid()) throw DomainError(kBadDates, ErrorCode::Incomplete);
    const QString n = number.trimmed();
    DeleteOutcome out;
    m_s.transaction([&] {
        out = DeleteOutcome();
        const auto head = find(n);
        if (!head) throw DomainError(kNotFound, ErrorCode::NotFound);
        // The register row first, then the lines: the lock order of every writer.
        m_s.lockRows(QStringLiteral("pfzlk"), QStringLiteral("pfcb"), QStringLiteral("id = ?"), {head->id});
        const Values range{head->number, dateText(start), dateText(end)};
        out.lines = m_s.execute(
            QStringLiteral("DELETE FROM {velpfk} WHERE {ci:pfhm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?"), range);
        out.results = m_s.execute(
            QStringLiteral("DELETE FROM {pfyyk} WHERE {ci:pfhm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?"), range);
        const bool linesLeft
            = m_s.scalar(QStringLiteral("SELECT id FROM {velpfk} WHERE {ci:pfhm} = {ci:?} {first:1}"), {head->number})
                  .isValid();
        if (!linesLeft) {
            m_s.execute(QStringLiteral("DELETE FROM {pfzlk} WHERE id = ?"), {head->id});
            out.registerRemoved = true;
        }
        // One record for the formula: the saves of the range went, and with
        // the last of them the register row.
        if (out.lines + out.results > 0 || out.registerRemoved)
            ChangeRecord(QStringLiteral("配方显示"), QStringLiteral("pfzlk"), head->id, head->number, ChangeRecord::Kind::Delete)
                .value(QStringLiteral("pfmc"), head->name)
                .value(QStringLiteral("起始日期"), dateText(start))
                .value(QStringLiteral("截止日期"), dateText(end))
                .value(QStringLiteral("velpfk行数"), out.lines)
                .value(QStringLiteral("pfyyk行数"), out.results)
                .value(QStringLiteral("pfzlk"), out.registerRemoved ? QStringLiteral("删除") : QStringLiteral("保留"))
                .write(m_s);
    });
    return out;
}

std::vector<SavedPrice> FormulaBook::prices(QDate start, QDate end)
{
    if (!start.isValid() || !end.isValid()) throw DomainError(kBadDates, ErrorCode::Incomplete);
    std::vector<SavedPrice> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT id, pfhm, pfmc, ylys, result, rec_num, rq_1, rq_0 FROM {pfyyk} "
                                                "WHERE ylys = ? AND rq_1 >= ? AND rq_1 <= ? AND result <> 0 "
                                                "ORDER BY pfmc, id"),
                                 {QStringLiteral("价格"), dateText(start), dateText(end)})) {
        SavedPrice p;
        p.id = r.id();
        p.number = r.text(QStringLiteral("pfhm"));
        p.name = r.text(QStringLiteral("pfmc"));
        p.factor = r.text(QStringLiteral("ylys"));
        p.price = r.number(QStringLiteral("result"));
        p.recNum = r.text(QStringLiteral("rec_num"));
        p.date = r.text(QStringLiteral("rq_1"));
        p.moment = dateTimeText(readDateTime(r.value(QStringLiteral("rq_0"))));
        out.push_back(p);
    }
    return out;
}

Rows FormulaBook::productsCosted(QDate start, QDate end)
{
    if (!start.isValid() || !end.isValid()) throw DomainError(kBadDates, ErrorCode::Incomplete);
    return m_s.rows(QStringLiteral("SELECT id, cpdm, cpmc, cpgg, scsl, sccb, pfhm, scbz, scrq_1, scrq_0, cpbz "
                                   "FROM {velcpzk} WHERE scrq_1 >= ? AND scrq_1 <= ? ORDER BY cpdm, id"),
                    {dateText(start), dateText(end)});
}

QString FormulaBook::formulaOfProduct(const QString &pfhm)
{
    QSet<QString> numbers;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT pfhm FROM {pfzlk}")))
        numbers.insert(r.text(QStringLiteral("pfhm")).toLower());
    const QString f = ProductCatalogue::followedFormula(pfhm, numbers);
    return f.isEmpty() ? pfhm.trimmed().left(6) : f;
}

RowQuery FormulaBook::drawnQuery(const QString &formula, QDate start, QDate end, const QString &team)
{
    RowQuery q{QStringLiteral("SELECT id, yldm, ylmc, yldj, sjsl, yljg, bzdm, bzdm0, pfhm, lrsl, scjc, sjjc, lrjc, "
                              "rq_1, bz, rec_num, rq_0, pfbl, pfmc, scpc, ylbz FROM {scylk} "
                              "WHERE {ci:pfhm} = {ci:?} AND rq_1 >= ? AND rq_1 <= ?"),
               {formula.trimmed(), dateText(start), dateText(end)},
               {QStringLiteral("rq_1")}};
    if (!team.trimmed().isEmpty()) {
        q.select += QStringLiteral(" AND {ci:bzdm} = {ci:?}");
        q.values << team.trimmed();
    }
    return q;
}

} // namespace fm
