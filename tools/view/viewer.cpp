#include "tools/view/viewer.h"

#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <set>

#include "app/timeline_keys.h"
#include "app/program_lifetime.h"
#include "base/display_request.h"
#include "base/process_state.h"
#include "platform/tool_interface.h"
#include "platform/player_link.h"
#include "render/renderer.h"
#include "tools/view/folder_watch.h"
#include "tools/view/scene_check.h"
#include "tools/view/view_title.h"
#include "tools/view/viewed_show.h"

namespace view {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto watchPeriod = std::chrono::milliseconds(200);

// Any stable, non-null address stands for the module, as for the program.
const char moduleBase = 0;

// Never painted, like the launcher behind the show: a WM_PAINT stays waiting,
// so the frame's message step does not wait for ever once the rendering
// window is gone (closed, or the process told to end).
LRESULT CALLBACK unpainted(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_PAINT ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

HWND openUnpaintedWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = unpainted;
    windowClass.lpszClassName = "kvor-view timeline";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, nullptr, nullptr,
                           nullptr, nullptr);
}

struct KeyPress {
    int virtualKey;
    bool shift;
};

// Files of the folder that are not the show's: the log and hidden files
// (editors' and exporters' files on the way).
bool watched(const std::string& name) { return name != "kvorlog.txt" && !name.empty() && name.front() != '.'; }

bool isScene(const std::string& name) {
    return name.size() > 4 && (name.ends_with(".kvs") || name.ends_with(".KVS"));
}

class Viewer {
public:
    Viewer(const ViewOptions& options, Renderer& renderer)
        : options(options), renderer(renderer), content(std::make_unique<ViewedShow>(options, renderer)),
          watch("."), inspect(inspectProgram()) {
        if (content->hasMusic()) player = platform::findSystemPlayer();
        platform::setKeyHook([this](int key, bool shift) { keys.push_back({key, shift}); });
        if (player) {
            player->resume();
            player->setPosition(0.0);
        }
    }
    ~Viewer() { platform::setKeyHook({}); }

    void run() {
        Clock::time_point nextLook = Clock::now() + watchPeriod;
        while (demoRunning) {
            takeKeys();
            if (Clock::now() >= nextLook) {
                reloadChanged();
                nextLook = Clock::now() + watchPeriod;
            }
            playOne();
        }
    }

private:
    void takeKeys() {
        for (const KeyPress& key : keys) {
            if (key.virtualKey == VK_SPACE)
                togglePause();
            else
                jumpTo(frameAfterKey(content->show(), key.virtualKey, key.shift));
        }
        keys.clear();
    }

    void togglePause() {
        paused = !paused;
        if (!player) return;
        if (paused) {
            player->pause();
        } else {
            player->setPosition(seconds(content->show().position().showFrame));
            player->resume();
        }
    }

    void jumpTo(int64_t frame) {
        content->show().jumpTo(frame);
        if (player) player->setPosition(seconds(frame));
    }

    // The show loops; a paused show draws its frame again.
    void playOne() {
        Show& show = content->show();
        if (show.over()) jumpTo(0);
        const ShowPosition at = show.position();
        title.frameShown(at, Clock::now());
        platform::setDisplayTitle(title.text(show, paused));
        show.playFrame(renderer);
        if (paused) show.jumpTo(at.showFrame);
    }

    // The scenes to check: the changed ones, or all when a texture changed.
    void reloadChanged() {
        std::set<std::string> changed = watch.settledChanges();
        std::erase_if(changed, [](const std::string& name) { return !watched(name); });
        if (changed.empty()) return;
        std::vector<std::string> toCheck;
        const std::vector<std::string> scenes = content->sceneFiles();
        const bool texturesToo = std::any_of(changed.begin(), changed.end(), [](auto& n) { return !isScene(n); });
        for (const std::string& scene : scenes)
            if (texturesToo || changed.contains(scene)) toCheck.push_back(scene);
        if (toCheck.empty()) return;
        reload(toCheck);
    }

    void reload(const std::vector<std::string>& toCheck) {
        if (const std::optional<std::string> problem = unreadableScene(inspect, toCheck)) {
            title.problem = "cannot read " + *problem;
            std::fprintf(stderr, "kvor-view: cannot read %s; the last good one stays\n", problem->c_str());
            return;
        }
        const int64_t frame = content->show().position().showFrame;
        content.reset();
        content = std::make_unique<ViewedShow>(options, renderer);
        content->show().jumpTo(std::min(frame, std::max<int64_t>(content->show().frameCount() - 1, 0)));
        title.problem.clear();
        std::fprintf(stderr, "kvor-view: loaded again at frame %lld\n", static_cast<long long>(frame));
    }

    static double seconds(int64_t frame) { return static_cast<double>(frame) / showFramesPerSecond; }

    const ViewOptions& options;
    Renderer& renderer;
    std::unique_ptr<ViewedShow> content;
    FolderWatch watch;
    std::string inspect;
    std::unique_ptr<platform::PlayerLink> player;
    std::deque<KeyPress> keys;
    bool paused = false;
    ViewTitle title;
};

}  // namespace

int runViewer(const ViewOptions& options) {
    startProgram(reinterpret_cast<HINSTANCE>(const_cast<char*>(&moduleBase)));
    platform::setPrimaryDriver(options.enhanced ? platform::DriverKind::enhanced : platform::DriverKind::display);
    requestDemoDisplay(1);
    auto renderer = std::make_unique<Renderer>();
    renderer->setUp();
    renderer->clear();
    SetCurrentDirectoryA(options.folder.c_str());
    const HWND awake = openUnpaintedWindow();
    {
        Viewer viewer(options, *renderer);
        viewer.run();
        releaseDemoDisplay();
    }
    DestroyWindow(awake);
    renderer.reset();
    return endProgram() == 2 ? 0 : 1;
}

}  // namespace view
