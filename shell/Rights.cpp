#include "Rights.h"

namespace Rights {

QList<bool> granted(const QString &rights)
{
    const QList<uint> characters = rights.toUcs4();
    QList<bool> result;
    for (int p = 1; p <= Positions; ++p)
        result << (p <= characters.size() && characters.at(p - 1) == uint('1'));
    return result;
}

QString text(const QList<bool> &granted)
{
    QString rights(Length, QLatin1Char('0'));
    for (int p = 1; p <= Positions && p <= granted.size(); ++p)
        if (granted.at(p - 1))
            rights[p - 1] = QLatin1Char('1');
    return rights;
}

} // namespace Rights
