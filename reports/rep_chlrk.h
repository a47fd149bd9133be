#pragma once

#include "ReportLayouts.h"

// The in-stock slip of one car.
class Tfrep_chlrk : public SlipReport {
    Q_OBJECT
public:
    explicit Tfrep_chlrk(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel17 = findLabel(QStringLiteral("QRLabel17"));
    DataSet *const rep_chlrk = findQuery(QStringLiteral("rep_chlrk"));
};
