#include "production/productionsample.h"

#include "common/clock.h"
#include "common/dates.h"
#include "data/bulkinsert.h"
#include "data/samplehash.h"
#include "data/dberror.h"
#include "data/session.h"
#include "production/productcatalogue.h"
#include "production/productionruns.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace fm {

namespace {

using sample::hashOf;

double unit(quint64 a, quint64 b, quint64 salt) { return double(hashOf(a, b, salt) % 1000000) / 1000000; }

double cents(double v) { return std::round(v * 100) / 100; }

QString fold(const QString &code) { return code.trimmed().toLower(); }

const QString kRebagging = QStringLiteral("换包");
const QString kBlending = QStringLiteral("掺拌生产");
const QString kSundry = QStringLiteral("杂料回机");
const QString kInput = QStringLiteral("生产输入");

struct Material {
    QString code, name, flag;
    double pricePerTonne = 0;
};

struct FormulaLine {
    int material = 0;
    double share = 0; // percent
};

struct Formula {
    QString number, name;
    std::vector<FormulaLine> lines;
};

struct Product {
    QString code, name, spec, flag, pfhm;
    double kgPerBag = 40;
    double cost = 0;     // velcpzk.sccb, yuan per tonne
    int formula = -1;    // into the formulas, -1 without lines
    double produced = 0; // kilograms, all months
    double sold = 0;
    double onHand = 0;   // kilograms made and not yet sold, month by month
    QString lastTeam, lastDay;
};

struct Team {
    QString code, name;
};

// What one day's draws of a team add up to for a material (scylxh).
using ShiftKey = std::tuple<int, int, int>; // team, day of month, material

class ProductionGenerator {
public:
    ProductionGenerator(Session &s, const Clock &clock, const MillProgress &progress)
        : m_s(s), m_progress(progress), m_now(clock.now()), m_today(m_now.date())
    {
    }

    void run();

private:
    void readCatalogue();
    void readSales();
    void ensureTeams();
    void writeMonth(int monthIndex, const QDate &first, BulkInsert &lines, BulkInsert &theory, BulkInsert &shifts);
    void writeLine(BulkInsert &lines, const Product &p, double kg, int bags, double cost, const Team &team,
                   const QString &day, const QString &stamp, const QString &kind);

