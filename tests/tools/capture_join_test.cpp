// Videos of one capture made apart: the record each carries in its metadata,
// and which sets of parts make one capture.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/capture/capture_options.h"
#include "tools/capture/join_parts.h"
#include "tools/capture/part_record.h"

namespace {

using capture::PartRecord;
using capture::VideoPart;

PartRecord recordOf(uint32_t first, uint32_t last) {
    PartRecord record;
    record.range = {first, last};
    record.showFrames = 1615;
    record.frames = last - first + 1;
    record.commands = {{0.0, 40058}, {0.0, 40045}, {26.75, 40059}};
    return record;
}

TEST(CaptureJoin, TheRecordReadsBackAsWritten) {
    PartRecord record = recordOf(1560, 1614);
    capture::setPicture(record, platform::EnhancedFrame{3840, 2160, true});
    record.frames += 180;
    record.commands.push_back({1 / 3.0, 40001});
    const std::string tag = capture::partTag(record);
    EXPECT_THAT(tag, testing::StartsWith("kvor-capture-part frames=1560-1614 show=1615 size=3840x2160 "
                                         "look=stretched video=235 commands=0:40058,0:40045,26.75:40059,"));
    const std::optional<PartRecord> back = capture::parsePartTag(tag);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->range.first, 1560u);
    EXPECT_EQ(back->range.last, 1614u);
    EXPECT_EQ(back->showFrames, 1615u);
    EXPECT_EQ(back->width, 3840u);
    EXPECT_EQ(back->height, 2160u);
    EXPECT_EQ(back->look, "stretched");
    EXPECT_EQ(back->frames, 235u);
    ASSERT_EQ(back->commands.size(), 4u);
    // Times come back to the bit: the soundtrack is rendered from them.
    EXPECT_EQ(back->commands[3].seconds, 1 / 3.0);
    EXPECT_EQ(back->commands[3].id, 40001u);
    EXPECT_EQ(capture::parsePartTag("kvor-capture-part frames=0-9 show=20 size=640x480 look=primary video=10 "
                                    "commands=")
                  ->commands.size(),
              0u);
}

TEST(CaptureJoin, DamagedRecordsAreRefused) {
    const char* const damaged[] = {
        "",
        "Lavf59.27.100",
        "kvor-capture-part frames=9-0 show=20 size=640x480 look=primary video=10 commands=",
        "kvor-capture-part frames=0-9 show=20 size=640 look=primary video=10 commands=",
        "kvor-capture-part frames=0-9 show=20 size=640x480 look=sepia video=10 commands=",
        "kvor-capture-part frames=0-9 show=20 size=640x480 look=primary commands=",
        "kvor-capture-part frames=0-9 show=-20 size=640x480 look=primary video=10 commands=",
        "kvor-capture-part frames=0-9 show=20 size=640x480 look=primary video=10 commands=0.5",
        "kvor-capture-part frames=0-9 show=20 size=640x480 look=primary video=10 commands=0.5:40045,",
        "kvor-capture-part frames=0-9 show=20 size=640x480 look=primary video=10x commands=",
        "kvor-capture-part frames=0-9 show=20 size=640x480 look=primary video=10 stray",
    };
    for (const char* text : damaged) EXPECT_FALSE(capture::parsePartTag(text)) << text;
}

TEST(CaptureJoin, PartsMustFollowEachOtherInOneShowAndPicture) {
    struct Case {
        std::vector<PartRecord> records;
        const char* problem;  // nullptr: they join
    };
    PartRecord enhanced = recordOf(20, 29);
    capture::setPicture(enhanced, platform::EnhancedFrame{1920, 1080, false});
    PartRecord otherShow = recordOf(20, 29);
    otherShow.showFrames = 1600;
    PartRecord otherCommands = recordOf(20, 29);
    otherCommands.commands[1].id = 40001;
    PartRecord lateCommand = recordOf(20, 29);
    lateCommand.commands[1].seconds = 0.02;
    const Case cases[] = {
        {{recordOf(0, 9), recordOf(10, 19), recordOf(20, 29)}, nullptr},
        {{recordOf(0, 9)}, nullptr},
        {{recordOf(0, 9), recordOf(12, 19)},
         "frames 10-11 are in no part, between a (frames 0-9) and b (frames 12-19)"},
        {{recordOf(0, 9), recordOf(9, 19)}, "a (frames 0-9) and b (frames 9-19) overlap"},
        {{recordOf(10, 19), enhanced},
         "a (frames 10-19) and b (frames 20-29) are not of one capture: a show of 1615 frames at 640x480 primary, "
         "and one of 1615 frames at 1920x1080 enhanced"},
        {{recordOf(10, 19), otherShow}, "are not of one capture: a show of 1615 frames"},
        {{recordOf(10, 19), otherCommands}, "a (frames 10-19) and b (frames 20-29) sent the player other commands"},
        // A command one frame late is another show's; half a frame is not.
        {{recordOf(10, 19), lateCommand}, "sent the player other commands"},
    };
    for (const Case& test : cases) {
        std::vector<VideoPart> parts;
        for (const PartRecord& record : test.records)
            parts.push_back({std::string(1, char('a' + parts.size())), record});
        const std::optional<std::string> problem = capture::joinProblem(parts);
        if (test.problem == nullptr)
            EXPECT_FALSE(problem) << *problem;
        else
            EXPECT_THAT(problem.value_or("they join"), testing::HasSubstr(test.problem));
    }
    PartRecord jitter = recordOf(20, 29);
    jitter.commands[1].seconds = 0.004;
    EXPECT_FALSE(capture::joinProblem({{"a", recordOf(10, 19)}, {"b", jitter}}));
}

}  // namespace

namespace {

TEST(CaptureJoin, TakesItsPartsAndTheVideoAlone) {
    const capture::ParsedOptions joined = capture::parseOptions({"--join", "b.mkv", "a.mp4", "--video", "show.mkv"});
    ASSERT_TRUE(joined.options) << joined.error;
    EXPECT_EQ(joined.options->joinParts, (std::vector<std::filesystem::path>{"b.mkv", "a.mp4"}));
    const std::vector<std::string> refused[] = {
        {"--join", "a.mkv", "--png", "frames"},
        {"--join", "a.mkv", "--video", "show.mkv", "--frames", "0-9"},
        {"--join", "a.mkv", "--video", "show.mkv", "--jobs", "2"},
        {"--join", "a.mkv", "--video", "show.mkv", "--enhanced"},
    };
    for (const std::vector<std::string>& arguments : refused)
        EXPECT_THAT(capture::parseOptions(arguments).error, testing::HasSubstr("--join takes only its parts"))
            << arguments.back();
    EXPECT_EQ(capture::parseOptions({"--join", "--video", "show.mkv"}).error, "--join needs the parts to join");
}

}  // namespace
