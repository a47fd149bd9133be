#pragma once

#include "ReportLayouts.h"

// The out-stock slip of one car.
class Tfrep_chlchk : public SlipReport {
    Q_OBJECT
public:
    explicit Tfrep_chlchk(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel17 = findLabel(QStringLiteral("QRLabel17"));
    DataSet *const rep_chlchk = findQuery(QStringLiteral("rep_chlchk"));
};
