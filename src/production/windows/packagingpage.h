#pragma once
#include "ui/functionwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace fm {

class Grid;
class ProductCatalogue;

// " 包装物管理  ": packaging materials added, repriced (with their stock) and
// deleted; a packaging category deleted.
class PackagingPage : public FormPage {
    Q_OBJECT
public:
    PackagingPage(AppContext &ctx, QWidget *parent);
    void activate() override;
    void refresh() override;

private:
    ProductCatalogue catalogue() const;
    void reloadCategories();
    void reloadList(bool newestFirst);
    bool isLabel() const;
    Go addPackaging();
    void startOver();
    void rowClicked(qint64 id);
    Go confirmReprice();
    void clearReprice();
    void deletePackaging();
    void refreshAll();
    void deleteCategory();

    QComboBox *m_category = chooser("packagingCategory", QStringLiteral("类别"));
    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_size;
    QLineEdit *m_price = input("packagingPrice", 12);
    QPushButton *m_confirm = button(QStringLiteral("确认"), "addPackaging");
    QPushButton *m_deleteCategory = button(QStringLiteral("类别删除"), "deletePackagingCategory", [this] { deleteCategory(); });
    QLineEdit *m_repName = display("repriceName");
    QLineEdit *m_repSize = display("repriceSpec");
    QLineEdit *m_repPrice = input("repricePrice", 12);
    QPushButton *m_repConfirm = button(QStringLiteral("确认"), "confirmReprice");
    QPushButton *m_repDiscard = button(QStringLiteral("放弃"), "discardReprice", [this] { clearReprice(); });
    QPushButton *m_repDelete = button(QStringLiteral("删除包装物"), "deletePackaging", [this] { deletePackaging(); });
    EnterChain &m_repChain = addChain();
    Grid *m_list;
    qint64 m_repId = 0;
    bool m_newestFirst = false;
};

} // namespace fm
