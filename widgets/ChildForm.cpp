#include "ChildForm.h"
#include "DBControls.h"
#include "Guard.h"
#include "Messages.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The document area gives the focus to a window's frame itself when it finds
// no field to give it to: after a question that closed while the field with
// the focus was disabled, or on opening. The frame passes it on to the window,
// where its fields and keys are.
class FrameFocus : public QObject {
public:
    FrameFocus(ChildForm *form, QObject *frame) : QObject(form), m_form(form), m_frame(frame) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_frame && event->type() == QEvent::FocusIn)
            m_form->takeFocus();
        return false;
    }

private:
    ChildForm *m_form;
    QObject *m_frame;
};

// Follows the window's field with the focus. When that field is disabled,
// hidden or freed while the window is the one at work, and the focus is left
// nowhere or on a field that takes no keys, the focus goes on: back to the
// grid whose cell editor went, else to the next field, else as on opening.
class FocusKeeper : public QObject {
public:
    explicit FocusKeeper(ChildForm *form) : QObject(form), m_form(form)
    {
        connect(qApp, &QApplication::focusChanged, this, &FocusKeeper::focusChanged);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_field && (event->type() == QEvent::Hide || event->type() == QEvent::EnabledChange))
            checkLater();
        return false;
    }

private:
    void focusChanged(QWidget *, QWidget *now)
    {
        if (now && now != m_form && m_form->isAncestorOf(now)) {
            if (m_field)
                m_field->removeEventFilter(this);
            m_field = now;
            m_field->installEventFilter(this);
            m_view = nullptr;
            for (QWidget *w = now->parentWidget(); w && w != m_form && !m_view; w = w->parentWidget())
                m_view = qobject_cast<QAbstractItemView *>(w);
        } else if (!now && m_field) {
            checkLater(); // the field may be on its way out
        }
    }

    // After the change is over: a field being freed or a page being turned
    // has then handed the focus on, or not.
    void checkLater()
    {
        if (m_due)
            return;
        m_due = true;
        QMetaObject::invokeMethod(this, [this] {
            m_due = false;
            check();
        }, Qt::QueuedConnection);
    }

    void check()
    {
        if (!m_form->isVisible() || QApplication::activeWindow() != m_form->window())
            return;
        QWidget *f = QApplication::focusWidget();
        if (f && (f == m_form || !m_form->isAncestorOf(f) || (f->isEnabled() && f->isVisible())))
            return; // the keys reach the window, or another window has them
        if (!f && !isCurrent())
            return;
        QWidget *to = m_view && m_form->isField(m_view) ? m_view.data() : nullptr;
        if (!to && m_field && m_form->isAncestorOf(m_field))
            to = m_form->nextField(m_field);
        if (to)
            to->setFocus(Qt::OtherFocusReason);
        else
            m_form->takeFocus();
    }

    // The window is the document area's active one, or a window of its own.
    bool isCurrent() const
    {
        auto *frame = qobject_cast<QMdiSubWindow *>(m_form->parentWidget());
        return !frame || !frame->mdiArea() || frame->mdiArea()->activeSubWindow() == frame;
    }

    ChildForm *m_form;
    QPointer<QWidget> m_field;
    QPointer<QAbstractItemView> m_view; // the grid whose cell editor m_field is
    bool m_due = false;
};

// The scroll area of a window's fields: it takes no focus of its own, and it
// asks for the room its fields want (a scroll area's own hint is capped),
// also when that changes as the fields are shown.
class FieldsScroll : public QScrollArea {
public:
    explicit FieldsScroll(QWidget *parent) : QScrollArea(parent)
    {
        setObjectName(QStringLiteral("fieldsScroll"));
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        setWidgetResizable(true);
    }
    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool done = QScrollArea::eventFilter(watched, event);
        // The fields' layout has just taken its new sizes.
        if (watched == widget() && event->type() == QEvent::LayoutRequest) {
            updateGeometry();
            if (hintChanged)
                hintChanged();
        }
        return done;
    }
    std::function<void()> hintChanged;
};

