#pragma once
// Atomicity checks: an operation that writes several rows must leave the
// catalogs as they were when any one of its writes fails.

#include "data/session.h"

#include <QStringList>
#include <functional>

namespace fm::test {

// The rows of the tables, in id order, as text: equal snapshots mean equal data.
QString snapshot(Session &s, const QStringList &tables);

// Runs prepare + operation once to count the operation's writes, then for
// each write n: prepare, fail write n, run the operation (it must throw), and
// compare the tables with their state before it. Returns the number of
// writes, or -1 after a failed comparison (with QTest's failure recorded).
int checkEachWriteFailing(Session &s, const QStringList &tables, const std::function<void()> &prepare,
                          const std::function<void()> &operation);

} // namespace fm::test
