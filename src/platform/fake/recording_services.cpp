#include "recording_services.h"

#include "memory_record_file.h"

#ifdef _WIN32
#include "platform/win32/record_file_win32.h"
#else
#include "platform/linux/record_file_posix.h"
#endif

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace zavo::platform {
namespace {

std::string twoDigits(int v) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", v);
    return text;
}

// The few pattern letters the tests use; anything else is copied as it is.
std::string format(const std::string& pattern, const LocalDateTime& t) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        const auto field = [&](int value) {
            out += run >= 2 ? twoDigits(value) : std::to_string(value);
        };
        switch (c) {
        case 'y':
            out += std::to_string(t.year);
            break;
        case 'M':
            field(t.month);
            break;
        case 'd':
            field(t.day);
            break;
        case 'H':
            field(t.hour);
            break;
        case 'm':
            field(t.minute);
            break;
        case 's':
            field(t.second);
            break;
        default:
            out.append(run, c);
        }
        i += run;
    }
    return out;
}

// Records every read, write and close of a record file in `log`.
class LoggedFile final : public RecordFile {
public:
    LoggedFile(std::unique_ptr<RecordFile> file, std::vector<std::string>& log)
        : file_(std::move(file)), log_(log) {}
    ~LoggedFile() override { log_.emplace_back("close"); }
    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override {
        log_.push_back("read " + std::to_string(offset));
        return file_->readAt(offset, out, error);
    }
    bool writeAt(std::uint64_t offset, std::span<const std::byte> data,
                 std::string& error) override {
        log_.push_back("write " + std::to_string(offset));
        return file_->writeAt(offset, data, error);
    }

private:
    std::unique_ptr<RecordFile> file_;
    std::vector<std::string>& log_;
};

} // namespace

std::vector<std::string> RecordingServices::callsWithoutClock() const {
    std::vector<std::string> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                 [](const std::string& c) { return c != "now"; });
    return out;
}

std::unique_ptr<Process> RecordingServices::launch(const std::string& command, int windowStyle,
                                                   std::string& error) {
    calls.push_back("launch " + command + " " + std::to_string(windowStyle));
    if (canLaunch(command))
        return std::make_unique<Process>();
    error = "cannot start";
    return nullptr;
}

bool RecordingServices::waitForInputIdle(Process&, int timeoutMs) {
    calls.push_back("waitForInputIdle " + std::to_string(timeoutMs));
    return playerReady;
}

bool RecordingServices::sendKeys(std::string_view keys, bool wait) {
    calls.push_back("keys " + std::string(keys) + (wait ? " wait" : " nowait"));
    return keysSucceed;
}

int RecordingServices::messageBox(const std::string& prompt, int style, const std::string& title) {
    calls.push_back("msg " + prompt + " " + std::to_string(style) + " " + title);
    if (answers.empty())
        return vbOK;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingServices::beep() {
    calls.emplace_back("beep");
    ++beeps;
}

bool RecordingServices::anotherInstanceRunning() {
    calls.emplace_back("instance?");
    return otherInstance;
}

void RecordingServices::endProgram() {
    calls.emplace_back("end");
    ended = true;
}

LocalDateTime RecordingServices::now() {
    calls.emplace_back("now");
    if (clock.empty())
        return {2003, 10, 1, 9, 5, 7};
    const LocalDateTime t = clock.front();
    if (clock.size() > 1)
        clock.pop_front();
    return t;
}

std::string RecordingServices::dateText(const LocalDateTime& when) {
    return format(dateFormat, when);
}

std::string RecordingServices::timeText(const LocalDateTime& when) {
    return format(timeFormat, when);
}

std::unique_ptr<RecordFile> RecordingServices::openRecordFile(const std::string& name,
                                                              std::string& error) {
    calls.push_back("open " + name);
    if (failRecordOpen) {
        error = "refused by the test";
        return nullptr;
    }
    std::unique_ptr<RecordFile> file;
    if (recordFilesInMemory)
        file = std::make_unique<MemoryRecordFile>(memoryFiles[name]);
    else
#ifdef _WIN32
        file = openWin32RecordFile(name, error);
#else
        file = openPosixRecordFile(name, error);
#endif
    if (file && logRecordFiles)
        return std::make_unique<LoggedFile>(std::move(file), calls);
    return file;
}

void RecordingServices::setWindowPos(WindowHandle, std::intptr_t insertAfter, int x, int y, int cx,
                                     int cy, unsigned flags) {
    // One formatted line: chains of std::string + trip GCC 12's false
    // -Wrestrict at -O3.
    char line[128];
    std::snprintf(line, sizeof line, "setWindowPos %lld %d %d %d %d 0x%x",
                  static_cast<long long>(insertAfter), x, y, cx, cy, flags);
    calls.emplace_back(line);
}

bool RecordingServices::exitWindowsEx(unsigned flags, unsigned reserved) {
    calls.push_back("exit " + std::to_string(flags) + " " + std::to_string(reserved));
    return exitAccepted;
}

long RecordingServices::countedWait(long rounds) {
    const long counted = Services::countedWait(rounds);
    calls.push_back("wait " + std::to_string(counted));
    return counted;
}

} // namespace zavo::platform
