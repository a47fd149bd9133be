#include "ContractFixture.h"
#include "Clock.h"
#include "DBGrid.h"
#include "TestDb.h"
#include "Usalecont.h"
#include "Ubuycont.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

const Twin &twin(const QString &name)
{
    static const Twin sales{"sales", [] { return new Tfsalecont; }, &Tfsalecont::PrintContract,
                            "csalecontract", "csalecontdetail", "salecont_no", "customerid",
                            "custname", "ss", "C001", "客户甲", "请输入客户代码！",
                            "输入的客户代码不存在！", "是否保存销售合同？"};
    static const Twin purchase{"purchase", [] { return new Tfbuycont; }, &Tfbuycont::PrintContract,
                               "cbuycontract", "cbuycontdetail", "buycont_no", "providerid",
                               "provname", "bs", "P001", "供应商乙", "请输入供应商代码！",
                               "输入的供应商代码不存在！", "是否保存采购合同？"};
    return name == "sales" ? sales : purchase;
}

void addTwinRows()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("sales") << "sales";
    QTest::newRow("purchase") << "purchase";
}

void seed(TestDb &db)
{
    db.insert("bgsxx", {{"gsmc", "岚峰汽车"}, {"address", "本公司地址"}});
    db.insert("ccustomer", {{"customerid", "C001"}, {"custname", "客户甲"}, {"address", "客户地址"}});
    db.insert("cprovider", {{"providerid", "P001"}, {"provname", "供应商乙"}, {"address", "供方地址"}});
    db.insert("cconttype", {{"conttypeid", "01"}, {"conttype", "现货"}});
    QVERIFY(db.dm->trsk->locate("personnelid", "admin"));
    Clock::setNow(Now);
}

void press(QWidget *w, const char *button)
{
    QVERIFY2(Drive::press(w, button), button);
}

void type(QWidget *w, const char *edit, const QString &text)
{
    auto *e = w->findChild<QLineEdit *>(edit);
    QVERIFY2(e, edit);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    typeText(e, text);
}

QString currentField(DBGrid *grid) { return grid->columns().at(grid->currentIndex().column()).field; }

void typeCellAndEnter(DBGrid *grid, const QString &text)
{
    grid->edit(grid->currentIndex());
    auto *editor = QApplication::focusWidget() && grid->isAncestorOf(QApplication::focusWidget())
                       ? qobject_cast<QLineEdit *>(QApplication::focusWidget())
                       : nullptr;
    if (!editor)
        for (auto *e : grid->viewport()->findChildren<QLineEdit *>())
            if (e->isVisible())
                editor = e;
    QVERIFY(editor);
    editor->selectAll();
    typeText(editor, text);
    QPointer<QLineEdit> open(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!open || !open->isVisible());
}

void enterLine(DBGrid *grid, const QStringList &cells)
{
    for (const QString &text : cells)
        typeCellAndEnter(grid, text);
}

QString addFilled(TContractEntry *w, const Twin &t, const QString &contractNo)
{
    press(w, "SpeedItem1");
    type(w, "ComboEdit1", t.code);
    type(w, "DBEdit1", contractNo);
    type(w, "DBEdit10", "张三");
    return w->master()->value(t.numberField).toString();
}
