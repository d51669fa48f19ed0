#include "production/productledger.h"

#include "common/dates.h"
#include "data/changelog.h"
#include "data/dberror.h"

namespace fm {

namespace {

LedgerProduct readProduct(const Row &r)
{
    return {r.id(), r.text(QStringLiteral("cpdm")), r.text(QStringLiteral("cpmc")), r.text(QStringLiteral("gg")),
            r.text(QStringLiteral("sm"))};
}

const QString kColumns = QStringLiteral("id, cpdm, cpmc, gg, sm");

} // namespace

QString ProductLedger::kindText(LedgerKind k)
{
    switch (k) {
    case LedgerKind::FromProduction: return QStringLiteral("生产入库");
    case LedgerKind::Returned: return QStringLiteral("退料入库");
    case LedgerKind::Sale: return QStringLiteral("销售出库");
    case LedgerKind::Reprocess: return QStringLiteral("产品回机");
    }
    return QString();
}

QString ProductLedger::kindFlag(LedgerKind k)
{
    switch (k) {
    case LedgerKind::FromProduction: return QStringLiteral("1");
    case LedgerKind::Returned: return QStringLiteral("3");
    case LedgerKind::Sale: return QStringLiteral("2");
    case LedgerKind::Reprocess: return QStringLiteral("4");
    }
    return QString();
}

bool ProductLedger::isReceipt(LedgerKind k)
{
    return k == LedgerKind::FromProduction || k == LedgerKind::Returned;
}

std::vector<LedgerProduct> ProductLedger::products()
{
    std::vector<LedgerProduct> out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT %1 FROM {cpb} ORDER BY cpdm, id").arg(kColumns)))
        out.push_back(readProduct(r));
    return out;
}

Rows ProductLedger::productRows()
{
    return m_s.rows(QStringLiteral("SELECT %1 FROM {cpb} ORDER BY cpdm, id").arg(kColumns));
}

std::optional<LedgerProduct> ProductLedger::findByCode(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {cpb} WHERE {ci:cpdm} = {ci:?} ORDER BY cpdm, id {first:1}").arg(kColumns), {c});
    if (!r) return std::nullopt;
    return readProduct(*r);
}

std::optional<LedgerProduct> ProductLedger::findByName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto r = m_s.row(QStringLiteral("SELECT %1 FROM {cpb} WHERE {ci:cpmc} = {ci:?} ORDER BY cpdm, id {first:1}").arg(kColumns), {n});
    if (!r) return std::nullopt;
    return readProduct(*r);
}

qint64 ProductLedger::book(const QString &code, LedgerKind kind, const QDate &date, double kilograms)
{
    const std::optional<LedgerProduct> p = findByCode(code);
    if (!p || p->spec.isEmpty() || !date.isValid()) throw DomainError(kIncomplete, ErrorCode::Incomplete);
    if (!(kilograms > 0) || kilograms > kMaxKilograms) throw badNumber();
    const bool receipt = isReceipt(kind);
    qint64 id = 0;
    m_s.transaction([&] {
        id = m_s.insert(receipt ? QStringLiteral("cprkb") : QStringLiteral("cpckb"),
                        {{QStringLiteral("cpdm"), p->code},
                         {QStringLiteral("cpmc"), p->name},
                         {QStringLiteral("gg"), p->spec},
                         {receipt ? QStringLiteral("cprksl") : QStringLiteral("cpcksl"), kilograms},
                         {QStringLiteral("bz"), kindFlag(kind)},
                         {QStringLiteral("rq"), dateText(date)}});
    });
    return id;
}

Rows ProductLedger::dayLines(bool receipts, const QDate &date)
{
    const QString sql = receipts ? QStringLiteral("SELECT id, cpdm, cpmc, gg, cprksl, bz, rq FROM {cprkb} WHERE rq = ? ORDER BY cpdm, id")
                                 : QStringLiteral("SELECT id, cpdm, cpmc, gg, cpcksl, bz, rq FROM {cpckb} WHERE rq = ? ORDER BY cpdm, id");
    return m_s.rows(sql, {dateText(date)});
}

qint64 ProductLedger::addProduct(const QString &code, const QString &name, const QString &spec, const QString &remark)
{
    const QString c = code.trimmed(), n = name.trimmed(), g = spec.trimmed(), sm = remark.trimmed();
    if (c.isEmpty() || n.isEmpty() || g.isEmpty()) throw DomainError(kProductIncomplete, ErrorCode::Incomplete);
    if (c.size() > kCodeLength || n.size() > kNameLength || g.size() > kSpecLength || sm.size() > kRemarkLength)
        throw DomainError(QStringLiteral("输入的内容太长，未保存。"), ErrorCode::BadNumber);
    qint64 id = 0;
    m_s.transaction([&] {
        if (m_s.row(QStringLiteral("SELECT id FROM {cpb} WHERE {ci:cpdm} = {ci:?} OR {ci:cpmc} = {ci:?} ORDER BY id {first:1}"), {c, n}))
            throw DomainError(kExists, ErrorCode::Duplicate);
        id = m_s.insert(QStringLiteral("cpb"), {{QStringLiteral("cpdm"), c},
                                                {QStringLiteral("cpmc"), n},
                                                {QStringLiteral("gg"), g},
                                                {QStringLiteral("sm"), sm.isEmpty() ? QStringLiteral(" ") : sm}});
    });
    return id;
}

bool ProductLedger::deleteProduct(const QString &code)
{
    const std::optional<LedgerProduct> p = findByCode(code);
    if (!p) return false;
    bool deleted = false;
    m_s.transaction([&] {
        deleted = m_s.execute(QStringLiteral("DELETE FROM {cpb} WHERE id = ?"), {p->id}) == 1;
        if (deleted)
            ChangeRecord(QStringLiteral("产品入/出库管理"), QStringLiteral("cpb"), p->id, p->code, ChangeRecord::Kind::Delete)
                .value(QStringLiteral("cpmc"), p->name)
                .value(QStringLiteral("gg"), p->spec)
                .value(QStringLiteral("sm"), p->remark)
                .write(m_s);
    });
    return deleted;
}

} // namespace fm
