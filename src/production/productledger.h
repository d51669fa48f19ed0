#pragma once
// The product in/out ledger of the sales catalog: a register of its own
// products (cpb), receipt lines (cprkb) and issue lines (cpckb). It is not
// linked to the feed product stock. Dates are stored "yyyy-mm-dd", so the
// day lists of every workstation agree.

#include "data/row.h"
#include "data/session.h"

#include <QDate>
#include <QString>
#include <optional>

namespace fm {

struct LedgerProduct {
    qint64 id = 0;
    QString code; // cpdm
    QString name; // cpmc
    QString spec; // gg
    QString remark; // sm
};

// The kinds of a ledger line, as chosen and as stored in bz.
enum class LedgerKind {
    FromProduction, // "生产入库" "1"
    Returned,       // "退料入库" "3"
    Sale,           // "销售出库" "2"
    Reprocess,      // "产品回机" "4"
};

class ProductLedger {
public:
    explicit ProductLedger(Session &s) : m_s(s) {}

    static constexpr int kCodeLength = 20;
    static constexpr int kNameLength = 28;
    static constexpr int kSpecLength = 3;
    static constexpr int kRemarkLength = 12;
    static constexpr double kMaxKilograms = 1e7;
    static inline const QString kIncomplete = QStringLiteral("输入资料不完整！");
    static inline const QString kProductIncomplete = QStringLiteral("产品资料不完整！");
    static inline const QString kExists = QStringLiteral("该产品代码或名称已经存在，不能增加！");
    static inline const QString kNoSuchCode = QStringLiteral("产品代码不存在！");

    static QString kindText(LedgerKind k); // the caption
    static QString kindFlag(LedgerKind k); // bz
    static bool isReceipt(LedgerKind k);

    // Every product by code.
    std::vector<LedgerProduct> products();
    // The same as rows (id, cpdm, cpmc, gg, sm) for a list.
    Rows productRows();
    // By code, trimmed, letter case ignored.
    std::optional<LedgerProduct> findByCode(const QString &code);
    // By name as chosen from the list.
    std::optional<LedgerProduct> findByName(const QString &name);

    // A receipt or issue line of kilograms of the product on that day.
    // Refused with "输入资料不完整！" without a known product; the quantity
    // must be a positive number in range.
    qint64 book(const QString &code, LedgerKind kind, const QDate &date, double kilograms);
    // The lines of one day, receipts or issues, by code.
    Rows dayLines(bool receipts, const QDate &date);

    // A new product: code, name and size required ("产品资料不完整！"); code
    // and name free ("该产品代码或名称已经存在，不能增加！").
    qint64 addProduct(const QString &code, const QString &name, const QString &spec, const QString &remark);
    // Deletes the product; its lines stay. False when no product has the code.
    bool deleteProduct(const QString &code);

private:
    Session &m_s;
};

} // namespace fm
