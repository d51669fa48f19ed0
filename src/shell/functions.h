#pragma once
// The function numbers of the main menu, by name. A window that opens
// another function's window names it here rather than by its number.

namespace fm {

enum class Fn : int {
    ProductInOut = 1,
    ProductReports = 2,
    ProductStock = 3,
    MaterialUseSummary = 4,
    SundryReturns = 5,
    ProductStockQuery = 6,
    FormulaQueryProduction = 7,
    MaterialUseQuery = 8,
    Sales = 10,
    TurnoverInit = 11,
    PasswordChange = 12,
    SalesProcessing = 13,
    SettlementPrint = 14,
    StatementPrint = 15,
    ArrearsPrint = 16,
    CostProcessing = 17,
    CostPrint = 18,
    FinancialReports = 19,
    ArrearsSummary = 20,
    SupplierFunds = 21,
    SalesQuery = 22,
    CustomerPriceHistory = 23,
    CostPriceHistory = 24,
    CustomerQuery = 25,
    StaffQuery = 26,
    SupplierArrearsQuery = 27,
    ProductPriceQuery = 28,
    MaterialQuery = 29,
    PriceFilter = 30,
    Archiving = 31,
    HistoryCorrection = 32,
    CostPriceCorrection = 33,
    ProductionParameters = 34,
    SeniorStaff = 35,
    ProductionStaff = 36,
    Customers = 37,
    Rights = 38,
    Suppliers = 39,
    ProductCatalogue = 40,
    ListPrices = 41,
    CustomerPrices = 42,
    CostPriceFix = 43,
    FormulaCalculation = 44,
    FormulaRefresh = 45,
    MaterialFactors = 46,
    NutrientStandards = 47,
    FormulaDisplay = 48,
    MaterialInOut = 49,
    PackagingReceipts = 50,
    MaterialAdd = 51,
    MaterialQueryWarehouse = 52,
    MaterialCorrection = 53,
    ReprocessQuery = 54,
    SundryStockQuery = 55,
    ShiftBalance = 56,
    Packaging = 57,
    ProductionCost = 58,
    Wages = 59,
    WorkshopQuery = 60,
    CostSummary = 61,
    ChangeLog = 62, // the change log query, beside the rights editor
};

constexpr int number(Fn f) { return static_cast<int>(f); }

// Rights positions that are checked beyond the menu's own.
enum class RightsPosition : int {
    ReprocessQuery = 9,      // "回机查询": granted only by "1"
    SalesMenu = 16,          // "销售管理": granted only by "1"
    CustomerFlagChange = 52, // "客户标志修改" inside the customer register
    ProductCatalogue = 55,   // "客户产品" from the sales window
};

constexpr int number(RightsPosition p) { return static_cast<int>(p); }

} // namespace fm
