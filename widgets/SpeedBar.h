#pragma once

#include <QToolBar>
#include <QToolButton>

// The tool bar of a business window: buttons that never take the focus (so
// the field being typed in keeps it), each with its hint as tool tip.
class SpeedBar : public QToolBar {
    Q_OBJECT
public:
    explicit SpeedBar(QWidget *parent = nullptr);
    // The caption defaults to the hint.
    QToolButton *addItem(const QString &objectName, const QString &hint,
                         const QString &caption = QString());
};
