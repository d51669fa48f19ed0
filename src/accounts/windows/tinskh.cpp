#include "accounts/windows/tinskh.h"

#include "ui/layouts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tinskh::Tinskh(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("增加客户"));
    m_regionShown = display("region");
    m_name = input("name", CustomerRegister::kCustomerNameMaxLength);
    m_code = input("code", CustomerRegister::kCustomerNumberLength);
    m_confirm = button(QStringLiteral("确认"), "confirm");
    m_discard = button(QStringLiteral("放弃"), "discard", [this] { restart(); });
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *fields = new QWidget(this);
    FieldGrid(fields)
        .add(QStringLiteral("地区："), m_regionShown)
        .add(QStringLiteral("客户姓名："), m_name)
        .add(QStringLiteral("客户代码(5位数字)："), m_code);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addSpacing(8);
    layout->addLayout(buttonRow({m_confirm, m_discard, quit}));
    layout->setContentsMargins(20, 16, 20, 16);
    setMinimumWidth(400);

    chain()
        .step(m_name, [] { return Go::advance(); })
        .step(m_code, [this] { return codeEntered(); })
        .step(m_confirm, [this] { return confirm(); }, StepOptions{QString(), false, false, {m_discard}});
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
    chain().reset();
}

Go Tinskh::codeEntered()
{
    try {
        CustomerRegister(session()).checkNewCustomerCode(m_region.code, m_code->text());
    } catch (const DomainError &) {
        m_code->clear();
        throw;
    }
    return Go::advance();
}

Go Tinskh::confirm()
{
    // Every check again: the code may have been changed since its Enter.
    bool nameMissing = false;
    const bool added = guarded([&] {
        try {
            CustomerRegister(session()).addCustomer(m_region.id, m_name->text(), m_code->text());
        } catch (const DomainError &e) {
            nameMissing = e.code() == ErrorCode::Incomplete && m_name->text().trimmed().isEmpty();
            throw;
        }
    });
    if (added) {
        restart();
        return Go::done();
    }
    if (nameMissing) return Go::to(m_name);
    // The code is entered again, with Enter, before the next "确认".
    m_code->clear();
    return Go::to(m_code);
}

} // namespace fm
