#pragma once
// A small mill for the production tests: two teams with staff, three raw
// materials (two with stock, one priced only in the register), a formula of
// 60/30/10 percent and two feed products in the catalogue.

#include "data/session.h"

namespace fm::test {

inline void loadProductionFixture(Session &s)
{
    s.insert(QStringLiteral("bzzl"), {{"bzdm", "01"}, {"bzmc", "一班"}, {"scpc", 0}});
    s.insert(QStringLiteral("bzzl"), {{"bzdm", "02"}, {"bzmc", "二班"}, {"scpc", 0}});
    s.insert(QStringLiteral("bzry"), {{"rydm", "10001"}, {"rymc", "陈师傅"}, {"bzdm", "01"}});
    s.insert(QStringLiteral("bzry"), {{"rydm", "10002"}, {"rymc", "周工"}, {"bzdm", "01"}});
    s.insert(QStringLiteral("bzry"), {{"rydm", "10003"}, {"rymc", "刘师傅"}, {"bzdm", "02"}});

    const struct {
        const char *code, *name;
        double s0, stock;
    } materials[] = {{"m01", "玉米", 1.9, 2000}, {"m02", "豆粕", 2.8, 3000}, {"m03", "预混料", 1.5, 0}};
    for (const auto &m : materials) {
        s.insert(QStringLiteral("ylpzk"), {{"yldm", m.code}, {"ylmc", QString::fromUtf8(m.name)}, {"descip", "1"}, {"s0", m.s0}});
        if (m.stock > 0)
            s.insert(QStringLiteral("ylhzk"), {{"yldm", m.code}, {"ylmc", QString::fromUtf8(m.name)}, {"yldj", "1"},
                                               {"ylsl", 50000.0}, {"yljg", m.stock}, {"bz_1", "1"}});
    }
    s.insert(QStringLiteral("pfzlk"), {{"pfhm", "1401"}, {"pfmc", "猪全价料"}, {"pfbz", "GB"}, {"pfcb", 2.25}});
    const struct {
        const char *code, *name;
        double share;
    } lines[] = {{"m01", "玉米", 60}, {"m02", "豆粕", 30}, {"m03", "预混料", 10}};
    for (const auto &l : lines)
        s.insert(QStringLiteral("velpfk"), {{"pfhm", "1401"}, {"pfmc", "猪全价料"}, {"yldm", l.code},
                                            {"ylmc", QString::fromUtf8(l.name)}, {"yldj", "1"}, {"ylsl", l.share},
                                            {"yljg", 1.0}, {"pfcb", 0.0}, {"rq_1", "2026-12-01"}});
    // A new installation has the category already.
    if (s.scalar(QStringLiteral("SELECT COUNT(*) FROM {cplbgg} WHERE cpbz = '1'")).toInt() == 0)
        s.insert(QStringLiteral("cplbgg"), {{"lbmc", "全价料"}, {"cpbz", "1"}, {"cpgg", "40,20"}});
    else
        s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = '40,20' WHERE cpbz = '1'"));
    s.insert(QStringLiteral("price"), {{"cpdm", "p401"}, {"cpmc", "猪全价料40"}, {"cpgg", "40"}, {"kpjg", 2600.0},
                                       {"cbjg", 2300.0}, {"cpbz", "1"}});
    s.insert(QStringLiteral("price"), {{"cpdm", "p201"}, {"cpmc", "猪全价料20"}, {"cpgg", "20"}, {"kpjg", 2650.0},
                                       {"cbjg", 2300.0}, {"cpbz", "1"}});
}

} // namespace fm::test
