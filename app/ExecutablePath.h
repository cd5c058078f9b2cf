#pragma once

#include <string>

// The running program's own file, with '/' between its parts, as the C library's fopen takes
// it; empty when the system does not say.
std::string executablePath();
