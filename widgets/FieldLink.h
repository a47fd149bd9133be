#pragma once

#include "DataSet.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

class QWidget;

// Ties one control to one field of a data source: shows the current row's
// value whenever the row, its values or the state change, and writes what the
// user types into the row at once (so a speed button never misses it).
// While its data set is closed (a window with no record shown) the control
// takes no keys, as a read-only field: nothing is typed, nothing is said.
class FieldLink : public QObject {
    Q_OBJECT
public:
    using Show = std::function<void(const QVariant &value)>;
    FieldLink(QWidget *control, Show show);

    void setDataSource(DataSource *source, const QString &field);
    DataSource *dataSource() const { return m_source; }
    DataSet *dataSet() const { return m_source ? m_source->dataSet() : nullptr; }
    const QString &field() const { return m_field; }

    // The field's value of the current row; null when there is none.
    QVariant value() const;
    // False while the field's data set is closed: there is no row to type
    // into. A control bound to nothing takes input as an unbound one.
    bool takesInput() const;
    // Writes a value typed by the user into the current row (editing it).
    // A refusal shows its message and the control shows the row again; with
    // the data set closed it shows the row again without a word.
    void write(const QVariant &value);
    void showCurrent();
    // While a value is being shown: true when the row itself was replaced
    // (moved, read again, posted, cancelled or closed), false when only values
    // of the row changed or it went into editing.
    bool showingAnotherRow() const { return m_anotherRow; }
    // Ends the link for good: nothing is shown or written any more.
    void release();

    // Typed text as a field value: empty text is null.
    static QVariant textValue(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRow();

    QWidget *m_control;
    Show m_show;
    QPointer<DataSource> m_source;
    QPointer<DataSet> m_connected;
    QString m_field;
    bool m_writing = false;
    bool m_anotherRow = false;
};
