// Fields and grid columns hold the numbers and headings they show, at the
// program's font.
#include "GridColumns.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "TestDb.h"
#include "USysRights.h"
#include "Uarea.h"
#include "Ubackprov.h"
#include "Ubackprovsele.h"
#include "Ubgsxx.h"
#include "Ubuycont.h"
#include "Ubuycontchg.h"
#include "Ubuycontsele.h"
#include "Ubuyinout.h"
#include "Ucarin.h"
#include "Ucarincheck.h"
#include "Ucarinsele.h"
#include "Ucarout.h"
#include "Ucaroutcheck.h"
#include "Ucaroutsele.h"
#include "Ucartype.h"
#include "Uconttype.h"
#include "Ucustaccountsele.h"
#include "Ucustback.h"
#include "Ucustcheck.h"
#include "Ucustoutgo.h"
#include "Ucustxx.h"
#include "Udelf.h"
#include "Uinaddcost.h"
#include "Umodel.h"
#include "Uoutaddcost.h"
#include "Uperson.h"
#include "Uprovaccountsele.h"
#include "Uprovcheck.h"
#include "Uprovxx.h"
#include "Uqry_selecust.h"
#include "Uqry_seleprov.h"
#include "Usalecont.h"
#include "Usalecontchg.h"
#include "Usalecontsele.h"
#include "Usalesyj.h"
#include "Usaleyjtj.h"
#include "Uselebuycont.h"
#include "Uselecar.h"
#include "Uselecust.h"
#include "Uselesalecont.h"
#include "Useleprov.h"
#include "Usubject.h"
#include "Utax.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <functional>
#include <memory>

namespace {

using Make = std::function<QWidget *()>;

template <class T>
Make make()
{
    return [] { return new T; };
}

// Every window of the program and every picker.
const QList<QPair<const char *, Make>> &windows()
{
    static const QList<QPair<const char *, Make>> all{
        {"Tfarea", make<Tfarea>()}, {"Tfbackprov", make<Tfbackprov>()},
        {"Tfbackprovsele", make<Tfbackprovsele>()}, {"Tfbgsxx", make<Tfbgsxx>()},
        {"Tfbuycont", make<Tfbuycont>()}, {"Tfbuycontchg", make<Tfbuycontchg>()},
        {"Tfbuycontsele", make<Tfbuycontsele>()}, {"Tfbuyinout", make<Tfbuyinout>()},
        {"Tfcarin", make<Tfcarin>()}, {"Tfcarincheck", make<Tfcarincheck>()},
        {"Tfcarinsele", make<Tfcarinsele>()}, {"Tfcarout", make<Tfcarout>()},
        {"Tfcaroutcheck", make<Tfcaroutcheck>()}, {"Tfcaroutsele", make<Tfcaroutsele>()},
        {"Tfcartype", make<Tfcartype>()}, {"Tfconttype", make<Tfconttype>()},
        {"Tfcustaccountsele", make<Tfcustaccountsele>()}, {"Tfcustback", make<Tfcustback>()},
        {"Tfcustcheck", make<Tfcustcheck>()}, {"Tfcustoutgo", make<Tfcustoutgo>()},
        {"Tfcustxx", make<Tfcustxx>()}, {"Tfdelf", make<Tfdelf>()},
        {"Tfinaddcost", make<Tfinaddcost>()}, {"Tfmodel", make<Tfmodel>()},
        {"Tfoutaddcost", make<Tfoutaddcost>()}, {"Tfperson", make<Tfperson>()},
        {"Tfprovaccountsele", make<Tfprovaccountsele>()}, {"Tfprovcheck", make<Tfprovcheck>()},
        {"Tfprovxx", make<Tfprovxx>()}, {"Tfsalecont", make<Tfsalecont>()},
        {"Tfsalecontchg", make<Tfsalecontchg>()}, {"Tfsalecontsele", make<Tfsalecontsele>()},
        {"Tfsalesyj", make<Tfsalesyj>()}, {"Tfsaleyjtj", make<Tfsaleyjtj>()},
        {"Tfsubject", make<Tfsubject>()}, {"Tftax", make<Tftax>()},
        {"TfSysRights", make<TfSysRights>()}, {"Tfqry_selecust", make<Tfqry_selecust>()},
        {"Tfqry_seleprov", make<Tfqry_seleprov>()}, {"Tfselecust", make<Tfselecust>()},
        {"Tfseleprov", make<Tfseleprov>()}, {"Tfselebuycont", make<Tfselebuycont>()},
        {"Tfselesalecont", make<Tfselesalecont>()}, {"Tfselecar", make<Tfselecar>()},
    };
    return all;
}

Make find(const QString &name)
{
    for (const auto &[n, make] : windows())
        if (name == QLatin1String(n))
            return make;
    return [] { return nullptr; };
}

// A window as the program shows it: a child window laid out in a large
// document area, a picker as a dialog of its own.
class Shown {
public:
    explicit Shown(const QString &name) : window(find(name)())
    {
        if (!window)
            return;
        if (window->isWindow()) {
            window->show();
        } else {
            area.resize(1280, 1000);
            area.show();
            area.addSubWindow(window)->show();
        }
        QCoreApplication::processEvents();
    }
    ~Shown() { delete window; }

