// The cells that the keyboard and the mouse reach in the grids whose rows
// carry hidden or read-only columns, driven through the real windows.
#include "Codes.h"
#include "Db.h"
#include "Drive.h"
#include "Format.h"
#include "Modal.h"
#include "SaleFixture.h"
#include "Ubuycontchg.h"
#include "Uinaddcost.h"
#include "Uoutaddcost.h"
#include "Uprovxx.h"
#include "Usalecontchg.h"
#include "Uselecar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QTabWidget>
#include <functional>
#include <memory>

using namespace SaleFixture;

namespace {

// One grid of one window, with what the rows stand on and how a user reaches it.
struct Road {
    std::unique_ptr<QWidget> window;
    DBGrid *grid = nullptr;
    // Brings the focus into the grid as a user does.
    std::function<void()> enter;
    // Reads the rows of the grid's table, key fields included.
    QString rowsSql;
    bool asksToPrint = false; // the change windows ask "是否打印?" on saving
    int saveKey = Qt::Key_2;  // with Alt, the speed button that saves
};

void activate(QWidget *w)
{
    QApplication::setActiveWindow(w);
    QApplication::processEvents();
}

// Each character to the widget with the focus, as typing does.
void typeKeys(const QString &text)
{
    for (const QChar ch : text) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(focus, &press);
    }
}

void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key(k), m);
}

// A key to the open drop-down list, where the platform sends it.
void keyToList(int k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QWidget *popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QTest::keyClick(popup->windowHandle(), Qt::Key(k), m);
}

void clickCell(DBGrid *grid, int row, int column)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QVERIFY(cell.isValid());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

QString rows(const QString &sql)
{
    QSqlQuery q = Db::exec(sql);
    QStringList out;
    while (q.next()) {
        QStringList cells;
        for (int c = 0; c < q.record().count(); ++c)
            cells << (q.isNull(c) ? QString("-") : Fmt::display(q.value(c)));
        out << cells.join('/');
    }
    return out.join(' ');
}

// 采购直接成本管理: Alt+1, Enter on the car in the picker.
Road directCost(TestDb &db, bool storedRow, bool twoRows)
{
    db.insert("carinfor", {{"carserial_no", "A1"}, {"carstatus", codeValue(CarStatus::InStock)}, {"carprice", 100000}});
    db.insert("carinstock", {{"carin_no", "RS1"}, {"carserial_no", "A1"}});
    db.insert("subject", {{"subjectid", "11"}, {"subjectname", "路桥费"}, {"subjecttype", "车辆附加费"}});
    if (storedRow)
        db.insert("addcost", {{"addcostid", "AS2026120001"}, {"carserial_no", "A1"},
                              {"subjectname", "购置税"}, {"cost", 100}});
    if (twoRows)
        db.insert("addcost", {{"addcostid", "AS2026120002"}, {"carserial_no", "A1"}, {"subjectname", "运费"}});
    Road r;
    auto *w = new Tfinaddcost;
    r.window.reset(w);
    r.grid = w->dbgrid1;
    r.enter = [w] {
        activate(w);
        auto picked = whenModal<Tfselecar>([](Tfselecar *d) { QTest::keyClick(d->Edit1, Qt::Key_Return); });
        key(Qt::Key_1, Qt::AltModifier);
        QVERIFY(*picked);
        activate(w);
    };
    r.rowsSql = "SELECT addcostid, carin_no, carserial_no, subjectname, cost FROM addcost ORDER BY addcostid";
    return r;
}

