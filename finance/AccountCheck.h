#pragma once

#include "ChildForm.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "Ledger.h"
#include "ListStatement.h"
#include "PartnerPicker.h"
#include "SpeedBar.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <functional>
#include <optional>

// One of the two grids: its names, columns and the kinds it lists.
struct AccountGrid {
    QString queryName, sourceName;
    GridColumns columns;
    QString kinds; // "isprepay in (...)" or "isprepay=2"
};

// What sets the customer reconciliation apart from the provider one.
struct AccountCheckKind {
    QString objectName, caption;
    const LedgerSide *side = nullptr;
    QString groupCaption, codeLabel, nameLabel, chargesLabel;
    QString codeNotFound, codeMissing;
    std::function<std::optional<PickedPartner>(QWidget *owner)> pickPartner;
    AccountGrid payments, charges;
};

// The reconciliation of one partner's account: "显示帐目信息" shows the
// verified entries that are still open and their sums, "对帐" closes them and
// carries the balance forward as one new entry. "对帐" acts only on what the
// last display showed: it is enabled by a display and disabled once it has
// run or the code is changed.
class TAccountCheck : public ChildForm {
    Q_OBJECT
public:
    static constexpr int PageSize = 200;
    TAccountCheck(const AccountCheckKind &kind, QWidget *parent = nullptr);

    // The balance of the last display, in whole yuan.
    qint64 balance() const { return m_shown ? m_shown->sums.balance() : 0; }
    // A grid's list of the partner's open verified entries of its kinds.
    static ListStatement listStatement(const LedgerSide &side, const AccountGrid &grid,
                                       const QString &code);

    DataSet *paymentsQuery() const { return m_paymentsQuery; }
    DataSet *chargesQuery() const { return m_chargesQuery; }

    QLabel *Label10;
    QGroupBox *GroupBox1;
    ComboEdit *ComboEdit1;
    QLineEdit *Edit1; // name
    QLineEdit *Edit2; // date
    QLineEdit *Edit3; // handler
    QPushButton *BitBtn1;
    DBGrid *DBGrid1; // payments
    DBGrid *DBGrid2; // car charges
    QLabel *Label8;  // result
    QStatusBar *StatusBar1;
    QLabel *Panel0, *Panel1;
    QToolButton *SpeedItem5, *SpeedItem7;

    void ComboEdit1ButtonClick();
    void ComboEdit1Exit();
    void BitBtn1Click();
    void SpeedItem5Click();

private:
    void forgetDisplay();

    const AccountCheckKind m_kind;
    DataSet *m_paymentsQuery;
    DataSet *m_chargesQuery;
    // What the last display showed, which "对帐" acts on.
    struct Shown {
        QString code, name;
        AccountSums sums;
    };
    std::optional<Shown> m_shown;
};
