#include "warehouse/windows/warehousefields.h"

#include "common/clock.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "warehouse/materials.h"

#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>

namespace fm {

double numberIn(const QLineEdit *field)
{
    double v = 0;
    if (!parseNumber(field->text(), &v)) throw badNumber();
    return v;
}

namespace {

template <class T>
void fill(QComboBox *list, const std::vector<T> &items)
{
    const QSignalBlocker block(list);
    list->clear();
    for (const T &i : items) list->addItem(i.name, i.id);
    list->setCurrentIndex(-1);
}

} // namespace

void fillMaterials(QComboBox *list, const std::vector<Material> &materials)
{
    fill(list, materials);
}

void fillStock(QComboBox *list, const std::vector<StockRow> &rows)
{
    fill(list, rows);
}

void fillSuppliers(QComboBox *list, const std::vector<Supplier> &suppliers)
{
    fill(list, suppliers);
}

void chooseId(QComboBox *list, qint64 id)
{
    const QSignalBlocker block(list);
    list->setCurrentIndex(list->findData(id));
}

qint64 chosenId(const QComboBox *list)
{
    return list->currentIndex() < 0 ? 0 : list->currentData().toLongLong();
}

namespace {
const QDate kBlankDate(1900, 1, 1);
} // namespace

namespace {

class BlankDateKeys : public QObject {
public:
    BlankDateKeys(QDateEdit *input, const Clock &clock) : QObject(input), m_clock(clock) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *d = qobject_cast<QDateEdit *>(watched);
        if (!d || event->type() != QEvent::KeyPress) return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool blank = d->date() == kBlankDate;
        if (blank && key->text().size() == 1 && key->text().front().isDigit()) {
            // Typing starts from a real date, year first.
            d->setDate(m_clock.today());
            d->setSelectedSection(QDateTimeEdit::YearSection);
        } else if (!blank && key->key() == Qt::Key_Delete) {
            d->setDate(kBlankDate);
            return true;
        }
        return false;
    }

private:
    const Clock &m_clock;
};

} // namespace

void allowBlank(QDateEdit *input, const Clock &clock)
{
    input->setMinimumDate(kBlankDate);
    input->setSpecialValueText(QStringLiteral(" "));
    input->installEventFilter(new BlankDateKeys(input, clock));
}

void setBlank(QDateEdit *input)
{
    input->setDate(kBlankDate);
}

QDate dateOf(const QDateEdit *input)
{
    return input->date() == kBlankDate ? QDate() : input->date();
}

namespace {

GridColumn text(const char *title, const char *field)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::Text};
}
GridColumn number(const char *title, const char *field)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::Number};
}
GridColumn moment(const char *title, const char *field)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::DateTime};
}

} // namespace

QList<GridColumn> receiptColumns()
{
    return {text("货物名称", "ylmc"),     number("原料重量", "ylsl"), number("原料单价", "yljg"),
            number("应付金额", "sjje"),   number("实付金额", "sfje"), number("实欠金额", "sqje"),
            text("供应商代码", "gysdm"),  text("供应商名称", "gysmc"), text("原料等级", "yldj"),
            text("日期", "rq_1"),         text("合同号码", "hthm"),    text("操作员", "czydm"),
            text("原料代码", "yldm"),     text("采购员", "cgydm"),     text("标志", "bz_1"),
            moment("时间", "rq_0")};
}

QList<GridColumn> issueColumns()
{
    return {text("原料代码", "yldm"),   text("原料名称", "ylmc"),   number("原料出库价格", "yljg"),
            text("原料等级", "yldj"),   number("出库数量", "ylsl"), number("发生金额", "ylje"),
            text("出库类别", "ck_bz"),  text("日期", "rq_1"),       text("领料人代码", "rydm"),
            text("领料人名称", "rymc"), text("领用说明", "ly_sm"),  text("退料说明", "tl_sm"),
            text("操作员", "czydm"),    text("生产班组", "bzdm"),   moment("时间", "rq_0")};
}

QList<GridColumn> fundColumns()
{
    return {text("供应商代码", "gysdm"), text("供应商名称", "gysmc"), number("数量", "ylsl"),
            number("应付金额", "yfje"),  number("实付金额", "sfje"),  number("实际欠款", "sqje"),
            text("日期", "rq_1"),        text("说明", "sm"),          text("操作员", "czydm"),
            moment("时间", "rq_0")};
}

QList<GridColumn> summaryColumns()
{
    return {text("供应商代码", "gysdm"), text("供应商名称", "gysmc"), number("应付金额", "yfje"),
            number("实付金额", "sfje"),  number("实欠金额", "sqje"),  text("处理日期", "rq_1"),
            text("说明", "sm"),          text("操作员", "czydm"),     moment("时间", "rq_0")};
}

} // namespace fm
