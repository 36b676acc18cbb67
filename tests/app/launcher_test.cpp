// The launcher without a display: the dialog model driven by posted messages,
// drivers from the null driver standing in for the primary display.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/demo_driver.h"
#include "app/driver_records.h"
#include "app/launcher.h"
#include "app/resource.h"
#include "base/process_state.h"
#include "platform/test_seams.h"
#include "platform/tool_interface.h"
#include "platform/win32/dialog_resources.h"
#include "tests/support/null_display.h"
#include "tests/support/test_support.h"

namespace {

std::function<void()> showBody;
int showRuns = 0;

int testShow() {
    ++showRuns;
    if (showBody) showBody();
    return 0;
}

void postCommand(HWND dialog, int id, WORD notification = BN_CLICKED) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, notification), 0);
}

// Dispatches what is queued, as the demo's frame step would.
void dispatchQueued() {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

std::vector<std::string> listTexts(HWND dialog, int id) {
    std::vector<std::string> texts;
    LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[300] = {};
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.emplace_back(text);
    }
    return texts;
}

template <typename Record>
Record* itemRecord(HWND dialog, int id, int index) {
    return reinterpret_cast<Record*>(SendDlgItemMessageA(dialog, id, CB_GETITEMDATA, index, 0));
}

class Launcher : public testing::Test {
protected:
    void SetUp() override {
        platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
        settings.displayModes = {{640, 480, 8}, {640, 480, 16}, {800, 600, 32}, {320, 200, 8}, {1024, 768, 16}};
        platform::setNullDriverSettings(settings);
        platform::clearNullDriverCalls();
        platform::setPrimaryDriver(platform::DriverKind::null);
        platform::setHeadlessDialogs(true);
        platform::setMessageBoxHook([this](std::string_view caption, std::string_view text) {
            boxes.push_back(std::string(caption) + "|" + std::string(text));
        });
        driverList = nullptr;
        launchedShow = testShow;
        showRuns = 0;
        showBody = nullptr;
        waitForRetrace = 1;
        deviceGuid = reinterpret_cast<const GUID*>(0xdeadbeef);
    }

    void TearDown() override {
        platform::setDialogHook({});
        platform::setOpenFileHook({});
        platform::setMessageBoxHook({});
        platform::restoreDialogResources();
        platform::setNullDriverSettings(platform::defaultNullDriverSettings());
        platform::setPrimaryDriver(platform::DriverKind::display);
        launchedShow = runDemo;
        launcherWindow = mainWindow = nullptr;
        deviceGuid = nullptr;
        showBody = nullptr;
        dispatchQueued();  // a quit message left by the launcher
    }

    // Runs the launcher; user acts once the dialog is shown, for each dialog.
    INT_PTR runLauncher(std::function<void(HWND dialog, WORD resource)> user) {
        platform::setDialogHook(std::move(user));
        return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, launcherProc, 0);
    }

    // The quit code the launcher left for WinMain's caller, or -1.
    static int pendingQuitCode() {
        MSG message{};
        return GetMessageA(&message, nullptr, 0, 0) == 0 ? static_cast<int>(message.wParam) : -1;
    }

    testing_support::LogCapture log;
    testing_support::DebugOutputCapture debug;
    std::vector<std::string> boxes;
};

TEST_F(Launcher, StartUpLogsEachDriverAndItsModesWithoutEightBitOnes) {
    runLauncher([](HWND dialog, WORD) { postCommand(dialog, IDCANCEL); });
    EXPECT_EQ(log.textAfterStartLine(),
              "-----------------------\nenumerating devices\n-----------------------\n\n"
              "display\nPrimary Display Driver\n\nenumerating video mode :\n"
              "640x480x16 \n800x600x32 \n1024x768x16 \n");
    EXPECT_EQ(debug.text(), "Driver Ddrawdisplay - Primary Display Driver\n640x480x16 \n800x600x32 \n1024x768x16 \n");
    ASSERT_NE(driverList, nullptr);
    EXPECT_EQ(driverList->next, nullptr);
    EXPECT_EQ(driverList->guid, nullptr);
    std::vector<std::string> labels;
    for (ModeRecord* mode = driverList->modes; mode != nullptr; mode = mode->next)
        labels.push_back(std::to_string(mode->width) + "," + std::to_string(mode->height) + "," +
                         std::to_string(mode->bitDepth) + "=" + mode->label);
    EXPECT_EQ(labels, (std::vector<std::string>{"640,480,16=640x480x16 ", "800,600,32=800x600x32 ",
                                                "1024,768,16=1024x768x16 "}));
}

