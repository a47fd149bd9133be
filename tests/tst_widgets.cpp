// The bound controls, grid and navigator over a data set, and the data set
// as its views follow it; the data set alone is tested in tests/data/.
#include "DBControls.h"
#include "DBGrid.h"
#include "DBNavigator.h"
#include "DataSetFixtures.h"
#include "DataSetModel.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Errors.h"
#include "Format.h"
#include "Fonts.h"
#include "Guard.h"
#include "TestDb.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QScopeGuard>
#include <QToolButton>
#include <QVBoxLayout>

class TestWidgets : public QObject {
    Q_OBJECT

private slots:
    void pendingUpdatesAreNeverReloadedAway();
    void detailThatCannotReadIsLeftEmpty_data();
    void detailThatCannotReadIsLeftEmpty();
    void movesFindTheRowAfterAReload();

    void dateEdit_data();
    void dateEdit();
    void calendarKeys_data();
    void calendarKeys();
    void calendarSpeaksChinese();
    void calendarMarksADayOfTheMonthShown_data();
    void calendarMarksADayOfTheMonthShown();
    void messageBoxIsAsWideAsItsTitle_data();
    void messageBoxIsAsWideAsItsTitle();
    void dateSetWhileFocusedTakesDigitsAtOnce_data();
    void dateSetWhileFocusedTakesDigitsAtOnce();
    void comboEditKeysOpenItsPicker_data();
    void comboEditKeysOpenItsPicker();
    void boundControlsWriteAsTyped();
    void closedRowTakesNoInput();
    void amountEditTakesOnlyAmountsWithinTheLimit();
    void amountPassesOnlyAmounts_data();
    void amountPassesOnlyAmounts();
    void comboEditExitedOnlyWhenTheUserLeaves();
    void codeFieldsTakeCapitals();
    void navigatorFollowsTheState();
    void navigatorShowsIcons_data();
    void navigatorShowsIcons();
    void navigatorAsksBeforeDeleting_data();
    void navigatorAsksBeforeDeleting();
    void navigatorRefusesADateNotWhole();
    void destroyedControlSeesNoRow();
    void comboEditShowsCapitals();
    void gridOpensOnItsFirstRow();
    void gridPickListOpensOnItsKey_data();
    void gridPickListOpensOnItsKey();
    void listGridHoldsTheRowBeingEdited();
    void freeTextComboKeysGoOnFromTheShownItem();

    // Keyboard
    void enterMovesOnAndPressesButtons_data();
    void enterMovesOnAndPressesButtons();
    void namedFontsDrawChinese_data();
    void namedFontsDrawChinese();
    // Lists read in pages
    void pagedFirstScreenBeforeItsCount();
    void gridFollowsRowsWithoutAReset_data();
    void gridFollowsRowsWithoutAReset();
};

// ---------------------------------------------------------------- data set under its views

void TestWidgets::pendingUpdatesAreNeverReloadedAway()
{
    TestDb db;
    ProviderModels d(db);
    d.detail.setCachedUpdates(true);
    d.detail.open();
    d.detail.append();
    d.detail.setValue("carmodel", "富康");
    QVERIFY(d.detail.post());
    DataSource source(&d.detail);
    DBNavigator nav;
    nav.setDataSource(&source);
    QVERIFY(!nav.button(DBNavigator::Refresh)->isEnabled());

    // Whatever would read the detail again leaves its pending row in place.
    d.master.edit();
    d.master.cancel();
    QVERIFY(!guard([&] { d.detail.refresh(); }));
    QVERIFY(!guard([&] { d.master.refresh(); }));
    QVERIFY(!guard([&] { d.master.next(); }));
    QCOMPARE(d.master.recNo(), 0);
    QVERIFY(d.detail.updatesPending());
    QCOMPARE(d.detail.recordCount(), 2);

    d.detail.applyUpdates();
    QVERIFY(nav.button(DBNavigator::Refresh)->isEnabled());
    d.master.next();
    QCOMPARE(d.detail.value("carmodel").toString(), QStringLiteral("捷达"));
    QCOMPARE(db.count("cprovcarmodel", "providerid = 'p1'"), 2);
}

void TestWidgets::detailThatCannotReadIsLeftEmpty_data() { addMasterActions(); }

void TestWidgets::detailThatCannotReadIsLeftEmpty()
{
    QFETCH(QString, action);
    TestDb db;
    ProviderModels d(db);
    d.detail.open();
    DataSource source(&d.detail);
    DBGrid grid;
    grid.setDataSource(&source);
    QCOMPARE(grid.model()->rowCount(), 1);
    int moves = 0;
    connect(&d.master, &DataSet::currentChanged, this, [&] { ++moves; });

    // The detail's statement fails from now on.
    db.exec("ALTER TABLE cprovcarmodel RENAME TO gone");
    const bool done = guard([&] { masterAction(d.master, action); });

    // The master did what was asked and said so; its caller got the error.
    QVERIFY(!done);
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY2(db.messages.lastText().contains("cprovcarmodel"), qPrintable(db.messages.lastText()));
    QCOMPARE(moves, 1);
    // The old master's lines are gone, from the data set and the grid.
    QVERIFY(d.detail.isActive());
    QVERIFY(d.detail.isEmpty());
    QCOMPARE(d.detail.state(), DataSet::Browse);
    QVERIFY(d.detail.value("carmodel").isNull());
    QCOMPARE(grid.model()->rowCount(), 0);

    // Readable again, the detail shows the lines of the master's row.
    db.exec("ALTER TABLE gone RENAME TO cprovcarmodel");
    if (action == "close")
        d.master.open();
    else
        d.detail.refresh();
    const QString now = d.master.isEmpty() || d.master.state() == DataSet::Insert
                            ? QString()
                            : d.master.value("providerid").toString();
    QCOMPARE(d.detail.recordCount(), now.isEmpty() ? 0 : 1);
    if (!now.isEmpty())
        QCOMPARE(d.detail.value("providerid").toString(), now);
    QCOMPARE(db.count("cprovcarmodel"), 2); // nothing of the lines was lost
}

void TestWidgets::movesFindTheRowAfterAReload()
{
    TestDb db;
    db.insert("model", {{"code", "a"}});
    db.insert("model", {{"code", "c"}});
    DataSet ds;
    ds.setTableName("model");
    ds.setIndexName("code");
    ds.afterPost = [&] { ds.refresh(); }; // b lands between a and c
    ds.open();
    DataSource source(&ds);
    DataSetModel model;
    model.setDataSource(&source);
    model.setColumns({{"型号代码", "code"}, {"型号名称", "model"}});
    model.setReadOnly(false);

    ds.append();
    ds.setValue("code", "b");
    QVERIFY(model.setData(model.index(1, 1), "for c"));
    QCOMPARE(ds.value("code").toString(), QStringLiteral("c"));
    QVERIFY(ds.post());
    QCOMPARE(db.scalar("SELECT group_concat(code || '=' || ifnull(model, '')) FROM "
                       "(SELECT * FROM model ORDER BY code)").toString(),
             QStringLiteral("a=,b=,c=for c"));

    ds.first();
    ds.append();
    ds.setValue("code", "ab");
    QVERIFY(ds.locate("code", "b"));
    QCOMPARE(ds.value("code").toString(), QStringLiteral("b"));
}

