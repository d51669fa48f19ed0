#pragma once
// Rows a settlement reads, written the way the sales functions write them:
// issue lines and return lines in sale1, returns in khtl, fund rows in khzj.

#include "accounts/customers.h"
#include "data/session.h"

#include <QString>

namespace fm::test {

struct SettlementRows {
    Session &s;

    void region(const QString &name, const QString &code)
    {
        s.insert(QStringLiteral("dqk"), {{"dq", name}, {"bh", code}});
    }
    Customer customer(const QString &code, const QString &name, const QString &region, const QString &flag = "1")
    {
        s.insert(QStringLiteral("zxkh"), {{"khdm", code}, {"khmc", name}, {"dq", region}, {"khbz", flag}});
        return *findCustomer(s, code);
    }
    // An issue line: kilograms at a price, with the policy price recorded on it.
    void issue(const Customer &c, const QString &date, const QString &product, double kg, double amount,
               double policyPrice, const QString &name = QStringLiteral("猪用浓缩料"), const QString &spec = "40",
               const QString &flag = "0")
    {
        s.insert(QStringLiteral("sale1"), {{"rq_1", date}, {"cpmc", name}, {"cpgg", spec}, {"zcjg", policyPrice},
                                           {"zznum", kg}, {"zzjg", amount * 1000 / kg}, {"zzje", amount},
                                           {"kpjg", 0.0}, {"tlnum", 0.0}, {"kpje", 0.0}, {"khmc", c.name},
                                           {"cpdm", product}, {"region", c.region}, {"khdm", c.code},
                                           {"bz_1", "1"}, {"bz_3", flag}, {"zcje", 0.0}});
    }
    // A return: its sale1 line (no quantity or amount, the policy amount at
    // its policy price) and its khtl row (quantity and amount).
    void giveBack(const Customer &c, const QString &date, const QString &product, double kg, double amount,
                  double policyPrice, const QString &name = QStringLiteral("猪用浓缩料"), const QString &spec = "40")
    {
        s.insert(QStringLiteral("sale1"), {{"rq_1", date}, {"cpmc", name}, {"cpgg", spec}, {"zcjg", policyPrice},
                                           {"zznum", 0.0}, {"zzjg", 0.0}, {"zzje", 0.0}, {"kpjg", amount * 1000 / kg},
                                           {"tlnum", kg}, {"kpje", amount}, {"khmc", c.name}, {"rq_2", date},
                                           {"cpdm", product}, {"region", c.region}, {"khdm", c.code},
                                           {"bz_1", "3"}, {"bz_3", "0"}, {"zcje", policyPrice * kg / 1000}});
        s.insert(QStringLiteral("khtl"), {{"khdm", c.code}, {"region", c.region}, {"khmc", c.name},
                                          {"cpdm", product}, {"cpmc", name}, {"cpgg", spec},
                                          {"tlprice", amount * 1000 / kg}, {"tlnum", kg}, {"tlje", amount},
                                          {"bz", "0"}, {"tlrq", date}, {"kprq", date}});
    }
    qint64 funds(const Customer &c, const QString &date, double receivable, double received,
                 const QVariant &sjdx = QVariant(QMetaType(QMetaType::QString)))
    {
        return s.insert(QStringLiteral("khzj"), {{"khdm", c.code}, {"khmc", c.name}, {"region", c.region},
                                                 {"ysje", receivable}, {"sjje", received}, {"sjdx", sjdx},
                                                 {"sqje", receivable - received}, {"rq", date}, {"zzje", 0.0}});
    }
};

} // namespace fm::test
