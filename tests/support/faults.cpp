#include "support/faults.h"

#include <QTest>
#include <climits>

namespace fm::test {

QString snapshot(Session &s, const QStringList &tables)
{
    QString out;
    for (const QString &t : tables) {
        out += QStringLiteral("[%1]\n").arg(t);
        for (const Row &r : s.rows(QStringLiteral("SELECT * FROM {%1} ORDER BY id").arg(t))) {
            QStringList cells;
            for (const QString &c : r.columnNames()) cells << r.value(c).toString();
            out += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
        }
    }
    return out;
}

int checkEachWriteFailing(Session &s, const QStringList &tables, const std::function<void()> &prepare,
                          const std::function<void()> &operation)
{
    prepare();
    s.failWriteAt(INT_MAX); // counts without failing
    operation();
    const int writes = s.writesSeen();
    s.failWriteAt(0);
    for (int n = 1; n <= writes; ++n) {
        prepare();
        const QString before = snapshot(s, tables);
        s.failWriteAt(n);
        bool threw = false;
        try {
            operation();
        } catch (const std::exception &) {
            threw = true;
        }
        s.failWriteAt(0);
        if (!threw) {
            QTest::qFail(qPrintable(QStringLiteral("write %1 of %2 failed and the operation did not").arg(n).arg(writes)),
                         __FILE__, __LINE__);
            return -1;
        }
        const QString after = snapshot(s, tables);
        if (after != before) {
            QTest::qFail(qPrintable(QStringLiteral("write %1 of %2 failed and left rows changed").arg(n).arg(writes)),
                         __FILE__, __LINE__);
            return -1;
        }
    }
    return writes;
}

} // namespace fm::test