// ---------------------------------------------------------------- controls

namespace {

// A bound date edit on a car's factory date (stored "2020-01-02"), its
// caption beside it and a field after it, in an active window.
struct DateForm {
    explicit DateForm(TestDb &db)
    {
        db.insert("carinfor", {{"carserial_no", "c1"}, {"factory_date", "2020-01-02"}});
        ds.setTableName("carinfor");
        ds.open();
        auto *caption = new QLabel("出厂日期：", &window);
        edit = new DBDateEdit(&window);
        caption->setBuddy(edit);
        edit->setDataSource(&source, "factory_date");
        next = new QLineEdit(&window);
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w : std::initializer_list<QWidget *>{caption, edit, next})
            layout->addWidget(w);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus();
    }
    QString stored(TestDb &db) { return db.scalar("SELECT ifnull(factory_date, 'null') FROM carinfor").toString(); }

    DataSet ds;
    DataSource source{&ds};
    QWidget window;
    DBDateEdit *edit;
    QLineEdit *next;
};

// Bound controls of each kind on a customer's row (the data set not yet
// open), in a window.
struct CustomerForm {
    CustomerForm()
    {
        ds.setTableName("ccustomer");
        name->setDataSource(&source, "custname");
        remarks->setDataSource(&source, "remarks");
        zip->setItems({"100000", "200000"});
        zip->setDataSource(&source, "zip");
        linkman->setItems({"北京", "上海"});
        linkman->setDataSource(&source, "linkman");
        label->setDataSource(&source, "custname");
        date->setDataSource(&source, "register_date");
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w : std::initializer_list<QWidget *>{name, remarks, zip, linkman, label, date})
            layout->addWidget(w);
    }

    DataSet ds;
    DataSource source{&ds};
    QWidget window;
    DBEdit *name = new DBEdit(&window);
    DBMemo *remarks = new DBMemo(&window);
    DBComboBox *zip = new DBComboBox(&window, false); // free text
    DBComboBox *linkman = new DBComboBox(&window);    // list only
    DBText *label = new DBText(&window);
    DBDateEdit *date = new DBDateEdit(&window);
};

} // namespace

void TestWidgets::dateEdit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored"); // the row's date once posted; null when emptied
    QTest::addColumn<bool>("refused");
    QTest::newRow("emptied") << "" << DateEdit::blankText() << "null" << false;
    QTest::newRow("valid") << "20240501" << "2024-05-01" << "2024-05-01" << false;
    QTest::newRow("letters refused by the mask") << "ab" << DateEdit::blankText() << "null" << false;
    QTest::newRow("half typed") << "202405" << "2024-05-  " << "2020-01-02" << true;
    QTest::newRow("year only") << "2024" << "2024-  -  " << "2020-01-02" << true;
    QTest::newRow("no such month") << "20241345" << "2024-13-45" << "2020-01-02" << true;
    QTest::newRow("no such day") << "20240230" << "2024-02-30" << "2020-01-02" << true;
}

void TestWidgets::dateEdit()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QFETCH(bool, refused);
    TestDb db;
    DateForm form(db);
    DBDateEdit *edit = form.edit;
    QCOMPARE(edit->date(), QDate(2020, 1, 2));

    // Typed over the stored date.
    edit->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->displayText(), shown);

    // Leaving the field: a date that is not whole is refused by its caption
    // and the focus comes back; the text stays.
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(db.messages.texts(), refused ? QStringList{"出厂日期不是有效的日期!"} : QStringList());
    if (refused)
        QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(QApplication::focusWidget(), refused ? static_cast<QWidget *>(edit) : form.next);
    QCOMPARE(edit->displayText(), shown);

    // Another field of the row changing keeps it too; the row keeps its date.
    form.ds.setValue("color", "红");
    QCOMPARE(edit->displayText(), shown);
    form.ds.post();
    QCOMPARE(form.stored(db), stored);
    QCOMPARE(db.scalar("SELECT color FROM carinfor").toString(), QString("红"));
    // Once the row is written the field shows it again.
    QCOMPARE(edit->displayText(), stored == "null" ? DateEdit::blankText() : stored);

    edit->setDate(QDate());
    QCOMPARE(edit->displayText(), DateEdit::blankText());
}

void TestWidgets::calendarKeys_data()
{
    QTest::addColumn<int>("openKey"); // 0: its button
    QTest::addColumn<int>("openModifiers");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("date");
    QTest::newRow("button, Enter takes the day") << 0 << 0 << int(Qt::Key_Return) << "2020-01-03";
    QTest::newRow("F4, keypad Enter") << int(Qt::Key_F4) << 0 << int(Qt::Key_Enter) << "2020-01-03";
    QTest::newRow("Alt+Down, Escape changes nothing")
        << int(Qt::Key_Down) << int(Qt::AltModifier) << int(Qt::Key_Escape) << "2020-01-02";
}

void TestWidgets::calendarKeys()
{
    QFETCH(int, openKey);
    QFETCH(int, openModifiers);
    QFETCH(int, key);
    QFETCH(QString, date);
    TestDb db;
    DateForm form(db);
    DBDateEdit *edit = form.edit;
    if (openKey)
        QTest::keyClick(edit, Qt::Key(openKey), Qt::KeyboardModifiers(openModifiers));
    else
        edit->findChild<QAction *>("dropDown")->trigger();
    QWidget *popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QCOMPARE(popup, edit->calendar());
    QCOMPARE(edit->calendar()->selectedDate(), QDate(2020, 1, 2));

    // The keys go where the platform sends them: into the popup's window.
    QTest::keyClick(popup->windowHandle(), Qt::Key_Right);
    QCOMPARE(edit->calendar()->selectedDate(), QDate(2020, 1, 3));
    QTest::keyClick(popup->windowHandle(), Qt::Key(key));
    QVERIFY(!edit->calendar()->isVisible());
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(edit->displayText(), date);
    QCOMPARE(QApplication::focusWidget(), edit);
    QVERIFY(db.messages.messages.isEmpty());
    form.ds.post();
    QCOMPARE(form.stored(db), date);
}

// On a machine whose locale is not Chinese the calendar still names its
// months and weekdays in Chinese; the field's date stays as it is.
void TestWidgets::calendarSpeaksChinese()
{
    const QLocale was;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto restore = qScopeGuard([was] { QLocale::setDefault(was); });
    TestDb db;
    DateForm form(db);
    QTest::keyClick(form.edit, Qt::Key_F4);
    QCalendarWidget *calendar = form.edit->calendar();
    QVERIFY(calendar && calendar->isVisible());
    auto *month = calendar->findChild<QToolButton *>("qt_calendar_monthbutton");
    QVERIFY(month);
    QCOMPARE(month->text(), QString("一月"));
    auto *days = calendar->findChild<QTableView *>("qt_calendar_calendarview");
    QVERIFY(days);
    QStringList weekdays;
    for (int c = 0; c < days->model()->columnCount(); ++c)
        weekdays << days->model()->data(days->model()->index(0, c)).toString();
    QVERIFY2(weekdays.contains("周一") && weekdays.contains("周日"), qPrintable(weekdays.join(' ')));
    QTest::keyClick(calendar->windowHandle(), Qt::Key_Escape);
    QCOMPARE(form.edit->displayText(), QString("2020-01-02"));
}

