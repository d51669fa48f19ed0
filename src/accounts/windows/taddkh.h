#pragma once
#include "accounts/customerregister.h"
#include "ui/functionwindow.h"

class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

class CreditLimitField;
class Grid;
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
    Grid *priceGrid() const { return m_prices; }
    Tinskh *insertWindow() const { return m_insertWindow; }
    CreditLimitField *creditField() const { return m_credit; }

private:
    Go regionChosen();
    Go customerChosen();
    Go deleteCustomer();
    void insertCustomer();
    Go regionNameEntered();
    Go regionCodeEntered();
    void organise();
    void startAddingRegion();
    void fillRegionList();
    void showPrices();
    const Customer *chosenCustomer() const;

    Tinskh *m_insertWindow;
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
    Grid *m_prices;
    CreditLimitField *m_credit;
    // Adding a region is entered apart from the customers' steps.
    EnterChain *m_regionSteps;

    Region m_chosenRegion;
    std::vector<Customer> m_customers; // of the chosen region, as in the name box
};

} // namespace fm
