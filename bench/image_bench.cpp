// Decoding speed of each image kind on a 1024 x 1024 picture, with djpeg and
// gzip -dc timed on the same files in the same run as references.
//     build/bench/image_bench [REPETITIONS]
// Each figure is the median of the repetitions.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "image/jpeg_loader.h"
#include "image/pixel_conversion.h"
#include "image/tga_loader.h"
#include "image/zkv_loader.h"
#include "tools/image_writers/image_writers.h"
#include "tools/inspect/quiet_standard_output.h"

extern char** environ;

namespace {

constexpr uint16_t side = 1024;
constexpr double megapixels = side * side / 1e6;

// Smooth shapes with a little grain, like a photograph or a painted texture,
// and an alpha ramp: compresses the way real textures do.
image_writers::Image picture() {
    image_writers::Image image{side, side, std::vector<uint32_t>(size_t{side} * side)};
    uint32_t grain = 12345;
    for (size_t y = 0; y < side; ++y)
        for (size_t x = 0; x < side; ++x) {
            grain = grain * 1103515245 + 12345;
            const double wave = std::sin(x * 0.013) * std::cos(y * 0.021);
            const auto red = static_cast<uint32_t>(127 + 100 * wave + (grain >> 28));
            const auto green = static_cast<uint32_t>((x ^ y) & 0xFF);
            const auto blue = static_cast<uint32_t>(255 * y / side);
            image.argb[y * side + x] = static_cast<uint32_t>(x / 4) << 24 | red << 16 | green << 8 | blue;
        }
    return image;
}

double medianSeconds(int repetitions, const std::function<void()>& work) {
    std::vector<double> seconds;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

// Runs a command with its standard output thrown away; false if it failed.
bool runQuietly(const std::vector<std::string>& command) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> arguments;
    for (const std::string& word : command) arguments.push_back(const_cast<char*>(word.c_str()));
    arguments.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <typename Loader>
double decodeSeconds(const std::filesystem::path& file, int repetitions) {
    return medianSeconds(repetitions, [&] {
        QuietStandardOutput quiet;  // the JPEG loader prints the size there
        Loader loader;
        if (!loader.load(file.c_str())) std::fprintf(stderr, "cannot load %s\n", file.c_str());
    });
}

double referenceSeconds(const std::vector<std::string>& command, int repetitions) {
    bool failed = false;
    const double seconds = medianSeconds(repetitions, [&] { failed |= !runQuietly(command); });
    if (failed) std::fprintf(stderr, "%s failed\n", command[0].c_str());
    return seconds;
}

// Converts every row of the picture into a surface of the given bytes a pixel.
double conversionSeconds(const image_writers::Image& image, size_t bytesPerPixel,
                         void (*convert)(std::span<const uint32_t>, uint8_t*), int repetitions) {
    std::vector<uint8_t> surface(image.argb.size() * bytesPerPixel);
    return medianSeconds(repetitions, [&] {
        for (size_t row = 0; row < image.height; ++row)
            convert(std::span(image.argb).subspan(row * image.width, image.width),
                    surface.data() + row * image.width * bytesPerPixel);
    });
}

void report(const char* step, double seconds) {
    std::printf("%-28s %8.2f ms %9.1f Mpixel/s\n", step, seconds * 1e3, megapixels / seconds);
}

void compare(const char* step, double ours, const char* reference, double theirs, double target) {
    std::printf("%-28s %8.2f ms  %s %.2f ms: %.2fx (target %.1fx)\n", step, ours * 1e3, reference, theirs * 1e3,
                ours / theirs, target);
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::filesystem::path directory = std::filesystem::temp_directory_path() / "kvor-image-bench";
    std::filesystem::create_directories(directory);
    const image_writers::Image image = picture();
    image_writers::writeFile(directory / "picture24.tga", image_writers::tgaTrueColour(image, 24));
    image_writers::writeFile(directory / "picture32.tga", image_writers::tgaTrueColour(image, 32));
    image_writers::writeFile(directory / "picture.jpg",
                             image_writers::jpeg(side, side, image_writers::rgbSamples(image), 3, 90));
    image_writers::writeFile(directory / "picture.zkv",
                             image_writers::gzip(image_writers::zkvBody(image, 32, true), 6));

    std::printf("1024 x 1024, median of %d runs\n", repetitions);
    report("TGA 24 decode", decodeSeconds<TgaLoader>(directory / "picture24.tga", repetitions));
    report("TGA 32 decode", decodeSeconds<TgaLoader>(directory / "picture32.tga", repetitions));
    const double jpeg = decodeSeconds<JpegLoader>(directory / "picture.jpg", repetitions);
    report("JPEG decode", jpeg);
    const double zkv = decodeSeconds<ZkvLoader>(directory / "picture.zkv", repetitions);
    report("zkv (32 + alpha) decode", zkv);
    const double unpack = medianSeconds(repetitions, [&] { ZkvLoader().unpack((directory / "picture.zkv").c_str()); });
    report("zkv unpack", unpack);

    report("convert to RGB555", conversionSeconds(image, 2, convertToRgb555, repetitions));
    report("convert to RGB565", conversionSeconds(image, 2, convertToRgb565, repetitions));
    report("convert to ARGB4444", conversionSeconds(image, 2, convertToArgb4444, repetitions));
    report("copy to 32-bit", conversionSeconds(image, 4, copyArgb32, repetitions));

    const std::string jpegFile = directory / "picture.jpg", zkvFile = directory / "picture.zkv";
    compare("JPEG decode / djpeg", jpeg, "djpeg", referenceSeconds({"djpeg", jpegFile}, repetitions), 1.3);
    compare("zkv unpack / gzip -dc", unpack, "gzip -dc", referenceSeconds({"gzip", "-dc", zkvFile}, repetitions), 1.5);
    std::filesystem::remove_all(directory);
    return 0;
}
