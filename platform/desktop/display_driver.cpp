// The primary display driver: an SDL2 window with an OpenGL context, full
// screen at the asked size (or the picture letter-boxed on a monitor that
// cannot switch), presenting on the vertical retrace.

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include "platform/ddraw/drivers.h"
#include "platform/desktop/frame_pacing.h"
#include "platform/desktop/gl_context_failure.h"
#include "platform/desktop/sample_governor.h"
#include "platform/gl/gl_driver.h"
#include "platform/gl/gl_headers.h"
#include "platform/win32/message_sources.h"
#include "platform/win32/window_registry.h"

namespace platform {

namespace {

struct WindowHooks {
    KeyHook keys;
    std::string title = "kvor";
    SDL_Window* window = nullptr;  // the display driver's open window
};

WindowHooks& windowHooks() {
    static WindowHooks hooks;
    return hooks;
}

int virtualKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_END: return VK_END;
        case SDLK_HOME: return VK_HOME;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        default: return 0;
    }
}

// A switch in the environment: set to anything but "0".
bool turnedOn(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

// KVOR_NO_RETRACE_WAIT makes every flip return at once, whatever its flags,
// so the show can be timed unpaced.
bool retraceWaitTurnedOff() { return turnedOn("KVOR_NO_RETRACE_WAIT"); }

class SdlWindowContext final : public GlContext {
public:
    SdlWindowContext(SDL_Window* window, SDL_GLContext context) : window(window), context(context) {
        windowHooks().window = window;
    }
    ~SdlWindowContext() override {
        windowHooks().window = nullptr;
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
    }
    SDL_Window* sdlWindow() const { return window; }

protected:
    bool isCurrent() const override { return SDL_GL_GetCurrentContext() == context; }
    void bind() override { SDL_GL_MakeCurrent(window, context); }

private:
    SDL_Window* window;
    SDL_GLContext context;
};

// Null when SDL cannot give a window with an OpenGL 3.3 core context; the
// failing step and SDL's reason are reported.
std::shared_ptr<SdlWindowContext> openWindow() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        reportContextFailure("SDL_InitSubSystem(SDL_INIT_VIDEO)", SDL_GetError());
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow(windowHooks().title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window == nullptr) {
        reportContextFailure("SDL_CreateWindow", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        reportContextFailure("SDL_GL_CreateContext", SDL_GetError());
        SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    return std::make_shared<SdlWindowContext>(window, context);
}

// Full screen on the desktop is the window manager's to do. With none (a bare
// X server), SDL still reports the desktop's size while the window keeps its
// own, and the picture would be drawn for a window that is not there: the
// window is then moved over the display here.
void coverDisplayWithoutWindowManager(SDL_Window* window) {
    SDL_SysWMinfo system;
    SDL_VERSION(&system.version);
    if (!SDL_GetWindowWMInfo(window, &system) || system.subsystem != SDL_SYSWM_X11) return;
    Display* display = system.info.x11.display;
    XWindowAttributes real{};
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (!XGetWindowAttributes(display, system.info.x11.window, &real) || (real.width == width && real.height == height))
        return;
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window), 0), &bounds) != 0) return;
    XMoveResizeWindow(display, system.info.x11.window, bounds.x, bounds.y, unsigned(bounds.w), unsigned(bounds.h));
    XSync(display, False);
}

class DisplayDriver final : public GlDriver, public MessageSource {
public:
    DisplayDriver(std::shared_ptr<SdlWindowContext> context, bool enhanced)
        : GlDriver(context), windowContext(std::move(context)), enhanced(enhanced) {
        addMessageSource(this);
    }
    ~DisplayDriver() override { shutDown(); }

    std::vector<DisplayMode> displayModes() const override;
    DisplayMode desktopMode() const override;
    HRESULT setCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT setDisplayMode(const DisplayMode& mode) override;
    HRESULT present(const SurfaceStore& backBuffer, DWORD flags) override;
    HRESULT createFlipChain(DWORD width, DWORD height) override;
    void shutDown() override;
    void pump(bool wait) override;

private:
    using Clock = std::chrono::steady_clock;

    Clock::duration refreshPeriod() const;
    // The time spent waiting (in the swap itself when it waits for the retrace).
    Clock::duration swapOnRetrace(bool wait);
    void governSamples(Clock::time_point presentedAt, Clock::duration waited);
    void reportPacing();
    const char* name() const { return enhanced ? "Enhanced Display Driver" : "Primary Display Driver"; }
    void deliver(const SDL_Event& event);

