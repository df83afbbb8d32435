// The real forms (main window, registration dialog) driven against recording
// views and the recording services in a scratch current folder, with what the
// user sees written down as a transcript: one line per step, so a test states
// a whole walk through the program as the lines it expects.
#pragma once

#include "support/forms_harness.h"
#include "support/scratch_folder.h"
#include "support/settei_bytes.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zavo::test {

inline constexpr const char* kSettei = "settei.ini";
inline constexpr const char* kProgram = "prog.exe"; // what the dialog registers
using Lines = std::vector<std::string>;

// A fresh ASCII-named folder that is the current folder while this lives;
// it holds prog.exe for the dialog's file list.
struct WalkFolder : ScratchFolder {
    WalkFolder();
};

// What settei.ini holds: a regular file's size and its bytes up to the last
// that is not zero (a sparse 100 MiB file stays small); or nothing when it is
// no readable file.
struct FileState {
    std::uint64_t size = 0;
    std::string bytes;
    bool operator==(const FileState&) const = default;
};
std::optional<FileState> stateOf(const std::filesystem::path& path);
// `bytes`, zero up to `size` when that is larger.
FileState stateOfBytes(std::string bytes, std::uint64_t size = 0);
// "ok", or where `found` differs from `expected`.
std::string compare(const std::optional<FileState>& found,
                    const std::optional<FileState>& expected);

// The program with recording views and services in the current folder,
// each step returning its transcript line.
struct Walker : FormsHarness {
    Walker();
    // Runs `handler` as an event; the launches, messages and beep it caused.
    std::string run(const std::function<void()>& handler);

    std::string start();         // "load: <captions>"
    std::string click(int slot); // "click n: <what happened>"
    std::string openDialog();    // "dialog: <labels>..."
    std::string registerProgram(int slot);
    std::string reset();
    std::string back();        // the dialog's return button: "back: <captions>"
    std::string state() const; // "running", or what ended it

private:
    std::string captions(); // the slot buttons of the main window
    std::string labels();   // the dialog's slot labels
};

// What to expect of settei.ini after the dialog registered prog.exe into
// slot 2, and after it reset the slots; nullopt: no readable file.
struct ExpectedFiles {
    std::optional<FileState> afterRegister;
    std::optional<FileState> afterReset;
};

// The standard walk: start, click the three slot buttons, open the dialog,
// register prog.exe into slot 2, reset, go back. With `checkBytes`, after
// the register and after the reset a line says whether settei.ini holds what
// `expected` says.
Lines standardWalk(const ExpectedFiles& expected, bool checkBytes = true);

// What the standard walk should show; by default, unregistered slots.
struct WalkExpectation {
    // Slot buttons after the main window loaded, and dialog labels after it loaded.
    std::array<std::string, 3> captions{"１：未登録", "２：未登録", "３：未登録"};
    std::array<std::string, 3> labels{"未登録", "未登録", "未登録"};
    std::array<std::string, 3> clicks; // what follows "click n:"
    std::string dialogEvents;          // what its load said, if anything
    bool writes = true;                // the register and reset writes work
};
Lines expectedWalk(const WalkExpectation& e, bool checkBytes = true);

// Each line of a transcript on its own, so a failure names the step.
void checkLines(const Lines& found, const Lines& expected);
// The standard walk against what it should show and leave in settei.ini.
void checkWalk(const WalkExpectation& shown, const ExpectedFiles& files);

// Text as the transcript shows it: NUL characters as <NUL*n>.
std::string shownText(const std::string& text);

// What the forms show for a settei.ini of `bytes` (a missing one reads as
// none), worked out from the bytes themselves; the names in them are ASCII.
WalkExpectation shownFor(const std::string& bytes);
// No settei.ini to be opened.
WalkExpectation unopenableShown();
// `e` where the register and reset writes fail.
WalkExpectation unwritable(WalkExpectation e);

// Three registered slots, spelled out byte by byte; slot 2's name is longer
// than its field and was stored cut to 20 bytes.
std::string threeRecords();

// The files of a walk in which both writes work, from `before` (zero up to
// `size` when that is larger).
ExpectedFiles writesOf(const std::string& before, std::uint64_t size = 0);

inline const std::string kReadError = " ! 読み取りエラーです";
inline const std::string kRegisterError = " ! 登録エラーです";

} // namespace zavo::test
