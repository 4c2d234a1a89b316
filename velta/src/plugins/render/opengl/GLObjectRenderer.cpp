#include "plugins/render/opengl/GLObjectRenderer.h"

#include "core/VeltaCore.h"
#include "geometry/Geometry.h"
#include "geometry/GeometryGroup.h"
#include "geometry/IndexDataSet.h"
#include "geometry/IndexElement.h"
#include "geometry/VertexDataSet.h"
#include "geometry/VertexElement.h"
#include "plugins/render/opengl/GLMaterialManager.h"
#include "plugins/render/opengl/GLRenderContext.h"
#include "plugins/render/opengl/GLTypes.h"
#include "resource/RenderSettings.h"
#include "scene/BoundingBox.h"
#include "scene/Drawable.h"
#include "scene/Frustrum.h"
#include "scene/ObjectNode.h"
#include "scene/TransformedNode.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace Velta {

namespace {

CppLib::SharedPtr<Material> findMaterial(Drawable& drawable, ObjectNode& object, unsigned int index)
{
    CppLib::SharedPtr<Material> material = drawable.getMaterial(index);
    if (material.isNull()) {
        material = object.getDefaultMaterial(index);
    }
    return material;
}

CppLib::SharedPtr<CppLib::Logger> getLogger()
{
    return VeltaCore::getLogger("render.opengl.GLObjectRenderer");
}

/// Where OpenGL reads `part` of `data`: an offset into the bound buffer
/// object, or the client pointer when there is none.
const void* getPointer(GLRenderContext& context, VertexDataSet& data, VertexDataSet::Part part, bool buffered,
                       unsigned int layer = 0)
{
    const char* pointer = static_cast<const char*>(data.getArray(part, layer));
    if (!buffered) {
        return pointer;
    }
    const char* base = context.getBufferBase(data, part);
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(pointer - base));
}

} // namespace

GLObjectRenderer::GLObjectRenderer(GLRenderContext& context, GLMaterialManager& materialManager)
    : mContext(&context), mMaterialManager(&materialManager)
{
}

GLObjectRenderer::~GLObjectRenderer() = default;

void GLObjectRenderer::begin(const CppLib::SharedPtr<RenderSettings>& settings, const Frustrum* frustrum)
{
    mRenderSettings = settings;
    mFrustrum = frustrum;
    if (frustrum) {
        // The camera's origin: where the view matrix takes the eye from.
        mEye = Point(frustrum->getViewMatrix().inverse() * Point(0.0f, 0.0f, 0.0f));
    }
    mOpaque.clear();
    mBlended.clear();
    mToWarmUp.clear();
    mKeepingForWarmUp = false;
    mBoundData = nullptr;
}

void GLObjectRenderer::queue(ObjectNode& object, Node& node, Drawable& drawable, float distance)
{
    const CppLib::SharedPtr<Material> material = findMaterial(drawable, object, 0);
    Entry entry = {&object, &node, &drawable, distance, 0.0f};
    if (!material.isNull() && material->useBlending()) {
        mBlended.push_back(entry);
    } else {
        // Point sprites hide next to nothing, and switching to them and back
        // costs the renderer more than it saves: they come after the rest.
        entry.reach = !material.isNull() && material->usePointSprites() ? std::numeric_limits<float>::max()
                                                                        : getReach(node);
        mOpaque.push_back(entry);
    }
}

void GLObjectRenderer::prepare(ObjectNode& object, Drawable& drawable)
{
    ++mPrepared;
    if (mKeepingForWarmUp) {
        mToWarmUp.push_back({&object, &drawable});
    }
    const CppLib::SharedPtr<Geometry> geometry = drawable.getGeometry(0);
    VertexDataSet* data = geometry.isNull() ? nullptr : geometry->getIndexedDataSet(0);
    if (!data) {
        return;
    }
    bindArrays(*data);
    for (GeometryGroup* group : geometry->getElementGroups()) {
        if (!group) {
            continue;
        }
        const CppLib::SharedPtr<Material> material = findMaterial(drawable, object, group->getMaterialIndex());
        mMaterialManager->prepare(material.isNull() ? mDefaultMaterial : *material, *data);
        mAllElements.clear();
        group->collectAllElements(mAllElements);
        for (GeometryElement* element : mAllElements) {
            if (auto* indexed = dynamic_cast<IndexElement*>(element)) {
                mContext->loadIndexBuffer(indexed->getIndexList());
            } else if (auto* own = dynamic_cast<VertexElement*>(element)) {
                bindArrays(own->getVertexData());
            }
        }
    }
    mBoundData = nullptr;
}

