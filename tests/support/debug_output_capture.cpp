#include "platform/test_seams.h"
#include "tests/support/test_support.h"

namespace testing_support {

DebugOutputCapture::DebugOutputCapture() {
    platform::setDebugOutputHook([this](std::string_view text) { collected.append(text); });
}

DebugOutputCapture::~DebugOutputCapture() { platform::setDebugOutputHook({}); }

}  // namespace testing_support
