#include "render/DataRoot.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace {

std::string dataRoot;

bool isDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string findDataRoot(const std::string& workingDirectory, const std::string& executable,
                         const std::string& installRelative) {
    const std::string::size_type slash = executable.rfind('/');
    if (slash == std::string::npos || installRelative.empty()) {
        return {};
    }
    // The executable's path has no links or dot segments, so dropping "dir/.." keeps its meaning
    // and gives the loader's lines a plain path.
    // With '/' on Windows too (where the native form is '\\'), and without the trailing one that
    // an installRelative of "." leaves, as the loader's lines show the paths.
    std::string installed = std::filesystem::path(executable.substr(0, slash + 1) + installRelative)
                                .lexically_normal()
                                .generic_string();
    if (installed.size() > 1 && installed.back() == '/') {
        installed.pop_back();
    }
    if (!isDirectory(installed + "/data")) {
        return {};
    }
    // Started where its data is (the Windows folder): the paths stay relative, as they always were.
    std::error_code error;
    if (std::filesystem::equivalent(installed, workingDirectory, error)) {
        return {};
    }
    return installed;
}

void setDataRoot(const std::string& root) {
    dataRoot = root;
}

std::string dataPath(const char* relative) {
    return dataRoot.empty() ? std::string(relative) : dataRoot + "/" + relative;
}
