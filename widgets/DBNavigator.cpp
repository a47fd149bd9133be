#include "DBNavigator.h"
#include "DBControls.h"
#include "Guard.h"
#include "Messages.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QMetaEnum>
#include <QStyle>

DBNavigator::DBNavigator(QWidget *parent) : QWidget(parent)
{
    static const char *const hints[] = {"第一条", "上一条", "下一条", "最后一条", "增加",
                                        "删除",   "编辑",   "保存",   "取消",     "刷新"};
    // The desktop's icon where its theme has one, else the style's own, which
    // every platform has (also offscreen).
    static const struct {
        const char *theme;
        QStyle::StandardPixmap fallback;
    } icons[] = {{"go-first", QStyle::SP_MediaSkipBackward},
                 {"go-previous", QStyle::SP_ArrowLeft},
                 {"go-next", QStyle::SP_ArrowRight},
                 {"go-last", QStyle::SP_MediaSkipForward},
                 {"list-add", QStyle::SP_FileIcon},
                 {"edit-delete", QStyle::SP_TrashIcon},
                 {"document-edit", QStyle::SP_FileDialogDetailedView},
                 {"dialog-ok-apply", QStyle::SP_DialogApplyButton},
                 {"dialog-cancel", QStyle::SP_DialogCancelButton},
                 {"view-refresh", QStyle::SP_BrowserReload}};
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const QMetaEnum names = QMetaEnum::fromType<Button>();
    for (int b = First; b <= Refresh; ++b) {
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("nb") + QLatin1String(names.valueToKey(b)));
        button->setIcon(QIcon::fromTheme(QLatin1String(icons[b].theme),
                                         style()->standardIcon(icons[b].fallback)));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setText(QString::fromUtf8(hints[b])); // read aloud, never shown
        button->setToolTip(QString::fromUtf8(hints[b]));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, b] { press(Button(b)); });
        row->addWidget(button);
        m_buttons << button;
    }
    updateButtons();
}

void DBNavigator::setDataSource(DataSource *source)
{
    if (m_connected)
        disconnect(m_connected, nullptr, this, nullptr);
    m_source = source;
    m_connected = source ? source->dataSet() : nullptr;
    if (DataSet *ds = m_connected) {
        connect(ds, &DataSet::stateChanged, this, &DBNavigator::updateButtons);
        connect(ds, &DataSet::currentChanged, this, &DBNavigator::updateButtons);
        connect(ds, &DataSet::rowsChanged, this, &DBNavigator::updateButtons);
        connect(ds, &DataSet::counted, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setVisibleButtons(const QList<Button> &buttons)
{
    for (int b = First; b <= Refresh; ++b)
        m_buttons[b]->setVisible(buttons.contains(Button(b)));
}

void DBNavigator::press(Button b)
{
    DataSet *ds = m_connected;
    if (!ds)
        return;
    // Its own confirmation, before any question the window asks in its hooks.
    if (b == Delete && !Msg::question(QStringLiteral("Delete record?"), this))
        return;
    // Every button but these writes the row being edited: a date that is not
    // whole is refused first, never stored as empty.
    if (ds->isEditing() && b != Cancel && b != Delete && !DBDateEdit::datesPass(window()))
        return;
    guard([&] {
        switch (b) {
        case First: ds->first(); break;
        case Prior: ds->prior(); break;
        case Next: ds->next(); break;
        case Last: ds->last(); break;
        case Insert: ds->append(); break;
        case Delete: ds->deleteRecord(); break;
        case Edit: ds->edit(); break;
        case Post: ds->post(); break;
        case Cancel: ds->cancel(); break;
        case Refresh: ds->refresh(); break;
        }
    }, this);
    updateButtons();
}

void DBNavigator::updateButtons()
{
    const DataSet *ds = m_connected;
    const bool browse = ds && ds->state() == DataSet::Browse;
    const bool editing = ds && ds->isEditing();
    const bool writable = ds && ds->isActive() && !ds->isReadOnly();
    const int row = ds ? ds->recNo() : -1;
    const int rows = ds ? ds->listedRows() : 0;
    m_buttons[First]->setEnabled(browse && row > 0);
    m_buttons[Prior]->setEnabled(browse && row > 0);
    m_buttons[Next]->setEnabled(browse && row >= 0 && row < rows - 1);
    m_buttons[Last]->setEnabled(browse && row >= 0 && row < rows - 1);
    m_buttons[Insert]->setEnabled(writable);
    m_buttons[Delete]->setEnabled(writable && rows > 0);
    m_buttons[Edit]->setEnabled(writable && browse);
    m_buttons[Post]->setEnabled(writable && editing);
    m_buttons[Cancel]->setEnabled(writable && editing);
    // A refresh would throw pending cached updates away.
    m_buttons[Refresh]->setEnabled(browse && !ds->updatesPending());
}
