#include "production/windows/sideinputwindows.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "production/productionteams.h"
#include "production/windows/productionfields.h"
#include "production/windows/wagewindows.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "warehouse/windows/warehousefields.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kProductPlaceholder = QStringLiteral("产品名称");

} // namespace

// ---- 杂回料输入 -----------------------------------------------------------

Tzlsr::Tzlsr(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("杂回料输入"));
    m_team = input("team", 2);
    m_teamName = display("teamName");
    m_date = dateInput("date");
    m_products = chooser("products", kProductPlaceholder);
    m_code = display("code");
    m_spec = display("spec");
    m_formula = display("formula");
    m_quantity = input("quantity", 12);
    m_confirm = button(QStringLiteral("确认"), "confirm", [this] { confirm(); });

    auto *box = new QGroupBox(this);
    FieldGrid(box, 2)
        .add(QStringLiteral("班组代码："), m_team)
        .add(QStringLiteral("班组名称："), m_teamName)
        .add(QStringLiteral("日期："), m_date)
        .newRow()
        .add(m_products, 2)
        .add(QStringLiteral("产品代码："), m_code)
        .add(QStringLiteral("产品规格(公斤/包)："), m_spec)
        .add(QStringLiteral("配方号码："), m_formula)
        .add(QStringLiteral("输入数量(公斤):"), m_quantity);
    m_products->setAccessibleName(QStringLiteral("产品名称"));
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(box, 1);
    layout->addLayout(buttonColumn({m_confirm, button(QStringLiteral("浏览"), "browse", [this] {
                                        Tscsyk_cx w(this->ctx(), this);
                                        w.run();
                                    }),
                                    button(QStringLiteral("退出"), "close", [this] { close(); })}));
    resize(640, 300);

    chain()
        .step(m_team, [this] { return teamEntered(); })
        .step(m_products, [this] {
            productChosen();
            return Go::done();
        })
        .step(m_quantity, [this] { return Go::to(m_confirm); });
    connect(m_products, &QComboBox::activated, this, [this] { chain().run(m_products); });
    connect(m_quantity, &QLineEdit::textChanged, this,
            [this](const QString &t) { m_confirm->setEnabled(m_quantity->isEnabled() && !t.trimmed().isEmpty()); });
}

void Tzlsr::activate()
{
    guarded([this] {
        const QSignalBlocker block(m_products);
        m_products->clear();
        m_products->addItems(returns().productNames());
        m_products->setCurrentIndex(-1);
    });
    for (QLineEdit *e : {m_team, m_teamName}) e->clear();
    m_date->setDate(ctx().clock->today());
    clearProduct();
    chain().reset();
}

Go Tzlsr::teamEntered()
{
    const auto team = registeredTeam(session(), m_team->text());
    if (!team) return Go::stay();
    m_team->setText(team->code);
    m_teamName->setText(team->name);
    m_date->setDate(ctx().clock->today());
    return Go::advance();
}

void Tzlsr::productChosen()
{
    const auto p = returns().productByName(m_products->currentText());
    if (!p) return;
    m_code->setText(p->code);
    m_spec->setText(p->spec);
    m_formula->setText(p->formula);
    chain().reach(m_quantity);
}

void Tzlsr::confirm()
{
    if (m_code->text().isEmpty()) return;
    double kg = 0;
    if (!parseNumber(m_quantity->text(), &kg)) throw badNumber();
    returns().book(m_team->text(), m_date->date(), m_code->text(), kg);
    clearProduct();
    chain().reach(m_products);
}

void Tzlsr::clearProduct()
{
    for (QLineEdit *e : {m_code, m_spec, m_formula, m_quantity}) e->clear();
    m_products->setCurrentIndex(-1);
    m_confirm->setEnabled(false);
}

