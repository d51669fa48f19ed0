#pragma once
// Corrections of lines just entered in the sales window. Lines are targeted
// by their key; a return's register row, funds row and the stock follow the
// corrected line in the same transaction.

#include <QString>
#include <vector>

namespace fm {

class Session;

struct SaleLine {
    qint64 id = 0;
    QString khdm, khmc, region, cpdm, cpmc, cpgg, czydm, rq_1, rq_2, zzhm;
    double zznum = 0, zzjg = 0, zzje = 0, tlnum = 0, kpjg = 0, kpje = 0;
    int recnum = 0;
};

class Corrections {
public:
    Corrections(Session &s, QString operatorCode) : m_s(s), m_operator(std::move(operatorCode)) {}

    // The issue lines of an open slip.
    std::vector<SaleLine> slipLines(const QString &zzhm, const QString &customerCode, const QString &lineDate);
    // The return lines of a day entered by this operator (of one customer, or all).
    std::vector<SaleLine> returnLines(const QString &date, const QString &customerCode);
    SaleLine line(qint64 id);

    // New quantity (kg) and price of an issue line; its print row (this
    // workstation's row printLine of the customer) follows.
    void modifyIssueLine(qint64 id, double kilograms, double price, const QString &owner, int printLine);
    // Only the operator's own lines; the print row stays as a blank line.
    void deleteIssueLine(qint64 id, const QString &owner, int printLine);

    void modifyReturnLine(qint64 id, double kilograms, double price);
    void deleteReturnLine(qint64 id);

private:
    std::vector<SaleLine> lines(const QString &where, const QVariantList &values);
    // The register and funds rows written with a return line.
    qint64 returnRegisterRow(const SaleLine &l);
    qint64 returnFundsRow(const SaleLine &l);

    Session &m_s;
    QString m_operator;
};

} // namespace fm
