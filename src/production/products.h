#pragma once
// A product of the catalogue (a row of price: a feed product or a packaging
// material), and the one look-up by code every function uses: trimmed,
// letter case ignored.

#include "data/row.h"

#include <QString>
#include <optional>

namespace fm {

class Session;

struct Product {
    qint64 id = 0;
    QString code;     // cpdm as stored
    QString name;     // cpmc
    QString spec;     // cpgg
    double listPrice = 0; // kpjg, yuan per tonne (a packaging material's unit price)
    double costPrice = 0; // cbjg
    QString flag;     // cpbz: a digit for a feed category, a letter for packaging
    QString date;     // rq as "yyyy-mm-dd"

    static QString columns();
    static Product read(const Row &r);
};

std::optional<Product> findProduct(Session &s, const QString &code);

} // namespace fm
