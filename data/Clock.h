#pragma once

#include <QDate>
#include <QDateTime>

// Today's date and the time of day, as the program sees them. Tests fix them.
namespace Clock {

QDateTime now();
QDate today();

void setNow(const QDateTime &fixed); // an invalid value returns to the real clock
void reset();

} // namespace Clock
