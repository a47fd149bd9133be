#pragma once

#include "BandedReport.h"

#include <QList>
#include <QStringList>

// The kinds of layout the system prints. Each printed layout is one of these
// with a description of what it shows; the classes named after the layouts
// only fill in the description and name their labels and queries.

// The line under the title of lists and sheets: a date range, who made it, today.
struct HeaderDescription {
    QString rangeCaption = QStringLiteral("日期范围：");
    QString rangeFrom = QStringLiteral("QRLabel16"); // placeholder names
    QString rangeTo = QStringLiteral("QRLabel17");
    QString makerCaption = QStringLiteral("操作员：");
    QString makerLabel = QStringLiteral("QRLabel19");
    QString dateCaption = QStringLiteral("日期：");
};

// Starts a title band: the title (label QRLabel1, so a window can change it),
// the rule under it and the header line. Returns the header's bottom in mm.
double addTitleAndHeader(BandedReport &report, const QString &title,
                         const HeaderDescription *header);

struct ListColumn {
    QString heading;
    QString field;
    Qt::Alignment align = Qt::AlignLeft;
    Fmt::Reals reals = Fmt::Reals::Amounts;
};

// A ruled table: headings boxed on the first page, one boxed row per record.
struct ListDescription {
    QString title;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double titleHeight = 24.1;
    HeaderDescription header;
    double left = 0, right = 190; // the table's box
    QList<double> dividers;
    QList<ListColumn> columns;
    double detailHeight = 8.5;
    double rowHeight = 8.5; // the boxed row at the top of the detail band
    QString query, sql;
    Rpt::Font dataFont = BandedReport::song(9);
    Rpt::Font headingFont = BandedReport::hei(10);
};

// A prepayment statement of the provider or the customer ledger.
ListDescription prepaymentStatement(const QString &title, const QString &nameHeading,
                                    const QString &nameField, const QString &amountField,
                                    const QString &query, const QString &sql);

class ListReport : public BandedReport {
    Q_OBJECT
public:
    ListReport(const ListDescription &description, QObject *owner);
};

// A sales or purchase contract: the parties, the lines, the total.
struct ContractDescription {
    QString title;
    QString masterQuery, masterSql, linesQuery, linesSql;
    QString firstCaption;   // the partner of the contract
    QString firstNameField; // custname or provname
    QString secondCaption;  // the own company
    QString totalCaption;
    double totalPointSize = 11;
    double detailPointSize = 9;
};

class ContractReport : public BandedReport {
    Q_OBJECT
public:
    ContractReport(const ContractDescription &description, QObject *owner);
};

// A one-car stock slip: the first row of its query in one title band.
struct SlipDescription {
    QString title, query, sql;
    QString numberCaption, numberField;
    QStringList headings, headingFields;
    // caption, field, caption, field per row of the car block
    QList<QStringList> block;
    double signatureY = 107.7;
    Rpt::Font dataFont = BandedReport::song(10);
};

// The car block of both slips: five rows of the car's particulars, then the
// stock date and the price.
QList<QStringList> carBlock(const QString &dateCaption, const QString &dateField,
                            const QString &priceCaption);

class SlipReport : public BandedReport {
    Q_OBJECT
public:
    SlipReport(const SlipDescription &description, QObject *owner);
};
