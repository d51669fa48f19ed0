#pragma once
// "历史数据查询": sales or returns totalled over the archived lines
// (his_sale1) and the current period's (sale1) together, by region, customer,
// product category and date range.
//
// The chosen conditions are joined with AND (a region with a category too);
// the date range is always required, so every statement searches an index
// on the date beside the region, the customer or the category.

#include "data/row.h"
#include "data/rowpager.h"

#include <QString>

namespace fm {

class Session;

struct HistoryQuery {
    // The region chosen: its code, or "00" for "所有地区"; empty when none.
    QString regionCode;
    QString regionName; // as the lines carry it
    QString customerCode;
    QString categoryFlag;
    bool returns = false; // "退料": only return lines, totalled as returns
    QString from, to;

    static inline const QString kAllRegions = QStringLiteral("00");
};

struct HistoryTotals {
    qint64 historyRows = 0, currentRows = 0;
    double kilograms = 0; // net of returns ("销售"), or returned ("退料")
    double amount = 0;

    double tonnes() const { return kilograms / 1000; }
    double tenThousandYuan() const { return amount / 10000; }
};

class HistoryQueries {
public:
    explicit HistoryQueries(Session &s) : m_s(s) {}

    // Refuses a query with nothing chosen and no dates ("必须至少选择一个
    // 条件！", Refused), then one with a date missing ("请输入日期!",
    // Incomplete) or malformed; returns the query with its dates as stored.
    static HistoryQuery checked(const HistoryQuery &q);

    // The lines of the archive (history) or of the current period, by date.
    RowQuery lines(const HistoryQuery &q, bool history) const;
    // Over both tables.
    HistoryTotals totals(const HistoryQuery &q);

private:
    Session &m_s;
};

} // namespace fm
