// The About window under the offscreen platform: layout, the shake of the
// picture, the ways back to the main window, and the picture file itself.
#include "core/module1.h"
#include "support/fake_services.h"
#include "support/slot_bytes.h"
#include "ui/fonts.h"
#include "ui/form.h"
#include "ui/frm_about.h"
#include "ui/launcher_app.h"
#include "ui/line_control.h"
#include "ui/zavo_launcher.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace zavo;
using ui::FormId;
using ui::frmABOUT;
using ui::ZAVO_launcher;

namespace {

struct Run {
    explicit Run(const QString& folder)
        : module1(fake, QDir(folder).filePath("settei.ini").toStdString()), forms(fake) {
        test::writeFile(QDir(folder).filePath("settei.ini"),
                        test::recordBytes("/opt/tools/", "calc") + test::recordBytes("", "") +
                            test::recordBytes("/usr/bin/", "xeyes"));
        ui::registerForms(forms, module1);
    }
    ZAVO_launcher* launcher() const { return forms.loadedAs<ZAVO_launcher>(FormId::Launcher); }
    frmABOUT* about() const { return forms.loadedAs<frmABOUT>(FormId::About); }
    QStringList captions() const {
        QStringList c;
        for (int i = 0; i < 9; ++i)
            c << launcher()->Command1(i)->text();
        return c;
    }
    // Shows the launcher, then opens the About window from it.
    void openAbout() {
        forms.show(FormId::Launcher);
        launcher()->about_Click();
    }

    test::FakeServices fake;
    core::Module1 module1;
    ui::Forms forms;
};

// What happened to the picture during a shake, in order: its moves, its
// paints, and whether all five strokes were showing at each move.
class ShakeRecorder : public QObject {
public:
    explicit ShakeRecorder(frmABOUT* about) : about_(about) {
        about->Picture1()->installEventFilter(this);
    }
    QList<QPoint> moves;
    QList<bool> strokesShown;
    QString events; // 'M' a move, 'P' a paint

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move) {
            moves << static_cast<QMoveEvent*>(event)->pos();
            bool all = true;
            for (int i = 0; i < 5; ++i)
                all = all && about_->Line1(i)->isVisible();
            strokesShown << all;
            events += u'M';
        } else if (event->type() == QEvent::Paint) {
            events += u'P';
        }
        return false;
    }

private:
    frmABOUT* about_;
};

void sendMouseMove(QWidget* w, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

bool strokesHidden(const frmABOUT* about) {
    for (int i = 0; i < 5; ++i)
        if (!about->Line1(i)->isHidden())
            return false;
    return true;
}

// The standard 16 VGA colours.
const QList<QRgb> kVga{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                       0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void opensInPlaceOfTheLauncher();
    void layout_data();
    void layout();
    void ruleIsDarkGreyTwoPixels();
    void texts();
    void oneMouseMoveShakesOnce();
    void strokesHiddenOnAFreshOpening();
    void everyWayBackShowsTheLauncherUnchanged_data();
    void everyWayBackShowsTheLauncherUnchanged();
    void pictureFile();
    void pictureShown();

private:
    QTemporaryDir folder_;
};

void TestAbout::initTestCase() {
    ui::installFontSubstitutions();
}

void TestAbout::init() {
    QVERIFY(folder_.isValid());
}

void TestAbout::opensInPlaceOfTheLauncher() {
    Run run(folder_.path());
    run.openAbout();
    frmABOUT* about = run.about();
    QVERIFY(about);
    QVERIFY(!run.launcher()->isVisible());
    QVERIFY(about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("ZAVO_launcherのバージョン情報"));
    QCOMPARE(about->geometry(), QRect(686, 382, 318, 213));
    const Qt::WindowFlags flags = about->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(about->OK_but()->isDefault());
    QVERIFY(strokesHidden(about));
}

void TestAbout::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    // Twips of the design sheet over 15.
    QTest::newRow("Picture1") << "Picture1" << QRect(16, 16, 48, 33);
    QTest::newRow("OK_but") << "OK_but" << QRect(112, 160, 81, 33);
    QTest::newRow("Label1") << "Label1" << QRect(88, 24, 177, 33);
    QTest::newRow("Label2") << "Label2" << QRect(88, 64, 193, 25);
    QTest::newRow("Label3") << "Label3" << QRect(16, 96, 281, 33);
    // Lines: X1, Y1 and X2, Y2.
    QTest::newRow("Line1_0") << "Line1_0" << QRect(QPoint(24, 64), QPoint(24, 80));
    QTest::newRow("Line1_1") << "Line1_1" << QRect(QPoint(32, 64), QPoint(32, 88));
    QTest::newRow("Line1_2") << "Line1_2" << QRect(QPoint(40, 64), QPoint(40, 80));
    QTest::newRow("Line1_3") << "Line1_3" << QRect(QPoint(48, 64), QPoint(48, 88));
    QTest::newRow("Line1_4") << "Line1_4" << QRect(QPoint(56, 64), QPoint(56, 72));
    QTest::newRow("Line_0") << "Line_0" << QRect(QPoint(16, 144), QPoint(304, 144));
    QTest::newRow("Line_1") << "Line_1" << QRect(QPoint(16, 144), QPoint(304, 144));
}

