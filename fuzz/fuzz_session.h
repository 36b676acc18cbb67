#pragma once
// What every loader's fuzz target shares: the input written to a file of a
// private directory (the loaders read files), and the engine's fatal stops
// turned into an exception so that one run goes on after a stop.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

struct FatalStop {};

class FuzzSession {
public:
    // Sets up the directory and the stop hook once per process.
    static FuzzSession& instance();

    // The bytes as a file named "input.<extension>"; its path.
    const std::string& write(std::span<const uint8_t> bytes, const char* extension);

private:
    FuzzSession();
    ~FuzzSession();
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

// Inputs declaring more pixels than this are skipped: decoding them runs the
// same loops, only slower.
constexpr uint64_t largestFuzzedPixelCount = uint64_t{1} << 18;