Tscsyk_cx::Tscsyk_cx(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("杂料回机浏览"));
    m_grid = new Grid(sundryColumns(), this, "sundry");
    m_grid->setStretchColumn(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({button(QStringLiteral("退出"), "close", [this] { close(); })}));
    resize(860, 480);
}

void Tscsyk_cx::activate()
{
    guarded([this] { m_grid->setRows(SundryReturns(session(), *ctx().clock).all()); });
}

// ---- 生产结存数输入 -----------------------------------------------------------

Tjcsl::Tjcsl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("生产结存数输入"));
    m_team = input("team", 2);
    m_start = dateInput("start");
    m_end = dateInput("end");
    allowBlank(m_start, *ctx.clock);
    allowBlank(m_end, *ctx.clock);
    m_grid = new Grid({textColumn("原料代码", "yldm"), textColumn("原料名称", "ylmc"), numberColumn("理论数量(公斤)", "lrsl"),
                       numberColumn("实际领用(公斤)", "sjsl"), numberColumn("上班结存(公斤)", "scjc"),
                       numberColumn("当班结存(公斤)", "sjjc"), numberColumn("回机数量(公斤)", "lrjc"),
                       numberColumn("实际损耗(公斤)", "sjxh"), textColumn("班组", "bzdm"), textColumn("上次班组", "bzdm0"),
                       textColumn("日期", "rq_1"), numberColumn("序号", "rec_num")},
                      this, "balances");
    m_grid->setStretchColumn(1);
    m_material = display("material");
    m_balance = input("balance", 12);
    m_previous = input("previous", 12);
    m_drawn = input("drawn", 12);

    auto *head = new QGroupBox(this);
    FieldGrid(head, 3)
        .add(QStringLiteral("班组代码："), m_team)
        .add(QStringLiteral("起始日期："), m_start)
        .add(QStringLiteral("截止日期："), m_end);
    auto *entry = new QGroupBox(this);
    FieldGrid(entry, 4)
        .add(QStringLiteral("原料名称："), m_material)
        .add(QStringLiteral("当班结存：(公斤)"), m_balance)
        .add(QStringLiteral("上班结存：(公斤)"), m_previous)
        .add(QStringLiteral("实际领用：(公斤)"), m_drawn);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(entry, 1);
    bottom->addLayout(buttonColumn({button(QStringLiteral("结束"), "close", [this] { close(); })}));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(head);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(1000, 560);

    chain()
        .step(m_team,
              [this] {
                  const auto team = registeredTeam(session(), m_team->text());
                  if (!team) return Go::stay();
                  m_team->setText(team->code);
                  return Go::advance();
              })
        .step(m_start,
              [this] {
                  m_end->setDate(m_start->date());
                  return Go::advance();
              })
        .step(m_end, [this] {
            showRows();
            m_grid->setEnabled(true);
            m_grid->view()->setFocus();
            return Go::done();
        });
    m_balanceChain.step(m_balance, [] { return Go::advance(); }, StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_previous, [] { return Go::advance(); }, StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_drawn, [this] { return store(); });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { guarded([&] { choose(id); }); });
}

void Tjcsl::startWith(const QString &team, const QDate &start)
{
    m_presetTeam = team;
    m_presetStart = start;
}

void Tjcsl::activate()
{
    m_grid->clear();
    m_grid->setEnabled(false);
    m_team->setText(m_presetTeam);
    if (m_presetStart.isValid()) m_start->setDate(m_presetStart);
    else setBlank(m_start);
    setBlank(m_end);
    m_presetTeam.clear();
    m_presetStart = QDate();
    clearBalances();
    chain().reset();
}

void Tjcsl::showRows()
{
    const QDate s = dateOf(m_start), e = dateOf(m_end);
    if (!s.isValid() || !e.isValid()) return;
    m_grid->setRows(balances().rows(m_team->text(), dateText(s), dateText(e)));
}