void TestAbout::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    Run run(folder_.path());
    run.openAbout();
    QWidget* w = run.about()->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget(), run.about());
    if (auto* line = qobject_cast<ui::LineControl*>(w)) {
        QCOMPARE(line->from(), pixels.topLeft());
        QCOMPARE(line->to(), pixels.bottomRight());
    } else {
        QCOMPARE(w->geometry(), pixels);
    }
}

void TestAbout::ruleIsDarkGreyTwoPixels() {
    Run run(folder_.path());
    run.openAbout();
    QVERIFY(QTest::qWaitForWindowExposed(run.about()));
    const QImage shot = run.about()->grab().toImage();
    // Line_1, dark and 2 px, lies over Line_0 on the same path.
    for (int x : {16, 100, 304}) {
        QCOMPARE(QColor(shot.pixel(x, 144)), QColor(64, 64, 64));
        QCOMPARE(QColor(shot.pixel(x, 145)), QColor(64, 64, 64));
        QVERIFY(QColor(shot.pixel(x, 143)) != QColor(64, 64, 64));
        QVERIFY(QColor(shot.pixel(x, 146)) != QColor(64, 64, 64));
    }
    // Line_0 is there, light grey and 1 px, underneath.
    auto* light = run.about()->findChild<ui::LineControl*>("Line_0");
    QVERIFY(light);
    const QImage under = light->grab().toImage();
    QCOMPARE(QColor(under.pixel(50, 0)), QColor(224, 224, 224));
    for (int y = 1; y < under.height(); ++y)
        QVERIFY(QColor(under.pixel(50, y)) != QColor(224, 224, 224));
}

