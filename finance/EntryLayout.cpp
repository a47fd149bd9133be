#include "EntryLayout.h"
#include "DBControls.h"
#include "OperatorHeader.h"

void FieldGrid::place(const QString &label, QWidget *field)
{
    placeField(this, m_place / 2, m_place % 2, label, field);
    ++m_place;
}

void FieldGrid::placeWide(const QString &label, QWidget *field)
{
    endRow();
    auto *caption = new QLabel(label, m_form);
    caption->setBuddy(field);
    addWidget(caption, m_place / 2, 0);
    addWidget(field, m_place / 2, 1, 1, 3);
    m_place += 2;
}

void layOutEntryForm(QWidget *form, QWidget *speedBar, QWidget *number, QLabel *operatorName,
                     FieldGrid *fields, QStatusBar *status)
{
    auto *layout = new QVBoxLayout(form);
    layout->addWidget(speedBar);
    layout->addLayout(documentHeader(QStringLiteral("帐目流水号："), number, operatorName));
    layout->addLayout(fields);
    layout->addWidget(status);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QStatusBar *statusBar(QWidget *form, const QString &text)
{
    auto *bar = new QStatusBar(form);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->addWidget(new QLabel(text, bar));
    return bar;
}
