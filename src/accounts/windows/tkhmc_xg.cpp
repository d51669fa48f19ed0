#include "accounts/windows/tkhmc_xg.h"

#include "accounts/customerregister.h"
#include "accounts/windows/registerwidgets.h"
#include "common/gbk.h"
#include "ui/enterchain.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

Tkhmc_xg::Tkhmc_xg(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户名称修改"));
    m_code = new QLineEdit(this);
    m_code->setMaxLength(7);
    m_name = new QLineEdit(this);
    m_region = new QLineEdit(this);
    makeDisplayOnly(m_name);
    makeDisplayOnly(m_region);
    m_newName = new QLineEdit(this);
    m_newName->setMaxLength(CustomerRegister::kCustomerNameMaxLength);
    m_newRegion = makeChoiceBox(this, QStringLiteral("地区"), 160);
    m_confirm = new QPushButton(QStringLiteral("确认"), this);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("客户代码："), m_code);
    form->addRow(QStringLiteral("客户名称："), m_name);
    form->addRow(QStringLiteral("所在地区："), m_region);
    form->addRow(QStringLiteral("修改后客户名称："), m_newName);
    form->addRow(QStringLiteral("修改后所在地区："), m_newRegion);
    QHBoxLayout *buttons = buttonRow({m_confirm, quit});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setContentsMargins(24, 20, 24, 16);
    setMinimumWidth(400);

    enter().on(m_code, [this] { codeEntered(); });
    enter().on(m_newName, [this] { newNameEntered(); });
    enter().on(m_newRegion, [this] { newRegionEntered(); });
    connect(m_newRegion, QOverload<int>::of(&QComboBox::activated), this, [this] {
        if (!m_found.isEmpty() && !chosenText(m_newRegion).isEmpty()) m_confirm->setEnabled(true);
    });
    // Another code typed: what is shown no longer belongs to it.
    connect(m_code, &QLineEdit::textEdited, this, [this] {
        if (m_found.isEmpty()) return;
        const QString typed = m_code->text();
        clearForm();
        m_code->setText(typed);
    });
    connect(m_confirm, &QPushButton::clicked, this, &Tkhmc_xg::confirm);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

void Tkhmc_xg::activate()
{
    guarded([this] { fillRegionBox(m_newRegion, CustomerRegister(session()).regions()); });
    clearForm();
}

void Tkhmc_xg::clearForm()
{
    m_found.clear();
    for (QLineEdit *e : {m_code, m_name, m_region, m_newName}) e->clear();
    m_newRegion->setCurrentIndex(-1);
    m_newName->setEnabled(false);
    m_newRegion->setEnabled(false);
    m_confirm->setEnabled(false);
    m_code->setFocus();
}

void Tkhmc_xg::codeEntered()
{
    if (m_code->text().trimmed().isEmpty()) return;
    std::optional<Customer> c;
    if (!guarded([&] { c = CustomerRegister(session()).customer(m_code->text()); })) return;
    const QString typed = m_code->text();
    clearForm();
    m_code->setText(typed);
    if (!c) {
        inform(QStringLiteral("查无次人！"));
        m_code->selectAll();
        return;
    }
    m_found = c->code;
    m_name->setText(c->name);
    m_region->setText(c->region);
    m_newName->setText(c->name);
    m_newRegion->setCurrentIndex(m_newRegion->findText(c->region));
    EnterChain::advance(m_newName);
}

void Tkhmc_xg::newNameEntered()
{
    if (gbkLength(m_newName->text().trimmed()) <= 3) return;
    EnterChain::advance(m_newRegion);
}

void Tkhmc_xg::newRegionEntered()
{
    if (m_found.isEmpty() || gbkLength(chosenText(m_newRegion)) < 8) return;
    EnterChain::advance(m_confirm);
}

void Tkhmc_xg::confirm()
{
    if (m_found.isEmpty()) return;
    if (!guarded([this] { CustomerRegister(session()).rename(m_found, m_newName->text(), chosenText(m_newRegion)); }))
        return;
    clearForm();
}

} // namespace fm
