// Without a usable OpenGL 3.3 core context the engine sees the code a missing
// DirectDraw driver gives, and the system's reason is reported with the step
// that failed. Each case runs in a fresh process: the OpenGL libraries read
// their settings once.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/directx.h"
#include "platform/tool_interface.h"
#include "platform/win32.h"

using testing::ExitedWithCode;

namespace {

// Exit code 0 when DirectDrawCreateEx on guid fails with DDERR_NODIRECTDRAWHW.
[[noreturn]] void createAndExit(GUID* guid) {
    LPVOID object = reinterpret_cast<LPVOID>(0x1);
    const HRESULT result = DirectDrawCreateEx(guid, &object, IID_IDirectDraw7, nullptr);
    std::exit(result == DDERR_NODIRECTDRAWHW && object == nullptr ? 0 : 1);
}

class GlContextFailure : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(GlContextFailure, OffScreenContextBelowVersionThreeThreeSaysWhy) {
    EXPECT_EXIT(
        {
            setenv("MESA_GL_VERSION_OVERRIDE", "3.2", 1);
            createAndExit(const_cast<GUID*>(&platform::captureDriverGuid()));
        },
        ExitedWithCode(0), "OpenGL 3.3 core context: eglCreateContext failed: EGL_BAD_MATCH\n");
}

TEST_F(GlContextFailure, WindowWithoutOpenGlSaysWhy) {
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            platform::setPrimaryDriver(platform::DriverKind::display);
            createAndExit(nullptr);
        },
        ExitedWithCode(0), "OpenGL 3.3 core context: SDL_CreateWindow failed: .*OpenGL.*\n");
}

}  // namespace
