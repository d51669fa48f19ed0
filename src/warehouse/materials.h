#pragma once
// The raw-material register (ylpzk), the stock rows (ylhzk) and the supplier
// register (gyszlk), with the one look-up by code each: trimmed, letter case
// ignored.
//
// Units as the tables hold them: stock in kilograms at a moving average price
// in yuan per tonne; the register's price s0 in yuan per kilogram.

#include "data/row.h"

#include <QString>
#include <optional>
#include <vector>

namespace fm {

class Session;

// The class flags of a material ("原料等级").
namespace materialflag {
inline const QString bulk = QStringLiteral("1");   // 大料
inline const QString minor = QStringLiteral("0");  // 小料
inline const QString premix = QStringLiteral("2"); // 预混料
bool isValid(const QString &flag);
} // namespace materialflag

struct Material {
    qint64 id = 0;
    QString code;  // yldm
    QString name;  // ylmc
    QString flag;  // descip
    double price = 0; // s0, yuan per kilogram

    static QString columns();
    static Material read(const Row &r);
};

struct StockRow {
    qint64 id = 0;
    QString code;  // yldm
    QString name;  // ylmc
    QString flag;  // yldj
    double kilograms = 0;    // ylsl
    double pricePerTonne = 0; // yljg, the moving average
    QString month;  // rq_1, "yyyy-mm" of the last receipt
    QString moment; // rq_0 as text
    QString classFlag; // bz_1

    // The value of the stock in yuan.
    double value() const;

    static QString columns();
    static StockRow read(const Row &r);
};

struct Supplier {
    qint64 id = 0;
    QString code;    // gysdm
    QString name;    // gysmc
    QString address; // gysaddr
    QString phone;   // gystel
    QString flag;    // gysbz

    static QString columns();
    static Supplier read(const Row &r);
};

std::optional<Material> findMaterial(Session &s, const QString &code);
std::optional<Material> materialById(Session &s, qint64 id);
// Every registered material in code order (the register is small).
std::vector<Material> materials(Session &s);

std::optional<StockRow> findStock(Session &s, const QString &code);
std::optional<StockRow> stockById(Session &s, qint64 id);
// Every stock row in code order (one per material).
std::vector<StockRow> stockRows(Session &s);

std::optional<Supplier> findSupplier(Session &s, const QString &code);
std::optional<Supplier> supplierById(Session &s, qint64 id);
// Every supplier in code order.
std::vector<Supplier> suppliers(Session &s);

} // namespace fm
