#include "formulation/windows/tpf_show.h"

#include "common/clock.h"
#include "data/dberror.h"
#include "formulation/formulasheets.h"
#include "formulation/windows/formulationfields.h"
#include "formulation/windows/tpeidy.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tpf_show::Tpf_show(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("配方显示"));
    resize(1000, 640);

    m_formula = chooser("formula", FormulaBook::kPlaceholder, true);
    m_formula->setMinimumWidth(220);
    QFont mono = m_formula->font();
    mono.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("monospace")});
    m_formula->setFont(mono);
    m_name = display("formulaName");
    m_standard = display("standard");
    m_start = dateInput("start");
    m_end = dateInput("end");
    makeBlankable(m_start, *ctx.clock);
    makeBlankable(m_end, *ctx.clock);
    m_query = button(QStringLiteral("查询"), "query", [this] { runQuery(); });
    m_delete = button(QStringLiteral("删除配方"), "delete", [this] { deleteFormula(); });
    m_previewComposition = button(QStringLiteral("原料组成打印显示"), "previewComposition", [this] { composition(true); });
    m_printComposition = button(QStringLiteral("原料组成打印"), "printComposition", [this] { composition(false); });
    m_previewNutrients = button(QStringLiteral("营养成分打印显示"), "previewNutrients", [this] { nutrients(true); });
    m_printNutrients = button(QStringLiteral("营养成分打印"), "printNutrients", [this] { nutrients(false); });
    m_prices = button(QStringLiteral("查询所有价格"), "prices", [this] { openPrices(); });
    QPushButton *close = button(QStringLiteral("关闭"), "close", [this] { reject(); });

    m_results = new Grid({{QStringLiteral("配方名称"), QStringLiteral("pfmc")},
                          {QStringLiteral("营养因素"), QStringLiteral("ylys")},
                          {QStringLiteral("计算结果"), QStringLiteral("result"), GridColumn::Kind::Number},
                          {QStringLiteral("标准"), QStringLiteral("stand"), GridColumn::Kind::Number},
                          {QStringLiteral("比较结果"), QStringLiteral("comp"), GridColumn::Kind::Number},
                          {QStringLiteral("日期"), QStringLiteral("rq_1"), GridColumn::Kind::Date}},
                         this, "results");
    m_lines = new Grid({{QStringLiteral("配方名称"), QStringLiteral("pfmc")},
                        {QStringLiteral("原料名称"), QStringLiteral("ylmc")},
                        {QStringLiteral("百分比(%)"), QStringLiteral("ylsl"), GridColumn::Kind::Number},
                        {QStringLiteral("日期"), QStringLiteral("rq_1"), GridColumn::Kind::Date}},
                       this, "lines");
    m_results->setStretchColumn(1);
    m_lines->setStretchColumn(1);

    auto *head = new QWidget(this);
    FieldGrid fg(head, 3);
    fg.layout()->setContentsMargins(0, 0, 0, 0);
    fg.add(QStringLiteral("配方代码："), m_formula).add(QStringLiteral("配方名称："), m_name)
        .add(QStringLiteral("配方参考标准："), m_standard);
    fg.add(QStringLiteral("起始日期："), m_start).add(QStringLiteral("截止日期："), m_end).newRow();

    auto *resultsBox = new QGroupBox(QStringLiteral("营养成分"), this);
    (new QVBoxLayout(resultsBox))->addWidget(m_results);
    auto *linesBox = new QGroupBox(QStringLiteral("原料组成"), this);
    (new QVBoxLayout(linesBox))->addWidget(m_lines);
    auto *grids = new QHBoxLayout;
    grids->addWidget(resultsBox, 3);
    grids->addWidget(linesBox, 2);

    auto *left = new QVBoxLayout;
    left->addWidget(head);
    left->addLayout(grids, 1);
    auto *root = new QHBoxLayout(this);
    root->addLayout(left, 1);
    root->addLayout(buttonColumn({m_query, m_delete, m_previewComposition, m_printComposition, m_previewNutrients,
                                  m_printNutrients, m_prices, close}));

    chain().on(m_formula, [this] { enterFormula(); });
    connect(m_formula, qOverload<int>(&QComboBox::activated), this, [this] { guarded([this] { chooseFormula(); }); });
    chain().on(m_start, [this] {
        if (!EnterChain::isBlank(m_start)) m_end->setFocus();
    });
    chain().on(m_end, [this] {
        if (!EnterChain::isBlank(m_end)) m_query->setFocus();
    });
}

void Tpf_show::activate()
{
    m_head.reset();
    m_view.reset();
    m_name->clear();
    m_standard->clear();
    m_results->clear();
    m_lines->clear();
    blank(m_start);
    blank(m_end);
    reloadChooser();
    m_delete->setEnabled(false);
    m_previewComposition->setEnabled(false);
    m_formula->setFocus();
}

