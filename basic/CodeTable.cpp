#include "CodeTable.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "Messages.h"
#include "OperatorHeader.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QVBoxLayout>

TCodeTableForm::TCodeTableForm(const CodeTableInfo &info, QWidget *parent)
    : ChildForm(parent), m_info(info), m_table(new DataSet(this)),
      m_source(new DataSource(m_table, this))
{
    setWindowTitle(info.caption);
    m_table->setObjectName(info.tableName);
    m_table->setTableName(info.table);
    m_table->setIndexName(info.index);
    // Read as the grid scrolls; a post places its own row where the order
    // puts it, so nothing reads the whole table again after it.
    m_table->setPageSize(PageSize);
    m_source->setObjectName(info.sourceName);

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("增加"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("保存"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem4 = speedBar->addItem(QStringLiteral("SpeedItem4"), QStringLiteral("删除"));
    SpeedItem6 = speedBar->addItem(QStringLiteral("SpeedItem6"), QStringLiteral("退出"));

    auto *fields = new QFormLayout;
    if (!info.typeField.isEmpty()) {
        DBComboBox1 = new DBComboBox(this);
        DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
        DBComboBox1->setItems(info.typeChoices);
        DBComboBox1->setDataSource(m_source, info.typeField);
        fields->addRow(info.typeLabel, DBComboBox1);
    }
    DBEdit1 = new DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setDataSource(m_source, info.codeField);
    fields->addRow(info.codeLabel, DBEdit1);
    DBEdit2 = new DBEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setDataSource(m_source, info.nameField);
    fields->addRow(info.nameLabel, DBEdit2);
    if (info.showOperator) {
        Label4 = newOperatorName(this, QStringLiteral("Label4"));
        addOperatorRow(fields, Label4);
    }

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(info.columns);
    DBGrid1->setDataSource(m_source);
    DBGrid1->setReadOnly(!info.gridEditable);
    DBGrid1->setEnabled(info.gridEditable);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(fields);
    layout->addWidget(DBGrid1, 1);

    connect(SpeedItem1, &QToolButton::clicked, this, &TCodeTableForm::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TCodeTableForm::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TCodeTableForm::SpeedItem3Click);
    connect(SpeedItem4, &QToolButton::clicked, this, &TCodeTableForm::SpeedItem4Click);
    connect(SpeedItem6, &QToolButton::clicked, this, &QWidget::close);

    m_table->beforePost = [this] { return rowPasses(); };
    // Typing into a stored row (here or in the grid) puts it into editing.
    connect(m_table, &DataSet::stateChanged, this, [this](DataSet::State s) {
        if (s == DataSet::Edit || s == DataSet::Insert)
            SetCodeTableEditing(true);
    });

    // FormCreate
    guard([this] { m_table->open(); }, this);
    SetCodeTableEditing(false);
    installEnterMovesOn(this);
}

void TCodeTableForm::SetCodeTableEditing(bool editing)
{
    SpeedItem1->setEnabled(!editing);
    SpeedItem6->setEnabled(!editing);
    SpeedItem2->setEnabled(editing);
    SpeedItem3->setEnabled(editing);
    SpeedItem4->setEnabled(true);
}

bool TCodeTableForm::rowPasses()
{
    if (DBComboBox1 && DBComboBox1->currentText().trimmed().isEmpty()) {
        Msg::warning(m_info.emptyTypeMessage, this);
        DBComboBox1->setFocus();
        return false;
    }
    if (DBEdit1->text().trimmed().isEmpty()) {
        Msg::warning(m_info.emptyCodeMessage, this);
        DBEdit1->setFocus();
        return false;
    }
    return true;
}

int TCodeTableForm::SaveCodeRow() { return m_table->post() ? 0 : 1; }

void TCodeTableForm::SpeedItem1Click()
{
    guard([this] {
        m_table->append();
        if (m_table->state() == DataSet::Insert) {
            SetCodeTableEditing(true);
            (DBComboBox1 ? static_cast<QWidget *>(DBComboBox1) : DBEdit1)->setFocus();
        }
    }, this);
}

void TCodeTableForm::SpeedItem2Click()
{
    guard([this] {
        if (SaveCodeRow() == 0)
            SetCodeTableEditing(false);
    }, this);
}

void TCodeTableForm::SpeedItem3Click()
{
    guard([this] { m_table->cancel(); }, this);
    SetCodeTableEditing(false);
}

void TCodeTableForm::SpeedItem4Click()
{
    // At once, without a question; the buttons stay as they are.
    guard([this] { m_table->deleteRecord(); }, this);
}

void TCodeTableForm::closeEvent(QCloseEvent *event)
{
    if (m_table->isEditing()
        && !askBeforeClose(
            QStringLiteral("是否保存?"), [this] { return SaveCodeRow() == 0; },
            [this] { m_table->cancel(); })) {
        event->ignore();
        return;
    }
    guard([this] { m_table->close(); }, this);
    event->accept();
}
