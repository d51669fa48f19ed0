#include "sales/windows/txxgl.h"

#include "sales/windows/issuetab.h"
#include "sales/windows/paymenttab.h"
#include "sales/windows/returntab.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fm {

Txxgl::Txxgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("饲料销售管理"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    m_tabs = new QTabWidget(this);
    m_issueTab = new IssueTab(ctx, this);
    m_returnTab = new ReturnTab(ctx, this);
    m_paymentTab = new PaymentTab(ctx, this);
    m_tabs->addTab(m_issueTab, QStringLiteral("周  转"));
    m_tabs->addTab(m_returnTab, QStringLiteral("退  料"));
    m_tabs->addTab(m_paymentTab, QStringLiteral("回  款"));
    connect(m_paymentTab->quitButton(), &QPushButton::clicked, this, &Txxgl::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(1040, 720);
}

void Txxgl::activate()
{
    m_tabs->setCurrentWidget(m_issueTab);
    m_paymentTab->activate();
    m_returnTab->activate();
    m_issueTab->activate();
}

void Txxgl::reject()
{
    if (!m_issueTab->canLeave()) {
        m_tabs->setCurrentWidget(m_issueTab);
        return;
    }
    FunctionWindow::reject();
}

} // namespace fm
