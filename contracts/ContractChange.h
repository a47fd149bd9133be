#pragma once

#include "Codes.h"
#include "ContractForm.h"
#include "ContractPicker.h"

class DBNavigator;

// What a change window adds to its contracts' kind.
struct ContractChangeKind {
    ContractKind contract;
    // Hints of 定位, 保存, 取消, 开始执行 and 退出.
    QString findHint, saveHint, cancelHint, startHint, exitHint;
    std::function<std::optional<PickedContract>(QWidget *owner)> pick;
};

// The change of saved contracts before they are started: the payment mode,
// the delivery date and the lines' prices and quantities. Every change stays
// pending until it is saved (or the contract started) in one transaction, or
// cancelled.
class TContractChange : public TContractForm {
    Q_OBJECT
public:
    TContractChange(const ContractChangeKind &kind, QWidget *parent = nullptr);

    // The contracts a change lists, in key order: those whose progress is
    // Saved, not started.
    static inline const QString IsFinished = QStringLiteral("isfinished");
    static constexpr ContractProgress ListedProgress = ContractProgress::Saved;

    QToolButton *SpeedItem1, *SpeedItem2, *SpeedItem3, *SpeedItem5, *SpeedItem7;
    DBNavigator *DBNavigator1;

    // On: save and cancel enabled, find, exit and the navigator not.
    void SetChangeState(bool on);
    bool changeState() const { return m_changed; }
    // Something typed into the contract or its lines is not yet stored.
    bool hasChanges() const;

    void SpeedItem1Click(); // 定位
    void SpeedItem2Click(); // 保存
    void SpeedItem3Click(); // 取消
    void SpeedItem5Click(); // 开始执行

protected:
    QString closeQuestion() const override { return QStringLiteral("数据已修改，是否保存?"); }
    bool hasUnsavedInput() const override { return hasChanges(); }
    SaveResult saveDocument() override { return SaveChange(ContractProgress::Saved); }
    void discardDocument() override { cancelChanges(); }

private:
    void FormCreate();
    bool hasContract() const { return m_master->isActive() && !m_master->isEmpty(); }
    // Stores the contract's changes with the given progress (Saved keeps it
    // unstarted, Executing starts it); refused when the contract is no longer
    // unstarted (message shown, changes kept). whileShown runs once they are
    // stored, before the list is read again.
    SaveResult SaveChange(ContractProgress state, const std::function<void()> &whileShown = {});
    bool saveAndOfferPrint(ContractProgress state);
    void cancelChanges();
    void dataChanged();

    const ContractChangeKind m_change;
    bool m_changed = false;
};
