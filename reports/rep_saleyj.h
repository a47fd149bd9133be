#pragma once

#include "ReportLayouts.h"

// The sales performance sheet: ten figures that the statistics window fills in.
class Tfrep_saleyj : public BandedReport {
    Q_OBJECT
public:
    explicit Tfrep_saleyj(QObject *owner = nullptr);

    // Set once the sheet is built: the title, the date range, the operator, the figures.
    QRLabel *QRLabel1 = nullptr;
    QRLabel *QRLabel16 = nullptr;
    QRLabel *QRLabel17 = nullptr;
    QRLabel *QRLabel19 = nullptr;
    QRLabel *QRLabel12 = nullptr;
    QRLabel *QRLabel13 = nullptr;
    QRLabel *QRLabel20 = nullptr;
    QRLabel *QRLabel21 = nullptr;
    QRLabel *QRLabel22 = nullptr;
    QRLabel *QRLabel23 = nullptr;
    QRLabel *QRLabel24 = nullptr;
    QRLabel *QRLabel25 = nullptr;
    QRLabel *QRLabel26 = nullptr;
    QRLabel *QRLabel27 = nullptr;
};
