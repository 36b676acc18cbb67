#include "platform/drivers.h"

std::shared_ptr<platform::Driver> platform::makeDisplayDriver() { return nullptr; }
