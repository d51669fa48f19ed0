#include "accounts/credit.h"

#include "accounts/statements.h"
#include "common/dates.h"
#include "common/money.h"
#include "data/dberror.h"
#include "data/session.h"

namespace fm {

namespace {

// The largest limit a clerk may type: well beyond any mill's customer.
constexpr double kMaxLimit = 1e10;

} // namespace

std::optional<double> creditLimit(Session &s, const QString &customerCode)
{
    const auto r = s.row(QStringLiteral("SELECT xyed FROM {zxkh} WHERE {ci:khdm} = {ci:?} ORDER BY id {first:1}"),
                         {customerCode.trimmed()});
    if (!r || r->isNull(QStringLiteral("xyed"))) return std::nullopt;
    return r->number(QStringLiteral("xyed"));
}

void setCreditLimit(Session &s, const QString &customerCode, const QString &typed)
{
    QVariant value(QMetaType::fromType<double>());
    if (!typed.trimmed().isEmpty()) {
        double limit = 0;
        if (!money::parseAmount(typed, &limit, kMaxLimit) || limit < 0) throw badNumber();
        value = limit;
    }
    s.transaction([&] {
        const int n = s.execute(QStringLiteral("UPDATE {zxkh} SET xyed = ? WHERE {ci:khdm} = {ci:?}"),
                                {value, customerCode.trimmed()});
        if (n != 1) throw DomainError(QStringLiteral("查无此客户！"), ErrorCode::NotFound);
    });
}

double customerArrears(Session &s, const QString &customerCode, const QDate &asOf)
{
    const QString code = customerCode.trimmed();
    const QString day = dateText(asOf);
    double owed = 0;
    for (const char *table : {"khzj", "his_khzj"}) {
        const auto r = s.row(QStringLiteral("SELECT COALESCE(SUM(ysje), 0) - COALESCE(SUM(sjje), 0) AS owed FROM {%1} "
                                            "WHERE {ci:khdm} = {ci:?} AND rq <= ?")
                                 .arg(QLatin1String(table)),
                             {code, day});
        if (r) owed += r->number(QStringLiteral("owed"));
    }
    const auto fees = s.row(QStringLiteral("SELECT COALESCE(SUM(tgf), 0) AS fees FROM {khzqk} WHERE {ci:khdm} = {ci:?} AND rq <= ?"),
                            {code, monthText(asOf)});
    if (fees) owed -= fees->number(QStringLiteral("fees"));
    return owed;
}

std::optional<QString> creditWarning(Session &s, const QString &customerCode, double slipAmount, const QDate &asOf)
{
    const auto limit = creditLimit(s, customerCode);
    if (!limit) return std::nullopt;
    const double arrears = customerArrears(s, customerCode, asOf);
    if (arrears + slipAmount <= *limit + money::kTolerance) return std::nullopt;
    return QStringLiteral("该客户的欠款将超过信用额度！\n信用额度：%1元，现欠款：%2元，本单：%3元，合计：%4元。\n是否继续？")
        .arg(yuanText(*limit), yuanText(arrears), yuanText(slipAmount), yuanText(arrears + slipAmount));
}

} // namespace fm
