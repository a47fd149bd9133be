#pragma once

#include "ReportLayouts.h"

// The sales performance sheet: ten figures that the statistics window fills in.
class Tfrep_saleyj : public BandedReport {
    Q_OBJECT
public:
    explicit Tfrep_saleyj(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel16 = findLabel(QStringLiteral("QRLabel16"));
    QRLabel *const QRLabel17 = findLabel(QStringLiteral("QRLabel17"));
    QRLabel *const QRLabel19 = findLabel(QStringLiteral("QRLabel19"));
    QRLabel *const QRLabel12 = findLabel(QStringLiteral("QRLabel12"));
    QRLabel *const QRLabel13 = findLabel(QStringLiteral("QRLabel13"));
    QRLabel *const QRLabel20 = findLabel(QStringLiteral("QRLabel20"));
    QRLabel *const QRLabel21 = findLabel(QStringLiteral("QRLabel21"));
    QRLabel *const QRLabel22 = findLabel(QStringLiteral("QRLabel22"));
    QRLabel *const QRLabel23 = findLabel(QStringLiteral("QRLabel23"));
    QRLabel *const QRLabel24 = findLabel(QStringLiteral("QRLabel24"));
    QRLabel *const QRLabel25 = findLabel(QStringLiteral("QRLabel25"));
    QRLabel *const QRLabel26 = findLabel(QStringLiteral("QRLabel26"));
    QRLabel *const QRLabel27 = findLabel(QStringLiteral("QRLabel27"));
};
