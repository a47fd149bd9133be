#pragma once

#include "DataReset.h"

#include "ShellDialog.h"

#include <QStringList>
#include <QVariantMap>
#include <functional>

class QCheckBox;

// Data initialisation: empties the business data and the ticked registers
// and reseeds the numbering with the current year and month, all in one
// transaction.
class Tfinitial : public ShellDialog {
    Q_OBJECT
public:
    // closeWindows closes the windows that show data before anything is
    // emptied; false when one of them stays open, and nothing is emptied.
    explicit Tfinitial(QWidget *parent = nullptr, std::function<bool()> closeWindows = {});

    QCheckBox *ckbgsxx, *ckdq, *ckgys, *ckkhxx, *ckrsk, *ckht, *ckfy, *ckcllx, *ckclxh;

    // The statements in the order they run, without the new numbering row.
    QStringList statements() const;
    QList<DataReset::Register> chosen() const;
    void InitialiseData();

protected:
    void check() override; // BitBtn1Click

private:
    void RunInitSql(const QString &statement, const QVariantMap &binds);

    std::function<bool()> m_closeWindows;
};
