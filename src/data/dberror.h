#pragma once
#include <QString>
#include <stdexcept>

namespace fm {

// A failure reported by the database or the driver. The message is the
// driver's own text, shown to the user as it stands.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// A rule of the business refused the operation. The message is the exact
// text the user sees.
class DomainError : public std::runtime_error {
public:
    explicit DomainError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace fm
