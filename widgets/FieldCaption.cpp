#include "FieldCaption.h"
#include "DBControls.h"
#include "DBGrid.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>

QString buddyCaption(const QWidget *field)
{
    if (!field)
        return {};
    if (const QWidget *w = field->window())
        for (const QLabel *label : w->findChildren<QLabel *>())
            if (label->buddy() == field) {
                static const QRegularExpression blanks(QStringLiteral("\\s"));
                QString text = label->text().remove(QLatin1Char('&')).remove(blanks);
                while (text.endsWith(QChar(0xFF1A)) || text.endsWith(QLatin1Char(':')))
                    text.chop(1);
                return text;
            }
    return {};
}

namespace {

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool showsTable(const DataSet *ds, const QString &table)
{
    return ds && sameName(ds->tableName(), table);
}

bool findIn(QWidget *scope, const QString &table, const QString &field, NamedField &named)
{
    for (QWidget *w : scope->findChildren<QWidget *>()) {
        const auto *bound = dynamic_cast<const BoundControl *>(w);
        if (!bound || !showsTable(bound->link()->dataSet(), table)
            || !sameName(bound->link()->field(), field))
            continue;
        const QString caption = buddyCaption(w);
        if (!caption.isEmpty()) {
            named = {caption, w};
            return true;
        }
    }
    QList<DBGrid *> grids = scope->findChildren<DBGrid *>();
    if (auto *self = qobject_cast<DBGrid *>(scope))
        grids.prepend(self);
    for (const DBGrid *grid : std::as_const(grids)) {
        if (!showsTable(grid->dataSet(), table))
            continue;
        for (const GridColumn &c : grid->columns())
            if (sameName(c.field, field) && !c.title.isEmpty()) {
                named.caption = c.title;
                return true;
            }
    }
    return false;
}

} // namespace

NamedField namedField(QWidget *near, const QString &table, const QString &field)
{
    NamedField named{field};
    if (!near)
        near = QApplication::focusWidget();
    for (QWidget *scope = near; scope; scope = scope->parentWidget())
        if (findIn(scope, table, field, named))
            return named;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top != (near ? near->window() : nullptr) && findIn(top, table, field, named))
            return named;
    return named;
}
