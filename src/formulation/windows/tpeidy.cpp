#include "formulation/windows/tpeidy.h"

#include "formulation/formulasheets.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kMark = QStringLiteral("X");

} // namespace

Tpeidy::Tpeidy(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("配方价格查询"));
    resize(820, 520);
    QList<GridColumn> columns = gridColumns({QStringLiteral("打印"), QStringLiteral("配方号码"), QStringLiteral("配方名称"),
                                             QStringLiteral("营养因素"), QStringLiteral("价格(元/公斤)"), QStringLiteral("序号"),
                                             QStringLiteral("日期"), QStringLiteral("时间")});
    columns[4].kind = GridColumn::Kind::Number;
    m_grid = new Grid(columns, this, "prices");
    m_grid->setSortOnTitleClick(false);
    m_grid->setStretchColumn(2);
    m_print = button(QStringLiteral("打印"), "print", [this] { printList(); });
    QPushButton *close = button(QStringLiteral("关闭"), "close", [this] { reject(); });
    auto *root = new QVBoxLayout(this);
    root->addWidget(m_grid, 1);
    root->addLayout(buttonRow({m_print, close}));
    connect(m_grid, &Grid::rowClicked, this, [this](qint64, int row) { toggle(row); });
}

bool Tpeidy::load(QDate start, QDate end)
{
    m_marked.clear();
    m_lastClicked = 0;
    return guarded([&] {
        m_rows = FormulaBook(session()).prices(start, end);
        showRows(0);
    });
}

void Tpeidy::showRows(qint64 select)
{
    std::vector<GridRow> rows;
    for (const SavedPrice &p : m_rows)
        rows.push_back({p.id,
                        {m_marked.contains(p.number.toLower()) ? kMark : QString(), p.number, p.name, p.factor, p.price,
                         p.recNum, p.date, p.moment}});
    m_grid->setRows(std::move(rows));
    if (select) m_grid->selectId(select);
}

void Tpeidy::toggle(int row)
{
    const qint64 id = m_grid->idAt(row);
    for (const SavedPrice &p : m_rows) {
        if (p.id != id) continue;
        const QString key = p.number.toLower();
        if (m_marked.contains(key)) m_marked.remove(key);
        else m_marked.insert(key);
        m_lastClicked = id;
        showRows(id);
        return;
    }
}

void Tpeidy::printList()
{
    showDocument(ctx(), this, priceListSheet(m_rows, m_marked));
    if (m_lastClicked) m_grid->selectId(m_lastClicked);
}

} // namespace fm
