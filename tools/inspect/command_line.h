#pragma once
// Arguments of a subcommand: positional words and "--name value" options.

#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // by name, "--" included
    std::string error;                           // empty when the arguments make sense
};

// Every option named in valued takes the next argument as its value; any other
// word starting with "--" is an error, as is an option given twice.
CommandLine parseCommandLine(const std::vector<std::string>& arguments, const std::set<std::string>& valued);

// The whole text as a number of that type: no spaces, no sign but "-"; nothing otherwise.
template <typename Number>
std::optional<Number> parseNumber(const std::string& text) {
    Number value{};
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Takes each "NAME N" out of the arguments (the option may repeat) and adds N
// to values, in order; false when a NAME has no whole number after it.
bool takeRepeatedNumbers(std::vector<std::string>& arguments, const std::string& name, std::vector<int32_t>& values);

// Says "kvor-inspect SUBCOMMAND: message" on standard error; returns status.
int failure(const char* subcommand, const std::string& message, int status);

// Exit statuses shared by the subcommands (a fatal stop of the engine exits with 255).
constexpr int exitSuccess = 0;
constexpr int exitBadInput = 1;
constexpr int exitUsage = 2;