    QMdiArea area;
    QWidget *window;
};

// The field scrolls nothing to show the whole text: from its first
// character to its last the cursor moves by the text's own width.
bool showsWhole(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    edit->setCursorPosition(int(text.size()));
    edit->grab(); // painting scrolls the text to the cursor where it must
    const int end = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    edit->setCursorPosition(0);
    edit->grab();
    const int start = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    const int width = edit->fontMetrics().horizontalAdvance(text);
    return end - start >= width - 1 && end < edit->width();
}

// An item view leaves the focus frame's margin and a pixel free on either
// side of a cell's text, a header the header margin on either side.
int cellWidthFor(const DBGrid *grid, const QString &text)
{
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    return grid->fontMetrics().horizontalAdvance(text) + 2 * margin;
}

int headingWidthFor(const DBGrid *grid, const QString &title)
{
    const QHeaderView *header = grid->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    return header->fontMetrics().horizontalAdvance(title) + 2 * margin;
}

} // namespace

class TestWidths : public QObject {
    Q_OBJECT

private slots:
    void codeFieldsShowTheWholeValue_data();
    void codeFieldsShowTheWholeValue();
    void carTextsShowTheWholeValue_data();
    void carTextsShowTheWholeValue();
    void gridColumnsHoldTheirNumbers_data();
    void gridColumnsHoldTheirNumbers();
    void everyGridColumnHoldsItsHeading_data();
    void everyGridColumnHoldsItsHeading();
    void codeTablesShowEveryColumn_data();
    void codeTablesShowEveryColumn();
    void columnWidthsFollowTheFont_data();
    void columnWidthsFollowTheFont();
};

void TestWidths::codeFieldsShowTheWholeValue_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("value");
    const QString vin = "LFV2A21K6D4000001", chassis = "WDDGF8AB5DR000001",
                  engine = "1HGCM82633A004352", serial = "LSVAM4187C2184841",
                  contract = "CG-2026-000123456789";
    const struct {
        const char *window, *edit;
        QString value;
    } rows[] = {
        {"Tfcarout", "DBEdit14", vin},       {"Tfcarout", "DBEdit15", chassis},
        {"Tfcarout", "DBEdit16", engine},    {"Tfcarout", "DBEdit1", serial},
        {"Tfcarin", "DBEdit14", vin},        {"Tfcarin", "DBEdit15", chassis},
        {"Tfcarin", "DBEdit16", engine},     {"Tfcarin", "DBEdit1", serial},
        {"Tfcarincheck", "DBEdit7", serial}, {"Tfcarincheck", "DBEdit8", chassis},
        {"Tfcarincheck", "DBEdit9", engine}, {"Tfcaroutcheck", "DBEdit8", chassis},
        {"Tfcaroutcheck", "DBEdit9", engine}, {"Tfinaddcost", "DBEdit1", serial},
        {"Tfinaddcost", "DBEdit2", chassis}, {"Tfinaddcost", "DBEdit3", engine},
        {"Tfoutaddcost", "DBEdit1", serial}, {"Tfoutaddcost", "DBEdit2", chassis},
        {"Tfoutaddcost", "DBEdit3", engine}, {"Tfselecar", "Edit1", serial},
        {"Tfselecar", "Edit2", chassis},     {"Tfcarinsele", "Edit3", chassis},
        {"Tfcaroutsele", "Edit3", chassis},  {"Tfbackprovsele", "Edit1", serial},
        {"Tfbackprovsele", "Edit2", chassis},
        // identity, account and voucher numbers
        {"Tfcustxx", "DBEdit9", "220102198001011234"}, {"Tfprovxx", "DBEdit9", "22010219800101123X"},
        {"Tfbgsxx", "DBEdit9", "6222021001123456789"}, {"Tfdelf", "DBEdit2", serial},
        {"Tfcarout", "DBEdit10", "12345678901234567890"},
        // paper contract numbers, typed or put in by a picker
        {"Tfbuycont", "DBEdit1", contract},       {"Tfsalecont", "DBEdit1", contract},
        {"Tfbuycontchg", "DBEdit1", contract},    {"Tfsalecontchg", "DBEdit1", contract},
        {"Tfcarin", "ComboEdit2", contract},      {"Tfcarout", "ComboEdit2", contract},
        {"Tfcarincheck", "DBEdit2", contract},    {"Tfcaroutcheck", "DBEdit2", contract},
        {"Tfcustoutgo", "ComboEdit2", contract},  {"Tfbuyinout", "ComboEdit2", contract},
        {"Tfcarinsele", "ComboEdit2", contract},  {"Tfcaroutsele", "ComboEdit2", contract},
        {"Tfbuycontsele", "Edit1", contract},     {"Tfsalecontsele", "edit1", contract},
        {"Tfselebuycont", "edit1", contract},     {"Tfselesalecont", "Edit1", contract},
    };
    for (const auto &r : rows)
        QTest::addRow("%s %s", r.window, r.edit) << r.window << r.edit << r.value;
}

