#pragma once
#include "production/productstock.h"
#include "ui/functionwindow.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fm {

class Grid;

// A product booked into or out of the feed product stock by bags: the team
// and date, the product chosen by code, the bags and their tonnes, the
// stock list under them. "生产输入" (Tvelsc) is the production page; "产品库存
// 管理" (Tkcgl) has an input page and an output page.
class ProductBookingPage : public FormPage {
    Q_OBJECT
public:
    enum class Mode { Production, Input, Output };
    ProductBookingPage(AppContext &ctx, Mode mode, QWidget *parent);
    void activate() override;
    void refresh() override { guarded([this] { showStock(); }); }

    QComboBox *teamList() const { return m_team; }
    QDateEdit *dateField() const { return m_date; }
    QComboBox *codeList() const { return m_code; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *specField() const { return m_spec; }
    QLineEdit *bagsField() const { return m_bags; }
    QLineEdit *tonnesField() const { return m_tonnes; }
    QPushButton *confirmButton() const { return m_confirm; }
    QRadioButton *secondKind() const { return m_kind2; }
    QComboBox *pelletList() const { return m_pellet; }
    QComboBox *crumbleList() const { return m_crumble; }
    Grid *stockGrid() const { return m_stock; }

private:
    ProductStock stock() const { return ProductStock(session(), *ctx().clock); }
    Go codeEntered();
    Go bagsEntered();
    void confirm();
    void resetProduct();
    void showStock();

    Mode m_mode;
    QComboBox *m_team;
    QDateEdit *m_date;
    QComboBox *m_code;
    QLineEdit *m_name;
    QLineEdit *m_spec;
    QLineEdit *m_bags;
    QLineEdit *m_tonnes;
    QRadioButton *m_kind1 = nullptr;
    QRadioButton *m_kind2 = nullptr;
    QComboBox *m_pellet = nullptr;
    QComboBox *m_crumble = nullptr;
    QPushButton *m_confirm;
    Grid *m_stock;
    QString m_product; // the code found, as the catalogue holds it
};

} // namespace fm
