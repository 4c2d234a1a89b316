#include "plugins/render/opengl/GLRenderContext.h"
#include "resource/ResourceContainer.h"

#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "geometry/AbstractGeometryData.h"
#include "geometry/IndexDataSet.h"
#include "plugins/render/opengl/GLRenderEngine.h"
#include "plugins/render/opengl/GLTypes.h"
#include "plugins/render/opengl/GLViewRenderer.h"
#include "resource/ResourceManager.h"
#include "resource/Texture.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace Velta {

namespace {

/// Takes out of `records` every record whose resource has gone, after
/// `release` has let go of what it holds in OpenGL; `ids` is scratch room
/// (kept, so that a collection allocates nothing once it has grown).
template <typename Records, typename Release>
void dropOrphans(Records& records, std::vector<unsigned long long>& ids, Release release)
{
    ids.clear();
    for (auto& entry : records) {
        if (!entry.second->getContainer()) {
            ids.push_back(entry.first);
        }
    }
    for (unsigned long long id : ids) {
        auto* record = records.remove(static_cast<std::decay_t<decltype(records.begin()->first)>>(id));
        release(*record);
        delete record;
    }
    ids.clear();
}

const char* const BUFFER_ERRORS[VertexDataSet::PART_COUNT] = {
    "GL Error while loading buffer: ",          "GL Error while loading color buffer: ",
    "GL Error while loading secondary color buffer: ", "GL Error while loading normal buffer: ",
    "GL Error while loading fog coord buffer: ", "GL Error while loading tex coord buffer: "};

/// The bytes from the buffer base of `part` to the end of its last element;
/// 0 when the data has no such array.
unsigned long long getSpanSize(const VertexDataSet& data, VertexDataSet::Part part, const char* base)
{
    const unsigned int count = data.getCount();
    if (!base || count == 0) {
        return 0;
    }
    const bool texture = part == VertexDataSet::TEX_COORDINATES;
    const int layers = texture ? data.getNumTexLayer() : 1;
    unsigned long long end = 0;
    for (int layer = 0; layer < layers; ++layer) {
        const char* start = static_cast<const char*>(data.getArray(part, layer));
        const unsigned long long element =
            static_cast<unsigned long long>(DataType::getSize(data.getType(part, layer))) *
            static_cast<unsigned long long>(data.getComponents(part, layer));
        if (!start || element == 0) {
            return 0;
        }
        const unsigned long long stride = data.getStride(part) ? data.getStride(part) : element;
        const unsigned long long last = static_cast<unsigned long long>(start - base) + (count - 1) * stride + element;
        if (last > end) {
            end = last;
        }
    }
    return end;
}

long long now()
{
    return VeltaCore::getSingleton().getTimerManager().getTimestamp();
}

void logError(const std::string& message)
{
    VeltaCore::getLogger("glrendercontext")->error(message);
}

/// Whether data filled at `stamp` changed since. Within the millisecond of
/// the fill nothing counts as changed, so data shared by many drawables is
/// filled once per frame at most; a change in that millisecond is seen from
/// the next one on.
bool isNewer(const AbstractGeometryData& data, long long stamp, long long time)
{
    return stamp != time && data.hasChanged(stamp);
}

} // namespace

GLRenderContext::DataIdSet::DataIdSet(unsigned int providerId) : ResourceData(providerId) {}

GLRenderContext::IndexIdSet::IndexIdSet(unsigned int providerId) : ResourceData(providerId) {}

GLRenderContext::TexIdSet::TexIdSet(unsigned int providerId, unsigned int textureName)
    : ResourceData(providerId), name(textureName)
{
}

GLRenderContext::GLRenderContext(GLRenderEngine& engine)
    : mRenderEngine(&engine),
      mProviderId(VeltaCore::getSingleton().getResourceManager().createResourceProviderId())
{
}

GLRenderContext::~GLRenderContext()
{
    mViewRenderer.reset();
    deleteObjects();
}

void GLRenderContext::updateCapabilities()
{
    if (GLEW_ARB_point_sprite && glPointParameterfARB && glPointParameterfvARB) {
        mPointSprites = true;
    }
    if (GLEW_ARB_vertex_buffer_object) {
        mBufferObjectsSupported = true;
        mUseBufferObjects = true;
    }
    if (glFogCoordPointerEXT) {
        mFogCoordinates = true;
    }
    if (GLEW_ARB_multitexture && glActiveTextureARB && glClientActiveTextureARB) {
        GLint units = 1;
        glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
        if (units > mTextureUnits) {
            mTextureUnits = units;
        }
    }
    mStateCache.setTextureUnitCount(mTextureUnits);
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (renderer && (std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe") ||
                     std::strstr(renderer, "Software Rasterizer"))) {
        mBlendMipMaps = false;
    }
}

