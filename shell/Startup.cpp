#include "Startup.h"
#include "DMsales.h"
#include "Messages.h"

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

bool announceDatabase(const TfrmDMcarsales &dataModule)
{
    if (dataModule.createdDatabase())
        Msg::information(QStringLiteral("数据库文件不存在，已新建数据库：\n%1")
                             .arg(dataModule.databasePath()));
    if (dataModule.openError().isEmpty())
        return true;
    Msg::error(dataModule.openError());
    return false;
}

} // namespace Startup
