#include "sales/windows/issuetab.h"

#include "accounts/credit.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "data/dberror.h"
#include "sales/corrections.h"
#include "sales/salesdocuments.h"
#include "sales/salesnumbers.h"
#include "sales/windows/customerproductlist.h"
#include "sales/windows/linecorrectionwindow.h"
#include "shell/menutable.h"
#include "shell/operators.h"
#include "ui/grid.h"
#include "ui/layouts.h"
#include "ui/reporting.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace fm {

namespace {

QLabel *total(QWidget *parent)
{
    auto *l = new QLabel(QStringLiteral("0"), parent);
    QFont big = l->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    l->setFont(big);
    l->setMinimumWidth(120);
    return l;
}

} // namespace

IssueTab::IssueTab(AppContext &ctx, QWidget *parent) : FormPage(ctx, parent)
{
    m_customer = input("customer", 7);
    m_region = display("region");
    m_name = display("name");
    m_number = display("number");
    m_date = display("date");
    m_product = input("product", 20);
    m_productName = display("productName");
    m_spec = display("spec");
    m_category = display("category");
    m_price = input("price", 16);
    m_bags = input("bags", 10);
    m_unit = chooser("unit", QString(), true);
    // Computed, read-only, but Enter in them confirms the line and closes the slip.
    m_kilograms = input("kilograms");
    m_kilograms->setReadOnly(true);
    m_amount = display("amount");
    m_received = input("received", 16);
    m_owed = input("owed");
    m_owed->setReadOnly(true);

    auto *head = new QGroupBox(QStringLiteral("客户"), this);
    FieldGrid(head, 3)
        .add(QStringLiteral("客户代码："), m_customer)
        .add(QStringLiteral("地区："), m_region)
        .add(QStringLiteral("简称："), m_name)
        .add(QStringLiteral("周转号码："), m_number)
        .add(QStringLiteral("开票日期："), m_date);

    auto *line = new QGroupBox(QStringLiteral("产品"), this);
    FieldGrid(line, 2)
        .add(QStringLiteral("产品代码："), m_product)
        .add(m_productName)
        .add(QStringLiteral("产品规格："), m_spec, QStringLiteral("（公斤/包）"))
        .add(QStringLiteral("产品类别："), m_category)
        .add(QStringLiteral("开票价格："), m_price, QStringLiteral("（元/吨）"))
        .add(QStringLiteral("实际数量(包):"), m_bags)
        .add(QStringLiteral("单位："), m_unit)
        .add(QStringLiteral("折合公斤数："), m_kilograms, QStringLiteral("（公斤）"))
        .add(QStringLiteral("总金额："), m_amount, QStringLiteral("(元)"));

    auto *pay = new QGroupBox(QStringLiteral("收款"), this);
    FieldGrid(pay, 1).add(QStringLiteral("实际收款："), m_received).add(QStringLiteral("实际欠款："), m_owed);

    auto *totals = new QGroupBox(QStringLiteral("本单合计"), this);
    m_totalQuantity = total(totals);
    m_totalAmount = total(totals);
    FieldGrid(totals, 1)
        .add(QStringLiteral("总销售量："), m_totalQuantity, QStringLiteral("(公斤)"))
        .add(QStringLiteral("总金额："), m_totalAmount, QStringLiteral("(元)"));

    m_choose = button(QStringLiteral("选择客户"), "choose", [this] { chooseCustomer(); });
    m_correct = button(QStringLiteral("数据修改"), "correct", [this] { corrections(); });
    m_customers = button(QStringLiteral("客户查询"), "customers", [this] {
        openFunction(Fn::CustomerQuery);
        showSlip();
    });
    m_productList = button(QStringLiteral("产品查询"), "productList", [this] { showProducts(); });
    m_catalogue = button(QStringLiteral("客户产品"), "catalogue", [this] {
        openFunction(Fn::ProductCatalogue);
        showSlip();
    });
    m_pay = button(QStringLiteral("收款"), "pay", [this] { startPayment(); });
    m_print = button(QStringLiteral("打印"), "print", [this] { printSlip(); });

    m_lines = new Grid(gridColumns({"客户代码", "地区", "客户名称", "周转号码", "数量(公斤)", "开票价", "开票金额", "产品代码",
                                    "产品名称", "规格", "标志", "操作员", "开票日期"},
                                   {"khdm", "region", "khmc", "zzhm", "zznum", "zzjg", "zzje", "cpdm", "cpmc", "cpgg", "bz_1",
                                    "czydm", "rq_1"}),
                       this, "lines");

    auto *left = new QVBoxLayout;
    left->addWidget(head);
    left->addWidget(line);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(pay);
    bottom->addWidget(totals, 1);
    left->addLayout(bottom);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttonColumn({m_choose, m_correct, m_customers, m_productList, m_catalogue, m_pay, m_print}));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_lines, 1);

    chain()
        .step(m_customer, [this] { return enterCustomer(); }, {QString(), false, true, {}})
        .step(m_product, [this] { return enterProduct(); })
        .step(m_price, [this] { return enterPrice(); }, {QString(), false, true, {}})
        .step(m_bags, [this] { return enterBags(); }, {QStringLiteral("0"), false, false, {}})
        .step(m_unit, [this] { return enterUnit(); })
        .step(m_kilograms, [this] { return enterLine(); })
        .step(m_received, [this] { return enterReceived(); }, {QStringLiteral("0"), false, true, {}})
        .step(m_owed, [this] { return closeSlip(); });

    openCorrections = [this] {
        LineCorrectionWindow w(this->ctx(), LineCorrectionWindow::Kind::Issue, this);
        SalesSlip *slip = m_slip.get();
        w.workstation = slip->workstation();
        w.printLineOf = [slip](qint64 id) { return slip->printLineOf(id); };
        w.listLines = [this, slip] {
            return Corrections(session(), this->ctx().operatorCode).slipLines(slip->number(), slip->customer().code, slip->lineDate());
        };
        w.run();
    };
    m_slip = std::make_unique<SalesSlip>(session(), *ctx.clock, ctx.operatorCode, workstation());
    chain().disableAll();
    for (QPushButton *b : {m_correct, m_pay, m_print}) b->setEnabled(false);
}

