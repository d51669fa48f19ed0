#include "sales/salesnumbers.h"

#include "common/money.h"
#include "common/numbertext.h"
#include "data/dberror.h"

#include <cmath>

namespace fm::sales {

namespace {

double parsed(const QString &text)
{
    double v = 0;
    if (!parseNumber(text, &v)) throw badNumber();
    return v;
}

} // namespace

double checkBags(double bags)
{
    if (!std::isfinite(bags) || bags <= 0 || bags > kMaxBags) throw badNumber();
    return bags;
}

double checkKilograms(double kilograms)
{
    if (!std::isfinite(kilograms) || kilograms <= 0 || kilograms > kMaxKilograms) throw badNumber();
    return kilograms;
}

double checkPrice(double price)
{
    if (!std::isfinite(price) || price < 0 || price > kMaxPrice) throw badNumber();
    return price;
}

double checkMoney(double amount)
{
    if (!std::isfinite(amount) || std::fabs(amount) > kMaxMoney) throw badNumber();
    return money::cents(amount);
}

double parseBags(const QString &text) { return checkBags(parsed(text)); }
double parseKilograms(const QString &text) { return checkKilograms(parsed(text)); }
double parsePrice(const QString &text) { return checkPrice(parsed(text)); }
double parseMoney(const QString &text) { return checkMoney(parsed(text)); }

} // namespace fm::sales
