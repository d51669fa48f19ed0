#pragma once
// A customer of the register (zxkh), and the one look-up by code that every
// function uses: the code is trimmed and matched without regard to case.

#include "data/row.h"

#include <QString>
#include <optional>

namespace fm {

class Session;

struct Customer {
    qint64 id = 0;
    QString code;   // khdm
    QString name;   // khmc
    QString region; // dq, the region's name
    QString flag;   // khbz: "0" new, "1" normal, "3" retail, "x"/"X" closed
    QString phone;  // teleph

    bool isClosed() const { return flag.compare(QLatin1String("x"), Qt::CaseInsensitive) == 0; }
    bool isRetail() const { return flag == QLatin1String("3"); }

    // The columns read() needs, for a SELECT list.
    static QString columns();
    static Customer read(const Row &r);
};

// The customer of a code; nullopt for an empty or unknown code.
std::optional<Customer> findCustomer(Session &s, const QString &code);

} // namespace fm
