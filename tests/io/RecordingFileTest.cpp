#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "io/RecordingFile.h"

namespace {

#ifdef __linux__
// The bytes this process has read through read() so far, whatever the file system.
long long bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value && key != "rchar:") {
    }
    return value;
}

// A file whose size is above the limit is refused before a byte of it is read: the refusal
// reads the same either way, only the reading tells them apart.
TEST(RecordingFile, TooLargeIsRefusedUnread) {
    const std::string path = testing::TempDir() + "too-large.keys";
    std::ofstream(path) << recordingHeaderLine();
    std::filesystem::resize_file(path, recordingSizeLimit + 1);  // sparse: no disk used
    Recording recording;
    std::string message, note;
    const long long before = bytesRead();
    EXPECT_FALSE(readRecording(path.c_str(), -1, recording, message, note));
    EXPECT_LT(bytesRead() - before, 1 << 16) << message;
    std::filesystem::remove(path);
}
#endif

}  // namespace
