#include "production/windows/tbzw_sr.h"

#include "common/clock.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "production/windows/productionfields.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "warehouse/packagingstock.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kCodePlaceholder = QStringLiteral("代码");

QList<GridColumn> lineColumns()
{
    return {textColumn("产品代码", "cpdm"),     textColumn("产品名称", "cpmc"),   textColumn("规格", "cpgg"),
            numberColumn("生产数量(吨)", "scsl"), numberColumn("生产成本", "sccb"), textColumn("配方", "pfhm"),
            textColumn("生产班组", "scbz"),       textColumn("包装袋", "bzdmc"),     numberColumn("袋数", "bzdsl"),
            numberColumn("包装袋金额", "bzdje"),   textColumn("标签", "bqmc"),       numberColumn("标签数", "bqsl"),
            numberColumn("标签金额", "bqje"),      momentColumn("时间", "scrq_0"),   textColumn("条形码", "txm"),
            textColumn("颗粒名称", "klmc"),        numberColumn("破碎数量", "psnum")};
}

QString comboCode(QComboBox *c)
{
    const QVariant data = c->currentData();
    if (c->currentIndex() >= 0 && data.isValid() && c->currentText() == c->itemText(c->currentIndex()))
        return data.toString();
    return c->currentText().trimmed();
}

} // namespace

QString PackagingFields::codeText() const
{
    if (auto *e = qobject_cast<QLineEdit *>(code)) return e->text().trimmed();
    if (auto *c = qobject_cast<QComboBox *>(code)) return comboCode(c);
    return QString();
}

void PackagingFields::clear()
{
    if (auto *e = qobject_cast<QLineEdit *>(code)) e->clear();
    if (auto *c = qobject_cast<QComboBox *>(code)) {
        const QSignalBlocker block(c);
        c->clear();
        if (c->isEditable()) c->setEditText(QString());
    }
    for (QLineEdit *f : {name, spec, price, count, amount})
        if (f) f->clear();
}

// ---- the packaging window ---------------------------------------------------