// 销售附加业务管理: Alt+1 chooses the sold car; the presents by their page, clicked.
Road servicesOrPresents(TestDb &db, bool presents, bool storedRow, bool twoRows)
{
    addCar(db, "CAR1", CarStatus::Sold);
    db.insert("subject", {{"subjectid", "21"}, {"subjectname", "雨伞"}, {"subjecttype", "赠品"}});
    if (storedRow && presents)
        db.insert("presentcost", {{"presentid", "ZS1"}, {"carout_no", "XS1"}, {"carserial_no", "CAR1"},
                                  {"subjectname", "雨伞"}, {"cost", 10}});
    if (storedRow && !presents)
        db.insert("servicecost", {{"serviceid", "VS1"}, {"carserial_no", "CAR1"},
                                  {"subjectname", "洗车"}, {"cost", 10}});
    if (twoRows && presents)
        db.insert("presentcost", {{"presentid", "ZS2"}, {"carserial_no", "CAR1"}});
    if (twoRows && !presents)
        db.insert("servicecost", {{"serviceid", "VS2"}, {"carserial_no", "CAR1"}});
    Road r;
    auto *w = new Tfoutaddcost;
    w->chooseCar = [](QWidget *) { return std::optional<QString>("CAR1"); };
    r.window.reset(w);
    r.grid = presents ? w->DBGrid4 : w->DBGrid1;
    r.enter = [w, presents] {
        activate(w);
        key(Qt::Key_1, Qt::AltModifier);
        if (!presents)
            return;
        w->PageControl1->setCurrentIndex(1);
        // A click into the grid, on its first row's number where there is a row.
        if (w->tb_present->isEmpty())
            QTest::mouseClick(w->DBGrid4->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        else
            clickCell(w->DBGrid4, 0, Drive::column(w->DBGrid4, "presentid"));
    };
    r.rowsSql = presents
                    ? "SELECT substr(presentid, 1, 2), carout_no, carserial_no, subjectname, cost FROM presentcost"
                    : "SELECT substr(serviceid, 1, 2), carserial_no, subjectname, cost FROM servicecost";
    return r;
}

// 采购合同变更 and 销售合同变更: Tab from the delivery date into the lines.
Road contractChange(TestDb &db, bool sales, bool twoRows)
{
    const QString master = sales ? "csalecontract" : "cbuycontract";
    const QString lines = sales ? "csalecontdetail" : "cbuycontdetail";
    const QString serial = sales ? "salecont_no" : "buycont_no";
    db.insert(master, {{serial, "N1"}, {"contract_no", "HT-1"}, {"isfinished", codeValue(ContractProgress::Saved)}});
    db.insert(lines, {{serial, "N1"}, {"cartype", "轿车"}, {"carmodel", "桑塔纳"}, {"producingarea", "上海"},
                      {"unit", "辆"}, {"unitprice", 100000}, {"qty", 2}});
    if (twoRows)
        db.insert(lines, {{serial, "N1"}, {"carmodel", "捷达"}});
    Road r;
    TContractChange *w = sales ? static_cast<TContractChange *>(new Tfsalecontchg)
                               : static_cast<TContractChange *>(new Tfbuycontchg);
    r.window.reset(w);
    r.grid = w->DBGrid1;
    r.enter = [w] {
        activate(w);
        w->DBDateEdit1->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Tab);
    };
    r.rowsSql = QString("SELECT %1, cartype, carmodel, producingarea, unit, unitprice, qty FROM %2")
                    .arg(serial, lines);
    r.asksToPrint = true;
    return r;
}

// 供应商 register: a provider with a model, in editing, the focus into its model grid.
Road providerModels(TestDb &db, bool twoRows)
{
    for (const char *model : {"宝来", "富康", "捷达"})
        db.insert("model", {{"code", model}, {"model", model}});
    db.insert("cprovider", {{"providerid", "P0"}, {"provname", "一汽"}});
    db.insert("cprovcarmodel", {{"providerid", "P0"}, {"carmodel", "富康"}});
    if (twoRows)
        db.insert("cprovcarmodel", {{"providerid", "P0"}, {"carmodel", "捷达"}});
    Road r;
    auto *w = new Tfprovxx;
    r.window.reset(w);
    r.grid = w->DBGrid2;
    r.enter = [w] {
        activate(w);
        QVERIFY(Drive::type(w, "DBEdit2", "一汽集团"));
        w->DBGrid2->setFocus(Qt::TabFocusReason);
    };
    r.rowsSql = "SELECT providerid, carmodel FROM cprovcarmodel";
    r.saveKey = Qt::Key_3;
    return r;
}

