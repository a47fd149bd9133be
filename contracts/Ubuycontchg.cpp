#include "Ubuycontchg.h"
#include "Ubuycont.h"
#include "Uselebuycont.h"

ContractChangeKind Tfbuycontchg::kind()
{
    ContractChangeKind c;
    ContractKind &k = c.contract;
    k = Tfbuycont::kind();
    k.objectName = QStringLiteral("fbuycontchg");
    k.caption = QStringLiteral("采购合同变更");
    k.statusText = k.caption;
    k.masterName = QStringLiteral("tq_buycont");
    k.closeQuestion = QStringLiteral("数据已修改，是否保存?");
    c.findHint = QStringLiteral("定位");
    c.saveHint = QStringLiteral("保存合同");
    c.cancelHint = QStringLiteral("取消");
    c.startHint = QStringLiteral("开始执行合同");
    c.exitHint = QStringLiteral("退出");
    c.pick = [](QWidget *owner) { return pickContract<Tfselebuycont>(owner); };
    return c;
}

Tfbuycontchg::Tfbuycontchg(QWidget *parent) : TContractChange(kind(), parent) {}