void TestWidths::codeFieldsShowTheWholeValue()
{
    QFETCH(QString, window);
    QFETCH(QString, edit);
    QFETCH(QString, value);
    TestDb db;
    Shown shown(window);
    QVERIFY(shown.window);
    auto *field = shown.window->findChild<QLineEdit *>(edit);
    QVERIFY(field);
    QVERIFY2(showsWhole(field, value), qPrintable(QStringLiteral("%1 px for %2 px of text")
                                                      .arg(field->width())
                                                      .arg(field->fontMetrics().horizontalAdvance(value))));
}

void TestWidths::carTextsShowTheWholeValue_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    for (const char *w : {"Tfbackprov", "Tfcustback"}) {
        QTest::addRow("%s vin_no", w) << w << "vin_no" << "LFV2A21K6D4000001";
        QTest::addRow("%s chassis_no", w) << w << "chassis_no" << "WDDGF8AB5DR000001";
        QTest::addRow("%s engine_no", w) << w << "engine_no" << "1HGCM82633A004352";
    }
    const QString contract = "CG-2026-000123456789";
    QTest::addRow("Tfbackprov buycontract_no") << "Tfbackprov" << "buycontract_no" << contract;
    QTest::addRow("Tfcustback salecontract_no") << "Tfcustback" << "salecontract_no" << contract;
}

// The returns show the car's numbers and its contract's as texts, with room
// for them before a car is chosen.
void TestWidths::carTextsShowTheWholeValue()
{
    QFETCH(QString, window);
    QFETCH(QString, field);
    QFETCH(QString, value);
    TestDb db;
    Shown shown(window);
    QVERIFY(shown.window);
    DBText *text = nullptr;
    for (DBText *t : shown.window->findChildren<DBText *>())
        if (t->link()->field() == field)
            text = t;
    QVERIFY(text);
    text->setText(value);
    QVERIFY(text->contentsRect().width() >= text->fontMetrics().horizontalAdvance(value));
}

void TestWidths::gridColumnsHoldTheirNumbers_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    const QString contract = "CG-2026-000123456789";
    const struct {
        const char *window, *grid, *field;
        QString value;
    } rows[] = {
        {"Tfselebuycont", "DBGrid1", "contract_no", contract},
        {"Tfselesalecont", "DBGrid1", "contract_no", contract},
        {"Tfbuycontsele", "DBGrid1", "contract_no", contract},
        {"Tfsalecontsele", "DBGrid1", "contract_no", contract},
        {"Tfprovaccountsele", "DBGrid1", "buycont_no", contract},
        {"Tfcustaccountsele", "DBGrid1", "salecont_no", contract},
        {"Tfprovaccountsele", "DBGrid1", "certificate_no", "LSVAM4187C2184841"},
        {"Tfprovcheck", "DBGrid1", "buycont_no", contract},
        {"Tfprovcheck", "DBGrid2", "buycont_no", contract},
        {"Tfcustcheck", "DBGrid1", "salecont_no", contract},
        {"Tfcustcheck", "DBGrid2", "salecont_no", contract},
        {"Tfcarinsele", "RxDBGrid1", "carin_no", "RS2026120001"},
        {"Tfcarinsele", "RxDBGrid1", "buycontract_no", contract},
        {"Tfcarinsele", "RxDBGrid1", "vin_no", "LFV2A21K6D4000001"},
        {"Tfcaroutsele", "RxDBGrid1", "salecontract_no", contract},
        {"Tfcaroutsele", "RxDBGrid1", "vin_no", "LFV2A21K6D4000001"},
        {"Tfbackprovsele", "RxDBGrid1", "buycontract_no", contract},
        {"Tfselecar", "DBGrid1", "chassis_no", "WDDGF8AB5DR000001"},
        {"Tfqry_selecust", "DBGrid1", "legalpersonid", "220102198001011234"},
        {"Tfselecust", "DBGrid_cust", "phone", "0431-85000001"},
    };
    for (const auto &r : rows)
        QTest::addRow("%s %s %s", r.window, r.grid, r.field) << r.window << r.grid << r.field << r.value;
}

