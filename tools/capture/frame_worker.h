#pragma once
// Kept frames written on a thread of their own, in order, so that converting
// and encoding one frame overlaps drawing the next. A few frames wait at most:
// a writer that falls behind holds the drawing back.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/tool_interface.h"

namespace capture {

class FrameWorker {
public:
    // write: false when the frame could not be written; nothing more is written then.
    using Writer = std::function<bool(platform::CapturedFrame frame)>;
    explicit FrameWorker(Writer write, size_t waiting = 3);
    ~FrameWorker();
    FrameWorker(const FrameWorker&) = delete;
    FrameWorker& operator=(const FrameWorker&) = delete;

    // Queues the frame; false once a write has failed.
    bool add(platform::CapturedFrame frame);
    // Waits until every frame queued is written; false when one failed.
    bool finish();
    bool failed();

private:
    void run();

    Writer write;
    size_t waiting;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<platform::CapturedFrame> queue;
    bool writing = false, stopping = false, failure = false;
    std::thread thread;
};

}  // namespace capture
