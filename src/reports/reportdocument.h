#pragma once
// The printed-document model. A window fills a ReportDocument from data it has
// already read (documents run no queries of their own), then hands it to the
// preview, the printer or an export. compute() turns it into the texts that
// are printed, once; ReportRenderer lays those out on pages.
//
// A document is:
//   page setup          paper (A4 or a size in mm), orientation, margins
//   titles              centred heading lines
//   header lines        "label：value" fields; with titles, the page header,
//                       repeated on every page unless told otherwise
//   body blocks         in the order added: paragraphs, field lines (funds
//                       summary, signature lines), spacing, tables
//   page footers        texts at the foot of every page, and "第 N 页 / 共 M 页"
//
// Example: a customer list with one suppressed row.
//   ReportDocument doc;
//   doc.addTitle("地区客户打印：");
//   doc.addHeaderLine({{"地区：", regionName}, {"打印日期：", today}});
//   ReportTable &t = doc.addTable({ReportColumn("客户代码"),
//                                  ReportColumn("客户名称", {}, 2),
//                                  ReportColumn("地区")});
//   t.setPrintCondition([](const ReportRowValues &r) { return r.text(0) != "x"; });
//   for (const Customer &c : customers) t.addRow({c.khdm, c.khmc, c.dq});

#include "reports/reportvalue.h"

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <deque>
#include <functional>

namespace fm {

class ComputedReport;
struct ComputedTable;
class ReportTable;

// Paper, orientation and margins. The paper size is given as the page is
// read. A standard sheet (A4, B4, ...) read wider than long is that sheet
// turned: landscape. Any other size is a form fed as it is read, so it
// stays portrait even when wider than long (210 x 200 mm continuous paper).
struct PageSetup {
    QSizeF paperMm{210, 297};
    QMarginsF marginsMm{15, 15, 15, 15}; // left, top, right, bottom

    static PageSetup a4Portrait() { return {}; }
    static PageSetup a4Landscape() { return {{297, 210}, {15, 15, 15, 15}}; }
    static PageSetup custom(double widthMm, double heightMm) { return {{widthMm, heightMm}, {10, 10, 10, 10}}; }

    bool isLandscape() const;
    // For printers and PDF writers: the paper, with zero margins (the
    // renderer places everything itself, margins included).
    QPageLayout pageLayout() const;
    QString describe() const; // "A4 portrait 210x297mm, margins 15/15/15/15mm"
};

// A column by index or by key (see ReportColumn::key).
struct ColumnRef {
    ColumnRef(int i) : index(i) {}
    ColumnRef(const char *k) : key(QString::fromUtf8(k)) {}
    ColumnRef(const QString &k) : key(k) {}
    int index = -1;
    QString key;
};

struct ReportColumn {
    QString caption;
    QString unit;      // second caption line, e.g. "（公斤）"
    double width = 1;  // relative to the other columns; 0 fits the content
    Qt::Alignment alignment; // empty: numbers right, other values left
    ValueKind kind = ValueKind::Auto;
    NumberFormat format;
    QString key;       // optional name for conditions, sums and derived values
    bool visible = true;

    ReportColumn() = default;
    ReportColumn(const QString &caption, const QString &unit = {}, double width = 1)
        : caption(caption), unit(unit), width(width) {}

    // A column that is not printed but carries a value per row for print
    // conditions and derived summary values.
    static ReportColumn hidden(const QString &key);

    ReportColumn &asNumber() { kind = ValueKind::Number; return *this; }
    ReportColumn &asText() { kind = ValueKind::Text; return *this; }
    ReportColumn &asDate() { kind = ValueKind::Date; return *this; }
    ReportColumn &withDecimals(int decimals, bool grouping = false)
    {
        kind = ValueKind::Number;
        format = NumberFormat::fixed(decimals, grouping);
        return *this;
    }
    ReportColumn &aligned(Qt::Alignment a) { alignment = a; return *this; }
    ReportColumn &withKey(const QString &k) { key = k; return *this; }
};

// A heading line, paragraph or page footer.
struct ReportText {
    QString text;
    double pointSize = 10.5;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// "label" + value + "suffix", e.g. {"实际还款:", 1200, "(元)"}.
struct ReportField {
    QString label;
    QVariant value;
    QString suffix;
    NumberFormat format;