    std::shared_ptr<SdlWindowContext> windowContext;
    bool enhanced;  // the frame at the window's resolution
    HWND cooperativeWindow = nullptr;
    DWORD refreshRate = 0;
    int swapInterval = -1;  // what SDL last accepted; -1 before the first flip
    Clock::time_point due;  // when the next frame is to be shown, where the flip paces itself
    Clock::time_point lastPresent;
    FramePacing pacing;
    SampleGovernor governor;
};

// Each size SDL lists, at 16 and 32 bits. 640 x 480 is always there: where
// the monitor cannot switch to it, it is shown letter-boxed on the desktop.
std::vector<DisplayMode> DisplayDriver::displayModes() const {
    std::set<std::pair<int, int>> seen;
    std::vector<DisplayMode> sizes;
    for (int index = 0; index < SDL_GetNumDisplayModes(0); ++index) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, index, &mode) != 0 || !seen.insert({mode.w, mode.h}).second) continue;
        sizes.push_back({DWORD(mode.w), DWORD(mode.h), 0, DWORD(std::max(mode.refresh_rate, 0))});
    }
    if (!seen.contains({640, 480})) sizes.push_back({640, 480, 0, desktopMode().refreshRate});
    std::vector<DisplayMode> modes;
    for (DWORD bits : {16u, 32u})
        for (DisplayMode size : sizes) modes.push_back({size.width, size.height, bits, size.refreshRate});
    return modes;
}

DisplayMode DisplayDriver::desktopMode() const {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {640, 480, 32, 0};
    return {DWORD(mode.w), DWORD(mode.h), 32, DWORD(std::max(mode.refresh_rate, 0))};
}

HRESULT DisplayDriver::setCooperativeLevel(HWND window, DWORD) {
    cooperativeWindow = window;
    return DD_OK;
}

// Full screen at the mode's size where the monitor can switch; where it
// cannot, full screen on the desktop with the picture letter-boxed.
HRESULT DisplayDriver::setDisplayMode(const DisplayMode& mode) {
    if (!renderer->alive()) return DDERR_SURFACELOST;
    SDL_Window* window = windowContext->sdlWindow();
    SDL_SetWindowSize(window, int(mode.width), int(mode.height));
    SDL_DisplayMode wanted{SDL_PIXELFORMAT_UNKNOWN, int(mode.width), int(mode.height), int(mode.refreshRate), nullptr};
    SDL_DisplayMode closest{};
    bool switched = SDL_GetClosestDisplayMode(0, &wanted, &closest) != nullptr && closest.w == wanted.w &&
                    closest.h == wanted.h && SDL_SetWindowDisplayMode(window, &closest) == 0;
    SDL_ShowWindow(window);
    if (!switched || SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0)
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    coverDisplayWithoutWindowManager(window);
    SDL_ShowCursor(currentCursor() == nullptr ? SDL_DISABLE : SDL_ENABLE);
    refreshRate = switched ? DWORD(std::max(closest.refresh_rate, 0)) : desktopMode().refreshRate;
    return DD_OK;
}

HRESULT DisplayDriver::present(const SurfaceStore&, DWORD flags) {
    if (!renderer->alive()) return DDERR_SURFACELOST;
    windowContext->makeCurrent();
    int drawableWidth = 0, drawableHeight = 0;
    SDL_GL_GetDrawableSize(windowContext->sdlWindow(), &drawableWidth, &drawableHeight);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, drawableWidth, drawableHeight);
    const OutputRect shown =
        letterBox(uint32_t(drawableWidth), uint32_t(drawableHeight), renderer->frameWidth(), renderer->frameHeight());
    // Only bars need clearing; a software rasteriser pays for every pixel cleared.
    if (shown.width != drawableWidth || shown.height != drawableHeight) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    renderer->presentTo(shown.x, shown.y, shown.width, shown.height);
    const bool paced = !(flags & DDFLIP_NOVSYNC) && !retraceWaitTurnedOff();
    const Clock::duration waited = swapOnRetrace(paced);
    const Clock::time_point presentedAt = Clock::now();
    pacing.presented(presentedAt, refreshPeriod());
    if (enhanced && paced) governSamples(presentedAt, waited);
    lastPresent = presentedAt;
    return DD_OK;
}

// Only a frame that follows another is judged: the first one's time includes setting up.
void DisplayDriver::governSamples(Clock::time_point presentedAt, Clock::duration waited) {
    if (pacing.frames() < 2 || !governor.frameMade(presentedAt - lastPresent - waited, refreshPeriod())) return;
    renderer->useSamples(governor.samples());
    OutputDebugStringA((std::string(name()) + ": " + governor.decision() + ", from frame " +
                        std::to_string(pacing.frames() + 1) + "\n").c_str());
}

