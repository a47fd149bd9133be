#include "Ubgsxx.h"
#include "DMsales.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "Messages.h"
#include "OperatorHeader.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QVBoxLayout>

Tfbgsxx::Tfbgsxx(QWidget *parent)
    : ChildForm(parent), tb_bgsxx(new DataSet(this)), ds_bgsxx(new DataSource(tb_bgsxx, this))
{
    setObjectName(QStringLiteral("fbgsxx"));
    setWindowTitle(QStringLiteral("本公司信息注册"));
    tb_bgsxx->setObjectName(QStringLiteral("tb_bgsxx"));
    tb_bgsxx->setTableName(QStringLiteral("bgsxx"));
    ds_bgsxx->setObjectName(QStringLiteral("ds_bgsxx"));

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("编辑"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("保存"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem4 = speedBar->addItem(QStringLiteral("SpeedItem4"), QStringLiteral("退出"));

    struct Field {
        DBEdit **edit;
        const char *name;
        const char *label;
        const char *field;
    };
    const Field fields[] = {
        {&DBEdit1, "DBEdit1", "单位名称：", "gsmc"},
        {&DBEdit2, "DBEdit2", "英文名称：", "ywmc"},
        {&DBEdit3, "DBEdit3", "地    址：", "address"},
        {&DBEdit4, "DBEdit4", "邮编：", "areacode"},
        {&DBEdit5, "DBEdit5", "联系电话：", "phone"},
        {&DBEdit6, "DBEdit6", "传真：", "fax"},
        {&DBEdit7, "DBEdit7", "E-MAIL：", "e_mail1"},
        {&DBEdit12, "DBEdit12", "WWW网站：", "netsite1"},
        {&DBEdit8, "DBEdit8", "开 户 行：", "bank"},
        {&DBEdit9, "DBEdit9", "帐    号：", "bankacc"},
        {&DBEdit10, "DBEdit10", "税    号：", "taxcode"},
        {&DBEdit11, "DBEdit11", "联 系 人：", "lxr"},
    };
    auto *form = new QFormLayout;
    for (const Field &f : fields) {
        auto *edit = new DBEdit(this);
        edit->setObjectName(QLatin1String(f.name));
        edit->setDataSource(ds_bgsxx, QLatin1String(f.field));
        form->addRow(QString::fromUtf8(f.label), edit);
        *f.edit = edit;
    }
    DBEdit4->setUpperCase(true);
    Label14 = newOperatorName(this, QStringLiteral("Label14"));
    addOperatorRow(form, Label14);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(form);
    layout->addStretch();

    connect(SpeedItem1, &QToolButton::clicked, this, &Tfbgsxx::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &Tfbgsxx::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfbgsxx::SpeedItem3Click);
    connect(SpeedItem4, &QToolButton::clicked, this, &QWidget::close);

    // The post read its own row back; the data module's copy is what the
    // printed contracts read.
    tb_bgsxx->afterPost = [this] {
        if (frmDMcarsales && frmDMcarsales->tb_bgsxx_main->isActive())
            frmDMcarsales->tb_bgsxx_main->refresh();
    };
    connect(tb_bgsxx, &DataSet::stateChanged, this, [this](DataSet::State s) {
        if (s == DataSet::Edit || s == DataSet::Insert)
            SetCompanyEditing(true);
    });

    // FormCreate
    guard([this] { tb_bgsxx->open(); }, this);
    SetCompanyEditing(false);
    installEnterMovesOn(this);
}

void Tfbgsxx::SetCompanyEditing(bool editing)
{
    SpeedItem1->setEnabled(!editing);
    SpeedItem4->setEnabled(!editing);
    SpeedItem2->setEnabled(editing);
    SpeedItem3->setEnabled(editing);
}

void Tfbgsxx::SpeedItem1Click()
{
    guard([this] {
        tb_bgsxx->edit();
        SetCompanyEditing(true);
        DBEdit1->setFocus();
    }, this);
}

void Tfbgsxx::SpeedItem2Click()
{
    if (DBEdit1->text().trimmed().isEmpty()) {
        Msg::warning(QStringLiteral("公司名称不能为空!"), this);
        DBEdit1->setFocus();
        return;
    }
    guard([this] {
        tb_bgsxx->post();
        SetCompanyEditing(false);
    }, this);
}

void Tfbgsxx::SpeedItem3Click()
{
    tb_bgsxx->cancel();
    SetCompanyEditing(false);
}

void Tfbgsxx::closeEvent(QCloseEvent *event)
{
    // Registers close without asking: unsaved changes are dropped.
    tb_bgsxx->cancel();
    tb_bgsxx->close();
    event->accept();
}
