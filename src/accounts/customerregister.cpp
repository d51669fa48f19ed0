#include "accounts/customerregister.h"

#include "common/gbk.h"
#include "common/numbertext.h"
#include "data/changelog.h"
#include "data/session.h"

#include <QLocale>
#include <QSet>
#include <cmath>

namespace fm {

namespace {

const QString kFunction = QStringLiteral("客户档案管理");
const QString kCustomerColumns = QStringLiteral("SELECT %1 FROM {zxkh} ").arg(Customer::columns());
const QString kRegionColumns = QStringLiteral("SELECT id, dq, bh FROM {dqk} ");

std::vector<Customer> readCustomers(const Rows &rows)
{
    std::vector<Customer> out;
    out.reserve(rows.size());
    for (const Row &r : rows) out.push_back(Customer::read(r));
    return out;
}

bool allDigits(const QString &s)
{
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !s.isEmpty();
}

// The codes that begin with a region code are those from "11" up to, not
// including, "12": a range on the folded code, which its index serves on
// every engine.
const QString kCodeRange = QStringLiteral("{ci:khdm} >= {ci:?} AND {ci:khdm} < {ci:?}");
Values prefixRange(const QString &regionCode)
{
    QString upper = regionCode.toLower();
    if (!upper.isEmpty()) upper.back() = QChar(upper.back().unicode() + 1);
    return {regionCode, upper};
}

QString typedCode(const QString &typed)
{
    return foldFullWidth(typed).trimmed();
}

DomainError notFound()
{
    return DomainError(QStringLiteral("查无次人！"), ErrorCode::NotFound);
}
DomainError regionMissing()
{
    return DomainError(QStringLiteral("该地区不存在！"), ErrorCode::NotFound);
}
DomainError codeUsed()
{
    return DomainError(QStringLiteral("该号码已经使用，不能使用！"), ErrorCode::Duplicate);
}
DomainError nameTooLong()
{
    return DomainError(QStringLiteral("客户名称不能超过12个字！"));
}

} // namespace

Region Region::read(const Row &r)
{
    return {r.id(), r.text(QStringLiteral("dq")), r.text(QStringLiteral("bh"))};
}

// ---- regions --------------------------------------------------------------

std::vector<Region> CustomerRegister::regions()
{
    std::vector<Region> out;
    for (const Row &r : m_s.rows(kRegionColumns + QStringLiteral("ORDER BY bh, id"))) out.push_back(Region::read(r));
    return out;
}

std::optional<Region> CustomerRegister::region(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty()) return std::nullopt;
    const auto r = m_s.row(kRegionColumns + QStringLiteral("WHERE {ci:dq} = {ci:?} ORDER BY id {first:1}"), {n});
    if (!r) return std::nullopt;
    return Region::read(*r);
}

QString CustomerRegister::regionNameChecked(const QString &typed)
{
    const QString name = typed.trimmed();
    if (name.isEmpty()) throw DomainError(QStringLiteral("地区名称不能为空！"), ErrorCode::Incomplete);
    const int bytes = gbkLength(name);
    if (bytes < kRegionNameMinBytes) throw DomainError(QStringLiteral("地区名称长度不够(<8个字符)！"));
    // The register's region field holds 10 bytes.
    if (bytes > kRegionNameMaxBytes) throw DomainError(QStringLiteral("地区名称太长(>10个字符)！"));
    if (region(name)) throw DomainError(QStringLiteral("该地区已存在，重新输入新地区!"), ErrorCode::Duplicate);
    return name;
}

QString CustomerRegister::freeRegionCode()
{
    QSet<int> used;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT bh FROM {dqk}"))) {
        const QString bh = r.text(QStringLiteral("bh"));
        if (bh.size() == 2 && allDigits(bh)) used.insert(bh.toInt());
    }
    for (int n = 11; n <= 99; ++n) {
        if (used.contains(n)) continue;
        const QString code = QString::number(n);
        // A code still carried by customers (of a region deleted before that
        // rule existed) would hand them to the new region.
        if (anyCustomerCoded(code)) continue;
        return code;
    }
    throw DomainError(QStringLiteral("地区代码已用完，不能增加地区！"));
}

