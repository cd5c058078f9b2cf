#include "physics/Replay.h"

#include <cinttypes>
#include <cstdio>

#include "physics/World.h"
#include "physics/WorldCommands.h"

bool replayPasses(Replay& replay, std::int64_t frame, World& world) {
    const std::vector<RecordedPass>& passes = replay.recording.passes;
    for (; replay.next < passes.size() && passes[replay.next].frame == frame; ++replay.next) {
        applyWorldCommands(world, passes[replay.next].commands);
    }
    return frame == replay.checkAt;
}

StepReport replayFrame(Replay& replay, std::int64_t frame, World& world, void (*age)(World&)) {
    const StepReport report = stepWorld(world);
    age(world);
    replayPasses(replay, frame, world);
    return report;
}

std::int64_t replayFrames(const Recording& recording) {
    return recording.ended            ? recording.endFrames
           : recording.passes.empty() ? 0
                                      : recording.passes.back().frame;
}

std::string replayCheckLine(const Recording& recording, std::uint64_t replayed) {
    const long long frames = static_cast<long long>(replayFrames(recording));
    char line[160];
    if (recording.ended) {
        std::snprintf(line, sizeof line,
                      "%lld frames replayed: digest recorded %016" PRIx64 ", replayed %016" PRIx64 ": %s\n",
                      frames, recording.digest, replayed,
                      replayed == recording.digest ? "the same" : "DIFFERENT");
    } else {
        std::snprintf(line, sizeof line,
                      "%lld frames replayed to the last command: digest %016" PRIx64
                      ", no end line to check it against\n",
                      frames, replayed);
    }
    return line;
}
