#pragma once

#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>

// A report laid out into pages of positioned items, in millimetres from the
// top-left corner of the sheet. This is what gets painted, and what tests read.
namespace Rpt {

struct Font {
    QString family = QStringLiteral("宋体");
    double pointSize = 10;
    bool bold = false;
};

// The font that paints it (the family through its stand-ins).
QFont toQFont(const Font &font);

// The width of a text in the font, in mm.
double textWidth(const QString &text, const Font &font);

struct PageItem {
    enum Kind { Text, Line, Box };
    Kind kind = Text;
    QRectF rect;  // a line has zero width or zero height
    QString text; // the text, clipped to rect when painted
    Font font;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    QString source; // the field, label name or expression that gave the text
    // A number or code is never cut: its font is made smaller until the whole
    // text fits its rect (when laid out, and again on the device it is painted on).
    bool shrinkToFit = false;
};

struct Page {
    QList<PageItem> items;
    QStringList texts() const;
};

struct PageSetup {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double left = 10, top = 10, right = 10, bottom = 10; // margins in mm

    double paperWidth() const { return orientation == QPageLayout::Portrait ? 210 : 297; }
    double paperHeight() const { return orientation == QPageLayout::Portrait ? 297 : 210; }
    double printableWidth() const { return paperWidth() - left - right; }
};

struct Document {
    QString title; // names the PDF file when there is no printer
    PageSetup setup;
    QList<Page> pages;
};

} // namespace Rpt
