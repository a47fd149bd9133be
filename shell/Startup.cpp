#include "Startup.h"

#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace Startup {

bool installChineseTranslations()
{
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QStringLiteral("qtbase_zh_CN"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    return QCoreApplication::installTranslator(t);
}

void installFontSubstitutions()
{
    const QStringList cjk{QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                          QStringLiteral("Noto Serif CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("黑体"), cjk);
    QFont::insertSubstitutions(QStringLiteral("宋体"), cjk);
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("WenQuanYi Zen Hei")});
}

} // namespace Startup
