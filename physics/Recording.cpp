#include "physics/Recording.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace {

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> result;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string::npos) {
            break;
        }
        const std::size_t stop = std::min(line.find_first_of(" \t", start), line.size());
        result.push_back(line.substr(start, stop - start));
        at = stop;
    }
    return result;
}

// Plain decimal digits, at most 15 of them: no sign, no overflow.
bool readFrame(const std::string& text, std::int64_t& value) {
    if (text.empty() || text.size() > 15 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return true;
}

bool readDigest(const std::string& text, std::uint64_t& value) {
    if (text.size() != 16 || text.find_first_not_of("0123456789abcdef") != std::string::npos) {
        return false;
    }
    value = 0;
    for (const char c : text) {
        value = value * 16 + static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return true;
}

int commandIndex(const std::string& name) {
    for (int i = 0; i < command::count; ++i) {
        if (name == commandName(i)) {
            return i;
        }
    }
    return -1;
}

bool fail(RecordingProblem& problem, int line, const std::string& cause) {
    problem.line = line;
    problem.cause = cause;
    return false;
}

std::string noHeader() {
    return std::string("no header: the first line must be \"") + recordingName + " " + recordingVersion +
           "\"";
}

std::string quoted(const std::string& text) {
    // Shown as read, but no longer than a line of a terminal and without control characters.
    std::string shown;
    for (const char c : text.substr(0, 40)) {
        shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
    }
    return "\"" + shown + (text.size() > 40 ? "...\"" : "\"");
}

}  // namespace

bool parseRecording(const std::string& text, Recording& recording, RecordingProblem& problem,
                    int& unterminatedLine) {
    Recording parsed;
    unterminatedLine = 0;
    int number = 0;
    bool header = false;
    std::size_t at = 0;
    while (at < text.size()) {
        ++number;
        const std::size_t newline = text.find('\n', at);
        if (newline == std::string::npos) {
            unterminatedLine = number;
            break;
        }
        std::string line = text.substr(at, newline - at);
        at = newline + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> w = words(line);
        if (!header) {
            if (w.size() != 2 || w[0] != recordingName || line != w[0] + " " + w[1]) {
                return fail(problem, number, noHeader());
            }
            if (w[1] != recordingVersion) {
                return fail(
                    problem, number,
                    "unknown version " + quoted(w[1]) + " (this build reads " + recordingVersion + ")");
            }
            header = true;
            continue;
        }
        if (w.empty() || w[0][0] == '#') {
            continue;
        }
        if (parsed.ended) {
            return fail(problem, number, "a line after the end line");
        }
        const std::int64_t last = parsed.passes.empty() ? 0 : parsed.passes.back().frame;
        if (w[0] == "end") {
            if (w.size() != 3 || !readFrame(w[1], parsed.endFrames) || !readDigest(w[2], parsed.digest) ||
                parsed.endFrames < last) {
                return fail(problem, number,
                            "bad end line: \"end FRAMES DIGEST\" with FRAMES not below the last pass's frame "
                            "and 16 lower-case hex digits");
            }
            if (parsed.endFrames > recordingFrameLimit) {
                return fail(problem, number, "end frame " + aboveFrameLimit(parsed.endFrames));
            }
            parsed.ended = true;
            continue;
        }
        RecordedPass pass;
        pass.line = number;
        if (!readFrame(w[0], pass.frame)) {
            return fail(problem, number, "not a frame number: " + quoted(w[0]));
        }
        if (pass.frame > recordingFrameLimit) {
            return fail(problem, number, "frame " + aboveFrameLimit(pass.frame));
        }
        if (pass.frame < last) {
            return fail(problem, number, "frames out of order: " + w[0] + " after " + std::to_string(last));
        }
        if (w.size() < 2) {
            return fail(problem, number, "no command after the frame number");
        }
        for (std::size_t i = 1; i < w.size(); ++i) {
            const int index = commandIndex(w[i]);
            if (index < 0) {
                return fail(problem, number, "unknown command " + quoted(w[i]));
            }
            const CommandSet bit = CommandSet{1} << index;
            if ((pass.commands & bit) != 0) {
                return fail(problem, number, "command " + w[i] + " twice in one pass");
            }
            pass.commands |= bit;
        }
        parsed.passes.push_back(pass);
    }
    if (!header) {
        return fail(problem, 1, noHeader());
    }
    recording = std::move(parsed);
    return true;
}

std::string recordingHeaderLine() {
    return std::string(recordingName) + " " + recordingVersion + "\n";
}

std::string recordingPassLine(std::int64_t frame, CommandSet commands) {
    std::string line = std::to_string(frame);
    for (int i = 0; i < command::count; ++i) {
        if ((commands & (CommandSet{1} << i)) != 0) {
            line += std::string(" ") + commandName(i);
        }
    }
    return line + "\n";
}

std::string recordingEndLine(std::int64_t frames, std::uint64_t digest) {
    char line[64];
    std::snprintf(line, sizeof line, "end %lld %016" PRIx64 "\n", static_cast<long long>(frames), digest);
    return line;
}

std::string aboveFrameLimit(std::int64_t frame) {
    return std::to_string(frame) + " is above " + std::to_string(recordingFrameLimit) +
           ", the most a replay takes";
}
