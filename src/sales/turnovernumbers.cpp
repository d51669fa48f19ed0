#include "sales/turnovernumbers.h"

#include "data/changelog.h"
#include "data/session.h"

namespace fm {

namespace {

const QString kFirstRow = QStringLiteral("SELECT id, zzhm, rec_num FROM {fphm} ORDER BY id {first:1}");
const QString kCounterRow = QStringLiteral("id = (SELECT MIN(id) FROM {fphm})");
const QString kNotInitialised = QStringLiteral("请先初始化周转号！");

bool allDigits(const QString &s)
{
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

} // namespace

bool TurnoverNumbers::isInitialised()
{
    return m_s.row(kFirstRow).has_value();
}

QString TurnoverNumbers::current()
{
    const auto r = m_s.row(kFirstRow);
    return r ? r->text(QStringLiteral("zzhm")) : QStringLiteral("0");
}

void TurnoverNumbers::initialise(const QString &typed)
{
    const QString n = typed.trimmed();
    if (n.size() > kMaxDigits || !allDigits(n))
        throw DomainError(QStringLiteral("周转号必须是1到8位数字！"), ErrorCode::BadNumber);
    m_s.transaction([&] {
        m_s.lockRows(QStringLiteral("fphm"), QStringLiteral("rec_num"));
        const auto r = m_s.row(kFirstRow);
        if (r) {
            m_s.execute(QStringLiteral("UPDATE {fphm} SET zzhm = ?, rec_num = 0 WHERE id = ?"), {n, r->id()});
            ChangeRecord(QStringLiteral("周转号初始化"), QStringLiteral("fphm"), r->id(), QString())
                .change(QStringLiteral("zzhm"), r->text(QStringLiteral("zzhm")), n)
                .write(m_s);
        } else
            m_s.insert(QStringLiteral("fphm"), {{QStringLiteral("zzhm"), n}, {QStringLiteral("rec_num"), 0}});
    });
}

QString TurnoverNumbers::drawNext()
{
    QString next;
    m_s.transaction([&] {
        // Locks the counter row and reads it in one statement.
        const auto r = m_s.row(m_s.dialect().updateReturningSql(QStringLiteral("{fphm}"), QStringLiteral("zzhm = zzhm"),
                                                             kCounterRow, {QStringLiteral("id"), QStringLiteral("zzhm")}));
        if (!r) throw DomainError(kNotInitialised);
        const QString stored = r->text(QStringLiteral("zzhm"));
        bool ok = allDigits(stored);
        const qulonglong n = ok ? stored.toULongLong(&ok) : 0;
        if (!ok) throw DomainError(QStringLiteral("周转号码有错，请重新初始化周转号！"));
        next = QString::number(n + 1);
        if (next.size() > kMaxDigits)
            throw DomainError(QStringLiteral("周转号码已超过8位，请重新初始化周转号！"));
        m_s.execute(QStringLiteral("UPDATE {fphm} SET zzhm = ? WHERE id = ?"), {next, r->id()});
    });
    return next;
}

int TurnoverNumbers::drawSerial()
{
    int serial = 0;
    m_s.transaction([&] {
        // A relative update takes the row lock and cannot lose a concurrent
        // draw; the new value comes back with it.
        const QVariant v = m_s.scalar(m_s.dialect().updateReturningSql(
            QStringLiteral("{fphm}"), QStringLiteral("rec_num = rec_num + 1"), kCounterRow, {QStringLiteral("rec_num")}));
        if (v.isNull()) throw DomainError(kNotInitialised);
        serial = v.toInt();
    });
    return serial;
}

void TurnoverNumbers::restartSerialPast300()
{
    m_s.transaction([&] {
        m_s.execute(QStringLiteral("UPDATE {fphm} SET rec_num = 0 WHERE rec_num > 300"));
    });
}

} // namespace fm
