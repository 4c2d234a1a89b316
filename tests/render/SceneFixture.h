#pragma once

#include "testkit/RenderScene.h"
#include "support/RenderWindowFixture.h"

#include <initializer_list>
#include <memory>
#include <string>

namespace RenderTest {

/// A 64 × 64 window and a new scene graph with a builder for it. A camera of
/// the builder shows a point (x, y, −d) at pixel ((x / d + 1) × 32, (y / d + 1) × 32).
class SceneFixture : public VeltaTest::RenderWindowFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    /// A camera in the scene with settings of its own, shown over the whole window.
    CppLib::SharedPtr<Velta::Camera> camera(bool lights = false, bool fog = false);

    Velta::GeometryObject& quad(float x0, float y0, float x1, float y1, float z, const Velta::Color& color,
                                bool blended = false);

    /// What two frames logged, and how many lines that is.
    std::string logOfTwoFrames();
    static int lines(const std::string& text);

    struct At {
        int x, y;
        VeltaTest::Pixel expected;
        int tolerance = 3;
    };
    void expectPixels(std::initializer_list<At> points) const;

    Velta::SceneRoot* mScene = nullptr;
    std::unique_ptr<SceneBuilder> mBuilder;
};

} // namespace RenderTest
