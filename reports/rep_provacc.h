#pragma once

#include "ReportLayouts.h"

// The payments made to providers.
class Tfrep_provacc : public ListReport {
    Q_OBJECT
public:
    explicit Tfrep_provacc(QObject *owner = nullptr);

    QRLabel *const QRLabel1 = findLabel(QStringLiteral("QRLabel1"));
    QRLabel *const QRLabel16 = findLabel(QStringLiteral("QRLabel16"));
    QRLabel *const QRLabel17 = findLabel(QStringLiteral("QRLabel17"));
    QRLabel *const QRLabel19 = findLabel(QStringLiteral("QRLabel19"));
    DataSet *const rep_provacc = findQuery(QStringLiteral("rep_provacc"));
};