std::chrono::steady_clock::duration DisplayDriver::refreshPeriod() const {
    return std::chrono::microseconds(1'000'000 / (refreshRate > 0 ? refreshRate : 60));
}

// The enhanced frame is the window's drawable, the picture letter-boxed in it.
HRESULT DisplayDriver::createFlipChain(DWORD width, DWORD height) {
    if (enhanced) {
        int drawableWidth = 0, drawableHeight = 0;
        SDL_GL_GetDrawableSize(windowContext->sdlWindow(), &drawableWidth, &drawableHeight);
        renderer->enhance(EnhancedFrame{uint32_t(std::max(drawableWidth, 1)), uint32_t(std::max(drawableHeight, 1)), false});
        renderer->letSamplesChange();
    }
    return GlDriver::createFlipChain(width, height);
}

// Swap interval 1 waits for the retrace. Where SDL refuses it (Xvfb, some
// drivers), the flip keeps the refresh's cadence itself, 60 Hz when the rate
// is unknown, so the demo keeps its intended speed: each frame is due one
// period after the one before, whatever the swap costs; a frame more than a
// period behind starts the cadence again rather than hurrying the next ones.
std::chrono::steady_clock::duration DisplayDriver::swapOnRetrace(bool wait) {
    int wanted = wait ? 1 : 0;
    if (swapInterval != wanted) swapInterval = SDL_GL_SetSwapInterval(wanted) == 0 ? wanted : 0;
    const Clock::time_point start = Clock::now();
    if (wait && swapInterval != 1) {
        if (start > due + refreshPeriod()) due = start;
        std::this_thread::sleep_until(due);
        due += refreshPeriod();
    }
    const Clock::duration waited = Clock::now() - start;
    SDL_GL_SwapWindow(windowContext->sdlWindow());
    return wait && swapInterval == 1 ? Clock::now() - start : waited;
}

// The figures of the show's frames go to the debugger output, and with
// KVOR_STATS set on standard error too.
void DisplayDriver::reportPacing() {
    if (pacing.frames() == 0) return;
    std::string line = std::string(name()) + ": " + pacing.summary();
    if (enhanced) line += ", ended with " + std::to_string(governor.samples()) + " samples per pixel";
    line += "\n";
    OutputDebugStringA(line.c_str());
    if (turnedOn("KVOR_STATS")) std::fputs(line.c_str(), stderr);
    pacing = FramePacing{};
}

void DisplayDriver::shutDown() {
    reportPacing();
    removeMessageSource(this);
    GlDriver::shutDown();
    if (windowContext == nullptr) return;
    windowContext.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// Escape and typed characters arrive as WM_CHAR; closing the window destroys
// the window that took the display, which sends it WM_DESTROY.
void DisplayDriver::deliver(const SDL_Event& event) {
    if (cooperativeWindow == nullptr) return;
    const KeyHook& keys = windowHooks().keys;
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) {
        PostMessageA(cooperativeWindow, WM_CHAR, VK_ESCAPE, 0);
    } else if (event.type == SDL_KEYDOWN && keys && virtualKey(event.key.keysym.sym) != 0) {
        keys(virtualKey(event.key.keysym.sym), (event.key.keysym.mod & KMOD_SHIFT) != 0);
    } else if (event.type == SDL_TEXTINPUT) {
        for (const char* c = event.text.text; *c != '\0'; ++c)
            PostMessageA(cooperativeWindow, WM_CHAR, static_cast<unsigned char>(*c), 0);
    } else if (event.type == SDL_QUIT ||
               (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
        DestroyWindow(cooperativeWindow);
    }
}

void DisplayDriver::pump(bool wait) {
    if (windowContext == nullptr) return;
    SDL_Event event;
    if (wait && SDL_WaitEventTimeout(&event, 10)) deliver(event);
    while (SDL_PollEvent(&event)) deliver(event);
}

}  // namespace

void setKeyHook(KeyHook hook) { windowHooks().keys = std::move(hook); }

void setDisplayTitle(const std::string& title) {
    windowHooks().title = title;
    if (windowHooks().window != nullptr) SDL_SetWindowTitle(windowHooks().window, title.c_str());
}

std::shared_ptr<Driver> makeDisplayDriver() {
    std::shared_ptr<SdlWindowContext> context = openWindow();
    if (context == nullptr) return nullptr;
    return std::make_shared<DisplayDriver>(std::move(context), false);
}

std::shared_ptr<Driver> makeEnhancedDisplayDriver() {
    std::shared_ptr<SdlWindowContext> context = openWindow();
    if (context == nullptr) return nullptr;
    return std::make_shared<DisplayDriver>(std::move(context), true);
}

}  // namespace platform
