#include "formulation/windows/tcxscpf.h"

#include "formulation/formulabook.h"
#include "formulation/windows/formulationfields.h"
#include "staff/productionstaff.h"
#include "ui/grid.h"
#include "ui/layouts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kTeamPlaceholder = QStringLiteral("班组代码");

GridColumn text(const char *title, const char *field)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::Text};
}
GridColumn number(const char *title, const char *field)
{
    return GridColumn{QString::fromUtf8(title), QString::fromLatin1(field), GridColumn::Kind::Number};
}

} // namespace

Tcxscpf::Tcxscpf(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("查询生产配方"));
    resize(1040, 640);

    m_team = chooser("team", kTeamPlaceholder);
    m_teamName = display("teamName");
    m_allTeams = new QCheckBox(QStringLiteral("所有班组"), this);
    m_allTeams->setObjectName(QStringLiteral("allTeams"));
    m_start = dateInput("start");
    m_end = dateInput("end");
    makeBlankable(m_start, *ctx.clock);
    makeBlankable(m_end, *ctx.clock);
    m_query = button(QStringLiteral("查询"), "query");
    QPushButton *close = button(QStringLiteral("退出"), "close", [this] { reject(); });

    m_products = new Grid({text("产品代码", "cpdm"), text("产品名称", "cpmc"), text("规格", "cpgg"),
                           number("库存数量", "scsl"), number("生产成本(元/吨)", "sccb"), text("配方号码", "pfhm"),
                           text("生产标志", "scbz"), GridColumn{QStringLiteral("成本日期"), QStringLiteral("scrq_1"), GridColumn::Kind::Date},
                           GridColumn{QStringLiteral("时间"), QStringLiteral("scrq_0"), GridColumn::Kind::DateTime},
                           text("产品标志", "cpbz")},
                          this, "products");
    m_drawn = new Grid({text("原料代码", "yldm"), text("原料名称", "ylmc"), text("等级", "yldj"),
                        number("实际领用", "sjsl"), number("价格", "yljg"), text("生产班组", "bzdm"),
                        text("上次班组", "bzdm0"), text("配方号码", "pfhm"), number("理论数量", "lrsl"),
                        number("上班结存", "scjc"), number("当班结存", "sjjc"), number("理论结存", "lrjc"),
                        GridColumn{QStringLiteral("日期"), QStringLiteral("rq_1"), GridColumn::Kind::Date},
                        text("标志", "bz"), number("序号", "rec_num"), number("配方比率", "pfbl"),
                        text("配方名称", "pfmc"), number("生产批次", "scpc"), text("原料标志", "ylbz"),
                        GridColumn{QStringLiteral("时间"), QStringLiteral("rq_0"), GridColumn::Kind::DateTime}},
                       this, "drawn");
    m_products->setStretchColumn(1);
    m_drawn->setStretchColumn(-1);

    auto *head = new QWidget(this);
    FieldGrid fg(head, 3);
    fg.layout()->setContentsMargins(0, 0, 0, 0);
    fg.add(QStringLiteral("生产班组："), m_team).add(QStringLiteral("班组名称："), m_teamName).add(m_allTeams);
    fg.add(QStringLiteral("起始日期："), m_start).add(QStringLiteral("截止日期："), m_end).newRow();
    auto *top = new QHBoxLayout;
    top->addWidget(head, 1);
    top->addLayout(buttonColumn({m_query, close}));
    auto *productsBox = new QGroupBox(QStringLiteral("生产配方"), this);
    (new QVBoxLayout(productsBox))->addWidget(m_products);
    auto *drawnBox = new QGroupBox(QStringLiteral("生产配方明细"), this);
    (new QVBoxLayout(drawnBox))->addWidget(m_drawn);
    auto *root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(productsBox, 1);
    root->addWidget(drawnBox, 1);

    // The range: the start date is copied into the end date, then "查询".
    chain()
        .step(m_start,
              [this] {
                  m_end->setDate(m_start->date());
                  return Go::advance();
              })
        .step(m_end, [] { return Go::advance(); })
        .step(m_query, [this] {
            runQuery();
            return Go::done();
        });
    connect(m_team, qOverload<int>(&QComboBox::activated), this, [this] { chooseTeam(); });
    connect(m_allTeams, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) return;
        const QSignalBlocker block(m_team);
        m_team->setCurrentIndex(-1);
        m_teamName->clear();
    });
    connect(m_products, &Grid::rowClicked, this, [this](qint64, int row) { chooseProduct(row); });
}

void Tcxscpf::activate()
{
    {
        const QSignalBlocker block(m_team);
        m_team->clear();
        guarded([this] {
            for (const Team &t : ProductionStaff(session(), *ctx().clock).teams()) m_team->addItem(t.code, t.name);
        });
        m_team->setCurrentIndex(-1);
    }
    m_teamName->clear();
    m_allTeams->setChecked(true);
    m_products->clear();
    m_drawn->clear();
    m_from = m_to = QDate();
    blank(m_start);
    blank(m_end);
    chain().reset();
}

void Tcxscpf::chooseTeam()
{
    if (m_team->currentIndex() < 0) return;
    {
        const QSignalBlocker block(m_allTeams);
        m_allTeams->setChecked(false);
    }
    m_teamName->setText(m_team->currentData().toString());
}

void Tcxscpf::runQuery()
{
    m_from = dateIn(m_start);
    m_to = dateIn(m_end);
    m_products->setRows(FormulaBook(session()).productsCosted(m_from, m_to));
    m_drawn->clear();
    chain().disableAll();
    m_team->setFocus();
}

void Tcxscpf::chooseProduct(int row)
{
    if (!m_from.isValid() || row < 0) return;
    guarded([&] {
        FormulaBook book(session());
        const QString formula = book.formulaOfProduct(m_products->textAt(row, 5));
        const QString team = m_allTeams->isChecked() || m_team->currentIndex() < 0 ? QString() : m_team->currentText();
        m_drawn->setPager(std::make_shared<RowPager>(session(), FormulaBook::drawnQuery(formula, m_from, m_to, team)));
    });
}

} // namespace fm
