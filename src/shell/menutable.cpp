#include "shell/menutable.h"

#include <QHash>

namespace fm {

namespace {

struct Row {
    int level;
    const char *caption;
    int function;
    int position;
    const char *window;
};

const Row kRows[] = {
    {0, "生产管理", 0, 1, nullptr},
    {1, "生产产品管理", 0, 0, nullptr},
    {2, "产品入/出管理", 1, 0, "产品入/出库管理"},
    {2, "产品报表管理", 2, 0, nullptr},
    {1, "产品库存管理 ", 3, 2, "产品库存管理"},
    {1, "生产原料汇总", 4, 3, "生产原料汇总"},
    {1, "-", 0, 0, nullptr},
    {1, "杂回料输入", 5, 4, "杂回料输入"},
    {1, "结存数输入", 56, 5, "生产结存数输入"},
    {1, "包装物输入", 57, 6, "产品包装"},
    {1, "生产成本输入", 58, 7, "生产成本输入"},
    {1, "生产工人工资  ", 59, 8, "生产工人工资"},
    {1, "-", -1, 0, nullptr}, // hidden separator
    {1, "回机查询", 54, 9, "产品回机查询"},
    {1, "杂料库存查询", 55, 10, "杂料回机浏览"},
    {1, "生产配方查询", 7, 11, "查询生产配方"},
    {1, "产品库存查询", 6, 12, "产品查询"},
    {1, "车间生产查询", 60, 13, "车间生产查询    说明：生产成本单位：元/吨"},
    {1, "原料耗用查询", 8, 14, "生产原料耗用查询"},
    {1, "-", 0, 0, nullptr},
    {1, "生产成本汇总", 61, 15, "生产成本汇总---财务报表生成"},

    {0, "销售管理", 0, 16, nullptr},
    {1, "客户销售 ", 10, 17, "饲料销售管理"},
    {1, "-", 0, 0, nullptr},
    {1, "周转号初始化  ", 11, 18, "周转号初始化"},
    {1, "客户密码修改  ", 12, 19, "客户密码修改"},

    {0, "数据处理", 0, 20, nullptr},
    {1, "客户数据处理  ", 0, 21, nullptr},
    {2, "销售数据处理", 13, 22, "客户销售数据处理"},
    {2, "客户结算打印", 14, 23, "客户结算打印"},
    {2, "-", 0, 0, nullptr},
    {2, "客户对帐单打印", 15, 24, "客户对帐明细单打印"},
    {2, "客户欠款汇总打印", 16, 25, "客户欠款汇总打印"},
    {1, "成本数据处理  ", 0, 26, nullptr},
    {2, " 成本数据处理 ", 17, 27, "成本数据处理"},
    {2, " 客户成本打印 ", 18, 28, "客户成本结算打印"},
    {1, "-", 0, 0, nullptr},
    {1, "财务报表处理", 19, 29, "产品财务汇总报表处理"},
    {1, "客户欠款处理", 20, 30, "客户欠款汇总"},
    {1, "-", 0, 0, nullptr},
    {1, "供应商欠款处理", 21, 0, "供应商资金处理"},

    {0, "数据查询", 0, 31, nullptr},
    {1, "销售数据查询  ", 22, 32,
     "本窗口为本期数据查询，历史数据查询请进入“历史数据”查询。。。。。。"},
    {1, "客户历史价格查询", 23, 33, "客户价格查询"},
    {1, "历史成本价格查询", 24, 34, "成本数据查询"},
    {1, "-", 0, 0, nullptr},
    {1, "客户资料查询  ", 25, 35, "客户资料查询"},
    {1, "公司人员查询  ", 26, 36, "公司人员查询"},
    {1, "供应商欠款查询", 27, 37, "供应商欠款查询"},
    {1, "-", 0, 0, nullptr},
    {1, "产品价格查询  ", 28, 38, "产品价格查询"},
    {1, "公司原料查询", 29, 39, "原料查询"},

    {0, "数据管理", 0, 40, nullptr},
    {1, "客户价格过滤     ", 30, 41, "客户价格过滤——-过滤出所有低于成本价格销售的客户及产品名称"},
    {1, "数据归档(整理)", 31, 42, "数据归档"},
    {1, "-", 0, 0, nullptr},
    {1, "客户销售数据修改", 32, 43, "历史数据修改"},
    {1, "历史成本价格修改", 33, 44, "成本价格修改--历史数据"},
    {1, "-", 0, 0, nullptr},
    {1, "生产颗粒参数管理", 34, 45, "系统参数修改"},

    {0, "系统管理", 0, 46, nullptr},
    {1, "公司人员管理  ", 0, 47, nullptr},
    {2, "公司高级人员", 35, 48, "公司高级人员管理"},
    {2, "公司生产人员", 36, 49, "公司生产人员管理"},
    {1, "公司客户管理  ", 37, 50, "客户管理"},
    {1, "人员权限设置  ", 38, 53, "人员权限设置"},
    {1, "供应商管理", 39, 54, "供应商管理"},
    {1, "-", 0, 0, nullptr},
    {1, "产品品种管理  ", 40, 55, "产品品种管理"},
    {1, "产品价格管理  ", 0, 56, nullptr},
    {2, " 产品牌价修改 ", 41, 57, "产品价格修改"},
    {2, " 客户价格修改 ", 42, 58, "客户产品价格修改"},
    {1, "-", 0, 0, nullptr},
    {1, "系统参数修正", 43, 59, "成本价格修正"},

    {0, "配方管理", 0, 60, nullptr},
    {1, "配方计算 ", 44, 61, "配方（一）1."},
    {1, "配方刷新", 45, 0, "配方刷新"},
    {1, "-", 0, 0, nullptr},
    {1, "原料修改 ", 46, 62, "原料因素修改"},
    {1, "标准修改", 47, 63, "营养因素标准修改"},
    {1, "-", 0, 0, nullptr},
    {1, "配方查询", 48, 64, "配方显示"},

    {0, "仓储管理", 0, 65, nullptr},
    {1, "原料进出", 49, 66, "原料管理"},
    {1, "包装物入库", 50, 67, "包装物管理"},
    {1, "-", 0, 0, nullptr},
    {1, "增减原料品种", 51, 68, "原料增加"},
    {1, "-", 0, 0, nullptr},
    {1, "原料查询", 52, 69, "原料查询"},
    {1, "原料修正", 53, 70, "原料修正"},

    {0, "退    出", 0, 0, nullptr},
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
            e.function = r.function > 0 ? r.function : 0;
            e.hidden = r.function < 0;
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
            if (r.function > 0 && r.window) h.insert(r.function, QString::fromUtf8(r.window));
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
    if (position == 9 || position == 16) return c == QLatin1Char('1');
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
            else on[i] = e.function == kTurnoverInitFunction || e.caption == QLatin1String("-");
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
