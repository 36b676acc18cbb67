// kvor-view's logic without a window: where each key puts the show, the
// command line, and which written files the folder watch reports when.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "app/timeline_keys.h"
#include "scene/scene.h"
#include "tests/support/test_support.h"
#include "tools/view/folder_watch.h"
#include "tools/view/view_options.h"

namespace {

// Parts of 1500, 0 (passed over), 200 and 95 frames: starts 0, 1500, 1500, 1700.
class TimelineKeys : public testing::Test {
protected:
    TimelineKeys() {
        for (auto& scene : scenes) {
            scene = std::make_unique<Scene>(nullptr, nullptr);
            scene->frameCount = 10;
        }
        show = Show({{scenes[0].get(), 0, 1500, {}, false},
                     {scenes[1].get(), 1, 0, {}, false},
                     {scenes[2].get(), 1, 200, {}, false},
                     {scenes[3].get(), 1, 95, {}, true}});
    }

    testing_support::LogCapture log;
    std::unique_ptr<Scene> scenes[4];
    Show show;
};

}  // namespace

TEST_F(TimelineKeys, EachKeyLandsWhereItSays) {
    struct Case {
        int64_t from;
        int key;
        bool shift;
        int64_t to;
    };
    for (const Case& c : {Case{100, VK_RIGHT, false, 160}, Case{100, VK_RIGHT, true, 101},
                          Case{100, VK_LEFT, false, 40}, Case{100, VK_LEFT, true, 99}, Case{30, VK_LEFT, false, 0},
                          Case{1780, VK_RIGHT, false, 1794}, Case{1794, VK_RIGHT, true, 1794},
                          Case{100, VK_NEXT, false, 1500}, Case{1500, VK_NEXT, false, 1700},
                          Case{1750, VK_NEXT, false, 1750}, Case{1750, VK_PRIOR, false, 1500},
                          Case{1600, VK_PRIOR, false, 0}, Case{100, VK_PRIOR, false, 0}, Case{1750, VK_HOME, false, 0},
                          Case{1750, VK_SPACE, false, 1750}}) {
        show.jumpTo(c.from);
        EXPECT_EQ(frameAfterKey(show, c.key, c.shift), c.to) << c.from << " key " << c.key << " " << c.shift;
    }
}

TEST(ViewOptions, FolderOrSceneAndEnhanced) {
    testing_support::ScratchDirectory directory;
    std::ofstream(directory / "one.kvs") << "x";
    const auto scene = view::parseViewOptions({(directory / "one.kvs").string(), "--enhanced"});
    ASSERT_TRUE(scene.options) << scene.error;
    EXPECT_EQ(scene.options->folder, directory.path());
    EXPECT_EQ(scene.options->sceneFile, "one.kvs");
    EXPECT_TRUE(scene.options->enhanced);
    const auto folder = view::parseViewOptions({directory.path().string()});
    ASSERT_TRUE(folder.options);
    EXPECT_FALSE(folder.options->sceneFile);
    EXPECT_EQ(view::parseViewOptions({(directory / "none").string()}).error, "no folder " + (directory / "none").string());
    EXPECT_THAT(view::parseViewOptions({(directory / "two.kvs").string()}).error, testing::StartsWith("no scene file"));
    EXPECT_EQ(view::parseViewOptions({"--fast"}).error, "unknown argument --fast");
}

TEST(FolderWatch, AFileIsReportedOnceItHasSettled) {
    testing_support::ScratchDirectory directory;
    std::ofstream(directory / "a.kvs") << "first";
    view::FolderWatch watch(directory.path());
    EXPECT_TRUE(watch.settledChanges().empty());
    std::ofstream(directory / "a.kvs") << "second, longer";
    std::ofstream(directory / "b.tga") << "new";
    // Seen changing: reported at the next look that finds it the same.
    EXPECT_TRUE(watch.settledChanges().empty());
    EXPECT_THAT(watch.settledChanges(), testing::ElementsAre("a.kvs", "b.tga"));
    EXPECT_TRUE(watch.settledChanges().empty());
    std::filesystem::remove(directory / "b.tga");
    EXPECT_THAT(watch.settledChanges(), testing::ElementsAre("b.tga"));
}
