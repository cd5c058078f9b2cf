#include <windows.h>

#include <algorithm>

#include "app/ExecutablePath.h"

// In the ANSI code page, as fopen takes narrow paths on Windows. A folder whose name that code
// page cannot spell gives no path: the data is then looked for in the working directory only.
std::string executablePath() {
    char executable[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, executable, sizeof executable);
    if (length == 0 || length >= sizeof executable ||
        std::find(executable, executable + length, '?') != executable + length) {
        return {};
    }
    std::string path(executable, length);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
