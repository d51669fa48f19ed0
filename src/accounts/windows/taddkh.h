#pragma once
#include "accounts/customerregister.h"
#include "ui/functionwindow.h"

class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace fm {

class CreditLimitField;
class Tinskh;

// "客户调整": adds regions, lists a region's customers (by code prefix),
// inserts customers through "增加客户" and deletes customers that have no
// arrears record. Its commands are on the right-click menu.
class Taddkh : public FunctionWindow {
    Q_OBJECT
public:
    Taddkh(AppContext &ctx, QWidget *parent);
    void activate() override;

    QAction *organiseAction() const { return m_organise; }
    QAction *addRegionAction() const { return m_addRegion; }
    QComboBox *regionBox() const { return m_region; }
    QComboBox *customerBox() const { return m_customer; }
    QLineEdit *codeBox() const { return m_code; }
    QPushButton *insertButton() const { return m_insert; }
    QPushButton *deleteButton() const { return m_delete; }
    QLineEdit *regionNameInput() const { return m_regionName; }
    QLineEdit *regionCodeBox() const { return m_regionCode; }
    QComboBox *regionListBox() const { return m_regionList; }
    QTableWidget *priceGrid() const { return m_prices; }
    Tinskh *insertWindow() const { return m_insertWindow; }
    CreditLimitField *creditField() const { return m_credit; }

private:
    void organise();
    void startAddingRegion();
    void regionChosen();
    void customerChosen();
    void insertCustomer();
    void deleteCustomer();
    void regionNameEntered();
    void regionCodeEntered();
    void fillRegionList();
    void showPrices();
    void setCustomerInputsEnabled(bool on);
    void setRegionInputsEnabled(bool on);

    QAction *m_organise;
    QAction *m_addRegion;
    QComboBox *m_region;
    QComboBox *m_customer;
    QLineEdit *m_code;
    QPushButton *m_insert;
    QPushButton *m_delete;
    QLineEdit *m_regionName;
    QLineEdit *m_regionCode;
    QComboBox *m_regionList;
    QTableWidget *m_prices;
    Tinskh *m_insertWindow;
    CreditLimitField *m_credit;

    Region m_chosenRegion;
    std::vector<Customer> m_customers; // of the chosen region, as in the name box
    bool m_regionPending = false;      // a name passed Enter; its code box awaits Enter
};

} // namespace fm
