#include "BandedReport.h"
#include "Clock.h"
#include "CodeFields.h"
#include "Errors.h"
#include "Fonts.h"
#include "Guard.h"
#include "Format.h"
#include "Money.h"
#include "ReportPrinter.h"

#include <QWidget>
#include <cmath>
#include <QHash>
#include <optional>

namespace {

constexpr double MmPerPoint = 25.4 / 72.0;

double textHeight(const Rpt::Font &f) { return f.pointSize * MmPerPoint * 1.5; }

// A plain decimal of up to 15 significant digits: no exponent, no trailing zeros.
QString plainNumber(double v)
{
    const double magnitude = std::fabs(v);
    const int intDigits = magnitude < 1 ? 1 : int(std::floor(std::log10(magnitude))) + 1;
    QString s = QString::number(v, 'f', qMax(0, 15 - intDigits));
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

// A field of a data set, named with or without its table, found without
// regard to case; an empty string when the data set does not have it.
QString resolveField(const DataSet *data, const QString &field)
{
    if (!data || !data->isActive())
        return {};
    if (data->hasField(field))
        return field;
    const int dot = field.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && data->hasField(field.mid(dot + 1)))
        return field.mid(dot + 1);
    return {};
}

QVariant fieldValue(const DataSet *data, const QString &field, int row)
{
    const QString name = resolveField(data, field);
    if (name.isEmpty())
        return {};
    return row >= 0 ? data->valueAt(row, name) : data->value(name);
}

struct Totals {
    int rows = 0;
    // One running sum per sum element, keyed by the element's address.
    QHash<const Band::Element *, std::optional<Money>> sums;
};

class Layouter {
public:
    Layouter(BandedReport &report, Rpt::Document &doc) : m_report(report), m_doc(doc)
    {
        m_doc.pages.append(Rpt::Page());
        m_y = doc.setup.top;
    }

    void place(const Band &band, int row)
    {
        const double bottom = m_doc.setup.paperHeight() - m_doc.setup.bottom;
        if (m_y + band.height > bottom + 1e-9 && m_y > m_doc.setup.top)
            newPage();
        for (const auto &e : band.elements)
            emitElement(e, row);
        m_y += band.height;
    }

    void accumulate(const Band &band, int row)
    {
        for (const auto &e : band.elements) {
            if (e.kind != Band::Element::Sum)
                continue;
            auto &sum = m_totals.sums[&e];
            bool allPresent = !e.factors.isEmpty();
            double product = 1;
            for (const QString &f : e.factors) {
                const QVariant v = fieldValue(e.data, f, row);
                if (v.isNull()) {
                    allPresent = false;
                    break;
                }
                product *= v.toDouble();
            }
            if (allPresent) // a null term is left out, as SQL's sum does
                sum = sum.value_or(Money()) + Money::fromDouble(product);
        }
    }

    Totals m_totals;

private:
    void newPage()
    {
        m_doc.pages.append(Rpt::Page());
        m_y = m_doc.setup.top;
    }

    void emitElement(const Band::Element &e, int row)
    {
        Rpt::PageItem item;
        item.rect = e.box.translated(m_doc.setup.left, m_y);
        item.font = e.font;
        item.align = e.align;
        switch (e.kind) {
        case Band::Element::Fixed: item.text = e.text; break;
        case Band::Element::Label:
            item.text = e.label ? e.label->caption() : QString();
            item.source = e.label ? e.label->objectName() : QString();
            break;
        case Band::Element::Field: {
            const QVariant value = fieldValue(e.data, e.field, e.data == m_report.drivingData ? row : -1);
            item.text = Fmt::display(value, Fmt::StoredDates::DateAlone, e.reals);
            item.source = e.field;
            // An amount or a count is a number too.
            item.shrinkToFit = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Int
                || value.typeId() == QMetaType::LongLong;
            break;
        }
        case Band::Element::Sum: {
            const auto sum = m_totals.sums.value(&e);
            if (sum)
                item.text = e.divisor == 1 ? sum->toString() : plainNumber(sum->toDouble() / e.divisor);
            item.source = QStringLiteral("sum(%1)").arg(e.factors.join(QLatin1Char('*')));
            if (e.divisor != 1)
                item.source += QLatin1Char('/') + plainNumber(e.divisor);
            break;
        }
        case Band::Element::Count:
            item.text = QString::number(m_totals.rows);
            item.source = QStringLiteral("count");
            break;
        case Band::Element::Date:
            item.text = Fmt::date(Clock::today());
            item.source = QStringLiteral("date");
            break;
        case Band::Element::Rule: item.kind = Rpt::PageItem::Line; break;
        case Band::Element::Box: item.kind = Rpt::PageItem::Box; break;
        }
        item.shrinkToFit = item.shrinkToFit || e.shrinkToFit;
        if (item.kind == Rpt::PageItem::Text && item.shrinkToFit)
            shrinkToFit(item);
        m_doc.pages.last().items.append(item);
    }

    // A number or code too wide for its box is printed smaller, never cut.
    static void shrinkToFit(Rpt::PageItem &item)
    {
        const double width = Rpt::textWidth(item.text, item.font);
        if (width > item.rect.width())
            item.font.pointSize = std::floor(item.font.pointSize * item.rect.width() / width * 100) / 100;
    }

    BandedReport &m_report;
    Rpt::Document &m_doc;
    double m_y = 0;
};

} // namespace

QRLabel::QRLabel(const QString &name, const QString &caption, QObject *parent)
    : QObject(parent), m_caption(caption)
{
    setObjectName(name);
}

// ---------------------------------------------------------------- Band

static Band::Element element(Band::Element::Kind kind, const Rpt::Font &font = {},
                             Qt::Alignment align = Qt::AlignLeft)
{
    Band::Element e;
    e.kind = kind;
    e.font = font;
    e.align = align | Qt::AlignVCenter;
    return e;
}


