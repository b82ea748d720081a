#pragma once

#include <QDateTime>

// Dates as the files store them: days since 1899-12-30 00:00 local time as a double,
// the fraction being the time of day.
double toOleDate(const QDateTime& dt);
QDateTime fromOleDate(double ole);