// The road by its name; two rows where the keys are to move between rows.
Road road(TestDb &db, const QString &name, bool twoRows = false)
{
    if (name.startsWith("direct cost"))
        return directCost(db, name.endsWith("stored row"), twoRows);
    if (name.startsWith("services") || name.startsWith("presents"))
        return servicesOrPresents(db, name.startsWith("presents"), name.endsWith("stored row"), twoRows);
    if (name.startsWith("purchase change") || name.startsWith("sales change"))
        return contractChange(db, name.startsWith("sales"), twoRows);
    return providerModels(db, twoRows);
}

void show(Road &r)
{
    r.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(r.window.get()));
}

// The grid's current cell, and that it is one a user may type into.
bool onEnterableCell(DBGrid *grid)
{
    const QModelIndex current = grid->currentIndex();
    if (!current.isValid())
        return false;
    const GridColumn &c = grid->columns().at(current.column());
    return c.visible && !c.readOnly && !grid->isColumnHidden(current.column());
}

QString currentField(DBGrid *grid)
{
    const QModelIndex current = grid->currentIndex();
    return current.isValid() ? grid->columns().at(current.column()).field : QString();
}

// The rows by their contents, sorted: drawn numbers follow the clock's month.
QString storedRows(const Road &r)
{
    QStringList out = rows(r.rowsSql).replace(QRegularExpression("\\b(AS)\\d+"), "\\1").split(' ');
    out.sort();
    return out.join(' ');
}

void moveTo(DBGrid *grid, int row, const QString &field)
{
    grid->setCurrentIndex(grid->model()->index(row, Drive::column(grid, field)));
    QCOMPARE(currentField(grid), field);
}

void save(Road &r)
{
    key(r.saveKey, Qt::AltModifier);
    QApplication::processEvents();
}

} // namespace

class TestGridCells : public QObject {
    Q_OBJECT

private slots:
    void typedTextLandsInTheCellsTyped_data();
    void typedTextLandsInTheCellsTyped();
    void noKeyOrClickReachesAHiddenOrReadOnlyCell_data();
    void noKeyOrClickReachesAHiddenOrReadOnlyCell();
    void hiddenAndReadOnlyColumnsAreNeverEditable();
    void rowKeysStartANewRowBelowTheStoredOnes_data();
    void rowKeysStartANewRowBelowTheStoredOnes();
    void escapeGivesTheCellBackWhatItHeld_data();
    void escapeGivesTheCellBackWhatItHeld();
    void rowKeysEndTheTypingOfACell_data();
    void rowKeysEndTheTypingOfACell();
    void pickListOpensOnItsKey_data();
    void pickListOpensOnItsKey();
};

void TestGridCells::typedTextLandsInTheCellsTyped_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("direct cost, stored row")
        << "路桥费" << "300" << "AS2026120001/-/A1/购置税/100" << "AS2026120001/-/A1/路桥费/300";
    QTest::newRow("direct cost, first row") << "路桥费" << "300" << "" << "AS" + QString("/-/A1/路桥费/300");
    QTest::newRow("services, stored row") << "保养" << "300" << "VS/CAR1/洗车/10" << "VS/CAR1/保养/300";
    QTest::newRow("services, first row") << "保养" << "300" << "" << "VS/CAR1/保养/300";
    QTest::newRow("presents, stored row") << "脚垫" << "80" << "ZS/XS1/CAR1/雨伞/10" << "ZS/XS1/CAR1/脚垫/80";
    QTest::newRow("presents, first row") << "脚垫" << "80" << "" << "ZS/-/CAR1/脚垫/80";
    QTest::newRow("purchase change line") << "120000" << "5" << "N1/轿车/桑塔纳/上海/辆/100000/2"
                                          << "N1/轿车/桑塔纳/上海/辆/120000/5";
    QTest::newRow("sales change line") << "120000" << "0" << "N1/轿车/桑塔纳/上海/辆/100000/2"
                                       << "N1/轿车/桑塔纳/上海/辆/120000/0";
}

