#pragma once
#include "pricing/windows/pricepage.h"

#include <QList>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

class PriceGrid;

// "产品价格修改", one product at a time: pick it by code, or by category and
// name, then change its list and cost price (the change date is left as it
// was); and the month-end rebate schedules. A tab of ProductPriceWindow.
class Txg_jg : public PricePage {
    Q_OBJECT
public:
    Txg_jg(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

    // The text of a product's entry in the product box.
    static QString productEntry(const ProductPrice &p);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildProductBox();
    QWidget *buildRebateBox();
    void reloadProducts();
    void reloadRebates();

    void codeEntered(bool quiet);
    void categoryChosen();
    void productChosen(int index);
    void showCategory(const QString &flag);
    void pickConfirmed();
    void pickDiscarded();
    void listPriceEntered();
    void costPriceEntered();
    void pricesConfirmed();
    void pricesDiscarded();
    void resetPriceEntry();

    void rebateCategoryChosen();
    void tierEntered(bool promotion, int i);
    void rebatesConfirmed();
    void rebatesDiscarded();
    QList<QLineEdit *> &tierSet(bool promotion) { return promotion ? m_promotion : m_rebate; }
    QString rebateFlag() const;

    PriceGrid *m_productGrid;
    PriceGrid *m_rebateGrid;

    QLineEdit *m_code;
    QComboBox *m_category;
    QComboBox *m_product;
    QPushButton *m_pickConfirm;
    QPushButton *m_pickDiscard;
    QLineEdit *m_listPrice;
    QLineEdit *m_costPrice;
    QPushButton *m_priceConfirm;
    QPushButton *m_priceDiscard;
    qint64 m_pickedId = 0;  // the product in the product box
    qint64 m_editId = 0;    // the product whose prices are shown

    QComboBox *m_rebateCategory;
    QList<QLineEdit *> m_rebate;
    QList<QLineEdit *> m_promotion;
    QPushButton *m_rebateConfirm;
    QPushButton *m_rebateDiscard;
};

} // namespace fm