void TestAbout::texts() {
    Run run(folder_.path());
    run.openAbout();
    auto text = [&](const char* name) {
        return run.about()->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(text("Label1"), QStringLiteral("ZAVO_launcher ver1.04"));
    QVERIFY(text("Label2").contains(QStringLiteral("2000")));
    QVERIFY(text("Label3").contains(QStringLiteral("http://")));
    QVERIFY(text("Label3").contains(u'@'));
    QVERIFY(!text("Label3").contains(u'\n'));
    QCOMPARE(run.about()->OK_but()->text(), QStringLiteral("OK"));
    const QFont big = run.about()->findChild<QLabel*>("Label1")->font();
    QCOMPARE(big.family(), QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(big.pointSizeF(), 12.0);
    QVERIFY(!big.bold() && !big.italic());
    // Every text fits its label on one line.
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        QLabel* l = run.about()->findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY2(QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->width(), name);
    }
}

void TestAbout::oneMouseMoveShakesOnce() {
    Run run(folder_.path());
    run.openAbout();
    frmABOUT* about = run.about();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    ShakeRecorder rec(about);
    bool otherEventRan = false;
    QTimer::singleShot(0, about, [&] { otherEventRan = true; });

    sendMouseMove(about->Picture1(), QPoint(10, 10));

    // No event was handled while it ran.
    QVERIFY(!otherEventRan);

    // The expected path: each step from the twips read back before it, the
    // widget at the nearest pixel.
    QList<QPoint> expected;
    double left = 240, top = 240;
    const int dl[4] = {-50, 30, 40, -20};
    const int dt[4] = {-20, -10, 50, -20};
    for (int cycle = 0; cycle < 1000; ++cycle)
        for (int s = 0; s < 4; ++s) {
            left += dl[s];
            top += dt[s];
            expected << QPoint(int(std::lround(left / 15)), int(std::lround(top / 15)));
        }
    QCOMPARE(expected.size(), 4000);
    // The steps are rounded: 190 twips show as pixel 13, not 12.67.
    QCOMPARE(expected[0], QPoint(13, 15));

    QCOMPARE(rec.moves.size(), 4000);
    QCOMPARE(rec.moves, expected);
    QVERIFY(!rec.strokesShown.contains(false));
    // Each step was drawn before the next one was made.
    QCOMPARE(rec.events.count(u'M'), 4000);
    QVERIFY2(!rec.events.contains(QStringLiteral("MM")), "a step was not drawn");
    QVERIFY(rec.events.endsWith(u'P'));

    QCOMPARE(about->Picture1()->pos(), QPoint(16, 16));
    QCOMPARE(about->Picture1Left(), 240.0f);
    QCOMPARE(about->Picture1Top(), 240.0f);
    QCOMPARE(about->Picture1()->size(), QSize(48, 33));
    QVERIFY(strokesHidden(about));
    QTRY_VERIFY(otherEventRan);

    // A later move over the picture shakes it again, completely.
    rec.moves.clear();
    sendMouseMove(about->Picture1(), QPoint(20, 5));
    QCOMPARE(rec.moves, expected);
    QVERIFY(strokesHidden(about));
}

void TestAbout::strokesHiddenOnAFreshOpening() {
    Run run(folder_.path());
    run.openAbout();
    QVERIFY(QTest::qWaitForWindowExposed(run.about()));
    sendMouseMove(run.about()->Picture1(), QPoint(1, 1));
    run.about()->OK_but_Click();
    QTRY_VERIFY(!run.about());
    QVERIFY(run.launcher()->isVisible());

    run.launcher()->about_Click();
    frmABOUT* again = run.about();
    QVERIFY(again);
    QVERIFY(strokesHidden(again));
    for (int i = 0; i < 5; ++i)
        QVERIFY(!again->Line1(i)->isVisible());
    QCOMPARE(again->Picture1()->pos(), QPoint(16, 16));
}

void TestAbout::everyWayBackShowsTheLauncherUnchanged_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("OK") << "ok";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("Esc") << "esc";
    QTest::newRow("close box") << "close";
}

void TestAbout::everyWayBackShowsTheLauncherUnchanged() {
    QFETCH(QString, way);
    Run run(folder_.path());
    run.forms.show(FormId::Launcher);
    ZAVO_launcher* launcher = run.launcher();
    QVERIFY(launcher);
    const QStringList captions = run.captions();
    QVERIFY(captions[6].startsWith(QStringLiteral("calc")));
    QVERIFY(captions[8].startsWith(QStringLiteral("xeyes")));
    const int opens = run.fake.recordFileOpens;

    launcher->about_Click();
    frmABOUT* about = run.about();
    QVERIFY(about);
    QVERIFY(!launcher->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(about));
    const QPointer<frmABOUT> gone(about);

    if (way == u"ok")
        QTest::mouseClick(about->OK_but(), Qt::LeftButton);
    else if (way == u"enter")
        QTest::keyClick(about, Qt::Key_Return);
    else if (way == u"esc")
        QTest::keyClick(about, Qt::Key_Escape);
    else
        QVERIFY(about->close());

    QVERIFY(!run.forms.loaded(FormId::About));
    QVERIFY(gone.isNull() || !gone->isVisible());
    // The same window, shown again, not reloaded.
    QCOMPARE(run.launcher(), launcher);
    QVERIFY(launcher->isVisible());
    QCOMPARE(run.captions(), captions);
    QCOMPARE(run.fake.recordFileOpens, opens);
    QVERIFY(!run.fake.ended);
    QVERIFY(run.fake.messages.empty());
    // The About window is destroyed once control is back in the event loop.
    QTRY_VERIFY(gone.isNull());
}

