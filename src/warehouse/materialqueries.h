#pragma once
// The warehouse's questions ("原料查询"), answered without changing data:
// receipts and issues over a period (one material or all), receipt amounts
// owed to suppliers, the stock with its value, the register and the
// packaging items. Lists come as queries a grid pages through; their totals
// are summed by the database over the same rows.

#include "data/rowpager.h"
#include "reports/reportdocument.h"
#include "warehouse/materialdesk.h"
#include "warehouse/materials.h"

#include <QDate>
#include <QString>
#include <vector>

namespace fm {

class Session;
class Clock;

// Totals as the query tab shows them.
struct QueryTotals {
    double kilograms = 0; // Σ ylsl
    double amount = 0;    // Σ sjje (receipts) or Σ ylje (issues)
    QString tonnesText() const;     // kilograms ÷ 1000
    QString amountText() const;     // yuan ÷ 10 000
};

struct ReceiptFundTotals {
    double payable = 0; // Σ sjje
    double paid = 0;    // Σ sfje
    double owed = 0;    // Σ sqje
    QString payableText() const;
    QString paidText() const;
    QString owedText() const;
};

class MaterialQueries {
public:
    MaterialQueries(Session &s, const Clock &clock) : m_s(s), m_clock(clock) {}

    // Receipt lines from .. to (both included), of one material (its code)
    // or all (empty code).
    RowQuery receipts(const QString &code, QDate from, QDate to) const;
    QueryTotals receiptTotals(const QString &code, QDate from, QDate to);
    // Issue lines of one kind (material returns never among them).
    RowQuery issues(const QString &code, QDate from, QDate to, IssueKind kind) const;
    QueryTotals issueTotals(const QString &code, QDate from, QDate to, IssueKind kind);
    // Receipt lines of one supplier (empty: every supplier) from .. to.
    RowQuery receiptFunds(const QString &supplierCode, QDate from, QDate to) const;
    ReceiptFundTotals receiptFundTotals(const QString &supplierCode, QDate from, QDate to);

    // Stock rows with a quantity, of one class flag or (empty) all.
    std::vector<StockRow> stock(const QString &flag);
    // Every stock row.
    std::vector<StockRow> allStock();
    // "原料库存打印" over the rows shown.
    ReportDocument stockSheet(const std::vector<StockRow> &rows) const;

    // The register with every factor, and the packaging items (flags A to F).
    RowQuery materialRegister() const;
    RowQuery packagingItems() const;

private:
    Session &m_s;
    const Clock &m_clock;
};

} // namespace fm
