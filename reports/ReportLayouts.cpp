#include "ReportLayouts.h"

namespace {

constexpr double HeadingRowHeight = 8.7;

double lastRight(const Band &band) { return band.elements.last().box.right(); }

// The cells' edges of a ruled row.
QList<double> edges(double left, double right, const QList<double> &dividers)
{
    QList<double> e{left};
    e += dividers;
    e << right;
    return e;
}

// A data text inside a cell, clear of the rules on both sides.
void cellField(Band &band, double x0, double x1, double y, double h, DataSet *data,
               const QString &field, const Rpt::Font &font, Qt::Alignment align = Qt::AlignLeft)
{
    const double th = font.pointSize * 25.4 / 72.0 * 1.5;
    band.field(x0 + 0.8, y + (h - th) / 2, x1 - x0 - 1.6, data, field, font, align);
}

} // namespace

double addTitleAndHeader(BandedReport &report, const QString &title,
                         const HeaderDescription *header)
{
    const double width = report.page.printableWidth();
    Band &b = report.titleBand;
    report.titleLabel = report.addLabel(QStringLiteral("QRLabel1"), title);
    b.label(0, 0.5, width, report.titleLabel, BandedReport::hei(16), Qt::AlignHCenter);
    b.hline(0, 9.3, width);
    if (!header)
        return 9.3;
    const auto caption = BandedReport::hei(10);
    const auto value = BandedReport::song(10);
    const double y = 10;
    b.text(2, y, header->rangeCaption, caption);
    b.label(lastRight(b), y, 24, report.addLabel(header->rangeFrom), value).shrinkToFit();
    b.text(lastRight(b) + 1, y, QStringLiteral("至："), caption);
    b.label(lastRight(b), y, 24, report.addLabel(header->rangeTo), value).shrinkToFit();
    b.text(width - 100, y, header->makerCaption, caption);
    b.label(lastRight(b), y, 30, report.addLabel(header->makerLabel), value);
    b.text(width - 50, y, header->dateCaption, caption);
    b.date(lastRight(b), y, 28, value);
    return y + 5.3;
}

// ---------------------------------------------------------------- lists

ListReport::ListReport(const ListDescription &d, QObject *owner) : BandedReport(owner)
{
    page.orientation = d.orientation;
    if (d.orientation == QPageLayout::Landscape)
        page.left = page.right = 6;
    addTitleAndHeader(*this, d.title, &d.header);

    drivingData = addQuery(d.query, d.sql);
    QStringList headings;
    for (const auto &c : d.columns)
        headings << c.heading;
    titleBand.height = d.titleHeight;
    const double hy = d.titleHeight - HeadingRowHeight;
    titleBand.ruledRow(hy, HeadingRowHeight, d.left, d.right, d.dividers)
        .cellTexts(hy, HeadingRowHeight, d.left, d.right, d.dividers, headings, d.headingFont);

    detailBand.height = d.detailHeight;
    detailBand.ruledRow(0, d.rowHeight, d.left, d.right, d.dividers);
    const auto e = edges(d.left, d.right, d.dividers);
    for (int i = 0; i < d.columns.size() && i + 1 < e.size(); ++i) {
        cellField(detailBand, e[i], e[i + 1], 0, d.rowHeight, drivingData, d.columns[i].field,
                  d.dataFont, d.columns[i].align);
        if (d.columns[i].reals == Fmt::Reals::AsGiven)
            detailBand.realsAsGiven();
    }
}

ListDescription prepaymentStatement(const QString &title, const QString &nameHeading,
                                    const QString &nameField, const QString &amountField,
                                    const QString &query, const QString &sql)
{
    ListDescription d;
    d.title = title;
    d.titleHeight = 26.2;
    d.dividers = {29.8, 46.8, 67.8, 98.8, 122.2, 141.2, 155.9};
    d.columns = {
        {nameHeading, nameField},
        {QStringLiteral("帐目类型"), QStringLiteral("type")},
        {QStringLiteral("凭证号"), QStringLiteral("pzhh")},
        {QStringLiteral("发票号"), QStringLiteral("invoice_no")},
        {QStringLiteral("支付金额"), amountField},
        {QStringLiteral("付款日期"), QStringLiteral("date1")},
        {QStringLiteral("经办人"), QStringLiteral("recorder")},
        {QStringLiteral("备注"), QStringLiteral("remarks")},
    };
    d.query = query;
    d.sql = sql;
    return d;
}

// ---------------------------------------------------------------- contracts

