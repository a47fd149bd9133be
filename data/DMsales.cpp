#include "DMsales.h"
#include "Db.h"
#include "Errors.h"
#include "Messages.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlError>
#include <QSqlQuery>

TfrmDMcarsales *frmDMcarsales = nullptr;

namespace {

// The hourglass while a statement runs, restored however it ends.
class BusyCursor {
public:
    BusyCursor()
        : m_on(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_on)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor()
    {
        if (m_on)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_on;
};

} // namespace

TfrmDMcarsales::TfrmDMcarsales(QObject *parent, const QString &fileName)
    : QObject(parent),
      trsk(new DataSet(this)),
      dsrsk(new DataSource(trsk, this)),
      tright(new DataSet(this)),
      tb_bgsxx_main(new DataSet(this)),
      SaveDialog1(new SaveFileDialog(this)),
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
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));

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
    // are no process-wide formats to set here.
    guard([this] {
        openDatabase();
        trsk->open();
        tright->open();
        tb_bgsxx_main->open();
    });
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
        Msg::information(QStringLiteral("数据库文件不存在，已新建数据库：\n%1").arg(m_path));
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
    const BusyCursor busy;
    QSqlQuery q = Db::exec(sql, binds);
    if (!q.next())
        return false;
    const int n = qMin(int(results.size()), q.record().count());
    for (int i = 0; i < n; ++i)
        if (results.at(i))
            *results.at(i) = q.value(i);
    return true;
}
