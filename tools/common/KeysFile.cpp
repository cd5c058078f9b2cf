#include "tools/common/KeysFile.h"

#include <cstdio>
#include <string>

#include "io/RecordingFile.h"

bool readKeysFile(const char* tool, const char* path, std::int64_t lastFrame, Replay& replay) {
    std::string message, note;
    if (path == nullptr) {
        return true;
    }
    const bool read = readRecording(path, lastFrame, replay.recording, message, note);
    if (!read || !note.empty()) {
        std::fprintf(stderr, "%s: %s\n", tool, (read ? note : message).c_str());
    }
    return read;
}
