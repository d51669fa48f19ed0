#pragma once
// Operators (zxauth1): look-up, login, rights and passwords.

#include <QString>
#include <QVariantList>
#include <optional>
#include <vector>

namespace fm {

class Session;

struct Operator {
    qint64 id = 0;
    QString code;  // authid
    QString name;  // authmc
    QString dept;  // deptment
    QString rights; // author
};

class Operators {
public:
    explicit Operators(Session &s) : m_s(s) {}

    // By code, trimmed, without regard to letter case.
    std::optional<Operator> find(const QString &code);
    std::optional<Operator> byId(qint64 id);
    // Every operator in table order (name and code), for the rights editor.
    std::vector<Operator> all();
    // The operators a condition selects: "WHERE … ORDER BY …" with bound values.
    std::vector<Operator> select(const QString &whereAndOrder, const QVariantList &values = {});

    // The operator whose code and password both match, letter case ignored.
    // A legacy plain password that matches is re-stored as a hash.
    std::optional<Operator> login(const QString &code, const QString &password);

    // Whether typed is the operator's current password (case ignored, since
    // passwords are stored folded).
    bool checkPassword(qint64 operatorId, const QString &typed);
    // Stores a new password for that operator: 1 to 6 characters after trimming.
    void setPassword(qint64 operatorId, const QString &password);

    // Writes the 70 rights of one operator, keyed by id; returns the stored
    // string as read back.
    QString setRights(qint64 operatorId, const std::vector<bool> &granted);

private:
    Session &m_s;
};

constexpr int kPasswordMaxLength = 6;

} // namespace fm
