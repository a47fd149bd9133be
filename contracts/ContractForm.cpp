#include "ContractForm.h"
#include "BandedReport.h"
#include "GridColumns.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "Format.h"
#include "Messages.h"
#include "Money.h"
#include "OperatorHeader.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString CarType = QStringLiteral("cartype");
const QString CarModel = QStringLiteral("carmodel");
const QString Qty = QStringLiteral("qty");
const QString UnitPrice = QStringLiteral("unitprice");

} // namespace

TContractForm::TContractForm(const ContractKind &kind, Use use, QWidget *parent)
    : DocumentForm(parent), m_kind(kind), m_use(use), m_master(new DataSet(this)),
      m_masterSource(new DataSource(m_master, this)), m_lines(new DataSet(this)),
      m_linesSource(new DataSource(m_lines, this))
{
    const bool change = use == Use::Change;
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    m_master->setObjectName(kind.masterName);
    m_master->setTableName(kind.masterTable);
    m_masterSource->setObjectName(kind.masterSource);
    m_lines->setObjectName(kind.linesName);
    m_lines->setTableName(kind.linesTable);
    m_lines->setIndexName(QStringLiteral("rowid"));
    m_linesSource->setObjectName(kind.linesSource);
    setDocument(new DocumentEntry(m_master, kind.numbering, this));
    document->addLines(m_lines, kind.numbering.numberField);
    m_lines->beforePost = [this] { return linesPass(); };

    SpeedBar1 = new SpeedBar(this);

    auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    auto bound = [&](auto *control, const char *name, const QString &field) {
        named(control, name);
        control->setDataSource(m_masterSource, field);
        return control;
    };

    DBText1 = bound(new DBText(this), "DBText1", kind.numbering.numberField);
    DBText1->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    DBText1->setVisible(kind.showSerial);
    Label19 = newOperatorName(this, QStringLiteral("Label19"));
    if (change) {
        // The change shows the stored party; it cannot be changed.
        codeEdit = bound(new DBEdit(this), "DBEdit2", kind.codeField);
    } else {
        auto *combo = static_cast<ComboEdit *>(named(new ComboEdit(this), "ComboEdit1"));
        combo->setUpperCase(true);
        codeEdit = combo;
    }
    // The code of the party register is at most this long.
    codeEdit->setMaxLength(10);
    DBEdit1 = bound(new DBEdit(this), "DBEdit1", QStringLiteral("contract_no"));
    DBComboBox1 = bound(new DBComboBox(this, true), "DBComboBox1", QStringLiteral("conttype"));
    DBComboBox2 = bound(new DBComboBox(this, !kind.settleModeFreeText), "DBComboBox2",
                        QStringLiteral("settlemode"));
    QStringList settleModes{QString(), QStringLiteral("现款"), QStringLiteral("承兑"), QString()};
    if (change && !kind.settleModeFreeText)
        settleModes.removeLast(); // the purchase change lists the three choices only
    DBComboBox2->setItems(settleModes);
    DBEdit9 = bound(new DBEdit(this), "DBEdit9", QStringLiteral("transportmode"));
    DBDateEdit1 = bound(new DBDateEdit(this), "DBDateEdit1", QStringLiteral("arrive_date"));
    DBEdit6 = bound(new DBEdit(this), "DBEdit6", QStringLiteral("startarea"));
    DBEdit8 = bound(new DBEdit(this), "DBEdit8", QStringLiteral("arrivearea"));
    DBEdit13 = bound(new DBEdit(this), "DBEdit13", QStringLiteral("contractarea"));
    DBDateEdit3 = bound(new DBDateEdit(this), "DBDateEdit3", QStringLiteral("contract_date"));
    if (!change)
        DBDateEdit3->setDefaultToNow();
    DBEdit10 = bound(new DBEdit(this), "DBEdit10", QStringLiteral("recorder"));
    DBMemo1 = bound(new DBMemo(this), "DBMemo1", QStringLiteral("remarks"));
    DBEdit7 = bound(new DBEdit(this), "DBEdit7", kind.nameField);
    DBEdit7->setEnabled(false);
    DBEdit7->setFocusPolicy(Qt::NoFocus);

    DBGrid1 = static_cast<DBGrid *>(named(new DBGrid(this), "DBGrid1"));
    GridColumn model = gridColumn("", "carmodel");
    model.title = kind.modelTitle;
    GridColumns columns{gridColumn("车辆类型", "cartype"), model, gridColumn("产 地", "producingarea"),
                        gridColumn("单 位", "unit"), gridColumn("单 价", "unitprice"),
                        gridColumn("数 量", "qty")};
    if (change)
        for (GridColumn &c : columns)
            c.readOnly = c.field != UnitPrice && c.field != Qty;
    DBGrid1->setColumns(columns);
    DBGrid1->setDataSource(m_linesSource);
    DBGrid1->setReadOnly(false);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->addWidget(new QLabel(kind.statusText, StatusBar1));

    // Layout: header, the fields around the lines grid, the status bar.
    QHBoxLayout *header = documentHeader(QStringLiteral("合同流水号："), DBText1, Label19);

    auto *top = new QGridLayout;
    const auto place = [](QGridLayout *g, int row, int col, const QString &label, QWidget *w) {
        placeField(g, row, col, label, w);
    };
    place(top, 0, 0, kind.codeLabel, codeEdit);
    place(top, 0, 1, kind.nameLabel, DBEdit7);
    place(top, 1, 0, QStringLiteral("合同编号："), DBEdit1);
    place(top, 1, 1, QStringLiteral("合同类别："), DBComboBox1);
    place(top, 2, 0, QStringLiteral("支付方式："), DBComboBox2);
    place(top, 2, 1, QStringLiteral("交货方式："), DBEdit9);
    place(top, 3, 0, kind.deliveryLabel, DBDateEdit1);
    place(top, 3, 1, QStringLiteral("提货地点："), DBEdit6);
    place(top, 4, 0, QStringLiteral("到货地点："), DBEdit8);

    auto *bottom = new QGridLayout;
    place(bottom, 0, 0, QStringLiteral("签定地点："), DBEdit13);
    place(bottom, 0, 1, QStringLiteral("签定日期："), DBDateEdit3);
    place(bottom, 1, 0, QStringLiteral("经办人："), DBEdit10);
    bottom->addWidget(new QLabel(QStringLiteral("合同摘要："), this), 2, 0);
    bottom->addWidget(DBMemo1, 2, 1, 1, 3);
    DBMemo1->setFixedHeight(60);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SpeedBar1);
    layout->addLayout(header);
    layout->addLayout(top);
    layout->addWidget(DBGrid1);
    layout->addLayout(bottom);
    layout->addWidget(StatusBar1);
    DBGrid1->setMinimumSize(560, 160);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *order[] = {codeEdit, DBEdit1, DBComboBox1, DBComboBox2, DBEdit9, DBDateEdit1,
                        DBEdit6, DBEdit8, DBGrid1, DBEdit13, DBDateEdit3, DBEdit10, DBMemo1};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    if (change) {
        // Shown, not changed: the Tab and Enter walk passes only what can be.
        for (QLineEdit *e : {codeEdit, static_cast<QLineEdit *>(DBEdit1), static_cast<QLineEdit *>(DBEdit9),
                             static_cast<QLineEdit *>(DBEdit6), static_cast<QLineEdit *>(DBEdit8),
                             static_cast<QLineEdit *>(DBEdit13), static_cast<QLineEdit *>(DBDateEdit3),
                             static_cast<QLineEdit *>(DBEdit10)}) {
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::ClickFocus);
        }
        DBMemo1->setReadOnly(true);
        DBMemo1->setFocusPolicy(Qt::ClickFocus);
        DBComboBox1->setEnabled(false);
        // Lines are changed, never added.
        m_lines->beforeInsert = [] { return false; };
    }

    connect(DBGrid1, &DBGrid::enterPressed, this, &TContractForm::DBGrid1KeyPress);
}

