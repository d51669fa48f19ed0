#pragma once
// The moving weighted-average price of a raw material's stock. Quantities in
// kilograms, prices in yuan per tonne, values in yuan.
//
// A price is an average only over something: where the quantity that would
// divide is not positive, the price stays what it was, and an amount that
// revalues the stock needs stock to revalue.

namespace fm::stockvalue {

// Below this many kilograms a stock counts as empty.
constexpr double kEmptyKilograms = 1e-6;

struct Stock {
    double kilograms = 0;
    double pricePerTonne = 0;
};

// q kilograms received at p yuan per tonne onto the stock.
Stock afterReceipt(Stock stock, double kilograms, double pricePerTonne);
// An amount (yuan) that revalues the stock without changing its quantity.
// The stock must not be empty (canRevalue).
Stock afterAmount(Stock stock, double amount);
bool canRevalue(Stock stock);
// A receipt of q0 kilograms worth v0 yuan replaced by q kilograms worth v:
// the stock's value loses v0 and gains v.
Stock afterCorrection(Stock stock, double formerKilograms, double formerValue, double kilograms, double value);

} // namespace fm::stockvalue
