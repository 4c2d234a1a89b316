#include "SceneFixture.h"

#include "geometry/GeometryObject.h"
#include "geometry/VertexData.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/sdl/GLSDLRenderWindow.h"
#include "render/Viewport.h"
#include "resource/Texture2D.h"
#include "resource/TextureProxy.h"
#include "support/AllocationCounter.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

using namespace Velta;
using RenderTest::makeMaterial;
using RenderTest::makeQuad;
using RenderTest::makeTexture;

namespace {

/// A textured quad filling the view; its vertex data has positions, colours,
/// normals and one texture-coordinate layer, and two triangles.
class Uploads : public RenderTest::SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        addViewport(camera());
        mGeometry = makeQuad(-1, -1, 1, 1, -1, Color(1, 1, 1, 1));
        mTexture = makeTexture(1, 1, Color::RGB, {255, 0, 0});
        mMaterial = makeMaterial();
        mMaterial->setTexture(0, mTexture);
        mBuilder->addObject(mGeometry, mMaterial);
    }

    unsigned long long buffers() { return context().getBufferUploadCount(); }
    unsigned long long textures() { return context().getTextureUploadCount(); }

    CppLib::SharedPtr<GeometryData> mGeometry;
    CppLib::SharedPtr<Texture2D> mTexture;
    CppLib::SharedPtr<Material> mMaterial;
};

} // namespace

TEST_F(Uploads, AnUnchangedSceneIsUploadedOnceAndChangesAreUploadedAgain)
{
    ASSERT_TRUE(context().usesBufferObjects());
    renderFrame();
    EXPECT_EQ(buffers(), 5u); // four arrays and the index list
    EXPECT_EQ(textures(), 1u);
    expectPixels({{32, 32, {255, 0, 0}}});

    renderFrame();
    renderFrame();
    EXPECT_EQ(buffers(), 5u);
    EXPECT_EQ(textures(), 1u);

    // A new image: the texture is uploaded again, the geometry is not.
    mTexture->setTextureSource(makeTexture(1, 1, Color::RGB, {0, 0, 255})->getTextureSource(0, 0));
    renderFrame();
    EXPECT_EQ(textures(), 2u);
    EXPECT_EQ(buffers(), 5u);
    expectPixels({{32, 32, {0, 0, 255}}});

    // New vertex colours: the vertex arrays are filled again, not the indices.
    CppLib::SharedPtr<VertexData> vertices = mGeometry->getIndexedData(0);
    for (unsigned int i = 0; i < 4; ++i) {
        vertices->setCurrentVertex(i);
        vertices->setColor(0, 1, 1, 1);
    }
    vertices->setModified();
    renderFrame();
    EXPECT_EQ(buffers(), 9u);
    EXPECT_EQ(textures(), 2u);
    expectPixels({{32, 32, {0, 0, 255}}});
    renderFrame();
    EXPECT_EQ(buffers(), 9u);
}

TEST_F(Uploads, SharedDataChangedJustBeforeAFrameIsFilledOnceThatFrame)
{
    mBuilder->addObject(mGeometry, mMaterial);
    mBuilder->addObject(mGeometry, makeMaterial(true));
    renderFrame();
    EXPECT_EQ(buffers(), 5u);
    clock().advance(5);
    mGeometry->getIndexedData(0)->setModified();
    renderFrame(0); // in the millisecond of the change
    EXPECT_EQ(buffers(), 9u);
    // The change might have come after that fill within its millisecond, so
    // the next frame fills once more; after that nothing.
    renderFrame();
    EXPECT_EQ(buffers(), 13u);
    renderFrame();
    EXPECT_EQ(buffers(), 13u);
}

TEST_F(Uploads, WithoutBufferObjectsTheSameFrameIsDrawnFromClientMemory)
{
    EXPECT_FALSE(context().setUseBufferObjects(false));
    renderFrame();
    renderFrame();
    EXPECT_EQ(buffers(), 0u);
    EXPECT_EQ(textures(), 1u);
    expectPixels({{32, 32, {255, 0, 0}}});
    EXPECT_TRUE(context().setUseBufferObjects(true));
    renderFrame();
    EXPECT_EQ(buffers(), 5u);
    expectPixels({{32, 32, {255, 0, 0}}});
}

TEST_F(Uploads, AFramesAllocationsDoNotGrowWithWhatItDraws)
{
    const auto measure = [this]() {
        renderFrame();
        renderFrame();
        VeltaTest::AllocationCounter allocations;
        renderFrame();
        return allocations.getCount();
    };
    const std::size_t one = measure();
    for (int i = 0; i < 40; ++i) {
        mBuilder->addObject(mGeometry, i % 2 ? mMaterial : makeMaterial(true));
    }
    const std::size_t many = measure();
    EXPECT_EQ(many, one);
    // The camera's views are made over in place.
    EXPECT_EQ(one, 0u);
}

