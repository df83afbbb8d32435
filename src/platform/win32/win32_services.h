// The services on Windows, straight on the Win32 API (no toolkit calls).
#pragma once

#include "core/services.h"
#include "shutdown_win32.h"

namespace zavo::platform {

class Win32Services final : public Services {
public:
    // `shutdown` replaces the system calls of exitWindowsEx (for the tests).
    explicit Win32Services(ShutdownCalls shutdown = systemShutdownCalls());
    ~Win32Services() override;
    Win32Services(const Win32Services&) = delete;
    Win32Services& operator=(const Win32Services&) = delete;

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
    ShutdownCalls shutdown_;
    // The single-instance mutex (a HANDLE), held for the life of the program.
    void* instanceMutex_ = nullptr;
};

} // namespace zavo::platform
