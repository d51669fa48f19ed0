#include "reports/windows/reportpreview.h"

#include "reports/reportexport.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace fm {

namespace {

ReportPreview::MessageHandler &messageHandler()
{
    static ReportPreview::MessageHandler handler = [](QWidget *parent, const QString &text) {
        QMessageBox::warning(parent, QStringLiteral("提示"), text);
    };
    return handler;
}

void tell(QWidget *parent, const QString &text)
{
    if (messageHandler())
        messageHandler()(parent, text);
}

void preparePrinter(QPrinter &printer, const ComputedReport &report)
{
    printer.setPageLayout(report.page.pageLayout());
    // The renderer draws the margins itself, from the paper's corner.
    printer.setFullPage(true);
    printer.setDocName(report.name.isEmpty() ? QStringLiteral("feedmill") : report.name);
}

// With no printer installed Qt's printer turns into a PDF writer with no file
// to write to.
bool hasOutput(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::NativeFormat || !printer.outputFileName().isEmpty();
}

ReportPreview::PrintResult printOn(QWidget *parent, const ReportRenderer &renderer, bool askPrinter)
{
    using Result = ReportPreview::PrintResult;
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, renderer.report());
    if (askPrinter) {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("打印"));
        dialog.setMinMax(1, std::max(1, renderer.pageCount()));
        if (dialog.exec() != QDialog::Accepted)
            return Result::Cancelled;
    }
    if (!hasOutput(printer)) {
        tell(parent, QStringLiteral("没有可用的打印机！"));
        return Result::NoPrinter;
    }
    int first = 0, last = -1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = printer.toPage() > 0 ? printer.toPage() - 1 : -1;
    }
    if (!renderer.paint(printer, first, last)) {
        tell(parent, QStringLiteral("打印失败：") + printer.printerName());
        return Result::Failed;
    }
    return Result::Printed;
}

// A file name from the document's name, in the home folder.
QString suggestedPath(const ComputedReport &report, const QString &suffix)
{
    QString name = report.name.isEmpty() ? QStringLiteral("报表") : report.name;
    for (QChar bad : QStringLiteral("/\\:*?\"<>|"))
        name.remove(bad);
    return QDir::home().filePath(name + suffix);
}

} // namespace

ReportPreview::ReportPreview(const ReportDocument &document, QWidget *parent)
    : QDialog(parent), m_renderer(document), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    const QString name = m_renderer.report().name;
    setWindowTitle(name.isEmpty() ? QStringLiteral("打印预览") : QStringLiteral("打印预览 - ") + name);
    preparePrinter(*m_printer, m_renderer.report());

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        m_renderer.paint(*printer);
    });
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::updatePageLabel);

    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addAction(QStringLiteral("打印"), this, &ReportPreview::printWithDialog);
    bar->addAction(QStringLiteral("导出PDF"), this, &ReportPreview::exportPdfAsked);
    bar->addAction(QStringLiteral("导出Excel"), this, &ReportPreview::exportXlsxAsked);
    bar->addSeparator();
    // The preview widget does not always signal a page it was sent to.
    bar->addAction(QStringLiteral("上一页"), this, [this] {
        m_preview->setCurrentPage(m_preview->currentPage() - 1);
        updatePageLabel();
    });
    bar->addAction(QStringLiteral("下一页"), this, [this] {
        m_preview->setCurrentPage(m_preview->currentPage() + 1);
        updatePageLabel();
    });
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_pageLabel);
    bar->addSeparator();
    bar->addAction(QStringLiteral("放大"), this, [this] { m_preview->zoomIn(); });
    bar->addAction(QStringLiteral("缩小"), this, [this] { m_preview->zoomOut(); });
    bar->addAction(QStringLiteral("适合宽度"), m_preview, &QPrintPreviewWidget::fitToWidth);
    bar->addAction(QStringLiteral("整页"), m_preview, &QPrintPreviewWidget::fitInView);
    bar->addSeparator();
    bar->addAction(QStringLiteral("关闭"), this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_preview, 1);

    QSize size(900, 1000);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
    updatePageLabel();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::show(QWidget *parent, const ReportDocument &document)
{
    ReportPreview preview(document, parent);
    preview.exec();
}

ReportPreview::PrintResult ReportPreview::printDirect(QWidget *parent, const ReportDocument &document,
                                                      bool askPrinter)
{
    return printOn(parent, ReportRenderer(document), askPrinter);
}

void ReportPreview::setMessageHandler(MessageHandler handler)
{
    messageHandler() = std::move(handler);
}

int ReportPreview::currentPage() const
{
    return m_preview->currentPage();
}

void ReportPreview::printWithDialog()
{
    printOn(this, m_renderer, true);
}

void ReportPreview::exportPdfAsked()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出PDF"),
                                                suggestedPath(m_renderer.report(), QStringLiteral(".pdf")),
                                                QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    QString error;
    if (!exportPdf(m_renderer, path, &error))
        tell(this, error);
}

void ReportPreview::exportXlsxAsked()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出Excel"),
                                                suggestedPath(m_renderer.report(), QStringLiteral(".xlsx")),
                                                QStringLiteral("Excel 文件 (*.xlsx)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    QString error;
    if (!exportXlsx(m_renderer.report(), path, &error))
        tell(this, error);
}

void ReportPreview::updatePageLabel()
{
    const int count = m_preview->pageCount() > 0 ? m_preview->pageCount() : m_renderer.pageCount();
    m_pageLabel->setText(pageNumberText(std::max(1, m_preview->currentPage()), count));
}

} // namespace fm
