#include "reports/reportrenderer.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace fm {

namespace {

// Spacing of the page, in layout units (1/720 inch).
const double cellPadX = ReportRenderer::mm(1.2);
const double cellPadY = ReportRenderer::mm(0.9);
const double titleGap = ReportRenderer::mm(2);   // after the titles
const double headerGap = ReportRenderer::mm(3);  // after the page header
const double fieldGap = ReportRenderer::mm(1);   // between field lines
const double blockGap = ReportRenderer::mm(2.5); // between body blocks
const double fieldSlotGap = ReportRenderer::mm(3);
const double footerGap = ReportRenderer::mm(3);
const double innerRule = 5; // 0.5 pt
const double outerRule = 10; // 1 pt
const QColor headFill(0xEC, 0xEC, 0xEC);

// Trailing blanks at a line break print nothing; leading ones (an indent of
// full-width spaces) stay.
QString chopTrailingSpaces(QString s)
{
    while (!s.isEmpty() && (s.back() == u' ' || s.back() == u'\t'))
        s.chop(1);
    return s;
}

class Metrics {
public:
    const QFont &font(double pt, bool bold)
    {
        const QString key = QString::number(pt) + (bold ? u'b' : u'r');
        auto it = m_fonts.find(key);
        if (it == m_fonts.end())
            it = m_fonts.insert(key, ReportRenderer::font(pt, bold));
        return *it;
    }
    double lineHeight(double pt, bool bold) { return QFontMetricsF(font(pt, bold)).height(); }
    double width(const QString &text, double pt, bool bold)
    {
        return QFontMetricsF(font(pt, bold)).horizontalAdvance(text);
    }
    // Breaks text into lines no wider than width: at word boundaries, or
    // anywhere when a word is wider than the line (Chinese breaks anywhere).
    QStringList lines(const QString &text, double pt, bool bold, double width)
    {
        QStringList out;
        const QStringList paragraphs = text.split(u'\n');
        for (const QString &para : paragraphs) {
            if (para.isEmpty()) {
                out << QString();
                continue;
            }
            QTextLayout layout(para, font(pt, bold));
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(option);
            layout.beginLayout();
            for (;;) {
                QTextLine line = layout.createLine();
                if (!line.isValid())
                    break;
                line.setLineWidth(std::max(width, 1.0));
                out << chopTrailingSpaces(para.mid(line.textStart(), line.textLength()));
            }
            layout.endLayout();
        }
        return out;
    }

private:
    QHash<QString, QFont> m_fonts;
};

struct PreparedCell {
    QStringList lines;
    double x = 0;
    double width = 0;
    Qt::Alignment alignment;
    bool bold = false;
};

struct PreparedRow {
    QList<PreparedCell> cells;
    double height = 0;
    bool summary = false;
};

class Builder {
public:
    Builder(const ComputedReport &report, QList<ReportPage> &pages, const QSizeF &paper)
        : m_report(report), m_pages(pages)
    {
        const QMarginsF &m = report.page.marginsMm;
        m_content = QRectF(QPointF(ReportRenderer::mm(m.left()), ReportRenderer::mm(m.top())),
                           QPointF(paper.width() - ReportRenderer::mm(m.right()),
                                   paper.height() - ReportRenderer::mm(m.bottom())));
        double reserve = 0;
        for (const ReportText &t : report.pageFooters)
            reserve += lineBlockHeight(t);
        if (report.pageNumbers)
            reserve += m_metrics.lineHeight(9, false);
        m_footerHeight = reserve;
        m_bottom = m_content.bottom() - (reserve > 0 ? reserve + footerGap : 0);
    }

    void run()
    {
        newPage();
        for (const ComputedBlock &b : m_report.body) {
            switch (b.kind) {
            case ComputedBlock::Kind::Paragraph:
                placeText(b.paragraph);
                break;
            case ComputedBlock::Kind::Fields:
                placeFieldLine(b.fields, true);
                break;
            case ComputedBlock::Kind::Spacing:
                if (m_pageHasBody)
                    m_y += ReportRenderer::mm(b.spacingMm);
                break;
            case ComputedBlock::Kind::Table:
                placeTable(b.table);
                break;
            }
        }
        placeFooters();
    }

private:
    // ------------------------------------------------------------ primitives
    ReportPage &page() { return m_pages.last(); }

