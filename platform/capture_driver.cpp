#include "platform/drivers.h"

std::shared_ptr<platform::Driver> platform::makeCaptureDriver() { return nullptr; }

void platform::setCaptureSink(FrameSink) {}
