#pragma once

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Acts on the first modal dialog of type D that comes up, as a user would.
// The flag tells when that is done.
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
            act(d);
            *done = true;
        }
    });
    poll->start();
    return done;
}