    Session &m_s;
    const MillProgress &m_progress;
    const QDateTime m_now;
    const QDate m_today;
    QString m_operator;
    std::vector<Material> m_materials;
    std::vector<Formula> m_formulas;
    std::vector<Product> m_products;
    std::vector<Team> m_teams;
    std::vector<QDate> m_months; // first days, oldest first
    bool m_hasSales = false;
    QHash<QString, double> m_soldIn; // folded code + month "yyyy-mm" → kilograms
    qint64 m_nextLineId = 1;
    int m_serial = 0;
    // Per month: tonnes produced, tonnes of complete feed.
    std::vector<std::pair<double, double>> m_monthTonnes;
};

void ProductionGenerator::readCatalogue()
{
    // Materials: the stock's price and class, else the register's.
    QHash<QString, int> materialAt;
    QHash<QString, std::pair<QString, double>> stock;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT yldm, bz_1, yljg FROM {ylhzk} ORDER BY id")))
        stock.insert(fold(r.text(QStringLiteral("yldm"))), {r.text(QStringLiteral("bz_1")), r.number(QStringLiteral("yljg"))});
    QHash<QString, std::pair<QString, double>> reg;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT yldm, descip, s0 FROM {ylpzk} ORDER BY id")))
        reg.insert(fold(r.text(QStringLiteral("yldm"))), {r.text(QStringLiteral("descip")), r.number(QStringLiteral("s0"))});

    QSet<QString> numbers;
    QHash<QString, int> formulaAt;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT pfhm, pfmc FROM {pfzlk} ORDER BY id"))) {
        const QString key = fold(r.text(QStringLiteral("pfhm")));
        if (formulaAt.contains(key)) continue;
        numbers.insert(key);
        formulaAt.insert(key, int(m_formulas.size()));
        m_formulas.push_back(Formula{r.text(QStringLiteral("pfhm")).trimmed(), r.text(QStringLiteral("pfmc")).trimmed(), {}});
    }
    for (const Row &r : m_s.rows(QStringLiteral("SELECT pfhm, yldm, ylmc, yldj, ylsl, yljg FROM {velpfk} ORDER BY id"))) {
        auto f = formulaAt.constFind(fold(r.text(QStringLiteral("pfhm"))));
        if (f == formulaAt.constEnd()) continue;
        const QString code = r.text(QStringLiteral("yldm")).trimmed();
        const QString key = fold(code);
        if (!materialAt.contains(key)) {
            Material m;
            m.code = code;
            m.name = r.text(QStringLiteral("ylmc")).trimmed();
            if (stock.contains(key) && stock.value(key).second > 0) {
                m.flag = stock.value(key).first;
                m.pricePerTonne = stock.value(key).second;
            } else {
                m.flag = stock.contains(key) ? stock.value(key).first
                                             : reg.value(key, {r.text(QStringLiteral("yldj")), 0}).first;
                const double perKg = reg.contains(key) && reg.value(key).second > 0 ? reg.value(key).second
                                                                                     : r.number(QStringLiteral("yljg"));
                m.pricePerTonne = perKg * 1000;
            }
            m.flag = m.flag.trimmed().left(1);
            materialAt.insert(key, int(m_materials.size()));
            m_materials.push_back(m);
        }
        m_formulas[size_t(*f)].lines.push_back(FormulaLine{materialAt.value(key), r.number(QStringLiteral("ylsl"))});
    }

    for (const Row &r : m_s.rows(QStringLiteral("SELECT cpdm, cpmc, cpgg, cpbz, pfhm, sccb FROM {velcpzk} ORDER BY cpdm, id"))) {
        Product p;
        p.code = r.text(QStringLiteral("cpdm")).trimmed();
        p.name = r.text(QStringLiteral("cpmc")).trimmed();
        p.spec = r.text(QStringLiteral("cpgg")).trimmed();
        p.flag = r.text(QStringLiteral("cpbz")).trimmed();
        p.pfhm = r.text(QStringLiteral("pfhm")).trimmed();
        p.cost = r.number(QStringLiteral("sccb"));
        bool ok = false;
        const double size = p.spec.toDouble(&ok);
        if (ok && size > 0) p.kgPerBag = size;
        const QString followed = ProductCatalogue::followedFormula(p.pfhm, numbers);
        if (!followed.isEmpty() && !m_formulas[size_t(formulaAt.value(followed))].lines.empty())
            p.formula = formulaAt.value(followed);
        m_products.push_back(p);
    }
}

void ProductionGenerator::readSales()
{
    QHash<QString, int> productAt;
    for (size_t i = 0; i < m_products.size(); ++i) productAt.insert(fold(m_products[i].code), int(i));
    QSet<QString> months;
    for (const Row &r : m_s.rows(QStringLiteral("SELECT {ci:cpdm} AS code, substring(rq_1, 1, 7) AS month, SUM(zznum) AS kg "
                                                "FROM {sale1} GROUP BY {ci:cpdm}, substring(rq_1, 1, 7)"))) {
        const QString code = fold(r.text(QStringLiteral("code")));
        const QString month = r.text(QStringLiteral("month"));
        const double kg = r.number(QStringLiteral("kg"));
        auto at = productAt.constFind(code);
        if (at == productAt.constEnd() || !(kg > 0) || month.size() != 7) continue;
        m_soldIn.insert(code + QLatin1Char('|') + month, kg);
        m_products[size_t(*at)].sold += kg;
        months.insert(month);
        m_hasSales = true;
    }
    if (m_hasSales) {
        for (const QString &m : months) {
            const QDate d = QDate::fromString(m + QStringLiteral("-01"), Qt::ISODate);
            if (d.isValid() && d <= m_today) m_months.push_back(d);
        }
        std::sort(m_months.begin(), m_months.end());
    } else {
        const QDate first(m_today.year(), m_today.month(), 1);
        for (int i = 11; i >= 0; --i) m_months.push_back(first.addMonths(-i));
    }
}