void TestWidgets::calendarMarksADayOfTheMonthShown_data()
{
    // The field's date, how the page is turned (an arrow, or a month of the
    // month menu), and the day Enter takes then.
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("turn");
    QTest::addColumn<QString>("taken");
    QTest::newRow("previous month by its arrow") << QDate(2020, 1, 2) << "prevmonth" << "2019-12-02";
    QTest::newRow("next month, shorter") << QDate(2020, 1, 31) << "nextmonth" << "2020-02-29";
    QTest::newRow("month menu, back") << QDate(2026, 12, 11) << "11" << "2026-11-11";
    QTest::newRow("month menu, shorter") << QDate(2026, 3, 31) << "4" << "2026-04-30";
}

// The marked day follows the month shown, so Enter takes the day seen marked.
void TestWidgets::calendarMarksADayOfTheMonthShown()
{
    QFETCH(QDate, date);
    QFETCH(QString, turn);
    QFETCH(QString, taken);
    TestDb db;
    DateForm form(db);
    form.edit->setDate(date);
    QTest::keyClick(form.edit, Qt::Key_F4);
    QCalendarWidget *calendar = form.edit->calendar();
    QVERIFY(calendar && calendar->isVisible());
    if (turn.startsWith("prev") || turn.startsWith("next")) {
        auto *arrow = calendar->findChild<QToolButton *>("qt_calendar_" + turn);
        QVERIFY(arrow);
        arrow->click();
    } else {
        auto *month = calendar->findChild<QToolButton *>("qt_calendar_monthbutton");
        QVERIFY(month && month->menu());
        const QList<QAction *> months = month->menu()->actions();
        const auto it = std::find_if(months.begin(), months.end(),
                                     [&](QAction *a) { return a->data().toInt() == turn.toInt(); });
        QVERIFY(it != months.end());
        (*it)->trigger();
    }
    const QDate shown = QDate::fromString(taken, Qt::ISODate);
    QCOMPARE(calendar->monthShown(), shown.month());
    QCOMPARE(calendar->selectedDate(), shown);
    QTest::keyClick(calendar->windowHandle(), Qt::Key_Return);
    QVERIFY(!calendar->isVisible());
    QCOMPARE(form.edit->displayText(), taken);
    QVERIFY(form.ds.post());
    QCOMPARE(form.stored(db), taken);
}

void TestWidgets::messageBoxIsAsWideAsItsTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("a short text") << Msg::defaultTitle() << "密码错误";
    QTest::newRow("a long title") << "车辆销售管理系统提示信息" << "OK";
}

// The box leaves the title room beside the window manager's buttons, and
// still grows with a long text.
void TestWidgets::messageBoxIsAsWideAsItsTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, text);
    const auto box = Msg::newBox(nullptr, {title, Msg::Kind::Warning, text, QMessageBox::Ok, {}, QMessageBox::Ok});
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QVERIFY2(box->width() >= Msg::titleRoom(title, box->font()), qPrintable(QString::number(box->width())));
    box->hide();
}

void TestWidgets::dateSetWhileFocusedTakesDigitsAtOnce_data()
{
    // Where the cursor is put in the focused field before digits are typed:
    // by the program (a date or the blank mask set, the focus given back by a
    // refusal) or by the user in a blank field (End, a click right of the
    // mask or inside it, a blank field cleared again with the cursor at its
    // end), and a digit in the field before a click inside it.
    QTest::addColumn<QString>("put");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("blank mask set") << "set blank" << "20261130" << "2026-11-30";
    QTest::newRow("date set") << "set date" << "20261130" << "2026-11-30";
    QTest::newRow("focus back after a refusal") << "refusal" << "20250102" << "2025-01-02";
    QTest::newRow("blank, End") << "End" << "20261130" << "2026-11-30";
    QTest::newRow("blank, click right of the mask") << "click right" << "20261130" << "2026-11-30";
    QTest::newRow("blank, click inside the mask") << "click inside" << "20261130" << "2026-11-30";
    QTest::newRow("blank cleared again, cursor at its end") << "clear again" << "20261130"
                                                            << "2026-11-30";
    QTest::newRow("a digit in, then a click inside") << "digit, click inside" << "1" << "2   -1 -  ";
}

// Digits typed into the focused field go in from the first position while it
// holds no digit, or after the program put a date there; once a digit is in,
// from where the user puts the cursor.
void TestWidgets::dateSetWhileFocusedTakesDigitsAtOnce()
{
    QFETCH(QString, put);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TestDb db;
    DateForm form(db);
    DBDateEdit *edit = form.edit;
    QVERIFY(edit->hasFocus());
    // A click where the cursor would stand at that place of the mask.
    auto clickAt = [edit](int position) {
        edit->setCursorPosition(position);
        const QRect cursor = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        edit->end(false);
        QTest::mouseClick(edit, Qt::LeftButton, {}, cursor.center() + QPoint(position == 10 ? 8 : 0, 0));
    };
    edit->end(false);
    if (put == "set blank") {
        edit->setDate(QDate());
    } else if (put == "set date") {
        edit->setDate(QDate(2024, 5, 1));
    } else if (put == "refusal") {
        form.next->setFocus();
        edit->end(false);
        focusToMend(edit);
    } else {
        edit->setDate(QDate());
        if (put == "End") {
            QTest::keyClick(edit, Qt::Key_End);
        } else if (put == "click right") {
            clickAt(10);
        } else if (put == "click inside") {
            clickAt(6);
        } else if (put == "clear again") {
            edit->end(false);
            edit->clearDate();
        } else if (put == "digit, click inside") {
            QTest::keyClicks(edit, "2");
            clickAt(5);
        }
    }
    QVERIFY(edit->hasFocus());
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->displayText(), shown);
}


void TestWidgets::comboEditKeysOpenItsPicker_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("text");
    QTest::newRow("F4") << int(Qt::Key_F4) << 0 << 1 << "";
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier) << 1 << "";
    QTest::newRow("a letter is typed") << int(Qt::Key_A) << 0 << 0 << "a";
    QTest::newRow("Down alone") << int(Qt::Key_Down) << 0 << 0 << "";
}

void TestWidgets::comboEditKeysOpenItsPicker()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, clicks);
    QFETCH(QString, text);
    ComboEdit edit;
    int clicked = 0;
    connect(&edit, &ComboEdit::buttonClick, &edit, [&] { ++clicked; });
    QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked, clicks);
    QCOMPARE(edit.text(), text);
}

