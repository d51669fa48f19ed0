#include "production/windows/tvelsc.h"

#include "production/windows/productbookingpage.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace fm {

Tvelsc::Tvelsc(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent), m_page(new ProductBookingPage(ctx, ProductBookingPage::Mode::Production, this))
{
    setWindowTitle(QStringLiteral("生产输入"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_page);
    resize(1000, 560);
}

void Tvelsc::activate()
{
    m_page->activate();
}

Tkcgl::Tkcgl(AppContext &ctx, QWidget *parent)
    : FunctionWindow(ctx, parent), m_input(new ProductBookingPage(ctx, ProductBookingPage::Mode::Input, this)),
      m_output(new ProductBookingPage(ctx, ProductBookingPage::Mode::Output, this)), m_tabs(new QTabWidget(this))
{
    setWindowTitle(QStringLiteral("产品库存管理"));
    m_tabs->addTab(m_input, QStringLiteral("产品输入"));
    m_tabs->addTab(m_output, QStringLiteral("产品输出"));
    // The other page may have moved the stock its list shows.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        (index == 0 ? m_input : m_output)->refresh();
    });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(1000, 580);
}

void Tkcgl::activate()
{
    m_output->activate();
    m_input->activate();
    m_tabs->setCurrentIndex(0);
}

} // namespace fm
