#pragma once

#include <QDate>
#include <QDateTime>

// The one source of today's date. Tests fix it; the program reads the system clock.
namespace clock_source {

QDate today();
QDateTime now();
// Fixes the clock at the given moment (a null value restores the system clock).
void setNow(const QDateTime& moment);

} // namespace clock_source
