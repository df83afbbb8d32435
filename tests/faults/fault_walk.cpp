#include "fault_walk.h"

#include "core/folder_lists.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <fstream>
#include <span>

namespace zavo::test {
namespace {

// The folder as the dialog stores it: with its separator, in bytes.
std::string storedFolder() {
    return platform::folder_lists::startFolder() + platform::folder_lists::kPathSeparator;
}

std::string joined(std::span<const std::string, 3> items) {
    return shownText(items[0]) + " | " + shownText(items[1]) + " | " + shownText(items[2]);
}

} // namespace

// NUL characters show as <NUL*n>, so a transcript line stays readable.
std::string shownText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t nuls = std::min(text.find_first_not_of('\0', i), text.size()) - i;
        out += nuls ? "<NUL*" + std::to_string(nuls) + ">" : std::string(1, text[i]);
        i += std::max<std::size_t>(nuls, 1);
    }
    return out;
}

WalkFolder::WalkFolder() : ScratchFolder("zavo-faults-", Current::enter) {
    makeProgram(path() / kProgram);
    // The expected records spell the folder byte for byte: it must be ASCII,
    // and fit its field.
    const std::string stored = storedFolder();
    INFO("scratch folder: ", stored);
    REQUIRE(stored.size() <= 80);
    REQUIRE(std::ranges::all_of(stored, [](unsigned char c) { return c < 0x80; }));
}

std::optional<FileState> stateOf(const fs::path& path) {
    // Not a regular file: opening a named pipe would wait for a writer.
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || !std::ifstream(path, std::ios::binary).is_open())
        return std::nullopt;
    return stateOfBytes(test::readFile(path));
}

FileState stateOfBytes(std::string bytes, std::uint64_t size) {
    size = std::max<std::uint64_t>(size, bytes.size());
    bytes.erase(bytes.find_last_not_of('\0') + 1); // npos + 1: all zero
    return {size, bytes};
}

std::string compare(const std::optional<FileState>& found,
                    const std::optional<FileState>& expected) {
    if (found == expected)
        return "ok";
    if (!found || !expected)
        return found ? "a file where none was expected" : "no readable file";
    if (found->size != expected->size)
        return "size " + std::to_string(found->size) + ", not " + std::to_string(expected->size);
    const std::string &a = found->bytes, &b = expected->bytes;
    const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
    return "differs from byte " + std::to_string(at) + " on";
}

Walker::Walker() {
    // Both backends refuse a command with a NUL character (a record never
    // written spells 100 of them) before asking the system.
    rec.canLaunch = [](const std::string& command) {
        return !command.empty() && command.find('\0') == std::string::npos;
    };
}

std::string Walker::run(const std::function<void()>& handler) {
    const std::size_t from = mark();
    forms.run(handler);
    std::string events;
    for (const std::string& call : since(from)) {
        const std::size_t critical = call.find(" 16 "); // a message's style
        if (call.starts_with("launch "))                // "launch <command> <style>"
            events += " launch " + shownText(call.substr(7, call.rfind(' ') - 7));
        else if (call.starts_with("msg ") && critical != std::string::npos)
            events += " ! " + call.substr(4, critical - 4);
        else if (call == "beep")
            events += " beep";
    }
    return events;
}

std::string Walker::captions() {
    // Command1(6) to Command1(8) are the slot buttons.
    return launcher() ? joined(std::span(views.launcher().Command1).subspan<6, 3>())
                      : "no main window";
}

std::string Walker::labels() {
    return option() ? joined(views.option().Label) : "no dialog";
}

std::string Walker::start() {
    const std::string events = run([&] { forms.show(forms::FormId::Launcher); });
    return "load: " + captions() + events;
}

std::string Walker::click(int slot) {
    auto* form = launcher();
    return "click " + std::to_string(slot) + ":" +
           (form ? run([&] { form->Command1_Click(5 + slot); }) : " no main window");
}

std::string Walker::openDialog() {
    auto* form = launcher();
    const std::string events = form ? run([&] { form->opt_Click(); }) : " (no main window)";
    return "dialog: " + labels() + events;
}

std::string Walker::registerProgram(int slot) {
    const std::string head = "register " + std::to_string(slot) + ": ";
    auto* form = option();
    if (!form)
        return head + labels();
    RecordingOption& view = views.option();
    const auto it = std::find(view.files.begin(), view.files.end(), kProgram);
    if (it == view.files.end())
        return head + kProgram + " is not listed";
    view.selected = int(it - view.files.begin());
    view.option = slot;
    const std::string events = run([&] { form->touroku_Click(); });
    return head + labels() + events;
}

