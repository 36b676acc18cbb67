// kvor-inspect overlay against an independent reading of the effects
// (tests/tools/overlay_reference.py), on durations, starts and frames chosen
// at random, and its refusals of arguments that make no sense.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"

using testing_support::CommandRun;
using testing_support::quoted;
using testing_support::runIn;
using testing_support::ScratchDirectory;

namespace {

struct Case {
    std::string effect;
    int duration;
    int start;
    std::vector<int> frames;
};

const char* const effectNames[] = {"defaultPath",      "fadePanel",     "fadeSkewed",  "pulseTopLeft",
                                   "pulseBottomRight", "swingVertical", "fadeInBottom"};

// Durations around the fades' windows and long lives; frames around the
// life's ends and inside it.
std::vector<Case> randomCases(unsigned seed) {
    std::mt19937 random(seed);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const int durations[] = {-7, 0, 1, 2, 9, 10, 11, 49, 50, 51, 59, 60, 61};
    std::vector<Case> cases;
    for (const char* effect : effectNames) {
        for (int round = 0; round < 3; ++round) {
            const int duration = round == 0 ? durations[pick(0, 12)] : pick(1, 1200);
            const int start = pick(-100, 900);
            std::vector<int> frames = {start - 1, start, start + duration - 1, start + duration};
            for (int n = 0; n < 3; ++n) frames.push_back(start + pick(0, std::max(duration, 1) - 1));
            cases.push_back({effect, duration, start, frames});
        }
    }
    return cases;
}

}  // namespace

TEST(InspectOverlay, AgreesWithTheIndependentReading) {
    ScratchDirectory directory;
    for (const Case& c : randomCases(20261207)) {
        std::string tool = quoted(KVOR_INSPECT) + " overlay " + c.effect + " --duration " + std::to_string(c.duration) +
                           " --start " + std::to_string(c.start);
        std::string reference = quoted(PYTHON) + " " + quoted(OVERLAY_REFERENCE) + " " + c.effect + " " +
                                std::to_string(c.duration) + " " + std::to_string(c.start);
        for (int frame : c.frames) {
            tool += " --frame " + std::to_string(frame);
            reference += " " + std::to_string(frame);
        }
        const CommandRun inspected = runIn(directory.path(), tool);
        const CommandRun expected = runIn(directory.path(), reference);
        ASSERT_EQ(expected.status, 0) << reference;
        EXPECT_EQ(inspected.status, 0) << tool;
        EXPECT_EQ(inspected.output, expected.output) << tool;
    }
}

TEST(InspectOverlay, StartDefaultsToZeroAndNoLifeDrawsNothing) {
    ScratchDirectory directory;
    EXPECT_EQ(runIn(directory.path(), quoted(KVOR_INSPECT) + " overlay fadeInBottom --duration 2 --frame 1").output,
              R"({"effect":"fadeInBottom","duration":2,"start":0,"entries":[[[0,0.5,0],[0,1,0],[1,1,0],[1,0.5,0]],)"
              R"([[0,0.5,8355711],[0,1,8355711],[1,1,8355711],[1,0.5,8355711]]],"draws":[{"frame":1,"vertices":)"
              R"([[0,240,8355711],[0,480,8355711],[640,480,8355711],[640,240,8355711]]}]})"
              "\n");
    EXPECT_EQ(
        runIn(directory.path(), quoted(KVOR_INSPECT) + " overlay fadePanel --duration -1 --frame 0 --frame -1").output,
        R"({"effect":"fadePanel","duration":-1,"start":0,"entries":[],"draws":[{"frame":0,"vertices":null},)"
        R"({"frame":-1,"vertices":null}]})"
        "\n");
}

TEST(InspectOverlay, RefusesWhatMakesNoSense) {
    ScratchDirectory directory;
    for (const char* arguments :
         {"", "spin --duration 3", "fadePanel", "fadePanel --duration x", "fadePanel --duration 3 --start",
          "fadePanel --duration 3 --frame", "fadePanel fadeSkewed --duration 3", "fadePanel --duration 3 --speed 2"}) {
        const CommandRun refused = runIn(directory.path(), quoted(KVOR_INSPECT) + " overlay " + arguments);
        EXPECT_EQ(refused.status, 2) << arguments;
        EXPECT_EQ(refused.output, "") << arguments;
    }
}