void Tjcsl::choose(qint64 id)
{
    const auto r = balances().row(id);
    if (!r) return;
    m_chosen = id;
    m_material->setText(r->text(QStringLiteral("ylmc")));
    m_balance->setText(numberText(r->number(QStringLiteral("sjjc"))));
    m_previous->setText(numberText(r->number(QStringLiteral("scjc"))));
    m_drawn->setText(numberText(r->number(QStringLiteral("sjsl"))));
    m_balanceChain.reach(m_balance);
}

Go Tjcsl::store()
{
    const double balance = numberIn(m_balance), previous = numberIn(m_previous), drawn = numberIn(m_drawn);
    if (ask(QStringLiteral("确认否?"))) {
        balances().enter(m_chosen, drawn, previous, balance);
        showRows();
        m_grid->selectId(m_chosen);
    }
    clearBalances();
    m_grid->view()->setFocus();
    return Go::done();
}

void Tjcsl::clearBalances()
{
    m_chosen = 0;
    m_material->clear();
    for (QLineEdit *e : {m_balance, m_previous, m_drawn}) e->setText(QStringLiteral("0"));
    m_balanceChain.disableAll();
}

// ---- 成本显示 ------------------------------------------------------------------

Tcb_show::Tcb_show(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("成本显示"));
    m_grid = new Grid(teamCostColumns(), this, "costs");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({button(QStringLiteral("<<"), "close", [this] { close(); })}));
    resize(1000, 420);
}

void Tcb_show::list(const Rows &rows)
{
    m_grid->setRows(rows);
}

// ---- 生产成本输入 ---------------------------------------------------------------

Tvelsccb::Tvelsccb(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("生产成本输入"));
    m_team = input("team", 2);
    m_teamName = display("teamName");
    m_heads = display("heads");
    m_start = dateInput("start");
    m_end = dateInput("end");
    allowBlank(m_start, *ctx.clock);
    allowBlank(m_end, *ctx.clock);
    m_actual = display("actual");
    m_production = display("production");
    m_packaging = display("packaging");
    m_theoretical = display("theoretical");
    m_lossRate = display("lossRate");
    m_mark = new QLabel(this);
    m_mark->setObjectName(QStringLiteral("lossMark"));
    QFont big = m_mark->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    m_mark->setFont(big);
    m_wages = input("wages", 14);
    m_electricity = input("electricity", 14);
    m_water = input("water", 14);
    m_coal = input("coal", 14);
    m_other = input("other", 14);
    m_confirm = button(QStringLiteral("确认"), "confirm", [this] { confirm(); });

    auto *head = new QGroupBox(this);
    FieldGrid(head, 3)
        .add(QStringLiteral("班组代码："), m_team)
        .add(QStringLiteral("班组名称："), m_teamName)
        .add(QStringLiteral("人数："), m_heads)
        .add(QStringLiteral("起始日期："), m_start)
        .add(QStringLiteral("截止日期:"), m_end);
    auto *rate = new QWidget(this);
    auto *rateLayout = new QHBoxLayout(rate);
    rateLayout->setContentsMargins(0, 0, 0, 0);
    rateLayout->addWidget(m_lossRate, 1);
    rateLayout->addWidget(new QLabel(QStringLiteral("%"), rate));
    rateLayout->addWidget(m_mark);
    auto *figures = new QGroupBox(this);
    FieldGrid(figures, 2)
        .add(QStringLiteral("(一)生产耗用："), m_actual, QStringLiteral("(吨)"))
        .add(QStringLiteral("生产数量："), m_production, QStringLiteral("(吨)"))
        .add(QStringLiteral("(二)包装成本："), m_packaging, QStringLiteral("(元/吨)"))
        .add(QStringLiteral("理论耗用："), m_theoretical, QStringLiteral("(吨)"))
        .add(QStringLiteral("生产原料损耗率:"), rate)
        .newRow()
        .add(QStringLiteral("(三)生产工资:"), m_wages, QStringLiteral("(元)"))
        .newRow()
        .add(QStringLiteral("电耗(元):"), m_electricity)
        .add(QStringLiteral("水耗(元):"), m_water)
        .add(QStringLiteral("煤耗(元):"), m_coal)
        .add(QStringLiteral("其他损耗(元)："), m_other);
    m_lossRate->setAccessibleName(QStringLiteral("生产原料损耗率"));

    auto *left = new QVBoxLayout;
    left->addWidget(head);
    left->addWidget(figures);
    left->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttonColumn({m_confirm, button(QStringLiteral("浏览"), "browse", [this] { browse(); }),
                                    button(QStringLiteral("结存"), "balances", [this] { balances(); }),
                                    button(QStringLiteral("结束"), "close", [this] { close(); })}));
    resize(820, 420);

    accumulateWages = [this](const QString &team, const QDate &start) {
        Tsumgz w(this->ctx(), this);
        return w.accumulate(team, start);
    };
    openBalances = [this](const QString &team, const QDate &start) {
        Tjcsl w(this->ctx(), this);
        w.startWith(team, start);
        w.run();
    };

    auto amount = [this](QLineEdit *e) {
        double v = 0;
        if (!parseNumber(e->text(), &v) || v < 0) throw badNumber();
        return Go::advance();
    };
    chain()
        .step(m_team, [this] { return teamEntered(); })
        .step(m_start,
              [this] {
                  m_end->setDate(m_start->date());
                  return Go::advance();
              })
        .step(m_end, [this] { return periodEntered(); })
        .step(m_wages, [this] { return wagesEntered(); }, StepOptions{QString(), true, false, {}})
        .step(m_electricity, [=] { return amount(m_electricity); }, StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_water, [=] { return amount(m_water); }, StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_coal, [=] { return amount(m_coal); }, StepOptions{QStringLiteral("0"), false, false, {}})
        .step(m_other, [=] {
            amount(m_other);
            if (m_team->text().trimmed().isEmpty()) return Go::stay();
            m_confirm->setEnabled(true);
            return Go::to(m_confirm);
        });
}

