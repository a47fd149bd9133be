#pragma once

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Acts on the first modal dialog of type D that comes up, as a user would.
// The flag tells when that is done. A dialog the act leaves open (a check in
// it failed and returned early) is rejected, so a failing test never hangs.
template <class D>
std::shared_ptr<bool> whenModal(std::function<void(D *)> act)
{
    auto done = std::make_shared<bool>(false);
    auto *poll = new QTimer(qApp);
    poll->setObjectName("modalPoll");
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, done] {
        if (auto *d = qobject_cast<D *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            QPointer<D> open(d);
            act(d);
            *done = true;
            if (open && open->isVisible() && QApplication::activeModalWidget() == open)
                if (auto *dialog = qobject_cast<QDialog *>(open.data()))
                    dialog->reject();
        }
    });
    poll->start();
    return done;
}
