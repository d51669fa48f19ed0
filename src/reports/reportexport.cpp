#include "reports/reportexport.h"

#include "reports/computedreport.h"
#include "reports/reportrenderer.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <xlsxwriter.h>

namespace fm {

namespace {

QString cannotWrite(const QString &path, const QString &detail = {})
{
    QString s = QStringLiteral("无法写入文件：") + path;
    if (!detail.isEmpty())
        s += QStringLiteral("（") + detail + QStringLiteral("）");
    return s;
}

} // namespace

// ---------------------------------------------------------------------- PDF

bool exportPdf(const ReportDocument &document, const QString &path, QString *error)
{
    return exportPdf(ReportRenderer(document), path, error);
}

namespace {

// Qt's PDF writer records each glyph's text as the lowest code point that
// maps to the glyph. In the CJK fonts many ideographs share their glyph with
// a Kangxi radical (户 with ⼾, 日 with ⽇, 页 with ⻚), so text copied or
// searched in the PDF would come out as radicals. This finds, for the
// characters the document uses, the radical Qt will have chosen instead.
// (Same story for the blank, written as a tab.)
QHash<uint, uint> radicalsToIdeographs(const ReportRenderer &renderer)
{
    QSet<char16_t> used;
    for (int p = 0; p < renderer.pageCount(); ++p)
        for (const PageItem &item : renderer.page(p).items)
            for (QChar c : item.text)
                if (c.unicode() >= 0x3400)
                    used.insert(c.unicode());
    QHash<uint, uint> fixes;
    fixes.insert(0x09, 0x20); // the blank's glyph is also the tab's
    for (const bool bold : {false, true}) {
        const QRawFont raw = QRawFont::fromFont(ReportRenderer::font(10.5, bold));
        if (!raw.isValid())
            continue;
        QHash<quint32, uint> radicalOfGlyph;
        for (char16_t r = 0x2E80; r <= 0x2FDF; ++r) {
            const QList<quint32> g = raw.glyphIndexesForString(QString(QChar(r)));
            if (!g.isEmpty() && g.first() != 0 && !radicalOfGlyph.contains(g.first()))
                radicalOfGlyph.insert(g.first(), r);
        }
        for (char16_t c : std::as_const(used)) {
            const QList<quint32> g = raw.glyphIndexesForString(QString(QChar(c)));
            if (!g.isEmpty() && radicalOfGlyph.contains(g.first()))
                fixes.insert(radicalOfGlyph.value(g.first()), c);
        }
    }
    return fixes;
}

// Rewrites the targets of the ToUnicode maps ("<0001> <0003> [<5BA2> <2F3E>
// ...]" and "<0004> <2F47>"), keeping every byte offset of the file.
void fixToUnicode(QByteArray &pdf, const QHash<uint, uint> &fixes)
{
    if (fixes.isEmpty())
        return;
    const auto fixBlock = [&](const QByteArray &begin, const QByteArray &end, int sources) {
        qsizetype at = 0;
        while ((at = pdf.indexOf(begin, at)) >= 0) {
            const qsizetype stop = pdf.indexOf(end, at);
            if (stop < 0)
                return;
            qsizetype lineStart = at + begin.size();
            while (lineStart < stop) {
                qsizetype lineEnd = pdf.indexOf('\n', lineStart);
                if (lineEnd < 0 || lineEnd > stop)
                    lineEnd = stop;
                int token = 0;
                for (qsizetype i = lineStart; i < lineEnd; ++i) {
                    if (pdf.at(i) != '<')
                        continue;
                    const qsizetype close = pdf.indexOf('>', i);
                    if (close < 0 || close > lineEnd)
                        break;
                    if (token++ >= sources && close - i == 5) {
                        bool ok = false;
                        const uint code = pdf.mid(i + 1, 4).toUInt(&ok, 16);
                        if (ok && fixes.contains(code)) {
                            const QByteArray hex = QByteArray::number(fixes.value(code), 16).toUpper();
                            pdf.replace(i + 1, 4, hex.rightJustified(4, '0'));
                        }
                    }
                    i = close;
                }
                lineStart = lineEnd + 1;
            }
            at = stop;
        }
    };
    fixBlock("beginbfrange", "endbfrange", 2);
    fixBlock("beginbfchar", "endbfchar", 1);
}

} // namespace

bool exportPdf(const ReportRenderer &renderer, const QString &path, QString *error)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(renderer.report().page.pageLayout());
        writer.setTitle(renderer.report().name);
        writer.setCreator(QStringLiteral("feedmill"));
        if (!renderer.paint(writer)) {
            if (error)
                *error = cannotWrite(path);
            return false;
        }
    }
    QByteArray pdf = buffer.data();
    fixToUnicode(pdf, radicalsToIdeographs(renderer));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit()) {
        if (error)
            *error = cannotWrite(path, file.errorString());
        return false;
    }
    return true;
}

// --------------------------------------------------------------------- XLSX

