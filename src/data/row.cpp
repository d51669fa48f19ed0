#include "data/row.h"

#include "data/dberror.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>

namespace fm {

std::shared_ptr<const Row::Columns> Row::columnsOf(const QSqlRecord &record)
{
    auto c = std::make_shared<Columns>();
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i);
        c->names << name;
        // A later column of the same name (a join) does not hide the first.
        const QString key = name.toLower();
        if (!c->index.contains(key)) c->index.insert(key, i);
    }
    return c;
}

Row Row::current(const QSqlQuery &query, const std::shared_ptr<const Columns> &columns)
{
    QVariantList values;
    const int n = int(columns->names.size());
    values.reserve(n);
    for (int i = 0; i < n; ++i) values << query.value(i);
    return Row(columns, std::move(values));
}

int Row::position(const QString &column) const
{
    if (!m_columns) throw DbError(QStringLiteral("读取了空的数据行：%1").arg(column));
    const auto it = m_columns->index.constFind(column.toLower());
    if (it == m_columns->index.constEnd())
        throw DbError(QStringLiteral("查询结果中没有列：%1").arg(column));
    return *it;
}

bool Row::has(const QString &column) const
{
    return m_columns && m_columns->index.contains(column.toLower());
}

QVariant Row::value(const QString &column) const
{
    return m_values.at(position(column));
}

bool Row::isNull(const QString &column) const
{
    return value(column).isNull();
}

QString Row::text(const QString &column) const
{
    return value(column).toString().trimmed();
}

double Row::number(const QString &column) const
{
    return value(column).toDouble();
}

qint64 Row::integer(const QString &column) const
{
    const QVariant v = value(column);
    if (v.typeId() == QMetaType::Double) return qRound64(v.toDouble());
    return v.toLongLong();
}

QString Row::dateText(const QString &column) const
{
    const QVariant v = value(column);
    if (v.isNull()) return QString();
    // Read the stored text: converting to a date-time would go through the
    // local time zone on every row.
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return v.toDateTime().date().toString(QStringLiteral("yyyy-MM-dd"));
    default:
        return v.toString().trimmed().left(10);
    }
}

QDate Row::date(const QString &column) const
{
    return QDate::fromString(dateText(column), QStringLiteral("yyyy-MM-dd"));
}

const QStringList &Row::columnNames() const
{
    static const QStringList none;
    return m_columns ? m_columns->names : none;
}

} // namespace fm
