#pragma once
#include "accounts/customers.h"
#include "ui/functionwindow.h"

#include <optional>

class QLineEdit;
class QPushButton;

namespace fm {

class Thzll;

// "客户欠款汇总打印": a customer's month records up to a cut-off (or all of
// them) in the month browser, and the statement of arrears printed with the
// accumulated actual arrears the browser showed last for this customer.
class Tkh_qkhz : public FunctionWindow {
    Q_OBJECT
public:
    Tkh_qkhz(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *codeInput() const { return m_code; }
    QLineEdit *nameDisplay() const { return m_name; }
    QLineEdit *regionDisplay() const { return m_region; }
    QLineEdit *cutOffInput() const { return m_cutOff; }
    QPushButton *summaryButton() const { return m_summary; }
    QPushButton *browseButton() const { return m_browse; }
    QPushButton *printButton() const { return m_print; }
    Thzll *browser() const { return m_browser; }

private:
    Go codeEntered();
    Go summarise();
    void browseAll();
    void browsed();

    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_region;
    QLineEdit *m_cutOff;
    QPushButton *m_summary;
    QPushButton *m_browse;
    QPushButton *m_print;
    Thzll *m_browser;

    std::optional<Customer> m_customer;
    QString m_printName;
    double m_printAmount = 0;
};

} // namespace fm
