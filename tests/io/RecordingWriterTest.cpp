#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "io/RecordingWriter.h"

namespace {

// The writer stops before a line a reader would refuse, with one line on stderr, and what it
// wrote up to there stays a recording the readers take.
TEST(RecordingWriter, StopsAtTheReadersLimits) {
    const std::string header = recordingHeaderLine();
    const std::int64_t big = recordingSizeLimit, small = static_cast<std::int64_t>(header.size() + 5);
    const std::string beyond = "frame 100000000 is above 99999999, the most a replay takes";
    const std::string grown = "the file would grow above 29 bytes, the most a replay takes";
    const struct {
        const char* name;
        std::int64_t sizeLimit;
        std::vector<std::int64_t> passes;  // frames of passes of Up; the last one ends the run
        std::string written, stopped;
    } cases[] = {
        {"at the frame limit", big, {99999999, 99999999}, "99999999 Up\nend 99999999 000000000000000a\n", ""},
        {"a pass beyond it", big, {5, 100000000, 100000001, 100000001}, "5 Up\n", beyond},
        {"the end beyond it", big, {5, 100000000}, "5 Up\n", beyond},
        {"the size limit reached", small, {5, 6, 6}, "5 Up\n", grown},
    };
    const std::string path = testing::TempDir() + "writer-limits";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingWriter writer(c.sizeLimit);
        std::string error;
        ASSERT_TRUE(writer.open(path.c_str(), error)) << error;
        testing::internal::CaptureStderr();
        for (std::size_t i = 0; i + 1 < c.passes.size(); ++i) {
            writer.pass(c.passes[i], command::forward);
        }
        writer.end(c.passes.back(), 10);
        const std::string stopped = testing::internal::GetCapturedStderr();
        std::stringstream file;
        file << std::ifstream(path).rdbuf();
        EXPECT_EQ(file.str(), header + c.written);
        EXPECT_EQ(stopped, c.stopped.empty() ? "" : "Recording stopped: " + path + ": " + c.stopped + "\n");
        EXPECT_FALSE(writer.isOpen());
    }
}

}  // namespace
