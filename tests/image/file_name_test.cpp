#include "image/file_name.h"

#include <gtest/gtest.h>

#include <optional>

#include "image/image_kind.h"

TEST(FileName, SplitsOnTheLastBackslashAndTheLastDotInLowerCaseAndTheExtensionChoosesTheLoader) {
    using Part = std::optional<std::string>;
    struct Case {
        const char* name;
        Part path, baseName, directory, extension;
        ImageKind kind;
    };
    const ImageKind none = ImageKind::unrecognized;
    const Case cases[] = {
        {"Wall.TGA", "wall.tga", "wall.tga", {}, "tga", ImageKind::tga},
        {"picture.bmp", "picture.bmp", "picture.bmp", {}, "bmp", ImageKind::tga},
        {"datas\\Stone.JPG", "datas\\stone.jpg", "stone.jpg", "datas", "jpg", ImageKind::jpeg},
        {"glass.Zkv", "glass.zkv", "glass.zkv", {}, "zkv", ImageKind::zkv},
        {"photo.jpeg", "photo.jpeg", "photo.jpeg", {}, "jpeg", none},
        {"maps.old\\rock", "maps.old\\rock", "rock", "maps.old", "old\\rock", none},
        {"a\\b\\c.d.tga", "a\\b\\c.d.tga", "c.d.tga", "a\\b", "tga", ImageKind::tga},
        {"dir/x.tga", "dir/x.tga", "dir/x.tga", {}, "tga", ImageKind::tga},  // a slash separates nothing
        {"tga", "tga", "tga", {}, {}, none},
        {"dir\\", "dir\\", "", "dir", {}, none},
        {"", "", "", {}, {}, none},
    };
    for (const Case& c : cases) {
        const FileName parts(c.name);
        EXPECT_EQ(parts.path, c.path) << c.name;
        EXPECT_EQ(parts.baseName, c.baseName) << c.name;
        EXPECT_EQ(parts.directory, c.directory) << c.name;
        EXPECT_EQ(parts.extension, c.extension) << c.name;
        EXPECT_EQ(imageKindOf(parts), c.kind) << c.name;
    }
    const FileName absent(nullptr);
    EXPECT_FALSE(absent.path || absent.baseName || absent.directory || absent.extension);
}
