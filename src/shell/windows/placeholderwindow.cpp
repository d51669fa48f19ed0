#include "shell/windows/placeholderwindow.h"

#include "shell/menutable.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fm {

PlaceholderWindow::PlaceholderWindow(AppContext &ctx, int function, QWidget *parent)
    : FunctionWindow(ctx, parent), m_function(function)
{
    const QString caption = functionWindowCaption(function);
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("<b>%1</b>").arg(caption.toHtmlEscaped()), this);
    title->setAlignment(Qt::AlignCenter);
    auto *note = new QLabel(QStringLiteral("功能 %1：本功能尚在建设中，暂不能使用。").arg(function), this);
    note->setObjectName(QStringLiteral("placeholderNote"));
    note->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(note);
    layout->addWidget(button(QStringLiteral("退出"), "quit", [this] { accept(); }), 0, Qt::AlignCenter);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(16);
    setMinimumWidth(360);
}

} // namespace fm
