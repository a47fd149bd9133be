#include "Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Pictures {

QPixmap glyph(const QColor &colour, const QString &character, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, colour.lighter(140));
    g.setColorAt(1, colour.darker(120));
    p.setBrush(g);
    p.setPen(QPen(colour.darker(160), 1));
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 5.0, size / 5.0);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(size * 3 / 5);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, character);
    return pm;
}

QPixmap programIcon(int size) { return glyph(QColor(0x1f, 0x6f, 0xb5), QStringLiteral("岚"), size); }

QPixmap splash()
{
    const QSize sz(480, 300);
    QPixmap pm(sz);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, sz.height());
    sky.setColorAt(0, QColor(0x0b, 0x3d, 0x6e));
    sky.setColorAt(1, QColor(0x6c, 0xb4, 0xe4));
    p.fillRect(pm.rect(), sky);

    // Two ridges for the name's mountains, and a road to the horizon.
    QPainterPath far;
    far.moveTo(0, 200);
    far.lineTo(120, 110);
    far.lineTo(210, 170);
    far.lineTo(330, 90);
    far.lineTo(480, 190);
    far.lineTo(480, 300);
    far.lineTo(0, 300);
    p.fillPath(far, QColor(0x2e, 0x5e, 0x3e));
    QPainterPath road;
    road.moveTo(200, 300);
    road.lineTo(236, 205);
    road.lineTo(244, 205);
    road.lineTo(280, 300);
    p.fillPath(road, QColor(0x55, 0x55, 0x5a));

    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(30);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 24, sz.width(), 40), Qt::AlignCenter,
               QStringLiteral("岚峰汽车整车销售管理系统"));
    f.setPixelSize(16);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(0, 66, sz.width(), 24), Qt::AlignCenter, QStringLiteral("版本 1.0"));
    return pm;
}

} // namespace Pictures
