#include "initial.h"
#include "DMsales.h"
#include "Db.h"
#include "Messages.h"
#include "Schema.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace {

struct Register {
    QCheckBox *Tfinitial::*box;
    const char *name;
    const char *caption;
    QStringList statements;
};

// The registers that can be emptied, in the order their statements run.
// The personnel of "admin" and of the operator at work are kept, so that
// both can still log in.
const QList<Register> &registers()
{
    static const QList<Register> list{
        {&Tfinitial::ckbgsxx, "ckbgsxx", "本公司信息", {"delete from bgsxx"}},
        {&Tfinitial::ckdq, "ckdq", "地区资料", {"delete from dq"}},
        {&Tfinitial::ckgys, "ckgys", "供应商信息",
         {"delete from cprovcarmodel", "delete from cprovider"}},
        {&Tfinitial::ckkhxx, "ckkhxx", "客户信息", {"delete from ccustomer"}},
        {&Tfinitial::ckrsk, "ckrsk", "人事信息",
         {"delete from crights where personnelid not in ('admin', :operator)",
          "delete from cpersonnel where personnelid not in ('admin', :operator)"}},
        {&Tfinitial::ckht, "ckht", "合同类型", {"delete from cconttype"}},
        {&Tfinitial::ckfy, "ckfy", "费用类型", {"delete from subject"}},
        {&Tfinitial::ckcllx, "ckcllx", "车辆类型", {"delete from cartype"}},
        {&Tfinitial::ckclxh, "ckclxh", "车辆型号", {"delete from model"}},
    };
    return list;
}

const QStringList businessStatements{
    "delete from addcost",        "delete from carinfor",       "delete from carinstock",
    "delete from caroutstock",    "delete from cbuycontdetail", "delete from cbuycontract",
    "delete from ccustaccount",   "delete from cprovaccount",   "delete from recycle",
    "delete from servicecost",    "delete from csalecontdetail", "delete from csalecontract",
    "delete from delfcost",       "delete from presentcost",    "delete from xtdh"};

} // namespace

Tfinitial::Tfinitial(QWidget *parent, std::function<bool()> closeWindows)
    : ShellDialog(parent, QStringLiteral("finitial"), QStringLiteral("数据初始化"),
                  Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                      | Qt::WindowCloseButtonHint),
      m_closeWindows(std::move(closeWindows))
{
    auto *boxes = new QWidget;
    auto *grid = new QGridLayout(boxes);
    grid->setContentsMargins(0, 0, 0, 0);
    int i = 0;
    for (const Register &r : registers()) {
        auto *box = new QCheckBox(QString::fromUtf8(r.caption));
        box->setObjectName(QLatin1String(r.name));
        this->*r.box = box;
        grid->addWidget(box, i / 3, i % 3);
        ++i;
    }
    setRows({{QString(), new QLabel(QStringLiteral("基础数据初始化(选择后相应的原有信息将丢失)"))},
             {QString(), boxes},
             {QString(), new QLabel(QStringLiteral("注意:初始化后原有数据将丢失"))}});
}

QStringList Tfinitial::statements() const
{
    QStringList list;
    for (const Register &r : registers())
        if ((this->*r.box)->isChecked())
            list << r.statements;
    return list << businessStatements;
}

void Tfinitial::check()
{
    if (!Msg::question(QStringLiteral("确认初始化吗?"), this, QStringLiteral("确认")))
        return;
    // No window may go on showing rows that are gone.
    if (m_closeWindows && !m_closeWindows()) {
        Msg::warning(QStringLiteral("请先关闭所有窗口，再进行数据初始化!"), this);
        return;
    }
    InitialiseData();
    accept();
}

void Tfinitial::InitialiseData()
{
    QString operatorId = QStringLiteral("admin");
    DataSet *trsk = frmDMcarsales->trsk;
    if (trsk->isActive() && !trsk->isEmpty())
        operatorId = trsk->value(QStringLiteral("personnelid")).toString();

    // All or nothing: a failure leaves every row where it was.
    Db::Transaction t;
    for (const QString &statement : statements())
        RunInitSql(statement, statement.contains(QLatin1String(":operator"))
                                  ? QVariantMap{{QStringLiteral(":operator"), operatorId}}
                                  : QVariantMap{});
    Schema::seedNumbering();
    t.commit();

    // The data module's snapshots follow what is left.
    trsk->refresh();
    frmDMcarsales->tright->refresh();
    frmDMcarsales->tb_bgsxx_main->refresh();
    Msg::information(QStringLiteral("完成初始化"), this);
}

void Tfinitial::RunInitSql(const QString &statement, const QVariantMap &binds)
{
    Db::exec(statement, binds);
}
