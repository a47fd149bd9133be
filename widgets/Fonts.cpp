#include "Fonts.h"

#include <QFont>
#include <QFontMetricsF>
#include <QtMath>

namespace {

const QStringList sansCjk{QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                          QStringLiteral("Source Han Sans SC")};
const QStringList serifCjk{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                           QStringLiteral("Source Han Serif SC")};

const QString CodeCharacters = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
// Han characters of the captions and headings.
const QString HanCharacters = QStringLiteral("费用名称合同号车辆底盘发动机");

double averageWidth(const QFontMetricsF &fm, const QString &characters)
{
    return fm.horizontalAdvance(characters) / characters.size();
}

} // namespace

namespace Fonts {

QStringList standIns(const QString &family)
{
    // A serif face for 宋体 where one is installed; a sans one always follows,
    // since the set-up installs only that.
    if (family == QStringLiteral("黑体"))
        return sansCjk + serifCjk;
    if (family == QStringLiteral("宋体"))
        return serifCjk + sansCjk;
    // Arial's own metrics for Latin text where a clone is installed; reports
    // also print Chinese in it, which the CJK fonts behind it carry.
    if (family == QStringLiteral("Arial"))
        return QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")} + sansCjk
            + serifCjk;
    return {};
}

void installSubstitutes()
{
    static const bool done = [] {
        for (const QString &family :
             {QStringLiteral("黑体"), QStringLiteral("宋体"), QStringLiteral("Arial")})
            QFont::insertSubstitutions(family, standIns(family));
        return true;
    }();
    Q_UNUSED(done);
}

double widthScale(const QFont &font)
{
    const QFontMetricsF fm(font);
    return qMax(averageWidth(fm, CodeCharacters) / OriginalLatinWidth,
                averageWidth(fm, HanCharacters) / OriginalHanWidth);
}

int scaledWidth(int originalWidth, const QFont &font)
{
    return qCeil(originalWidth * widthScale(font));
}

int codeWidth(const QFont &font, int characters)
{
    if (characters <= 0)
        return 0;
    return qCeil((characters + 1) * averageWidth(QFontMetricsF(font), CodeCharacters));
}

} // namespace Fonts
