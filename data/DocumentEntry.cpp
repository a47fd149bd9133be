#include "DocumentEntry.h"
#include "DMsales.h"
#include "Db.h"
#include "Errors.h"

#include <QPointer>

DocumentEntry::DocumentEntry(DataSet *master, const DocumentNumbering &numbering, QObject *parent)
    : QObject(parent), m_master(master), m_numbering(numbering)
{
    m_master->setCachedUpdates(true);
}

void DocumentEntry::addLines(DataSet *lines, const QString &numberField)
{
    lines->setCachedUpdates(true);
    lines->setMaster(m_master, m_numbering.numberField, numberField);
    m_lines.append({lines, numberField});
}

bool DocumentEntry::add()
{
    const DocumentNumbering &n = m_numbering;
    QString number;
    {
        // The number is consumed only together with its row.
        Db::Transaction t;
        number = nextNumber(n);
        if (number.isEmpty())
            return false;
        QStringList columns{Db::identifier(n.numberField)}, values{QStringLiteral(":number")};
        QVariantMap binds{{QStringLiteral(":number"), number}};
        const QVariantMap also = storedWithNumber ? storedWithNumber() : QVariantMap();
        for (auto it = also.cbegin(); it != also.cend(); ++it) {
            columns << Db::identifier(it.key());
            values << QStringLiteral(":v%1").arg(binds.size());
            binds.insert(values.last(), it.value());
        }
        Db::exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(Db::identifier(n.table), columns.join(QStringLiteral(", ")),
                          values.join(QStringLiteral(", "))),
                 binds);
        t.commit();
    }
    close();
    m_number = number;
    m_master->clearFilter();
    m_master->setFilter(n.numberField, number);
    m_master->open();
    m_master->edit();
    for (const Lines &l : std::as_const(m_lines))
        l.data->open();
    return true;
}

SaveResult DocumentEntry::save(const std::function<void()> &also, const std::function<void()> &whileShown)
{
    if (beforeSave && !beforeSave())
        return SaveResult::Refused;
    // Inside a caller's transaction the document counts as stored only once
    // that one commits; undone, it is back in editing.
    const bool joined = Db::Transaction::active();
    bool written = false;
    try {
        Db::Transaction t;
        written = (!beforeWrite || beforeWrite()) && m_master->writeUpdates();
        for (const Lines &l : std::as_const(m_lines))
            written = written && l.data->writeUpdates();
        if (written) {
            if (also)
                also();
            if (joined) {
                QPointer<DocumentEntry> self(this);
                Db::Transaction::whenCommitted([self, whileShown] { if (self) self->stored(whileShown); },
                                               [self] { if (self) self->backToEditing(); });
            }
            t.commit();
        }
    } catch (const AppError &) {
        backToEditing();
        throw;
    }
    if (!written) {
        backToEditing();
        return SaveResult::Refused;
    }
    if (!joined)
        stored(whileShown);
    return SaveResult::Stored;
}

void DocumentEntry::stored(const std::function<void()> &whileShown)
{
    // The rows are stored whatever happens while they show.
    try {
        if (whileShown)
            whileShown();
    } catch (...) {
        readAgain();
        throw;
    }
    readAgain();
}

void DocumentEntry::readAgain()
{
    // Lines first: the row's re-read makes its lines follow it again.
    for (const Lines &l : std::as_const(m_lines))
        l.data->updatesWritten();
    m_master->updatesWritten();
}

void DocumentEntry::backToEditing()
{
    // Nothing was written: what was typed is still pending in memory.
    if (m_master->isActive())
        m_master->edit();
}

void DocumentEntry::discard()
{
    if (!isOpen())
        return;
    const QVariantMap number{{QStringLiteral(":cght"), m_number}};
    {
        Db::Transaction t;
        for (const Lines &l : std::as_const(m_lines))
            Db::exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :cght")
                         .arg(Db::identifier(l.data->tableName()), Db::identifier(l.numberField)),
                     number);
        Db::exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :cght")
                     .arg(Db::identifier(m_numbering.table), Db::identifier(m_numbering.numberField)),
                 number);
        frmDMcarsales->RecycleDocumentNumber(m_number, m_numbering.typeCode);
        t.commit();
    }
    close();
}

void DocumentEntry::close()
{
    for (const Lines &l : std::as_const(m_lines))
        l.data->close();
    m_master->close();
    m_number.clear();
}
