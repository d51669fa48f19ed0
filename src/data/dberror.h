#pragma once
#include <QString>
#include <stdexcept>

namespace fm {

// A failure reported by the database or the driver. What the clerk sees is
// message(): a plain sentence chosen by the kind of failure. The driver's own
// text stays available in rawText() for logs and diagnosis and is never shown
// in a window.
class DbError : public std::runtime_error {
public:
    enum class Kind {
        Deadlock,       // deadlock or serialization failure: the work may be run again
        LockTimeout,    // waited for another workstation's lock until the timeout (busy)
        OutOfRange,     // a number too large for its column
        TooLong,        // a text longer than its column
        UniqueViolation, // a unique key refused the row
        ConnectionLost, // the server went away during the work
        CannotConnect,  // the catalogs cannot be reached at all
        Other,
    };

    // A failure of our own, described in the words the clerk sees.
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString()), m_kind(Kind::Other), m_message(message), m_raw(message)
    {
    }
    // A failure the engine reported: the message follows from the kind.
    DbError(Kind kind, const QString &rawText, const QString &nativeCode = QString())
        : std::runtime_error(rawText.toStdString()), m_kind(kind), m_message(messageFor(kind)), m_raw(rawText),
          m_code(nativeCode)
    {
    }

    Kind kind() const { return m_kind; }
    QString message() const { return m_message; }
    // The driver's text (or our own message), for logs only.
    QString rawText() const { return m_raw; }
    // SQLSTATE on PostgreSQL, the result code on SQLite, the error number on SQL Server.
    QString nativeCode() const { return m_code; }

    static QString messageFor(Kind kind)
    {
        switch (kind) {
        case Kind::Deadlock: return QStringLiteral("其他工作站正在修改同样的数据，未保存，请再试一次。");
        case Kind::LockTimeout: return QStringLiteral("数据库忙，请稍后再试。");
        case Kind::OutOfRange: return QStringLiteral("数值超出范围，未保存。");
        case Kind::TooLong: return QStringLiteral("输入的内容太长，未保存。");
        case Kind::UniqueViolation: return QStringLiteral("该记录已经存在，未保存。");
        case Kind::ConnectionLost: return QStringLiteral("与数据库的连接已断开，请检查网络或数据库设置后重新登录。");
        case Kind::CannotConnect: return QStringLiteral("无法连接数据库，请检查数据库设置（服务器地址、端口、用户名和密码）。");
        case Kind::Other: break;
        }
        return QStringLiteral("数据库操作失败，未完成。");
    }

private:
    Kind m_kind;
    QString m_message;
    QString m_raw;
    QString m_code;
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
