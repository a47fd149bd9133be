#include "Uperson.h"
#include "GridColumns.h"
#include "QueryConditions.h"
#include "rep_rshxx.h"

RegisterInfo Tfperson::info()
{
    using F = RegisterField;
    RegisterInfo i;
    i.objectName = QStringLiteral("fperson");
    i.caption = QStringLiteral("人事信息注册");
    i.table = QStringLiteral("cpersonnel");
    i.codeField = QStringLiteral("personnelid");
    i.tableName = QStringLiteral("tb_per");
    i.sourceName = QStringLiteral("ds_per");
    i.queryName = QStringLiteral("tq_persele");
    i.querySourceName = QStringLiteral("ds_persele");
    i.pageControlName = QStringLiteral("PageControl1");
    i.entryPageName = QStringLiteral("TabSheet1");
    i.entryPageCaption = QStringLiteral("信息输入");
    i.queryPageName = QStringLiteral("TabSheet2");
    i.queryPageCaption = QStringLiteral("信息查询");
    i.dateLabel = QStringLiteral("注册日期：");
    i.opensOnQueryPage = true;
    i.fields = {{"代码：", "personnelid", "DBEdit1"},
                {"姓    名：", "Name", "DBEdit2"},
                {"性别：", "Sex", "DBComboBox1", F::List, {"男", "女"}},
                {"证件号码：", "IDCard_No", "DBEdit11"},
                {"民族：", "Nation", "DBEdit5"},
                {"籍    贯：", "Native", "DBEdit6"},
                {"生日：", "Birth", "DBDateEdit3", F::Date},
                {"地    址：", "Address", "DBEdit12"},
                {"学历：", "Degree", "DBComboBox2", F::FreeList,
                 {"", "初中", "高中", "中专", "大专", "本科", "硕士", "博士"}},
                {"E-MAIL：", "E_Mail", "DBEdit16"},
                {"电话：", "Phone", "DBEdit14"},
                {"聘用方式：", "HireMode", "DBEdit9"},
                {"邮编：", "ZIP", "DBEdit17"},
                {"聘用日期：", "HireDate", "DBDateEdit1", F::Date},
                {"职务：", "Job", "DBEdit8"},
                {"注册日期：", "register_date", "DBDateEdit2", F::Date},
                {"备注：", "Remarks", "DBMemo1", F::Memo}};
    i.columns = {gridColumn("代码", "personnelid"), gridColumn("姓名", "name"),
                 gridColumn("性别", "sex", 40), gridColumn("出生日期", "birth"),
                 gridColumn("", "nation", 80, false), gridColumn("籍贯", "native"),
                 gridColumn("学位", "degree"), gridColumn("职务", "job"),
                 gridColumn("聘用方式", "hiremode"), gridColumn("聘用日期", "hiredate"),
                 gridColumn("", "idcard_no", 80, false), gridColumn("住址", "address", 160),
                 gridColumn("邮编", "zip"), gridColumn("电话", "phone"), gridColumn("传真", "fax"),
                 gridColumn("e_mail地址", "e_mail"), gridColumn("注册日期", "register_date"),
                 gridColumn("备注", "remarks", 160)};
    i.choiceLabel = QStringLiteral("性    别：");
    i.choiceName = QStringLiteral("ComboBox2");
    i.choices = {QString(), QStringLiteral("男"), QStringLiteral("女")};
    i.choiceCondition = [](QueryConditions &c, const QString &sex) {
        c.prefix(QStringLiteral("sex"), sex);
    };
    i.navigatorButtons = {DBNavigator::First, DBNavigator::Prior, DBNavigator::Next,
                          DBNavigator::Last};
    i.deleteButton = true;
    i.layout = [](QObject *owner) { return std::make_unique<Tfrep_rshxx>(owner); };
    i.reportQuery = QStringLiteral("rep_rshsele");
    i.fromLabel = QStringLiteral("QRLabel15");
    i.toLabel = QStringLiteral("QRLabel16");
    return i;
}

Tfperson::Tfperson(QWidget *parent) : TRegisterForm(info(), parent) { FormCreate(); }