void ProductionGenerator::ensureTeams()
{
    for (const Row &r : m_s.rows(QStringLiteral("SELECT bzdm, bzmc FROM {bzzl} ORDER BY bzdm, id")))
        m_teams.push_back(Team{r.text(QStringLiteral("bzdm")).trimmed(), r.text(QStringLiteral("bzmc")).trimmed()});
    if (!m_teams.empty()) return;
    const QString stamp = dateTimeText(m_now);
    for (const Team &t : {Team{QStringLiteral("01"), QStringLiteral("一班")}, Team{QStringLiteral("02"), QStringLiteral("二班")}}) {
        m_s.insert(QStringLiteral("bzzl"), {{QStringLiteral("bzdm"), t.code}, {QStringLiteral("bzmc"), t.name},
                                            {QStringLiteral("msdm"), QStringLiteral(" ")},
                                            {QStringLiteral("msmc"), QStringLiteral(" ")},
                                            {QStringLiteral("scpc"), 0}, {QStringLiteral("rq_1"), stamp}});
        m_teams.push_back(t);
    }
}

void ProductionGenerator::writeLine(BulkInsert &lines, const Product &p, double kg, int bags, double cost,
                                    const Team &team, const QString &day, const QString &stamp, const QString &kind)
{
    const qint64 id = m_nextLineId++;
    const bool premix = p.flag == QLatin1String("2");
    const bool packed = kind != kSundry;
    const int packs = packed ? bags : 0;
    const double bagPrice = premix ? 0.35 : p.kgPerBag >= 40 ? 1.2 : 0.9;
    const int labels = packs;
    const int guards = p.flag == QLatin1String("1") ? packs : 0;
    const int cartons = premix ? (packs + 19) / 20 : 0;
    const QString txm = kind.isEmpty() ? ProductionRuns::barCode(id) : kind;
    lines << p.code << p.name << p.spec << kg << cost << p.pfhm << team.code << day << stamp << txm << p.flag << 0 << 0
          // woven bags
          << (packs ? QStringLiteral("a") + p.spec : QString()) << (packs ? QStringLiteral("编织袋") : QString())
          << (packs ? p.spec : QString()) << (packs ? bagPrice : 0.0) << packs << cents(packs * bagPrice)
          // labels
          << (labels ? QStringLiteral("b01") : QString()) << (labels ? QStringLiteral("标签") : QString())
          << (labels ? 0.05 : 0.0) << labels << cents(labels * 0.05)
          << QStringLiteral("0") << QString() << 0.0
          // anti-counterfeit labels
          << (guards ? QStringLiteral("f01") : QString()) << (guards ? QStringLiteral("防伪标签") : QString())
          << (guards ? 0.08 : 0.0) << guards << cents(guards * 0.08)
          // cartons
          << (cartons ? QStringLiteral("c20") : QString()) << (cartons ? QStringLiteral("纸箱") : QString())
          << (cartons ? 2.5 : 0.0) << cartons << cents(cartons * 2.5) << (cartons ? QStringLiteral("20") : QString());
    lines.endRow();
}

