#pragma once

#include "ReportLayouts.h"

// The printed purchase contract; its queries are set by the printing routine.
class Tfrep_cght : public ContractReport {
    Q_OBJECT
public:
    explicit Tfrep_cght(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    DataSet *const rep_buycont = findQuery(QStringLiteral("rep_buycont"));
    DataSet *const rep_buycontmx = findQuery(QStringLiteral("rep_buycontmx"));
    DataSet *const rep_bgs = findQuery(QStringLiteral("rep_bgs"));
};
