#pragma once
// The customer register: sales regions (dqk) and customers (zxkh).
//
// A customer code is the two-digit code of its region at creation followed
// by five digits. The customers of a region are found two ways, both in use:
// by code prefix (the register's own windows, settlement) and by the region
// name held in zxkh.dq (the hub, the query). They disagree once a customer
// has been moved to another region, since its code never changes.
//
// Every operation that writes runs in one transaction and checks everything
// before the first write; a refused rule throws DomainError with the text the
// clerk sees.

#include "accounts/customers.h"
#include "data/rowpager.h"

#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Session;

struct Region {
    qint64 id = 0;
    QString name; // dq
    QString code; // bh, two digits

    static Region read(const Row &r);
};

class CustomerRegister {
public:
    explicit CustomerRegister(Session &s) : m_s(s) {}

    // ---- regions ----------------------------------------------------------

    // Every region in the order of its code.
    std::vector<Region> regions();
    // By name (trimmed, letter case ignored).
    std::optional<Region> region(const QString &name);

    // Checks a typed region name as Enter in "地区名称" does and returns the
    // code it would get now. Throws the rule's message.
    QString checkNewRegion(const QString &typed);
    // Adds the region with the first free code, atomically: two workstations
    // never get the same code. Not to be called inside a transaction.
    Region addRegion(const QString &typed);

    // Sum of the actual arrears (khzqk.sjqk) booked under the region name.
    double regionArrears(const QString &name);
    // Whether the region may be deleted: it exists, no customer belongs to it
    // (by code prefix or by name) and its arrears are within ±0.001. Returns
    // the arrears for the confirmation question.
    double checkRegionDeletable(const QString &name);
    // Deletes the region after checking it again; its customers are untouched
    // because there are none.
    void deleteRegion(const QString &name);

    // ---- customers --------------------------------------------------------

    std::vector<Customer> allCustomers();
    // Every customer, for a list read a page at a time (the columns of
    // Customer::columns(), by code).
    RowQuery allCustomersQuery() const;
    // Customers whose code starts with the region code.
    std::vector<Customer> customersByCode(const QString &regionCode);
    // Customers whose zxkh.dq is the region name.
    std::vector<Customer> customersByName(const QString &regionName);
    // Customers of the region (by name) that are not closed ("x"/"X").
    std::vector<Customer> activeCustomers(const QString &regionName);

    // By code (trimmed, letter case ignored).
    std::optional<Customer> customer(const QString &code);
    std::optional<Customer> customerById(qint64 id);

    // The checks of Enter in "客户代码(5位数字)：": the full code (region code
    // + the typed five digits) must be new, then five digits long.
    void checkNewCustomerCode(const QString &regionCode, const QString &typed);
    // "确认" in "增加客户": repeats every check and appends the customer with
    // flag "0" to the region given by id.
    Customer addCustomer(qint64 regionId, const QString &name, const QString &typedCode);

    // Sets the status flag ("0", "1", "3", "x") of the customer given by id.
    void setFlag(qint64 customerId, const QString &flag);

    // Renames the customer and/or moves it to another (existing) region. The
    // register row and the account tables that carry the name and region
    // (khtl, sale1, khjs_mx, khzj, khzqk, khprice, khjggl) change together;
    // the settlement totals (khjs), the cost detail and the archive keep the
    // name they were written with. The code never changes.
    void rename(const QString &code, const QString &newName, const QString &newRegion);

    // "客户调整": refuses a customer with any arrears record (khzqk row), even
    // one of zero; otherwise deletes the customer and its prices.
    void deleteCustomerWithoutRecords(qint64 customerId);

    // Sum of the customer's actual arrears (khzqk.sjqk).
    double customerArrears(const QString &code);
    // "客户地区删除": the customer may go when its summed arrears are within
    // ±0.001. Returns them for the confirmation question.
    double checkCustomerDeletable(qint64 customerId);
    // Deletes the customer and its prices after checking again.
    void deleteCustomer(qint64 customerId);

    // The price rows (khprice) of the customers whose code starts with
    // codeStart (a region code or a whole customer code), by customer and
    // product: khdm, khmc, cpdm, cpmc, cpgg, kpjg, cpbz, rq. A region holds
    // tens of thousands of them, so the list is read a page at a time.
    RowQuery pricesQuery(const QString &codeStart) const;

    // Arrears as the deletion messages show them: currency sign, thousands
    // separators, 3 decimals (10 significant digits at most).
    static QString amountText(double amount);

    static constexpr int kRegionNameMinBytes = 8;
    static constexpr int kRegionNameMaxBytes = 10;
    static constexpr int kCustomerNameMaxLength = 12;
    static constexpr int kCustomerNumberLength = 5;
    static constexpr double kArrearsTolerance = 0.001;

private:
    QString regionNameChecked(const QString &typed);
    QString freeRegionCode();
    bool anyCustomerCoded(const QString &regionCode);
    bool hasCustomers(const Region &r);
    double checkRegionDeletable(const Region &r);
    double checkCustomerDeletable(const Customer &c);
    void deleteCustomerRows(const Customer &c);

    Session &m_s;
};

} // namespace fm
