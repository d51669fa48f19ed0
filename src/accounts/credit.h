#pragma once
// A customer's credit limit (zxkh.xyed, yuan; empty for none) and the
// warning a slip gives when it would take the customer's arrears past it.
// The warning is a question the clerk answers, never a refusal.
//
// The arrears are what the customer owes today: everything receivable less
// everything received on its fund rows, current and archived, less the
// promotion fees settlement has granted (its month records).

#include <QDate>
#include <QString>
#include <optional>

namespace fm {

class Session;

std::optional<double> creditLimit(Session &s, const QString &customerCode);

// The limit as typed in "信用额度：": blank clears it; otherwise a money
// amount from 0 (taken to the cent). Refuses other text with
// "请输入正确的数字！" and an unknown customer with "查无此客户！".
void setCreditLimit(Session &s, const QString &customerCode, const QString &typed);

// What the customer owes as of the date.
double customerArrears(Session &s, const QString &customerCode, const QDate &asOf);

// The question to ask before a slip line is confirmed, when the slip's unpaid
// total (this line included) would take the arrears past the limit; nullopt
// when the customer has no limit or stays within it.
std::optional<QString> creditWarning(Session &s, const QString &customerCode, double slipAmount, const QDate &asOf);

} // namespace fm