TEST_F(Launcher, OneDriverMachineLaunchesOnThePrimaryDisplayAndThenCloses) {
    HWND shownDialog = nullptr;
    showBody = [&] {
        EXPECT_EQ(deviceGuid, nullptr);
        EXPECT_EQ(mainWindow, shownDialog);
        EXPECT_EQ(launcherWindow, shownDialog);
    };
    INT_PTR result = runLauncher([&](HWND dialog, WORD) {
        shownDialog = dialog;
        EXPECT_EQ(listTexts(dialog, IDC_DRIVERS), std::vector<std::string>{"Primary Display Driver"});
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_DRIVERS, CB_GETCURSEL, 0, 0), 0);
        postCommand(dialog, IDC_LAUNCH);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(showRuns, 1);
    EXPECT_FALSE(IsWindow(shownDialog));
    EXPECT_EQ(pendingQuitCode(), -1);
}

TEST_F(Launcher, DriversAreSortedByDescriptionWithTheirRecordsAttached) {
    GUID nullGuid = platform::nullDriverGuid();
    GUID unknown{0x1234, 5, 6, {7, 8, 9, 10, 11, 12, 13, 14}};
    char zeta[] = "Zeta card", alpha[] = "alpha card", name[] = "card";
    driverCallback(&nullGuid, zeta, name, &driverList, nullptr);
    driverCallback(&unknown, alpha, name, &driverList, nullptr);
    runLauncher([&](HWND dialog, WORD) {
        EXPECT_EQ(listTexts(dialog, IDC_DRIVERS),
                  (std::vector<std::string>{"alpha card", "Primary Display Driver", "Zeta card"}));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(listTexts(dialog, IDC_DRIVERS)[i], itemRecord<DriverRecord>(dialog, IDC_DRIVERS, i)->description);
        DriverRecord* alphaRecord = itemRecord<DriverRecord>(dialog, IDC_DRIVERS, 0);
        EXPECT_EQ(alphaRecord->guid, &alphaRecord->guidCopy);
        EXPECT_TRUE(alphaRecord->guidCopy == unknown);
        EXPECT_EQ(alphaRecord->modes, nullptr);  // no DirectDraw object on an unknown GUID
        // The primary display is chosen, though another sorts first.
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_DRIVERS, CB_GETCURSEL, 0, 0), 1);
        SendDlgItemMessageA(dialog, IDC_DRIVERS, CB_SETCURSEL, 2, 0);
        postCommand(dialog, IDC_LAUNCH);
    });
    ASSERT_EQ(showRuns, 1);
    ASSERT_NE(deviceGuid, nullptr);
    EXPECT_TRUE(*deviceGuid == nullGuid);
}

// The shipped template has no mode list; a template with one shows what the
// procedure does to it.
TEST_F(Launcher, SelectionChangeEmptiesAndRefillsTheModeList) {
    platform::DialogResource withModes = *platform::findDialogResource(IDD_LAUNCHER);
    withModes.items.push_back({"COMBOBOX", "", IDC_MODES, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 24, 50, 163, 49});
    platform::replaceDialogResource(withModes);
    GUID unknown{0x1234, 5, 6, {7, 8, 9, 10, 11, 12, 13, 14}};
    char description[] = "another card", name[] = "card";
    driverCallback(&unknown, description, name, &driverList, nullptr);
    runLauncher([&](HWND dialog, WORD) {
        dispatchQueued();  // the selection change posted by the initialisation: the primary display's modes
        EXPECT_EQ(listTexts(dialog, IDC_MODES).size(), 3u);
        SendDlgItemMessageA(dialog, IDC_DRIVERS, CB_SETCURSEL, 0, 0);  // "another card", no modes
        postCommand(dialog, IDC_DRIVERS, CBN_SELCHANGE);
        dispatchQueued();
        EXPECT_TRUE(listTexts(dialog, IDC_MODES).empty());
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_MODES, CB_GETCURSEL, 0, 0), CB_ERR);
        for (int round = 0; round < 2; ++round) {
            SendDlgItemMessageA(dialog, IDC_DRIVERS, CB_SETCURSEL, 1, 0);  // the primary display
            postCommand(dialog, IDC_DRIVERS, CBN_SELCHANGE);
            dispatchQueued();
            EXPECT_EQ(listTexts(dialog, IDC_MODES),
                      (std::vector<std::string>{"640x480x16 ", "800x600x32 ", "1024x768x16 "}));
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_MODES, CB_GETCURSEL, 0, 0), 0);
            ASSERT_NE(itemRecord<ModeRecord>(dialog, IDC_MODES, 1), reinterpret_cast<ModeRecord*>(CB_ERR));
            EXPECT_EQ(itemRecord<ModeRecord>(dialog, IDC_MODES, 1)->width, 800);
        }
        SendDlgItemMessageA(dialog, IDC_DRIVERS, CB_SETCURSEL, 0, 0);
        postCommand(dialog, IDC_DRIVERS, CBN_SELCHANGE);
        dispatchQueued();
        EXPECT_TRUE(listTexts(dialog, IDC_MODES).empty());
        postCommand(dialog, IDCANCEL);
    });
}

