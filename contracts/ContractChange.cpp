#include "ContractChange.h"
#include "DBNavigator.h"
#include "DMsales.h"
#include "Db.h"
#include "Guard.h"
#include "Messages.h"

TContractChange::TContractChange(const ContractChangeKind &kind, QWidget *parent)
    : TContractForm(kind.contract, Use::Change, parent), m_change(kind)
{
    // Saved contracts that are not started, the newest last.
    m_master->setFilter(IsFinished, codeValue(ListedProgress));
    m_master->setIndexName(QStringLiteral("PrimaryKey"));
    m_master->beforeInsert = [] { return false; }; // a change never makes a contract

    SpeedItem1 = SpeedBar1->addItem(QStringLiteral("SpeedItem1"), kind.findHint, QStringLiteral("定位"));
    SpeedItem2 = SpeedBar1->addItem(QStringLiteral("SpeedItem2"), kind.saveHint, QStringLiteral("保存合同"));
    SpeedItem3 = SpeedBar1->addItem(QStringLiteral("SpeedItem3"), kind.cancelHint, QStringLiteral("取消"));
    DBNavigator1 = new DBNavigator(SpeedBar1);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    for (int b = DBNavigator::Insert; b <= DBNavigator::Refresh; ++b)
        DBNavigator1->button(DBNavigator::Button(b))->setVisible(false);
    DBNavigator1->setDataSource(m_masterSource);
    SpeedBar1->addWidget(DBNavigator1);
    SpeedItem5 = SpeedBar1->addItem(QStringLiteral("SpeedItem5"), kind.startHint,
                                    QStringLiteral("开始执行合同"));
    SpeedItem7 = SpeedBar1->addItem(QStringLiteral("SpeedItem7"), kind.exitHint, QStringLiteral("退出"));

    // The state is read again where it is written: a contract started (or
    // deleted) elsewhere meanwhile is never saved over.
    document->beforeWrite = [this] {
        QVariant state;
        const QString table = Db::identifier(m_kind.masterTable);
        const QString key = Db::identifier(m_kind.numbering.numberField);
        const bool found = frmDMcarsales->QueryFirstRow(
            QStringLiteral("select %1 from %2 where %3=:n").arg(IsFinished, table, key), {&state},
            {{QStringLiteral(":n"), m_master->value(m_kind.numbering.numberField)}});
        if (found && !state.isNull() && codeOf<ContractProgress>(state) == ContractProgress::Saved)
            return true;
        Msg::warning(QStringLiteral("该合同已开始执行或已被删除，不能保存修改！"), this);
        return false;
    };

    for (DataSet *ds : {m_master, m_lines}) {
        connect(ds, &DataSet::valuesChanged, this, &TContractChange::dataChanged);
        connect(ds, &DataSet::stateChanged, this, &TContractChange::dataChanged);
        connect(ds, &DataSet::rowsChanged, this, &TContractChange::dataChanged);
    }
    connect(SpeedItem1, &QToolButton::clicked, this, &TContractChange::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TContractChange::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TContractChange::SpeedItem3Click);
    connect(SpeedItem5, &QToolButton::clicked, this, &TContractChange::SpeedItem5Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);

    FormCreate();
}

void TContractChange::FormCreate()
{
    finishForm();
    guard([this] {
        m_master->open();
        m_lines->open();
        m_master->last();
    }, this);
    DBComboBox2->setFocus();
    SetChangeState(false);
}

void TContractChange::SetChangeState(bool on)
{
    m_changed = on;
    SpeedItem2->setEnabled(on);
    SpeedItem3->setEnabled(on);
    SpeedItem1->setEnabled(!on);
    SpeedItem7->setEnabled(!on);
    DBNavigator1->setEnabled(!on);
}

bool TContractChange::hasChanges() const
{
    // A contract being edited holds the navigator still: it counts as changed.
    return m_master->isEditing() || m_master->updatesPending() || m_lines->isModified()
           || m_lines->updatesPending();
}

void TContractChange::dataChanged()
{
    if (!m_changed && hasChanges())
        SetChangeState(true);
}

SaveResult TContractChange::SaveChange(ContractProgress state, const std::function<void()> &whileShown)
{
    if (!hasContract())
        return SaveResult::Refused;
    if (state != ContractProgress::Saved)
        m_master->setValue(IsFinished, codeValue(state));
    // Every line is stored as typed, also one whose quantity is now 0 or empty.
    bool written = false;
    SaveResult result = SaveResult::Refused;
    try {
        result = document->save({}, [&] {
            written = true;
            if (whileShown)
                whileShown();
        });
    } catch (const AppError &) {
        if (state != ContractProgress::Saved && !written)
            m_master->setValue(IsFinished, codeValue(ContractProgress::Saved)); // the changes stay, the state does not
        throw;
    }
    if (result == SaveResult::Refused && state != ContractProgress::Saved)
        m_master->setValue(IsFinished, codeValue(ContractProgress::Saved));
    return result;
}

void TContractChange::cancelChanges()
{
    // Lines first: the contract lets go of its row only when they have.
    m_lines->cancelUpdates();
    m_master->cancelUpdates();
}

void TContractChange::SpeedItem1Click()
{
    if (!m_master->isActive())
        return;
    const auto picked = m_change.pick(this);
    if (picked)
        guard([&] { m_master->locate(m_kind.numbering.numberField, picked->serial); }, this);
}

// Saves with the given state and offers to print what was saved while it is
// still shown; a started contract leaves the list only afterwards.
bool TContractChange::saveAndOfferPrint(ContractProgress state)
{
    const QString serial = m_master->value(m_kind.numbering.numberField).toString();
    bool saved = false;
    try {
        const SaveResult result = SaveChange(state, [&] {
            saved = true;
            if (Msg::question(QStringLiteral("是否打印?"), this))
                m_kind.print(this, serial);
        });
        if (result != SaveResult::Stored)
            return false;
    } catch (...) {
        if (saved) // the print stopped: the changes are stored all the same
            SetChangeState(false);
        throw;
    }
    SetChangeState(false);
    return true;
}

void TContractChange::SpeedItem2Click()
{
    if (hasContract())
        guard([this] { saveAndOfferPrint(ContractProgress::Saved); }, this);
}

void TContractChange::SpeedItem3Click()
{
    if (!hasContract())
        return;
    guard([this] {
        cancelChanges();
        SetChangeState(false);
    }, this);
}

void TContractChange::SpeedItem5Click()
{
    if (!hasContract())
        return;
    if (!Msg::question(QStringLiteral("合同开始执行后将无法修改，是否继续？"), this))
        return;
    guard([this] {
        // The started contract leaves the list.
        if (saveAndOfferPrint(ContractProgress::Executing))
            m_master->last();
    }, this);
}
