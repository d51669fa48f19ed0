#pragma once
// Money a customer pays outside a slip ("回  款"): the balance to date and one
// funds row per payment, with the amount in Chinese capitals.

#include "accounts/customers.h"

#include <QString>

namespace fm {

class Session;
class Clock;

struct Balance {
    double receivable = 0; // Σ ysje
    double received = 0;   // Σ sjje
    double owed() const { return receivable - received; }
};

class Payments {
public:
    Payments(Session &s, const Clock &clock, QString operatorCode);

    // Every funds row of the customer dated today or earlier, archived ones included.
    Balance balance(const QString &customerCode);
    // Writes the payment; returns the funds row's id. The customer must
    // exist; the amounts are checked and taken to the cent.
    qint64 record(const Customer &customer, double receivable, double received, double owed);

    // "截止" + today + "为止，该客户欠款情况如下："
    QString balanceCaption() const;

private:
    Session &m_s;
    const Clock &m_clock;
    QString m_operator;
};

} // namespace fm