ContractReport::ContractReport(const ContractDescription &d, QObject *owner) : BandedReport(owner)
{
    DataSet *master = addQuery(d.masterQuery, d.masterSql);
    drivingData = addQuery(d.linesQuery, d.linesSql);
    DataSet *own = addQuery(QStringLiteral("rep_bgs"), QStringLiteral("select * from bgsxx"));

    const auto caption = hei(10);
    const auto value = song(11);
    const auto cell = song(9);
    Band &t = titleBand;
    t.height = 84.9;
    addTitleAndHeader(*this, d.title, nullptr);

    t.text(10.6, 11, QStringLiteral("合同号："), hei(11));
    t.field(lastRight(t), 11, 60, master, QStringLiteral("contract_no"), value);
    t.text(100, 11, QStringLiteral("有效日期："), hei(11));
    t.field(lastRight(t), 11, 28, master, QStringLiteral("bodcontract"), value);
    t.text(lastRight(t), 11, QStringLiteral("至："), hei(11));
    t.field(lastRight(t), 11, 28, master, QStringLiteral("eodcontract"), value);

    // The two parties: a caption row, a heading row and a value row each.
    const double left = 10.6, right = 180.2, rowH = 7;
    const QList<double> partyDividers{48.9, 68.9, 102.8, 149.4};
    const QStringList headings{QStringLiteral("地  址"), QStringLiteral("法人代表"),
                               QStringLiteral("开户行"), QStringLiteral("银行帐号"),
                               QStringLiteral("联系电话")};
    struct Party {
        QString caption;
        DataSet *data;
        QString name;
        QStringList fields;
    };
    const QList<Party> parties{
        {d.firstCaption, master, d.firstNameField,
         {QStringLiteral("address"), QStringLiteral("legalperson"), QStringLiteral("bank"),
          QStringLiteral("accountid"), QStringLiteral("phone")}},
        {d.secondCaption, own, QStringLiteral("gsmc"),
         {QStringLiteral("address"), QStringLiteral("lxr"), QStringLiteral("bank"),
          QStringLiteral("bankacc"), QStringLiteral("phone")}}};
    double y = 18;
    const auto pe = edges(left, right, partyDividers);
    for (const Party &p : parties) {
        t.rect(left, y, right - left, rowH);
        t.text(left + 1, y + 1, p.caption, caption);
        t.field(lastRight(t), y + 1.2, right - lastRight(t) - 1, p.data, p.name, song(10));
        y += rowH;
        t.ruledRow(y, rowH, left, right, partyDividers)
            .cellTexts(y, rowH, left, right, partyDividers, headings, caption);
        y += rowH;
        t.ruledRow(y, rowH, left, right, partyDividers);
        for (int i = 0; i < p.fields.size(); ++i)
            cellField(t, pe[i], pe[i + 1], y, rowH, p.data, p.fields[i], cell);
        y += rowH;
    }

    t.text(left, 66, QStringLiteral("车辆信息："), hei(11));
    const QList<double> lineDividers{52.0, 96.4, 138.8};
    const double hy = t.height - 8;
    t.ruledRow(hy, 8, left, right, lineDividers)
        .cellTexts(hy, 8, left, right, lineDividers,
                   {QStringLiteral("定货车型"), QStringLiteral("定货产地"),
                    QStringLiteral("单价（元）"), QStringLiteral("数量（辆）")},
                   caption);

    Band &dt = detailBand;
    dt.height = 7.9;
    dt.ruledRow(0, 7.9, left, right, lineDividers);
    const auto le = edges(left, right, lineDividers);
    const QStringList lineFields{QStringLiteral("carmodel"), QStringLiteral("producingarea"),
                                 QStringLiteral("unitprice"), QStringLiteral("qty")};
    for (int i = 0; i < lineFields.size(); ++i)
        cellField(dt, le[i], le[i + 1], 0, 7.9, drivingData, lineFields[i],
                  song(d.detailPointSize));

    Band &s = summaryBand;
    s.height = 38.4;
    s.rect(left, 0, right - left, 34);
    s.text(left + 1, 2, QStringLiteral("合同信息："), hei(11));
    const auto total = hei(d.totalPointSize, true);
    s.text(110, 2, d.totalCaption, total);
    s.sum(lastRight(s), 2, right - lastRight(s) - 1, drivingData,
          {QStringLiteral("qty"), QStringLiteral("unitprice")}, 10000, song(d.totalPointSize, true));
    const QList<double> infoDividers{41.4, 79.5, 113.4, 147.2};
    s.ruledRow(10, 8, left, right, infoDividers)
        .cellTexts(10, 8, left, right, infoDividers,
                   {QStringLiteral("合同类型"), QStringLiteral("交货日期"),
                    QStringLiteral("签约日期"), QStringLiteral("签约地点"),
                    QStringLiteral("经办人")},
                   caption);
    s.ruledRow(18, 8, left, right, infoDividers);
    const auto ie = edges(left, right, infoDividers);
    const QStringList infoFields{QStringLiteral("conttype"), QStringLiteral("arrive_date"),
                                 QStringLiteral("contract_date"), QStringLiteral("contractarea"),
                                 QStringLiteral("recorder")};
    for (int i = 0; i < infoFields.size(); ++i)
        cellField(s, ie[i], ie[i + 1], 18, 8, master, infoFields[i], cell);
}

