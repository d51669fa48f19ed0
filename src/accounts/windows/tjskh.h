#pragma once
#include "accounts/customerregister.h"
#include "ui/functionwindow.h"

class QComboBox;
class QPushButton;
class QStackedWidget;

namespace fm {

class Grid;

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
    // The grid of the mode: regions, or the chosen region's customers.
    Grid *grid() const;
    QPushButton *deleteButton() const { return m_delete; }
    Mode mode() const { return m_mode; }

private:
    void chooseRegionMode();
    void chooseCustomerMode();
    Go regionChosen();
    void pick(int index);
    void rowClicked(qint64 id);
    Go confirmDelete();
    Go deleteRegion();
    Go deleteCustomer();
    void fillRegions();
    void showRegions();
    void fillCustomers();

    Mode m_mode = Mode::None;
    QPushButton *m_regionMode;
    QPushButton *m_customerMode;
    QComboBox *m_region;
    QComboBox *m_name;
    QComboBox *m_code;
    QStackedWidget *m_grids;
    Grid *m_regionGrid;
    Grid *m_customerGrid;
    QPushButton *m_delete;
    std::vector<Region> m_regions;
    std::vector<Customer> m_customers; // of the chosen region, in the name and code boxes
};

} // namespace fm
