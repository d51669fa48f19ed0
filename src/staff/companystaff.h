#pragma once
// The company's office staff, who are the system's operators (zxauth1):
// taking them on, removing them, changing their department and code, and
// listing a department.

#include "shell/operators.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace fm {

class Session;

class CompanyStaff {
public:
    // currentOperator is the code of the operator at this workstation: that
    // operator cannot be removed or re-coded from under the running session.
    explicit CompanyStaff(Session &s, QString currentOperator = QString())
        : m_s(s), m_current(std::move(currentOperator))
    {
    }

    static constexpr int kCodeLength = 5;
    // The departments a clerk chooses from.
    static const QStringList &departments();
    // A new operator reaches no function until rights are granted.
    static QString newOperatorRights();

    // Every operator in table order.
    std::vector<Operator> all();
    // The distinct departments operators are in, in alphabetical order.
    QStringList usedDepartments();
    // The operators of one department, in table order.
    std::vector<Operator> ofDepartment(const QString &department);

    // Checks a code for an operator: exactly five characters once trimmed, and
    // used by no other operator (letter case ignored). exceptId is the row
    // being re-coded, which may keep its own code. Returns the trimmed code.
    QString checkCode(const QString &code, qint64 exceptId = 0);

    // Adds an operator with the password hashed and no rights; returns its id.
    qint64 takeOn(const QString &name, const QString &department, const QString &code,
                  const QString &password);
    // Deletes that one operator row.
    void remove(qint64 id);
    // Writes a new department and code into that operator's row.
    void change(qint64 id, const QString &department, const QString &code);

private:
    bool isCurrent(qint64 id);

    Session &m_s;
    QString m_current;
};

} // namespace fm
