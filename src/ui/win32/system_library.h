// The system DLLs the program uses only now and then (the tooltip's common
// controls, the About picture's decoder and COM), loaded when first needed and
// from the system folder only. A DLL in the import table is loaded at start,
// and one that is not a KnownDLL (COMCTL32) would be searched in the program's
// own folder first, where anyone may have put a DLL of that name.
#pragma once

#include "platform/win32/win32_api.h"

namespace zavo::ui {

// Restricts every later DLL search of the process to the system folder.
// First thing at start, before anything may load a DLL. False where the
// loader cannot be restricted (Windows 7 without update KB2533623): then the
// current folder is taken out of the search, and the program's own folder
// stays first for a DLL loaded by name, which only that update can change.
bool restrictDllSearchToSystemFolder();

// The same, given the loader's SetDefaultDllDirectories, or nullptr to do as
// on a Windows 7 that lacks it.
using SetDefaultDllDirectoriesCall = BOOL WINAPI(DWORD);
bool restrictDllSearchToSystemFolder(SetDefaultDllDirectoriesCall* setDefaultDllDirectories);

// `function` of the system DLL `dll`, or nullptr when either is missing. The
// DLL stays loaded for the rest of the process.
FARPROC systemFunction(const wchar_t* dll, const char* function);

template <class Function> Function* systemFunction(const wchar_t* dll, const char* function) {
    // The usual cast from GetProcAddress's generic pointer to the real type.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(systemFunction(dll, function)));
}

} // namespace zavo::ui
