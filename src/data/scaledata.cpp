#include "data/scaledata.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/bulkinsert.h"
#include "data/samplehash.h"
#include "data/session.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

namespace fm {

namespace {

using sample::hashOf;
using sample::mix;

class Random {
public:
    explicit Random(quint64 seed) : m_next(seed) {}
    quint64 next() { return mix(m_next++); }
    int below(int n) { return int(next() % quint64(n)); }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }

private:
    quint64 m_next;
};

struct Region {
    QString code; // bh
    QString name; // dq
};

struct Customer {
    QString code;
    QString name;
    QString regionCode;
    QString regionName;
    QString flag;
    bool retail() const { return flag == QLatin1String("3"); }
    bool closed() const { return flag == QLatin1String("x"); }
};

// What a customer's last slip left in its print rows (khprn).
struct PrintedSlip {
    struct Line {
        int product = 0;
        int bags = 0;
        double kilograms = 0;
        double price = 0;
        double amount = 0;
    };
    qint64 number = 0; // 0: never invoiced
    int lines = 0;
    std::array<Line, 8> line;
};

struct Product {
    QString code;
    QString name;
    QString spec;
    QString flag; // 0 concentrate, 1 complete feed, 2 premix
    QString unit;
    double kgPerBag = 0;
    double listPrice = 0; // yuan per tonne
    double costPrice = 0;
};

const char *const kRegionFirst[] = {"东", "西", "南", "北", "新", "中", "上", "下", "前", "后"};
const char *const kRegionSecond[] = {"山", "河", "湖", "桥", "坪", "塘"};
const char *const kRegionThird[] = {"口", "坝", "岭"};
const char *const kSurnames[] = {"张记", "李家", "王氏", "刘家", "陈记", "杨家", "赵氏", "黄家", "周记", "吴家",
                                 "徐氏", "孙家", "胡记", "朱家", "高氏", "林家", "何记", "郭家", "马氏", "罗家"};
const char *const kKinds[] = {"养殖场", "猪场", "鸡场", "鸭场", "饲料店", "兽药店", "门市部", "饲料站"};
const char *const kSpecies[] = {"乳猪", "仔猪", "生长猪", "育肥猪", "母猪", "肉鸡", "蛋鸡", "肉鸭",
                                "蛋鸭", "鹅", "鱼", "虾", "奶牛", "肉羊", "兔"};
const char *const kCategories[] = {"浓缩料", "全价料", "预混料"};

// The lines on a slip: 1 to 8, about 3⅓ on average.
const int kLineWeights[8] = {70, 60, 48, 39, 30, 24, 15, 14};
constexpr int kLineWeightTotal = 300;
// Products a customer buys from: a slip takes consecutive ones.
constexpr int kFavourites = 12;

QString tr8(const char *s) { return QString::fromUtf8(s); }

void checkSize(const MillSize &z)
{
    const bool ok = z.regions >= 1 && z.regions <= 89 && z.customers >= 1
        && qint64(z.customers) <= qint64(z.regions) * 99999 && z.products >= 1 && z.products <= 9999
        && z.slips >= 0 && z.slips <= 99999999 && z.lines >= z.slips && z.lines <= 8 * z.slips
        && z.years >= 1 && z.years <= 50;
    if (!ok) throw DomainError(QStringLiteral("mill size out of range"));
}

class MillGenerator {
public:
    MillGenerator(Session &s, const Clock &clock, const MillSize &size, const MillProgress &progress)
        : m_s(s), m_size(size), m_progress(progress), m_now(clock.now()), m_today(m_now.date())
    {
    }

    void run();

private:
    void report(const QString &table, qint64 done, qint64 total)
    {
        if (m_progress) m_progress(table, done, total);
    }
    void makeRegions();
    void makeCustomers();
    void makeProducts();
    void writeCatalogue();
    void writeCustomerPrices();
    void writeSlips();
    void writePrintRows();
    void writeCounters();

    // The customer's policy price of a product (khprice.fhll) at today's prices.
    double policyPrice(int c, int p) const;
    // The price list's policy price for a normal customer (what a retail
    // customer's line records as its policy price).
    double normalPolicyPrice(int c, int p) const;

