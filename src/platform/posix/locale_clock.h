#pragma once

#include "../services.h"

#include <QString>

#include <string>

namespace zavo::platform {
LocalDateTime localNow();
// The system locale's short date, and its long time without the zone field.
std::string localeShortDate(const LocalDateTime& when);
std::string localeLongTime(const LocalDateTime& when);
// The long time format with its time-zone field (and the blank before it) removed.
QString withoutTimeZone(QString format);
} // namespace zavo::platform
