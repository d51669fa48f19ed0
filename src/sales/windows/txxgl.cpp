#include "sales/windows/txxgl.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/numbertext.h"
#include "data/session.h"
#include "sales/corrections.h"
#include "sales/salesdocuments.h"
#include "sales/windows/customerproductlist.h"
#include "sales/windows/linecorrectionwindow.h"
#include "sales/windows/paymenttab.h"
#include "sales/windows/returntab.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "shell/windows/windowregistry.h"
#include "ui/enterchain.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fm {

namespace {

const QString kUnpaid = QStringLiteral("你还没有收款哦！请先收款、打印再重新选客户！");
const QString kBadNumber = QStringLiteral("请输入正确的数字！");

// The print rows of a slip belong to the workstation and operator that made it.
QString workstationOwner(const QString &operatorCode)
{
    return (QSysInfo::machineHostName().left(12) + QLatin1Char(':') + operatorCode).left(20);
}

QLineEdit *field(QWidget *parent, int maxLength = 0, bool readOnly = false)
{
    auto *e = new QLineEdit(parent);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setReadOnly(readOnly);
    return e;
}

QLabel *unitLabel(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("color: #555;"));
    return l;
}

} // namespace

Txxgl::Txxgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("饲料销售管理"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    m_slip = std::make_unique<SalesSlip>(*ctx.session, *ctx.clock, ctx.operatorCode, workstationOwner(ctx.operatorCode));
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(buildIssueTab(), QStringLiteral("周  转"));
    m_returnTab = new ReturnTab(ctx, this);
    m_returnTab->lineDate = [this] { return m_slip->lineDate(); };
    m_tabs->addTab(m_returnTab, QStringLiteral("退  料"));
    m_paymentTab = new PaymentTab(ctx, this);
    connect(m_paymentTab->quitButton(), &QPushButton::clicked, this, &Txxgl::reject);
    m_tabs->addTab(m_paymentTab, QStringLiteral("回  款"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(1040, 720);
    openCorrections = [this] {
        LineCorrectionWindow w(this->ctx(), LineCorrectionWindow::Kind::Issue, this);
        SalesSlip *slip = m_slip.get();
        w.owner = slip->owner();
        w.printLineOf = [slip](qint64 id) { return slip->printLineOf(id); };
        w.listLines = [this, slip] {
            return Corrections(session(), this->ctx().operatorCode).slipLines(slip->number(), slip->customer().code, slip->lineDate());
        };
        w.reload();
        EnterChain::noAutoDefault(&w);
        w.exec();
    };
}

Txxgl::~Txxgl() = default;

QWidget *Txxgl::buildIssueTab()
{
    auto *tab = new QWidget(this);
    m_customer = field(tab, 7);
    m_region = field(tab, 0, true);
    m_name = field(tab, 0, true);
    m_number = field(tab, 0, true);
    m_date = field(tab, 0, true);
    m_product = field(tab, 20);
    m_productName = field(tab, 0, true);
    m_spec = field(tab, 0, true);
    m_category = field(tab, 0, true);
    m_price = field(tab, 16);
    m_bags = field(tab, 10);
    m_unit = new QComboBox(tab);
    m_unit->setEditable(true);
    m_unit->setInsertPolicy(QComboBox::NoInsert);
    m_kilograms = field(tab, 0, true);
    m_amount = field(tab, 0, true);
    m_received = field(tab, 16);
    m_owed = field(tab, 16);

    auto *head = new QGroupBox(QStringLiteral("客户"), tab);
    auto *hg = new QGridLayout(head);
    hg->addWidget(new QLabel(QStringLiteral("客户代码："), head), 0, 0);
    hg->addWidget(m_customer, 0, 1);
    hg->addWidget(new QLabel(QStringLiteral("地区："), head), 0, 2);
    hg->addWidget(m_region, 0, 3);
    hg->addWidget(new QLabel(QStringLiteral("简称："), head), 0, 4);
    hg->addWidget(m_name, 0, 5);
    hg->addWidget(new QLabel(QStringLiteral("周转号码："), head), 1, 0);
    hg->addWidget(m_number, 1, 1);
    hg->addWidget(new QLabel(QStringLiteral("开票日期："), head), 1, 2);
    hg->addWidget(m_date, 1, 3);

    auto *line = new QGroupBox(QStringLiteral("产品"), tab);
    auto *lg = new QGridLayout(line);
    int r = 0;
    lg->addWidget(new QLabel(QStringLiteral("产品代码："), line), r, 0);
    lg->addWidget(m_product, r, 1);
    lg->addWidget(m_productName, r, 2, 1, 3);
    ++r;
    lg->addWidget(new QLabel(QStringLiteral("产品规格："), line), r, 0);
    lg->addWidget(m_spec, r, 1);
    lg->addWidget(unitLabel(QStringLiteral("（公斤/包）"), line), r, 2);
    lg->addWidget(new QLabel(QStringLiteral("产品类别："), line), r, 3);
    lg->addWidget(m_category, r, 4);
    ++r;
    lg->addWidget(new QLabel(QStringLiteral("开票价格："), line), r, 0);
    lg->addWidget(m_price, r, 1);
    lg->addWidget(unitLabel(QStringLiteral("（元/吨）"), line), r, 2);
    lg->addWidget(new QLabel(QStringLiteral("实际数量(包):"), line), r, 3);
    lg->addWidget(m_bags, r, 4);
    ++r;
    lg->addWidget(new QLabel(QStringLiteral("单位："), line), r, 0);
    lg->addWidget(m_unit, r, 1);
    lg->addWidget(new QLabel(QStringLiteral("折合公斤数："), line), r, 3);
    auto *kg = new QHBoxLayout;
    kg->addWidget(m_kilograms);
    kg->addWidget(unitLabel(QStringLiteral("（公斤）"), line));
    lg->addLayout(kg, r, 4);
    ++r;
    lg->addWidget(new QLabel(QStringLiteral("总金额："), line), r, 3);
    auto *am = new QHBoxLayout;
    am->addWidget(m_amount);
    am->addWidget(unitLabel(QStringLiteral("(元)"), line));
    lg->addLayout(am, r, 4);
    lg->setColumnStretch(4, 1);

    auto *pay = new QGroupBox(QStringLiteral("收款"), tab);
    auto *pg = new QGridLayout(pay);
    pg->addWidget(new QLabel(QStringLiteral("实际收款："), pay), 0, 0);
    pg->addWidget(m_received, 0, 1);
    pg->addWidget(new QLabel(QStringLiteral("实际欠款："), pay), 1, 0);
    pg->addWidget(m_owed, 1, 1);

    m_choose = new QPushButton(QStringLiteral("选择客户"), tab);
    m_correct = new QPushButton(QStringLiteral("数据修改"), tab);
    m_customers = new QPushButton(QStringLiteral("客户查询"), tab);
    m_productList = new QPushButton(QStringLiteral("产品查询"), tab);
    m_catalogue = new QPushButton(QStringLiteral("客户产品"), tab);
    m_pay = new QPushButton(QStringLiteral("收款"), tab);
    m_print = new QPushButton(QStringLiteral("打印"), tab);
    QVBoxLayout *buttons = buttonColumn({m_choose, m_correct, m_customers, m_productList, m_catalogue, m_pay, m_print});

    auto *totals = new QGroupBox(QStringLiteral("本单合计"), tab);
    auto *tg = new QGridLayout(totals);
    m_totalQuantity = new QLabel(QStringLiteral("0"), totals);
    m_totalAmount = new QLabel(QStringLiteral("0"), totals);
    QFont big = m_totalAmount->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    m_totalQuantity->setFont(big);
    m_totalAmount->setFont(big);
    m_totalQuantity->setMinimumWidth(160);
    m_totalAmount->setMinimumWidth(160);
    tg->addWidget(new QLabel(QStringLiteral("总销售量："), totals), 0, 0);
    tg->addWidget(m_totalQuantity, 0, 1);
    tg->addWidget(unitLabel(QStringLiteral("(公斤)"), totals), 0, 2);
    tg->addWidget(new QLabel(QStringLiteral("总金额："), totals), 1, 0);
    tg->addWidget(m_totalAmount, 1, 1);
    tg->addWidget(unitLabel(QStringLiteral("(元)"), totals), 1, 2);

    m_lines = new QTableWidget(0, 13, tab);
    m_lines->setHorizontalHeaderLabels({QStringLiteral("客户代码"), QStringLiteral("地区"), QStringLiteral("客户名称"),
                                        QStringLiteral("周转号码"), QStringLiteral("数量(公斤)"), QStringLiteral("开票价"),
                                        QStringLiteral("开票金额"), QStringLiteral("产品代码"), QStringLiteral("产品名称"),
                                        QStringLiteral("规格"), QStringLiteral("标志"), QStringLiteral("操作员"),
                                        QStringLiteral("开票日期")});
    m_lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lines->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lines->verticalHeader()->setVisible(false);
    m_lines->horizontalHeader()->setStretchLastSection(true);

    auto *left = new QVBoxLayout;
    left->addWidget(head);
    left->addWidget(line);
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(pay);
    bottomRow->addWidget(totals, 1);
    left->addLayout(bottomRow);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(top);
    layout->addWidget(m_lines, 1);

    enter().on(m_customer, [this] { enterCustomer(); });
    enter().on(m_product, [this] { enterProduct(); });
    enter().on(m_price, [this] { enterPrice(); });
    enter().on(m_bags, [this] { enterBags(); });
    enter().on(m_unit, [this] { enterUnit(); });
    enter().on(m_kilograms, [this] { enterLine(); });
    enter().on(m_received, [this] { enterReceived(); });
    enter().on(m_owed, [this] { closeSlip(); });
    connect(m_choose, &QPushButton::clicked, this, &Txxgl::chooseCustomer);
    connect(m_pay, &QPushButton::clicked, this, &Txxgl::startPayment);
    connect(m_print, &QPushButton::clicked, this, &Txxgl::printSlip);
    connect(m_correct, &QPushButton::clicked, this, &Txxgl::corrections);
    connect(m_customers, &QPushButton::clicked, this, [this] {
        if (ctx().windows) ctx().windows->open(25);
        refreshLines();
    });
    connect(m_catalogue, &QPushButton::clicked, this, [this] {
        if (ctx().windows) ctx().windows->open(40);
        refreshLines();
    });
    connect(m_productList, &QPushButton::clicked, this, [this] {
        if (!m_productListWindow) m_productListWindow = new CustomerProductList(this);
        guarded([this] { m_productListWindow->load(session(), m_slip->customer().code.isEmpty() ? m_customer->text() : m_slip->customer().code); });
        m_productListWindow->exec();
    });

    for (QWidget *w : std::initializer_list<QWidget *>{m_customer, m_product, m_price, m_bags, m_unit, m_kilograms,
                                                       m_received, m_owed, m_correct, m_pay, m_print})
        w->setEnabled(false);
    return tab;
}

void Txxgl::activate()
{
    // Runs when the main window opens the sales window; a slip in progress
    // (and its totals) survives, as do child windows opened from here. A new
    // operator starts with a slip of their own.
    const QString owner = workstationOwner(ctx().operatorCode);
    if (m_slip->owner() != owner && m_slip->state() != SalesSlip::State::CustomerEntered
        && m_slip->state() != SalesSlip::State::Paying)
        m_slip = std::make_unique<SalesSlip>(session(), *ctx().clock, ctx().operatorCode, owner);
    guarded([this] { m_slip->openWindow(); });
    m_date->setText(m_slip->lineDate());
    m_returnTab->activate();
    bool catalogueRight = false;
    guarded([&] {
        const auto op = Operators(session()).find(ctx().operatorCode);
        catalogueRight = op && rightGranted(op->rights, 55);
    });
    m_catalogue->setEnabled(catalogueRight);
    showTotals();
    refreshLines();
    m_choose->setFocus();
}

void Txxgl::reject()
{
    bool ok = true;
    guarded([&] { ok = m_slip->canAbandon(); });
    if (!ok) {
        inform(kUnpaid);
        m_pay->setFocus();
        return;
    }
    FunctionWindow::reject();
}

void Txxgl::showMessages(const QString &text)
{
    for (const QString &m : text.split(QLatin1Char('\n'))) inform(m);
}

void Txxgl::resetLineFields()
{
    m_quote.reset();
    for (QLineEdit *e : {m_product, m_productName, m_spec, m_category}) e->clear();
    for (QLineEdit *e : {m_price, m_kilograms, m_amount, m_bags}) e->setText(QStringLiteral("0"));
    m_unit->clear();
    m_unit->setEditText(QString());
    for (QWidget *w : std::initializer_list<QWidget *>{m_bags, m_kilograms, m_price, m_unit}) w->setEnabled(false);
}

void Txxgl::showTotals()
{
    m_totalQuantity->setText(numberText(m_slip->totals().quantity));
    m_totalAmount->setText(numberText(m_slip->totals().amount));
}

void Txxgl::refreshLines()
{
    m_lines->setRowCount(0);
    if (m_slip->number().isEmpty() || m_slip->customer().code.isEmpty()) return;
    guarded([this] {
        QSqlQuery q = session().exec(
            QStringLiteral("SELECT khdm, region, khmc, zzhm, zznum, zzjg, zzje, cpdm, cpmc, cpgg, bz_1, czydm, rq_1 "
                           "FROM {sale1} WHERE zzhm = ? AND {ci:khdm} = {ci:?} AND rq_1 = ? AND bz_1 = '1' ORDER BY id"),
            {m_slip->number(), m_slip->customer().code, m_slip->lineDate()});
        int row = 0;
        while (q.next()) {
            m_lines->insertRow(row);
            for (int c = 0; c < 13; ++c) {
                const QVariant v = q.value(c);
                const bool number = c >= 4 && c <= 6;
                auto *item = new QTableWidgetItem(number ? numberText(v.toDouble()) : v.toString().trimmed());
                if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_lines->setItem(row, c, item);
            }
            ++row;
        }
    });
    m_lines->resizeColumnsToContents();
}

void Txxgl::chooseCustomer()
{
    QString number;
    if (!guarded([&] { number = m_slip->start(); })) {
        m_pay->setFocus();
        return;
    }
    for (QLineEdit *e : {m_customer, m_region, m_name, m_received, m_owed}) e->clear();
    m_received->setText(QStringLiteral("0"));
    m_owed->setText(QStringLiteral("0"));
    resetLineFields();
    m_product->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{m_pay, m_print, m_received, m_owed, m_correct}) w->setEnabled(false);
    m_number->setText(number);
    m_date->setText(m_slip->lineDate());
    showTotals();
    refreshLines();
    EnterChain::advance(m_customer);
}

void Txxgl::enterCustomer()
{
    if (m_customer->text().trimmed().isEmpty()) return;
    std::optional<SalesCustomer> c;
    if (!guarded([&] { c = m_slip->enterCustomer(m_customer->text()); })) {
        m_customer->setFocus();
        return;
    }
    if (!c) return;
    m_customer->setText(c->code);
    m_region->setText(c->region);
    m_name->setText(c->name);
    m_customer->setEnabled(false);
    EnterChain::advance(m_product);
}

void Txxgl::enterProduct()
{
    if (m_slip->linesEntered() >= SalesSlip::kMaxLines) {
        inform(QStringLiteral("你的记录数已经超过8条，请收款打印后重新选择客户！"));
        m_pay->setFocus();
        return;
    }
    m_product->setText(m_product->text().toLower());
    std::optional<ProductQuote> q;
    try {
        q = m_slip->quote(m_product->text());
    } catch (const DomainError &e) {
        showMessages(e.message());
        for (QWidget *w : std::initializer_list<QWidget *>{m_price, m_bags, m_kilograms, m_amount}) w->setEnabled(false);
        m_product->setFocus();
        return;
    } catch (const DbError &e) {
        inform(e.message());
        return;
    }
    if (!q) return;
    m_quote = q;
    m_productName->setText(q->name);
    m_category->setText(q->category);
    m_spec->setText(q->spec);
    m_price->setText(numberText(q->price));
    m_price->setReadOnly(!q->priceEditable);
    m_retailPolicy = q->policyPrice;
    if (!q->warning.isEmpty()) inform(q->warning);
    EnterChain::advance(m_price);
}

void Txxgl::enterPrice()
{
    if (!m_quote || m_price->text().trimmed().isEmpty()) return;
    double price = 0;
    if (!parseNumber(m_price->text(), &price)) {
        inform(kBadNumber);
        return;
    }
    m_linePrice = price;
    m_retailPolicy = m_quote->policyPrice;
    if (m_slip->customer().retail()) {
        QString answer = numberText(price);
        double policy = price;
        if (prompter().askText(this, QStringLiteral("零售客户政策价格："), QStringLiteral(" 政策价格(元/吨):   "), &answer)
            && !parseNumber(answer, &policy)) {
            inform(kBadNumber);
            return;
        }
        m_retailPolicy = policy;
    }
    m_price->setEnabled(false);
    EnterChain::advance(m_bags);
}

void Txxgl::enterBags()
{
    if (!m_quote) return;
    if (m_bags->text().trimmed().isEmpty()) m_bags->setText(QStringLiteral("0"));
    double bags = 0;
    if (!parseNumber(m_bags->text(), &bags) || bags < 0) {
        inform(kBadNumber);
        return;
    }
    m_lineBags = bags;
    m_unit->clear();
    m_unit->setEditText(SalesSlip::unitFor(m_category->text(), m_quote->spec));
    EnterChain::advance(m_unit);
}

void Txxgl::enterUnit()
{
    if (!m_quote || m_unit->currentText().trimmed().isEmpty()) return;
    if (!guarded([this] { m_lineKilograms = SalesSlip::kilograms(m_lineBags, m_quote->spec); })) return;
    m_kilograms->setText(numberText(m_lineKilograms));
    EnterChain::advance(m_kilograms);
}

void Txxgl::enterLine()
{
    if (!m_quote || m_kilograms->text().trimmed().isEmpty()) return;
    m_amount->setText(numberText(m_linePrice * m_lineKilograms / 1000));
    SlipLine line;
    if (!guarded([&] {
            line = m_slip->prepareLine(*m_quote, m_linePrice, m_retailPolicy, m_lineBags, m_unit->currentText());
        }))
        return;
    if (ask(QStringLiteral("确认否？"))) {
        if (guarded([&] { m_slip->confirmLine(line); })) {
            showTotals();
            m_correct->setEnabled(true);
        }
    }
    refreshLines();
    resetLineFields();
    m_pay->setEnabled(true);
    m_product->setEnabled(true);
    m_product->setFocus();
}

void Txxgl::startPayment()
{
    if (!guarded([this] { m_slip->startPayment(); })) return;
    // The slip is complete: no more lines until the next customer.
    resetLineFields();
    m_product->setEnabled(false);
    m_pay->setEnabled(false);
    m_received->setEnabled(true);
    m_owed->setEnabled(true);
    m_received->setFocus();
}

void Txxgl::enterReceived()
{
    if (m_received->text().trimmed().isEmpty()) m_received->setText(QStringLiteral("0"));
    double received = 0;
    if (!parseNumber(m_received->text(), &received)) {
        inform(kBadNumber);
        return;
    }
    m_received->setEnabled(false);
    m_owed->setText(numberText(m_slip->totals().amount - received));
    m_owed->setFocus();
}

void Txxgl::closeSlip()
{
    if (m_received->isEnabled()) return; // the amount received comes first
    double received = 0, owed = 0;
    if (!parseNumber(m_received->text(), &received) || !parseNumber(m_owed->text(), &owed)) {
        inform(kBadNumber);
        return;
    }
    if (!ask(QStringLiteral("确认否？"))) {
        m_received->setText(QStringLiteral("0"));
        m_received->setEnabled(true);
        m_received->setFocus();
        return;
    }
    if (!guarded([&] { m_slip->close(received, owed); })) return;
    // Closed once: the payment fields and corrections are done with.
    m_received->setEnabled(false);
    m_owed->setEnabled(false);
    m_correct->setEnabled(false);
    m_product->setEnabled(false);
    m_choose->setEnabled(true);
    m_print->setEnabled(true);
    m_print->setFocus();
}

void Txxgl::printSlip()
{
    if (!m_slip->fundsRowId()) return;
    guarded([this] {
        const ReportDocument doc = turnoverSlipDocument(session(), ctx().qymc, m_slip->owner(), m_slip->customer().code,
                                                        m_slip->customer().name, m_slip->fundsRowId(),
                                                        ctx().clock->today());
        showDocument(ctx(), this, doc);
    });
}

void Txxgl::corrections()
{
    if (openCorrections) openCorrections();
    // Whatever was corrected, the totals come from the slip's own lines again.
    guarded([this] { m_slip->recomputeTotals(); });
    showTotals();
    refreshLines();
}

} // namespace fm
