#include "platform/clock.h"

namespace clock_source {
namespace {
    QDateTime s_fixed;
}

QDateTime now()
{
    return s_fixed.isValid() ? s_fixed : QDateTime::currentDateTime();
}

QDate today()
{
    return now().date();
}

void setNow(const QDateTime& moment)
{
    s_fixed = moment;
}

} // namespace clock_source
