#include "Drive.h"
#include "DBGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

bool Drive::press(QWidget *window, const char *button)
{
    auto *b = window->findChild<QAbstractButton *>(button);
    if (!b || !b->isEnabled())
        return false;
    b->click();
    return true;
}

void Drive::typeText(QWidget *target, const QString &text)
{
    for (const QChar ch : text) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &key);
    }
}

void Drive::leave(QWidget *field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

bool Drive::type(QWidget *window, const char *edit, const QString &text)
{
    auto *e = window->findChild<QLineEdit *>(edit);
    if (!e || !e->isEnabled())
        return false;
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    typeText(e, text);
    return true;
}

int Drive::column(const DBGrid *grid, const QString &field)
{
    for (int c = 0; c < grid->columns().size(); ++c)
        if (grid->columns().at(c).field == field)
            return c;
    return -1;
}

bool Drive::typeCell(DBGrid *grid, const QString &text)
{
    grid->setFocus();
    grid->edit(grid->currentIndex());
    // The cell's editor: a line edit, or a drop-down of the column's pick list.
    QWidget *editor = QApplication::focusWidget();
    if (!editor || editor == grid || !grid->isAncestorOf(editor))
        return false;
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->selectAll();
    else if (auto *box = qobject_cast<QComboBox *>(editor))
        box->lineEdit()->selectAll();
    typeText(editor, text);
    QPointer<QWidget> open(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate closes its editor from the event loop.
    return QTest::qWaitFor([&] { return !open || !open->isVisible(); });
}