void TestWidgets::boundControlsWriteAsTyped()
{
    TestDb db;
    db.insert("ccustomer", {{"customerid", "c1"}, {"custname", "王五"}, {"register_date", "2024-03-04 10:00:00"}});
    CustomerForm form;
    DataSet &ds = form.ds;
    auto [name, remarks, zip, label, date] = std::tuple{form.name, form.remarks, form.zip, form.label, form.date};
    QWidget &window = form.window;
    ds.open();
    window.show();
    QCOMPARE(name->text(), QStringLiteral("王五"));
    QCOMPARE(date->date(), QDate(2024, 3, 4));

    // Typing into a stored row edits it; what stands in a field counts at once.
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Li");
    QCOMPARE(ds.state(), DataSet::Edit);
    QCOMPARE(label->text(), QStringLiteral("Li"));
    QTest::keyClicks(remarks, "vip");
    zip->lineEdit()->selectAll();
    QTest::keyClicks(zip, "300000");
    ds.post();
    QCOMPARE(db.scalar("SELECT custname || remarks || zip FROM ccustomer").toString(),
             QStringLiteral("Livip300000"));

    // A free-text combo stores what it shows, also when the text starts like an item.
    QApplication::setActiveWindow(&window);
    zip->setFocus();
    zip->lineEdit()->selectAll();
    QTest::keyClicks(zip->lineEdit(), "10");
    QCOMPARE(zip->currentText(), QStringLiteral("10"));
    ds.post();
    QCOMPARE(db.scalar("SELECT zip FROM ccustomer").toString(), QStringLiteral("10"));

    // Emptied text is stored as null; cancel shows the stored row again.
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete);
    ds.post();
    QVERIFY(db.scalar("SELECT custname FROM ccustomer").isNull());
    QTest::keyClicks(name, "x");
    ds.cancel();
    QCOMPARE(name->text(), QString());

    // The calendar sets the date.
    date->dropDown();
    date->calendar()->setSelectedDate(QDate(2024, 6, 7));
    emit date->calendar()->clicked(QDate(2024, 6, 7));
    ds.post();
    QCOMPARE(db.scalar("SELECT register_date FROM ccustomer").toString(), QStringLiteral("2024-06-07"));
}

// Bound to a data set that is not open, no control takes a key, a list or a
// calendar, and none says a word; open, they take typing again.
void TestWidgets::closedRowTakesNoInput()
{
    TestDb db;
    db.insert("ccustomer", {{"customerid", "c1"}});
    CustomerForm f;
    const QList<QWidget *> controls{f.name, f.remarks, f.zip, f.linkman, f.date};
    f.window.show();
    QApplication::setActiveWindow(&f.window);
    auto shown = [&] {
        return QStringList{f.name->text(), f.remarks->toPlainText(), f.zip->currentText(),
                           f.linkman->currentText(), f.date->displayText()};
    };
    const QStringList empty = shown();

    for (QWidget *w : controls) {
        w->setFocus();
        QTest::keyClicks(w, "1x");
        for (int k : {Qt::Key_Backspace, Qt::Key_Down, Qt::Key_F4})
            QTest::keyClick(w, Qt::Key(k));
        QVERIFY2(!QApplication::activePopupWidget(), w->metaObject()->className());
    }
    f.date->findChild<QAction *>("dropDown")->trigger();
    f.linkman->showPopup();
    QVERIFY(!QApplication::activePopupWidget());
    QApplication::clipboard()->setText("9");
    f.name->paste();
    QCOMPARE(shown(), empty);
    QCOMPARE(f.ds.state(), DataSet::Inactive);
    QVERIFY(db.messages.messages.isEmpty());

    f.ds.open();
    for (QWidget *w : controls) {
        w->setFocus();
        if (w == f.linkman)
            QTest::keyClick(w, Qt::Key_Down);
        else
            QTest::keyClicks(w, w == f.date ? "20240102" : "2");
    }
    QCOMPARE(f.ds.state(), DataSet::Edit);
    QVERIFY(f.ds.post());
    QCOMPARE(db.scalar("SELECT custname || remarks || zip || linkman || register_date FROM ccustomer").toString(),
             QStringLiteral("222北京2024-01-02"));
    QVERIFY(db.messages.messages.isEmpty());
}

void TestWidgets::codeFieldsTakeCapitals()
{
    TestDb db;
    db.insert("model", {{"code", "m1"}});
    DataSet ds;
    ds.setTableName("model");
    ds.open();
    DataSource source(&ds);
    QWidget window;
    auto *bound = new DBEdit(&window);
    bound->setUpperCase(true);
    bound->setDataSource(&source, "code");
    auto *plain = new QLineEdit(&window);
    setUpperCaseInput(plain);
    window.show();
    // A stored value is shown in capitals but stays as it is until typed over.
    QCOMPARE(bound->text(), QStringLiteral("M1"));
    QCOMPARE(ds.state(), DataSet::Browse);
    QCOMPARE(ds.value("code").toString(), QStringLiteral("m1"));

    for (QLineEdit *e : {static_cast<QLineEdit *>(bound), plain}) {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, "ab");
        QTest::keyClick(e, Qt::Key_Left);
        QTest::keyClicks(e, "x");
        QCOMPARE(e->text(), QStringLiteral("AXB"));
        QCOMPARE(e->cursorPosition(), 2);
    }
    QCOMPARE(ds.value("code").toString(), QStringLiteral("AXB"));
    QVERIFY(ds.post());
    QCOMPARE(db.scalar("SELECT code FROM model").toString(), QStringLiteral("AXB"));
}

