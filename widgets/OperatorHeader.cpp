#include "OperatorHeader.h"
#include "DMsales.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

QLabel *newOperatorName(QWidget *parent, const QString &objectName)
{
    auto *name = new QLabel(frmDMcarsales ? frmDMcarsales->operatorName() : QString(), parent);
    name->setObjectName(objectName);
    return name;
}

QLabel *newOperatorCaption(QWidget *parent)
{
    return new QLabel(QStringLiteral("操作员："), parent);
}

void addOperator(QBoxLayout *row, QLabel *name, int stretch, Qt::Alignment alignment)
{
    row->addWidget(newOperatorCaption(name->parentWidget()), 0, alignment);
    row->addWidget(name, stretch, alignment);
}

void placeOperator(QGridLayout *grid, int row, int col, QLabel *name)
{
    grid->addWidget(newOperatorCaption(name->parentWidget()), row, col * 2);
    grid->addWidget(name, row, col * 2 + 1);
}

void addOperatorRow(QFormLayout *form, QLabel *name)
{
    form->addRow(newOperatorCaption(name->parentWidget()), name);
}

QHBoxLayout *documentHeader(const QString &numberCaption, QWidget *number, QLabel *operatorName)
{
    auto *header = new QHBoxLayout;
    header->addWidget(new QLabel(numberCaption, number->parentWidget()));
    header->addWidget(number, 1);
    if (number->isHidden())
        header->addStretch(1);
    addOperator(header, operatorName, 1);
    return header;
}
