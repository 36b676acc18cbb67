#include "platform/web/page_session.h"

#include <emscripten.h>

#include "platform/dialog_view.h"
#include "platform/win32/message_sources.h"

namespace platform {

namespace {

// The page's events reach the thread's queue through the functions its script
// calls; pumping hands the browser the thread, so that it can deliver them,
// only when the program would wait anyway.
class PagePump final : public MessageSource {
public:
    void pump(bool wait) override {
        if (wait) emscripten_sleep(pauseMilliseconds);
    }

private:
    static constexpr unsigned pauseMilliseconds = 10;
};

bool& opened() {
    static bool value = false;
    return value;
}

}  // namespace

void openPage() {
    if (opened()) return;
    opened() = true;
    static PagePump pump;
    addMessageSource(&pump);
}

bool pageOpened() { return opened(); }

bool windowSystemIsOpen() { return pageOpened(); }

}  // namespace platform
