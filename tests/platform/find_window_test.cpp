// FindWindowA: the program's own windows by class and title, and the music
// player behind the class "Winamp v1.x" with the player a tool installs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/layer.h"
#include "platform/player_link.h"
#include "tests/support/recording_player.h"
#include "tests/support/window_classes.h"

using testing::ElementsAre;
using testing_support::createWindow;
using testing_support::RecordingPlayer;
using testing_support::registerClass;

TEST(FindWindow, OwnWindowsByClassAndTitle) {
    registerClass("Find Class A");
    registerClass("Find Class B");
    const HWND first = createWindow("Find Class A", 0, "one");
    const HWND second = createWindow("Find Class A", 0, "two");
    const HWND other = createWindow("Find Class B");
    struct Case {
        const char* className;
        const char* title;
        HWND found;
    };
    for (const Case& c : {Case{"Find Class A", nullptr, first}, Case{"find class a", "two", second},
                          Case{"Find Class A", "three", nullptr}, Case{nullptr, "two", second},
                          Case{"Find Class B", "", other}, Case{"Find Class C", nullptr, nullptr}}) {
        EXPECT_EQ(FindWindowA(c.className, c.title), c.found)
            << (c.className ? c.className : "any class") << " / " << (c.title ? c.title : "any title");
    }
    DestroyWindow(first);
    EXPECT_EQ(FindWindowA("Find Class A", nullptr), second);
    DestroyWindow(second);
    DestroyWindow(other);
}

TEST(FindWindow, PlayerInstalledByAToolGetsOnlyItsCommands) {
    std::vector<WPARAM> commands;
    int lookups = 0;
    platform::setPlayerFinder([&]() -> std::unique_ptr<platform::PlayerLink> {
        ++lookups;
        return std::make_unique<RecordingPlayer>(commands);
    });
    const HWND player = FindWindowA("Winamp v1.x", nullptr);
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(IsWindow(player));  // a stand-in, not one of our windows
    EXPECT_EQ(FindWindowA("Winamp v1.x", "a title"), nullptr);
    for (WPARAM id : {40058, 40045, 40059, 40001}) SendMessageA(player, WM_COMMAND, id, 0);
    SendMessageA(player, WM_CLOSE, 40001, 0);
    EXPECT_THAT(commands, ElementsAre(40058, 40045, 40059, 40001));
    EXPECT_EQ(lookups, 1);

    platform::setPlayerFinder([&]() -> std::unique_ptr<platform::PlayerLink> { return nullptr; });
    EXPECT_EQ(FindWindowA("winamp v1.x", nullptr), nullptr);
    SendMessageA(player, WM_COMMAND, 40045, 0);  // the old player is gone
    EXPECT_EQ(commands.size(), 4u);
    platform::setPlayerFinder({});
}
