// The display drivers in a page: the renderer on the canvas's WebGL 2
// context. The primary one draws the 640 x 480 x 16 frame and shows it
// letter-boxed in the canvas (which the page may put on the whole screen);
// the enhanced one draws at the canvas's device pixels, multisampled. Each
// flip hands the frame to the browser and waits for its next animation frame.

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>

#include "platform/ddraw/drivers.h"
#include "platform/gl/gl_driver.h"
#include "platform/gl/gl_headers.h"
#include "platform/web/web_gl_context.h"
#include "platform/win32/message_sources.h"
#include "platform/win32/window_registry.h"

// The page's side (library_display.js).
extern "C" {
bool kvor_display_presented();
bool kvor_display_paced();
void kvor_display_keep(const uint8_t* rgb, int width, int height, int x, int y, int pictureWidth, int pictureHeight);
void kvor_display_wait(bool paced);
void kvor_display_hold();
}

namespace platform {

namespace {

class WebDisplayDriver;
// The driver whose frame the page reads back; at most one shows at a time.
WebDisplayDriver* shownDriver = nullptr;

class WebDisplayDriver final : public GlDriver, public MessageSource {
public:
    WebDisplayDriver(std::shared_ptr<WebGlContext> context, bool enhanced)
        : GlDriver(context), canvasContext(std::move(context)), enhanced(enhanced) {
        addMessageSource(this);
        shownDriver = this;
    }
    ~WebDisplayDriver() override { shutDown(); }

    std::vector<DisplayMode> displayModes() const override;
    DisplayMode desktopMode() const override { return {640, 480, 32, 60}; }
    HRESULT setCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT setDisplayMode(const DisplayMode&) override { return renderer->alive() ? DD_OK : DDERR_SURFACELOST; }
    HRESULT present(const SurfaceStore& backBuffer, DWORD flags) override;
    HRESULT createFlipChain(DWORD width, DWORD height) override;
    void shutDown() override;
    void pump(bool wait) override;

    void keepFrame();
    void keyDown(const EmscriptenKeyboardEvent& event);
    void keyPress(const EmscriptenKeyboardEvent& event);

private:
    void listenToKeyboard(bool listen);

    std::shared_ptr<WebGlContext> canvasContext;
    bool enhanced;  // the frame at the canvas's device pixels
    HWND cooperativeWindow = nullptr;
};

// The page's size is the one 640 x 480 shows in; the engine may ask for it at 16 or 32 bits.
std::vector<DisplayMode> WebDisplayDriver::displayModes() const { return {{640, 480, 16, 60}, {640, 480, 32, 60}}; }

HRESULT WebDisplayDriver::setCooperativeLevel(HWND window, DWORD) {
    cooperativeWindow = window;
    listenToKeyboard(window != nullptr);
    return DD_OK;
}

HRESULT WebDisplayDriver::createFlipChain(DWORD width, DWORD height) {
    if (enhanced && renderer->alive()) {
        CanvasSize canvas = canvasContext->fitCanvas();
        renderer->enhance(EnhancedFrame{uint32_t(canvas.width), uint32_t(canvas.height), false});
    }
    return GlDriver::createFlipChain(width, height);
}

// The frame is copied to the canvas, letter-boxed in it; the browser shows
// the canvas once the program yields, which the flip then does: until the
// next animation frame, or only for the browser's turn when unpaced. Once the
// page's stop frame is presented the flip never returns.
HRESULT WebDisplayDriver::present(const SurfaceStore&, DWORD flags) {
    if (!renderer->alive()) return DDERR_SURFACELOST;
    canvasContext->makeCurrent();
    CanvasSize canvas = canvasContext->fitCanvas();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, canvas.width, canvas.height);
    const OutputRect shown =
        letterBox(uint32_t(canvas.width), uint32_t(canvas.height), renderer->frameWidth(), renderer->frameHeight());
    // Only bars need clearing; a software rasteriser pays for every pixel cleared.
    if (shown.width != canvas.width || shown.height != canvas.height) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    renderer->presentTo(shown.x, shown.y, shown.width, shown.height);
    if (kvor_display_presented()) {
        keepFrame();
        kvor_display_hold();
    }
    kvor_display_wait(!(flags & DDFLIP_NOVSYNC) && kvor_display_paced());
    return DD_OK;
}

// The last presented frame handed to the page, with where the picture lies in it.
void WebDisplayDriver::keepFrame() {
    if (!renderer->alive() || renderer->frameWidth() == 0) return;
    const std::vector<uint8_t> rgb = renderer->readTarget();
    const int frameWidth = int(renderer->frameWidth()), frameHeight = int(renderer->frameHeight());
    const OutputRect picture = renderer->picture();
    kvor_display_keep(rgb.data(), frameWidth, frameHeight, picture.x, frameHeight - picture.y - picture.height,
                      picture.width, picture.height);
}

void WebDisplayDriver::shutDown() {
    if (shownDriver == this) {
        keepFrame();
        shownDriver = nullptr;
    }
    listenToKeyboard(false);
    removeMessageSource(this);
    GlDriver::shutDown();
    canvasContext.reset();
}

// The keyboard's events are posted as they come: the page has nothing to pump.
void WebDisplayDriver::pump(bool wait) {
    if (wait) emscripten_sleep(10);
}

// Escape arrives as WM_CHAR VK_ESCAPE, typed characters as WM_CHAR of theirs,
// while a window holds the display; the page keeps every other key.
void WebDisplayDriver::keyDown(const EmscriptenKeyboardEvent& event) {
    if (std::strcmp(event.key, "Escape") == 0) PostMessageA(cooperativeWindow, WM_CHAR, VK_ESCAPE, 0);
}

void WebDisplayDriver::keyPress(const EmscriptenKeyboardEvent& event) {
    if (event.charCode > 0 && event.charCode < 0x80 && event.charCode != VK_ESCAPE)
        PostMessageA(cooperativeWindow, WM_CHAR, WPARAM(event.charCode), 0);
}

void WebDisplayDriver::listenToKeyboard(bool listen) {
    auto down = [](int, const EmscriptenKeyboardEvent* event, void* driver) -> EM_BOOL {
        static_cast<WebDisplayDriver*>(driver)->keyDown(*event);
        return std::strcmp(event->key, "Escape") == 0;
    };
    auto press = [](int, const EmscriptenKeyboardEvent* event, void* driver) -> EM_BOOL {
        static_cast<WebDisplayDriver*>(driver)->keyPress(*event);
        return EM_FALSE;
    };
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, listen ? +down : nullptr);
    emscripten_set_keypress_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, listen ? +press : nullptr);
}

}  // namespace

std::shared_ptr<Driver> makeDisplayDriver() {
    std::shared_ptr<WebGlContext> context = openCanvasContext();
    if (context == nullptr) return nullptr;
    return std::make_shared<WebDisplayDriver>(std::move(context), false);
}

std::shared_ptr<Driver> makeEnhancedDisplayDriver() {
    std::shared_ptr<WebGlContext> context = openCanvasContext();
    if (context == nullptr) return nullptr;
    return std::make_shared<WebDisplayDriver>(std::move(context), true);
}

// The capture driver draws off screen through EGL and writes PNG files: a
// desktop tool's driver, which a page cannot run.
std::shared_ptr<Driver> makeCaptureDriver() { return nullptr; }

}  // namespace platform

// The page reads the last presented frame back when it asks for a PNG of it.
extern "C" EMSCRIPTEN_KEEPALIVE void kvor_display_read_back() {
    if (platform::shownDriver != nullptr) platform::shownDriver->keepFrame();
}
