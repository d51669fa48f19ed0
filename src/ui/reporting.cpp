#include "ui/reporting.h"

#include "reports/windows/reportpreview.h"
#include "shell/appcontext.h"

namespace fm {

void showDocument(AppContext &ctx, QWidget *parent, const ReportDocument &document)
{
    if (ctx.preview) ctx.preview(parent, document);
    else ReportPreview::show(parent, document);
}

void printDocument(AppContext &ctx, QWidget *parent, const ReportDocument &document, bool askPrinter)
{
    if (ctx.printDirect) ctx.printDirect(parent, document);
    else ReportPreview::printDirect(parent, document, askPrinter);
}

} // namespace fm
