#include "tools/common/Arguments.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

bool parseCount(const char* text, std::int64_t& value) {
    if (*text == '\0' || std::strspn(text, "0123456789") != std::strlen(text)) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    value = parsed;
    return true;
}

bool parseFinite(const char* text, double& value) {
    // strtod would skip leading blanks; a value with them is as malformed as one with trailing ones.
    if (*text == '\0' || *text == ' ' || (*text >= '\t' && *text <= '\r')) {
        return false;
    }
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

namespace {

bool refuse(const char* tool, const char* arg) {
    if (tool != nullptr) {
        std::fprintf(stderr, "%s: unknown or incomplete option \"%s\"\n", tool, arg);
    }
    return false;
}

}  // namespace

ArgumentsEnd readArguments(int argc, const char* const* argv, const std::vector<ToolOption>& options,
                           const std::vector<ArgumentReader>& positional, std::size_t& positionalRead,
                           const char* tool) {
    std::vector<bool> seen(options.size(), false);
    positionalRead = 0;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0) {
            return ArgumentsEnd::Help;
        }
        std::size_t o = 0;
        while (o < options.size() && std::strcmp(arg, options[o].name) != 0) {
            ++o;
        }
        bool read = false;
        if (o < options.size()) {
            const ToolOption& option = options[o];
            if ((option.hasValue && i + 1 >= argc) || (seen[o] && !option.repeatable)) {
                read = refuse(tool, arg);
            } else {
                seen[o] = true;
                read = option.read(option.hasValue ? argv[++i] : nullptr);
            }
        } else if (positionalRead < positional.size()) {
            read = positional[positionalRead++](arg);
        } else {
            read = refuse(tool, arg);
        }
        if (!read) {
            return ArgumentsEnd::Refused;
        }
    }
    return ArgumentsEnd::Read;
}

int usageStatus(ArgumentsEnd end, const char* usage) {
    const bool help = end == ArgumentsEnd::Help;
    std::fputs(usage, help ? stdout : stderr);
    return help ? 0 : 2;
}
