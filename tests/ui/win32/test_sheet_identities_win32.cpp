// Every control of every design sheet is found by its identity in the Win32
// views, as a reader of the window sees it: the child window with the row's
// control id is the one the view holds for the row, of the row's class and
// style, in the window (at its place in its frame where the row has one),
// and shows the row's caption, and a control without a caption of its own
// carries its name where Windows' accessibility reads it. Lines are drawn by
// the window, so no child stands for them. A row that is not there ends the program in every build
// type: the test runs itself as a child to see it.
#include "core/folder_lists.h"
#include "core/twips.h"
#include "forms/frm_option_sheet.h"
#include "platform/fake/recording_services.h"
#include "support/doctest_strings.h"
#include "support/win32_child.h"
#include "win32_program.h"

#include <windows.h>

#include <map>
#include <string>

using namespace zavo;
using forms::FormId;
using forms::Kind;
using test::Win32Program;

namespace {

struct Expected {
    Kind kind;
    const wchar_t* className;
    LONG buttonType; // BS_...; -1: not a button
};

// The child window of each kind; a line has none.
constexpr Expected kExpected[] = {
    {Kind::Button, L"Button", BS_PUSHBUTTON},
    {Kind::Frame, L"Button", BS_GROUPBOX},
    {Kind::Option, L"Button", BS_AUTORADIOBUTTON},
    {Kind::Label, L"Static", -1},
    {Kind::Picture, L"ZAVO_picture", -1},
    {Kind::DriveList, L"ComboBox", -1},
    {Kind::DirList, L"ListBox", -1},
    {Kind::FileList, L"ListBox", -1},
};

Expected expectedOf(Kind kind) {
    for (const Expected& e : kExpected)
        if (e.kind == kind)
            return e;
    return {kind, nullptr, -1};
}

// A default push button is a push button too.
LONG buttonType(HWND button) {
    const LONG type = LONG(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK);
    return type == BS_DEFPUSHBUTTON ? BS_PUSHBUTTON : type;
}

std::u16string textOf(HWND h) {
    std::u16string text(std::size_t(GetWindowTextLengthW(h)) + 1, u'\0');
    text.resize(
        std::size_t(GetWindowTextW(h, reinterpret_cast<wchar_t*>(text.data()), int(text.size()))));
    return text;
}

std::u16string utf16(const char* utf8) {
    std::u16string text(std::char_traits<char>::length(utf8), u'\0');
    text.resize(std::size_t(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1,
                                                reinterpret_cast<wchar_t*>(text.data()),
                                                int(text.size()) + 1)) -
                1);
    return text;
}

// The name Windows' accessibility gives a control that shows no caption: a
// window of its own class is named by its text, a list or a box by the label
// just before it in the z-order, which must take no room.
std::u16string nameRead(HWND h, Kind kind) {
    if (kind == Kind::Picture)
        return textOf(h);
    const HWND label = GetWindow(h, GW_HWNDPREV);
    wchar_t className[64] = {};
    RECT r{};
    if (!label || !GetClassNameW(label, className, 64) || lstrcmpiW(className, L"Static") != 0 ||
        !GetClientRect(label, &r) || !IsRectEmpty(&r) || !IsWindowVisible(label))
        return u"<no label of no size before it>";
    return textOf(label);
}

// Where `inner` stands from `outer`'s top-left corner, in pixels.
POINT offsetIn(HWND inner, HWND outer) {
    RECT i{}, o{};
    GetWindowRect(inner, &i);
    GetWindowRect(outer, &o);
    return {i.left - o.left, i.top - o.top};
}

// `renamed`: names the form gave in place of a row's own, by row name.
template <class Id, class W, std::size_t N>
void checkIdentities(const W& window, const std::array<forms::ControlSpec, N>& rows,
                     const std::map<std::string, std::string>& renamed = {}) {
    const HWND parent = window.hwnd();
    const auto childOf = [parent](int row) {
        return GetDlgItem(parent, ui::kFirstControlId + row);
    };
    for (std::size_t i = 0; i < N; ++i) {
        const forms::ControlSpec& row = rows[i];
        const std::string name = row.name;
        CAPTURE(name);
        const HWND h = childOf(int(i));
        const Expected expected = expectedOf(row.kind);
        if (!expected.className) {
            CHECK(h == nullptr);
            continue;
        }
        REQUIRE(h != nullptr);
        // The picture is the window's own child, not one of the sheet's.
        if (row.kind != Kind::Picture)
            CHECK(window.controls().get(Id(i)).hwnd() == h);
        CHECK(GetParent(h) == parent);
        wchar_t className[64] = {};
        GetClassNameW(h, className, 64);
        CHECK(lstrcmpiW(className, expected.className) == 0);
        if (expected.buttonType >= 0)
            CHECK(buttonType(h) == expected.buttonType);
        // A push button is a tab stop unless its row says not (the shutdown
        // and reset buttons, which a stray key must not reach), and a
        // caption wider than it wraps rather than being cut.
        if (row.kind == Kind::Button) {
            const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
            CHECK(((style & WS_TABSTOP) != 0) == row.tabStop);
            CHECK((style & BS_MULTILINE) != 0);
        }
        // An empty caption is the clock's, which the form fills in.
        if (row.caption && *row.caption)
            CHECK(textOf(h) == utf16(row.caption));
        if (row.accessibleName) {
            const auto name = renamed.find(row.name);
            CHECK(nameRead(h, row.kind) ==
                  utf16(name != renamed.end() ? name->second.c_str() : row.accessibleName));
        }
        // In its frame at the row's place: a group box holds no children,
        // its controls are the window's, laid over it.
        if (row.container != forms::kClientArea) {
            const POINT at = offsetIn(h, childOf(row.container));
            CHECK(at.x == core::twips_to_pixels(row.left, window.dpi()));
            CHECK(at.y == core::twips_to_pixels(row.top, window.dpi()));
        }
    }
}

} // namespace

TEST_CASE("every row of every window is found by its identity") {
    Win32Program p;
    checkIdentities<forms::LauncherControl>(p.window<ui::LauncherWindow>(FormId::Launcher),
                                            forms::kLauncherControls);
    // Opened on the empty scratch folder.
    checkIdentities<forms::OptionControl>(
        p.window<ui::OptionWindow>(FormId::Option), forms::kOptionControls,
        {{"dir_name", "フォルダ " + platform::folder_lists::startFolder()},
         {"File_name", "ファイルがありません"}});
    checkIdentities<forms::AboutControl>(p.window<ui::AboutWindow>(FormId::About),
                                         forms::kAboutControls);
}

// Run only as the child below: asks a window for the row past its last.
TEST_CASE("asks past the last row" * doctest::skip()) {
    Win32Program p;
    SUBCASE("launcher") {
        p.window<ui::LauncherWindow>(FormId::Launcher)
            .controls()
            .get(forms::LauncherControl::Count);
    }
    SUBCASE("option") {
        p.window<ui::OptionWindow>(FormId::Option).controls().get(forms::OptionControl::Count);
    }
    SUBCASE("about") {
        p.window<ui::AboutWindow>(FormId::About).controls().get(forms::AboutControl::Count);
    }
}

TEST_CASE("a row past the last ends the program") {
    // abort() in the C runtime the program links (msvcrt) ends it with 3.
    for (const std::string window : {"launcher", "option", "about"}) {
        CAPTURE(window);
        CHECK(test::runChild(
                  test::selfPath(),
                  L"--no-intro --no-skip \"--test-case=asks past the last row\" --subcase=" +
                      std::wstring(window.begin(), window.end())) == 3);
    }
}
