#include "Usaleyjtj.h"
#include "rep_saleyj.h"

#include <QGridLayout>

Tfsaleyjtj::Tfsaleyjtj(QWidget *parent)
    : TStatisticsForm(QStringLiteral("fsaleyjtj"), QStringLiteral("销售业绩统计"),
                      QStringLiteral("销售业绩统计"), parent)
{
    ds_rk = addQuery(QStringLiteral("tq_rk"), QStringLiteral("ds_rk"));
    ds_sale = addQuery(QStringLiteral("tq_sale"), QStringLiteral("ds_sale"));
    ds_live = addQuery(QStringLiteral("tq_live"), QStringLiteral("ds_live"));
    tq_rk = ds_rk->dataSet();
    tq_sale = ds_sale->dataSet();
    tq_live = ds_live->dataSet();

    auto *figures = new QGridLayout;
    auto field = [&](DBEdit *&edit, const char *name, DataSource *source, const char *fieldName,
                     const char *caption, int row, int column) {
        edit = new DBEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(true);
        edit->setDataSource(source, QLatin1String(fieldName));
        auto *label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(edit);
        figures->addWidget(label, row, column * 2);
        figures->addWidget(edit, row, column * 2 + 1);
    };
    field(DBEdit1, "DBEdit1", ds_rk, "a1", "入库数量：", 0, 0);
    field(DBEdit2, "DBEdit2", ds_rk, "a2", "入库金额：", 0, 1);
    field(DBEdit3, "DBEdit3", ds_sale, "a3", "销售数量：", 1, 0);
    field(DBEdit4, "DBEdit4", ds_live, "a6", "库存数量：", 1, 1);
    field(DBEdit5, "DBEdit5", ds_sale, "a4", "销售金额：", 2, 0);
    field(DBEdit9, "DBEdit9", ds_sale, "sv", "服务费用：", 2, 1);
    field(DBEdit10, "DBEdit10", ds_sale, "ps", "赠品金额：", 3, 0);
    field(DBEdit6, "DBEdit6", ds_sale, "a5", "销售收入：", 3, 1);
    field(DBEdit7, "DBEdit7", ds_sale, "a7", "进销差价：", 4, 0);
    field(DBEdit8, "DBEdit8", ds_sale, "a8", "毛 利 润：", 4, 1);
    body()->addLayout(figures);
    body()->addStretch();

    setResult(tq_rk);
    resize(560, 360);
}

QList<TStatisticsForm::Result> Tfsaleyjtj::results(const QDate &from, const QDate &to) const
{
    using namespace SalesStatistics;
    return {{tq_rk, received(from, to)}, {tq_sale, sold(from, to)}, {tq_live, inStock()}};
}

void Tfsaleyjtj::SpeedItem3Click()
{
    Tfrep_saleyj layout(this);
    setRangeLabels(layout, QStringLiteral("QRLabel16"), QStringLiteral("QRLabel17"));
    layout.QRLabel19->setCaption(operatorName());
    // The figures exactly as the fields show them.
    for (const auto &[label, edit] : {std::pair{layout.QRLabel12, DBEdit1}, {layout.QRLabel23, DBEdit2},
                                      {layout.QRLabel13, DBEdit3}, {layout.QRLabel24, DBEdit4},
                                      {layout.QRLabel20, DBEdit5}, {layout.QRLabel26, DBEdit6},
                                      {layout.QRLabel22, DBEdit7}, {layout.QRLabel27, DBEdit8},
                                      {layout.QRLabel21, DBEdit9}, {layout.QRLabel25, DBEdit10}})
        label->setCaption(edit->text());
    layout.printOrShowError();
}
