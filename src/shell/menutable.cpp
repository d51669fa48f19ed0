#include "shell/menutable.h"

#include "shell/functions.h"

#include <QHash>

namespace fm {

namespace {

constexpr Fn kNone = Fn(0);

struct Row {
    int level;
    const char *caption;
    Fn function;
    int position;       // the rights position, as the rights string counts it
    const char *window; // caption of the window it opens
    bool hidden = false; // a separator that is not shown
};

const Row kRows[] = {
    {0, "生产管理", kNone, 1, nullptr},
    {1, "生产产品管理", kNone, 0, nullptr},
    {2, "产品入/出管理", Fn::ProductInOut, 0, "产品入/出库管理"},
    {2, "产品报表管理", Fn::ProductReports, 0, nullptr},
    {1, "产品库存管理 ", Fn::ProductStock, 2, "产品库存管理"},
    {1, "生产原料汇总", Fn::MaterialUseSummary, 3, "生产原料汇总"},
    {1, "-", kNone, 0, nullptr},
    {1, "杂回料输入", Fn::SundryReturns, 4, "杂回料输入"},
    {1, "结存数输入", Fn::ShiftBalance, 5, "生产结存数输入"},
    {1, "包装物输入", Fn::Packaging, 6, "产品包装"},
    {1, "生产成本输入", Fn::ProductionCost, 7, "生产成本输入"},
    {1, "生产工人工资  ", Fn::Wages, 8, "生产工人工资"},
    {1, "-", kNone, 0, nullptr, true}, // hidden separator
    {1, "回机查询", Fn::ReprocessQuery, 9, "产品回机查询"},
    {1, "杂料库存查询", Fn::SundryStockQuery, 10, "杂料回机浏览"},
    {1, "生产配方查询", Fn::FormulaQueryProduction, 11, "查询生产配方"},
    {1, "产品库存查询", Fn::ProductStockQuery, 12, "产品查询"},
    {1, "车间生产查询", Fn::WorkshopQuery, 13, "车间生产查询    说明：生产成本单位：元/吨"},
    {1, "原料耗用查询", Fn::MaterialUseQuery, 14, "生产原料耗用查询"},
    {1, "-", kNone, 0, nullptr},
    {1, "生产成本汇总", Fn::CostSummary, 15, "生产成本汇总---财务报表生成"},

    {0, "销售管理", kNone, 16, nullptr},
    {1, "客户销售 ", Fn::Sales, 17, "饲料销售管理"},
    {1, "-", kNone, 0, nullptr},
    {1, "周转号初始化  ", Fn::TurnoverInit, 18, "周转号初始化"},
    {1, "客户密码修改  ", Fn::PasswordChange, 19, "客户密码修改"},

    {0, "数据处理", kNone, 20, nullptr},
    {1, "客户数据处理  ", kNone, 21, nullptr},
    {2, "销售数据处理", Fn::SalesProcessing, 22, "客户销售数据处理"},
    {2, "客户结算打印", Fn::SettlementPrint, 23, "客户结算打印"},
    {2, "-", kNone, 0, nullptr},
    {2, "客户对帐单打印", Fn::StatementPrint, 24, "客户对帐明细单打印"},
    {2, "客户欠款汇总打印", Fn::ArrearsPrint, 25, "客户欠款汇总打印"},
    {1, "成本数据处理  ", kNone, 26, nullptr},
    {2, " 成本数据处理 ", Fn::CostProcessing, 27, "成本数据处理"},
    {2, " 客户成本打印 ", Fn::CostPrint, 28, "客户成本结算打印"},
    {1, "-", kNone, 0, nullptr},
    {1, "财务报表处理", Fn::FinancialReports, 29, "产品财务汇总报表处理"},
    {1, "客户欠款处理", Fn::ArrearsSummary, 30, "客户欠款汇总"},
    {1, "-", kNone, 0, nullptr},
    {1, "供应商欠款处理", Fn::SupplierFunds, 0, "供应商资金处理"},

    {0, "数据查询", kNone, 31, nullptr},
    {1, "销售数据查询  ", Fn::SalesQuery, 32,
     "本窗口为本期数据查询，历史数据查询请进入“历史数据”查询。。。。。。"},
    {1, "客户历史价格查询", Fn::CustomerPriceHistory, 33, "客户价格查询"},
    {1, "历史成本价格查询", Fn::CostPriceHistory, 34, "成本数据查询"},
    {1, "-", kNone, 0, nullptr},
    {1, "客户资料查询  ", Fn::CustomerQuery, 35, "客户资料查询"},
    {1, "公司人员查询  ", Fn::StaffQuery, 36, "公司人员查询"},
    {1, "供应商欠款查询", Fn::SupplierArrearsQuery, 37, "供应商欠款查询"},
    {1, "-", kNone, 0, nullptr},
    {1, "产品价格查询  ", Fn::ProductPriceQuery, 38, "产品价格查询"},
    {1, "公司原料查询", Fn::MaterialQuery, 39, "原料查询"},

    {0, "数据管理", kNone, 40, nullptr},
    {1, "客户价格过滤     ", Fn::PriceFilter, 41, "客户价格过滤——-过滤出所有低于成本价格销售的客户及产品名称"},
    {1, "数据归档(整理)", Fn::Archiving, 42, "数据归档"},
    {1, "-", kNone, 0, nullptr},
    {1, "客户销售数据修改", Fn::HistoryCorrection, 43, "历史数据修改"},
    {1, "历史成本价格修改", Fn::CostPriceCorrection, 44, "成本价格修改--历史数据"},
    {1, "-", kNone, 0, nullptr},
    {1, "生产颗粒参数管理", Fn::ProductionParameters, 45, "系统参数修改"},

    {0, "系统管理", kNone, 46, nullptr},
    {1, "公司人员管理  ", kNone, 47, nullptr},
    {2, "公司高级人员", Fn::SeniorStaff, 48, "公司高级人员管理"},
    {2, "公司生产人员", Fn::ProductionStaff, 49, "公司生产人员管理"},
    {1, "公司客户管理  ", Fn::Customers, 50, "客户管理"},
    {1, "人员权限设置  ", Fn::Rights, 53, "人员权限设置"},
    {1, "修改记录查询", Fn::ChangeLog, 53, "修改记录查询"},
    {1, "供应商管理", Fn::Suppliers, 54, "供应商管理"},
    {1, "-", kNone, 0, nullptr},
    {1, "产品品种管理  ", Fn::ProductCatalogue, 55, "产品品种管理"},
    {1, "产品价格管理  ", kNone, 56, nullptr},
    {2, " 产品牌价修改 ", Fn::ListPrices, 57, "产品价格修改"},
    {2, " 客户价格修改 ", Fn::CustomerPrices, 58, "客户产品价格修改"},
    {1, "-", kNone, 0, nullptr},
    {1, "系统参数修正", Fn::CostPriceFix, 59, "成本价格修正"},

    {0, "配方管理", kNone, 60, nullptr},
    {1, "配方计算 ", Fn::FormulaCalculation, 61, "配方（一）1."},
    {1, "配方刷新", Fn::FormulaRefresh, 0, "配方刷新"},
    {1, "-", kNone, 0, nullptr},
    {1, "原料修改 ", Fn::MaterialFactors, 62, "原料因素修改"},
    {1, "标准修改", Fn::NutrientStandards, 63, "营养因素标准修改"},
    {1, "-", kNone, 0, nullptr},
    {1, "配方查询", Fn::FormulaDisplay, 64, "配方显示"},

    {0, "仓储管理", kNone, 65, nullptr},
    {1, "原料进出", Fn::MaterialInOut, 66, "原料管理"},
    {1, "包装物入库", Fn::PackagingReceipts, 67, "包装物管理"},
    {1, "-", kNone, 0, nullptr},
    {1, "增减原料品种", Fn::MaterialAdd, 68, "原料增加"},
    {1, "-", kNone, 0, nullptr},
    {1, "原料查询", Fn::MaterialQueryWarehouse, 69, "原料查询"},
    {1, "原料修正", Fn::MaterialCorrection, 70, "原料修正"},

    {0, "退    出", kNone, 0, nullptr},
};

const char *const kRightsCaptions[kRightsPositions] = {
    "生产管理(1)", "车间生产", "生产原料汇总", "杂回料输入", "结存数输入", "包装物输入", "生产成本输入",
    "生产工人工资", "回机查询", "杂料库存查询", "生产配方查询", "产品库存查询", "车间生产查询", "原料耗用查询",
    "生产成本汇总", "销售管理(2)", "客户销售", "周转号初始化", "客户密码修改", "数据处理(3)", "客户数据处理",
    "销售数据处理", "客户结算打印", "客户对帐单打印", "客户欠款汇总打印", "成本数据处理", "成本数据处理",
    "客户数据打印", "财务报表处理", "客户欠款查询", "数据查询(4)", "销售数据查询", "客户历史价格查询",
    "历史成本价格查询", "客户资料查询", "公司人员查询", "供应商欠款查询", "产品价格查询", "公司原料查询",
    "数据管理(5)", "客户价格过滤     ", "数据归档", "客户销售数据修改", "历史成本价格修改", "生产颗粒参数管理",
    "系统管理(6)", "公司人员管理", "公司高级人员", "公司生产人员", "公司客户管理", "增加地区客户",
    "地区客户修改", "人员权限设置", "供应商管理", "产品品种管理(30)", "产品价格管理(31)", "产品牌价修改(32)",
    "客户价格修改(33)", "系统参数修正", "配方管理(34)", "配方计算", "原料修改", "标准修改", "配方查询",
    "仓储管理(35)", "原料进出", "包装物入库", "增减原料品种", "原料查询", "成品管理(37)",
};

QString rightTrimmed(const QString &s)
{
    int n = s.size();
    while (n > 0 && s.at(n - 1).isSpace()) --n;
    return s.left(n);
}

} // namespace

const std::vector<MenuEntry> &menuTable()
{
    static const std::vector<MenuEntry> table = [] {
        std::vector<MenuEntry> t;
        for (const Row &r : kRows) {
            MenuEntry e;
            e.level = r.level;
            e.caption = QString::fromUtf8(r.caption);
            e.function = number(r.function);
            e.hidden = r.hidden;
            e.position = r.position;
            t.push_back(e);
        }
        for (size_t i = 0; i + 1 < t.size(); ++i)
            t[i].submenu = t[i + 1].level > t[i].level;
        return t;
    }();
    return table;
}

QString functionWindowCaption(int function)
{
    static const QHash<int, QString> captions = [] {
        QHash<int, QString> h;
        for (const Row &r : kRows)
            if (r.function != kNone && r.window) h.insert(number(r.function), QString::fromUtf8(r.window));
        return h;
    }();
    return captions.value(function);
}

const std::vector<QString> &rightsCaptions()
{
    static const std::vector<QString> captions = [] {
        std::vector<QString> c;
        for (const char *s : kRightsCaptions) c.push_back(QString::fromUtf8(s));
        return c;
    }();
    return captions;
}

bool rightGranted(const QString &rights, int position)
{
    const QString r = rightTrimmed(rights);
    const QChar c = position >= 1 && position <= r.size() ? r.at(position - 1) : QChar();
    if (position == number(RightsPosition::ReprocessQuery) || position == number(RightsPosition::SalesMenu))
        return c == QLatin1Char('1');
    return c != QLatin1Char('0');
}

std::vector<bool> effectiveRights(const QString &rights)
{
    std::vector<bool> out(kRightsPositions);
    for (int p = 1; p <= kRightsPositions; ++p) out[p - 1] = rightGranted(rights, p);
    return out;
}

QString composeRights(const QString &stored, const std::vector<bool> &granted)
{
    QString out = stored.left(kRightsPositions);
    while (out.size() < kRightsPositions) out += QLatin1Char('0');
    for (int p = 1; p <= kRightsPositions; ++p)
        out[p - 1] = p <= int(granted.size()) && granted[p - 1] ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

std::vector<bool> menuEnabled(const QString &rights, bool gate, bool operatorFound)
{
    const std::vector<MenuEntry> &t = menuTable();
    std::vector<bool> on(t.size(), true);
    QString top;
    for (size_t i = 0; i < t.size(); ++i) {
        const MenuEntry &e = t[i];
        if (e.level == 0) top = e.caption;
        if (e.caption == QStringLiteral("退    出")) continue; // always offered
        if (gate) {
            // Only "销售管理" ▸ "周转号初始化  " while no turnover number exists.
            if (e.level == 0) on[i] = e.caption == QStringLiteral("销售管理");
            else on[i] = e.function == number(Fn::TurnoverInit) || e.caption == QLatin1String("-");
            continue;
        }
        if (!operatorFound) {
            on[i] = e.level != 0;
            continue;
        }
        on[i] = e.position == 0 || rightGranted(rights, e.position);
    }
    return on;
}

std::vector<int> reachableFunctions(const std::vector<bool> &enabled)
{
    const std::vector<MenuEntry> &t = menuTable();
    std::vector<int> out;
    bool parentOn[3] = {true, true, true};
    for (size_t i = 0; i < t.size(); ++i) {
        const MenuEntry &e = t[i];
        const bool on = enabled[i] && (e.level == 0 || parentOn[e.level - 1]);
        parentOn[e.level] = on;
        if (on && e.function > 0) out.push_back(e.function);
    }
    return out;
}

} // namespace fm