TEST_F(Uploads, WhatTheViewDoesNotSeeIsUploadedWithTheScenesFirstFrameAndWithEachNewNode)
{
    // Behind the camera, with a texture of its own.
    const CppLib::SharedPtr<Material> behind = makeMaterial();
    behind->setTexture(0, makeTexture(1, 1, Color::RGB, {0, 255, 0}));
    mBuilder->addObject(makeQuad(-1, -1, 1, 1, 5, Color(1, 1, 1, 1)), behind);
    renderFrame();
    EXPECT_EQ(buffers(), 10u);
    EXPECT_EQ(textures(), 2u);
    expectPixels({{32, 32, {255, 0, 0}}});
    renderFrame();
    EXPECT_EQ(buffers(), 10u);

    // A node added out of view: its data goes up in the next frame.
    const CppLib::SharedPtr<Material> later = makeMaterial();
    later->setTexture(0, makeTexture(1, 1, Color::RGB, {0, 0, 255}));
    mBuilder->addObject(makeQuad(-1, -1, 1, 1, 6, Color(1, 1, 1, 1)), later);
    renderFrame();
    EXPECT_EQ(buffers(), 15u);
    EXPECT_EQ(textures(), 3u);
    VeltaTest::AllocationCounter allocations;
    renderFrame();
    EXPECT_EQ(allocations.getCount(), 0u);
    EXPECT_EQ(buffers(), 15u);
}

TEST_F(Uploads, AScenesFirstFrameAlsoDrawsEverythingOnceWhereNothingShows)
{
    if (!GLEW_VERSION_3_0) {
        GTEST_SKIP() << "no query of primitives generated";
    }
    // Blended and half in view: drawn twice where it shows, it would come
    // out darker than one blend. The other quad is behind the camera.
    mBuilder->addObject(makeQuad(0, -1, 1, 1, -0.5f, Color(0, 0, 1, 0.5f)), makeMaterial(true));
    mBuilder->addObject(makeQuad(-1, -1, 1, 1, 5, Color(0, 1, 0, 1)), makeMaterial());
    const auto primitivesOfAFrame = [this] {
        GLuint query = 0;
        glGenQueries(1, &query);
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        renderFrame();
        glEndQuery(GL_PRIMITIVES_GENERATED);
        GLuint count = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        glDeleteQueries(1, &query);
        return count;
    };
    const GLuint first = primitivesOfAFrame();
    const VeltaTest::Pixel left = readPixel(16, 32);
    const VeltaTest::Pixel right = readPixel(48, 32);
    const GLuint second = primitivesOfAFrame();
    // Two triangles each for the three quads, but none of them shows.
    EXPECT_EQ(first, second + 6);
    EXPECT_TRUE(readPixel(16, 32).isNear(left, 0));
    EXPECT_TRUE(readPixel(48, 32).isNear(right, 0));
    expectPixels({{16, 32, {255, 0, 0}}, {48, 32, {128, 0, 128}, 4}});

    // A node added later is uploaded, not drawn for nothing again.
    mBuilder->addObject(makeQuad(-1, -1, 1, 1, 6, Color(0, 1, 0, 1)), makeMaterial());
    EXPECT_EQ(primitivesOfAFrame(), second);
}

TEST_F(Uploads, WhatIsKeptForAResourceGoesSoonAfterTheResourceOrWhenAskedFor)
{
    renderFrame();
    const std::size_t kept = context().getKeptRecordCount();
    // Uploaded, then gone with their owners, as a finished race's are.
    const auto uploadAndDrop = [&] {
        CppLib::SharedPtr<GeometryData> quad = makeQuad(-1, -1, 1, 1, 5, Color(1, 1, 1, 1));
        ASSERT_TRUE(context().loadArrayBuffer(*quad->getIndexedData(0), VertexDataSet::VERTICES));
        Texture2D texture;
        context().createTexIdSet(texture);
        EXPECT_EQ(context().getKeptRecordCount(), kept + 2);
    };
    uploadAndDrop();
    context().releaseUnused();
    EXPECT_EQ(context().getKeptRecordCount(), kept);

    uploadAndDrop();
    for (int frame = 0; frame < 130; ++frame) {
        renderFrame();
    }
    EXPECT_EQ(context().getKeptRecordCount(), kept);
    // What is still there keeps its objects and is drawn from them.
    const unsigned long long uploads = buffers();
    renderFrame();
    EXPECT_EQ(buffers(), uploads);
    expectPixels({{32, 32, {255, 0, 0}}});
}

