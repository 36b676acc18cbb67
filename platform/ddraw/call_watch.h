#pragma once
// What watches the calls made on the objects of one DirectDraw object: the
// null driver's call record and the failures its user asks for. Drivers that
// draw have none. Internal to the platform layer.

#include <optional>
#include <string_view>

#include "platform/tool_interface.h"

namespace platform {

class CallWatch {
public:
    virtual ~CallWatch() = default;
    // Every call, failed ones included, before any work is done.
    virtual void record(RecordedCall&& call) = 0;
    // Whether a draw's record keeps the vertices and indices it was given.
    virtual bool keepsDrawnVertices() const = 0;
    // The code every call of method gives instead of doing its work, if any.
    virtual std::optional<HRESULT> injectedFailure(std::string_view method) const = 0;
};

}  // namespace platform
