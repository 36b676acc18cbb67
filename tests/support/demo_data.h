#pragma once
// A "datas" directory for the whole show: three small generated scenes and
// nine white title images, in a scratch directory that is the current
// directory for the fixture's scope.

#include <cstdint>
#include <filesystem>

#include "tests/support/test_support.h"

namespace testing_support {

struct DemoScene {
    int32_t firstFrame = 0;
    int32_t lastFrame = 9;
    bool moving = false;  // the triangle steps one unit a frame away from the camera
};

struct DemoScenes {
    DemoScene tores;
    DemoScene mont;
    DemoScene salle;
};

class DemoDirectory {
public:
    explicit DemoDirectory(const DemoScenes& scenes);
    ~DemoDirectory();
    DemoDirectory(const DemoDirectory&) = delete;
    DemoDirectory& operator=(const DemoDirectory&) = delete;

    const std::filesystem::path& path() const { return directory.path(); }

private:
    ScratchDirectory directory;
    std::filesystem::path previous;
};

}  // namespace testing_support
