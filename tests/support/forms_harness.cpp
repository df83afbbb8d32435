#include "forms_harness.h"

#include "core/folder_lists.h"

namespace zavo::test {

bool LoggedFile::readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) {
    log_.push_back("read " + std::to_string(offset));
    return file_->readAt(offset, out, error);
}

bool LoggedFile::writeAt(std::uint64_t offset, std::span<const std::byte> data,
                         std::string& error) {
    log_.push_back("write " + std::to_string(offset));
    return file_->writeAt(offset, data, error);
}

std::unique_ptr<platform::Process> LoggingServices::launch(const std::string& command, int style,
                                                           std::string& error) {
    return rec.launch(command, style, error);
}
bool LoggingServices::waitForInputIdle(platform::Process& process, int timeoutMs) {
    return rec.waitForInputIdle(process, timeoutMs);
}
bool LoggingServices::sendKeys(std::string_view keys, bool wait) {
    return rec.sendKeys(keys, wait);
}
int LoggingServices::messageBox(const std::string& prompt, int style, const std::string& title) {
    return rec.messageBox(prompt, style, title);
}
void LoggingServices::beep() {
    rec.beep();
}
bool LoggingServices::anotherInstanceRunning() {
    return rec.anotherInstanceRunning();
}
void LoggingServices::endProgram() {
    rec.endProgram();
}
platform::LocalDateTime LoggingServices::now() {
    return rec.now();
}
std::string LoggingServices::dateText(const platform::LocalDateTime& when) {
    return rec.dateText(when);
}
std::string LoggingServices::timeText(const platform::LocalDateTime& when) {
    return rec.timeText(when);
}
std::unique_ptr<platform::RecordFile> LoggingServices::openRecordFile(const std::string& name,
                                                                      std::string& error) {
    auto file = rec.openRecordFile(name, error);
    if (!file)
        return nullptr;
    return std::make_unique<LoggedFile>(std::move(file), rec.calls);
}
void LoggingServices::setWindowPos(platform::WindowHandle window, std::intptr_t after, int x, int y,
                                   int cx, int cy, unsigned flags) {
    rec.setWindowPos(window, after, x, y, cx, cy, flags);
}
bool LoggingServices::exitWindowsEx(unsigned flags, unsigned reserved) {
    return rec.exitWindowsEx(flags, reserved);
}

long LoggingServices::countedWait(long rounds) {
    return rec.countedWait(rounds);
}

Calls FormsHarness::since(std::size_t mark) const {
    Calls out;
    for (std::size_t i = mark; i < rec.calls.size(); ++i)
        if (rec.calls[i] != "now")
            out.push_back(rec.calls[i]);
    return out;
}

std::string msg(const std::string& text, int style) {
    return "msg " + text + " " + std::to_string(style) + " ZAVO_launcher";
}

std::string stored(const fs::path& folder) {
    std::string s = folder.string();
    if (s.back() != platform::folder_lists::kPathSeparator)
        s += platform::folder_lists::kPathSeparator;
    return s;
}

} // namespace zavo::test
