#include "formulation/factors.h"

#include <QStringList>

namespace fm {

namespace {

struct FactorText {
    const char *name;
    const char *materialLabel;
};

// Names as stored with results, and the captions of the material factor
// window (the energies keep their own spelling of the units there).
const FactorText kTexts[kFormulaFactors] = {
    {"价格", ""},
    {"干物质", ""},
    {"粗蛋白", "粗蛋白："},
    {"粗脂肪", "粗脂肪："},
    {"粗纤维", "粗纤维："},
    {"无氮浸出物", "无氮浸出物："},
    {"粗灰粉", "粗灰粉："},
    {"钙", "钙："},
    {"磷", "磷："},
    {"植酸磷", "植酸磷："},
    {"猪消化能(Mj/kg)", "猪消化能(MJ/Kg):"},
    {"猪消化能(Mca/kg)", "猪消化能(Mca/Kg):"},
    {"鸡代谢能(Mj/kg)", "鸡代谢能(MJ/Kg):"},
    {"鸡代谢能(Mca/kg)", "鸡代谢能(Mca/Kg):"},
    {"奶牛产奶净能(Mj/kg)", "奶牛产奶净能(MJ/kg):"},
    {"奶牛产奶净能(Mca/kg)", "奶牛产奶净能(Mca/kg):"},
    {"肉牛增重净能(Mj/kg)", "肉牛增重净能(MJ/Kg):"},
    {"肉牛增重净能(Mca/kg)", "肉牛增重净能(Mca/Kg):"},
    {"羊消化能(Mj/kg)", "羊消化能(MJ/Kg):"},
    {"羊消化能(Mca/kg)", "羊消化能(Mca/Kg):"},
    {"钠", "钠："},
    {"钾", "钾："},
    {"铁", "铁："},
    {"铜", "铜："},
    {"锰", "锰："},
    {"锌", "锌："},
    {"硒", "硒："},
    {"苏氨酸", "苏氨酸："},
    {"胱氨酸", "胱氨酸："},
    {"颉氨酸", "颉氨酸："},
    {"蛋氨酸", "蛋氨酸："},
    {"异亮氨酸", "异亮氨酸："},
    {"亮氨酸", "亮氨酸："},
    {"酪氨酸", "酪氨酸："},
    {"苯丙氨酸", "苯丙氨酸："},
    {"赖氨酸", "赖氨酸："},
    {"组氨酸", "组氨酸："},
    {"精氨酸", "精氨酸："},
    {"色氨酸", "色氨酸："},
};

// The standards window names the energies with their unit after the colon:
// "猪消化能(Mj/kg)" is captioned "猪消化能：(Mj/kg)".
QString standardLabelOf(const QString &name)
{
    const int unit = name.indexOf(QLatin1Char('('));
    if (unit < 0) return name + QStringLiteral("：");
    return name.left(unit) + QStringLiteral("：") + name.mid(unit);
}

std::array<Factor, kFormulaFactors> build()
{
    std::array<Factor, kFormulaFactors> out;
    for (int i = 0; i < kFormulaFactors; ++i) {
        Factor &f = out[size_t(i)];
        f.number = i;
        f.code = QStringLiteral("s%1").arg(i);
        f.name = QString::fromUtf8(kTexts[i].name);
        f.materialLabel = QString::fromUtf8(kTexts[i].materialLabel);
        f.standardLabel = standardLabelOf(f.name);
    }
    return out;
}

} // namespace

const std::array<Factor, kFormulaFactors> &factors()
{
    static const std::array<Factor, kFormulaFactors> all = build();
    return all;
}

const Factor &factor(int number)
{
    return factors()[size_t(number)];
}

QString factorCode(int number)
{
    return QStringLiteral("s%1").arg(number);
}

int factorNumber(const QString &code)
{
    if (code.size() < 2 || code.size() > 3 || code.front() != QLatin1Char('s')) return -1;
    bool ok = false;
    const int n = code.mid(1).toInt(&ok);
    if (!ok || n < 0 || n >= kFormulaFactors || factorCode(n) != code) return -1;
    return n;
}

const std::vector<int> &materialEntryOrder()
{
    static const std::vector<int> order = {2,  7,  8,  9,  35, 30, 28, 6,  4,  5,  10, 11, 12,
                                           13, 14, 15, 16, 17, 18, 19, 27, 29, 34, 31, 32, 33,
                                           3,  36, 37, 38, 23, 24, 25, 26, 20, 21, 22};
    return order;
}

const std::vector<int> &standardEntryOrder()
{
    static const std::vector<int> order = {0,  2,  7,  8,  9,  35, 30, 28, 6,  4,  5,  10, 12,
                                           1,  11, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,
                                           24, 25, 26, 27, 29, 3,  31, 32, 33, 34, 36, 37, 38};
    return order;
}

QString factorColumnList()
{
    QStringList c;
    for (int i = 0; i < kFormulaFactors; ++i) c << factorCode(i);
    return c.join(QStringLiteral(", "));
}

} // namespace fm
