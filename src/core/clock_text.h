// The clock line: date, day name, time, from one reading of the clock.
#pragma once

#include "services.h"

#include <string>

namespace zavo::core {

// 1 = Sunday ... 7 = Saturday, for a date of the proleptic Gregorian calendar.
int weekday_of(int year, int month, int day);

// "（日）" ... "（土）" for weekday 1 to 7; empty for any other number.
std::string day_name(int weekday);

// Reads the clock once and composes "<date> <day name> <time>".
std::string clock_text(platform::Services& services);

} // namespace zavo::core
