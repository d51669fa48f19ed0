#pragma once
#include "ui/functionwindow.h"

class QTabWidget;

namespace fm {

class ProductBookingPage;

// "生产输入": bags of a product booked for a team, without formula or cost.
// Opened from the production window.
class Tvelsc : public FunctionWindow {
    Q_OBJECT
public:
    Tvelsc(AppContext &ctx, QWidget *parent);
    void activate() override;
    ProductBookingPage *page() const { return m_page; }

private:
    ProductBookingPage *m_page;
};

// "产品库存管理": product input and output, one page each.
class Tkcgl : public FunctionWindow {
    Q_OBJECT
public:
    Tkcgl(AppContext &ctx, QWidget *parent);
    void activate() override;
    ProductBookingPage *inputPage() const { return m_input; }
    ProductBookingPage *outputPage() const { return m_output; }
    QTabWidget *tabs() const { return m_tabs; }

private:
    ProductBookingPage *m_input;
    ProductBookingPage *m_output;
    QTabWidget *m_tabs;
};

} // namespace fm
