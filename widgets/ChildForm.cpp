#include "ChildForm.h"

ChildForm::ChildForm(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
}