Tcpbz::Tcpbz(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品包装"));
    m_grid = new Grid(lineColumns(), this, "lines");
    m_grid->setStretchColumn(1);
    m_product = display("product");
    m_spec = display("productSpec");
    m_team = display("team");
    m_kind = chooser("kind");
    for (PackagingKind k : {PackagingKind::All, PackagingKind::Bags, PackagingKind::Outer, PackagingKind::Labels,
                            PackagingKind::AntiCounterfeit})
        m_kind->addItem(ProductPackaging::kindText(k), int(k));

    // Bags.
    m_bagBox = new QGroupBox(QStringLiteral("包装袋："), this);
    m_bags = {input("bagCode", 8), display("bagName"), display("bagSpec"), display("bagPrice"), input("bagCount", 10),
              display("bagAmount")};
    FieldGrid(m_bagBox, 3)
        .add(QStringLiteral("代码："), m_bags.code)
        .add(QStringLiteral("名称："), m_bags.name)
        .add(QStringLiteral("规格(公斤/包)："), m_bags.spec)
        .add(QStringLiteral("价格(元/条):"), m_bags.price)
        .add(QStringLiteral("数量(条):"), m_bags.count)
        .add(QStringLiteral("金额(元):"), m_bags.amount);

    // Outer packaging.
    m_outerChoice = new QGroupBox(QStringLiteral("选择外包装"), this);
    m_withOuter = new QRadioButton(QStringLiteral("有外包装"), m_outerChoice);
    m_withOuter->setObjectName(QStringLiteral("withOuter"));
    m_withoutOuter = new QRadioButton(QStringLiteral("无外包装"), m_outerChoice);
    m_withoutOuter->setObjectName(QStringLiteral("withoutOuter"));
    auto *outerChoiceLayout = new QHBoxLayout(m_outerChoice);
    outerChoiceLayout->addWidget(m_withOuter);
    outerChoiceLayout->addWidget(m_withoutOuter);
    m_outerBox = new QGroupBox(QStringLiteral("输入外包装"), this);
    m_outer = {chooser("outerCode", kCodePlaceholder), display("outerName"), display("outerSpec"), display("outerPrice"),
               input("outerCount", 10), input("outerAmount", 12)};
    m_outer.amount->setReadOnly(true);
    FieldGrid(m_outerBox, 3)
        .add(QStringLiteral("代码"), m_outer.code)
        .add(QStringLiteral("名称:"), m_outer.name)
        .add(QStringLiteral("规格:"), m_outer.spec)
        .add(QStringLiteral("价格(元/条):"), m_outer.price)
        .add(QStringLiteral("数量(条):"), m_outer.count)
        .add(QStringLiteral("金额(元):"), m_outer.amount);

    // Labels, with the anti-counterfeit choice.
    m_labelBox = new QGroupBox(QStringLiteral("标签："), this);
    m_labels = {input("labelCode", 8), display("labelName"), nullptr, display("labelPrice"), input("labelCount", 10),
                display("labelAmount")};
    m_withoutAnti = new QRadioButton(QStringLiteral("无防伪标签"), m_labelBox);
    m_withoutAnti->setObjectName(QStringLiteral("withoutAnti"));
    m_withAnti = new QRadioButton(QStringLiteral("有防伪标签"), m_labelBox);
    m_withAnti->setObjectName(QStringLiteral("withAnti"));
    auto *antiChoice = new QHBoxLayout;
    antiChoice->addWidget(m_withoutAnti);
    antiChoice->addWidget(m_withAnti);
    antiChoice->addStretch();
    FieldGrid(m_labelBox, 3)
        .add(QStringLiteral("标签代码："), m_labels.code)
        .add(QStringLiteral("标签名称："), m_labels.name)
        .add(QStringLiteral("价格："), m_labels.price)
        .add(QStringLiteral("数量(条)："), m_labels.count)
        .add(QStringLiteral("金额(元):"), m_labels.amount)
        .add(antiChoice);

    m_antiBox = new QGroupBox(QStringLiteral("防伪标签"), this);
    m_anti = {chooser("antiCode", kCodePlaceholder, true), display("antiName"), nullptr, display("antiPrice"),
              input("antiCount", 10), input("antiAmount", 12)};
    m_anti.amount->setReadOnly(true);
    FieldGrid(m_antiBox, 3)
        .add(QStringLiteral("防伪标签代码:"), m_anti.code)
        .add(QStringLiteral("防伪标签名称:"), m_anti.name)
        .add(QStringLiteral("防伪标签价格:"), m_anti.price)
        .add(QStringLiteral("数量:"), m_anti.count)
        .add(QStringLiteral("金额:"), m_anti.amount);

    auto *lineBox = new QGroupBox(this);
    FieldGrid(lineBox, 4)
        .add(QStringLiteral("产品名称："), m_product)
        .add(QStringLiteral("规格(公斤/包):"), m_spec)
        .add(QStringLiteral("生产班组："), m_team)
        .add(QStringLiteral("请选择："), m_kind);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addWidget(lineBox);
    layout->addWidget(m_bagBox);
    layout->addWidget(m_outerChoice);
    layout->addWidget(m_outerBox);
    layout->addWidget(m_labelBox);
    layout->addWidget(m_antiBox);
    layout->addLayout(buttonRow({button(QStringLiteral("退出"), "close", [this] { close(); })}));
    resize(1000, 720);

    connect(m_grid, &Grid::rowClicked, this, [this](qint64 id) { guarded([this, id] { chooseLine(id); }); });
    connect(m_kind, &QComboBox::activated, this, [this] { guarded([this] { kindChosen(); }); });
    chain().on(m_bags.code, [this] { bagCodeEntered(); });
    chain().on(m_bags.count, [this] { bagCountEntered(); });
    connect(m_withOuter, &QRadioButton::clicked, this, [this] { guarded([this] { outerWanted(true); }); });
    connect(m_withoutOuter, &QRadioButton::clicked, this, [this] { guarded([this] { outerWanted(false); }); });
    connect(qobject_cast<QComboBox *>(m_outer.code), &QComboBox::activated, this, [this] { guarded([this] { outerChosen(); }); });
    chain().on(m_outer.count, [this] { outerCountEntered(); });
    chain().on(m_outer.amount, [this] { outerAmountEntered(); });
    chain().on(m_labels.code, [this] { labelCodeEntered(); });
    chain().on(m_labels.count, [this] { labelCountEntered(); });
    connect(m_withAnti, &QRadioButton::clicked, this, [this] { guarded([this] { antiWanted(true); }); });
    connect(m_withoutAnti, &QRadioButton::clicked, this, [this] { guarded([this] { antiWanted(false); }); });
    auto *antiCombo = qobject_cast<QComboBox *>(m_anti.code);
    connect(antiCombo, &QComboBox::activated, this, [this] { guarded([this] { antiChosen(); }); });
    chain().on(antiCombo, [this] { antiChosen(); });
    chain().on(m_anti.count, [this] { antiCountEntered(); });
    chain().on(m_anti.amount, [this] { antiAmountEntered(); });
}

void Tcpbz::setSelection(const TeamForms &team, const QDate &date)
{
    m_selTeam = team;
    m_selDate = date;
}

