#pragma once
// The one renderer of printed documents. It lays a computed document out on
// pages once (rows per page follow from the font metrics), then paints any
// page onto any paint device: the preview, a printer, a PDF writer, an image.
//
// Layout works in units of 1/720 inch whatever the device; painting scales.

#include "reports/computedreport.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;
class QPagedPaintDevice;

namespace fm {

// One thing drawn on a page, in layout units.
struct PageItem {
    enum class Kind { Text, Line, Fill };
    Kind kind = Kind::Text;
    QRectF rect;      // text box or filled area
    QLineF line;
    QString text;     // one line of text, never wrapped when painted
    double pointSize = 10.5;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    double penWidth = 0; // lines
    QColor color = Qt::black;
};

struct ReportPage {
    QList<PageItem> items;
    QStringList texts() const; // the page's texts in drawing order
};

class ReportRenderer {
public:
    static constexpr double unitsPerInch = 720;
    static double mm(double millimetres) { return millimetres * unitsPerInch / 25.4; }

    explicit ReportRenderer(const ReportDocument &document);
    explicit ReportRenderer(const ComputedReport &report);

    const ComputedReport &report() const { return m_report; }
    int pageCount() const { return int(m_pages.size()); }
    const ReportPage &page(int index) const { return m_pages.at(index); }
    QSizeF paperSize() const { return m_paper; } // layout units

    // Paints page `index` so that the paper fills `target` (device
    // coordinates), keeping its proportions.
    void paintPage(QPainter &painter, int index, const QRectF &target) const;
    // Paints pages first..last (0-based; -1 = to the end) onto a printer or
    // PDF writer, one device page each. The device's page layout should be
    // this document's (PageSetup::pageLayout()) with the full page
    // paintable. False when the device cannot be painted on.
    bool paint(QPagedPaintDevice &device, int first = 0, int last = -1) const;
    // A page as an image at the given resolution (white paper).
    QImage pageImage(int index, double dpi) const;

    // The font documents print with, sized in layout units. Families are
    // pinned so that Chinese never falls back to Japanese glyph forms.
    static QFont font(double pointSize, bool bold = false);
    static QStringList fontFamilies();

private:
    void layOut();
    ComputedReport m_report;
    QSizeF m_paper;
    QList<ReportPage> m_pages;
};

} // namespace fm