void Tvelsccb::activate()
{
    for (QLineEdit *e : {m_team, m_teamName, m_heads}) e->clear();
    m_start->setDate(ctx().clock->today());
    setBlank(m_end);
    clearFigures();
    chain().reset();
}

Go Tvelsccb::teamEntered()
{
    const auto team = registeredTeam(session(), m_team->text());
    if (!team) return Go::stay();
    m_team->setText(team->code);
    m_teamName->setText(team->name);
    m_heads->setText(QString::number(costs().headCount(team->code)));
    return Go::advance();
}

Go Tvelsccb::periodEntered()
{
    const auto team = registeredTeam(session(), m_team->text());
    const QDate s = dateOf(m_start), e = dateOf(m_end);
    if (!team || !s.isValid() || !e.isValid()) return Go::stay();
    const TeamCostFigures f = costs().figures(*team, dateText(s), dateText(e));
    if (!f.hasConsumption() && ask(QStringLiteral("生产成本为0.是否修改结存数据?"))) {
        if (openBalances) openBalances(team->code, s);
        return Go::to(m_team);
    }
    m_actual->setText(numberText(f.actualTonnes()));
    m_production->setText(numberText(f.productionTonnes()));
    m_packaging->setText(numberText(f.packagingPerTonne()));
    m_theoretical->setText(numberText(f.theoreticalTonnes()));
    m_lossRate->setText(f.lossRateText());
    m_mark->setText(f.lossMark());
    return Go::advance();
}

Go Tvelsccb::wagesEntered()
{
    if (ask(QStringLiteral("是否累积该月工资?")) && accumulateWages) {
        if (const auto w = accumulateWages(m_team->text().trimmed(), dateOf(m_start))) m_wages->setText(numberText(*w));
    }
    if (m_wages->text().trimmed().isEmpty()) m_wages->setText(QStringLiteral("0"));
    double v = 0;
    if (!parseNumber(m_wages->text(), &v) || v < 0) throw badNumber();
    return Go::advance();
}