    Session &m_s;
    const MillSize m_size;
    const MillProgress &m_progress;
    const QDateTime m_now;
    const QDate m_today;
    QString m_operator;
    std::vector<Region> m_regions;
    std::vector<Customer> m_customers;
    std::vector<Product> m_products;
    std::vector<PrintedSlip> m_printed; // per customer
};

const QStringList kBulkTables = {QStringLiteral("khprice"), QStringLiteral("khjggl"), QStringLiteral("sale1"),
                                 QStringLiteral("khzj")};

void MillGenerator::run()
{
    checkSize(m_size);
    const int present = m_s.scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM {zxkh}) + (SELECT COUNT(*) FROM {price}) "
                                                  "+ (SELECT COUNT(*) FROM {fphm})"))
                            .toInt();
    if (present > 0) throw DomainError(QStringLiteral("the catalogs already hold customers, products or turnover numbers"));
    m_operator = m_s.scalar(QStringLiteral("SELECT authid FROM {zxauth1} ORDER BY id {first:1}")).toString().trimmed();
    if (m_operator.isEmpty()) m_operator = QStringLiteral("admin");

    makeRegions();
    makeCustomers();
    makeProducts();

    for (const QString &st : m_s.dialect().beginBulkLoad()) m_s.execDdl(st);
    for (const QString &t : kBulkTables) m_s.dropIndexes(t);
    try {
        writeCatalogue();
        writeCustomerPrices();
        writeSlips();
        writePrintRows();
        writeCounters();
    } catch (...) {
        // Leave an installation that still finds its rows, however few.
        try {
            for (const QString &t : kBulkTables) m_s.createIndexes(t);
            for (const QString &st : m_s.dialect().endBulkLoad()) m_s.execDdl(st);
        } catch (const DbError &) {
        }
        throw;
    }
    int n = 0;
    for (const QString &t : kBulkTables) {
        report(QStringLiteral("indexes"), n++, kBulkTables.size());
        m_s.createIndexes(t);
    }
    report(QStringLiteral("indexes"), n, kBulkTables.size());
    for (const QString &st : m_s.dialect().endBulkLoad()) m_s.execDdl(st);
}

void MillGenerator::makeRegions()
{
    for (int i = 0; i < m_size.regions; ++i) {
        Region r;
        r.code = QString::number(11 + i);
        // Four characters: region names have at least 8 bytes.
        r.name = tr8(kRegionFirst[i % 10]) + tr8(kRegionSecond[(i / 10) % 6]) + tr8(kRegionThird[(i / 60) % 3])
            + (i % 2 ? tr8("乡") : tr8("镇"));
        m_regions.push_back(r);
    }
}

void MillGenerator::makeCustomers()
{
    for (int j = 0; j < m_size.customers; ++j) {
        const Region &r = m_regions[size_t(j % m_size.regions)];
        const int seq = j / m_size.regions + 1;
        const quint64 h = hashOf(quint64(j), 0, 1);
        Customer c;
        c.code = r.code + QStringLiteral("%1").arg(seq, 5, 10, QLatin1Char('0'));
        c.name = tr8(kSurnames[h % 20]) + tr8(kKinds[(h >> 8) % 8]) + QString::number(seq);
        c.regionCode = r.code;
        c.regionName = r.name;
        const int kind = int((h >> 16) % 100);
        c.flag = kind < 4 ? QStringLiteral("3") : kind < 6 ? QStringLiteral("x") : kind < 10 ? QStringLiteral("0") : QStringLiteral("1");
        m_customers.push_back(c);
    }
}

void MillGenerator::makeProducts()
{
    const char *prefixes[] = {"n", "q", "y"};
    const char *specs[3][2] = {{"40", "20"}, {"40", "25"}, {"0.5", "1"}};
    for (int i = 0; i < m_size.products; ++i) {
        const int kind = i % 5;
        const int category = kind < 2 ? 0 : kind < 4 ? 1 : 2;
        const quint64 h = hashOf(quint64(i), 0, 2);
        Product p;
        p.code = QString::fromLatin1(prefixes[category]) + QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        p.name = tr8(kSpecies[(i / 5) % 15]) + tr8(kCategories[category]) + QString::number(i + 1);
        p.spec = QString::fromLatin1(specs[category][(i / 5) % 2]);
        p.kgPerBag = p.spec.toDouble();
        p.flag = QString::number(category);
        if (category == 2) p.unit = p.spec == QLatin1String("0.5") ? tr8("袋") : tr8("包");
        else if (p.spec == QLatin1String("20")) p.unit = tr8("中包");
        else if (p.spec == QLatin1String("40")) p.unit = tr8("大包");
        else p.unit = tr8("包"); // 25 kg: the clerk types the unit
        if (category == 2) p.listPrice = 8000 + 50 * double(h % 160);
        else p.listPrice = (category == 0 ? 2800 : 2200) + 10 * double(h % 140);
        p.costPrice = std::round(p.listPrice * double(86 + (h >> 8) % 7) / 100);
        m_products.push_back(p);
    }
}

