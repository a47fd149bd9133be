#include "Usalesyj.h"
#include "DMsales.h"
#include "Errors.h"
#include "Guard.h"
#include "Messages.h"
#include "rep_ywyyj.h"

Tfsalesyj::Tfsalesyj(QWidget *parent)
    : TStatisticsForm(QStringLiteral("fsalesyj"), QStringLiteral("业务员业绩统计"),
                      QStringLiteral("业务员业绩统计"), parent)
{
    ds_salesyj = addQuery(QStringLiteral("tq_salesyj"), QStringLiteral("ds_salesyj"));
    tq_salesyj = ds_salesyj->dataSet();
    BitBtn1 = SpeedBar1->addItem(QStringLiteral("BitBtn1"), QStringLiteral("数据导出"));
    // The net figures are the database's own, not rounded to amounts, and
    // their fifteen digits fit.
    const auto figure = [](const char *title, const char *field) {
        return GridColumn{.title = QString::fromUtf8(title), .field = QLatin1String(field),
                          .width = 130, .reals = Fmt::Reals::AsGiven};
    };
    DBGrid1 = addResultGrid(ds_salesyj, {{QStringLiteral("业务员"), QStringLiteral("sales")},
                                         {QStringLiteral("销售车辆数"), QStringLiteral("Expr1001")},
                                         {QStringLiteral("销售金额"), QStringLiteral("xsh")},
                                         {QStringLiteral("赠品金额"), QStringLiteral("ps")},
                                         {QStringLiteral("服务费用"), QStringLiteral("sv")},
                                         figure("销售收入", "Expr1005"),
                                         figure("进销差价", "Expr1006"),
                                         figure("毛利润", "Expr1007")});
    connect(BitBtn1, &QToolButton::clicked, this, &Tfsalesyj::BitBtn1Click);
    resize(760, 460);
}

QList<TStatisticsForm::Result> Tfsalesyj::results(const QDate &from, const QDate &to) const
{
    return {{tq_salesyj, SalesStatistics::salesmen(from, to, SalesStatistics::Names::Grid)}};
}

void Tfsalesyj::SpeedItem3Click()
{
    Tfrep_ywyyj layout(this);
    printList(layout, QStringLiteral("rep_ywyyj"), SalesStatistics::salesmen, QStringLiteral("QRLabel12"),
              QStringLiteral("QRLabel13"), QStringLiteral("QRLabel5"));
}

void Tfsalesyj::BitBtn1Click()
{
    if (!tq_salesyj->isActive()) {
        Msg::warning(QStringLiteral("请先统计，再导出数据!"), this);
        return;
    }
    guard([this] {
        if (!frmDMcarsales)
            throw AppError(QStringLiteral("数据模块不可用"));
        frmDMcarsales->ExportGridToText(*tq_salesyj, DBGrid1->columns(), this);
    }, this);
}