QString CustomerRegister::checkNewRegion(const QString &typed)
{
    regionNameChecked(typed);
    return freeRegionCode();
}

Region CustomerRegister::addRegion(const QString &typed)
{
    for (int attempt = 1;; ++attempt) {
        try {
            Region r;
            m_s.transaction([&] {
                // Serialises allocation between workstations while regions exist;
                // for the very first one the unique keys refuse a twin, and the
                // retry below takes the next code.
                m_s.lockRows(QStringLiteral("dqk"), QStringLiteral("bh"));
                r.name = regionNameChecked(typed);
                r.code = freeRegionCode();
                r.id = m_s.insert(QStringLiteral("dqk"), {{QStringLiteral("dq"), r.name}, {QStringLiteral("bh"), r.code}});
            });
            return r;
        } catch (const DbError &) {
            if (attempt >= 3 || m_s.inTransaction()) throw;
        }
    }
}

double CustomerRegister::regionArrears(const QString &name)
{
    return m_s.scalar(QStringLiteral("SELECT SUM(sjqk) FROM {khzqk} WHERE region = ?"), {name.trimmed()}).toDouble();
}

bool CustomerRegister::anyCustomerCoded(const QString &regionCode)
{
    return m_s
        .row(QStringLiteral("SELECT id FROM {zxkh} WHERE ") + kCodeRange + QStringLiteral(" ORDER BY {ci:khdm} {first:1}"),
             prefixRange(regionCode))
        .has_value();
}

bool CustomerRegister::hasCustomers(const Region &r)
{
    if (r.code.size() == 2 && anyCustomerCoded(r.code)) return true;
    return m_s.row(QStringLiteral("SELECT id FROM {zxkh} WHERE dq = ? ORDER BY dq {first:1}"), {r.name}).has_value();
}

double CustomerRegister::checkRegionDeletable(const Region &r)
{
    // Its customers would otherwise pass, by their code, to the next region
    // that is given the freed code.
    if (hasCustomers(r)) throw DomainError(QStringLiteral("该地区还有客户，不能删除！"));
    const double arrears = regionArrears(r.name);
    if (std::abs(arrears) > kArrearsTolerance)
        throw DomainError(QStringLiteral("该地区有欠款") + amountText(arrears) + QStringLiteral("元，不能删除！"));
    return arrears;
}

double CustomerRegister::checkRegionDeletable(const QString &name)
{
    const auto r = region(name);
    if (!r) throw regionMissing();
    return checkRegionDeletable(*r);
}

void CustomerRegister::deleteRegion(const QString &name)
{
    m_s.transaction([&] {
        const auto r = region(name);
        if (!r) throw regionMissing();
        checkRegionDeletable(*r);
        if (m_s.execute(QStringLiteral("DELETE FROM {dqk} WHERE id = ?"), {r->id}) != 1) throw regionMissing();
        ChangeRecord(kFunction, QStringLiteral("dqk"), r->id, r->code, ChangeRecord::Kind::Delete)
            .value(QStringLiteral("dqmc"), r->name)
            .write(m_s);
    });
}

// ---- customers ------------------------------------------------------------

std::vector<Customer> CustomerRegister::allCustomers()
{
    return readCustomers(m_s.rows(kCustomerColumns + QStringLiteral("ORDER BY khdm, id")));
}

RowQuery CustomerRegister::allCustomersQuery() const
{
    // In the order of the folded code, which its index holds: no sort per page.
    return {QStringLiteral("SELECT %1, {ci:khdm} AS khdm_folded FROM {zxkh}").arg(Customer::columns()),
            {},
            {QStringLiteral("khdm_folded")}};
}

std::vector<Customer> CustomerRegister::customersByCode(const QString &regionCode)
{
    const QString code = regionCode.trimmed();
    if (code.isEmpty()) return {};
    return readCustomers(
        m_s.rows(kCustomerColumns + QStringLiteral("WHERE ") + kCodeRange + QStringLiteral(" ORDER BY khdm, id"),
                 prefixRange(code)));
}

std::vector<Customer> CustomerRegister::customersByName(const QString &regionName)
{
    return readCustomers(m_s.rows(kCustomerColumns + QStringLiteral("WHERE dq = ? ORDER BY khdm, id"), {regionName.trimmed()}));
}

