#include "platform/gl/gl_textures.h"

#include "platform/ddraw/pixel_formats.h"

namespace platform {

namespace {

struct GlLayout {
    GLint internalFormat;
    GLenum format;
    GLenum type;
    bool opaque;  // no alpha bits: the texture reads alpha 1
};

// D3D's 16- and 32-bit layouts are little-endian words with alpha (or an
// unused bit) on top, which GL calls BGRA with a reversed packed type.
std::optional<GlLayout> layoutOf(const DDPIXELFORMAT& format) {
    if (samePixelFormat(format, rgb565Format())) return GlLayout{GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, false};
    if (samePixelFormat(format, rgb555Format())) return GlLayout{GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, true};
    if (samePixelFormat(format, argb4444Format()))
        return GlLayout{GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, false};
    if (samePixelFormat(format, argb1555Format()))
        return GlLayout{GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, false};
    if (samePixelFormat(format, argb8888Format()))
        return GlLayout{GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, false};
    if (samePixelFormat(format, xrgb8888Format())) return GlLayout{GL_RGB8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, true};
    return std::nullopt;
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
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, description.lPitch / (description.ddpfPixelFormat.dwRGBBitCount / 8));
        glTexImage2D(GL_TEXTURE_2D, 0, layout->internalFormat, description.dwWidth, description.dwHeight, 0,
                     layout->format, layout->type, store.pixels.data());
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, layout->opaque ? GL_ONE : GL_ALPHA);
        revision = store.revision;
        uploaded = true;
    }

    void bind(const SurfaceStore& store, const Sampling& wanted) {
        if (!uploaded || revision != store.revision) upload(store);
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

void bindTexture(SurfaceStore& store, const std::array<DWORD, D3D_MAXTEXTURESTAGESTATES>& stage,
                 const std::shared_ptr<GlContext>& context, bool smooth) {
    auto* texture = dynamic_cast<GlTexture*>(store.resource.get());
    if (texture == nullptr) {
        auto created = std::make_shared<GlTexture>(context);
        texture = created.get();
        store.resource = std::move(created);
    }
    Sampling sampling = samplingOf(stage);
    if (smooth) sampling.magnify = sampling.minify = GL_LINEAR;
    texture->bind(store, sampling);
}

}  // namespace platform