double MillGenerator::normalPolicyPrice(int c, int p) const
{
    const Product &pr = m_products[size_t(p)];
    const quint64 h = hashOf(quint64(c), quint64(p), 3);
    if (h % 100 == 0) return pr.costPrice - 10 * double(1 + (h >> 8) % 20); // below cost
    // Up to 5% off the list price: still above cost, which is at most 92% of it.
    const quint64 steps = quint64(pr.listPrice * 0.05 / 10) + 1;
    return pr.listPrice - 10 * double((h >> 8) % steps);
}

double MillGenerator::policyPrice(int c, int p) const
{
    if (m_customers[size_t(c)].retail()) {
        // A retail customer's row holds the price it paid last, above the list.
        const quint64 h = hashOf(quint64(c), quint64(p), 4);
        return m_products[size_t(p)].listPrice + 10 * double(h % 21);
    }
    return normalPolicyPrice(c, p);
}

void MillGenerator::writeCatalogue()
{
    const QString stamp = dateTimeText(m_now);
    const QString today = dateText(m_today);
    m_s.transaction([&] {
        const std::pair<const char *, const char *> specLists[] = {{"0", "40,20"}, {"1", "40,25"}, {"2", "0.5,1"}};
        for (const auto &l : specLists)
            m_s.execute(QStringLiteral("UPDATE {cplbgg} SET cpgg = ? WHERE cpbz = ?"),
                        {QString::fromLatin1(l.second), QString::fromLatin1(l.first)});

        BulkInsert regions(m_s, QStringLiteral("dqk"), columnsOf("dq,bh"));
        for (const Region &r : m_regions) {
            regions << r.name << r.code;
            regions.endRow();
        }
        regions.finish();

        BulkInsert customers(m_s, QStringLiteral("zxkh"), columnsOf("khdm,khmc,dq,khbz,teleph"));
        for (int j = 0; j < m_size.customers; ++j) {
            const Customer &c = m_customers[size_t(j)];
            customers << c.code << c.name << c.regionName << c.flag << QStringLiteral("0571-%1").arg(8000000 + j);
            customers.endRow();
        }
        customers.finish();

        BulkInsert price(m_s, QStringLiteral("price"), columnsOf("cpmc,cpgg,kpjg,cbjg,cpbz,rq,cpdm"));
        BulkInsert names(m_s, QStringLiteral("cpgg"), columnsOf("cpdm,cpmc,gg_5,gg_20,gg_40,bz"));
        BulkInsert stock(m_s, QStringLiteral("velcpzk"),
                         columnsOf("cpdm,cpmc,cpgg,scsl,sccb,pfhm,scbz,scrq_1,scrq_0,cpbz"));
        for (const Product &p : m_products) {
            price << p.name << p.spec << p.listPrice << p.costPrice << p.flag << stamp << p.code;
            price.endRow();
            names << p.code << p.name << QStringLiteral(" ") << QStringLiteral(" ") << QStringLiteral(" ") << p.flag;
            names.endRow();
            stock << p.code << p.name << p.spec << 0.0 << p.costPrice << QStringLiteral(" ") << QString() << today
                  << stamp << p.flag;
            stock.endRow();
        }
        price.finish();
        names.finish();
        stock.finish();
    });
}

void MillGenerator::writeCustomerPrices()
{
    const qint64 total = m_size.customerPrices();
    const QString runStamp = dateTimeText(m_now);
    m_s.transaction([&] {
        BulkInsert prices(m_s, QStringLiteral("khprice"),
                          columnsOf("khdm,khmc,cpdm,cpmc,cpgg,kpjg,dqbh,dqmc,cpbz,rq,fhll"));
        BulkInsert below(m_s, QStringLiteral("khjggl"),
                         columnsOf("dqbh,dqmc,khmc,khdm,cpdm,cpmc,cpgg,zcjg,cbjg,jgce,rq"));
        // The day each customer's prices were last set, within the last year.
        qint64 done = 0;
        for (int c = 0; c < m_size.customers; ++c) {
            const Customer &cu = m_customers[size_t(c)];
            const QString set = dateTimeText(QDateTime(m_today.addDays(-qint64(hashOf(quint64(c), 0, 5) % 365)), QTime(9, 0)));
            for (int p = 0; p < m_size.products; ++p) {
                const Product &pr = m_products[size_t(p)];
                const double fhll = policyPrice(c, p);
                prices << cu.code << cu.name << pr.code << pr.name << pr.spec << pr.listPrice << cu.regionCode
                       << cu.regionName << pr.flag << set << fhll;
                prices.endRow();
                if (fhll < pr.costPrice) {
                    below << cu.regionCode << cu.regionName << cu.name << cu.code << pr.code << pr.name << pr.spec
                          << fhll << pr.costPrice << fhll - pr.costPrice << runStamp;
                    below.endRow();
                }
            }
            done += m_size.products;
            if (c % 200 == 0) report(QStringLiteral("khprice"), done, total);
        }
        prices.finish();
        below.finish();
        report(QStringLiteral("khprice"), total, total);
    });
}