TEST_F(Launcher, QuitAndEscapeEndTheDialogWithQuitCodeEightWithoutTouchingTheDisplay) {
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Quit");
        platform::clearNullDriverCalls();
        HWND shown = nullptr;
        INT_PTR result = runLauncher([&](HWND dialog, WORD) {
            shown = dialog;
            if (escape)
                PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
            else
                postCommand(dialog, IDCANCEL);
        });
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(IsWindow(shown));
        EXPECT_EQ(pendingQuitCode(), 8);
        EXPECT_EQ(showRuns, 0);
        EXPECT_TRUE(testing_support::callsNamed("SetCooperativeLevel").empty());
        EXPECT_TRUE(testing_support::callsNamed("SetDisplayMode").empty());
        EXPECT_EQ(deviceGuid, reinterpret_cast<const GUID*>(0xdeadbeef));
    }
}

TEST_F(Launcher, LaunchOrQuitWhileTheShowRunsIsIgnored) {
    HWND shown = nullptr;
    showBody = [&] {
        postCommand(shown, IDC_LAUNCH);
        postCommand(shown, IDCANCEL);
        PostMessageA(shown, WM_KEYDOWN, VK_ESCAPE, 0);
        dispatchQueued();
        EXPECT_TRUE(IsWindow(shown));
    };
    runLauncher([&](HWND dialog, WORD) {
        shown = dialog;
        postCommand(dialog, IDC_LAUNCH);
    });
    EXPECT_EQ(showRuns, 1);
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_EQ(pendingQuitCode(), -1);
}

TEST_F(Launcher, LaunchWithNoDriverListedIsRefusedWithAMessageBox) {
    runLauncher([&](HWND dialog, WORD) {
        dispatchQueued();
        SendDlgItemMessageA(dialog, IDC_DRIVERS, CB_RESETCONTENT, 0, 0);
        postCommand(dialog, IDC_DRIVERS, CBN_SELCHANGE);
        postCommand(dialog, IDC_LAUNCH);
        dispatchQueued();
        EXPECT_TRUE(IsWindow(dialog));
        postCommand(dialog, IDCANCEL);
    });
    EXPECT_EQ(showRuns, 0);
    EXPECT_EQ(boxes, std::vector<std::string>{"kvor|No display driver was found: there is nothing to launch the show on."});
}

TEST_F(Launcher, NamesAndDescriptionsLongerThanTheirFieldsAreCut) {
    std::string longName(300, 'n'), longDescription(300, 'd');
    longName[254] = 'N';
    driverCallback(nullptr, longDescription.data(), longName.data(), &driverList, nullptr);
    ASSERT_NE(driverList, nullptr);
    EXPECT_EQ(std::string(driverList->name), longName.substr(0, 255));
    EXPECT_EQ(std::string(driverList->description), longDescription.substr(0, 255));
    EXPECT_NE(log.text().find(longName.substr(0, 255) + "\n" + longDescription.substr(0, 255) + "\n\n"),
              std::string::npos);
}

TEST_F(Launcher, UnusedCommandsOpenTheirDialogsAndMessageBox) {
    std::vector<WORD> opened;
    std::optional<OPENFILENAMEA> request;
    std::string initialDirectory, filter, file;
    platform::setOpenFileHook([&](const OPENFILENAMEA& asked) -> std::optional<std::string> {
        request = asked;
        initialDirectory = asked.lpstrInitialDir;
        filter.assign(asked.lpstrFilter, 26);
        file = asked.lpstrFile;
        return "/data/tores.kvs";
    });
    std::memcpy(workingDirectory, "/start\\", 8);
    runLauncher([&](HWND dialog, WORD resource) {
        opened.push_back(resource);
        if (resource != IDD_LAUNCHER) return postCommand(dialog, IDOK);
        for (int id : {1013, 1014, 1015, 1016, 1017}) SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        postCommand(dialog, IDCANCEL);
    });
    EXPECT_EQ(opened, (std::vector<WORD>{IDD_LAUNCHER, IDD_ABOUT, IDD_ADVANCED}));
    EXPECT_EQ(boxes, std::vector<std::string>{"|not yet implemented"});
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(filter, std::string("kvor files (*.kvs)\0*.kvs\0\0", 26));
    EXPECT_EQ(request->nFilterIndex, 1u);
    EXPECT_EQ(file, "*.kvs");
    EXPECT_EQ(request->nMaxFile, 512u);
    EXPECT_EQ(request->nMaxFileTitle, 512u);
    EXPECT_EQ(initialDirectory, "/start\\");
    EXPECT_STREQ(request->lpstrTitle, "Select file");
    EXPECT_EQ(request->Flags, 0x00081004u);
    EXPECT_STREQ(request->lpstrDefExt, ".kvs");
    EXPECT_NE(request->hwndOwner, nullptr);
}

