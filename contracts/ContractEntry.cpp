#include "ContractEntry.h"
#include "BandedReport.h"
#include "Clock.h"
#include "Columns.h"
#include "DMsales.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "Format.h"
#include "Messages.h"
#include "Money.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString CarType = QStringLiteral("cartype");
const QString CarModel = QStringLiteral("carmodel");
const QString Qty = QStringLiteral("qty");
const QString UnitPrice = QStringLiteral("unitprice");

// The code of the party register is at most this long.
constexpr int PartyCodeLength = 10;

QStringList firstColumn(const QString &sql, const QVariantMap &binds = {})
{
    QStringList values;
    QSqlQuery q = Db::exec(sql, binds);
    while (q.next())
        values << q.value(0).toString();
    return values;
}

} // namespace

TContractEntry::TContractEntry(const ContractKind &kind, QWidget *parent)
    : DocumentForm(parent), m_kind(kind), m_master(new DataSet(this)),
      m_masterSource(new DataSource(m_master, this)), m_lines(new DataSet(this)),
      m_linesSource(new DataSource(m_lines, this))
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    m_master->setObjectName(kind.masterName);
    m_master->setTableName(kind.masterTable);
    m_masterSource->setObjectName(kind.masterSource);
    m_lines->setObjectName(kind.linesName);
    m_lines->setTableName(kind.linesTable);
    m_lines->setIndexName(QStringLiteral("rowid"));
    m_linesSource->setObjectName(kind.linesSource);
    setDocument(new DocumentEntry(m_master, kind.numbering, this));
    document->addLines(m_lines, kind.numbering.numberField);
    m_lines->beforePost = [this] { return linesPass(); };

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("增加合同"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("保存合同"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem5 = speedBar->addItem(QStringLiteral("SpeedItem5"), kind.startCaption);
    SpeedItem4 = speedBar->addItem(QStringLiteral("SpeedItem4"), kind.printCaption);
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));

    auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    auto bound = [&](auto *control, const char *name, const char *field) {
        named(control, name);
        control->setDataSource(m_masterSource, QLatin1String(field));
        return control;
    };

    DBText1 = bound(new DBText(this), "DBText1", kind.numbering.numberField.toLatin1());
    DBText1->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    Label19 = static_cast<QLabel *>(named(new QLabel(this), "Label19"));
    ComboEdit1 = static_cast<ComboEdit *>(named(new ComboEdit(this), "ComboEdit1"));
    ComboEdit1->setMaxLength(PartyCodeLength);
    DBEdit1 = bound(new DBEdit(this), "DBEdit1", "contract_no");
    DBComboBox1 = bound(new DBComboBox(this, true), "DBComboBox1", "conttype");
    DBComboBox2 = bound(new DBComboBox(this, !kind.settleModeFreeText), "DBComboBox2", "settlemode");
    DBComboBox2->setItems({QString(), QStringLiteral("现款"), QStringLiteral("承兑"), QString()});
    DBEdit9 = bound(new DBEdit(this), "DBEdit9", "transportmode");
    DBDateEdit1 = bound(new DBDateEdit(this), "DBDateEdit1", "arrive_date");
    DBEdit6 = bound(new DBEdit(this), "DBEdit6", "startarea");
    DBEdit8 = bound(new DBEdit(this), "DBEdit8", "arrivearea");
    DBEdit13 = bound(new DBEdit(this), "DBEdit13", "contractarea");
    DBDateEdit3 = bound(new DBDateEdit(this), "DBDateEdit3", "contract_date");
    DBDateEdit3->setDefaultToNow();
    DBEdit10 = bound(new DBEdit(this), "DBEdit10", "recorder");
    DBMemo1 = bound(new DBMemo(this), "DBMemo1", "remarks");
    DBEdit7 = bound(new DBEdit(this), "DBEdit7", kind.nameField.toLatin1());
    DBEdit7->setEnabled(false);
    DBEdit7->setFocusPolicy(Qt::NoFocus);

    DBGrid1 = static_cast<DBGrid *>(named(new DBGrid(this), "DBGrid1"));
    GridColumn model = gridColumn("", "carmodel");
    model.title = kind.modelTitle;
    DBGrid1->setColumns({gridColumn("车辆类型", "cartype"), model,
                         gridColumn("产 地", "producingarea"), gridColumn("单 位", "unit"),
                         gridColumn("单 价", "unitprice"), gridColumn("数 量", "qty")});
    DBGrid1->setDataSource(m_linesSource);
    DBGrid1->setReadOnly(false);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char *name, const char *caption, void (TContractEntry::*click)()) {
        QAction *a = PopupMenu1->addAction(QString::fromUtf8(caption));
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, click);
        return a;
    };
    N1 = item("N1", "增加", &TContractEntry::N1Click);
    N2 = item("N2", "保存", &TContractEntry::N2Click);
    N3 = item("N3", "删除", &TContractEntry::N3Click);
    N4 = item("N4", "取消", &TContractEntry::N4Click);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->addWidget(new QLabel(kind.caption, StatusBar1));

    // Layout: header, the fields around the lines grid, the status bar.
    auto *header = new QHBoxLayout;
    header->addWidget(new QLabel(QStringLiteral("合同流水号："), this));
    header->addWidget(DBText1, 1);
    header->addWidget(new QLabel(QStringLiteral("操作员："), this));
    header->addWidget(Label19, 1);

    auto *top = new QGridLayout;
    auto place = [this](QGridLayout *g, int row, int col, const QString &label, QWidget *w) {
        auto *caption = new QLabel(label, this);
        caption->setBuddy(w); // a field's messages name it by its caption
        g->addWidget(caption, row, col * 2);
        g->addWidget(w, row, col * 2 + 1);
    };
    place(top, 0, 0, kind.codeLabel, ComboEdit1);
    place(top, 0, 1, kind.nameLabel, DBEdit7);
    place(top, 1, 0, QStringLiteral("合同编号："), DBEdit1);
    place(top, 1, 1, QStringLiteral("合同类别："), DBComboBox1);
    place(top, 2, 0, QStringLiteral("支付方式："), DBComboBox2);
    place(top, 2, 1, QStringLiteral("交货方式："), DBEdit9);
    place(top, 3, 0, kind.deliveryLabel, DBDateEdit1);
    place(top, 3, 1, QStringLiteral("提货地点："), DBEdit6);
    place(top, 4, 0, QStringLiteral("到货地点："), DBEdit8);

    auto *bottom = new QGridLayout;
    place(bottom, 0, 0, QStringLiteral("签定地点："), DBEdit13);
    place(bottom, 0, 1, QStringLiteral("签定日期："), DBDateEdit3);
    place(bottom, 1, 0, QStringLiteral("经办人："), DBEdit10);
    bottom->addWidget(new QLabel(QStringLiteral("合同摘要："), this), 2, 0);
    bottom->addWidget(DBMemo1, 2, 1, 1, 3);
    DBMemo1->setFixedHeight(60);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(header);
    layout->addLayout(top);
    layout->addWidget(DBGrid1);
    layout->addLayout(bottom);
    layout->addWidget(StatusBar1);
    DBGrid1->setMinimumSize(560, 160);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *order[] = {ComboEdit1, DBEdit1, DBComboBox1, DBComboBox2, DBEdit9, DBDateEdit1,
                        DBEdit6, DBEdit8, DBGrid1, DBEdit13, DBDateEdit3, DBEdit10, DBMemo1};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(SpeedItem1, &QToolButton::clicked, this, &TContractEntry::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TContractEntry::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TContractEntry::SpeedItem3Click);
    connect(SpeedItem5, &QToolButton::clicked, this, &TContractEntry::SpeedItem5Click);
    connect(SpeedItem4, &QToolButton::clicked, this, &TContractEntry::SpeedItem4Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &TContractEntry::ComboEdit1ButtonClick);
    setUpperCaseInput(ComboEdit1);
    connect(DBGrid1, &DBGrid::enterPressed, this, &TContractEntry::DBGrid1KeyPress);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (m_popupOn)
            PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(at));
    });
    ComboEdit1->installEventFilter(this);
    // Entering the grid from outside (not the focus coming back from a cell editor).
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        auto inGrid = [this](QWidget *w) { return w && (w == DBGrid1 || DBGrid1->isAncestorOf(w)); };
        if (inGrid(now) && !inGrid(old))
            DBGrid1Enter();
    });

    FormCreate();
    // Every control passes Enter on, the remarks too (Shift+Enter breaks a line there).
    installEnterMovesOn(this, EnterRule::EveryControl);
    keepEnter(DBGrid1); // in the grid Enter walks through the line's cells
}

