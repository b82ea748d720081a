#include "platform/ole_date.h"

#include <QTimeZone>

#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
} // namespace

double toOleDate(const QDateTime& dt) {
    const QDateTime local = dt.toLocalTime();
    const double days = static_cast<double>(kEpoch.daysTo(local.date()));
    const double fraction = local.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the fraction still counts forward from midnight, with the
    // integer part negative: -1.25 is 1899-12-29 06:00.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime fromOleDate(double ole) {
    if (!std::isfinite(ole) || std::fabs(ole) > 3.0e6) return {};
    const double whole = std::trunc(ole);
    const double fraction = std::fabs(ole - whole);
    qint64 ms = std::llround(fraction * kMsPerDay);
    qint64 days = static_cast<qint64>(whole);
    if (ms >= static_cast<qint64>(kMsPerDay)) {
        ms -= static_cast<qint64>(kMsPerDay);
        days += 1;
    }
    return QDateTime(kEpoch.addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}
