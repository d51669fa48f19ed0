#include "accounts/windows/creditlimitfield.h"

#include "accounts/credit.h"
#include "common/numbertext.h"
#include "data/session.h"
#include "ui/layouts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace fm {

CreditLimitField::CreditLimitField(AppContext &ctx, QWidget *parent, QLineEdit *codeBox)
    : FormPage(ctx, parent), m_codeBox(codeBox), m_limit(input("creditLimit", 14)), m_status(new QLabel(this))
{
    m_limit->setPlaceholderText(QStringLiteral("不限"));
    m_limit->setMinimumWidth(110);
    m_status->setStyleSheet(QStringLiteral("color: #555;"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(labelFor(QStringLiteral("信用额度："), m_limit, this));
    row->addWidget(withUnit(m_limit, QStringLiteral("(元)")), 1);
    row->addWidget(m_status);
    chain().on(m_limit, [this] { save(); });
    connect(codeBox, &QLineEdit::textChanged, this, [this](const QString &code) { showCustomer(code); });
    showCustomer(codeBox->text());
}

void CreditLimitField::showCustomer(const QString &code)
{
    m_code = code.trimmed();
    m_limit->clear();
    m_status->clear();
    m_limit->setEnabled(false);
    if (m_code.isEmpty()) return;
    guarded([this] {
        const auto limit = creditLimit(session(), m_code);
        if (limit) m_limit->setText(numberText(*limit));
        m_limit->setEnabled(true);
    });
}

void CreditLimitField::save()
{
    if (m_code.isEmpty()) return;
    setCreditLimit(session(), m_code, m_limit->text());
    const auto limit = creditLimit(session(), m_code);
    m_limit->setText(limit ? numberText(*limit) : QString());
    m_status->setText(limit ? QStringLiteral("已保存") : QStringLiteral("已取消额度"));
}

} // namespace fm