void Tvelsccb::confirm()
{
    TeamCostEntry e;
    e.teamCode = m_team->text();
    const QDate s = dateOf(m_start), end = dateOf(m_end);
    if (e.teamCode.trimmed().isEmpty() || !s.isValid() || !end.isValid()) return;
    e.start = dateText(s);
    e.end = dateText(end);
    e.wages = numberIn(m_wages);
    e.electricity = numberIn(m_electricity);
    e.water = numberIn(m_water);
    e.coal = numberIn(m_coal);
    e.other = numberIn(m_other);
    costs().save(e);
    clearFigures();
    chain().reach(m_team);
}

void Tvelsccb::clearFigures()
{
    for (QLineEdit *e : {m_actual, m_production, m_packaging, m_theoretical, m_lossRate, m_wages, m_electricity, m_water,
                         m_coal, m_other})
        e->clear();
    m_mark->clear();
    m_confirm->setEnabled(false);
}

void Tvelsccb::browse()
{
    const QDate s = dateOf(m_start), e = dateOf(m_end);
    Tcb_show w(ctx(), this);
    w.list(costs().stored(m_team->text(), dateText(s.isValid() ? s : ctx().clock->today()),
                          dateText(e.isValid() ? e : (s.isValid() ? s : ctx().clock->today()))));
    w.run();
}

void Tvelsccb::balances()
{
    if (openBalances) openBalances(m_team->text().trimmed(), dateOf(m_start));
    chain().reach(m_team);
}

// ---- 制造费用输入 ---------------------------------------------------------------

Tzzfy_sr::Tzzfy_sr(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("制造费用输入"));
    m_year = chooser("year", QString(), true);
    m_year->lineEdit()->setMaxLength(4);
    m_month = chooser("month", QString(), true);
    m_month->lineEdit()->setMaxLength(2);
    m_wages = input("wages", 14);
    m_electricity = input("electricity", 14);
    m_gas = input("gas", 14);
    m_other = input("other", 14);
    m_confirm = button(QStringLiteral("确认"), "confirm", [this] { confirm(); });
    m_cancel = button(QStringLiteral("取消"), "cancel", [this] { cancel(); });
    m_delete = button(QStringLiteral("删除"), "delete", [this] { remove(); });
    m_grid = new Grid({textColumn("月份", "rq_1"), numberColumn("工资", "gz"), numberColumn("电费", "df"),
                       numberColumn("气费", "qf"), numberColumn("其他费用", "qt"), momentColumn("时间", "rq_0"),
                       textColumn("操作员", "rydm")},
                      this, "overheads");

    auto *entry = new QGroupBox(QStringLiteral("(单位：元)"), this);
    FieldGrid(entry, 2)
        .add(QStringLiteral("输入年："), m_year)
        .add(QStringLiteral("选择月份："), m_month)
        .add(QStringLiteral("工资："), m_wages)
        .add(QStringLiteral("电费："), m_electricity)
        .add(QStringLiteral("气费："), m_gas)
        .add(QStringLiteral("其他费用："), m_other);
    auto *top = new QHBoxLayout;
    top->addWidget(entry, 1);
    top->addLayout(buttonColumn({m_confirm, m_cancel, m_delete, button(QStringLiteral("退出"), "close", [this] { close(); })}));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    resize(720, 520);

    const StepOptions zero{QStringLiteral("0.0"), false, false, {}};
    auto amount = [](QLineEdit *e) {
        double v = 0;
        if (!parseNumber(e->text(), &v) || v < 0) throw badNumber();
    };
    chain()
        .step(m_month,
              [this] {
                  if (m_year->currentText().trimmed().isEmpty() && m_month->currentText().trimmed().isEmpty()) return Go::stay();
                  return Go::advance();
              },
              StepOptions{QString(), true, false, {}})
        .step(m_wages, [=] { amount(m_wages); return Go::advance(); }, zero)
        .step(m_electricity, [=] { amount(m_electricity); return Go::advance(); }, zero)
        .step(m_gas, [=] { amount(m_gas); return Go::advance(); }, zero)
        .step(m_other, [=] {
            amount(m_other);
            m_confirm->setEnabled(true);
            m_cancel->setEnabled(true);
            return Go::to(m_confirm);
        }, zero);
    chain().on(m_year->lineEdit(), [this] { EnterChain::focusField(m_month); });
    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { guarded([&] { choose(id); }); });
}