TEST_F(Uploads, AWindowSwitchedToAnotherModeKeepsWhatItUploadedWhileItsContextLives)
{
    renderFrame();
    ASSERT_EQ(buffers(), 5u);
    ASSERT_EQ(textures(), 1u);
    GLRenderContext* const before = &context();

    // SDL keeps the OpenGL context through a new video mode here.
    ASSERT_TRUE(window().changeMode(80, 80, false));
    EXPECT_EQ(window().getWidth(), 80);
    EXPECT_EQ(window().getHeight(), 80);
    EXPECT_EQ(&context(), before);
    EXPECT_EQ(buffers(), 5u);
    renderFrame();
    EXPECT_EQ(buffers(), 5u);
    EXPECT_EQ(textures(), 1u);
    expectPixels({{76, 76, {255, 0, 0}}, {3, 3, {255, 0, 0}}});

    // Elsewhere a new mode may come with a new context. This display never
    // does that, so the probe the window left in its context is deleted as a
    // new context would lack it: everything is uploaded again, into it.
    const GLuint probe = window().getContextProbe();
    glDeleteTextures(1, &probe);
    ASSERT_TRUE(window().changeMode(64, 64, false));
    EXPECT_EQ(buffers(), 0u);
    renderFrame();
    EXPECT_TRUE(context().isCurrent());
    EXPECT_EQ(buffers(), 5u);
    EXPECT_EQ(textures(), 1u);
    expectPixels({{32, 32, {255, 0, 0}}});
}

TEST_F(Uploads, AnEditedImageSendsOnlyTheRectanglesWrittenSinceItsLastUpload)
{
    // A 64 × 64 red image over the window, texel (x, y) at pixel (x, y).
    CppLib::SharedPtr<TextureProxy> image(new TextureProxy(64, 64, Color(1, 0, 0, 1)));
    const CppLib::SharedPtr<TextureSource> blue(new TextureProxy(16, 16, Color(0, 0, 1, 1)));
    const CppLib::SharedPtr<TextureSource> green(new TextureProxy(16, 16, Color(0, 1, 0, 1)));
    mTexture->setTextureSource(image);
    mTexture->setAllFilters(Texture::NEAREST);
    renderFrame();
    const unsigned long long whole = 64 * 64 * 4;
    EXPECT_EQ(context().getTextureUploadBytes(), whole);

    const auto bytesOfNextFrame = [this]() {
        const unsigned long long before = context().getTextureUploadBytes();
        renderFrame();
        return context().getTextureUploadBytes() - before;
    };
    image->copyRect(blue, 8, 40, 0, 0, 0, 0, 10, 3, 1);
    image->copyRect(green, 30, 4, 0, 0, 0, 0, 2, 12, 1);
    image->copyRect(green, 30, 4, 0, 0, 0, 0, 2, 5, 1); // within the last one
    EXPECT_EQ(bytesOfNextFrame(), (10 * 3 + 2 * 12) * 4u);
    EXPECT_EQ(textures(), 2u) << "one upload per changed image and frame";
    expectPixels({{8, 40, {0, 0, 255}}, {17, 42, {0, 0, 255}}, {18, 42, {255, 0, 0}}, {8, 43, {255, 0, 0}},
                  {30, 4, {0, 255, 0}}, {31, 15, {0, 255, 0}}, {31, 16, {255, 0, 0}}, {7, 40, {255, 0, 0}}});
    EXPECT_EQ(bytesOfNextFrame(), 0u) << "nothing written since";

    // More rectangles than are kept apart go up as their bounding box.
    for (unsigned int i = 0; i <= TextureProxy::MAX_REGIONS; ++i) {
        image->copyRect(blue, 4 * i, 60, 0, 0, 0, 0, 2, 2, 1);
    }
    EXPECT_EQ(bytesOfNextFrame(), (4 * TextureProxy::MAX_REGIONS + 2) * 2 * 4u);
    expectPixels({{33, 61, {0, 0, 255}}, {34, 61, {255, 0, 0}}, {32, 60, {0, 0, 255}}});

    // Another image on the texture goes up whole; so does one with mip-maps.
    CppLib::SharedPtr<TextureProxy> other(new TextureProxy(64, 64, Color(0, 1, 0, 1)));
    mTexture->setTextureSource(other);
    EXPECT_EQ(bytesOfNextFrame(), whole);
    expectPixels({{8, 40, {0, 255, 0}}});
    mTexture->setGenerateMipMaps(true);
    other->copyRect(blue, 0, 0, 0, 0, 0, 0, 1, 1, 1);
    EXPECT_EQ(bytesOfNextFrame(), whole);
    expectPixels({{0, 0, {0, 0, 255}}, {1, 0, {0, 255, 0}}});
}
