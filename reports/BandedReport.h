#pragma once

#include "DataSet.h"
#include "Format.h"
#include "ReportPages.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

// A label whose text the printing window sets. Until it is set it prints
// nothing (its name is never printed).
class QRLabel : public QObject {
    Q_OBJECT
public:
    QRLabel(const QString &name, const QString &caption, QObject *parent);
    void setCaption(const QString &text) { m_caption = text; }
    const QString &caption() const { return m_caption; }

private:
    QString m_caption;
};

// One band of a layout: its height and what stands on it, positioned in mm
// from the band's top-left corner (x from the left margin).
class Band {
public:
    struct Element {
        enum Kind { Fixed, Label, Field, Sum, Count, Date, Rule, Box };
        Kind kind = Fixed;
        QRectF box;
        QString text;             // Fixed
        QPointer<QRLabel> label;  // Label
        QPointer<DataSet> data;   // Field, Sum
        QString field;            // Field
        QStringList factors;      // Sum: the product of these fields, summed
        double divisor = 1;       // Sum: the sum divided by this
        Rpt::Font font;
        Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
        // Its text is made smaller rather than cut (numbers and codes).
        bool shrinkToFit = false;
        Fmt::Reals reals = Fmt::Reals::Amounts; // Field: how its real numbers print
    };

    double height = 0;
    QList<Element> elements;

    bool isEmpty() const { return elements.isEmpty() && height <= 0; }

    // A width of 0 sizes a fixed text to its characters in its font.
    Band &text(double x, double y, const QString &text, const Rpt::Font &font, double w = 0,
               Qt::Alignment align = Qt::AlignLeft);
    Band &label(double x, double y, double w, QRLabel *label, const Rpt::Font &font,
                Qt::Alignment align = Qt::AlignLeft);
    // A field that holds codes or numbers, and any number it holds, shrinks
    // to fit; free text is cut at the box.
    Band &field(double x, double y, double w, DataSet *data, const QString &field,
                const Rpt::Font &font, Qt::Alignment align = Qt::AlignLeft);
    // sum(f1*f2*...)/divisor over the detail rows printed so far. Sums,
    // counts and dates shrink to fit.
    Band &sum(double x, double y, double w, DataSet *data, const QStringList &factors,
              double divisor, const Rpt::Font &font, Qt::Alignment align = Qt::AlignLeft);
    Band &count(double x, double y, double w, const Rpt::Font &font,
                Qt::Alignment align = Qt::AlignLeft);
    Band &date(double x, double y, double w, const Rpt::Font &font);
    Band &hline(double x, double y, double w);
    Band &vline(double x, double y, double h);
    Band &rect(double x, double y, double w, double h);
    // The element added last shrinks its text to fit (a label for a number).
    Band &shrinkToFit();
    // The field added last prints its real numbers as the database gives
    // them (a quotient is no amount).
    Band &realsAsGiven();
    // A boxed row from left to right with vertical dividers at the given x.
    Band &ruledRow(double y, double h, double left, double right, const QList<double> &dividers);
    // Centred texts in the cells of a ruled row.
    Band &cellTexts(double y, double h, double left, double right, const QList<double> &dividers,
                    const QStringList &texts, const Rpt::Font &font);

private:
    Band &add(Element e, double x, double y, double w, double h);
};

// A banded report: page set-up, a title band printed once at the top of the
// first page, a detail band per row of the driving data set, a summary band
// after the last row. Its queries belong to it and run on the one connection.
class BandedReport : public QObject {
    Q_OBJECT
public:
    explicit BandedReport(QObject *owner = nullptr);

    Rpt::PageSetup page;
    Band titleBand;
    Band detailBand;
    Band summaryBand;
    DataSet *drivingData = nullptr; // none: the title band prints once
    QRLabel *titleLabel = nullptr;  // its caption names the printed file

    QRLabel *findLabel(const QString &name) const;
    DataSet *findQuery(const QString &name) const;

    // Opens every query that has a statement and is not open yet; a failure
    // throws DbError and nothing is laid out.
    void openQueries();
    // Lays the report out into pages (after opening its queries).
    Rpt::Document layOut();
    // Prints through the printer seam; a failure throws AppError and it is up
    // to the caller whether to show it.
    void Print();
    // Prints, and a failure shows its message in the error box once: what the
    // caller saved before stays saved, and it goes on as after a print.
    void printOrShowError();

    static Rpt::Font hei(double pt, bool bold = false);
    static Rpt::Font song(double pt, bool bold = false);
    static Rpt::Font arial(double pt, bool bold = false);

    // Used while a layout is built.
    QRLabel *addLabel(const QString &name, const QString &caption = {});
    DataSet *addQuery(const QString &name, const QString &sql = {});
};
