#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Asks the user for the name of a file to write. The data module holds one
// (its SaveDialog1) but cannot show it: the screen supplies it
// (SaveFileDialog in widgets/).
class SaveFileSeam : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    QString fileName;
    QString title;

    // False when the user cancelled.
    virtual bool execute(QWidget *parent = nullptr) = 0;
};
