#pragma once
// What every loader's fuzz target shares: the input written to a file of a
// private directory (the loaders read files), and the engine's fatal stops
// turned into an exception so that one run goes on after a stop.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

struct FatalStop {};

class FuzzHarness {
public:
    // Sets up the directory and the stop hook once per process.
    static FuzzHarness& instance();

    // The bytes as a file named "input.<extension>"; its path.
    const std::string& write(std::span<const uint8_t> bytes, const char* extension);
    // The subfolder name of the private directory, emptied.
    std::filesystem::path emptyFolder(const char* name) const;

private:
    FuzzHarness();
    ~FuzzHarness();
    std::string directory;
    std::string path;
};

// Runs load, a fatal stop included; returns nothing: only a crash or a
// sanitizer report counts as a finding.
template <typename Load>
void runToEnd(Load load) {
    try {
        load();
    } catch (const FatalStop&) {
    }
}
