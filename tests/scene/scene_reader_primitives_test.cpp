#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/log.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"
#include "tests/support/scene_files.h"
#include "tests/support/test_support.h"

using testing::ExitedWithCode;
using testing::HasSubstr;
using testing_support::DebugOutputCapture;

using ReaderPrimitives = testing_support::SceneFileTest;

TEST_F(ReaderPrimitives, IntegersAreLittleEndianAndSigned) {
    SceneReader& reader = readerOver(kvs::KvsWriter().int32(-2).int16(-3).uint8(0xFE).int32(0x01020304));
    EXPECT_EQ(reader.readInt32("a"), -2);
    EXPECT_EQ(reader.readInt16("b"), -3);
    EXPECT_EQ(reader.readUint8("c"), 0xFE);
    EXPECT_EQ(reader.byteOffset(), 7u);
    EXPECT_EQ(reader.readInt32("d"), 0x01020304);
}

TEST_F(ReaderPrimitives, PointsExchangeTheirLastTwoValues) {
    SceneReader& reader = readerOver(kvs::KvsWriter().float32(1).float32(2).float32(3).float32(-0.5f));
    const Vector3 point = reader.readPoint("vertex");
    EXPECT_EQ(point.x, 1.0f);
    EXPECT_EQ(point.y, 3.0f);
    EXPECT_EQ(point.z, 2.0f);
    EXPECT_EQ(reader.readFloat32("f"), -0.5f);
}

TEST_F(ReaderPrimitives, RotationFillsTheBlockColumnByColumnOverTheIdentity) {
    kvs::KvsWriter bytes;
    for (int r = 0; r < 9; ++r) bytes.float32(static_cast<float>(r + 10));
    const Matrix4 rotation = readerOver(bytes).readRotation("rotation");
    const float storage[16] = {10, 13, 16, 0, 11, 14, 17, 0, 12, 15, 18, 0, 0, 0, 0, 1};
    for (int k = 0; k < 16; ++k) EXPECT_EQ(rotation.m[k / 4][k % 4], storage[k]) << "element " << k;
}

TEST_F(ReaderPrimitives, StringsUpToNinetyNineCharactersAreEchoedToTheDebugger) {
    DebugOutputCapture debug;
    const std::string longest(99, 'n');
    SceneReader& reader = readerOver(kvs::KvsWriter().string("").string(longest).string("objet"));
    EXPECT_EQ(reader.readString("name"), "");
    EXPECT_EQ(reader.readString("name"), longest);
    EXPECT_EQ(reader.readString("name"), "objet");
    EXPECT_EQ(reader.byteOffset(), 1 + 100 + 6u);
    EXPECT_EQ(debug.text(), "\n" + longest + "\nobjet\n");
}

TEST_F(ReaderPrimitives, CountsMustFitInWhatIsLeft) {
    SceneReader& reader = readerOver(kvs::KvsWriter().int32(2).int32(0).int32(0));
    EXPECT_EQ(reader.readCount("vertex count", 4), 2);
}

TEST_F(ReaderPrimitives, ReadsPastTheDataStopWithTheFileWhatAndWhere) {
    struct Case {
        const char* what;
        kvs::KvsWriter bytes;
        std::function<void(SceneReader&)> read;
        const char* logged;
    };
    const Case cases[] = {
        {"short integer", kvs::KvsWriter().int16(1).uint8(1), [](SceneReader& r) { r.readInt32("frameStep"); },
         "file ends inside frameStep (4 bytes needed, 3 left) at byte offset 0"},
        {"string without its zero", kvs::KvsWriter().chars("tore"), [](SceneReader& r) { r.readString("scene name"); },
         "file ends inside scene name (no terminating zero) at byte offset 0"},
        {"string of 100 characters", kvs::KvsWriter().string(std::string(100, 'x')),
         [](SceneReader& r) { r.readString("object name"); },
         "object name of 100 characters (at most 99) at byte offset 0"},
        {"short point", kvs::KvsWriter().float32(1).float32(2), [](SceneReader& r) { r.readPoint("position"); },
         "file ends inside position (12 bytes needed, 8 left) at byte offset 0"},
        {"skip past the end", kvs::KvsWriter().uint8(1).int32(7),
         [](SceneReader& r) {
             r.readUint8("flags");
             r.skipBytes(8, "field of view padding");
         },
         "file ends inside field of view padding (8 bytes needed, 4 left) at byte offset 1"},
    };
    for (const Case& c : cases) {
        SceneReader& reader = readerOver(c.bytes);
        EXPECT_EXIT(c.read(reader), ExitedWithCode(255), "error!: error : can't read the file\n") << c.what;
        EXPECT_THAT(log.text(), HasSubstr("error while reading " + path + " : " + c.logged + "\n")) << c.what;
    }
}
