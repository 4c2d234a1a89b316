#pragma once

#include "VeltaExport.h"
#include "cpplib/HashMap.h"
#include "geometry/VertexDataSet.h"
#include "plugins/render/opengl/GLRenderEngine.h"
#include "plugins/render/opengl/GLStateCache.h"
#include "render/RenderContext.h"
#include "resource/ResourceData.h"

#include <memory>
#include <vector>

namespace Velta {

class GLViewRenderer;
class IndexDataSet;
class Texture;
class TextureSource;

/// The OpenGL side of one window: the buffer and texture objects uploaded for
/// the engine's geometry and textures, what the driver offers, the state
/// cache, and the view renderer that draws the window's viewports.
///
/// Owned by its window. Its records are attached to the resources they
/// describe under the context's resource provider id and owned by the
/// context; they and the OpenGL objects go with the context. A resource that
/// dies first leaves its record and OpenGL objects to the context until then.
///
/// The OpenGL objects belong to the OpenGL context the window opened; when a
/// later window replaced that context (one SDL video surface at a time), the
/// context is no longer current and neither draws nor deletes anything.
class VELTA_EXPORT GLRenderContext : public RenderContext {
public:
    /// Buffer objects of one vertex data set: one per array (name 0: none
    /// yet), with the stamp and byte size of its last upload.
    class VELTA_EXPORT DataIdSet : public ResourceData {
    public:
        explicit DataIdSet(unsigned int providerId);
        unsigned int buffers[VertexDataSet::PART_COUNT] = {};
        long long stamps[VertexDataSet::PART_COUNT] = {};
        unsigned long long sizes[VertexDataSet::PART_COUNT] = {};
        /// Arrays whose last fill failed (bit per part): drawn from client
        /// memory until the data changes.
        unsigned int failed = 0;
    };

    /// The element buffer of one index data set.
    class VELTA_EXPORT IndexIdSet : public ResourceData {
    public:
        explicit IndexIdSet(unsigned int providerId);
        unsigned int buffer = 0;
        long long stamp = 0;
        unsigned long long size = 0;
        bool failed = false;
    };

    /// The texture object of one texture, the stamp of its last bind, and
    /// the sampling state last applied to it.
    class VELTA_EXPORT TexIdSet : public ResourceData {
    public:
        TexIdSet(unsigned int providerId, unsigned int textureName);
        unsigned int name;
        long long stamp = 0;
        /// An image was uploaded, or refused, at `stamp` or before: only a
        /// change since then is uploaded again.
        bool loaded = false;
        /// An image was uploaded: a new one replaces it.
        bool hasImage = false;
        /// The image uploaded last and its revision (TextureProxy), from
        /// which only the changed rectangles need uploading. Compared, never
        /// read through: the image may be gone.
        const TextureSource* image = nullptr;
        unsigned long long revision = 0;
        /// Sampling parameters as last applied (OpenGL values; 0 unknown).
        unsigned int minFilter = 0;
        unsigned int magFilter = 0;
        unsigned int wrap[3] = {};
    };

    explicit GLRenderContext(GLRenderEngine& engine);
    ~GLRenderContext() override;

    GLRenderEngine* getRenderEngine() override { return mRenderEngine; }
    /// Now and then frees what it kept for resources that are gone (buffer
    /// and texture objects, and their records).
    void beginFrame() override;
    void endFrame() override {}
    void releaseUnused() override;

    /// The id under which the context's records hang on resources.
    unsigned int getResourceProviderId() const { return mProviderId; }

    /// Reads what the driver offers; called once the OpenGL context exists.
    /// Support flags are only ever raised.
    void updateCapabilities();
    bool supportsPointSprites() const { return mPointSprites; }
    bool supportsBufferObjects() const { return mBufferObjectsSupported; }
    bool usesBufferObjects() const { return mUseBufferObjects; }
    /// Draws from buffer objects (where supported) or from client memory;
    /// answers what is in use afterwards.
    bool setUseBufferObjects(bool use);
    bool supportsFogCoordinates() const { return mFogCoordinates; }
    /// Texture units the fixed-function pipeline offers (at least 1).
    int getTextureUnitCount() const { return mTextureUnits; }
    /// Uses no more than `count` texture units (at least 1), as on a driver
    /// that offers fewer.
    void limitTextureUnits(int count);

