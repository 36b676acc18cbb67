// kvor-view's logic on the capture driver with the demo's data: a jump to
// the show's last part and back, each with the frame it lands on drawn, and
// the reload of a scene written again (its check by kvor-inspect, then the
// load), beside the time of one frame played on.
//   view_bench [DATAS]   (default: the build's demo data)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/program_lifetime.h"
#include "base/display_request.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"
#include "tools/view/scene_check.h"
#include "tools/view/viewed_show.h"

namespace {

using Clock = std::chrono::steady_clock;
const char moduleBase = 0;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The median of what runs of work measured, in milliseconds.
double median(int runs, const std::function<double()>& work) {
    std::vector<double> times;
    for (int k = 0; k < runs; ++k) times.push_back(work());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path source = argc > 1 ? argv[1] : KVOR_DEMO_DATAS;
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "kvor-view-bench";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work / "datas");
    std::filesystem::copy(source, work / "datas", std::filesystem::copy_options::recursive);
    std::filesystem::current_path(work);
    std::freopen("/dev/null", "w", stdout);
    startProgram(reinterpret_cast<HINSTANCE>(const_cast<char*>(&moduleBase)));
    platform::setPrimaryDriver(platform::DriverKind::capture);
    requestDemoDisplay(1);
    Renderer renderer;
    renderer.setUp();
    renderer.clear();
    SetCurrentDirectoryA("datas");
    const view::ViewOptions options{".", std::nullopt, false};
    auto content = std::make_unique<view::ViewedShow>(options, renderer);
    Show* show = &content->show();
    const int64_t lastPart = show->partStart(show->partCount() - 1);

    const double frame = median(31, [&] {
        const auto start = Clock::now();
        show->playFrame(renderer);
        return msSince(start);
    });
    const double there = median(9, [&] {
        show->jumpTo(0);
        const auto start = Clock::now();
        show->jumpTo(lastPart);
        show->playFrame(renderer);
        return msSince(start);
    });
    const double back = median(9, [&] {
        show->jumpTo(lastPart);
        const auto start = Clock::now();
        show->jumpTo(0);
        show->playFrame(renderer);
        return msSince(start);
    });
    std::fprintf(stderr, "one frame played on:            %8.2f ms\n", frame);
    std::fprintf(stderr, "jump to the last part (frame %lld), drawn: %8.2f ms (goal < 300 ms)\n",
                 static_cast<long long>(lastPart), there);
    std::fprintf(stderr, "jump back to the start, drawn:  %8.2f ms (goal < 300 ms)\n", back);

    const std::string inspect = view::inspectProgram();
    double check = 0, load = 0;
    const double reload = median(5, [&] {
        std::filesystem::copy_file("mont.kvs", "mont.kvs.new", std::filesystem::copy_options::overwrite_existing);
        std::filesystem::rename("mont.kvs.new", "mont.kvs");
        const auto start = Clock::now();
        if (const auto problem = view::unreadableScene(inspect, {"mont.kvs"}))
            std::fprintf(stderr, "cannot read %s\n", problem->c_str());
        const auto checked = Clock::now();
        const int64_t at = show->position().showFrame;
        content.reset();
        content = std::make_unique<view::ViewedShow>(options, renderer);
        show = &content->show();
        show->jumpTo(at);
        show->playFrame(renderer);
        check = std::chrono::duration<double, std::milli>(checked - start).count();
        load = msSince(checked);
        return msSince(start);
    });
    std::fprintf(stderr, "reload of a scene written again: %8.2f ms (goal < 500 ms): check %.1f ms, load %.1f ms\n",
                 reload, check, load);
    content.reset();
    releaseDemoDisplay();
    endProgram();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(work);
    return 0;
}
