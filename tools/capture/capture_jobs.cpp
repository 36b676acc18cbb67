#include "tools/capture/capture_jobs.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <optional>

#include "base/fatal.h"
#include "tools/capture/job_split.h"

namespace capture {

namespace {

// What a job tells the capture once its share is recorded.
struct JobReport {
    uint32_t frames = 0;
    std::vector<TimedCommand> commands;
};

bool writeAll(int file, const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(file, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool readAll(int file, void* data, size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = read(file, bytes, size);
        if (got <= 0) return false;
        bytes += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

// In the job's process: the share recorded in a folder of its own (its log
// there), then the report; the process ends here, its show ended normally.
[[noreturn]] void runJob(const CaptureOptions& options, const ShowRun& run, const std::filesystem::path& folder,
                         const std::filesystem::path& videoPart, int report) {
    std::filesystem::create_directories(folder);
    std::filesystem::create_directory_symlink(std::filesystem::absolute("datas"), folder / "datas");
    std::filesystem::current_path(folder);
    ProgressMeter meter(run.framesShown(), false);
    JobReport result;
    result.frames = recordRun(options, run, videoPart, meter, result.commands);
    const auto count = static_cast<uint32_t>(result.commands.size());
    const bool sent = writeAll(report, &result.frames, sizeof result.frames) &&
                      writeAll(report, &count, sizeof count) &&
                      writeAll(report, result.commands.data(), count * sizeof(TimedCommand));
    std::fflush(nullptr);
    _exit(sent ? 0 : 1);
}

std::optional<JobReport> readReport(int report) {
    JobReport result;
    uint32_t count = 0;
    if (!readAll(report, &result.frames, sizeof result.frames) || !readAll(report, &count, sizeof count))
        return std::nullopt;
    result.commands.resize(count);
    if (!readAll(report, result.commands.data(), count * sizeof(TimedCommand))) return std::nullopt;
    return result;
}

}  // namespace

int recordInJobs(const CaptureOptions& options, const ShowRun& whole, unsigned jobs) {
    WorkFolder work(workPlace(options));
    const std::vector<FrameRange> shares = splitFrames({whole.range.first, whole.framesShown() - 1}, jobs);
    std::fprintf(stderr, "kvor-capture: frames %u-%u in %zu jobs\n", shares.front().first, shares.back().last,
                 shares.size());
    struct Job {
        pid_t process;
        int report;
    };
    std::vector<Job> running;
    std::vector<std::filesystem::path> parts;
    std::fflush(nullptr);
    for (size_t k = 0; k < shares.size(); ++k) {
        parts.push_back(work.path / ("part-" + std::to_string(k) + ".mkv"));
        int report[2];
        if (pipe(report) != 0) fatalMessage("kvor-capture cannot start its jobs");
        const pid_t process = fork();
        if (process == 0) {
            close(report[0]);
            runJob(options, ShowRun{shares[k], whole.showFrames}, work.path / ("job-" + std::to_string(k)),
                   parts.back(), report[1]);
        }
        close(report[1]);
        if (process < 0) fatalMessage("kvor-capture cannot start its jobs");
        running.push_back({process, report[0]});
    }
    std::vector<JobReport> reports;
    int failed = 0;
    for (size_t k = 0; k < running.size(); ++k) {
        std::optional<JobReport> report = readReport(running[k].report);
        close(running[k].report);
        int status = 0;
        waitpid(running[k].process, &status, 0);
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 255;
        if (!report || code != 0) {
            std::fprintf(stderr, "kvor-capture: job %zu of %zu (frames %u-%u) stopped with status %d\n", k + 1,
                         running.size(), shares[k].first, shares[k].last, code);
            failed = failed != 0 ? failed : (code != 0 ? code : 255);
            continue;
        }
        reports.push_back(std::move(*report));
    }
    if (failed != 0) return failed;
    std::error_code ignored;
    std::filesystem::copy_file(work.path / ("job-" + std::to_string(shares.size() - 1)) / "kvorlog.txt", "kvorlog.txt",
                               std::filesystem::copy_options::overwrite_existing, ignored);
    uint32_t frames = 0;
    std::vector<VideoPiece> pieces;
    for (size_t k = 0; k < reports.size(); ++k) {
        frames += reports[k].frames;
        pieces.push_back({parts[k], reports[k].frames});
    }
    if (options.videoFile)
        finishVideo(pieces, work, whole.record(options, frames, reports.back().commands), *options.videoFile);
    else
        std::fprintf(stderr, "kvor-capture: %u frames in %s\n", frames, options.pngDirectory->c_str());
    return 0;
}

}  // namespace capture
