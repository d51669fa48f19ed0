#include "production/windows/productbookingpage.h"

#include "common/clock.h"
#include "common/numbertext.h"
#include "data/rowpager.h"
#include "production/productionparameters.h"
#include "production/productionteams.h"
#include "production/products.h"
#include "production/windows/productionfields.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "warehouse/windows/warehousefields.h"

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

const QString kChooseTeam = QStringLiteral("选择班组");
const QString kCodePlaceholder = QStringLiteral("产品代码");

} // namespace

ProductBookingPage::ProductBookingPage(AppContext &ctx, Mode mode, QWidget *parent) : FormPage(ctx, parent), m_mode(mode)
{
    m_team = chooser("team", mode == Mode::Input ? QString() : kChooseTeam);
    m_date = dateInput("date");
    m_code = chooser("code", kCodePlaceholder, true);
    m_code->lineEdit()->setMaxLength(20);
    m_name = display("name");
    m_spec = display("spec");
    m_bags = input("bags", 12);
    m_tonnes = display("tonnes");
    m_confirm = button(QStringLiteral("确认"), "confirm", [this] { confirm(); });
    m_stock = new Grid(masterColumns(), this, "stock");
    m_stock->setStretchColumn(1);

    auto *teamBox = new QGroupBox(QStringLiteral("生产班组"), this);
    FieldGrid teamFields(teamBox, 1);
    teamFields.add(QStringLiteral("生产班组："), m_team).add(QStringLiteral("生产日期："), m_date);
    if (mode != Mode::Production) {
        auto *kinds = new QWidget(teamBox);
        auto *h = new QHBoxLayout(kinds);
        h->setContentsMargins(0, 0, 0, 0);
        const bool input = mode == Mode::Input;
        m_kind1 = new QRadioButton(input ? QStringLiteral("生产输入") : QStringLiteral("销售输出"), kinds);
        m_kind2 = new QRadioButton(input ? QStringLiteral("回机输入") : QStringLiteral("车间输出"), kinds);
        m_kind1->setObjectName(QStringLiteral("kind1"));
        m_kind2->setObjectName(QStringLiteral("kind2"));
        auto *group = new QButtonGroup(kinds);
        group->addButton(m_kind1);
        group->addButton(m_kind2);
        h->addWidget(m_kind1);
        h->addWidget(m_kind2);
        h->addStretch();
        teamFields.add(kinds);
    }

    auto *productBox = new QGroupBox(QStringLiteral("生产产品"), this);
    FieldGrid fields(productBox, 1);
    fields.add(QStringLiteral("产品代码："), m_code)
        .add(QStringLiteral("产品名称："), m_name)
        .add(mode == Mode::Production ? QStringLiteral("规格：") : QStringLiteral("规        格："), m_spec,
             QStringLiteral("（公斤/包）"));
    if (mode == Mode::Production) {
        m_pellet = chooser("pellet");
        m_crumble = chooser("crumble");
        fields.add(QStringLiteral("颗粒标志："), m_pellet).add(QStringLiteral("压模破碎："), m_crumble);
    }
    fields.add(mode == Mode::Output ? QStringLiteral("数        量：") : QStringLiteral("生产数量："), m_bags, QStringLiteral("（包数）"))
        .add(QStringLiteral("折合吨数："), m_tonnes, QStringLiteral("（吨）"));

    auto *left = new QVBoxLayout;
    left->addWidget(teamBox);
    left->addWidget(productBox);
    left->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(m_stock, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttonRow({m_confirm, button(QStringLiteral("&关闭"), "close", [this] { window()->close(); })}));

    chain()
        .step(m_code, [this] { return codeEntered(); })
        .step(m_bags, [this] { return bagsEntered(); });
    // Picking a code from the list looks it up as Enter would.
    connect(m_code, &QComboBox::activated, this, [this] { chain().run(m_code); });
}

void ProductBookingPage::activate()
{
    guarded([this] {
        const QSignalBlocker block(m_team);
        m_team->clear();
        m_team->addItems(teamNames(session()));
        m_team->setCurrentIndex(-1);
        {
            const QSignalBlocker b(m_code);
            m_code->clear();
            for (const Row &r : session().rows(QStringLiteral("SELECT cpdm FROM {price} ORDER BY cpdm, id")))
                m_code->addItem(r.text(QStringLiteral("cpdm")));
        }
        if (m_pellet) {
            ProductionParameters p(session(), *ctx().clock);
            m_pellet->clear();
            for (const ParameterChoice &c : p.pelletChoices()) m_pellet->addItem(c.caption, c.value);
            m_crumble->clear();
            for (const ParameterChoice &c : p.crumbleChoices()) m_crumble->addItem(c.caption, c.value);
        }
        showStock();
    });
    m_date->setDate(ctx().clock->today());
    if (m_kind1) m_kind1->setChecked(true);
    resetProduct();
}

void ProductBookingPage::resetProduct()
{
    m_product.clear();
    m_name->clear();
    m_spec->clear();
    m_bags->setText(QStringLiteral("0"));
    m_tonnes->setText(QStringLiteral("0"));
    m_code->setCurrentIndex(-1);
    m_code->setEditText(QString());
    if (m_pellet) m_pellet->setCurrentIndex(0);
    if (m_crumble) m_crumble->setCurrentIndex(0);
    m_confirm->setEnabled(false);
    chain().reset();
}

Go ProductBookingPage::codeEntered()
{
    const std::optional<Product> p = findProduct(session(), m_code->currentText());
    if (!p) return Go::stay(); // a code not found changes nothing
    m_product = p->code;
    m_name->setText(p->name);
    m_spec->setText(p->spec);
    return Go::advance();
}

Go ProductBookingPage::bagsEntered()
{
    if (m_product.isEmpty()) return Go::to(m_code);
    const double kg = ProductStock::kilograms(numberIn(m_bags), m_spec->text());
    m_tonnes->setText(numberText(kg / 1000));
    m_confirm->setEnabled(true);
    return Go::to(m_confirm);
}

void ProductBookingPage::confirm()
{
    if (m_product.isEmpty()) return;
    const QString team = m_team->currentText().trimmed();
    if (m_mode != Mode::Output && (team.isEmpty() || team == kChooseTeam)) {
        inform(ProductStock::kNoTeam);
        m_team->setFocus();
        return;
    }
    if (ask(QStringLiteral("确认否？"))) {
        const double bags = numberIn(m_bags);
        if (m_mode == Mode::Output) {
            stock().output(m_product, bags);
        } else {
            ProductInput in;
            in.team = team;
            in.date = m_date->date();
            in.code = m_product;
            in.bags = bags;
            in.kind = m_mode == Mode::Production ? InputKind::Production
                                                 : (m_kind2->isChecked() ? InputKind::ReturnInput : InputKind::StockInput);
            if (m_pellet) {
                in.pelletFlag = m_pellet->currentData().toString();
                in.crumbleKind = m_crumble->currentData().toString().toInt();
            }
            stock().input(in);
        }
        showStock();
        m_confirm->setEnabled(false);
    }
    resetProduct();
}

void ProductBookingPage::showStock()
{
    m_stock->setPager(std::make_shared<RowPager>(session(), ProductStock::stockQuery(m_mode != Mode::Output)));
}

} // namespace fm
