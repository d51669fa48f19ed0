#pragma once
#include "ui/functionwindow.h"

namespace fm {

// Stands in for a function whose window is not built yet: it names the
// function and says so, and does nothing else.
class PlaceholderWindow : public FunctionWindow {
    Q_OBJECT
public:
    PlaceholderWindow(AppContext &ctx, int function, QWidget *parent);
    int function() const { return m_function; }

private:
    int m_function;
};

} // namespace fm