void ProductionGenerator::writeMonth(int mi, const QDate &first, BulkInsert &lines, BulkInsert &theory, BulkInsert &shifts)
{
    const bool current = first.year() == m_today.year() && first.month() == m_today.month();
    const int days = current ? m_today.day() : first.daysInMonth();
    const QString month = first.toString(QStringLiteral("yyyy-MM"));
    // Prices rose about 3 % a year up to today's.
    const double level = 1.0 - 0.03 * double(first.daysTo(QDate(m_today.year(), m_today.month(), 1))) / 365.25;
    std::map<ShiftKey, double> drawn;
    double tonnes = 0, completeTonnes = 0;
    std::vector<double> runCost(m_products.size(), 0);
    std::vector<bool> made(m_products.size(), false);

    for (size_t pi = 0; pi < m_products.size(); ++pi) {
        Product &p = m_products[pi];
        double target = 0;
        if (m_hasSales) {
            // Made to order, ahead of the month's sales, but never in a batch
            // smaller than a mixer load: a slow seller is made every few months.
            const double sold = m_soldIn.value(fold(p.code) + QLatin1Char('|') + month);
            const double wanted = sold * (1 + 0.06 * unit(pi, quint64(mi), 11)) - p.onHand;
            p.onHand -= sold;
            if (wanted > 0) target = std::max(wanted, p.flag == QLatin1String("2") ? 500.0 : 5000.0);
        } else {
            const double t = p.flag == QLatin1String("2") ? 2 + 6 * unit(pi, quint64(mi), 12) : 20 + 100 * unit(pi, quint64(mi), 12);
            target = t * 1000;
        }
        if (!(target > 0)) continue;
        const int bags = std::max(1, int(std::ceil(target / p.kgPerBag - 1e-9)));
        const int runs = bags * p.kgPerBag > 50000 ? 2 : 1;
        const Formula *f = p.formula >= 0 ? &m_formulas[size_t(p.formula)] : nullptr;
        for (int r = 0; r < runs; ++r) {
            const int runBags = runs == 1 ? bags : r == 0 ? (bags + 1) / 2 : bags / 2;
            const double kg = runBags * p.kgPerBag;
            const quint64 h = hashOf(pi, quint64(mi) * 4 + quint64(r), 13);
            const int dayOfMonth = 1 + int(h % quint64(days));
            const int teamIndex = int((h >> 20) % quint64(m_teams.size()));
            const Team &team = m_teams[size_t(teamIndex)];
            const QDate date = first.addDays(dayOfMonth - 1);
            const QString day = dateText(date);
            const QString stamp = dateTimeText(QDateTime(date, QTime(7, 30).addSecs(int((h >> 32) % 36000))));
            double cost = p.cost;
            if (f) {
                double amount = 0;
                for (const FormulaLine &l : f->lines) {
                    const Material &m = m_materials[size_t(l.material)];
                    const double price = cents(m.pricePerTonne * level);
                    const double lineKg = l.share * kg / 100;
                    amount += lineKg * price;
                    theory << m.code << m.name << m.flag << 0.0 << price << team.code << QString() << f->number << lineKg
                           << 0.0 << 0.0 << 0.0 << day << QStringLiteral("1") << ++m_serial << stamp << l.share << f->name
                           << 0 << m.flag;
                    theory.endRow();
                    drawn[ShiftKey{teamIndex, dayOfMonth, l.material}] += lineKg;
                }
                cost = amount / kg;
            }
            writeLine(lines, p, kg, runBags, cost, team, day, stamp, f ? QString() : kInput);
            runCost[pi] = cost;
            made[pi] = true;
            p.produced += kg;
            p.onHand += kg;
            // Without sales to go by, what earlier months made has left the mill.
            if (!m_hasSales && !current) p.sold += kg;
            p.lastTeam = team.code;
            p.lastDay = day;
            tonnes += kg / 1000;
            if (p.flag == QLatin1String("1")) completeTonnes += kg / 1000;
        }
    }

    // Every month one product made in it is rebagged, one blended and one
    // gets sundry material back.
    std::vector<size_t> madeNow;
    for (size_t pi = 0; pi < made.size(); ++pi)
        if (made[pi]) madeNow.push_back(pi);
    const QString kinds[] = {kRebagging, kBlending, kSundry};
    for (int k = 0; k < 3 && !madeNow.empty(); ++k) {
        const quint64 h = hashOf(quint64(mi), quint64(k), 14);
        const size_t pi = madeNow[size_t(h % quint64(madeNow.size()))];
        Product &p = m_products[pi];
        const int bags = k == 2 ? 0 : 10 + int((h >> 16) % 41);
        const double kg = k == 2 ? double(100 + 10 * ((h >> 16) % 71)) : bags * p.kgPerBag;
        const Team &team = m_teams[size_t((h >> 24) % quint64(m_teams.size()))];
        const QDate date = first.addDays(int((h >> 32) % quint64(days)));
        writeLine(lines, p, kg, bags, k == 2 ? 0.0 : runCost[pi], team, dateText(date),
                  dateTimeText(QDateTime(date, QTime(16, 0))), kinds[k]);
        p.produced += kg;
        if (!m_hasSales && !current) p.sold += kg;
        tonnes += kg / 1000;
        if (p.flag == QLatin1String("1")) completeTonnes += kg / 1000;
    }

    // The shifts' rows: what the runs drew, and what the shift used.
    for (const auto &[key, kg] : drawn) {
        const auto [teamIndex, dayOfMonth, material] = key;
        const Material &m = m_materials[size_t(material)];
        const QDate date = first.addDays(dayOfMonth - 1);
        const double used = std::round(kg * (1 + 0.03 * (unit(quint64(material), quint64(mi) * 32 + quint64(dayOfMonth),
                                                                 quint64(15 + teamIndex)) - 0.5)) * 10) / 10;
        shifts << m.code << m.name << cents(m.pricePerTonne * level) << used << 0.0 << kg << 0.0 << 0.0 << used
               << m_teams[size_t(teamIndex)].code << QString() << dateText(date)
               << dateTimeText(QDateTime(date, QTime(18, 0))) << ++m_serial << QStringLiteral("1") << m.flag;
        shifts.endRow();
    }
    m_monthTonnes.push_back({tonnes, completeTonnes});
}

