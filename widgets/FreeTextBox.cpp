#include "FreeTextBox.h"

#include <QComboBox>

QComboBox *newFreeTextBox(QWidget *parent, const QString &objectName)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->setEditable(true);
    box->setCompleter(nullptr); // what is shown is what is matched
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

void setFreeTextChoices(QComboBox *box, const QStringList &choices)
{
    box->clear();
    box->addItems(choices);
    clearFreeText(box);
}

void clearFreeText(QComboBox *box)
{
    // An editable box shows the text of its current entry: with none
    // current it shows nothing and Down starts from the top.
    box->setCurrentIndex(-1);
    box->clearEditText();
}
