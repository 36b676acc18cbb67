#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "base/log.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"
#include "tests/support/scene_files.h"
#include "tests/support/test_support.h"

using testing::ExitedWithCode;
using testing::HasSubstr;
using testing_support::DebugOutputCapture;

namespace {

class AnimationReading : public testing_support::SceneFileTest {
protected:
    PositionTrack positions;
    RotationTrack rotations;
};

kvs::KvsWriter& positionRecord(kvs::KvsWriter& bytes, const std::vector<std::pair<int32_t, float>>& keys) {
    bytes.int32(static_cast<int32_t>(keys.size()));
    for (auto [time, value] : keys) bytes.int32(time).float32(value).float32(value + 0.5f).float32(value + 0.25f);
    return bytes;
}

kvs::KvsWriter& cameraRotationRecord(kvs::KvsWriter& bytes, const std::vector<std::pair<int32_t, float>>& keys) {
    bytes.int32(static_cast<int32_t>(keys.size()));
    for (auto [time, roll] : keys) bytes.int32(time).float32(roll);
    return bytes;
}

}  // namespace

TEST_F(AnimationReading, KindByteAloneDecidesAnimatedWithoutTracks) {
    struct Case {
        uint8_t kind;
        bool animated;
    };
    for (const Case c : {Case{0, false}, Case{1, true}, Case{3, true}, Case{0x80, true}, Case{0xFF, true}}) {
        SceneReader& reader = readerOver(kvs::KvsWriter().uint8(c.kind).uint8(0x01).int32(-1));
        EXPECT_EQ(reader.readAnimation(positions, rotations), c.animated) << int(c.kind);
        EXPECT_EQ(reader.byteOffset(), 1u) << "only the kind byte is consumed";
        EXPECT_TRUE(positions.empty());
        EXPECT_TRUE(rotations.empty());
    }
    SceneReader& reader = readerOver(kvs::KvsWriter().uint8(2).uint8(0x80).uint8(0xEE));
    EXPECT_TRUE(reader.readAnimation(positions, rotations));
    EXPECT_EQ(reader.byteOffset(), 2u);
    EXPECT_TRUE(positions.empty());
}

TEST_F(AnimationReading, FlagsAnnounceTracksAndOnlyTheExactEndByteEndsTheList) {
    DebugOutputCapture debug;
    kvs::KvsWriter bytes;
    bytes.uint8(2).uint8(0x00).uint8(0x81);
    positionRecord(bytes, {{0, 1.0f}});  // 0x81 carries a position track
    bytes.uint8(0x03);
    positionRecord(bytes, {{0, 5.0f}});  // a later track replaces the earlier one
    cameraRotationRecord(bytes, {{0, 0.25f}});
    bytes.uint8(0x02);
    cameraRotationRecord(bytes, {{0, 0.75f}});
    bytes.uint8(0x80).uint8(0x99);
    SceneReader& reader = readerOver(bytes, 4);
    reader.readingCameras = true;
    EXPECT_TRUE(reader.readAnimation(positions, rotations));
    EXPECT_EQ(reader.byteOffset(), bytes.size() - 1);
    ASSERT_EQ(positions.size(), 4u);
    EXPECT_EQ(positions[3].x, 5.0f);
    ASSERT_EQ(rotations.size(), 4u);
    EXPECT_EQ(rotations[2].x, 0.75f);
    EXPECT_EQ(debug.text().find("reading a sampleDumped Anim\n"), 0u);
    EXPECT_EQ(debug.text().find("reading a sampleDumped Anim\n", 1), std::string::npos) << "written once per block";
}

TEST_F(AnimationReading, PositionKeysExchangeTheirLastTwoComponentsAndAreLogged) {
    DebugOutputCapture debug;
    kvs::KvsWriter bytes;
    bytes.uint8(2).uint8(0x01).int32(2);
    bytes.int32(0).float32(1.0f).float32(2.0f).float32(3.0f);
    bytes.int32(160).float32(4.0f).float32(5.0f).float32(6.0f);
    bytes.uint8(0x80);
    SceneReader& reader = readerOver(bytes, 2);
    reader.readAnimation(positions, rotations);
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_EQ(positions[0].x, 1.0f);
    EXPECT_EQ(positions[0].y, 3.0f);
    EXPECT_EQ(positions[0].z, 2.0f);
    EXPECT_EQ(positions[1].y, 6.0f);
    EXPECT_THAT(log.text(), HasSubstr("Reading Sample Pos with 2 keys\n"));
    EXPECT_THAT(debug.text(), HasSubstr("interpolation en SamplePos\nexport All Frame detect"));
}

