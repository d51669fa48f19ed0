#pragma once
#include "ui/functionwindow.h"
#include "warehouse/receiptcorrections.h"

#include <optional>

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "入库修改": corrects a receipt line chosen from the receipts of a date
// range; the differences go to the supplier's fund lines and the stock.
class Trkxg : public FunctionWindow {
    Q_OBJECT
public:
    Trkxg(AppContext &ctx, QWidget *parent);
    void activate() override;

    QDateEdit *from() const { return m_from; }
    QDateEdit *to() const { return m_to; }
    Grid *grid() const { return m_grid; }
    QLineEdit *contract() const { return m_contract; }
    QLineEdit *supplierCode() const { return m_supplierCode; }
    QLineEdit *supplierName() const { return m_supplierName; }
    QLineEdit *newSupplierName() const { return m_newSupplierName; }
    QLineEdit *materialName() const { return m_materialName; }
    QLineEdit *newMaterialName() const { return m_newMaterialName; }
    QLineEdit *kilograms() const { return m_kilograms; }
    QLineEdit *newKilograms() const { return m_newKilograms; }
    QLineEdit *price() const { return m_price; }
    QLineEdit *newPrice() const { return m_newPrice; }
    QLineEdit *paid() const { return m_paid; }
    QLineEdit *newPaid() const { return m_newPaid; }
    QLineEdit *payable() const { return m_payable; }
    QLineEdit *newPayable() const { return m_newPayable; }
    QLineEdit *owed() const { return m_owed; }
    QLineEdit *newOwed() const { return m_newOwed; }
    QPushButton *confirm() const { return m_confirm; }

    // Shows the receipt line of that id in the correction panel.
    void choose(qint64 lineId);

private:
    ReceiptCorrections corrections() const;
    void query();
    void showFigures();
    void store();
    void clearPanel();

    QDateEdit *m_from;
    QDateEdit *m_to;
    Grid *m_grid;
    QLineEdit *m_contract;
    QLineEdit *m_supplierCode;
    QLineEdit *m_supplierName;
    QLineEdit *m_newSupplierName;
    QLineEdit *m_materialName;
    QLineEdit *m_newMaterialName;
    QLineEdit *m_kilograms;
    QLineEdit *m_newKilograms;
    QLineEdit *m_price;
    QLineEdit *m_newPrice;
    QLineEdit *m_paid;
    QLineEdit *m_newPaid;
    QLineEdit *m_payable;
    QLineEdit *m_newPayable;
    QLineEdit *m_owed;
    QLineEdit *m_newOwed;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QPushButton *m_close;
    std::optional<ReceiptLine> m_line; // the line being corrected
};

} // namespace fm
