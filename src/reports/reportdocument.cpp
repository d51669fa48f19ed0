#include "reports/reportdocument.h"

#include "reports/computedreport.h"

#include <QPageSize>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace fm {

// ---------------------------------------------------------------- page setup

bool PageSetup::isLandscape() const
{
    if (paperMm.width() <= paperMm.height()) return false;
    const QPageSize::PageSizeId turned = QPageSize::id(paperMm.transposed(), QPageSize::Millimeter, QPageSize::FuzzyMatch);
    return turned != QPageSize::Custom;
}

QPageLayout PageSetup::pageLayout() const
{
    const bool landscape = isLandscape();
    const QSizeF portrait = landscape ? paperMm.transposed() : paperMm;
    const bool a4 = std::abs(portrait.width() - 210) < 0.5 && std::abs(portrait.height() - 297) < 0.5;
    const QPageSize size = a4 ? QPageSize(QPageSize::A4)
                              : QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QString PageSetup::describe() const
{
    const bool landscape = isLandscape();
    const QSizeF portrait = landscape ? paperMm.transposed() : paperMm;
    const bool a4 = std::abs(portrait.width() - 210) < 0.5 && std::abs(portrait.height() - 297) < 0.5;
    const auto mm = [](double v) { return QString::number(v, 'g', 6); };
    return QStringLiteral("%1 %2 %3x%4mm, margins %5/%6/%7/%8mm")
        .arg(a4 ? QStringLiteral("A4") : QStringLiteral("custom"),
             landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"),
             mm(paperMm.width()), mm(paperMm.height()), mm(marginsMm.left()), mm(marginsMm.top()),
             mm(marginsMm.right()), mm(marginsMm.bottom()));
}

// ------------------------------------------------------------ columns, rows

ReportColumn ReportColumn::hidden(const QString &key)
{
    ReportColumn c;
    c.key = key;
    c.visible = false;
    return c;
}

QString ReportField::text() const
{
    return label + formatReportValue(value, ValueKind::Auto, format).text + suffix;
}

QVariant ReportRowValues::value(ColumnRef column) const
{
    const int i = m_table.columnIndex(column);
    return i >= 0 && i < m_cells.size() ? m_cells.at(i) : QVariant();
}

double ReportRowValues::number(ColumnRef column) const
{
    return reportNumber(value(column)).value_or(0.0);
}

QString ReportRowValues::text(ColumnRef column) const
{
    return value(column).toString().trimmed();
}

int ReportTotals::column(const ColumnRef &ref) const
{
    if (ref.key.isEmpty())
        return ref.index >= 0 && ref.index < m_all.size() ? ref.index : -1;
    return m_keys.indexOf(ref.key);
}

double ReportTotals::sum(ColumnRef c) const
{
    return m_overPrinted ? sumPrinted(c) : sumAll(c);
}

double ReportTotals::sumAll(ColumnRef c) const
{
    const int i = column(c);
    return i >= 0 ? m_all.at(i) : 0.0;
}

double ReportTotals::sumPrinted(ColumnRef c) const
{
    const int i = column(c);
    return i >= 0 ? m_printed.at(i) : 0.0;
}

QVariant ReportTotals::last(ColumnRef c) const
{
    const int i = column(c);
    return i >= 0 ? m_last.at(i) : QVariant();
}

SummaryRow &SummaryRow::sum(ColumnRef column, const QString &suffix)
{
    SummaryCell c;
    c.kind = SummaryCell::Kind::Sum;
    c.column = column;
    c.suffix = suffix;
    m_cells.append(c);
    return *this;
}

SummaryRow &SummaryRow::value(ColumnRef column, const QVariant &v, const QString &suffix)
{
    SummaryCell c;
    c.kind = SummaryCell::Kind::Value;
    c.column = column;
    c.value = v;
    c.suffix = suffix;
    m_cells.append(c);
    return *this;
}

SummaryRow &SummaryRow::derived(ColumnRef column, std::function<QVariant(const ReportTotals &)> fn,
                                const QString &suffix)
{
    SummaryCell c;
    c.kind = SummaryCell::Kind::Derived;
    c.column = column;
    c.derive = std::move(fn);
    c.suffix = suffix;
    m_cells.append(c);
    return *this;
}

// -------------------------------------------------------------------- table

int ReportTable::addColumn(const ReportColumn &column)
{
    m_columns.append(column);
    return int(m_columns.size()) - 1;
}

int ReportTable::columnIndex(const ColumnRef &ref) const
{
    if (!ref.key.isEmpty()) {
        for (int i = 0; i < m_columns.size(); ++i)
            if (m_columns.at(i).key == ref.key)
                return i;
        return -1;
    }
    return ref.index >= 0 && ref.index < m_columns.size() ? ref.index : -1;
}

void ReportTable::setRunningNumber(bool on, const QString &caption)
{
    m_running = on;
    m_runningCaption = caption;
}

void ReportTable::addRow(const QVariantList &cells)
{
    m_rows.append({cells, false});
}

void ReportTable::addBlankRow()
{
    m_rows.append({{}, true});
}

bool ReportTable::isPrinted(int row) const
{
    const Row &r = m_rows.at(row);
    if (r.blank)
        return true;
    return !m_condition || m_condition(ReportRowValues(*this, r.cells));
}

ReportTotals ReportTable::totals() const
{
    ReportTotals t;
    const int n = int(m_columns.size());
    t.m_all = QList<double>(n, 0.0);
    t.m_printed = QList<double>(n, 0.0);
    t.m_last = QList<QVariant>(n);
    for (const ReportColumn &c : m_columns)
        t.m_keys.append(c.key);
    t.m_overPrinted = m_totalsOver == TotalsOver::PrintedRows;
    for (int r = 0; r < m_rows.size(); ++r) {
        const Row &row = m_rows.at(r);
        if (row.blank)
            continue;
        const bool printed = isPrinted(r);
        ++t.m_rowCount;
        if (printed)
            ++t.m_printedCount;
        for (int c = 0; c < n; ++c) {
            const QVariant v = c < row.cells.size() ? row.cells.at(c) : QVariant();
            t.m_last[c] = v;
            if (const std::optional<double> x = reportNumber(v)) {
                t.m_all[c] += *x;
                if (printed)
                    t.m_printed[c] += *x;
            }
        }
    }
    return t;
}

// ----------------------------------------------------------------- document

void ReportDocument::addTitle(const QString &text, double pointSize, bool bold, Qt::Alignment alignment)
{
    m_titles.append({text, pointSize, bold, alignment});
}

void ReportDocument::addHeaderLine(const QList<ReportField> &fields, double pointSize)
{
    ReportFieldLine line;
    line.fields = fields;
    line.pointSize = pointSize;
    m_header.append(line);
}

void ReportDocument::addParagraph(const QString &text, double pointSize, bool bold, Qt::Alignment alignment)
{
    Block b{Block::Kind::Paragraph, {text, pointSize, bold, alignment}, {}, 0, -1};
    m_body.append(b);
}

void ReportDocument::addFieldLine(const QList<ReportField> &fields, double pointSize, bool bold)
{
    Block b{Block::Kind::Fields, {}, {fields, pointSize, bold, Qt::AlignLeft}, 0, -1};
    m_body.append(b);
}

void ReportDocument::addSpacing(double mm)
{
    Block b{Block::Kind::Spacing, {}, {}, mm, -1};
    m_body.append(b);
}

ReportTable &ReportDocument::addTable(const QList<ReportColumn> &columns)
{
    m_tables.emplace_back(columns);
    Block b{Block::Kind::Table, {}, {}, 0, int(m_tables.size()) - 1};
    m_body.append(b);
    return m_tables.back();
}

void ReportDocument::addPageFooter(const QString &text, double pointSize, Qt::Alignment alignment)
{
    m_footers.append({text, pointSize, false, alignment});
}

QString ReportDocument::name() const
{
    for (const ReportText &t : m_titles) {
        QString s = t.text.trimmed();
        while (s.endsWith(u'：') || s.endsWith(u':'))
            s.chop(1);
        if (!s.isEmpty())
            return s;
    }
    return QString();
}

namespace {

ComputedFieldLine computeFields(const ReportFieldLine &line)
{
    ComputedFieldLine out;
    for (const ReportField &f : line.fields)
        out.texts.append(f.text());
    out.pointSize = line.pointSize;
    out.bold = line.bold;
    out.alignment = line.alignment;
    return out;
}

ComputedCell valueCell(const ReportColumn &column, const QVariant &value, const QString &suffix = {})
{
    const FormattedValue f = formatReportValue(value, column.kind, column.format);
    ComputedCell cell;
    cell.text = f.text + suffix;
    cell.number = f.number;
    cell.format = column.format;
    if (column.alignment)
        cell.alignment = column.alignment;
    else
        cell.alignment = f.number ? Qt::AlignRight : Qt::AlignLeft;
    return cell;
}

} // namespace

ComputedTable ReportTable::compute() const
{
    const QList<ReportColumn> &columns = m_columns;
    const bool running = m_running;
    const ReportTotals totals = this->totals();
    ComputedTable out;
    out.pointSize = m_pointSize;
    QList<int> shown; // data column of each printed column after the running number
    if (running)
        out.columns.append({m_runningCaption, QString(), 0});
    for (int c = 0; c < columns.size(); ++c) {
        if (!columns.at(c).visible)
            continue;
        shown.append(c);
        out.columns.append({columns.at(c).caption, columns.at(c).unit, columns.at(c).width});
    }
    const int offset = running ? 1 : 0;
    const int width = int(out.columns.size());

    const auto blankRow = [&] {
        ComputedRow row;
        row.kind = ComputedRow::Kind::Blank;
        row.cells = QList<ComputedCell>(width);
        return row;
    };

    int number = 0;
    for (int r = 0; r < m_rows.size(); ++r) {
        const Row &data = m_rows.at(r);
        if (data.blank) {
            out.rows.append(blankRow());
            continue;
        }
        const bool printed = isPrinted(r);
        ComputedRow row;
        if (running && printed) {
            ComputedCell n;
            n.alignment = Qt::AlignHCenter;
            n.text = QString::number(++number);
            row.cells.append(n);
        }
        for (int c : std::as_const(shown))
            row.cells.append(valueCell(columns.at(c), c < data.cells.size() ? data.cells.at(c) : QVariant()));
        // Held-back rows keep their values but get no running number.
        (printed ? out.rows : out.suppressed).append(row);
    }
    while (out.rows.size() < m_fixedRows)
        out.rows.append(blankRow());

    for (const SummaryRow &s : m_summary) {
        QList<ComputedCell> line(width);
        QList<bool> filled(width, false);
        for (const SummaryCell &sc : s.cells()) {
            const int c = columnIndex(sc.column);
            const int at = c >= 0 ? int(shown.indexOf(c)) : -1;
            if (at < 0)
                continue; // a hidden or unknown column has nowhere to print
            QVariant v;
            switch (sc.kind) {
            case SummaryCell::Kind::Sum:
                v = totals.sum(c);
                break;
            case SummaryCell::Kind::Value:
                v = sc.value;
                break;
            case SummaryCell::Kind::Derived:
                v = sc.derive ? sc.derive(totals) : QVariant();
                break;
            }
            line[at + offset] = valueCell(columns.at(c), v, sc.suffix);
            filled[at + offset] = true;
        }
        ComputedRow row;
        row.kind = ComputedRow::Kind::Summary;
        const int first = int(filled.indexOf(true));
        if (s.label().isEmpty()) {
            row.cells = line;
        } else if (first == 0) {
            line[0].text.prepend(s.label());
            row.cells = line;
        } else {
            ComputedCell label;
            label.text = s.label();
            label.span = first < 0 ? width : first;
            row.cells.append(label);
            if (first > 0)
                row.cells.append(line.mid(first));
        }
        out.summary.append(row);
    }
    return out;
}

ComputedReport ReportDocument::compute() const
{
    ComputedReport out;
    out.page = m_page;
    out.titles = m_titles;
    for (const ReportFieldLine &l : m_header)
        out.header.append(computeFields(l));
    out.repeatHeader = m_repeatHeader;
    out.pageFooters = m_footers;
    out.pageNumbers = m_pageNumbers;
    out.name = name();

    for (const Block &b : m_body) {
        ComputedBlock cb;
        switch (b.kind) {
        case Block::Kind::Paragraph:
            cb.kind = ComputedBlock::Kind::Paragraph;
            cb.paragraph = b.text;
            break;
        case Block::Kind::Fields:
            cb.kind = ComputedBlock::Kind::Fields;
            cb.fields = computeFields(b.fields);
            break;
        case Block::Kind::Spacing:
            cb.kind = ComputedBlock::Kind::Spacing;
            cb.spacingMm = b.spacingMm;
            break;
        case Block::Kind::Table: {
            cb.kind = ComputedBlock::Kind::Table;
            cb.table = m_tables.at(std::size_t(b.table)).compute();
            break;
        }
        }
        out.body.append(cb);
    }
    return out;
}

QString ReportDocument::toText() const
{
    return compute().toText();
}

// ------------------------------------------------------------ text dump

QString pageNumberText(int page, int pageCount)
{
    return QStringLiteral("第 %1 页 / 共 %2 页").arg(page).arg(pageCount);
}

namespace {

QString cellsText(const QList<ComputedCell> &cells)
{
    QStringList parts;
    for (const ComputedCell &c : cells)
        parts.append(c.text);
    return parts.join(QStringLiteral(" | "));
}

} // namespace

QString ComputedReport::toText() const
{
    QStringList out;
    out << QStringLiteral("page: ") + page.describe();
    for (const ReportText &t : titles)
        out << QStringLiteral("title: ") + t.text;
    for (const ComputedFieldLine &l : header)
        out << QStringLiteral("header: ") + l.texts.join(QStringLiteral(" | "));
    if (!repeatHeader)
        out << QStringLiteral("header on first page only");
    for (const ComputedBlock &b : body) {
        switch (b.kind) {
        case ComputedBlock::Kind::Paragraph:
            out << QStringLiteral("paragraph: ") + b.paragraph.text;
            break;
        case ComputedBlock::Kind::Fields:
            out << QStringLiteral("fields: ") + b.fields.texts.join(QStringLiteral(" | "));
            break;
        case ComputedBlock::Kind::Spacing:
            out << QStringLiteral("spacing: %1mm").arg(b.spacingMm);
            break;
        case ComputedBlock::Kind::Table: {
            const ComputedTable &t = b.table;
            QStringList heads;
            for (const ComputedColumn &c : t.columns)
                heads << (c.unit.isEmpty() ? c.caption : c.caption + u'[' + c.unit + u']');
            const QString size = t.pointSize == 10.5 ? QString() : QStringLiteral(" (%1pt)").arg(t.pointSize);
            out << QStringLiteral("table") + size + QStringLiteral(": ") + heads.join(QStringLiteral(" | "));
            for (const ComputedRow &r : t.rows)
                out << (r.kind == ComputedRow::Kind::Blank ? QStringLiteral("  blank")
                                                          : QStringLiteral("  row: ") + cellsText(r.cells));
            for (const ComputedRow &r : t.summary)
                out << QStringLiteral("  summary: ") + cellsText(r.cells);
            for (const ComputedRow &r : t.suppressed)
                out << QStringLiteral("  not printed: ") + cellsText(r.cells);
            break;
        }
        }
    }
    for (const ReportText &t : pageFooters)
        out << QStringLiteral("page footer: ") + t.text;
    if (pageNumbers)
        out << QStringLiteral("page numbers: 第 N 页 / 共 M 页");
    // Trailing blanks (an empty last cell) would make golden files fragile.
    for (QString &line : out)
        while (line.endsWith(u' '))
            line.chop(1);
    return out.join(u'\n') + u'\n';
}

} // namespace fm