void ProductionGenerator::run()
{
    const int present = m_s.scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM {velcpk}) + (SELECT COUNT(*) FROM {scylk}) "
                                                  "+ (SELECT COUNT(*) FROM {scylxh}) + (SELECT COUNT(*) FROM {zzfy})"))
                            .toInt();
    if (present > 0) throw DomainError(QStringLiteral("生产记录已经存在，未生成生产数据。"));
    m_operator = m_s.scalar(QStringLiteral("SELECT authid FROM {zxauth1} ORDER BY id {first:1}")).toString().trimmed();
    if (m_operator.isEmpty()) m_operator = QStringLiteral("admin");
    readCatalogue();
    if (m_products.empty()) return;
    readSales();
    const QVariant last = m_s.scalar(QStringLiteral("SELECT MAX(id) FROM {velcpk}"));
    m_nextLineId = last.isNull() ? 1 : last.toLongLong() + 1;

    const QStringList bulk{QStringLiteral("velcpk"), QStringLiteral("scylk"), QStringLiteral("scylxh")};
    for (const QString &st : m_s.dialect().beginBulkLoad()) m_s.execDdl(st);
    for (const QString &t : bulk) m_s.dropIndexes(t);
    auto restore = [&] {
        for (const QString &t : bulk) m_s.createIndexes(t);
        for (const QString &st : m_s.dialect().endBulkLoad()) m_s.execDdl(st);
    };
    try {
        m_s.transaction([&] {
            m_teams.clear();
            m_monthTonnes.clear();
            m_serial = 0;
            for (Product &p : m_products) {
                p.produced = 0;
                p.onHand = 0;
                if (!m_hasSales) p.sold = 0;
            }
            ensureTeams();
            BulkInsert lines(m_s, QStringLiteral("velcpk"),
                             columnsOf("cpdm,cpmc,cpgg,scsl,sccb,pfhm,scbz,scrq_1,scrq_0,txm,cpbz,rec_num,scpc,"
                                       "bzddm,bzdmc,bzdgg,bzdjg,bzdsl,bzdje,bqdm,bqmc,bqjg,bqsl,bqje,klbz,klmc,psnum,"
                                       "fwbqdm,fwbqmc,fwbqjg,fwbqsl,fwbqje,qtbzdm,qtbzmc,qtbzjg,qtbzsl,qtbzje,qtbzgg"));
            BulkInsert theory(m_s, QStringLiteral("scylk"),
                              columnsOf("yldm,ylmc,yldj,sjsl,yljg,bzdm,bzdm0,pfhm,lrsl,scjc,sjjc,lrjc,rq_1,bz,rec_num,"
                                        "rq_0,pfbl,pfmc,scpc,ylbz"));
            BulkInsert shifts(m_s, QStringLiteral("scylxh"),
                              columnsOf("yldm,ylmc,yljg,sjsl,scjc,lrsl,sjjc,lrjc,sjxh,bzdm,bzdm0,rq_1,rq_0,rec_num,bz,"
                                        "ylbz"));
            for (size_t mi = 0; mi < m_months.size(); ++mi) {
                writeMonth(int(mi), m_months[mi], lines, theory, shifts);
                if (m_progress) m_progress(QStringLiteral("velcpk"), qint64(mi) + 1, qint64(m_months.size()));
            }
            lines.finish();
            theory.finish();
            shifts.finish();

            // The month's overheads, in proportion to what it made.
            for (size_t mi = 0; mi < m_months.size(); ++mi) {
                const QDate first = m_months[mi];
                const auto [tonnes, complete] = m_monthTonnes[mi];
                const QDate closed = std::min(m_today, first.addDays(first.daysInMonth() - 1));
                m_s.insert(QStringLiteral("zzfy"),
                           {{QStringLiteral("rq_1"), first.toString(QStringLiteral("yyyyMM"))},
                            {QStringLiteral("qf"), cents(800 + complete * (14 + 4 * unit(mi, 0, 16)))},
                            {QStringLiteral("gz"), cents(12000 + tonnes * (30 + 10 * unit(mi, 1, 16)))},
                            {QStringLiteral("df"), cents(3000 + tonnes * (20 + 6 * unit(mi, 2, 16)))},
                            {QStringLiteral("qt"), cents(1500 + tonnes * (4 + 3 * unit(mi, 3, 16)))},
                            {QStringLiteral("rq_0"), dateTimeText(QDateTime(closed, QTime(17, 30)))},
                            {QStringLiteral("rydm"), m_operator}});
            }

            // The master's stock: made less sold (the sales were taken out of it).
            for (const Product &p : m_products) {
                if (p.produced == 0) continue;
                m_s.execute(QStringLiteral("UPDATE {velcpzk} SET scsl = ?, scbz = ?, scrq_1 = ? WHERE {ci:cpdm} = {ci:?}"),
                            {p.produced - p.sold, p.lastTeam, p.lastDay, p.code});
            }
        });
    } catch (...) {
        try {
            restore();
        } catch (const DbError &) {
        }
        throw;
    }
    if (m_progress) m_progress(QStringLiteral("indexes"), 0, 1);
    restore();
    if (m_progress) m_progress(QStringLiteral("indexes"), 1, 1);
}