// A field that does not scroll what it shows keeps the width it asks for:
// an edit, a drop-down or a date narrower than that cuts its value, a speed
// bar hides its buttons. Lists and grids scroll and may give way.
void keepFieldWidths(QWidget *fields)
{
    for (QWidget *w : fields->findChildren<QWidget *>()) {
        const bool field = qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w)
            || qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QToolBar *>(w);
        if (!field || w->isWindow() || w->minimumWidth() > 0
            || w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
            continue;
        bool part = false; // of a drop-down, a date spinner or a grid's cell
        for (QWidget *p = w->parentWidget(); p && p != fields && !part; p = p->parentWidget())
            part = qobject_cast<QComboBox *>(p) || qobject_cast<QAbstractSpinBox *>(p)
                || qobject_cast<QAbstractItemView *>(p);
        if (!part)
            w->setMinimumWidth(qMin(qMax(w->sizeHint().width(), w->minimumSizeHint().width()),
                                    w->maximumWidth()));
    }
}

// Scrolls the whole field into view, or its start where it is larger than
// the window (a scroll area's own ensureVisible shows its end then).
void showField(QScrollArea *area, const QRect &field)
{
    auto fit = [](QScrollBar *bar, int start, int length, int page) {
        if (start < bar->value() || length > page)
            bar->setValue(start);
        else if (start + length > bar->value() + page)
            bar->setValue(start + length - page);
    };
    fit(area->horizontalScrollBar(), field.left(), field.width(), area->viewport()->width());
    fit(area->verticalScrollBar(), field.top(), field.height(), area->viewport()->height());
}

} // namespace

ChildForm::ChildForm(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Holds the focus itself while none of its fields can (a document window
    // before its add): its speed buttons' keys then still reach it.
    setFocusPolicy(Qt::ClickFocus);
    // A click on a place that takes no focus (a speed button, a label, the
    // background) would give the window the focus and so leave the field,
    // running its check once more before the button's own. While one of its
    // fields has the focus, the window hands the focus on to that field.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        QWidget *field = now && now != this && isAncestorOf(now) ? now : nullptr;
        if (focusProxy() != field)
            setFocusProxy(field);
        // The field with the focus is shown, however it got there (Enter and
        // the window's own moves set the focus without Tab).
        if (field && m_scroll && m_scroll->widget() && m_scroll->widget()->isAncestorOf(field))
            showField(m_scroll, QRect(field->mapTo(m_scroll->widget(), QPoint(0, 0)), field->size()));
    });
    new FocusKeeper(this);
    // The pages of a window, as in other programs (Ctrl+Tab is the document area's).
    for (const auto &[key, step] : {std::pair{Qt::Key_PageDown, 1}, std::pair{Qt::Key_PageUp, -1}}) {
        auto *pages = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        pages->setContext(Qt::WidgetWithChildrenShortcut);
        connect(pages, &QShortcut::activated, this, [this, step] { turnPage(step); });
    }
}

bool ChildForm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentAboutToChange:
        // Still a window of its own, before the document area takes it.
        scrollFields();
        break;
    case QEvent::ParentChange:
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            frame->installEventFilter(new FrameFocus(this, frame));
        break;
    case QEvent::Polish:
        scrollFields();
        break;
    case QEvent::Show:
        scrollFields();
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()); frame && m_fitted.isEmpty()) {
            m_fitted = frame->size();
            fitFrame();
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void ChildForm::scrollFields()
{
    QLayout *fields = layout();
    if (m_scroll || !fields)
        return;
    // A field that leaves for another parent loses the focus: the field the
    // window opens with is given it again.
    QWidget *opensWith = focusWidget();
    const bool focused = opensWith && opensWith == QApplication::focusWidget();
    auto *scroll = new FieldsScroll(this);
    m_scroll = scroll;
    auto *content = new QWidget(m_scroll);
    content->setObjectName(QStringLiteral("fields"));
    // The layout first: a widget that leaves its parent leaves that parent's
    // layout. Within one window a new parent leaves the focus chain, and so
    // the tab order, as it was.
    content->setLayout(fields);
    for (QObject *o : children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && w != m_scroll && !w->isWindow())
            w->setParent(content);
    }
    keepFieldWidths(content);
    m_scroll->setWidget(content);
    scroll->hintChanged = [this] { fitFrame(); };
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll);
    // Not where another window has the keys.
    if (opensWith && (focused || !isActiveWindow()))
        opensWith->setFocus(Qt::OtherFocusReason);
}

