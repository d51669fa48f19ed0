#include "production/windows/tpzgl.h"

#include "production/windows/cataloguepages.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace fm {

Tpzgl::Tpzgl(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品品种管理"));
    m_pages = {new ProductAddPage(ctx, this), new ProductDeletePage(ctx, this), new CategoryPage(ctx, this),
               new PackagingPage(ctx, this), new FormulaLinkPage(ctx, this)};
    m_tabs = new QTabWidget(this);
    const QString captions[] = {QStringLiteral("增加产品品种"), QStringLiteral("产品品种删除"),
                                QStringLiteral("类别规格增加"), QStringLiteral(" 包装物管理  "),
                                QStringLiteral("产品配方价格调整")};
    for (size_t i = 0; i < m_pages.size(); ++i) m_tabs->addTab(m_pages[i], captions[i]);
    // A page brought to the front rereads its lists: another page may have
    // changed categories, products or prices.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0) m_pages[size_t(index)]->refresh();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(1120, 720);
}

void Tpzgl::activate()
{
    // The first page last, so that its entry holds the focus.
    for (auto it = m_pages.rbegin(); it != m_pages.rend(); ++it) (*it)->activate();
    if (m_tabs->currentIndex() == 0) m_pages[0]->refresh();
    else m_tabs->setCurrentIndex(0);
}

} // namespace fm
