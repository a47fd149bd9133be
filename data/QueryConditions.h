#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <optional>

class DataSet;
class QSqlQuery;

// Builds the condition text of a query window from its filter inputs. Each
// filled input adds one condition, in the order added; an empty one adds
// nothing. Every value is bound: typed text is matched literally.
class QueryConditions {
public:
    enum class Join {
        Where, // the base statement has no where clause: " where " first, then " and "
        And    // the base statement ends in a where clause: " and " throughout
    };

    explicit QueryConditions(Join join = Join::Where);

    // field starts with the text ("ab" takes "abc" and "AB1", not "xab").
    QueryConditions &prefix(const QString &field, const QString &text);
    // field is one of the values `select` gives for its rows whose matchField
    // starts with the text: a partner found through its detail rows, as
    // prefixIn("providerid", "select providerid from cprovcarmodel", "carmodel", text).
    QueryConditions &prefixIn(const QString &field, const QString &select,
                              const QString &matchField, const QString &text);
    // field equals the value; a null value adds nothing.
    QueryConditions &equals(const QString &field, const QVariant &value);
    // field on or after the day (from its first second).
    QueryConditions &fromDate(const QString &field, const QDate &day);
    // field on or before the day, the whole day included.
    QueryConditions &toDate(const QString &field, const QDate &day);
    // The same on the first of the fields that holds a value, as a row whose
    // date may stand in one of several fields: {"affirm_date", "account_date"}.
    QueryConditions &fromDate(const QStringList &fields, const QDate &day);
    QueryConditions &toDate(const QStringList &fields, const QDate &day);

    // The end of a date range that a filter's date field gives.
    enum class DateEnd { From, To };
    // A filter's date as its field shows it: blank (the mask "    -  -  ", or
    // no text) is no condition and gives an invalid date; a whole date gives
    // that date; anything else (typed in part, no such day) holds no date and
    // gives nothing, so that a query is refused rather than widened to all.
    static std::optional<QDate> filterDate(const QString &shown);
    // Why a query does not run on such a field: "开始日期不是有效的日期!" for
    // the from date, "结束日期不是有效的日期!" for the to date; empty when the
    // field is blank or holds a whole date.
    static QString dateRefusal(const QString &shown, DateEnd end);

    bool isEmpty() const { return m_conditions.isEmpty(); }
    // The column (or the firstOf expression) of the first condition given,
    // empty without one: where the database looks first, and so the order it
    // finds the rows in, which a list can follow instead of sorting them all.
    const QString &leadingColumn() const { return m_leading; }
    int count() const { return int(m_conditions.size()); }
    const QStringList &conditions() const { return m_conditions; }

    QString text() const;                  // " where a like :qc0 escape '\' and ..."
    QString apply(const QString &base) const { return base + text(); }
    const QVariantMap &binds() const { return m_binds; }
    void bindTo(QSqlQuery &query) const;
    // The data set's statement becomes base, the conditions and then tail (an
    // order), with the values bound; an open data set is closed first.
    void setOn(DataSet *dataSet, const QString &base, const QString &tail = {}) const;

    // The LIKE pattern for a literal prefix, escaped with '\'.
    static QString likePrefix(const QString &text);
    // The first of the fields that is not null: the field itself when it is
    // the only one, else coalesce(a, b, ...).
    static QString firstOf(const QStringList &fields);

private:
    QString add(const QString &column, const QString &condition, const QVariant &value);

    Join m_join;
    QStringList m_conditions;
    QVariantMap m_binds;
    QString m_leading;
};
