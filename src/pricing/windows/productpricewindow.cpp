#include "pricing/windows/productpricewindow.h"

#include "pricing/windows/tveljgxg.h"
#include "pricing/windows/txg_jg.h"
#include "ui/layouts.h"

#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fm {

ProductPriceWindow::ProductPriceWindow(AppContext &ctx, QWidget *parent) : FunctionWindow(ctx, parent)
{
    setWindowTitle(QStringLiteral("产品价格修改"));
    m_tabs = new QTabWidget(this);
    m_editor = new Tveljgxg(ctx, m_tabs);
    m_single = new Txg_jg(ctx, m_tabs);
    m_tabs->addTab(m_editor, QStringLiteral("产品价格修改"));
    m_tabs->addTab(m_single, QStringLiteral("单品价格与月底让利"));
    // Both tabs change the same rows: the one brought forward rereads them.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (auto *page = qobject_cast<FormPage *>(m_tabs->widget(index))) page->refresh();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttonRow({button(QStringLiteral("退出"), "quit", [this] { accept(); })}));
    resize(1060, 700);
}

void ProductPriceWindow::activate()
{
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(0);
    }
    m_editor->activate();
    m_single->activate();
}

} // namespace fm