void Tzzfy_sr::activate()
{
    const Overheads o = overheads();
    {
        const QSignalBlocker a(m_year), b(m_month);
        m_year->clear();
        m_year->addItems(o.years());
        m_year->setCurrentText(QString::number(ctx().clock->today().year()));
        m_month->clear();
        m_month->addItems(Overheads::months());
        m_month->setCurrentText(QString::number(ctx().clock->today().month()).rightJustified(2, QLatin1Char('0')));
    }
    for (QLineEdit *e : {m_wages, m_electricity, m_gas, m_other}) e->clear();
    m_chosen = 0;
    m_delete->setEnabled(false);
    m_confirm->setEnabled(false);
    m_cancel->setEnabled(false);
    guarded([this] { showRows(); });
    chain().reset();
}

void Tzzfy_sr::confirm()
{
    if (!ask(QStringLiteral("是否确认?"))) return;
    const QString key = Overheads::monthKey(m_year->currentText(), m_month->currentText());
    OverheadAmounts a;
    a.wages = numberIn(m_wages);
    a.electricity = numberIn(m_electricity);
    a.gas = numberIn(m_gas);
    a.other = numberIn(m_other);
    Overheads o = overheads();
    qint64 id = 0;
    if (!o.save(key, a, ctx().operatorCode, false, &id)) {
        if (!ask(Overheads::overwriteQuestion(key))) return;
        o.save(key, a, ctx().operatorCode, true, &id);
    }
    showRows(id);
    m_confirm->setEnabled(false);
}

void Tzzfy_sr::cancel()
{
    for (QLineEdit *e : {m_wages, m_electricity, m_gas, m_other}) e->clear();
    m_confirm->setEnabled(false);
    m_cancel->setEnabled(false);
    chain().reset();
}

void Tzzfy_sr::choose(qint64 id)
{
    for (const Row &r : overheads().all()) {
        if (r.id() != id) continue;
        const QString key = r.text(QStringLiteral("rq_1"));
        m_year->setCurrentText(key.left(4));
        m_month->setCurrentText(key.mid(4, 2));
        m_wages->setText(numberText(r.number(QStringLiteral("gz"))));
        m_electricity->setText(numberText(r.number(QStringLiteral("df"))));
        m_gas->setText(numberText(r.number(QStringLiteral("qf"))));
        m_other->setText(numberText(r.number(QStringLiteral("qt"))));
        m_chosen = id;
        m_delete->setEnabled(true);
        return;
    }
}

void Tzzfy_sr::remove()
{
    if (!m_chosen) return;
    const QString key = Overheads::monthKey(m_year->currentText(), m_month->currentText());
    if (!ask(QStringLiteral("是否删除") + key.left(4) + QStringLiteral("年") + key.mid(4, 2) + QStringLiteral("月的数据?"))) return;
    overheads().remove(m_chosen);
    m_chosen = 0;
    m_delete->setEnabled(false);
    showRows();
}

void Tzzfy_sr::showRows(qint64 current)
{
    m_grid->setRows(overheads().all());
    if (current) m_grid->selectId(current);
    else if (m_grid->rowCount() > 0) m_grid->selectId(m_grid->idAt(m_grid->rowCount() - 1));
}

} // namespace fm
