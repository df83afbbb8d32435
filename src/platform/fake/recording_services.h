// A recording stand-in for the platform services, without any toolkit. Every
// call is appended to `calls` as one line of text, so a test can assert order
// as well as content; what the fake answers is set by the test.
#pragma once

#include "core/services.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zavo::platform {

class RecordingServices final : public Services {
public:
    std::unique_ptr<Process> launch(const std::string& command, int windowStyle,
                                    std::string& error) override;
    bool waitForInputIdle(Process& process, int timeoutMs) override;
    bool sendKeys(std::string_view keys, bool wait) override;
    int messageBox(const std::string& prompt, int style, const std::string& title) override;
    void beep() override;
    bool anotherInstanceRunning() override;
    void endProgram() override;
    LocalDateTime now() override;
    std::string dateText(const LocalDateTime& when) override;
    std::string timeText(const LocalDateTime& when) override;
    // A real file (the tests check its bytes), or with recordFilesInMemory the
    // bytes kept in memoryFiles under that name (a missing name opens empty,
    // as a real file is created). Fails when failRecordOpen is set. With
    // logRecordFiles its reads, writes and close are recorded in calls too.
    std::unique_ptr<RecordFile> openRecordFile(const std::string& name,
                                               std::string& error) override;
    void setWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int cx, int cy,
                      unsigned flags) override;
    bool exitWindowsEx(unsigned flags, unsigned reserved) override;
    // Waits as the real services do, and records the count reached.
    long countedWait(long rounds) override;

    // "launch <cmd> <style>", "waitForInputIdle <ms>", "keys ^p wait", "msg <prompt> <style>
    // <title>", "beep", "instance?", "end", "now", "open <name>", "setWindowPos <after> <x> <y>
    // <cx> <cy> 0x<flags>", "exit <flags> <reserved>", "wait <rounds counted>", and with
    // logRecordFiles "read <offset>", "write <offset>", "close".
    std::vector<std::string> calls;
    // calls without the clock's readings, which a timer adds at any time.
    std::vector<std::string> callsWithoutClock() const;
    int beeps = 0;
    bool ended = false;

    // Behaviour to play.
    bool otherInstance = false;
    bool exitAccepted = true;
    bool keysSucceed = true;
    bool playerReady = true; // what waitForInputIdle answers
    bool failRecordOpen = false;
    bool recordFilesInMemory = false;
    bool logRecordFiles = false;
    // The record files in memory by name. A file opened on one must not
    // outlive these services.
    std::map<std::string, std::string> memoryFiles;
    std::deque<int> answers; // message-box answers; vbOK when empty
    std::function<bool(const std::string&)> canLaunch = [](const std::string& c) {
        return !c.empty() && c.front() != '\0'; // as a path cut at its first NUL
    };
    std::deque<LocalDateTime> clock; // successive readings; the last one repeats
    // Formats with the letters yyyy, M, MM, d, dd, H, HH, mm, ss.
    std::string dateFormat = "yyyy/MM/dd";
    std::string timeFormat = "H:mm:ss";
};

} // namespace zavo::platform
