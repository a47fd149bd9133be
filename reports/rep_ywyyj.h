#pragma once

#include "ReportLayouts.h"

// The salesmen's totals over the cars sold.
class Tfrep_ywyyj : public ListReport {
    Q_OBJECT
public:
    explicit Tfrep_ywyyj(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel12 = findLabel(QStringLiteral("QRLabel12"));
    QRLabel *const QRLabel13 = findLabel(QStringLiteral("QRLabel13"));
    QRLabel *const QRLabel5 = findLabel(QStringLiteral("QRLabel5"));
    DataSet *const rep_ywyyj = findQuery(QStringLiteral("rep_ywyyj"));
};