TEST_F(Launcher, AdvancedOptionsReadAndWriteWaitForRetrace) {
    std::vector<UINT> shownChecks;
    for (int opening = 0; opening < 2; ++opening) {
        runLauncher([&](HWND dialog, WORD resource) {
            if (resource == IDD_ADVANCED) {
                shownChecks.push_back(IsDlgButtonChecked(dialog, IDC_WAIT_FOR_RETRACE));
                CheckDlgButton(dialog, IDC_WAIT_FOR_RETRACE, shownChecks.back() ? BST_UNCHECKED : BST_CHECKED);
                postCommand(dialog, IDC_WAIT_FOR_RETRACE);
                postCommand(dialog, IDOK);
                return;
            }
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ADVANCED, BN_CLICKED), 0);
            postCommand(dialog, IDCANCEL);
        });
        EXPECT_EQ(waitForRetrace, opening == 0 ? 0 : 1);
        dispatchQueued();
    }
    EXPECT_EQ(shownChecks, (std::vector<UINT>{BST_CHECKED, BST_UNCHECKED}));
}

TEST(LauncherResources, TemplatesHaveTheLayoutOfTheProgram) {
    const platform::DialogResource* launcher = platform::findDialogResource(IDD_LAUNCHER);
    ASSERT_NE(launcher, nullptr);
    EXPECT_EQ(launcher->width, 207);
    EXPECT_EQ(launcher->height, 143);
    EXPECT_EQ(launcher->style & (DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU),
              DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION);
    EXPECT_EQ(launcher->fontName, "MS Sans Serif");
    EXPECT_EQ(launcher->fontSize, 8);
    struct Expected {
        const char* className;
        int id;
        short x, y, width, height;
        DWORD styleBits;
    };
    const Expected controls[] = {
        {"BUTTON", -1, 10, 9, 189, 51, BS_GROUPBOX},
        {"COMBOBOX", 1005, 24, 30, 163, 49, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
        {"BUTTON", 3, 86, 70, 37, 14, WS_TABSTOP},
        {"BUTTON", 2, 86, 91, 37, 14, WS_TABSTOP},
        {"STATIC", -1, 45, 117, 116, 8, WS_CHILD | WS_VISIBLE},
    };
    ASSERT_EQ(launcher->items.size(), std::size(controls));
    for (size_t i = 0; i < std::size(controls); ++i) {
        const platform::DialogItemResource& item = launcher->items[i];
        SCOPED_TRACE(item.text);
        EXPECT_EQ(item.className, controls[i].className);
        EXPECT_EQ(item.id, controls[i].id);
        EXPECT_EQ(std::vector<short>({item.x, item.y, item.width, item.height}),
                  std::vector<short>({controls[i].x, controls[i].y, controls[i].width, controls[i].height}));
        EXPECT_EQ(item.style & controls[i].styleBits, controls[i].styleBits);
    }
    EXPECT_EQ(launcher->items[0].text, "DirectDraw / Direct3d Configuration");
    EXPECT_EQ(launcher->items[2].text, "Launch");
    EXPECT_EQ(launcher->items[3].text, "Quit");

    const platform::DialogResource* advanced = platform::findDialogResource(IDD_ADVANCED);
    ASSERT_NE(advanced, nullptr);
    EXPECT_EQ(advanced->caption, "Advanced option");
    EXPECT_EQ(std::vector<short>({advanced->width, advanced->height}), std::vector<short>({170, 102}));
    ASSERT_EQ(advanced->items.size(), 4u);
    EXPECT_EQ(advanced->items[1].text, "Wait for vertical retrace ");
    EXPECT_EQ(advanced->items[1].style & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(advanced->items[2].text, "DDPL_WAIT ");
    EXPECT_EQ(advanced->items[3].id, IDOK);

    const platform::DialogResource* about = platform::findDialogResource(IDD_ABOUT);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(std::vector<short>({about->width, about->height}), std::vector<short>({188, 196}));
    const platform::DialogItemResource& ok = about->items.back();
    EXPECT_EQ(std::vector<int>({ok.id, ok.x, ok.y, ok.width, ok.height}), std::vector<int>({1, 131, 175, 50, 14}));
}

}  // namespace
