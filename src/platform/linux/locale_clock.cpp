#include "locale_clock.h"

#include <QDateTime>
#include <QRegularExpression>

#include <unicode/datefmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace zavo::platform {

LocalDateTime localNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

QString withoutTimeZone(QString format, QStringView zoneLetters) {
    QString out;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = format[i];
        if (c == u'\'') {
            // Quoted text ('' being a quote) is copied as it stands.
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
        } else if (zoneLetters.contains(c)) {
            while (i < n && format[i] == c)
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

// Qt 6.4 knows only a short and a long time; the long one is "H時mm分ss秒" in
// Japanese, wider than the clock label. The CLDR medium time ("H:mm:ss",
// "h:mm:ss a", "HH:mm:ss") is what Windows shows as its long time. In nearly
// every locale it is the short time with the seconds after the minutes, which
// Qt formats from data it has loaded anyway; ICU's date formatter, which
// costs some 4 MiB of a process this small, is made only for the others.
struct LocaleClock::TimeFormat {
    QString qtFormat; // Qt's form of the medium time, or empty
    std::unique_ptr<icu::DateFormat> icuFormat;
};

namespace {

// The medium time built from a short time of the plain shape "[AP] hour
// separator mm [separator ss] [AP]"; empty for any other shape (text around
// the fields, ICU-only letters, minutes without their zero): ICU formats it.
QString mediumFromShortTime(const QString& shortTime) {
    static const QRegularExpression plain(QStringLiteral(R"(^((?:AP|ap|A|a)\s*)?)"     // [AP]
                                                         R"((HH?|hh?)([^\w'\s]|\s)mm)" // hour:mm
                                                         R"((?:\3ss)?)"                // [:ss]
                                                         R"((\s*(?:AP|ap|A|a))?$)"));  // [AP]
    const QRegularExpressionMatch m = plain.match(shortTime);
    if (!m.hasMatch())
        return {};
    // "Ap": the AM/PM text as the locale writes it ("am", "a.m.", "午前").
    const auto marker = [](const QString& part) {
        return part.isEmpty() ? part : QString(part).replace(QRegularExpression("AP|ap|A|a"), "Ap");
    };
    const QString separator = m.captured(3);
    return marker(m.captured(1)) + m.captured(2) + separator + QStringLiteral("mm") + separator +
           QStringLiteral("ss") + marker(m.captured(4));
}

std::unique_ptr<icu::DateFormat> icuMediumTime(const QLocale& locale) {
    // ICU knows no "C" and would fall back to the environment's locale.
    const icu::Locale icuLocale = locale.language() == QLocale::C
                                      ? icu::Locale::getRoot()
                                      : icu::Locale(locale.name().toUtf8().constData());
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, icuLocale));
    if (!format)
        return nullptr;
    if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get())) {
        icu::UnicodeString pattern;
        simple->toPattern(pattern);
        const QString withoutZone = withoutTimeZone(
            QString::fromUtf16(reinterpret_cast<const char16_t*>(pattern.getBuffer()),
                               pattern.length()),
            u"zZvVOXx");
        simple->applyPattern(icu::UnicodeString(reinterpret_cast<const UChar*>(withoutZone.utf16()),
                                                int32_t(withoutZone.size())));
    }
    // The time of day is formatted as it is given: no zone shifts it.
    format->setTimeZone(*icu::TimeZone::getGMT());
    return format;
}

} // namespace

LocaleClock::LocaleClock(const QLocale& dates, const QLocale& times)
    : locale_(dates), timesLocale_(times), timeFormat_(new TimeFormat) {
    timeFormat_->qtFormat =
        mediumFromShortTime(withoutTimeZone(times.timeFormat(QLocale::ShortFormat)));
    if (timeFormat_->qtFormat.isEmpty())
        timeFormat_->icuFormat = icuMediumTime(times);
}

LocaleClock::~LocaleClock() = default;

std::string LocaleClock::dateText(const LocalDateTime& when) {
    const int key = (when.year * 100 + when.month) * 100 + when.day;
    if (key != dateKey_) {
        date_ = locale_.toString(QDate(when.year, when.month, when.day), QLocale::ShortFormat)
                    .toStdString();
        dateKey_ = key;
    }
    return date_;
}

std::string LocaleClock::timeText(const LocalDateTime& when) {
    const int key = (when.hour * 60 + when.minute) * 60 + when.second;
    if (key != timeKey_) {
        const QTime t(when.hour, when.minute, when.second);
        QString text;
        if (!timeFormat_->qtFormat.isEmpty()) {
            text = timesLocale_.toString(t, timeFormat_->qtFormat);
        } else if (!timeFormat_->icuFormat) {
            text = locale_.toString(t, withoutTimeZone(locale_.timeFormat(QLocale::LongFormat)));
        } else {
            icu::UnicodeString icuText;
            timeFormat_->icuFormat->format(double(key) * 1000.0, icuText);
            text = QString::fromUtf16(reinterpret_cast<const char16_t*>(icuText.getBuffer()),
                                      icuText.length());
        }
        // CLDR 42 puts a narrow no-break space before "AM"/"PM"; Windows
        // shows an ordinary blank there, and the label's Mincho fonts have no
        // glyph for the narrow one.
        time_ = text.replace(QChar(0x202F), u' ').toStdString();
        timeKey_ = key;
    }
    return time_;
}

namespace {

// QLocale::system() takes its date and time formats from LC_TIME but names
// the locale of LC_NUMERIC; ICU is asked for the one of LC_TIME, in the
// precedence of the C library.
QLocale timeLocale() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return QLocale(QString::fromLatin1(value.split('.').front().split('@').front()));
    }
    return QLocale::c();
}

LocaleClock& systemClock() {
    static LocaleClock clock(QLocale::system(), timeLocale());
    return clock;
}

} // namespace

std::string localeShortDate(const LocalDateTime& when) {
    return systemClock().dateText(when);
}

std::string localeMediumTime(const LocalDateTime& when) {
    return systemClock().timeText(when);
}

} // namespace zavo::platform
