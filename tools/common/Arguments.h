#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// The headless tools' arguments, read one way: "--help", options "--name [VALUE]", and the
// positional values in order.

// A count is plain decimal digits (no sign, no blanks, no overflow); a finite number is a double
// with nothing around it.
bool parseCount(const char* text, std::int64_t& value);
bool parseFinite(const char* text, double& value);

// What a reader of one argument does: takes the text (nullptr for an option without a value) and
// returns false to refuse it, having printed why where its tool says why.
using ArgumentReader = std::function<bool(const char* text)>;

struct ToolOption {
    const char* name;  // "--every"
    bool hasValue;
    bool repeatable;  // else a second one is refused
    ArgumentReader read;
};

enum class ArgumentsEnd { Read, Help, Refused };

// Reads argv[1..]: "--help" in place of an option asks for the usage; a listed option takes its value;
// anything else goes to the next of positional, in order. With tool, an option without its value, a
// second one that is not repeatable and an argument beyond the positional ones are refused with
// the line "TOOL: unknown or incomplete option "ARG"". positionalRead says how many were given.
ArgumentsEnd readArguments(int argc, const char* const* argv, const std::vector<ToolOption>& options,
                           const std::vector<ArgumentReader>& positional, std::size_t& positionalRead,
                           const char* tool = nullptr);

// Ends a tool whose arguments were not read: the usage on stdout and status 0 for "--help", on
// stderr and status 2 for a refusal.
int usageStatus(ArgumentsEnd end, const char* usage);

// A tool's main: its arguments read by parse, then the tool run on them, or the usage (usageStatus).
template <typename Options>
int runWithArguments(int argc, const char* const* argv,
                     ArgumentsEnd (*parse)(int, const char* const*, Options&), const char* usage,
                     int (*run)(const Options&)) {
    Options options;
    const ArgumentsEnd end = parse(argc, argv, options);
    return end == ArgumentsEnd::Read ? run(options) : usageStatus(end, usage);
}