void Tcpbz::activate()
{
    guarded([this] { showLines(); });
    resetInputs();
}

PackagingKind Tcpbz::kind() const
{
    return PackagingKind(m_kind->currentData().toInt());
}

void Tcpbz::showLines()
{
    m_rows = packaging().lines(m_selTeam, m_selDate);
    m_grid->setRows(m_rows);
}

void Tcpbz::resetInputs()
{
    m_lineId = 0;
    m_kilograms = 0;
    m_lineSpec.clear();
    m_product->clear();
    m_spec->clear();
    m_team->clear();
    for (PackagingFields *f : {&m_bags, &m_outer, &m_labels, &m_anti}) f->clear();
    for (QRadioButton *r : {m_withOuter, m_withoutOuter, m_withAnti, m_withoutAnti}) {
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
    m_kind->setCurrentIndex(-1);
    m_kind->setEnabled(false);
    m_outerChoice->hide();
    m_outerBox->hide();
    m_antiBox->hide();
    m_bagBox->setEnabled(false);
    m_labelBox->setEnabled(false);
    m_grid->setFocus();
}

void Tcpbz::chooseLine(qint64 id)
{
    const std::optional<Row> line = packaging().line(id);
    if (!line) throw DomainError(ProductPackaging::kGone, ErrorCode::NotFound);
    resetInputs();
    m_lineId = id;
    m_kilograms = line->number(QStringLiteral("scsl"));
    m_lineSpec = line->text(QStringLiteral("cpgg"));
    m_product->setText(line->text(QStringLiteral("cpmc")));
    m_spec->setText(m_lineSpec);
    m_team->setText(line->text(QStringLiteral("scbz")));
    m_kind->setEnabled(true);
    m_kind->setFocus();
}

void Tcpbz::kindChosen()
{
    if (m_lineId == 0 || m_kind->currentIndex() < 0) return;
    const PackagingKind k = kind();
    m_bagBox->setEnabled(false);
    m_labelBox->setEnabled(false);
    m_outerChoice->hide();
    m_outerBox->hide();
    m_antiBox->hide();
    m_withAnti->setEnabled(k == PackagingKind::All);
    m_withoutAnti->setEnabled(k == PackagingKind::All);
    switch (k) {
    case PackagingKind::All:
    case PackagingKind::Bags:
        m_bagBox->setEnabled(true);
        EnterChain::focusField(m_bags.code);
        break;
    case PackagingKind::Labels:
        m_labelBox->setEnabled(true);
        EnterChain::focusField(m_labels.code);
        break;
    case PackagingKind::Outer: outerWanted(true); break;
    case PackagingKind::AntiCounterfeit: {
        auto *c = qobject_cast<QComboBox *>(m_anti.code);
        const QSignalBlocker block(c);
        c->clear();
        for (const Row &r : packaging().stockItems(QStringLiteral("F"))) c->addItem(r.text(QStringLiteral("dm")));
        c->setCurrentIndex(-1);
        m_antiBox->show();
        c->setFocus();
        break;
    }
    }
}

void Tcpbz::bagCodeEntered()
{
    if (m_bags.codeText().isEmpty()) return;
    const std::optional<Row> it = packaging().stockItem(m_bags.codeText());
    if (!it) throw DomainError(ProductPackaging::kNoCode, ErrorCode::NotFound);
    m_bags.name->setText(it->text(QStringLiteral("mc")));
    m_bags.spec->setText(it->text(QStringLiteral("gg")));
    m_bags.price->setText(numberText(it->number(QStringLiteral("price"))));
    m_bags.count->setText(QString::number(ProductPackaging::proposedBags(m_kilograms, it->text(QStringLiteral("gg")))));
    EnterChain::focusField(m_bags.count);
}

void Tcpbz::bagCountEntered()
{
    if (m_bags.name->text().isEmpty()) return;
    if (m_bags.count->text().trimmed().isEmpty()) m_bags.count->setText(QStringLiteral("0"));
    const qint64 count = PackagingStock::pieces(m_bags.count->text());
    if (!packaging().bagsAvailable(m_bags.codeText(), count, m_lineId)) {
        inform(ProductPackaging::kBagsShort);
        EnterChain::focusField(m_bags.code);
        return;
    }
    m_bags.amount->setText(numberText(PackagingPart{{}, {}, {}, PackagingStock::unitPrice(m_bags.price->text()), count}.amount()));
    if (kind() == PackagingKind::Bags) {
        pack(QStringLiteral("您只选择输入包装袋，确认否？"));
        return;
    }
    m_outerChoice->show();
    m_withOuter->setFocus();
}

void Tcpbz::outerWanted(bool yes)
{
    if (!yes) {
        m_outerBox->hide();
        m_labelBox->setEnabled(true);
        EnterChain::focusField(m_labels.code);
        return;
    }
    auto *c = qobject_cast<QComboBox *>(m_outer.code);
    {
        const QSignalBlocker block(c);
        c->clear();
        // Code, name and size side by side; the code travels as the entry's data.
        for (const Row &r : packaging().stockItems(QStringLiteral("A")))
            c->addItem(QStringLiteral("%1 %2 %3")
                           .arg(r.text(QStringLiteral("dm")), -4)
                           .arg(r.text(QStringLiteral("mc")), -14)
                           .arg(r.text(QStringLiteral("gg"))),
                       r.text(QStringLiteral("dm")));
        c->setCurrentIndex(-1);
    }
    m_outerBox->show();
    c->setFocus();
}

void Tcpbz::outerChosen()
{
    auto *c = qobject_cast<QComboBox *>(m_outer.code);
    if (c->currentIndex() < 0) return;
    const QString code = c->currentData().toString();
    const std::optional<Row> it = packaging().stockItem(code);
    if (!it) throw DomainError(ProductPackaging::kNoCode, ErrorCode::NotFound);
    m_outer.name->setText(it->text(QStringLiteral("mc")));
    m_outer.spec->setText(it->text(QStringLiteral("gg")));
    m_outer.price->setText(numberText(it->number(QStringLiteral("price"))));
    c->setItemText(c->currentIndex(), code);
    EnterChain::focusField(m_outer.count);
}

void Tcpbz::outerCountEntered()
{
    if (m_outer.count->text().trimmed().isEmpty() || m_outer.name->text().isEmpty()) return;
    const PackagingPart p = *part(m_outer);
    m_outer.amount->setText(numberText(p.amount()));
    EnterChain::focusField(m_outer.amount);
}

void Tcpbz::outerAmountEntered()
{
    if (m_outer.amount->text().isEmpty()) return;
    if (kind() == PackagingKind::Outer) {
        pack(QStringLiteral("您只选择了外包装，确认否?"));
        return;
    }
    if (!ask(QStringLiteral("确认否?"))) return;
    m_outerBox->hide();
    m_labelBox->setEnabled(true);
    EnterChain::focusField(m_labels.code);
}

void Tcpbz::labelCodeEntered()
{
    if (m_labels.codeText().isEmpty()) return;
    const std::optional<Row> it = packaging().stockItem(m_labels.codeText());
    if (!it) throw DomainError(ProductPackaging::kNoCode, ErrorCode::NotFound);
    m_labels.name->setText(it->text(QStringLiteral("mc")));
    m_labels.price->setText(numberText(it->number(QStringLiteral("price"))));
    // One label to a bag.
    qint64 bags = 0;
    if (!m_bags.count->text().trimmed().isEmpty()) bags = PackagingStock::pieces(m_bags.count->text());
    else if (double size = 0; parseNumber(m_lineSpec, &size) && size > 0) bags = ProductPackaging::proposedBags(m_kilograms, m_lineSpec);
    m_labels.count->setText(QString::number(bags));
    EnterChain::focusField(m_labels.count);
}

void Tcpbz::labelCountEntered()
{
    if (m_labels.name->text().isEmpty()) return;
    if (m_labels.count->text().trimmed().isEmpty()) m_labels.count->setText(QStringLiteral("0"));
    const PackagingPart p = *part(m_labels);
    m_labels.amount->setText(numberText(p.amount()));
    if (kind() == PackagingKind::Labels) {
        pack(QStringLiteral("您只选择了标签，确认否?"));
        return;
    }
    m_withoutAnti->setFocus();
}

void Tcpbz::antiWanted(bool yes)
{
    if (kind() != PackagingKind::All || m_labels.amount->text().isEmpty()) return;
    if (!yes) {
        m_antiBox->hide();
        pack(QStringLiteral("确认否？"));
        return;
    }
    auto *c = qobject_cast<QComboBox *>(m_anti.code);
    {
        const QSignalBlocker block(c);
        c->clear();
        for (const Row &r : packaging().stockItems(QString())) c->addItem(r.text(QStringLiteral("dm")));
        c->setCurrentIndex(-1);
        c->setEditText(QString());
    }
    m_anti.count->setText(m_labels.count->text());
    m_antiBox->show();
    c->setFocus();
}

void Tcpbz::antiChosen()
{
    const QString code = m_anti.codeText();
    if (code.isEmpty() || code == kCodePlaceholder) return;
    const std::optional<Row> it = packaging().stockItem(code);
    if (!it) throw DomainError(ProductPackaging::kNoCode, ErrorCode::NotFound);
    m_anti.name->setText(it->text(QStringLiteral("mc")));
    m_anti.price->setText(numberText(it->number(QStringLiteral("price"))));
    EnterChain::focusField(m_anti.count);
}

void Tcpbz::antiCountEntered()
{
    if (m_anti.count->text().trimmed().isEmpty() || m_anti.name->text().isEmpty()) return;
    m_anti.amount->setText(numberText(part(m_anti)->amount()));
    EnterChain::focusField(m_anti.amount);
}

void Tcpbz::antiAmountEntered()
{
    if (m_anti.amount->text().isEmpty()) return;
    pack(kind() == PackagingKind::AntiCounterfeit ? QStringLiteral("您只选择了防伪标签，确认否？") : QStringLiteral("确认否？"));
}

std::optional<PackagingPart> Tcpbz::part(const PackagingFields &f)
{
    if (f.codeText().isEmpty() || f.name->text().isEmpty()) return std::nullopt;
    return PackagingPart{f.codeText(), f.name->text(), f.spec ? f.spec->text() : QString(),
                         PackagingStock::unitPrice(f.price->text()), PackagingStock::pieces(f.count->text())};
}

void Tcpbz::pack(const QString &question)
{
    if (m_lineId == 0) return;
    const PackagingKind k = kind();
    PackagingEntry e;
    e.kind = k;
    if (k == PackagingKind::All || k == PackagingKind::Bags) e.bags = part(m_bags);
    if ((k == PackagingKind::All && m_withOuter->isChecked()) || k == PackagingKind::Outer) e.outer = part(m_outer);
    if (k == PackagingKind::All || k == PackagingKind::Labels) e.labels = part(m_labels);
    if ((k == PackagingKind::All && m_withAnti->isChecked()) || k == PackagingKind::AntiCounterfeit) e.antiCounterfeit = part(m_anti);
    if (!ask(question)) return;
    const std::optional<Row> line = packaging().line(m_lineId);
    if (line && ProductPackaging::packed(*line) && !ask(ProductPackaging::kRepack)) return;
    try {
        packaging().pack(m_lineId, e);
    } catch (const PackagingShortage &err) {
        inform(err.message());
        EnterChain::focusField(err.labels() ? m_labels.code : m_bags.code);
        return;
    }
    const qint64 id = m_lineId;
    showLines();
    resetInputs();
    m_grid->selectId(id);
}

// ---- the selection ----------------------------------------------------------

Tbzw_sr::Tbzw_sr(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品包装"));
    m_teamCode = input("team", 2);
    m_teamName = display("teamName");
    m_date = dateInput("date");
    m_grid = new Grid(lineColumns(), this, "lines");
    m_grid->setStretchColumn(1);
    m_pack = button(QStringLiteral("包装"), "pack", [this] {
        preparePackaging();
        m_window->run();
        guarded([this] { dateEntered(); });
    });
    m_window = new Tcpbz(ctx, this);

    auto *top = new QGroupBox(this);
    FieldGrid(top, 3)
        .add(QStringLiteral("班组代码："), m_teamCode)
        .add(QStringLiteral("班组名称："), m_teamName)
        .add(QStringLiteral("生产日期："), m_date);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttonRow({m_pack, button(QStringLiteral("退出"), "close", [this] { close(); })}));
    resize(1000, 600);

    chain()
        .step(m_teamCode, [this] { return teamEntered(); })
        .step(m_date, [this] { return dateEntered(); }, [] { StepOptions o; o.acceptEmpty = true; return o; }());
}

void Tbzw_sr::activate()
{
    guarded([this] { m_grid->setPager(std::make_shared<RowPager>(session(), ProductPackaging::linesQuery())); });
    m_date->setDate(ctx().clock->today());
    m_teamName->clear();
    m_team = {};
    m_pack->setEnabled(false);
    chain().reset();
}

Go Tbzw_sr::teamEntered()
{
    const std::optional<TeamForms> team = registeredTeam(session(), m_teamCode->text());
    if (!team) return Go::stay();
    m_team = *team;
    m_teamName->setText(team->name);
    return Go::advance();
}

Go Tbzw_sr::dateEntered()
{
    if (m_team.code.isEmpty()) return Go::stay();
    m_grid->setRows(ProductPackaging(session()).lines(m_team, m_date->date()));
    m_pack->setEnabled(true);
    return Go::to(m_pack);
}

void Tbzw_sr::preparePackaging()
{
    m_window->setSelection(m_team, m_date->date());
}

} // namespace fm