    ReportField(const QString &label = {}, const QVariant &value = {}, const QString &suffix = {})
        : label(label), value(value), suffix(suffix) {}
    ReportField &withDecimals(int decimals, bool grouping = false)
    {
        format = NumberFormat::fixed(decimals, grouping);
        return *this;
    }
    QString text() const;
};

// Fields side by side on one line, each in an equal share of the width.
struct ReportFieldLine {
    QList<ReportField> fields;
    double pointSize = 10.5;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// One detail row as a print condition or a derived value sees it.
class ReportRowValues {
public:
    ReportRowValues(const ReportTable &table, const QVariantList &cells) : m_table(table), m_cells(cells) {}
    QVariant value(ColumnRef column) const;
    double number(ColumnRef column) const; // 0 when empty or not a number
    QString text(ColumnRef column) const;  // trimmed

private:
    const ReportTable &m_table;
    const QVariantList &m_cells;
};

// Column totals of a table, as summary rows and derived values see them.
class ReportTotals {
public:
    double sum(ColumnRef column) const; // over the rows the table's policy counts
    double sumAll(ColumnRef column) const;
    double sumPrinted(ColumnRef column) const;
    QVariant last(ColumnRef column) const; // value in the last data row, printed or not
    int rowCount() const { return m_rowCount; }
    int printedCount() const { return m_printedCount; }

private:
    friend class ReportTable;
    QList<double> m_all, m_printed;
    QList<QVariant> m_last;
    QStringList m_keys;
    bool m_overPrinted = false;
    int m_rowCount = 0;
    int m_printedCount = 0;
    int column(const ColumnRef &ref) const;
};

struct SummaryCell {
    enum class Kind { Sum, Value, Derived };
    Kind kind = Kind::Sum;
    ColumnRef column = -1;
    QVariant value;
    std::function<QVariant(const ReportTotals &)> derive;
    QString suffix;
};

// A line after the detail rows: a label, then per column a sum, a value the
// caller supplies, or a value derived from the totals. The label fills the
// cells before the first value.
class SummaryRow {
public:
    explicit SummaryRow(const QString &label = {}) : m_label(label) {}
    SummaryRow &sum(ColumnRef column, const QString &suffix = {});
    SummaryRow &value(ColumnRef column, const QVariant &v, const QString &suffix = {});
    SummaryRow &derived(ColumnRef column, std::function<QVariant(const ReportTotals &)> fn,
                        const QString &suffix = {});

    const QString &label() const { return m_label; }
    const QList<SummaryCell> &cells() const { return m_cells; }

private:
    QString m_label;
    QList<SummaryCell> m_cells;
};

class ReportTable {
public:
    // Which rows the sums cover: all rows of the data (the default) or only
    // the rows the print condition lets through.
    enum class TotalsOver { AllRows, PrintedRows };
    using Condition = std::function<bool(const ReportRowValues &)>;

    explicit ReportTable(const QList<ReportColumn> &columns = {}) : m_columns(columns) {}

    int addColumn(const ReportColumn &column);
    const QList<ReportColumn> &columns() const { return m_columns; }
    int columnIndex(const ColumnRef &ref) const; // -1 when unknown

    // A running number "序号" before the first column, counting printed rows.
    void setRunningNumber(bool on, const QString &caption = QStringLiteral("序号"));
    // The table shows at least this many lines, blank ones after the filled
    // ones (a slip always has eight). More rows than that all print.
    void setFixedRowCount(int rows) { m_fixedRows = rows; }
    // Rows for which the condition is false are not printed, but stay in the
    // data (and, by default, in the totals).
    void setPrintCondition(Condition condition) { m_condition = std::move(condition); }
    void setTotalsOver(TotalsOver over) { m_totalsOver = over; }
    // Type size of heads and rows (10.5 pt); smaller for many columns.
    void setPointSize(double points) { m_pointSize = points; }

    void addRow(const QVariantList &cells);
    // A line left empty in its place (a slip line that was deleted).
    void addBlankRow();
    void addSummary(const SummaryRow &row) { m_summary.append(row); }

    int rowCount() const { return int(m_rows.size()); }
    bool isPrinted(int row) const;
    ReportTotals totals() const;
    ComputedTable compute() const;

private:
    struct Row {
        QVariantList cells;
        bool blank = false;
    };
    QList<ReportColumn> m_columns;
    QList<Row> m_rows;
    QList<SummaryRow> m_summary;
    Condition m_condition;
    TotalsOver m_totalsOver = TotalsOver::AllRows;
    QString m_runningCaption;
    bool m_running = false;
    int m_fixedRows = 0;
    double m_pointSize = 10.5;
};

class ReportDocument {
public:
    PageSetup &page() { return m_page; }
    const PageSetup &page() const { return m_page; }
    void setPage(const PageSetup &page) { m_page = page; }

    void addTitle(const QString &text, double pointSize = 16, bool bold = true,
                  Qt::Alignment alignment = Qt::AlignHCenter);
    void addHeaderLine(const QList<ReportField> &fields, double pointSize = 10.5);
    // Titles and header lines on every page (default) or on the first only.
    void setRepeatHeader(bool on) { m_repeatHeader = on; }

    void addParagraph(const QString &text, double pointSize = 10.5, bool bold = false,
                      Qt::Alignment alignment = Qt::AlignLeft);
    void addFieldLine(const QList<ReportField> &fields, double pointSize = 10.5, bool bold = false);
    void addSpacing(double mm);
    // The reference stays valid for the life of the document.
    ReportTable &addTable(const QList<ReportColumn> &columns = {});

    void addPageFooter(const QString &text, double pointSize = 9,
                       Qt::Alignment alignment = Qt::AlignHCenter);
    void setPageNumbers(bool on) { m_pageNumbers = on; }

    // The first title without trailing colons: a name for files and sheets.
    QString name() const;

    ComputedReport compute() const;
    QString toText() const;

private:
    struct Block {
        enum class Kind { Paragraph, Fields, Spacing, Table };
        Kind kind;
        ReportText text;
        ReportFieldLine fields;
        double spacingMm = 0;
        int table = -1;
    };
    PageSetup m_page;
    QList<ReportText> m_titles;
    QList<ReportFieldLine> m_header;
    QList<Block> m_body;
    std::deque<ReportTable> m_tables;
    QList<ReportText> m_footers;
    bool m_repeatHeader = true;
    bool m_pageNumbers = true;
};

} // namespace fm
