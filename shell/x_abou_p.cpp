#include "x_abou_p.h"
#include "Pictures.h"

#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tx_AboutBox::Tx_AboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint),
      tj_ProgramIcon(new QLabel),
      lbl_dbVer(new QLabel(QStringLiteral("数据库版本:190804"))),
      OKButton(new QPushButton(QStringLiteral("OK")))
{
    setObjectName(QStringLiteral("x_AboutBox"));
    setWindowTitle(QStringLiteral("关于"));
    setWindowIcon(QIcon(Pictures::programIcon()));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xdd, 0xf2, 0xdd));
    setPalette(pal);

    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    tj_ProgramIcon->setObjectName(QStringLiteral("tj_ProgramIcon"));
    tj_ProgramIcon->setPixmap(Pictures::programIcon());
    lbl_dbVer->setObjectName(QStringLiteral("lbl_dbVer"));

    auto *grid = new QGridLayout(panel);
    grid->addWidget(tj_ProgramIcon, 0, 0, 4, 1, Qt::AlignTop);
    const QStringList lines{QStringLiteral("岚峰汽车整车销售管理系统"), QStringLiteral("版本 1.0"),
                            QStringLiteral("岚峰汽车 信息部 制作"),
                            QStringLiteral("使用中的问题请与本公司信息部联系")};
    for (int i = 0; i < lines.size(); ++i) {
        auto *l = new QLabel(lines.at(i));
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        grid->addWidget(l, i, 1);
    }
    grid->addWidget(lbl_dbVer, int(lines.size()), 1);

    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
