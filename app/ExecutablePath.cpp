#include "app/ExecutablePath.h"

#include <unistd.h>

// The kernel's link gives the executable's real place whatever the working directory or a
// symbolic link it was started by.
std::string executablePath() {
    char executable[4096];
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    if (length <= 0) {
        return {};
    }
    executable[length] = '\0';
    return executable;
}