void MillGenerator::writeSlips()
{
    const QDate first = m_today.addYears(-m_size.years).addDays(1);
    const qint64 days = first.daysTo(m_today) + 1;
    std::vector<QString> dayText(static_cast<size_t>(days));
    std::vector<double> priceLevel(static_cast<size_t>(days)); // prices rose about 3% a year
    for (qint64 d = 0; d < days; ++d) {
        dayText[size_t(d)] = dateText(first.addDays(d));
        priceLevel[size_t(d)] = 1.0 - 0.03 * double(days - 1 - d) / 365.25;
    }
    const int nc = m_size.customers;
    // A stride prime to the customer count spreads the busiest customers over regions.
    quint64 stride = 7919;
    while (std::gcd(stride, quint64(nc)) != 1) stride += 2;

    const QVariant zero(0.0);
    const QVariant none{QString()};
    const QVariant lineFlag(QStringLiteral("1"));
    const QVariant unposted(QStringLiteral("0"));
    const QVariant op(m_operator);

    Random rng(20260101);
    m_printed.assign(size_t(nc), PrintedSlip());
    m_s.transaction([&] {
        BulkInsert lines(m_s, QStringLiteral("sale1"),
                         columnsOf("rq_1,cpmc,cpgg,zcjg,zznum,zzjg,zzje,kpjg,tlnum,kpje,khmc,rq_2,cpdm,region,khdm,"
                                   "czydm,sjbs,recnum,bz_1,cbjg,zzhm,bz_3,sjxl1,sjxl2,zcje,cbje,hksl,hkje,ce,bz_2,"
                                   "fphm,bszl"));
        BulkInsert funds(m_s, QStringLiteral("khzj"),
                         columnsOf("khdm,khmc,region,ysje,sjje,sjdx,sqje,sjxl,rq,czydm,zzje"));
        qint64 written = 0;
        for (qint64 i = 0; i < m_size.slips; ++i) {
            const qint64 d = i * days / m_size.slips;
            const double level = priceLevel[size_t(d)];
            const double u = rng.unit();
            int c = int((quint64(double(nc) * u * u) * stride) % quint64(nc));
            // Closed customers stopped buying a while ago.
            for (int tries = 0; m_customers[size_t(c)].closed() && d > days * 8 / 10 && tries < nc; ++tries)
                c = (c + 1) % nc;
            const Customer &cu = m_customers[size_t(c)];

            // The line count keeps near the schedule that ends exactly on the total.
            int n = 1;
            for (int w = rng.below(kLineWeightTotal); w >= kLineWeights[n - 1]; w -= kLineWeights[n - 1]) ++n;
            const qint64 remaining = m_size.lines - written;
            const qint64 slipsLeft = m_size.slips - i;
            const qint64 expected = (i + 1) * m_size.lines / m_size.slips;
            const qint64 hardLow = std::max<qint64>(1, remaining - 8 * (slipsLeft - 1));
            const qint64 hardHigh = std::min<qint64>(8, remaining - (slipsLeft - 1));
            const qint64 low = std::max(hardLow, expected - 16 - written);
            const qint64 high = std::min(hardHigh, expected + 16 - written);
            n = low <= high ? int(std::clamp<qint64>(n, low, high)) : int(std::clamp<qint64>(n, hardLow, hardHigh));

            const QString number = QString::number(i + 1);
            const QVariant day(dayText[size_t(d)]);
            PrintedSlip &printed = m_printed[size_t(c)];
            printed.number = i + 1;
            printed.lines = n;
            double amount = 0, kilograms = 0, difference = 0;
            const int k0 = rng.below(kFavourites);
            for (int l = 0; l < n; ++l) {
                const int p = int(hashOf(quint64(c), quint64((k0 + l) % kFavourites), 6) % quint64(m_size.products));
                const Product &pr = m_products[size_t(p)];
                const int bags = pr.flag == QLatin1String("2") ? 2 + rng.below(99) : 1 + int(60 * std::pow(rng.unit(), 2));
                const double kg = bags * pr.kgPerBag;
                const double policy = std::round(normalPolicyPrice(c, p) * level);
                const double price = std::round((cu.retail() ? policyPrice(c, p) : pr.listPrice) * level);
                const double lineAmount = price * kg / 1000;
                printed.line[size_t(l)] = {p, bags, kg, price, lineAmount};
                amount += lineAmount;
                kilograms += kg;
                difference += kg * (price - policy) / 1000;
                lines << day << pr.name << pr.spec << policy << kg << price << lineAmount << zero << zero << zero
                      << cu.name << none << pr.code << cu.regionName << cu.code << op << bags
                      << int(written % 300 + 1) << lineFlag << std::round(pr.costPrice * level) << number << pr.flag
                      << zero << zero << zero << zero << zero << zero << zero << unposted << none << pr.unit;
                lines.endRow();
                ++written;
            }
            // Most slips are paid in full, some go on account, a few in part.
            const int pay = rng.below(10);
            const double received = pay < 7 ? amount : pay < 9 ? 0.0 : std::round(amount / 200) * 100;
            const QTime at = QTime(8, 0).addSecs(rng.below(9 * 3600));
            funds << cu.code << cu.name << cu.regionName << amount << received
                  << dayText[size_t(d)] + QLatin1Char(' ') + at.toString(QStringLiteral("HH:mm:ss")) << amount - received << kilograms << day << op
                  << difference;
            funds.endRow();
            if (i % 20000 == 0) report(QStringLiteral("sale1"), written, m_size.lines);
        }
        lines.finish();
        funds.finish();
        report(QStringLiteral("sale1"), written, m_size.lines);
    });
}

