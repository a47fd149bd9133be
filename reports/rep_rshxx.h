#pragma once

#include "ReportLayouts.h"

// The personnel list.
class Tfrep_rshxx : public ListReport {
    Q_OBJECT
public:
    explicit Tfrep_rshxx(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel15 = findLabel(QStringLiteral("QRLabel15"));
    QRLabel *const QRLabel16 = findLabel(QStringLiteral("QRLabel16"));
    QRLabel *const QRLabel5 = findLabel(QStringLiteral("QRLabel5"));
    DataSet *const rep_rshsele = findQuery(QStringLiteral("rep_rshsele"));
};