void GLObjectRenderer::reserveForPrepared()
{
    const size_t count = std::max({mPrepared, mOpaque.capacity(), mBlended.capacity()});
    mPrepared = 0;
    mOpaque.reserve(count);
    mBlended.reserve(count);
    if (mScratch.size() < count) {
        mScratch.resize(count);
    }
}

void GLObjectRenderer::warmUp()
{
    if (mToWarmUp.empty()) {
        return;
    }
    // Nothing is drawn, but everything is set and handed to the driver as a
    // frame would: a software renderer builds its code for a combination of
    // state when a draw first uses it, however little the draw covers, and
    // the scissor test is not part of what it builds the code for.
    const GLboolean scissorWasOn = glIsEnabled(GL_SCISSOR_TEST);
    GLint scissorBox[4];
    glGetIntegerv(GL_SCISSOR_BOX, scissorBox);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
    applyPolygonMode();
    bool marks = false;
    for (const PreparedDrawable& prepared : mToWarmUp) {
        marks = warmUp(*prepared.object, *prepared.drawable, false) || marks;
    }
    if (marks) {
        for (const PreparedDrawable& prepared : mToWarmUp) {
            warmUp(*prepared.object, *prepared.drawable, true);
        }
    }
    mContext->getStateCache().setDepthMask(true);
    glScissor(scissorBox[0], scissorBox[1], scissorBox[2], scissorBox[3]);
    if (!scissorWasOn) {
        glDisable(GL_SCISSOR_TEST);
    }
    mToWarmUp.clear();
    mBoundData = nullptr;
    mMaterialManager->setMarksMade(false);
    checkErrors();
}

bool GLObjectRenderer::warmUp(ObjectNode& object, Drawable& drawable, bool marked)
{
    const CppLib::SharedPtr<Geometry> geometry = drawable.getGeometry(0);
    VertexDataSet* data = geometry.isNull() ? nullptr : geometry->getIndexedDataSet(0);
    if (!data) {
        return false;
    }
    bool marks = false;
    // Blended drawables are drawn without depth writes, which the driver's
    // code depends on as much as on the material.
    const CppLib::SharedPtr<Material> first = findMaterial(drawable, object, 0);
    mContext->getStateCache().setDepthMask(first.isNull() || !first->useBlending());
    for (GeometryGroup* group : geometry->getElementGroups()) {
        if (!group) {
            continue;
        }
        // Every level of detail of a group shares its material and arrays:
        // one element stands for them all.
        mAllElements.clear();
        group->collectAllElements(mAllElements);
        const auto element = std::find_if(mAllElements.begin(), mAllElements.end(),
                                          [](const GeometryElement* candidate) { return candidate != nullptr; });
        if (element == mAllElements.end()) {
            continue;
        }
        const CppLib::SharedPtr<Material> found = findMaterial(drawable, object, group->getMaterialIndex());
        const Material& material = found.isNull() ? mDefaultMaterial : *found;
        if (marked && !GLMaterialManager::clearsMarks(material)) {
            continue;
        }
        if (mBoundData != data) {
            bindArrays(*data);
        }
        // How a material uses the stencil buffer depends on what was drawn
        // before it in the frame, not on what the warm-up drew before it.
        mMaterialManager->setMarksMade(marked);
        mMaterialManager->apply(material, *data);
        drawElement(**element, *data);
        marks = marks || material.marksPixels();
    }
    return marks;
}