TEST_F(AnimationReading, RotationKeysOfMeshesHoldFourValuesAndOfCamerasOnlyTheRoll) {
    kvs::KvsWriter mesh;
    mesh.uint8(2).uint8(0x02).int32(3);
    for (int k = 0; k < 3; ++k) mesh.int32(160 * k).float32(1.0f + k).float32(2.0f).float32(3.0f).float32(4.0f);
    mesh.uint8(0x80);
    SceneReader& meshReader = readerOver(mesh, 3);
    meshReader.readAnimation(positions, rotations);
    EXPECT_EQ(meshReader.byteOffset(), 1 + 1 + 64 + 1u) << "4 + 3 x 20 bytes";
    ASSERT_EQ(rotations.size(), 3u);
    EXPECT_EQ(rotations[2].x, 3.0f);
    EXPECT_EQ(rotations[2].y, 3.0f);
    EXPECT_EQ(rotations[2].z, 2.0f);
    EXPECT_EQ(rotations[2].w, 4.0f);
    EXPECT_THAT(log.text(), HasSubstr("Reading Sample rot with 3 keys\n42\n")) << "offset 0x42 after the record";

    kvs::KvsWriter camera;
    camera.uint8(2).uint8(0x02);
    cameraRotationRecord(camera, {{0, 0.5f}, {160, 1.5f}, {320, 2.5f}});
    camera.uint8(0x80);
    SceneReader& cameraReader = readerOver(camera, 3);
    cameraReader.readingCameras = true;
    rotations.clear();
    cameraReader.readAnimation(positions, rotations);
    EXPECT_EQ(cameraReader.byteOffset(), 1 + 1 + 28 + 1u) << "4 + 3 x 8 bytes";
    ASSERT_EQ(rotations.size(), 3u);
    EXPECT_EQ(rotations[1].x, 1.5f);
    EXPECT_EQ(rotations[1].w, 0.0f);
}

TEST_F(AnimationReading, TrackWithoutKeysReplacesTheEarlierOneAndLeavesTheObjectAtRest) {
    DebugOutputCapture debug;
    kvs::KvsWriter bytes;
    bytes.uint8(2).uint8(0x03);
    positionRecord(bytes, {{0, 1.0f}});
    bytes.int32(1).int32(0).float32(0.5f).float32(0).float32(0).float32(1);
    bytes.uint8(0x03).int32(0).int32(0).uint8(0x80);
    SceneReader& reader = readerOver(bytes, 5);
    EXPECT_TRUE(reader.readAnimation(positions, rotations));
    EXPECT_EQ(reader.byteOffset(), bytes.size());
    EXPECT_TRUE(positions.empty()) << "the keyless record replaced the track before it";
    EXPECT_TRUE(rotations.empty());
    EXPECT_THAT(log.text(), HasSubstr("Reading Sample Pos with 0 keys\nReading Sample rot with 0 keys\n" +
                                      (std::ostringstream() << std::hex << bytes.size() - 1).str() + "\n"));
    const std::string twice = "interpolation en SamplePos\nTrack de rotation en sample\ninterpolation en SampleRot\n";
    EXPECT_THAT(debug.text(), HasSubstr(twice + twice));
}

TEST_F(AnimationReading, ZeroFrameStepLoadsATrackWithOneKeyPerFrame) {
    kvs::KvsWriter bytes;
    bytes.uint8(2).uint8(0x01);
    positionRecord(bytes, {{0, 1.0f}, {0, 2.0f}, {0, 3.0f}});
    bytes.uint8(0x80);
    SceneReader& reader = readerOver(bytes, 3, 0);
    reader.readAnimation(positions, rotations);
    ASSERT_EQ(positions.size(), 3u);
    EXPECT_EQ(positions[2].x, 3.0f);
}

TEST_F(AnimationReading, CorruptTracksStopWithTheFileWhatAndWhere) {
    struct Case {
        const char* what;
        kvs::KvsWriter bytes;
        bool camera;
        int32_t frameStep;
        const char* logged;
    };
    kvs::KvsWriter truncatedPosition;
    truncatedPosition.uint8(2).uint8(0x01).int32(2).int32(0).float32(1).float32(2).float32(3).int32(160);
    kvs::KvsWriter truncatedRotation;
    truncatedRotation.uint8(2).uint8(0x02).int32(2).int32(0).float32(1).int32(160);
    kvs::KvsWriter negative;
    negative.uint8(2).uint8(0x01).int32(-3).uint8(0x80);
    kvs::KvsWriter huge;
    huge.uint8(2).uint8(0x02).int32(0x7FFFFFFF).uint8(0x80);
    kvs::KvsWriter zeroStep;
    zeroStep.uint8(2).uint8(0x01);
    positionRecord(zeroStep, {{0, 1.0f}, {160, 2.0f}});
    zeroStep.uint8(0x80);
    kvs::KvsWriter endless;
    endless.uint8(2).uint8(0x00).uint8(0x00);
    const Case cases[] = {
        {"truncated position track", truncatedPosition, false, 160,
         "position key count 2 does not fit in the 20 bytes left at byte offset 6\n"},
        {"truncated rotation track", truncatedRotation, true, 160,
         "rotation key count 2 does not fit in the 12 bytes left at byte offset 6\n"},
        {"negative key count", negative, false, 160, "negative position key count -3 at byte offset 6\n"},
        {"huge key count", huge, false, 160,
         "rotation key count 2147483647 does not fit in the 1 byte left at byte offset 6\n"},
        {"zero frame step", zeroStep, false, 0,
         "position track of 2 keys for 10 frames needs a positive frame step, not 0 at byte offset 38\n"},
        {"track list without its end", endless, false, 160,
         "file ends inside track flags (1 byte needed, 0 left) at byte offset 3\n"},
    };
    for (const Case& c : cases) {
        SceneReader& reader = readerOver(c.bytes, 10, c.frameStep);
        reader.readingCameras = c.camera;
        EXPECT_EXIT(reader.readAnimation(positions, rotations), ExitedWithCode(255),
                    "error!: error : can't read the file\n")
            << c.what;
        EXPECT_EQ(errorLine(), "error while reading " + path + " : " + c.logged) << c.what;
        log.text();
    }
}
