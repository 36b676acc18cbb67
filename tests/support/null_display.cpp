#include "tests/support/null_display.h"

#include "base/display_request.h"
#include "base/display_state.h"
#include "base/process_state.h"

namespace testing_support {

NullDriverScope::NullDriverScope(platform::NullDriverSettings settings) {
    platform::setNullDriverSettings(std::move(settings));
    platform::clearNullDriverCalls();
    requestDisplay(&platform::nullDriverGuid());
}

NullDriverScope::~NullDriverScope() {
    releaseDisplay();
    platform::setNullDriverSettings(platform::defaultNullDriverSettings());
    platform::clearNullDriverCalls();
}

void requestDisplay(const GUID* driver) {
    deviceGuid = driver;
    requestDemoDisplay(1);
    demoRunning = true;
    textureFormat = alphaTextureFormat = DDPIXELFORMAT{};
}

void releaseDisplay() {
    releaseDemoDisplay();
    mainWindow = nullptr;
    deviceGuid = nullptr;
    demoRunning = true;
}

std::vector<platform::RecordedCall> callsNamed(std::string_view method) {
    std::vector<platform::RecordedCall> found;
    for (const platform::RecordedCall& call : platform::nullDriverCalls())
        if (call.method == method) found.push_back(call);
    return found;
}

std::vector<std::string> callTexts() {
    std::vector<std::string> texts;
    for (const platform::RecordedCall& call : platform::nullDriverCalls()) texts.push_back(call.text());
    return texts;
}

}  // namespace testing_support
