#include "production/windows/productionfields.h"

namespace fm {

GridColumn textColumn(const char *title, const char *field)
{
    return {QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::Text};
}

GridColumn numberColumn(const char *title, const char *field)
{
    return {QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::Number};
}

GridColumn momentColumn(const char *title, const char *field)
{
    return {QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::DateTime};
}

QList<GridColumn> masterColumns()
{
    return {textColumn("产品代码", "cpdm"),           textColumn("产品名称", "cpmc"),
            textColumn("规格", "cpgg"),               numberColumn("库存数量(公斤)", "scsl"),
            numberColumn("生产成本(元/吨)", "sccb"),  textColumn("配方号码", "pfhm"),
            textColumn("生产标志", "scbz"),           textColumn("日期", "scrq_1"),
            momentColumn("时间", "scrq_0"),           textColumn("产品标志", "cpbz")};
}

QList<GridColumn> teamCostColumns()
{
    return {textColumn("班组代码", "bzdm"),         textColumn("班组名称", "bzmc"),
            numberColumn("生产数量(吨)", "scsl"),    numberColumn("实际消耗(吨)", "sjcb"),
            numberColumn("理论消耗(吨)", "lrxh"),    numberColumn("生产损耗率(%)", "scxhl"),
            numberColumn("电耗(元)", "dh"),          numberColumn("水耗(元)", "sh"),
            numberColumn("煤耗(元)", "mh"),          numberColumn("其他消耗(元)", "qt"),
            numberColumn("人数", "scry_num"),        numberColumn("工资额(元)", "scgz"),
            textColumn("日期", "rq_1"),              momentColumn("时间", "rq_0")};
}

QList<GridColumn> sundryColumns()
{
    return {textColumn("产品代码", "cpdm"),   textColumn("产品名称", "cpmc"), textColumn("规格", "cpgg"),
            numberColumn("数量(公斤)", "scsl"), textColumn("配方号码", "pfhm"), textColumn("班组", "scbz"),
            textColumn("日期", "scrq_1"),     momentColumn("时间", "scrq_0")};
}

} // namespace fm