void TContractEntry::FormCreate()
{
    if (frmDMcarsales)
        Label19->setText(frmDMcarsales->operatorName());
    guard([this] {
        DBComboBox1->setItems(firstColumn(QStringLiteral("select conttype from cconttype")));
    }, this);
    SetContractEditing(false);
}

void TContractEntry::SetContractEditing(bool editing)
{
    SpeedItem1->setEnabled(!editing);
    SpeedItem7->setEnabled(!editing);
    SpeedItem2->setEnabled(editing);
    SpeedItem3->setEnabled(editing);
    SpeedItem4->setEnabled(editing);
    SpeedItem5->setEnabled(editing);
    m_popupOn = editing;
    // The contract is closed before the code field is disabled: disabling it
    // takes its focus, which must not look the code up on a finished row.
    if (!editing) {
        document->close();
        ComboEdit1->clear();
    }
    ComboEdit1->setEnabled(editing);
}

bool TContractEntry::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the field, not another window or a menu taking the focus for a while.
    if (watched == ComboEdit1 && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            ComboEdit1Exit();
    }
    return DocumentForm::eventFilter(watched, event);
}

// ---------------------------------------------------------------- the contract

void TContractEntry::SpeedItem1Click()
{
    guard([this] {
        if (!document->add())
            return;
        SetContractEditing(true);
        ComboEdit1->setFocus();
        if (!m_kind.providerModels)
            loadPickLists(QStringLiteral("select model from model"), {});
    }, this);
}

