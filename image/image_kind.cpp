#include "image/image_kind.h"

#include "image/jpeg_loader.h"
#include "image/tga_loader.h"
#include "image/zkv_loader.h"

ImageKind imageKindOf(const FileName& name) {
    if (!name.extension) return ImageKind::unrecognized;
    const std::string& extension = *name.extension;
    if (extension == "tga" || extension == "bmp") return ImageKind::tga;
    if (extension == "zkv") return ImageKind::zkv;
    if (extension == "jpg") return ImageKind::jpeg;
    return ImageKind::unrecognized;
}

std::unique_ptr<ImageLoader> makeLoader(ImageKind kind) {
    switch (kind) {
        case ImageKind::tga: return std::make_unique<TgaLoader>();
        case ImageKind::zkv: return std::make_unique<ZkvLoader>();
        case ImageKind::jpeg: return std::make_unique<JpegLoader>();
        case ImageKind::unrecognized: break;
    }
    return nullptr;
}
