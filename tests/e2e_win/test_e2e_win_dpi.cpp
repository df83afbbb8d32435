// ZAVO_launcher.exe under Wine in a Japanese locale at 96, 120, 144 and 192
// DPI (the LogPixels of a private copy of the test prefix): each window's
// client area is its design size x DPI / 96, the main window stands at
// (686, 420) x DPI / 96 under a menu bar of one line, and no caption of any
// window is cut, as an automation helper measures the texts against their
// controls, and the underscores of "M_Player(&M)" and "ZAVO_launcher ver1.04"
// reach the screen (a stand-in for "ＭＳ ゴシック" can lose them at some pixel
// sizes). At 96 DPI also: the option buttons of the registration dialog are
// one tab stop, the checked one, and the arrow keys move the check. The
// program is the test's argument (wine_session.h).
#include "support/caption_shot.h"
#include "support/slot_bytes.h"
#include "wine_session.h"

#include <QDir>
#include <QImage>
#include <QProcess>

#include <algorithm>
#include <climits>

using namespace zavo::test;
using zavo::core::twips_to_pixels;
using zavo::forms::kCommand1;
using zavo::forms::OptionControl;

namespace {

// The About picture's text is its name for a screen reader, never drawn.
const QString kPictureClass = QStringLiteral("ZAVO_picture");

// The least room any caption has to spare, in pixels, for the log.
int leastSpare(const WinWindow& m) {
    int least = INT_MAX;
    for (const WinChild& c : m.children)
        if (!c.text.isEmpty() && c.cls != kPictureClass)
            least = std::min(least, c.room - c.textWidth);
    return least;
}

// The three option buttons as (checked, tab stop) pairs, Option1 first.
QList<std::pair<bool, bool>> options(const WinWindow& m) {
    QList<std::pair<bool, bool>> found;
    for (const OptionControl id : zavo::forms::kSlotOptions)
        if (const WinChild* c = m.find(QStringLiteral("Button"), caption(id)))
            found.append({c->checked, c->tabStop});
    return found;
}

} // namespace

class TestE2eWinDpi : public QObject, WineFixture {
    Q_OBJECT

public:
    using WineFixture::WineFixture;

private:
    std::unique_ptr<QTemporaryDir> prefix_; // the copy of this DPI

    // Every caption whose text is wider or taller than its control leaves room.
    static QStringList cutCaptions(const WinWindow& m) {
        QStringList cut;
        for (const WinChild& c : m.children)
            if (!c.text.isEmpty() && c.cls != kPictureClass &&
                (c.textWidth > c.room || c.textHeight > c.height))
                cut.append(QStringLiteral("%1 \"%2\": %3x%4 in %5x%6")
                               .arg(c.cls, c.text)
                               .arg(c.textWidth)
                               .arg(c.textHeight)
                               .arg(c.room)
                               .arg(c.height));
        return cut;
    }

    // Empty when the underscore of `text`, shown by a control of the window
    // titled `title` in `font`, has ink in at least half of its columns on
    // the screen, the rest of the text found in its place; else what was seen.
    QString underscoreMissing(const QString& title, const QString& text, const QString& font) {
        QString out;
        const int code = session_->run(QStringLiteral("wine"),
                                       {helper(QStringLiteral("read_window.exe")),
                                        QStringLiteral("underscore"), title, text, font},
                                       &out, 60000);
        const QStringList f = out.trimmed().split(QLatin1Char('\t'));
        if (code == 0 && f.size() == 5 && f[0] == QLatin1String("underscore")) {
            const int inked = f[1].toInt(), width = f[2].toInt();
            const int matched = f[3].toInt(), total = f[4].toInt();
            if (width > 0 && 2 * inked >= width && total > 0 && 10 * matched >= 9 * total)
                return {};
        }
        return QStringLiteral("\"%1\" in %2: exit %3, %4")
            .arg(text, font)
            .arg(code)
            .arg(out.trimmed());
    }

    // Closes the dialog with Esc and opens About from the main window that
    // comes back; About's window, 0 when a step did not happen.
    quint64 aboutAfterDialog(quint64 dialog) {
        driver_->keysTo(dialog, {QStringLiteral("Escape")});
        if (!gone(kDialogTitle))
            return 0;
        const quint64 back = session_->waitForWindow(kMainTitle, 30000);
        if (!back)
            return 0;
        driver_->keysTo(back, {QStringLiteral("alt+h"), QStringLiteral("i")});
        return session_->waitForWindow(kAboutTitle, 30000);
    }

