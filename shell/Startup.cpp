#include "Startup.h"

#include <QCoreApplication>
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

} // namespace Startup
