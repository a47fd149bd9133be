#pragma once

#include "ReportLayouts.h"

// The prepayments received from customers.
class Tfrep_custacc : public ListReport {
    Q_OBJECT
public:
    explicit Tfrep_custacc(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel16 = findLabel(QStringLiteral("QRLabel16"));
    QRLabel *const QRLabel17 = findLabel(QStringLiteral("QRLabel17"));
    QRLabel *const QRLabel19 = findLabel(QStringLiteral("QRLabel19"));
    DataSet *const rep_custacc = findQuery(QStringLiteral("rep_custacc"));
};