namespace {

// Width of a text in spreadsheet columns: a Chinese character takes two.
int displayWidth(const QString &s)
{
    int w = 0;
    for (QChar c : s)
        w += c.unicode() < 0x80 ? 1 : 2;
    return w;
}

// Sheet names may not hold []:*?/\ and have at most 31 characters.
QString sheetName(const QString &name)
{
    QString s;
    for (QChar c : name)
        if (!QStringLiteral("[]:*?/\\'").contains(c))
            s += c;
    s = s.trimmed().left(31);
    return s.isEmpty() ? QStringLiteral("报表") : s;
}

class XlsxWriter {
public:
    XlsxWriter(const ComputedReport &report) : m_report(report) {}

    bool write(const QString &path, QString *error)
    {
        const QByteArray file = QFile::encodeName(path);
        m_book = workbook_new(file.constData());
        if (!m_book) {
            if (error)
                *error = cannotWrite(path);
            return false;
        }
        m_sheet = workbook_add_worksheet(m_book, sheetName(m_report.name).toUtf8().constData());
        if (!m_sheet)
            m_sheet = workbook_add_worksheet(m_book, nullptr);
        setUpPage();
        writeAll();
        const lxw_error result = workbook_close(m_book);
        if (result != LXW_NO_ERROR) {
            if (error)
                *error = cannotWrite(path, QString::fromUtf8(lxw_strerror(result)));
            return false;
        }
        return true;
    }

private:
    struct Style {
        bool bold = false;
        double size = 11;
        Qt::Alignment alignment = Qt::AlignLeft;
        bool border = false;
        bool wrap = false;
        bool fill = false;
        QString number; // spreadsheet number format, empty for text
    };

