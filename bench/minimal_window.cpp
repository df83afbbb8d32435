// The reference for the start-up benchmark: a plain Qt 6 window of the
// launcher's layout (menu bar with three entries, nine buttons in a grid, one
// more button, a label, the same fonts and sizes, the same place), with none
// of the launcher's own logic. With --exit-when-mapped (or
// MINIMAL_WINDOW_EXIT=1) it quits as soon as the window is exposed.
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <cstring>

namespace {

// Quits once the native window is exposed, that is mapped and visible.
class QuitWhenExposed : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            QTimer::singleShot(0, qApp, &QApplication::quit);
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool exitWhenMapped = (argc > 1 && std::strcmp(argv[1], "--exit-when-mapped") == 0) ||
                                qEnvironmentVariableIntValue("MINIMAL_WINDOW_EXIT") == 1;
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"),
                               {QStringLiteral("MS PMincho"), QStringLiteral("Noto Serif CJK JP"),
                                QStringLiteral("IPAPMincho")});

    QMainWindow w;
    w.setWindowTitle(QStringLiteral("minimal_window"));
    w.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                     Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    w.setAttribute(Qt::WA_ShowWithoutActivating);

    QMenu* file = w.menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("最小化(&Z)"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QObject::connect(file->addAction(QStringLiteral("アプリ終了(&E)")), &QAction::triggered, &app,
                     &QApplication::quit);
    w.menuBar()->addAction(QStringLiteral("オプション(&O)..."));
    w.menuBar()
        ->addMenu(QStringLiteral("ヘルプ(&H)"))
        ->addAction(QStringLiteral("バージョン情報(&I)"));

    auto* area = new QWidget(&w);
    area->setFixedSize(312, 182);
    w.setCentralWidget(area);
    QFont gothic(QStringLiteral("ＭＳ ゴシック"));
    gothic.setPointSizeF(9);
    const char* captions[] = {"M_Player(&M)", "IE (&I)",      "BookShelf (&S)",
                              "乗換案内(&N)", "AlpsMap (&A)", "Explorer(&E)",
                              "１：未登録",   "２：未登録",   "３：未登録"};
    for (int i = 0; i < 9; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(captions[i]), area);
        b->setGeometry(16 + 96 * (i % 3), 8 + 40 * (i / 3), 89, 33);
        b->setFont(gothic);
    }
    auto* shutdown = new QPushButton(QStringLiteral("win終了 (&W)"), area);
    shutdown->setGeometry(216, 136, 81, 33);
    shutdown->setFont(gothic);
    auto* clock = new QLabel(area);
    clock->setGeometry(16, 136, 193, 25);
    QFont mincho(QStringLiteral("ＭＳ Ｐ明朝"));
    mincho.setPointSizeF(11.25);
    mincho.setItalic(true);
    clock->setFont(mincho);
    // The plain way to run a clock line: format the time at every tick.
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, clock, [clock] {
        const QLocale locale = QLocale::system();
        const QDateTime now = QDateTime::currentDateTime();
        clock->setText(locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral(" ") +
                       locale.toString(now.time(), QLocale::LongFormat));
    });
    tick.start(250);

    const int menu = w.menuBar()->sizeHint().height();
    w.setFixedSize(312, 182 + menu);
    w.setGeometry(686, 420 - menu, 312, 182 + menu);
    QuitWhenExposed quitter;
    w.show();
    if (exitWhenMapped)
        w.windowHandle()->installEventFilter(&quitter);
    return QApplication::exec();
}
