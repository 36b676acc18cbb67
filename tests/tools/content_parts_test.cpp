// The pieces content is made of: textures that tile without a seam where the
// scenes repeat them, the floor's colour map, surfaces and their texture
// coordinates, tessellation at a level of detail.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "tools/make_datas/shapes.h"
#include "tools/make_datas/texture_painter.h"

namespace {

int channelDistance(uint32_t a, uint32_t b) {
    int largest = 0;
    for (int shift = 0; shift < 24; shift += 8)
        largest = std::max(largest, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return largest;
}

// The largest step between neighbours across the wrap, against the largest
// step inside the image: a seam shows as a jump well above the image's own.
struct Steps {
    int acrossSeam = 0, inside = 0;
};

Steps wrapSteps(const image_writers::Image& image) {
    Steps steps;
    const auto at = [&](int x, int y) {
        return image.argb[static_cast<size_t>(y) * image.width + static_cast<size_t>(x)];
    };
    for (int k = 0; k < image.width; ++k) {
        steps.acrossSeam = std::max(steps.acrossSeam, channelDistance(at(image.width - 1, k), at(0, k)));
        steps.acrossSeam = std::max(steps.acrossSeam, channelDistance(at(k, image.height - 1), at(k, 0)));
        steps.inside = std::max(steps.inside, channelDistance(at(image.width / 2, k), at(image.width / 2 + 1, k)));
        steps.inside = std::max(steps.inside, channelDistance(at(k, image.height / 2), at(k, image.height / 2 + 1)));
    }
    return steps;
}

TEST(ContentTextures, GroundAndWallTexturesTileWithoutASeam) {
    struct Case {
        const char* name;
        image_writers::Image image;
    };
    const Case cases[] = {{"grass", datas::grass(128, 0.5f)},
                          {"rock", datas::rock(128, 0.5f)},
                          {"snow", datas::snow(128, 0.5f)},
                          {"granite", datas::granite(128)}};
    for (const Case& c : cases) {
        const Steps steps = wrapSteps(c.image);
        EXPECT_LE(steps.acrossSeam, steps.inside + 8) << c.name;
    }
}

TEST(ContentTextures, LightLevelsOfAGroundGetBrighterAndStayOpaque) {
    double previous = -1.0;
    for (float light : {0.0f, 0.5f, 1.0f}) {
        const image_writers::Image image = datas::grass(32, light);
        double sum = 0.0;
        for (uint32_t pixel : image.argb) {
            sum += (pixel >> 8) & 0xFF;
            EXPECT_EQ(pixel >> 24, 0xFFu);
        }
        EXPECT_GT(sum, previous) << light;
        previous = sum;
    }
}

TEST(ContentTextures, GlassIsTranslucentInItsPanesAndOpaqueInItsLeads) {
    const image_writers::Image pane = datas::glassPane(64);
    std::set<uint32_t> alphas;
    for (uint32_t pixel : pane.argb) alphas.insert(pixel >> 24);
    EXPECT_TRUE(alphas.contains(0xFF));
    EXPECT_LT(*alphas.begin(), 0x80u);
    EXPECT_GT(*alphas.begin(), 0u);
}

TEST(ContentTextures, FloorTilesUseBothHalvesOfTheirColourMap) {
    const datas::MappedImage floor = datas::floorTiles(64);
    ASSERT_EQ(floor.palette.size(), 256u);
    ASSERT_EQ(floor.indices.size(), 64u * 64u);
    for (uint32_t colour : floor.palette) EXPECT_EQ(colour >> 24, 0u);
    // Dark entries below 128, light ones above: the checker's two marbles.
    EXPECT_LT(floor.palette[100] & 0xFF, floor.palette[128] & 0xFF);
    int light = 0;
    for (uint8_t index : floor.indices) light += index >= 128 ? 1 : 0;
    EXPECT_EQ(light, 64 * 64 / 2);
}

TEST(ContentShapes, SurfacesCarryOneTextureCoordinatePerVertex) {
    datas::MeshBuilder builder("torus", 3);
    datas::addTorus(builder, {}, 10.0f, 2.0f, 8, 4, 2.0f);
    const kvs::Mesh mesh = builder.take();
    EXPECT_TRUE(mesh.textured);
    EXPECT_EQ(mesh.materialIndex, 3);
    EXPECT_EQ(mesh.vertices.size(), 9u * 5u);
    EXPECT_EQ(mesh.textureVertices.size(), mesh.vertices.size());
    EXPECT_EQ(mesh.faces.size(), 8u * 4u * 2u);
    float largestU = 0.0f;
    for (const kvs::TextureVertex& vertex : mesh.textureVertices) largestU = std::max(largestU, vertex.u);
    EXPECT_FLOAT_EQ(largestU, 2.0f);
    // The seam's vertices coincide: the ring closes.
    EXPECT_NEAR(mesh.vertices[0].x, mesh.vertices[8].x, 1e-4f);
    EXPECT_NEAR(mesh.vertices[0].z, mesh.vertices[8].z, 1e-4f);
}

TEST(ContentShapes, TessellationFollowsTheLevelOfDetailWithAFloor) {
    const std::tuple<int, float, int, int> cases[] = {
        {100, 1.0f, 3, 100}, {100, 0.25f, 3, 25}, {10, 0.1f, 3, 3}, {16, 0.0f, 6, 6}};
    for (const auto& [full, detail, minimum, expected] : cases)
        EXPECT_EQ(datas::steps(full, detail, minimum), expected);
}

}  // namespace