void TestWidgets::amountEditTakesOnlyAmountsWithinTheLimit()
{
    TestDb db;
    db.insert("carinfor", {{"carserial_no", "CAR1"}});
    DataSet ds;
    ds.setTableName("carinfor");
    ds.open();
    DataSource source(&ds);
    QWidget window;
    auto *price = new DBEdit(&window);
    price->setAmount("入库价");
    price->setDataSource(&source, "carprice");
    auto *next = new QLineEdit(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    price->setFocus();

    // A ninth whole digit, a fifth decimal and a letter are refused as typed.
    QTest::keyClicks(price, "123456789");
    QCOMPARE(price->text(), QStringLiteral("12345678"));
    QCOMPARE(db.messages.texts(), QStringList{"入库价太大：最多8位整数！"});
    db.messages.clear();
    QTest::keyClicks(price, ".99999x");
    QCOMPARE(price->text(), QStringLiteral("12345678.9999"));
    QCOMPARE(db.messages.texts(), QStringList(2, "入库价必须是数字，最多4位小数！"));
    ds.post();
    QCOMPARE(Fmt::display(db.scalar("SELECT carprice FROM carinfor")), QStringLiteral("12345678.9999"));

    // A lone sign stores nothing and is cleared when the field is left.
    price->selectAll();
    QTest::keyClicks(price, "-");
    QVERIFY(ds.value("carprice").isNull());
    next->setFocus();
    QCOMPARE(price->text(), QString());
    ds.post();
    QVERIFY(db.scalar("SELECT carprice FROM carinfor").isNull());

    // A stored amount beyond the limit still shows as it is.
    db.exec("UPDATE carinfor SET carprice = 9.3e14");
    ds.refresh();
    QCOMPARE(price->text(), QStringLiteral("930000000000000"));
}

void TestWidgets::amountPassesOnlyAmounts_data()
{
    QTest::addColumn<bool>("amount");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << true << "" << "";
    QTest::newRow("blanks") << true << "  " << "";
    QTest::newRow("an amount") << true << " -12.5 " << "";
    QTest::newRow("a comma") << true << "1,5" << "预付金额必须是数字，最多4位小数！";
    QTest::newRow("a lone sign") << true << "-" << "预付金额必须是数字，最多4位小数！";
    QTest::newRow("beyond the limit") << true << "930000000000000" << "预付金额太大：最多8位整数！";
    QTest::newRow("no amount field") << false << "abc" << "";
}

void TestWidgets::amountPassesOnlyAmounts()
{
    QFETCH(bool, amount);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TestDb db(false);
    QWidget window;
    auto *edit = new DBEdit(&window);
    auto *other = new QLineEdit(&window);
    if (amount)
        edit->setAmount("预付金额");
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();
    edit->setText(text); // put there by the program, past the typing check
    db.messages.clear();
    QCOMPARE(edit->amountPasses(), message.isEmpty());
    QCOMPARE(db.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(QApplication::focusWidget(), message.isEmpty() ? other : static_cast<QWidget *>(edit));
}

void TestWidgets::comboEditExitedOnlyWhenTheUserLeaves()
{
    QWidget window;
    auto *edit = new ComboEdit(&window);
    window.show();
    int exits = 0;
    QObject::connect(edit, &ComboEdit::exited, [&] { ++exits; });
    // Another window, a menu or the program moving the focus is not leaving.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::OtherFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(edit, &out);
    }
    QCOMPARE(exits, 0);
    for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::BacktabFocusReason, Qt::MouseFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(edit, &out);
    }
    QCOMPARE(exits, 3);
}

namespace {

// The area table with the rows "a" and "b", open in the order of its key.
void openAreas(TestDb &db, DataSet &ds)
{
    db.insert("dq", {{"dqdm", "a"}});
    db.insert("dq", {{"dqdm", "b"}});
    ds.setTableName("dq");
    ds.setIndexName("PrimaryKey");
    ds.open();
}

} // namespace

void TestWidgets::navigatorFollowsTheState()
{
    TestDb db;
    DataSet ds;
    openAreas(db, ds);
    DataSource source(&ds);
    DBNavigator nav;
    nav.setDataSource(&source);
    QVERIFY(!nav.button(DBNavigator::Prior)->isEnabled());
    nav.button(DBNavigator::Next)->click();
    QCOMPARE(ds.recNo(), 1);
    QVERIFY(!nav.button(DBNavigator::Next)->isEnabled());
    nav.button(DBNavigator::Insert)->click();
    QVERIFY(nav.button(DBNavigator::Post)->isEnabled());
    QVERIFY(!nav.button(DBNavigator::Edit)->isEnabled());
    ds.setValue("dqdm", "c");
    nav.button(DBNavigator::Post)->click();
    QCOMPARE(db.count("dq"), 3);
    db.messages.answer(QMessageBox::Yes);
    nav.button(DBNavigator::Delete)->click();
    QCOMPARE(db.count("dq"), 2);
}

void TestWidgets::navigatorShowsIcons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("glyph"); // what a clerk could not read
    const struct {
        DBNavigator::Button button;
        const char *name, *hint, *glyph;
    } buttons[] = {{DBNavigator::First, "nbFirst", "第一条", "|<"},
                   {DBNavigator::Prior, "nbPrior", "上一条", "<"},
                   {DBNavigator::Next, "nbNext", "下一条", ">"},
                   {DBNavigator::Last, "nbLast", "最后一条", ">|"},
                   {DBNavigator::Insert, "nbInsert", "增加", "+"},
                   {DBNavigator::Delete, "nbDelete", "删除", "-"},
                   {DBNavigator::Edit, "nbEdit", "编辑", "^"},
                   {DBNavigator::Post, "nbPost", "保存", "√"},
                   {DBNavigator::Cancel, "nbCancel", "取消", "×"},
                   {DBNavigator::Refresh, "nbRefresh", "刷新", "R"}};
    for (const auto &b : buttons)
        QTest::newRow(b.name) << int(b.button) << QString(b.name) << QString::fromUtf8(b.hint)
                              << QString::fromUtf8(b.glyph);
}

// Each button shows an icon of the style, the hint as its tool tip, no glyph
// of text; each icon is its own.
void TestWidgets::navigatorShowsIcons()
{
    QFETCH(int, button);
    QFETCH(QString, name);
    QFETCH(QString, hint);
    QFETCH(QString, glyph);
    DBNavigator nav;
    nav.show();
    QToolButton *b = nav.button(DBNavigator::Button(button));
    QCOMPARE(b->objectName(), name);
    QCOMPARE(b->toolTip(), hint);
    QVERIFY(!b->icon().isNull());
    QVERIFY(!b->icon().pixmap(b->iconSize()).isNull());
    QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QVERIFY(b->text() != glyph);
    const QImage own = b->icon().pixmap(16).toImage();
    for (int other = DBNavigator::First; other <= DBNavigator::Refresh; ++other)
        if (other != button)
            QVERIFY2(nav.button(DBNavigator::Button(other))->icon().pixmap(16).toImage() != own,
                     qPrintable(nav.button(DBNavigator::Button(other))->objectName()));
}

void TestWidgets::navigatorAsksBeforeDeleting_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("hookAllows");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("no keeps the row") << int(QMessageBox::No) << true << QStringList{"a", "b"};
    QTest::newRow("yes deletes it") << int(QMessageBox::Yes) << true << QStringList{"a"};
    QTest::newRow("yes, then the window's hook refuses") << int(QMessageBox::Yes) << false
                                                         << QStringList{"a", "b"};
}

void TestWidgets::navigatorRefusesADateNotWhole()
{
    TestDb db;
    DateForm form(db);
    auto *nav = new DBNavigator(&form.window);
    nav->setDataSource(&form.source);
    form.edit->selectAll();
    QTest::keyClicks(form.edit, "202405");
    form.ds.setValue("color", "红");
    // Post and a new row both write the row: refused, nothing stored, text kept.
    for (const char *button : {"nbPost", "nbInsert"}) {
        db.messages.clear();
        nav->findChild<QToolButton *>(button)->click();
        QCOMPARE(db.messages.texts(), QStringList{"出厂日期不是有效的日期!"});
        QCOMPARE(form.ds.state(), DataSet::Edit);
        QVERIFY(db.scalar("SELECT color FROM carinfor").isNull());
        QCOMPARE(form.edit->displayText(), QString("2024-05-  "));
    }
    // Cancel gives the stored date back without a word.
    db.messages.clear();
    nav->findChild<QToolButton *>("nbCancel")->click();
    QVERIFY(db.messages.texts().isEmpty());
    QCOMPARE(form.edit->displayText(), QString("2020-01-02"));
}

