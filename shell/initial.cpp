#include "initial.h"
#include "DMsales.h"
#include "Db.h"
#include "Messages.h"
#include "DataReset.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace {

using DataReset::Register;

struct RegisterBox {
    QCheckBox *Tfinitial::*box;
    const char *name;
    const char *caption;
    Register which;
};

// The registers that can be emptied, in the order of their boxes.
const QList<RegisterBox> &registers()
{
    static const QList<RegisterBox> list{
        {&Tfinitial::ckbgsxx, "ckbgsxx", "本公司信息", Register::Company},
        {&Tfinitial::ckdq, "ckdq", "地区资料", Register::Areas},
        {&Tfinitial::ckgys, "ckgys", "供应商信息", Register::Providers},
        {&Tfinitial::ckkhxx, "ckkhxx", "客户信息", Register::Customers},
        {&Tfinitial::ckrsk, "ckrsk", "人事信息", Register::Personnel},
        {&Tfinitial::ckht, "ckht", "合同类型", Register::ContractTypes},
        {&Tfinitial::ckfy, "ckfy", "费用类型", Register::Subjects},
        {&Tfinitial::ckcllx, "ckcllx", "车辆类型", Register::CarTypes},
        {&Tfinitial::ckclxh, "ckclxh", "车辆型号", Register::CarModels},
    };
    return list;
}

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
    for (const RegisterBox &r : registers()) {
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

QList<DataReset::Register> Tfinitial::chosen() const
{
    QList<Register> list;
    for (const RegisterBox &r : registers())
        if ((this->*r.box)->isChecked())
            list << r.which;
    return list;
}

QStringList Tfinitial::statements() const
{
    return DataReset::statements(chosen());
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

    DataReset::initialise(chosen(), operatorId,
                          [this](const QString &statement, const QVariantMap &binds) { RunInitSql(statement, binds); });

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
