#include "warehouse/packagingstock.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/money.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/dberror.h"
#include "production/products.h"

namespace fm {

namespace {

const QString kStockColumns = QStringLiteral("id, dm, mc, gg, price, sl, zje, bz, rq_0, rq_1");
const QString kLineColumns = QStringLiteral("id, bz, dm, mc, gg, sl, price, zje, rq_1, rq_0");
constexpr double kMaxPrice = 1e6;

bool isLetterFlag(const QString &flag)
{
    const QString f = flag.trimmed();
    return f.size() == 1 && f.at(0) >= QLatin1Char('A') && f.at(0) <= QLatin1Char('Z');
}

PackagingItem readItem(const Row &r)
{
    return PackagingItem{r.text(QStringLiteral("cpdm")), r.text(QStringLiteral("cpmc")), r.text(QStringLiteral("cpgg")),
                         r.number(QStringLiteral("kpjg")), r.text(QStringLiteral("cpbz"))};
}

} // namespace

std::vector<PackagingType> PackagingStock::types()
{
    std::vector<PackagingType> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT lbmc, cpbz FROM {cplbgg} ORDER BY id")))
        if (isLetterFlag(r.text(QStringLiteral("cpbz"))))
            out.push_back({r.text(QStringLiteral("lbmc")), r.text(QStringLiteral("cpbz")).trimmed()});
    return out;
}

std::vector<PackagingItem> PackagingStock::items(const QString &letter)
{
    std::vector<PackagingItem> out;
    if (!isLetterFlag(letter)) return out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT cpdm, cpmc, cpgg, kpjg, cpbz FROM {price} "
                                                "WHERE {ci:cpbz} = {ci:?} ORDER BY cpdm, id"),
                                 {letter.trimmed()}))
        out.push_back(readItem(r));
    return out;
}

std::optional<PackagingItem> PackagingStock::item(const QString &code)
{
    const std::optional<Product> p = findProduct(m_s, code);
    if (!p) return std::nullopt;
    return PackagingItem{p->code, p->name, p->spec, p->listPrice, p->flag};
}

qint64 PackagingStock::pieces(const QString &text)
{
    if (text.trimmed().isEmpty()) return 0;
    qint64 n = 0;
    if (!parseWholeNumber(text, &n) || n < 0 || n > kMaxPieces) throw badNumber();
    return n;
}

double PackagingStock::unitPrice(const QString &text)
{
    if (text.trimmed().isEmpty()) return 0;
    double v = 0;
    if (!parseNumber(text, &v) || v < 0 || v > kMaxPrice) throw badNumber();
    return money::stored(v);
}

double PackagingStock::receive(const QString &code, double price, qint64 count)
{
    const std::optional<PackagingItem> it = item(code);
    if (!it) throw DomainError(kNoCode, ErrorCode::NotFound);
    // A label is catalogued with the size " ": that counts as given.
    if (it->name.trimmed().isEmpty() || !isLetterFlag(it->letter)) throw DomainError(kBadItem, ErrorCode::Incomplete);
    if (count <= 0 || count > kMaxPieces) throw badNumber();
    if (!(price >= 0) || price > kMaxPrice) throw badNumber();
    const double amount = money::stored(double(count) * price);
    const QDateTime now = m_clock.now();
    const QString today = dateText(now.date());
    auto write = [&] {
        m_s.insert(QStringLiteral("bqk"), {{QStringLiteral("dm"), it->code},  {QStringLiteral("mc"), it->name},
                                           {QStringLiteral("gg"), it->spec},  {QStringLiteral("sl"), count},
                                           {QStringLiteral("price"), price},  {QStringLiteral("zje"), amount},
                                           {QStringLiteral("rq_1"), today},   {QStringLiteral("bz"), QStringLiteral("I")},
                                           {QStringLiteral("rq_0"), now}});
        const int changed = m_s.execute(QStringLiteral("UPDATE {bzbqk} SET price = ?, sl = sl + ?, zje = zje + ?, rq_1 = ?, rq_0 = ? "
                                                       "WHERE {ci:dm} = {ci:?}"),
                                        {price, count, amount, now, today, it->code});
        if (changed == 0)
            m_s.insert(QStringLiteral("bzbqk"), {{QStringLiteral("dm"), it->code},   {QStringLiteral("mc"), it->name},
                                                 {QStringLiteral("gg"), it->spec},   {QStringLiteral("price"), price},
                                                 {QStringLiteral("sl"), count},      {QStringLiteral("zje"), amount},
                                                 {QStringLiteral("bz"), it->letter}, {QStringLiteral("rq_0"), today},
                                                 {QStringLiteral("rq_1"), now}});
    };
    try {
        m_s.transaction(write);
    } catch (const DbError &e) {
        // Another workstation created the stock row at the same moment: add to it.
        if (e.kind() != DbError::Kind::UniqueViolation) throw;
        m_s.transaction(write);
    }
    return amount;
}

qint64 PackagingStock::remainder(const QString &code, qint64 count)
{
    if (count < 0 || count > kMaxPieces) throw badNumber();
    const auto r = m_s.row(QStringLiteral("SELECT sl FROM {bzbqk} WHERE {ci:dm} = {ci:?} ORDER BY id {first:1}"), {code.trimmed()});
    if (!r) throw DomainError(kNoCode, ErrorCode::NotFound);
    const qint64 left = qint64(r->integer(QStringLiteral("sl"))) - count;
    if (left < 0) throw DomainError(kShort, ErrorCode::Refused);
    return left;
}

