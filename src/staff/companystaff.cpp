#include "staff/companystaff.h"

#include "common/password.h"
#include "data/changelog.h"
#include "data/session.h"

namespace fm {

namespace {

const QString kNotFound = QStringLiteral("查无此人，请重新输入！");

void requireDepartment(const QString &department)
{
    if (!CompanyStaff::departments().contains(department.trimmed()))
        throw DomainError(QStringLiteral("请选择部门！"), ErrorCode::Incomplete);
}

} // namespace

const QStringList &CompanyStaff::departments()
{
    static const QStringList list{QStringLiteral("经理室"), QStringLiteral("财务科"), QStringLiteral("销售科"),
                                  QStringLiteral("原料科"), QStringLiteral("生产科"), QStringLiteral("仓储科")};
    return list;
}

namespace {
const QString kFunction = QStringLiteral("公司高级人员管理");
} // namespace

QString CompanyStaff::newOperatorRights()
{
    return QString(68, QLatin1Char('0'));
}

std::vector<Operator> CompanyStaff::all()
{
    return Operators(m_s).all();
}

QStringList CompanyStaff::usedDepartments()
{
    QStringList out;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT DISTINCT deptment FROM {zxauth1} WHERE deptment IS NOT NULL"))) {
        const QString d = r.text(QStringLiteral("deptment"));
        if (!d.isEmpty() && !out.contains(d)) out << d;
    }
    out.sort();
    return out;
}

std::vector<Operator> CompanyStaff::ofDepartment(const QString &department)
{
    return Operators(m_s).select(QStringLiteral("WHERE deptment = ? ORDER BY id"), {department.trimmed()});
}

QString CompanyStaff::checkCode(const QString &code, qint64 exceptId)
{
    const QString c = code.trimmed();
    if (c.size() != kCodeLength) throw DomainError(QStringLiteral("代码必须满5位."));
    const QVariant other = m_s.scalar(
        QStringLiteral("SELECT id FROM {zxauth1} WHERE {ci:authid} = {ci:?} AND id <> ? ORDER BY id {first:1}"),
        {c, exceptId});
    if (other.isValid() && !other.isNull())
        throw DomainError(QStringLiteral("该代码已经使用，请重新输入代码。"), ErrorCode::Duplicate);
    return c;
}

qint64 CompanyStaff::takeOn(const QString &name, const QString &department, const QString &code,
                            const QString &password)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) throw DomainError(QStringLiteral("名称不能为空!"));
    requireDepartment(department);
    const QString p = password.trimmed();
    if (p.isEmpty() || p.size() > kPasswordMaxLength)
        throw DomainError(QStringLiteral("密码必须是1到6个字符！"));
    qint64 id = 0;
    m_s.transaction([&] {
        const QString c = checkCode(code);
        id = m_s.insert(QStringLiteral("zxauth1"), {{QStringLiteral("authid"), c},
                                                    {QStringLiteral("authmc"), n},
                                                    {QStringLiteral("password"), hashPassword(p)},
                                                    {QStringLiteral("deptment"), department.trimmed()},
                                                    {QStringLiteral("author"), newOperatorRights()}});
        // A new operator comes with rights: logged like a rights change.
        ChangeRecord(kFunction, QStringLiteral("zxauth1"), id, c, ChangeRecord::Kind::Add)
            .value(QStringLiteral("authmc"), n)
            .value(QStringLiteral("deptment"), department.trimmed())
            .value(QStringLiteral("author"), newOperatorRights())
            .write(m_s);
    });
    return id;
}

bool CompanyStaff::isCurrent(qint64 id)
{
    if (m_current.trimmed().isEmpty()) return false;
    const QVariant code = m_s.scalar(QStringLiteral("SELECT authid FROM {zxauth1} WHERE id = ?"), {id});
    return code.isValid() && code.toString().trimmed().compare(m_current.trimmed(), Qt::CaseInsensitive) == 0;
}

void CompanyStaff::remove(qint64 id)
{
    m_s.transaction([&] {
        if (isCurrent(id)) throw DomainError(QStringLiteral("不能调出正在使用系统的操作员！"));
        const auto old = m_s.row(QStringLiteral("SELECT authid, authmc, deptment, author FROM {zxauth1} WHERE id = ?"), {id});
        if (!old || m_s.execute(QStringLiteral("DELETE FROM {zxauth1} WHERE id = ?"), {id}) != 1)
            throw DomainError(kNotFound, ErrorCode::NotFound);
        ChangeRecord(kFunction, QStringLiteral("zxauth1"), id, old->text(QStringLiteral("authid")), ChangeRecord::Kind::Delete)
            .value(QStringLiteral("authmc"), old->text(QStringLiteral("authmc")))
            .value(QStringLiteral("deptment"), old->text(QStringLiteral("deptment")))
            .value(QStringLiteral("author"), old->text(QStringLiteral("author")))
            .write(m_s);
    });
}

void CompanyStaff::change(qint64 id, const QString &department, const QString &code)
{
    requireDepartment(department);
    m_s.transaction([&] {
        const QString c = checkCode(code, id);
        const auto old = m_s.row(QStringLiteral("SELECT authid, deptment FROM {zxauth1} WHERE id = ?"), {id});
        if (!old) throw DomainError(kNotFound, ErrorCode::NotFound);
        const bool recoded = old->text(QStringLiteral("authid")).compare(c, Qt::CaseInsensitive) != 0;
        if (recoded && isCurrent(id))
            throw DomainError(QStringLiteral("不能修改正在使用系统的操作员的代码！"));
        m_s.execute(QStringLiteral("UPDATE {zxauth1} SET deptment = ?, authid = ? WHERE id = ?"),
                    {department.trimmed(), c, id});
        ChangeRecord(kFunction, QStringLiteral("zxauth1"), id, old->text(QStringLiteral("authid")))
            .change(QStringLiteral("deptment"), old->text(QStringLiteral("deptment")), department.trimmed())
            .change(QStringLiteral("authid"), old->text(QStringLiteral("authid")), c)
            .write(m_s);
    });
}

} // namespace fm
