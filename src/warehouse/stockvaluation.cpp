#include "warehouse/stockvaluation.h"

#include "common/money.h"

namespace fm::stockvalue {

namespace {

double valueOf(Stock s)
{
    return money::lineAmount(s.pricePerTonne, s.kilograms);
}

// The price of a value spread over a quantity; the old price where there is
// no quantity to spread it over.
double priceOf(double value, double kilograms, double formerPrice)
{
    if (kilograms <= kEmptyKilograms) return formerPrice;
    return value * 1000 / kilograms;
}

} // namespace

Stock afterReceipt(Stock stock, double kilograms, double pricePerTonne)
{
    const double q = stock.kilograms + kilograms;
    const double value = valueOf(stock) + money::lineAmount(pricePerTonne, kilograms);
    return Stock{q, priceOf(value, q, stock.pricePerTonne)};
}

bool canRevalue(Stock stock)
{
    return stock.kilograms > kEmptyKilograms;
}

Stock afterAmount(Stock stock, double amount)
{
    return Stock{stock.kilograms, priceOf(valueOf(stock) + amount, stock.kilograms, stock.pricePerTonne)};
}

Stock afterCorrection(Stock stock, double formerKilograms, double formerValue, double kilograms, double value)
{
    const double q = stock.kilograms - formerKilograms + kilograms;
    return Stock{q, priceOf(valueOf(stock) - formerValue + value, q, stock.pricePerTonne)};
}

} // namespace fm::stockvalue
