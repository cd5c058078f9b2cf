#pragma once

#include <string>

// Where the pictures ("data/...") and the sound ("Data/...") are read from. Empty means the
// working directory, and then every path is used exactly as written, as the loader's lines show.
// An installed program reads its own data directory, found beside the executable so that the
// installed tree can be moved, wherever it was started: a data/ of the working directory's own
// (a home folder's) is no concern of its.

// The root to use: executable's directory joined with installRelative when that holds data/,
// empty when that is the working directory itself; otherwise empty (the build's run directory,
// and the loader then names a missing file as it always has).
std::string findDataRoot(const std::string& workingDirectory, const std::string& executable,
                         const std::string& installRelative);

// The process-wide root, set once at start-up before anything is loaded.
void setDataRoot(const std::string& root);

// A path relative to the root ("data/marble.bmp") as the program opens it.
std::string dataPath(const char* relative);
