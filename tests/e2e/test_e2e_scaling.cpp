// The real binary on a high-density screen: scaled by QT_SCALE_FACTOR or by
// the X resource Xft.dpi, its design area keeps its size and its place in
// logical pixels, both scaled alike, and its captions stay whole. Where the
// scaled place would reach past a smaller screen, every window opens wholly
// on it; names wider than their buttons and labels show from their start.
#include "support/caption_shot.h"
#include "support/sheets.h"
#include "support/slot_bytes.h"
#include "support/x_driver.h"

#include <QImage>
#include <QStandardPaths>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <tuple>

using zavo::forms::LauncherControl;
using zavo::forms::OptionControl;
using namespace zavo::test;

namespace {

// The design area in logical pixels: the stored place and the client size.
const QRect kDesign = designPlace(zavo::forms::kLauncherWindow);

int scaled(int logical, double factor) {
    return int(std::lround(logical * factor));
}

QRect scaled(const QRect& logical, double factor) {
    return {scaled(logical.x(), factor), scaled(logical.y(), factor),
            scaled(logical.width(), factor), scaled(logical.height(), factor)};
}

void addScaleRows(const QString& suffix = {}) {
    QTest::addColumn<QString>("scaleFactor"); // QT_SCALE_FACTOR, or empty
    QTest::addColumn<int>("xftDpi");          // Xft.dpi, or 0
    QTest::addColumn<double>("factor");
    QTest::newRow(qPrintable("QT_SCALE_FACTOR=1" + suffix)) << QStringLiteral("1") << 0 << 1.0;
    QTest::newRow(qPrintable("QT_SCALE_FACTOR=1.5" + suffix)) << QStringLiteral("1.5") << 0 << 1.5;
    QTest::newRow(qPrintable("QT_SCALE_FACTOR=2" + suffix)) << QStringLiteral("2") << 0 << 2.0;
    QTest::newRow(qPrintable("Xft.dpi 144" + suffix)) << QString() << 144 << 1.5;
    QTest::newRow(qPrintable("Xft.dpi 192" + suffix)) << QString() << 192 << 2.0;
}

// Scales the session as the row says: what went wrong, or nothing.
QString scaleSession(LauncherRun& run) {
    QFETCH(QString, scaleFactor);
    QFETCH(int, xftDpi);
    if (!xftDpi) {
        run.x.setEnvironmentVariable(QStringLiteral("QT_SCALE_FACTOR"), scaleFactor);
        return {};
    }
    const QString resources = run.file(QStringLiteral("Xresources"));
    writeFile(resources, "Xft.dpi: " + QByteArray::number(xftDpi) + '\n');
    if (run.x.run(QStringLiteral("xrdb"), {QStringLiteral("-merge"), resources}) != 0)
        return QStringLiteral("xrdb could not set Xft.dpi");
    return {};
}

bool rowNeedsMissingXrdb() {
    QFETCH(int, xftDpi);
    return xftDpi && QStandardPaths::findExecutable(QStringLiteral("xrdb")).isEmpty();
}

// A screenshot of the screen once `window` has drawn, named after it and
// the row; its path, empty when none was taken.
QString shot(LauncherRun& run, const char* window, int waitMs = 300) {
    QTest::qWait(waitMs);
    return run.xd.shot(QStringLiteral("e2e_scaling_%1_%2")
                           .arg(QString::fromLatin1(window),
                                QString::fromLatin1(QTest::currentDataTag())
                                    .remove(QRegularExpression(QStringLiteral("[^0-9A-Za-z]")))));
}

// The window, frame included, lies wholly on the screen.
QString offScreen(XSession& x, quint64 window, QSize screen) {
    const XGeometry f = x.frameGeometry(window);
    if (f.x >= 0 && f.y >= 0 && f.x + f.width <= screen.width() &&
        f.y + f.height <= screen.height())
        return {};
    return QStringLiteral("%1x%2 at (%3, %4) with its frame")
        .arg(f.width)
        .arg(f.height)
        .arg(f.x)
        .arg(f.y);
}

} // namespace

