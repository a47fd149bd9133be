#pragma once

#include <QStringList>

class QComboBox;
class QWidget;

// A condition box of free text whose list only offers texts to take: no
// entry is current until the user takes one, so what stands in the box is
// what was typed and Down takes the first entry.
QComboBox *newFreeTextBox(QWidget *parent, const QString &objectName);
// Fills the list and leaves the box empty, no entry current.
void setFreeTextChoices(QComboBox *box, const QStringList &choices);
// Empties the box; the list stays and Down again takes its first entry.
void clearFreeText(QComboBox *box);