void GLObjectRenderer::draw()
{
    GLStateCache& state = mContext->getStateCache();
    applyPolygonMode();
    state.setDepthMask(true);
    sortOpaque();
    for (const Entry& entry : mOpaque) {
        drawEntry(entry, true);
    }
    sortBlended();
    state.setDepthMask(false);
    for (const Entry& entry : mBlended) {
        drawEntry(entry, false);
    }
    state.setDepthMask(true);
}

void GLObjectRenderer::sortBlended()
{
    mergeSort(mBlended, mScratch, [](const Entry& a, const Entry& b) { return a.distance > b.distance; });
}

void GLObjectRenderer::sortOpaque()
{
    mergeSort(mOpaque, mScratch, [](const Entry& a, const Entry& b) { return a.reach < b.reach; });
}

template <typename Item, typename Before>
void GLObjectRenderer::mergeSort(std::vector<Item>& items, std::vector<Item>& scratch, Before before)
{
    // A stable merge sort keeps walk order among equals and allocates
    // nothing once the scratch space has grown.
    const size_t count = items.size();
    if (scratch.size() < count) {
        scratch.resize(count);
    }
    for (size_t width = 1; width < count; width *= 2) {
        for (size_t left = 0; left < count; left += 2 * width) {
            const size_t middle = std::min(left + width, count);
            const size_t right = std::min(left + 2 * width, count);
            std::merge(items.begin() + static_cast<long>(left), items.begin() + static_cast<long>(middle),
                       items.begin() + static_cast<long>(middle), items.begin() + static_cast<long>(right),
                       scratch.begin() + static_cast<long>(left), before);
        }
        std::copy(scratch.begin(), scratch.begin() + static_cast<long>(count), items.begin());
    }
}

float GLObjectRenderer::getReach(Node& node) const
{
    // The depth in front of the camera of the bound's farthest corner: a
    // large bound around the camera (the ground, the sky) comes after the
    // small things standing in it.
    if (!mFrustrum) {
        return 0.0f;
    }
    const BoundingBox* box = node.getTransformedNode().getBoundingVolume().asBox();
    if (!box || box->getState() != BoundingVolume::FINITE) {
        return 0.0f;
    }
    return getReach(*box);
}

float GLObjectRenderer::getReach(const BoundingBox& box) const
{
    const CppLib::Matrix<float, 4>& view = mFrustrum->getViewMatrix();
    // The camera looks along −z of its frame: depth = −(row 2 · corner).
    float depth = -view.get(2, 3);
    for (int axis = 0; axis < 3; ++axis) {
        const float factor = -view.get(2, axis);
        depth += factor * (factor > 0.0f ? box.getMax()[axis] : box.getMin()[axis]);
    }
    return depth;
}

void GLObjectRenderer::drawEntry(const Entry& entry, bool opaque)
{
    glPopMatrix();
    glPushMatrix();
    const CppLib::Matrix<float, 4>& world = entry.node->getTransformedNode().getWorldTransformation();
    if (!world.isIdentity()) {
        GLTypes::multMatrix(world);
    }
    const CppLib::SharedPtr<Geometry> geometry = entry.drawable->getGeometry(0);
    VertexDataSet* data = geometry.isNull() ? nullptr : geometry->getIndexedDataSet(0);
    if (!data) {
        return;
    }
    if (mFrustrum) {
        entry.drawable->selectDetail(mEye);
    }
    collectGroups(*geometry, world, opaque);
    for (const PlacedGroup& placed : mGroups) {
        GeometryGroup& group = *placed.group;
        const CppLib::SharedPtr<Material> material = findMaterial(*entry.drawable, *entry.object, placed.materialIndex);
        if (mBoundData != data) {
            bindArrays(*data);
        }
        mMaterialManager->apply(material.isNull() ? mDefaultMaterial : *material, *data);
        for (GeometryElement* element : group.getElementList(0)) {
            if (element) {
                drawElement(*element, *data);
            }
        }
    }
    checkErrors();
}

