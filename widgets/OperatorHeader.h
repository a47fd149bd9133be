#pragma once

#include <QString>
#include <Qt>

class QBoxLayout;
class QFormLayout;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QWidget;

// Every window shows who works in it the same way: the caption "操作员："
// and beside it a label with the name of the operator logged in when the
// window opened (empty before a login).

// The label with the operator's name, named as the window names it.
QLabel *newOperatorName(QWidget *parent, const QString &objectName);
// The caption before the name.
QLabel *newOperatorCaption(QWidget *parent);

// The caption and the name where the window's layout shows them: next in a
// row, in column col of a grid of captioned fields (as placeField), or as
// the last row of a form.
void addOperator(QBoxLayout *row, QLabel *name, int stretch = 0, Qt::Alignment alignment = {});
void placeOperator(QGridLayout *grid, int row, int col, QLabel *name);
void addOperatorRow(QFormLayout *form, QLabel *name);

// The header of a document window: the document's number after its caption,
// then the operator, number and name sharing the width. A number the window
// hides leaves its room empty.
QHBoxLayout *documentHeader(const QString &numberCaption, QWidget *number, QLabel *operatorName);
