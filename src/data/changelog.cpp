#include "data/changelog.h"

#include "common/clock.h"
#include "common/dates.h"
#include "data/dberror.h"
#include "data/session.h"

#include <QStringList>

namespace fm {

namespace {

// Column texts are capped by the log's width; a longer value keeps its start
// and says it was cut, rather than failing the correction it records.
constexpr int kTextWidth = 2000;

QString capped(const QString &s)
{
    if (s.size() <= kTextWidth) return s;
    return s.left(kTextWidth - 1) + QChar(0x2026);
}

QString join(const QStringList &parts) { return capped(parts.join(QStringLiteral("; "))); }

} // namespace

ChangeRecord::ChangeRecord(QString function, QString table, qint64 rowId, QString code, Kind kind)
    : m_function(std::move(function)), m_table(std::move(table)), m_code(std::move(code).trimmed()),
      m_rowId(rowId), m_kind(kind)
{
}

QString ChangeRecord::text(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return {};
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

QString ChangeRecord::kindText(Kind k)
{
    switch (k) {
    case Kind::Modify: return QStringLiteral("修改");
    case Kind::Delete: return QStringLiteral("删除");
    case Kind::Add: return QStringLiteral("增加");
    }
    return {};
}

ChangeRecord &ChangeRecord::change(const QString &column, const QVariant &oldValue, const QVariant &newValue)
{
    const QString o = text(oldValue), n = text(newValue);
    if (o != n) {
        m_columns.push_back({column, o, n});
        ++m_changed;
    }
    return *this;
}

ChangeRecord &ChangeRecord::context(const QString &column, const QVariant &v)
{
    const QString t = text(v);
    m_columns.push_back({column, t, t});
    return *this;
}

ChangeRecord &ChangeRecord::value(const QString &column, const QVariant &v)
{
    const QString t = text(v);
    if (m_kind == Kind::Add)
        m_columns.push_back({column, QString(), t});
    else
        m_columns.push_back({column, t, QString()});
    ++m_changed;
    return *this;
}

QString ChangeRecord::oldText() const
{
    QStringList parts;
    if (m_kind == Kind::Add) return {};
    for (const Column &c : m_columns) parts << c.name + QLatin1Char('=') + c.oldText;
    return join(parts);
}

QString ChangeRecord::newText() const
{
    QStringList parts;
    if (m_kind == Kind::Delete) return {};
    for (const Column &c : m_columns) parts << c.name + QLatin1Char('=') + c.newText;
    return join(parts);
}

void ChangeRecord::write(Session &s) const
{
    if (empty() && m_kind == Kind::Modify) return;
    if (!s.inTransaction())
        throw DbError(QStringLiteral("修改记录必须与修改在同一事务中写入"));
    const SessionActor &who = s.actor();
    const QDateTime now = who.clock ? who.clock->now() : SystemClock().now();
    s.insert(QStringLiteral("czrz"), {{QStringLiteral("rq_0"), dateTimeText(now)},
                                      {QStringLiteral("rq"), dateText(now.date())},
                                      {QStringLiteral("czydm"), who.operatorCode},
                                      {QStringLiteral("gzz"), who.workstation},
                                      {QStringLiteral("gnmc"), m_function},
                                      {QStringLiteral("bm"), m_table},
                                      {QStringLiteral("jlid"), m_rowId},
                                      {QStringLiteral("dm"), m_code},
                                      {QStringLiteral("czlx"), kindText(m_kind)},
                                      {QStringLiteral("jz"), oldText()},
                                      {QStringLiteral("xz"), newText()}});
}

} // namespace fm
