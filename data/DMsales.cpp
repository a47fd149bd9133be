#include "DMsales.h"
#include "Db.h"
#include "Errors.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

TfrmDMcarsales *frmDMcarsales = nullptr;

TfrmDMcarsales::TfrmDMcarsales(QObject *parent, const QString &fileName)
    : QObject(parent),
      trsk(new DataSet(this)),
      dsrsk(new DataSource(trsk, this)),
      tright(new DataSet(this)),
      tb_bgsxx_main(new DataSet(this)),
      m_path(QFileInfo(QDir::current(), fileName).absoluteFilePath())
{
    setObjectName(QStringLiteral("frmDMcarsales"));
    frmDMcarsales = this;

    trsk->setObjectName(QStringLiteral("trsk"));
    trsk->setTableName(QStringLiteral("cpersonnel"));
    trsk->setIndexName(QStringLiteral("PrimaryKey"));
    dsrsk->setObjectName(QStringLiteral("dsrsk"));
    tright->setObjectName(QStringLiteral("tright"));
    tright->setTableName(QStringLiteral("crights"));
    tright->setMaster(trsk, QStringLiteral("personnelid"), QStringLiteral("personnelid"));
    tb_bgsxx_main->setObjectName(QStringLiteral("tb_bgsxx_main"));
    tb_bgsxx_main->setTableName(QStringLiteral("bgsxx"));

    frmDMcarsalesCreate();
}

TfrmDMcarsales::~TfrmDMcarsales()
{
    trsk->close();
    tright->close();
    tb_bgsxx_main->close();
    norvelcms.close();
    norvelcms = QSqlDatabase();
    QSqlDatabase::removeDatabase(Db::ConnectionName);
    if (frmDMcarsales == this)
        frmDMcarsales = nullptr;
}

void TfrmDMcarsales::frmDMcarsalesCreate()
{
    // Dates and times are always written by Fmt in one fixed form, so there
    // are no process-wide formats to set here. A database that cannot be
    // opened is reported by the start-up code (openError); the program goes on.
    try {
        openDatabase();
        trsk->open();
        tright->open();
        tb_bgsxx_main->open();
    } catch (const AppError &e) {
        m_openError = e.message();
    }
}

void TfrmDMcarsales::openDatabase()
{
    const QFileInfo file(m_path);
    const bool isNew = !file.exists() || file.size() == 0;

    norvelcms = QSqlDatabase::contains(Db::ConnectionName)
                    ? QSqlDatabase::database(Db::ConnectionName, false)
                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Db::ConnectionName);
    norvelcms.setDatabaseName(m_path);
    norvelcms.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!norvelcms.open())
        throw DbError(norvelcms.lastError());

    if (isNew) {
        try {
            Schema::configure();
            Schema::create();
        } catch (const AppError &) {
            norvelcms.close();
            QFile::remove(m_path); // never leave a half-made database behind
            throw;
        }
        m_connected = true;
        m_created = true;
        return;
    }

    // SQLite opens any file; the first read tells whether it is a database.
    Db::scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    Schema::configure();
    Schema::upgrade();
    m_connected = true;
}

QString TfrmDMcarsales::operatorName() const
{
    if (!trsk->isActive() || trsk->isEmpty())
        return QString();
    return trsk->value(QStringLiteral("name")).toString();
}

bool TfrmDMcarsales::QueryFirstRow(const QString &sql, const QList<QVariant *> &results,
                                   const QVariantMap &binds)
{
    // The hourglass is taken back however the statement ends.
    struct Busy {
        const std::function<void(bool)> &show;
        explicit Busy(const std::function<void(bool)> &s) : show(s)
        {
            if (show)
                show(true);
        }
        ~Busy()
        {
            if (show)
                show(false);
        }
    } busy(hourglass);
    QSqlQuery q = Db::exec(sql, binds);
    if (!q.next())
        return false;
    const int n = qMin(int(results.size()), q.record().count());
    for (int i = 0; i < n; ++i)
        if (results.at(i))
            *results.at(i) = q.value(i);
    return true;
}
