#include "login.h"
#include "Db.h"
#include "Messages.h"

#include <QLineEdit>
#include <QSqlQuery>

Tflogin::Tflogin(QWidget *parent)
    : ShellDialog(parent, QStringLiteral("flogin"), QStringLiteral("登录"),
                  Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                      | Qt::WindowCloseButtonHint),
      Edit1(new QLineEdit(QStringLiteral("admin"))),
      Edit2(new QLineEdit)
{
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(10);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setMaxLength(PasswordLength);
    Edit2->setEchoMode(QLineEdit::Password);
    setRows({{QStringLiteral("代  码："), Edit1}, {QStringLiteral("口  令："), Edit2}});
}

QString Tflogin::code() const { return Edit1->text().trimmed(); }

void Tflogin::check()
{
    const QString personnelId = code();
    if (personnelId.isEmpty())
        return;

    QSqlQuery Query1 = Db::exec(QStringLiteral("SELECT password FROM crights WHERE personnelid = :id"),
                                {{QStringLiteral(":id"), personnelId}});
    if (!Query1.next()) {
        Msg::warning(QStringLiteral("用户名错误，请重输用户名"), this);
        Edit1->setFocus();
        return;
    }
    // The password as stored, with case; the typed one without outer blanks.
    if (Query1.value(0).toString() != Edit2->text().trimmed()) {
        Msg::warning(QStringLiteral("密码错误"), this);
        Edit2->setFocus();
        return;
    }
    accept();
}
