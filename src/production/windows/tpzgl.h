#pragma once
#include "ui/functionwindow.h"

#include <array>

class QTabWidget;

namespace fm {

// "产品品种管理": products for customers, their deletion, categories and
// their bag sizes, packaging materials and the formula a product is made
// from, one page each. Opened by its function and from the sales window.
// The inputs carry object names, so tests and the sales window can reach them.
class Tpzgl : public FunctionWindow {
    Q_OBJECT
public:
    Tpzgl(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }

private:
    QTabWidget *m_tabs;
    std::array<FormPage *, 5> m_pages;
};

} // namespace fm