void GLRenderContext::limitTextureUnits(int count)
{
    mTextureUnits = std::max(1, std::min(count, mTextureUnits));
    mStateCache.setTextureUnitCount(mTextureUnits);
}

bool GLRenderContext::setUseBufferObjects(bool use)
{
    mUseBufferObjects = use && mBufferObjectsSupported;
    return mUseBufferObjects;
}

bool GLRenderContext::isCurrent() const
{
    return mGeneration != 0 && mGeneration == mRenderEngine->getGeneration();
}

const char* GLRenderContext::getBufferBase(const VertexDataSet& data, VertexDataSet::Part part)
{
    if (part != VertexDataSet::TEX_COORDINATES) {
        return static_cast<const char*>(data.getArray(part));
    }
    const char* base = nullptr;
    for (int layer = 0; layer < data.getNumTexLayer(); ++layer) {
        const char* start = static_cast<const char*>(data.getArray(part, layer));
        if (!start) {
            return nullptr;
        }
        if (!base || start < base) {
            base = start;
        }
    }
    return base;
}

bool GLRenderContext::loadArrayBuffer(VertexDataSet& data, VertexDataSet::Part part)
{
    if (!mUseBufferObjects) {
        return false;
    }
    auto* geometry = dynamic_cast<AbstractGeometryData*>(&data);
    const char* base = getBufferBase(data, part);
    const unsigned long long size = getSpanSize(data, part, base);
    if (!geometry || !geometry->isBufferable() || size == 0) {
        mStateCache.bindArrayBuffer(0);
        return false;
    }
    DataIdSet& record = getDataIdSet(data, geometry->getId());
    const unsigned int bit = 1u << part;
    const long long time = now();
    const bool changed = record.buffers[part] == 0 || record.sizes[part] != size ||
                         isNewer(*geometry, record.stamps[part], time);
    if (!changed) {
        if (record.failed & bit) {
            mStateCache.bindArrayBuffer(0);
            return false;
        }
        mStateCache.bindArrayBuffer(record.buffers[part]);
        return true;
    }
    record.stamps[part] = time;
    record.sizes[part] = size;
    if (!fillBuffer(record.buffers[part], false, base, size)) {
        const GLenum error = glGetError();
        logError(std::string(BUFFER_ERRORS[part]) + GLTypes::getErrorString(error));
        record.failed |= bit;
        mStateCache.bindArrayBuffer(0);
        return false;
    }
    record.failed &= ~bit;
    return true;
}

bool GLRenderContext::loadIndexBuffer(IndexDataSet& indices)
{
    if (!mUseBufferObjects) {
        return false;
    }
    auto* geometry = dynamic_cast<AbstractGeometryData*>(&indices);
    const unsigned long long size =
        static_cast<unsigned long long>(DataType::getSize(indices.getIndexType())) * indices.getCount();
    if (!geometry || !geometry->isBufferable() || !indices.getIndexList() || size == 0) {
        mStateCache.bindElementBuffer(0);
        return false;
    }
    IndexIdSet* record = static_cast<IndexIdSet*>(indices.getResourceData(mProviderId));
    if (!record) {
        record = new IndexIdSet(mProviderId);
        if (IndexIdSet* stale = mIndexBuffers.remove(geometry->getId())) {
            record->buffer = stale->buffer;
            forget(stale);
        }
        mIndexBuffers.put(geometry->getId(), record);
        indices.setResourceData(*record);
    }
    const long long time = now();
    const bool changed = record->buffer == 0 || record->size != size || isNewer(*geometry, record->stamp, time);
    if (!changed) {
        mStateCache.bindElementBuffer(record->failed ? 0 : record->buffer);
        return !record->failed;
    }
    record->stamp = time;
    record->size = size;
    record->failed = !fillBuffer(record->buffer, true, indices.getIndexList(), size);
    if (record->failed) {
        const GLenum error = glGetError();
        logError(std::string("GL Error while loading index buffer: ") + GLTypes::getErrorString(error));
        mStateCache.bindElementBuffer(0);
    }
    return !record->failed;
}

