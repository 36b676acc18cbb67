#include "image/file_name.h"

#include <gtest/gtest.h>

#include <optional>

#include "image/image_kind.h"

namespace {

using Part = std::optional<std::string>;

}  // namespace

TEST(FileName, SplitsOnTheLastBackslashAndTheLastDotInLowerCase) {
    struct Case {
        const char* name;
        Part path, baseName, directory, extension;
    };
    const Case cases[] = {
        {"Wall.TGA", "wall.tga", "wall.tga", {}, "tga"},
        {"datas\\Stone.JPG", "datas\\stone.jpg", "stone.jpg", "datas", "jpg"},
        {"maps.old\\rock", "maps.old\\rock", "rock", "maps.old", "old\\rock"},
        {"a\\b\\c.d.e", "a\\b\\c.d.e", "c.d.e", "a\\b", "e"},
        {"dir/x.zkv", "dir/x.zkv", "dir/x.zkv", {}, "zkv"},  // a slash separates nothing
        {"noextension", "noextension", "noextension", {}, {}},
        {"trailing.", "trailing.", "trailing.", {}, ""},
        {"dir\\", "dir\\", "", "dir", {}},
        {"", "", "", {}, {}},
    };
    for (const Case& c : cases) {
        const FileName parts(c.name);
        EXPECT_EQ(parts.path, c.path) << c.name;
        EXPECT_EQ(parts.baseName, c.baseName) << c.name;
        EXPECT_EQ(parts.directory, c.directory) << c.name;
        EXPECT_EQ(parts.extension, c.extension) << c.name;
    }
}

TEST(FileName, NullNameLeavesEveryPartAbsent) {
    const FileName parts(nullptr);
    EXPECT_FALSE(parts.path || parts.baseName || parts.directory || parts.extension);
}

TEST(ImageKind, ExtensionChoosesTheLoader) {
    struct Case {
        const char* name;
        ImageKind kind;
    };
    const Case cases[] = {
        {"Wall.TGA", ImageKind::tga},           {"wall.tga", ImageKind::tga},
        {"picture.bmp", ImageKind::tga},        {"glass.ZKV", ImageKind::zkv},
        {"Stone.Jpg", ImageKind::jpeg},         {"photo.jpeg", ImageKind::unrecognized},
        {"image.png", ImageKind::unrecognized}, {"maps.old\\rock", ImageKind::unrecognized},
        {"tga", ImageKind::unrecognized},
    };
    for (const Case& c : cases) EXPECT_EQ(imageKindOf(FileName(c.name)), c.kind) << c.name;
}
