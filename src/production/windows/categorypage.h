#pragma once
#include "ui/functionwindow.h"

#include <QLineEdit>
#include <QPushButton>

class QCheckBox;
class QGroupBox;

namespace fm {

class Grid;
class ProductCatalogue;
struct ProductCategory;

// "类别规格增加": a category added; one bag size added to a category; a
// category's list of sizes replaced. The category of the last two is chosen
// in the list (with the group's box ticked) or by its flag.
class CategoryPage : public FormPage {
    Q_OBJECT
public:
    CategoryPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    // "产品规格增加" (adding) and "产品类别规格修改" (replacing) work alike.
    struct SizeGroup {
        QCheckBox *box = nullptr;
        QLineEdit *flag = nullptr;
        QLineEdit *existing = nullptr;
        QLineEdit *category = nullptr;
        QLineEdit *input = nullptr;
        QPushButton *confirm = nullptr;
        QPushButton *discard = nullptr;
        EnterChain *chain = nullptr;
        qint64 categoryId = 0;
    };

    ProductCatalogue catalogue() const;
    QGroupBox *buildSizeGroup(bool adding);
    SizeGroup &group(bool adding) { return adding ? m_add : m_replace; }
    void reloadGrid();
    Go insertCategory();
    void clearNewCategory();
    void rowClicked(qint64 id);
    void boxToggled(bool adding, bool on);
    void chooseCategory(bool adding, const ProductCategory &c);
    void clearGroup(bool adding);
    Go confirmSizes(bool adding);

    Grid *m_categories;
    QLineEdit *m_name;
    QLineEdit *m_flag = input("categoryFlag", 4);
    QLineEdit *m_sizes;
    QPushButton *m_insert = button(QStringLiteral("插入"), "insertCategory");
    SizeGroup m_add;
    SizeGroup m_replace;
};

} // namespace fm
