// What the display drivers keep of their presents, and how the enhanced one
// decides how many samples per pixel it can afford: both fed made-up times.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/desktop/frame_pacing.h"
#include "platform/desktop/sample_governor.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr Clock::duration period = 16'667us;  // 60 Hz

TEST(FramePacing, CountsPresentsThoseMoreThanOneAndAHalfPeriodsLateAndTheWorstInterval) {
    platform::FramePacing pacing;
    Clock::time_point at{};
    pacing.presented(at, period);
    for (Clock::duration interval : {Clock::duration(period), Clock::duration(25'000us), Clock::duration(25'100us),
                                     Clock::duration(40ms), Clock::duration(10ms)})
        pacing.presented(at += interval, period);
    EXPECT_EQ(pacing.frames(), 6u);
    EXPECT_EQ(pacing.late(), 2u);
    EXPECT_EQ(pacing.worst(), 40ms);
    EXPECT_EQ(pacing.summary(), "6 frames, 2 late (0 after the first second), worst 40.0 ms");
    // A second on, at 60 Hz but for one frame twice as long.
    for (int frame = 0; frame < 60; ++frame) pacing.presented(at += period, period);
    pacing.presented(at += 2 * period, period);
    EXPECT_EQ(pacing.late(), 3u);
    EXPECT_EQ(pacing.lateAfterTheFirstSecond(), 1u);
    EXPECT_EQ(pacing.summary(), "67 frames, 3 late (1 after the first second: frames 67), worst 40.0 ms");
    // The late frames after the first second are named, the first eight of them.
    for (int frame = 0; frame < 9; ++frame) pacing.presented(at += 2 * period, period);
    EXPECT_EQ(pacing.lateAfterTheFirstSecond(), 10u);
    EXPECT_EQ(pacing.summary(),
              "76 frames, 12 late (10 after the first second: frames 67, 68, 69, 70, 71, 72, 73, 74, ...), worst 40.0 ms");
}

TEST(FramePacing, ALongWaitBeforeTheFirstPresentIsNoInterval) {
    platform::FramePacing pacing;
    pacing.presented(Clock::time_point{} + 10s, period);
    EXPECT_EQ(pacing.summary(), "1 frames, 0 late (0 after the first second), worst 0.0 ms");
}

// Feeds frames that took share of the period each; how many changed the count.
int feed(platform::SampleGovernor& governor, double share, int frames) {
    int changes = 0;
    for (int frame = 0; frame < frames; ++frame)
        changes += governor.frameMade(std::chrono::duration_cast<Clock::duration>(period * share), period);
    return changes;
}

TEST(SampleGovernor, KeepsFourSamplesWhileFramesFitEvenWithOccasionalSlowOnes) {
    platform::SampleGovernor governor;
    EXPECT_EQ(feed(governor, 0.6, 1000), 0);
    for (int second = 0; second < 20; ++second) {
        EXPECT_EQ(feed(governor, 1.5, 1), 0);
        EXPECT_EQ(feed(governor, 0.6, 5), 0);
        EXPECT_EQ(feed(governor, 2.0, 1), 0);
        EXPECT_EQ(feed(governor, 0.6, 53), 0);
    }
    EXPECT_EQ(governor.samples(), 4);
}

TEST(SampleGovernor, GivesUpSamplesOneStepAtATimeAndNeverMoreThanAll) {
    platform::SampleGovernor governor;
    EXPECT_EQ(feed(governor, 0.95, 5), 0);
    EXPECT_EQ(feed(governor, 0.95, 1), 1) << "six frames that do not fit are enough from the first frame on";
    EXPECT_EQ(governor.samples(), 2);
    EXPECT_EQ(governor.decision(), "2 samples per pixel: 6 of the last 6 frames took over 90 % of the refresh period");
    // The frames right after a change are not judged: the buffers were made again.
    EXPECT_EQ(feed(governor, 3.0, 3), 0);
    EXPECT_EQ(feed(governor, 0.5, 24), 0);
    EXPECT_EQ(feed(governor, 0.95, 5), 0);
    EXPECT_EQ(feed(governor, 0.95, 1), 1);
    EXPECT_EQ(governor.samples(), 0);
    EXPECT_EQ(governor.decision(), "no multisampling: 6 of the last 30 frames took over 90 % of the refresh period");
    EXPECT_EQ(feed(governor, 2.0, 500), 0);
    EXPECT_EQ(governor.samples(), 0);
}

TEST(SampleGovernor, TakesSamplesBackAfterFourSecondsOfEasyFramesAndBacksOffWhenThatFails) {
    platform::SampleGovernor governor;
    feed(governor, 0.95, 6 + 3);
    ASSERT_EQ(governor.samples(), 2);
    EXPECT_EQ(feed(governor, 0.3, 239), 0);
    EXPECT_EQ(feed(governor, 0.5, 1), 0) << "a frame over 40 % breaks the run";
    EXPECT_EQ(feed(governor, 0.3, 239), 0);
    EXPECT_EQ(feed(governor, 0.3, 1), 1);
    EXPECT_EQ(governor.samples(), 4);
    EXPECT_EQ(governor.decision(), "4 samples per pixel: 240 frames in a row took under 40 % of the refresh period");
    // Four samples were too many after all: the next step up waits twice as long.
    feed(governor, 0.3, 3);
    EXPECT_EQ(feed(governor, 0.95, 6), 1);
    EXPECT_EQ(governor.samples(), 2);
    EXPECT_EQ(feed(governor, 0.3, 3 + 479), 0);
    EXPECT_EQ(feed(governor, 0.3, 1), 1);
    EXPECT_EQ(governor.samples(), 4);
}

}  // namespace
