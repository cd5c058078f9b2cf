#pragma once

#include <cstdint>
#include <string>

#include "physics/Recording.h"

// The largest recording file a replay reads, 256 MiB; the writer stops before it.
constexpr std::int64_t recordingSizeLimit = std::int64_t{256} << 20;

// parseRecording on the file at path; with lastFrame >= 0 a command after that frame is refused
// too, and so is a file larger than recordingSizeLimit, unread. The message says "PATH:LINE: cause"
// (or "PATH: cause" when the file as a whole is refused); the note, when not empty, that a last
// line was left out.
// Why a file of size bytes (negative: not known) is refused unread: larger than recordingSizeLimit.
std::string recordingTooLarge(const std::string& path, std::int64_t size);

bool readRecording(const char* path, std::int64_t lastFrame, Recording& recording, std::string& message,
                   std::string& note);
