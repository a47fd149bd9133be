#pragma once

#include "DMsales.h"
#include "ScriptedMessages.h"

#include <QTemporaryDir>
#include <QVariantMap>
#include <memory>

// A test's own world: a temporary current directory, scripted message boxes
// (also for the errors the data library reports) and, unless told otherwise,
// the data module on a new database made from the schema, with its screen
// seams installed as at start-up.
class TestDb {
public:
    explicit TestDb(bool createDataModule = true);
    ~TestDb();

    QString path(const QString &name) const { return m_dir.filePath(name); }
    void startDataModule();
    void stopDataModule() { dm.reset(); }

    void exec(const QString &sql, const QVariantMap &binds = {});
    QVariant scalar(const QString &sql, const QVariantMap &binds = {});
    void insert(const QString &table, const QVariantMap &row);
    int count(const QString &table, const QString &where = {}, const QVariantMap &binds = {});

    ScriptedMessages messages;
    std::unique_ptr<TfrmDMcarsales> dm;

private:
    QTemporaryDir m_dir;
    QString m_oldDir;
};
