#include "ShellFixture.h"
#include "Modal.h"
#include "TestDb.h"
#include "login.h"
#include "unt_logo.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>

const QStringList rightsItems{
    "buycont",      "salecont",     "buycontchg",   "salecontchg",  "buycontfind",
    "salecontfind", "menucarin",    "menucarout",   "menucarinf",   "menucaroutf",
    "menuprovback", "menucustback", "menuprovbackf", "menuprovpre", "menuprovhsh",
    "menuprovcom",  "menucustpre",  "menucusthsh",  "menucustcom",  "menuprovf",
    "menucustf",    "menubuyout",   "menusalesrep", "menusalerep",  "menutaxrep",
    "menucompany",  "menuprovlog",  "menucustlog",  "menuperson",   "menurights",
    "menuarea",     "menuconttype", "menucost",     "menutype",     "menumodel"};

const QStringList accountItems{"syslogout", "chgpass",     "datamanage", "databackup",
                               "datarestore", "datadeal", "I1"};
const QStringList alwaysItems{"syslogin", "sysexit", "menuh1", "menuv1",
                              "menuc1",   "menua1",  "menuhelp", "menusoft"};

QAction *item(QWidget &w, const QString &name)
{
    auto *a = w.findChild<QAction *>(name);
    if (!a)
        qFatal("no menu item %s", qPrintable(name));
    return a;
}

void typeInto(QLineEdit *e, const QString &text)
{
    e->clear();
    QTest::keyClicks(e, text);
}

std::shared_ptr<bool> answerLogin(const QString &code, const QString &password)
{
    return whenModal<Tflogin>([code, password](Tflogin *d) {
        typeInto(d->Edit1, code);
        typeInto(d->Edit2, password);
        QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
        if (d->isVisible()) // refused: give up as a user would
            QTest::mouseClick(d->BitBtn2, Qt::LeftButton);
    });
}

void startAndLogin(Tfrmmain &frame, const QString &code, const QString &password, bool loggedIn)
{
    Tfrm_logo::setInterval(1);
    const auto done = answerLogin(code, password);
    frame.show();
    QVERIFY(QTest::qWaitFor([&] { return *done && !QApplication::activeModalWidget(); }, 3000));
    QCOMPARE(item(frame, "syslogout")->isEnabled(), loggedIn);
}

void setRights(TestDb &db, const QString &id, const QVariant &rights)
{
    db.exec("UPDATE crights SET rights = :r WHERE personnelid = :id", {{":r", rights}, {":id", id}});
}

QList<int> enabledPositions(Tfrmmain &frame)
{
    QList<int> on;
    for (int p = 1; p <= rightsItems.size(); ++p)
        if (item(frame, rightsItems.at(p - 1))->isEnabled())
            on << p;
    return on;
}

QList<int> range(int from, int to)
{
    QList<int> r;
    for (int p = from; p <= to; ++p)
        r << p;
    return r;
}
