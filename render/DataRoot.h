#pragma once

#include <string>

// Where the pictures ("data/...") and the sound ("Data/...") are read from. Empty means the
// working directory, and then every path is used exactly as written, as the loader's lines show.
// An installed program has no such directory under wherever it was started: it reads from its
// own data directory, found beside the executable so that the installed tree can be moved.

// The root to use: empty when workingDirectory holds data/; otherwise executable's directory
// joined with installRelative when that holds data/; otherwise empty (the loader then names
// the missing file as it always has).
std::string findDataRoot(const std::string& workingDirectory, const std::string& executable,
                         const std::string& installRelative);

// The process-wide root, set once at start-up before anything is loaded.
void setDataRoot(const std::string& root);

// A path relative to the root ("data/marble.bmp") as the program opens it.
std::string dataPath(const char* relative);
