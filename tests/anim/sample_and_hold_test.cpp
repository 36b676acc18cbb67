#include "anim/sample_and_hold.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Keys whose values are their own ordinal (1, 2, 3, ...), so a table reads as
// the sequence of keys taken.
std::vector<PositionKey> keysAt(const std::vector<int32_t>& times) {
    std::vector<PositionKey> keys;
    for (size_t k = 0; k < times.size(); ++k) {
        PositionKey key;
        key.time = times[k];
        key.value = {static_cast<float>(k + 1), 0, 0};
        keys.push_back(key);
    }
    return keys;
}

std::vector<int> ordinals(const std::vector<Vector3>& table) {
    std::vector<int> result;
    for (const Vector3& v : table) result.push_back(static_cast<int>(v.x));
    return result;
}

}  // namespace

TEST(SampleAndHold, HoldsEachKeyFromItsFrameUntilTheNextKeyTaken) {
    struct Case {
        const char* what;
        std::vector<int32_t> times;
        int32_t frameCount;
        int32_t frameStep;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"keys at frames 0, 5, 9", {0, 800, 1440}, 10, 160, {1, 1, 1, 1, 1, 2, 2, 2, 2, 3}},
        {"a repeated frame is never taken, nor anything after it",
         {0, 800, 800, 1440},
         10,
         160,
         {1, 1, 1, 1, 1, 2, 2, 2, 2, 2}},
        {"times truncate toward zero: 170 is frame 1, -100 is frame 0", {-100, 170}, 3, 160, {1, 2, 2}},
        {"frames before the first key taken hold the first key", {480, 640}, 6, 160, {1, 1, 1, 1, 2, 2}},
        {"a key before frame 0 is never taken, and blocks the rest", {-160, 0, 160}, 4, 160, {1, 1, 1, 1}},
        {"keys beyond the last frame are never taken", {0, 1600}, 5, 160, {1, 1, 1, 1, 1}},
        {"a key out of order blocks the keys after it", {0, 320, 160, 480}, 5, 160, {1, 1, 2, 2, 2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ordinals(sampleAndHold(keysAt(c.times), c.frameCount, c.frameStep)), c.expected) << c.what;
    }
}

TEST(SampleAndHold, OneKeyPerFrameIsCopiedWhateverTheTimesAndTheStep) {
    EXPECT_EQ(ordinals(sampleAndHold(keysAt({999, -5, 0}), 3, 160)), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ordinals(sampleAndHold(keysAt({7, 7, 7, 7}), 4, 0)), (std::vector<int>{1, 2, 3, 4}));
}

TEST(SampleAndHold, TableHasOneEntryPerFrameAndNoneForAnEmptyScene) {
    EXPECT_EQ(sampleAndHold(keysAt({0}), 1, 160).size(), 1u);
    EXPECT_TRUE(sampleAndHold(keysAt({0, 1}), 0, 160).empty());
    EXPECT_TRUE(sampleAndHold(keysAt({0, 1}), -3, 160).empty());
}

TEST(SampleAndHold, RotationsExpandTheSameWay) {
    std::vector<RotationKey> keys(2);
    keys[0].time = 0;
    keys[0].value = {0, 0, 0, 1};
    keys[1].time = 320;
    keys[1].value = {0.5f, 0, 0, 0.5f};
    const auto table = sampleAndHold(keys, 4, 160);
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[1].w, 1.0f);
    EXPECT_EQ(table[2].x, 0.5f);
    EXPECT_EQ(table[3].w, 0.5f);
}
