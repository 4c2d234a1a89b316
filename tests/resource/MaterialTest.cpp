#include "resource/Material.h"
#include "resource/RenderSettings.h"
#include "resource/Texture2D.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

using namespace Velta;

TEST(Materials, ANewMaterialDrawsOpaqueWithTheAlphaTestOnAndNothingBound)
{
    const Material material;
    EXPECT_TRUE(material.useAlphaTest());
    EXPECT_EQ(material.getAlphaTestValue(), 0.5f);
    EXPECT_FALSE(material.useBlending()); // decides the opaque or the blended pass
    EXPECT_EQ(material.getBlendMode(), Material::BLEND_ALPHA);
    EXPECT_FALSE(material.useDefaultVertexColor());
    EXPECT_FALSE(material.usePointSprites());
    EXPECT_EQ(material.getDiffuseMaterialColor(), Color(0, 0, 0, 1));
    EXPECT_TRUE(material.getRenderSettings().isNull());
    EXPECT_TRUE(material.getTexture(0).isNull());
}

TEST(Materials, TexturesAreKeptPerUnitAndAskingForAnEmptyUnitAddsNothing)
{
    // Textures proper are made elsewhere; an empty pointer is a valid entry
    // that switches texturing off on its unit.
    Material material;
    material.setTexture(0, CppLib::SharedPtr<Texture>());
    EXPECT_TRUE(material.getTexture(3).isNull());
    EXPECT_EQ(material.getTextureCount(), 1u);

    CppLib::SharedPtr<RenderSettings> settings(new RenderSettings());
    material.setRenderSettings(settings);
    const Material copy(material);
    EXPECT_EQ(copy.getRenderSettings(), settings);
    EXPECT_EQ(copy.getTextureCount(), 1u);
}

TEST(Materials, NewRenderSettingsDrawSmoothAndLitWithoutFog)
{
    const RenderSettings settings;
    EXPECT_EQ(settings.getShadingMode(), RenderSettings::SHADE_SMOOTH);
    EXPECT_FALSE(settings.useFog());
    EXPECT_TRUE(settings.useLights());
    EXPECT_TRUE(settings.useTextures());
}

using MaterialTextures = VeltaTest::CoreFixture;

TEST_F(MaterialTextures, ASecondTextureOnAUnitReplacesTheFirstAndTheMaterialKeepsItAlive)
{
    Material material;
    CppLib::SharedPtr<Texture> first(new Texture2D());
    CppLib::SharedPtr<Texture> second(new Texture2D());
    material.setTexture(0, first);
    material.setTexture(0, second);
    material.setTexture(2, first);
    EXPECT_EQ(material.getTexture(0), second);
    EXPECT_EQ(material.getTexture(2), first);
    EXPECT_TRUE(material.getTexture(1).isNull());
    EXPECT_EQ(material.getTextureCount(), 2u);

    Texture* kept = second.get();
    second.setNull();
    EXPECT_EQ(material.getTexture(0).get(), kept);
}