std::vector<Customer> CustomerRegister::activeCustomers(const QString &regionName)
{
    // A customer without a flag is not closed.
    return readCustomers(m_s.rows(kCustomerColumns + QStringLiteral("WHERE dq = ? AND (khbz IS NULL OR {ci:khbz} <> 'x') "
                                                                    "ORDER BY khdm, id"),
                                  {regionName.trimmed()}));
}

std::optional<Customer> CustomerRegister::customer(const QString &code)
{
    return findCustomer(m_s, typedCode(code));
}

std::optional<Customer> CustomerRegister::customerById(qint64 id)
{
    const auto r = m_s.row(kCustomerColumns + QStringLiteral("WHERE id = ?"), {id});
    if (!r) return std::nullopt;
    return Customer::read(*r);
}

void CustomerRegister::checkNewCustomerCode(const QString &regionCode, const QString &typed)
{
    const QString number = typedCode(typed);
    if (number.isEmpty()) throw DomainError(QStringLiteral("客户代码不能为空！"), ErrorCode::Incomplete);
    if (customer(regionCode.trimmed() + number)) throw codeUsed();
    if (number.size() != kCustomerNumberLength || !allDigits(number))
        throw DomainError(QStringLiteral("客户代码必须是五位"));
}

Customer CustomerRegister::addCustomer(qint64 regionId, const QString &name, const QString &typedCodeText)
{
    Customer c;
    try {
        m_s.transaction([&] {
            const auto r = m_s.row(kRegionColumns + QStringLiteral("WHERE id = ?"), {regionId});
            if (!r) throw regionMissing();
            const Region region = Region::read(*r);
            checkNewCustomerCode(region.code, typedCodeText);
            c.name = name.trimmed();
            if (c.name.isEmpty()) throw DomainError(QStringLiteral("客户姓名不能为空！"), ErrorCode::Incomplete);
            if (c.name.size() > kCustomerNameMaxLength) throw nameTooLong();
            c.code = region.code + typedCode(typedCodeText);
            c.region = region.name;
            c.flag = QStringLiteral("0");
            c.id = m_s.insert(QStringLiteral("zxkh"), {{QStringLiteral("khdm"), c.code},
                                                       {QStringLiteral("khmc"), c.name},
                                                       {QStringLiteral("dq"), c.region},
                                                       {QStringLiteral("khbz"), c.flag}});
        });
    } catch (const DbError &) {
        // Another workstation took the code in the meantime: the unique key refused ours.
        if (!c.code.isEmpty() && !m_s.inTransaction() && customer(c.code)) throw codeUsed();
        throw;
    }
    return c;
}

void CustomerRegister::setFlag(qint64 customerId, const QString &flag)
{
    static const QStringList kFlags{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("x")};
    if (!kFlags.contains(flag)) throw DomainError(QStringLiteral("客户标志有错！"));
    m_s.transaction([&] {
        const auto c = customerById(customerId);
        if (!c || m_s.execute(QStringLiteral("UPDATE {zxkh} SET khbz = ? WHERE id = ?"), {flag, customerId}) != 1)
            throw notFound();
        ChangeRecord(QStringLiteral("客户标志修改"), QStringLiteral("zxkh"), customerId, c->code)
            .change(QStringLiteral("khbz"), c->flag, flag)
            .write(m_s);
    });
}

void CustomerRegister::rename(const QString &code, const QString &newName, const QString &newRegion)
{
    const QString name = newName.trimmed();
    const QString regionName = newRegion.trimmed();
    if (name.isEmpty() || regionName.isEmpty())
        throw DomainError(QStringLiteral("修改后信息不能为空，请检查！"), ErrorCode::Incomplete);
    if (name.size() > kCustomerNameMaxLength) throw nameTooLong();

    // The tables that carry the customer's name and region, with the column
    // that holds the region there.
    struct Target {
        const char *table;
        const char *regionColumn;
    };
    static const Target kTargets[] = {{"khtl", "region"},    {"sale1", "region"}, {"khjs_mx", "region"},
                                      {"khzj", "region"},    {"khzqk", "region"}, {"khprice", "dqmc"},
                                      {"khjggl", "dqmc"}};
    m_s.transaction([&] {
        const auto c = customer(code);
        if (!c) throw notFound();
        const auto r = region(regionName);
        if (!r) throw regionMissing();
        if (m_s.execute(QStringLiteral("UPDATE {zxkh} SET khmc = ?, dq = ? WHERE id = ?"), {name, r->name, c->id}) != 1)
            throw notFound();
        // The register row stands for the copies of the name in the lines.
        ChangeRecord(kFunction, QStringLiteral("zxkh"), c->id, c->code)
            .change(QStringLiteral("khmc"), c->name, name)
            .change(QStringLiteral("dq"), c->region, r->name)
            .write(m_s);
        for (const Target &t : kTargets) {
            m_s.execute(QStringLiteral("UPDATE {%1} SET khmc = ?, %2 = ? WHERE {ci:khdm} = {ci:?}")
                            .arg(QLatin1String(t.table), QLatin1String(t.regionColumn)),
                        {name, r->name, c->code});
        }
    });
}