void TestWidgets::navigatorAsksBeforeDeleting()
{
    QFETCH(int, answer);
    QFETCH(bool, hookAllows);
    QFETCH(QStringList, left);
    TestDb db;
    DataSet ds;
    openAreas(db, ds);
    ds.last();
    // The window's own question comes after the navigator's.
    int messagesAtHook = -1;
    ds.beforeDelete = [&] {
        messagesAtHook = int(db.messages.messages.size());
        return hookAllows;
    };
    DataSource source(&ds);
    DBNavigator nav;
    nav.setDataSource(&source);
    db.messages.answer(QMessageBox::StandardButton(answer));
    nav.button(DBNavigator::Delete)->click();

    QCOMPARE(db.messages.texts(), QStringList{"Delete record?"});
    const Msg::Record &asked = db.messages.messages.first();
    QCOMPARE(asked.kind, Msg::Kind::Question);
    QCOMPARE(asked.title, Msg::defaultTitle());
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(messagesAtHook, answer == QMessageBox::Yes ? 1 : -1);
    QCOMPARE(db.scalar("SELECT group_concat(dqdm) FROM (SELECT dqdm FROM dq ORDER BY 1)").toString(),
             left.join(','));
    QCOMPARE(ds.recordCount(), int(left.size()));
}

// ---------------------------------------------------------------- keyboard

namespace {

void keyToFocus(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key(key), modifiers);
}

} // namespace

void TestWidgets::enterMovesOnAndPressesButtons_data()
{
    QTest::addColumn<bool>("everyControl");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("focusAfter");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("memo");
    QTest::newRow("edit moves on") << false << "edit" << "memo" << 0 << false << "";
    QTest::newRow("memo keeps its Enter") << false << "memo" << "memo" << 0 << false << "\n";
    QTest::newRow("memo moves on in a window of every control")
        << true << "memo" << "check" << 0 << false << "";
    QTest::newRow("a check box is passed, not ticked") << false << "check" << "ok" << 0 << false << "";
    QTest::newRow("a focused button is pressed") << false << "ok" << "ok" << 1 << false << "";
    QTest::newRow("also in a window of every control") << true << "ok" << "ok" << 1 << false << "";
    QTest::newRow("a control keeping its Enter keeps it also unused")
        << false << "kept" << "kept" << 0 << false << "";
}

void TestWidgets::enterMovesOnAndPressesButtons()
{
    QFETCH(bool, everyControl);
    QFETCH(QString, from);
    QFETCH(QString, focusAfter);
    QFETCH(int, clicks);
    QFETCH(bool, checked);
    QFETCH(QString, memo);
    TestDb db;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new QLineEdit(&window);
    auto *memoEdit = new QPlainTextEdit(&window);
    auto *check = new QCheckBox(QStringLiteral("check"), &window);
    auto *ok = new QPushButton(QStringLiteral("ok"), &window);
    auto *kept = new QTableView(&window); // leaves Enter to its parents
    keepEnter(kept);
    for (QWidget *w : std::initializer_list<QWidget *>{edit, memoEdit, check, ok, kept})
        layout->addWidget(w);
    kept->setObjectName("kept");
    edit->setObjectName("edit");
    memoEdit->setObjectName("memo");
    check->setObjectName("check");
    ok->setObjectName("ok");
    int pressed = 0;
    connect(ok, &QPushButton::clicked, &window, [&] { ++pressed; });
    installEnterMovesOn(&window, everyControl ? EnterRule::EveryControl : EnterRule::ExceptMultiLine);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.findChild<QWidget *>(from)->setFocus();

    keyToFocus(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), focusAfter);
    QCOMPARE(pressed, clicks);
    QCOMPARE(check->isChecked(), checked);
    QCOMPARE(memoEdit->toPlainText(), memo);
    QVERIFY(edit->text().isEmpty());

    // The keypad's Enter is the same key.
    window.findChild<QWidget *>(from)->setFocus();
    keyToFocus(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), focusAfter);
    QCOMPARE(pressed, 2 * clicks);
}

namespace {

// A bound control whose widget part runs code after the bound part is gone,
// as a widget's own teardown can (focus moving on, children deleted).
struct DyingWidget : QWidget {
    std::function<void()> whileDying;
    ~DyingWidget() override { whileDying(); }
};

struct Probe : DyingWidget, BoundControl {
    explicit Probe(bool *gone, int *shownWhileGone)
        : BoundControl(new FieldLink(this, [gone, shownWhileGone](const QVariant &) {
              if (*gone)
                  ++*shownWhileGone;
          })),
          m_gone(gone)
    {
    }
    ~Probe() override { *m_gone = true; }
    bool *m_gone;
};

} // namespace

void TestWidgets::freeTextComboKeysGoOnFromTheShownItem()
{
    TestDb db;
    db.insert("cconttype", {{"conttypeid", "01"}, {"conttype", "B"}});
    DataSet table;
    table.setTableName("cconttype");
    DataSource source(&table);
    DBComboBox box(nullptr, false);
    box.setItems({"", "A", "B", "C"});
    box.setDataSource(&source, "conttype");
    table.open();
    QCOMPARE(box.currentText(), QString("B"));
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.currentText(), QString("C"));
    QCOMPARE(table.value("conttype").toString(), QString("C"));
}

void TestWidgets::gridOpensOnItsFirstRow()
{
    TestDb db;
    for (const char *id : {"01", "02", "03"})
        db.insert("cconttype", {{"conttypeid", id}, {"conttype", id}});
    for (int pageSize : {0, 2}) {
        DataSet table;
        table.setTableName("cconttype");
        table.setIndexName("PrimaryKey");
        table.setPageSize(pageSize);
        DataSource source(&table);
        DBGrid grid;
        grid.setColumns({{"类型", "conttype"}});
        grid.setDataSource(&source);
        table.open();
        QCOMPARE(grid.currentIndex().row(), 0);
        // The first Down goes to the second row, as the user sees it.
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(table.value("conttypeid").toString(), QString("02"));
        table.close();
        QCOMPARE(grid.model()->rowCount(), 0);
    }
}

void TestWidgets::gridPickListOpensOnItsKey_data()
{
    QTest::addColumn<QString>("held"); // "" for none
    QTest::addColumn<bool>("byF2");    // the cell opened by F2 before
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("openKey");
    QTest::addColumn<int>("openModifiers");
    QTest::addColumn<int>("endKey"); // in the list
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("stored"); // "" for none
    const int f4 = Qt::Key_F4, down = Qt::Key_Down, alt = Qt::AltModifier;
    const int enter = Qt::Key_Return, escape = Qt::Key_Escape;
    QTest::newRow("F4 on the cell's value") << "捷达" << false << "" << f4 << 0 << enter << "捷达" << "捷达";
    QTest::newRow("F4 in the cell opened by F2")
        << "捷达" << true << "" << f4 << 0 << int(Qt::Key_Enter) << "捷达" << "捷达";
    QTest::newRow("Alt+Down on a value not listed: the first")
        << "富康" << false << "" << down << alt << enter << "宝来" << "宝来";
    QTest::newRow("F4 on an empty cell, Escape") << "" << false << "" << f4 << 0 << escape << "宝来" << "";
    QTest::newRow("F4 after a beginning typed: the first it begins")
        << "宝来" << false << "捷" << f4 << 0 << enter << "捷达王" << "捷达王";
    QTest::newRow("Alt+Down after a beginning typed, Escape keeps the typing")
        << "宝来" << false << "捷" << down << alt << escape << "捷达王" << "捷";
    QTest::newRow("Latin typed in small letters") << "宝来" << false << "san" << f4 << 0 << enter << "Santana"
                                                  << "Santana";
    QTest::newRow("nothing begins so: the first, Escape keeps the typing")
        << "捷达" << false << "X" << f4 << 0 << escape << "宝来" << "X";
}