// ---------------------------------------------------------------- slips

QList<QStringList> carBlock(const QString &dateCaption, const QString &dateField,
                            const QString &priceCaption)
{
    return {
        {QStringLiteral("车系列号"), QStringLiteral("carinfor.carserial_no"),
         QStringLiteral("底 盘 号"), QStringLiteral("chassis_no")},
        {QStringLiteral("发动机号"), QStringLiteral("engine_no"), QStringLiteral("型    号"),
         QStringLiteral("carmodel")},
        {QStringLiteral("颜    色"), QStringLiteral("color"), QStringLiteral("报关单号"),
         QStringLiteral("customs_no")},
        {QStringLiteral("合格证号"), QStringLiteral("qualifier_no"), QStringLiteral("商 检 号"),
         QStringLiteral("commodity_no")},
        {QStringLiteral("VIN_NO号"), QStringLiteral("vin_no"), QStringLiteral("产    地"),
         QStringLiteral("producingarea")},
        {QStringLiteral("出厂日期"), QStringLiteral("factory_date"), dateCaption, dateField},
        {QStringLiteral("存 放 地"), QStringLiteral("storearea"), priceCaption,
         QStringLiteral("carprice")},
    };
}

SlipReport::SlipReport(const SlipDescription &d, QObject *owner) : BandedReport(owner)
{
    DataSet *data = addQuery(d.query, d.sql);
    const auto caption = hei(10);
    Band &t = titleBand;
    t.height = 127.8;
    addTitleAndHeader(*this, d.title, nullptr);

    const double y = 11;
    t.text(0, y, QStringLiteral("操作员："), caption);
    t.label(lastRight(t), y, 40, addLabel(QStringLiteral("QRLabel17")), d.dataFont);
    t.text(70, y, QStringLiteral("日期："), caption);
    t.date(lastRight(t), y, 28, d.dataFont);
    t.text(115, y, d.numberCaption, hei(11, true));
    t.field(lastRight(t), y, 190 - lastRight(t), data, d.numberField,
            Rpt::Font{d.dataFont.family, 11, true});

    const double left = 10.4, right = 180.0;
    const QList<double> headDividers{45.6, 89.8, 140.0};
    t.ruledRow(18, 8, left, right, headDividers)
        .cellTexts(18, 8, left, right, headDividers, d.headings, caption);
    t.ruledRow(26, 8, left, right, headDividers);
    const auto he = edges(left, right, headDividers);
    for (int i = 0; i < d.headingFields.size(); ++i)
        cellField(t, he[i], he[i + 1], 26, 8, data, d.headingFields[i], d.dataFont);

    t.text(left, 35, QStringLiteral("车辆信息："), hei(11));
    const double top = 40.8, rowH = 8.5;
    const QList<double> blockDividers{32.7, 89.9, 112.6};
    double ry = top;
    for (const QStringList &row : d.block) {
        t.ruledRow(ry, rowH, left, right, blockDividers);
        t.text(15, ry + 1.5, row.value(0), caption, 17.5);
        cellField(t, 35.5 - 0.8, 89.9, ry, rowH, data, row.value(1), d.dataFont);
        t.text(95, ry + 1.5, row.value(2), caption, 17.5);
        cellField(t, 115 - 0.8, right, ry, rowH, data, row.value(3), d.dataFont);
        ry += rowH;
    }
    // The signatures stand in the block's last row.
    const double sigBottom = d.signatureY + 6.5;
    t.rect(left, ry, right - left, sigBottom - ry);
    t.text(15, d.signatureY, QStringLiteral("经办人（签字）："), hei(12));
    t.text(100, d.signatureY, QStringLiteral("主管（签字）："), hei(12));
}
