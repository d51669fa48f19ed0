#pragma once
#include "accounts/customerregister.h"
#include "ui/functionwindow.h"

class QComboBox;
class QPushButton;
class QTableWidget;

namespace fm {

// "客户地区删除": deletes a region (no customers, arrears within ±0.001) or a
// customer (summed arrears within ±0.001), each after two confirmations.
class Tjskh : public FunctionWindow {
    Q_OBJECT
public:
    enum class Mode { None, Region, Customer };

    Tjskh(AppContext &ctx, QWidget *parent);
    void activate() override;

    QPushButton *regionModeButton() const { return m_regionMode; }
    QPushButton *customerModeButton() const { return m_customerMode; }
    QComboBox *regionBox() const { return m_region; }
    QComboBox *nameBox() const { return m_name; }
    QComboBox *codeBox() const { return m_code; }
    QTableWidget *grid() const { return m_grid; }
    QPushButton *deleteButton() const { return m_delete; }
    Mode mode() const { return m_mode; }

private:
    void chooseRegionMode();
    void chooseCustomerMode();
    void regionChosen();
    void customerPicked(int index);
    void rowClicked(int row);
    void confirmDelete();
    void deleteRegion();
    void deleteCustomer();
    void fillRegions();
    void fillCustomers();

    Mode m_mode = Mode::None;
    QPushButton *m_regionMode;
    QPushButton *m_customerMode;
    QComboBox *m_region;
    QComboBox *m_name;
    QComboBox *m_code;
    QTableWidget *m_grid;
    QPushButton *m_delete;
    std::vector<Region> m_regions;
    std::vector<Customer> m_customers; // of the chosen region, in the name and code boxes
};

} // namespace fm