// F4 or Alt+Down on a pick-list cell opens its list at once, also with no
// editor open yet; Enter takes the entry marked, Escape closes the list and
// leaves the cell as it was, still open for typing.
void TestWidgets::gridPickListOpensOnItsKey()
{
    QFETCH(QString, held);
    QFETCH(bool, byF2);
    QFETCH(QString, typed);
    QFETCH(int, openKey);
    QFETCH(int, openModifiers);
    QFETCH(int, endKey);
    QFETCH(QString, marked);
    QFETCH(QString, stored);
    TestDb db;
    db.insert("cconttype", {{"conttypeid", "01"}, {"conttype", held.isEmpty() ? QVariant() : held}});
    DataSet table;
    table.setTableName("cconttype");
    DataSource source(&table);
    DBGrid grid;
    GridColumn column{"类型", "conttype"};
    column.pickList = QStringList{"宝来", "捷达王", "捷达", "Santana"};
    grid.setColumns({column});
    grid.setDataSource(&source);
    grid.setReadOnly(false);
    table.open();
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    QCOMPARE(grid.currentIndex().row(), 0);
    if (byF2)
        QTest::keyClick(&grid, Qt::Key_F2);
    for (const QChar ch : typed) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(openKey), Qt::KeyboardModifiers(openModifiers));
    QPointer<QComboBox> box = qobject_cast<QComboBox *>(grid.indexWidget(grid.currentIndex())); // the cell's editor
    QVERIFY(box && grid.isAncestorOf(box));
    QWidget *popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QApplication::processEvents(); // the platform's activation of the list's window
    QCOMPARE(box->view()->currentIndex().data().toString(), marked);
    const QString shown = typed.isEmpty() ? held : typed;
    QCOMPARE(box->currentText(), shown);

    QTest::keyClick(popup->windowHandle(), Qt::Key(endKey));
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(QApplication::focusWidget(), box); // the cell is still being typed
    QCOMPARE(box->currentText(), endKey == Qt::Key_Escape ? shown : marked);
    QCOMPARE(table.value("conttype").toString(), endKey == Qt::Key_Escape ? shown : marked);
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), &grid);
    if (table.isEditing())
        QVERIFY(table.post());
    const QVariant now = db.scalar("SELECT conttype FROM cconttype");
    QCOMPARE(now.isNull() ? QString() : now.toString(), stored);
    QVERIFY(db.messages.messages.isEmpty());
}

// A read-only grid lists the rows beside the fields of its current row: while
// that row is edited it neither moves nor posts it, and is off; a grid whose
// cells are typed into moves (and posts) as before.
void TestWidgets::listGridHoldsTheRowBeingEdited()
{
    TestDb db;
    for (const char *id : {"01", "02", "03"})
        db.insert("cconttype", {{"conttypeid", id}, {"conttype", id}});
    DataSet table;
    table.setTableName("cconttype");
    table.setIndexName("PrimaryKey");
    DataSource source(&table);
    DBGrid list, cells, off;
    for (DBGrid *g : {&list, &cells, &off}) {
        g->setColumns({{"类型", "conttype"}});
        g->setDataSource(&source);
    }
    cells.setReadOnly(false);
    off.setEnabled(false); // kept off by its window
    table.open();
    table.next();
    table.setValue("conttype", "typed");
    QVERIFY(!list.isEnabled());
    QVERIFY(cells.isEnabled());

    // Whatever moves the list's current row leaves the row being edited.
    list.setCurrentIndex(list.model()->index(0, 0));
    QCoreApplication::processEvents();
    QCOMPARE(table.state(), DataSet::Edit);
    QCOMPARE(table.recNo(), 1);
    QCOMPARE(list.currentIndex().row(), 1);
    QCOMPARE(db.count("cconttype", "conttype = 'typed'"), 0);

    table.cancel();
    QVERIFY(list.isEnabled());
    QVERIFY(!off.isEnabled());
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(table.recNo(), 2);

    // A row added is held too; the grid of cells posts it on moving.
    table.append();
    table.setValue("conttypeid", "04");
    QVERIFY(!list.isEnabled());
    cells.setCurrentIndex(cells.model()->index(0, 0));
    QCOMPARE(table.state(), DataSet::Browse);
    QCOMPARE(db.count("cconttype"), 4);
    QVERIFY(list.isEnabled());
    QCOMPARE(list.currentIndex().row(), 0);
}

void TestWidgets::comboEditShowsCapitals()
{
    ComboEdit edit;
    QTest::keyClicks(&edit, "p0a");
    QCOMPARE(edit.text(), QString("p0a")); // as typed until asked
    edit.clear();
    edit.setUpperCase(true);
    QTest::keyClicks(&edit, "p0a");
    QCOMPARE(edit.text(), QString("P0A"));
    edit.setCursorPosition(1);
    QTest::keyClicks(&edit, "x");
    QCOMPARE(edit.text(), QString("PX0A"));
    QCOMPARE(edit.cursorPosition(), 2);
}

void TestWidgets::destroyedControlSeesNoRow()
{
    TestDb db;
    db.insert("dq", {{"dqdm", "a"}});
    db.insert("dq", {{"dqdm", "b"}});
    DataSet ds;
    ds.setTableName("dq");
    ds.open();
    DataSource source(&ds);
    bool gone = false;
    int shownWhileGone = 0;
    auto *probe = new Probe(&gone, &shownWhileGone);
    probe->setDataSource(&source, "dqdm");
    probe->whileDying = [&] { ds.next(); };
    delete probe;
    QCOMPARE(ds.recNo(), 1);
    QCOMPARE(shownWhileGone, 0);
}

// ---------------------------------------------------------------- fonts

void TestWidgets::namedFontsDrawChinese_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("黑体") << "黑体";
    QTest::newRow("宋体") << "宋体";
    QTest::newRow("Arial") << "Arial";
}

void TestWidgets::namedFontsDrawChinese()
{
    QFETCH(QString, family);
    Fonts::installSubstitutes();
    Fonts::installSubstitutes(); // a second call changes nothing
    QCOMPARE(QFont::substitutes(family).size(), Fonts::standIns(family).size());

    // The font that draws the name is the font itself or one of its stand-ins,
    // installed, and it holds both Chinese and Latin letters.
    const QFont font(family);
    const QString drawn = QFontInfo(font).family();
    QVERIFY2(drawn == family || Fonts::standIns(family).contains(drawn), qPrintable(drawn));
    QVERIFY(QFontDatabase::families().contains(drawn));
    const QRawFont han = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
    QVERIFY(han.supportsCharacter(QChar(0x5408))); // 合
    QVERIFY(QRawFont::fromFont(font).supportsCharacter(QLatin1Char('A')));
}

