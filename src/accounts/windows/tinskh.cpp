#include "accounts/windows/tinskh.h"

#include "accounts/windows/registerwidgets.h"
#include "data/dberror.h"
#include "ui/enterchain.h"
#include "ui/layouts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

Tinskh::Tinskh(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("增加客户"));
    m_regionShown = new QLineEdit(this);
    makeDisplayOnly(m_regionShown);
    m_name = new QLineEdit(this);
    m_name->setMaxLength(CustomerRegister::kCustomerNameMaxLength);
    m_code = new QLineEdit(this);
    m_code->setMaxLength(CustomerRegister::kCustomerNumberLength);
    m_confirm = new QPushButton(QStringLiteral("确认"), this);
    m_discard = new QPushButton(QStringLiteral("放弃"), this);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("地区："), m_regionShown);
    form->addRow(QStringLiteral("客户姓名："), m_name);
    form->addRow(QStringLiteral("客户代码(5位数字)："), m_code);
    QHBoxLayout *buttons = buttonRow({m_confirm, m_discard, quit});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setContentsMargins(24, 20, 24, 16);
    setMinimumWidth(380);

    enter().on(m_name, [this] { nameEntered(); });
    enter().on(m_code, [this] { codeEntered(); });
    connect(m_confirm, &QPushButton::clicked, this, &Tinskh::confirm);
    connect(m_discard, &QPushButton::clicked, this, &Tinskh::restart);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

void Tinskh::setRegion(const Region &region)
{
    m_region = region;
    m_regionShown->setText(region.name + QStringLiteral("（") + region.code + QStringLiteral("）"));
}

void Tinskh::activate()
{
    restart();
}

void Tinskh::restart()
{
    m_name->clear();
    m_code->clear();
    m_code->setEnabled(false);
    m_confirm->setEnabled(false);
    m_discard->setEnabled(false);
    m_name->setFocus();
}

void Tinskh::nameEntered()
{
    if (m_name->text().trimmed().isEmpty()) return;
    EnterChain::advance(m_code);
}

void Tinskh::codeEntered()
{
    if (m_code->text().trimmed().isEmpty()) return;
    if (!guarded([this] { CustomerRegister(session()).checkNewCustomerCode(m_region.code, m_code->text()); })) {
        m_code->clear();
        m_code->setFocus();
        return;
    }
    m_discard->setEnabled(true);
    EnterChain::advance(m_confirm);
}

void Tinskh::confirm()
{
    if (m_code->text().trimmed().isEmpty()) {
        inform(QStringLiteral("客户代码不能为空！"));
        m_code->setFocus();
        return;
    }
    if (!guarded([this] { CustomerRegister(session()).addCustomer(m_region.id, m_name->text(), m_code->text()); })) {
        if (m_name->text().trimmed().isEmpty()) {
            m_name->setFocus();
        } else {
            // The code is entered again, with Enter, before the next "确认".
            m_code->clear();
            m_confirm->setEnabled(false);
            m_code->setFocus();
        }
        return;
    }
    restart();
}

} // namespace fm
