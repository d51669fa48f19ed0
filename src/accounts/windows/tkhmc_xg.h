#pragma once
#include "ui/functionwindow.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

// "客户名称修改": renames a customer and/or moves it to another region; the
// account tables follow in the same transaction. The code never changes.
class Tkhmc_xg : public FunctionWindow {
    Q_OBJECT
public:
    Tkhmc_xg(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *codeInput() const { return m_code; }
    QLineEdit *currentName() const { return m_name; }
    QLineEdit *currentRegion() const { return m_region; }
    QLineEdit *newNameInput() const { return m_newName; }
    QComboBox *newRegionBox() const { return m_newRegion; }
    QPushButton *confirmButton() const { return m_confirm; }

private:
    Go codeEntered();
    Go confirm();
    void clearShown();

    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_region;
    QLineEdit *m_newName;
    QComboBox *m_newRegion;
    QPushButton *m_confirm;
    QString m_found; // code of the customer shown
};

} // namespace fm