void TestWidths::gridColumnsHoldTheirNumbers()
{
    QFETCH(QString, window);
    QFETCH(QString, grid);
    QFETCH(QString, field);
    QFETCH(QString, value);
    TestDb db;
    Shown shown(window);
    QVERIFY(shown.window);
    auto *g = shown.window->findChild<DBGrid *>(grid);
    QVERIFY(g);
    int column = -1;
    for (int i = 0; i < g->columns().size() && column < 0; ++i)
        if (g->columns().at(i).field == field && !g->isColumnHidden(i))
            column = i;
    QVERIFY(column >= 0);
    QVERIFY2(g->columnWidth(column) >= cellWidthFor(g, value),
             qPrintable(QStringLiteral("%1 px for %2")
                            .arg(g->columnWidth(column))
                            .arg(cellWidthFor(g, value))));
}

void TestWidths::everyGridColumnHoldsItsHeading_data()
{
    QTest::addColumn<QString>("window");
    for (const auto &w : windows())
        QTest::newRow(w.first) << QString::fromLatin1(w.first);
}

void TestWidths::everyGridColumnHoldsItsHeading()
{
    QFETCH(QString, window);
    TestDb db;
    Shown shown(window);
    QVERIFY(shown.window);
    for (const DBGrid *g : shown.window->findChildren<DBGrid *>())
        for (int i = 0; i < g->columns().size(); ++i)
            if (!g->isColumnHidden(i)) {
                const QString title = g->columns().at(i).title;
                QVERIFY2(g->columnWidth(i) >= headingWidthFor(g, title),
                         qPrintable(g->objectName() + ' ' + title));
            }
}

void TestWidths::codeTablesShowEveryColumn_data()
{
    QTest::addColumn<QString>("window");
    for (const char *w : {"Tfsubject", "Tfconttype", "Tfarea", "Tfmodel", "Tfcartype"})
        QTest::newRow(w) << QString::fromLatin1(w);
}

// A window that opens at its own size shows every column of its small grid
// whole, the fee subjects' third, "费用名称", included.
void TestWidths::codeTablesShowEveryColumn()
{
    QFETCH(QString, window);
    TestDb db;
    Shown shown(window);
    QVERIFY(shown.window);
    auto *g = shown.window->findChild<DBGrid *>("DBGrid1");
    QVERIFY(g);
    for (int i = 0; i < g->columns().size(); ++i)
        QVERIFY2(g->columnViewportPosition(i) + g->columnWidth(i) <= g->viewport()->width(),
                 qPrintable(g->columns().at(i).title));
}

void TestWidths::columnWidthsFollowTheFont_data()
{
    QTest::addColumn<int>("pointSize");
    for (int pt : {9, 12, 16})
        QTest::addRow("%d pt", pt) << pt;
}

// What fitted a column of the original's width fits the column at any font:
// 80 pixels there held twelve characters of a code, so here a column of free
// text as wide holds one as well as the contract number's column does.
void TestWidths::columnWidthsFollowTheFont()
{
    QFETCH(int, pointSize);
    DBGrid grid;
    grid.setColumns({gridColumn("合同号", "contract_no"), gridColumn("经办人", "recorder")});
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    grid.setFont(font);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(grid.columnWidth(i) >= cellWidthFor(&grid, "HT-2026-0001"));
        QVERIFY(grid.columnWidth(i) >= headingWidthFor(&grid, grid.columns().at(i).title));
    }
    QVERIFY(grid.sizeHint().width() > grid.columnWidth(0) + grid.columnWidth(1));
}

QTEST_MAIN(TestWidths)
#include "tst_widths.moc"