void GLObjectRenderer::collectGroups(Geometry& geometry, const CppLib::Matrix<float, 4>& world, bool opaque)
{
    // Groups without elements, and groups that know their bounds and lie
    // outside the view, are left out. When every group knows its bounds,
    // opaque ones go material by material (a change of material costs the
    // driver more than the depth test saves), each material's nearest
    // first, like the drawables.
    mGroups.clear();
    bool placed = mFrustrum != nullptr;
    // Neighbouring groups often share one bound (parts of one block of
    // ground): it is placed once.
    const BoundingBox* lastBounds = nullptr;
    bool lastInView = false;
    float lastReach = 0.0f;
    for (GeometryGroup* group : geometry.getElementGroups()) {
        if (!group || group->getElementList(0).getSize() == 0) {
            continue;
        }
        const BoundingBox* bounds = group->getBounds();
        if (!bounds || !mFrustrum) {
            mGroups.push_back({group, group->getMaterialIndex(), 0.0f});
            placed = false;
            continue;
        }
        if (bounds != lastBounds) {
            BoundingBox box;
            box.setEmpty();
            box.expand(*bounds, world);
            lastBounds = bounds;
            lastInView = box.getDistance(*mFrustrum) >= 0.0f;
            lastReach = lastInView ? getReach(box) : 0.0f;
        }
        if (lastInView) {
            mGroups.push_back({group, group->getMaterialIndex(), lastReach});
        }
    }
    if (opaque && placed) {
        mergeSort(mGroups, mGroupScratch, [](const PlacedGroup& a, const PlacedGroup& b) {
            return a.materialIndex != b.materialIndex ? a.materialIndex < b.materialIndex : a.reach < b.reach;
        });
    }
}

void GLObjectRenderer::bindArrays(VertexDataSet& data)
{
    GLStateCache& state = mContext->getStateCache();
    mBoundData = &data;

    const bool hasVertices = data.getCount() > 0 && data.getVertices() && data.getVertexType() != DataType::NONE;
    state.setClientArray(GLStateCache::VERTEX_ARRAY, hasVertices);
    if (hasVertices) {
        const bool buffered = mContext->loadArrayBuffer(data, VertexDataSet::VERTICES);
        glVertexPointer(data.getNumVertex(), GLTypes::getType(data.getVertexType()),
                        static_cast<GLsizei>(data.getStride(VertexDataSet::VERTICES)),
                        getPointer(*mContext, data, VertexDataSet::VERTICES, buffered));
    }
    const bool hasColors = data.getColor() && data.getColorType() != DataType::NONE;
    state.setClientArray(GLStateCache::COLOR_ARRAY, hasColors);
    if (hasColors) {
        const bool buffered = mContext->loadArrayBuffer(data, VertexDataSet::COLORS);
        glColorPointer(data.getNumColor(), GLTypes::getType(data.getColorType()),
                       static_cast<GLsizei>(data.getStride(VertexDataSet::COLORS)),
                       getPointer(*mContext, data, VertexDataSet::COLORS, buffered));
    }
    const bool hasNormals = data.getNormals() && data.getNormalType() != DataType::NONE;
    state.setClientArray(GLStateCache::NORMAL_ARRAY, hasNormals);
    if (hasNormals) {
        const bool buffered = mContext->loadArrayBuffer(data, VertexDataSet::NORMALS);
        glNormalPointer(GLTypes::getType(data.getNormalType()),
                        static_cast<GLsizei>(data.getStride(VertexDataSet::NORMALS)),
                        getPointer(*mContext, data, VertexDataSet::NORMALS, buffered));
    }
    if (mContext->supportsFogCoordinates()) {
        const bool hasFog = data.getFogCoordinates() && data.getFogCoordinateType() != DataType::NONE;
        state.setClientArray(GLStateCache::FOG_COORD_ARRAY, hasFog);
        if (hasFog) {
            const bool buffered = mContext->loadArrayBuffer(data, VertexDataSet::FOG_COORDINATES);
            glFogCoordPointerEXT(GLTypes::getType(data.getFogCoordinateType()),
                                 static_cast<GLsizei>(data.getStride(VertexDataSet::FOG_COORDINATES)),
                                 getPointer(*mContext, data, VertexDataSet::FOG_COORDINATES, buffered));
        }
    }
    bindTexCoords(data);
}

