// kvor-inspect image as a content maker runs it, checked against ImageMagick
// and sha256sum on files it has never seen.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "tests/support/test_support.h"
#include "tools/image_writers/image_writers.h"

using image_writers::Bytes;
using image_writers::Image;
using testing::HasSubstr;
using testing_support::readFile;
using testing_support::ScratchDirectory;

namespace {

const char imageMagick[] = "/usr/bin/convert";

struct ToolRun {
    int status;  // -1 when the tool died of a signal
    std::string output;
    std::string errors;
};

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// Runs kvor-inspect with the arguments in directory, its working directory.
ToolRun inspect(const std::string& arguments, const ScratchDirectory& directory) {
    const auto output = directory / "stdout.txt", errors = directory / "stderr.txt";
    const std::string command = "cd " + quoted(directory.path()) + " && " + quoted(KVOR_INSPECT) + " " + arguments +
                                " >" + quoted(output) + " 2>" + quoted(errors) + " </dev/null";
    const int raw = std::system(command.c_str());
    ToolRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(output), readFile(errors)};
    std::filesystem::remove(output);
    std::filesystem::remove(errors);
    return run;
}

Bytes commandOutput(const std::string& command) {
    Bytes bytes;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return bytes;
    uint8_t chunk[65536];
    for (size_t count; (count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + count);
    pclose(pipe);
    return bytes;
}

// ImageMagick's decoding: blue, green, red, alpha bytes, row 0 first. It keeps
// a TGA's bottom-first rows as stored and only records the orientation, hence
// -auto-orient.
Bytes imageMagickBgra(const std::filesystem::path& file) {
    return commandOutput(std::string(imageMagick) + " " + quoted(file) + " -auto-orient -depth 8 bgra:-");
}

std::string sha256sum(const Bytes& bytes, const ScratchDirectory& directory) {
    const auto file = directory / "hashed.bin";
    image_writers::writeFile(file, bytes);
    const Bytes line = commandOutput("sha256sum " + quoted(file));
    std::filesystem::remove(file);
    return std::string(line.begin(), line.begin() + std::min<size_t>(64, line.size()));
}

Bytes withAlpha(Bytes bgra, uint8_t alpha) {
    for (size_t i = 3; i < bgra.size(); i += 4) bgra[i] = alpha;
    return bgra;
}

Bytes bgraOf(const std::vector<uint32_t>& argb) {
    Bytes bytes;
    for (uint32_t pixel : argb)
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(pixel >> shift));
    return bytes;
}

// Odd sizes, so that a row or stride mistake cannot hide.
Image randomImage(uint32_t seed, bool alpha) {
    std::mt19937 random(seed);
    Image image{37, 23, std::vector<uint32_t>(37 * 23)};
    for (uint32_t& pixel : image.argb) pixel = random() & (alpha ? 0xFFFFFFFF : 0x00FFFFFF);
    return image;
}

constexpr int storedAlpha = -1;

struct Reference {
    const char* name;
    const char* options;
    const char* loader;
    int depth;
    int alpha;  // storedAlpha, or the value every pixel must have
    Bytes file;
    Bytes expectedBgra;  // empty: ImageMagick's decoding
};

std::vector<Reference> references() {
    std::mt19937 random(4);
    std::vector<uint8_t> indices(37 * 23);
    for (uint8_t& index : indices) index = static_cast<uint8_t>(random());
    std::vector<uint32_t> palette(256);
    for (uint32_t& colour : palette) colour = random() & 0x00FFFFFF;
    const Image colour = randomImage(1, false), translucent = randomImage(2, true);
    std::vector<uint32_t> sixteen = translucent.argb;
    for (uint32_t& pixel : sixteen) pixel &= 0xFFF8F8F8;
    return {
        {"true.tga", "", "tga", 24, 0, image_writers::tgaTrueColour(colour, 24), {}},
        {"stamped.bmp", "--opacity 0.5", "tga", 24, 0x80, image_writers::tgaTrueColour(colour, 24),
         bgraOf(colour.argb)},
        {"alpha.tga", "", "tga", 32, storedAlpha, image_writers::tgaTrueColour(translucent, 32), {}},
        {"opaque.tga", "--opacity 1", "tga", 32, 0, image_writers::tgaTrueColour(translucent, 32), {}},
        {"mapped.tga", "", "tga", 8, 0, image_writers::tgaColourMapped(37, 23, indices, palette), {}},
        {"photo.jpg", "", "jpeg", 24, 0, image_writers::jpeg(37, 23, image_writers::rgbSamples(colour), 3, 85), {}},
        {"grey.jpg", "", "jpeg", 24, 0, image_writers::jpeg(37, 23, Bytes(indices), 1, 90), {}},
        {"glass.zkv", "", "zkv", 32, storedAlpha, image_writers::gzip(image_writers::zkvBody(translucent, 32, true), 9),
         bgraOf(translucent.argb)},
        {"panel.zkv", "--opacity 0.5", "zkv", 16, 0x80,  // the tool stamps any image; the engine never a zkv
         image_writers::gzip(image_writers::zkvBody(translucent, 16, true), 6), bgraOf(sixteen)},
    };
}

}  // namespace