std::optional<QString> TContractEntry::partyName(const QString &code) const
{
    QVariant name;
    if (!frmDMcarsales->QueryFirstRow(m_kind.nameLookup, {&name}, {{m_kind.lookupParam, code}}))
        return std::nullopt;
    return name.toString();
}

bool TContractEntry::refuse(const QString &message, QWidget *field)
{
    Msg::warning(message, this);
    field->setFocus();
    return true;
}

void TContractEntry::ComboEdit1ButtonClick()
{
    if (!document->isOpen())
        return;
    const auto picked = m_kind.pick(this);
    if (!picked)
        return;
    ComboEdit1->setText(picked->code);
    guard([&] {
        m_master->setValue(m_kind.nameField, FieldLink::textValue(picked->name));
        m_master->setValue(m_kind.codeField, picked->code);
    }, this);
}

void TContractEntry::ComboEdit1Exit()
{
    const QString code = ComboEdit1->text().trimmed();
    if (m_lookingUp || !m_master->isActive() || code.isEmpty())
        return;
    m_lookingUp = true; // the message box takes the focus too
    guard([&] {
        const auto name = partyName(code);
        m_master->setValue(m_kind.codeField, code);
        m_master->setValue(m_kind.nameField, FieldLink::textValue(name.value_or(QString())));
        if (!name) {
            refuse(m_kind.codeNotFound, ComboEdit1);
            return;
        }
        if (m_kind.providerModels)
            loadPickLists(QStringLiteral("select carmodel from cprovcarmodel where providerid=:provid2"),
                          {{QStringLiteral(":provid2"), code}});
    }, this);
    m_lookingUp = false;
}

void TContractEntry::loadPickLists(const QString &modelsSql, const QVariantMap &binds)
{
    const QStringList models = firstColumn(modelsSql, binds);
    const QStringList types = firstColumn(QStringLiteral("select type from cartype"));
    GridColumns columns = DBGrid1->columns();
    for (GridColumn &c : columns) {
        if (c.field == CarModel)
            c.pickList = models;
        else if (c.field == CarType)
            c.pickList = types;
    }
    DBGrid1->setColumns(columns);
}

int TContractEntry::SaveContract(int state)
{
    const QString code = ComboEdit1->text().trimmed();
    if (code.isEmpty())
        return refuse(m_kind.codeMissing, ComboEdit1);
    const auto name = partyName(code);
    if (!name)
        return refuse(m_kind.codeNotFound, ComboEdit1);
    m_master->setValue(m_kind.codeField, code);
    m_master->setValue(m_kind.nameField, FieldLink::textValue(*name));
    if (m_master->value(QStringLiteral("contract_no")).toString().trimmed().isEmpty())
        return refuse(QStringLiteral("请输入合同号!"), DBEdit1);
    m_master->setValue(QStringLiteral("operator"), FieldLink::textValue(Label19->text()));
    m_master->setValue(QStringLiteral("register_date"), Fmt::sqlDateTime(Clock::now()));
    m_master->setValue(QStringLiteral("isfinished"), state);
    const QString serial = document->number();
    const bool stored = document->save([&] {
        Db::exec(m_kind.emptyLinesDelete, {{QStringLiteral(":aa"), serial}});
    });
    return stored ? 0 : 1;
}

void TContractEntry::DiscardContract() { document->discard(); }

void TContractEntry::finishAndOfferPrint()
{
    const QString serial = document->number();
    SetContractEditing(false);
    if (Msg::question(QStringLiteral("是否打印?"), this))
        m_kind.print(this, serial);
}

void TContractEntry::SpeedItem2Click()
{
    guard([this] {
        if (!m_master->isEditing() || SaveContract(0) != 0)
            return;
        finishAndOfferPrint();
    }, this);
}

void TContractEntry::SpeedItem3Click()
{
    if (!Msg::question(QStringLiteral("确实要放弃吗？"), this))
        return;
    guard([this] {
        DiscardContract();
        SetContractEditing(false);
    }, this);
}

