// File names as the data's makers wrote them, resolved on a folder whose names
// differ in case.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/native_path.h"
#include "tests/support/test_support.h"

using testing_support::ScratchDirectory;
using testing_support::writeFile;

namespace {

class NativePathTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(directory / "maps" / "Inner");
        std::filesystem::create_directories(directory / "Datas");
        for (const char* name : {"maps/stone.jpg", "maps/Inner/Rock.TGA", "Datas/tores.kvs", "Twice.tga",
                                 "twice.TGA", "exact.tga", "EXACT.tga", "maps/wall.tga", "Maps.tga"})
            writeFile(directory / name, std::string(name));
        std::filesystem::current_path(directory.path());
    }
    void TearDown() override { std::filesystem::current_path(before); }

    std::filesystem::path before = std::filesystem::current_path();
    ScratchDirectory directory;
};

TEST_F(NativePathTest, EachComponentIsFoundWhateverItsCase) {
    const struct {
        const char* name;
        const char* path;
    } cases[] = {
        {"MAPS\\Stone.JPG", "maps/stone.jpg"},
        {"maps\\inner\\rock.tga", "maps/Inner/Rock.TGA"},
        {"datas\\TORES.KVS", "Datas/tores.kvs"},
        {"DATAS", "Datas"},
        {"stone.jpg", "stone.jpg"},  // found nowhere in any case: stays as written
        {"maps\\missing\\rock.tga", "maps/missing/rock.tga"},
        {"MAPS\\.\\..\\maps\\Wall.tga", "maps/./../maps/wall.tga"},
        {"exact.tga", "exact.tga"},  // an exact match wins over another case
        {"EXACT.tga", "EXACT.tga"},
        {"TWICE.TGA", "Twice.tga"},  // of two other cases, the first in byte order
        {"maps.TGA", "Maps.tga"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(nativePath(c.name), c.path) << c.name;
    EXPECT_EQ(nativePath(nullptr), "");
}

TEST_F(NativePathTest, AbsolutePathsResolveFromTheRoot) {
    const std::string root = directory.path().string();
    EXPECT_EQ(nativePath((root + "/MAPS/INNER/rock.tga").c_str()), root + "/maps/Inner/Rock.TGA");
    EXPECT_EQ(nativePath((root + "/maps/stone.jpg").c_str()), root + "/maps/stone.jpg");
}

TEST_F(NativePathTest, ResolvedNamesOpenTheFileNamed) {
    EXPECT_EQ(testing_support::readFile(nativePath("maps\\INNER\\ROCK.tga")), "maps/Inner/Rock.TGA");
    EXPECT_EQ(testing_support::readFile(nativePath("twice.tga")), "Twice.tga");
}

}  // namespace