void TContractForm::finishForm()
{
    guard([this] {
        DBComboBox1->setItems(Db::firstColumn(QStringLiteral("select conttype from cconttype")));
    }, this);
    // Every control passes Enter on, the remarks too (Shift+Enter breaks a line there).
    installEnterMovesOn(this, EnterRule::EveryControl);
    keepEnter(DBGrid1); // in the grid Enter walks through the line's cells
}

// ---------------------------------------------------------------- the lines

bool TContractForm::linesPass()
{
    const QVariant qty = m_lines->value(Qty);
    bool ok = true;
    qint64 count = 0;
    if (!qty.isNull())
        count = qty.toString().trimmed().toLongLong(&ok);
    // Price times quantity must stay far inside what Money holds.
    if (!ok || qAbs(count) > Money::MaxQuantity) {
        Msg::warning(ok ? Money::quantityMessage(QStringLiteral("数量")) : QStringLiteral("数量必须是整数！"),
                     this);
        selectCell(m_lines->recNo(), Qty);
        return false;
    }
    const QVariant price = m_lines->value(UnitPrice);
    const auto typed = price.isNull() ? Money::Typed::Amount : Money::checkTyped(Fmt::display(price));
    if (typed != Money::Typed::Amount) {
        Msg::warning(typed == Money::Typed::TooLarge ? Money::tooLargeMessage(QStringLiteral("单价"))
                                                     : QStringLiteral("单价必须是数字！"),
                     this);
        selectCell(m_lines->recNo(), UnitPrice);
        return false;
    }
    return true;
}

