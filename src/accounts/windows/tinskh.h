#pragma once
#include "accounts/customerregister.h"
#include "ui/functionwindow.h"

class QLineEdit;
class QPushButton;

namespace fm {

// "增加客户": enters new customers of one region, one after another. The
// region is handed over by the window that opens it.
class Tinskh : public FunctionWindow {
    Q_OBJECT
public:
    Tinskh(AppContext &ctx, QWidget *parent);
    void setRegion(const Region &region);
    void activate() override;

    QLineEdit *nameInput() const { return m_name; }
    QLineEdit *codeInput() const { return m_code; }
    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *discardButton() const { return m_discard; }

private:
    Go codeEntered();
    Go confirm();
    void restart();

    Region m_region;
    QLineEdit *m_regionShown;
    QLineEdit *m_name;
    QLineEdit *m_code;
    QPushButton *m_confirm;
    QPushButton *m_discard;
};

} // namespace fm
