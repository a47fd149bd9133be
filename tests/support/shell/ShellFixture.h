#pragma once

#include "ChildForm.h"
#include "Umain.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <memory>

class QAction;
class TestDb;

// What the tests of the application shell share: the main window started and
// logged in, its menu items by name and the rights they show, and a business
// window of their own for it to hold.

// The items of rights positions 1 to 35, in order: each opens a business window.
extern const QStringList rightsItems;
// The items that need a login, and those that never do.
extern const QStringList accountItems;
extern const QStringList alwaysItems;

// A business window for the registry: an edit to hold input, and a close
// that can be refused as a window with unsaved input does.
class TestWindow : public ChildForm {
public:
    TestWindow() : edit(new QLineEdit(this)) { edit->setObjectName("edit"); }
    QLineEdit *edit;
    bool refuse = false;
    static inline QStringList closed;

protected:
    void closeEvent(QCloseEvent *e) override
    {
        if (refuse) {
            e->ignore();
            return;
        }
        closed << edit->text();
        e->accept();
    }
};

QAction *item(QWidget &w, const QString &name);
void typeInto(QLineEdit *e, const QString &text);
std::shared_ptr<bool> answerLogin(const QString &code, const QString &password);
// Shows the frame and goes through the splash and the login.
void startAndLogin(Tfrmmain &frame, const QString &code = "admin", const QString &password = "",
                   bool loggedIn = true);
void setRights(TestDb &db, const QString &id, const QVariant &rights);
// The rights positions whose menu items are enabled.
QList<int> enabledPositions(Tfrmmain &frame);
QList<int> range(int from, int to);
