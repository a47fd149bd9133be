#pragma once

#include <QToolBar>
#include <QToolButton>

// The tool bar of a business window: buttons that never take the focus (so
// the field being typed in keeps it), each with its hint as tool tip. In a
// business window Alt+1 to Alt+9 press the first nine buttons.
class SpeedBar : public QToolBar {
    Q_OBJECT
public:
    explicit SpeedBar(QWidget *parent = nullptr);
    // The caption defaults to the hint.
    QToolButton *addItem(const QString &objectName, const QString &hint,
                         const QString &caption = QString());

private:
    int m_items = 0;
};
