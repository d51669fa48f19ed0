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

// What kind of refusal a DomainError is, so that a window can react to it
// (focus the field, keep a value) without looking at the message text.
enum class ErrorCode {
    Refused,    // a rule of the business said no
    BadNumber,  // a text that is not a number, or a number out of its range
    NotFound,   // the code or row asked for does not exist
    Duplicate,  // the code or row exists already
    Unpaid,     // a slip has lines and no payment
    Incomplete, // something has to be chosen or entered first
};

// A rule of the business refused the operation. The message is the exact
// text the user sees.
class DomainError : public std::runtime_error {
public:
    explicit DomainError(const QString &message, ErrorCode code = ErrorCode::Refused)
        : std::runtime_error(message.toStdString()), m_message(message), m_code(code) {}
    QString message() const { return m_message; }
    ErrorCode code() const { return m_code; }

private:
    QString m_message;
    ErrorCode m_code;
};

// The common refusal of a text that is not a number, or not one in range.
inline DomainError badNumber(const QString &message = QStringLiteral("请输入正确的数字！"))
{
    return DomainError(message, ErrorCode::BadNumber);
}

} // namespace fm