IssueTab::~IssueTab() = default;

QString IssueTab::workstation() const
{
    return ctx().workstation.isEmpty() ? QSysInfo::machineHostName() : ctx().workstation;
}

void IssueTab::activate()
{
    // The operator logged in now writes every row from here on; a slip left
    // by someone else stays theirs.
    m_slip = std::make_unique<SalesSlip>(session(), *ctx().clock, ctx().operatorCode, workstation());
    bool restored = false;
    guarded([&] { restored = m_slip->openWindow(); });
    for (QLineEdit *e : {m_customer, m_region, m_name, m_number}) e->clear();
    m_received->setText(QStringLiteral("0"));
    m_owed->setText(QStringLiteral("0"));
    clearLine();
    m_date->setText(m_slip->lineDate());
    chain().disableAll();
    m_choose->setEnabled(true);
    m_correct->setEnabled(restored);
    m_pay->setEnabled(restored);
    m_print->setEnabled(false);
    bool catalogueRight = false;
    guarded([&] {
        const auto op = Operators(session()).find(ctx().operatorCode);
        catalogueRight = op && rightGranted(op->rights, number(RightsPosition::ProductCatalogue));
    });
    m_catalogue->setEnabled(catalogueRight);
    showSlip();
    if (!restored) {
        m_choose->setFocus();
        return;
    }
    const Customer &c = m_slip->customer();
    m_customer->setText(c.code);
    m_region->setText(c.region);
    m_name->setText(c.name);
    m_number->setText(m_slip->number());
    chain().reach(m_product);
    for (const QString &m : m_slip->restoredNotice()) inform(m);
}

bool IssueTab::canLeave()
{
    try {
        m_slip->checkLeave();
        return true;
    } catch (const DomainError &e) {
        inform(e.message());
    } catch (const DbError &e) {
        inform(e.message());
    }
    m_pay->setFocus();
    return false;
}

void IssueTab::clearLine()
{
    m_quote.reset();
    m_retailPolicy.reset();
    for (QLineEdit *e : {m_product, m_productName, m_spec, m_category}) e->clear();
    for (QLineEdit *e : {m_price, m_kilograms, m_amount, m_bags}) e->setText(QStringLiteral("0"));
    m_unit->clear();
    m_unit->setEditText(QString());
}

void IssueTab::showSlip()
{
    m_totalQuantity->setText(numberText(m_slip->totals().quantity));
    m_totalAmount->setText(numberText(m_slip->totals().amount));
    Rows lines;
    guarded([&] { lines = m_slip->lines(); });
    m_lines->setRows(lines);
}

void IssueTab::chooseCustomer()
{
    QString number;
    try {
        number = m_slip->start();
    } catch (const DomainError &e) {
        if (e.code() != ErrorCode::Unpaid) throw;
        inform(e.message());
        m_pay->setFocus();
        return;
    }
    for (QLineEdit *e : {m_customer, m_region, m_name}) e->clear();
    m_received->setText(QStringLiteral("0"));
    m_owed->setText(QStringLiteral("0"));
    clearLine();
    for (QPushButton *b : {m_pay, m_print, m_correct}) b->setEnabled(false);
    m_number->setText(number);
    m_date->setText(m_slip->lineDate());
    showSlip();
    chain().reset();
}

