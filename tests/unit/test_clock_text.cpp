// The clock line: one reading of the clock per tick, the weekday, the day names and
// the Linux locale formats.
#include "core/clock_text.h"
#include "platform/fake/recording_services.h"
#include "platform/linux/locale_clock.h"

#include <QLocale>
#include <QTest>

#include <algorithm>

using namespace zavo;
using platform::LocalDateTime;
using namespace Qt::StringLiterals;

namespace {

// True when `format` still holds a "t" outside quoted text.
bool hasUnquotedZone(const QString& format) {
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && c == u't')
            return true;
    }
    return false;
}

} // namespace

class TestClockText : public QObject {
    Q_OBJECT
private slots:
    void weekdayCountsSundayAsOne_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("weekday");
        QTest::newRow("1900-03-01 thursday") << QDate(1900, 3, 1) << 5;
        QTest::newRow("1970-01-01 thursday") << QDate(1970, 1, 1) << 5;
        QTest::newRow("2000-01-01 saturday") << QDate(2000, 1, 1) << 7;
        QTest::newRow("2000-03-01 wednesday") << QDate(2000, 3, 1) << 4;
        QTest::newRow("2003-09-28 sunday") << QDate(2003, 9, 28) << 1;
        QTest::newRow("2038-01-19 tuesday") << QDate(2038, 1, 19) << 3;
        QTest::newRow("2100-02-28 sunday") << QDate(2100, 2, 28) << 1;
        QTest::newRow("2100-03-01 monday") << QDate(2100, 3, 1) << 2;
    }

    void weekdayCountsSundayAsOne() {
        QFETCH(QDate, date);
        QFETCH(int, weekday);
        QCOMPARE(core::weekday_of(date.year(), date.month(), date.day()), weekday);
    }

    void dayNameOutsideTheTableIsEmpty() {
        QVERIFY(core::day_name(0).empty());
        QVERIFY(core::day_name(8).empty());
        QVERIFY(core::day_name(-1).empty());
        // Each name is three characters: full-width brackets around the kanji.
        for (int d = 1; d <= 7; ++d) {
            const QString name = QString::fromStdString(core::day_name(d));
            QCOMPARE(name.size(), 3);
            QCOMPARE(name.front(), QChar(0xFF08));
            QCOMPARE(name.back(), QChar(0xFF09));
        }
    }

    void oneReadingPerTickAcrossMidnight() {
        platform::RecordingServices fake;
        // The clock passes midnight between two reads of it.
        fake.clock = {{2003, 9, 30, 23, 59, 59}, {2003, 10, 1, 0, 0, 0}};
        QCOMPARE(QString::fromStdString(core::clock_text(fake)),
                 QStringLiteral("2003/09/30 （火） 23:59:59"));
        QCOMPARE(std::count(fake.calls.begin(), fake.calls.end(), "now"), 1);
        QCOMPARE(QString::fromStdString(core::clock_text(fake)),
                 QStringLiteral("2003/10/01 （水） 0:00:00"));
        QCOMPARE(std::count(fake.calls.begin(), fake.calls.end(), "now"), 2);
    }

    void withoutTimeZone_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ja_JP") << u"H時mm分ss秒 t"_s << u"H時mm分ss秒"_s;
        QTest::newRow("C") << u"HH:mm:ss t"_s << u"HH:mm:ss"_s;
        QTest::newRow("en_US") << u"h:mm:ss AP t"_s << u"h:mm:ss AP"_s;
        QTest::newRow("zone first") << u"t HH:mm:ss"_s << u"HH:mm:ss"_s;
        QTest::newRow("zone glued") << u"H時mm分ss秒t"_s << u"H時mm分ss秒"_s;
        QTest::newRow("long zone") << u"HH:mm:ss tttt"_s << u"HH:mm:ss"_s;
        QTest::newRow("no zone") << u"HH:mm:ss"_s << u"HH:mm:ss"_s;
        QTest::newRow("quoted t kept") << u"HH 'h' mm 'at' ss t"_s << u"HH 'h' mm 'at' ss"_s;
        QTest::newRow("quoted t alone") << u"'t' HH:mm:ss"_s << u"'t' HH:mm:ss"_s;
        QTest::newRow("escaped quote") << u"h 'o''clock t' mm t"_s << u"h 'o''clock t' mm"_s;
        QTest::newRow("literal quote") << u"HH''mm t"_s << u"HH''mm"_s;
    }

    void withoutTimeZone() {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(platform::withoutTimeZone(format), expected);
    }

    void noLocaleKeepsItsZone() {
        const QList<QLocale> all = QLocale::matchingLocales(
            QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        QVERIFY(all.size() > 100);
        for (const QLocale& l : all) {
            const QString format = l.timeFormat(QLocale::LongFormat);
            const QString stripped = platform::withoutTimeZone(format);
            QVERIFY2(!hasUnquotedZone(stripped), qPrintable(l.name() + u' ' + stripped));
            // The seconds stay: it is the long format still.
            QVERIFY2(stripped.contains(u's'), qPrintable(l.name() + u' ' + stripped));
        }
    }

    void linuxBackendUsesTheJapaneseLocale() {
        // LC_TIME=ja_JP.UTF-8 is set for this test by its CMake registration.
        if (QLocale::system().name() != QStringLiteral("ja_JP"))
            QSKIP("the system locale is not ja_JP here");
        const LocalDateTime when{2003, 10, 1, 9, 5, 7};
        QCOMPARE(QString::fromStdString(platform::localeShortDate(when)),
                 QStringLiteral("2003/10/01"));
        QCOMPARE(QString::fromStdString(platform::localeMediumTime(when)),
                 QStringLiteral("9:05:07"));
    }

    void mediumTimeWithoutZone_data() {
        // Row names are the locales; the texts at 9:05:07 and at 23:59:59.
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("ja_JP") << QStringList{"9:05:07", "23:59:59"};
        // An ordinary blank before AM/PM, not CLDR's narrow no-break space.
        QTest::newRow("en_US") << QStringList{"9:05:07 AM", "11:59:59 PM"};
        QTest::newRow("de_DE") << QStringList{"09:05:07", "23:59:59"};
        QTest::newRow("ko_KR") << QStringList{"오전 9:05:07", "오후 11:59:59"};
        QTest::newRow("C") << QStringList{"09:05:07", "23:59:59"};
        // The AM/PM text as the locale writes it.
        QTest::newRow("en_AU") << QStringList{"9:05:07 am", "11:59:59 pm"};
        QTest::newRow("en_CA") << QStringList{"9:05:07 a.m.", "11:59:59 p.m."};
        // Shapes only ICU's formatter knows: a day period, words between fields.
        QTest::newRow("zh_TW") << QStringList{"上午9:05:07", "晚上11:59:59"};
        QTest::newRow("fr_CA") << QStringList{"09 h 05 min 07 s", "23 h 59 min 59 s"};
    }

    void mediumTimeWithoutZone() {
        QFETCH(QStringList, texts);
        platform::LocaleClock clock{QLocale(QString::fromLatin1(QTest::currentDataTag()))};
        QCOMPARE(QString::fromStdString(clock.timeText({2026, 12, 9, 9, 5, 7})), texts.at(0));
        QCOMPARE(QString::fromStdString(clock.timeText({2026, 12, 9, 23, 59, 59})), texts.at(1));
        // ICU's zone letters go with their blanks, quoted text stays.
        QCOMPARE(platform::withoutTimeZone(QStringLiteral("h:mm:ss a zzzz 'z'"), u"zZvVOXx"),
                 QStringLiteral("h:mm:ss a 'z'"));
    }
};

QTEST_GUILESS_MAIN(TestClockText)
#include "test_clock_text.moc"
