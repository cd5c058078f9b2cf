#include <map>

#include "FakePlatform.h"

namespace {

// scripts.txt, built in (a Windows build under its emulator reads no file of the source tree).
const char* const scriptsText =
#include "Scripts.inc"
    ;

// Every case of scripts.txt through expectRun: a "script:" line starts one, the lines up to the next
// give its outcome.
TEST(MainLoopTest, ScriptsGiveTheirOutcome) {
    std::istringstream in(scriptsText);
    std::map<std::string, std::string> c;
    int cases = 0;
    const auto run = [&] {
        Replay replay;
        if (c.count("replay") != 0) {
            std::string text = "torvel-room-recording 1|" + c["replay"] + "|";
            std::replace(text.begin(), text.end(), '|', '\n');
            RecordingProblem problem;
            int unterminated = 0;
            ASSERT_TRUE(parseRecording(text, replay.recording, problem, unterminated)) << c["script"];
            replay.checkAt = replay.recording.ended ? replayFrames(replay.recording) : -1;
        }
        for (std::size_t at; (at = c["log"].find("\\n")) != std::string::npos;) {
            c["log"].replace(at, 2, "\n");
        }
        expectRun(c["script"], c["world"], c["log"],
                  c.count("recorded") != 0 ? c["recorded"].c_str() : nullptr,
                  c.count("replay") != 0 ? &replay : nullptr);
        ++cases;
    };
    for (std::string line; std::getline(in, line);) {
        const std::size_t colon = line.find(": ");
        if (line.rfind("script: ", 0) == 0 && !c.empty()) {
            run();
            c.clear();
        }
        if (!line.empty() && line[0] != '#' && colon != std::string::npos) {
            c[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }
    run();
    EXPECT_EQ(cases, 24) << "cases read from scripts.txt";
}

}  // namespace