    QString shot(const QString& name, int dpi) {
        return WineFixture::shot(QStringLiteral("dpi%1_%2").arg(dpi).arg(name));
    }

    // A private X screen of `screen` and a private copy of the prepared
    // prefix at `dpi`, the program started in `workDir`; `window` becomes its
    // main window (0: the test has failed or been skipped).
    void startAtDpi(int dpi, QSize screen, const QString& workDir, quint64& window) {
        startSession(screen);
        ZAVO_REQUIRE_X_SESSION(*session_);

        // A private copy of the prepared prefix at this DPI.
        prefix_ = std::make_unique<QTemporaryDir>(wineDir_ + QStringLiteral("/dpi-XXXXXX"));
        QVERIFY(prefix_->isValid());
        const QString prefix = prefix_->filePath(QStringLiteral("wine-prefix"));
        QCOMPARE(QProcess::execute(
                     QStringLiteral("cp"),
                     {QStringLiteral("-a"), wineDir_ + QStringLiteral("/wine-prefix"), prefix}),
                 0);
        useWinePrefix(*session_, prefix, wineDir_ + QStringLiteral("/wine-locale"));
        for (const QString& key : {QStringLiteral("HKCU\\Control Panel\\Desktop"),
                                   QStringLiteral("HKCC\\Software\\Fonts")})
            QCOMPARE(
                session_->run(QStringLiteral("wine"),
                              {QStringLiteral("reg"), QStringLiteral("add"), key,
                               QStringLiteral("/v"), QStringLiteral("LogPixels"),
                               QStringLiteral("/t"), QStringLiteral("REG_DWORD"),
                               QStringLiteral("/d"), QString::number(dpi), QStringLiteral("/f")},
                              nullptr, 120000),
                0);
        // Wine reads the DPI when its server starts.
        session_->run(QStringLiteral("wineserver"), {QStringLiteral("-k")});
        session_->run(QStringLiteral("wineserver"), {QStringLiteral("-w")}, nullptr, 60000);

        startProgram(workDir);
        window = session_->waitForWindow(kMainTitle, 120000);
        QVERIFY2(window, "no main window");
    }

private slots:
    void initTestCase() {
        ZAVO_REQUIRE_WINDOWS_PROGRAM();
        // The prefix every DPI copies; its server is stopped so that the
        // copies start from the files as written.
        QVERIFY(QDir().mkpath(wineDir_));
        QVERIFY2(prepareWinePrefix(wineDir_), "wine-run.sh --prepare failed");
        stopWineServer(wineDir_);
    }

    void cleanup() {
        if (session_)
            session_->run(QStringLiteral("wineserver"), {QStringLiteral("-k")});
        driver_.reset();
        session_.reset();
        prefix_.reset();
    }

    void scaling_data() {
        QTest::addColumn<int>("dpi");
        for (int dpi : {96, 120, 144, 192})
            QTest::addRow("%d DPI", dpi) << dpi;
    }

