#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

// The one way the program shows message boxes. Tests install a Handler to
// read every message and to answer questions.
namespace Msg {

enum class Kind { Warning, Information, Question, Error };

struct Record {
    QString title;
    Kind kind = Kind::Information;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

class Handler {
public:
    virtual ~Handler() = default;
    // Returns the button chosen for the message.
    virtual QMessageBox::StandardButton show(QWidget *parent, Record &message) = 0;
};

// nullptr restores real message boxes.
void setHandler(Handler *handler);
Handler *handler();

inline const QString defaultTitle() { return QStringLiteral("提示"); }

QMessageBox::StandardButton ask(QWidget *parent, Kind kind, const QString &text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton,
                                const QString &title = defaultTitle());

// The box ask shows on a screen, at least as wide as its title needs.
std::unique_ptr<QMessageBox> newBox(QWidget *parent, const Record &message);
// The width a window with this title needs for the title to show whole.
int titleRoom(const QString &title, const QFont &font);

// Refused input: exclamation box with OK.
void warning(const QString &text, QWidget *parent = nullptr);
// A success or a notice.
void information(const QString &text, QWidget *parent = nullptr);
// The database's or the system's own message.
void error(const QString &text, QWidget *parent = nullptr);
// Yes/No question; true for Yes.
bool question(const QString &text, QWidget *parent = nullptr,
              const QString &title = defaultTitle());
// Yes/No/Cancel question (closing a window with unsaved input); Cancel is the
// default, so a stray Enter neither saves nor discards.
QMessageBox::StandardButton yesNoCancel(const QString &text, QWidget *parent = nullptr);
// Exclamation box with OK and Cancel; true for OK.
bool okCancel(const QString &text, QWidget *parent = nullptr);

} // namespace Msg
