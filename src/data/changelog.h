#pragma once
// The change log (czrz): who changed which posted row, when, from which
// function, and each changed column's old and new value as text.
//
// Services record a correction, deletion or price/rights change inside the
// transaction that makes it, so the change and its log row commit together or
// not at all. Inserts of ordinary business rows are not logged: they carry
// their operator already. The application never updates or deletes log rows.

#include <QString>
#include <QVariant>
#include <vector>

namespace fm {

class Session;

class ChangeRecord {
public:
    enum class Kind { Modify, Delete, Add };

    ChangeRecord(QString function, QString table, qint64 rowId, QString code, Kind kind = Kind::Modify);

    // A column whose value changed; equal values are left out, so a record
    // shows only what moved. Numbers are compared and written as 15
    // significant digits, like everywhere else.
    ChangeRecord &change(const QString &column, const QVariant &oldValue, const QVariant &newValue);
    // A column of a deleted (or added) row: written on one side only.
    ChangeRecord &value(const QString &column, const QVariant &v);

    // A column that did not change but tells which row it was (the product
    // of a customer's price row): shown on both sides.
    ChangeRecord &context(const QString &column, const QVariant &v);

    bool empty() const { return m_changed == 0; }
    QString oldText() const;
    QString newText() const;

    // Appends the row. Must run inside the caller's transaction; a record
    // without changes (a modification that changed nothing) writes nothing.
    void write(Session &s) const;

    static QString text(const QVariant &v);
    static QString kindText(Kind k);

private:
    struct Column {
        QString name, oldText, newText;
    };
    QString m_function, m_table, m_code;
    qint64 m_rowId;
    Kind m_kind;
    std::vector<Column> m_columns;
    int m_changed = 0;
};

} // namespace fm
