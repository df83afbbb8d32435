// The services on Linux desktops (X11), on top of Qt Widgets.
#pragma once

#include "core/services.h"

#include <memory>

namespace zavo::platform {

class PosixServices final : public Services {
public:
    PosixServices();
    ~PosixServices() override;

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
    std::unique_ptr<RecordFile> openRecordFile(const std::string& name,
                                               std::string& error) override;
    void setWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int cx, int cy,
                      unsigned flags) override;
    bool exitWindowsEx(unsigned flags, unsigned reserved) override;

private:
    int instanceLock_ = -1; // flock()ed per-user lock file, once taken
};

} // namespace zavo::platform