    /// Whether a mip-mapped texture that asks to blend two mip-map levels
    /// (Texture::TRILINEAR) gets it. Off on a software renderer, which then
    /// samples the nearest level only: blending two levels costs it about a
    /// fifth of a frame of textured ground, for a difference hardly seen.
    /// On elsewhere. Set after the window opened to choose otherwise.
    bool blendsMipMaps() const { return mBlendMipMaps; }
    void setBlendMipMaps(bool blend) { mBlendMipMaps = blend; }

    /// Marks the OpenGL context that exists now as this context's.
    void setGeneration(unsigned long long generation) { mGeneration = generation; }
    /// Whether this context's OpenGL context is still the one in use.
    bool isCurrent() const;

    /// Binds the buffer object that holds `part` of `data`, creating or
    /// refilling it first when it is new or the data changed. False when the
    /// part is to be read from client memory instead (no buffer objects, no
    /// such array, data that may not be buffered, or an OpenGL error, which is
    /// logged). For texture coordinates the buffer holds every layer, laid
    /// out as in client memory from the lowest layer pointer on.
    bool loadArrayBuffer(VertexDataSet& data, VertexDataSet::Part part);

    /// Where the buffer of `part` starts in client memory (the lowest layer
    /// pointer for texture coordinates): an array's offset in its buffer is
    /// its pointer minus this. Null when the data has no such array.
    static const char* getBufferBase(const VertexDataSet& data, VertexDataSet::Part part);

    /// The same for an index list, bound as the element buffer.
    bool loadIndexBuffer(IndexDataSet& indices);

    /// The texture's record, or null when it has none yet.
    TexIdSet* findTexIdSet(Texture& texture) const;
    /// Creates a texture object for `texture` and attaches its record.
    TexIdSet& createTexIdSet(Texture& texture);
    /// Counts one image upload (a whole image or changed parts of one) of
    /// `bytes` bytes of pixels.
    void countTextureUpload(unsigned long long bytes)
    {
        ++mTextureUploads;
        mTextureUploadBytes += bytes;
    }

    /// Uploads made since the context was created: buffer fills (vertex
    /// arrays and index lists) and texture images.
    unsigned long long getBufferUploadCount() const { return mBufferUploads; }
    unsigned long long getTextureUploadCount() const { return mTextureUploads; }
    /// Bytes of pixels handed to OpenGL by those texture uploads (level 0;
    /// mip-maps built from them are not counted).
    unsigned long long getTextureUploadBytes() const { return mTextureUploadBytes; }

    /// Records kept for resources: vertex data sets, index lists, textures.
    std::size_t getKeptRecordCount() const
    {
        return mVertexBuffers.getSize() + mIndexBuffers.getSize() + mTextures.getSize();
    }

    GLStateCache& getStateCache() { return mStateCache; }
    GLViewRenderer& getViewRenderer();

private:
    DataIdSet& getDataIdSet(VertexDataSet& data, unsigned long long id);
    bool fillBuffer(unsigned int& name, bool element, const void* data, unsigned long long size);
    void deleteObjects();
    /// Deletes a record, detaching it first from its resource if that is
    /// still there.
    void forget(ResourceData* record);
    void deleteBuffers(const DataIdSet& record);
    void collectOrphans();

    GLRenderEngine* mRenderEngine;
    unsigned int mProviderId;
    unsigned long long mGeneration = 0;
    bool mPointSprites = false;
    bool mBufferObjectsSupported = false;
    bool mUseBufferObjects = false;
    bool mFogCoordinates = false;
    int mTextureUnits = 1;
    bool mBlendMipMaps = true;
    CppLib::HashMap<unsigned long long, DataIdSet*> mVertexBuffers;
    CppLib::HashMap<unsigned long long, IndexIdSet*> mIndexBuffers;
    CppLib::HashMap<unsigned int, TexIdSet*> mTextures;
    /// Frames between looks for records whose resource is gone.
    static constexpr int COLLECTION_INTERVAL = 120;
    int mFramesSinceCollection = 0;
    /// Room for the ids of such records, kept between looks.
    std::vector<unsigned long long> mOrphans;
    unsigned long long mBufferUploads = 0;
    unsigned long long mTextureUploads = 0;
    unsigned long long mTextureUploadBytes = 0;
    GLStateCache mStateCache;
    std::unique_ptr<GLViewRenderer> mViewRenderer;
};

} // namespace Velta
