// The Linux launch backend: one path, one program, no shell, no zombies.
#include "platform/linux/spawn_launch.h"
#include "support/report_script.h"
#include "support/scratch_folder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <optional>
#include <unistd.h>

using zavo::platform::spawnDetached;
using zavo::test::readReport;
using zavo::test::reportingScript;
using zavo::test::shellQuoted;
using zavo::test::writeProgram;

namespace {

// A file whose creation would prove that a shell interpreted a command line.
constexpr const char* kCanary = "canary";

char processState(pid_t pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0; // gone
    const QByteArray stat = f.readAll();
    // "pid (comm) S ...": the state follows the last ')'.
    const qsizetype close = stat.lastIndexOf(')');
    return close >= 0 && close + 2 < stat.size() ? stat.at(close + 2) : 0;
}

// File names a shell would read as more than one, by what they hold.
const std::pair<const char*, const char*> kShellNames[] = {
    {"semicolon", "a;touch canary"},
    {"command substitution", "$(touch canary)"},
    {"backticks", "`touch canary`"},
    {"ampersand", "x & touch canary"},
    {"double quotes", "\"; touch canary; \""},
    {"single quotes", "'; touch canary; '"},
    {"spaces", "hello.exe touch canary"},
    {"pipe and redirection", "x | touch canary > y"},
    {"newline", "x\ntouch canary"},
};

} // namespace

class TestSpawnLaunch : public QObject {
    Q_OBJECT
private slots:
    void init() {
        // Work inside the scratch folder: a command line run through a shell
        // would create the canary here.
        scratch_.emplace("zavo launch ", zavo::test::ScratchFolder::Current::enter);
        root_ = QString::fromStdString(zavo::test::utf8Of(scratch_->path()));
        QVERIFY(root_.contains(u' '));
        QCOMPARE(QDir::currentPath(), root_);
        // A decoy that a launch split at the first space would start instead of
        // "app dir/hello.exe".
        writeProgram(path("app"), "#!/bin/sh\n: > " + shellQuoted(path(kCanary)) + "\n");
    }

    void cleanup() { scratch_.reset(); }

    void runsProgramInFolderWithSpace() {
        QVERIFY(QDir(root_).mkpath("app dir"));
        const QString program = path("app dir/hello.exe");
        const QString marker = path("marker");
        writeProgram(program, reportingScript(marker, "\"$0\" \"$(pwd)\" \"$#\""));

        std::string error;
        QVERIFY2(spawnDetached(program.toStdString(), error), error.c_str());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
        // That very file, in our working folder, with no arguments.
        QCOMPARE(readReport(marker), (QStringList{program, root_, "0"}));
        QVERIFY(!canaryCreated());
    }

    void startsExactlyThatFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("present");
        for (const auto& [label, name] : kShellNames) {
            QTest::addRow("%s, file present", label) << QString(name) << true;
            QTest::addRow("%s, file missing", label) << QString(name) << false;
        }
    }

    // The command string names one file: it starts exactly that file or nothing.
    void startsExactlyThatFile() {
        QFETCH(QString, name);
        QFETCH(bool, present);

        const QString program = path(name);
        const QString marker = path("marker");
        if (present)
            writeProgram(program, reportingScript(marker, "\"$0\""));

        std::string error;
        const bool started = spawnDetached(program.toStdString(), error);
        QCOMPARE(started, present);
        if (present) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
            QCOMPARE(readReport(marker).value(0), program);
        } else {
            QVERIFY(!error.empty());
            QTest::qWait(300); // a shell, had one been started, would have run by now
        }
        QVERIFY(!canaryCreated());
    }

    void refusesWhatCannotStart_data() {
        QTest::addColumn<QByteArray>("command");

        // "@" stands for the temporary folder, known only once the row runs.
        QTest::newRow("missing file") << QByteArray("@/nothing here.exe");
        QTest::newRow("directory") << QByteArray("@/a folder");
        QTest::newRow("not executable") << QByteArray("@/plain.exe");
        QTest::newRow("script without #!") << QByteArray("@/bare.exe");
        QTest::newRow("missing interpreter") << QByteArray("@/orphan.exe");
        QTest::newRow("empty string") << QByteArray();
        QTest::newRow("relative name") << QByteArray("hello.exe");
        QTest::newRow("windows path")
            << QByteArray(R"(c:\program files\internet explorer\iexplore.exe)");
        QTest::newRow("embedded NUL") << QByteArray("@/hello.exe\0/x", 14);
        QTest::newRow("never written slot") << QByteArray(100, '\0');
    }

    // Nothing starts, the failure is reported at once, and no shell runs the body.
    void refusesWhatCannotStart() {
        QFETCH(QByteArray, command);

        const QByteArray touch = "touch " + shellQuoted(path(kCanary)) + "\n";
        QVERIFY(QDir(root_).mkdir("a folder"));
        writeProgram(path("plain.exe"), "#!/bin/sh\n" + touch, false);
        writeProgram(path("bare.exe"), touch);
        writeProgram(path("orphan.exe"), "#!/nonexistent/sh\n" + touch);
        writeProgram(path("hello.exe"), "#!/bin/sh\n" + touch);
        if (command.startsWith('@'))
            command.replace(0, 1, root_.toUtf8());

        std::string error;
        QVERIFY(!spawnDetached(command.toStdString(), error));
        QVERIFY(!error.empty());
        QTest::qWait(300);
        QVERIFY(!canaryCreated());
    }

    void reapsTheChild() {
        const QString pidFile = path("pid");
        writeProgram(path("quick.exe"), reportingScript(pidFile, "$$"));
        std::string error;
        QVERIFY2(spawnDetached(path("quick.exe").toStdString(), error), error.c_str());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pidFile), 10000);
        bool ok = false;
        const pid_t pid = readReport(pidFile).value(0).toInt(&ok);
        QVERIFY(ok && pid > 0);
        // Once it has exited it must be gone, not left behind as a zombie (state
        // Z); the event loop that QTRY spins is what delivers the exit.
        QTRY_COMPARE_WITH_TIMEOUT(processState(pid), '\0', 10000);
    }

private:
    QString path(const QString& relative) const { return root_ + u'/' + relative; }
    bool canaryCreated() const { return QFile::exists(path(kCanary)); }

    std::optional<zavo::test::ScratchFolder> scratch_;
    QString root_; // the scratch folder's path
};

QTEST_GUILESS_MAIN(TestSpawnLaunch)
#include "test_spawn_launch.moc"