void TestAbout::pictureFile() {
    QFile file(QStringLiteral(":/about.gif"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray gif = file.readAll();

    // The header: GIF89a, 48 x 33, a global table of 16 colours.
    QCOMPARE(gif.left(6), QByteArray("GIF89a"));
    QCOMPARE(quint8(gif[6]) | quint8(gif[7]) << 8, 48);
    QCOMPARE(quint8(gif[8]) | quint8(gif[9]) << 8, 33);
    const quint8 packed = quint8(gif[10]);
    QVERIFY(packed & 0x80);     // global colour table
    QCOMPARE(packed & 0x07, 3); // 2^(3+1) = 16 entries
    for (int i = 0; i < 16; ++i) {
        const QRgb c =
            qRgb(quint8(gif[13 + 3 * i]), quint8(gif[14 + 3 * i]), quint8(gif[15 + 3 * i]));
        QCOMPARE(c, kVga[i] | 0xFF000000);
    }

    // The blocks: exactly one image; transparency on index 8.
    int images = 0, transparentIndex = -1;
    qsizetype at = 13 + 16 * 3;
    auto skipSubBlocks = [&] {
        while (at < gif.size() && gif[at] != 0)
            at += 1 + quint8(gif[at]);
        ++at;
    };
    while (at < gif.size() && gif[at] != 0x3B) {
        if (gif[at] == 0x21) {
            if (quint8(gif[at + 1]) == 0xF9) {
                QCOMPARE(quint8(gif[at + 2]), quint8(4));
                if (quint8(gif[at + 3]) & 0x01)
                    transparentIndex = quint8(gif[at + 6]);
            }
            at += 2;
            skipSubBlocks();
        } else if (gif[at] == 0x2C) {
            ++images;
            QCOMPARE(quint8(gif[at + 9]) & 0x80, 0); // no local table
            at += 10 + 1;                            // descriptor, LZW code size
            skipSubBlocks();
        } else {
            QFAIL("unexpected block in the GIF");
        }
    }
    QCOMPARE(at, gif.size() - 1); // the trailer ends the file
    QCOMPARE(images, 1);
    QCOMPARE(transparentIndex, 8);

    // Qt's reader agrees and decodes it.
    QImageReader reader(QStringLiteral(":/about.gif"));
    QCOMPARE(reader.format(), QByteArray("gif"));
    QCOMPARE(reader.size(), QSize(48, 33));
    QCOMPARE(reader.imageCount(), 1);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QVERIFY(image.hasAlphaChannel());
    int clear = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0) {
                ++clear;
                continue;
            }
            QCOMPARE(qAlpha(p), 255);
            // Opaque pixels are VGA colours, never the transparent silver.
            QVERIFY(kVga.contains(p & 0xFFFFFF));
            QVERIFY((p & 0xFFFFFF) != 0xC0C0C0);
        }
    QVERIFY(clear > 0);                              // the ground is transparent
    QVERIFY(clear < image.width() * image.height()); // and there is a picture
    QCOMPARE(qAlpha(image.pixel(47, 0)), 0);
}

void TestAbout::pictureShown() {
    Run run(folder_.path());
    run.openAbout();
    const QLabel* picture = run.about()->Picture1();
    QCOMPARE(picture->pixmap().size(), QSize(48, 33));
    const auto premultiplied = QImage::Format_ARGB32_Premultiplied;
    QCOMPARE(picture->pixmap().toImage().convertToFormat(premultiplied),
             QImage(QStringLiteral(":/about.gif")).convertToFormat(premultiplied));
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
