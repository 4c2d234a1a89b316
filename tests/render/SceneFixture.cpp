#include "SceneFixture.h"

#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"

#include <algorithm>

namespace RenderTest {

using namespace Velta;

void SceneFixture::SetUp()
{
    RenderWindowFixture::SetUp();
    if (!IsSkipped() && !HasFatalFailure()) {
        mScene = &core().getSceneManager().createSceneGraph();
        mBuilder = std::make_unique<SceneBuilder>(*mScene);
    }
}

void SceneFixture::TearDown()
{
    mBuilder.reset();
    RenderWindowFixture::TearDown();
}

CppLib::SharedPtr<Camera> SceneFixture::camera(bool lights, bool fog)
{
    return mBuilder->addCamera(lights, fog);
}

GeometryObject& SceneFixture::quad(float x0, float y0, float x1, float y1, float z, const Color& color, bool blended)
{
    return mBuilder->addObject(makeQuad(x0, y0, x1, y1, z, color), makeMaterial(blended));
}

std::string SceneFixture::logOfTwoFrames()
{
    testing::internal::CaptureStderr();
    renderFrame();
    renderFrame();
    return testing::internal::GetCapturedStderr();
}

int SceneFixture::lines(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

void SceneFixture::expectPixels(std::initializer_list<At> points) const
{
    for (const At& at : points) {
        const VeltaTest::Pixel seen = readPixel(at.x, at.y);
        EXPECT_TRUE(seen.isNear(at.expected, at.tolerance))
            << "pixel (" << at.x << ", " << at.y << ") is " << seen << ", expected " << at.expected;
    }
}

} // namespace RenderTest