// Into the grid, type, Tab, type, Alt+2: the typed cells hold what was typed,
// the hidden and read-only ones what they held.
void TestGridCells::typedTextLandsInTheCellsTyped()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, before);
    QFETCH(QString, after);
    TestDb db;
    seed(db);
    Road r = road(db, QTest::currentDataTag());
    show(r);
    const QString ym = db.scalar("SELECT YM_S FROM XTDH").toString();
    QCOMPARE(rows(r.rowsSql), before);
    r.enter();
    QVERIFY(r.grid->hasFocus());
    if (r.grid->dataSet()->isEmpty())
        QVERIFY(!r.grid->currentIndex().isValid());
    else
        QVERIFY2(onEnterableCell(r.grid), qPrintable(currentField(r.grid)));
    typeKeys(first);
    key(Qt::Key_Tab);
    typeKeys(second);
    if (r.asksToPrint)
        db.messages.answer(QMessageBox::No);
    key(Qt::Key_2, Qt::AltModifier);
    QApplication::processEvents();
    QString stored = rows(r.rowsSql);
    if (QString(QTest::currentDataTag()) == "direct cost, first row")
        stored.replace("AS" + ym + "0001", "AS");
    QCOMPARE(stored, after);
    QCOMPARE(db.messages.texts(), r.asksToPrint ? QStringList{"是否打印?"} : QStringList());
}

void TestGridCells::noKeyOrClickReachesAHiddenOrReadOnlyCell_data()
{
    // The row's name is the road to the grid.
    QTest::addColumn<QString>("name");
    for (const char *name : {"direct cost, stored row", "services, stored row", "presents, stored row",
                             "purchase change line", "sales change line", "provider models"})
        QTest::newRow(name) << QString(name);
}

