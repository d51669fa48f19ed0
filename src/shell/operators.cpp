#include "shell/operators.h"

#include "common/password.h"
#include "data/changelog.h"
#include "data/session.h"
#include "shell/menutable.h"

namespace fm {

namespace {

const QString kColumns = QStringLiteral("SELECT id, authid, authmc, deptment, author, password FROM {zxauth1} ");

Operator fromRow(const Row &r)
{
    Operator o;
    o.id = r.id();
    o.code = r.text(QStringLiteral("authid"));
    o.name = r.text(QStringLiteral("authmc"));
    o.dept = r.text(QStringLiteral("deptment"));
    // Untrimmed: a leading blank is a position of the string.
    const QVariant rights = r.value(QStringLiteral("author"));
    o.rights = rights.isNull() ? QString() : rights.toString();
    return o;
}

} // namespace

std::optional<Operator> Operators::find(const QString &code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = m_s.row(kColumns + QStringLiteral("WHERE {ci:authid} = {ci:?} ORDER BY id {first:1}"), {c});
    if (!r) return std::nullopt;
    return fromRow(*r);
}

std::optional<Operator> Operators::byId(qint64 id)
{
    const auto r = m_s.row(kColumns + QStringLiteral("WHERE id = ?"), {id});
    if (!r) return std::nullopt;
    return fromRow(*r);
}

std::vector<Operator> Operators::all()
{
    return select(QStringLiteral("ORDER BY id"));
}

std::vector<Operator> Operators::select(const QString &whereAndOrder, const QVariantList &values)
{
    std::vector<Operator> out;
    for (const Row &r : m_s.rows(kColumns + whereAndOrder, values)) out.push_back(fromRow(r));
    return out;
}

std::optional<Operator> Operators::login(const QString &code, const QString &password)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return std::nullopt;
    const auto r = m_s.row(kColumns + QStringLiteral("WHERE {ci:authid} = {ci:?} ORDER BY id {first:1}"), {c});
    if (!r) return std::nullopt;
    const QString stored = r->value(QStringLiteral("password")).toString();
    if (!verifyPassword(password, stored)) return std::nullopt;
    Operator o = fromRow(*r);
    if (!isPasswordHash(stored)) {
        // First login since plain passwords: keep it only as a hash from now on.
        m_s.execute(QStringLiteral("UPDATE {zxauth1} SET password = ? WHERE id = ?"),
                    {hashPassword(stored.trimmed()), o.id});
    }
    return o;
}

bool Operators::checkPassword(qint64 operatorId, const QString &typed)
{
    const QVariant stored = m_s.scalar(QStringLiteral("SELECT password FROM {zxauth1} WHERE id = ?"), {operatorId});
    if (stored.isNull()) return false;
    return verifyPassword(typed.trimmed(), stored.toString());
}

void Operators::setPassword(qint64 operatorId, const QString &password)
{
    const QString p = password.trimmed();
    if (p.isEmpty() || p.size() > kPasswordMaxLength)
        throw DomainError(QStringLiteral("密码必须是1到6个字符！"));
    const QString hash = hashPassword(p);
    m_s.transaction([&] {
        const auto op = byId(operatorId);
        const int n = m_s.execute(QStringLiteral("UPDATE {zxauth1} SET password = ? WHERE id = ?"), {hash, operatorId});
        if (n != 1 || !op) throw DomainError(QStringLiteral("查无此人，请重新输入！"));
        // That it changed, never the secret itself.
        ChangeRecord(QStringLiteral("密码修改"), QStringLiteral("zxauth1"), operatorId, op->code)
            .change(QStringLiteral("password"), QStringLiteral("******"), QStringLiteral("（已更改）"))
            .write(m_s);
    });
}

QString Operators::setRights(qint64 operatorId, const std::vector<bool> &granted)
{
    QString readBack;
    m_s.transaction([&] {
        const QVariant stored = m_s.scalar(QStringLiteral("SELECT author FROM {zxauth1} WHERE id = ?"), {operatorId});
        if (!stored.isValid()) throw DomainError(QStringLiteral("查无此人，请重新输入！"));
        const QString rights = composeRights(stored.toString(), granted);
        m_s.execute(QStringLiteral("UPDATE {zxauth1} SET author = ? WHERE id = ?"), {rights, operatorId});
        const auto op = byId(operatorId);
        ChangeRecord(QStringLiteral("操作员权限"), QStringLiteral("zxauth1"), operatorId, op ? op->code : QString())
            .change(QStringLiteral("author"), stored, rights)
            .write(m_s);
        readBack = m_s.scalar(QStringLiteral("SELECT author FROM {zxauth1} WHERE id = ?"), {operatorId}).toString();
    });
    return readBack;
}

} // namespace fm
