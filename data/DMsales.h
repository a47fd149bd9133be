#pragma once

#include <QIODevice>

#include "DataSet.h"
#include "GridColumns.h"
#include "SaveFileSeam.h"

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>

// The data module: owner of the one database connection and of the current
// operator (the personnel row trsk stands on, with its rights row tright).
// It is created before the main window and lives as long as the program.
// It shows nothing itself: the start-up code announces a new or unusable
// database, and the screen supplies its save dialog and hourglass.
class TfrmDMcarsales : public QObject {
    Q_OBJECT
public:
    // fileName is looked for in the current directory unless it is absolute.
    explicit TfrmDMcarsales(QObject *parent = nullptr,
                            const QString &fileName = QStringLiteral("huoyun.mdb"));
    ~TfrmDMcarsales() override;

    QSqlDatabase norvelcms;
    DataSet *trsk;          // cpersonnel, by key; its current row is the operator
    DataSource *dsrsk;
    DataSet *tright;        // crights of trsk's current row
    DataSet *tb_bgsxx_main; // bgsxx
    // The export's save dialog; null until the screen supplies one.
    SaveFileSeam *SaveDialog1 = nullptr;
    // Shows (true) and takes back (false) the hourglass while a statement
    // runs; empty shows nothing.
    std::function<void(bool)> hourglass;

    // The full path of the database file, and whether it could be opened.
    QString databasePath() const { return m_path; }
    bool isConnected() const { return m_connected; }
    // The file was missing and has been made from the schema.
    bool createdDatabase() const { return m_created; }
    // Why the database cannot be used ("" when it can), a message naming the
    // file; the start-up ends the program then.
    QString openError() const { return m_openError; }
    // The logged-in operator's display name ("" before a login).
    QString operatorName() const;

    // Runs one SELECT and copies the first row's leading fields into the
    // given slots (a null pointer skips a field). False, slots untouched,
    // when there is no row. A failing statement throws DbError.
    bool QueryFirstRow(const QString &sql, const QList<QVariant *> &results,
                       const QVariantMap &binds = {});

    // Draws the next document number of a kind and consumes its serial; the
    // caller inserts the row at once. Runs in one transaction (a savepoint of
    // the caller's, if there is one). Throws when no number can be drawn.
    QString NextDocumentNumber(const QString &prefixColumn, const QString &counterColumn,
                               const QString &typeCode, const QString &tableName,
                               const QString &numberField);
    // Gives back the serial of an abandoned number; true when it was already
    // given back (nothing written).
    bool RecycleDocumentNumber(const QString &number, const QString &typeCode);

    // Saves what the grid's columns show of the data set as a tab-separated
    // text file in code page 936, asking for the file name with SaveDialog1.
    void ExportGridToText(DataSet &data, const GridColumns &columns, QWidget *parent = nullptr);
    static QByteArray exportText(DataSet &data, const GridColumns &columns);
    static bool writeExport(QIODevice &out, DataSet &data, const GridColumns &columns);

private:
    void frmDMcarsalesCreate();
    void openDatabase(bool existed);
    // The file starts as every SQLite database does.
    static bool looksLikeDatabase(const QString &path);

    QString m_path;
    bool m_connected = false;
    bool m_created = false;
    QString m_openError;
};

// The one instance, set while it exists.
extern TfrmDMcarsales *frmDMcarsales;