// Every key that moves in a grid, and a click on every visible cell, leave its
// current cell on a column that can be typed into.
void TestGridCells::noKeyOrClickReachesAHiddenOrReadOnlyCell()
{
    TestDb db;
    seed(db);
    QFETCH(QString, name);
    Road r = road(db, name, true);
    show(r);
    r.enter();
    DBGrid *grid = r.grid;
    QVERIFY(grid->hasFocus());
    QCOMPARE(grid->dataSet()->recordCount(), 2);
    QVERIFY2(onEnterableCell(grid), qPrintable(currentField(grid)));

    const QList<QPair<int, Qt::KeyboardModifiers>> keys{
        {Qt::Key_Home, Qt::NoModifier},    {Qt::Key_Left, Qt::NoModifier},
        {Qt::Key_End, Qt::NoModifier},     {Qt::Key_Right, Qt::NoModifier},
        {Qt::Key_Home, Qt::ControlModifier}, {Qt::Key_End, Qt::ControlModifier},
        {Qt::Key_Up, Qt::NoModifier},      {Qt::Key_Down, Qt::NoModifier},
        {Qt::Key_PageUp, Qt::NoModifier},  {Qt::Key_PageDown, Qt::NoModifier},
        {Qt::Key_Tab, Qt::NoModifier},     {Qt::Key_Tab, Qt::NoModifier},
        {Qt::Key_Tab, Qt::NoModifier},     {Qt::Key_Backtab, Qt::ShiftModifier},
        {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Backtab, Qt::ShiftModifier},
        {Qt::Key_Home, Qt::NoModifier},    {Qt::Key_Backtab, Qt::ShiftModifier}};
    for (const auto &[k, m] : keys) {
        // Tab from the last cell passes the focus on, as in every grid.
        if (!grid->hasFocus())
            grid->setFocus(Qt::TabFocusReason);
        key(k, m);
        const QString what = QString("after key %1, on %2").arg(QKeySequence(k | m).toString(), currentField(grid));
        QVERIFY2(onEnterableCell(grid), qPrintable(what));
    }
    // From the first row's Home, Tab walks every enterable cell of the row and
    // then the next row's.
    grid->setFocus();
    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_Home);
    QStringList enterable;
    for (const GridColumn &c : grid->columns())
        if (c.visible && !c.readOnly)
            enterable << c.field;
    QStringList walked, expected;
    for (int i = 0; i < 2 * enterable.size(); ++i) {
        if (i > 0)
            key(Qt::Key_Tab);
        walked << QString::number(grid->currentIndex().row()) + ":" + currentField(grid);
        expected << QString::number(i / enterable.size()) + ":" + enterable.at(i % enterable.size());
    }
    QCOMPARE(walked, expected);
    // And Shift+Tab back.
    for (int i = 2 * enterable.size() - 1; i > 0; --i) {
        QCOMPARE(QString::number(grid->currentIndex().row()) + ":" + currentField(grid), expected.at(i));
        key(Qt::Key_Backtab, Qt::ShiftModifier);
    }
    QCOMPARE(QString::number(grid->currentIndex().row()) + ":" + currentField(grid), expected.first());

    // A click on any visible cell chooses its row, on a column that can be typed into.
    for (int row = 0; row < 2; ++row)
        for (int c = 0; c < grid->columns().size(); ++c) {
            if (grid->isColumnHidden(c))
                continue;
            clickCell(grid, row, c);
            QCOMPARE(grid->currentIndex().row(), row);
            QVERIFY2(onEnterableCell(grid), qPrintable(grid->columns().at(c).field));
        }
}

// Nothing reaches a hidden or read-only column through the model either.
void TestGridCells::hiddenAndReadOnlyColumnsAreNeverEditable()
{
    TestDb db;
    seed(db);
    for (const char *name : {"direct cost, stored row", "presents, stored row", "purchase change line",
                             "provider models"}) {
        Road r = road(db, name);
        show(r);
        r.enter();
        DBGrid *grid = r.grid;
        QVERIFY(grid->model()->rowCount() > 0);
        for (int c = 0; c < grid->columns().size(); ++c) {
            const GridColumn &column = grid->columns().at(c);
            const bool editable = grid->model()->flags(grid->model()->index(0, c)) & Qt::ItemIsEditable;
            QCOMPARE(editable, column.visible && !column.readOnly);
        }
        r.window.reset();
    }
}

void TestGridCells::rowKeysStartANewRowBelowTheStoredOnes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rowKey");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    for (auto [tag, k] : {std::pair{"Down on the last row", int(Qt::Key_Down)},
                          std::pair{"Insert", int(Qt::Key_Insert)}}) {
        QTest::addRow("direct cost, %s", tag)
            << "direct cost, stored row" << k << "路桥费" << "300" << "AS/-/A1/购置税/100"
            << "AS/-/A1/购置税/100 AS/-/A1/路桥费/300";
        QTest::addRow("services, %s", tag) << "services, stored row" << k << "保养" << "300"
                                           << "VS/CAR1/洗车/10" << "VS/CAR1/保养/300 VS/CAR1/洗车/10";
        QTest::addRow("presents, %s", tag) << "presents, stored row" << k << "脚垫" << "80"
                                           << "ZS/XS1/CAR1/雨伞/10" << "ZS/-/CAR1/脚垫/80 ZS/XS1/CAR1/雨伞/10";
    }
}

