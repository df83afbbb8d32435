#pragma once

#include "core/services.h"

#include <QLocale>
#include <QString>
#include <QStringView>

#include <memory>
#include <string>

namespace zavo::platform {

LocalDateTime localNow();

// The clock texts of one locale: its short date and the time in the Unicode
// CLDR "medium" form, without a time zone. Each text is formatted
// once per value: the clock asks four times a second.
class LocaleClock {
public:
    explicit LocaleClock(const QLocale& locale) : LocaleClock(locale, locale) {}
    LocaleClock(const QLocale& dates, const QLocale& times);
    ~LocaleClock();
    LocaleClock(const LocaleClock&) = delete;
    LocaleClock& operator=(const LocaleClock&) = delete;

    std::string dateText(const LocalDateTime& when);
    std::string timeText(const LocalDateTime& when);

private:
    struct TimeFormat;
    QLocale locale_;
    QLocale timesLocale_;
    std::unique_ptr<TimeFormat> timeFormat_;
    int dateKey_ = -1;
    std::string date_;
    int timeKey_ = -1;
    std::string time_;
};

// The system locale's clock texts, the time in the locale of LC_TIME; the
// system locale stays the same for the life of the process on Linux.
std::string localeShortDate(const LocalDateTime& when);
std::string localeMediumTime(const LocalDateTime& when);

// `format` with its time-zone fields (and the blanks before them) removed;
// quoted text stays. Qt marks the zone with "t", ICU with "zZvVOXx".
QString withoutTimeZone(QString format, QStringView zoneLetters = u"t");

} // namespace zavo::platform
