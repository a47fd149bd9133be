#include "TestDb.h"
#include "Clock.h"
#include "Db.h"
#include "Guard.h"
#include "SaveFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

TestDb::TestDb(bool createDataModule) : m_oldDir(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
    installScreenSeams();
    // A cell editor is committed by the view it belongs to, never after it closed.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("commitData")));
    // A report is painted only on a device that could be opened.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^QPainter")));
    if (createDataModule)
        startDataModule();
}

TestDb::~TestDb()
{
    dm.reset();
    Clock::reset();
    SaveFileDialog::setChooser({});
    QDir::setCurrent(m_oldDir);
}

void TestDb::startDataModule()
{
    dm = std::make_unique<TfrmDMcarsales>();
    installScreenSeams(dm.get());
    messages.clear();
}

void TestDb::exec(const QString &sql, const QVariantMap &binds) { Db::exec(sql, binds); }

QVariant TestDb::scalar(const QString &sql, const QVariantMap &binds)
{
    return Db::scalar(sql, binds);
}

void TestDb::insert(const QString &table, const QVariantMap &row)
{
    QStringList names, params;
    QVariantMap binds;
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        names << it.key();
        params << QLatin1Char(':') + it.key();
        binds.insert(QLatin1Char(':') + it.key(), it.value());
    }
    Db::exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                 .arg(table, names.join(QLatin1Char(',')), params.join(QLatin1Char(','))),
             binds);
}

int TestDb::count(const QString &table, const QString &where, const QVariantMap &binds)
{
    QString sql = QStringLiteral("SELECT count(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return Db::scalar(sql, binds).toInt();
}
