#pragma once
// A small mill for sales tests: one region, an ordinary, a retail and a
// closed customer, and products of each category with their customer prices.

#include "data/session.h"

namespace fm::test {

inline void addProduct(Session &s, const QString &code, const QString &name, const QString &spec, const QString &flag,
                       double listPrice, double costPrice, const QStringList &customers, double policyPrice)
{
    s.insert(QStringLiteral("price"), {{"cpdm", code}, {"cpmc", name}, {"cpgg", spec}, {"kpjg", listPrice},
                                       {"cbjg", costPrice}, {"cpbz", flag}, {"rq", "2026-12-01 08:00:00"}});
    s.insert(QStringLiteral("velcpzk"), {{"cpdm", code}, {"cpmc", name}, {"cpgg", spec}, {"scsl", 0.0},
                                         {"sccb", costPrice}, {"cpbz", flag}});
    for (const QString &c : customers)
        s.insert(QStringLiteral("khprice"), {{"khdm", c}, {"khmc", "客户"}, {"cpdm", code}, {"cpmc", name}, {"cpgg", spec},
                                             {"kpjg", listPrice}, {"dqbh", c.left(2)}, {"dqmc", "城关镇"},
                                             {"cpbz", flag}, {"fhll", policyPrice}});
}

inline void loadSalesFixture(Session &s)
{
    s.insert(QStringLiteral("dqk"), {{"dq", "城关镇"}, {"bh", "11"}});
    s.insert(QStringLiteral("zxkh"), {{"khdm", "1100001"}, {"khmc", "张记养殖场"}, {"dq", "城关镇"}, {"khbz", "1"}});
    s.insert(QStringLiteral("zxkh"), {{"khdm", "1100002"}, {"khmc", "城关门市部"}, {"dq", "城关镇"}, {"khbz", "3"}});
    s.insert(QStringLiteral("zxkh"), {{"khdm", "1100003"}, {"khmc", "赵家鸭场"}, {"dq", "城关镇"}, {"khbz", "X"}});
    const QStringList both{QStringLiteral("1100001"), QStringLiteral("1100002")};
    addProduct(s, QStringLiteral("n40"), QStringLiteral("猪用浓缩料"), QStringLiteral("40"), QStringLiteral("0"), 2350, 2100, both, 2300);
    addProduct(s, QStringLiteral("q25"), QStringLiteral("肉鸡全价料"), QStringLiteral("25"), QStringLiteral("1"), 2600, 2400, both, 2550);
    addProduct(s, QStringLiteral("y05"), QStringLiteral("猪用预混料"), QStringLiteral("0.5"), QStringLiteral("2"), 12000, 10000, both, 11800);
    // A product nobody has a price row for.
    addProduct(s, QStringLiteral("z40"), QStringLiteral("新品浓缩料"), QStringLiteral("40"), QStringLiteral("0"), 3000, 2800, {}, 0);
}

} // namespace fm::test