class TestE2eScaling : public QObject {
    Q_OBJECT
private slots:
    void designAreaScalesWithItsPlace_data();
    void designAreaScalesWithItsPlace();
    void fullHdScreenHoldsEveryWindowAndLongNames_data();
    void fullHdScreenHoldsEveryWindowAndLongNames();
};

void TestE2eScaling::designAreaScalesWithItsPlace_data() {
    addScaleRows();
}

void TestE2eScaling::designAreaScalesWithItsPlace() {
    QFETCH(double, factor);
    LauncherRun run(QSize(2560, 1600));
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    if (rowNeedsMissingXrdb())
        QSKIP("xrdb is not installed (apt-get install x11-xserver-utils)");
    ZAVO_VERIFY_OK(scaleSession(run));
    XSession& x = run.x;
    // A slot caption of the full ten characters, and the Japanese clock.
    x.setEnvironmentVariable(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
    writeFile(run.file(QStringLiteral("settei.ini")), recordBytes("/opt/tools/", "notepad.exe"));

    ZAVO_VERIFY_OK(run.start());
    const quint64 window = run.window;
    // The client window holds the menu bar above the design area.
    QTRY_COMPARE_WITH_TIMEOUT(x.geometry(window).x, scaled(kDesign.x(), factor), 10000);
    const XGeometry g = x.geometry(window);
    QCOMPARE(g.width, scaled(kDesign.width(), factor));
    QCOMPARE(g.y + g.height, scaled(kDesign.bottom() + 1, factor));
    QVERIFY(g.height > scaled(kDesign.height(), factor)); // a menu bar above it

    // After the clock's first tick: its glyphs end inside its label, whose
    // last column and the gap to the button are blank.
    const QString mainShot = shot(run, "main", 400);
    QVERIFY(!mainShot.isEmpty());
    const QImage image(mainShot);
    QVERIFY(!image.isNull());
    const QRect label =
        scaled(designRect(LauncherControl::time_display).translated(kDesign.topLeft()), factor);
    const QRgb background = image.pixel(label.right(), label.top());
    for (int x0 = label.right() - int(factor) + 1; x0 <= label.right(); ++x0)
        for (int y = label.top(); y <= label.bottom(); ++y)
            QVERIFY2(image.pixel(x0, y) == background,
                     qPrintable(QStringLiteral("ink at %1,%2").arg(x0).arg(y)));
}

void TestE2eScaling::fullHdScreenHoldsEveryWindowAndLongNames_data() {
    addScaleRows(QStringLiteral(" on 1920x1080"));
}

// On a 1920 x 1080 screen the place of the design, (686, 420), stands at 1x
// and 1.5x; at 2x it would put the right column, the clock and the shutdown
// button off screen (1372 + 624 > 1920), so every window opens at the nearest
// place on it. Ten-character Japanese names wrap on their buttons and show
// from their start in the dialog's labels.
void TestE2eScaling::fullHdScreenHoldsEveryWindowAndLongNames() {
    QFETCH(double, factor);
    const QSize screen(1920, 1080);
    LauncherRun run(screen);
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    if (rowNeedsMissingXrdb())
        QSKIP("xrdb is not installed (apt-get install x11-xserver-utils)");
    ZAVO_VERIFY_OK(scaleSession(run));
    auto [x, xd] = std::tie(run.x, run.xd);
    // 漢字プログラム名です, then with another first character (宇), then with
    // another last one (し).
    const QByteArray dir("/opt/tools/");
    const QByteArray middle("\x8e\x9a\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x96\xbc\x82\xc5");
    writeFile(run.file(QStringLiteral("settei.ini")),
              recordBytes(dir, "\x8a\xbf" + middle + "\x82\xb7") +
                  recordBytes(dir, "\x89\x46" + middle + "\x82\xb7") +
                  recordBytes(dir, "\x8a\xbf" + middle + "\x82\xb5"));
    // The pointer away from every window: no button lit by it.
    xd.moveTo(QPoint(0, 0));

    ZAVO_VERIFY_OK(run.start());
    const quint64 main = run.window;
    QTRY_VERIFY_WITH_TIMEOUT(!x.property(main, QStringLiteral("_NET_FRAME_EXTENTS"))
                                  .contains(QLatin1String("not found")),
                             10000);
    ZAVO_TRY_OK(offScreen(x, main, screen), 10000);
    const XGeometry g = x.geometry(main);
    if (factor < 2) { // the design's place stands
        QCOMPARE(g.x, scaled(kDesign.x(), factor));
        // At 1.5 a menu bar of an odd height in logical pixels (19 in the C
        // locale) puts the bottom half a device pixel off.
        QVERIFY(std::abs(g.y + g.height - scaled(kDesign.bottom() + 1, factor)) <=
                (factor > 1 ? 1 : 0));
    }
    const QString mainShot = shot(run, "main", 400); // after the clock's first tick
    QVERIFY(!mainShot.isEmpty());
    // The slot buttons against 乗換案内(&N) above them: the wrapped lines
    // leave the border and the column inside it (2 px at 1x) blank.
    const QPoint area(g.x, g.y + g.height - scaled(kDesign.height(), factor));
    const auto button = [&](LauncherControl control) {
        return scaled(designRect(control), factor).translated(area);
    };
    const QString buttons =
        wholeOnButtons(QImage(mainShot), button(LauncherControl::Command1_6),
                       button(LauncherControl::Command1_7), button(LauncherControl::Command1_8),
                       button(LauncherControl::Command1_3), scaled(2, factor));
    QVERIFY2(buttons.isEmpty(), qPrintable(buttons));

    // The registration dialog: its labels show each name from its start.
    ZAVO_VERIFY_OK(run.openDialog(false));
    const quint64 dialog = run.dialog;
    ZAVO_TRY_OK(offScreen(x, dialog, screen), 10000);
    const QString dialogShot = shot(run, "dialog");
    QVERIFY(!dialogShot.isEmpty());
    const XGeometry d = x.geometry(dialog);
    // The labels lie within the frame Frame2.
    const auto label = [&](OptionControl id) {
        const QRect inFrame =
            designRect(id).translated(designRect(OptionControl::Frame2).topLeft());
        return scaled(inFrame, factor).translated(d.x, d.y);
    };
    const QString labels = startOnLabels(QImage(dialogShot), label(OptionControl::Label1),
                                         label(OptionControl::Label2), scaled(13, factor));
    QVERIFY2(labels.isEmpty(), qPrintable(labels));
    xd.keysTo(dialog, {QStringLiteral("Escape")});
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kDialogTitle).isEmpty(), 10000);

    // The About window, whose place is higher than the main window's.
    const quint64 back = x.waitForWindow(kMainTitle);
    QVERIFY(back);
    xd.keysTo(back, {QStringLiteral("alt+h"), QStringLiteral("i")});
    const quint64 about = x.waitForWindow(kAboutTitle);
    QVERIFY(about);
    ZAVO_TRY_OK(offScreen(x, about, screen), 10000);
    const XGeometry a = x.geometry(about);
    if (factor < 2)
        QCOMPARE(QPoint(a.x, a.y),
                 scaled(designPlace(zavo::forms::kAboutWindow), factor).topLeft());
    qInfo("X client windows: main %dx%d at (%d, %d), dialog %dx%d at (%d, %d), About %dx%d at "
          "(%d, %d)",
          g.width, g.height, g.x, g.y, d.width, d.height, d.x, d.y, a.width, a.height, a.x, a.y);
    QVERIFY(!shot(run, "about").isEmpty());
}

QTEST_GUILESS_MAIN(TestE2eScaling)
#include "test_e2e_scaling.moc"
