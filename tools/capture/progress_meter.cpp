#include "tools/capture/progress_meter.h"

#include <algorithm>
#include <cmath>

namespace capture {

namespace {

constexpr auto terminalInterval = std::chrono::milliseconds(200);
constexpr auto lineInterval = std::chrono::seconds(5);
constexpr int barWidth = 30;

std::string minutesAndSeconds(double seconds) {
    const auto whole = static_cast<long>(std::lround(std::max(0.0, seconds)));
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

ProgressMeter::ProgressMeter(uint32_t total, bool terminal, std::FILE* output)
    : total(total), terminal(terminal), output(output), lastDrawn(start) {}

std::string ProgressMeter::status(Clock::time_point now) const {
    const double elapsed = std::chrono::duration<double>(now - start).count();
    const double rate = elapsed > 0.0 ? done / elapsed : 0.0;
    char text[128];
    if (total == 0) {
        std::snprintf(text, sizeof text, "%u frames, %.1f fps", done, rate);
    } else {
        const double left = rate > 0.0 ? (static_cast<double>(total) - done) / rate : 0.0;
        std::snprintf(text, sizeof text, "%u/%u frames, %.1f fps, %s left", done, total, rate,
                      minutesAndSeconds(left).c_str());
    }
    return text;
}

void ProgressMeter::frameDone(Clock::time_point now) {
    ++done;
    if (now - lastDrawn >= (terminal ? terminalInterval : lineInterval)) draw(now);
}

void ProgressMeter::finish(Clock::time_point now) {
    draw(now);
    if (terminal) std::fputc('\n', output);
    std::fflush(output);
}

void ProgressMeter::draw(Clock::time_point now) {
    lastDrawn = now;
    if (!terminal) {
        std::fprintf(output, "kvor-capture: %s\n", status(now).c_str());
        return;
    }
    const int filled = total == 0 ? 0 : static_cast<int>(std::min<uint64_t>(barWidth, uint64_t(done) * barWidth / total));
    std::fprintf(output, "\r[%s%s] %s\033[K", std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(barWidth - filled), '.').c_str(), status(now).c_str());
    std::fflush(output);
}

}  // namespace capture
