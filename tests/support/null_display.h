#pragma once
// The null driver for a test's scope: its settings, the process-wide display
// values a set-up reads (640 x 480 x 16, waiting for the retrace), and at the
// end the release of whatever display the test brought up.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/bit_cast.h"
#include "platform/test_seams.h"
#include "platform/tool_interface.h"

namespace testing_support {

class NullDriverScope {
public:
    explicit NullDriverScope(platform::NullDriverSettings settings = platform::defaultNullDriverSettings());
    ~NullDriverScope();
    NullDriverScope(const NullDriverScope&) = delete;
    NullDriverScope& operator=(const NullDriverScope&) = delete;
};

// The demo's request: 640 x 480 x 16, waiting for the retrace, on the driver
// of that GUID (null for the primary), with the demo running.
void requestDisplay(const GUID* driver);
// Releases the device and the DirectDraw object a set-up made and destroys
// the rendering window, as the demo's teardown does.
void releaseDisplay();

// The recorded calls of one method, in call order.
std::vector<platform::RecordedCall> callsNamed(std::string_view method);
// Every recorded call as its text, in call order.
std::vector<std::string> callTexts();
// A float as the recorded calls hold it among their arguments: its bits.
inline uint64_t bits(float value) { return bitCast<uint32_t>(value); }

}  // namespace testing_support