Go IssueTab::enterCustomer()
{
    const std::optional<Customer> c = m_slip->enterCustomer(m_customer->text());
    if (!c) return Go::stay();
    m_customer->setText(c->code);
    m_region->setText(c->region);
    m_name->setText(c->name);
    return Go::advance();
}

Go IssueTab::enterProduct()
{
    m_product->setText(m_product->text().toLower());
    const QString code = m_product->text();
    clearLine();
    m_product->setText(code);
    std::optional<Product> p;
    try {
        p = m_slip->product(code);
    } catch (const DomainError &e) {
        if (e.code() != ErrorCode::Unpaid) throw;
        inform(e.message());
        return Go::to(m_pay);
    }
    if (!p) return Go::stay();
    // The name shows before a refusal of the product.
    m_productName->setText(p->name);
    m_quote = m_slip->quote(*p);
    m_spec->setText(m_quote->spec);
    m_category->setText(m_quote->category);
    m_price->setText(numberText(m_quote->price));
    m_price->setReadOnly(!m_quote->priceEditable);
    for (const QString &w : m_quote->warnings) inform(w);
    return Go::advance();
}

Go IssueTab::enterPrice()
{
    m_linePrice = sales::parsePrice(m_price->text());
    m_retailPolicy.reset();
    if (m_slip->customer().isRetail()) {
        QString answer = numberText(m_linePrice);
        // Cancelled: the line price stands.
        m_retailPolicy = askText(QStringLiteral("零售客户政策价格："), QStringLiteral(" 政策价格(元/吨):   "), &answer)
            ? sales::parsePrice(answer)
            : m_linePrice;
    }
    return Go::advance();
}

const ProductQuote &IssueTab::quote() const
{
    if (!m_quote) throw DomainError(QStringLiteral("请先输入产品代码！"), ErrorCode::Incomplete);
    return *m_quote;
}

Go IssueTab::enterBags()
{
    m_lineBags = sales::parseBags(m_bags->text());
    m_unit->clear();
    m_unit->setEditText(SalesSlip::unitFor(m_category->text(), quote().spec));
    return Go::advance();
}

Go IssueTab::enterUnit()
{
    m_kilograms->setText(numberText(SalesSlip::kilograms(m_lineBags, quote().spec)));
    return Go::advance();
}

Go IssueTab::enterLine()
{
    const SlipLine line = m_slip->prepareLine(quote(), m_linePrice, m_lineBags, m_unit->currentText(), m_retailPolicy);
    m_amount->setText(numberText(line.amount));
    // Past the credit limit the clerk decides; declining drops the line.
    const auto overLimit = creditWarning(session(), m_slip->customer().code, m_slip->totals().amount + line.amount,
                                         ctx().clock->today());
    if ((!overLimit || ask(*overLimit)) && ask(QStringLiteral("确认否？"))) {
        m_slip->confirmLine(line);
        m_correct->setEnabled(true);
    } else {
        m_slip->declineLine();
    }
    showSlip();
    clearLine();
    m_pay->setEnabled(true);
    return Go::to(m_product);
}

void IssueTab::startPayment()
{
    m_slip->startPayment();
    // The slip is complete: no more lines until the next customer.
    clearLine();
    chain().disableAll();
    m_pay->setEnabled(false);
    chain().reach(m_received);
}

Go IssueTab::enterReceived()
{
    const double received = sales::parseMoney(m_received->text());
    m_received->setText(numberText(received));
    m_owed->setText(numberText(m_slip->owedAfter(received)));
    return Go::advance();
}

Go IssueTab::closeSlip()
{
    if (!ask(QStringLiteral("确认否？"))) {
        m_received->setText(QStringLiteral("0"));
        return Go::back();
    }
    m_slip->close(sales::parseMoney(m_received->text()));
    // Closed once: the payment fields and corrections are done with.
    chain().disableAll();
    m_correct->setEnabled(false);
    m_choose->setEnabled(true);
    return Go::to(m_print);
}

void IssueTab::printSlip()
{
    if (!m_slip->fundsRowId()) return;
    const Customer &c = m_slip->customer();
    const SlipPrint print{m_slip->workstation(), m_slip->operatorCode(), c.code, c.name, m_slip->number(),
                          m_slip->fundsRowId()};
    showDocument(ctx(), this, turnoverSlipDocument(session(), ctx().qymc, print, ctx().clock->today()));
}

void IssueTab::corrections()
{
    if (openCorrections) openCorrections();
    // Whatever was corrected, the totals come from the slip's own lines again.
    m_slip->recomputeTotals();
    showSlip();
}

void IssueTab::showProducts()
{
    if (!m_productListWindow) m_productListWindow = new CustomerProductList(ctx(), this);
    const QString code = m_slip->customer().code.isEmpty() ? m_customer->text() : m_slip->customer().code;
    if (guarded([&] { m_productListWindow->load(code); })) m_productListWindow->exec();
}

} // namespace fm
