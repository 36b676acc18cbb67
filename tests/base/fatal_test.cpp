#include "base/fatal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "base/checked_calls.h"
#include "base/log.h"
#include "base/process_state.h"
#include "platform/test_seams.h"
#include "platform/tool_interface.h"
#include "scene/scene.h"
#include "tests/support/test_support.h"
#include "tests/support/window_classes.h"

using testing::ExitedWithCode;
using testing::HasSubstr;
using testing::Not;
using testing_support::DebugOutputCapture;
using testing_support::LogCapture;
using testing_support::ScratchDirectory;

namespace {

struct AnnouncingObjectOfScene : SceneObject {
    ~AnnouncingObjectOfScene() override { std::fprintf(stderr, "scene object destroyed\n"); }
};

// A DirectDraw object and a device on the null driver. When the message box
// shows, its hook reports on standard error which of them had been released,
// so the death test sees the order of events.
void installDisplay() {
    DirectDrawCreateEx(const_cast<GUID*>(&platform::nullDriverGuid()), reinterpret_cast<void**>(&directDraw),
                       IID_IDirectDraw7, nullptr);
    IDirect3D7* direct3D = nullptr;
    directDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&direct3D));
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.dwWidth = description.dwHeight = 8;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    IDirectDrawSurface7* target = nullptr;
    directDraw->CreateSurface(&description, &target, nullptr);
    direct3D->CreateDevice(IID_IDirect3DHALDevice, target, &device);
    platform::clearNullDriverCalls();
    platform::setMessageBoxHook([](std::string_view, std::string_view) {
        for (const platform::RecordedCall& call : platform::nullDriverCalls())
            if (call.method == "Release") std::fprintf(stderr, "%s released\n", std::string(call.interfaceName).c_str());
    });
}

LRESULT CALLBACK announcingWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY || message == WM_NCDESTROY) std::fprintf(stderr, "window got %u\n", message);
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerSceneWithOneObject(Scene& scene) {
    scene.objects = scene.adopt(std::make_unique<AnnouncingObjectOfScene>());
}

}  // namespace

TEST(FatalErrorDeathTest, ReleasesDeviceThenDisplayShowsTheBoxThenReleasesTheScene) {
    LogCapture log;
    logFlush();
    EXPECT_EXIT(
        {
            Scene scene(nullptr, nullptr);
            registerSceneWithOneObject(scene);
            installDisplay();
            fatalError(0);
        },
        ExitedWithCode(255),
        "IDirect3DDevice7 released\nIDirectDraw7 released\nerror: error : not enough memory \nscene object "
        "destroyed\n");
}

TEST(FatalErrorDeathTest, EachKindShowsItsTextAndUnknownKindsShowNoBox) {
    struct Case {
        int kind;
        const char* box;
    };
    for (const Case& c :
         {Case{1, "error: error : file not found\n"}, Case{2, "error: error : could not open file for writing\n"}}) {
        EXPECT_EXIT(fatalError(c.kind), ExitedWithCode(255), c.box) << "kind " << c.kind;
    }
    EXPECT_EXIT(fatalError(3), ExitedWithCode(255), Not(HasSubstr("error")));
    EXPECT_EXIT(fatalError(-1), ExitedWithCode(255), Not(HasSubstr("error")));
}

TEST(FatalMessageDeathTest, ReleasesOnlyTheDisplayShowsTheBoxThenReleasesTheScene) {
    LogCapture log;
    logFlush();
    EXPECT_EXIT(
        {
            Scene scene(nullptr, nullptr);
            registerSceneWithOneObject(scene);
            installDisplay();
            fatalMessage("Bad File format");
        },
        ExitedWithCode(255), "^IDirectDraw7 released\nerror!: Bad File format\nscene object destroyed\n$");
}

TEST(FatalMessageDeathTest, SendsWmDestroyToTheMainWindowThenDestroysItBeforeTheBox) {
    EXPECT_EXIT(
        {
            testing_support::registerClass("announcing", announcingWindowProcedure);
            mainWindow = testing_support::createWindow("announcing", WS_VISIBLE);
            fatalMessage("stop");
        },
        ExitedWithCode(255), "^window got 2\nwindow got 2\nwindow got 130\nerror!: stop\n$");
}

TEST(FatalMessageDeathTest, LogIsFlushedAndClosedByTheExit) {
    LogCapture log;
    logFlush();
    EXPECT_EXIT(
        {
            logWrite("last words");
            fatalMessage("stop");
        },
        ExitedWithCode(255), "");
    EXPECT_EQ(log.textAfterStartLine(), "last words\n");
}

TEST(CheckResult, SuccessLogsOneLineTracesThreeCallsAndReturns) {
    LogCapture log;
    DebugOutputCapture debug;
    checkResult(DD_OK, "create Zbuffer");
    checkResult(1, "positive is success too");
    EXPECT_EQ(log.textAfterStartLine(), "create Zbuffer success\npositive is success too success\n");
    EXPECT_EQ(debug.text(), "create Zbuffer success\npositive is success too success\n");
}

TEST(CheckResultDeathTest, FailureLogsTheCauseAndStopsWithTheOperation) {
    struct Case {
        HRESULT result;
        const char* causeLine;
    };
    const Case cases[] = {
        {DDERR_INVALIDMODE, " cause : : DirectDraw does not support the requested mode. \n"},
        {DDERR_SURFACELOST,
         " cause : : Access to the surface is refused because the surface memory is gone. "
         "Call the IDirectDrawSurface7::Restore method on this surface to restore the memory "
         "associated with it. \n"},
        {DDERR_NOTONMIPMAPSUBLEVEL, " cause :  don't know the reason\n"},
        {static_cast<HRESULT>(0x80001234u), " cause :  don't know the reason\n"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        logFlush();
        EXPECT_EXIT(checkResult(c.result, "set displayMode"), ExitedWithCode(255), "error!: set displayMode\n");
        EXPECT_EQ(log.textAfterStartLine(), std::string("set displayMode failed\n") + c.causeLine);
    }
}

TEST(OpenOrFail, ReturnsTheOpenStream) {
    ScratchDirectory directory;
    testing_support::writeFile(directory / "a.kvs", std::string("kvor001"));
    std::FILE* stream = openOrFail((directory / "a.kvs").c_str(), "rb");
    ASSERT_NE(stream, nullptr);
    char magic[8] = {};
    EXPECT_EQ(std::fread(magic, 1, 7, stream), 7u);
    EXPECT_STREQ(magic, "kvor001");
    std::fclose(stream);
}

TEST(OpenOrFailDeathTest, MissingFileIsLoggedFlushedAndStopsNamingThePath) {
    LogCapture log;
    logFlush();
    const std::string longName(600, 'x');  // no fixed-size buffer may cut it
    EXPECT_EXIT(openOrFail(longName.c_str(), "rb"), ExitedWithCode(255), "error!: cannot read" + longName + "\n");
    EXPECT_EXIT(openOrFail("a.kvs", "rb"), ExitedWithCode(255), "error!: cannot reada.kvs\n");
    EXPECT_EQ(log.textAfterStartLine(), "error while opening  : " + longName + "\nerror while opening  : a.kvs\n");
}
