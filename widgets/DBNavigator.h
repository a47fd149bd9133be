#pragma once

#include "DataSet.h"

#include <QPointer>
#include <QToolButton>
#include <QWidget>

// Buttons that move through a data source and edit its rows; each is enabled
// only where its action means something in the data set's state. Delete asks
// "Delete record?" first; No keeps the row.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    Q_ENUM(Button)

    explicit DBNavigator(QWidget *parent = nullptr);
    void setDataSource(DataSource *source);
    QToolButton *button(Button b) const { return m_buttons.at(b); }
    // Only these buttons are shown; the others are hidden.
    void setVisibleButtons(const QList<Button> &buttons);

private:
    void press(Button b);
    void updateButtons();

    QList<QToolButton *> m_buttons;
    QPointer<DataSource> m_source;
    QPointer<DataSet> m_connected;
};
