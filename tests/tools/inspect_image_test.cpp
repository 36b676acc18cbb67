// kvor-inspect image as a content maker runs it, checked with ImageMagick and
// sha256sum on files it has never seen.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"
#include "tools/image_writers/image_writers.h"

using image_writers::Bytes;
using image_writers::Image;
using testing::HasSubstr;
using testing_support::CommandRun;
using testing_support::quoted;
using testing_support::readFile;
using testing_support::runIn;
using testing_support::ScratchDirectory;

namespace {

const char imageMagick[] = "/usr/bin/convert";

CommandRun inspect(const std::string& arguments, const ScratchDirectory& directory) {
    return runIn(directory.path(), quoted(KVOR_INSPECT) + " image " + arguments);
}

// SHA-256 of ImageMagick's decoding as blue, green, red, alpha bytes, row 0
// first. ImageMagick keeps a TGA's bottom-first rows and only records their
// orientation, hence -auto-orient; an image without alpha is given alpha 0.
std::string referenceSha256(const std::string& file, bool alpha, const ScratchDirectory& directory) {
    const std::string clearAlpha = alpha ? "" : " -alpha set -channel A -evaluate set 0 +channel";
    const std::string command = std::string(imageMagick) + " " + quoted(file) + " -auto-orient" + clearAlpha +
                                " -depth 8 bgra:- | sha256sum | head -c64";
    return runIn(directory.path(), command).output;
}

// Odd sizes, so that a row or stride mistake cannot hide.
Image randomImage(uint32_t seed, uint32_t mask) {
    std::mt19937 random(seed);
    Image image{37, 23, std::vector<uint32_t>(37 * 23)};
    for (uint32_t& pixel : image.argb) pixel = random() & mask;
    return image;
}

struct Reference {
    const char* name;
    const char* options;
    const char* loader;
    int depth;
    bool alpha;
    Bytes file;
    Bytes twin;  // a TGA of the pixels expected, for what ImageMagick cannot read; empty: the file itself
};

std::vector<Reference> references() {
    std::vector<uint8_t> indices(37 * 23);
    std::mt19937 random(4);
    for (uint8_t& index : indices) index = static_cast<uint8_t>(random());
    const std::vector<uint32_t> palette = randomImage(3, 0xFFFFFF).argb;
    const Image colour = randomImage(1, 0xFFFFFF), translucent = randomImage(2, 0xFFFFFFFF);
    const Image sixteen = randomImage(2, 0xFFF8F8F8);  // the colour bits a 16-bit body keeps
    Image stamped = colour;
    for (uint32_t& pixel : stamped.argb) pixel |= 0x80000000;  // what --opacity 0.5 makes of it
    using namespace image_writers;
    return {
        {"true.tga", "", "tga", 24, false, tgaTrueColour(colour, 24), {}},
        {"stamped.bmp", "--opacity 0.5", "tga", 24, true, tgaTrueColour(colour, 24), tgaTrueColour(stamped, 32)},
        {"alpha.tga", "", "tga", 32, true, tgaTrueColour(translucent, 32), {}},
        {"mapped.tga", "", "tga", 8, false, tgaColourMapped(37, 23, indices, palette), {}},
        {"photo.jpg", "", "jpeg", 24, false, jpeg(37, 23, rgbSamples(colour), 3, 85), {}},
        {"glass.zkv", "", "zkv", 32, true, gzip(zkvBody(translucent, 32, true), 9), tgaTrueColour(translucent, 32)},
        {"panel.zkv", "", "zkv", 16, true, gzip(zkvBody(translucent, 16, true), 6), tgaTrueColour(sixteen, 32)},
    };
}

}  // namespace

TEST(InspectImage, AgreesWithImageMagickPixelForPixelLoggingOnlyWhereAsked) {
    if (!std::filesystem::exists(imageMagick)) GTEST_SKIP() << "ImageMagick (" << imageMagick << ") is not installed";
    for (const Reference& reference : references()) {
        ScratchDirectory directory, elsewhere;
        image_writers::writeFile(directory / reference.name, reference.file);
        if (!reference.twin.empty()) image_writers::writeFile(elsewhere / "twin.tga", reference.twin);
        const std::string expected = referenceSha256(
            reference.twin.empty() ? reference.name : (elsewhere / "twin.tga").string(), reference.alpha, directory);
        const std::string log = elsewhere / "kvorlog.txt";
        const CommandRun run = inspect(
            std::string(reference.name) + " --png out.png --log " + quoted(log) + " " + reference.options, directory);
        ASSERT_EQ(run.status, 0) << reference.name << ": " << run.errors;
        EXPECT_EQ(run.output, std::string("{\"file\":\"") + reference.name + "\",\"loader\":\"" + reference.loader +
                                  "\",\"width\":37,\"height\":23,\"depth\":" + std::to_string(reference.depth) +
                                  ",\"hasAlpha\":" + (reference.alpha ? "true" : "false") + ",\"argbSha256\":\"" +
                                  expected + "\"}\n");
        EXPECT_EQ(referenceSha256("out.png", true, directory), expected) << reference.name << ": the PNG differs";
        EXPECT_THAT(readFile(log), testing::StartsWith("kvor launched the ")) << reference.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), {}), 2);  // file and PNG
    }
}

TEST(InspectImage, BadInputIsAClearMessageAndAStatusNeverACrash) {
    ScratchDirectory directory;
    image_writers::writeFile(directory / "text.jpg", Bytes{'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});
    image_writers::writeFile(directory / "empty.tga", Bytes(18, 0));
    Bytes damaged = image_writers::gzip(Bytes(100, 7), 9);
    damaged.resize(damaged.size() - 3);
    image_writers::writeFile(directory / "damaged.zkv", damaged);
    const std::tuple<const char*, int, const char*> cases[] = {
        {"absent.tga", 1, "kvor-inspect image: cannot open absent.tga\n"},
        {"photo.jpeg", 1, "photo.jpeg: unrecognized file format"},
        {"text.jpg", 1, "text.jpg: not an image this loader can decode\n"},
        {"empty.tga --png out.png", 1, "cannot write out.png: the image is empty\n"},
        {"damaged.zkv", 255, "error!: error while reading a zkv file\n"},
        {"a.tga --size 3", 2, "unknown option --size\n"},
        {"a.tga --opacity half", 2, "--opacity needs a number, not half\n"},
    };
    for (const auto& [arguments, status, message] : cases) {
        const CommandRun run = inspect(arguments, directory);
        EXPECT_EQ(run.status, status) << arguments << ": " << run.errors;
        EXPECT_THAT(run.errors, HasSubstr(message)) << arguments;
    }
    EXPECT_EQ(runIn(directory.path(), quoted(KVOR_INSPECT)).status, 2);
    EXPECT_THAT(runIn(directory.path(), quoted(KVOR_INSPECT) + " picture x.tga").errors,
                HasSubstr("unknown subcommand picture"));
}
