#include "data/rowpager.h"

#include <QRegularExpression>

namespace fm {

QString RowPager::orderClause() const
{
    // A key of the query may say "DESC" after its column.
    const auto column = [](const QString &key) { return key.section(QLatin1Char(' '), 0, 0); };
    QStringList keys;
    if (!m_sortColumn.isEmpty())
        keys << m_sortColumn + (m_descending ? QStringLiteral(" DESC") : QString());
    bool byId = m_sortColumn == QLatin1String("id");
    for (const QString &c : m_query.orderBy) {
        if (column(c) == m_sortColumn) continue;
        keys << c;
        byId = byId || column(c) == QLatin1String("id");
    }
    if (!byId) keys << QStringLiteral("id");
    return keys.join(QStringLiteral(", "));
}

Rows RowPager::page(qint64 offset, int n)
{
    Values values = m_query.values;
    const QString tail = m_s.dialect().pageRows(values, offset, n);
    return m_s.rows(QStringLiteral("SELECT * FROM (%1) q ORDER BY %2 %3").arg(m_query.select, orderClause(), tail),
                    values);
}

qint64 RowPager::count()
{
    return m_s.scalar(QStringLiteral("SELECT COUNT(*) FROM (%1) q").arg(m_query.select), m_query.values).toLongLong();
}

bool RowPager::sortBy(const QString &column, bool descending)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!plain.match(column).hasMatch()) return false;
    m_sortColumn = column;
    m_descending = descending;
    return true;
}

void RowPager::resetOrder()
{
    m_sortColumn.clear();
    m_descending = false;
}

} // namespace fm
