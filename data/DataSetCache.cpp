// The data set's cached mode: posts and deletes held until the window saves.
#include "DataSet.h"
#include "Db.h"
#include "Errors.h"

// ---------------------------------------------------------------- cached mode

bool DataSet::updatesPending() const
{
    if (!m_deleted.isEmpty())
        return true;
    for (const Row &r : m_rows)
        if (r.status != RowStatus::Stored)
            return true;
    return false;
}

void DataSet::applyUpdates()
{
    if (!detailsReleased())
        return;
    if (isEditing() && !post())
        return;
    if (!updatesPending())
        return;
    // Inside a caller's transaction the rows count as stored only once it commits.
    const bool joined = Db::Transaction::active();
    Db::Transaction t;
    writeUpdates();
    if (joined) {
        QPointer<DataSet> self(this);
        Db::Transaction::whenCommitted([self] {
            if (self)
                self->updatesWritten();
        });
    }
    t.commit();
    if (!joined)
        updatesWritten();
}

bool DataSet::writeUpdates()
{
    if (isEditing() && !post())
        return false;
    for (const Row &r : std::as_const(m_deleted))
        writeDelete(r);
    for (const Row &r : std::as_const(m_rows)) {
        if (r.status == RowStatus::Modified)
            writeUpdate(r, r.values);
        else if (r.status == RowStatus::Inserted)
            writeInsert(filledForInsert(r.values));
    }
    return true;
}

void DataSet::updatesWritten()
{
    m_deleted.clear();
    for (Row &r : m_rows)
        r.status = RowStatus::Stored; // refresh must not count them as pending
    // The rows are stored: a failing read of them again is reported, and the
    // save stands.
    try {
        refresh();
    } catch (const AppError &e) {
        reportError(e);
    }
}

void DataSet::cancelUpdates()
{
    if (!isActive() || !detailsReleased())
        return;
    cancel();
    m_deleted.clear();
    for (Row &r : m_rows)
        r.status = RowStatus::Stored;
    refresh();
}
