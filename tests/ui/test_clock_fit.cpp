// The clock line in the shipped fonts: the widest text of each common locale
// against the width of the real clock label, measured in ink, as the user
// sees it (an italic slant runs past the text's advance).
#include "core/clock_text.h"
#include "platform/linux/locale_clock.h"
#include "support/qt_program.h"
#include "ui/qt/fonts.h"

#include <QFontInfo>
#include <QImage>
#include <QLabel>

#include <algorithm>

using namespace zavo;

namespace {

// The widest of `texts` in `metrics`.
QString widest(const QFontMetrics& metrics, const QStringList& texts) {
    return *std::ranges::max_element(
        texts, {}, [&](const QString& t) { return metrics.horizontalAdvance(t); });
}

// Dates of twelve years (every weekday and month/day digit), each with its
// day name; times of every hour and minute (the seconds take the same digits).
QString widestClockText(const QLocale& locale, const QFontMetrics& metrics) {
    platform::LocaleClock clock(locale);
    QStringList dates, times;
    for (QDate d(2026, 1, 1); d.year() < 2038; d = d.addDays(1)) {
        const platform::LocalDateTime when{d.year(), d.month(), d.day(), 0, 0, 0};
        dates << QString::fromStdString(
            clock.dateText(when) + ' ' +
            core::day_name(core::weekday_of(d.year(), d.month(), d.day())));
    }
    for (int h = 0; h < 24; ++h)
        for (int m = 0; m < 60; ++m)
            times << QString::fromStdString(clock.timeText({2026, 1, 1, h, m, m}));
    return widest(metrics, dates) + u' ' + widest(metrics, times);
}

// The rightmost column `label` inks with `text`, drawn without the clip of
// its own width.
int rightmostInk(const QLabel& label, const QString& text) {
    QLabel wide;
    wide.setFont(label.font());
    wide.setAlignment(label.alignment());
    wide.setIndent(label.indent());
    wide.setMargin(label.margin());
    wide.setContentsMargins(label.contentsMargins());
    wide.resize(label.width() * 2, label.height());
    wide.setText(text);
    const QImage image = wide.grab().toImage();
    const QRgb background = image.pixel(image.width() - 1, 0);
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != background)
                return x / int(wide.devicePixelRatioF());
    return -1;
}

} // namespace

class TestClockFit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ui::installFontSubstitutions(); }
    void widestTextFitsTheLabel_data();
    void widestTextFitsTheLabel();
};

void TestClockFit::widestTextFitsTheLabel_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("fits");
    for (const char* name : {"ja_JP", "de_DE", "fr_FR", "zh_CN"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
    // Wider than the label in both Mincho stand-ins: "AM"/"PM", the month's
    // name, the Korean day period (the README says so).
    for (const char* name : {"en_US", "ko_KR", "C"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
}

void TestClockFit::widestTextFitsTheLabel() {
    QFETCH(QString, locale);
    QFETCH(bool, fits);
    test::QtProgram p;
    p.start();
    QLabel* label = p.launcher()->time_display();
    QVERIFY(label);
    QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("Noto Serif CJK JP"));
    const QString text = widestClockText(QLocale(locale), label->fontMetrics());
    const int ink = rightmostInk(*label, text);
    qInfo("%s: \"%s\" advance %d, ink to column %d of 0-%d", qPrintable(locale), qPrintable(text),
          label->fontMetrics().horizontalAdvance(text), ink, label->width() - 1);
    QVERIFY(ink > 0);
    // Ink in the label's last column reads as cut at its edge.
    QCOMPARE(ink < label->width() - 1, fits);
}

QTEST_MAIN(TestClockFit)
#include "test_clock_fit.moc"