void ChildForm::fitFrame()
{
    auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!frame || frame->size() != m_fitted || frame->isMaximized() || frame->isMinimized())
        return;
    QSize size = sizeHint() + frame->size() - this->size();
    if (const QMdiArea *area = frame->mdiArea())
        size = size.boundedTo(area->viewport()->size());
    frame->resize(size);
    m_fitted = frame->size();
}

bool ChildForm::isField(const QWidget *w) const
{
    return w && w != this && isAncestorOf(w) && w->isEnabled() && w->isVisible()
        && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && !qobject_cast<const QTabBar *>(w);
}

QWidget *ChildForm::nextField(const QWidget *from) const
{
    for (QWidget *w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain())
        if (isField(w))
            return w;
    return nullptr;
}

void ChildForm::takeFocus()
{
    QWidget *target = focusWidget();
    if (!isField(target))
        target = nextField(this);
    (target ? target : this)->setFocus(Qt::OtherFocusReason);
}

QTabWidget *ChildForm::pagesAtFocus() const
{
    for (QWidget *w = QApplication::focusWidget(); w && w != this; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            return tabs;
    for (QTabWidget *tabs : findChildren<QTabWidget *>())
        if (tabs->isVisible())
            return tabs;
    return nullptr;
}

void ChildForm::turnPage(int step)
{
    QTabWidget *tabs = pagesAtFocus();
    if (!tabs || tabs->count() < 2)
        return;
    const int count = tabs->count();
    int page = tabs->currentIndex();
    for (int n = 1; n < count; ++n) {
        const int i = (tabs->currentIndex() + n * step + count * n) % count;
        if (tabs->isTabEnabled(i)) {
            page = i;
            break;
        }
    }
    tabs->setCurrentIndex(page);
    // Onto the page: its field that last had the focus, else its first one.
    QWidget *shown = tabs->currentWidget();
    QWidget *f = QApplication::focusWidget();
    if (!shown || f == shown || shown->isAncestorOf(f))
        return;
    QWidget *to = isField(shown->focusWidget()) ? shown->focusWidget() : isField(shown) ? shown : nextField(shown);
    if (to && (to == shown || shown->isAncestorOf(to)))
        to->setFocus(Qt::OtherFocusReason);
}

SaveResult ChildForm::refuse(const QString &message, QWidget *field)
{
    Msg::warning(message, this);
    focusToMend(field);
    return SaveResult::Refused;
}

bool ChildForm::askBeforeClose(const QString &question, const std::function<SaveResult()> &save,
                               const std::function<void()> &discard)
{
    bool closes = false;
    switch (Msg::yesNoCancel(question, this)) {
    case QMessageBox::Yes:
        guard([&] { closes = save() == SaveResult::Stored; }, this);
        break;
    case QMessageBox::No:
        closes = guard(discard, this);
        break;
    default:
        break;
    }
    return closes;
}

void ChildForm::showAlongside(ChildForm *window) const
{
    QMdiArea *area = nullptr;
    for (QWidget *w = parentWidget(); w && !area; w = w->parentWidget())
        area = qobject_cast<QMdiArea *>(w);
    if (!area) {
        window->show();
        return;
    }
    QMdiSubWindow *sub = area->addSubWindow(window);
    connect(window, &QObject::destroyed, sub, &QObject::deleteLater);
    sub->adjustSize();
    const QRect free = area->viewport()->rect();
    sub->move(qMax(0, (free.width() - sub->width()) / 2), qMax(0, (free.height() - sub->height()) / 2));
    sub->show();
    area->setActiveSubWindow(sub);
    window->takeFocus();
}
