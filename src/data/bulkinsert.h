#pragma once
// Many rows into one table at load speed, for the generators of large data
// sets: one prepared statement of many rows, reused until the last, shorter
// one; or, where the engine unpacks it faster, one JSON array of rows per
// statement. Values are bound either way.

#include "data/dberror.h"
#include "data/schema.h"
#include "data/session.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <vector>

namespace fm {

class BulkInsert {
public:
    BulkInsert(Session &s, const QString &table, const QStringList &columns) : m_s(s), m_columns(columns)
    {
        const TableDef *t = findTable(table);
        if (!t) throw DbError(QStringLiteral("未知的数据表：%1").arg(table));
        m_table = s.dialect().qualify(t->catalog, t->name);
        const QString json = s.dialect().jsonRowsInsertSql(m_table, columns);
        if (!json.isEmpty()) {
            m_json = true;
            m_batchRows = kJsonRows;
            m_full = prepare(json);
            m_text.reserve(1 << 22);
            m_text += QLatin1Char('[');
        } else {
            m_batchRows = std::clamp(s.dialect().bulkBoundValues() / int(columns.size()), 1, 500);
            m_values.reserve(size_t(m_batchRows) * size_t(columns.size()));
            m_full = prepare(valuesSql(m_batchRows));
        }
    }

    BulkInsert &operator<<(const QVariant &v)
    {
        if (m_json) appendJson(v);
        else m_values.push_back(v);
        ++m_column;
        return *this;
    }
    void endRow()
    {
        Q_ASSERT(m_column == m_columns.size());
        m_column = 0;
        if (m_json) m_text += QLatin1Char('}');
        if (++m_rows == m_batchRows) run(m_full);
    }
    void finish()
    {
        if (m_rows == 0) return;
        if (m_json) {
            run(m_full);
        } else {
            QSqlQuery last = prepare(valuesSql(m_rows));
            run(last);
        }
    }

private:
    static constexpr int kJsonRows = 4000;

    QString valuesSql(int rows) const
    {
        QString marks = QStringLiteral("(?");
        for (int i = 1; i < m_columns.size(); ++i) marks += QStringLiteral(",?");
        marks += QLatin1Char(')');
        QStringList all;
        all.reserve(rows);
        for (int i = 0; i < rows; ++i) all << marks;
        return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(m_table, m_columns.join(QLatin1Char(',')), all.join(QLatin1Char(',')));
    }
    QSqlQuery prepare(const QString &sql)
    {
        QSqlQuery q(m_s.database());
        q.setForwardOnly(true);
        if (!q.prepare(sql)) throw DbError(q.lastError().text());
        return q;
    }
    void appendJson(const QVariant &v)
    {
        m_text += m_column == 0 ? (m_rows == 0 ? QStringLiteral("{\"") : QStringLiteral(",{\"")) : QStringLiteral(",\"");
        m_text += m_columns[m_column];
        m_text += QStringLiteral("\":");
        switch (v.typeId()) {
        case QMetaType::Double: m_text += QString::number(v.toDouble(), 'g', 17); break;
        case QMetaType::Int:
        case QMetaType::LongLong: m_text += QString::number(v.toLongLong()); break;
        default: {
            const QString text = v.toString();
            if (text.isNull()) {
                m_text += QStringLiteral("null");
                break;
            }
            m_text += QLatin1Char('"');
            for (QChar c : text) {
                if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
                    m_text += QLatin1Char('\\');
                    m_text += c;
                } else if (c.unicode() < 0x20) {
                    m_text += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
                } else {
                    m_text += c;
                }
            }
            m_text += QLatin1Char('"');
        }
        }
    }
    void run(QSqlQuery &q)
    {
        if (m_json) {
            m_text += QLatin1Char(']');
            q.bindValue(0, m_text);
        } else {
            for (int i = 0; i < int(m_values.size()); ++i) q.bindValue(i, m_values[size_t(i)]);
        }
        if (!q.exec()) throw DbError(q.lastError().text());
        m_values.clear();
        m_text.clear();
        m_text += QLatin1Char('[');
        m_rows = 0;
    }

    Session &m_s;
    const QStringList m_columns;
    QString m_table;
    bool m_json = false;
    int m_batchRows = 1;
    int m_rows = 0;
    int m_column = 0;
    std::vector<QVariant> m_values;
    QString m_text;
    QSqlQuery m_full;
};

// The column list of a BulkInsert from "a,b,c".
inline QStringList columnsOf(const char *list) { return QString::fromLatin1(list).split(QLatin1Char(',')); }

} // namespace fm
