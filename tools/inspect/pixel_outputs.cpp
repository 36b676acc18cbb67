#include "tools/inspect/pixel_outputs.h"

#include <glib.h>
#include <png.h>

#include <memory>
#include <vector>

namespace {

// Blue, green, red, alpha a pixel, whatever the machine's byte order.
std::vector<uint8_t> littleEndianPixels(const ImageLoader& image) {
    std::vector<uint8_t> bytes;
    bytes.reserve(image.pixelCount() * 4);
    for (size_t i = 0; i < image.pixelCount(); ++i)
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(image.pixels[i] >> shift));
    return bytes;
}

struct ChecksumFree {
    void operator()(GChecksum* checksum) const { g_checksum_free(checksum); }
};

}  // namespace

std::string argbSha256(const ImageLoader& image) {
    const std::vector<uint8_t> bytes = littleEndianPixels(image);
    std::unique_ptr<GChecksum, ChecksumFree> checksum(g_checksum_new(G_CHECKSUM_SHA256));
    g_checksum_update(checksum.get(), bytes.data(), static_cast<gssize>(bytes.size()));
    return g_checksum_get_string(checksum.get());
}

bool writeRgbaPng(const std::filesystem::path& path, const ImageLoader& image, std::string& error) {
    if (image.pixelCount() == 0) {
        error = "the image is empty";
        return false;
    }
    png_image description{};
    description.version = PNG_IMAGE_VERSION;
    description.width = image.width;
    description.height = image.height;
    description.format = PNG_FORMAT_BGRA;  // the byte order of littleEndianPixels
    const std::vector<uint8_t> bytes = littleEndianPixels(image);
    if (png_image_write_to_file(&description, path.c_str(), 0, bytes.data(), 0, nullptr)) return true;
    error = description.message;
    png_image_free(&description);
    return false;
}