// A sample formula per category: the sample's materials and their shares.
struct SampleShare {
    const char *code;
    double share;
};
const SampleShare kConcentrate[] = {{"dp001", 45}, {"yf001", 20}, {"fp001", 25}, {"sf001", 2}, {"yh001", 8}};
const SampleShare kComplete[] = {{"ym001", 60}, {"dp001", 24}, {"yf001", 6}, {"fp001", 6}, {"sf001", 0.5}, {"yh001", 3.5}};
const SampleShare kPremix[] = {{"yh001", 70}, {"fp001", 25}, {"sf001", 5}};

} // namespace

void generateProduction(Session &s, const Clock &clock, const MillProgress &progress)
{
    ProductionGenerator(s, clock, progress).run();
}

void loadDemoProduction(Session &s, const Clock &clock)
{
    const QString stamp = dateTimeText(clock.now());
    const QString today = dateText(clock.today());
    s.transaction([&] {
        QSet<QString> numbers;
        for (const Row &r : s.rows(QStringLiteral("SELECT pfhm FROM {pfzlk}"))) numbers.insert(fold(r.text(QStringLiteral("pfhm"))));
        QHash<QString, Row> materials;
        for (const Row &r : s.rows(QStringLiteral("SELECT yldm, ylmc, descip, s0 FROM {ylpzk}")))
            materials.insert(fold(r.text(QStringLiteral("yldm"))), r);
        for (const Row &p : s.rows(QStringLiteral("SELECT cpmc, cpbz, pfhm FROM {velcpzk} ORDER BY cpdm, id"))) {
            const QString number = p.text(QStringLiteral("pfhm")).trimmed();
            if (number.isEmpty() || number.size() > 6 || !ProductCatalogue::followedFormula(number, numbers).isEmpty()) continue;
            const QString flag = p.text(QStringLiteral("cpbz")).trimmed();
            const auto pick = [&]() -> std::pair<const SampleShare *, const SampleShare *> {
                if (flag == QLatin1String("2")) return {std::begin(kPremix), std::end(kPremix)};
                if (flag == QLatin1String("1")) return {std::begin(kComplete), std::end(kComplete)};
                return {std::begin(kConcentrate), std::end(kConcentrate)};
            };
            const auto [from, to] = pick();
            const std::vector<SampleShare> shares(from, to);
            bool complete = true;
            double cost = 0;
            for (const SampleShare &sh : shares) {
                auto m = materials.constFind(QString::fromLatin1(sh.code));
                if (m == materials.constEnd()) complete = false;
                else cost += m->number(QStringLiteral("s0")) * sh.share / 100;
            }
            if (!complete) continue;
            const QString name = p.text(QStringLiteral("cpmc")).trimmed();
            s.insert(QStringLiteral("pfzlk"), {{QStringLiteral("pfhm"), number}, {QStringLiteral("pfmc"), name},
                                               {QStringLiteral("pfbz"), QString()}, {QStringLiteral("pfcb"), cost},
                                               {QStringLiteral("rq_0"), stamp}, {QStringLiteral("rydm"), QStringLiteral("admin")},
                                               {QStringLiteral("bz1"), QString()}, {QStringLiteral("bz2"), QString()}});
            for (const SampleShare &sh : shares) {
                const Row &m = materials[QString::fromLatin1(sh.code)];
                s.insert(QStringLiteral("velpfk"), {{QStringLiteral("pfhm"), number}, {QStringLiteral("pfmc"), name},
                                                    {QStringLiteral("yldm"), m.text(QStringLiteral("yldm"))},
                                                    {QStringLiteral("ylmc"), m.text(QStringLiteral("ylmc"))},
                                                    {QStringLiteral("yldj"), m.text(QStringLiteral("descip"))},
                                                    {QStringLiteral("ylsl"), sh.share},
                                                    {QStringLiteral("yljg"), m.number(QStringLiteral("s0"))},
                                                    {QStringLiteral("pfcb"), 0.0}, {QStringLiteral("rq_1"), today},
                                                    {QStringLiteral("rq_0"), stamp},
                                                    {QStringLiteral("pfbz"), QStringLiteral("0")},
                                                    {QStringLiteral("rydm"), QStringLiteral("admin")},
                                                    {QStringLiteral("sm"), QStringLiteral("示例配方")}});
            }
            numbers.insert(fold(number));
        }
    });
    generateProduction(s, clock);
}

} // namespace fm