TEST(InspectImage, AgreesWithReferenceDecodersPixelForPixelLoggingOnlyWhereAsked) {
    if (!std::filesystem::exists(imageMagick)) GTEST_SKIP() << "ImageMagick (" << imageMagick << ") is not installed";
    for (const Reference& reference : references()) {
        ScratchDirectory directory;
        image_writers::writeFile(directory / reference.name, reference.file);
        Bytes expected = reference.expectedBgra;
        if (expected.empty()) expected = imageMagickBgra(directory / reference.name);
        if (reference.alpha != storedAlpha) expected = withAlpha(expected, static_cast<uint8_t>(reference.alpha));
        ASSERT_EQ(expected.size(), 37u * 23u * 4u) << reference.name;

        const std::string log = directory / "log" / "kvorlog.txt";
        std::filesystem::create_directory(directory / "log");
        const ToolRun run = inspect(
            std::string("image ") + reference.name + " --png out.png --log " + quoted(log) + " " + reference.options,
            directory);
        ASSERT_EQ(run.status, 0) << reference.name << ": " << run.errors;
        const std::string hasAlpha = reference.alpha == 0 ? "false" : "true";
        EXPECT_EQ(run.output, std::string("{\"file\":\"") + reference.name + "\",\"loader\":\"" + reference.loader +
                                  "\",\"width\":37,\"height\":23,\"depth\":" + std::to_string(reference.depth) +
                                  ",\"hasAlpha\":" + hasAlpha + ",\"argbSha256\":\"" + sha256sum(expected, directory) +
                                  "\"}\n");
        EXPECT_TRUE(imageMagickBgra(directory / "out.png") == expected) << reference.name << ": PNG differs";
        EXPECT_THAT(readFile(log), testing::StartsWith("kvor launched the ")) << reference.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), {}), 3);  // file, PNG, log
    }
}

TEST(InspectImage, BadInputIsAClearMessageAndAStatusNeverACrash) {
    ScratchDirectory directory;
    image_writers::writeFile(directory / "text.jpg", Bytes{'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});
    image_writers::writeFile(directory / "empty.tga", Bytes(18, 0));
    Bytes damaged = image_writers::gzip(Bytes(100, 7), 9);
    damaged.resize(damaged.size() - 3);
    image_writers::writeFile(directory / "damaged.zkv", damaged);
    struct Case {
        const char* arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"absent.tga", 1, "kvor-inspect image: cannot open absent.tga\n"},
        {"photo.jpeg", 1, "photo.jpeg: unrecognized file format"},
        {"text.jpg", 1, "text.jpg: not an image this loader can decode\n"},
        {"empty.tga --png out.png", 1, "cannot write out.png: the image is empty\n"},
        {"damaged.zkv", 255, "error!: error while reading a zkv file\n"},
        {"a.tga b.tga", 2, "expected one FILE\n"},
        {"a.tga --size 3", 2, "unknown option --size\n"},
        {"a.tga --opacity half", 2, "--opacity needs a number, not half\n"},
    };
    for (const Case& c : cases) {
        const ToolRun run = inspect(std::string("image ") + c.arguments, directory);
        EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.errors;
        EXPECT_THAT(run.errors, HasSubstr(c.message)) << c.arguments;
    }
    EXPECT_EQ(inspect("", directory).status, 2);
    EXPECT_THAT(inspect("picture x.tga", directory).errors, HasSubstr("unknown subcommand picture"));
}
