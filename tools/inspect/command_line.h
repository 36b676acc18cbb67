#pragma once
// Arguments of a subcommand: positional words and "--name value" options.

#include <map>
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

// Exit statuses shared by the subcommands (a fatal stop of the engine exits with 255).
constexpr int exitSuccess = 0;
constexpr int exitBadInput = 1;
constexpr int exitUsage = 2;
