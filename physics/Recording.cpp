#include "physics/Recording.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <filesystem>

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

std::string aboveFrameLimit(std::int64_t frame) {
    return std::to_string(frame) + " is above " + std::to_string(recordingFrameLimit) +
           ", the most a replay takes";
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

bool readRecording(const char* path, std::int64_t lastFrame, Recording& recording, std::string& message,
                   std::string& note) {
    note.clear();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        message = std::string(path) + ": " + std::strerror(errno);
        return false;
    }
    // A file that says it is too large is refused unread; one whose size is not known (a pipe, a
    // device) is read no further than the limit.
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    bool tooLarge = !sizeError && size > static_cast<std::uintmax_t>(recordingSizeLimit);
    std::string text;
    char buffer[1 << 14];
    for (std::size_t got; !tooLarge && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, got);
        tooLarge = static_cast<std::int64_t>(text.size()) > recordingSizeLimit;
    }
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (tooLarge) {
        message = std::string(path) + ": " + (sizeError ? "" : std::to_string(size) + " bytes, ") +
                  "larger than " + std::to_string(recordingSizeLimit >> 20) + " MiB, the most a replay takes";
        return false;
    }
    if (readFailed) {
        message = std::string(path) + ": cannot be read";
        return false;
    }
    RecordingProblem problem;
    int unterminated = 0;
    if (!parseRecording(text, recording, problem, unterminated)) {
        message = std::string(path) + ":" + std::to_string(problem.line) + ": " + problem.cause;
        return false;
    }
    for (const RecordedPass& pass : recording.passes) {
        if (lastFrame >= 0 && pass.frame > lastFrame) {
            message = std::string(path) + ":" + std::to_string(pass.line) + ": a command at frame " +
                      std::to_string(pass.frame) + ", beyond the " + std::to_string(lastFrame) +
                      " frames to run";
            return false;
        }
    }
    if (unterminated != 0) {
        note =
            std::string(path) + ":" + std::to_string(unterminated) + ": no newline at its end: line ignored";
    }
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

std::size_t applyRecordedPasses(const Recording& recording, std::size_t next, std::int64_t frame,
                                World& world) {
    for (; next < recording.passes.size() && recording.passes[next].frame == frame; ++next) {
        applyWorldCommands(world, recording.passes[next].commands);
    }
    return next;
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

RecordingWriter::~RecordingWriter() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool RecordingWriter::open(const char* path, std::string& error) {
    // Binary, so that every system writes the same bytes.
    file_ = std::fopen(path, "wb");
    if (file_ == nullptr) {
        error = std::string(path) + ": " + std::strerror(errno);
        return false;
    }
    path_ = path;
    write(0, recordingHeaderLine());
    if (file_ == nullptr) {
        error = path_ + ": cannot be written";
        return false;
    }
    return true;
}

void RecordingWriter::pass(std::int64_t frame, CommandSet commands) {
    write(frame, recordingPassLine(frame, commands));
}

void RecordingWriter::end(std::int64_t frames, std::uint64_t digest) {
    write(frames, recordingEndLine(frames, digest));
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

void RecordingWriter::write(std::int64_t frame, const std::string& line) {
    if (file_ == nullptr) {
        return;
    }
    // What the readers would refuse is not written: the recording ends replayable before it.
    if (frame > recordingFrameLimit) {
        stop(("frame " + aboveFrameLimit(frame)).c_str());
    } else if (written_ + static_cast<std::int64_t>(line.size()) > sizeLimit_) {
        stop(("the file would grow above " + std::to_string(sizeLimit_) + " bytes, the most a replay takes")
                 .c_str());
    } else if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0) {
        stop(std::strerror(errno));
    } else {
        written_ += static_cast<std::int64_t>(line.size());
    }
}

void RecordingWriter::stop(const char* cause) {
    std::fprintf(stderr, "Recording stopped: %s: %s\n", path_.c_str(), cause);
    std::fclose(file_);
    file_ = nullptr;
}
