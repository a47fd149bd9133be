#pragma once

#include "ReportLayouts.h"

// The list of cars received (or in stock), A4 landscape.
class Tfrep_chlrkmx : public ListReport {
    Q_OBJECT
public:
    explicit Tfrep_chlrkmx(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel16 = findLabel(QStringLiteral("QRLabel16"));
    QRLabel *const QRLabel17 = findLabel(QStringLiteral("QRLabel17"));
    QRLabel *const QRLabel19 = findLabel(QStringLiteral("QRLabel19"));
    DataSet *const rep_chlrkmx = findQuery(QStringLiteral("rep_chlrkmx"));
};
