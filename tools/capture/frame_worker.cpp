#include "tools/capture/frame_worker.h"

#include <utility>

namespace capture {

FrameWorker::FrameWorker(Writer write, size_t waiting)
    : write(std::move(write)), waiting(waiting), thread([this] { run(); }) {}

FrameWorker::~FrameWorker() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    changed.notify_all();
    thread.join();
}

bool FrameWorker::add(platform::CapturedFrame frame) {
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [&] { return failure || queue.size() < waiting; });
    if (failure) return false;
    queue.push_back(std::move(frame));
    changed.notify_all();
    return true;
}

bool FrameWorker::finish() {
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [&] { return failure || (queue.empty() && !writing); });
    return !failure;
}

bool FrameWorker::failed() {
    std::lock_guard<std::mutex> guard(lock);
    return failure;
}

void FrameWorker::run() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [&] { return stopping || !queue.empty(); });
        if (queue.empty() || failure) {
            if (stopping) return;
            queue.clear();
            changed.notify_all();
            continue;
        }
        platform::CapturedFrame frame = std::move(queue.front());
        queue.pop_front();
        writing = true;
        guard.unlock();
        const bool written = write(std::move(frame));
        guard.lock();
        writing = false;
        failure = failure || !written;
        changed.notify_all();
    }
}

}  // namespace capture
