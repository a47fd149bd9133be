#include "Clock.h"

namespace Clock {
namespace {
QDateTime g_fixed;
}

QDateTime now()
{
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

QDate today() { return now().date(); }

void setNow(const QDateTime &fixed) { g_fixed = fixed; }
void reset() { g_fixed = QDateTime(); }

} // namespace Clock
