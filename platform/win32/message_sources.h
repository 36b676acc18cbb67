#pragma once
// Window systems that feed the thread's message queue (the display driver's
// SDL window). Internal to the platform layer.

namespace platform {

class MessageSource {
public:
    virtual ~MessageSource() = default;
    // Posts what the window system has delivered since the last call. With wait,
    // first waits a little (at most some milliseconds) for something to happen.
    virtual void pump(bool wait) = 0;
};

void addMessageSource(MessageSource* source);
void removeMessageSource(MessageSource* source);

}  // namespace platform