Band &Band::add(Element e, double x, double y, double w, double h)
{
    e.box = QRectF(x, y, w, h);
    elements.append(e);
    return *this;
}

Band &Band::text(double x, double y, const QString &text, const Rpt::Font &font, double w,
                 Qt::Alignment align)
{
    Element e = element(Element::Fixed, font, align);
    e.text = text;
    if (w <= 0)
        w = Rpt::textWidth(text, font) + 1;
    return add(e, x, y, w, textHeight(font));
}

Band &Band::label(double x, double y, double w, QRLabel *label, const Rpt::Font &font,
                  Qt::Alignment align)
{
    Element e = element(Element::Label, font, align);
    e.label = label;
    return add(e, x, y, w, textHeight(font));
}

Band &Band::field(double x, double y, double w, DataSet *data, const QString &field,
                  const Rpt::Font &font, Qt::Alignment align)
{
    Element e = element(Element::Field, font, align);
    e.data = data;
    e.field = field;
    e.shrinkToFit = CodeFields::length(field) > 0;
    return add(e, x, y, w, textHeight(font));
}

Band &Band::sum(double x, double y, double w, DataSet *data, const QStringList &factors,
                double divisor, const Rpt::Font &font, Qt::Alignment align)
{
    Element e = element(Element::Sum, font, align);
    e.data = data;
    e.factors = factors;
    e.divisor = divisor;
    return add(e, x, y, w, textHeight(font)).shrinkToFit();
}

Band &Band::count(double x, double y, double w, const Rpt::Font &font, Qt::Alignment align)
{
    return add(element(Element::Count, font, align), x, y, w, textHeight(font)).shrinkToFit();
}

Band &Band::date(double x, double y, double w, const Rpt::Font &font)
{
    return add(element(Element::Date, font), x, y, w, textHeight(font)).shrinkToFit();
}

Band &Band::shrinkToFit()
{
    if (!elements.isEmpty())
        elements.last().shrinkToFit = true;
    return *this;
}

Band &Band::realsAsGiven()
{
    if (!elements.isEmpty())
        elements.last().reals = Fmt::Reals::AsGiven;
    return *this;
}

Band &Band::hline(double x, double y, double w) { return add(element(Element::Rule), x, y, w, 0); }
Band &Band::vline(double x, double y, double h) { return add(element(Element::Rule), x, y, 0, h); }
Band &Band::rect(double x, double y, double w, double h)
{
    return add(element(Element::Box), x, y, w, h);
}

Band &Band::ruledRow(double y, double h, double left, double right, const QList<double> &dividers)
{
    rect(left, y, right - left, h);
    for (double d : dividers)
        vline(d, y, h);
    return *this;
}

Band &Band::cellTexts(double y, double h, double left, double right,
                      const QList<double> &dividers, const QStringList &texts,
                      const Rpt::Font &font)
{
    QList<double> edges{left};
    edges += dividers;
    edges << right;
    for (int i = 0; i < texts.size() && i + 1 < edges.size(); ++i) {
        text(edges[i] + 0.5, y + (h - textHeight(font)) / 2, texts[i], font,
             edges[i + 1] - edges[i] - 1, Qt::AlignHCenter);
    }
    return *this;
}

// ---------------------------------------------------------------- BandedReport

// A report laid out without the program's start-up (a tool, a test) still
// finds its fonts.
BandedReport::BandedReport(QObject *owner) : QObject(owner) { Fonts::installSubstitutes(); }

Rpt::Font BandedReport::hei(double pt, bool bold) { return {QStringLiteral("黑体"), pt, bold}; }
Rpt::Font BandedReport::song(double pt, bool bold) { return {QStringLiteral("宋体"), pt, bold}; }
Rpt::Font BandedReport::arial(double pt, bool bold) { return {QStringLiteral("Arial"), pt, bold}; }

QRLabel *BandedReport::addLabel(const QString &name, const QString &caption)
{
    return new QRLabel(name, caption, this);
}

DataSet *BandedReport::addQuery(const QString &name, const QString &sql)
{
    auto *q = new DataSet(this);
    q->setObjectName(name);
    if (!sql.isEmpty())
        q->setSql(sql);
    return q;
}

QRLabel *BandedReport::findLabel(const QString &name) const
{
    return findChild<QRLabel *>(name, Qt::FindDirectChildrenOnly);
}

DataSet *BandedReport::findQuery(const QString &name) const
{
    return findChild<DataSet *>(name, Qt::FindDirectChildrenOnly);
}

void BandedReport::openQueries()
{
    for (DataSet *q : findChildren<DataSet *>(Qt::FindDirectChildrenOnly))
        if (!q->isActive() && !q->sql().trimmed().isEmpty())
            q->open();
}

Rpt::Document BandedReport::layOut()
{
    openQueries();
    Rpt::Document doc;
    doc.title = titleLabel ? titleLabel->caption() : objectName();
    doc.setup = page;
    Layouter out(*this, doc);
    out.place(titleBand, -1);
    if (drivingData && drivingData->isActive()) {
        for (int row = 0; row < drivingData->recordCount(); ++row) {
            out.accumulate(summaryBand, row);
            ++out.m_totals.rows;
            out.place(detailBand, row);
        }
    }
    if (!summaryBand.isEmpty())
        out.place(summaryBand, -1);
    return doc;
}

void BandedReport::Print()
{
    const Rpt::Document doc = layOut();
    ReportPrinter::current()->print(doc, qobject_cast<QWidget *>(parent()));
}

void BandedReport::printOrShowError()
{
    guard([this] { Print(); }, qobject_cast<QWidget *>(parent()));
}