// Down on the last row, or Insert, starts a new row on its first enterable
// cell: "保存" stores it beside the stored one, "取消" drops only the new row.
void TestGridCells::rowKeysStartANewRowBelowTheStoredOnes()
{
    QFETCH(QString, name);
    QFETCH(int, rowKey);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, before);
    QFETCH(QString, after);
    TestDb db;
    seed(db);
    Road r = road(db, name);
    show(r);
    const auto stored = [&r] { return storedRows(r); };
    QCOMPARE(stored(), before);
    r.enter();
    DBGrid *grid = r.grid;
    QVERIFY(grid->hasFocus());
    key(Qt::Key_End, Qt::ControlModifier);

    // 取消 while the new row is being typed: the stored row stays as it was.
    key(rowKey);
    QCOMPARE(grid->dataSet()->recordCount(), 2);
    QCOMPARE(grid->currentIndex().row(), 1);
    QVERIFY2(onEnterableCell(grid), qPrintable(currentField(grid)));
    typeKeys(first);
    key(Qt::Key_3, Qt::AltModifier);
    QApplication::processEvents();
    QCOMPARE(grid->dataSet()->recordCount(), 1);
    QCOMPARE(stored(), before);

    grid->setFocus();
    key(rowKey);
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(currentField(grid), QString("subjectname"));
    typeKeys(first);
    key(Qt::Key_Tab);
    typeKeys(second);
    key(Qt::Key_2, Qt::AltModifier);
    QApplication::processEvents();
    QCOMPARE(stored(), after);
    QCOMPARE(db.messages.texts(), QStringList());
}

void TestGridCells::escapeGivesTheCellBackWhatItHeld_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("after");
    QTest::newRow("direct cost") << "direct cost, stored row" << "路桥费" << "AS2026120001/-/A1/路桥费/100";
    QTest::newRow("services") << "services, stored row" << "保养" << "VS/CAR1/保养/10";
    QTest::newRow("purchase change line") << "purchase change line" << "120000"
                                          << "N1/轿车/桑塔纳/上海/辆/120000/2";
}

// Escape in a cell being typed drops that cell's typing, the row's other
// cells keep theirs, and the save stores what the cells show.
void TestGridCells::escapeGivesTheCellBackWhatItHeld()
{
    QFETCH(QString, name);
    QFETCH(QString, first);
    QFETCH(QString, after);
    TestDb db;
    seed(db);
    Road r = road(db, name);
    show(r);
    const QString before = rows(r.rowsSql);
    r.enter();
    DBGrid *grid = r.grid;
    QVERIFY(grid->hasFocus());
    key(Qt::Key_Home);
    const QModelIndex firstCell = grid->currentIndex();
    const QString firstHeld = firstCell.data().toString();
    // A cell of a row not yet changed: the row is as stored again.
    typeKeys("X");
    QVERIFY(grid->isAncestorOf(QApplication::focusWidget()));
    key(Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), grid);
    QCOMPARE(firstCell.data().toString(), firstHeld);
    QVERIFY(!grid->dataSet()->isModified());

    // A cell of a row changed in another cell: only this cell goes back.
    typeKeys(first);
    key(Qt::Key_Tab);
    const QModelIndex secondCell = grid->currentIndex();
    const QString secondHeld = secondCell.data().toString();
    typeKeys("X");
    key(Qt::Key_Escape);
    QCOMPARE(secondCell.data().toString(), secondHeld);
    QCOMPARE(firstCell.data().toString(), first);
    if (r.asksToPrint)
        db.messages.answer(QMessageBox::No);
    key(Qt::Key_2, Qt::AltModifier);
    QApplication::processEvents();
    QVERIFY(before != after);
    QCOMPARE(rows(r.rowsSql), after);
}

