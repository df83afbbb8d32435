#include "fault_walk.h"

#include "core/folder_lists.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace zavo::test {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kHead = 4096;

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

namespace {

std::string joined(const std::string* items, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += (i ? " | " : "") + shownText(items[i]);
    return out;
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

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

std::string WalkFolder::storedFolder() const {
    return platform::folder_lists::startFolder() + platform::folder_lists::kPathSeparator;
}

std::optional<FileState> stateOf(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    FileState state;
    state.size = fs::file_size(path, ec);
    state.head.resize(kHead);
    in.read(state.head.data(), std::streamsize(kHead));
    state.head.resize(std::size_t(in.gcount()));
    std::string chunk(1 << 16, '\0');
    while (in.read(chunk.data(), std::streamsize(chunk.size())) || in.gcount() > 0) {
        const auto n = std::size_t(in.gcount());
        if (chunk.find_first_not_of('\0') < n)
            state.restZero = false;
    }
    return state;
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
    const std::size_t from = rec.calls.size();
    forms.run(handler);
    std::string events;
    for (std::size_t i = from; i < rec.calls.size(); ++i) {
        const std::string& call = rec.calls[i];
        if (startsWith(call, "launch ")) {
            // "launch <command> <style>"
            events += " launch " + shownText(call.substr(7, call.rfind(' ') - 7));
        } else if (startsWith(call, "msg ") && call.find(" 16 ") != std::string::npos) {
            events += " ! " + call.substr(4, call.find(" 16 ") - 4);
        } else if (call == "beep") {
            events += " beep";
        }
    }
    return events;
}

std::string Walker::start() {
    const std::string events = run([&] { forms.show(forms::FormId::Launcher); });
    if (!launcher())
        return "load: no main window" + events;
    return "load: " + joined(views.launcher().Command1.data() + 6, 3) + events;
}

std::string Walker::click(int slot) {
    const std::string head = "click " + std::to_string(slot) + ":";
    auto* form = launcher();
    if (!form)
        return head + " no main window";
    return head + run([&] { form->Command1_Click(5 + slot); });
}

std::string Walker::openDialog() {
    auto* form = launcher();
    if (!form)
        return "dialog: no main window";
    const std::string events = run([&] { form->opt_Click(); });
    if (!option())
        return "dialog: not open" + events;
    return "dialog: " + joined(views.option().Label.data(), 3) + events;
}

std::string Walker::registerProgram(int slot) {
    const std::string head = "register " + std::to_string(slot) + ": ";
    auto* form = option();
    if (!form)
        return head + "no dialog";
    RecordingOption& view = views.option();
    const auto it = std::find(view.files.begin(), view.files.end(), kProgram);
    if (it == view.files.end())
        return head + kProgram + " is not listed";
    view.selected = int(it - view.files.begin());
    view.option = slot;
    const std::string events = run([&] { form->touroku_Click(); });
    return head + joined(view.Label.data(), 3) + events;
}

std::string Walker::reset() {
    auto* form = option();
    if (!form)
        return "reset: no dialog";
    rec.answers.push_back(platform::vbYes);
    const std::string events = run([&] { form->reset_Click(); });
    return "reset: " + joined(views.option().Label.data(), 3) + events;
}

std::string Walker::back() {
    auto* form = option();
    if (!form)
        return "back: no dialog";
    const std::string events = run([&] { form->Cancel_but_Click(); });
    if (!launcher())
        return "back: no main window" + events;
    return "back: " + joined(views.launcher().Command1.data() + 6, 3) + events;
}

std::string Walker::state() const {
    if (rec.ended || forms.ended())
        return "ended";
    if (quits > 0 || !forms.anyLoaded())
        return "quit";
    return "running";
}

std::vector<std::string> standardWalk(const ExpectedFiles& expected, bool checkBytes) {
    Walker p;
    std::vector<std::string> lines{p.start()};
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

std::vector<std::string> expectedWalk(const WalkExpectation& e, bool checkBytes) {
    const std::array<std::string, 3> unregistered{"未登録", "未登録", "未登録"};
    std::array<std::string, 3> registered = e.labels;
    registered[1] = "prog.exe  ";
    std::vector<std::string> lines{"load: " + joined(e.captions.data(), 3)};
    for (int n = 1; n <= 3; ++n)
        lines.push_back("click " + std::to_string(n) + ":" + e.clicks[std::size_t(n - 1)]);
    lines.push_back("dialog: " + joined(e.labels.data(), 3) + e.dialogEvents);
    const auto& afterRegister = e.registers ? registered : e.labels;
    lines.push_back("register 2: " + joined(afterRegister.data(), 3) +
                    (e.registers ? " beep" : kRegisterError));
    if (checkBytes)
        lines.push_back("register bytes: ok");
    lines.push_back("reset: " + joined((e.resets ? unregistered : afterRegister).data(), 3) +
                    (e.resets ? " beep" : kRegisterError));
    if (checkBytes)
        lines.push_back("reset bytes: ok");
    std::array<std::string, 3> back{"１：未登録", "２：未登録", "３：未登録"};
    if (!e.resets) {
        back = e.captions;
        if (e.registers)
            back[1] = "prog.exe  ";
    }
    lines.push_back("back: " + joined(back.data(), 3));
    lines.push_back("running");
    return lines;
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
    WalkExpectation e;
    e.captions = {"１：未登録", "２：未登録", "３：未登録"};
    e.clicks = {nul, nul, nul};
    e.labels = {"未登録", "未登録", "未登録"};
    return e;
}

WalkExpectation unopenableShown() {
    WalkExpectation e = unregisteredShown();
    e.clicks = {kReadError, kReadError, kReadError};
    e.dialogEvents = kRegisterError;
    e.registers = e.resets = false;
    return e;
}

std::string registeredRecord(const WalkFolder& folder) {
    return recordBytes(folder.storedFolder(), kProgram);
}

std::string afterReset(std::string bytes) {
    for (int n = 1; n <= 3; ++n)
        bytes = withRecord(bytes, n, blankRecord());
    return bytes;
}

ExpectedFiles writesOf(const std::string& before, const WalkFolder& folder) {
    const std::string registered = withRecord(before, 2, registeredRecord(folder));
    return {stateOfBytes(registered), stateOfBytes(afterReset(registered))};
}

} // namespace zavo::test
