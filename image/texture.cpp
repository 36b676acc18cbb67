#include "image/texture.h"

#include "base/fatal.h"
#include "base/log.h"
#include "image/file_bytes.h"
#include "image/file_name.h"
#include "image/image_kind.h"
#include "image/texture_surface.h"
#include "platform/win32.h"

Texture::~Texture() {
    if (surface != nullptr) surface->Release();
}

// A JPEG is opened by its lower-cased base name, from the current directory.
// Data laid out in folders has none there: then the name with its directory.
const char* Texture::jpegFile(const FileName& parts) const {
    if (parts.directory && !openImageFile(parts.baseName->c_str(), "rb")) return name.c_str();
    return parts.baseName->c_str();
}

void Texture::load(float opacity) {
    const FileName parts(name.c_str());
    logFormat("trying to load : %s\n", name.c_str());
    const ImageKind kind = imageKindOf(parts);
    const char* file = name.c_str();
    switch (kind) {
        case ImageKind::tga: OutputDebugStringA("reading TGA file \n"); break;
        case ImageKind::zkv:
            OutputDebugStringA("reading Zkv file \n");
            OutputDebugStringA(parts.path->c_str());
            break;
        case ImageKind::jpeg:
            OutputDebugStringA("reading a jpg file \n");
            OutputDebugStringA(parts.baseName->c_str());
            file = jpegFile(parts);
            break;
        case ImageKind::unrecognized:
            logWrite2(name.c_str(), " has an unrecognized file format");
            fatalMessage("Bad File format");
    }
    const std::unique_ptr<ImageLoader> loader = makeLoader(kind);
    // A file that cannot be opened leaves the loader empty: the 0 x 0 surface
    // request then stops the program.
    loader->load(file);
    if (kind != ImageKind::zkv) loader->setAlpha(opacity);  // a zkv keeps its own alpha plane
    if (surface != nullptr) surface->Release();
    surface = createTexture(*loader);
}