void TestGridCells::rowKeysEndTheTypingOfACell_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rowKey");
    QTest::addColumn<QString>("field"); // the last row's cell typed when the key comes
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("next");  // typed after the key, Tab between cells
    QTest::addColumn<QString>("after"); // the rows stored then
    const int down = Qt::Key_Down, insert = Qt::Key_Insert, up = Qt::Key_Up;
    const QString next = "运费\t9";
    QTest::newRow("direct cost, Down on the amount") << "direct cost, stored row" << down << "cost" << "300"
                                                     << next << "AS/-/A1/购置税/300 AS/-/A1/运费/9";
    QTest::newRow("direct cost, Insert on the amount") << "direct cost, stored row" << insert << "cost" << "300"
                                                       << next << "AS/-/A1/购置税/300 AS/-/A1/运费/9";
    QTest::newRow("direct cost, Down on the fee name") << "direct cost, stored row" << down << "subjectname"
                                                       << "路" << next << "AS/-/A1/路/100 AS/-/A1/运费/9";
    QTest::newRow("direct cost, Up on the fee name") << "direct cost, stored row" << up << "subjectname" << "路"
                                                     << next << "AS/-/A1/路/- AS/-/A1/运费/9";
    QTest::newRow("services, Down on the amount") << "services, stored row" << down << "cost" << "300" << next
                                                  << "VS/CAR1/洗车/300 VS/CAR1/运费/9";
    QTest::newRow("services, Insert on the fee name") << "services, stored row" << insert << "subjectname" << "保"
                                                      << next << "VS/CAR1/保/10 VS/CAR1/运费/9";
    QTest::newRow("presents, Insert on the amount") << "presents, stored row" << insert << "cost" << "80" << next
                                                    << "ZS/-/CAR1/运费/9 ZS/XS1/CAR1/雨伞/80";
    QTest::newRow("presents, Down on the fee name") << "presents, stored row" << down << "subjectname" << "伞"
                                                    << next << "ZS/-/CAR1/运费/9 ZS/XS1/CAR1/伞/10";
    QTest::newRow("presents, Up on the amount") << "presents, stored row" << up << "cost" << "80" << next
                                                << "ZS/-/CAR1/-/80 ZS/XS1/CAR1/运费/9";
    // The register's menu item answers Insert there.
    QTest::newRow("provider models, Insert on the model")
        << "provider models" << insert << "carmodel" << "捷" << "宝来" << "P0/宝来 P0/捷";
}

// Down, Up or Insert in a cell being typed end its typing, the cell keeping
// what was typed, and then act as in the grid: a new row starts on its first
// column that takes typing, whatever column the cursor stood in; Up goes to
// the row above. What is typed next lands there, and 保存 stores it.
void TestGridCells::rowKeysEndTheTypingOfACell()
{
    QFETCH(QString, name);
    QFETCH(int, rowKey);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, next);
    QFETCH(QString, after);
    TestDb db;
    seed(db);
    Road r = road(db, name, rowKey == Qt::Key_Up); // Up from the second row
    show(r);
    r.enter();
    DBGrid *grid = r.grid;
    QVERIFY(grid->hasFocus());
    QString firstColumn;
    for (const GridColumn &c : grid->columns())
        if (firstColumn.isEmpty() && c.visible && !c.readOnly)
            firstColumn = c.field;
    const int last = grid->dataSet()->recordCount() - 1;
    moveTo(grid, last, field);
    typeKeys(typed);
    QVERIFY(grid->isAncestorOf(QApplication::focusWidget())); // the cell's editor
    key(rowKey);
    QCOMPARE(QApplication::focusWidget(), grid);
    QCOMPARE(grid->model()->index(last, Drive::column(grid, field)).data().toString(), typed);
    if (rowKey == Qt::Key_Up) {
        QCOMPARE(grid->currentIndex().row(), last - 1);
        moveTo(grid, last - 1, firstColumn);
    } else {
        QCOMPARE(grid->dataSet()->recordCount(), last + 2);
        QCOMPARE(grid->currentIndex().row(), last + 1);
        QCOMPARE(currentField(grid), firstColumn);
    }
    const QStringList cells = next.split('\t');
    for (int i = 0; i < cells.size(); ++i) {
        if (i > 0)
            key(Qt::Key_Tab);
        typeKeys(cells.at(i));
    }
    save(r);
    QCOMPARE(storedRows(r), after);
    QCOMPARE(db.messages.texts(), QStringList());
}

