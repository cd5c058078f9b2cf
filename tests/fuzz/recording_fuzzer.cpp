// Feeds the bytes to the recording reader; the sanitizers judge. The invariant: a recording that
// was read, written out again line by line, reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "physics/Recording.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Recording recording;
    RecordingProblem problem;
    int unterminated = 0;
    if (!parseRecording(text, recording, problem, unterminated)) {
        if (problem.line < 1 || problem.cause.empty()) {
            std::abort();
        }
        return 0;
    }
    std::string again = recordingHeaderLine();
    for (const RecordedPass& pass : recording.passes) {
        again += recordingPassLine(pass.frame, pass.commands);
    }
    if (recording.ended) {
        again += recordingEndLine(recording.endFrames, recording.digest);
    }
    Recording back;
    if (!parseRecording(again, back, problem, unterminated) || unterminated != 0 ||
        back.passes.size() != recording.passes.size() || back.ended != recording.ended ||
        back.endFrames != recording.endFrames || back.digest != recording.digest) {
        std::abort();
    }
    for (std::size_t i = 0; i < back.passes.size(); ++i) {
        if (back.passes[i].frame != recording.passes[i].frame ||
            back.passes[i].commands != recording.passes[i].commands) {
            std::abort();
        }
    }
    return 0;
}
