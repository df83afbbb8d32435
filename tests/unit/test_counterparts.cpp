// The desktop counterparts of the media player, the browser and Explorer,
// taken from a private freedesktop database: desktop entries and a
// mimeapps.list in temporary XDG folders, whose Exec lines start scripts that
// report their arguments. GIO reads those folders once per process, so each
// launch runs in a fresh copy of this program (`--launch INDEX`).
#include "core/launch_table.h"
#include "platform/linux/posix_services.h"
#include "support/report_script.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <cstdio>
#include <cstring>
#include <memory>

using zavo::test::readReport;

namespace {

constexpr const char* kLaunchArg = "--launch";
// A file whose creation would prove that a shell read an Exec line.
constexpr const char* kCanary = "canary";

// Child: launches fixed button `index` as the launcher does; 0 when started.
int launchFixed(int index) {
    if (index < 0 || index >= static_cast<int>(zavo::core::kFixedLaunches.size()))
        return 2;
    const auto& fixed = zavo::core::kFixedLaunches[static_cast<std::size_t>(index)];
    zavo::platform::PosixServices services;
    std::string error;
    if (services.launch(std::string(fixed.command), fixed.windowStyle, error))
        return 0;
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
}

// An argument of an Exec line, quoted as desktop entries quote ("`$\ escaped),
// then escaped once more as a key-file string value.
QString execQuoted(QString arg) {
    QString quoted;
    for (const QChar c : arg) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return u'"' + quoted.replace(u'\\', QStringLiteral("\\\\")) + u'"';
}

} // namespace

class TestCounterparts : public QObject {
    Q_OBJECT
private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        QVERIFY(root_->isValid());
        for (const char* dir :
             {"home", "data/applications", "sysdata", "config", "sysconfig", "bin", "marks"})
            QVERIFY(QDir(root_->path()).mkpath(dir));
        mimeapps_ = "[Default Applications]\n";
    }

    void cleanup() {
        if (bus_) {
            bus_->kill();
            bus_->waitForFinished(10000);
            bus_.reset();
        }
        busAddress_.clear();
        root_.reset();
    }

    void startsTheDefaultApplication_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");

        // The player and the browser get nothing on their command line, the file
        // manager the home folder, as a URI or a path as its entry asks.
        QTest::newRow("media player: audio/mpeg") << 0 << "player" << QStringList{};
        QTest::newRow("browser: x-scheme-handler/http") << 1 << "browser" << QStringList{};
        QTest::newRow("Explorer: inode/directory, home folder")
            << 5 << "files" << QStringList{"$HOME_URI"};
        QTest::newRow("file manager taking paths (%F)")
            << 5 << "paths" << QStringList{"$HOME_PATH"};
        QTest::newRow("shell metacharacters arrive as they stand")
            << 1 << "meta" << QStringList{"a;b|c&d > x $(touch canary) `touch canary` * 'q'"};
        QTest::newRow("field codes of the Exec line")
            << 0 << "codes"
            << QStringList{"--title=codes", "--icon", "zavo-test", "$ENTRY", "100%", "a b"};
        QTest::newRow("Terminal=true: in x-terminal-emulator -e")
            << 5 << "x-terminal-emulator" << QStringList{"-e", "$BIN/files", "$HOME_URI"};
        // Through the bus the start would be reported before anything ran.
        QTest::newRow("DBusActivatable entry started by its Exec line")
            << 0 << "dbus" << QStringList{};
    }

    void startsTheDefaultApplication() {
        QFETCH(int, index);
        QFETCH(QString, program);
        QFETCH(QStringList, args);

        writeCounterparts();
        if (program == "paths") {
            writeDefault("paths", "inode/directory", writeProgram("paths"), {"%F"});
        } else if (program == "meta") {
            writeDefault("meta", "x-scheme-handler/http", writeProgram("meta"),
                         {execQuoted(args.first()), "%u"});
        } else if (program == "codes") {
            writeDefault("codes", "audio/mpeg", writeProgram("codes"),
                         {"--title=%c", "%i", "%k", "100%%", "%d", "%U", execQuoted("a b")},
                         "Icon=zavo-test\n");
        } else if (program == "x-terminal-emulator") {
            writeProgram(program);
            writeDefault("term", "inode/directory", path("bin/files"), {"%U"}, "Terminal=true\n");
        } else if (program == "dbus") {
            const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
            if (daemon.isEmpty())
                QSKIP("dbus-daemon is not installed (apt-get install dbus)");
            bus_ = std::make_unique<QProcess>();
            bus_->start(daemon, {"--session", "--print-address", "--nofork",
                                 "--address=unix:path=" + path("bus")});
            QVERIFY(bus_->waitForStarted(10000));
            while (!bus_->canReadLine() && bus_->waitForReadyRead(10000)) {
            }
            busAddress_ = QString::fromUtf8(bus_->readLine()).trimmed();
            QVERIFY2(!busAddress_.isEmpty(), "dbus-daemon printed no address");
            // A bus name as the entry's id, as D-Bus activation requires.
            writeDefault("org.zavo.TestPlayer", "audio/mpeg", writeProgram("dbus"), {"%U"},
                         "DBusActivatable=true\n");
        }
        args.replaceInStrings("$HOME_URI", homeUri());
        args.replaceInStrings("$HOME_PATH", path("home"));
        args.replaceInStrings("$ENTRY", path("data/applications/" + program + ".desktop"));
        args.replaceInStrings("$BIN", path("bin"));

        QString error;
        QVERIFY2(launch(index, &error) == 0, qPrintable(error));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path("marks/" + program)), 15000);
        QCOMPARE(readReport(path("marks/" + program)), args);
        QCOMPARE(marks(), QStringList{program}); // that program alone
        QVERIFY(!QFile::exists(path(kCanary)));
        QVERIFY(!QFile::exists(path("bin/" + QString(kCanary))));
    }

    void refusesWithoutCounterpart_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("database");

        // BookShelf, the route finder and AlpsMap have none, whatever is installed.
        QTest::newRow("BookShelf") << 2 << "full";
        QTest::newRow("route finder") << 3 << "full";
        QTest::newRow("AlpsMap") << 4 << "full";
        const QList<std::pair<int, QByteArray>> known{
            {0, "media player"}, {1, "browser"}, {5, "Explorer"}};
        for (const auto& [index, name] : known) {
            QTest::newRow(name + ": nothing installed") << index << "empty";
            QTest::newRow(name + ": default's program missing") << index << "missing program";
            QTest::newRow(name + ": default's program cannot start") << index << "bad interpreter";
        }
    }

    void refusesWithoutCounterpart() {
        QFETCH(int, index);
        QFETCH(QString, database);

        if (database != "empty")
            writeCounterparts();
        if (database == "missing program" || database == "bad interpreter") {
            // The default of every type is one entry that cannot run; no other
            // entry handles the types.
            for (const char* name : {"player", "browser", "files"})
                QVERIFY(QFile::remove(path("data/applications/" + QString(name) + ".desktop")));
            const QString program =
                database == "missing program"
                    ? path("bin/not-installed")
                    : writeProgram("broken", path("bin/no-interpreter").toUtf8());
            for (const char* type : {"audio/mpeg", "x-scheme-handler/http", "inode/directory"}) {
                const QString id = QString("broken-") + QString(type).replace(u'/', u'-');
                writeDefault(id, type, program, {"%U"});
            }
        }

        QString error;
        QVERIFY2(launch(index, &error) == 1, qPrintable(error));
        QVERIFY2(!error.isEmpty(), "a refusal says why");
        QCOMPARE(marks(), QStringList{});
    }

