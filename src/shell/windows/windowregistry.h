#pragma once
// One instance of every function window for the whole run, created when it is
// first opened and reused after. Functions that open the same window share it.

#include "shell/appcontext.h"

#include <QHash>
#include <QString>
#include <functional>

class QWidget;

namespace fm {

class FunctionWindow;

using WindowFactory = std::function<FunctionWindow *(AppContext &, QWidget *parent)>;

struct FunctionWindowDef {
    QString key;           // windows with the same key are one window
    WindowFactory create;
};

// Builds the entry of a window class that takes (AppContext&, QWidget*).
template <class W>
FunctionWindowDef windowDef(const char *key)
{
    return {QString::fromLatin1(key),
            [](AppContext &ctx, QWidget *parent) -> FunctionWindow * { return new W(ctx, parent); }};
}

// The windows built so far, by function number. A function that has none
// yet opens a placeholder that names it.
const QHash<int, FunctionWindowDef> &functionWindows();

class WindowRegistry {
public:
    WindowRegistry(AppContext &ctx, QWidget *parent) : m_ctx(ctx), m_parent(parent) {}

    // The window of a function (created on first use); null for a function
    // that opens nothing.
    FunctionWindow *window(int function);
    // Opens it modally; returns false when the function opens nothing.
    bool open(int function);
    // Whether the logged-in operator's rights reach a function as the main
    // menu would (the item and every menu above it enabled). Windows that
    // open other functions' windows ask this first.
    bool reachable(int function) const;

private:
    AppContext &m_ctx;
    QWidget *m_parent;
    QHash<QString, FunctionWindow *> m_windows;
};

} // namespace fm
