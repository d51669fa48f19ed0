#pragma once
// Exports of a printed document. Both return false and set *error (a text
// for the user) when the file cannot be written.

#include <QString>

namespace fm {

class ComputedReport;
class ReportDocument;
class ReportRenderer;

// The pages exactly as printed.
bool exportPdf(const ReportDocument &document, const QString &path, QString *error = nullptr);
bool exportPdf(const ReportRenderer &renderer, const QString &path, QString *error = nullptr);

// One sheet: titles merged across the table width, header fields, column
// heads, the printed rows (numbers as numbers), summary rows, footers.
bool exportXlsx(const ReportDocument &document, const QString &path, QString *error = nullptr);
bool exportXlsx(const ComputedReport &report, const QString &path, QString *error = nullptr);

} // namespace fm
