// The music's fade on time the test feeds: when each of its hundred steps is
// sent, how long it holds the thread, and what a player slow to answer does
// to it.

#include "app/music_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <set>
#include <vector>

#include "platform/player_link.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Readings come one interval apart; a command the player is slow to take
// pushes the next reading back by its wait.
class FedClock {
public:
    explicit FedClock(Clock::duration interval) : interval(interval) {}

    Clock::time_point read() {
        last = next;
        next += interval;
        return last;
    }
    void wait(Clock::duration length) { next += length; }
    // The time of the last reading, from the first.
    Clock::duration elapsed() const { return last - Clock::time_point{}; }

private:
    Clock::duration interval;
    Clock::time_point next{}, last{};
};

struct SentCommand {
    WPARAM id;
    Clock::duration when;  // the clock's last reading before it was sent
};

// Records each command with the fed time; the commands whose place in the
// sequence (from 0) is in slow take half a second of it.
class TimedRecordingPlayer : public platform::PlayerLink {
public:
    TimedRecordingPlayer(FedClock& clock, std::vector<SentCommand>& sent, std::set<size_t> slow)
        : clock(clock), sent(sent), slow(std::move(slow)) {}
    void command(WPARAM id) override {
        sent.push_back({id, clock.elapsed()});
        if (slow.contains(sent.size() - 1)) clock.wait(milliseconds(500));
    }

private:
    FedClock& clock;
    std::vector<SentCommand>& sent;
    std::set<size_t> slow;
};

class MusicFade : public testing::Test {
protected:
    void TearDown() override { platform::setPlayerFinder({}); }

    // Fades with the fed clock read every interval.
    void fade(Clock::duration interval, std::set<size_t> slow = {}) {
        clock = std::make_unique<FedClock>(interval);
        platform::setPlayerFinder([this, slow] { return std::make_unique<TimedRecordingPlayer>(*clock, sent, slow); });
        fadeMusic(findMusicPlayer(), [this] { return clock->read(); });
    }

    // When each step was sent, in ms from the fade's start; checks that all were volume-downs.
    std::vector<int64_t> stepTimes() const {
        std::vector<int64_t> times;
        for (const SentCommand& command : sent) {
            EXPECT_EQ(command.id, platform::playerVolumeDown);
            times.push_back(std::chrono::duration_cast<milliseconds>(command.when).count());
        }
        return times;
    }

    std::unique_ptr<FedClock> clock;
    std::vector<SentCommand> sent;
};

// Step n falls due at n x 30 ms and goes at the first reading from then on;
// the fade ends at the first reading from 3000 ms on.
TEST_F(MusicFade, HundredStepsOneEvery30MsSentAtTheFirstReadingDue) {
    struct Case {
        int64_t interval;
        std::vector<int64_t> firstSteps;  // the first eight
        int64_t lastStep, end;
    };
    for (const Case& c : {Case{1, {0, 30, 60, 90, 120, 150, 180, 210}, 2970, 3000},
                          Case{7, {0, 35, 63, 91, 126, 154, 182, 210}, 2975, 3003},
                          Case{45, {0, 45, 90, 90, 135, 180, 180, 225}, 2970, 3015},
                          Case{1000, {0, 1000, 1000, 1000, 1000, 1000, 1000, 1000}, 3000, 3000}}) {
        sent.clear();
        fade(milliseconds(c.interval));
        const std::vector<int64_t> times = stepTimes();
        ASSERT_EQ(times.size(), 100u) << c.interval;
        EXPECT_EQ(std::vector<int64_t>(times.begin(), times.begin() + 8), c.firstSteps) << c.interval;
        EXPECT_EQ(times.back(), c.lastStep) << c.interval;
        EXPECT_TRUE(std::is_sorted(times.begin(), times.end())) << c.interval;
        EXPECT_EQ(clock->elapsed(), milliseconds(c.end)) << c.interval;
    }
}

// Steps 20 and 90 (from 0) keep the fade waiting half a second each; the
// second wait ends after the three seconds are over.
TEST_F(MusicFade, StepsThatFellDueWhileThePlayerWasBusyGoAtOnceInOrder) {
    fade(milliseconds(1), {20, 90});
    const std::vector<int64_t> times = stepTimes();
    ASSERT_EQ(times.size(), 100u);
    EXPECT_EQ(times[20], 600);
    // Busy until 1100: steps 21 to 36 were due by the next reading, at 1101.
    for (size_t step = 21; step <= 36; ++step) EXPECT_EQ(times[step], 1101) << step;
    EXPECT_EQ(times[37], 1110);
    EXPECT_EQ(times[90], 2700);
    // Busy until 3200: the last nine go then, past the three seconds.
    for (size_t step = 91; step < 100; ++step) EXPECT_EQ(times[step], 3201) << step;
    EXPECT_EQ(clock->elapsed(), milliseconds(3201));
}

TEST_F(MusicFade, WithoutAPlayerItStillHoldsForThreeSeconds) {
    platform::setPlayerFinder([] { return nullptr; });
    ASSERT_EQ(findMusicPlayer(), nullptr);
    FedClock fed(milliseconds(1));
    fadeMusic(nullptr, [&] { return fed.read(); });
    EXPECT_EQ(fed.elapsed(), milliseconds(3000));
}

}  // namespace
