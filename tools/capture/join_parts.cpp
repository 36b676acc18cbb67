#include "tools/capture/join_parts.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "tools/capture/child_process.h"
#include "tools/capture/show_run.h"

namespace capture {

namespace {

std::string span(const FrameRange& range) {
    return "frames " + std::to_string(range.first) + "-" + std::to_string(range.last);
}

std::string named(const VideoPart& part) { return part.file.string() + " (" + span(part.record.range) + ")"; }

// "key=value" lines of ffprobe's default writer; the metadata's keys as
// "TAG:key", whatever case the container keeps them in.
std::map<std::string, std::string> probe(const std::filesystem::path& file) {
    const std::optional<std::string> output =
        programOutput({"ffprobe", "-v", "error", "-count_packets", "-select_streams", "v:0", "-show_entries",
                       std::string("stream=width,height,nb_read_packets:format_tags=") + partTagName, "-of",
                       "default=nw=1", file.string()});
    std::map<std::string, std::string> values;
    std::istringstream lines(output.value_or(""));
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = line.substr(0, equals);
        if (key.rfind("TAG:", 0) == 0) key = "TAG:" + std::string(partTagName);
        values[key] = line.substr(equals + 1);
    }
    return values;
}

// The frames a part of range holds: the fade's too when it reaches the end.
uint32_t framesOf(const PartRecord& record) {
    const bool reachesEnd = record.showFrames == 0 || record.range.last + 1 >= record.showFrames;
    return record.range.last - record.range.first + 1 + (reachesEnd ? fadeFrames : 0);
}

// The commands sent before seconds, ids alike and times within half a frame:
// runs of one show send the same commands at the same frames.
bool sameCommandsBefore(const std::vector<TimedCommand>& a, const std::vector<TimedCommand>& b, double seconds) {
    auto before = [seconds](const std::vector<TimedCommand>& commands) {
        return std::count_if(commands.begin(), commands.end(),
                             [seconds](const TimedCommand& command) { return command.seconds < seconds; });
    };
    const auto count = before(a);
    if (count != before(b)) return false;
    return std::equal(a.begin(), a.begin() + count, b.begin(), [](const TimedCommand& x, const TimedCommand& y) {
        return x.id == y.id && std::abs(x.seconds - y.seconds) < 0.5 / framesPerSecond;
    });
}

}  // namespace

PartReading readPart(const std::filesystem::path& file) {
    const std::string name = file.string() + ": ";
    if (!std::filesystem::is_regular_file(file)) return {{}, name + "no such file"};
    std::map<std::string, std::string> values = probe(file);
    if (!values.contains("width")) return {{}, name + "not a video ffprobe can read"};
    const std::string tag = values["TAG:" + std::string(partTagName)];
    if (tag.empty())
        return {{}, name + "not a video of kvor-capture --frames FIRST-LAST --video (no record of its frames)"};
    const std::optional<PartRecord> record = parsePartTag(tag);
    if (!record || record->frames != framesOf(*record)) return {{}, name + "its record of frames is damaged"};
    const std::string size = std::to_string(record->width) + "x" + std::to_string(record->height);
    if (values["width"] + "x" + values["height"] != size)
        return {{}, name + "its picture is " + values["width"] + "x" + values["height"] + ", its record says " + size};
    if (values["nb_read_packets"] != std::to_string(record->frames))
        return {{},
                name + "holds " + values["nb_read_packets"] + " frames of the " + std::to_string(record->frames) +
                    " its record says (a copy cut short?)"};
    return {VideoPart{file, *record}, {}};
}

std::optional<std::string> joinProblem(const std::vector<VideoPart>& parts) {
    for (size_t k = 1; k < parts.size(); ++k) {
        const VideoPart &before = parts[k - 1], &part = parts[k];
        const PartRecord &a = before.record, &b = part.record;
        if (!a.sameCapture(b))
            return named(before) + " and " + named(part) + " are not of one capture: a show of " +
                   std::to_string(a.showFrames) + " frames at " + std::to_string(a.width) + "x" +
                   std::to_string(a.height) + " " + a.look + ", and one of " + std::to_string(b.showFrames) +
                   " frames at " + std::to_string(b.width) + "x" + std::to_string(b.height) + " " + b.look;
        if (b.range.first <= a.range.last) return named(before) + " and " + named(part) + " overlap";
        if (b.range.first > a.range.last + 1)
            return span({a.range.last + 1, b.range.first - 1}) + " are in no part, between " + named(before) + " and " +
                   named(part);
    }
    const PartRecord& whole = parts.back().record;
    for (const VideoPart& part : parts)
        if (!sameCommandsBefore(part.record.commands, whole.commands,
                                static_cast<double>(part.record.range.last + 1) / framesPerSecond))
            return named(part) + " and " + named(parts.back()) + " sent the player other commands: not one show";
    return std::nullopt;
}

int joinParts(const std::vector<std::filesystem::path>& files, const std::filesystem::path& output) {
    std::vector<VideoPart> parts;
    for (const std::filesystem::path& file : files) {
        PartReading reading = readPart(file);
        if (!reading.part) {
            std::fprintf(stderr, "kvor-capture: cannot join %s\n", reading.problem.c_str());
            return 2;
        }
        parts.push_back(std::move(*reading.part));
    }
    std::sort(parts.begin(), parts.end(),
              [](const VideoPart& a, const VideoPart& b) { return a.record.range.first < b.record.range.first; });
    if (const std::optional<std::string> problem = joinProblem(parts)) {
        std::fprintf(stderr, "kvor-capture: cannot join: %s\n", problem->c_str());
        return 2;
    }
    PartRecord whole = parts.back().record;
    whole.range.first = parts.front().record.range.first;
    whole.frames = 0;
    std::vector<VideoPiece> videos;
    for (const VideoPart& part : parts) {
        whole.frames += part.record.frames;
        videos.push_back({std::filesystem::absolute(part.file), part.record.frames});
    }
    std::fprintf(stderr, "kvor-capture: joining %zu parts, %s\n", parts.size(), span(whole.range).c_str());
    WorkFolder work(output.string() + ".part-" + std::to_string(getpid()));
    finishVideo(videos, work, whole, output);
    return 0;
}

}  // namespace capture
