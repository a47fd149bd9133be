#include "rep_saleyj.h"

Tfrep_saleyj::Tfrep_saleyj(QObject *owner) : BandedReport(owner)
{
    HeaderDescription header;
    header.rangeFrom = QStringLiteral("QRLabel16");
    header.rangeTo = QStringLiteral("QRLabel17");
    header.makerLabel = QStringLiteral("QRLabel19");
    addTitleAndHeader(*this, QStringLiteral("销售业绩统计报表"), &header);

    // caption, placeholder, caption, placeholder per row
    const QList<QStringList> rows{
        {QStringLiteral("入库数量"), QStringLiteral("QRLabel12"), QStringLiteral("入库金额"),
         QStringLiteral("QRLabel23")},
        {QStringLiteral("销售数量"), QStringLiteral("QRLabel13"), QStringLiteral("库存数量"),
         QStringLiteral("QRLabel24")},
        {QStringLiteral("销售金额"), QStringLiteral("QRLabel20"), QStringLiteral("赠品金额"),
         QStringLiteral("QRLabel25")},
        {QStringLiteral("服务费用"), QStringLiteral("QRLabel21"), QStringLiteral("销售收入"),
         QStringLiteral("QRLabel26")},
        {QStringLiteral("进销差价"), QStringLiteral("QRLabel22"), QStringLiteral("毛 利 润"),
         QStringLiteral("QRLabel27")}};
    Band &t = titleBand;
    t.height = 70.6;
    const double left = 10.6, right = 178.1, top = 24, rowH = 8.5;
    const QList<double> dividers{34.0, 91.2, 116.5};
    t.rect(left, top, right - left, 43.7);
    const auto caption = hei(10);
    const auto value = song(10);
    double y = top;
    for (const QStringList &r : rows) {
        t.ruledRow(y, rowH, left, right, dividers);
        t.text(left + 1, y + 1.6, r[0], caption, 34.0 - left - 2);
        t.label(34.0 + 1, y + 1.6, 91.2 - 34.0 - 2, addLabel(r[1]), value).shrinkToFit();
        t.text(91.2 + 1, y + 1.6, r[2], caption, 116.5 - 91.2 - 2);
        t.label(116.5 + 1, y + 1.6, right - 116.5 - 2, addLabel(r[3]), value).shrinkToFit();
        y += rowH;
    }
    for (auto [member, name] : {std::pair{&QRLabel1, "QRLabel1"}, {&QRLabel16, "QRLabel16"},
                                {&QRLabel17, "QRLabel17"}, {&QRLabel19, "QRLabel19"},
                                {&QRLabel12, "QRLabel12"}, {&QRLabel13, "QRLabel13"},
                                {&QRLabel20, "QRLabel20"}, {&QRLabel21, "QRLabel21"},
                                {&QRLabel22, "QRLabel22"}, {&QRLabel23, "QRLabel23"},
                                {&QRLabel24, "QRLabel24"}, {&QRLabel25, "QRLabel25"},
                                {&QRLabel26, "QRLabel26"}, {&QRLabel27, "QRLabel27"}})
        *member = findLabel(QString::fromLatin1(name));
}
