#include "Ucustoutgo.h"
#include "Udelf.h"
#include "Uselesalecont.h"

#include <QCloseEvent>

LedgerEntryKind Tfcustoutgo::kind()
{
    LedgerEntryKind k = customerEntryKind();
    k.objectName = QStringLiteral("fcustoutgo");
    k.caption = QStringLiteral("客户预付款管理");
    k.typeItems = {QString(), QStringLiteral("现款"), QStringLiteral("承兑")};
    k.amountLabel = QStringLiteral("预付金额：");
    k.amountField = QStringLiteral("income");
    k.amountMissing = QStringLiteral("请输入预付金额!");
    k.dateLabel = QStringLiteral("付款日期：");
    k.withContract = true;
    k.contractNotFound = QStringLiteral("不存在此销售合同号!");
    k.contractNotOwner = QStringLiteral("所选合同并非是该客户签约!");
    k.pickContract = &pickContractNumber<Tfselesalecont>;
    k.entryKind = EntryKind::Payment;
    k.feesButton = true;
    return k;
}

Tfcustoutgo::Tfcustoutgo(QWidget *parent) : TLedgerEntry(kind(), parent)
{
    connect(SpeedItem2, &QToolButton::clicked, this, &Tfcustoutgo::SpeedItem2Click);
}

void Tfcustoutgo::SpeedItem2Click()
{
    // A window of its own over this one, freed when it closes.
    fdelf = new Tfdelf(this);
    fdelf->setWindowFlag(Qt::Window);
    fdelf->show();
}

void Tfcustoutgo::closeEvent(QCloseEvent *event)
{
    for (Tfdelf *fees : findChildren<Tfdelf *>(Qt::FindDirectChildrenOnly)) {
        if (!fees->close()) {
            event->ignore();
            return;
        }
    }
    TLedgerEntry::closeEvent(event);
}
