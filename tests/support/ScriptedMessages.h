#pragma once

#include "Messages.h"

#include <QList>
#include <QQueue>
#include <functional>

// Records every message box and answers questions from a script. While it
// exists no real box is shown. An unscripted question gets the answer that
// changes nothing (Cancel, else No) and is counted in `unanswered`.
class ScriptedMessages : public Msg::Handler {
public:
    ScriptedMessages();
    ~ScriptedMessages() override;

    void answer(QMessageBox::StandardButton button) { m_answers.enqueue(button); }
    void clear() { messages.clear(); unanswered = 0; }
    QStringList texts() const;
    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    // The last box is the error of a failed print.
    bool lastIsPrintFailure() const
    {
        return !messages.isEmpty() && messages.last().kind == Msg::Kind::Error
            && messages.last().text.startsWith(QStringLiteral("打印失败: "));
    }

    QList<Msg::Record> messages;
    int unanswered = 0;
    // Runs as each message comes up, before it is answered: what the window
    // shows at that moment can be read.
    std::function<void(const Msg::Record &)> whenShown;
    // Each message also comes up as a real modal box that takes the focus and
    // closes again, so that the focus goes where a box leaves it on a screen.
    bool modal = false;

    QMessageBox::StandardButton show(QWidget *parent, Msg::Record &message) override;

private:
    QQueue<QMessageBox::StandardButton> m_answers;
    Msg::Handler *m_previous;
};
