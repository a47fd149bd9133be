#include "LedgerEntry.h"
#include "DMsales.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "EntryLayout.h"
#include "Guard.h"
#include "OperatorHeader.h"
#include "Uselecust.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>

namespace {

// A partner's code in its register is at most this long.
constexpr int PartnerCodeLength = 10;

QString withoutColon(QString label)
{
    label.remove(QStringLiteral("："));
    return label.remove(QLatin1Char(' '));
}

} // namespace

LedgerEntryKind customerEntryKind()
{
    LedgerEntryKind k;
    k.side = &LedgerSide::customers();
    k.tableName = QStringLiteral("tb_custaccount");
    k.sourceName = QStringLiteral("ds_custpre");
    k.codeLabel = QStringLiteral("客户代码：");
    k.nameLabel = QStringLiteral("客户名称：");
    k.codeMissing = QStringLiteral("请输入客户代码!");
    k.codeNotFound = QStringLiteral("输入的客户代码不存在!");
    k.pickPartner = [](QWidget *owner) { return pickPartner<Tfselecust>(owner); };
    return k;
}

TLedgerEntry::TLedgerEntry(const LedgerEntryKind &kind, QWidget *parent)
    : DocumentForm(parent), m_kind(kind), m_table(new DataSet(this)),
      m_source(new DataSource(m_table, this))
{
    const LedgerSide &side = *kind.side;
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    m_table->setObjectName(kind.tableName);
    m_table->setTableName(side.table);
    m_table->setIndexName(QStringLiteral("PrimaryKey"));
    m_source->setObjectName(kind.sourceName);
    setDocument(new DocumentEntry(m_table, side.numbering, this));

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("增加"));
    SpeedItem5 = speedBar->addItem(QStringLiteral("SpeedItem5"), QStringLiteral("保存"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));
    if (kind.feesButton) {
        speedBar->addSeparator();
        SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("代垫费用"));
    }

    auto bound = [this](auto *control, const char *name, const QString &field) {
        control->setObjectName(QLatin1String(name));
        control->setDataSource(m_source, field);
        return control;
    };
    DBText1 = bound(new DBText(this), "DBText1", side.keyField);
    DBText1->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    Label10 = newOperatorName(this, QStringLiteral("Label10"));
    ComboEdit1 = new ComboEdit(this);
    ComboEdit1->setObjectName(QStringLiteral("ComboEdit1"));
    ComboEdit1->setMaxLength(PartnerCodeLength);
    DBEdit1 = bound(new DBEdit(this), "DBEdit1", side.nameField);
    DBEdit1->setReadOnly(true);
    DBEdit1->setFocusPolicy(Qt::NoFocus);
    if (!kind.typeItems.isEmpty()) {
        DBComboBox1 = bound(new DBComboBox(this, true), "DBComboBox1", side.typeField);
        DBComboBox1->setItems(kind.typeItems);
    }
    DBEdit2 = bound(new DBEdit(this), "DBEdit2", QStringLiteral("certificate_no"));
    if (kind.withContract) {
        ComboEdit2 = new ComboEdit(this);
        ComboEdit2->setObjectName(QStringLiteral("ComboEdit2"));
        fitCodes(ComboEdit2, side.contractField);
    }
    DBEdit3 = bound(new DBEdit(this), "DBEdit3", QStringLiteral("invoice_no"));
    DBEdit4 = bound(new DBEdit(this), "DBEdit4", kind.amountField);
    DBEdit4->setAmount(withoutColon(kind.amountLabel));
    DBDateEdit1 = bound(new DBDateEdit(this), "DBDateEdit1", QStringLiteral("account_date"));
    DBDateEdit1->setDefaultToNow();
    DBDateEdit2 = bound(new DBDateEdit(this), "DBDateEdit2", QStringLiteral("in_date"));
    DBDateEdit2->setDefaultToNow();
    DBEdit5 = bound(new DBEdit(this), "DBEdit5", QStringLiteral("affirm_recorder"));
    DBMemo1 = bound(new DBMemo(this), "DBMemo1", QStringLiteral("remarks"));
    DBMemo1->setFixedHeight(60);

    StatusBar1 = statusBar(this, kind.caption);

    auto *fields = new FieldGrid(this);
    fields->place(kind.codeLabel, ComboEdit1);
    fields->place(kind.nameLabel, DBEdit1);
    if (DBComboBox1)
        fields->place(QStringLiteral("帐目类别："), DBComboBox1);
    fields->place(QStringLiteral("凭 证 号："), DBEdit2);
    if (ComboEdit2)
        fields->place(QStringLiteral("合 同 号："), ComboEdit2);
    fields->place(QStringLiteral("发 票 号："), DBEdit3);
    fields->place(kind.amountLabel, DBEdit4);
    fields->place(kind.dateLabel, DBDateEdit1);
    fields->place(QStringLiteral("注册日期："), DBDateEdit2);
    fields->place(QStringLiteral("经 办 人："), DBEdit5);
    fields->placeWide(QStringLiteral("备    注："), DBMemo1);

    layOutEntryForm(this, speedBar, DBText1, Label10, fields, StatusBar1);

    QList<QWidget *> order{ComboEdit1, DBComboBox1, DBEdit2,     ComboEdit2, DBEdit3,
                           DBEdit4,    DBDateEdit1, DBDateEdit2, DBEdit5,    DBMemo1};
    order.removeAll(nullptr);
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    connect(SpeedItem1, &QToolButton::clicked, this, &TLedgerEntry::SpeedItem1Click);
    connect(SpeedItem5, &QToolButton::clicked, this, &TLedgerEntry::SpeedItem5Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TLedgerEntry::SpeedItem3Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &TLedgerEntry::ComboEdit1ButtonClick);
    connect(ComboEdit1, &ComboEdit::exited, this, &TLedgerEntry::ComboEdit1Exit);
    if (ComboEdit2) {
        connect(ComboEdit2, &ComboEdit::buttonClick, this, &TLedgerEntry::ComboEdit2ButtonClick);
        connect(ComboEdit2, &ComboEdit::exited, this, &TLedgerEntry::ComboEdit2Exit);
    }

    // FormCreate
    SetLedgerEntryEditing(false);
    installEnterMovesOn(this, EnterRule::EveryControl); // the remarks too
}

