#pragma once
#include "pricing/pricebook.h"
#include "ui/functionwindow.h"

#include <QList>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fm {

class Grid;

// "产品价格修改", one product at a time: pick it by code, or by category and
// name, then change its list and cost price (the change date is left as it
// was); and the month-end rebate schedules. A tab of ProductPriceWindow.
class Txg_jg : public FormPage {
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
    PriceBook book() const;
    QWidget *buildProductBox();
    QWidget *buildRebateBox();
    void reloadProducts();
    void reloadRebates();

    Go codeEntered(bool quiet);
    void categoryChosen();
    void productChosen(int index);
    Go pickConfirmed();
    void pickDiscarded();
    Go pricesConfirmed();

    Go rebateCategoryChosen();
    Go rebatesConfirmed();
    void rebatesDiscarded();
    const QList<QLineEdit *> &tierSet(bool promotion) const { return promotion ? m_promotion : m_rebate; }
    QString rebateFlag() const;

    Grid *m_productGrid;
    Grid *m_rebateGrid;

    QLineEdit *m_code;
    QComboBox *m_category;
    QComboBox *m_product;
    QPushButton *m_pickConfirm;
    QPushButton *m_pickDiscard;
    QLineEdit *m_listPrice;
    QLineEdit *m_costPrice;
    QPushButton *m_priceConfirm;
    QPushButton *m_priceDiscard;
    qint64 m_pickedId = 0; // the product in the product box
    qint64 m_editId = 0;   // the product whose prices are shown

    // The rebate schedule is entered apart from the product's prices.
    EnterChain *m_rebateSteps;
    QComboBox *m_rebateCategory;
    QList<QLineEdit *> m_rebate;
    QList<QLineEdit *> m_promotion;
    QPushButton *m_rebateConfirm;
    QPushButton *m_rebateDiscard;
};

} // namespace fm
