// A DLL to plant where the program must not load DLLs from. Loading it is
// all it takes to be found: it does nothing.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