    void scaling() {
        QFETCH(int, dpi);
        // Large enough for the main window at 192 DPI: (1372, 802) + 624 x 402.
        QTemporaryDir work;
        QVERIFY(work.isValid());
        quint64 window = 0;
        startAtDpi(dpi, QSize(2600, 1800), work.path(), window);
        if (!window)
            return;
        const QRect client = clientAt(zavo::forms::kLauncherWindow, dpi);
        QVERIFY(waitFor([&] { return session_->geometry(window).width == client.width(); }, 10000));

        // The design area at its place; the X window holds the menu bar
        // above it, one line of about 19 px x DPI / 96.
        const XGeometry g = session_->geometry(window);
        QCOMPARE(g.x, client.x());
        QCOMPARE(g.width, client.width());
        QCOMPARE(g.y + g.height, client.bottom() + 1);
        const int menuBar = g.height - client.height();
        QVERIFY2(menuBar > 0 && menuBar < 19 * 1.5 * dpi / 96,
                 qPrintable(QStringLiteral("menu bar %1 px high").arg(menuBar)));

        const WinWindow main = readWindow(
            kMainTitle, {},
            {QStringLiteral("ＭＳ ゴシック,9"), QStringLiteral("*Static=ＭＳ Ｐ明朝,11.25,i")});
        QCOMPARE(main.dpi, dpi);
        QCOMPARE(main.children.size(), 11);
        QCOMPARE(main.clientWidth, client.width());
        QCOMPARE(main.clientHeight, client.height());
        // Shot once the helper has answered: the window has painted by then.
        shot(QStringLiteral("main"), dpi);
        QVERIFY2(cutCaptions(main).isEmpty(), qPrintable(cutCaptions(main).join('\n')));
        const QString player = underscoreMissing(kMainTitle, QStringLiteral("M_Player(&M)"),
                                                 QStringLiteral("ＭＳ ゴシック,9"));
        QVERIFY2(player.isEmpty(), qPrintable(player));

        // The registration dialog.
        const quint64 dialog = openDialog(window);
        QVERIFY2(dialog, "no registration dialog");
        const QStringList dialogFonts{QStringLiteral("ＭＳ ゴシック,9"),
                                      QStringLiteral("未登録=ＭＳ ゴシック,9.75")};
        WinWindow option = readWindow(kDialogTitle, {}, dialogFonts);
        QCOMPARE(option.children.size(), 14);
        QCOMPARE(option.clientWidth, clientAt(zavo::forms::kOptionWindow, dpi).width());
        QCOMPARE(option.clientHeight, clientAt(zavo::forms::kOptionWindow, dpi).height());
        shot(QStringLiteral("option"), dpi);
        QVERIFY2(cutCaptions(option).isEmpty(), qPrintable(cutCaptions(option).join('\n')));

        if (dpi == 96) {
            // One tab stop for the group, on the checked button: Shift+Tab
            // from the first control of the tab order lands on it, and Right
            // moves the check and the tab stop to the next button.
            using Pairs = QList<std::pair<bool, bool>>;
            QCOMPARE(options(option), (Pairs{{true, true}, {false, false}, {false, false}}));
            driver_->keysTo(dialog, {QStringLiteral("shift+Tab")});
            option = readWindow(kDialogTitle, {}, dialogFonts);
            QVERIFY(option.focused());
            QCOMPARE(option.focused()->text, caption(OptionControl::Option1));
            driver_->keysTo(dialog, {QStringLiteral("Right")});
            option = readWindow(kDialogTitle, {}, dialogFonts);
            QCOMPARE(options(option), (Pairs{{false, false}, {true, true}, {false, false}}));
            QCOMPARE(option.focused()->text, caption(OptionControl::Option2));
            driver_->keysTo(dialog, {QStringLiteral("Left"), QStringLiteral("Left")});
            option = readWindow(kDialogTitle, {}, dialogFonts);
            QCOMPARE(options(option), (Pairs{{false, false}, {false, false}, {true, true}}));
        }

        // The About window.
        const quint64 about = aboutAfterDialog(dialog);
        QVERIFY2(about, "no About window after the dialog");
        const WinWindow aboutView =
            readWindow(kAboutTitle, {},
                       {QStringLiteral("ＭＳ ゴシック,9"), QStringLiteral("OK=message"),
                        QStringLiteral("ZAVO_launcher ver1.04=ＭＳ ゴシック,12"),
                        QStringLiteral("作者：ZAVO　(C) 2000=ＭＳ ゴシック,8.25")});
        QCOMPARE(aboutView.clientWidth, clientAt(zavo::forms::kAboutWindow, dpi).width());
        QCOMPARE(aboutView.clientHeight, clientAt(zavo::forms::kAboutWindow, dpi).height());
        shot(QStringLiteral("about"), dpi);
        QVERIFY2(cutCaptions(aboutView).isEmpty(), qPrintable(cutCaptions(aboutView).join('\n')));
        const QString version =
            underscoreMissing(kAboutTitle, QStringLiteral("ZAVO_launcher ver1.04"),
                              QStringLiteral("ＭＳ ゴシック,12"));
        QVERIFY2(version.isEmpty(), qPrintable(version));
        qInfo("%d DPI: menu bar %d px; least spare width of a caption: main %d, dialog %d, "
              "About %d px",
              dpi, menuBar, leastSpare(main), leastSpare(option), leastSpare(aboutView));
    }

    void fullHdScreen_data() {
        QTest::addColumn<int>("dpi");
        for (int dpi : {96, 192})
            QTest::addRow("%d DPI on 1920x1080", dpi) << dpi;
    }

