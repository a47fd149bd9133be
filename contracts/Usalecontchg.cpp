#include "Usalecontchg.h"
#include "Usalecont.h"
#include "Uselesalecont.h"

ContractChangeKind Tfsalecontchg::kind()
{
    ContractChangeKind c;
    ContractKind &k = c.contract;
    k = Tfsalecont::kind();
    k.objectName = QStringLiteral("fsalecontchg");
    k.caption = QStringLiteral("销售合同变更");
    k.statusText = QString();
    k.masterName = QStringLiteral("tq_salecont");
    k.showSerial = false;
    k.modelTitle = QStringLiteral("型号");
    k.closeQuestion = QStringLiteral("数据已修改，是否保存?");
    c.findHint = QStringLiteral("定位");
    c.saveHint = QStringLiteral("保存");
    c.cancelHint = QStringLiteral("取消");
    c.startHint = QStringLiteral("开始执行");
    c.exitHint = QStringLiteral("退出");
    c.pick = [](QWidget *owner) { return pickContract<Tfselesalecont>(owner); };
    return c;
}

Tfsalecontchg::Tfsalecontchg(QWidget *parent) : TContractChange(kind(), parent) {}