void Tpf_show::reloadChooser()
{
    const QSignalBlocker block(m_formula);
    m_formula->clear();
    guarded([this] { m_formula->addItems(FormulaBook(session()).entries()); });
    m_formula->setCurrentIndex(-1);
    m_formula->clearEditText();
}

void Tpf_show::enterFormula()
{
    const QString t = m_formula->currentText().trimmed();
    if (t.isEmpty() || t == FormulaBook::kPlaceholder) {
        guarded([this] { showAll(); });
        return;
    }
    guarded([this] { chooseFormula(); });
}

void Tpf_show::chooseFormula()
{
    const QString number = FormulaBook::numberOfEntry(m_formula->currentText());
    if (number.isEmpty() || number == FormulaBook::kPlaceholder) return;
    m_head = FormulaBook(session()).find(number);
    if (!m_head) {
        m_name->clear();
        m_standard->clear();
        m_delete->setEnabled(false);
        m_previewComposition->setEnabled(false);
        inform(FormulaBook::kNotFound);
        m_formula->setCurrentIndex(-1);
        m_formula->clearEditText();
        m_formula->setFocus();
        return;
    }
    m_name->setText(m_head->name);
    m_standard->setText(m_head->standard);
    m_delete->setEnabled(true);
    m_previewComposition->setEnabled(true);
    m_start->setFocus();
}

void Tpf_show::showAll()
{
    showView(FormulaView{});
}

void Tpf_show::runQuery()
{
    const QString number = FormulaBook::numberOfEntry(m_formula->currentText());
    if (!m_head || number.compare(m_head->number, Qt::CaseInsensitive) != 0) {
        if (number.isEmpty() || number == FormulaBook::kPlaceholder) {
            inform(FormulaBook::kNotFound);
            m_formula->setFocus();
            return;
        }
        chooseFormula();
        if (!m_head) return;
    }
    if (EnterChain::isBlank(m_start) || EnterChain::isBlank(m_end)) {
        inform(FormulaBook::kBadDates);
        m_start->setFocus();
        return;
    }
    showView(FormulaView{false, m_head->number, dateIn(m_start), dateIn(m_end)});
}

void Tpf_show::showView(const FormulaView &v)
{
    m_view = v;
    m_results->setPager(std::make_shared<RowPager>(session(), FormulaBook::resultQuery(v)));
    m_lines->setPager(std::make_shared<RowPager>(session(), FormulaBook::lineQuery(v)));
}

void Tpf_show::deleteFormula()
{
    if (!m_head) return;
    if (EnterChain::isBlank(m_start) || EnterChain::isBlank(m_end)) {
        inform(FormulaBook::kBadDates);
        m_start->setFocus();
        return;
    }
    if (!ask(FormulaBook::kDeleteQuestion)) return;
    const DeleteOutcome out = FormulaBook(session()).remove(m_head->number, dateIn(m_start), dateIn(m_end));
    if (!out.registerRemoved) inform(FormulaBook::kLinesRemain);
    m_head.reset();
    m_name->clear();
    m_standard->clear();
    reloadChooser();
    m_delete->setEnabled(false);
    m_previewComposition->setEnabled(false);
    if (m_view) showView(*m_view);
}

void Tpf_show::composition(bool preview)
{
    const Rows rows = m_view ? FormulaBook(session()).allRows(FormulaBook::lineQuery(*m_view)) : Rows();
    const ReportDocument doc = compositionSheet(m_head ? m_head->name : QString(), rows, ctx().clock->today());
    if (preview) showDocument(ctx(), this, doc);
    else printDocument(ctx(), this, doc);
}

void Tpf_show::nutrients(bool preview)
{
    const Rows rows = m_view ? FormulaBook(session()).allRows(FormulaBook::resultQuery(*m_view)) : Rows();
    const ReportDocument doc = nutrientSheet(m_head ? m_head->name : QString(), rows, ctx().clock->today());
    if (preview) showDocument(ctx(), this, doc);
    else printDocument(ctx(), this, doc);
}

void Tpf_show::openPrices()
{
    if (EnterChain::isBlank(m_start) || EnterChain::isBlank(m_end)) {
        inform(FormulaBook::kBadDates);
        m_start->setFocus();
        return;
    }
    if (!m_priceQuery) m_priceQuery = new Tpeidy(ctx(), this);
    if (!m_priceQuery->load(dateIn(m_start), dateIn(m_end))) return;
    EnterChain::noAutoDefault(m_priceQuery);
    m_priceQuery->exec();
}

} // namespace fm
