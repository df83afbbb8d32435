#include "fault_walk.h"

#include "core/folder_lists.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <fstream>

namespace zavo::test {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kHead = 4096;

// The folder as the dialog stores it: with its separator, in bytes.
std::string storedFolder() {
    return platform::folder_lists::startFolder() + platform::folder_lists::kPathSeparator;
}

std::string joined(const std::array<std::string, 3>& items) {
    return shownText(items[0]) + " | " + shownText(items[1]) + " | " + shownText(items[2]);
}

} // namespace

// NUL characters show as <NUL*n>, so a transcript line stays readable.
std::string shownText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\0') {
            out += text[i++];
            continue;
        }
        std::size_t n = 0;
        while (i < text.size() && text[i] == '\0')
            ++i, ++n;
        out += "<NUL*" + std::to_string(n) + ">";
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
    REQUIRE(std::all_of(stored.begin(), stored.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
}

std::optional<FileState> stateOf(const fs::path& path) {
    // Not a regular file: opening a named pipe would wait for a writer.
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    const std::uintmax_t size = fs::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in)
        return std::nullopt;
    // A file that reads shorter than its size shows the size it read.
    std::string bytes(std::size_t(size), '\0');
    in.read(bytes.data(), std::streamsize(size));
    bytes.resize(std::size_t(in.gcount()));
    return stateOfBytes(bytes);
}

FileState stateOfBytes(const std::string& bytes, std::uint64_t size) {
    FileState state;
    state.size = size;
    state.head = bytes.substr(0, kHead);
    // A longer file reads as zero past `bytes`.
    state.head.resize(std::size_t(std::min<std::uint64_t>(size, kHead)), '\0');
    state.restZero = bytes.size() <= kHead || bytes.find_first_not_of('\0', kHead) == bytes.npos;
    return state;
}

FileState stateOfBytes(const std::string& bytes) {
    return stateOfBytes(bytes, bytes.size());
}

std::string compare(const std::optional<FileState>& found,
                    const std::optional<FileState>& expected) {
    if (found == expected)
        return "ok";
    if (!found || !expected)
        return found ? "a file where none was expected" : "no readable file";
    if (found->size != expected->size)
        return "size " + std::to_string(found->size) + ", not " + std::to_string(expected->size);
    std::size_t i = 0;
    while (i < found->head.size() && found->head[i] == expected->head[i])
        ++i;
    if (i < found->head.size())
        return "differs at byte " + std::to_string(i);
    return "bytes after the first 4 KiB differ";
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
    if (!launcher())
        return "no main window";
    const auto& buttons = views.launcher().Command1;
    return joined({buttons[6], buttons[7], buttons[8]});
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
    auto labels = e.labels, captions = e.captions;
    if (e.writes)
        labels[1] = captions[1] = "prog.exe  ";
    const std::string written = e.writes ? " beep" : kRegisterError;
    Lines lines{"load: " + joined(e.captions)};
    for (std::size_t n = 0; n < 3; ++n)
        lines.push_back("click " + std::to_string(n + 1) + ":" + e.clicks[n]);
    lines.push_back("dialog: " + joined(e.labels) + e.dialogEvents);
    lines.push_back("register 2: " + joined(labels) + written);
    if (checkBytes)
        lines.push_back("register bytes: ok");
    if (e.writes) {
        labels = {"未登録", "未登録", "未登録"};
        captions = {"１：未登録", "２：未登録", "３：未登録"};
    }
    lines.push_back("reset: " + joined(labels) + written);
    if (checkBytes)
        lines.push_back("reset bytes: ok");
    lines.push_back("back: " + joined(captions));
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

WalkExpectation threeRecordsShown() {
    WalkExpectation e;
    e.captions = {"one.exe   ", "two-with-l", "three.exe "};
    e.clicks = {" launch /opt/one/one.exe", " launch /opt/two/two-with-long-name.e",
                " launch /opt/three/three.exe"};
    e.labels = e.captions;
    return e;
}

WalkExpectation unregisteredShown() {
    // A record never written spells a command of 100 NUL characters, which
    // no backend starts.
    const std::string nul = " launch <NUL*100>" + kReadError;
    return {{"１：未登録", "２：未登録", "３：未登録"},
            {nul, nul, nul},
            {"未登録", "未登録", "未登録"},
            "",
            true};
}

WalkExpectation unopenableShown() {
    return {unregisteredShown().captions,
            {kReadError, kReadError, kReadError},
            unregisteredShown().labels,
            kRegisterError,
            false};
}

std::string registeredRecord() {
    return recordBytes(storedFolder(), kProgram);
}

std::string afterReset(std::string bytes) {
    for (int n = 1; n <= 3; ++n)
        bytes = withRecord(bytes, n, blankRecord());
    return bytes;
}

ExpectedFiles writesOf(const std::string& before) {
    const std::string registered = withRecord(before, 2, registeredRecord());
    return {stateOfBytes(registered), stateOfBytes(afterReset(registered))};
}

} // namespace zavo::test
