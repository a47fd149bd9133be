#include "Useleprn.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

Tfseleprn::Tfseleprn(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("fseleprn"));
    setWindowTitle(QStringLiteral("报表选择"));
    setWindowFlags(Qt::Dialog | Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    RadioGroup1 = new QGroupBox(QStringLiteral("打印"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    item0 = new QRadioButton(QStringLiteral("  入 库 单"), RadioGroup1);
    item1 = new QRadioButton(QStringLiteral("  明 细 表"), RadioGroup1);
    item0->setObjectName(QStringLiteral("RadioGroup1Item0"));
    item1->setObjectName(QStringLiteral("RadioGroup1Item1"));
    item0->setChecked(true);
    auto *items = new QVBoxLayout(RadioGroup1);
    items->addWidget(item0);
    items->addWidget(item1);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfseleprn::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tfseleprn::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RadioGroup1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

int Tfseleprn::itemIndex() const { return item1->isChecked() ? 1 : item0->isChecked() ? 0 : -1; }

void Tfseleprn::BitBtn1Click()
{
    // Nothing chosen cannot happen (item 0 starts checked); treat it as the slip.
    done(itemIndex() == 1 ? List : Slip);
}

void Tfseleprn::reject() { done(Cancelled); }
