// Materials that name textures: each loads a surface of its own on the display.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/displayed_scene_files.h"
#include "tools/image_writers/image_writers.h"

using testing::HasSubstr;
using testing_support::emptyFile;

namespace {

class TexturedScene : public testing_support::DisplayedSceneFileTest {};

TEST_F(TexturedScene, EveryMaterialLoadsATextureOfItsOwn) {
    kvs::SceneFile file = emptyFile(2);
    kvs::Material shiny;
    shiny.transparency = 0.003f;
    shiny.textureNames = {"maps\\rock.tga"};
    kvs::Material glass;
    glass.transparency = 0.2f;
    glass.textureNames = {"maps\\rock.tga", "ignored.tga"};
    kvs::Material packed;
    packed.textureNames = {"Rock.ZKV"};
    kvs::MaterialSet single{{packed}, 0};  // stored count 0 still holds one material
    file.materialSets = {{{shiny, glass}, std::nullopt}, single};
    writeTexture("maps\\rock.tga");
    writeTexture("Rock.ZKV");
    load(file);
    MaterialLibrary& library = *scene->materials;
    ASSERT_EQ(library.setCount, 2);
    ASSERT_EQ(library.sets[1]->size(), 1u);
    const Material& first = *library.material(0, 0);
    EXPECT_EQ(first.opacity, 1.0f) << "transparency under 0.004 counts as none";
    EXPECT_EQ(first.d3dMaterial.ambient.a, 0.0f);
    EXPECT_EQ(first.d3dMaterial.emissive.r, 0.0f);
    const Material& second = *library.material(0, 1);
    EXPECT_FLOAT_EQ(second.opacity, 0.8f);
    ASSERT_NE(first.texture, nullptr);
    ASSERT_NE(second.texture, nullptr);
    EXPECT_EQ(second.texture->name, "maps\\rock.tga");
    EXPECT_NE(first.texture->surface, second.texture->surface) << "one texture per material";
    DDSURFACEDESC2 opaque{}, translucent{};
    opaque.dwSize = translucent.dwSize = sizeof(DDSURFACEDESC2);
    first.texture->surface->GetSurfaceDesc(&opaque);
    second.texture->surface->GetSurfaceDesc(&translucent);
    EXPECT_EQ(opaque.ddpfPixelFormat.dwRGBAlphaBitMask, 0u) << "opacity 1 stamps no alpha";
    EXPECT_NE(translucent.ddpfPixelFormat.dwRGBAlphaBitMask, 0u) << "opacity 0.8 makes an alpha texture";
    EXPECT_EQ(library.material(1, 0)->opacity, 0.5f) << "a zkv texture, whatever its case, makes half opacity";
    EXPECT_THAT(logAfterStartLine(), HasSubstr("trying to load : maps\\rock.tga\n"));
}

TEST_F(TexturedScene, TextureNamesFindTheirFilesWhateverTheCase) {
    kvs::SceneFile file = emptyFile(2);
    kvs::MaterialSet set;
    for (const char* name : {"MAPS\\Stone.JPG", "Maps\\ROCK.tga", "rock.ZKV"}) {
        kvs::Material material;
        material.textureNames = {name};
        set.materials.push_back(material);
    }
    file.materialSets = {set};
    std::filesystem::create_directories(directory / "maps");
    image_writers::writeFile(directory / "maps" / "stone.jpg",
                             image_writers::jpeg(2, 2, image_writers::Bytes(12, 0x80), 3, 100));
    writeTexture("maps\\rock.tga");
    writeTexture("ROCK.zkv");
    testing::internal::CaptureStdout();  // the JPEG loader prints the size it read
    load(file);
    testing::internal::GetCapturedStdout();
    for (int sub = 0; sub < 3; ++sub) {
        const Material& material = *scene->materials->material(0, sub);
        ASSERT_NE(material.texture, nullptr) << sub;
        DDSURFACEDESC2 description{};
        description.dwSize = sizeof description;
        ASSERT_EQ(material.texture->surface->GetSurfaceDesc(&description), DD_OK) << sub;
        EXPECT_EQ(description.dwWidth, 2u) << material.texture->name;
    }
}

}  // namespace