void TContractForm::selectCell(int row, const QString &field)
{
    const GridColumns &columns = DBGrid1->columns();
    for (int c = 0; c < columns.size(); ++c)
        if (columns.at(c).field == field)
            DBGrid1->setCurrentIndex(DBGrid1->model()->index(row, c));
}

void TContractForm::DBGrid1KeyPress()
{
    const QModelIndex current = DBGrid1->currentIndex();
    if (!current.isValid() || !m_lines->isActive())
        return;
    const QString field = DBGrid1->columns().at(current.column()).field;
    static const QList<QPair<QString, QString>> walk{
        {CarType, CarModel},
        {CarModel, QStringLiteral("producingarea")},
        {QStringLiteral("producingarea"), UnitPrice}, // the unit is skipped
        {UnitPrice, Qty}};
    for (const auto &step : walk) {
        if (step.first == field) {
            selectCell(current.row(), step.second);
            return;
        }
    }
    if (field != Qty)
        return; // the unit: the selection stays
    guard([&] {
        const int next = current.row() + 1;
        if (next < m_lines->recordCount()) {
            m_lines->setRecNo(next);
            if (m_lines->recNo() == next)
                selectCell(next, Qty);
            return;
        }
        if (m_use == Use::Entry)
            appendLine();
        else
            m_lines->checkBrowseMode(); // the last line is stored (pending) and stays
    }, this);
}

void TContractForm::appendLine()
{
    m_lines->append();
    // A line the checks refused stays in insert, modified, with its cell to mend selected.
    if (m_lines->state() == DataSet::Insert && !m_lines->isModified())
        selectCell(m_lines->recNo(), CarType);
}

// ---------------------------------------------------------------- printing

void printContract(BandedReport &layout, DataSet *masterQuery, const QString &masterSql,
                   DataSet *linesQuery, const QString &linesSql, const QString &serial)
{
    for (auto [query, sql] : {std::pair{masterQuery, masterSql}, std::pair{linesQuery, linesSql}}) {
        query->close();
        query->setSql(sql);
        query->setParam(QStringLiteral(":aa"), serial);
        query->open();
    }
    layout.findQuery(QStringLiteral("rep_bgs"))->open();
    layout.printOrShowError();
}