    // At 96 DPI the main window stands at (686, 420) and the About window at
    // (686, 382); at 192 DPI those places would put them partly off a
    // 1920 x 1080 screen (1372 + 624 > 1920), so every window opens at the
    // nearest place on it. Ten-character Japanese names wrap on their
    // buttons and show from their start in the dialog's labels, as in the
    // Linux program.
    void fullHdScreen() {
        QFETCH(int, dpi);
        const QSize screen(1920, 1080);
        QTemporaryDir work;
        QVERIFY(work.isValid());
        // 漢字プログラム名です, then with another first character (宇), then
        // with another last one (し).
        const QByteArray dir("C:\\tools\\");
        writeFile(work.filePath(QStringLiteral("settei.ini")),
                  recordBytes(dir, "\x8a\xbf\x8e\x9a\x83\x76\x83\x8d\x83\x4f\x83\x89\x83"
                                   "\x80\x96\xbc\x82\xc5\x82\xb7") +
                      recordBytes(dir, "\x89\x46\x8e\x9a\x83\x76\x83\x8d\x83\x4f\x83\x89"
                                       "\x83\x80\x96\xbc\x82\xc5\x82\xb7") +
                      recordBytes(dir, "\x8a\xbf\x8e\x9a\x83\x76\x83\x8d\x83\x4f\x83\x89"
                                       "\x83\x80\x96\xbc\x82\xc5\x82\xb5"));
        quint64 window = 0;
        startAtDpi(dpi, screen, work.path(), window);
        if (!window)
            return;
        // The pointer away from every window: no button lit by it.
        driver_->moveTo(QPoint(0, 0));
        const auto onScreen = [&](quint64 w) {
            const XGeometry f = session_->frameGeometry(w);
            return f.x >= 0 && f.y >= 0 && f.x + f.width <= screen.width() &&
                   f.y + f.height <= screen.height();
        };
        const QRect client = clientAt(zavo::forms::kLauncherWindow, dpi);
        QVERIFY(waitFor([&] { return session_->geometry(window).width == client.width(); }, 10000));
        QVERIFY(waitFor([&] { return onScreen(window); }, 10000));
        const XGeometry g = session_->geometry(window);
        if (dpi == 96) {
            QCOMPARE(g.x, client.x());
            QCOMPARE(g.y + g.height, client.bottom() + 1);
        }
        // Shot once the helper has answered: the window has painted by then.
        readWindow(kMainTitle);
        const QImage mainShot(shot(QStringLiteral("fullhd_main"), dpi));
        // The slot buttons against 乗換案内(&N) above them: the wrapped lines
        // leave the border and the column inside it (2 px at 96 DPI) blank.
        const QPoint area(g.x, g.y + g.height - client.height());
        const auto button = [&](int n) { return controlAt(kCommand1[n], dpi).translated(area); };
        const QString buttons = wholeOnButtons(mainShot, button(6), button(7), button(8), button(3),
                                               twips_to_pixels(30, dpi));
        QVERIFY2(buttons.isEmpty(), qPrintable(buttons));

        const quint64 dialog = openDialog(window);
        QVERIFY2(dialog, "no registration dialog");
        QVERIFY(waitFor([&] { return onScreen(dialog); }, 10000));
        readWindow(kDialogTitle);
        const QImage dialogShot(shot(QStringLiteral("fullhd_option"), dpi));
        const XGeometry d = session_->geometry(dialog);
        const auto label = [&](OptionControl id) {
            return controlAt(id, dpi).translated(d.x, d.y);
        };
        const QString labels =
            startOnLabels(dialogShot, label(OptionControl::Label1), label(OptionControl::Label2),
                          twips_to_pixels(195, dpi));
        QVERIFY2(labels.isEmpty(), qPrintable(labels));
        const quint64 about = aboutAfterDialog(dialog);
        QVERIFY2(about, "no About window after the dialog");
        QVERIFY(waitFor([&] { return onScreen(about); }, 10000));
        const XGeometry a = session_->geometry(about);
        if (dpi == 96)
            QCOMPARE(QPoint(a.x, a.y), clientAt(zavo::forms::kAboutWindow).topLeft());
        qInfo("X client windows: main %dx%d at (%d, %d), dialog %dx%d at (%d, %d), About %dx%d "
              "at (%d, %d)",
              g.width, g.height, g.x, g.y, d.width, d.height, d.x, d.y, a.width, a.height, a.x,
              a.y);
        readWindow(kAboutTitle);
        shot(QStringLiteral("fullhd_about"), dpi);
    }
};

ZAVO_WINE_TEST_MAIN(TestE2eWinDpi)
#include "test_e2e_win_dpi.moc"