qint64 PackagingStock::issue(const QString &code, qint64 count)
{
    if (count <= 0 || count > kMaxPieces) throw badNumber();
    const QDateTime now = m_clock.now();
    qint64 left = 0;
    m_s.transaction([&] {
        // Lowered only if the pieces are there now, whatever the clerk saw.
        const int changed = m_s.execute(QStringLiteral("UPDATE {bzbqk} SET sl = sl - ?, zje = price * (sl - ?) "
                                                       "WHERE {ci:dm} = {ci:?} AND sl >= ?"),
                                        {count, count, code.trimmed(), count});
        if (changed == 0) throw DomainError(kShort, ErrorCode::Refused);
        const auto r = m_s.row(QStringLiteral("SELECT dm, mc, gg, price, sl FROM {bzbqk} WHERE {ci:dm} = {ci:?} ORDER BY id {first:1}"),
                               {code.trimmed()});
        const double price = r->number(QStringLiteral("price"));
        left = r->integer(QStringLiteral("sl"));
        m_s.insert(QStringLiteral("bqk"), {{QStringLiteral("dm"), r->text(QStringLiteral("dm"))},
                                           {QStringLiteral("mc"), r->text(QStringLiteral("mc"))},
                                           {QStringLiteral("gg"), r->text(QStringLiteral("gg"))},
                                           {QStringLiteral("sl"), count},
                                           {QStringLiteral("price"), price},
                                           {QStringLiteral("zje"), money::stored(double(count) * price)},
                                           {QStringLiteral("rq_1"), dateText(now.date())},
                                           {QStringLiteral("bz"), QStringLiteral("O")},
                                           {QStringLiteral("rq_0"), now}});
    });
    return left;
}

Rows PackagingStock::stock(const QString &letter)
{
    if (letter.trimmed().isEmpty())
        return m_s.rows(QStringLiteral("SELECT %1 FROM {bzbqk} ORDER BY dm, id").arg(kStockColumns));
    return m_s.rows(QStringLiteral("SELECT %1 FROM {bzbqk} WHERE {ci:bz} = {ci:?} ORDER BY dm, id").arg(kStockColumns),
                    {letter.trimmed()});
}

Rows PackagingStock::movements(const QString &kind, const QDate &from, const QDate &to)
{
    if (!from.isValid() || !to.isValid()) throw DomainError(QStringLiteral("日期有错！"), ErrorCode::BadNumber);
    return m_s.rows(QStringLiteral("SELECT %1 FROM {bqk} WHERE bz = ? AND rq_1 <= ? AND rq_1 >= ? ORDER BY rq_1, id").arg(kLineColumns),
                    {kind, dateText(to), dateText(from)});
}

PackagingTotals PackagingStock::totals(const Rows &rows)
{
    PackagingTotals t;
    for (const Row &r : rows) {
        t.pieces += r.number(QStringLiteral("sl"));
        t.amount += r.number(QStringLiteral("zje"));
    }
    return t;
}

int PackagingStock::tidy()
{
    int removed = 0;
    m_s.transaction([&] {
        const int items = m_s.execute(QStringLiteral("DELETE FROM {bzbqk} WHERE sl = 0"));
        const int movements = m_s.execute(QStringLiteral("DELETE FROM {bqk} WHERE sl = 0"));
        removed = items + movements;
        // One record of the tidying: the rows it removed held nothing.
        if (removed > 0)
            ChangeRecord(QStringLiteral("包装物管理"), QStringLiteral("bzbqk"), 0, QString(), ChangeRecord::Kind::Delete)
                .value(QStringLiteral("bzbqk行数"), items)
                .value(QStringLiteral("bqk行数"), movements)
                .write(m_s);
    });
    return removed;
}

ReportDocument PackagingStock::stockSheet(const Rows &rows, const QDate &today)
{
    ReportDocument doc;
    doc.setPage(PageSetup::a4Portrait());
    doc.addTitle(QStringLiteral("包装物结存打印"));
    doc.addHeaderLine({ReportField(QStringLiteral("打印日期："), dateText(today))});
    ReportTable &t = doc.addTable({ReportColumn(QStringLiteral("名称"), {}, 2.4).asText(),
                                   ReportColumn(QStringLiteral("规格"), {}, 0.8).asText(),
                                   ReportColumn(QStringLiteral("数量"), {}, 1.2).asNumber(),
                                   ReportColumn(QStringLiteral("价格"), {}, 1.0).asNumber(),
                                   ReportColumn(QStringLiteral("金额（元）"), {}, 1.4).asNumber()});
    for (const Row &r : rows)
        t.addRow({r.text(QStringLiteral("mc")), r.text(QStringLiteral("gg")), r.number(QStringLiteral("sl")),
                  r.number(QStringLiteral("price")), r.number(QStringLiteral("zje"))});
    t.addSummary(SummaryRow(QStringLiteral("合计：")).sum(2).sum(4));
    return doc;
}

} // namespace fm
