#include "app/demo_driver.h"

#include <memory>

#include "app/demo_show.h"
#include "app/music_player.h"
#include "app/show_timeline.h"
#include "base/display_request.h"
#include "base/display_state.h"
#include "base/log.h"
#include "base/process_state.h"
#include "render/renderer.h"

int runDemo() { return runDemo(std::chrono::steady_clock::now); }

int runDemo(const FadeClock& fadeClock) {
    logOpen("c:\\kvorlog.txt", nullptr);
    requestDemoDisplay(1);
    auto renderer = std::make_unique<Renderer>();
    renderer->setUp();
    renderer->clear();
    SetCurrentDirectoryA("datas");
    std::unique_ptr<DemoShow> demo = loadDemoShow(*renderer);
    const HWND player = findMusicPlayer();
    startMusic(player);

    // A part ends early, after its frame, once the rendering window is gone,
    // and the parts after it are skipped.
    const ShowTimeline& timeline = showTimeline();
    while (demoRunning) {
        if (timeline) timeline(demo->show);
        if (demo->show.over()) break;
        demo->show.playFrame(*renderer);
    }

    fadeMusic(player, fadeClock);
    closeMusicPlayer(player);
    releaseDemoDisplay();
    // Overlays, then scenes, then the renderer: the reverse of construction.
    demo.reset();
    renderer.reset();
    return 0;
}
