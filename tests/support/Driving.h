#pragma once

// Driving a real window as a user does: pressing its buttons, typing into
// its fields, leaving a field.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

// A window shown offscreen and made the active one, freed at the end of the
// test unless it closed itself.
template <class W>
struct ShownWindow {
    explicit ShownWindow(W *window) : w(window)
    {
        w->show();
        (void)QTest::qWaitForWindowExposed(w);
        QApplication::setActiveWindow(w);
    }
    ~ShownWindow() { delete w.data(); }
    ShownWindow(const ShownWindow &) = delete;
    ShownWindow &operator=(const ShownWindow &) = delete;
    W *operator->() const { return w.data(); }
    W *get() const { return w.data(); }
    QPointer<W> w;
};

// Clicks the enabled button of that name.
inline void pressButton(QWidget *w, const char *button)
{
    auto *b = w->findChild<QAbstractButton *>(button);
    QVERIFY2(b, button);
    QVERIFY2(b->isEnabled(), button);
    b->click();
}

// Types the text key by key, also characters a keyboard of Latin letters lacks.
inline void typeKeys(QWidget *e, const QString &text)
{
    for (const QChar ch : text) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(e, &key);
    }
}

// Replaces what the edit of that name holds by the text, typed.
inline void typeInto(QWidget *w, const char *edit, const QString &text)
{
    auto *e = w->findChild<QLineEdit *>(edit);
    QVERIFY2(e, edit);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    typeKeys(e, text);
}

// Leaving a field as the Tab key does.
inline void leaveField(QWidget *field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}
