#include "production/productpackaging.h"

#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/dberror.h"

#include <cmath>

namespace fm {

namespace {

const QString kLineColumns = QStringLiteral(
    "id, cpdm, cpmc, cpgg, scsl, sccb, pfhm, scbz, scrq_1, scrq_0, txm, cpbz, scpc, klbz, klmc, psnum, "
    "bzddm, bzdmc, bzdgg, bzdjg, bzdsl, bzdje, qtbzdm, qtbzmc, qtbzgg, qtbzjg, qtbzsl, qtbzje, "
    "bqdm, bqmc, bqjg, bqsl, bqje, fwbqdm, fwbqmc, fwbqjg, fwbqsl, fwbqje");
const QString kOffered = QStringLiteral("{ci:cpbz} <> 'x' AND txm <> '杂料回机'");

// The columns of one material on a production line.
struct Columns {
    const char *code, *name, *spec, *price, *count, *amount;
};
constexpr Columns kBagColumns{"bzddm", "bzdmc", "bzdgg", "bzdjg", "bzdsl", "bzdje"};
constexpr Columns kOuterColumns{"qtbzdm", "qtbzmc", "qtbzgg", "qtbzjg", "qtbzsl", "qtbzje"};
constexpr Columns kLabelColumns{"bqdm", "bqmc", nullptr, "bqjg", "bqsl", "bqje"};
constexpr Columns kAntiColumns{"fwbqdm", "fwbqmc", nullptr, "fwbqjg", "fwbqsl", "fwbqje"};

void setPart(QStringList &sets, Values &values, const Columns &c, const PackagingPart &p)
{
    auto set = [&](const char *column, const QVariant &v) {
        if (!column) return;
        sets << QStringLiteral("%1 = ?").arg(QString::fromLatin1(column));
        values << v;
    };
    set(c.code, p.code.trimmed());
    set(c.name, p.name.trimmed());
    set(c.spec, p.spec.trimmed());
    set(c.price, p.price);
    set(c.count, p.count);
    set(c.amount, p.amount());
}

void checkPart(const std::optional<PackagingPart> &p)
{
    if (!p) return;
    if (p->count < 0 || p->count > 100000000 || !(p->price >= 0) || p->price > 1e6) throw badNumber();
    if (p->code.trimmed().isEmpty()) throw DomainError(ProductPackaging::kNoCode, ErrorCode::NotFound);
}

} // namespace

double PackagingPart::amount() const
{
    return money::stored(double(count) * price);
}

QString ProductPackaging::kindText(PackagingKind k)
{
    switch (k) {
    case PackagingKind::All: return QStringLiteral("全部");
    case PackagingKind::Bags: return QStringLiteral("包装袋");
    case PackagingKind::Outer: return QStringLiteral("外包装");
    case PackagingKind::Labels: return QStringLiteral("标签");
    case PackagingKind::AntiCounterfeit: return QStringLiteral("防伪标签");
    }
    return QString();
}

RowQuery ProductPackaging::linesQuery()
{
    return RowQuery{QStringLiteral("SELECT %1 FROM {velcpk} WHERE {ci:cpbz} <> 'x'").arg(kLineColumns), {}, {}};
}

Rows ProductPackaging::lines(const TeamForms &team, const QDate &date)
{
    if (!date.isValid()) throw DomainError(QStringLiteral("日期有错！"), ErrorCode::BadNumber);
    Values values;
    const QString teamMatch = teamCondition(QStringLiteral("scbz"), team, values);
    values << dateText(date);
    return m_s.rows(QStringLiteral("SELECT %1 FROM {velcpk} WHERE %2 AND %3 AND scrq_1 = ? ORDER BY id")
                        .arg(kLineColumns, kOffered, teamMatch),
                    values);
}

std::optional<Row> ProductPackaging::line(qint64 id)
{
    return m_s.row(QStringLiteral("SELECT %1 FROM {velcpk} WHERE id = ?").arg(kLineColumns), {id});
}

std::optional<Row> ProductPackaging::stockItem(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    return m_s.row(QStringLiteral("SELECT id, dm, mc, gg, price, sl, bz FROM {bzbqk} WHERE {ci:dm} = {ci:?} ORDER BY id {first:1}"),
                   {c});
}

Rows ProductPackaging::stockItems(const QString &letter)
{
    if (letter.isEmpty()) return m_s.rows(QStringLiteral("SELECT id, dm, mc, gg, price, sl, bz FROM {bzbqk} ORDER BY dm, id"));
    return m_s.rows(QStringLiteral("SELECT id, dm, mc, gg, price, sl, bz FROM {bzbqk} WHERE {ci:bz} = {ci:?} ORDER BY dm, id"),
                    {letter});
}

qint64 ProductPackaging::proposedBags(double kilograms, const QString &size)
{
    double s = 0;
    if (!parseNumber(size.trimmed(), &s) || !(s > 0)) throw badNumber();
    if (!(kilograms > 0)) return 0;
    // 780 kg of 12 kg bags is 65 bags, not the 64.999... of the division.
    return qint64(std::floor(kilograms / s + 1e-9));
}

bool ProductPackaging::bagsAvailable(const QString &code, qint64 count, qint64 lineId)
{
    const std::optional<Row> r = stockItem(code);
    if (!r) throw DomainError(kNoCode, ErrorCode::NotFound);
    qint64 held = 0;
    if (lineId > 0)
        if (const std::optional<Row> l = line(lineId);
            l && l->text(QStringLiteral("bzddm")).trimmed().compare(code.trimmed(), Qt::CaseInsensitive) == 0)
            held = l->integer(QStringLiteral("bzdsl"));
    return r->integer(QStringLiteral("sl")) + held >= count;
}

bool ProductPackaging::packed(const Row &line)
{
    return line.integer(QStringLiteral("bzdsl")) > 0 || line.integer(QStringLiteral("bqsl")) > 0
        || line.integer(QStringLiteral("qtbzsl")) > 0 || line.integer(QStringLiteral("fwbqsl")) > 0;
}

void ProductPackaging::move(const QString &code, qint64 back, qint64 draw, bool labels)
{
    if (back > 0)
        m_s.execute(QStringLiteral("UPDATE {bzbqk} SET sl = sl + ? WHERE {ci:dm} = {ci:?}"), {back, code});
    if (draw > 0
        && m_s.execute(QStringLiteral("UPDATE {bzbqk} SET sl = sl - ? WHERE {ci:dm} = {ci:?} AND sl >= ?"),
                       {draw, code, draw})
            == 0)
        throw PackagingShortage(labels ? kLabelsShort : kBagsShort, labels);
}

void ProductPackaging::pack(qint64 lineId, const PackagingEntry &e)
{
    checkPart(e.bags);
    checkPart(e.outer);
    checkPart(e.labels);
    checkPart(e.antiCounterfeit);
    const bool all = e.kind == PackagingKind::All;
    if ((all || e.kind == PackagingKind::Bags) && !e.bags) throw DomainError(kNoCode, ErrorCode::Incomplete);
    if ((all || e.kind == PackagingKind::Labels) && !e.labels) throw DomainError(kNoCode, ErrorCode::Incomplete);
    if (e.kind == PackagingKind::Outer && !e.outer) throw DomainError(kNoCode, ErrorCode::Incomplete);
    if (e.kind == PackagingKind::AntiCounterfeit && !e.antiCounterfeit) throw DomainError(kNoCode, ErrorCode::Incomplete);

    const bool withBags = all || e.kind == PackagingKind::Bags;
    const bool withOuter = (all || e.kind == PackagingKind::Outer) && e.outer;
    const bool withLabels = all || e.kind == PackagingKind::Labels;
    const bool withAnti = (all || e.kind == PackagingKind::AntiCounterfeit) && e.antiCounterfeit;
    // Bags always come out of stock; labels only when the line is packed in
    // full ("标签" alone corrects the line's record).
    const bool drawBags = withBags;
    const bool drawLabels = all;

    for (const auto *p : {drawBags ? &e.bags : nullptr, drawLabels ? &e.labels : nullptr})
        if (p && !stockItem((*p)->code)) throw DomainError(kNoCode, ErrorCode::NotFound);

    m_s.transaction([&] {
        // The line first (lines before stock), held until the commit so two
        // workstations packing it cannot both return its old pieces.
        m_s.lockRows(QStringLiteral("velcpk"), QStringLiteral("bzdsl"), QStringLiteral("id = ?"), {lineId});
        const std::optional<Row> old = line(lineId);
        if (!old) throw DomainError(kGone, ErrorCode::NotFound);

        QStringList sets;
        Values values;
        if (withBags) setPart(sets, values, kBagColumns, *e.bags);
        if (withOuter) setPart(sets, values, kOuterColumns, *e.outer);
        if (withLabels) setPart(sets, values, kLabelColumns, *e.labels);
        if (withAnti) setPart(sets, values, kAntiColumns, *e.antiCounterfeit);
        // Packing a line packed before corrects its record and the stock.
        if (packed(*old)) {
            ChangeRecord rec(QStringLiteral("产品包装"), QStringLiteral("velcpk"), lineId, old->text(QStringLiteral("cpdm")));
            rec.context(QStringLiteral("scrq_1"), old->value(QStringLiteral("scrq_1")));
            for (qsizetype i = 0; i < sets.size(); ++i) {
                const QString column = sets[i].section(QLatin1Char(' '), 0, 0);
                rec.change(column, old->value(column), values[i]);
            }
            rec.write(m_s);
        }
        values << lineId;
        if (m_s.execute(QStringLiteral("UPDATE {velcpk} SET %1 WHERE id = ?").arg(sets.join(QStringLiteral(", "))), values) != 1)
            throw DomainError(kGone, ErrorCode::NotFound);

        // The pieces the line held go back, then the new count is drawn.
        auto redo = [&](const char *codeColumn, const char *countColumn, const PackagingPart &p, bool labels) {
            const QString oldCode = old->text(QString::fromLatin1(codeColumn)).trimmed();
            const qint64 oldCount = old->integer(QString::fromLatin1(countColumn));
            if (!oldCode.isEmpty() && oldCode.compare(p.code.trimmed(), Qt::CaseInsensitive) == 0) {
                const qint64 net = p.count - oldCount;
                move(p.code.trimmed(), net < 0 ? -net : 0, net > 0 ? net : 0, labels);
            } else {
                if (!oldCode.isEmpty()) move(oldCode, oldCount, 0, labels);
                move(p.code.trimmed(), 0, p.count, labels);
            }
        };
        if (drawBags) redo("bzddm", "bzdsl", *e.bags, false);
        if (drawLabels) redo("bqdm", "bqsl", *e.labels, true);
    });
}

} // namespace fm
