#pragma once

#include <cstdint>

#include "physics/Replay.h"

// The recording a tool's --keys names (none: nullptr), read into replay for a run of lastFrame
// frames (-1: to the recording's end). A refusal or a note goes to stderr after "TOOL: "; false
// when the recording is refused, and the tool ends with status 2.
bool readKeysFile(const char* tool, const char* path, std::int64_t lastFrame, Replay& replay);
