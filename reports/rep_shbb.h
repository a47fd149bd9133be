#pragma once

#include "ReportLayouts.h"

// The tax report: the cars sold with both prices, counted and summed.
class Tfrep_shbb : public ListReport {
    Q_OBJECT
public:
    explicit Tfrep_shbb(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel12 = findLabel(QStringLiteral("QRLabel12"));
    QRLabel *const QRLabel13 = findLabel(QStringLiteral("QRLabel13"));
    QRLabel *const QRLabel15 = findLabel(QStringLiteral("QRLabel15"));
    DataSet *const rep_shbb = findQuery(QStringLiteral("rep_shbb"));
};
