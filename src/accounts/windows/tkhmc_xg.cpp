#include "accounts/windows/tkhmc_xg.h"

#include "accounts/customerregister.h"
#include "accounts/windows/regionbox.h"
#include "common/gbk.h"
#include "ui/layouts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

Tkhmc_xg::Tkhmc_xg(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("客户名称修改"));
    m_code = input("code", 7);
    m_name = display("name");
    m_region = display("region");
    m_newName = input("newName", CustomerRegister::kCustomerNameMaxLength);
    m_newRegion = chooser("newRegion", QStringLiteral("地区"));
    m_confirm = button(QStringLiteral("确认"), "confirm");
    QPushButton *quit = button(QStringLiteral("退出"), "quit", [this] { accept(); });

    auto *fields = new QWidget(this);
    FieldGrid(fields)
        .add(QStringLiteral("客户代码："), m_code)
        .add(QStringLiteral("客户名称："), m_name)
        .add(QStringLiteral("所在地区："), m_region)
        .add(QStringLiteral("修改后客户名称："), m_newName)
        .add(QStringLiteral("修改后所在地区："), m_newRegion);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addSpacing(8);
    layout->addLayout(buttonRow({m_confirm, quit}));
    layout->setContentsMargins(20, 16, 20, 16);
    setMinimumWidth(420);

    chain()
        .step(m_code, [this] { return codeEntered(); })
        // A new name goes on only when longer than 3 bytes.
        .step(m_newName, [this] { return gbkLength(m_newName->text().trimmed()) > 3 ? Go::advance() : Go::stay(); })
        .step(m_newRegion,
              [this] { return gbkLength(chosenText(m_newRegion)) >= CustomerRegister::kRegionNameMinBytes ? Go::advance()
                                                                                                       : Go::stay(); })
        .step(m_confirm, [this] { return confirm(); });
    // Choosing a region with the mouse is as good as Enter in the box.
    connect(m_newRegion, QOverload<int>::of(&QComboBox::activated), this, [this] {
        if (!chosenText(m_newRegion).isEmpty()) chain().reach(m_confirm);
    });
    // Another code typed: what is shown no longer belongs to it.
    connect(m_code, &QLineEdit::textEdited, this, [this] {
        if (m_found.isEmpty()) return;
        const int cursor = m_code->cursorPosition();
        clearShown();
        chain().reach(m_code);
        m_code->setCursorPosition(cursor);
    });
}

void Tkhmc_xg::activate()
{
    guarded([this] { fillRegionBox(m_newRegion, CustomerRegister(session()).regions()); });
    m_code->clear();
    clearShown();
    chain().reset();
}

void Tkhmc_xg::clearShown()
{
    m_found.clear();
    for (QLineEdit *e : {m_name, m_region, m_newName}) e->clear();
    m_newRegion->setCurrentIndex(-1);
}

Go Tkhmc_xg::codeEntered()
{
    clearShown();
    chain().reach(m_code);
    const auto c = CustomerRegister(session()).customer(m_code->text());
    if (!c) throw DomainError(QStringLiteral("查无次人！"), ErrorCode::NotFound);
    m_found = c->code;
    m_name->setText(c->name);
    m_region->setText(c->region);
    m_newName->setText(c->name);
    m_newRegion->setCurrentIndex(m_newRegion->findText(c->region));
    return Go::advance();
}

Go Tkhmc_xg::confirm()
{
    if (m_found.isEmpty()) return Go::stay();
    CustomerRegister(session()).rename(m_found, m_newName->text(), chosenText(m_newRegion));
    m_code->clear();
    clearShown();
    return Go::to(m_code);
}

} // namespace fm