// Each customer's last slip stays in the print rows of the workstation that
// wrote it: eight rows, the unused ones blank.
void MillGenerator::writePrintRows()
{
    const QString blank = QStringLiteral("");
    m_s.transaction([&] {
        BulkInsert rows(m_s, QStringLiteral("khprn"),
                        columnsOf("khdm,khmc,region,czydm,zznum,cpmc,sjxl1,zzhm,kpjg,kpje,sjbs,bszl,cpdm,cpgg,owner"));
        for (int c = 0; c < m_size.customers; ++c) {
            const PrintedSlip &printed = m_printed[size_t(c)];
            if (printed.number == 0) continue;
            const Customer &cu = m_customers[size_t(c)];
            const QString owner = QStringLiteral("sales-pc%1:%2").arg(hashOf(quint64(c), 0, 8) % 3 + 1).arg(m_operator);
            const QString number = QString::number(printed.number);
            for (int l = 0; l < 8; ++l) {
                rows << cu.code << cu.name << cu.regionName << m_operator << double(l + 1);
                if (l < printed.lines) {
                    const PrintedSlip::Line &line = printed.line[size_t(l)];
                    const Product &pr = m_products[size_t(line.product)];
                    rows << pr.name << numberText(line.kilograms) << number << numberText(pr.kgPerBag * line.price / 1000)
                         << numberText(line.amount) << numberText(line.bags) << pr.unit << pr.code << pr.spec;
                } else {
                    rows << blank << blank << blank << blank << blank << blank << blank << blank << blank;
                }
                rows << owner;
                rows.endRow();
            }
        }
        rows.finish();
    });
}

void MillGenerator::writeCounters()
{
    m_s.transaction([&] {
        m_s.insert(QStringLiteral("fphm"), {{QStringLiteral("zzhm"), QString::number(m_size.slips)},
                                            {QStringLiteral("rec_num"), int(m_size.lines % 300)}});
    });
}

} // namespace

MillSize millSize(int scale)
{
    if (scale < 1 || scale > kTopScale) throw DomainError(QStringLiteral("scale must be 1 to %1").arg(kTopScale));
    MillSize z;
    z.customers = 100 * scale;
    z.slips = 15000LL * scale;
    z.lines = 50000LL * scale;
    return z;
}

void generateMill(Session &s, const Clock &clock, const MillSize &size, const MillProgress &progress)
{
    MillGenerator(s, clock, size, progress).run();
}

} // namespace fm
