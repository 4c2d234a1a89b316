#include "plugins/render/opengl/GLSceneManager.h"

#include "core/VeltaCore.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/GLTypes.h"
#include "resource/RenderSettings.h"
#include "scene/Light.h"
#include "scene/TransformedNode.h"

#include <GL/glew.h>

#include <string>

namespace Velta {

namespace {

void setColor(GLenum light, GLenum name, const Color& color)
{
    const GLfloat values[4] = {color.r, color.g, color.b, color.a};
    glLightfv(light, name, values);
}

} // namespace

GLSceneManager::GLSceneManager(GLRenderContext& context) : mContext(&context) {}

GLSceneManager::~GLSceneManager() = default;

void GLSceneManager::begin(const CppLib::SharedPtr<RenderSettings>& settings)
{
    mApplied = false;
    mLights.clear();
    mRenderSettings = settings;
}

void GLSceneManager::addLight(Light& light)
{
    mLights.append(&light);
}

void GLSceneManager::setupLights()
{
    mContext->getStateCache().setEnabled(GLStateCache::LIGHTING, true);
    const unsigned int count = mLights.getSize();
    if (count > MAX_LIGHTS && !mReportedLightCount) {
        mReportedLightCount = true;
        VeltaCore::getLogger("glrendercontext")->warn(
            "A view has " + std::to_string(count) + " lights; OpenGL has " + std::to_string(MAX_LIGHTS) +
            ", so lights from the ninth on take the places of the first");
    }
    for (unsigned int i = 0; i < count; ++i) {
        const Light& light = *mLights.get(static_cast<int>(i));
        const GLenum number = GL_LIGHT0 + i % MAX_LIGHTS;
        if (!light.isEnabled()) {
            glDisable(number);
            continue;
        }
        setColor(number, GL_AMBIENT, light.getAmbientColor());
        setColor(number, GL_DIFFUSE, light.getDiffuseColor());
        setColor(number, GL_SPECULAR, light.getSpecularColor());
        glLightf(number, GL_CONSTANT_ATTENUATION, light.getConstantAttenuation());
        glLightf(number, GL_LINEAR_ATTENUATION, light.getLinearAttenuation());
        glLightf(number, GL_QUADRATIC_ATTENUATION, light.getQuadraticAttenuation());

        glPopMatrix();
        glPushMatrix();
        const CppLib::Matrix<float, 4>& world = light.getTransformedNode().getWorldTransformation();
        if (!world.isIdentity()) {
            GLTypes::multMatrix(world);
        }
        static const GLfloat ORIGIN[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        static const GLfloat BACKWARD[4] = {0.0f, 0.0f, 1.0f, 0.0f};
        static const GLfloat FORWARD[3] = {0.0f, 0.0f, -1.0f};
        switch (light.getLightType()) {
        case Light::SPOT:
            glLightfv(number, GL_POSITION, ORIGIN);
            glLightfv(number, GL_SPOT_DIRECTION, FORWARD);
            glLightf(number, GL_SPOT_CUTOFF, light.getSpotCutoff());
            glLightf(number, GL_SPOT_EXPONENT, light.getSpotExponent());
            break;
        case Light::DIRECTIONAL:
            glLightfv(number, GL_POSITION, BACKWARD);
            glLightf(number, GL_SPOT_CUTOFF, 180.0f);
            break;
        default:
            glLightfv(number, GL_POSITION, ORIGIN);
            // A light number that served a spot light before shines all round again.
            glLightf(number, GL_SPOT_CUTOFF, 180.0f);
            break;
        }
        glEnable(number);
    }
    // Lights of an earlier view or frame must not light this one.
    for (unsigned int i = count; i < MAX_LIGHTS; ++i) {
        glDisable(GL_LIGHT0 + i);
    }
}

void GLSceneManager::setupFog()
{
    applyRenderSettings();
    GLStateCache& state = mContext->getStateCache();
    if (mRenderSettings.isNull() || !mRenderSettings->useFog()) {
        state.setEnabled(GLStateCache::FOG, false);
        return;
    }
    static const GLfloat COLOR[4] = {0.155f, 0.415f, 0.545f, 1.0f};
    state.setEnabled(GLStateCache::FOG, true);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogfv(GL_FOG_COLOR, COLOR);
    glFogf(GL_FOG_DENSITY, 0.04f);
}

void GLSceneManager::applyRenderSettings()
{
    if (mApplied) {
        return;
    }
    mApplied = true;
    GLStateCache& state = mContext->getStateCache();
    state.setEnabled(GLStateCache::DEPTH_TEST, true);
    if (mRenderSettings.isNull()) {
        state.setShadeModel(GL_SMOOTH);
        return;
    }
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    state.setEnabled(GLStateCache::NORMALIZE, true);
    state.setShadeModel(mRenderSettings->getShadingMode() == RenderSettings::SHADE_SMOOTH ? GL_SMOOTH : GL_FLAT);
    state.setEnabled(GLStateCache::LIGHTING, mRenderSettings->useLights());
}

} // namespace Velta