void CustomerRegister::deleteCustomerRows(const Customer &c)
{
    if (m_s.execute(QStringLiteral("DELETE FROM {zxkh} WHERE id = ?"), {c.id}) != 1) throw notFound();
    m_s.execute(QStringLiteral("DELETE FROM {khprice} WHERE {ci:khdm} = {ci:?}"), {c.code});
    ChangeRecord(kFunction, QStringLiteral("zxkh"), c.id, c.code, ChangeRecord::Kind::Delete)
        .value(QStringLiteral("khmc"), c.name)
        .value(QStringLiteral("dq"), c.region)
        .value(QStringLiteral("khbz"), c.flag)
        .write(m_s);
}

void CustomerRegister::deleteCustomerWithoutRecords(qint64 customerId)
{
    m_s.transaction([&] {
        const auto c = customerById(customerId);
        if (!c) throw notFound();
        if (m_s.row(QStringLiteral("SELECT id FROM {khzqk} WHERE {ci:khdm} = {ci:?} ORDER BY id {first:1}"), {c->code}))
            throw DomainError(QStringLiteral("该客户还有欠款记录，不能删除！"));
        deleteCustomerRows(*c);
    });
}

double CustomerRegister::customerArrears(const QString &code)
{
    return m_s.scalar(QStringLiteral("SELECT SUM(sjqk) FROM {khzqk} WHERE {ci:khdm} = {ci:?}"), {typedCode(code)}).toDouble();
}

double CustomerRegister::checkCustomerDeletable(const Customer &c)
{
    const double arrears = customerArrears(c.code);
    if (std::abs(arrears) > kArrearsTolerance)
        throw DomainError(QStringLiteral("该客户有欠款") + amountText(arrears) + QStringLiteral("元。不能删除！"));
    return arrears;
}

double CustomerRegister::checkCustomerDeletable(qint64 customerId)
{
    const auto c = customerById(customerId);
    if (!c) throw notFound();
    return checkCustomerDeletable(*c);
}

void CustomerRegister::deleteCustomer(qint64 customerId)
{
    m_s.transaction([&] {
        const auto c = customerById(customerId);
        if (!c) throw notFound();
        checkCustomerDeletable(*c);
        deleteCustomerRows(*c);
    });
}

RowQuery CustomerRegister::pricesQuery(const QString &codeStart) const
{
    // Range and order on the folded codes, as the table's index holds them,
    // so a page is read from the index without sorting the region's rows.
    return {QStringLiteral("SELECT id, khdm, khmc, cpdm, cpmc, cpgg, kpjg, cpbz, rq, {ci:khdm} AS khdm_folded, "
                           "{ci:cpdm} AS cpdm_folded FROM {khprice} WHERE ")
                + kCodeRange,
            prefixRange(typedCode(codeStart)),
            {QStringLiteral("khdm_folded"), QStringLiteral("cpdm_folded")}};
}

QString CustomerRegister::amountText(double amount)
{
    const double v = QString::number(amount, 'g', 10).toDouble();
    const QString digits = QLocale(QLocale::English, QLocale::UnitedStates).toString(std::abs(v), 'f', 3);
    const bool negative = v < 0 && digits != QLatin1String("0.000");
    return QStringLiteral("￥") + (negative ? QStringLiteral("-") : QString()) + digits;
}

} // namespace fm
