#include "ContractEntry.h"
#include "Clock.h"
#include "DMsales.h"
#include "Db.h"
#include "Guard.h"
#include "Format.h"
#include "Messages.h"

#include <QApplication>
#include <QEvent>

namespace {

const QString CarType = QStringLiteral("cartype");
const QString CarModel = QStringLiteral("carmodel");

} // namespace

TContractEntry::TContractEntry(const ContractKind &kind, QWidget *parent)
    : TContractForm(kind, Use::Entry, parent), ComboEdit1(static_cast<ComboEdit *>(codeEdit))
{
    SpeedItem1 = SpeedBar1->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("增加合同"));
    SpeedItem2 = SpeedBar1->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("保存合同"));
    SpeedItem3 = SpeedBar1->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem5 = SpeedBar1->addItem(QStringLiteral("SpeedItem5"), kind.startCaption);
    SpeedItem4 = SpeedBar1->addItem(QStringLiteral("SpeedItem4"), kind.printCaption);
    SpeedItem7 = SpeedBar1->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));

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

    connect(SpeedItem1, &QToolButton::clicked, this, &TContractEntry::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TContractEntry::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TContractEntry::SpeedItem3Click);
    connect(SpeedItem5, &QToolButton::clicked, this, &TContractEntry::SpeedItem5Click);
    connect(SpeedItem4, &QToolButton::clicked, this, &TContractEntry::SpeedItem4Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &TContractEntry::ComboEdit1ButtonClick);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (m_popupOn)
            PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(at));
    });
    connect(ComboEdit1, &ComboEdit::exited, this, &TContractEntry::ComboEdit1Exit);
    // Entering the grid from outside (not the focus coming back from a cell editor).
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        auto inGrid = [this](QWidget *w) { return w && (w == DBGrid1 || DBGrid1->isAncestorOf(w)); };
        if (inGrid(now) && !inGrid(old))
            DBGrid1Enter();
    });

    FormCreate();
}

void TContractEntry::FormCreate()
{
    finishForm();
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
        const auto name = partnerName(*m_kind.partners, code, Blanks::Trimmed);
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
    const QStringList models = Db::firstColumn(modelsSql, binds);
    const QStringList types = Db::firstColumn(QStringLiteral("select type from cartype"));
    GridColumns columns = DBGrid1->columns();
    for (GridColumn &c : columns) {
        if (c.field == CarModel)
            c.pickList = models;
        else if (c.field == CarType)
            c.pickList = types;
    }
    DBGrid1->setColumns(columns);
}

SaveResult TContractEntry::SaveContract(ContractProgress state)
{
    const QString code = ComboEdit1->text().trimmed();
    if (code.isEmpty())
        return refuse(m_kind.codeMissing, ComboEdit1);
    const auto name = partnerName(*m_kind.partners, code, Blanks::Trimmed);
    if (!name)
        return refuse(m_kind.codeNotFound, ComboEdit1);
    m_master->setValue(m_kind.codeField, code);
    m_master->setValue(m_kind.nameField, FieldLink::textValue(*name));
    if (m_master->value(QStringLiteral("contract_no")).toString().trimmed().isEmpty())
        return refuse(QStringLiteral("请输入合同号!"), DBEdit1);
    m_master->setValue(QStringLiteral("operator"), FieldLink::textValue(Label19->text()));
    m_master->setValue(QStringLiteral("register_date"), Fmt::sqlDateTime(Clock::now()));
    m_master->setValue(QStringLiteral("isfinished"), codeValue(state));
    const QString serial = document->number();
    return document->save([&] {
        Db::exec(m_kind.emptyLinesDelete, {{QStringLiteral(":aa"), serial}});
    });
}

void TContractEntry::DiscardContract() { document->discard(); }

void TContractEntry::finishAndOfferPrint()
{
    // Asked over the saved contract. The window empties afterwards, also when
    // the contract cannot be read for its print: a saved contract left open
    // would be discarded by No to the close question.
    try {
        if (Msg::question(QStringLiteral("是否打印?"), this))
            m_kind.print(this, document->number());
    } catch (...) {
        SetContractEditing(false);
        throw;
    }
    SetContractEditing(false);
}

void TContractEntry::SpeedItem2Click()
{
    guard([this] {
        if (!m_master->isEditing() || SaveContract(ContractProgress::Saved) != SaveResult::Stored)
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
        if (SaveContract(ContractProgress::Executing) != SaveResult::Stored)
            return;
        finishAndOfferPrint();
    }, this);
}

void TContractEntry::SpeedItem4Click()
{
    guard([this] {
        if (m_master->isEditing() && SaveContract(ContractProgress::Saved) != SaveResult::Stored)
            return;
        // The saved contract stays open: "取消" still discards it.
        m_master->edit();
        if (!m_lines->isEmpty())
            m_lines->edit();
        m_kind.print(this, document->number());
    }, this);
}

// ---------------------------------------------------------------- the lines

void TContractEntry::DBGrid1Enter()
{
    if (m_master->isEditing() && ComboEdit1->text().trimmed().isEmpty())
        refuse(m_kind.codeMissing, ComboEdit1);
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
