#pragma once

#include "ReportLayouts.h"

// The list of cars sold, A4 landscape; rows stand 33.9 mm apart.
class Tfrep_chlchkmx : public ListReport {
    Q_OBJECT
public:
    explicit Tfrep_chlchkmx(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel16 = findLabel(QStringLiteral("QRLabel16"));
    QRLabel *const QRLabel17 = findLabel(QStringLiteral("QRLabel17"));
    QRLabel *const QRLabel19 = findLabel(QStringLiteral("QRLabel19"));
    DataSet *const rep_chlchkmx = findQuery(QStringLiteral("rep_chlchkmx"));
};
