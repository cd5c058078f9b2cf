#pragma once

#include <cstdio>

// The trace tool under node: the runtime's own stdout goes through node's console, which never
// reports a failed write. This stream writes the process's file descriptor 1 itself, so that a
// trace nobody receives fails as it does on the desktop.
std::FILE* nodeStdout();
