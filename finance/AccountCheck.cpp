#include "AccountCheck.h"
#include "Clock.h"
#include "EnterMovesOn.h"
#include "Format.h"
#include "Guard.h"
#include "Messages.h"
#include "OperatorHeader.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TAccountCheck::TAccountCheck(const AccountCheckKind &kind, QWidget *parent)
    : ChildForm(parent), m_kind(kind), m_paymentsQuery(new DataSet(this)),
      m_chargesQuery(new DataSet(this))
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);

    auto *speedBar = new SpeedBar(this);
    SpeedItem5 = speedBar->addItem(QStringLiteral("SpeedItem5"), QStringLiteral("对帐"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));

    Label10 = newOperatorName(this, QStringLiteral("Label10"));
    GroupBox1 = new QGroupBox(kind.groupCaption, this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ComboEdit1 = new ComboEdit(GroupBox1);
    ComboEdit1->setObjectName(QStringLiteral("ComboEdit1"));
    auto readOnly = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        return e;
    };
    Edit1 = readOnly("Edit1");
    Edit1->setParent(GroupBox1);
    Edit2 = readOnly("Edit2");
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    BitBtn1 = new QPushButton(QStringLiteral("显示帐目信息"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    auto grid = [this](const char *name, DataSet *query, const AccountGrid &g) {
        query->setObjectName(g.queryName);
        query->setPageSize(PageSize);
        auto *source = new DataSource(query, this);
        source->setObjectName(g.sourceName);
        auto *view = new DBGrid(this);
        view->setObjectName(QLatin1String(name));
        view->setColumns(g.columns);
        view->setDataSource(source);
        view->setMinimumSize(360, 220);
        return view;
    };
    DBGrid1 = grid("DBGrid1", m_paymentsQuery, kind.payments);
    DBGrid2 = grid("DBGrid2", m_chargesQuery, kind.charges);

    Label8 = new QLabel(this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setStyleSheet(QStringLiteral("color: red;"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    Panel0 = new QLabel(StatusBar1);
    Panel0->setObjectName(QStringLiteral("Panel0"));
    Panel1 = new QLabel(StatusBar1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    StatusBar1->addWidget(Panel0, 1);
    StatusBar1->addWidget(Panel1, 1);

    auto *partner = new QGridLayout(GroupBox1);
    auto *codeCaption = new QLabel(kind.codeLabel, GroupBox1);
    codeCaption->setBuddy(ComboEdit1);
    partner->addWidget(codeCaption, 0, 0);
    partner->addWidget(ComboEdit1, 0, 1);
    partner->addWidget(new QLabel(kind.nameLabel, GroupBox1), 0, 2);
    partner->addWidget(Edit1, 0, 3);

    auto *top = new QHBoxLayout;
    addOperator(top, Label10, 1);
    top->addWidget(new QLabel(QStringLiteral("对帐日期："), this));
    top->addWidget(Edit2);
    auto *handlerCaption = new QLabel(QStringLiteral("经办人："), this);
    handlerCaption->setBuddy(Edit3);
    top->addWidget(handlerCaption);
    top->addWidget(Edit3);
    top->addWidget(BitBtn1);

    auto *grids = new QGridLayout;
    grids->addWidget(new QLabel(QStringLiteral("预付款信息："), this), 0, 0);
    grids->addWidget(new QLabel(kind.chargesLabel, this), 0, 1);
    grids->addWidget(DBGrid1, 1, 0);
    grids->addWidget(DBGrid2, 1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addWidget(GroupBox1);
    layout->addLayout(top);
    layout->addLayout(grids, 1);
    layout->addWidget(Label8);
    layout->addWidget(StatusBar1);

    setTabOrder(ComboEdit1, Edit3);
    setTabOrder(Edit3, BitBtn1);
    setTabOrder(BitBtn1, DBGrid1);
    setTabOrder(DBGrid1, DBGrid2);

    connect(SpeedItem5, &QToolButton::clicked, this, &TAccountCheck::SpeedItem5Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(BitBtn1, &QPushButton::clicked, this, &TAccountCheck::BitBtn1Click);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &TAccountCheck::ComboEdit1ButtonClick);
    connect(ComboEdit1, &ComboEdit::exited, this, &TAccountCheck::ComboEdit1Exit);
    // Another code is another account: what was shown no longer stands.
    connect(ComboEdit1, &QLineEdit::textChanged, this, &TAccountCheck::forgetDisplay);

    // FormCreate
    Edit2->setText(Fmt::date(Clock::today()));
    SpeedItem5->setEnabled(false);
    installEnterMovesOn(this);
}

ListStatement TAccountCheck::listStatement(const LedgerSide &side, const AccountGrid &grid,
                                           const QString &code)
{
    return {QStringLiteral("select * from %1 where %2 and isaffirm and not ischeck and %3=:aa")
                    .arg(side.table, grid.kinds, side.codeField),
            {{QStringLiteral(":aa"), code}},
            {side.keyField}};
}

void TAccountCheck::forgetDisplay()
{
    m_shown.reset();
    SpeedItem5->setEnabled(false);
}

void TAccountCheck::ComboEdit1ButtonClick()
{
    const auto picked = m_kind.pickPartner(this);
    if (!picked)
        return;
    ComboEdit1->setText(picked->code);
    Edit1->setText(picked->name);
}

void TAccountCheck::ComboEdit1Exit()
{
    const QString code = ComboEdit1->text().trimmed();
    if (code.isEmpty()) {
        Edit1->clear();
        return;
    }
    guard([&] {
        if (const auto name = partnerName(*m_kind.side->partners, code, Blanks::Trimmed)) {
            Edit1->setText(*name);
            return;
        }
        refuse(m_kind.codeNotFound, ComboEdit1);
    }, this);
}

void TAccountCheck::BitBtn1Click()
{
    const QString code = ComboEdit1->text().trimmed();
    if (code.isEmpty()) {
        refuse(m_kind.codeMissing, ComboEdit1);
        return;
    }
    forgetDisplay();
    guard([&] {
        // The name carried with the balance is the register's name of this code.
        const QString name = partnerName(*m_kind.side->partners, code, Blanks::Trimmed).value_or(QString());
        Edit1->setText(name);
        for (auto [query, grid] : {std::pair{m_paymentsQuery, &m_kind.payments},
                                   std::pair{m_chargesQuery, &m_kind.charges}}) {
            listStatement(*m_kind.side, *grid, code).setOn(query);
            query->open();
        }
        const AccountSums sums = accountSums(*m_kind.side, code);
        Panel0->setText(paymentsPanel(*m_kind.side, sums));
        Panel1->setText(chargesPanel(sums));
        m_shown = Shown{code, name, sums};
        SpeedItem5->setEnabled(true);
    }, this);
}

void TAccountCheck::SpeedItem5Click()
{
    const QString handler = Edit3->text().trimmed();
    if (handler.isEmpty()) {
        refuse(QStringLiteral("请输入经办人!"), Edit3);
        return;
    }
    if (!m_shown)
        return;
    const Shown shown = *m_shown;
    // Whatever happens now, a further reconciliation needs a new display.
    forgetDisplay();
    guard([&] {
        const auto carried =
                reconcileAccount(*m_kind.side, shown.code, shown.name, handler, shown.sums);
        if (!carried) {
            Msg::warning(QStringLiteral("帐目已有变动，请重新显示帐目信息!"), this);
            return;
        }
        Label8->setText(reconciliationText(*m_kind.side, *carried));
    }, this);
}
