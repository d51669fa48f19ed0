#pragma once
// "饲料销售管理": issue on turnover slips, returns and payments, one tab each.

#include "ui/functionwindow.h"

class QTabWidget;

namespace fm {

class IssueTab;
class PaymentTab;
class ReturnTab;

class Txxgl : public FunctionWindow {
    Q_OBJECT
public:
    Txxgl(AppContext &ctx, QWidget *parent);
    // Every tab starts over for the operator logged in now.
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }
    IssueTab *issueTab() const { return m_issueTab; }
    ReturnTab *returnTab() const { return m_returnTab; }
    PaymentTab *paymentTab() const { return m_paymentTab; }

    // Closing is refused while the slip has lines and no payment.
    void reject() override;

private:
    QTabWidget *m_tabs;
    IssueTab *m_issueTab;
    ReturnTab *m_returnTab;
    PaymentTab *m_paymentTab;
};

} // namespace fm
