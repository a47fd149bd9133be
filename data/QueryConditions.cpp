#include "QueryConditions.h"
#include "DataSet.h"
#include "Db.h"
#include "Format.h"

#include <QSqlQuery>

QueryConditions::QueryConditions(Join join) : m_join(join) {}

QString QueryConditions::likePrefix(const QString &text)
{
    QString p;
    p.reserve(text.size() + 1);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            p += QLatin1Char('\\');
        p += c;
    }
    return p + QLatin1Char('%');
}

QString QueryConditions::add(const QString &column, const QString &condition, const QVariant &value)
{
    if (m_conditions.isEmpty())
        m_leading = column;
    const QString name = QStringLiteral(":qc%1").arg(m_binds.size());
    m_binds.insert(name, value);
    m_conditions << condition.arg(name);
    return name;
}

QueryConditions &QueryConditions::prefix(const QString &field, const QString &text)
{
    if (!text.isEmpty())
        add(Db::identifier(field), Db::identifier(field) + QStringLiteral(" like %1 escape '\\'"),
            likePrefix(text));
    return *this;
}

QueryConditions &QueryConditions::prefixIn(const QString &field, const QString &select,
                                           const QString &matchField, const QString &text)
{
    if (!text.isEmpty())
        add(Db::identifier(field), Db::identifier(field) + QStringLiteral(" in (") + select + QStringLiteral(" where ")
                    + Db::identifier(matchField) + QStringLiteral(" like %1 escape '\\')"),
            likePrefix(text));
    return *this;
}

QueryConditions &QueryConditions::equals(const QString &field, const QVariant &value)
{
    if (value.isValid() && !value.isNull())
        add(Db::identifier(field), Db::identifier(field) + QStringLiteral("=%1"), value);
    return *this;
}

QString QueryConditions::firstOf(const QStringList &fields)
{
    QStringList names;
    for (const QString &f : fields)
        names << Db::identifier(f);
    if (names.size() == 1)
        return names.first(); // a bare column keeps its index
    return QStringLiteral("coalesce(%1)").arg(names.join(QStringLiteral(", ")));
}

QueryConditions &QueryConditions::fromDate(const QString &field, const QDate &day)
{
    return fromDate(QStringList{field}, day);
}

QueryConditions &QueryConditions::toDate(const QString &field, const QDate &day)
{
    return toDate(QStringList{field}, day);
}

QueryConditions &QueryConditions::fromDate(const QStringList &fields, const QDate &day)
{
    if (day.isValid())
        add(firstOf(fields), firstOf(fields) + QStringLiteral(">=%1"), Fmt::date(day));
    return *this;
}

QueryConditions &QueryConditions::toDate(const QStringList &fields, const QDate &day)
{
    // Stored dates carry the time of day: the bound is the next day, exclusive.
    if (day.isValid())
        add(firstOf(fields), firstOf(fields) + QStringLiteral("<%1"), Fmt::date(day.addDays(1)));
    return *this;
}

std::optional<QDate> QueryConditions::filterDate(const QString &shown)
{
    if (QString(shown).remove(QLatin1Char('-')).trimmed().isEmpty())
        return QDate();
    const QDate day = QDate::fromString(shown, Fmt::DateFormat);
    if (!day.isValid())
        return std::nullopt;
    return day;
}

QString QueryConditions::dateRefusal(const QString &shown, DateEnd end)
{
    if (filterDate(shown))
        return {};
    return end == DateEnd::From ? QStringLiteral("开始日期不是有效的日期!")
                                : QStringLiteral("结束日期不是有效的日期!");
}

QString QueryConditions::text() const
{
    QString s;
    for (qsizetype i = 0; i < m_conditions.size(); ++i) {
        const bool first = i == 0 && m_join == Join::Where;
        s += (first ? QStringLiteral(" where ") : QStringLiteral(" and ")) + m_conditions.at(i);
    }
    return s;
}

void QueryConditions::bindTo(QSqlQuery &query) const { Db::bindAll(query, m_binds); }

void QueryConditions::setOn(DataSet *dataSet, const QString &base, const QString &tail) const
{
    dataSet->close();
    dataSet->setSql(apply(base) + tail);
    dataSet->clearParams();
    for (auto it = m_binds.cbegin(); it != m_binds.cend(); ++it)
        dataSet->setParam(it.key(), it.value());
}
