#include "ScriptedMessages.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>

ScriptedMessages::ScriptedMessages() : m_previous(Msg::handler()) { Msg::setHandler(this); }

ScriptedMessages::~ScriptedMessages() { Msg::setHandler(m_previous); }

QStringList ScriptedMessages::texts() const
{
    QStringList t;
    for (const auto &m : messages)
        t << m.text;
    return t;
}

QMessageBox::StandardButton ScriptedMessages::show(QWidget *parent, Msg::Record &message)
{
    if (whenShown)
        whenShown(message);
    if (modal) {
        QDialog box(parent);
        auto *button = new QPushButton(QStringLiteral("OK"), &box);
        button->setDefault(true);
        QTimer::singleShot(20, &box, &QDialog::accept);
        box.exec();
        // The window manager gives the activation back; offscreen nobody does.
        if (parent)
            QApplication::setActiveWindow(parent->window());
    }
    QMessageBox::StandardButton a;
    if (message.buttons == QMessageBox::Ok) {
        a = QMessageBox::Ok;
    } else if (!m_answers.isEmpty()) {
        a = m_answers.dequeue();
    } else {
        ++unanswered;
        a = (message.buttons & QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No;
    }
    message.answer = a;
    messages.append(message);
    return a;
}
