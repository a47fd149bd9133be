#include "Messages.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QSpacerItem>
#include <cstdio>

namespace Msg {
namespace {

Handler *g_handler = nullptr;

// Without a screen nobody can answer a box: it is printed instead.
bool headless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

QMessageBox::Icon iconOf(Kind kind)
{
    switch (kind) {
    case Kind::Warning: return QMessageBox::Warning;
    case Kind::Information: return QMessageBox::Information;
    case Kind::Question: return QMessageBox::Question;
    case Kind::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void setHandler(Handler *h) { g_handler = h; }
Handler *handler() { return g_handler; }

QMessageBox::StandardButton ask(QWidget *parent, Kind kind, const QString &text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton, const QString &title)
{
    Record record{title, kind, text, buttons, QMessageBox::NoButton, defaultButton};
    if (g_handler)
        return g_handler->show(parent, record);
    if (headless()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        // Nobody agreed to anything: take the answer that changes nothing.
        if (buttons & QMessageBox::Cancel)
            return QMessageBox::Cancel;
        if (buttons & QMessageBox::No)
            return QMessageBox::No;
        return defaultButton;
    }
    const std::unique_ptr<QMessageBox> box = newBox(parent, record);
    return static_cast<QMessageBox::StandardButton>(box->exec());
}

std::unique_ptr<QMessageBox> newBox(QWidget *parent, const Record &message)
{
    auto box = std::make_unique<QMessageBox>(iconOf(message.kind), message.title, message.text,
                                             message.buttons, parent);
    box->setDefaultButton(message.defaultButton);
    // A box sizes itself to its text; a short text would leave the window
    // manager too little room for the title beside its buttons. A message
    // box sets its own size, so the room is a spacer across its layout.
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(titleRoom(message.title, box->font()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

int titleRoom(const QString &title, const QFont &font)
{
    // The title in a bold title-bar font, the window's icon and three buttons.
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(title) + 8 * metrics.height();
}

void warning(const QString &text, QWidget *parent)
{
    ask(parent, Kind::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void information(const QString &text, QWidget *parent)
{
    ask(parent, Kind::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void error(const QString &text, QWidget *parent)
{
    ask(parent, Kind::Error, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool question(const QString &text, QWidget *parent, const QString &title)
{
    return ask(parent, Kind::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
               title) == QMessageBox::Yes;
}

QMessageBox::StandardButton yesNoCancel(const QString &text, QWidget *parent)
{
    return ask(parent, Kind::Question, text,
               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
}

bool okCancel(const QString &text, QWidget *parent)
{
    return ask(parent, Kind::Warning, text, QMessageBox::Ok | QMessageBox::Cancel,
               QMessageBox::Ok) == QMessageBox::Ok;
}

} // namespace Msg
