#pragma once
// "历史数据修改" (Tlsxj_xg): corrections of a customer's slips of earlier days
// in the current period, on two pages: "销售数据修改" (funds rows, issue
// lines, return lines, policy prices) and "退料价格修改" (return prices).

#include "accounts/historycorrections.h"
#include "ui/functionwindow.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace fm {

class Grid;

class SalesCorrectionPage : public FormPage {
    Q_OBJECT
public:
    enum class Mode { Funds, Issues, Returns, PolicyPrices };

    SalesCorrectionPage(AppContext &ctx, QWidget *parent);
    void activate() override;

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    // Picks a listed row as a click on it does.
    void pickRow(int row);

    QComboBox *regionBox() const { return m_region; }
    QComboBox *customerBox() const { return m_customer; }
    QLineEdit *customerField() const { return m_code; }
    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    QRadioButton *modeButton(Mode mode) const;
    QLabel *hint() const { return m_hint; }
    Grid *fundsGrid() const { return m_funds; }
    Grid *linesGrid() const { return m_lines; }
    QLabel *receivableTotal() const { return m_receivableTotal; }
    QLabel *receivedTotal() const { return m_receivedTotal; }
    QLabel *owedTotal() const { return m_owedTotal; }
    QLineEdit *receivableField() const { return m_receivable; }
    QLineEdit *receivedField() const { return m_received; }
    QLineEdit *owedField() const { return m_owed; }
    QLineEdit *quantityField() const { return m_quantity; }
    QLineEdit *priceField() const { return m_price; }
    QLineEdit *amountField() const { return m_amount; }
    QLineEdit *policyField() const { return m_policy; }
    QLabel *priceLabel() const { return m_priceLabel; }
    QLabel *amountLabel() const { return m_amountLabel; }
    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    void chooseRegion();
    void chooseCustomer();
    Go enterCustomer();
    Go load();
    void reload();
    void clearInputs();
    QList<QWidget *> activeInputs() const;
    Go nextAfter(QWidget *w);
    Go enterPrice();
    Go confirm();
    HistoryCorrections corrections() const;

    Mode m_mode = Mode::Funds;
    std::optional<CorrectionRange> m_range;
    qint64 m_picked = 0;

    QComboBox *m_region, *m_customer;
    QLineEdit *m_code, *m_from, *m_to;
    QRadioButton *m_modes[4];
    QLabel *m_hint;
    Grid *m_funds, *m_lines;
    QWidget *m_fundsPanel, *m_linePanel;
    QLabel *m_receivableTotal, *m_receivedTotal, *m_owedTotal;
    QLineEdit *m_receivable, *m_received, *m_owed;
    QLineEdit *m_quantity, *m_price, *m_amount, *m_policy;
    QLabel *m_priceLabel, *m_amountLabel;
    QPushButton *m_confirm, *m_cancel;
    EnterChain *m_edit;
};

class ReturnPricePage : public FormPage {
    Q_OBJECT
public:
    ReturnPricePage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void pickRow(int row);

    QLineEdit *customerField() const { return m_code; }
    QLineEdit *customerName() const { return m_name; }
    QLineEdit *regionField() const { return m_regionName; }
    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    Grid *grid() const { return m_grid; }
    QLineEdit *productField() const { return m_product; }
    QLineEdit *specField() const { return m_spec; }
    QLineEdit *priceField() const { return m_price; }

private:
    Go enterCustomer();
    Go load();
    Go enterPrice();

    std::optional<CorrectionRange> m_range;
    qint64 m_picked = 0;
    QLineEdit *m_code, *m_name, *m_regionName, *m_from, *m_to, *m_product, *m_spec, *m_price;
    Grid *m_grid;
    EnterChain *m_edit;
};

class Tlsxj_xg : public FunctionWindow {
    Q_OBJECT
public:
    Tlsxj_xg(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }
    SalesCorrectionPage *salesPage() const { return m_sales; }
    ReturnPricePage *returnPricePage() const { return m_returnPrices; }

private:
    QTabWidget *m_tabs;
    SalesCorrectionPage *m_sales;
    ReturnPricePage *m_returnPrices;
};

} // namespace fm