bool GLRenderContext::fillBuffer(unsigned int& name, bool element, const void* data, unsigned long long size)
{
    // Errors of earlier calls are not this upload's (OpenGL keeps at most
    // one per kind).
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {
    }
    if (name == 0) {
        glGenBuffersARB(1, &name);
    }
    const GLenum target = element ? GL_ELEMENT_ARRAY_BUFFER_ARB : GL_ARRAY_BUFFER_ARB;
    if (element) {
        mStateCache.bindElementBuffer(name);
    } else {
        mStateCache.bindArrayBuffer(name);
    }
    glBufferDataARB(target, static_cast<GLsizeiptrARB>(size), data, GL_STATIC_DRAW_ARB);
    ++mBufferUploads;
    return glGetError() == GL_NO_ERROR;
}

GLRenderContext::DataIdSet& GLRenderContext::getDataIdSet(VertexDataSet& data, unsigned long long id)
{
    auto* record = static_cast<DataIdSet*>(data.getResourceData(mProviderId));
    if (record) {
        return *record;
    }
    record = new DataIdSet(mProviderId);
    if (DataIdSet* stale = mVertexBuffers.remove(id)) {
        // Ids are never reused within a run; keep the buffers of a record
        // that lost its data set all the same.
        for (int part = 0; part < VertexDataSet::PART_COUNT; ++part) {
            record->buffers[part] = stale->buffers[part];
        }
        forget(stale);
    }
    mVertexBuffers.put(id, record);
    data.setResourceData(*record);
    return *record;
}

GLRenderContext::TexIdSet* GLRenderContext::findTexIdSet(Texture& texture) const
{
    return static_cast<TexIdSet*>(texture.getResourceData(mProviderId));
}

GLRenderContext::TexIdSet& GLRenderContext::createTexIdSet(Texture& texture)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    auto* record = new TexIdSet(mProviderId, name);
    if (TexIdSet* stale = mTextures.remove(texture.getTextureId())) {
        mStateCache.forgetTexture(stale->name);
        glDeleteTextures(1, &stale->name);
        forget(stale);
    }
    mTextures.put(texture.getTextureId(), record);
    texture.setResourceData(*record);
    return *record;
}

GLViewRenderer& GLRenderContext::getViewRenderer()
{
    if (!mViewRenderer) {
        mViewRenderer = std::make_unique<GLViewRenderer>(*this);
    }
    return *mViewRenderer;
}

void GLRenderContext::forget(ResourceData* record)
{
    // A resource still there must not keep a record that is gone.
    if (ResourceContainer* container = record->getContainer()) {
        container->unsetResourceData(mProviderId);
    }
    delete record;
}

void GLRenderContext::deleteBuffers(const DataIdSet& record)
{
    for (GLuint name : record.buffers) {
        if (name != 0) {
            mStateCache.forgetBuffer(name);
            glDeleteBuffersARB(1, &name);
        }
    }
}

void GLRenderContext::beginFrame()
{
    // Now and then, not every frame: resources rarely go.
    if (++mFramesSinceCollection >= COLLECTION_INTERVAL && isCurrent()) {
        mFramesSinceCollection = 0;
        collectOrphans();
    }
}

void GLRenderContext::releaseUnused()
{
    if (isCurrent()) {
        mFramesSinceCollection = 0;
        collectOrphans();
    }
}

void GLRenderContext::collectOrphans()
{
    dropOrphans(mVertexBuffers, mOrphans, [this](DataIdSet& record) { deleteBuffers(record); });
    dropOrphans(mIndexBuffers, mOrphans, [this](IndexIdSet& record) {
        if (record.buffer != 0) {
            mStateCache.forgetBuffer(record.buffer);
            glDeleteBuffersARB(1, &record.buffer);
        }
    });
    dropOrphans(mTextures, mOrphans, [this](TexIdSet& record) {
        mStateCache.forgetTexture(record.name);
        glDeleteTextures(1, &record.name);
    });
}

void GLRenderContext::deleteObjects()
{
    const bool current = isCurrent();
    for (auto& entry : mVertexBuffers) {
        if (current) {
            for (GLuint name : entry.second->buffers) {
                if (name != 0) {
                    glDeleteBuffersARB(1, &name);
                }
            }
        }
        forget(entry.second);
    }
    for (auto& entry : mIndexBuffers) {
        if (current && entry.second->buffer != 0) {
            glDeleteBuffersARB(1, &entry.second->buffer);
        }
        forget(entry.second);
    }
    for (auto& entry : mTextures) {
        if (current) {
            glDeleteTextures(1, &entry.second->name);
        }
        forget(entry.second);
    }
    mVertexBuffers.clear();
    mIndexBuffers.clear();
    mTextures.clear();
}

} // namespace Velta
