#include "tools/inspect/command_line.h"

#include <iostream>

CommandLine parseCommandLine(const std::vector<std::string>& arguments, const std::set<std::string>& valued) {
    CommandLine line;
    for (size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
        const std::string& word = arguments[i];
        if (word.rfind("--", 0) != 0) {
            line.positional.push_back(word);
        } else if (!valued.contains(word)) {
            line.error = "unknown option " + word;
        } else if (i + 1 == arguments.size()) {
            line.error = "option " + word + " needs a value";
        } else if (!line.options.emplace(word, arguments[i + 1]).second) {
            line.error = "option " + word + " given twice";
        } else {
            ++i;
        }
    }
    return line;
}

bool takeRepeatedNumbers(std::vector<std::string>& arguments, const std::string& name, std::vector<int32_t>& values) {
    for (size_t i = 0; i < arguments.size();) {
        if (arguments[i] != name) {
            ++i;
            continue;
        }
        const auto value = i + 1 < arguments.size() ? parseNumber<int32_t>(arguments[i + 1]) : std::nullopt;
        if (!value) return false;
        values.push_back(*value);
        arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                        arguments.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    return true;
}

int failure(const char* subcommand, const std::string& message, int status) {
    std::cerr << "kvor-inspect " << subcommand << ": " << message << '\n';
    return status;
}
