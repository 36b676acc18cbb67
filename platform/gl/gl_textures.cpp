#include "platform/gl/gl_textures.h"

#include <cstring>
#include <optional>

#include "platform/ddraw/pixel_formats.h"

namespace platform {

namespace {

// How a texture goes to GL: the layout the engine's texels are converted to
// and the GL names of it. D3D's 16- and 32-bit layouts are little-endian words
// with alpha (or an unused bit) on top; OpenGL ES has neither BGRA nor the
// reversed packed types, so the texels are rearranged into the RGBA orders
// both APIs share, and a texture without alpha bits gets opaque ones.
enum class Conversion { none, xrgb1555, argb1555, argb4444, argb8888, xrgb8888 };

struct GlLayout {
    GLint internalFormat;
    GLenum format;
    GLenum type;
    Conversion conversion;
};

std::optional<GlLayout> layoutOf(const DDPIXELFORMAT& format) {
    if (samePixelFormat(format, rgb565Format()))
        return GlLayout{GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, Conversion::none};
    if (samePixelFormat(format, rgb555Format()))
        return GlLayout{GL_RGB5_A1, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, Conversion::xrgb1555};
    if (samePixelFormat(format, argb4444Format()))
        return GlLayout{GL_RGBA4, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, Conversion::argb4444};
    if (samePixelFormat(format, argb1555Format()))
        return GlLayout{GL_RGB5_A1, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, Conversion::argb1555};
    if (samePixelFormat(format, argb8888Format()))
        return GlLayout{GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, Conversion::argb8888};
    if (samePixelFormat(format, xrgb8888Format()))
        return GlLayout{GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, Conversion::xrgb8888};
    return std::nullopt;
}

// One 16-bit texel, alpha moved from the top bits to the bottom ones.
uint16_t converted16(uint16_t texel, Conversion conversion) {
    switch (conversion) {
        case Conversion::xrgb1555: return uint16_t(texel << 1 | 1);
        case Conversion::argb1555: return uint16_t(texel << 1 | texel >> 15);
        case Conversion::argb4444: return uint16_t(texel << 4 | texel >> 12);
        default: return texel;
    }
}

// The surface's rows (lPitch bytes apart) as tightly packed texels of the layout.
std::vector<uint8_t> texelsOf(const SurfaceStore& store, Conversion conversion) {
    const DDSURFACEDESC2& description = store.description;
    const size_t width = description.dwWidth, height = description.dwHeight;
    const size_t texelBytes = description.ddpfPixelFormat.dwRGBBitCount / 8;
    std::vector<uint8_t> texels(width * height * texelBytes);
    for (size_t row = 0; row < height; ++row) {
        const uint8_t* source = store.pixels.data() + row * size_t(description.lPitch);
        uint8_t* out = texels.data() + row * width * texelBytes;
        for (size_t column = 0; column < width; ++column, source += texelBytes, out += texelBytes) {
            if (texelBytes == 2) {
                uint16_t texel = converted16(uint16_t(source[0] | source[1] << 8), conversion);
                std::memcpy(out, &texel, 2);
                continue;
            }
            out[0] = source[2];  // B, G, R, A in memory become R, G, B, A
            out[1] = source[1];
            out[2] = source[0];
            out[3] = conversion == Conversion::xrgb8888 ? 0xFF : source[3];
        }
    }
    return texels;
}

struct Sampling {
    GLint magnify, minify, wrapS, wrapT;
    bool operator==(const Sampling&) const = default;
};

GLint wrapOf(DWORD address) {
    switch (address) {
        case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
        case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
        default: return GL_REPEAT;
    }
}

// No mipmaps: the minification filter is point or linear on the base level.
Sampling samplingOf(const std::array<DWORD, D3D_MAXTEXTURESTAGESTATES>& stage) {
    GLint magnify = stage[D3DTSS_MAGFILTER] == D3DTFG_POINT ? GL_NEAREST : GL_LINEAR;
    GLint minify = stage[D3DTSS_MINFILTER] == D3DTFN_POINT ? GL_NEAREST : GL_LINEAR;
    return Sampling{magnify, minify, wrapOf(stage[D3DTSS_ADDRESSU]), wrapOf(stage[D3DTSS_ADDRESSV])};
}

class GlTexture final : public SurfaceResource {
public:
    explicit GlTexture(std::weak_ptr<GlContext> context) : context(std::move(context)) { glGenTextures(1, &name); }
    ~GlTexture() override {
        std::shared_ptr<GlContext> alive = context.lock();
        if (alive == nullptr) return;  // the context took its textures with it
        alive->makeCurrent();
        glDeleteTextures(1, &name);
    }

    void upload(const SurfaceStore& store) {
        const DDSURFACEDESC2& description = store.description;
        std::optional<GlLayout> layout = layoutOf(description.ddpfPixelFormat);
        if (!layout) return;
        const std::vector<uint8_t> texels = texelsOf(store, layout->conversion);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, layout->internalFormat, description.dwWidth, description.dwHeight, 0,
                     layout->format, layout->type, texels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        revision = store.revision;
        uploaded = true;
    }

    void bringUpToDate(const SurfaceStore& store) {
        if (!uploaded || revision != store.revision) upload(store);
    }

    void bind(const SurfaceStore& store, const Sampling& wanted) {
        bringUpToDate(store);
        glBindTexture(GL_TEXTURE_2D, name);
        if (sampling == wanted) return;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, wanted.magnify);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, wanted.minify);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wanted.wrapS);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wanted.wrapT);
        sampling = wanted;
    }

private:
    std::weak_ptr<GlContext> context;
    GLuint name = 0;
    uint64_t revision = 0;
    bool uploaded = false;
    std::optional<Sampling> sampling;
};

}  // namespace

std::vector<DDPIXELFORMAT> glTextureFormats() {
    return {rgb565Format(), rgb555Format(), argb4444Format(), argb1555Format(), argb8888Format(), xrgb8888Format()};
}

static GlTexture& textureOf(SurfaceStore& store, const std::shared_ptr<GlContext>& context) {
    auto* texture = dynamic_cast<GlTexture*>(store.resource.get());
    if (texture != nullptr) return *texture;
    auto created = std::make_shared<GlTexture>(context);
    texture = created.get();
    store.resource = std::move(created);
    return *texture;
}

void uploadTexture(SurfaceStore& store, const std::shared_ptr<GlContext>& context) {
    textureOf(store, context).bringUpToDate(store);
}

void bindTexture(SurfaceStore& store, const std::array<DWORD, D3D_MAXTEXTURESTAGESTATES>& stage,
                 const std::shared_ptr<GlContext>& context, bool smooth) {
    Sampling sampling = samplingOf(stage);
    if (smooth) sampling.magnify = sampling.minify = GL_LINEAR;
    textureOf(store, context).bind(store, sampling);
}

}  // namespace platform
