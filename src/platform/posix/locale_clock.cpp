#include "locale_clock.h"

#include <QDateTime>
#include <QLocale>

namespace zavo::platform {

LocalDateTime localNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

QString withoutTimeZone(QString format) {
    // A run of "t" outside quotes is the zone; it goes with the blanks before
    // it. Quoted text ('' being a quote) is copied as it stands.
    QString out;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = format[i];
        if (c == u'\'') {
            qsizetype j = i + 1;
            while (j < n) {
                if (format[j] == u'\'') {
                    if (j + 1 < n && format[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += format.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == u't') {
            while (i < n && format[i] == u't')
                ++i;
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
        } else {
            out += c;
            ++i;
        }
    }
    return out.trimmed();
}

// The clock asks four times a second; the system locale stays the same for
// the life of the process on Linux, so a text is formatted once per value.
std::string localeShortDate(const LocalDateTime& when) {
    static int lastKey = -1;
    static std::string text;
    const int key = (when.year * 100 + when.month) * 100 + when.day;
    if (key != lastKey) {
        text = QLocale::system()
                   .toString(QDate(when.year, when.month, when.day), QLocale::ShortFormat)
                   .toStdString();
        lastKey = key;
    }
    return text;
}

std::string localeLongTime(const LocalDateTime& when) {
    static int lastKey = -1;
    static std::string text;
    const int key = (when.hour * 60 + when.minute) * 60 + when.second;
    if (key != lastKey) {
        const QLocale locale = QLocale::system();
        const QString format = withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
        text = locale.toString(QTime(when.hour, when.minute, when.second), format).toStdString();
        lastKey = key;
    }
    return text;
}

} // namespace zavo::platform
