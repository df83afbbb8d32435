// Start-up's restriction of the DLL search, seen from inside a process: a
// DLL beside the program or in the current folder is not loaded by a plain
// name, and the system DLLs the program loads when needed come from the
// system folder though a comctl32.dll lies beside it. The restriction cannot
// be undone in a process, so each case is a copy of this program started
// from a scratch folder holding the planted DLLs; without the restriction the
// same copy loads them, which shows the check can fail.
#include "support/scratch_folder.h"
#include "support/win32_child.h"
#include "ui/win32/system_library.h"

#include <windows.h>

#include <doctest/doctest.h>

#include <filesystem>
#include <string>

using namespace zavo;

namespace {

// What the child found, as its exit code.
constexpr DWORD kBesideProgram = 1, kInCurrentFolder = 2, kForeignComctl32 = 4;

// Whether `function` lies in a DLL of the system folder.
bool fromSystemFolder(FARPROC function) {
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH], system[MAX_PATH];
    if (!function || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                         reinterpret_cast<LPCWSTR>(function), &module))
        return false;
    const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    const UINT s = GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || s == 0 || s >= MAX_PATH)
        return false;
    const std::wstring folder = std::filesystem::path(std::wstring(path, n)).parent_path();
    return lstrcmpiW(folder.c_str(), system) == 0;
}

} // namespace

// Run only as the child below.
TEST_CASE("loads the planted DLLs" * doctest::skip()) {
    SUBCASE("restricted") {
        ui::restrictDllSearchToSystemFolder();
    }
    SUBCASE("without the loader update") {
        ui::restrictDllSearchToSystemFolder(nullptr);
    }
    SUBCASE("unrestricted") {}
    DWORD found = 0;
    if (LoadLibraryW(L"zavo_planted.dll"))
        found |= kBesideProgram;
    if (LoadLibraryW(L"zavo_current.dll"))
        found |= kInCurrentFolder;
    if (!fromSystemFolder(ui::systemFunction(L"comctl32.dll", "InitCommonControlsEx")))
        found |= kForeignComctl32;
    ExitProcess(found);
}

TEST_CASE("after start-up a DLL is loaded by name from the system folder only") {
    // Wine prefers its own comctl32 to one beside the program unless told
    // otherwise; Windows searches the program's folder first.
    REQUIRE(SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"mscoree,mshtml=;comctl32=n,b"));
    const std::filesystem::path self = test::selfPath();
    const std::filesystem::path planted = self.parent_path() / "zavo_planted.dll";
    struct Row {
        const wchar_t* subcase;
        DWORD found;
    };
    // Without the update a DLL beside the program still comes first.
    for (const Row row : {Row{L"restricted", 0}, Row{L"without the loader update", kBesideProgram},
                          Row{L"unrestricted", kBesideProgram | kInCurrentFolder}}) {
        CAPTURE(test::utf8Of(row.subcase));
        test::ScratchFolder program, current;
        const std::filesystem::path copy = program.path() / "probe.exe";
        std::filesystem::copy_file(self, copy);
        std::filesystem::copy_file(planted, program.path() / "zavo_planted.dll");
        std::filesystem::copy_file(planted, program.path() / "comctl32.dll");
        std::filesystem::copy_file(planted, current.path() / "zavo_current.dll");
        CHECK(test::runChild(
                  copy,
                  L"--no-intro --no-skip \"--test-case=loads the planted DLLs\" \"--subcase=" +
                      std::wstring(row.subcase) + L"\"",
                  current.path()) == row.found);
    }
}
