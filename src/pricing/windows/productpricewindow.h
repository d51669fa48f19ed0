#pragma once
#include "ui/functionwindow.h"

class QTabWidget;

namespace fm {

class Tveljgxg;
class Txg_jg;

// "产品价格修改": the grid editor of list and cost prices and the
// single-product editor with the rebate schedules, as two tabs of one window,
// so that both are reached from the one menu function.
class ProductPriceWindow : public FunctionWindow {
    Q_OBJECT
public:
    ProductPriceWindow(AppContext &ctx, QWidget *parent);
    void activate() override;

    QTabWidget *tabs() const { return m_tabs; }
    Tveljgxg *priceEditor() const { return m_editor; }
    Txg_jg *singleEditor() const { return m_single; }

private:
    QTabWidget *m_tabs;
    Tveljgxg *m_editor;
    Txg_jg *m_single;
};

} // namespace fm
