#include "fake_services.h"

#include "platform/posix/record_file_posix.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace zavo::test {

QStringList FakeServices::callsWithoutClock() const {
    QStringList out;
    for (const QString& c : calls)
        if (c != QLatin1String("now"))
            out << c;
    return out;
}

bool FakeServices::launch(const std::string& command, int windowStyle, std::string& error) {
    calls << QStringLiteral("launch %1 %2").arg(QString::fromStdString(command)).arg(windowStyle);
    launches.push_back({command, windowStyle});
    if (!canLaunch(command)) {
        error = "cannot start";
        return false;
    }
    return true;
}

bool FakeServices::sendKeys(std::string_view keys, bool wait) {
    calls << QStringLiteral("keys %1 %2")
                 .arg(QString::fromUtf8(keys.data(), qsizetype(keys.size())))
                 .arg(wait ? "wait" : "nowait");
    return keysSucceed;
}

int FakeServices::messageBox(const std::string& prompt, int style, const std::string& title) {
    calls << QStringLiteral("msg %1 %2").arg(QString::fromStdString(prompt)).arg(style);
    messages.push_back({prompt, style, title});
    if (answers.empty())
        return platform::vbOK;
    const int a = answers.front();
    answers.pop_front();
    return a;
}

void FakeServices::beep() {
    calls << QStringLiteral("beep");
    ++beeps;
}

bool FakeServices::anotherInstanceRunning() {
    calls << QStringLiteral("instance?");
    return otherInstance;
}

void FakeServices::endProgram() {
    calls << QStringLiteral("end");
    ended = true;
}

platform::LocalDateTime FakeServices::now() {
    calls << QStringLiteral("now");
    if (clock.empty())
        return {2003, 10, 1, 9, 5, 7};
    const platform::LocalDateTime t = clock.front();
    if (clock.size() > 1)
        clock.pop_front();
    return t;
}

std::string FakeServices::dateText(const platform::LocalDateTime& w) {
    return QLocale::c()
        .toString(QDate(w.year, w.month, w.day), QString::fromStdString(dateFormat))
        .toStdString();
}

std::string FakeServices::timeText(const platform::LocalDateTime& w) {
    return QLocale::c()
        .toString(QTime(w.hour, w.minute, w.second), QString::fromStdString(timeFormat))
        .toStdString();
}

std::unique_ptr<platform::RecordFile> FakeServices::openRecordFile(const std::string& name,
                                                                   std::string& error) {
    calls << QStringLiteral("open %1").arg(QString::fromStdString(name));
    ++recordFileOpens;
    if (failRecordOpen) {
        error = "refused by the test";
        return nullptr;
    }
    return platform::openPosixRecordFile(name, error);
}

void FakeServices::setWindowPos(platform::WindowHandle, std::intptr_t insertAfter, int x, int y,
                                int cx, int cy, unsigned flags) {
    calls << QStringLiteral("setWindowPos %1 %2 %3 %4 %5 0x%6")
                 .arg(insertAfter)
                 .arg(x)
                 .arg(y)
                 .arg(cx)
                 .arg(cy)
                 .arg(flags, 0, 16);
}

bool FakeServices::exitWindowsEx(unsigned flags, unsigned reserved) {
    calls << QStringLiteral("exit %1 %2").arg(flags).arg(reserved);
    return exitAccepted;
}

} // namespace zavo::test
