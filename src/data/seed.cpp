#include "data/seed.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/password.h"
#include "data/session.h"

namespace fm {

bool isInitialised(Session &s)
{
    return s.scalar(QStringLiteral("SELECT COUNT(*) FROM {zxauth1}")).toInt() > 0;
}

void seedNewInstallation(Session &s, const Clock &clock, const SeedOptions &o)
{
    const QDateTime now = clock.now();
    const QString stamp = dateTimeText(now);
    // The current data starts with the settlement period that holds today, so
    // the last cut-off is the 18th before it.
    const QString lastCutOff = dateText(settlementPeriodOf(now.date()).start.addDays(-1));

    s.transaction([&] {
        s.insert(QStringLiteral("zxauth1"), {{QStringLiteral("authid"), o.adminCode.trimmed()},
                                             {QStringLiteral("authmc"), o.adminName},
                                             {QStringLiteral("password"), hashPassword(o.adminPassword)},
                                             {QStringLiteral("deptment"), QStringLiteral("经理室")},
                                             {QStringLiteral("author"), QString(kRightsLength, QLatin1Char('1'))}});
        for (const char *flag : {"0", "1", "2"}) {
            Fields f{{QStringLiteral("cpbz"), QString::fromLatin1(flag)}, {QStringLiteral("rq1"), stamp}};
            for (int i = 1; i <= 10; ++i)
                f.emplace_back(QStringLiteral("b%1").arg(i, 2, 10, QLatin1Char('0')), 0.0);
            s.insert(QStringLiteral("zcprice"), f);
        }
        s.insert(QStringLiteral("gd_rq"), {{QStringLiteral("qsrq"), lastCutOff},
                                           {QStringLiteral("jzrq"), lastCutOff},
                                           {QStringLiteral("gdbz"), QStringLiteral("0")}});
        const std::pair<const char *, const char *> categories[] = {
            {"浓缩料", "0"}, {"全价料", "1"}, {"预混料", "2"}};
        for (const auto &c : categories)
            s.insert(QStringLiteral("cplbgg"), {{QStringLiteral("lbmc"), QString::fromUtf8(c.first)},
                                                {QStringLiteral("cpbz"), QString::fromLatin1(c.second)},
                                                {QStringLiteral("cpgg"), QStringLiteral(" ")}});
    });
}

namespace {

struct DemoRegion { const char *bh; const char *dq; };
struct DemoCustomer { const char *khdm; const char *khmc; int region; const char *khbz; const char *tel; };
struct DemoProduct { const char *cpdm; const char *cpmc; const char *cpgg; const char *cpbz; double kpjg; double cbjg; const char *pfhm; };
struct DemoMaterial { const char *yldm; const char *ylmc; const char *descip; double s0; double protein; double energy; };

// Region names have 8 to 10 bytes, as the register requires of new ones.
const DemoRegion kRegions[] = {{"11", "城关街道"}, {"12", "东山片区"}, {"13", "西河片区"}};

const DemoCustomer kCustomers[] = {
    {"1100001", "张记养殖场", 0, "1", "0571-8810001"},
    {"1100002", "李家猪场", 0, "1", "0571-8810002"},
    {"1100003", "城关门市部", 0, "3", "0571-8810003"},
    {"1200001", "东山养鸡场", 1, "1", "0571-8820001"},
    {"1200002", "王氏兽药店", 1, "0", "0571-8820002"},
    {"1300001", "西河饲料站", 2, "1", "0571-8830001"},
    {"1300002", "赵家鸭场", 2, "x", "0571-8830002"},
};

const DemoProduct kProducts[] = {
    {"n401", "猪用浓缩料", "40", "0", 3200, 2900, "0401"},
    {"n402", "鸡用浓缩料", "40", "0", 3000, 2750, "0402"},
    {"q101", "乳猪全价料", "40", "1", 4100, 3700, "1101"},
    {"q102", "肉鸡全价料", "25", "1", 2600, 2350, "1102"},
    {"y201", "猪用预混料", "0.5", "2", 12000, 10500, "2201"},
};

const DemoMaterial kMaterials[] = {
    {"ym001", "玉米", "1", 2.35, 8.5, 3.24},
    {"dp001", "豆粕", "1", 3.90, 43.0, 2.40},
    {"fp001", "麸皮", "1", 1.80, 15.7, 1.36},
    {"yf001", "鱼粉", "0", 9.50, 62.5, 2.80},
    {"sf001", "食盐", "0", 0.80, 0.0, 0.0},
    {"yh001", "复合预混料", "2", 12.0, 0.0, 0.0},
};

} // namespace

void loadDemoData(Session &s, const Clock &clock)
{
    const QDateTime now = clock.now();
    const QString stamp = dateTimeText(now);
    const QString today = dateText(now.date());

    s.transaction([&] {
        s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = ? WHERE cpbz = ?"), {QStringLiteral("40,20"), QStringLiteral("0")});
        s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = ? WHERE cpbz = ?"), {QStringLiteral("40,25"), QStringLiteral("1")});
        s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = ? WHERE cpbz = ?"), {QStringLiteral("0.5,1"), QStringLiteral("2")});
        s.insert(QStringLiteral("cplbgg"), {{QStringLiteral("lbmc"), QStringLiteral("编织袋")},
                                            {QStringLiteral("cpbz"), QStringLiteral("A")},
                                            {QStringLiteral("cpgg"), QStringLiteral("40,25")}});
        s.insert(QStringLiteral("cplbgg"), {{QStringLiteral("lbmc"), QStringLiteral("防伪标签")},
                                            {QStringLiteral("cpbz"), QStringLiteral("F")},
                                            {QStringLiteral("cpgg"), QStringLiteral(" ")}});

        for (const DemoRegion &r : kRegions)
            s.insert(QStringLiteral("dqk"), {{QStringLiteral("dq"), QString::fromUtf8(r.dq)},
                                             {QStringLiteral("bh"), QString::fromLatin1(r.bh)}});
        for (const DemoCustomer &c : kCustomers)
            s.insert(QStringLiteral("zxkh"), {{QStringLiteral("khdm"), QString::fromLatin1(c.khdm)},
                                              {QStringLiteral("khmc"), QString::fromUtf8(c.khmc)},
                                              {QStringLiteral("dq"), QString::fromUtf8(kRegions[c.region].dq)},
                                              {QStringLiteral("khbz"), QString::fromLatin1(c.khbz)},
                                              {QStringLiteral("teleph"), QString::fromLatin1(c.tel)}});

        for (const DemoProduct &p : kProducts) {
            const QString cpdm = QString::fromLatin1(p.cpdm);
            const QString cpmc = QString::fromUtf8(p.cpmc);
            const QString cpgg = QString::fromLatin1(p.cpgg);
            const QString cpbz = QString::fromLatin1(p.cpbz);
            s.insert(QStringLiteral("price"), {{QStringLiteral("cpmc"), cpmc}, {QStringLiteral("cpgg"), cpgg},
                                               {QStringLiteral("kpjg"), p.kpjg}, {QStringLiteral("cbjg"), p.cbjg},
                                               {QStringLiteral("cpbz"), cpbz}, {QStringLiteral("rq"), stamp},
                                               {QStringLiteral("cpdm"), cpdm}});
            s.insert(QStringLiteral("cpgg"), {{QStringLiteral("cpdm"), cpdm}, {QStringLiteral("cpmc"), cpmc},
                                              {QStringLiteral("bz"), cpbz}});
            s.insert(QStringLiteral("velcpzk"), {{QStringLiteral("cpdm"), cpdm}, {QStringLiteral("cpmc"), cpmc},
                                                 {QStringLiteral("cpgg"), cpgg}, {QStringLiteral("scsl"), 0.0},
                                                 {QStringLiteral("sccb"), p.cbjg},
                                                 {QStringLiteral("pfhm"), QString::fromLatin1(p.pfhm)},
                                                 {QStringLiteral("scbz"), QString()},
                                                 {QStringLiteral("scrq_1"), today},
                                                 {QStringLiteral("scrq_0"), stamp},
                                                 {QStringLiteral("cpbz"), cpbz}});
            for (const DemoCustomer &c : kCustomers) {
                // A retail customer pays its own price; the others the list price,
                // with a policy price a little below it.
                const bool retail = QLatin1String(c.khbz) == QLatin1String("3");
                const double policy = retail ? p.kpjg : p.kpjg - 150;
                s.insert(QStringLiteral("khprice"),
                         {{QStringLiteral("khdm"), QString::fromLatin1(c.khdm)},
                          {QStringLiteral("khmc"), QString::fromUtf8(c.khmc)},
                          {QStringLiteral("cpdm"), cpdm}, {QStringLiteral("cpmc"), cpmc},
                          {QStringLiteral("cpgg"), cpgg}, {QStringLiteral("kpjg"), p.kpjg},
                          {QStringLiteral("dqbh"), QString::fromLatin1(c.khdm).left(2)},
                          {QStringLiteral("dqmc"), QString::fromUtf8(kRegions[c.region].dq)},
                          {QStringLiteral("cpbz"), cpbz}, {QStringLiteral("rq"), stamp},
                          {QStringLiteral("fhll"), policy}});
            }
        }

        // Packaging items are products with a letter flag, priced per piece.
        s.insert(QStringLiteral("price"), {{QStringLiteral("cpmc"), QStringLiteral("编织袋40公斤")},
                                           {QStringLiteral("cpgg"), QStringLiteral("40")},
                                           {QStringLiteral("kpjg"), 0.8}, {QStringLiteral("cbjg"), 0.8},
                                           {QStringLiteral("cpbz"), QStringLiteral("A")},
                                           {QStringLiteral("rq"), stamp}, {QStringLiteral("cpdm"), QStringLiteral("a40")}});
        s.insert(QStringLiteral("bzbqk"), {{QStringLiteral("dm"), QStringLiteral("a40")},
                                           {QStringLiteral("mc"), QStringLiteral("编织袋40公斤")},
                                           {QStringLiteral("gg"), QStringLiteral("40")},
                                           {QStringLiteral("price"), 0.8}, {QStringLiteral("sl"), 300},
                                           {QStringLiteral("zje"), 240.0}, {QStringLiteral("rq_0"), today},
                                           {QStringLiteral("rq_1"), stamp}, {QStringLiteral("bz"), QStringLiteral("A")}});

        for (const DemoMaterial &m : kMaterials) {
            Fields f{{QStringLiteral("yldm"), QString::fromLatin1(m.yldm)},
                     {QStringLiteral("ylmc"), QString::fromUtf8(m.ylmc)},
                     {QStringLiteral("descip"), QString::fromLatin1(m.descip)},
                     {QStringLiteral("s0"), m.s0}};
            for (int i = 1; i <= 38; ++i) {
                double v = 0;
                if (i == 1) v = m.energy;
                else if (i == 2) v = m.protein;
                f.emplace_back(QStringLiteral("s%1").arg(i), v);
            }
            s.insert(QStringLiteral("ylpzk"), f);
            s.insert(QStringLiteral("ylhzk"), {{QStringLiteral("yldm"), QString::fromLatin1(m.yldm)},
                                               {QStringLiteral("ylmc"), QString::fromUtf8(m.ylmc)},
                                               {QStringLiteral("yldj"), QString::fromLatin1(m.descip)},
                                               {QStringLiteral("ylsl"), 20000.0},
                                               {QStringLiteral("yljg"), m.s0 * 1000},
                                               {QStringLiteral("rq_1"), monthText(now.date())},
                                               {QStringLiteral("rq_0"), stamp},
                                               {QStringLiteral("bz_1"), QString::fromLatin1(m.descip)}});
        }

        // One formula for the pig concentrate: shares sum to 100.
        const std::pair<int, double> shares[] = {{0, 35}, {1, 40}, {2, 15}, {3, 8}, {4, 2}};
        double cost = 0;
        for (const auto &sh : shares) cost += kMaterials[sh.first].s0 * sh.second / 100;
        s.insert(QStringLiteral("pfzlk"), {{QStringLiteral("pfhm"), QStringLiteral("0401")},
                                           {QStringLiteral("pfmc"), QStringLiteral("猪用浓缩料")},
                                           {QStringLiteral("pfbz"), QStringLiteral("生长猪标准")},
                                           {QStringLiteral("pfcb"), cost}, {QStringLiteral("rq_0"), stamp},
                                           {QStringLiteral("rydm"), QStringLiteral("admin")},
                                           {QStringLiteral("bz1"), QString()}, {QStringLiteral("bz2"), QString()}});
        for (const auto &sh : shares) {
            const DemoMaterial &m = kMaterials[sh.first];
            s.insert(QStringLiteral("velpfk"), {{QStringLiteral("pfhm"), QStringLiteral("0401")},
                                                {QStringLiteral("pfmc"), QStringLiteral("猪用浓缩料")},
                                                {QStringLiteral("yldm"), QString::fromLatin1(m.yldm)},
                                                {QStringLiteral("ylmc"), QString::fromUtf8(m.ylmc)},
                                                {QStringLiteral("yldj"), QString::fromLatin1(m.descip)},
                                                {QStringLiteral("ylsl"), sh.second},
                                                {QStringLiteral("yljg"), m.s0},
                                                {QStringLiteral("pfcb"), 0.0},
                                                {QStringLiteral("rq_1"), today}, {QStringLiteral("rq_0"), stamp},
                                                {QStringLiteral("pfbz"), QStringLiteral("0")},
                                                {QStringLiteral("rydm"), QStringLiteral("admin")},
                                                {QStringLiteral("sm"), QStringLiteral("示例配方")}});
        }

        s.insert(QStringLiteral("bzzl"), {{QStringLiteral("bzdm"), QStringLiteral("01")},
                                          {QStringLiteral("bzmc"), QStringLiteral("一班")},
                                          {QStringLiteral("msdm"), QStringLiteral("10001")},
                                          {QStringLiteral("msmc"), QStringLiteral("陈师傅")},
                                          {QStringLiteral("scpc"), 0}, {QStringLiteral("rq_1"), stamp}});
        s.insert(QStringLiteral("bzzl"), {{QStringLiteral("bzdm"), QStringLiteral("02")},
                                          {QStringLiteral("bzmc"), QStringLiteral("二班")},
                                          {QStringLiteral("msdm"), QStringLiteral("10003")},
                                          {QStringLiteral("msmc"), QStringLiteral("刘师傅")},
                                          {QStringLiteral("scpc"), 0}, {QStringLiteral("rq_1"), stamp}});
        const std::pair<const char *, const char *> staff[] = {
            {"10001", "陈师傅"}, {"10002", "周工"}, {"10003", "刘师傅"}, {"10004", "吴工"}};
        for (int i = 0; i < 4; ++i) {
            const QString team = i < 2 ? QStringLiteral("01") : QStringLiteral("02");
            s.insert(QStringLiteral("bzry"), {{QStringLiteral("rydm"), QString::fromLatin1(staff[i].first)},
                                              {QStringLiteral("rymc"), QString::fromUtf8(staff[i].second)},
                                              {QStringLiteral("bzdm"), team}, {QStringLiteral("rq"), today}});
            Fields wage{{QStringLiteral("rydm"), QString::fromLatin1(staff[i].first)},
                        {QStringLiteral("rymc"), QString::fromUtf8(staff[i].second)},
                        {QStringLiteral("bzdm"), team}};
            for (const char *c : {"scgz", "jsbt", "gwbt", "wsf", "fsbt", "jgf", "qtys", "ysgz", "fk", "qt", "sjgz", "dbf"})
                wage.emplace_back(QString::fromLatin1(c), 0.0);
            wage.emplace_back(QStringLiteral("rq_0"), stamp);
            wage.emplace_back(QStringLiteral("rq_1"), today);
            s.insert(QStringLiteral("scgzmx"), wage);
        }

        s.insert(QStringLiteral("gyszlk"), {{QStringLiteral("gysdm"), QStringLiteral("g0001")},
                                            {QStringLiteral("gysmc"), QStringLiteral("丰收粮油公司")},
                                            {QStringLiteral("gysaddr"), QStringLiteral("城关镇北路8号")},
                                            {QStringLiteral("gystel"), QStringLiteral("0571-8860001")},
                                            {QStringLiteral("gysbz"), QStringLiteral("1")}});
        s.insert(QStringLiteral("gyszlk"), {{QStringLiteral("gysdm"), QStringLiteral("g0002")},
                                            {QStringLiteral("gysmc"), QStringLiteral("海达鱼粉厂")},
                                            {QStringLiteral("gysaddr"), QStringLiteral(" ")},
                                            {QStringLiteral("gystel"), QStringLiteral(" ")},
                                            {QStringLiteral("gysbz"), QStringLiteral("1")}});
    });
}

} // namespace fm