void GLObjectRenderer::bindTexCoords(VertexDataSet& data)
{
    GLStateCache& state = mContext->getStateCache();
    const int units = state.getTextureUnitCount();
    const int layers = data.getNumTexLayer();
    const CppLib::Vector<unsigned int>& layerUnits = data.getTexturesIndices();
    unsigned int used = 0;
    bool buffered = false;
    if (layers > 0 && GLRenderContext::getBufferBase(data, VertexDataSet::TEX_COORDINATES)) {
        buffered = mContext->loadArrayBuffer(data, VertexDataSet::TEX_COORDINATES);
    }
    for (int layer = 0; layer < layers; ++layer) {
        const unsigned int unit = layerUnits.get(layer);
        const unsigned int index = static_cast<unsigned int>(layer);
        if (!data.getTexCoordinates(index) || data.getTexCoordinateType(index) == DataType::NONE) {
            continue;
        }
        if (unit >= static_cast<unsigned int>(units)) {
            continue; // the material manager reports it
        }
        used |= 1u << unit;
        state.setTexCoordArray(static_cast<int>(unit), true);
        state.setClientActiveTexture(static_cast<int>(unit));
        glTexCoordPointer(data.getNumTexCoord(index), GLTypes::getType(data.getTexCoordinateType(index)),
                          static_cast<GLsizei>(data.getStride(VertexDataSet::TEX_COORDINATES)),
                          getPointer(*mContext, data, VertexDataSet::TEX_COORDINATES, buffered, index));
    }
    for (int unit = 0; unit < units; ++unit) {
        if (!(used & (1u << unit))) {
            state.setTexCoordArray(unit, false);
        }
    }
}

void GLObjectRenderer::drawElement(GeometryElement& element, VertexDataSet& data)
{
    const GLenum primitive = GLTypes::getPrimitive(element.getElementType());
    if (auto* indexed = dynamic_cast<IndexElement*>(&element)) {
        IndexDataSet& indices = indexed->getIndexList();
        const unsigned int count = indexed->getDrawCount(data);
        if (count == 0) {
            if (indices.getCount() > 0) {
                reportRefusedIndices(indices);
            }
            return;
        }
        const void* pointer = mContext->loadIndexBuffer(indices) ? nullptr : indices.getIndexList();
        glDrawElements(primitive, static_cast<GLsizei>(count), GLTypes::getType(indices.getIndexType()), pointer);
        return;
    }
    if (auto* own = dynamic_cast<VertexElement*>(&element)) {
        VertexDataSet& vertices = own->getVertexData();
        if (vertices.getCount() == 0) {
            return;
        }
        bindArrays(vertices);
        glDrawArrays(primitive, 0, static_cast<GLsizei>(vertices.getCount()));
        bindArrays(data);
    }
}

void GLObjectRenderer::applyPolygonMode()
{
    const int mode = mRenderSettings.isNull() ? RenderSettings::SHADE_SMOOTH : mRenderSettings->getShadingMode();
    const GLenum polygonMode = mode == RenderSettings::SHADE_POINTS
                                   ? GL_POINT
                                   : (mode == RenderSettings::SHADE_WIREFRAME ? GL_LINE : GL_FILL);
    mContext->getStateCache().setPolygonMode(polygonMode);
}

void GLObjectRenderer::reportRefusedIndices(const IndexDataSet& indices)
{
    if (std::find(mReportedIndices.begin(), mReportedIndices.end(), &indices) != mReportedIndices.end()) {
        return;
    }
    mReportedIndices.push_back(&indices);
    getLogger()->error("An index list of " + std::to_string(indices.getCount()) +
                       " indices points past its vertex data and is not drawn");
}

void GLObjectRenderer::checkErrors()
{
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) {
        return;
    }
    const unsigned int bit = 1u << ((error - GL_INVALID_ENUM) & 31u);
    if (mReportedErrors & bit) {
        return;
    }
    mReportedErrors |= bit;
    getLogger()->error(std::string("GL Error: ") + GLTypes::getErrorString(error));
}

} // namespace Velta