void TestGridCells::pickListOpensOnItsKey_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("openKey");
    QTest::addColumn<int>("openModifiers");
    QTest::addColumn<QString>("typed"); // before the key; "" opens the cell by the key
    QTest::addColumn<QString>("marked");
    QTest::addColumn<int>("moves"); // Down (or Up, below 0) in the list, then Enter
    QTest::addColumn<QString>("after");
    const int f4 = Qt::Key_F4, down = Qt::Key_Down, alt = Qt::AltModifier;
    QTest::newRow("direct cost, a name begun, F4")
        << "direct cost, stored row" << "subjectname" << f4 << 0 << "路" << "路桥费" << 0
        << "AS/-/A1/路桥费/100";
    QTest::newRow("services, a name not listed, Alt+Down, Down")
        << "services, stored row" << "subjectname" << down << alt << "" << "保养" << 1 << "VS/CAR1/上牌/10";
    QTest::newRow("presents, the listed name, F4, Up")
        << "presents, stored row" << "subjectname" << f4 << 0 << "" << "雨伞" << -1 << "ZS/XS1/CAR1/脚垫/10";
    QTest::newRow("provider models, 捷 typed, F4")
        << "provider models" << "carmodel" << f4 << 0 << "捷" << "捷达" << 0 << "P0/捷达";
    QTest::newRow("provider models, the listed model, Alt+Down")
        << "provider models" << "carmodel" << down << alt << "" << "富康" << 0 << "P0/富康";
}

// F4 or Alt+Down on a pick-list cell opens its list at once, marking the
// first entry that begins with what was typed, else the cell's value, else
// the first; Enter takes the entry marked and 保存 stores it.
void TestGridCells::pickListOpensOnItsKey()
{
    QFETCH(QString, name);
    QFETCH(QString, field);
    QFETCH(int, openKey);
    QFETCH(int, openModifiers);
    QFETCH(QString, typed);
    QFETCH(QString, marked);
    QFETCH(int, moves);
    QFETCH(QString, after);
    TestDb db;
    seed(db);
    Road r = road(db, name);
    show(r);
    r.enter();
    DBGrid *grid = r.grid;
    QVERIFY(grid->hasFocus());
    moveTo(grid, 0, field);
    typeKeys(typed);
    key(openKey, Qt::KeyboardModifiers(openModifiers));
    QPointer<QComboBox> box = qobject_cast<QComboBox *>(grid->indexWidget(grid->currentIndex())); // the cell's editor
    QVERIFY(box && grid->isAncestorOf(box));
    QVERIFY(QApplication::activePopupWidget());
    QApplication::processEvents(); // the platform's activation of the list's window
    QCOMPARE(box->view()->currentIndex().data().toString(), marked);
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    QCOMPARE(entries, grid->columns().at(Drive::column(grid, field)).pickList);
    // The cell shows what it held or what was typed until an entry is taken.
    const QString shown = typed.isEmpty() ? grid->currentIndex().data().toString() : typed;
    QCOMPARE(box->currentText(), shown);
    for (int i = 0; i < qAbs(moves); ++i)
        keyToList(moves > 0 ? Qt::Key_Down : Qt::Key_Up);
    keyToList(Qt::Key_Return);
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(QApplication::focusWidget(), box);
    key(Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&] { return !box || !box->isVisible(); })); // closed from the event loop
    save(r);
    QCOMPARE(storedRows(r), after);
    QCOMPARE(db.messages.texts(), QStringList());
}

QTEST_MAIN(TestGridCells)
#include "tst_gridcells.moc"
