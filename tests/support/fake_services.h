// A recording stand-in for the platform services. Every call is appended to
// calls() as one line of text, so a test can assert order as well as content.
#pragma once

#include "platform/services.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <set>

namespace zavo::test {

class FakeServices final : public platform::Services {
public:
    struct Launch {
        std::string command;
        int windowStyle;
    };
    struct Message {
        std::string prompt;
        int style;
        std::string title;
    };

    bool launch(const std::string& command, int windowStyle, std::string& error) override;
    bool sendKeys(std::string_view keys, bool wait) override;
    int messageBox(const std::string& prompt, int style, const std::string& title) override;
    void beep() override;
    bool anotherInstanceRunning() override;
    void endProgram() override;
    platform::LocalDateTime now() override;
    std::string dateText(const platform::LocalDateTime& when) override;
    std::string timeText(const platform::LocalDateTime& when) override;
    std::unique_ptr<platform::RecordFile> openRecordFile(const std::string& name,
                                                         std::string& error) override;
    void setWindowPos(platform::WindowHandle window, std::intptr_t insertAfter, int x, int y,
                      int cx, int cy, unsigned flags) override;
    bool exitWindowsEx(unsigned flags, unsigned reserved) override;

    // What happened, in order: "launch <cmd> <style>", "keys ^p wait", "msg <prompt> <style>",
    // "beep", "instance?", "end", "open <name>", "setWindowPos ...", "exit <flags> <reserved>".
    QStringList calls;
    // calls without the clock's readings, which the timer adds at any time.
    QStringList callsWithoutClock() const;
    std::vector<Launch> launches;
    std::vector<Message> messages;
    int beeps = 0;
    int recordFileOpens = 0;
    bool ended = false;

    // Behaviour to play.
    bool otherInstance = false;
    bool exitAccepted = true;
    bool keysSucceed = true;
    std::deque<int> answers; // message-box answers; vbOK when empty
    std::function<bool(const std::string&)> canLaunch = [](const std::string& c) {
        return !c.empty() && c.front() != '\0';
    };
    std::deque<platform::LocalDateTime> clock; // successive readings; the last repeats
    std::string dateFormat = "yyyy/MM/dd";
    std::string timeFormat = "H:mm:ss";
    bool failRecordOpen = false;
};

} // namespace zavo::test
