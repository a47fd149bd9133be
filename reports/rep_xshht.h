#pragma once

#include "ReportLayouts.h"

// The printed sales contract.
class Tfrep_xshht : public ContractReport {
    Q_OBJECT
public:
    explicit Tfrep_xshht(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    DataSet *const rep_salecont = findQuery(QStringLiteral("rep_salecont"));
    DataSet *const rep_salecontmx = findQuery(QStringLiteral("rep_salecontmx"));
    DataSet *const rep_bgs = findQuery(QStringLiteral("rep_bgs"));
};