    void text(const QRectF &rect, const QString &s, double pt, bool bold, Qt::Alignment alignment)
    {
        if (s.isEmpty())
            return;
        PageItem item;
        item.kind = PageItem::Kind::Text;
        item.rect = rect;
        item.text = s;
        item.pointSize = pt;
        item.bold = bold;
        item.alignment = (alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
        page().items.append(item);
    }

    void line(const QLineF &l, double width)
    {
        PageItem item;
        item.kind = PageItem::Kind::Line;
        item.line = l;
        item.penWidth = width;
        page().items.append(item);
    }

    void fill(const QRectF &rect, const QColor &color)
    {
        PageItem item;
        item.kind = PageItem::Kind::Fill;
        item.rect = rect;
        item.color = color;
        page().items.append(item);
    }

    double lineBlockHeight(const ReportText &t)
    {
        return m_metrics.lines(t.text, t.pointSize, t.bold, m_content.width()).size()
               * m_metrics.lineHeight(t.pointSize, t.bold);
    }

    // ---------------------------------------------------------------- pages
    void newPage()
    {
        m_pages.append(ReportPage());
        m_y = m_content.top();
        m_pageHasBody = false;
        if (m_pages.size() == 1 || m_report.repeatHeader)
            placeHeader();
    }

    void placeHeader()
    {
        for (const ReportText &t : m_report.titles) {
            const double lh = m_metrics.lineHeight(t.pointSize, t.bold);
            for (const QString &l : m_metrics.lines(t.text, t.pointSize, t.bold, m_content.width())) {
                text(QRectF(m_content.left(), m_y, m_content.width(), lh), l, t.pointSize, t.bold, t.alignment);
                m_y += lh;
            }
        }
        if (!m_report.titles.isEmpty())
            m_y += titleGap;
        for (const ComputedFieldLine &l : m_report.header)
            placeFieldLine(l, false);
        if (!m_report.titles.isEmpty() || !m_report.header.isEmpty())
            m_y += headerGap - (m_report.header.isEmpty() ? 0 : fieldGap);
    }

    // Starts a body block of the given height: a gap after the block before,
    // and a new page when it does not fit (unless the page has nothing yet).
    void beginBlock(double height)
    {
        if (m_pageHasBody)
            m_y += blockGap;
        if (m_pageHasBody && m_y + height > m_bottom)
            newPage();
        m_pageHasBody = true;
    }

    void placeText(const ReportText &t)
    {
        const QStringList lines = m_metrics.lines(t.text, t.pointSize, t.bold, m_content.width());
        const double lh = m_metrics.lineHeight(t.pointSize, t.bold);
        // A paragraph stays on one page when it can; a longer one runs on.
        const double whole = lines.size() * lh;
        beginBlock(whole <= m_bottom - m_content.top() ? whole : lh);
        int onPage = 0;
        for (const QString &l : lines) {
            if (onPage > 0 && m_y + lh > m_bottom) {
                newPage();
                m_pageHasBody = true;
                onPage = 0;
            }
            text(QRectF(m_content.left(), m_y, m_content.width(), lh), l, t.pointSize, t.bold, t.alignment);
            m_y += lh;
            ++onPage;
        }
    }

    void placeFieldLine(const ComputedFieldLine &f, bool body)
    {
        const int n = std::max<int>(1, int(f.texts.size()));
        const double slot = m_content.width() / n;
        const double lh = m_metrics.lineHeight(f.pointSize, f.bold);
        QList<QStringList> lines;
        int most = 1;
        for (int i = 0; i < f.texts.size(); ++i) {
            lines << m_metrics.lines(f.texts.at(i), f.pointSize, f.bold, slot - (i + 1 < n ? fieldSlotGap : 0));
            most = std::max<int>(most, int(lines.last().size()));
        }
        if (body)
            beginBlock(most * lh);
        for (int i = 0; i < lines.size(); ++i) {
            const double w = slot - (i + 1 < n ? fieldSlotGap : 0);
            for (int k = 0; k < lines.at(i).size(); ++k)
                text(QRectF(m_content.left() + i * slot, m_y + k * lh, w, lh), lines.at(i).at(k), f.pointSize,
                     f.bold, f.alignment);
        }
        m_y += most * lh + (body ? 0 : fieldGap);
    }

    // ---------------------------------------------------------------- table
    QList<double> columnWidths(const ComputedTable &t)
    {
        const int n = int(t.columns.size());
        QList<double> widths(n, 0.0);
        double fixed = 0, relative = 0;
        for (int c = 0; c < n; ++c) {
            const ComputedColumn &col = t.columns.at(c);
            if (col.width > 0) {
                relative += col.width;
                continue;
            }
            // Fit the content: the caption, the unit, every single-column cell.
            double w = std::max(m_metrics.width(col.caption, m_tablePt, true),
                                m_metrics.width(col.unit, m_tablePt, false));
            const auto consider = [&](const QList<ComputedRow> &rows, bool bold) {
                for (const ComputedRow &r : rows) {
                    int at = 0;
                    for (const ComputedCell &cell : r.cells) {
                        if (at == c && cell.span == 1)
                            w = std::max(w, m_metrics.width(cell.text, m_tablePt, bold));
                        at += cell.span;
                    }
                }
            };
            consider(t.rows, false);
            consider(t.summary, true);
            widths[c] = std::min(w + 2 * cellPadX + 1, m_content.width() / 3);
            fixed += widths[c];
        }
        const double rest = std::max(0.0, m_content.width() - fixed);
        for (int c = 0; c < n; ++c)
            if (t.columns.at(c).width > 0)
                widths[c] = rest * t.columns.at(c).width / relative;
        if (relative == 0 && fixed > 0) // only fitted columns: stretch them to the full width
            for (double &w : widths)
                w *= m_content.width() / fixed;
        return widths;
    }

    PreparedRow prepare(const ComputedRow &row, const QList<double> &x, bool summary)
    {
        PreparedRow p;
        p.summary = summary;
        const double lh = m_metrics.lineHeight(m_tablePt, summary);
        int at = 0, most = 1;
        for (const ComputedCell &cell : row.cells) {
            const int end = std::min<int>(at + cell.span, int(x.size()) - 1);
            PreparedCell pc;
            pc.x = x.at(at);
            pc.width = x.at(end) - x.at(at);
            pc.alignment = cell.alignment;
            pc.bold = summary;
            pc.lines = m_metrics.lines(cell.text, m_tablePt, summary, pc.width - 2 * cellPadX);
            most = std::max<int>(most, int(pc.lines.size()));
            p.cells.append(pc);
            at = end;
        }
        p.height = most * lh + 2 * cellPadY;
        return p;
    }

    void placeRow(const PreparedRow &row)
    {
        const double lh = m_metrics.lineHeight(m_tablePt, row.summary);
        for (const PreparedCell &c : row.cells) {
            double top = m_y + (row.height - c.lines.size() * lh) / 2;
            for (const QString &l : c.lines) {
                text(QRectF(c.x + cellPadX, top, c.width - 2 * cellPadX, lh), l, m_tablePt, c.bold, c.alignment);
                top += lh;
            }
        }
        m_segmentRows.append({m_y, row.height, row.summary, {}});
        for (int i = 1; i < row.cells.size(); ++i)
            m_segmentRows.last().innerEdges.append(row.cells.at(i).x);
        m_y += row.height;
    }

    void placeHead(const ComputedTable &t, const QList<double> &x, double height)
    {
        m_segmentTop = m_y;
        fill(QRectF(x.first(), m_y, x.last() - x.first(), height), headFill);
        const double lhCaption = m_metrics.lineHeight(m_tablePt, true);
        const double lhUnit = m_metrics.lineHeight(m_tablePt, false);
        for (int c = 0; c < t.columns.size(); ++c) {
            const double w = x.at(c + 1) - x.at(c) - 2 * cellPadX;
            const QStringList caption = m_metrics.lines(t.columns.at(c).caption, m_tablePt, true, w);
            const QStringList unit = t.columns.at(c).unit.isEmpty()
                                         ? QStringList()
                                         : m_metrics.lines(t.columns.at(c).unit, m_tablePt, false, w);
            double top = m_y + (height - caption.size() * lhCaption - unit.size() * lhUnit) / 2;
            for (const QString &l : caption) {
                text(QRectF(x.at(c) + cellPadX, top, w, lhCaption), l, m_tablePt, true, Qt::AlignHCenter);
                top += lhCaption;
            }
            for (const QString &l : unit) {
                text(QRectF(x.at(c) + cellPadX, top, w, lhUnit), l, m_tablePt, false, Qt::AlignHCenter);
                top += lhUnit;
            }
        }
        m_segmentRows.clear();
        m_segmentRows.append({m_y, height, false, x.mid(1, x.size() - 2)});
        m_y += height;
    }

    double headHeight(const ComputedTable &t, const QList<double> &x)
    {
        double most = 0;
        for (int c = 0; c < t.columns.size(); ++c) {
            const double w = x.at(c + 1) - x.at(c) - 2 * cellPadX;
            double h = m_metrics.lines(t.columns.at(c).caption, m_tablePt, true, w).size()
                       * m_metrics.lineHeight(m_tablePt, true);
            if (!t.columns.at(c).unit.isEmpty())
                h += m_metrics.lines(t.columns.at(c).unit, m_tablePt, false, w).size()
                     * m_metrics.lineHeight(m_tablePt, false);
            most = std::max(most, h);
        }
        return most + 2 * cellPadY;
    }

    // Rules of the part of the table on this page: a frame, a rule under
    // every row, a heavier one above the summary, and the column rules of
    // each row (a summary label spanning columns has none inside it).
    void closeSegment(double left, double right)
    {
        if (m_segmentRows.isEmpty())
            return;
        const double bottom = m_segmentRows.last().top + m_segmentRows.last().height;
        bool summarySeen = false;
        for (int i = 0; i < m_segmentRows.size(); ++i) {
            const SegmentRow &r = m_segmentRows.at(i);
            const double rowBottom = r.top + r.height;
            if (r.summary && !summarySeen && i > 0)
                line(QLineF(left, r.top, right, r.top), outerRule);
            summarySeen = summarySeen || r.summary;
            if (i + 1 < m_segmentRows.size())
                line(QLineF(left, rowBottom, right, rowBottom), innerRule);
            for (double e : r.innerEdges)
                line(QLineF(e, r.top, e, rowBottom), innerRule);
        }
        line(QLineF(left, m_segmentTop, right, m_segmentTop), outerRule);
        line(QLineF(left, bottom, right, bottom), outerRule);
        line(QLineF(left, m_segmentTop, left, bottom), outerRule);
        line(QLineF(right, m_segmentTop, right, bottom), outerRule);
        m_segmentRows.clear();
    }

    void placeTable(const ComputedTable &t)
    {
        if (t.columns.isEmpty())
            return;
        m_tablePt = t.pointSize;
        const QList<double> widths = columnWidths(t);
        QList<double> x{m_content.left()};
        for (double w : widths)
            x.append(x.last() + w);
        const double left = x.first(), right = x.last();
        const double head = headHeight(t, x);

        QList<PreparedRow> rows, summary;
        for (const ComputedRow &r : t.rows)
            rows.append(prepare(r, x, false));
        for (const ComputedRow &r : t.summary)
            summary.append(prepare(r, x, true));

        beginBlock(head + (rows.isEmpty() ? 0 : rows.first().height));
        placeHead(t, x, head);
        int rowsOnPage = 0;
        const auto breakPage = [&] {
            closeSegment(left, right);
            newPage();
            m_pageHasBody = true;
            placeHead(t, x, head);
            rowsOnPage = 0;
        };
        for (const PreparedRow &r : rows) {
            if (m_y + r.height > m_bottom && rowsOnPage > 0)
                breakPage();
            placeRow(r);
            ++rowsOnPage;
        }
        // The summary stays together, below at least the heads.
        double summaryHeight = 0;
        for (const PreparedRow &r : summary)
            summaryHeight += r.height;
        if (!summary.isEmpty() && m_y + summaryHeight > m_bottom && rowsOnPage > 0)
            breakPage();
        for (const PreparedRow &r : summary) {
            if (m_y + r.height > m_bottom && rowsOnPage > 0)
                breakPage();
            placeRow(r);
            ++rowsOnPage;
        }
        closeSegment(left, right);
    }

    // -------------------------------------------------------------- footers
    void placeFooters()
    {
        const int count = int(m_pages.size());
        for (int p = 0; p < count; ++p) {
            double y = m_content.bottom() - m_footerHeight;
            m_currentFooterPage = p;
            for (const ReportText &t : m_report.pageFooters) {
                const double lh = m_metrics.lineHeight(t.pointSize, t.bold);
                for (const QString &l : m_metrics.lines(t.text, t.pointSize, t.bold, m_content.width())) {
                    footerText(QRectF(m_content.left(), y, m_content.width(), lh), l, t.pointSize, t.alignment);
                    y += lh;
                }
            }
            if (m_report.pageNumbers) {
                const double lh = m_metrics.lineHeight(9, false);
                footerText(QRectF(m_content.left(), y, m_content.width(), lh), pageNumberText(p + 1, count), 9,
                           Qt::AlignHCenter);
            }
        }
    }

    void footerText(const QRectF &rect, const QString &s, double pt, Qt::Alignment alignment)
    {
        PageItem item;
        item.kind = PageItem::Kind::Text;
        item.rect = rect;
        item.text = s;
        item.pointSize = pt;
        item.alignment = (alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
        m_pages[m_currentFooterPage].items.append(item);
    }

    struct SegmentRow {
        double top;
        double height;
        bool summary;
        QList<double> innerEdges;
    };

    const ComputedReport &m_report;
    QList<ReportPage> &m_pages;
    Metrics m_metrics;
    QRectF m_content;
    double m_bottom = 0;
    double m_footerHeight = 0;
    double m_y = 0;
    bool m_pageHasBody = false;
    double m_segmentTop = 0;
    QList<SegmentRow> m_segmentRows;
    int m_currentFooterPage = 0;
    double m_tablePt = 10.5;
};

} // namespace

QStringList ReportPage::texts() const
{
    QStringList out;
    for (const PageItem &i : items)
        if (i.kind == PageItem::Kind::Text)
            out << i.text;
    return out;
}

ReportRenderer::ReportRenderer(const ReportDocument &document) : ReportRenderer(document.compute()) {}

ReportRenderer::ReportRenderer(const ComputedReport &report) : m_report(report)
{
    m_paper = QSizeF(mm(report.page.paperMm.width()), mm(report.page.paperMm.height()));
    layOut();
}

void ReportRenderer::layOut()
{
    m_pages.clear();
    Builder(m_report, m_pages, m_paper).run();
}

QStringList ReportRenderer::fontFamilies()
{
    return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
}

QFont ReportRenderer::font(double pointSize, bool bold)
{
    QFont f;
    f.setFamilies(fontFamilies());
    f.setPixelSize(std::max(1, int(std::lround(pointSize * unitsPerInch / 72))));
    f.setBold(bold);
    // Hinting would make widths depend on the device; layout and painting
    // must measure alike.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void ReportRenderer::paintPage(QPainter &painter, int index, const QRectF &target) const
{
    if (index < 0 || index >= m_pages.size())
        return;
    const double scale = std::min(target.width() / m_paper.width(), target.height() / m_paper.height());
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QHash<QString, QFont> fonts;
    for (const PageItem &item : m_pages.at(index).items) {
        switch (item.kind) {
        case PageItem::Kind::Fill:
            painter.fillRect(item.rect, item.color);
            break;
        case PageItem::Kind::Line: {
            // Never thinner than one device pixel, or rules vanish on screen.
            QPen pen(item.color, std::max(item.penWidth, 1.0 / scale));
            pen.setCapStyle(Qt::SquareCap);
            painter.setPen(pen);
            painter.drawLine(item.line);
            break;
        }
        case PageItem::Kind::Text: {
            const QString key = QString::number(item.pointSize) + (item.bold ? u'b' : u'r');
            auto it = fonts.find(key);
            if (it == fonts.end())
                it = fonts.insert(key, font(item.pointSize, item.bold));
            painter.setFont(*it);
            painter.setPen(item.color);
            painter.drawText(item.rect, int(item.alignment) | Qt::TextSingleLine | Qt::TextDontClip, item.text);
            break;
        }
        }
    }
    painter.restore();
}

bool ReportRenderer::paint(QPagedPaintDevice &device, int first, int last) const
{
    if (last < 0 || last >= pageCount())
        last = pageCount() - 1;
    first = std::max(0, first);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF target(0, 0, device.width(), device.height());
    for (int i = first; i <= last; ++i) {
        if (i > first)
            device.newPage();
        paintPage(painter, i, target);
    }
    return painter.end();
}

QImage ReportRenderer::pageImage(int index, double dpi) const
{
    const QSize size(int(std::lround(m_paper.width() * dpi / unitsPerInch)),
                     int(std::lround(m_paper.height() * dpi / unitsPerInch)));
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, index, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace fm
