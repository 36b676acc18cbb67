// kvor-inspect image as a content maker runs it, checked against ImageMagick
// and sha256sum on files it has never seen.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <regex>

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

std::string field(const std::string& json, const std::string& name) {
    std::smatch match;
    const std::regex pattern("\"" + name + "\":(\"[^\"]*\"|[a-z0-9]+)");
    return std::regex_search(json, match, pattern) ? match[1].str() : "<absent>";
}

// Odd sizes, so that a row or stride mistake cannot hide.
Image randomImage(uint32_t seed, bool alpha) {
    std::mt19937 random(seed);
    Image image{37, 23, std::vector<uint32_t>(37 * 23)};
    for (uint32_t& pixel : image.argb) pixel = random() & (alpha ? 0xFFFFFFFF : 0x00FFFFFF);
    return image;
}

struct Reference {
    const char* name;
    const char* loader;
    int depth;
    bool hasAlpha;
    Bytes file;
    Bytes expectedBgra;  // empty: ImageMagick's decoding, with alpha 0 unless the format stores one
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
        {"true.tga", "tga", 24, false, image_writers::tgaTrueColour(colour, 24), {}},
        {"alpha.tga", "tga", 32, true, image_writers::tgaTrueColour(translucent, 32), {}},
        {"mapped.tga", "tga", 8, false, image_writers::tgaColourMapped(37, 23, indices, palette), {}},
        {"photo.jpg", "jpeg", 24, false, image_writers::jpeg(37, 23, image_writers::rgbSamples(colour), 3, 85), {}},
        {"grey.jpg", "jpeg", 24, false, image_writers::jpeg(37, 23, Bytes(indices), 1, 90), {}},
        {"glass.zkv", "zkv", 32, true, image_writers::gzip(image_writers::zkvBody(translucent, 32, true), 9),
         bgraOf(translucent.argb)},
        {"panel.zkv", "zkv", 16, true, image_writers::gzip(image_writers::zkvBody(translucent, 16, true), 6),
         bgraOf(sixteen)},
    };
}

}  // namespace

TEST(InspectImage, AgreesWithReferenceDecodersPixelForPixel) {
    if (!std::filesystem::exists(imageMagick)) GTEST_SKIP() << "ImageMagick (" << imageMagick << ") is not installed";
    for (const Reference& reference : references()) {
        ScratchDirectory directory;
        image_writers::writeFile(directory / reference.name, reference.file);
        Bytes expected = reference.expectedBgra;
        if (expected.empty()) expected = imageMagickBgra(directory / reference.name);
        if (!reference.hasAlpha) expected = withAlpha(expected, 0);
        ASSERT_EQ(expected.size(), 37u * 23u * 4u) << reference.name;

        const ToolRun run = inspect(std::string("image ") + reference.name + " --png out.png", directory);
        ASSERT_EQ(run.status, 0) << reference.name << ": " << run.errors;
        EXPECT_EQ(field(run.output, "file"), std::string("\"") + reference.name + "\"");
        EXPECT_EQ(field(run.output, "loader"), std::string("\"") + reference.loader + "\"") << reference.name;
        EXPECT_EQ(field(run.output, "width") + "x" + field(run.output, "height"), "37x23") << reference.name;
        EXPECT_EQ(field(run.output, "depth"), std::to_string(reference.depth)) << reference.name;
        EXPECT_EQ(field(run.output, "hasAlpha"), reference.hasAlpha ? "true" : "false") << reference.name;
        EXPECT_EQ(field(run.output, "argbSha256"), "\"" + sha256sum(expected, directory) + "\"") << reference.name;
        EXPECT_TRUE(imageMagickBgra(directory / "out.png") == expected) << reference.name << ": PNG differs";
    }
}

TEST(InspectImage, OpacityIsStampedAsTheEngineDoes) {
    if (!std::filesystem::exists(imageMagick)) GTEST_SKIP() << "ImageMagick (" << imageMagick << ") is not installed";
    ScratchDirectory directory;
    image_writers::writeFile(directory / "wall.tga", image_writers::tgaTrueColour(randomImage(3, false), 24));
    struct Case {
        const char* opacity;
        const char* hasAlpha;
        uint8_t alpha;
    };
    for (const Case& c : {Case{"0.5", "true", 0x80}, Case{"1", "false", 0x00}, Case{"-2", "false", 0x00}}) {
        const ToolRun run = inspect(std::string("image wall.tga --png out.png --opacity ") + c.opacity, directory);
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(field(run.output, "hasAlpha"), c.hasAlpha) << c.opacity;
        const Bytes png = imageMagickBgra(directory / "out.png");
        EXPECT_TRUE(png == withAlpha(png, c.alpha)) << c.opacity;
    }
}

TEST(InspectImage, LogGoesOnlyWhereAskedAndNothingIsWrittenInTheWorkingDirectory) {
    ScratchDirectory directory, elsewhere;
    const Bytes body = image_writers::zkvBody(randomImage(5, true), 32, true);
    image_writers::writeFile(directory / "glass.zkv", image_writers::gzip(body, 9));
    ASSERT_EQ(inspect("image glass.zkv", directory).status, 0);
    ASSERT_EQ(inspect("image glass.zkv --log " + quoted(elsewhere / "kvorlog.txt"), directory).status, 0);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(directory.path()))
        left.push_back(entry.path().filename());
    EXPECT_THAT(left, testing::ElementsAre("glass.zkv"));
    EXPECT_THAT(readFile(elsewhere / "kvorlog.txt"),
                testing::MatchesRegex("kvor launched the .*\n\nuncompressing zkv File\n23 3732\n37 23\n"
                                      "bon la on quitte ce foutoir\n"));
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
        {"", 2, "expected one FILE\n"},
        {"a.tga b.tga", 2, "expected one FILE\n"},
        {"a.tga --size 3", 2, "unknown option --size\n"},
        {"a.tga --opacity half", 2, "--opacity needs a number, not half\n"},
        {"a.tga --png", 2, "option --png needs a value\n"},
    };
    for (const Case& c : cases) {
        const ToolRun run = inspect(std::string("image ") + c.arguments, directory);
        EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.errors;
        EXPECT_THAT(run.errors, HasSubstr(c.message)) << c.arguments;
    }
    EXPECT_EQ(inspect("", directory).status, 2);
    EXPECT_THAT(inspect("scene x.kvs", directory).errors, HasSubstr("unknown subcommand scene"));
}

TEST(InspectImage, TruncatedFilesOfEveryKindNeverCrashTheTool) {
    for (const Reference& reference : references()) {
        ScratchDirectory directory;
        for (size_t length :
             {size_t{0}, size_t{5}, size_t{17}, size_t{40}, reference.file.size() / 2, reference.file.size() - 1}) {
            image_writers::writeFile(directory / reference.name,
                                     Bytes(reference.file.begin(), reference.file.begin() + length));
            const ToolRun run = inspect(std::string("image ") + reference.name, directory);
            EXPECT_TRUE(run.status == 0 || run.status == 1 || run.status == 255)
                << reference.name << " cut at " << length << ": status " << run.status << " " << run.errors;
        }
    }
}
