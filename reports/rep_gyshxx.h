#pragma once

#include "ReportLayouts.h"

// The provider list.
class Tfrep_gyshxx : public ListReport {
    Q_OBJECT
public:
    explicit Tfrep_gyshxx(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel10 = findLabel(QStringLiteral("QRLabel10"));
    QRLabel *const QRLabel13 = findLabel(QStringLiteral("QRLabel13"));
    QRLabel *const QRLabel5 = findLabel(QStringLiteral("QRLabel5"));
    DataSet *const rep_prov = findQuery(QStringLiteral("rep_prov"));
};
