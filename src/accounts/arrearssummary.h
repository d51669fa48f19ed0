#pragma once
// The arrears summary ("客户欠款汇总"): each customer's month records up to a
// cut-off month accumulated into the working table khqk_cx, for every
// customer (of every region), one region or one customer. The rebuild and
// the reading of its result are one transaction, so another workstation's
// summary cannot slip in between; the table is shared and only ever holds
// the latest summary.

#include <QDate>
#include <QString>
#include <vector>

namespace fm {

class Session;

struct ArrearsScope {
    enum class Kind { All, Region, Customer };
    Kind kind = Kind::All;
    QString regionName;   // Region, Customer
    QString regionCode;   // Region: its customers are those whose code starts with it
    QString customerCode; // Customer
    QString customerName; // Customer

    static ArrearsScope all() { return {}; }
    static ArrearsScope region(const QString &name, const QString &code) { return {Kind::Region, name, code, {}, {}}; }
    static ArrearsScope customer(const QString &region, const QString &code, const QString &name)
    {
        return {Kind::Customer, region, {}, code, name};
    }
};

// A customer's row of the summary.
struct ArrearsLine {
    qint64 id = 0;
    QString code, name, region;
    double receivable = 0;       // Σ ysje
    double received = 0;         // Σ sjje
    double arrears = 0;          // Σ sjqk  "实际欠款"
    double arrearsBeforeFee = 0; // Σ sjzq  "实际总欠"
    double fee = 0;              // tgf of the latest month  "当月推广费"
};

struct ArrearsResult {
    std::vector<ArrearsLine> lines; // the customers that owe or are owed a fee, by code
    double total = 0;               // Σ arrears of the lines
    // "欠款总计：" (万元), of the total as a money column holds it.
    double totalInTenThousands() const;
};

class ArrearsSummary {
public:
    explicit ArrearsSummary(Session &s) : m_s(s) {}

    // "截止年月：" must be a month "yyyy-mm".
    static QString checkMonth(const QString &typed);

    // Rebuilds khqk_cx for the scope from the month records up to the cut-off
    // month (its own month included), stamped with today, and returns the
    // customers the summary shows. Every customer of the scope gets its row,
    // zeros when it has no month record; none when no month record at all
    // lies up to the cut-off.
    ArrearsResult rebuild(const ArrearsScope &scope, const QString &cutOff, const QDate &today);

private:
    Session &m_s;
};

} // namespace fm