// ---------------------------------------------------------------- paged lists

void TestWidgets::pagedFirstScreenBeforeItsCount()
{
    TestDb db;
    fillCustomers(db, 1000);
    DataSet ds;
    DataSource source(&ds);
    DBGrid grid;
    grid.setColumns({{"代码", "customerid"}});
    grid.setDataSource(&source);
    QSignalSpy counted(&ds, &DataSet::counted);
    openCustomers(ds);
    // The first page is listed and readable; nothing has counted yet.
    QVERIFY(!ds.countKnown());
    QCOMPARE(grid.model()->rowCount(), 100);
    QCOMPARE(ds.value("customerid").toString(), customersInOrder(db).first());
    QVERIFY(!ds.isEmpty());
    QCOMPARE(counted.count(), 0);
    // Rows saved meanwhile by another desk are in the count when it comes:
    // it ran after the first screen, in a later turn of the event loop.
    {
        OtherDesk other;
        QCOMPARE(other.exec("INSERT INTO ccustomer (customerid, custname) VALUES ('d1', 'zz')"), QString());
    }
    QTRY_COMPARE(counted.count(), 1);
    QVERIFY(ds.countKnown());
    QCOMPARE(grid.model()->rowCount(), 1001);
    QCOMPARE(ds.recordCount(), 1001);
    QCOMPARE(grid.model()->index(1000, 0).data().toString(), QStringLiteral("d1"));

    // Asked before then, the count is right at once, and is not taken again.
    ds.close();
    openCustomers(ds);
    ds.close();
    counted.clear();
    openCustomers(ds); // the count of the list read first is dropped
    QCOMPARE(ds.recordCount(), 1001);
    QCOMPARE(grid.model()->rowCount(), 1001);
    ds.last();
    QCOMPARE(ds.value("customerid").toString(), QStringLiteral("d1"));
    QCOMPARE(counted.count(), 1);
    QCoreApplication::processEvents(); // the deferred counts of the lists read before
    QCOMPARE(counted.count(), 1);
    // Read again on a row past the first page: it is found by counting, while
    // the views take the rows anew.
    ds.refresh();
    QCOMPARE(ds.value("customerid").toString(), QStringLiteral("d1"));
    QCOMPARE(grid.model()->rowCount(), 1001);
    QCOMPARE(grid.currentIndex().row(), 1000);
    QCOMPARE(counted.count(), 2);

    // A status label shows the count once known, and no stale one meanwhile.
    QLabel label(QStringLiteral("共:5 条记录"));
    DataSet listed;
    showCountOn(&label, &listed, QStringLiteral("共:%1 条记录"));
    openCustomers(listed);
    QVERIFY(label.text().isEmpty());
    QTRY_COMPARE(label.text(), QStringLiteral("共:1001 条记录"));

    // A row deleted before the count: counted once, with the row gone.
    DataSet early;
    openCustomers(early);
    early.deleteRecord();
    QCOMPARE(early.recordCount(), db.count("ccustomer"));
    QCOMPARE(early.recordCount(), 1000);

    // A list within its first page is counted by reading it.
    DataSet few;
    QSignalSpy fewCounted(&few, &DataSet::counted);
    openCustomers(few, 2000);
    QVERIFY(few.countKnown());
    QCOMPARE(fewCounted.count(), 1);
    QCOMPARE(few.recordCount(), 1000);
}

void TestWidgets::gridFollowsRowsWithoutAReset_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("typing a cell") << "type";
    QTest::newRow("posting") << "post";
    QTest::newRow("appending") << "append";
    QTest::newRow("cancelling a new row") << "cancel";
    QTest::newRow("deleting") << "delete";
}

void TestWidgets::gridFollowsRowsWithoutAReset()
{
    QFETCH(QString, action);
    TestDb db;
    fillCustomers(db, 300);
    DataSet ds;
    openCustomers(ds);
    DataSource source(&ds);
    DBGrid grid;
    grid.setColumns({{"代码", "customerid"}, {"名称", "custname"}, {"电话", "phone"}});
    grid.setDataSource(&source);
    grid.setReadOnly(false);
    grid.resize(400, 200);
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    ds.setRecNo(150);
    QTRY_COMPARE(grid.currentIndex().row(), 150);
    grid.setCurrentIndex(grid.model()->index(150, 2));
    grid.scrollTo(grid.currentIndex(), QAbstractItemView::PositionAtCenter);
    QScrollBar *bar = grid.verticalScrollBar();
    const int scrolled = bar->value();
    QVERIFY(scrolled > 0);
    const QString key = ds.value("customerid").toString();

    QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(grid.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(grid.model(), &QAbstractItemModel::rowsRemoved);
    if (action == "type" || action == "post") {
        QTest::keyClick(&grid, Qt::Key_1);
        QVERIFY(QApplication::focusWidget() != &grid); // the cell's editor
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_2);
        QCOMPARE(ds.state(), DataSet::Edit);
        QCOMPARE(ds.value("phone").toString(), QStringLiteral("12"));
        QVERIFY(!changed.isEmpty());
        for (const QList<QVariant> &signal : std::as_const(changed)) {
            QCOMPARE(signal.at(0).toModelIndex().row(), 150); // that row only
            QCOMPARE(signal.at(1).toModelIndex().row(), 150);
        }
        if (action == "post") {
            QTest::keyClick(&grid, Qt::Key_Return);
            QVERIFY(ds.post());
            QCOMPARE(db.scalar("SELECT phone FROM ccustomer WHERE customerid = :k", {{":k", key}})
                         .toString(),
                     QStringLiteral("12"));
        }
        QCOMPARE(grid.currentIndex().row(), 150);
        QCOMPARE(ds.value("customerid").toString(), key);
    } else if (action == "append" || action == "cancel") {
        ds.append();
        QCOMPARE(inserted.size(), 1);
        QTRY_COMPARE(grid.currentIndex().row(), 300);
        if (action == "cancel") {
            ds.cancel();
            QCOMPARE(removed.size(), 1);
            QTRY_COMPARE(grid.currentIndex().row(), 150);
            QCOMPARE(ds.value("customerid").toString(), key);
        }
    } else {
        const QString next = ds.valueAt(151, "customerid").toString();
        ds.deleteRecord();
        QCOMPARE(removed.size(), 1);
        QCOMPARE(grid.currentIndex().row(), 150);
        QCOMPARE(ds.value("customerid").toString(), next);
        QCOMPARE(grid.model()->index(150, 0).data().toString(), next);
    }
    QCOMPARE(resets.size(), 0);
    if (action != "append" && action != "cancel") // those show the new row
        QCOMPARE(bar->value(), scrolled);
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
