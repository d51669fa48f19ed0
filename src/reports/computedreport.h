#pragma once
// A document as it prints: every value formatted, print conditions applied,
// running numbers, blank lines and summary values filled in. Nothing here
// depends on fonts or paper; ReportRenderer and the exports read it.

#include "reports/reportdocument.h"

#include <QList>
#include <QString>
#include <optional>

namespace fm {

struct ComputedColumn {
    QString caption;
    QString unit;
    double width = 1; // relative; 0 fits the content
};

struct ComputedCell {
    QString text;
    Qt::Alignment alignment = Qt::AlignLeft;
    int span = 1;                 // summary labels may cover several columns
    std::optional<double> number; // set when the cell prints a number
    NumberFormat format;
};

struct ComputedRow {
    enum class Kind { Detail, Blank, Summary };
    Kind kind = Kind::Detail;
    QList<ComputedCell> cells; // one per printed column (spans count)
};

struct ComputedTable {
    QList<ComputedColumn> columns; // printed columns, running number first
    QList<ComputedRow> rows;       // detail and blank lines, in print order
    QList<ComputedRow> summary;
    QList<ComputedRow> suppressed; // rows the print condition held back (no running number)
    double pointSize = 10.5;
};

struct ComputedFieldLine {
    QStringList texts;
    double pointSize = 10.5;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct ComputedBlock {
    enum class Kind { Paragraph, Fields, Spacing, Table };
    Kind kind = Kind::Paragraph;
    ReportText paragraph;
    ComputedFieldLine fields;
    double spacingMm = 0;
    ComputedTable table;
};

class ComputedReport {
public:
    PageSetup page;
    QList<ReportText> titles;
    QList<ComputedFieldLine> header;
    bool repeatHeader = true;
    QList<ComputedBlock> body;
    QList<ReportText> pageFooters;
    bool pageNumbers = true;
    QString name;

    // A plain-text dump, one element per line, for golden files.
    QString toText() const;
};

// "第 N 页 / 共 M 页"
QString pageNumberText(int page, int pageCount);

} // namespace fm