    lxw_format *format(const Style &s)
    {
        const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                                .arg(s.bold)
                                .arg(s.size)
                                .arg(int(s.alignment))
                                .arg(s.border)
                                .arg(s.wrap)
                                .arg(s.fill)
                                .arg(s.number);
        auto it = m_formats.find(key);
        if (it != m_formats.end())
            return *it;
        lxw_format *f = workbook_add_format(m_book);
        if (s.bold)
            format_set_bold(f);
        format_set_font_size(f, s.size);
        if (s.alignment & Qt::AlignHCenter)
            format_set_align(f, LXW_ALIGN_CENTER);
        else if (s.alignment & Qt::AlignRight)
            format_set_align(f, LXW_ALIGN_RIGHT);
        else
            format_set_align(f, LXW_ALIGN_LEFT);
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        if (s.border)
            format_set_border(f, LXW_BORDER_THIN);
        if (s.wrap)
            format_set_text_wrap(f);
        if (s.fill) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, 0xECECEC);
        }
        if (!s.number.isEmpty())
            format_set_num_format(f, s.number.toUtf8().constData());
        m_formats.insert(key, f);
        return f;
    }

    void text(int row, int first, int last, const QString &s, const Style &style)
    {
        const QByteArray utf8 = s.toUtf8();
        if (last > first)
            worksheet_merge_range(m_sheet, lxw_row_t(row), lxw_col_t(first), lxw_row_t(row), lxw_col_t(last),
                                  utf8.constData(), format(style));
        else if (s.isEmpty())
            worksheet_write_blank(m_sheet, lxw_row_t(row), lxw_col_t(first), format(style));
        else
            worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(first), utf8.constData(), format(style));
    }

    double contentWidthMm() const
    {
        const PageSetup &p = m_report.page;
        return p.paperMm.width() - p.marginsMm.left() - p.marginsMm.right();
    }

    // Spreadsheet width units (about 1.9 mm each) across the printable width.
    double totalUnits() const { return contentWidthMm() / 1.9; }

    void setUpPage()
    {
        const PageSetup &p = m_report.page;
        const QSizeF portrait = p.isLandscape() ? p.paperMm.transposed() : p.paperMm;
        if (std::abs(portrait.width() - 210) < 0.5 && std::abs(portrait.height() - 297) < 0.5)
            worksheet_set_paper(m_sheet, 9); // A4
        if (p.isLandscape())
            worksheet_set_landscape(m_sheet);
        const double inch = 25.4;
        worksheet_set_margins(m_sheet, p.marginsMm.left() / inch, p.marginsMm.right() / inch,
                              p.marginsMm.top() / inch, p.marginsMm.bottom() / inch);
        worksheet_fit_to_pages(m_sheet, 1, 0);

        // Column widths follow the widest table; without one, equal columns.
        const ComputedTable *widest = nullptr;
        for (const ComputedBlock &b : m_report.body)
            if (b.kind == ComputedBlock::Kind::Table && (!widest || b.table.columns.size() > widest->columns.size()))
                widest = &b.table;
        if (!widest || widest->columns.isEmpty()) {
            m_width = 4;
            worksheet_set_column(m_sheet, 0, lxw_col_t(m_width - 1), totalUnits() / m_width, nullptr);
            return;
        }
        m_width = int(widest->columns.size());
        QList<double> units(m_width, 0.0);
        double fixed = 0, relative = 0;
        for (int c = 0; c < m_width; ++c) {
            const ComputedColumn &col = widest->columns.at(c);
            if (col.width > 0) {
                relative += col.width;
                continue;
            }
            int w = std::max(displayWidth(col.caption), displayWidth(col.unit));
            for (const ComputedRow &r : widest->rows)
                if (c < r.cells.size())
                    w = std::max(w, displayWidth(r.cells.at(c).text));
            units[c] = std::min(w + 2.0, totalUnits() / 3);
            fixed += units[c];
        }
        for (int c = 0; c < m_width; ++c) {
            if (widest->columns.at(c).width > 0)
                units[c] = std::max(4.0, (totalUnits() - fixed) * widest->columns.at(c).width / relative);
            worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c), units[c], nullptr);
        }
    }

    // Fields side by side, each over an equal share of the columns.
    void fieldLine(const ComputedFieldLine &line)
    {
        Style style;
        style.bold = line.bold;
        style.size = line.pointSize + 0.5;
        const int n = int(line.texts.size());
        if (n == 0) {
            ++m_row;
            return;
        }
        if (n > m_width) {
            text(m_row++, 0, m_width - 1, line.texts.join(QStringLiteral("    ")), style);
            return;
        }
        for (int i = 0; i < n; ++i) {
            const int first = i * m_width / n;
            const int last = (i + 1) * m_width / n - 1;
            text(m_row, first, std::max(first, last), line.texts.at(i), style);
        }
        ++m_row;
    }

    void paragraph(const ReportText &t)
    {
        Style style;
        style.bold = t.bold;
        style.size = t.pointSize + 0.5;
        style.alignment = t.alignment;
        style.wrap = true;
        const int lines = std::max(1, int(std::ceil(displayWidth(t.text) / totalUnits())));
        worksheet_set_row(m_sheet, lxw_row_t(m_row), 15.0 * lines, nullptr);
        text(m_row++, 0, m_width - 1, t.text, style);
    }

    void cell(int row, int column, int last, const ComputedCell &c, bool bold)
    {
        Style style;
        style.bold = bold;
        style.border = true;
        style.alignment = c.alignment;
        // A number goes in as a number, unless a suffix such as "（元）"
        // follows it on the document.
        if (c.number && last == column && c.text == c.format.format(*c.number)) {
            style.number = c.format.spreadsheetFormat();
            worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), *c.number, format(style));
            return;
        }
        text(row, column, last, c.text, style);
    }

    void table(const ComputedTable &t)
    {
        Style head;
        head.bold = true;
        head.alignment = Qt::AlignHCenter;
        head.border = true;
        head.wrap = true;
        head.fill = true;
        bool units = false;
        for (int c = 0; c < t.columns.size(); ++c) {
            const ComputedColumn &col = t.columns.at(c);
            units = units || !col.unit.isEmpty();
            text(m_row, c, c, col.unit.isEmpty() ? col.caption : col.caption + u'\n' + col.unit, head);
        }
        if (units)
            worksheet_set_row(m_sheet, lxw_row_t(m_row), 30, nullptr);
        if (!m_repeatSet) {
            worksheet_repeat_rows(m_sheet, lxw_row_t(m_row), lxw_row_t(m_row));
            m_repeatSet = true;
        }
        ++m_row;
        const auto writeRow = [&](const ComputedRow &r, bool bold) {
            int at = 0;
            for (const ComputedCell &c : r.cells) {
                cell(m_row, at, at + c.span - 1, c, bold);
                at += c.span;
            }
            ++m_row;
        };
        for (const ComputedRow &r : t.rows)
            writeRow(r, false);
        for (const ComputedRow &r : t.summary)
            writeRow(r, true);
    }

    void writeAll()
    {
        for (const ReportText &t : m_report.titles) {
            Style style;
            style.bold = t.bold;
            style.size = t.pointSize;
            style.alignment = t.alignment;
            worksheet_set_row(m_sheet, lxw_row_t(m_row), t.pointSize * 1.6, nullptr);
            text(m_row++, 0, m_width - 1, t.text, style);
        }
        for (const ComputedFieldLine &l : m_report.header)
            fieldLine(l);
        ++m_row;
        for (const ComputedBlock &b : m_report.body) {
            switch (b.kind) {
            case ComputedBlock::Kind::Paragraph:
                paragraph(b.paragraph);
                break;
            case ComputedBlock::Kind::Fields:
                fieldLine(b.fields);
                break;
            case ComputedBlock::Kind::Spacing:
                ++m_row;
                break;
            case ComputedBlock::Kind::Table:
                table(b.table);
                ++m_row;
                break;
            }
        }
        if (!m_report.pageFooters.isEmpty())
            ++m_row;
        for (const ReportText &t : m_report.pageFooters)
            paragraph(t);
    }

    const ComputedReport &m_report;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    QHash<QString, lxw_format *> m_formats;
    int m_width = 1;
    int m_row = 0;
    bool m_repeatSet = false;
};

} // namespace

bool exportXlsx(const ReportDocument &document, const QString &path, QString *error)
{
    return exportXlsx(document.compute(), path, error);
}

bool exportXlsx(const ComputedReport &report, const QString &path, QString *error)
{
    return XlsxWriter(report).write(path, error);
}

} // namespace fm