std::string Walker::reset() {
    auto* form = option();
    if (!form)
        return "reset: no dialog";
    rec.answers.push_back(platform::vbYes);
    const std::string events = run([&] { form->reset_Click(); });
    return "reset: " + labels() + events;
}

std::string Walker::back() {
    auto* form = option();
    const std::string events = form ? run([&] { form->Cancel_but_Click(); }) : " (no dialog)";
    return "back: " + captions() + events;
}

std::string Walker::state() const {
    if (rec.ended || forms.ended())
        return "ended";
    if (quits > 0 || !forms.anyLoaded())
        return "quit";
    return "running";
}

Lines standardWalk(const ExpectedFiles& expected, bool checkBytes) {
    Walker p;
    Lines lines{p.start()};
    for (int slot = 1; slot <= 3; ++slot)
        lines.push_back(p.click(slot));
    lines.push_back(p.openDialog());
    lines.push_back(p.registerProgram(2));
    if (checkBytes)
        lines.push_back("register bytes: " + compare(stateOf(kSettei), expected.afterRegister));
    lines.push_back(p.reset());
    if (checkBytes)
        lines.push_back("reset bytes: " + compare(stateOf(kSettei), expected.afterReset));
    lines.push_back(p.back());
    lines.push_back(p.state());
    return lines;
}

Lines expectedWalk(const WalkExpectation& e, bool checkBytes) {
    // Where the writes fail, the windows keep what they showed.
    const WalkExpectation unregistered;
    const WalkExpectation& afterReset = e.writes ? unregistered : e;
    auto registered = e.labels;
    if (e.writes)
        registered[1] = "prog.exe  ";
    const std::string written = e.writes ? " beep" : kRegisterError;
    Lines lines{"load: " + joined(e.captions)};
    for (std::size_t n = 0; n < 3; ++n)
        lines.push_back("click " + std::to_string(n + 1) + ":" + e.clicks[n]);
    lines.push_back("dialog: " + joined(e.labels) + e.dialogEvents);
    lines.push_back("register 2: " + joined(registered) + written);
    if (checkBytes)
        lines.push_back("register bytes: ok");
    lines.push_back("reset: " + joined(afterReset.labels) + written);
    if (checkBytes)
        lines.push_back("reset bytes: ok");
    lines.push_back("back: " + joined(afterReset.captions));
    lines.push_back("running");
    return lines;
}

void checkLines(const Lines& found, const Lines& expected) {
    CHECK(found.size() == expected.size());
    for (std::size_t i = 0; i < std::min(found.size(), expected.size()); ++i)
        CHECK(found[i] == expected[i]);
}

void checkWalk(const WalkExpectation& shown, const ExpectedFiles& files) {
    checkLines(standardWalk(files), expectedWalk(shown));
}

std::string threeRecords() {
    return recordBytes("/opt/one/", "one.exe") +
           recordBytes("/opt/two/", "two-with-long-name.exe") +
           recordBytes("/opt/three/", "three.exe");
}

WalkExpectation shownFor(const std::string& bytes) {
    const auto trimmed = [](const std::string& s) {
        return s.substr(0, s.find_last_not_of(' ') + 1);
    };
    WalkExpectation e;
    for (std::size_t n = 0; n < 3; ++n) {
        const std::string record = bytesAt(bytes, n * kRecordSize, 100);
        const std::string exe = record.substr(80);
        if (exe[0] != '\0' && exe.substr(0, 10) != std::string(10, ' '))
            e.captions[n] = e.labels[n] = exe.substr(0, 10);
        // A record never written spells a command of 100 NUL characters,
        // which no backend starts.
        const std::string command = trimmed(record.substr(0, 80)) + trimmed(exe);
        const bool startable = !command.empty() && command.find('\0') == std::string::npos;
        e.clicks[n] = " launch " + shownText(command) + (startable ? "" : kReadError);
    }
    return e;
}

WalkExpectation unopenableShown() {
    WalkExpectation e = unwritable(shownFor(""));
    e.clicks = {kReadError, kReadError, kReadError};
    e.dialogEvents = kRegisterError;
    return e;
}

WalkExpectation unwritable(WalkExpectation e) {
    e.writes = false;
    return e;
}

ExpectedFiles writesOf(const std::string& before, std::uint64_t size) {
    std::string bytes = withRecord(before, 2, recordBytes(storedFolder(), kProgram));
    const FileState registered = stateOfBytes(bytes, size);
    for (int n = 1; n <= 3; ++n)
        bytes = withRecord(bytes, n, blankRecord());
    return {registered, stateOfBytes(bytes, size)};
}

} // namespace zavo::test
