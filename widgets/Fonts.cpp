#include "Fonts.h"

#include <QFont>

namespace {

const QStringList sansCjk{QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                          QStringLiteral("Source Han Sans SC")};
const QStringList serifCjk{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                           QStringLiteral("Source Han Serif SC")};

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

} // namespace Fonts
