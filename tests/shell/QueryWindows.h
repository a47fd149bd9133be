#pragma once

// The query and statistics windows that list by a date range, for the tests
// that walk all of them.
#include "Ubackprovsele.h"
#include "Ubuycontsele.h"
#include "Ucarinsele.h"
#include "Ucaroutsele.h"
#include "Ucustaccountsele.h"
#include "Ucustxx.h"
#include "Uperson.h"
#include "Uprovaccountsele.h"
#include "Uprovxx.h"
#include "Usalecontsele.h"
#include "Usalesyj.h"
#include "Usaleyjtj.h"
#include "Utax.h"

#include <QApplication>
#include <QMap>
#include <QTest>
#include <functional>

namespace {

// What the test needs of one window: its list, its date fields, its query
// and print buttons ("" where it prints no list of its conditions).
struct QueryWindow {
    ChildForm *window;
    DataSet *list;
    DateEdit *from, *to;
    const char *query;
    const char *print;
};

template <class R>
QueryWindow registerWindow(R *w)
{
    w->PageControl1->setCurrentWidget(w->queryPage);
    return {w, w->query(), w->DateEdit1, w->DateEdit2, "SpeedItem5", "SpeedItem6"};
}

template <class S>
QueryWindow statisticsWindow(S *w, DataSet *result, const char *print = "SpeedItem3")
{
    return {w, result, w->DateEdit3, w->DateEdit4, "SpeedItem1", print};
}

const QMap<QString, std::function<QueryWindow()>> windows{
    {"customer register", [] { return registerWindow(new Tfcustxx); }},
    {"provider register", [] { return registerWindow(new Tfprovxx); }},
    {"personnel register", [] { return registerWindow(new Tfperson); }},
    {"purchase contract query",
     [] {
         auto *w = new Tfbuycontsele;
         return QueryWindow{w, w->list(), w->DateEdit1, w->DateEdit2, "SpeedItem8", ""};
     }},
    {"sales contract query",
     [] {
         auto *w = new Tfsalecontsele;
         return QueryWindow{w, w->list(), w->DateEdit1, w->DateEdit2, "SpeedItem8", ""};
     }},
    {"in-stock query",
     [] {
         auto *w = new Tfcarinsele;
         w->RadioGroup1Item1->setChecked(true); // 库存 prints its list without a choice
         return QueryWindow{w, w->tq_carin, w->DateEdit1, w->DateEdit2, "SpeedItem1", "SpeedItem6"};
     }},
    {"sales query",
     [] {
         auto *w = new Tfcaroutsele;
         return QueryWindow{w, w->tq_carout, w->DateEdit1, w->DateEdit2, "SpeedItem1", "SpeedItem6"};
     }},
    {"returns query",
     [] {
         auto *w = new Tfbackprovsele;
         return QueryWindow{w, w->tq_backprov, w->DateEdit1, w->DateEdit2, "SpeedItem1", ""};
     }},
    {"provider account query",
     [] {
         auto *w = new Tfprovaccountsele;
         return QueryWindow{w, w->query(), w->DateEdit1, w->DateEdit2, "SpeedItem1", "SpeedItem2"};
     }},
    {"customer account query",
     [] {
         auto *w = new Tfcustaccountsele;
         return QueryWindow{w, w->query(), w->DateEdit1, w->DateEdit2, "SpeedItem1", "SpeedItem2"};
     }},
    {"sales statistics",
     [] {
         // Its sheet prints the figures as shown, with no conditions of its own.
         auto *w = new Tfsaleyjtj;
         return statisticsWindow(w, w->tq_rk, "");
     }},
    {"salesman statistics",
     [] {
         auto *w = new Tfsalesyj;
         return statisticsWindow(w, w->tq_salesyj);
     }},
    {"tax report",
     [] {
         auto *w = new Tftax;
         return statisticsWindow(w, w->tq_tax);
     }},
};

// Shows the window as the active one, as the menu leaves it.
inline bool showActive(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

} // namespace
