// The real binary on a high-density screen: scaled by QT_SCALE_FACTOR or by
// the X resource Xft.dpi, its design area keeps its size and its place in
// logical pixels, both scaled alike, and its captions stay whole.
#include "support/slot_bytes.h"
#include "support/x_session.h"

#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using zavo::test::XGeometry;
using zavo::test::XSession;

namespace {

const QString kTitle = QStringLiteral("ZAVO_launcher");
// The design area in logical pixels: the stored place and the client size.
const QRect kDesign(686, 420, 312, 182);

int scaled(int logical, double factor) {
    return int(std::lround(logical * factor));
}

} // namespace

class TestE2eScaling : public QObject {
    Q_OBJECT
private slots:
    void designAreaScalesWithItsPlace_data();
    void designAreaScalesWithItsPlace();
};

void TestE2eScaling::designAreaScalesWithItsPlace_data() {
    QTest::addColumn<QString>("scaleFactor"); // QT_SCALE_FACTOR, or empty
    QTest::addColumn<int>("xftDpi");          // Xft.dpi, or 0
    QTest::addColumn<double>("factor");
    QTest::newRow("QT_SCALE_FACTOR=1") << QStringLiteral("1") << 0 << 1.0;
    QTest::newRow("QT_SCALE_FACTOR=1.5") << QStringLiteral("1.5") << 0 << 1.5;
    QTest::newRow("QT_SCALE_FACTOR=2") << QStringLiteral("2") << 0 << 2.0;
    QTest::newRow("Xft.dpi 144") << QString() << 144 << 1.5;
    QTest::newRow("Xft.dpi 192") << QString() << 192 << 2.0;
}

void TestE2eScaling::designAreaScalesWithItsPlace() {
    QFETCH(QString, scaleFactor);
    QFETCH(int, xftDpi);
    QFETCH(double, factor);
    XSession x(QSize(2560, 1600));
    ZAVO_REQUIRE_X_SESSION(x);
    QTemporaryDir work;
    QVERIFY(work.isValid());
    if (xftDpi) {
        if (QStandardPaths::findExecutable(QStringLiteral("xrdb")).isEmpty())
            QSKIP("xrdb is not installed (apt-get install x11-xserver-utils)");
        const QString resources = work.filePath(QStringLiteral("Xresources"));
        zavo::test::writeFile(resources, "Xft.dpi: " + QByteArray::number(xftDpi) + '\n');
        QCOMPARE(x.run(QStringLiteral("xrdb"), {QStringLiteral("-merge"), resources}), 0);
    } else {
        x.setEnvironmentVariable(QStringLiteral("QT_SCALE_FACTOR"), scaleFactor);
    }
    // A slot caption of the full ten characters, and the Japanese clock.
    x.setEnvironmentVariable(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
    zavo::test::writeFile(work.filePath(QStringLiteral("settei.ini")),
                          zavo::test::recordBytes("/opt/tools/", "notepad.exe"));

    QProcess* launcher = x.startLauncher(work.path());
    const quint64 window = x.waitForWindow(kTitle);
    QVERIFY2(window != 0, qPrintable(QStringLiteral("no window titled ZAVO_launcher was mapped "
                                                    "(launcher state %1, exit code %2)")
                                         .arg(launcher->state())
                                         .arg(launcher->exitCode())));
    // The client window holds the menu bar above the design area.
    QTRY_COMPARE_WITH_TIMEOUT(x.geometry(window).x, scaled(kDesign.x(), factor), 10000);
    const XGeometry g = x.geometry(window);
    QCOMPARE(g.width, scaled(kDesign.width(), factor));
    QCOMPARE(g.y + g.height, scaled(kDesign.bottom() + 1, factor));
    QVERIFY(g.height > scaled(kDesign.height(), factor)); // a menu bar above it

    QTest::qWait(400); // the clock's first tick
    const QString shot = QStringLiteral(ZAVO_SCREENSHOT_DIR "/e2e_scaling_%1.png")
                             .arg(QString::fromLatin1(QTest::currentDataTag())
                                      .remove(QRegularExpression(QStringLiteral("[^0-9A-Za-z]"))));
    QFile::remove(shot);
    QVERIFY(x.screenshot(shot));
    // The clock's glyphs end inside its label: the last column of the label
    // (logical 16 + 193 in the design area) and the gap to the button are blank.
    const QImage image(shot);
    QVERIFY(!image.isNull());
    const QRect label(scaled(kDesign.x() + 16, factor), scaled(kDesign.y() + 136, factor),
                      scaled(193, factor), scaled(25, factor));
    const QRgb background = image.pixel(label.right(), label.top());
    for (int x0 = label.right() - int(factor) + 1; x0 <= label.right(); ++x0)
        for (int y = label.top(); y <= label.bottom(); ++y)
            QVERIFY2(image.pixel(x0, y) == background,
                     qPrintable(QStringLiteral("ink at %1,%2").arg(x0).arg(y)));
}

QTEST_GUILESS_MAIN(TestE2eScaling)
#include "test_e2e_scaling.moc"
