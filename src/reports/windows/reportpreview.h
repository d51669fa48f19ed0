#pragma once
// The print preview every printed document opens in, and direct printing.
//
//   ReportPreview::show(this, doc);              // modal preview: 打印, 导出PDF, 导出Excel, 关闭
//   ReportPreview::printDirect(this, doc, true); // printer dialog, then print
//
// Without any printer installed Qt's printer writes PDF; direct printing then
// reports NoPrinter instead of painting into nowhere.

#include "reports/reportrenderer.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace fm {

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    enum class PrintResult { Printed, Cancelled, NoPrinter, Failed };

    explicit ReportPreview(const ReportDocument &document, QWidget *parent = nullptr);
    ~ReportPreview() override;

    using QDialog::show;
    // Opens the preview modally; the user prints or exports from there.
    static void show(QWidget *parent, const ReportDocument &document);
    // Prints at once on the default printer, or after the printer dialog
    // when askPrinter. Failures are reported through the message handler.
    static PrintResult printDirect(QWidget *parent, const ReportDocument &document, bool askPrinter);

    // Where failures are told to the user (a warning box unless replaced;
    // tests record them instead).
    using MessageHandler = std::function<void(QWidget *parent, const QString &text)>;
    static void setMessageHandler(MessageHandler handler);

    const ReportRenderer &renderer() const { return m_renderer; }
    QPrintPreviewWidget *previewWidget() const { return m_preview; }
    int currentPage() const; // 1-based

private:
    void printWithDialog();
    void exportPdfAsked();
    void exportXlsxAsked();
    void updatePageLabel();

    ReportRenderer m_renderer;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    QLabel *m_pageLabel = nullptr;
};

} // namespace fm