private:
    QString path(const QString& relative) const { return root_->filePath(relative); }
    QString homeUri() const { return QUrl::fromLocalFile(path("home")).toString(); }
    // A script that writes its arguments, NUL-separated, to marks/NAME.
    QString writeProgram(const QString& name, const QByteArray& interpreter = "/bin/sh") {
        const QString program = path("bin/" + name);
        zavo::test::writeProgram(
            program, zavo::test::reportingScript(path("marks/" + name), "\"$@\"", interpreter));
        return program;
    }

    // applications/ID.desktop for `type`, starting `program` with `args`, and
    // the default for `type`.
    void writeDefault(const QString& id, const char* type, const QString& program,
                      const QStringList& args, const QByteArray& extraKeys = {}) {
        QStringList exec{execQuoted(program)};
        exec += args;
        zavo::test::writeFile(path("data/applications/" + id + ".desktop"),
                              "[Desktop Entry]\nType=Application\nName=" + id.toUtf8() +
                                  "\nExec=" + exec.join(u' ').toUtf8() + "\nMimeType=" + type +
                                  ";\n" + extraKeys);
        mimeapps_ += type + ("=" + id + ".desktop\n").toUtf8();
    }

    // The whole database: one entry per counterpart, each the default.
    void writeCounterparts() {
        writeDefault("player", "audio/mpeg", writeProgram("player"), {"%U"});
        writeDefault("browser", "x-scheme-handler/http", writeProgram("browser"), {"%u"});
        writeDefault("files", "inode/directory", writeProgram("files"), {"%U"});
    }

    // Runs `--launch index` in this database: 0 when it reported a start, 1
    // when it reported a refusal, -1 when it did not end normally.
    int launch(int index, QString* error) {
        zavo::test::writeFile(path("config/mimeapps.list"), mimeapps_);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP", "DBUS_SESSION_BUS_ADDRESS"})
            env.remove(QString::fromLatin1(name));
        // Our own x-terminal-emulator comes first.
        env.insert("PATH", path("bin") + ":/usr/bin:/bin");
        env.insert("HOME", path("home"));
        env.insert("XDG_DATA_HOME", path("data"));
        env.insert("XDG_DATA_DIRS", path("sysdata"));
        env.insert("XDG_CONFIG_HOME", path("config"));
        env.insert("XDG_CONFIG_DIRS", path("sysconfig"));
        if (!busAddress_.isEmpty())
            env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress_);

        QProcess child;
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(root_->path());
        child.start(QCoreApplication::applicationFilePath(), {kLaunchArg, QString::number(index)});
        const bool ended = child.waitForFinished(30000);
        *error = QString::fromUtf8(child.readAllStandardError()).trimmed();
        return ended && child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    }

    QStringList marks() const { return QDir(path("marks")).entryList(QDir::Files); }

    std::unique_ptr<QTemporaryDir> root_;
    QByteArray mimeapps_;
    QString busAddress_;
    std::unique_ptr<QProcess> bus_;
};

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], kLaunchArg) == 0)
        return launchFixed(std::atoi(argv[2]));
    QCoreApplication app(argc, argv);
    TestCounterparts tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "test_counterparts.moc"
