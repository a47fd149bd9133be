#pragma once

#include "ChildForm.h"
#include "Guard.h"
#include "SpeedBar.h"

#include <QList>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

class QAction;
class QMenu;
class QToolButton;

// The main window: the document area that holds every business window, the
// menus and the speed bar, the start-up sequence (splash, then login) and the
// rights of the logged-in user applied to the menus.
class Tfrmmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfrmmain(QWidget *parent = nullptr);

    // Enables the rights-bound items from the current user's rights string
    // (position p for a "1" at p, p = 1 to 35) and the account items, all of
    // them only when granted.
    void ApplyRights(bool granted);

    // Opens the one window that slot holds: made and added to the document
    // area the first time, afterwards only shown and brought forward with
    // what it holds. The window empties the slot when it is freed. A window
    // that cannot be made shows its message and opens nothing (null).
    template <class T>
    T *openChild(QPointer<ChildForm> &slot)
    {
        if (!slot) {
            ChildForm *made = nullptr;
            if (!guard([&] { made = new T; }, this))
                return nullptr;
            slot = made;
            adopt(slot);
        }
        showChild(slot);
        return static_cast<T *>(slot.data());
    }

    // Asks every child window to close, in the order they were opened; false
    // when one of them stays open.
    bool closeChildren();

    QMdiArea *mdiArea;
    SpeedBar *SpeedBar1;
    QToolButton *SpeedItem1, *SpeedItem2, *SpeedItem13, *SpeedItem4, *SpeedItem7, *SpeedItem3;

    // The business windows, one each, named like their instances.
    QPointer<ChildForm> fbuycont, fsalecont, fbuycontchg, fsalecontchg, fbuycontsele,
        fsalecontsele, fcarin, fcarout, fcarinsele, fcaroutsele, fbackprov, fcustback,
        fbackprovsele, fbuyinout, fcarincheck, fprovcheck, fcustoutgo, fcaroutcheck, fcustcheck,
        fprovaccountsele, fcustaccountsele, finaddcost, fsalesyj, fsaleyjtj, ftax, fbgsxx, fprovxx,
        fcustxx, fperson, fSysRights, farea, fconttype, fsubject, fcartype, fmodel;

    // The start-up sequence: splash, login; cancel closes the window. It runs
    // once, after the window is first shown.
    void FormActivate();

    void sysloginClick();
    void syslogoutClick();
    void chgpassClick();
    void sysexitClick();
    void I1Click();
    void menuh1Click();
    void menuv1Click();
    void menuc1Click();
    void menua1Click();
    void menusoftClick();

    // The items of the rights positions 1 to 35, in order.
    void buycontClick();
    void salecontClick();
    void buycontchgClick();
    void salecontchgClick();
    void buycontfindClick();
    void salecontfindClick();
    void menucarinClick();
    void menucaroutClick();
    void menucarinfClick();
    void menucaroutfClick();
    void menuprovbackClick();
    void menucustbackClick();
    void menuprovbackfClick();
    void menuprovpreClick();
    void menuprovhshClick();
    void menuprovcomClick();
    void menucustpreClick();
    void menucusthshClick();
    void menucustcomClick();
    void menuprovfClick();
    void menucustfClick();
    void menubuyoutClick();
    void menusalesrepClick();
    void menusalerepClick();
    void menutaxrepClick();
    void menucompanyClick();
    void menuprovlogClick();
    void menucustlogClick();
    void menupersonClick();
    void menurightsClick();
    void menuareaClick();
    void menuconttypeClick();
    void menucostClick();
    void menutypeClick();
    void menumodelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Login { Cancelled, LoggedIn, NotFound };
    Login runLogin();
    void setLoginBusy(bool busy);
    void adopt(ChildForm *child);
    void showChild(ChildForm *child);
    void tile(Qt::Orientation orientation);
    void buildMenus();
    void buildSpeedBar();
    QAction *addItem(QMenu *menu, const char *name, const QString &caption,
                     void (Tfrmmain::*handler)() = nullptr);
    QToolButton *addSpeedItem(const char *name, const QString &caption, const QString &hint,
                              const QString &glyph, const QColor &colour,
                              void (Tfrmmain::*handler)());

    QList<QAction *> m_rightsItems; // position p at index p - 1
    QList<QAction *> m_accountItems;
    QAction *m_syslogin = nullptr;
    enum class StartUp { NotShown, Due, Done };
    StartUp m_startUp = StartUp::NotShown;
    bool m_loginBusy = false;
};