void TLedgerEntry::showEvent(QShowEvent *event)
{
    DocumentForm::showEvent(event);
    if (!m_kind.centred || m_centred)
        return;
    m_centred = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TLedgerEntry::SetLedgerEntryEditing(bool editing)
{
    SpeedItem1->setEnabled(!editing);
    SpeedItem7->setEnabled(!editing);
    SpeedItem5->setEnabled(editing);
    SpeedItem3->setEnabled(editing);
    // The entry is closed before the code field is disabled: disabling it
    // takes its focus, which must not look a code up for a finished row.
    if (!editing) {
        document->close();
        ComboEdit1->clear();
        if (ComboEdit2)
            ComboEdit2->clear();
    }
    ComboEdit1->setEnabled(editing);
    if (ComboEdit2)
        ComboEdit2->setEnabled(editing);
}

// ---------------------------------------------------------------- the buttons

void TLedgerEntry::SpeedItem1Click()
{
    guard([this] {
        if (!document->add())
            return;
        SetLedgerEntryEditing(true);
        ComboEdit1->setFocus();
    }, this);
}

void TLedgerEntry::SpeedItem5Click()
{
    guard([this] {
        if (m_table->isEditing() && SaveLedgerEntry() == SaveResult::Stored)
            SetLedgerEntryEditing(false);
    }, this);
}

void TLedgerEntry::SpeedItem3Click()
{
    guard([this] {
        CancelLedgerEntry();
        SetLedgerEntryEditing(false);
    }, this);
}

SaveResult TLedgerEntry::SaveLedgerEntry()
{
    const LedgerSide &side = *m_kind.side;
    const QString code = ComboEdit1->text().trimmed();
    if (code.isEmpty())
        return refuse(m_kind.codeMissing, ComboEdit1);
    const QString amount = DBEdit4->text().trimmed();
    if (amount.isEmpty())
        return refuse(m_kind.amountMissing, DBEdit4);
    if (!DBEdit4->amountPasses())
        return SaveResult::Refused;
    // The code is looked up again: what is stored is a partner of the register.
    const auto name = partnerName(*side.partners, code, Blanks::Trimmed);
    if (!name)
        return refuse(m_kind.codeNotFound, ComboEdit1);
    const QString contract = ComboEdit2 ? ComboEdit2->text().trimmed() : QString();
    if (!contract.isEmpty()) {
        // Exactly, with the code as it stands: letter case and blanks count.
        if (!signedBy(*side.partners, contract, ComboEdit1->text(), SignerMatch::Exactly))
            return refuse(m_kind.contractNotOwner, ComboEdit1);
    }
    m_table->setValue(side.codeField, code);
    m_table->setValue(side.nameField, FieldLink::textValue(*name));
    if (ComboEdit2)
        m_table->setValue(side.contractField, FieldLink::textValue(contract));
    if (!m_kind.fixedType.isEmpty())
        m_table->setValue(side.typeField, m_kind.fixedType);
    m_table->setValue(m_kind.amountField, Money::parse(amount)->toVariant());
    m_table->setValue(QStringLiteral("isaffirm"), 1);
    m_table->setValue(QStringLiteral("ischeck"), 0);
    m_table->setValue(QStringLiteral("isprepay"), codeValue(m_kind.entryKind));
    return document->save();
}

void TLedgerEntry::CancelLedgerEntry() { document->discard(); }

// ---------------------------------------------------------------- the partner

void TLedgerEntry::ComboEdit1ButtonClick()
{
    if (!m_table->isEditing())
        return;
    const auto picked = m_kind.pickPartner(this);
    if (!picked)
        return;
    ComboEdit1->setText(picked->code);
    guard([&] { m_table->setValue(m_kind.side->nameField, FieldLink::textValue(picked->name)); },
          this);
}

void TLedgerEntry::ComboEdit1Exit()
{
    if (!m_table->isEditing())
        return;
    const QString code = ComboEdit1->text().trimmed();
    guard([&] {
        if (code.isEmpty()) {
            m_table->setValue(m_kind.side->nameField, QVariant());
            return;
        }
        const auto name = partnerName(*m_kind.side->partners, code, Blanks::Trimmed);
        if (!name) {
            refuse(m_kind.codeNotFound, ComboEdit1);
            return;
        }
        m_table->setValue(m_kind.side->nameField, FieldLink::textValue(*name));
    }, this);
}

// ---------------------------------------------------------------- the contract

void TLedgerEntry::ComboEdit2ButtonClick()
{
    if (!m_table->isEditing() || !m_kind.pickContract)
        return;
    if (const auto contract = m_kind.pickContract(this))
        ComboEdit2->setText(*contract);
}

void TLedgerEntry::ComboEdit2Exit()
{
    const QString contract = ComboEdit2->text().trimmed();
    if (!m_table->isEditing() || contract.isEmpty())
        return;
    guard([&] {
        if (!frmDMcarsales->QueryFirstRow(QStringLiteral("select contract_no from %1 where contract_no=:aa")
                                                  .arg(m_kind.side->partners->contractTable),
                                          {nullptr}, {{QStringLiteral(":aa"), contract}}))
            refuse(m_kind.contractNotFound, ComboEdit2);
    }, this);
}
