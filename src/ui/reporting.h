#pragma once
// Every window shows and prints documents through these two calls, so that
// tests can capture the documents instead of opening a preview.

class QWidget;

namespace fm {

struct AppContext;
class ReportDocument;

// The preview window, from which the user prints or exports.
void showDocument(AppContext &ctx, QWidget *parent, const ReportDocument &document);
// Straight to the printer (where a function prints at once); with askPrinter
// the printer dialog comes first.
void printDocument(AppContext &ctx, QWidget *parent, const ReportDocument &document, bool askPrinter = false);

} // namespace fm
