#include "ListPicker.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

ListPicker::ListPicker(QWidget *owner, const Filter &first, const Filter &second,
                       const GridColumns &columns, const QSize &gridSize, TabOrder order)
    : PickerDialog(owner, {QStringLiteral("query1"), QStringLiteral("DBGrid1"), QStringLiteral("BitBtn2")},
                   columns),
      query1(pickerRows()), DBGrid1(pickerGrid()), BitBtn2(pickerCancel())
{
    auto *bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::StyledPanel);
    auto *top = new QHBoxLayout(bevel);
    const Filter *filters[] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        m_edits[i] = new QLineEdit(bevel);
        m_edits[i]->setObjectName(filters[i]->objectName);
        narrowsList(m_edits[i]);
    }
    for (int i = 0; i < 2; ++i) {
        auto *caption = new QLabel(filters[i]->caption, bevel);
        caption->setBuddy(m_edits[i]);
        top->addWidget(caption);
        top->addWidget(m_edits[i]);
    }
    putAbove(bevel);
    DBGrid1->setMinimumSize(gridSize);

    QList<QWidget *> chain{m_edits[0], m_edits[1], DBGrid1, BitBtn1, BitBtn2};
    if (order == TabOrder::ButtonsFirst)
        std::rotate(chain.begin(), chain.begin() + 3, chain.end());
    setTabChain(chain);
}
