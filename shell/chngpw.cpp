#include "chngpw.h"
#include "DMsales.h"
#include "Passwords.h"
#include "Errors.h"
#include "Messages.h"
#include "OperatorHeader.h"
#include "login.h"

#include <QLabel>
#include <QLineEdit>

Tfchngpw::Tfchngpw(QWidget *parent)
    : ShellDialog(parent, QStringLiteral("fchngpw"), QStringLiteral("修改口令"),
                  Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Label4(newOperatorName(nullptr, QStringLiteral("Label4"))),
      Edit1(new QLineEdit),
      Edit2(new QLineEdit),
      Edit3(new QLineEdit)
{
    int i = 1;
    for (QLineEdit *e : {Edit1, Edit2, Edit3}) {
        e->setObjectName(QStringLiteral("Edit%1").arg(i++));
        e->setEchoMode(QLineEdit::Password);
    }
    // A new password must be one that the login can take as typed.
    Edit2->setMaxLength(Tflogin::PasswordLength);
    Edit3->setMaxLength(Tflogin::PasswordLength);
    setRows({{QStringLiteral("用户名："), Label4},
             {QStringLiteral("旧口令："), Edit1},
             {QStringLiteral("新口令："), Edit2},
             {QStringLiteral("新口令确认："), Edit3}});
}

void Tfchngpw::check()
{
    DataSet *tright = frmDMcarsales ? frmDMcarsales->tright : nullptr;
    const bool onUser = tright && tright->isActive() && !tright->isEmpty();
    if (!onUser || Edit1->text() != tright->value(QStringLiteral("password")).toString()) {
        Msg::warning(QStringLiteral("旧口令错误。"), this);
        Edit1->setFocus();
        return;
    }
    if (Edit2->text() != Edit3->text()) {
        Msg::warning(QStringLiteral("确认新口令错误。"), this);
        Edit3->setFocus();
        return;
    }
    const bool changed = changePassword(tright->value(QStringLiteral("personnelid")), Edit2->text());
    tright->refresh();
    if (!changed)
        throw DbError(QStringLiteral("用户的权限记录已不存在，口令未更改"));
    Msg::information(QStringLiteral("口令更改成功。"), this);
    accept();
}
