#include "DMsales.h"
#include "Db.h"
#include "Errors.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

TfrmDMcarsales *frmDMcarsales = nullptr;

namespace {
// A file that is there but is no database of this system; its message names
// the file already.
class UnusableFile : public DbError {
public:
    using DbError::DbError;
};
} // namespace

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
    // used is reported by the start-up code (openError), which ends the program.
    // A file of no bytes is as good as none: a failed start leaves none.
    const bool existed = QFileInfo(m_path).size() > 0;
    const QString file = QDir::toNativeSeparators(m_path);
    try {
        openDatabase(existed);
        trsk->open();
        tright->open();
        tb_bgsxx_main->open();
    } catch (const UnusableFile &e) {
        m_openError = e.message();
    } catch (const AppError &e) {
        // The engine's own words only say why a new file could not be made;
        // for a file that is there, what the user can do is the same.
        m_openError = existed ? QStringLiteral("数据库文件 %1 已损坏或无法读写，无法使用。").arg(file)
                              : QStringLiteral("无法新建数据库文件 %1：%2").arg(file, e.message());
    }
}

bool TfrmDMcarsales::looksLikeDatabase(const QString &path)
{
    static const QByteArray header("SQLite format 3", 16); // with its closing NUL
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(header.size()) == header;
}

void TfrmDMcarsales::openDatabase(bool existed)
{
    const QString file = QDir::toNativeSeparators(m_path);
    norvelcms = QSqlDatabase::contains(Db::ConnectionName)
                    ? QSqlDatabase::database(Db::ConnectionName, false)
                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Db::ConnectionName);
    // A file that is not ours stays as it is: read as a file that does not
    // change from here on (no journal, no -wal or -shm of its own), so every
    // action until the program ends fails with the database's message.
    const auto unusable = [&](const QString &message) {
        norvelcms.close();
        norvelcms.setDatabaseName(QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded)
                                  + QStringLiteral("?mode=ro&immutable=1"));
        norvelcms.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
        norvelcms.open();
        return UnusableFile(message.arg(file));
    };
    // Told from the file's first bytes, before the engine reads it at all.
    if (existed && !looksLikeDatabase(m_path))
        throw unusable(QStringLiteral("数据库文件 %1 不是数据库文件（或已损坏），无法使用。"));

    norvelcms.setDatabaseName(m_path);
    norvelcms.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!norvelcms.open())
        throw DbError(norvelcms.lastError());

    // Nothing is written before the file is known to be ours (or new): SQLite
    // opens any file, and the first read tells what it holds.
    const Schema::Contents contents = Schema::contents();
    if (contents == Schema::Contents::Foreign)
        throw unusable(QStringLiteral("数据库文件 %1 不是本系统的数据库，无法使用。"));

    if (contents == Schema::Contents::Empty) {
        try {
            Schema::configure();
            Schema::create();
        } catch (const AppError &) {
            norvelcms.close();
            if (!existed)
                QFile::remove(m_path); // never leave a half-made database behind
            throw;
        }
        m_connected = true;
        m_created = true;
        return;
    }

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