void TContractEntry::SpeedItem5Click()
{
    if (!Msg::question(QStringLiteral("合同执行后将无法修改，是否继续？"), this))
        return;
    guard([this] {
        if (SaveContract(1) != 0)
            return;
        finishAndOfferPrint();
    }, this);
}

void TContractEntry::SpeedItem4Click()
{
    guard([this] {
        if (m_master->isEditing() && SaveContract(0) != 0)
            return;
        // The saved contract stays open: "取消" still discards it.
        m_master->edit();
        if (!m_lines->isEmpty())
            m_lines->edit();
        m_kind.print(this, document->number());
    }, this);
}

// ---------------------------------------------------------------- the lines

bool TContractEntry::linesPass()
{
    const QVariant qty = m_lines->value(Qty);
    bool ok = true;
    qint64 count = 0;
    if (!qty.isNull())
        count = qty.toString().trimmed().toLongLong(&ok);
    // Price times quantity must stay far inside what Money holds.
    if (!ok || qAbs(count) > Money::MaxQuantity) {
        Msg::warning(ok ? Money::quantityMessage(QStringLiteral("数量")) : QStringLiteral("数量必须是整数！"),
                     this);
        selectCell(m_lines->recNo(), Qty);
        return false;
    }
    const QVariant price = m_lines->value(UnitPrice);
    const auto typed = price.isNull() ? Money::Typed::Amount : Money::checkTyped(Fmt::display(price));
    if (typed != Money::Typed::Amount) {
        Msg::warning(typed == Money::Typed::TooLarge ? Money::tooLargeMessage(QStringLiteral("单价"))
                                                     : QStringLiteral("单价必须是数字！"),
                     this);
        selectCell(m_lines->recNo(), UnitPrice);
        return false;
    }
    return true;
}

void TContractEntry::DBGrid1Enter()
{
    if (m_master->isEditing() && ComboEdit1->text().trimmed().isEmpty())
        refuse(m_kind.codeMissing, ComboEdit1);
}

void TContractEntry::selectCell(int row, const QString &field)
{
    const GridColumns &columns = DBGrid1->columns();
    for (int c = 0; c < columns.size(); ++c)
        if (columns.at(c).field == field)
            DBGrid1->setCurrentIndex(DBGrid1->model()->index(row, c));
}

void TContractEntry::DBGrid1KeyPress()
{
    const QModelIndex current = DBGrid1->currentIndex();
    if (!current.isValid() || !m_lines->isActive())
        return;
    const QString field = DBGrid1->columns().at(current.column()).field;
    static const QList<QPair<QString, QString>> walk{
        {CarType, CarModel},
        {CarModel, QStringLiteral("producingarea")},
        {QStringLiteral("producingarea"), UnitPrice}, // the unit is skipped
        {UnitPrice, Qty}};
    for (const auto &step : walk) {
        if (step.first == field) {
            selectCell(current.row(), step.second);
            return;
        }
    }
    if (field != Qty)
        return; // the unit: the selection stays
    guard([&] {
        const int next = current.row() + 1;
        if (next < m_lines->recordCount()) {
            m_lines->setRecNo(next);
            if (m_lines->recNo() == next)
                selectCell(next, Qty);
            return;
        }
        appendLine();
    }, this);
}

void TContractEntry::appendLine()
{
    m_lines->append();
    // A line the checks refused stays in insert, modified, with its cell to mend selected.
    if (m_lines->state() == DataSet::Insert && !m_lines->isModified())
        selectCell(m_lines->recNo(), CarType);
}

void TContractEntry::N1Click()
{
    guard([this] {
        if (!m_lines->isActive())
            return;
        if (m_lines->isEditing() && m_lines->value(CarModel).toString().isEmpty())
            m_lines->cancel();
        appendLine();
    }, this);
}

void TContractEntry::N2Click()
{
    guard([this] { m_lines->post(); }, this);
}

void TContractEntry::N3Click()
{
    guard([this] {
        if (m_lines->isEditing())
            m_lines->cancel();
        else
            m_lines->deleteRecord();
    }, this);
}

void TContractEntry::N4Click()
{
    guard([this] { m_lines->cancel(); }, this);
}

// ---------------------------------------------------------------- printing

void printContract(BandedReport &layout, DataSet *masterQuery, const QString &masterSql,
                   DataSet *linesQuery, const QString &linesSql, const QString &serial)
{
    for (auto [query, sql] : {std::pair{masterQuery, masterSql}, std::pair{linesQuery, linesSql}}) {
        query->close();
        query->setSql(sql);
        query->setParam(QStringLiteral(":aa"), serial);
        query->open();
    }
    layout.findQuery(QStringLiteral("rep_bgs"))->open();
    try {
        layout.Print();
    } catch (const AppError &) {
        // A failed print changes nothing: the contract is saved either way.
    }
}
