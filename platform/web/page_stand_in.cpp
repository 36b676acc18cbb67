// What the page offers until it shows the program's dialogs and plays its
// music: the dialogs run headless and the launcher launches its first choice
// at once (the primary display driver); message boxes are the lines they
// leave on standard error; there is no file chooser and no music player.

#include "platform/dialog_view.h"
#include "platform/hooks.h"
#include "platform/player_link.h"

namespace platform {

namespace {

constexpr WORD launcherDialog = 101;
constexpr WORD launchButton = 3;

struct HeadlessLauncher {
    HeadlessLauncher() {
        setHeadlessDialogs(true);
        setDialogHook([](HWND dialog, WORD resourceId) {
            if (resourceId == launcherDialog) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(launchButton, BN_CLICKED), 0);
        });
    }
} headlessLauncher;

}  // namespace

DialogView* windowSystemDialogView() { return nullptr; }

bool windowSystemIsOpen() { return false; }

int windowSystemMessageBox(HWND, const char*, const char*, UINT) { return IDOK; }

std::optional<std::string> windowSystemChooseFile(const OPENFILENAMEA&) { return std::nullopt; }

std::unique_ptr<PlayerLink> findMprisPlayer() { return nullptr; }

}  // namespace platform
