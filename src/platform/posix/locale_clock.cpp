#include "locale_clock.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace zavo::platform {

LocalDateTime localNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

QString withoutTimeZone(QString format) {
    // "t" (outside quotes) is the zone; drop it with the blanks around it.
    static const QRegularExpression zone(QStringLiteral("\\s*(?<!')\\bt+\\b(?!')\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

std::string localeShortDate(const LocalDateTime& when) {
    const QLocale locale = QLocale::system();
    return locale.toString(QDate(when.year, when.month, when.day), QLocale::ShortFormat)
        .toStdString();
}

std::string localeLongTime(const LocalDateTime& when) {
    const QLocale locale = QLocale::system();
    const QString format = withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
    return locale.toString(QTime(when.hour, when.minute, when.second), format).toStdString();
}

} // namespace zavo::platform
